#include "framework/ui/ModalOwner.h"

#include "framework/ui/CWinApp.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QScreen>

#include <algorithm>

namespace {

QWidget* OwnerWindow(HWND hWndOwner)
{
    if (QWidget* widget = AfxWidgetFromHandle(hWndOwner))
        return widget->window();
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (CWnd* mainWnd = AfxGetMainWnd()) {
        if (QWidget* widget = AfxWidgetFromHandle(mainWnd->GetSafeHwnd()))
            return widget->window();
    }
    return nullptr;
}

bool Shown(const QWidget* widget) { return widget != nullptr && widget->isVisible(); }

} // namespace

ModalOwner::ModalOwner(HWND hWndOwner) : m_window(OwnerWindow(hWndOwner))
{
    if (m_window)
        m_focus = m_window->focusWidget();
}

ModalOwner::~ModalOwner()
{
    if (!Shown(m_window))
        return;
    // Without this the display may leave the keyboard with no window at all once the
    // modal one is gone (no window manager hands it back).
    m_window->activateWindow();
    if (Shown(m_focus) && m_focus->isEnabled() && m_focus->window() == m_window)
        m_focus->setFocus(Qt::ActiveWindowFocusReason);
}

void ModalOwner::Centre(QWidget* modal) const
{
    if (modal == nullptr)
        return;
    QScreen* screen = Shown(m_window) ? m_window->screen() : modal->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const QRect own = modal->frameGeometry();
    const QRect placed = AfxCentredRect(own, Shown(m_window) ? m_window->frameGeometry() : area, area);
    if (placed.topLeft() != own.topLeft())
        modal->move(placed.topLeft());
}

QRect AfxCentredRect(const QRect& own, const QRect& over, const QRect& area)
{
    const int left = over.left() + (over.width() - own.width()) / 2;
    const int top = over.top() + (over.height() - own.height()) / 2;
    return QRect(std::max(area.left(), std::min(left, area.left() + area.width() - own.width())),
                 std::max(area.top(), std::min(top, area.top() + area.height() - own.height())), own.width(),
                 own.height());
}
