#include "app/CSelectorComboBox.h"

#include "framework/core/Resources.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CPaintDC.h"

IMPLEMENT_DYNAMIC(CSelectorComboBox, CComboBox)

namespace {

constexpr UINT IDS_SELECTOR_NONE = 982;
constexpr UINT IDS_SELECTOR_ITEM = 983;
constexpr UINT IDS_SELECTOR_KIND0 = 984;
constexpr UINT IDS_SELECTOR_PART = 987;

CString Decimal(int value)
{
    CString text;
    text.Format("%d", value);
    return text;
}

CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

bool SameReference(CShelterSelection a, CShelterSelection b)
{
    return a.GetIndex() == b.GetIndex() && a.GetSubIndex() == b.GetSubIndex() && a.GetKind() == b.GetKind();
}

} // namespace

BOOL CSelectorComboBox::SubclassCombo(UINT nID, CWnd* pParent)
{
    if (pParent == nullptr || !SubclassDlgItem(nID, pParent)) return FALSE;
    CClientDC dc(this);
    CFont* oldFont = GetFont() ? dc.SelectObject(GetFont()) : nullptr;
    TEXTMETRIC tm;
    const int textHeight = dc.GetTextMetrics(&tm) ? int(tm.tmHeight) : 0;
    if (oldFont) dc.SelectObject(oldFont);
    if (textHeight > 0) {
        SetItemHeight(-1, UINT(textHeight + 2));
        SetItemHeight(0, UINT(textHeight));
    }
    return TRUE;
}

int CSelectorComboBox::AddItem(LPCTSTR text, CShelterSelection selection)
{
    if (selection.GetIndex() != -1 && selection.GetKind() == -1) return CB_ERR;
    // The control shows its item strings as they are: it holds the composed text.
    const int index = AddString(ComposeText(text != nullptr ? text : "", selection));
    if (index < 0) return CB_ERR;
    if (SetItemData(index, selection.GetValue()) == CB_ERR) {
        DeleteString(UINT(index));
        return CB_ERR;
    }
    return index;
}

CShelterSelection CSelectorComboBox::GetItemSelection(int index) const
{
    CShelterSelection selection;
    if (index >= 0 && index < GetCount()) selection.SetValue(DWORD(GetItemData(index)));
    return selection;
}

int CSelectorComboBox::SelectBySelection(CShelterSelection selection)
{
    for (int i = 0; i < GetCount(); ++i) {
        if (SameReference(GetItemSelection(i), selection)) return SetCurSel(i);
    }
    return -1;
}

void CSelectorComboBox::GetItemText(int index, CString& text) const
{
    GetLBText(index, text);
}

CString CSelectorComboBox::ComposeText(const CString& itemText, CShelterSelection selection)
{
    if (selection.GetIndex() == -1) return LoadText(IDS_SELECTOR_NONE);
    CString text;
    AfxFormatString2(text, IDS_SELECTOR_ITEM, Decimal(selection.GetIndex() + 1), itemText);
    if (selection.GetKind() != -1) {
        text += "/";
        text += GetKindText(selection.GetKind());
    }
    if (selection.GetSubIndex() != -1) {
        CString part;
        AfxFormatString1(part, IDS_SELECTOR_PART, Decimal(selection.GetSubIndex() + 1));
        text += "/";
        text += part;
    }
    return text;
}

CString CSelectorComboBox::GetKindText(int kind)
{
    if (kind >= 0 && kind <= 2) return LoadText(IDS_SELECTOR_KIND0 + UINT(kind));
    return LoadText(IDS_SELECTOR_NONE);
}

CString CSelectorComboBox::TextToDraw(const DRAWITEMSTRUCT& item) const
{
    const int index = int(item.itemID);
    if (index < 0 || index >= GetCount()) return CString();
    CString composed;
    GetLBText(index, composed);
    const CShelterSelection selection = GetItemSelection(index);
    if (item.itemState & ODS_COMBOBOXEDIT) return composed;
    if (selection.GetKind() == -1)
        return selection.GetIndex() == -1 ? LoadText(IDS_SELECTOR_NONE) : CString();
    return selection.GetIndex() == -1 ? CString() : composed;
}

void CSelectorComboBox::PaintItem(CDC* pDC, const DRAWITEMSTRUCT& item) const
{
    COLORREF text = kWindowText;
    COLORREF back = kWindow;
    if (item.itemState & ODS_DISABLED) {
        text = kGrayText;
    } else if (item.itemState & ODS_SELECTED) {
        text = kHighlightText;
        back = kHighlight;
    }
    const COLORREF oldText = pDC->SetTextColor(text);
    const COLORREF oldBack = pDC->SetBkColor(back);
    CRect rect(item.rcItem);
    pDC->ExtTextOut(rect.left, rect.top, ETO_OPAQUE, &rect, "", 0);
    pDC->DrawText(TextToDraw(item), &rect, kItemTextFormat);
    pDC->SetBkColor(oldBack);
    pDC->SetTextColor(oldText);
}

void CSelectorComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct == nullptr) return;
    const DRAWITEMSTRUCT& item = *lpDrawItemStruct;
    CDC* pDC = CDC::FromHandle(item.hDC);
    if (pDC == nullptr) return;
    const CRect rect(item.rcItem);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool repaint = (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0;
    // The focus frame is drawn by inverting: take it off before the item loses its selection.
    if ((item.itemAction & ODA_SELECT) && !selected) pDC->DrawFocusRect(&rect);
    if (repaint) PaintItem(pDC, item);
    if (selected && repaint) pDC->DrawFocusRect(&rect);
}

void CSelectorComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

int CSelectorComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }

BOOL CSelectorComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
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
    default:
        return CComboBox::OnChildNotify(message, wParam, lParam, pResult);
    }
}
