#include "app/CDeviceDoc.h"

#include "app/CSelectorComboBox.h"
#include "app/CTalisoApp.h"
#include "app/DeviceDocCombos.h"
#include "device/CLoginDialog.h"
#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"
#include "model/CKVRConfig.h"
#include "model/CShelter.h"
#include "model/CZOKConfig.h"

// The device commands run only while no mode is active, and only with the user's right.
void EnableIdleCommand(CCmdUI* pCmdUI, const CCommonDoc& doc, int right, BOOL more)
{
    pCmdUI->Enable(right != 0 && doc.GetMode() == kModeNone && more);
}

template <class Config>
CDeviceDoc<Config>::CDeviceDoc(int noScanner, int firstScanner) : m_state(noScanner), m_nFirstScanner(firstScanner)
{
}

template <class Config>
CDeviceDoc<Config>::~CDeviceDoc() = default;

// ------------------------------------------------------------ configuration access

template <class Config>
void CDeviceDoc<Config>::SetConfiguration(std::unique_ptr<Config> config, BOOL temporary)
{
    const BOOL keepOwn = temporary && m_pDeviceConfig == nullptr;
    if (temporary)
        m_pDeviceConfig = std::move(config);
    else
        m_pConfig = std::move(config);
    m_state.SelectFirstField(m_nFirstScanner, keepOwn);
}

template <class Config>
void CDeviceDoc<Config>::ReleaseConfiguration(BOOL restore)
{
    if (restore) {
        if (m_pDeviceConfig == nullptr)
            return;
        m_pDeviceConfig.reset();
        m_state.RestoreSelections();
        return;
    }
    m_pDeviceConfig.reset();
    m_pConfig.reset();
    m_state.ClearSelections();
}

template <class Config>
CShelter* CDeviceDoc<Config>::GetCurrentObject()
{
    return FieldOf(m_state.m_current);
}

template <class Config>
CShelter* CDeviceDoc<Config>::GetSecondObject()
{
    return FieldOf(m_state.m_second);
}

// ------------------------------------------------------------ bar controls

template <class Config>
void CDeviceDoc<Config>::OnSelectorChange(CSelectorComboBox* pCombo)
{
    const std::optional<int> scanner = PickedScanner(*pCombo);
    if (!scanner)
        return;
    m_state.m_nSelectedScanner = *scanner;
    SetModifiedFlag();
    UpdateAllViews(nullptr, kHintSelectedScannerChanged);
}

template <class Config>
void CDeviceDoc<Config>::OnFirstObjectChange(CSelectorComboBox* pCombo)
{
    const std::optional<CShelterSelection> picked =
        PickedFirstObject(*pCombo, m_state.m_current, GetMode() == kModeEdit,
                          [this](CShelterSelection selection) { return FieldOf(selection); });
    if (!picked)
        return;
    m_state.m_current = *picked;
    SetModifiedFlag();
    UpdateAllViews(nullptr, kHintCurrentObjectChanged);
}

template <class Config>
void CDeviceDoc<Config>::OnSecondObjectChange(CSelectorComboBox* pCombo)
{
    const std::optional<CShelterSelection> picked = PickedSecondObject(*pCombo, m_state.m_second);
    if (!picked)
        return;
    m_state.m_second = *picked;
    SetModifiedFlag();
    UpdateAllViews(nullptr, kHintCurrentObjectChanged);
}

// ------------------------------------------------------------ document life and file

template <class Config>
void CDeviceDoc<Config>::DeleteContents()
{
    CCommonDoc::DeleteContents();
    ReleaseConfiguration(FALSE);
}

template <class Config>
BOOL CDeviceDoc<Config>::OnNewDocument()
{
    if (!CCommonDoc::OnNewDocument())
        return FALSE;
    const CTalisoApp* app = GetTalisoApp();
    if (app != nullptr && app->IsConnectOnNew()) {
        NewDocumentReading<Config> reading = ReadNewDocument();
        if (reading.config == nullptr)
            return FALSE;
        SetConfiguration(std::move(reading.config), FALSE);
        m_state.SetIdentity(reading.deviceName, reading.deviceType);
    } else {
        std::unique_ptr<Config> config = RunNewWizard();
        if (config == nullptr)
            return FALSE;
        if (theLoginDialog.CanSendConfiguration() &&
            AfxMessageBox(IDP_OFFER_SEND_CONFIGURATION, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            if (CWnd* main = AfxGetMainWnd())
                main->PostMessage(WM_COMMAND, ID_SEND_CONFIGURATION, 0);
        }
        SetConfiguration(std::move(config), FALSE);
        LoadDefaultIdentity();
    }
    SetModifiedFlag();
    NotifyFrames(kNotifyRefillCombos);
    return TRUE;
}

template <class Config>
BOOL CDeviceDoc<Config>::OnOpenDocument(LPCTSTR lpszPathName)
{
    if (!CCommonDoc::OnOpenDocument(lpszPathName))
        return FALSE;
    if (m_state.IsRefusedAtUserLevel()) {
        AfxMessageBox(IDP_SIMULATED_FILE_REFUSED);
        DeleteContents();
        return FALSE;
    }
    NotifyFrames(kNotifyRefillCombos);
    return TRUE;
}

template <class Config>
BOOL CDeviceDoc<Config>::OnSaveDocument(LPCTSTR lpszPathName)
{
    const int before = m_state.m_nSimulatedFile;
    m_state.MarkSimulatedFile();
    if (CCommonDoc::OnSaveDocument(lpszPathName))
        return TRUE;
    m_state.m_nSimulatedFile = before;
    return FALSE;
}

template <class Config>
BOOL CDeviceDoc<Config>::SaveModified()
{
    if (IsSavePromptSkipped())
        return TRUE;
    return theLoginDialog.CanSaveDocument() ? CCommonDoc::SaveModified() : TRUE;
}

template <class Config>
void CDeviceDoc<Config>::Serialize(CArchive& ar)
{
    CCommonDoc::Serialize(ar);
    if (ar.IsStoring()) {
        if (m_pConfig == nullptr)
            AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName.c_str());
        StoreDocumentLevel(ar, m_state.GetOwnFileState(IsDeviceConfigurationShown()), *m_pConfig);
        return;
    }
    DocumentFileState loaded;
    std::unique_ptr<Config> config;
    LoadDocumentLevel(ar, loaded, config);
    m_pDeviceConfig.reset();
    m_pConfig = std::move(config);
    m_state.TakeFileState(loaded);
    CheckSelections();
}

// ------------------------------------------------------------ commands

template <class Config>
void CDeviceDoc<Config>::ConfigurationReplaced()
{
    CheckSelections();
    LoadDefaultIdentity();
    SetModifiedFlag();
    UpdateAllViews(nullptr, 0);
    NotifyFrames(kNotifyRefillCombos);
}

template <class Config>
void CDeviceDoc<Config>::OnEditConfiguration()
{
    std::unique_ptr<Config> edited = EditConfiguration(m_pConfig.get());
    if (edited == nullptr)
        return;
    m_pConfig = std::move(edited);
    ConfigurationReplaced();
}

template <class Config>
void CDeviceDoc<Config>::OnReadConfiguration()
{
    // The configuration read replaces the own one: unsaved changes are asked about first.
    if (!SaveModified())
        return;
    std::unique_ptr<Config> config = ReadDeviceConfiguration();
    if (config == nullptr)
        return;
    SetConfiguration(std::move(config), FALSE);
    ConfigurationReplaced();
}

template <class Config>
void CDeviceDoc<Config>::OnTestConnection()
{
    TestDeviceConnection();
}

template <class Config>
void CDeviceDoc<Config>::OnReadField()
{
    if (!SaveModified() || GetCurrentObject() == nullptr)
        return;
    std::unique_ptr<CShelter> field = ReadDeviceField(m_state.m_current);
    if (field == nullptr)
        return;
    SetCurrentObject(field.get());
    LoadDefaultIdentity();
    SetModifiedFlag();
    UpdateAllViews(nullptr, kHintCurrentObjectChanged);
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateEditConfiguration(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanEditConfiguration());
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateReadConfiguration(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanReadConfiguration());
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateTestConnection(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanTestConnection());
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateProtocolResults(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanRecordProtocol());
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateDiagnosisResults(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanShowDiagnosisResults());
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateReadField(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanReadField(), GetCurrentObject() != nullptr);
}

template class CDeviceDoc<CKVRConfig>;
template class CDeviceDoc<CZOKConfig>;
