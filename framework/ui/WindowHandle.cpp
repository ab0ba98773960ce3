#include "framework/ui/WindowHandle.h"

#include "framework/ui/CWinApp.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/DialogWindow.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <strings.h>
#include <unordered_set>

namespace {

// Queued size notices in a row after which a scroll bar no longer hides again.
constexpr int kMaxSettlingRounds = 3;

// ---------------------------------------------------------------- window classes

bool SameClassName(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

// Records are never freed: handles keep pointers to the class they were made with.
std::vector<std::unique_ptr<WindowClassInfo>>& ClassRegistry()
{
    static std::vector<std::unique_ptr<WindowClassInfo>> registry;
    return registry;
}

bool IsIntResource(LPCTSTR name)
{
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}

// ---------------------------------------------------------------- live handles

std::unordered_set<const WindowHandle*>& LiveHandles()
{
    static std::unordered_set<const WindowHandle*> handles;
    return handles;
}

bool IsLive(const WindowHandle* handle)
{
    return handle != nullptr && LiveHandles().count(handle) != 0 && !handle->destroyed;
}

// ---------------------------------------------------------------- messages

thread_local AfxMessageFrame* t_currentFrame = nullptr;

class MessageFrameScope {
public:
    explicit MessageFrameScope(AfxMessageFrame& frame) : m_frame(frame)
    {
        frame.outer = t_currentFrame;
        t_currentFrame = &frame;
    }
    ~MessageFrameScope() { t_currentFrame = m_frame.outer; }
    MessageFrameScope(const MessageFrameScope&) = delete;
    MessageFrameScope& operator=(const MessageFrameScope&) = delete;

private:
    AfxMessageFrame& m_frame;
};

QEvent::Type PostedMessageEventType()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QEvent::Type TimerMessageEventType()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

class PostedMessageEvent final : public QEvent {
public:
    PostedMessageEvent(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(PostedMessageEventType()), message(message), wParam(wParam), lParam(lParam)
    {
    }
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class TimerMessageEvent final : public QEvent {
public:
    explicit TimerMessageEvent(UINT_PTR id) : QEvent(TimerMessageEventType()), id(id) {}
    UINT_PTR id;
};

LPARAM PointParam(QPoint p)
{
    return LPARAM(MAKELONG(WORD(SHORT(p.x())), WORD(SHORT(p.y()))));
}

UINT MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

// The window message of a mouse button event; 0 for buttons the program does not know.
UINT MouseButtonMessage(QEvent::Type type, Qt::MouseButton button, bool classTakesDoubleClicks)
{
    int kind = 0; // 0 down, 1 up, 2 double click
    if (type == QEvent::MouseButtonRelease)
        kind = 1;
    else if (type == QEvent::MouseButtonDblClick)
        kind = classTakesDoubleClicks ? 2 : 0;
    switch (button) {
    case Qt::LeftButton:
        return WM_LBUTTONDOWN + UINT(kind);
    case Qt::RightButton:
        return WM_RBUTTONDOWN + UINT(kind);
    case Qt::MiddleButton:
        return WM_MBUTTONDOWN + UINT(kind);
    default:
        return 0;
    }
}

bool IsInputMessage(UINT message)
{
    return (message >= WM_KEYDOWN && message <= WM_SYSCHAR) || (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK);
}

// The window under the pointer's WM_SETCURSOR, whose widget SetCursor changes.
QPointer<WindowHandle> g_cursorTarget;
QPointer<WindowHandle> g_capture;
// The widget that last lost the focus, for the old-focus argument of WM_SETFOCUS.
QPointer<QWidget> g_lastFocusOut;

// ---------------------------------------------------------------- plain windows

// A window that paints itself: its paint event runs the paint pass into the back buffer
// and shows the buffer.
class PlainWindowWidget final : public QWidget {
public:
    explicit PlainWindowWidget(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
    }

    WindowHandle* handle = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (handle == nullptr || handle->destroyed)
            return;
        QPointer<WindowHandle> guard(handle);
        handle->inPaintEvent = true;
        handle->PaintPass();
        if (guard) {
            guard->Present(event->rect());
            guard->inPaintEvent = false;
        }
    }
};

} // namespace

// ==================================================================== classes

const WindowClassInfo* AfxRegisterWindowClass(WindowClassInfo info)
{
    ClassRegistry().push_back(std::make_unique<WindowClassInfo>(std::move(info)));
    return ClassRegistry().back().get();
}

const WindowClassInfo* AfxFindWindowClass(LPCTSTR name)
{
    if (name == nullptr || IsIntResource(name))
        return nullptr;
    auto& registry = ClassRegistry();
    for (auto it = registry.rbegin(); it != registry.rend(); ++it) {
        if (SameClassName((*it)->name, name))
            return it->get();
    }
    return nullptr;
}

// ==================================================================== handle

WindowHandle::WindowHandle(QWidget* widget, const WindowClassInfo* windowClass, DWORD style, DWORD exStyle, UINT id)
    : QObject(widget), widget(widget), windowClass(windowClass), style(style), exStyle(exStyle), id(id)
{
    LiveHandles().insert(this);
    if (widget != nullptr)
        widget->installEventFilter(this);
    if (auto* plain = dynamic_cast<PlainWindowWidget*>(widget)) {
        plain->handle = this;
        selfPainted = true;
    }
}

WindowHandle::~WindowHandle()
{
    // The widget is going away without DestroyWindow (its parent widget was deleted):
    // the window object still hears of it, but may no longer touch the widget.
    if (!destroyed && !destroying) {
        destroying = true;
        widget = nullptr;
        timers.clear();
        Send(WM_DESTROY, 0, 0);
        Send(WM_NCDESTROY, 0, 0);
    }
    destroyed = true;
    LiveHandles().erase(this);
    if (permanent != nullptr && permanent->m_hWnd == this)
        permanent->m_hWnd = nullptr;
    if (temporary)
        temporary->m_hWnd = nullptr;
    temporary.reset();
}

CWnd* WindowHandle::Object()
{
    if (permanent != nullptr)
        return permanent;
    if (!temporary) {
        if (windowClass != nullptr && windowClass->createTemporaryObject)
            temporary = windowClass->createTemporaryObject();
        if (!temporary)
            temporary = std::make_unique<CWnd>();
        temporary->m_hWnd = this;
    }
    return temporary.get();
}

LRESULT WindowHandle::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (destroyed)
        return 0;
    AfxMessageFrame frame;
    frame.hWnd = this;
    frame.msg = MSG{this, message, wParam, lParam, 0, {}};
    return SendFrame(frame);
}

LRESULT WindowHandle::SendFrame(AfxMessageFrame& frame)
{
    MessageFrameScope scope(frame);
    return Object()->WindowProc(frame.msg.message, frame.msg.wParam, frame.msg.lParam);
}

void WindowHandle::Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    QCoreApplication::postEvent(this, new PostedMessageEvent(message, wParam, lParam));
}

bool WindowHandle::SendFromQt(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (destroyed || destroying)
        return true;
    AfxMessageFrame frame;
    frame.hWnd = this;
    frame.msg = MSG{this, message, wParam, lParam, 0, {}};
    frame.fromQt = true;
    if (IsInputMessage(message) && AfxPreTranslateInput(frame.msg))
        return true;
    QPointer<WindowHandle> guard(this);
    SendFrame(frame);
    AfxRequestIdleProcessing();
    if (!guard || !IsLive(guard))
        return true;
    return !frame.passToQt;
}

namespace {

// A control sized while hidden lays out its viewport only when first shown; until then
// the viewport keeps Qt's default size. Lay it out now as showing would, so that a
// dialog's initialisation measures the control as the user will see it. The resize stays
// pending: showing lays it out again with the rows and scroll bars it has by then.
void LayOutBeforeShowing(QWidget& control)
{
    if (!control.testAttribute(Qt::WA_PendingResizeEvent))
        return;
    control.setAttribute(Qt::WA_PendingResizeEvent, false); // a size handler measuring again
    QResizeEvent resize(control.size(), QSize());
    QCoreApplication::sendEvent(&control, &resize);
    control.setAttribute(Qt::WA_PendingResizeEvent, true);
}

} // namespace

QRect WindowHandle::ClientRect() const
{
    if (!widget)
        return {};
    // A control that scrolls by itself (list, multi-line edit) draws in its viewport: its
    // client area ends at its own scroll bars and border, as owner-drawn rows expect.
    if (auto* scrolling = qobject_cast<QAbstractScrollArea*>(widget.data())) {
        LayOutBeforeShowing(*scrolling);
        return QRect(QPoint(0, 0), scrolling->viewport()->size());
    }
    int width = widget->width();
    int height = widget->height();
    if (scroll[SB_VERT].visible && scroll[SB_VERT].bar != nullptr)
        width -= scroll[SB_VERT].bar->width();
    if (scroll[SB_HORZ].visible && scroll[SB_HORZ].bar != nullptr)
        height -= scroll[SB_HORZ].bar->height();
    return QRect(0, 0, std::max(width, 0), std::max(height, 0));
}

// ---------------------------------------------------------------- painting

void WindowHandle::EnsureBackBuffer()
{
    const QSize size = ClientRect().size();
    if (backBuffer.size() == size && !backBuffer.isNull())
        return;
    if (size.isEmpty()) {
        backBuffer = QImage();
        return;
    }
    backBuffer = QImage(size, QImage::Format_RGB32);
    backBuffer.fill(Qt::white);
    invalid = QRegion(QRect(QPoint(0, 0), size));
    eraseNeeded = true;
}

void AfxReleaseCoveredBackBuffers()
{
    for (const WindowHandle* live : LiveHandles()) {
        auto* handle = const_cast<WindowHandle*>(live);
        if (handle->backBuffer.isNull() || handle->destroyed || handle->inPaintEvent || !handle->widget ||
            (handle->widget->isVisible() && !handle->widget->visibleRegion().isEmpty()))
            continue;
        handle->backBuffer = QImage();
        handle->invalid = QRegion(QRect(QPoint(0, 0), handle->ClientRect().size()));
        handle->eraseNeeded = true;
    }
}

void WindowHandle::Invalidate(const QRect& area, bool erase)
{
    if (!widget)
        return;
    const QRect client = ClientRect();
    const QRect clipped = area.isNull() ? client : area.intersected(client);
    if (clipped.isEmpty())
        return;
    invalid += clipped;
    if (erase)
        eraseNeeded = true;
    widget->update(clipped);
}

void WindowHandle::PaintPass()
{
    if (!selfPainted || !widget || destroyed)
        return;
    EnsureBackBuffer();
    if (invalid.isEmpty() || backBuffer.isNull())
        return;
    Send(WM_PAINT, 0, 0);
    // A handler that never began painting must not leave the area invalid for ever.
    invalid = QRegion();
    eraseNeeded = false;
}

void WindowHandle::Present(const QRect& area)
{
    if (!widget || backBuffer.isNull())
        return;
    const QRect shown = area.intersected(QRect(QPoint(0, 0), backBuffer.size()));
    if (shown.isEmpty())
        return;
    QPainter painter(widget);
    painter.drawImage(shown.topLeft(), backBuffer, shown);
}

// ---------------------------------------------------------------- scroll bars

void WindowHandle::EnsureScrollBar(int bar)
{
    ScrollState& state = scroll[bar];
    if (state.bar != nullptr || !widget)
        return;
    state.bar = new QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, widget);
    state.bar->hide();
    connect(state.bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) { OnScrollAction(bar, action); });
    connect(state.bar, &QAbstractSlider::sliderReleased, this, [this, bar] { OnScrollReleased(bar); });
}

void WindowHandle::UpdateScrollBar(int bar)
{
    ScrollState& state = scroll[bar];
    const DWORD styleBit = bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
    const bool wanted = (style & styleBit) != 0 && state.maxPos > state.minPos;
    if (!wanted && state.bar == nullptr)
        return;
    EnsureScrollBar(bar);
    if (state.bar == nullptr)
        return;
    // A bar shows nPage units of nMax - nMin + 1; the slider's range excludes the page.
    const int page = int(std::min<UINT>(state.page, UINT(std::max(state.maxPos - state.minPos + 1, 0))));
    const int sliderMax = page > 0 ? std::max(state.minPos, state.maxPos - page + 1) : state.maxPos;
    const QSignalBlocker blocker(state.bar);
    state.bar->setRange(state.minPos, sliderMax);
    state.bar->setPageStep(std::max(page, 1));
    state.bar->setSliderPosition(state.pos);
    if (state.visible == wanted)
        return;
    // Bars that keep coming and going as the window answers its own size notices: a bar
    // stays shown, so that what it scrolls can still be reached, and the layout rests.
    if (!wanted && inQueuedSizeNotice && settlingRounds > kMaxSettlingRounds)
        return;
    state.visible = wanted;
    ++scrollUpdateDepth;
    LayoutScrollBars();
    --scrollUpdateDepth;
}

int WindowHandle::ScrollBarExtent() const
{
    return widget ? widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget) : 0;
}

QSize WindowHandle::BareClientSize() const
{
    QSize size = ClientRect().size();
    if (scroll[SB_VERT].visible && scroll[SB_VERT].bar != nullptr)
        size.rwidth() += scroll[SB_VERT].bar->width();
    if (scroll[SB_HORZ].visible && scroll[SB_HORZ].bar != nullptr)
        size.rheight() += scroll[SB_HORZ].bar->height();
    return size;
}

void WindowHandle::LayoutScrollBars()
{
    if (!widget)
        return;
    const int extent = ScrollBarExtent();
    const bool vertical = scroll[SB_VERT].visible && scroll[SB_VERT].bar != nullptr;
    const bool horizontal = scroll[SB_HORZ].visible && scroll[SB_HORZ].bar != nullptr;
    const int width = widget->width();
    const int height = widget->height();
    if (scroll[SB_VERT].bar != nullptr) {
        scroll[SB_VERT].bar->setGeometry(width - extent, 0, extent, height - (horizontal ? extent : 0));
        scroll[SB_VERT].bar->setVisible(vertical);
    }
    if (scroll[SB_HORZ].bar != nullptr) {
        scroll[SB_HORZ].bar->setGeometry(0, height - extent, width - (vertical ? extent : 0), extent);
        scroll[SB_HORZ].bar->setVisible(horizontal);
    }
    NotifySizeIfChanged();
}

// The window moves its own bar (SetScrollPos); Qt's move is taken back before the
// window hears of the action.
void WindowHandle::OnScrollAction(int bar, int action)
{
    ScrollState& state = scroll[bar];
    UINT code = 0;
    int position = state.pos;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove:
        code = SB_THUMBTRACK;
        position = state.bar->sliderPosition();
        break;
    default:
        return;
    }
    if (code != SB_THUMBTRACK)
        state.bar->setSliderPosition(state.pos);
    state.trackPos = position;
    const UINT message = bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
    SendFromQt(message, MAKELONG(WORD(code), WORD(position)), 0);
}

void WindowHandle::OnScrollReleased(int bar)
{
    ScrollState& state = scroll[bar];
    const UINT message = bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
    QPointer<WindowHandle> guard(this);
    SendFromQt(message, MAKELONG(WORD(SB_THUMBPOSITION), WORD(state.trackPos)), 0);
    if (!guard || destroyed)
        return;
    SendFromQt(message, MAKELONG(WORD(SB_ENDSCROLL), 0), 0);
    if (!guard || destroyed || state.bar == nullptr)
        return;
    const QSignalBlocker blocker(state.bar);
    state.bar->setSliderPosition(state.pos);
}

// ---------------------------------------------------------------- events

void WindowHandle::NotifySizeIfChanged()
{
    if (!widget || !created)
        return;
    const QSize size = ClientRect().size();
    if (size == notifiedSize)
        return;
    if (scrollUpdateDepth > 0) {
        QueueSizeNotice();
        return;
    }
    notifiedSize = size;
    if (selfPainted) {
        // The buffer of the new size is made when the window paints (or is drawn into):
        // a window resized on its way to the screen never holds one of its passing sizes.
        backBuffer = QImage();
        Invalidate(QRect(), true);
    }
    const UINT kind = widget->isMaximized() ? SIZE_MAXIMIZED : widget->isMinimized() ? SIZE_MINIMIZED : SIZE_RESTORED;
    Send(WM_SIZE, kind, LPARAM(MAKELONG(WORD(size.width()), WORD(size.height()))));
}

void WindowHandle::QueueSizeNotice()
{
    if (sizeNoticeQueued)
        return;
    sizeNoticeQueued = true;
    // Dropped with the handle when the window goes first.
    QMetaObject::invokeMethod(this, [this] { SendQueuedSizeNotice(); }, Qt::QueuedConnection);
}

void WindowHandle::SendQueuedSizeNotice()
{
    sizeNoticeQueued = false;
    if (destroyed || destroying)
        return;
    ++settlingRounds;
    const bool outer = inQueuedSizeNotice;
    inQueuedSizeNotice = true;
    QPointer<WindowHandle> guard(this);
    NotifySizeIfChanged();
    if (!guard)
        return;
    inQueuedSizeNotice = outer;
    if (!sizeNoticeQueued)
        settlingRounds = 0;
}

void WindowHandle::AddEventSource(QWidget* inner)
{
    if (inner != nullptr && inner != widget)
        inner->installEventFilter(this);
}

bool WindowHandle::eventFilter(QObject* watched, QEvent* event)
{
    auto* source = qobject_cast<QWidget*>(watched);
    if (source == nullptr || !widget || destroyed || destroying || !created)
        return false;
    return TranslateEvent(source, event);
}

bool WindowHandle::TranslateMouse(QWidget* source, QMouseEvent* event)
{
    const QPoint point = source->mapTo(widget, event->position().toPoint());
    const UINT flags = MouseKeyFlags(event->buttons(), event->modifiers());
    if (event->type() == QEvent::MouseMove) {
        if (selfPainted && g_capture == nullptr)
            SendSetCursor(WM_MOUSEMOVE);
        return SendFromQt(WM_MOUSEMOVE, flags, PointParam(point));
    }
    const bool doubleClicks = windowClass == nullptr || (windowClass->style & CS_DBLCLKS) != 0;
    const UINT message = MouseButtonMessage(event->type(), event->button(), doubleClicks);
    if (message == 0)
        return false;
    const bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
                       message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
    if (press) {
        QPointer<WindowHandle> guard(this);
        const LRESULT activate = Send(WM_MOUSEACTIVATE, WPARAM(AfxTopLevelHandle(this)), MAKELONG(WORD(HTCLIENT), WORD(message)));
        if (!guard || destroyed)
            return true;
        if (activate == MA_ACTIVATEANDEAT || activate == MA_NOACTIVATEANDEAT)
            return true;
        if (selfPainted && g_capture == nullptr)
            SendSetCursor(message);
        if (!guard || destroyed)
            return true;
    }
    return SendFromQt(message, flags, PointParam(point));
}

bool WindowHandle::TranslateKey(QKeyEvent* event)
{
    const int virtualKey = AfxVirtualKeyFromQt(event->key(), event->modifiers());
    const bool alt = (event->modifiers() & Qt::AltModifier) != 0;
    if (event->type() == QEvent::KeyRelease) {
        if (virtualKey == 0)
            return false;
        const LPARAM lParam = LPARAM(1u | (1u << 30) | (1u << 31));
        return SendFromQt(alt ? WM_SYSKEYUP : WM_KEYUP, WPARAM(virtualKey), lParam);
    }
    const LPARAM lParam = LPARAM(1u | (event->isAutoRepeat() ? (1u << 30) : 0u));
    QPointer<WindowHandle> guard(this);
    bool consumed = false;
    if (virtualKey != 0)
        consumed = SendFromQt(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, WPARAM(virtualKey), lParam);
    const QString text = event->text();
    if (guard && !destroyed && !text.isEmpty() && text.at(0).unicode() != 0) {
        // Character codes are Unicode code points (Windows-1252 agrees on ASCII and Latin-1 letters).
        const char32_t code = text.toUcs4().value(0);
        const bool charConsumed = SendFromQt(alt ? WM_SYSCHAR : WM_CHAR, WPARAM(code), lParam);
        consumed = consumed || charConsumed;
    }
    return consumed;
}

bool WindowHandle::TranslateEvent(QWidget* source, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const bool consumed = TranslateMouse(source, static_cast<QMouseEvent*>(event));
        // Qt's own handling of a click in a plain window would pass it on to the parent.
        return consumed || selfPainted;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return TranslateKey(static_cast<QKeyEvent*>(event)) || selfPainted;
    case QEvent::ShortcutOverride: {
        // A dialog's access key comes before the shortcuts of the window around it (a
        // bar's label before the frame's menu): the key press then reaches pre-translation.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!AfxDialogTakesAccessKey(this, key->modifiers(), key->text()))
            return false;
        event->accept();
        return true;
    }
    case QEvent::Resize:
        if (source == widget) {
            LayoutScrollBars();
            NotifySizeIfChanged();
        }
        return false;
    case QEvent::Show:
    case QEvent::Hide:
        if (source == widget && !event->spontaneous())
            Send(WM_SHOWWINDOW, event->type() == QEvent::Show ? TRUE : FALSE, 0);
        return false;
    case QEvent::EnabledChange:
        if (source == widget)
            Send(WM_ENABLE, widget->isEnabled() ? TRUE : FALSE, 0);
        return false;
    case QEvent::FocusIn:
        if (source == widget)
            Send(WM_SETFOCUS, WPARAM(AfxHandleFromWidget(g_lastFocusOut)), 0);
        return false;
    case QEvent::FocusOut:
        if (source == widget) {
            g_lastFocusOut = widget;
            Send(WM_KILLFOCUS, WPARAM(AfxHandleFromWidget(QApplication::focusWidget())), 0);
        }
        return false;
    case QEvent::ContextMenu: {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        // The default processing already offered it to the parent window.
        return SendFromQt(WM_CONTEXTMENU, WPARAM(this), PointParam(menuEvent->globalPos())) || selfPainted;
    }
    case QEvent::Close:
        if (source == widget) {
            // The window decides: the default processing of WM_CLOSE destroys it.
            event->ignore();
            SendFromQt(WM_CLOSE, 0, 0);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void WindowHandle::SendSetCursor(UINT mouseMessage)
{
    QPointer<WindowHandle> previous = g_cursorTarget;
    g_cursorTarget = this;
    Send(WM_SETCURSOR, WPARAM(this), LPARAM(MAKELONG(WORD(HTCLIENT), WORD(mouseMessage))));
    g_cursorTarget = previous;
}

bool WindowHandle::event(QEvent* event)
{
    if (event->type() == PostedMessageEventType()) {
        auto* posted = static_cast<PostedMessageEvent*>(event);
        if (!destroyed && !destroying) {
            AfxMessageFrame frame;
            frame.hWnd = this;
            frame.msg = MSG{this, posted->message, posted->wParam, posted->lParam, 0, {}};
            if (!AfxPreTranslateInput(frame.msg))
                SendFrame(frame);
            AfxRequestIdleProcessing();
        }
        return true;
    }
    if (event->type() == TimerMessageEventType()) {
        const UINT_PTR id = static_cast<TimerMessageEvent*>(event)->id;
        auto it = timers.find(id);
        if (it != timers.end() && !destroyed && !destroying) {
            it->second.pending = false;
            Send(WM_TIMER, WPARAM(id), 0);
            AfxRequestIdleProcessing();
        }
        return true;
    }
    return QObject::event(event);
}

// ---------------------------------------------------------------- timers

UINT_PTR WindowHandle::StartTimer(UINT_PTR timerId, UINT elapse)
{
    if (destroyed || destroying || !widget)
        return 0;
    // The shortest period a timer gets; 0 would otherwise spin.
    constexpr UINT kMinimumElapse = 10;
    TimerState& state = timers[timerId];
    if (!state.timer) {
        state.timer = std::make_unique<QTimer>();
        QObject::connect(state.timer.get(), &QTimer::timeout, this, [this, timerId] {
            auto it = timers.find(timerId);
            // One WM_TIMER waits in the queue at most: a slow handler skips ticks.
            if (it == timers.end() || it->second.pending)
                return;
            it->second.pending = true;
            QCoreApplication::postEvent(this, new TimerMessageEvent(timerId));
        });
    }
    state.timer->start(int(std::clamp<UINT>(elapse, kMinimumElapse, 0x7FFFFFFF)));
    return timerId != 0 ? timerId : 1;
}

bool WindowHandle::StopTimer(UINT_PTR timerId)
{
    return timers.erase(timerId) != 0;
}

// ==================================================================== tree helpers

AfxMessageFrame* AfxCurrentMessageFrame()
{
    return t_currentFrame;
}

HWND AfxCreateWindowHandle(QWidget* widget, LPCTSTR className, DWORD style, DWORD exStyle, UINT id)
{
    if (widget == nullptr)
        return nullptr;
    if (HWND existing = AfxHandleFromWidget(widget))
        return existing;
    auto* handle = new WindowHandle(widget, AfxFindWindowClass(className), style, exStyle, id);
    handle->created = true;
    handle->notifiedSize = handle->ClientRect().size();
    return handle;
}

HWND AfxHandleFromWidget(const QWidget* widget)
{
    if (widget == nullptr)
        return nullptr;
    for (QObject* child : widget->children()) {
        auto* handle = dynamic_cast<WindowHandle*>(child);
        if (handle != nullptr && IsLive(handle))
            return handle;
    }
    return nullptr;
}

QWidget* AfxWidgetFromHandle(HWND hWnd)
{
    return IsLive(hWnd) ? hWnd->widget.data() : nullptr;
}

bool AfxIsLiveHandle(HWND hWnd)
{
    return IsLive(hWnd);
}

HWND AfxParentHandle(HWND hWnd)
{
    QWidget* widget = AfxWidgetFromHandle(hWnd);
    if (widget == nullptr || widget->isWindow())
        return nullptr;
    for (QWidget* ancestor = widget->parentWidget(); ancestor != nullptr; ancestor = ancestor->parentWidget()) {
        if (HWND parent = AfxHandleFromWidget(ancestor))
            return parent;
        if (ancestor->isWindow())
            break;
    }
    return nullptr;
}

HWND AfxTopLevelHandle(HWND hWnd)
{
    HWND top = IsLive(hWnd) ? hWnd : nullptr;
    while (HWND parent = AfxParentHandle(top))
        top = parent;
    return top;
}

namespace {

void CollectChildHandles(const QWidget* widget, std::vector<HWND>& children)
{
    for (QObject* object : widget->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || child->isWindow())
            continue;
        if (HWND handle = AfxHandleFromWidget(child))
            children.push_back(handle);
        else
            CollectChildHandles(child, children);
    }
}

} // namespace

std::vector<HWND> AfxChildHandles(HWND hWnd)
{
    std::vector<HWND> children;
    if (QWidget* widget = AfxWidgetFromHandle(hWnd))
        CollectChildHandles(widget, children);
    return children;
}

std::vector<HWND> AfxOwnedHandles(HWND hWnd)
{
    std::vector<HWND> owned;
    if (!IsLive(hWnd))
        return owned;
    for (const WindowHandle* handle : LiveHandles()) {
        if (handle->owner == hWnd && !handle->destroyed)
            owned.push_back(const_cast<WindowHandle*>(handle));
    }
    return owned;
}

BOOL AfxDestroyWindowHandle(HWND hWnd)
{
    if (!IsLive(hWnd) || hWnd->destroying)
        return FALSE;
    QPointer<WindowHandle> handle(hWnd);
    handle->destroying = true;
    for (HWND owned : AfxOwnedHandles(hWnd))
        AfxDestroyWindowHandle(owned);
    if (g_capture == hWnd) {
        g_capture = nullptr;
        if (handle->widget && QWidget::mouseGrabber() == handle->widget)
            handle->widget->releaseMouse();
    }
    handle->timers.clear();
    // WM_DESTROY runs while the window and its children still exist.
    handle->destroying = false;
    handle->Send(WM_DESTROY, 0, 0);
    if (!handle)
        return TRUE;
    handle->destroying = true;
    for (HWND child : AfxChildHandles(hWnd))
        AfxDestroyWindowHandle(child);
    if (!handle)
        return TRUE;
    handle->destroying = false;
    handle->Send(WM_NCDESTROY, 0, 0);
    if (!handle)
        return TRUE;
    handle->destroyed = true;
    handle->destroying = true;
    if (handle->permanent != nullptr) {
        handle->permanent->m_hWnd = nullptr;
        handle->permanent = nullptr;
    }
    // The widget may be the one whose event is being handled: it goes once control
    // returns to the event loop.
    if (QWidget* widget = handle->widget.data()) {
        widget->hide();
        widget->deleteLater();
    }
    return TRUE;
}

void AfxCancelCaptureForModal()
{
    if (WindowHandle* capture = g_capture.data(); IsLive(capture))
        capture->Send(WM_CANCELMODE, 0, 0);
}

HWND AfxCaptureHandle()
{
    WindowHandle* capture = g_capture.data();
    return IsLive(capture) ? capture : nullptr;
}

void AfxSetCaptureHandle(HWND hWnd)
{
    WindowHandle* previous = g_capture.data();
    if (previous == hWnd)
        return;
    if (IsLive(previous) && previous->widget && QWidget::mouseGrabber() == previous->widget)
        previous->widget->releaseMouse();
    g_capture = hWnd;
    if (IsLive(hWnd) && hWnd->widget && hWnd->widget->isVisible())
        hWnd->widget->grabMouse();
}

HWND AfxCursorTargetHandle()
{
    WindowHandle* target = g_cursorTarget.data();
    return IsLive(target) ? target : nullptr;
}

QWidget* AfxNewPlainWindowWidget(QWidget* parent)
{
    return new PlainWindowWidget(parent);
}

BOOL AfxPreTranslateInput(MSG& msg)
{
    CWinApp* app = AfxGetApp();
    if (app != nullptr ? app->PreTranslateMessage(&msg) : CWnd::WalkPreTranslateTree(nullptr, &msg))
        return TRUE;
    return AfxPreTranslateProcedureDialog(msg);
}

bool AfxWaitUntilExposed(QWidget* window)
{
    constexpr int kExposeWaitMs = 1000;
    constexpr int kPollMs = 5;
    if (window == nullptr || !window->isWindow() || !window->isVisible())
        return false;
    QPointer<QWindow> native = window->windowHandle();
    if (native == nullptr || native->isExposed())
        return false;
    const QDeadlineTimer deadline(kExposeWaitMs);
    // Timers wait too: the window's own loop has not started yet.
    while (native && !native->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers);
        if (native && !native->isExposed())
            QThread::msleep(kPollMs);
    }
    return true;
}

void AfxPaintWindowNow(QWidget* window)
{
    QPointer<QWidget> guard(window);
    AfxWaitUntilExposed(window);
    if (!guard || !guard->isVisible())
        return;
    guard->repaint();
    QGuiApplication::sync();
}

bool AfxEnsureGuiApplication()
{
    if (QCoreApplication::instance() == nullptr) {
        // Kept for the life of the process: widgets may outlive any scope that could own it.
        static int s_argc = 1;
        static char s_name[] = "taliso";
        static char* s_argv[] = {s_name, nullptr};
        new QApplication(s_argc, s_argv);
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return false;
    AfxInstallKeyStateTracker();
    return true;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON)
{
    // Equal attributes give the same class, so repeated registrations share one name.
    const std::string name = "Afx:" + std::to_string(nClassStyle) + ":" +
                             std::to_string(reinterpret_cast<std::uintptr_t>(hCursor)) + ":" +
                             std::to_string(reinterpret_cast<std::uintptr_t>(hbrBackground));
    if (const WindowClassInfo* existing = AfxFindWindowClass(name.c_str()))
        return existing->name.c_str();
    WindowClassInfo info;
    info.name = name;
    info.style = nClassStyle;
    info.cursor = hCursor;
    info.background = hbrBackground;
    return AfxRegisterWindowClass(std::move(info))->name.c_str();
}
