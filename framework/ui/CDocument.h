#pragma once
// A document: the data one or more views show. It knows its views, its template, its
// file path and title and whether it has unsaved changes; it loads and saves itself
// through an archive on the file (Serialize) and asks before unsaved changes are lost.
#include "framework/core/CList.h"
#include "framework/core/CString.h"
#include "framework/ui/CCmdTarget.h"

class CArchive;
class CDocTemplate;
class CException;
class CFile;
class CFileException;
class CFrameWnd;
class CView;

// The framework's prompts for failed loads and saves and the save question.
constexpr UINT AFX_IDP_FAILED_TO_OPEN_DOC = 61697;
constexpr UINT AFX_IDP_FAILED_TO_SAVE_DOC = 61698;
constexpr UINT AFX_IDP_ASK_TO_SAVE = 61699;
constexpr UINT AFX_IDP_FAILED_INVALID_FORMAT = 61728;
constexpr UINT AFX_IDP_FAILED_INVALID_PATH = 61729;
constexpr UINT AFX_IDP_FAILED_DISK_FULL = 61730;
constexpr UINT AFX_IDP_FAILED_ACCESS_READ = 61731;
constexpr UINT AFX_IDP_FAILED_ACCESS_WRITE = 61732;
constexpr UINT AFX_IDP_FAILED_IO_ERROR_READ = 61733;
constexpr UINT AFX_IDP_FAILED_IO_ERROR_WRITE = 61734;
constexpr UINT AFX_IDP_FAILED_FOLDER_WRITE = 61735;
constexpr UINT AFX_IDS_FILE_OS_REASON = 61737;
constexpr UINT AFX_IDS_OPENFILE = 61440;
constexpr UINT AFX_IDS_SAVEFILE = 61441;
constexpr UINT AFX_IDS_ALLFILTER = 61442;
constexpr UINT AFX_IDS_UNTITLED = 61443;
constexpr UINT AFX_IDS_SAVEFILECOPY = 61447;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override; // the views still shown lose their document

    // Title and path. SetPathName also sets the title to the file name and, with
    // bAddToMRU, puts the path at the top of the application's recent-file list.
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);

    // Views.
    POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    CView* GetNextView(POSITION& rPosition) const { return m_viewList.GetNext(rPosition); }
    int GetViewCount() const { return m_viewList.GetCount(); }
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // Every view but pSender hears OnUpdate with the hint.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
    // Every frame that shows a view of this document updates its title.
    void UpdateFrameCounts();

    // The life of the document's data.
    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Destroys every frame showing the document, then the document's contents; a
    // document its template owns is deleted at the end (do not use it afterwards).
    virtual void OnCloseDocument();
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // TRUE when the frame may close: other frames still show the document, or
    // SaveModified agreed.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // Asks AFX_IDP_ASK_TO_SAVE (Yes/No/Cancel) when modified: Yes saves, No keeps the
    // changes unsaved, Cancel (or a failed save) answers FALSE and changes nothing.
    virtual BOOL SaveModified();
    // Saves under lpszPathName, or under a name asked with the save dialog when it is
    // null; bReplace makes the new name the document's path.
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();
    // The message box for a failed load or save (nothing for a user-cancel exception).
    virtual void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);

    // Commands: the menu's File Save, Save As and Close.
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();
    afx_msg void OnFileClose();

    // The template owns the documents it makes; it sets this when it adopts one.
    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bAutoDelete = TRUE;
    BOOL m_bEmbedded = FALSE;

    // Commands reach the document's own map, then its template.
    void GetCommandRoute(std::vector<CCmdTarget*>& route) override;

protected:
    // Called when a view comes or goes; the last view gone closes an auto-delete document.
    virtual void OnChangedViewList();

    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    CList<CView*, CView*> m_viewList;

    DECLARE_MESSAGE_MAP()
};

// The prompt id for an exception of a failed load or save: by the exception's cause,
// nIDPDefault for anything else; 0 for a user-cancel exception (nothing to show).
UINT AfxSaveLoadPromptId(const CException* e, BOOL bSaving, UINT nIDPDefault);
// The system's reason for a failed file operation as a line of text; empty when the
// exception carries none.
CString AfxFileErrorReason(const CException* e);
// The prompt of AfxSaveLoadPromptId with the file name inserted, and the system's reason
// where the file exception has one; nothing for a user cancel. A save refused for a new
// file in a folder the user may not write says so rather than calling the file read-only.
void AfxReportSaveLoadError(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);
