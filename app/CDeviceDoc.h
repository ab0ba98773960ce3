#pragma once
// What the documents of both device families share: the own configuration and, while one
// is shown in its place, a configuration read from or corrected by the device; the
// selections, identity and flags (CDeviceDocState); the bar combos of the fields; new
// documents by the wizard or from the device; opening and saving the file; the print of
// the device's configuration; and the commands both families route alike, with their
// update rules. The family documents supply their sessions and dialogs through the hooks
// below, and the family's device procedures through DeviceFamily.
#include "app/CCommonDoc.h"
#include "app/CDeviceDocState.h"
#include "app/DeviceConfigurationRead.h"
#include "app/DeviceDocCombos.h"
#include "app/DeviceDocCommands.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class CCmdUI;
class CPolyShelter;
class CScan;
class CShelter;

// Prompts of the modes.
constexpr UINT IDP_NO_SCANNER_SELECTED = 325;
constexpr UINT IDP_NO_TEACH_IN = 330;
constexpr UINT IDP_NO_VERIFICATION = 336;
constexpr UINT IDP_VERIFIED_FIELD_STORED = 322;
// Device capabilities the teach-in and the verification need.
constexpr int kTeachInCapability = 9;
constexpr int kVerificationCapability = 8;
// Device polling period of the teach-in and the verification.
constexpr DWORD kContourPeriod = 500;
// The device ends a teach-in only this long after it began.
constexpr std::chrono::seconds kTeachInMinimum{8};

// The clock the end of a teach-in waits on (monotonic; tests set their own).
struct TeachClock {
    std::function<std::chrono::steady_clock::time_point()> now;
    std::function<void(std::chrono::milliseconds)> sleep;
};
TeachClock SystemTeachClock();

// Values of a scan read from a device: every beam, or every second one for divisor 2.
constexpr int kFullScanValues = 361;
constexpr int kHalfScanValues = 180;
constexpr int ScanValueCount(int divisor)
{
    return divisor == 2 ? kHalfScanValues : kFullScanValues;
}

// Enables a device command only while no mode runs and the user has the right.
void EnableIdleCommand(CCmdUI* pCmdUI, const CCommonDoc& doc, int right, BOOL more = TRUE);

// Runs one of the family's device dialogs modally over the main window.
template <class Dialog>
void RunDeviceDialog()
{
    Dialog dialog(AfxGetMainWnd());
    dialog.DoModal();
}

template <class Config>
class CDeviceDoc : public CCommonDoc {
public:
    ~CDeviceDoc() override;

    // The device configuration while one is shown, else the own one (null before one is
    // set). Accessors, combos, commands and the views work on this one.
    Config* GetConfiguration() const { return m_pDeviceConfig ? m_pDeviceConfig.get() : m_pConfig.get(); }
    Config* GetOwnConfiguration() const { return m_pConfig.get(); }
    BOOL IsDeviceConfigurationShown() const { return m_pDeviceConfig != nullptr; }
    // temporary: the configuration is shown in place of the own one, whose selections are
    // kept (once, however often a device's is shown); else it replaces the own one. Either
    // way the first scanner and the first protective field become selected.
    void SetConfiguration(std::unique_ptr<Config> config, BOOL temporary);
    // restore: the shown device configuration goes and the own selections come back;
    // else both configurations go and nothing is selected.
    void ReleaseConfiguration(BOOL restore);
    void LoadDefaultIdentity() { m_state.LoadDefaultIdentity(); }

    const CString& GetDeviceName() const { return m_state.m_strDeviceName; }
    const CString& GetDeviceTypeText() const { return m_state.m_strDeviceType; }
    int GetSelectedScanner() const { return m_state.m_nSelectedScanner; }
    CShelterSelection GetCurrentSelection() const { return m_state.m_current; }
    CShelterSelection GetSecondSelection() const { return m_state.m_second; }
    // Selections, identity and flags, for the device operations of the document.
    CDeviceDocState& GetState() { return m_state; }
    // The first-object combo as last filled.
    CSelectorComboBox* GetFirstObjectCombo() const { return m_pFirstObjectCombo; }

    CShelter* GetCurrentObject() override;
    CShelter* GetSecondObject() override;

    void OnSelectorChange(CSelectorComboBox* pCombo) override;
    // The fields of the shown configuration; the first-object combo is remembered.
    void FillFirstObjectCombo(CSelectorComboBox* pCombo) override;
    void OnFirstObjectChange(CSelectorComboBox* pCombo) override;
    void FillSecondObjectCombo(CSelectorComboBox* pCombo) override;
    void OnSecondObjectChange(CSelectorComboBox* pCombo) override;

    void DeleteContents() override;
    // From the device when the application opens a connected document (no document when
    // it cannot be read), else by the wizard (none when it is cancelled).
    BOOL OnNewDocument() override;
    // A file saved with a simulated device is refused at user level 5 (message 428).
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    // The simulated-file flag is set by the device chosen now; a failed save keeps it.
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;
    // Skipped while a follow-up told not to ask runs; TRUE without asking for a user who
    // may not save.
    BOOL SaveModified() override;
    // Writes the own configuration with the own selections, also while a device
    // configuration is shown. A load replaces nothing unless the whole file was read.
    void Serialize(CArchive& ar) override;

    // The print of the device's configuration (kind 2) shows it, read with the device's
    // identity, until the print ends; the other kinds need nothing of the device.
    int PreparePrint(int nKind) override;
    void EndPrint(int nKind) override;

    afx_msg void OnEditConfiguration();
    afx_msg void OnReadConfiguration();
    afx_msg void OnTestConnection();
    afx_msg void OnReadField();
    afx_msg void OnUpdateEditConfiguration(CCmdUI* pCmdUI);
    afx_msg void OnUpdateReadConfiguration(CCmdUI* pCmdUI);
    afx_msg void OnUpdateTestConnection(CCmdUI* pCmdUI);
    afx_msg void OnUpdateReadField(CCmdUI* pCmdUI);
    // The device-wide commands of the family, only in idle: a live mode holds a session
    // with the device.
    afx_msg void OnWriteSystem();
    afx_msg void OnScannerSession();
    afx_msg void OnUpdateWriteSystem(CCmdUI* pCmdUI);
    afx_msg void OnUpdateScannerSession(CCmdUI* pCmdUI);
    // The family's protocol and diagnosis-results dialogs.
    afx_msg void OnProtocolResults();
    afx_msg void OnDiagnosisResults();
    afx_msg void OnUpdateProtocolResults(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDiagnosisResults(CCmdUI* pCmdUI);
    // The field transfer, once unsaved changes are asked about.
    afx_msg void OnFieldTransfer();
    afx_msg void OnUpdateFieldTransfer(CCmdUI* pCmdUI);
    // Save and Save As need the save right, also when they come from a key.
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();
    afx_msg void OnUpdateFileSave(CCmdUI* pCmdUI);

    // Mode commands: the active mode's command stops it, another's replaces it.
    afx_msg void OnModeEdit();
    afx_msg void OnModeMonitor();
    afx_msg void OnModeTeachIn();
    afx_msg void OnModeVerify();
    afx_msg void OnModeReplay();
    // Leaves the locked-field warning on when a follow-up into mode 1 is refused.
    afx_msg void OnUpdateModeEdit(CCmdUI* pCmdUI);
    afx_msg void OnUpdateModeMonitor(CCmdUI* pCmdUI);
    afx_msg void OnUpdateModeTeachIn(CCmdUI* pCmdUI);
    afx_msg void OnUpdateModeVerify(CCmdUI* pCmdUI);
    afx_msg void OnUpdateModeReplay(CCmdUI* pCmdUI);

    void SetTeachClock(TeachClock clock) { m_teachClock = std::move(clock); }

protected:
    // noScanner and firstScanner: the selected-scanner values of none and of the first.
    CDeviceDoc(int noScanner, int firstScanner);

    // The field a selection names in the shown configuration, or null.
    virtual CShelter* FieldOf(CShelterSelection selection) const = 0;
    // Resets the selections the own configuration cannot serve.
    virtual void CheckSelections() = 0;
    // The items of the first- and second-object combos, in the shown configuration.
    virtual std::vector<FieldItem> GetFieldItems() const = 0;
    virtual std::unique_ptr<Config> RunNewWizard() = 0;
    // The edited copy of the own configuration (null: unchanged).
    virtual std::unique_ptr<Config> EditConfiguration(const Config* pOwn) = 0;
    // The device session of the field read.
    virtual std::unique_ptr<CShelter> ReadDeviceField(CShelterSelection selection) = 0;
    // The field transfer's dialogs and device session (CFieldTransfer).
    virtual void RunFieldTransfer() = 0;

    // The device's identity and configuration for a new document, without prompts.
    NewDocumentReading<Config> ReadNewDocument();

    void ConfigurationReplaced();

    // Mode 1 of both families; scannerSelected: a tick fetches a result.
    int RunEditMode(int nAction, BOOL scannerSelected);
    // The current object is a protective field.
    BOOL IsProtectiveCurrent();
    // A contour mode may start: the device offers the capability (the prompt otherwise;
    // FALSE also when it could not be asked) and a scanner is selected (message 325).
    template <class Sensor>
    BOOL CheckContourDevice(int capability, UINT nIDPrompt, BOOL scannerSelected);
    // The scan is flagged where the contour's beam is not marked yet and becomes the
    // result; TRUE when every beam of the contour is marked.
    BOOL ShowVerification(std::unique_ptr<CScan> scan, const CPolyShelter& contour);
    // Stamps the teach-in's start; waits (wait cursor, windows painted) until the device
    // may end it.
    void StampTeachStart();
    void WaitForTeachEnd();
    // The choice dialog at the end of a teach-in: 2086, 2181 or IDCANCEL.
    static int AskTeachInChoice();
    // Message 319: Yes keeps the verified field.
    static BOOL IsVerifiedFieldWanted();
    // The device's contour after the teach-in: the current field, then 2086 starts mode 1
    // without the locked-field question, 2181 mode 4 without the save question.
    void TakeTaughtContour(const CPolyShelter& contour, int choice);
    // The verified contour stored: in-device flag, current field, message 322, marks gone.
    void TakeVerifiedContour(CPolyShelter& contour);

    std::unique_ptr<Config> m_pConfig;
    std::unique_ptr<Config> m_pDeviceConfig;
    CDeviceDocState m_state;
    CSelectorComboBox* m_pFirstObjectCombo = nullptr;

private:
    int m_nFirstScanner;
    TeachClock m_teachClock = SystemTeachClock();
    std::chrono::steady_clock::time_point m_teachStart{};

    DECLARE_MESSAGE_MAP()
};

template <class Config>
template <class Sensor>
BOOL CDeviceDoc<Config>::CheckContourDevice(int capability, UINT nIDPrompt, BOOL scannerSelected)
{
    int offered = 0;
    if (!RunIdentifiedSession<Sensor>([&](Sensor& sensor) {
            offered = sensor.GetCaps(capability);
            return TRUE;
        }))
        return FALSE;
    const UINT refusal = offered == 0 ? nIDPrompt : scannerSelected ? 0 : IDP_NO_SCANNER_SELECTED;
    if (refusal == 0)
        return TRUE;
    AfxMessageBox(refusal, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}
