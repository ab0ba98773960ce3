#pragma once
// Keys and clicks as the keyboard and the mouse hand them to a widget: the modifier keys
// go down before the key and come up after it, so that the program's key state sees them
// held, and a click is a press and a release at one point.
#include "framework/ui/WindowHandle.h"
#include "support/TypedKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>


namespace typedinput {

// A key with its modifier keys held around it, every event to `target`.
inline void SendKey(QWidget* target, Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    if (target == nullptr)
        return;
    AfxInstallKeyStateTracker();
    typedkeys::WithModifiersHeld(
        modifiers,
        [target](QEvent::Type type, int k, Qt::KeyboardModifiers m, const QString& text) {
            typedkeys::SendKeyEvent(target, type, k, m, text);
        },
        key, QString());
}

inline void SendClick(QWidget* target, QPoint at)
{
    if (target == nullptr)
        return;
    const QPointF local(at);
    const QPointF global = target->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

} // namespace typedinput
