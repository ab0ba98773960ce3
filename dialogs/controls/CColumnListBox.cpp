#include "dialogs/controls/CColumnListBox.h"

#include "dialogs/controls/CColumnHeader.h"
#include "framework/core/CString.h"
#include "framework/gdi/CDC.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CPaintDC.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CColumnListBox, CListBox)

namespace {

UINT AlignmentOf(int format)
{
    if (format == kColumnLeft) return DT_LEFT;
    if (format == kColumnRight) return DT_RIGHT;
    return DT_CENTER;
}

// The parts of the text between the separators, the last one included.
std::vector<CString> SplitAt(const CString& text, char separator)
{
    std::vector<CString> parts;
    CString part;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == separator) {
            parts.push_back(part);
            part.Empty();
        } else {
            part += text[i];
        }
    }
    parts.push_back(part);
    return parts;
}

} // namespace

CColumnListBox::CColumnListBox() = default;

CColumnListBox::~CColumnListBox()
{
    if (m_pHeader && m_pHeader->GetSafeHwnd()) m_pHeader->DestroyWindow();
}

BOOL CColumnListBox::AttachToDlgItem(UINT nID, CWnd* pParent)
{
    if (!pParent || !pParent->GetDlgItem(int(nID))) return FALSE;
    if (!SubclassDlgItem(nID, pParent)) return FALSE;

    TEXTMETRIC metrics{};
    {
        CClientDC dc(this);
        CFont* font = GetFont();
        CFont* oldFont = font ? dc.SelectObject(font) : nullptr;
        dc.GetTextMetrics(&metrics);
        if (oldFont) dc.SelectObject(oldFont);
    }
    m_nHeaderHeight = metrics.tmHeight + metrics.tmExternalLeading + 6;

    CRect list;
    GetWindowRect(&list);
    pParent->ScreenToClient(&list);
    MoveWindow(list.left, list.top + m_nHeaderHeight - 1, list.Width(), list.Height() - (m_nHeaderHeight - 1));
    // The template's list measured its rows before it had this object.
    SetItemHeight(0, kRowHeight);

    m_pHeader = std::make_unique<CColumnHeader>();
    const CRect strip(list.left, list.top, list.right, list.top + m_nHeaderHeight);
    if (!m_pHeader->Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_BORDER, strip, pParent, 0)) {
        m_pHeader.reset();
        return FALSE;
    }
    m_pHeader->SetOwnerList(this);
    m_pHeader->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetFont() ? GetFont()->GetSafeHandle() : nullptr));
    SetColumnCount(1);
    return TRUE;
}

// --- columns ---

void CColumnListBox::UpdateHorizontalExtent()
{
    int total = 0;
    for (const Column& c : m_columns) total += c.width;
    if (GetSafeHwnd()) SetHorizontalExtent(total);
}

void CColumnListBox::SetColumnCount(int n)
{
    m_columns.assign(std::size_t(std::max(n, 0)), Column{});
    m_bHasColumns = true;
    UpdateHorizontalExtent();
    if (m_pHeader && m_pHeader->GetSafeHwnd()) m_pHeader->Invalidate();
}

BOOL CColumnListBox::GetColumn(int i, int& format, int& width) const
{
    if (!m_bHasColumns || i < 0 || i >= GetColumnCount()) return FALSE;
    format = m_columns[std::size_t(i)].format;
    width = m_columns[std::size_t(i)].width;
    return TRUE;
}

BOOL CColumnListBox::SetColumn(int i, int format, int width)
{
    if (i < 0 || i >= GetColumnCount()) return FALSE;
    m_columns[std::size_t(i)].format = format;
    m_columns[std::size_t(i)].width = width;
    UpdateHorizontalExtent();
    if (m_pHeader && m_pHeader->GetSafeHwnd()) m_pHeader->Invalidate();
    return TRUE;
}

int CColumnListBox::SetColumnFormat(int i, int format)
{
    int old = 0, width = 0;
    if (!GetColumn(i, old, width)) return 0;
    SetColumn(i, format, width);
    return old;
}

int CColumnListBox::GetColumnFormat(int i) const
{
    int format = 0, width = 0;
    GetColumn(i, format, width);
    return format;
}

int CColumnListBox::SetColumnWidth(int i, int width)
{
    int format = 0, old = 0;
    if (!GetColumn(i, format, old)) return 0;
    SetColumn(i, format, width);
    return old;
}

int CColumnListBox::GetColumnWidth(int i) const
{
    int format = 0, width = 0;
    GetColumn(i, format, width);
    return width;
}

void CColumnListBox::GetColumnEdges(int column, int& left, int& right) const
{
    left = 0;
    for (int i = 0; i < column && i < GetColumnCount(); ++i) left += m_columns[std::size_t(i)].width;
    right = left + GetColumnWidth(column);
}

void CColumnListBox::SetColumnTitle(int i, LPCTSTR text)
{
    if (i < 0 || i >= GetColumnCount()) return;
    m_columns[std::size_t(i)].title = text ? text : "";
    if (m_pHeader && m_pHeader->GetSafeHwnd()) m_pHeader->Invalidate();
}

void CColumnListBox::GetColumnTitle(int i, CString& text) const { text = GetColumnTitle(i); }

CString CColumnListBox::GetColumnTitle(int i) const
{
    if (i < 0 || i >= GetColumnCount()) return CString();
    return m_columns[std::size_t(i)].title;
}

void CColumnListBox::SetColumnTitles(const UINT* stringIds, int count)
{
    for (int i = 0; i < count && i < GetColumnCount(); ++i) {
        CString title;
        if (stringIds[i] != 0) title.LoadString(stringIds[i]);
        SetColumnTitle(i, title);
    }
}

void CColumnListBox::SetColumnTitles(LPCTSTR text, char separator)
{
    const std::vector<CString> parts = SplitAt(CString(text ? text : ""), separator);
    for (std::size_t i = 0; i < parts.size() && int(i) < GetColumnCount(); ++i) SetColumnTitle(int(i), parts[i]);
}

void CColumnListBox::SetColumnTitles(UINT stringId, char separator)
{
    CString text;
    text.LoadString(stringId);
    SetColumnTitles(text, separator);
}

void CColumnListBox::AutoSizeColumns(int column)
{
    if (!GetSafeHwnd()) return;
    CClientDC dc(this);
    CFont* font = GetFont();
    CFont* oldFont = font ? dc.SelectObject(font) : nullptr;
    for (int i = 0; i < GetColumnCount(); ++i) {
        if (column != -1 && column != i) continue;
        int widest = dc.GetTextExtent(GetColumnTitle(i)).cx;
        for (int row = 0; row < GetCount(); ++row) widest = std::max<int>(widest, dc.GetTextExtent(GetItemText(row, i)).cx);
        m_columns[std::size_t(i)].width = widest + 2 * m_nMargin;
    }
    if (oldFont) dc.SelectObject(oldFont);
    UpdateHorizontalExtent();
    if (m_pHeader && m_pHeader->GetSafeHwnd()) m_pHeader->Invalidate();
}

// --- rows ---

std::unique_ptr<CColumnListBox::Row> CColumnListBox::NewRow(LPCTSTR text) const
{
    auto row = std::make_unique<Row>(std::size_t(GetColumnCount()));
    if (!row->empty()) (*row)[0].text = text ? text : "";
    return row;
}

int CColumnListBox::AddItem(LPCTSTR text) { return InsertItem(-1, text); }

int CColumnListBox::InsertItem(int index, LPCTSTR text)
{
    std::unique_ptr<Row> row = NewRow(text);
    // Without stored strings the list keeps the pointer as the row's item data; from now
    // on DeleteItem frees the row.
    const int result = InsertString(index, reinterpret_cast<LPCTSTR>(row.get()));
    if (result >= 0) row.release();
    return result;
}

int CColumnListBox::RemoveItem(int index) { return DeleteString(UINT(index)); }

CColumnListBox::Row* CColumnListBox::GetRow(int row) const
{
    if (row < 0 || row >= GetCount()) return nullptr;
    return static_cast<Row*>(CListBox::GetItemDataPtr(row));
}

CColumnListBox::Cell* CColumnListBox::GetCell(int row, int column) const
{
    Row* cells = GetRow(row);
    if (!cells || column < 0 || column >= int(cells->size())) return nullptr;
    return &(*cells)[std::size_t(column)];
}

int CColumnListBox::SetItemText(int row, int column, LPCTSTR text)
{
    Cell* cell = GetCell(row, column);
    if (!cell) return LB_ERR;
    cell->text = text ? text : "";
    return row;
}

int CColumnListBox::GetItemText(int row, int column, LPTSTR buffer) const
{
    const CString text = GetItemText(row, column);
    std::memcpy(buffer, text.c_str(), std::size_t(text.GetLength()) + 1);
    return text.GetLength();
}

void CColumnListBox::GetItemText(int row, int column, CString& text) const { text = GetItemText(row, column); }

CString CColumnListBox::GetItemText(int row, int column) const
{
    const Cell* cell = GetCell(row, column);
    return cell ? cell->text : CString();
}

int CColumnListBox::GetItemTextLength(int row, int column) const { return GetItemText(row, column).GetLength(); }

int CColumnListBox::SetItemData(int row, int column, DWORD_PTR value)
{
    Cell* cell = GetCell(row, column);
    if (!cell) return LB_ERR;
    cell->data = value;
    return row;
}

DWORD_PTR CColumnListBox::GetItemData(int row, int column) const
{
    const Cell* cell = GetCell(row, column);
    return cell ? cell->data : 0;
}

// --- owner drawing ---

void CColumnListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) { lpMeasureItemStruct->itemHeight = kRowHeight; }

int CColumnListBox::CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    const auto* first = reinterpret_cast<const Row*>(lpCompareItemStruct->itemData1);
    const auto* second = reinterpret_cast<const Row*>(lpCompareItemStruct->itemData2);
    if (!first || !second || first->empty() || second->empty()) return 0;
    return std::strcmp(first->front().text.c_str(), second->front().text.c_str());
}

void CColumnListBox::DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    std::unique_ptr<Row> row(reinterpret_cast<Row*>(lpDeleteItemStruct->itemData));
    lpDeleteItemStruct->itemData = 0;
}

void CColumnListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CRect rect(lpDrawItemStruct->rcItem);
    const int row = int(lpDrawItemStruct->itemID);
    const bool valid = row >= 0 && row < GetCount();
    if (!valid || lpDrawItemStruct->itemAction == ODA_FOCUS) {
        pDC->DrawFocusRect(&rect);
        return;
    }
    if (lpDrawItemStruct->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        const bool selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
        pDC->FillSolidRect(&rect, selected ? kHighlight : kWindow);
        const COLORREF oldText = pDC->SetTextColor(selected ? kHighlightText : kWindowText);
        const COLORREF oldBack = pDC->SetBkColor(selected ? kHighlight : kWindow);
        DrawCells(pDC, rect, row);
        pDC->SetBkColor(oldBack);
        pDC->SetTextColor(oldText);
    }
    if (lpDrawItemStruct->itemState & ODS_FOCUS) pDC->DrawFocusRect(&rect);
}

void CColumnListBox::DrawCells(CDC* pDC, const RECT& itemRect, int row)
{
    // The header moves as the cells do: by how far the row starts left of the client
    // area. (Right edges differ once the columns are wider than the list.)
    const int offset = -itemRect.left;
    if (offset != m_nHorzOffset) {
        m_nHorzOffset = offset;
        if (m_pHeader && m_pHeader->GetSafeHwnd()) {
            m_pHeader->Invalidate();
            m_pHeader->UpdateWindow();
        }
    }
    const Row* cells = GetRow(row);
    for (int i = 0; i < GetColumnCount(); ++i) {
        int left = 0;
        int right = 0;
        GetColumnEdges(i, left, right);
        const CRect cell(itemRect.left + left + m_nMargin, itemRect.top, itemRect.left + right - m_nMargin,
                         itemRect.bottom);
        const bool hasCell = cells && i < int(cells->size());
        DrawCell(pDC, cell, i, GetColumnFormat(i), hasCell ? (*cells)[std::size_t(i)].text : CString(),
                 hasCell ? (*cells)[std::size_t(i)].data : 0);
    }
}

void CColumnListBox::DrawCell(CDC* pDC, const RECT& cellRect, int, int format, const CString& text, DWORD_PTR)
{
    CRect rect(cellRect);
    pDC->DrawText(text, &rect, AlignmentOf(format) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
