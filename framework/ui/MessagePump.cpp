#include "framework/ui/MessagePump.h"

#include "framework/ui/CWnd.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <climits>

namespace {

// The code our own end of a pump loop exits with; any other code means that the
// application's quit reached the loop.
constexpr int kPumpDone = INT_MIN + 0x5A17;

// Input that starts something. Releases pass, so that the program's key and button
// state does not stay "down" after a press that came before the loop.
bool StartsSomething(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        return true;
    default:
        return false;
    }
}

bool IsEscapePress(const QEvent* event)
{
    return event->type() == QEvent::KeyPress && static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

// Runs the events waiting now in a loop of its own, so that a quit request that arrives
// meanwhile (or arrived before) is seen.
BOOL RunWaitingEvents()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return TRUE;
    QEventLoop loop;
    // Queued behind everything already waiting; dropped if the loop ends otherwise.
    // A quit that ran first has already ended the loop with its own code.
    QMetaObject::invokeMethod(
        &loop,
        [&loop] {
            if (loop.isRunning()) loop.exit(kPumpDone);
        },
        Qt::QueuedConnection);
    return loop.exec() == kPumpDone ? TRUE : FALSE;
}

} // namespace

class CMessagePump::Watcher final : public QObject {
public:
    explicit Watcher(Input input) : m_holdBack(input == Input::HoldBackInput)
    {
        if (QCoreApplication* application = QCoreApplication::instance())
            application->installEventFilter(this);
    }

    BOOL Pump()
    {
        const bool outerPumping = m_pumping;
        const QPointer<QWidget> outerModal = m_modalAtStart;
        m_pumping = true;
        m_modalAtStart = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr
                             ? QApplication::activeModalWidget()
                             : nullptr;
        const BOOL running = RunWaitingEvents();
        m_pumping = outerPumping;
        m_modalAtStart = outerModal;
        return running;
    }

    bool m_escape = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A modal dialog opened by a pumped message runs its own loop inside the pump;
        // its keys and clicks belong to it.
        if (!m_pumping || !AimsAtOuterWindows())
            return QObject::eventFilter(watched, event);
        if (IsEscapePress(event))
            m_escape = true;
        if (m_holdBack && IsHeldBack(event)) {
            event->accept();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool AimsAtOuterWindows() const
    {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
            return true;
        QWidget* modal = QApplication::activeModalWidget();
        return modal == nullptr || modal == m_modalAtStart.data();
    }

    static bool IsHeldBack(const QEvent* event)
    {
        const bool userClose = event->type() == QEvent::Close && event->spontaneous();
        return StartsSomething(event->type()) || userClose;
    }

    const bool m_holdBack;
    bool m_pumping = false;
    QPointer<QWidget> m_modalAtStart;
};

CMessagePump::CMessagePump(Input input) : m_watcher(std::make_unique<Watcher>(input)) {}

CMessagePump::~CMessagePump() = default;

BOOL CMessagePump::Pump()
{
    return m_watcher->Pump();
}

BOOL CMessagePump::EscapePressed()
{
    Pump();
    return m_watcher->m_escape || (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0 ? TRUE : FALSE;
}

void CMessagePump::ClearEscape()
{
    m_watcher->m_escape = false;
}

BOOL AfxPumpPendingMessages()
{
    return RunWaitingEvents();
}
