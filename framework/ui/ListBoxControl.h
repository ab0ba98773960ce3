#pragma once
// The list box window class ("LISTBOX"): a self-drawn list of rows with item data,
// single, multiple or extended selection, tab stops, sorting and owner-drawn rows
// (inside framework/ui only; the layers above reach it through messages and CListBox).
#include "framework/core/WinStyles.h"
#include "framework/ui/UiDefs.h"

#include <QAbstractScrollArea>
#include <QString>

#include <vector>

class ListBoxWidget final : public QAbstractScrollArea {
public:
    ListBoxWidget(DWORD style, QWidget* parent);

    // The class's answer to a list box message; false when it is not one of them.
    bool HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Raised once the window exists: a fixed owner-drawn list asks its owner for the row height.
    void MeasureFixedRows(HWND hWnd);
    // Every remaining row is deleted (the window is going away).
    void DeleteAllRows(HWND hWnd);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Item {
        QString text;
        ULONG_PTR data = 0;
        bool selected = false;
        int height = 0; // variable owner-drawn rows only
    };

    bool IsOwnerDraw() const;
    bool HasStrings() const;
    bool IsMultiple() const;
    bool IsExtended() const;
    bool IsMultiSelect() const { return IsMultiple() || IsExtended(); }
    bool Notifies() const;
    int Count() const { return int(m_items.size()); }
    bool ValidIndex(int index) const { return index >= 0 && index < Count(); }

    int Insert(HWND hWnd, int index, LPARAM lParam, bool sorted);
    int SortedPosition(HWND hWnd, const Item& item) const;
    int Delete(HWND hWnd, int index);
    void ResetContent(HWND hWnd);
    void SendDeleteItem(HWND hWnd, int index);
    int MeasureVariableRow(HWND hWnd, int index);

    int FindString(int start, const QString& text, ULONG_PTR data, bool exact) const;
    int RowHeight(int index) const;
    int RowTop(int index) const; // relative to the top row; negative above it
    int IndexAt(int y) const;    // viewport y; -1 below the last row
    QRect RowRect(int index) const;
    int VisibleRows() const;     // rows that fit fully from the top row on
    void SetTopIndex(int index);
    void EnsureVisible(int index);
    void UpdateScrollBars();

    void SelectOnly(int index);
    void SetCaret(int index);
    void SelectRange(int first, int last, bool select);
    void UserSelect(int index, Qt::KeyboardModifiers modifiers, bool fromMouse);
    // A navigation key or a typed letter; false when the list does not use it.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers, const QString& typed);
    void NotifySelChange(HWND hWnd);
    HWND Handle() const;

    void DrawRows(QImage& image);
    void DrawTextRow(QPainter& painter, const QRect& rect, int index, bool selected);
    void DrawOwnerRow(HWND hWnd, HDC hdc, const QRect& rect, int index, UINT action, UINT state);

    DWORD m_style;
    std::vector<Item> m_items;
    int m_curSel = -1; // single selection
    int m_caret = 0;
    int m_anchor = 0;
    int m_top = 0;
    int m_itemHeight = 0;
    int m_horizontalExtent = 0;
    int m_hScroll = 0;
    std::vector<int> m_tabStops; // pixels; empty: every 32 quarter characters
    bool m_measured = false;
    bool m_tracking = false;
    bool m_eventSourceAdded = false;
};

QWidget* AfxCreateListBoxWidget(const CREATESTRUCT& cs, QWidget* parent);
