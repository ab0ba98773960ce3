#pragma once
// The owner-drawn field selector of a child frame's dialog bar. Each item carries a
// packed field reference (CShelterSelection) as its item data; the box shows the item's
// text composed with the reference: "<number> <text>/<kind>/<part>". The composed text is
// the item's string in the control, so the list and the selection field show it.
#include "framework/ui/CComboBox.h"
#include "model/CShelterSelection.h"

class CSelectorComboBox : public CComboBox {
    DECLARE_DYNAMIC(CSelectorComboBox)
public:
    // Item colours: the window, highlight and grey-text colours of the system scheme.
    static constexpr COLORREF kWindow = RGB(255, 255, 255);
    static constexpr COLORREF kWindowText = RGB(0, 0, 0);
    static constexpr COLORREF kHighlight = RGB(0, 0, 128);
    static constexpr COLORREF kHighlightText = RGB(255, 255, 255);
    static constexpr COLORREF kGrayText = RGB(128, 128, 128);
    // Text format of an item: vertically centred, tabs expanded, no clipping, external leading.
    static constexpr UINT kItemTextFormat = DT_VCENTER | DT_EXPANDTABS | DT_TABSTOP | DT_NOCLIP | DT_EXTERNALLEADING;

    CSelectorComboBox() = default;

    // Takes over the dialog's combo control; FALSE when that fails. The selection field
    // gets the font's text height + 2, the list rows the text height.
    BOOL SubclassCombo(UINT nID, CWnd* pParent);

    // Appends the text composed with the reference, the reference as item data; the
    // index, or CB_ERR. A reference with an index but no kind names no field and is
    // refused (CB_ERR).
    int AddItem(LPCTSTR text, CShelterSelection selection);
    // Unset in every part for an index out of range.
    CShelterSelection GetItemSelection(int index) const;
    // Selects the first item whose index, sub-index and kind equal the reference's; its
    // index, or -1 (the selection unchanged) when no item matches.
    int SelectBySelection(CShelterSelection selection);
    // The composed text of the item as the selection field shows it (its string).
    void GetItemText(int index, CString& text) const;

    // Composed text: string 982 without an index; else string 983 with the 1-based index
    // and the text, then "/" and the kind text when a kind is set, then "/" and string
    // 987 with the 1-based sub-index when that is set.
    static CString ComposeText(const CString& itemText, CShelterSelection selection);
    // Kind 0, 1, 2: strings 984, 985, 986; unset (or unknown): string 982.
    static CString GetKindText(int kind);

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    // Always 0: items keep the order in which they were added.
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    // The text an item shows: the selection field always the composed text; a list row
    // string 982 when nothing is set, an empty text for a reference with only one of
    // index and kind, or for no item at all.
    CString TextToDraw(const DRAWITEMSTRUCT& item) const;
    void PaintItem(CDC* pDC, const DRAWITEMSTRUCT& item) const;
};
