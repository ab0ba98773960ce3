#pragma once
// What both device documents keep beside their configurations: the selected scanner and
// the two field selections, the device's name and type text, and the document's flags.
// While a device configuration is shown in place of the document's own, the own
// selections wait in copies; while a device's identity is shown, so do the own name and
// type text. What the document file gets is always the own part.
#include "app/DocumentFile.h"

class CDeviceDocState {
public:
    // noScanner: the selected-scanner value that means none (-1 KVR, 0 ZOK).
    explicit CDeviceDocState(int noScanner);

    int GetNoScanner() const { return m_nNoScanner; }

    // A configuration taken or shown: scanner firstScanner, field pair 0 with its
    // protective field current, no second field. keepOwn saves the own selections first.
    void SelectFirstField(int firstScanner, BOOL keepOwn);
    // The own selections back from their copies.
    void RestoreSelections();
    // No scanner, no fields.
    void ClearSelections();
    // Selections that the configuration cannot serve are reset: a scanner outside
    // [lowestScanner, highestScanner] to none, a current field outside the pairCount field
    // pairs (or of no kind) to pair 0's protective field (or to none without pairs), an
    // invalid second field to none.
    void CheckSelections(int lowestScanner, int highestScanner, int pairCount);

    // Name and type text of a device; string 1067 for both when no device gave them.
    void SetIdentity(const CString& name, const CString& type);
    void LoadDefaultIdentity();
    // Shows a device's identity until RestoreIdentity brings the own one back.
    void ShowIdentity(const CString& name, const CString& type);
    void RestoreIdentity();
    // The shown identity becomes the own one.
    void AdoptIdentity() { m_bIdentityShown = FALSE; }

    // The own part for the document file; deviceShown: a device configuration is shown.
    DocumentFileState GetOwnFileState(BOOL deviceShown) const;
    void TakeFileState(const DocumentFileState& state);

    // The simulated-file flag of a file saved now: 1 while a simulated device is chosen.
    void MarkSimulatedFile();
    // A file saved with a simulated device is not opened at user level 5.
    BOOL IsRefusedAtUserLevel() const;

    int m_nSelectedScanner;
    int m_nSavedSelectedScanner;
    CShelterSelection m_current;
    CShelterSelection m_savedCurrent;
    CShelterSelection m_second;
    CShelterSelection m_savedSecond;
    CString m_strDeviceName;
    CString m_strSavedDeviceName;
    CString m_strDeviceType;
    CString m_strSavedDeviceType;
    BOOL m_bIdentityShown = FALSE;
    int m_nSimulatedFile = 0;
    // Mode 1 asks about a locked protective field only while this is 1.
    int m_nLockedFieldWarning = 1;

private:
    int m_nNoScanner;
};
