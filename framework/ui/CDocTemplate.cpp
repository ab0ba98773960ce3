#include "framework/ui/CDocTemplate.h"

#include "framework/core/ExtractSubString.h"
#include "framework/core/FileAccess.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CWinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
}

CDocTemplate::~CDocTemplate()
{
    // Documents still open go with their template; their views forget them first.
    while (!m_ownedDocs.empty()) {
        std::unique_ptr<CDocument> doc = std::move(m_ownedDocs.back());
        m_ownedDocs.pop_back();
        doc->m_pDocTemplate = nullptr;
    }
    m_docList.RemoveAll();
}

void CDocTemplate::LoadTemplate()
{
    if (m_bLoaded)
        return;
    m_bLoaded = true;
    m_strDocStrings.LoadString(m_nIDResource);
    if (m_menuShared.m_hMenu == nullptr && m_menuShared.LoadMenu(m_nIDResource))
        m_hMenuShared = m_menuShared.m_hMenu;
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    const_cast<CDocTemplate*>(this)->LoadTemplate();
    return AfxExtractSubString(rString, m_strDocStrings, int(index)) && !rString.IsEmpty();
}

void CDocTemplate::AddDocument(std::unique_ptr<CDocument> pDoc)
{
    if (!pDoc)
        return;
    CDocument* doc = pDoc.get();
    m_ownedDocs.push_back(std::move(pDoc));
    AddDocument(doc);
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    if (pDoc == nullptr || m_docList.Find(pDoc) != nullptr)
        return;
    m_docList.AddTail(pDoc);
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (POSITION pos = m_docList.Find(pDoc))
        m_docList.RemoveAt(pos);
}

void CDocTemplate::DestroyDocument(CDocument* pDoc)
{
    RemoveDocument(pDoc);
    auto owned = std::find_if(m_ownedDocs.begin(), m_ownedDocs.end(),
                              [pDoc](const std::unique_ptr<CDocument>& doc) { return doc.get() == pDoc; });
    if (owned == m_ownedDocs.end())
        return;
    std::unique_ptr<CDocument> doc = std::move(*owned);
    m_ownedDocs.erase(owned);
    doc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (m_pDocClass == nullptr)
        return nullptr;
    std::unique_ptr<CObject> object = m_pDocClass->CreateObject();
    auto* doc = dynamic_cast<CDocument*>(object.get());
    if (doc == nullptr)
        return nullptr;
    object.release();
    AddDocument(std::unique_ptr<CDocument>(doc));
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    if (m_pFrameClass == nullptr)
        return nullptr;
    LoadTemplate();
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;

    std::unique_ptr<CObject> object = m_pFrameClass->CreateObject();
    auto* frame = dynamic_cast<CFrameWnd*>(object.get());
    if (frame == nullptr)
        return nullptr;
    if (auto* child = dynamic_cast<CMDIChildWnd*>(frame))
        child->m_hMenuShared = m_hMenuShared;
    // The frame owns itself once its window exists; a failed creation leaves it to us.
    frame->m_bAutoDelete = FALSE;
    const BOOL created = frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context);
    if (!created || frame->m_hWnd == nullptr) {
        if (frame->m_hWnd != nullptr)
            frame->DestroyWindow();
        return nullptr;
    }
    frame->m_bAutoDelete = TRUE;
    object.release();
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    if (pFrame != nullptr)
        pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = nullptr;
    const CString path = lpszPathName != nullptr ? lpszPathName : "";
    for (POSITION pos = GetFirstDocPosition(); pos != nullptr;) {
        CDocument* doc = GetNextDoc(pos);
        if (AfxIsSameFile(doc->GetPathName().c_str(), path.c_str())) {
            rpDocMatch = doc;
            return yesAlreadyOpen;
        }
    }
    CString ext;
    if (GetDocString(ext, filterExt) && !ext.IsEmpty() && path.GetLength() >= ext.GetLength() &&
        path.Right(ext.GetLength()).CompareNoCase(ext.c_str()) == 0)
        return yesAttemptNative;
    return yesAttemptForeign;
}

BOOL CDocTemplate::SaveAllModified()
{
    for (POSITION pos = GetFirstDocPosition(); pos != nullptr;) {
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    while (POSITION pos = GetFirstDocPosition()) {
        CDocument* doc = GetNextDoc(pos);
        const int before = GetDocumentCount();
        doc->OnCloseDocument();
        // A document that stays (not auto-deleted) must not stop the loop.
        if (GetDocumentCount() == before)
            RemoveDocument(doc);
    }
}

// ==================================================================== multiple documents

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                                     const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title.LoadString(AFX_IDS_UNTITLED);
    CString numbered;
    numbered.Format("%s%u", title.c_str(), ++m_nUntitledCount);
    pDocument->SetTitle(numbered.c_str());
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* doc = CreateNewDocument();
    if (doc == nullptr)
        return nullptr;
    const BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE; // the frame's failure must not delete the document twice
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (frame == nullptr) {
        DestroyDocument(doc);
        return nullptr;
    }

    if (lpszPathName == nullptr) {
        SetDefaultTitle(doc);
        if (!bMakeVisible)
            doc->m_bEmbedded = TRUE;
        // A document that refuses to start takes its frame with it.
        if (!doc->OnNewDocument()) {
            --m_nUntitledCount;
            doc->m_bAutoDelete = FALSE;
            frame->DestroyWindow();
            DestroyDocument(doc);
            return nullptr;
        }
    } else {
        CWinApp* app = AfxGetApp();
        if (app != nullptr)
            app->BeginWaitCursor();
        const BOOL opened = doc->OnOpenDocument(lpszPathName);
        if (app != nullptr)
            app->EndWaitCursor();
        if (!opened) {
            doc->m_bAutoDelete = FALSE;
            frame->DestroyWindow();
            DestroyDocument(doc);
            return nullptr;
        }
        doc->SetPathName(lpszPathName);
    }
    InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
}
