#pragma once
// The Qt side of a window handle (framework/ui only; the layers above never include it).
//
// A handle belongs to one widget and lives as a QObject child of it. It translates the
// widget's Qt events into window messages for the window's C++ object, keeps the
// window's back buffer, timers and scroll bars, and carries the posted messages.
// Widgets without a handle (Qt's own helpers inside a control) are transparent: the
// window tree is the widget tree with them left out.
#include "framework/core/CString.h"
#include "framework/ui/UiDefs.h"

#include <QCursor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CWnd;
class QKeyEvent;
class QMouseEvent;
class QScrollBar;
class QTimer;
struct AfxMessageFrame;

// A window class: how windows of one class name behave below their C++ objects.
struct WindowClassInfo {
    std::string name; // compared without regard to case
    UINT style = 0;   // CS_ flags
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    // Makes the widget of a new window; unset: a plain window that paints itself.
    std::function<QWidget*(const CREATESTRUCT& cs, QWidget* parent)> createWidget;
    // The C++ object FromHandle gives for a window without one of its own (a CEdit for
    // an edit control, so that casts of what GetDlgItem returns hold); unset: a CWnd.
    std::function<std::unique_ptr<CWnd>()> createTemporaryObject;
    // The class's default processing, asked before the generic one; true when handled.
    std::function<bool(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)> windowProc;
};

// Registers a class (replacing one of the same name); the record lives for the process.
const WindowClassInfo* AfxRegisterWindowClass(WindowClassInfo info);
const WindowClassInfo* AfxFindWindowClass(LPCTSTR name);

struct WindowHandle final : public QObject {
public:
    WindowHandle(QWidget* widget, const WindowClassInfo* windowClass, DWORD style, DWORD exStyle, UINT id);
    ~WindowHandle() override;
    WindowHandle(const WindowHandle&) = delete;
    WindowHandle& operator=(const WindowHandle&) = delete;

    QPointer<QWidget> widget;
    const WindowClassInfo* windowClass = nullptr; // nullptr: the plain default class
    CWnd* permanent = nullptr;
    std::unique_ptr<CWnd> temporary;
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT id = 0;
    HWND owner = nullptr;
    HFONT font = nullptr;
    HMENU menu = nullptr;          // the menu bar of a top-level window (not owned)
    QPointer<QWidget> menuBar;     // its Qt bar, at the top of the widget
    std::shared_ptr<GdiObjectData> fontKeepAlive; // WM_SETFONT's font lives while the window uses it
    bool created = false;    // events translate only once WM_CREATE may be sent
    bool destroying = false; // inside DestroyWindow: no new messages from Qt
    bool destroyed = false;  // IsWindow is FALSE from here on
    bool selfPainted = false; // paints through WM_ERASEBKGND and WM_PAINT into the back buffer

    // Painting state of a self-painted window, in client coordinates.
    QImage backBuffer;
    QRegion invalid;
    bool eraseNeeded = true;
    bool inPaintEvent = false;
    QRect paintRect; // the area of the paint pass under way

    // Last client size told by WM_SIZE.
    QSize notifiedSize{-1, -1};

    // The window's own scroll bars, indexed by SB_HORZ and SB_VERT.
    struct ScrollState {
        QScrollBar* bar = nullptr;
        int minPos = 0;
        int maxPos = 0;
        UINT page = 0;
        int pos = 0;
        int trackPos = 0;
        bool visible = false;
    };
    ScrollState scroll[2];
    // A bar that a scroll-range change shows or hides changes the client area. The window
    // hears of that by a size notice sent from the event loop, never from inside its own
    // scroll-range update: a window that sets its range from its size would otherwise
    // re-enter itself, and without end where showing a bar makes the bar unneeded.
    int scrollUpdateDepth = 0;
    bool sizeNoticeQueued = false;
    bool inQueuedSizeNotice = false;
    int settlingRounds = 0; // queued notices in a row that moved a bar again

    struct TimerState {
        std::unique_ptr<QTimer> timer;
        bool pending = false;
    };
    std::map<UINT_PTR, TimerState> timers;

    // The window's C++ object: the permanent one, else a temporary made on demand.
    CWnd* Object();
    // Sends a message to the window's C++ object.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT SendFrame(AfxMessageFrame& frame);
    // Queues a message for the event loop.
    void Post(UINT message, WPARAM wParam, LPARAM lParam);
    // Sends a message translated from a Qt event; true when Qt must not handle the event.
    bool SendFromQt(UINT message, WPARAM wParam, LPARAM lParam);

    // Client area within the widget (left of and above the scroll bars).
    QRect ClientRect() const;
    void EnsureBackBuffer();
    // A null area stands for the whole client area.
    void Invalidate(const QRect& area, bool erase);
    // Runs the paint pass when anything is invalid; the widget's paint event calls it.
    void PaintPass();
    // Blits the back buffer over the given area of the widget (inside a paint event).
    void Present(const QRect& area);

    void EnsureScrollBar(int bar);
    void UpdateScrollBar(int bar);
    void LayoutScrollBars();
    void NotifySizeIfChanged();
    // The thickness of the window's scroll bars.
    int ScrollBarExtent() const;
    // The client area as it is with no scroll bar shown.
    QSize BareClientSize() const;

    UINT_PTR StartTimer(UINT_PTR timerId, UINT elapse);
    bool StopTimer(UINT_PTR timerId);

    // Extra widgets whose events count as this window's (a control's inner viewport).
    void AddEventSource(QWidget* inner);

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool TranslateEvent(QWidget* source, QEvent* event);
    bool TranslateMouse(QWidget* source, QMouseEvent* event);
    bool TranslateKey(QKeyEvent* event);
    void SendSetCursor(UINT mouseMessage);
    void OnScrollAction(int bar, int action);
    void OnScrollReleased(int bar);
    void QueueSizeNotice();
    void SendQueuedSizeNotice();
};

// Binds a widget made elsewhere (a control built from a dialog template, a frame's
// helper area) to a new handle of the given class; the widget owns the handle.
HWND AfxCreateWindowHandle(QWidget* widget, LPCTSTR className, DWORD style, DWORD exStyle, UINT id);
HWND AfxHandleFromWidget(const QWidget* widget); // nullptr when it has no live handle
QWidget* AfxWidgetFromHandle(HWND hWnd);          // nullptr for a stale or destroyed handle
bool AfxIsLiveHandle(HWND hWnd);
// Frees the back buffers of windows that are hidden or covered entirely by other windows
// (a window under its own children, the documents behind a maximized one): their pixels
// cannot show, and a window that shows again repaints in full.
void AfxReleaseCoveredBackBuffers();
// The nearest ancestor widget's live handle within the same top-level window, or nullptr.
HWND AfxParentHandle(HWND hWnd);
HWND AfxTopLevelHandle(HWND hWnd);
// Direct window children in creation order (owned top-level windows excluded).
std::vector<HWND> AfxChildHandles(HWND hWnd);
// Top-level windows owned by this one.
std::vector<HWND> AfxOwnedHandles(HWND hWnd);
// A new widget for a plain self-painted window.
QWidget* AfxNewPlainWindowWidget(QWidget* parent);

// The Qt cursor of a cursor handle (the arrow for a null one).
QCursor AfxQtCursor(HCURSOR hCursor);

// Mouse capture and the window whose WM_SETCURSOR is being handled.
HWND AfxCaptureHandle();
void AfxSetCaptureHandle(HWND hWnd);
HWND AfxCursorTargetHandle();
// The application's (or the window tree's) pre-translation of an input message.
BOOL AfxPreTranslateInput(MSG& msg);
// Destroys a window and its children: WM_DESTROY parent first, WM_NCDESTROY children first.
BOOL AfxDestroyWindowHandle(HWND hWnd);

// The message being handled, innermost first (Default() and GetCurrentMessage read it).
struct AfxMessageFrame {
    HWND hWnd = nullptr;
    MSG msg{};
    bool fromQt = false;   // translated from a Qt event, whose own handling is the default
    bool passToQt = false; // a handler asked for that default
    AfxMessageFrame* outer = nullptr;
};
AfxMessageFrame* AfxCurrentMessageFrame();

// Keyboard translation and key state (KeyState.cpp).
int AfxVirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);
void AfxInstallKeyStateTracker();
// Test scripts fix the state of a key: 1 down, 0 up, -1 back to the real keyboard.
void AfxSetScriptedKeyState(int virtualKey, int state);
void AfxClearScriptedKeyStates();

// Places the window's menu bar across the top of its widget; its height, 0 without one.
int AfxPlaceMenuBar(HWND hWnd);
QWidget* AfxMenuBarWidget(HWND hWnd);

// Sends WM_CANCELMODE to the window holding the mouse capture; a modal loop calls this
// before it starts, so no control keeps the mouse.
void AfxCancelCaptureForModal();
// A top-level window just shown reaches the screen only once the display has mapped it;
// this waits for that (bounded, user input held back), so that a window painted "now"
// is seen even when a long step follows before the event loop runs again. True when it
// had to wait.
bool AfxWaitUntilExposed(QWidget* window);
// Paints a shown top-level window and everything in it at once and hands it to the
// display.
void AfxPaintWindowNow(QWidget* window);
// Ensures the Qt application object exists (tests and libraries create windows without
// a program's main function); returns false when no GUI can be started.
bool AfxEnsureGuiApplication();
