#pragma once
// The combo box window class ("COMBOBOX"): drop-down list, drop-down and simple
// combos with item data and sorting; adding or removing items never selects one
// (inside framework/ui only; the layers above use CComboBox).
#include "framework/core/WinStyles.h"
#include "framework/ui/UiDefs.h"

#include <QComboBox>

class ComboBoxWidget final : public QComboBox {
public:
    ComboBoxWidget(DWORD style, QWidget* parent);

    bool HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void showPopup() override;
    void hidePopup() override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool IsDropList() const { return (m_style & 0x3) == CBS_DROPDOWNLIST; }
    bool ValidIndex(int index) const { return index >= 0 && index < count(); }
    int Insert(int index, const QString& text);
    int Delete(int index);
    void Select(int index); // -1: none
    int FindString(int start, const QString& text, bool exact) const;
    QString WindowText() const;

    DWORD m_style;
    int m_limit = 0x7FFFFFFE;
    int m_itemHeight = 0;
    bool m_dropped = false;
    bool m_eventSourceAdded = false;
};

QWidget* AfxCreateComboBoxWidget(const CREATESTRUCT& cs, QWidget* parent);
