#pragma once
// Keys as a user types them: Qt key events, press and release, to the widget with the
// keyboard focus of the active window. They take the road a real key takes (Qt's
// shortcut check first, then the window's pre-translation and the control), so a test
// sees what the user would.
#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace typedkeys {

// Where a key goes now: the focus widget, else the active window; nullptr when neither.
inline QWidget* KeyTarget()
{
    if (QWidget* focus = QApplication::focusWidget()) return focus;
    return QApplication::activeWindow();
}

// One key; false when no window would get it.
inline bool Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QWidget* target = KeyTarget();
    if (!target) return false;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    // The press may have moved the focus or closed the window.
    if (QWidget* now = KeyTarget()) {
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(now, &release);
    }
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

} // namespace typedkeys
