#include "framework/ui/CStatusBar.h"

#include "framework/gdi/CDC.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CPaintDC.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
END_MESSAGE_MAP()

namespace {

constexpr int kPaneGap = 2;        // between two panes
constexpr int kPaneBorder = 1;     // the sunken edge of a pane
constexpr int kTextMargin = 2;     // between the edge and the text
constexpr int kVerticalPadding = 2; // above and below a pane

// A pane of a status bar as the update handlers see it.
class CStatusCmdUI : public CCmdUI {
public:
    explicit CStatusCmdUI(CStatusBar& bar) : m_bar(bar) {}

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        const UINT style = m_bar.GetPaneStyle(int(m_nIndex));
        m_bar.SetPaneStyle(int(m_nIndex), bOn ? style & ~SBPS_DISABLED : style | SBPS_DISABLED);
    }
    void SetCheck(int nCheck) override
    {
        const UINT style = m_bar.GetPaneStyle(int(m_nIndex));
        m_bar.SetPaneStyle(int(m_nIndex), nCheck != 0 ? style | SBPS_POPOUT : style & ~SBPS_POPOUT);
    }
    void SetText(LPCTSTR lpszText) override { m_bar.SetPaneText(int(m_nIndex), lpszText); }

private:
    CStatusBar& m_bar;
};

} // namespace

CStatusBar::CStatusBar()
{
    m_font.CreateStockObject(DEFAULT_GUI_FONT);
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, UINT nID)
{
    return CreateBarWindow(pParentWnd, dwStyle, nID, 0);
}

int CStatusBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetFont(&m_font, FALSE);
    return 0;
}

int CStatusBar::TextHeight() const
{
    CDC dc;
    dc.CreateImageDC(1, 1);
    CFont* old = dc.SelectObject(const_cast<CFont*>(&m_font));
    TEXTMETRIC metrics{};
    dc.GetTextMetrics(&metrics);
    dc.SelectObject(old);
    return int(metrics.tmHeight);
}

int CStatusBar::TextWidth(const CString& text) const
{
    if (text.IsEmpty())
        return 0;
    CDC dc;
    dc.CreateImageDC(1, 1);
    CFont* old = dc.SelectObject(const_cast<CFont*>(&m_font));
    const int width = dc.GetTextExtent(text).cx;
    dc.SelectObject(old);
    return width;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || (nIDCount > 0 && lpIDArray == nullptr))
        return FALSE;
    BOOL allFound = TRUE;
    m_panes.clear();
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane;
        pane.nID = lpIDArray[i];
        if (pane.nID != ID_SEPARATOR) {
            if (!pane.strText.LoadString(pane.nID))
                allFound = FALSE;
            pane.cxText = TextWidth(pane.strText);
        } else if (i == 0) {
            pane.nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
        }
        m_panes.push_back(pane);
    }
    if (m_hWnd != nullptr)
        Invalidate();
    return allFound;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].nID == nIDFind)
            return int(i);
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return IsValidIndex(nIndex) ? m_panes[std::size_t(nIndex)].nID : 0;
}

std::vector<CRect> CStatusBar::CalcPaneRects() const
{
    CRect client;
    if (m_hWnd != nullptr)
        GetClientRect(&client);
    const CRect insets = BorderInsets();
    client = CRect(client.left + insets.left + kPaneGap, client.top + insets.top + kVerticalPadding,
                   client.right - insets.right - kPaneGap, client.bottom - insets.bottom - kVerticalPadding);

    auto outerWidth = [](const Pane& pane) { return pane.cxText + 2 * (kPaneBorder + kTextMargin); };
    int fixed = 0;
    int stretchIndex = -1;
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        if ((m_panes[i].nStyle & SBPS_STRETCH) && stretchIndex < 0)
            stretchIndex = int(i);
        else
            fixed += outerWidth(m_panes[i]);
        if (i > 0)
            fixed += kPaneGap;
    }
    const int slack = std::max(0, client.Width() - fixed);

    std::vector<CRect> rects;
    int x = client.left;
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        const int width = int(i) == stretchIndex ? std::max(slack, outerWidth(m_panes[i])) : outerWidth(m_panes[i]);
        rects.emplace_back(x, client.top, x + width, client.bottom);
        x += width + kPaneGap;
    }
    return rects;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (lpRect == nullptr)
        return;
    *lpRect = RECT{};
    if (!IsValidIndex(nIndex))
        return;
    *lpRect = CalcPaneRects()[std::size_t(nIndex)];
}

void CStatusBar::InvalidatePane(int nIndex)
{
    if (m_hWnd == nullptr || !IsValidIndex(nIndex))
        return;
    CRect rect;
    GetItemRect(nIndex, &rect);
    InvalidateRect(&rect, FALSE);
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate)
{
    if (!IsValidIndex(nIndex))
        return FALSE;
    Pane& pane = m_panes[std::size_t(nIndex)];
    const CString text = lpszNewText != nullptr ? lpszNewText : "";
    if (pane.strText == text)
        return TRUE;
    pane.strText = text;
    if (bUpdate)
        InvalidatePane(nIndex);
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return IsValidIndex(nIndex) ? m_panes[std::size_t(nIndex)].strText : CString();
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (!IsValidIndex(nIndex))
        return;
    Pane& pane = m_panes[std::size_t(nIndex)];
    const bool resized = pane.cxText != std::max(0, cxWidth) || ((pane.nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = std::max(0, cxWidth);
    if (m_hWnd == nullptr)
        return;
    if (resized)
        Invalidate();
    else
        InvalidatePane(nIndex);
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (!IsValidIndex(nIndex)) {
        nID = 0;
        nStyle = 0;
        cxWidth = 0;
        return;
    }
    const Pane& pane = m_panes[std::size_t(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return IsValidIndex(nIndex) ? m_panes[std::size_t(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (!IsValidIndex(nIndex) || m_panes[std::size_t(nIndex)].nStyle == nStyle)
        return;
    const bool stretchChanged = ((m_panes[std::size_t(nIndex)].nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    m_panes[std::size_t(nIndex)].nStyle = nStyle;
    if (stretchChanged && m_hWnd != nullptr)
        Invalidate();
    else
        InvalidatePane(nIndex);
}

void CStatusBar::GetItemInnerRect(int nIndex, LPRECT lpRect) const
{
    CRect rect;
    GetItemRect(nIndex, &rect);
    if (!rect.IsRectEmpty())
        rect.DeflateRect(kPaneBorder, kPaneBorder);
    *lpRect = rect;
}

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    const CRect insets = BorderInsets();
    const int height = TextHeight() + 2 * (kVerticalPadding + kPaneBorder + 1) + insets.top + insets.bottom;
    return bHorz ? CSize(32767, height) : CSize(height, 32767);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL)
{
    CStatusCmdUI state(*this);
    state.m_pOther = this;
    state.m_nIndexMax = UINT(m_panes.size());
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        state.m_nIndex = UINT(i);
        state.m_nID = m_panes[i].nID;
        // Panes keep their state when nobody handles them.
        state.DoUpdate(pTarget, FALSE);
    }
}

void CStatusBar::DrawBar(CDC& dc)
{
    DrawBarBackground(dc);
    CFont* oldFont = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kBarTextColor);
    const std::vector<CRect> rects = CalcPaneRects();
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        const Pane& pane = m_panes[i];
        CRect rect = rects[i];
        if (!(pane.nStyle & SBPS_NOBORDERS)) {
            if (pane.nStyle & SBPS_POPOUT)
                dc.Draw3dRect(&rect, kBarHighlightColor, kBarShadowColor);
            else
                dc.Draw3dRect(&rect, kBarShadowColor, kBarHighlightColor);
        }
        rect.DeflateRect(kPaneBorder, kPaneBorder);
        if (pane.nStyle & SBPS_OWNERDRAW) {
            DRAWITEMSTRUCT item;
            item.CtlType = ODT_STATIC;
            item.CtlID = UINT(GetDlgCtrlID());
            item.itemID = UINT(i);
            item.itemAction = ODA_DRAWENTIRE;
            item.hwndItem = m_hWnd;
            item.hDC = dc.GetSafeHdc();
            item.rcItem = rect;
            item.itemData = reinterpret_cast<ULONG_PTR>(pane.strText.c_str());
            const int saved = dc.SaveDC();
            DrawItem(&item);
            dc.RestoreDC(saved);
            continue;
        }
        // A disabled pane shows no text.
        if ((pane.nStyle & SBPS_DISABLED) || pane.strText.IsEmpty())
            continue;
        rect.DeflateRect(kTextMargin, 0);
        const int saved = dc.SaveDC();
        dc.IntersectClipRect(&rect);
        dc.DrawText(pane.strText, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        dc.RestoreDC(saved);
    }
    dc.SelectObject(oldFont);
}

void CStatusBar::OnPaint()
{
    CPaintDC dc(this);
    DrawBar(dc);
}

void CStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    Invalidate();
}
