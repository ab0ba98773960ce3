#pragma once
// A list box whose horizontal scroll extent follows its widest item, measured in the
// list box's font with its tab stops.
#include "framework/core/CArray.h"
#include "framework/core/CString.h"
#include "framework/ui/CListBox.h"

#include <vector>

class CExtentListBox : public CListBox {
    DECLARE_DYNAMIC(CExtentListBox)
public:
    CExtentListBox() = default;

    int GetExtent() const { return m_nExtent; }
    // The measured width of an item in pixels; 0 outside the list.
    int GetItemWidth(int nIndex) const;
    int GetMeasuredCount() const { return int(m_widths.GetSize()); }
    // Tab stops in pixels, as measuring uses them.
    const std::vector<int>& GetTabStopPixels() const { return m_tabStops; }

    // Tab stops that make each tab-separated field of the sample lines a column as wide as
    // its widest text in the list's font, plus a gap of two characters.
    void SetColumnTabStops(const std::vector<CString>& sampleLines);
    // The widths of a line's tab-separated fields in the list's font, in pixels.
    std::vector<int> MeasureFields(const CString& line);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnItemAdded(LRESULT result);
    LRESULT OnItemDeleted(LRESULT result, WPARAM index);
    LRESULT OnTabStopsSet(LRESULT result, WPARAM count, LPARAM positions);
    void MeasureItemWidth(int nIndex);
    void MeasureAllItems();
    int AverageCharWidth();

    CUIntArray m_widths;
    int m_nExtent = 0;
    int m_nTabStops = 0;
    std::vector<int> m_tabStops;
    bool m_bTabStopsSet = false;
};
