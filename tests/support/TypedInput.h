#pragma once
// Keys and clicks as the keyboard and the mouse hand them to a widget: the modifier keys
// go down before the key and come up after it, so that the program's key state sees them
// held, and a click is a press and a release at one point.
#include "framework/ui/WindowHandle.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <utility>
#include <vector>

namespace typedinput {

inline void SendKey(QWidget* target, Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    if (target == nullptr)
        return;
    AfxInstallKeyStateTracker();
    std::vector<std::pair<Qt::Key, Qt::KeyboardModifier>> held;
    if (modifiers & Qt::ControlModifier)
        held.emplace_back(Qt::Key_Control, Qt::ControlModifier);
    if (modifiers & Qt::ShiftModifier)
        held.emplace_back(Qt::Key_Shift, Qt::ShiftModifier);
    Qt::KeyboardModifiers down = Qt::NoModifier;
    for (const auto& [modifierKey, flag] : held) {
        down |= flag;
        QKeyEvent press(QEvent::KeyPress, modifierKey, down);
        QCoreApplication::sendEvent(target, &press);
    }
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
        down &= ~Qt::KeyboardModifiers(it->second);
        QKeyEvent up(QEvent::KeyRelease, it->first, down);
        QCoreApplication::sendEvent(target, &up);
    }
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
