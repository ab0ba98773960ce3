#include "framework/ui/CButton.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

int CButton::GetCheck() const { return int(SendMessage(BM_GETCHECK, 0, 0)); }

void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, WPARAM(nCheck), 0); }

UINT CButton::GetState() const { return UINT(SendMessage(BM_GETSTATE, 0, 0)); }

void CButton::SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, WPARAM(bHighlight), 0); }

UINT CButton::GetButtonStyle() const { return UINT(GetStyle() & 0xFFFF); }

void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) { SendMessage(BM_SETSTYLE, nStyle, LPARAM(bRedraw)); }

HBITMAP CButton::SetBitmap(HBITMAP hBitmap)
{
    return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

HBITMAP CButton::GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP, 0)); }

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
