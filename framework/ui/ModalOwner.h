#pragma once
// What a modal window (a message box, a file dialog, a modal dialog) owes the window it
// belongs to: it opens centred on that window, and when it closes, that window is the
// active one again with the focus on the control that had it, so that its keyboard
// (access keys included) works at once, without a click.
#include "framework/ui/UiDefs.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

class ModalOwner {
public:
    // The owner is hWndOwner's window; without one, the modal window or the window in use
    // now, else the main window.
    explicit ModalOwner(HWND hWndOwner);
    ~ModalOwner();
    ModalOwner(const ModalOwner&) = delete;
    ModalOwner& operator=(const ModalOwner&) = delete;

    QWidget* Window() const { return m_window; }
    // Moves a shown modal window to the middle of the owner (of the screen without a
    // visible one), inside the screen's free area.
    void Centre(QWidget* modal) const;

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_focus;
};

// Where a window of outer rectangle 'own' goes to sit in the middle of 'over', moved as
// little as needed to lie inside 'area' (its top left stays in sight when too large).
QRect AfxCentredRect(const QRect& own, const QRect& over, const QRect& area);
