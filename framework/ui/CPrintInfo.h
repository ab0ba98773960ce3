#pragma once
// One print or preview run: the print dialog with its page range, whether the run is a
// preview, the page being printed and its drawing rectangle, and whether printing goes on.
#include "framework/core/CRect.h"
#include "framework/core/CString.h"
#include "framework/ui/UiDefs.h"

#include <memory>

class CPrintDialog;

struct CPrintInfo {
    // A print dialog with the pages 1 to 0xFFFF.
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT nMinPage);
    void SetMaxPage(UINT nMaxPage);
    UINT GetMinPage() const;
    UINT GetMaxPage() const;
    UINT GetFromPage() const;
    UINT GetToPage() const;
    UINT GetCopies() const;

    std::unique_ptr<CPrintDialog> m_pPD;
    BOOL m_bDirect = FALSE;      // print without asking
    BOOL m_bPreview = FALSE;     // the run draws preview pages
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1; // pages side by side in the preview (1 or 2)
    CString m_strPageDesc;
    void* m_lpUserData = nullptr;
    CRect m_rectDraw;            // the page's drawing rectangle, logical units
};

// The highest page a run may have when nobody set one.
constexpr UINT AFX_PRINT_PAGE_UNLIMITED = 0xFFFF;
