#include "framework/ui/CComboBox.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CComboBox::AddString(LPCTSTR lpszString) { return int(SendMessage(CB_ADDSTRING, 0, LPARAM(lpszString))); }

int CComboBox::InsertString(int nIndex, LPCTSTR lpszString)
{
    return int(SendMessage(CB_INSERTSTRING, WPARAM(nIndex), LPARAM(lpszString)));
}

int CComboBox::DeleteString(UINT nIndex) { return int(SendMessage(CB_DELETESTRING, WPARAM(nIndex), 0)); }

void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT, 0, 0); }

int CComboBox::GetCount() const { return int(SendMessage(CB_GETCOUNT, 0, 0)); }

int CComboBox::GetCurSel() const { return int(SendMessage(CB_GETCURSEL, 0, 0)); }

int CComboBox::SetCurSel(int nSelect) { return int(SendMessage(CB_SETCURSEL, WPARAM(nSelect), 0)); }

int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const
{
    return int(SendMessage(CB_GETLBTEXT, WPARAM(nIndex), LPARAM(lpszText)));
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    const int length = GetLBTextLen(nIndex);
    if (length == CB_ERR) {
        rString.Empty();
        return;
    }
    GetLBText(nIndex, rString.GetBuffer(length + 1));
    rString.ReleaseBuffer();
}

int CComboBox::GetLBTextLen(int nIndex) const { return int(SendMessage(CB_GETLBTEXTLEN, WPARAM(nIndex), 0)); }

int CComboBox::FindString(int nStartAfter, LPCTSTR lpszString) const
{
    return int(SendMessage(CB_FINDSTRING, WPARAM(nStartAfter), LPARAM(lpszString)));
}

int CComboBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
{
    return int(SendMessage(CB_FINDSTRINGEXACT, WPARAM(nIndexStart), LPARAM(lpszFind)));
}

int CComboBox::SelectString(int nStartAfter, LPCTSTR lpszString)
{
    return int(SendMessage(CB_SELECTSTRING, WPARAM(nStartAfter), LPARAM(lpszString)));
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return int(SendMessage(CB_SETITEMDATA, WPARAM(nIndex), LPARAM(dwItemData)));
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const { return DWORD_PTR(SendMessage(CB_GETITEMDATA, WPARAM(nIndex), 0)); }

void* CComboBox::GetItemDataPtr(int nIndex) const
{
    // CB_ERR for a bad index reads as no object rather than as the address -1.
    const LRESULT data = SendMessage(CB_GETITEMDATA, WPARAM(nIndex), 0);
    return data == CB_ERR ? nullptr : reinterpret_cast<void*>(data);
}

BOOL CComboBox::LimitText(int nMaxChars) { return BOOL(SendMessage(CB_LIMITTEXT, WPARAM(nMaxChars), 0)); }

int CComboBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return int(SendMessage(CB_SETITEMHEIGHT, WPARAM(nIndex), LPARAM(cyItemHeight)));
}

int CComboBox::GetItemHeight(int nIndex) const { return int(SendMessage(CB_GETITEMHEIGHT, WPARAM(nIndex), 0)); }
