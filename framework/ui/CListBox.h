#pragma once
// A list box control. Indexes count from 0; LB_ERR (-1) stands for "none" or a failure.
// An owner-drawn list's subclass draws, measures, orders and frees its rows in the four
// virtual functions, which its parent reflects to it.
#include "framework/core/CString.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    CListBox() = default;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // A row with text, or (owner-drawn without LBS_HASSTRINGS) with the value as item data.
    int AddString(LPCTSTR lpszItem);          // sorted into place with LBS_SORT
    int InsertString(int nIndex, LPCTSTR lpszItem); // -1 appends
    int DeleteString(UINT nIndex);            // the rows left, or LB_ERR
    void ResetContent();
    int GetCount() const;

    // Single selection.
    int GetCurSel() const;
    int SetCurSel(int nSelect); // -1 clears
    // Multiple and extended selection.
    int GetSel(int nIndex) const; // > 0 when selected
    int SetSel(int nIndex, BOOL bSelect = TRUE); // -1: every row
    int GetSelCount() const;
    int GetSelItems(int nMaxItems, LPINT rgIndex) const;
    int SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem);

    int GetText(int nIndex, LPTSTR lpszBuffer) const; // the buffer must hold GetTextLen + 1 bytes
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const;
    // Searches after nStartAfter (-1: from the top), wrapping; case does not matter.
    int FindString(int nStartAfter, LPCTSTR lpszItem) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;

    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);

    // Tab stops (LBS_USETABSTOPS) in dialog template units: none gives every 32, one an interval.
    BOOL SetTabStops(const int& cxEachStop);
    BOOL SetTabStops(int nTabStops, const int* rgTabStops);
    int GetItemRect(int nIndex, LPRECT lpRect) const;
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetItemHeight(int nIndex) const;
    void SetHorizontalExtent(int cxExtent);
    int GetHorizontalExtent() const;

    // Owner-drawn rows.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    // Negative when the first row goes before the second, 0 when equal, positive after.
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
