#include "framework/ui/CDocument.h"

#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/core/CFile.h"
#include "framework/core/CReplacingFile.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDocTemplate.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CView.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"

#include "framework/ui/ControlDefs.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include <unistd.h>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {

CString FileNameOf(const CString& path) { return CString(std::filesystem::path(path.str()).filename().string()); }

// The frames that show views of the document, each once.
std::vector<CFrameWnd*> FramesOf(const CDocument& doc)
{
    std::vector<CFrameWnd*> frames;
    for (POSITION pos = doc.GetFirstViewPosition(); pos != nullptr;) {
        CView* view = doc.GetNextView(pos);
        CFrameWnd* frame = view != nullptr ? view->GetParentFrame() : nullptr;
        if (frame != nullptr && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    return frames;
}

} // namespace

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (POSITION pos = m_viewList.GetHeadPosition(); pos != nullptr;) {
        if (CView* view = m_viewList.GetNext(pos))
            view->m_pDocument = nullptr;
    }
    m_viewList.RemoveAll();
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle != nullptr ? lpszTitle : "";
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = lpszPathName != nullptr ? lpszPathName : "";
    SetTitle(FileNameOf(m_strPathName).c_str());
    if (bAddToMRU && !m_strPathName.IsEmpty()) {
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName.c_str());
    }
}

BOOL CDocument::IsModified()
{
    return m_bModified;
}

void CDocument::SetModifiedFlag(BOOL bModified)
{
    m_bModified = bModified;
}

void CDocument::AddView(CView* pView)
{
    if (pView == nullptr || m_viewList.Find(pView) != nullptr)
        return;
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    POSITION pos = m_viewList.Find(pView);
    if (pos == nullptr)
        return;
    m_viewList.RemoveAt(pos);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    // A view may close the document's other views while it updates: walk a copy.
    std::vector<CView*> views;
    for (POSITION pos = m_viewList.GetHeadPosition(); pos != nullptr;)
        views.push_back(m_viewList.GetNext(pos));
    for (CView* view : views) {
        if (view != pSender && m_viewList.Find(view) != nullptr)
            view->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::UpdateFrameCounts()
{
    for (CFrameWnd* frame : FramesOf(*this))
        frame->OnUpdateFrameTitle(TRUE);
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    CFile file;
    CFileException openError;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        ReportSaveLoadException(lpszPathName, &openError, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE); // dirty while half loaded
    try {
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
        file.Close();
    } catch (CException& e) {
        file.Abort();
        DeleteContents();
        ReportSaveLoadException(lpszPathName, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

// The archive goes to a file beside the target, which replaces the target only once it
// is complete and on the disk: a failed save leaves the previous file as it was.
BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName)
{
    const CString target = lpszPathName != nullptr ? lpszPathName : "";
    CReplacingFile file;
    CFileException openError;
    if (!file.OpenReplacing(target.c_str(), &openError)) {
        ReportSaveLoadException(target.c_str(), &openError, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    try {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
        file.Commit();
        file.Close();
    } catch (CException& e) {
        file.Abort();
        ReportSaveLoadException(target.c_str(), &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Destroying the frames removes the views; that must not close the document again.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    for (CFrameWnd* frame : FramesOf(*this)) {
        PreCloseFrame(frame);
        frame->DestroyWindow();
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete && m_pDocTemplate != nullptr)
        m_pDocTemplate->DestroyDocument(this);
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame)
{
    for (POSITION pos = m_viewList.GetHeadPosition(); pos != nullptr;) {
        CView* view = m_viewList.GetNext(pos);
        CFrameWnd* frame = view != nullptr ? view->GetParentFrame() : nullptr;
        if (frame != nullptr && frame != pFrame)
            return TRUE; // another frame keeps showing the document
    }
    return SaveModified();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : FileNameOf(m_strPathName);
    if (name.IsEmpty())
        name.LoadString(AFX_IDS_UNTITLED);
    CString prompt;
    AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, name.c_str());
    switch (AfxMessageBox(prompt.c_str(), MB_YESNOCANCEL | MB_ICONQUESTION, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::DoFileSave()
{
    return DoSave(m_strPathName.IsEmpty() ? nullptr : m_strPathName.c_str());
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    CString newName = lpszPathName != nullptr ? lpszPathName : "";
    if (newName.IsEmpty()) {
        CWinApp* app = AfxGetApp();
        newName = m_strPathName;
        if (bReplace && newName.IsEmpty()) {
            newName = m_strTitle;
            CString ext;
            if (m_pDocTemplate != nullptr && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) &&
                !ext.IsEmpty() && newName.Find('.') < 0)
                newName += ext;
        }
        if (app == nullptr ||
            !app->DoPromptFileName(newName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                   OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, m_pDocTemplate))
            return FALSE;
    }
    if (!OnSaveDocument(newName.c_str()))
        return FALSE;
    if (bReplace)
        SetPathName(newName.c_str());
    return TRUE;
}

UINT AfxSaveLoadPromptId(const CException* e, BOOL bSaving, UINT nIDPDefault)
{
    if (e == nullptr)
        return nIDPDefault;
    if (e->IsKindOf(RUNTIME_CLASS(CUserException)))
        return 0;
    if (const auto* archive = dynamic_cast<const CArchiveException*>(e)) {
        switch (archive->m_cause) {
        case CArchiveException::endOfFile:
        case CArchiveException::badIndex:
        case CArchiveException::badClass:
        case CArchiveException::badSchema:
            return AFX_IDP_FAILED_INVALID_FORMAT;
        default:
            return nIDPDefault;
        }
    }
    if (const auto* file = dynamic_cast<const CFileException*>(e)) {
        switch (file->m_cause) {
        case CFileException::genericException:
        case CFileException::tooManyOpenFiles:
        case CFileException::invalidFile:
        case CFileException::directoryFull:
        case CFileException::badSeek:
        case CFileException::hardIO:
            return bSaving ? AFX_IDP_FAILED_IO_ERROR_WRITE : AFX_IDP_FAILED_IO_ERROR_READ;
        case CFileException::fileNotFound:
        case CFileException::badPath:
            return AFX_IDP_FAILED_INVALID_PATH;
        case CFileException::accessDenied:
            return bSaving ? AFX_IDP_FAILED_ACCESS_WRITE : AFX_IDP_FAILED_ACCESS_READ;
        case CFileException::diskFull:
            return AFX_IDP_FAILED_DISK_FULL;
        default:
            return nIDPDefault;
        }
    }
    return nIDPDefault;
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    AfxReportSaveLoadError(lpszPathName, e, bSaving, nIDPDefault);
}

namespace {

// A file not there yet in a folder the user may not write.
bool FolderRefusesNewFile(const CString& path)
{
    std::error_code error;
    const std::filesystem::path file(path.str());
    if (path.IsEmpty() || std::filesystem::exists(std::filesystem::symlink_status(file, error)))
        return false;
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    return ::access(folder.c_str(), W_OK) != 0;
}

} // namespace

CString AfxFileErrorReason(const CException* e)
{
    const auto* file = dynamic_cast<const CFileException*>(e);
    CString reason;
    if (file != nullptr && file->m_lOsError > 0)
        AfxFormatString1(reason, AFX_IDS_FILE_OS_REASON, CFileException::OsErrorText(file->m_lOsError).c_str());
    return reason;
}

void AfxReportSaveLoadError(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    const CString path = lpszPathName != nullptr ? lpszPathName : "";
    UINT prompt = AfxSaveLoadPromptId(e, bSaving, nIDPDefault);
    if (prompt == 0)
        return;
    if (prompt == AFX_IDP_FAILED_ACCESS_WRITE && FolderRefusesNewFile(path))
        prompt = AFX_IDP_FAILED_FOLDER_WRITE;
    CString text;
    AfxFormatString1(text, prompt, path.c_str());
    if (text.IsEmpty() && e != nullptr)
        text = e->GetErrorText();
    const CString reason = AfxFileErrorReason(e);
    if (!reason.IsEmpty())
        text += "\n" + reason;
    AfxMessageBox(text.c_str(), MB_ICONEXCLAMATION, prompt);
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(nullptr);
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::GetCommandRoute(std::vector<CCmdTarget*>& route)
{
    route.push_back(this);
    if (m_pDocTemplate != nullptr)
        route.push_back(m_pDocTemplate);
}
