#include "app/CCommonDoc.h"

#include "app/CSelectorComboBox.h"
#include "app/CTalisoMDIFrameWnd.h"
#include "app/settings/CTalisoSetup.h"
#include "app/StatusPaneText.h"
#include "dialogs/CHelpFileDialog.h"
#include "framework/core/CArchive.h"
#include "framework/core/CFile.h"
#include "framework/core/CReplacingFile.h"
#include "framework/core/ExtractSubString.h"
#include "framework/core/FileAccess.h"
#include "framework/core/Resources.h"
#include "framework/core/TickCount.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CDocTemplate.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CView.h"
#include "framework/ui/CWaitCursor.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"
#include "model/ArchiveOwnership.h"
#include "model/CScan.h"
#include "model/CSensorObject.h"
#include "model/CSensorPoint.h"
#include "model/CShelter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <vector>

IMPLEMENT_SERIAL(CCommonDoc, CTalisoDoc, 1)

BEGIN_MESSAGE_MAP(CCommonDoc, CTalisoDoc)
    ON_COMMAND(ID_STOP_MODE, OnStopMode)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
    ON_COMMAND(ID_TOGGLE_RECORDING, OnToggleRecording)
    ON_COMMAND(ID_REPLAY_PLAY, OnReplayPlay)
    ON_COMMAND(ID_REPLAY_PAUSE, OnReplayPause)
    ON_COMMAND(ID_REPLAY_FIRST, OnReplayFirst)
    ON_COMMAND(ID_REPLAY_PREVIOUS, OnReplayPrevious)
    ON_COMMAND(ID_REPLAY_NEXT, OnReplayNext)
    ON_COMMAND(ID_REPLAY_LAST, OnReplayLast)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_RECORDING, OnUpdateToggleRecording)
    ON_UPDATE_COMMAND_UI(ID_PANE_RECORDING, OnUpdateRecordingPane)
    ON_UPDATE_COMMAND_UI(ID_REPLAY_PLAY, OnUpdateReplayPlay)
    ON_UPDATE_COMMAND_UI(ID_REPLAY_PAUSE, OnUpdateReplayPause)
    ON_UPDATE_COMMAND_UI(ID_REPLAY_FIRST, OnUpdateReplayBackwards)
    ON_UPDATE_COMMAND_UI(ID_REPLAY_PREVIOUS, OnUpdateReplayBackwards)
    ON_UPDATE_COMMAND_UI(ID_REPLAY_NEXT, OnUpdateReplayForwards)
    ON_UPDATE_COMMAND_UI(ID_REPLAY_LAST, OnUpdateReplayForwards)
END_MESSAGE_MAP()

namespace {

constexpr BYTE kCommonFileVersion = 1;
constexpr int kArchiveBufferSize = 4096;
// From this many entries on, a list's count takes a WORD marker and a DWORD.
constexpr DWORD kWideCount = 0xFFFF;

} // namespace

// The protocol file while recording. It is written whole once (the list's count and
// every entry by pointer, as the list's own serialisation does) and then stays open:
// each further result is appended and the count at the start updated in place, so a
// result costs one entry's bytes and the file is a complete list after every result.
// The entry goes first, the count after it: a file cut short by a crash in between
// still reads as the list before that result. The whole file reaches the disk before it
// takes the path; appended results follow within a second and when recording ends.
class CCommonDoc::ProtocolWriter {
public:
    // Writes the list to a file beside the target, which then replaces the target.
    ProtocolWriter(const CString& path, const ResultList& entries)
    {
        CFileException openError;
        if (!m_file.OpenReplacing(path, &openError))
            throw openError;
        m_archive.m_strFileName = path;
        try {
            m_archive.WriteCount(DWORD(entries.size()));
            for (const auto& entry : entries)
                m_archive << static_cast<const CObject*>(entry.get());
            m_archive.Flush();
            m_file.Commit();
        } catch (CException&) {
            m_archive.Abort();
            m_file.Abort();
            throw;
        }
    }
    ~ProtocolWriter()
    {
        m_archive.Abort();
        try {
            m_file.Flush();
        } catch (CException&) {
            // Every result was written; only the last sync failed, and there is no one to tell.
        }
    }
    ProtocolWriter(const ProtocolWriter&) = delete;
    ProtocolWriter& operator=(const ProtocolWriter&) = delete;

    // Whether the path still names the file written: not once it was deleted, moved
    // away or replaced, as appending to it would then reach nobody.
    BOOL IsAtPath(const CString& path) const { return m_file.IsNamedBy(path); }

    // Whether a list of nCount entries keeps the count's form of the file written: only
    // a count that crosses into the wide form needs the whole file anew.
    static BOOL CanAppendUpTo(DWORD nCount) { return nCount != kWideCount; }

    // The entry after the file's last one; nCount is the new number of entries.
    void Append(const CSensorObject& entry, DWORD nCount)
    {
        m_archive << static_cast<const CObject*>(&entry);
        m_archive.Flush();
        const ULONGLONG end = m_file.GetPosition();
        if (nCount < kWideCount) {
            m_file.SeekToBegin();
            WriteLittleEndian(nCount, 2);
        } else {
            m_file.Seek(2, CFile::begin); // past the WORD marker
            WriteLittleEndian(nCount, 4);
        }
        m_file.Seek(LONGLONG(end), CFile::begin);
        // A sync per result would cost a fast recording more than it writes.
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastSync >= kSyncInterval) {
            m_file.Flush();
            m_lastSync = now;
        }
    }

private:
    void WriteLittleEndian(DWORD value, int nBytes)
    {
        BYTE bytes[4];
        for (int i = 0; i < nBytes; ++i)
            bytes[i] = BYTE(value >> (8 * i));
        m_file.Write(bytes, UINT(nBytes));
    }

    static constexpr std::chrono::seconds kSyncInterval{1};

    CReplacingFile m_file;
    CArchive m_archive{&m_file, CArchive::store | CArchive::bNoFlushOnDelete, kArchiveBufferSize};
    std::chrono::steady_clock::time_point m_lastSync = std::chrono::steady_clock::now();
};

CCommonDoc::CCommonDoc() = default;

CCommonDoc::~CCommonDoc()
{
    StopCycle();
}

void CCommonDoc::SetMode(int nMode)
{
    const int old = m_nMode;
    if (old == kModeNone) {
        StartMode(nMode);
    } else if (nMode == old) {
        StopMode(old);
    } else {
        AbortMode(old);
        StartMode(nMode);
    }
    if (m_nMode != old) {
        OnModeChanged(old, m_nMode);
        // The change of mode drops the result, also the entry the replay's start showed.
        if (m_nMode == kModeReplay)
            ShowEntryAgain();
        UpdateAllViews(nullptr, 0);
    }
}

int CCommonDoc::RunModeAction(int nMode, int nAction)
{
    switch (nMode) {
    case kModeEdit: return RunMode1(nAction);
    case kModeMonitor: return RunMode2(nAction);
    case kModeTeachIn: return RunMode3(nAction);
    case kModeVerify: return RunMode4(nAction);
    case kModeSimulation: return RunMode5(nAction);
    case kModeReplay: return ReplayProtocol(nAction);
    default: return 0;
    }
}

void CCommonDoc::StartMode(int nMode)
{
    if (RunModeAction(nMode, kModeActionStart) != 1)
        return;
    m_nMode = nMode;
    NotifyFrames(kNotifyModeLayout);
}

void CCommonDoc::StopMode(int nMode)
{
    RunModeAction(nMode, kModeActionStop);
    m_nMode = kModeNone;
    NotifyFrames(kNotifyModeLayout);
}

void CCommonDoc::AbortMode(int nMode)
{
    RunModeAction(nMode, kModeActionAbort);
    m_nMode = kModeNone;
    NotifyFrames(kNotifyModeLayout);
}

void CCommonDoc::TickMode(int nMode)
{
    if (RunModeAction(nMode, kModeActionTick) == 0) {
        StopCycle();
        AbortMode(nMode);
    }
    UpdateAllViews(nullptr, 0);
}

void CCommonDoc::AbortActiveMode()
{
    AbortMode(m_nMode);
    UpdateAllViews(nullptr, 0);
}

void CCommonDoc::RequestFollowUp(UINT nCommand, BOOL bNoPrompt)
{
    POSITION pos = GetFirstViewPosition();
    if (CView* view = pos != nullptr ? GetNextView(pos) : nullptr)
        view->PostMessage(WM_DOCUMENT_FOLLOW_UP, nCommand, bNoPrompt ? kFollowUpNoPrompt : 0);
}

void CCommonDoc::RequestModeStop(int nMode)
{
    POSITION pos = GetFirstViewPosition();
    if (CView* view = pos != nullptr ? GetNextView(pos) : nullptr)
        view->PostMessage(WM_DOCUMENT_FOLLOW_UP, WPARAM(nMode), kFollowUpModeStop);
}

void CCommonDoc::RunFollowUp(CCmdTarget* pRouter, WPARAM wParam, LPARAM lParam)
{
    if ((lParam & kFollowUpModeStop) != 0) {
        if (m_nMode != kModeNone && m_nMode == int(wParam))
            SetMode(m_nMode);
        return;
    }
    RunCommand(pRouter, UINT(wParam), (lParam & kFollowUpNoPrompt) != 0);
}

BOOL CCommonDoc::RunCommand(CCmdTarget* pRouter, UINT nCommand, BOOL bNoPrompt)
{
    struct EnabledProbe : CCmdUI {
        void Enable(BOOL on) override
        {
            CCmdUI::Enable(on);
            enabled = on;
        }
        BOOL enabled = FALSE;
    } probe;
    probe.m_nID = nCommand;
    probe.DoUpdate(pRouter, TRUE);
    if (!probe.enabled)
        return FALSE;
    const BOOL before = m_bSavePromptSkipped;
    m_bSavePromptSkipped = bNoPrompt;
    pRouter->OnCmdMsg(nCommand, CN_COMMAND, nullptr, nullptr);
    m_bSavePromptSkipped = before;
    return TRUE;
}

void CCommonDoc::NotifyFrames(int nFlags)
{
    // Each frame once, though it may show the document in several panes.
    std::vector<CFrameWnd*> frames;
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        CView* view = GetNextView(pos);
        CFrameWnd* frame = view != nullptr ? view->GetParentFrame() : nullptr;
        if (frame != nullptr && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    for (CFrameWnd* frame : frames) {
        if (frame->m_hWnd != nullptr)
            frame->SendMessage(WM_DOCUMENT_FRAMES_NOTIFY, WPARAM(nFlags), 0);
    }
}

void CCommonDoc::SetTickSource(TickSource source)
{
    m_tickSource = std::move(source);
}

DWORD CCommonDoc::Now() const
{
    return m_tickSource ? m_tickSource() : GetTickCount();
}

int CCommonDoc::SetCycle(DWORD dwPeriod)
{
    m_dwCyclePeriod = dwPeriod;
    m_dwCycleDeadline = Now() + dwPeriod;
    m_bCycleArmed = dwPeriod != 0;
    return m_bCycleArmed ? 1 : 0;
}

void CCommonDoc::StopCycle()
{
    m_dwCyclePeriod = 0;
    m_dwCycleDeadline = 0;
    m_bCycleArmed = FALSE;
}

void CCommonDoc::OnCycle()
{
    if (!m_bCycleArmed)
        return;
    const DWORD now = Now();
    if (!IsCycleDue(now, m_dwCycleDeadline))
        return;
    OnCycleTick(now + m_dwCyclePeriod - m_dwCycleDeadline);
    // Taken again after the tick, so a long device exchange never piles ticks up.
    if (m_bCycleArmed)
        m_dwCycleDeadline = Now() + m_dwCyclePeriod;
}

void CCommonDoc::OnCycleTick(DWORD)
{
    if (m_nMode != kModeNone)
        TickMode(m_nMode);
}

void CCommonDoc::SetResult(const CSensorObject* pResult)
{
    m_pResult = pResult != nullptr ? pResult->Clone() : nullptr;
}

void CCommonDoc::DeleteResult()
{
    m_pResult.reset();
}

int CCommonDoc::FetchResult()
{
    const CTalisoSetup& setup = GetTalisoSetup();
    std::unique_ptr<CSensorObject> result;
    switch (setup.m_nScanMode) {
    case 0: result = FetchScan(WORD(setup.m_nScanDivisor)); break;
    case 1: result = FetchResultByIndex(setup.m_nScanAverage); break;
    case 2: result = FetchResultByRange(setup.m_nScanPartFrom, setup.m_nScanPartTo); break;
    default: break;
    }
    if (result == nullptr)
        return 0;
    m_pResult = std::move(result);
    UpdateAllViews(nullptr, 0);
    RecordResult(m_pResult.get());
    return 1;
}

void CCommonDoc::FillBarControl(UINT nID, CComboBox* pCombo)
{
    if (pCombo == nullptr)
        return;
    auto* selector = dynamic_cast<CSelectorComboBox*>(pCombo);
    switch (nID) {
    case IDC_BAR_SELECTOR:
        if (selector != nullptr)
            FillSelectorCombo(selector);
        return;
    case IDC_BAR_FIRST_OBJECT:
        ClearUndo();
        if (selector != nullptr)
            FillFirstObjectCombo(selector);
        return;
    case IDC_BAR_SECOND_OBJECT:
        if (selector != nullptr)
            FillSecondObjectCombo(selector);
        return;
    default:
        if (std::find(std::begin(kSimulationControlIds), std::end(kSimulationControlIds), nID) !=
            std::end(kSimulationControlIds))
            FillSimulationControl(nID, pCombo);
        return;
    }
}

void CCommonDoc::OnBarControlChange(UINT nID, CComboBox* pCombo)
{
    if (pCombo == nullptr)
        return;
    auto* selector = dynamic_cast<CSelectorComboBox*>(pCombo);
    switch (nID) {
    case IDC_BAR_SELECTOR:
        DeleteResult();
        if (selector != nullptr)
            OnSelectorChange(selector);
        return;
    case IDC_BAR_FIRST_OBJECT:
        ClearUndo();
        if (CShelter* current = GetCurrentObject())
            current->Select(0, CSensorPoint());
        if (selector != nullptr)
            OnFirstObjectChange(selector);
        return;
    case IDC_BAR_SECOND_OBJECT:
        if (selector != nullptr)
            OnSecondObjectChange(selector);
        return;
    default:
        if (std::find(std::begin(kSimulationControlIds), std::end(kSimulationControlIds), nID) !=
            std::end(kSimulationControlIds))
            OnSimulationControlChange(nID, pCombo);
        return;
    }
}

WORD CCommonDoc::GetSensorCount()
{
    return 0;
}

void CCommonDoc::FillSelectorCombo(CSelectorComboBox*) {}
void CCommonDoc::OnSelectorChange(CSelectorComboBox*) {}
void CCommonDoc::FillFirstObjectCombo(CSelectorComboBox*) {}
void CCommonDoc::OnFirstObjectChange(CSelectorComboBox*) {}
void CCommonDoc::FillSecondObjectCombo(CSelectorComboBox*) {}
void CCommonDoc::OnSecondObjectChange(CSelectorComboBox*) {}
void CCommonDoc::FillSimulationControl(UINT, CComboBox*) {}
void CCommonDoc::OnSimulationControlChange(UINT, CComboBox*) {}

void CCommonDoc::OnModeChanged(int, int)
{
    DeleteResult();
}

int CCommonDoc::RunMode1(int nAction)
{
    switch (nAction) {
    case kModeActionStart:
        SetEditMode(1);
        // The first tick comes with the frame's next timer message.
        SetCycle(1);
        return 1;
    case kModeActionStop:
    case kModeActionAbort:
        StopCycle();
        SetEditMode(0);
        return 1;
    case kModeActionTick:
        SetCycle(DWORD(std::max(GetTalisoSetup().m_nEditScanInterval, 1)) * 1000);
        FetchResult();
        return 1;
    default: return 0;
    }
}

int CCommonDoc::RunMode2(int) { return 1; }
int CCommonDoc::RunMode3(int) { return 1; }
int CCommonDoc::RunMode4(int) { return 1; }
int CCommonDoc::RunMode5(int) { return 1; }

int CCommonDoc::TransferToDevice() { return 1; }
int CCommonDoc::ConfirmTransfer(int) { return 1; }
int CCommonDoc::PreparePrint(int) { return 1; }
int CCommonDoc::BuildReport(CObList*, int) { return 0; }
void CCommonDoc::EndPrint(int) {}

std::unique_ptr<CSensorObject> CCommonDoc::FetchScan(WORD) { return nullptr; }
std::unique_ptr<CSensorObject> CCommonDoc::FetchResultByIndex(int) { return nullptr; }
std::unique_ptr<CSensorObject> CCommonDoc::FetchResultByRange(int, int) { return nullptr; }

BOOL CCommonDoc::CanCloseFrame(CFrameWnd* pFrame)
{
    if (m_nMode != kModeNone)
        AbortActiveMode();
    return CTalisoDoc::CanCloseFrame(pFrame);
}

void CCommonDoc::DeleteContents()
{
    CTalisoDoc::DeleteContents();
    DeleteResult();
}

void CCommonDoc::Serialize(CArchive& ar)
{
    CTalisoDoc::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kCommonFileVersion;
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kCommonFileVersion)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
}

BOOL CCommonDoc::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = !m_strPathName.IsEmpty() ? m_strPathName : m_strTitle;
    if (name.IsEmpty())
        name.LoadString(AFX_IDS_UNTITLED);
    CString prompt;
    AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, name.c_str());
    switch (AfxMessageBox(prompt.c_str(), MB_YESNOCANCEL | MB_ICONQUESTION, AFX_IDP_ASK_TO_SAVE)) {
    case IDNO: return TRUE;
    case IDYES: break;
    default: return FALSE;
    }
    if (AfxIsReadWritableFile(m_strPathName))
        return DoSave(m_strPathName, TRUE);
    // Unsaved changes are kept whenever no file came of the answer Yes.
    return SaveUnderNewName();
}

BOOL CCommonDoc::PromptSavePath(CString& path)
{
    CWinApp* app = AfxGetApp();
    path = !m_strPathName.IsEmpty() ? m_strPathName : m_strTitle;
    return app != nullptr &&
           app->DoPromptFileName(path, AFX_IDS_SAVEFILE, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, m_pDocTemplate);
}

BOOL CCommonDoc::SaveUnderNewName()
{
    CString path;
    if (!PromptSavePath(path))
        return FALSE;
    // The document carries the new name before it is saved under it.
    SetPathName(path, TRUE);
    return DoSave(path, TRUE);
}

void CCommonDoc::OnFileSave()
{
    if (AfxIsReadWritableFile(m_strPathName))
        DoSave(m_strPathName, TRUE);
    else
        SaveUnderNewName();
}

void CCommonDoc::OnFileSaveAs()
{
    SaveUnderNewName();
}

void CCommonDoc::OnStopMode()
{
    if (m_nMode != kModeNone)
        SetMode(m_nMode);
}

void CCommonDoc::OnFileClose()
{
    if (m_nMode != kModeNone)
        AbortActiveMode();
    CDocument::OnFileClose();
}

// ------------------------------------------------------------------ protocol recording

namespace {

// The open or save prompt of protocol files; FALSE when the user cancels it.
BOOL PromptProtocolPath(BOOL bOpen, CString& path)
{
    CString texts;
    texts.LoadString(IDS_PROTOCOL_FILES);
    CString defaultExt;
    CString filter;
    AfxExtractSubString(defaultExt, texts.c_str(), 0);
    AfxExtractSubString(filter, texts.c_str(), 1);
    const DWORD flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT | (bOpen ? OFN_FILEMUSTEXIST : 0);
    CHelpFileDialog dialog(bOpen, defaultExt, nullptr, flags, filter, nullptr,
                           bOpen ? kHelpProtocolReplay : kHelpProtocolRecording);
    dialog.SetInitialDirFromProfile("ProtocolResults");
    if (dialog.DoModal() != IDOK)
        return FALSE;
    path = dialog.GetPathName();
    return TRUE;
}

} // namespace

void CCommonDoc::OnToggleRecording()
{
    if (m_bRecording) {
        StopRecording();
        return;
    }
    CString path;
    if (PromptProtocolPath(FALSE, path)) {
        // The file is first written with the next result.
        m_strProtocolPath = path;
        m_bRecording = TRUE;
    }
    AfxMessageBox(IDP_RECORDING_NOTE, MB_OK);
}

void CCommonDoc::StopRecording()
{
    m_pProtocolWriter.reset();
    m_strProtocolPath.Empty();
    m_bRecording = FALSE;
    m_recorded.clear();
}

void CCommonDoc::RecordResult(const CSensorObject* pResult)
{
    if (!m_bRecording || pResult == nullptr)
        return;
    m_recorded.push_back(pResult->Clone());
    if (WriteProtocol())
        return;
    // The recorded entries stay; only the file is given up.
    m_pProtocolWriter.reset();
    m_strProtocolPath.Empty();
    m_bRecording = FALSE;
}

BOOL CCommonDoc::WriteProtocol()
{
    try {
        CWaitCursor wait;
        const DWORD count = DWORD(m_recorded.size());
        // A file deleted or moved away meanwhile is written whole again at the path.
        if (m_pProtocolWriter != nullptr && ProtocolWriter::CanAppendUpTo(count) &&
            m_pProtocolWriter->IsAtPath(m_strProtocolPath))
            m_pProtocolWriter->Append(*m_recorded.back(), count);
        else
            m_pProtocolWriter = std::make_unique<ProtocolWriter>(m_strProtocolPath, m_recorded);
        return TRUE;
    } catch (CException& e) {
        m_pProtocolWriter.reset();
        ReportRecordingStopped(e);
        return FALSE;
    }
}

// Recording goes on unseen but for a status pane: the user is told that the file failed,
// why, and that recording has stopped.
void CCommonDoc::ReportRecordingStopped(const CException& e) const
{
    CString text;
    AfxFormatString1(text, IDP_FILE_WRITE_FAILED, m_strProtocolPath.c_str());
    const CString reason = AfxFileErrorReason(&e);
    if (!reason.IsEmpty())
        text += "\n" + reason;
    CString stopped;
    stopped.LoadString(IDS_RECORDING_STOPPED);
    text += "\n" + stopped;
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION, IDP_FILE_WRITE_FAILED);
}

void CCommonDoc::OnUpdateToggleRecording(CCmdUI* pCmdUI)
{
    CString text;
    text.LoadString(m_bRecording ? IDS_STOP_RECORDING : IDS_START_RECORDING);
    if (!text.IsEmpty())
        pCmdUI->SetText(text.c_str());
    pCmdUI->Enable(!m_bProtocolLoaded);
}

void CCommonDoc::OnUpdateRecordingPane(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bRecording);
    if (!m_bRecording)
        return;
    CString text;
    text.LoadString(IDS_RECORDING_PANE);
    FitStatusPaneToText(pCmdUI, text);
    pCmdUI->SetText(text.c_str());
}

// ---------------------------------------------------------------------- protocol replay

int CCommonDoc::ReplayProtocol(int nAction)
{
    switch (nAction) {
    case kModeActionStart: {
        CString path;
        if (!PromptProtocolPath(TRUE, path))
            return m_bProtocolLoaded;
        if (LoadProtocol(path)) {
            ShowEntry(0);
            m_bProtocolLoaded = TRUE;
        }
        return m_bProtocolLoaded;
    }
    case kModeActionStop:
    case kModeActionAbort:
        UnloadProtocol();
        return 1;
    case kModeActionTick:
        if (!m_bPlaying)
            return 1;
        if (m_nShown >= int(m_replay.size()) - 1) {
            StopCycle();
            m_bPlaying = FALSE;
        } else {
            ShowEntry(m_nShown + 1);
        }
        return 1; // a replay tick never ends the mode
    default: return 0;
    }
}

BOOL CCommonDoc::LoadProtocol(const CString& path)
{
    m_replay.clear();
    m_nShown = -1;
    CFile file;
    CFileException openError;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        ReportSaveLoadException(path, &openError, FALSE, IDP_FILE_OPEN_FAILED);
        return FALSE;
    }
    try {
        CWaitCursor wait;
        CArchive ar(&file, CArchive::load, kArchiveBufferSize);
        ar.m_strFileName = path;
        const DWORD count = ar.ReadCount();
        // Every entry must be a result of its own: another class, a null entry or a
        // reference back is refused at its tag, before anything of it is made.
        for (DWORD i = 0; i < count; ++i) {
            std::unique_ptr<CScan> entry = ReadOwned<CScan>(ar, RUNTIME_CLASS(CScan));
            if (entry == nullptr)
                AfxThrowArchiveException(CArchiveException::badClass, path);
            m_replay.push_back(std::move(entry));
        }
        // A protocol without results is no protocol of this program.
        if (count == 0)
            AfxThrowArchiveException(CArchiveException::endOfFile, path);
        ar.Close();
        file.Close();
    } catch (CException& e) {
        // What was read before the error stays and can be replayed.
        file.Abort();
        ReportSaveLoadException(path, &e, FALSE, IDP_FILE_OPEN_FAILED);
    }
    return !m_replay.empty();
}

void CCommonDoc::UnloadProtocol()
{
    DeleteResult();
    m_replay.clear();
    m_nShown = -1;
    m_bProtocolLoaded = FALSE;
    m_bPlaying = FALSE;
}

void CCommonDoc::ShowEntry(int nIndex)
{
    if (nIndex < 0 || nIndex >= int(m_replay.size()) || nIndex == m_nShown)
        return;
    m_pResult = m_replay[std::size_t(nIndex)]->Clone();
    m_nShown = nIndex;
    UpdateAllViews(nullptr, 0);
}

void CCommonDoc::ShowEntryAgain()
{
    if (m_pResult == nullptr && m_nShown >= 0 && m_nShown < int(m_replay.size()))
        m_pResult = m_replay[std::size_t(m_nShown)]->Clone();
}

int CCommonDoc::GetProtocolPosition(int* pPosition, int* pCount) const
{
    const int count = int(m_replay.size());
    if (pPosition != nullptr)
        *pPosition = m_nShown + 1;
    if (pCount != nullptr)
        *pCount = count;
    return count;
}

void CCommonDoc::OnReplayPlay()
{
    if (m_nShown >= int(m_replay.size()) - 1)
        ShowEntry(0);
    SetCycle(kReplayStepPeriod);
    m_bPlaying = TRUE;
}

void CCommonDoc::OnReplayPause()
{
    SetCycle(kReplayStepPeriod);
    m_bPlaying = FALSE;
}

void CCommonDoc::OnReplayFirst()
{
    ShowEntry(0);
}

void CCommonDoc::OnReplayPrevious()
{
    ShowEntry(m_nShown - 1);
}

void CCommonDoc::OnReplayNext()
{
    ShowEntry(m_nShown + 1);
}

void CCommonDoc::OnReplayLast()
{
    ShowEntry(int(m_replay.size()) - 1);
}

void CCommonDoc::OnUpdateReplayPlay(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bProtocolLoaded && !m_bPlaying);
}

void CCommonDoc::OnUpdateReplayPause(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bProtocolLoaded && m_bPlaying);
}

void CCommonDoc::OnUpdateReplayBackwards(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bProtocolLoaded && !m_bPlaying && m_nShown >= 1 && m_nShown < int(m_replay.size()));
}

void CCommonDoc::OnUpdateReplayForwards(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bProtocolLoaded && !m_bPlaying && m_nShown >= 0 && m_nShown < int(m_replay.size()) - 1);
}
