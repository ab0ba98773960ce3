#pragma once
// An owner-drawn list box shown as a table: named columns with a header strip above the
// list (CColumnHeader), and in every row one text and one 32-bit data word per column.
// The rows own their cells; the list frees them when a row goes. Set the column count
// before adding rows.
#include "framework/core/CString.h"
#include "framework/ui/CListBox.h"

#include <memory>
#include <vector>

class CColumnHeader;
class CDC;

// Column formats: left- or right-aligned; any other value centres.
constexpr int kColumnLeft = 1;
constexpr int kColumnRight = 2;
constexpr int kColumnCentre = 3;

class CColumnListBox : public CListBox {
    DECLARE_DYNAMIC(CColumnListBox)
public:
    static constexpr int kRowHeight = 16;
    static constexpr int kDefaultWidth = 75;
    static constexpr int kCellMargin = 5;

    CColumnListBox();
    ~CColumnListBox() override;

    // Takes over the dialog's list control and puts the header strip above it (the list
    // moves down by the header's height less one pixel). FALSE when there is no such
    // control or it cannot be taken over. The list then has one column.
    BOOL AttachToDlgItem(UINT nID, CWnd* pParent);
    CColumnHeader* GetHeader() const { return m_pHeader.get(); }
    // Height of the header strip: the font's line height plus 6.
    int GetHeaderHeight() const { return m_nHeaderHeight; }

    // n default columns (left-aligned, 75 pixels, no title); the old titles are lost.
    void SetColumnCount(int n);
    int GetColumnCount() const { return int(m_columns.size()); }
    // FALSE only while the list has no columns at all.
    BOOL GetColumn(int i, int& format, int& width) const;
    BOOL SetColumn(int i, int format, int width);
    int SetColumnFormat(int i, int format);
    int GetColumnFormat(int i) const;
    int SetColumnWidth(int i, int width);
    int GetColumnWidth(int i) const;
    void SetColumnTitle(int i, LPCTSTR text);
    void GetColumnTitle(int i, CString& text) const;
    CString GetColumnTitle(int i) const;
    // Titles from string ids (0: empty), from one text split at the separator, or from
    // the text of a string id split at the separator; at most one per column.
    void SetColumnTitles(const UINT* stringIds, int count);
    void SetColumnTitles(LPCTSTR text, char separator);
    void SetColumnTitles(UINT stringId, char separator);
    // Column -1: every column. The width becomes the widest of the title and the column's
    // texts in the list's font plus the margin on both sides.
    void AutoSizeColumns(int column = -1);
    // Pixels by which the header follows the list's horizontal scrolling.
    int GetHorizontalOffset() const { return m_nHorzOffset; }

    // Rows: the row index, or LB_ERR.
    int AddItem(LPCTSTR text);
    int InsertItem(int index, LPCTSTR text);
    int RemoveItem(int index);

    // Cells. A row or column that does not exist reads empty and 0 and stores nothing.
    int SetItemText(int row, int column, LPCTSTR text);
    int SetItemText(int row, LPCTSTR text) { return SetItemText(row, 0, text); }
    int GetItemText(int row, int column, LPTSTR buffer) const; // the buffer must hold the text and a NUL
    void GetItemText(int row, int column, CString& text) const;
    CString GetItemText(int row, int column = 0) const;
    int GetItemTextLength(int row, int column = 0) const;
    int SetItemData(int row, int column, DWORD_PTR value);
    int SetItemData(int row, DWORD_PTR value) { return SetItemData(row, 0, value); }
    DWORD_PTR GetItemData(int row, int column) const;
    DWORD_PTR GetItemData(int row) const { return GetItemData(row, 0); }
    int SetItemObject(int row, int column, void* object) { return SetItemData(row, column, DWORD_PTR(object)); }
    void* GetItemObject(int row, int column = 0) const { return reinterpret_cast<void*>(GetItemData(row, column)); }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    // Orders rows by their first texts (case-sensitive).
    int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) override;
    void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) override;

    virtual void DrawCells(CDC* pDC, const RECT& itemRect, int row);
    // The default draws the text on one line, vertically centred, aligned by the format.
    virtual void DrawCell(CDC* pDC, const RECT& cellRect, int column, int format, const CString& text,
                          DWORD_PTR data);

    // The left and right edge of a column in list coordinates (before scrolling).
    void GetColumnEdges(int column, int& left, int& right) const;

    // Colours of the table and the header.
    static constexpr COLORREF kWindow = RGB(255, 255, 255);
    static constexpr COLORREF kWindowText = RGB(0, 0, 0);
    static constexpr COLORREF kHighlight = RGB(0, 0, 128);
    static constexpr COLORREF kHighlightText = RGB(255, 255, 255);
    static constexpr COLORREF kButtonFace = RGB(192, 192, 192);
    static constexpr COLORREF kButtonText = RGB(0, 0, 0);
    static constexpr COLORREF kButtonHighlight = RGB(255, 255, 255);
    static constexpr COLORREF kButtonShadow = RGB(128, 128, 128);

private:
    struct Column {
        int format = kColumnLeft;
        int width = kDefaultWidth;
        CString title;
    };
    struct Cell {
        CString text;
        DWORD_PTR data = 0;
    };
    using Row = std::vector<Cell>;

    Row* GetRow(int row) const;
    Cell* GetCell(int row, int column) const;
    void UpdateHorizontalExtent();
    std::unique_ptr<Row> NewRow(LPCTSTR text) const;

    std::vector<Column> m_columns;
    bool m_bHasColumns = false;
    int m_nMargin = kCellMargin;
    int m_nHorzOffset = 0;
    int m_nHeaderHeight = 0;
    std::unique_ptr<CColumnHeader> m_pHeader;
};
