#include "app/CDeviceDoc.h"

#include <algorithm>
#include <thread>

#include "app/CSelectorComboBox.h"
#include "app/CTalisoApp.h"
#include "app/settings/CTalisoSetup.h"
#include "dialogs/CQuestionDialog.h"
#include "app/CDeviceReport.h"
#include "app/DeviceDocCombos.h"
#include "app/DeviceFamily.h"
#include "app/DeviceTransfer.h"
#include "device/dialogs/CLoginDialog.h"
#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/CWaitCursor.h"
#include "framework/ui/MessagePump.h"
#include "model/CKVRConfig.h"
#include "model/CPolyShelter.h"
#include "model/CScan.h"
#include "model/CShelter.h"
#include "model/CZOKConfig.h"

// The device commands run only while no mode is active, and only with the user's right.
void EnableIdleCommand(CCmdUI* pCmdUI, const CCommonDoc& doc, int right, BOOL more)
{
    pCmdUI->Enable(right != 0 && doc.GetMode() == kModeNone && more);
}

// The commands both families route alike; each family's map adds its own. (A class
// template cannot use BEGIN_MESSAGE_MAP, so the map is spelled out.)
template <class Config>
const AFX_MSGMAP* CDeviceDoc<Config>::GetMessageMap() const
{
    return GetThisMessageMap();
}

template <class Config>
const AFX_MSGMAP* CDeviceDoc<Config>::GetThisMessageMap()
{
    using ThisClass = CDeviceDoc;
    static const AFX_MSGMAP_ENTRY messageEntries[] = {
        ON_COMMAND(ID_FILE_SAVE, OnFileSave)
        ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
        ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateFileSave)
        ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateFileSave)
        ON_COMMAND(ID_EDIT_CONFIGURATION, OnEditConfiguration)
        ON_COMMAND(ID_READ_CONFIGURATION, OnReadConfiguration)
        ON_COMMAND(ID_TEST_CONNECTION, OnTestConnection)
        ON_COMMAND(ID_READ_FIELD, OnReadField)
        ON_UPDATE_COMMAND_UI(ID_EDIT_CONFIGURATION, OnUpdateEditConfiguration)
        ON_UPDATE_COMMAND_UI(ID_READ_CONFIGURATION, OnUpdateReadConfiguration)
        ON_UPDATE_COMMAND_UI(ID_TEST_CONNECTION, OnUpdateTestConnection)
        ON_UPDATE_COMMAND_UI(ID_READ_FIELD, OnUpdateReadField)
        ON_COMMAND(ID_PROTOCOL_RESULTS, OnProtocolResults)
        ON_UPDATE_COMMAND_UI(ID_PROTOCOL_RESULTS, OnUpdateProtocolResults)
        ON_COMMAND(ID_DIAGNOSIS_RESULTS, OnDiagnosisResults)
        ON_UPDATE_COMMAND_UI(ID_DIAGNOSIS_RESULTS, OnUpdateDiagnosisResults)
        ON_COMMAND(ID_FIELD_TRANSFER, OnFieldTransfer)
        ON_UPDATE_COMMAND_UI(ID_FIELD_TRANSFER, OnUpdateFieldTransfer)
        ON_COMMAND(ID_WRITE_SYSTEM, OnWriteSystem)
        ON_UPDATE_COMMAND_UI(ID_WRITE_SYSTEM, OnUpdateWriteSystem)
        ON_COMMAND(ID_SCANNER_SESSION, OnScannerSession)
        ON_UPDATE_COMMAND_UI(ID_SCANNER_SESSION, OnUpdateScannerSession)
        ON_COMMAND(ID_MODE_EDIT, OnModeEdit)
        ON_UPDATE_COMMAND_UI(ID_MODE_EDIT, OnUpdateModeEdit)
        ON_COMMAND(ID_MODE_MONITOR, OnModeMonitor)
        ON_UPDATE_COMMAND_UI(ID_MODE_MONITOR, OnUpdateModeMonitor)
        ON_COMMAND(ID_MODE_TEACH_IN, OnModeTeachIn)
        ON_UPDATE_COMMAND_UI(ID_MODE_TEACH_IN, OnUpdateModeTeachIn)
        ON_COMMAND(ID_MODE_VERIFY, OnModeVerify)
        ON_UPDATE_COMMAND_UI(ID_MODE_VERIFY, OnUpdateModeVerify)
        ON_COMMAND(ID_MODE_REPLAY, OnModeReplay)
        ON_UPDATE_COMMAND_UI(ID_MODE_REPLAY, OnUpdateModeReplay)
        {0, 0, 0, 0, AfxSig::End, nullptr}};
    static const AFX_MSGMAP messageMap = {&CCommonDoc::GetThisMessageMap, &messageEntries[0]};
    return &messageMap;
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
void CDeviceDoc<Config>::FillFirstObjectCombo(CSelectorComboBox* pCombo)
{
    ::FillFirstObjectCombo(*pCombo, GetFieldItems(), m_state.m_current);
    m_pFirstObjectCombo = pCombo;
}

template <class Config>
void CDeviceDoc<Config>::FillSecondObjectCombo(CSelectorComboBox* pCombo)
{
    ::FillSecondObjectCombo(*pCombo, GetFieldItems(), m_state.m_second);
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
NewDocumentReading<Config> CDeviceDoc<Config>::ReadNewDocument()
{
    using Family = DeviceFamily<Config>;
    return ReadNewDocumentFromDevice(Family::ReadIdentification, Family::ReadConfiguration);
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

// ------------------------------------------------------------ print of the device's configuration

template <class Config>
int CDeviceDoc<Config>::PreparePrint(int nKind)
{
    if (nKind != kPrintDeviceReport)
        return TRUE;
    using Family = DeviceFamily<Config>;
    return ShowConfigurationOfDevice(*this, Family::ReadIdentification, Family::ReadConfiguration);
}

template <class Config>
void CDeviceDoc<Config>::EndPrint(int nKind)
{
    if (nKind == kPrintDeviceReport)
        RestoreOwnConfiguration(*this, FALSE);
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
    std::unique_ptr<Config> config = ReadConfigurationFromDevice(DeviceFamily<Config>::ReadConfiguration);
    if (config == nullptr)
        return;
    SetConfiguration(std::move(config), FALSE);
    ConfigurationReplaced();
}

template <class Config>
void CDeviceDoc<Config>::OnTestConnection()
{
    using Sensor = typename DeviceFamily<Config>::Sensor;
    RunIdentifiedSession<Sensor>([](Sensor& sensor) { return TestConnection(sensor, TRUE); });
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
void CDeviceDoc<Config>::OnProtocolResults()
{
    RunDeviceDialog<typename DeviceFamily<Config>::ProtocolResultsDialog>();
}

template <class Config>
void CDeviceDoc<Config>::OnDiagnosisResults()
{
    RunDeviceDialog<typename DeviceFamily<Config>::DiagnosisResultsDialog>();
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
void CDeviceDoc<Config>::OnFileSave()
{
    if (theLoginDialog.CanSaveDocument())
        CCommonDoc::OnFileSave();
}

template <class Config>
void CDeviceDoc<Config>::OnFileSaveAs()
{
    if (theLoginDialog.CanSaveDocument())
        CCommonDoc::OnFileSaveAs();
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateFileSave(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanSaveDocument());
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateReadField(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanReadField(), GetCurrentObject() != nullptr);
}

template <class Config>
void CDeviceDoc<Config>::OnFieldTransfer()
{
    if (SaveModified())
        RunFieldTransfer();
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateFieldTransfer(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanRunFieldSession(), GetCurrentObject() != nullptr);
}

// ------------------------------------------------------------ modes

TeachClock SystemTeachClock()
{
    return {[] { return std::chrono::steady_clock::now(); },
            [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }};
}

template <class Config>
void CDeviceDoc<Config>::OnModeEdit()
{
    SetMode(kModeEdit);
    LoadDefaultIdentity();
}

template <class Config>
void CDeviceDoc<Config>::OnModeMonitor()
{
    SetMode(kModeMonitor);
}

template <class Config>
void CDeviceDoc<Config>::OnModeTeachIn()
{
    SetMode(GetMode() == kModeVerify ? kModeVerify : kModeTeachIn);
    LoadDefaultIdentity();
}

template <class Config>
void CDeviceDoc<Config>::OnModeVerify()
{
    SetMode(kModeVerify);
}

template <class Config>
void CDeviceDoc<Config>::OnModeReplay()
{
    SetMode(kModeReplay);
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateModeEdit(CCmdUI* pCmdUI)
{
    const BOOL enabled = theLoginDialog.CanUseMode1() && GetMode() != kModeTeachIn;
    // The warning is skipped only by the mode-1 start that follows a teach-in; a refused
    // follow-up must not leave it skipped for a later start.
    if (!enabled)
        m_state.m_nLockedFieldWarning = 1;
    pCmdUI->Enable(enabled);
    pCmdUI->SetCheck(GetMode() == kModeEdit);
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateModeMonitor(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanUseMode2() && GetMode() != kModeTeachIn);
    pCmdUI->SetCheck(GetMode() == kModeMonitor);
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateModeTeachIn(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanUseMode3() && IsProtectiveCurrent());
    pCmdUI->SetCheck(GetMode() == kModeTeachIn || GetMode() == kModeVerify);
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateModeVerify(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanUseMode4() && GetCurrentObject() != nullptr && GetMode() != kModeTeachIn);
    pCmdUI->SetCheck(GetMode() == kModeVerify);
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateModeReplay(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanReplayProtocol() && !IsRecording());
    pCmdUI->SetCheck(GetMode() == kModeReplay);
}

template <class Config>
BOOL CDeviceDoc<Config>::IsProtectiveCurrent()
{
    const CShelter* field = GetCurrentObject();
    return field != nullptr && field->GetFieldKind() == kProtectiveField;
}

template <class Config>
int CDeviceDoc<Config>::RunEditMode(int nAction, BOOL scannerSelected)
{
    if (nAction == kModeActionStart) {
        const CShelter* field = GetCurrentObject();
        const BOOL lockedProtective = field != nullptr && field->GetFieldKind() == kProtectiveField && field->IsLocked();
        const BOOL ask = lockedProtective && m_state.m_nLockedFieldWarning == 1;
        m_state.m_nLockedFieldWarning = 1;
        if (ask && AfxMessageBox(IDP_LOCKED_FIELD, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return 0;
    }
    if (nAction == kModeActionTick && !scannerSelected) {
        SetCycle(DWORD(std::max(GetTalisoSetup().m_nEditScanInterval, 1)) * 1000);
        return 1;
    }
    return CCommonDoc::RunMode1(nAction);
}

template <class Config>
int CDeviceDoc<Config>::AskTeachInChoice()
{
    CQuestionDialog question(AfxGetMainWnd());
    return int(question.DoModal());
}

template <class Config>
BOOL CDeviceDoc<Config>::IsVerifiedFieldWanted()
{
    return AfxMessageBox(IDP_ACCEPT_VERIFIED_FIELD, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

template <class Config>
BOOL CDeviceDoc<Config>::ShowVerification(std::unique_ptr<CScan> scan, const CPolyShelter& contour)
{
    if (scan != nullptr) {
        scan->ClearFlags();
        const int beams = std::min(scan->GetBeamCount(), contour.GetBeamCount());
        for (int beam = 0; beam < beams; ++beam)
            scan->SetFlag1(beam, !contour.IsBeamMarked(beam));
        SetResult(scan.get());
    }
    const int count = contour.GetBeamCount();
    return count > 0 && contour.GetMarkedBeamCount() == count;
}

template <class Config>
void CDeviceDoc<Config>::StampTeachStart()
{
    m_teachStart = m_teachClock.now();
}

template <class Config>
void CDeviceDoc<Config>::WaitForTeachEnd()
{
    constexpr std::chrono::milliseconds kStep{50};
    CWaitCursor wait;
    CMessagePump pump;
    for (;;) {
        const auto waited = m_teachClock.now() - m_teachStart;
        if (waited > kTeachInMinimum || !pump.Pump())
            return;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(kTeachInMinimum - waited);
        m_teachClock.sleep(std::clamp(left + std::chrono::milliseconds(1), std::chrono::milliseconds(1), kStep));
    }
}

template <class Config>
void CDeviceDoc<Config>::TakeTaughtContour(const CPolyShelter& contour, int choice)
{
    if (choice != CQuestionDialog::IDC_ANSWER_EDIT && choice != CQuestionDialog::IDC_ANSWER_VERIFY)
        return;
    SetCurrentObject(const_cast<CPolyShelter*>(&contour));
    SetModifiedFlag();
    if (choice == CQuestionDialog::IDC_ANSWER_EDIT) {
        m_state.m_nLockedFieldWarning = 0;
        RequestFollowUp(ID_MODE_EDIT, FALSE);
    } else {
        RequestFollowUp(ID_MODE_VERIFY, TRUE);
    }
}

template <class Config>
void CDeviceDoc<Config>::TakeVerifiedContour(CPolyShelter& contour)
{
    contour.SetProtectiveInDevice(1);
    SetCurrentObject(&contour);
    SetModifiedFlag();
    UpdateAllViews(nullptr, kHintCurrentObjectChanged);
    AfxMessageBox(IDP_VERIFIED_FIELD_STORED, MB_OK | MB_ICONINFORMATION);
    contour.SetBeamMarks(-1, FALSE);
    SetCurrentObject(&contour);
}

template <class Config>
void CDeviceDoc<Config>::OnWriteSystem()
{
    DeviceFamily<Config>::WriteSystem();
}

template <class Config>
void CDeviceDoc<Config>::OnScannerSession()
{
    DeviceFamily<Config>::RunScannerSession();
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateWriteSystem(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanWriteSystem());
}

template <class Config>
void CDeviceDoc<Config>::OnUpdateScannerSession(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanRunDeviceSession());
}

template class CDeviceDoc<CKVRConfig>;
template class CDeviceDoc<CZOKConfig>;
