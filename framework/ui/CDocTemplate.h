#pragma once
// Document templates: which document, frame and view classes belong together, with the
// resource id of their menu and their "\n"-separated document strings. A template
// makes new documents with their frames and views and owns the documents it made.
#include "framework/core/CList.h"
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/ui/CCmdTarget.h"
#include "framework/ui/CMenu.h"

#include <memory>
#include <vector>

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle = 0,
        docName = 1,
        fileNewName = 2,
        filterName = 3,
        filterExt = 4,
        regFileTypeId = 5,
        regFileTypeName = 6,
    };
    enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative, yesAlreadyOpen };

    ~CDocTemplate() override;

    // The part of the template's resource string; FALSE when it is empty.
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;
    // Loads the document strings and the shared menu from the current resource module
    // (done when the template is added to the application, or on first use).
    virtual void LoadTemplate();

    POSITION GetFirstDocPosition() const { return m_docList.GetHeadPosition(); }
    CDocument* GetNextDoc(POSITION& rPos) const { return m_docList.GetNext(rPos); }
    int GetDocumentCount() const { return m_docList.GetCount(); }
    // Adopts a document (the template deletes it when it closes) or lists one owned elsewhere.
    void AddDocument(std::unique_ptr<CDocument> pDoc);
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    // Deletes a document the template owns (after RemoveDocument when still listed).
    void DestroyDocument(CDocument* pDoc);

    // A new document of the template's class, adopted; nullptr when it cannot be made.
    virtual CDocument* CreateNewDocument();
    // A frame of the template's frame class with its views for the document; nullptr
    // (nothing left behind) when it cannot be made.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    // A new document from a file, or an empty one (lpszPathName null) through OnNewDocument.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual Confidence MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch);

    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);

    UINT GetResourceId() const { return m_nIDResource; }
    const CRuntimeClass* GetDocClass() const { return m_pDocClass; }
    const CRuntimeClass* GetFrameClass() const { return m_pFrameClass; }
    const CRuntimeClass* GetViewClass() const { return m_pViewClass; }

    HMENU m_hMenuShared = nullptr; // owned by the template

protected:
    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
    bool m_bLoaded = false;
    CMenu m_menuShared;
    CList<CDocument*, CDocument*> m_docList;
    std::vector<std::unique_ptr<CDocument>> m_ownedDocs;
};

// A template whose documents each open in their own MDI child frames.
class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                      const CRuntimeClass* pViewClass);

    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

private:
    UINT m_nUntitledCount = 0;
};
