#include "framework/ui/CScrollBar.h"

IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("SCROLLBAR", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CScrollBar::GetScrollPos() const { return int(SendMessage(SBM_GETPOS, 0, 0)); }

int CScrollBar::SetScrollPos(int nPos, BOOL bRedraw) { return int(SendMessage(SBM_SETPOS, WPARAM(nPos), LPARAM(bRedraw))); }

void CScrollBar::GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const
{
    SendMessage(SBM_GETRANGE, WPARAM(lpMinPos), LPARAM(lpMaxPos));
}

void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw)
{
    SendMessage(bRedraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, WPARAM(nMinPos), LPARAM(nMaxPos));
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL)
{
    SendMessage(SBM_SETSCROLLINFO, 0, LPARAM(lpScrollInfo));
    return TRUE;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask) const
{
    if (!lpScrollInfo) return FALSE;
    lpScrollInfo->fMask = nMask;
    return BOOL(SendMessage(SBM_GETSCROLLINFO, 0, LPARAM(lpScrollInfo)));
}

void CScrollBar::ShowScrollBar(BOOL bShow) { ShowWindow(bShow ? SW_SHOW : SW_HIDE); }
