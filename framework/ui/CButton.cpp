#include "framework/ui/CButton.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

int CButton::GetCheck() const { return int(SendMessage(BM_GETCHECK, 0, 0)); }

void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, WPARAM(nCheck), 0); }

void CButton::SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, WPARAM(bHighlight), 0); }

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
