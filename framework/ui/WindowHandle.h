#pragma once
// The platform side of a window handle (framework/ui only; the Parts never include it).
//
// A handle belongs to one widget and lives as a QObject child of it. It translates the
// widget's Qt events into window messages for the window's C++ object, keeps the
// window's back buffer, timers and scroll bars, and carries the posted messages.
// Widgets without a handle (Qt's own helpers inside a control) are transparent: the
// window tree is the widget tree with them left out.
#include "framework/core/CString.h"
#include "framework/ui/UiDefs.h"

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
class QScrollBar;
class QTimer;

// A window class: how windows of one class name behave below their C++ objects.
struct WindowClassInfo {
    std::string name; // compared without regard to case
    UINT style = 0;   // CS_ flags
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    // Makes the widget of a new window; unset: a plain window that paints itself.
    std::function<QWidget*(const CREATESTRUCT& cs, QWidget* parent)> createWidget;
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

    QPointer<QWidget> widget;
    const WindowClassInfo* windowClass = nullptr;
    CWnd* permanent = nullptr;
    std::unique_ptr<CWnd> temporary;
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT id = 0;
    HWND owner = nullptr;
    HFONT font = nullptr;
    bool destroyed = false;
    bool selfPainted = false; // paints through WM_ERASEBKGND and WM_PAINT into the back buffer

    // Painting state of a self-painted window, in client coordinates.
    QImage backBuffer;
    QRegion invalid;
    bool eraseNeeded = true;
    QRect paintRect; // the area of the paint pass under way

    // Last size and position told by WM_SIZE and WM_MOVE.
    QSize notifiedSize{-1, -1};

    // The window's own scroll bars.
    struct ScrollState {
        QScrollBar* bar = nullptr;
        int minPos = 0;
        int maxPos = 0;
        UINT page = 0;
        int pos = 0;
        bool visible = false;
    };
    ScrollState scroll[2];

    struct TimerState {
        std::unique_ptr<QTimer> timer;
        bool pending = false;
    };
    std::map<UINT_PTR, TimerState> timers;

    // Sends a message to the window's C++ object (permanent or temporary).
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    void Post(UINT message, WPARAM wParam, LPARAM lParam);

    // Client area within the widget (left of and above the scroll bars).
    QRect ClientRect() const;
    void LayoutScrollBars();
    // Runs the paint pass when anything is invalid; called from the widget's paint event.
    void PaintPass();
    // Blits the back buffer over the given area of the widget (inside a paint event).
    void Present(const QRect& area);

    // Extra widgets whose events count as this window's (a control's inner viewport).
    void AddEventSource(QWidget* inner);

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool TranslateEvent(QWidget* source, QEvent* event);
    void OnScrollAction(int bar, int action);
    void OnScrollReleased(int bar);
};

// Binds a widget made elsewhere (a control built from a dialog template, a frame's
// helper area) to a new handle of the given class; the widget owns the handle.
HWND AfxCreateWindowHandle(QWidget* widget, LPCTSTR className, DWORD style, DWORD exStyle, UINT id);
HWND AfxHandleFromWidget(const QWidget* widget); // nullptr when it has no live handle
QWidget* AfxWidgetFromHandle(HWND hWnd);          // nullptr for a stale or destroyed handle
// The nearest ancestor widget's live handle (the window-tree parent), or nullptr.
HWND AfxParentHandle(HWND hWnd);
// Direct window children in creation order (owned top-level windows excluded).
std::vector<HWND> AfxChildHandles(HWND hWnd);
// Destroys a window and its children: WM_DESTROY parent first, WM_NCDESTROY children first.
BOOL AfxDestroyWindowHandle(HWND hWnd);

// Sends WM_CANCELMODE to the window holding the mouse capture; a modal loop calls this
// before it starts, as the classic system does.
void AfxCancelCaptureForModal();
// Ensures the Qt application object exists (tests and libraries create windows without
// a program's main function); returns false when no GUI can be started.
bool AfxEnsureGuiApplication();
