#pragma once
// The button window class ("BUTTON"): push buttons, check boxes (two and three states,
// manual or automatic), radio buttons (manual or automatic, grouped by WS_GROUP), group
// boxes and owner-drawn buttons (inside framework/ui only; the layers above use CButton).
#include "framework/core/WinStyles.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/UiDefs.h"

#include <QPushButton>

class ButtonWidget final : public QPushButton {
public:
    ButtonWidget(DWORD style, const QString& text, QWidget* parent);

    bool HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    DWORD Kind() const { return m_style & BS_TYPEMASK; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    void SetButtonText(const QString& text);
    bool IsCheckKind() const;
    bool IsRadioKind() const;
    bool IsAutomatic() const;
    void SetCheckState(UINT state);
    void OnClicked();
    void UncheckGroupRadios();
    void PaintPushButton(QPaintEvent* event);
    void PaintOwnerDrawn();
    void PaintCheckOrRadio();
    void PaintGroupBox();

    DWORD m_style;
    UINT m_check = BST_UNCHECKED;
    HGDIOBJ m_image = nullptr;
};

QWidget* AfxCreateButtonWidget(const CREATESTRUCT& cs, QWidget* parent);

// Where a group box shows its title, relative to the box's top left corner: one text line
// high from the top, its frame line running through the middle of that line.
QRect AfxGroupBoxTitleRect(const QFont& font, const QString& title);
