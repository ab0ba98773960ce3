#pragma once
// Keys as a keyboard types them: the modifier keys go down first and up last, and every
// event goes to the widget with the focus (else the active window), so the program sees
// the key where a user's key would arrive and reads the modifiers as held.
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <iterator>
#include <utility>

namespace typedkeys {

inline QWidget* KeyTarget()
{
    if (QWidget* focus = QApplication::focusWidget()) return focus;
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

// The text Qt gives a key typed without Ctrl or Alt.
inline QString KeyText(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) return {};
    switch (key) {
    case Qt::Key_Return: return QStringLiteral("\r");
    case Qt::Key_Enter: return QStringLiteral("\r");
    case Qt::Key_Tab: return QStringLiteral("\t");
    case Qt::Key_Escape: return QString(QChar(0x1b));
    case Qt::Key_Space: return QStringLiteral(" ");
    default: return {};
    }
}

inline void SendKeyEvent(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString& text = {})
{
    QPointer<QWidget> target = KeyTarget();
    if (!target) return;
    QKeyEvent event(type, key, modifiers, text);
    QApplication::sendEvent(target, &event);
}

// Types one key with the modifiers held around it, as Ctrl+Shift+Tab is typed. Shift+Tab
// arrives as Backtab, as Qt reports it.
inline void TypeKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (key == Qt::Key_Tab && (modifiers & Qt::ShiftModifier)) key = Qt::Key_Backtab;
    const std::pair<Qt::KeyboardModifier, int> held[] = {
        {Qt::ControlModifier, Qt::Key_Control}, {Qt::ShiftModifier, Qt::Key_Shift}, {Qt::AltModifier, Qt::Key_Alt}};
    Qt::KeyboardModifiers down;
    for (const auto& [modifier, modifierKey] : held) {
        if (!(modifiers & modifier)) continue;
        down |= modifier;
        SendKeyEvent(QEvent::KeyPress, modifierKey, down);
    }
    const QString text = KeyText(key, modifiers);
    SendKeyEvent(QEvent::KeyPress, key, modifiers, text);
    SendKeyEvent(QEvent::KeyRelease, key, modifiers, text);
    for (auto it = std::rbegin(held); it != std::rend(held); ++it) {
        if (!(modifiers & it->first)) continue;
        down &= ~it->first;
        SendKeyEvent(QEvent::KeyRelease, it->second, down);
    }
    // What the key posted (the wizard buttons) runs before the next key, as in the loop.
    QCoreApplication::sendPostedEvents();
}

} // namespace typedkeys
