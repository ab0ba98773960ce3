// Virtual-key codes of Qt keys and the key state the program polls.
#include "framework/ui/CWnd.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include <map>
#include <set>

namespace {

struct KeyTable {
    int qtKey;
    int virtualKey;
};

constexpr KeyTable kSpecialKeys[] = {
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},        {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},       {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT},  {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},      {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},      {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},   {Qt::Key_Help, VK_HELP},      {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL}, {Qt::Key_Plus, VK_OEM_PLUS}, {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Comma, VK_OEM_COMMA}, {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Asterisk, VK_MULTIPLY},
    {Qt::Key_Slash, VK_DIVIDE},
};

int KeypadVirtualKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return VK_NUMPAD0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Slash: return VK_DIVIDE;
    case Qt::Key_Period:
    case Qt::Key_Comma: return VK_DECIMAL;
    default: return 0;
    }
}

// Keys held down and toggled, as seen by the whole program.
struct KeyboardState {
    std::set<int> down;
    std::set<int> toggled;
    std::map<int, bool> scripted;
};

KeyboardState& Keyboard()
{
    static KeyboardState state;
    return state;
}

class KeyStateTracker final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            auto* keyEvent = static_cast<QKeyEvent*>(event);
            const int virtualKey = AfxVirtualKeyFromQt(keyEvent->key(), keyEvent->modifiers());
            if (virtualKey != 0)
                Note(virtualKey, event->type() == QEvent::KeyPress, keyEvent->isAutoRepeat());
        } else if (event->type() == QEvent::ApplicationDeactivate) {
            Keyboard().down.clear();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void Note(int virtualKey, bool pressed, bool autoRepeat)
    {
        KeyboardState& keyboard = Keyboard();
        if (!pressed) {
            keyboard.down.erase(virtualKey);
            return;
        }
        // A key event reaches the filter once per widget it propagates through.
        if (!autoRepeat && keyboard.down.insert(virtualKey).second) {
            if (!keyboard.toggled.insert(virtualKey).second)
                keyboard.toggled.erase(virtualKey);
        }
    }
};

bool IsDown(int virtualKey)
{
    KeyboardState& keyboard = Keyboard();
    if (auto it = keyboard.scripted.find(virtualKey); it != keyboard.scripted.end())
        return it->second;
    const bool gui = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    if (gui) {
        const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
        const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
        switch (virtualKey) {
        case VK_SHIFT: return (modifiers & Qt::ShiftModifier) || keyboard.down.count(VK_SHIFT);
        case VK_CONTROL: return (modifiers & Qt::ControlModifier) || keyboard.down.count(VK_CONTROL);
        case VK_MENU: return (modifiers & Qt::AltModifier) || keyboard.down.count(VK_MENU);
        case VK_LBUTTON: return (buttons & Qt::LeftButton) != 0;
        case VK_RBUTTON: return (buttons & Qt::RightButton) != 0;
        case VK_MBUTTON: return (buttons & Qt::MiddleButton) != 0;
        default: break;
        }
    }
    return keyboard.down.count(virtualKey) != 0;
}

} // namespace

int AfxVirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (const int keypad = KeypadVirtualKey(qtKey))
            return keypad;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + (qtKey - Qt::Key_F1);
    for (const KeyTable& entry : kSpecialKeys) {
        if (entry.qtKey == qtKey)
            return entry.virtualKey;
    }
    return 0;
}

void AfxInstallKeyStateTracker()
{
    static QPointer<QObject> tracker;
    if (tracker || QCoreApplication::instance() == nullptr)
        return;
    tracker = new KeyStateTracker(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(tracker);
}

void AfxSetScriptedKeyState(int virtualKey, int state)
{
    if (state < 0)
        Keyboard().scripted.erase(virtualKey);
    else
        Keyboard().scripted[virtualKey] = state != 0;
}

void AfxClearScriptedKeyStates()
{
    Keyboard().scripted.clear();
}

SHORT GetKeyState(int nVirtKey)
{
    const bool toggled = Keyboard().toggled.count(nVirtKey) != 0;
    return SHORT((IsDown(nVirtKey) ? 0x8000 : 0) | (toggled ? 1 : 0));
}

SHORT GetAsyncKeyState(int nVirtKey)
{
    return SHORT(IsDown(nVirtKey) ? 0x8000 : 0);
}
