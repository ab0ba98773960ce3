#pragma once
// A list box whose horizontal scroll extent follows its widest item, measured in the
// list box's font with its tab stops.
#include "framework/core/CArray.h"
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
