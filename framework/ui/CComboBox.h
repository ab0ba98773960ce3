#pragma once
// A combo box control. Indexes count from 0; CB_ERR (-1) stands for "none" or a failure.
#include "framework/core/CString.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() = default;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int AddString(LPCTSTR lpszString);       // sorted into place with CBS_SORT
    int InsertString(int nIndex, LPCTSTR lpszString); // -1 appends
    int DeleteString(UINT nIndex);           // the items left, or CB_ERR
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);              // -1 clears the selection
    int GetLBText(int nIndex, LPTSTR lpszText) const; // lpszText must hold GetLBTextLen + 1 bytes
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    // Searches after nStartAfter (-1: from the top), wrapping; case does not matter.
    int FindString(int nStartAfter, LPCTSTR lpszString) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszString);
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    DWORD_PTR GetItemData(int nIndex) const;
    void* GetItemDataPtr(int nIndex) const;
    BOOL LimitText(int nMaxChars);
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetItemHeight(int nIndex) const;
};
