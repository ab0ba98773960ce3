#include "dialogs/controls/CExtentListBox.h"

#include "framework/gdi/CDC.h"
#include "framework/ui/CPaintDC.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CExtentListBox, CListBox)

namespace {
constexpr int kItemPadding = 6;
constexpr int kDefaultTabStop = 2; // dialog units
constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
} // namespace

int CExtentListBox::GetItemWidth(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_widths.GetSize()) return 0;
    return int(m_widths[nIndex]);
}

LRESULT CExtentListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CListBox::WindowProc(message, wParam, lParam);
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
        return OnItemAdded(result);
    case LB_DELETESTRING:
        return OnItemDeleted(result, wParam);
    case LB_SETTABSTOPS:
        return OnTabStopsSet(result, wParam, lParam);
    case LB_RESETCONTENT:
        // Widths of items that are gone would keep the extent wide.
        m_widths.RemoveAll();
        m_nExtent = 0;
        SetHorizontalExtent(0);
        return result;
    default:
        return result;
    }
}

LRESULT CExtentListBox::OnItemAdded(LRESULT result)
{
    if (result == LB_ERR || result == LB_ERRSPACE) return result;
    if (!m_bTabStopsSet) {
        // Setting the first tab stops measures every item, the new one included; a list
        // without LBS_USETABSTOPS refuses them and the new item is measured alone.
        SetTabStops(kDefaultTabStop);
        if (m_bTabStopsSet) return result;
    }
    MeasureItemWidth(int(result));
    SetHorizontalExtent(m_nExtent);
    return result;
}

LRESULT CExtentListBox::OnItemDeleted(LRESULT result, WPARAM index)
{
    if (result == LB_ERR || index >= WPARAM(m_widths.GetSize())) return result;
    const int removed = int(m_widths[int(index)]);
    m_widths.RemoveAt(int(index));
    if (removed >= m_nExtent) {
        m_nExtent = 0;
        for (int i = 0; i < m_widths.GetSize(); ++i) m_nExtent = std::max(m_nExtent, int(m_widths[i]));
    }
    SetHorizontalExtent(m_nExtent);
    return result;
}

LRESULT CExtentListBox::OnTabStopsSet(LRESULT result, WPARAM count, LPARAM positions)
{
    if (!result) return result;
    m_bTabStopsSet = true;
    m_nTabStops = int(count);
    m_tabStops.clear();
    const auto* stops = reinterpret_cast<const int*>(positions);
    if (m_nTabStops > 0 && stops) {
        const int average = AverageCharWidth();
        for (int i = 0; i < m_nTabStops; ++i) m_tabStops.push_back((stops[i] * average + 2) / 4);
    }
    m_nTabStops = int(m_tabStops.size());
    MeasureAllItems();
    return result;
}

void CExtentListBox::MeasureAllItems()
{
    m_widths.RemoveAll();
    m_nExtent = 0;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) MeasureItemWidth(i);
    SetHorizontalExtent(m_nExtent);
}

void CExtentListBox::MeasureItemWidth(int nIndex)
{
    CString text;
    GetText(nIndex, text);
    CClientDC dc(this);
    CFont* font = GetFont();
    CFont* previous = font ? dc.SelectObject(font) : nullptr;
    const bool tabbed = (GetStyle() & LBS_USETABSTOPS) != 0;
    const CSize extent = tabbed ? dc.GetTabbedTextExtent(text, m_nTabStops, m_tabStops.data()) : dc.GetTextExtent(text);
    if (previous) dc.SelectObject(previous);
    const int width = int(extent.cx) + kItemPadding;
    m_widths.InsertAt(std::clamp(nIndex, 0, m_widths.GetSize()), UINT(width));
    m_nExtent = std::max(m_nExtent, width);
}

std::vector<int> CExtentListBox::MeasureFields(const CString& line)
{
    CClientDC dc(this);
    CFont* font = GetFont();
    CFont* previous = font ? dc.SelectObject(font) : nullptr;
    std::vector<int> widths;
    int start = 0;
    for (;;) {
        const int tab = line.Find('\t', start);
        const CString field = line.Mid(start, tab < 0 ? line.GetLength() - start : tab - start);
        widths.push_back(int(dc.GetTextExtent(field).cx));
        if (tab < 0) break;
        start = tab + 1;
    }
    if (previous) dc.SelectObject(previous);
    return widths;
}

void CExtentListBox::SetColumnTabStops(const std::vector<CString>& sampleLines)
{
    std::vector<int> columns;
    for (const CString& line : sampleLines) {
        const std::vector<int> widths = MeasureFields(line);
        if (columns.size() < widths.size()) columns.resize(widths.size(), 0);
        for (std::size_t i = 0; i < widths.size(); ++i) columns[i] = std::max(columns[i], widths[i]);
    }
    if (columns.size() < 2) return;
    // In quarters of the average character, rounded up so no field reaches its next stop.
    const int average = std::max(1, AverageCharWidth());
    const int gap = 2 * average;
    std::vector<int> stops;
    int right = 0;
    for (std::size_t i = 0; i + 1 < columns.size(); ++i) {
        right += columns[i] + gap;
        stops.push_back((right * 4 + average - 1) / average);
    }
    SetTabStops(int(stops.size()), stops.data());
}

// The dialog base unit of the list box's font, as tab stops in dialog units need it.
int CExtentListBox::AverageCharWidth()
{
    CClientDC dc(this);
    CFont* font = GetFont();
    CFont* previous = font ? dc.SelectObject(font) : nullptr;
    const CSize extent = dc.GetTextExtent(CString(kAlphabet));
    if (previous) dc.SelectObject(previous);
    return (int(extent.cx) / 26 + 1) / 2;
}
