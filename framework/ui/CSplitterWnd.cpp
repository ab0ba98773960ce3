#include "framework/ui/CSplitterWnd.h"

#include "framework/gdi/CDC.h"
#include "framework/ui/CControlBar.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CView.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

namespace {

constexpr int kMaxPanes = 16;

} // namespace

CSplitterWnd::CSplitterWnd() = default;

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    if (pParentWnd == nullptr || nRows < 1 || nCols < 1 || nRows > kMaxPanes || nCols > kMaxPanes || m_hWnd != nullptr)
        return FALSE;
    m_nRows = nRows;
    m_nCols = nCols;
    m_rowInfo.assign(std::size_t(nRows), Info{});
    m_colInfo.assign(std::size_t(nCols), Info{});
    CRect area;
    pParentWnd->GetClientRect(&area);
    return CreateEx(0, nullptr, nullptr, dwStyle | WS_CHILD, area, pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, const CRuntimeClass* pViewClass, SIZE sizeInit,
                              CCreateContext* pContext)
{
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || pViewClass == nullptr || GetPane(row, col) != nullptr)
        return FALSE;
    m_rowInfo[std::size_t(row)].nIdealSize = sizeInit.cy;
    m_colInfo[std::size_t(col)].nIdealSize = sizeInit.cx;
    std::unique_ptr<CObject> object = pViewClass->CreateObject();
    auto* wnd = dynamic_cast<CWnd*>(object.get());
    if (wnd == nullptr)
        return FALSE;
    auto* view = dynamic_cast<CView*>(wnd);
    if (view != nullptr)
        view->m_bAutoDelete = FALSE; // ours until its window exists
    if (!wnd->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, sizeInit.cx, sizeInit.cy), this,
                     UINT(IdFromRowCol(row, col)), pContext) ||
        wnd->m_hWnd == nullptr)
        return FALSE;
    if (view == nullptr)
        return FALSE; // only views delete themselves with their windows
    view->m_bAutoDelete = TRUE;
    object.release();
    return TRUE;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const
{
    cyCur = cyMin = 0;
    if (row < 0 || row >= m_nRows)
        return;
    cyCur = m_rowInfo[std::size_t(row)].nCurSize;
    cyMin = m_rowInfo[std::size_t(row)].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin)
{
    if (row < 0 || row >= m_nRows)
        return;
    m_rowInfo[std::size_t(row)].nIdealSize = std::max(cyIdeal, 0);
    m_rowInfo[std::size_t(row)].nMinSize = std::max(cyMin, 0);
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const
{
    cxCur = cxMin = 0;
    if (col < 0 || col >= m_nCols)
        return;
    cxCur = m_colInfo[std::size_t(col)].nCurSize;
    cxMin = m_colInfo[std::size_t(col)].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin)
{
    if (col < 0 || col >= m_nCols)
        return;
    m_colInfo[std::size_t(col)].nIdealSize = std::max(cxIdeal, 0);
    m_colInfo[std::size_t(col)].nMinSize = std::max(cxMin, 0);
}

// Every line but the last gets its ideal size while room is left; one that would be
// smaller than its minimum is hidden (0) and gives its room on. The last takes the rest.
void CSplitterWnd::LayoutLine(std::vector<Info>& infos, int total, int gap)
{
    int left = std::max(total, 0);
    for (std::size_t i = 0; i < infos.size(); ++i) {
        Info& info = infos[i];
        if (i + 1 == infos.size()) {
            info.nCurSize = left;
            break;
        }
        if (info.nIdealSize >= left) {
            // This line takes everything: the ones after it are hidden.
            info.nCurSize = left;
            for (std::size_t j = i + 1; j < infos.size(); ++j)
                infos[j].nCurSize = 0;
            return;
        }
        const int size = info.nIdealSize <= 0 || info.nIdealSize < info.nMinSize ? 0 : info.nIdealSize;
        info.nCurSize = size;
        if (size > 0)
            left = std::max(left - size - gap, 0);
    }
}

void CSplitterWnd::RecalcLayout()
{
    if (m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    LayoutLine(m_rowInfo, client.Height() - 2 * m_cyBorder, m_cySplitterGap);
    LayoutLine(m_colInfo, client.Width() - 2 * m_cxBorder, m_cxSplitterGap);
    int y = m_cyBorder;
    for (int row = 0; row < m_nRows; ++row) {
        const int height = m_rowInfo[std::size_t(row)].nCurSize;
        int x = m_cxBorder;
        for (int col = 0; col < m_nCols; ++col) {
            const int width = m_colInfo[std::size_t(col)].nCurSize;
            if (CWnd* pane = GetPane(row, col)) {
                const bool shown = width > 0 && height > 0;
                pane->MoveWindow(x, y, width, height, TRUE);
                pane->ShowWindow(shown ? SW_SHOWNA : SW_HIDE);
            }
            if (width > 0)
                x += width + m_cxSplitterGap;
        }
        if (height > 0)
            y += height + m_cySplitterGap;
    }
    Invalidate();
}

BOOL CSplitterWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, kBarFaceColor);
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = 0; col < m_nCols; ++col) {
            CWnd* pane = GetPane(row, col);
            if (pane == nullptr || !pane->IsWindowVisible())
                continue;
            CRect rect;
            pane->GetWindowRect(&rect);
            ScreenToClient(&rect);
            rect.InflateRect(m_cxBorder, m_cyBorder);
            pDC->Draw3dRect(&rect, kBarShadowColor, kBarHighlightColor);
            rect.DeflateRect(1, 1);
            pDC->Draw3dRect(&rect, RGB(0, 0, 0), kBarFaceColor);
        }
    }
    return TRUE;
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

int CSplitterWnd::IdFromRowCol(int row, int col) const
{
    return int(AFX_IDW_PANE_FIRST) + row * 16 + col;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || m_hWnd == nullptr)
        return nullptr;
    return GetDlgItem(IdFromRowCol(row, col));
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const
{
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr || pWnd->GetParent() != this)
        return FALSE;
    const int offset = pWnd->GetDlgCtrlID() - int(AFX_IDW_PANE_FIRST);
    const int row = offset / 16;
    const int col = offset % 16;
    if (offset < 0 || row >= m_nRows || col >= m_nCols)
        return FALSE;
    if (pRow != nullptr)
        *pRow = row;
    if (pCol != nullptr)
        *pCol = col;
    return TRUE;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) const
{
    CFrameWnd* frame = GetParentFrame();
    CWnd* view = frame != nullptr ? frame->GetActiveView() : nullptr;
    if (view == nullptr || !IsChildPane(view, pRow, pCol))
        return nullptr;
    return view;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd)
{
    CWnd* pane = pWnd != nullptr ? pWnd : GetPane(row, col);
    auto* view = dynamic_cast<CView*>(pane);
    CFrameWnd* frame = GetParentFrame();
    if (view != nullptr && frame != nullptr)
        frame->SetActiveView(view);
    else if (pane != nullptr)
        pane->SetFocus();
}

BOOL CSplitterWnd::CanActivateNext(BOOL)
{
    int shown = 0;
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = 0; col < m_nCols; ++col) {
            if (m_rowInfo[std::size_t(row)].nCurSize > 0 && m_colInfo[std::size_t(col)].nCurSize > 0 &&
                GetPane(row, col) != nullptr)
                ++shown;
        }
    }
    return shown > 1;
}

void CSplitterWnd::ActivateNext(BOOL bPrev)
{
    int row = 0;
    int col = 0;
    if (GetActivePane(&row, &col) == nullptr)
        row = col = 0;
    const int count = m_nRows * m_nCols;
    int index = row * m_nCols + col;
    for (int step = 0; step < count; ++step) {
        index = (index + (bPrev ? count - 1 : 1)) % count;
        const int r = index / m_nCols;
        const int c = index % m_nCols;
        if (m_rowInfo[std::size_t(r)].nCurSize > 0 && m_colInfo[std::size_t(c)].nCurSize > 0 && GetPane(r, c)) {
            SetActivePane(r, c);
            return;
        }
    }
}

BOOL CSplitterWnd::DoKeyboardSplit()
{
    if (m_nRows < 1 || m_nCols < 1 || m_hWnd == nullptr)
        return FALSE;
    CRect client;
    GetClientRect(&client);
    if (m_nRows > 1)
        SetRowInfo(0, std::max((client.Height() - m_cySplitterGap) / 2 - m_cyBorder, 1), 0);
    if (m_nCols > 1)
        SetColumnInfo(0, std::max((client.Width() - m_cxSplitterGap) / 2 - m_cxBorder, 1), 0);
    RecalcLayout();
    return TRUE;
}
