#include "framework/ui/CListBox.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListBox::AddString(LPCTSTR lpszItem) { return int(SendMessage(LB_ADDSTRING, 0, LPARAM(lpszItem))); }

int CListBox::InsertString(int nIndex, LPCTSTR lpszItem)
{
    return int(SendMessage(LB_INSERTSTRING, WPARAM(nIndex), LPARAM(lpszItem)));
}

int CListBox::DeleteString(UINT nIndex) { return int(SendMessage(LB_DELETESTRING, WPARAM(nIndex), 0)); }

void CListBox::ResetContent() { SendMessage(LB_RESETCONTENT, 0, 0); }

int CListBox::GetCount() const { return int(SendMessage(LB_GETCOUNT, 0, 0)); }

int CListBox::GetCurSel() const { return int(SendMessage(LB_GETCURSEL, 0, 0)); }

int CListBox::SetCurSel(int nSelect) { return int(SendMessage(LB_SETCURSEL, WPARAM(nSelect), 0)); }

int CListBox::GetSel(int nIndex) const { return int(SendMessage(LB_GETSEL, WPARAM(nIndex), 0)); }

int CListBox::SetSel(int nIndex, BOOL bSelect) { return int(SendMessage(LB_SETSEL, WPARAM(bSelect), LPARAM(nIndex))); }

int CListBox::GetSelCount() const { return int(SendMessage(LB_GETSELCOUNT, 0, 0)); }

int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const
{
    return int(SendMessage(LB_GETSELITEMS, WPARAM(nMaxItems), LPARAM(rgIndex)));
}

int CListBox::SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem)
{
    if (bSelect) return int(SendMessage(LB_SELITEMRANGEEX, WPARAM(nFirstItem), LPARAM(nLastItem)));
    return int(SendMessage(LB_SELITEMRANGEEX, WPARAM(nLastItem), LPARAM(nFirstItem)));
}

int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const
{
    return int(SendMessage(LB_GETTEXT, WPARAM(nIndex), LPARAM(lpszBuffer)));
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    const int length = GetTextLen(nIndex);
    if (length == LB_ERR) {
        rString.Empty();
        return;
    }
    GetText(nIndex, rString.GetBuffer(length + 1));
    rString.ReleaseBuffer();
}

int CListBox::GetTextLen(int nIndex) const { return int(SendMessage(LB_GETTEXTLEN, WPARAM(nIndex), 0)); }

int CListBox::FindString(int nStartAfter, LPCTSTR lpszItem) const
{
    return int(SendMessage(LB_FINDSTRING, WPARAM(nStartAfter), LPARAM(lpszItem)));
}

int CListBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
{
    return int(SendMessage(LB_FINDSTRINGEXACT, WPARAM(nIndexStart), LPARAM(lpszFind)));
}

DWORD_PTR CListBox::GetItemData(int nIndex) const { return DWORD_PTR(SendMessage(LB_GETITEMDATA, WPARAM(nIndex), 0)); }

int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return int(SendMessage(LB_SETITEMDATA, WPARAM(nIndex), LPARAM(dwItemData)));
}

void* CListBox::GetItemDataPtr(int nIndex) const
{
    // LB_ERR for a bad index reads as no object rather than as the address -1.
    const LRESULT data = SendMessage(LB_GETITEMDATA, WPARAM(nIndex), 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<void*>(data);
}

int CListBox::SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData)); }

BOOL CListBox::SetTabStops(const int& cxEachStop) { return BOOL(SendMessage(LB_SETTABSTOPS, 1, LPARAM(&cxEachStop))); }

BOOL CListBox::SetTabStops(int nTabStops, const int* rgTabStops)
{
    return BOOL(SendMessage(LB_SETTABSTOPS, WPARAM(nTabStops), LPARAM(rgTabStops)));
}

int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return int(SendMessage(LB_GETITEMRECT, WPARAM(nIndex), LPARAM(lpRect)));
}

int CListBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return int(SendMessage(LB_SETITEMHEIGHT, WPARAM(nIndex), LPARAM(MAKELONG(WORD(cyItemHeight), 0))));
}

int CListBox::GetItemHeight(int nIndex) const { return int(SendMessage(LB_GETITEMHEIGHT, WPARAM(nIndex), 0)); }

void CListBox::SetHorizontalExtent(int cxExtent) { SendMessage(LB_SETHORIZONTALEXTENT, WPARAM(cxExtent), 0); }

int CListBox::GetHorizontalExtent() const { return int(SendMessage(LB_GETHORIZONTALEXTENT, 0, 0)); }

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }

void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        return TRUE;
    case WM_COMPAREITEM: {
        const int order = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        if (pResult) *pResult = order;
        return TRUE;
    }
    case WM_DELETEITEM:
        DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        return TRUE;
    default:
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
}
