#pragma once
// Keys as a user types them: Qt key events, press and release, to the widget with the
// keyboard focus (else the active modal window, else the active window). They take the
// road a real key takes (Qt's shortcut check first, then the window's pre-translation and
// the control), so a test sees what the user would.
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <iterator>
#include <utility>

namespace typedkeys {

// Where a key goes now; nullptr when no window would get it.
inline QWidget* KeyTarget()
{
    if (QWidget* focus = QApplication::focusWidget()) return focus;
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

inline void SendKeyEvent(QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                         const QString& text = {})
{
    if (!target) return;
    QKeyEvent event(type, key, modifiers, text);
    QApplication::sendEvent(target, &event);
}

// Sends `key` between the presses and releases of its modifier keys, as a keyboard does:
// Ctrl, Shift and Alt go down first and come up last. `send` sends one key event.
template <typename Send>
void WithModifiersHeld(Qt::KeyboardModifiers modifiers, Send send, int key, const QString& text)
{
    const std::pair<Qt::KeyboardModifier, int> held[] = {
        {Qt::ControlModifier, Qt::Key_Control}, {Qt::ShiftModifier, Qt::Key_Shift}, {Qt::AltModifier, Qt::Key_Alt}};
    Qt::KeyboardModifiers down;
    for (const auto& [modifier, modifierKey] : held) {
        if (!(modifiers & modifier)) continue;
        down |= modifier;
        send(QEvent::KeyPress, modifierKey, down, QString());
    }
    send(QEvent::KeyPress, key, modifiers, text);
    send(QEvent::KeyRelease, key, modifiers, text);
    for (auto it = std::rbegin(held); it != std::rend(held); ++it) {
        if (!(modifiers & it->first)) continue;
        down &= ~it->first;
        send(QEvent::KeyRelease, it->second, down, QString());
    }
}

// One key without its modifier keys' own events; false when no window would get it.
inline bool Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QWidget* target = KeyTarget();
    if (!target) return false;
    SendKeyEvent(target, QEvent::KeyPress, key, modifiers, text);
    // The press may have moved the focus or closed the window.
    SendKeyEvent(KeyTarget(), QEvent::KeyRelease, key, modifiers, text);
    return true;
}

// A letter or digit key with the modifiers, giving its character as the keyboard does
// (lower case without Shift, also with Alt).
inline bool Letter(char letter, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QChar ch = QChar::fromLatin1(letter);
    const int key = ch.isLetter() ? Qt::Key_A + (ch.toLower().unicode() - u'a') : ch.unicode();
    const QChar typed = (modifiers & Qt::ShiftModifier) ? ch.toUpper() : ch.isLetter() ? ch.toLower() : ch;
    return Press(key, modifiers, (modifiers & Qt::ControlModifier) ? QString() : QString(typed));
}

inline bool Alt(char letter) { return Letter(letter, Qt::AltModifier); }

// Types a text character by character, Shift for capitals.
inline bool Type(const char* text)
{
    for (const char* c = text; *c; ++c) {
        const QChar ch = QChar::fromLatin1(*c);
        if (ch.isLetter() || ch.isDigit()) {
            if (!Letter(*c, ch.isUpper() ? Qt::ShiftModifier : Qt::NoModifier)) return false;
        } else if (!Press(ch.unicode(), Qt::NoModifier, QString(ch))) {
            return false;
        }
    }
    return true;
}

inline bool Return() { return Press(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")); }

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

// Types one key with its modifier keys held around it, as Ctrl+Shift+Tab is typed, each
// event to where the focus is then. Shift+Tab arrives as Backtab, as Qt reports it.
inline void TypeKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (key == Qt::Key_Tab && (modifiers & Qt::ShiftModifier)) key = Qt::Key_Backtab;
    WithModifiersHeld(
        modifiers,
        [](QEvent::Type type, int k, Qt::KeyboardModifiers m, const QString& text) {
            SendKeyEvent(QPointer<QWidget>(KeyTarget()), type, k, m, text);
        },
        key, KeyText(key, modifiers));
    // What the key posted (the wizard buttons) runs before the next key, as in the loop.
    QCoreApplication::sendPostedEvents();
}

} // namespace typedkeys
