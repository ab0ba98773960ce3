#pragma once
// What the documents of both device families share: the own configuration and, while one
// is shown in its place, a configuration read from or corrected by the device; the
// selections, identity and flags (CDeviceDocState); the reading of the bar combos; new
// documents by the wizard or from the device; opening and saving the file; and the
// configuration read, edit and field read commands and the connection test. The family
// documents supply the device sessions and dialogs through the hooks below.
#include "app/CCommonDoc.h"
#include "app/CDeviceDocState.h"
#include "app/DeviceConfigurationRead.h"
#include "app/DeviceDocCommands.h"
#include "framework/ui/CWinApp.h"

#include <memory>

class CCmdUI;
class CShelter;

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
    void OnFirstObjectChange(CSelectorComboBox* pCombo) override;
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

    afx_msg void OnEditConfiguration();
    afx_msg void OnReadConfiguration();
    afx_msg void OnTestConnection();
    afx_msg void OnReadField();
    afx_msg void OnUpdateEditConfiguration(CCmdUI* pCmdUI);
    afx_msg void OnUpdateReadConfiguration(CCmdUI* pCmdUI);
    afx_msg void OnUpdateTestConnection(CCmdUI* pCmdUI);
    afx_msg void OnUpdateReadField(CCmdUI* pCmdUI);
    // The family's protocol and diagnosis-results dialogs.
    afx_msg void OnUpdateProtocolResults(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDiagnosisResults(CCmdUI* pCmdUI);

protected:
    // noScanner and firstScanner: the selected-scanner values of none and of the first.
    CDeviceDoc(int noScanner, int firstScanner);

    // The field a selection names in the shown configuration, or null.
    virtual CShelter* FieldOf(CShelterSelection selection) const = 0;
    // Resets the selections the own configuration cannot serve.
    virtual void CheckSelections() = 0;
    // The device's identity and configuration for a new document, without prompts.
    virtual NewDocumentReading<Config> ReadNewDocument() = 0;
    virtual std::unique_ptr<Config> RunNewWizard() = 0;
    // The edited copy of the own configuration (null: unchanged).
    virtual std::unique_ptr<Config> EditConfiguration(const Config* pOwn) = 0;
    // Device sessions of the read commands and the connection test.
    virtual std::unique_ptr<Config> ReadDeviceConfiguration() = 0;
    virtual std::unique_ptr<CShelter> ReadDeviceField(CShelterSelection selection) = 0;
    virtual BOOL TestDeviceConnection() = 0;

    void ConfigurationReplaced();

    std::unique_ptr<Config> m_pConfig;
    std::unique_ptr<Config> m_pDeviceConfig;
    CDeviceDocState m_state;
    CSelectorComboBox* m_pFirstObjectCombo = nullptr;

private:
    int m_nFirstScanner;
};
