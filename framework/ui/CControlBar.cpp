#include "framework/ui/CControlBar.h"

#include "framework/gdi/CDC.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/WindowHandle.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

constexpr int kBorderWidth = 1;

bool IsOwnerDrawMessage(UINT message)
{
    return message == WM_DRAWITEM || message == WM_MEASUREITEM || message == WM_COMPAREITEM ||
           message == WM_DELETEITEM;
}

HWND OwnerDrawControl(const CWnd& bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        return item != nullptr && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        return item != nullptr && item->CtlType != ODT_MENU ? ::GetDlgItem(bar.m_hWnd, int(wParam)) : nullptr;
    }
    case WM_COMPAREITEM: {
        auto* item = reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam);
        return item != nullptr ? item->hwndItem : nullptr;
    }
    case WM_DELETEITEM: {
        auto* item = reinterpret_cast<LPDELETEITEMSTRUCT>(lParam);
        return item != nullptr ? item->hwndItem : nullptr;
    }
    default:
        return nullptr;
    }
}

} // namespace

CControlBar::CControlBar() = default;

CControlBar::~CControlBar()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
}

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    if (m_dwStyle == dwStyle)
        return;
    m_dwStyle = dwStyle;
    if (m_hWnd != nullptr)
        Invalidate();
}

BOOL CControlBar::IsVisible() const
{
    return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0;
}

CSize CControlBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    CRect rect;
    GetWindowRect(&rect);
    return bHorz ? CSize(32767, rect.Height()) : CSize(rect.Width(), 32767);
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    if (auto* owner = dynamic_cast<CFrameWnd*>(GetOwner()))
        return owner;
    return GetParentFrame();
}

BOOL CControlBar::CreateBarWindow(CWnd* pParentWnd, DWORD dwStyle, UINT nID, int height)
{
    if (pParentWnd == nullptr || pParentWnd->m_hWnd == nullptr)
        return FALSE;
    m_dwStyle = dwStyle & CBRS_ALL;
    const DWORD windowStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD;
    CRect client;
    pParentWnd->GetClientRect(&client);
    const CRect place(0, 0, std::max<int>(client.Width(), 1), height);
    if (!CreateEx(0, nullptr, nullptr, windowStyle, place, pParentWnd, nID))
        return FALSE;
    RecalcParentLayout();
    return TRUE;
}

void CControlBar::RecalcParentLayout()
{
    if (auto* frame = dynamic_cast<CFrameWnd*>(GetParent()))
        frame->RecalcLayout();
}

CRect CControlBar::BorderInsets() const
{
    return CRect((m_dwStyle & CBRS_BORDER_LEFT) ? kBorderWidth * 2 : 0,
                 (m_dwStyle & CBRS_BORDER_TOP) ? kBorderWidth * 2 : 0,
                 (m_dwStyle & CBRS_BORDER_RIGHT) ? kBorderWidth * 2 : 0,
                 (m_dwStyle & CBRS_BORDER_BOTTOM) ? kBorderWidth * 2 : 0);
}

CRect CControlBar::DrawBarBackground(CDC& dc)
{
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, kBarFaceColor);
    // An etched line (shadow, then highlight) on each bordered side.
    if (m_dwStyle & CBRS_BORDER_TOP) {
        dc.FillSolidRect(rect.left, rect.top, rect.Width(), 1, kBarShadowColor);
        dc.FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, kBarHighlightColor);
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        dc.FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, kBarShadowColor);
        dc.FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, kBarHighlightColor);
    }
    if (m_dwStyle & CBRS_BORDER_LEFT) {
        dc.FillSolidRect(rect.left, rect.top, 1, rect.Height(), kBarShadowColor);
        dc.FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), kBarHighlightColor);
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        dc.FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), kBarShadowColor);
        dc.FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), kBarHighlightColor);
    }
    const CRect insets = BorderInsets();
    return CRect(rect.left + insets.left, rect.top + insets.top, rect.right - insets.right, rect.bottom - insets.bottom);
}

BOOL CControlBar::OnEraseBkgnd(CDC*)
{
    return TRUE; // the paint step fills the whole bar
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (!IsVisible())
        return 0;
    if (CFrameWnd* target = GetDockingFrame())
        OnUpdateCmdUI(target, BOOL(wParam));
    return 0;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* owner = GetOwner();
    const bool hasOwner = owner != nullptr && owner != this && AfxIsLiveHandle(owner->m_hWnd);
    if (hasOwner && IsOwnerDrawMessage(message)) {
        // The control draws itself when it can; otherwise its owner frame may.
        if (HWND control = OwnerDrawControl(*this, message, wParam, lParam); control != nullptr) {
            LRESULT result = TRUE;
            if (ReflectLastMsg(control, &result))
                return message == WM_COMPAREITEM ? result : TRUE;
        }
        return owner->SendMessage(message, wParam, lParam);
    }
    if (hasOwner && (message == WM_COMMAND || message == WM_NOTIFY)) {
        // A handler of the bar itself comes first; else the frame routes it (and lets
        // the control see its own notification first).
        const UINT nID = message == WM_COMMAND ? LOWORD(DWORD(wParam))
                                               : (lParam != 0 ? UINT(reinterpret_cast<NMHDR*>(lParam)->idFrom) : 0);
        const int nCode = message == WM_COMMAND
                              ? int(HIWORD(DWORD(wParam)))
                              : (lParam != 0 ? int(MAKELONG(WORD(reinterpret_cast<NMHDR*>(lParam)->code), WORD(WM_NOTIFY)))
                                             : 0);
        AFX_CMDHANDLERINFO info;
        if (nID != 0 && DispatchOwnCmdMsg(nID, nCode, nullptr, &info))
            return CWnd::WindowProc(message, wParam, lParam);
        return owner->SendMessage(message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void AfxRepositionBars(CWnd* pParent, CRect& rectClient)
{
    if (pParent == nullptr || pParent->m_hWnd == nullptr)
        return;
    for (HWND child : AfxChildHandles(pParent->m_hWnd)) {
        auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(child));
        if (bar == nullptr || !bar->IsVisible())
            continue;
        const int height = std::min<int>(bar->CalcFixedLayout(TRUE, TRUE).cy, std::max<int>(rectClient.Height(), 0));
        if (bar->IsBottomBar()) {
            bar->MoveWindow(rectClient.left, rectClient.bottom - height, rectClient.Width(), height);
            rectClient.bottom -= height;
        } else {
            bar->MoveWindow(rectClient.left, rectClient.top, rectClient.Width(), height);
            rectClient.top += height;
        }
    }
}
