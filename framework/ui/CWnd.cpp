#include "framework/ui/CWnd.h"

#include "framework/gdi/CDC.h"
#include "framework/gdi/GdiQt.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/CPaintDC.h"
#include "framework/ui/CScrollBar.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/WindowHandle.h"
#include "framework/ui/WindowManager.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {

// The widget SetFocus last aimed at: a window that is not active (a dialog driven
// without a display) keeps its focus child without Qt reporting a focus widget.
QPointer<QWidget> g_focusRequest;

CPoint PointFromParam(LPARAM lParam)
{
    return {SHORT(LOWORD(DWORD(lParam))), SHORT(HIWORD(DWORD(lParam)))};
}

// A scroll bar control's own object, or nullptr (a window's own bars have no object).
CScrollBar* AsScrollBar(CWnd* wnd)
{
    return dynamic_cast<CScrollBar*>(wnd);
}

// Copies as much of text as fits in size bytes with its NUL, never half a character.
int CopyText(const std::string& text, char* buffer, int size)
{
    if (buffer == nullptr || size <= 0)
        return 0;
    std::size_t count = std::min(text.size(), std::size_t(size - 1));
    while (count > 0 && count < text.size() && (static_cast<unsigned char>(text[count]) & 0xC0) == 0x80)
        --count;
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return int(count);
}

QRect ToQRect(const RECT& r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

RECT FromQRect(const QRect& r)
{
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

WindowHandle* Live(HWND hWnd)
{
    return AfxIsLiveHandle(hWnd) ? hWnd : nullptr;
}

QWidget* WidgetOf(HWND hWnd)
{
    return AfxWidgetFromHandle(hWnd);
}

// A top-level window's rectangle with its frame. Before the window is first shown the
// platform does not know its frame yet; the frame of the main window, on the screen
// already, stands in for it (a move before showing places the outer corner).
QRect OuterGeometry(QWidget* widget)
{
    if (widget->isVisible())
        return widget->frameGeometry();
    QMargins frame;
    CWnd* mainWnd = AfxGetMainWnd();
    QWidget* shown = mainWnd != nullptr ? WidgetOf(mainWnd->GetSafeHwnd()) : nullptr;
    if (shown != nullptr && shown != widget && shown->isWindow() && shown->isVisible()) {
        const QRect outer = shown->frameGeometry();
        const QRect inner = shown->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    }
    return QRect(widget->pos(), widget->size().grownBy(frame));
}

// Sets the cursor a class asks for over its window.
void ApplyClassCursor(WindowHandle* handle)
{
    HCURSOR cursor = handle->windowClass != nullptr ? handle->windowClass->cursor : nullptr;
    SetCursor(cursor != nullptr ? cursor : LoadCursor(nullptr, IDC_ARROW));
}

// The default class erases to the window colour; a registered class with its brush, or
// not at all when it has none (its windows paint every pixel themselves).
BOOL EraseWithClassBrush(WindowHandle* handle, HDC hdc)
{
    CDC* dc = CDC::FromHandle(hdc);
    if (dc == nullptr)
        return FALSE;
    const QRect client = handle->ClientRect();
    CRect rect(0, 0, client.width(), client.height());
    if (handle->windowClass == nullptr) {
        CBrush window(RGB(255, 255, 255));
        dc->FillRect(&rect, &window);
        return TRUE;
    }
    HBRUSH brush = handle->windowClass->background;
    if (brush == nullptr)
        return FALSE;
    dc->FillRect(&rect, CBrush::FromHandle(brush));
    return TRUE;
}

LRESULT GenericDefWindowProc(WindowHandle* handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    QWidget* widget = handle->widget.data();
    switch (message) {
    case WM_SETTEXT:
        if (widget != nullptr)
            widget->setWindowTitle(QString::fromUtf8(lParam != 0 ? reinterpret_cast<const char*>(lParam) : ""));
        return TRUE;
    case WM_GETTEXT:
        return widget != nullptr ? CopyText(widget->windowTitle().toStdString(), reinterpret_cast<char*>(lParam), int(wParam)) : 0;
    case WM_GETTEXTLENGTH:
        return widget != nullptr ? LRESULT(widget->windowTitle().toUtf8().size()) : 0;
    case WM_CLOSE:
        DestroyWindow(handle);
        return 0;
    case WM_ERASEBKGND:
        return EraseWithClassBrush(handle, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(handle, &ps);
        EndPaint(handle, &ps);
        return 0;
    }
    case WM_SETCURSOR: {
        // The parent may set the cursor for its children.
        if (HWND parent = AfxParentHandle(handle); parent != nullptr && parent->Send(WM_SETCURSOR, wParam, lParam) != 0)
            return TRUE;
        if (LOWORD(DWORD(lParam)) == HTCLIENT && handle == reinterpret_cast<HWND>(wParam))
            ApplyClassCursor(handle);
        return FALSE;
    }
    case WM_MOUSEACTIVATE:
        if (HWND parent = AfxParentHandle(handle)) {
            if (const LRESULT answer = parent->Send(WM_MOUSEACTIVATE, wParam, lParam))
                return answer;
        }
        return MA_ACTIVATE;
    case WM_CONTEXTMENU:
        if (HWND parent = AfxParentHandle(handle))
            parent->Send(WM_CONTEXTMENU, wParam, lParam);
        return 0;
    case WM_SETFONT: {
        auto hfont = reinterpret_cast<HFONT>(wParam);
        handle->font = hfont;
        CGdiObject* object = hfont != nullptr ? CGdiObject::FromHandle(hfont) : nullptr;
        handle->fontKeepAlive = object != nullptr ? object->SharedHandle() : nullptr;
        if (widget != nullptr && hfont != nullptr) {
            const int dpi = widget->logicalDpiY() > 0 ? widget->logicalDpiY() : 96;
            widget->setFont(GdiWidgetFont(hfont, dpi));
        }
        if (widget != nullptr && LOWORD(DWORD(lParam)) != 0)
            widget->update();
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(handle->font);
    case WM_SETREDRAW:
        if (widget != nullptr)
            widget->setUpdatesEnabled(wParam != 0);
        return 0;
    case WM_CANCELMODE:
        if (AfxCaptureHandle() == handle)
            ReleaseCapture();
        return 0;
    default:
        return 0;
    }
}

// Applies an idle update to one control of a dialog bar or dialog.
class CControlCmdUI final : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        if (m_pOther != nullptr)
            m_pOther->EnableWindow(bOn);
    }
    void SetCheck(int nCheck) override
    {
        constexpr UINT kButtonSetCheck = 0x00F1;
        if (m_pOther != nullptr)
            m_pOther->SendMessage(kButtonSetCheck, WPARAM(nCheck), 0);
    }
    void SetText(LPCTSTR lpszText) override
    {
        if (m_pOther != nullptr)
            m_pOther->SetWindowText(lpszText);
    }
};

bool IsButtonClass(HWND hWnd)
{
    return hWnd->windowClass != nullptr && hWnd->windowClass->name.size() == 6 &&
           QString::fromStdString(hWnd->windowClass->name).compare("BUTTON", Qt::CaseInsensitive) == 0;
}

} // namespace

// ==================================================================== object and handle

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    WindowHandle* handle = Live(m_hWnd);
    if (handle != nullptr && handle->permanent == this)
        DestroyWindow();
    if (m_hWnd != nullptr && AfxIsLiveHandle(m_hWnd) && m_hWnd->permanent == this)
        m_hWnd->permanent = nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    WindowHandle* handle = Live(hWnd);
    return handle != nullptr ? handle->Object() : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    WindowHandle* handle = Live(hWnd);
    return handle != nullptr ? handle->permanent : nullptr;
}

BOOL CWnd::Attach(HWND hWndNew)
{
    WindowHandle* handle = Live(hWndNew);
    if (handle == nullptr || m_hWnd != nullptr || handle->permanent != nullptr)
        return FALSE;
    handle->permanent = this;
    m_hWnd = handle;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (WindowHandle* handle = Live(hWnd); handle != nullptr && handle->permanent == this)
        handle->permanent = nullptr;
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (pParent == nullptr)
        return FALSE;
    HWND control = ::GetDlgItem(pParent->m_hWnd, int(nID));
    return control != nullptr && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow()
{
    return Detach();
}

// ==================================================================== creation

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    const bool child = (dwStyle & WS_CHILD) != 0;
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                    child ? reinterpret_cast<HMENU>(std::uintptr_t(nID)) : nullptr, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != nullptr || !AfxEnsureGuiApplication())
        return FALSE;

    CREATESTRUCT cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = LONG(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    const bool child = (DWORD(cs.style) & WS_CHILD) != 0;
    QWidget* parentWidget = WidgetOf(cs.hwndParent);
    if (child && parentWidget == nullptr)
        return FALSE;
    // A top-level window with an owner stays on top of it and goes with it.
    QWidget* qtParent = child ? parentWidget : (parentWidget != nullptr ? parentWidget->window() : nullptr);

    const WindowClassInfo* windowClass = AfxFindWindowClass(cs.lpszClass);
    QWidget* widget = windowClass != nullptr && windowClass->createWidget ? windowClass->createWidget(cs, qtParent)
                                                                          : AfxNewPlainWindowWidget(qtParent);
    if (widget == nullptr)
        return FALSE;
    if (!child)
        widget->setWindowFlags(widget->windowFlags() | Qt::Window);

    const UINT id = child ? UINT(reinterpret_cast<std::uintptr_t>(cs.hMenu)) : 0;
    auto* handle = new WindowHandle(widget, windowClass, DWORD(cs.style), cs.dwExStyle, id);
    handle->owner = child ? nullptr : Live(cs.hwndParent);
    if (cs.lpszName != nullptr && (windowClass == nullptr || !windowClass->createWidget))
        widget->setWindowTitle(QString::fromUtf8(cs.lpszName));
    widget->setGeometry(cs.x, cs.y, std::max(cs.cx, 0), std::max(cs.cy, 0));
    if (DWORD(cs.style) & WS_DISABLED)
        widget->setEnabled(false);
    Attach(handle);
    handle->UpdateScrollBar(SB_HORZ);
    handle->UpdateScrollBar(SB_VERT);
    handle->LayoutScrollBars();

    // Qt's events translate into messages once WM_CREATE has been answered.
    QPointer<WindowHandle> guard(handle);
    if (handle->Send(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        // The object hears WM_DESTROY and WM_NCDESTROY and may delete itself meanwhile.
        if (guard)
            AfxDestroyWindowHandle(guard);
        return FALSE;
    }
    if (!guard || !AfxIsLiveHandle(guard))
        return FALSE;
    handle->created = true;
    handle->NotifySizeIfChanged();
    if (guard && AfxIsLiveHandle(guard) && (DWORD(cs.style) & WS_VISIBLE))
        widget->show();
    return guard && AfxIsLiveHandle(guard);
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    return AfxDestroyWindowHandle(m_hWnd);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

// ==================================================================== messages

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 0;
    BOOL handled = FALSE;
    if (message == WM_COMMAND) {
        handled = OnCommand(wParam, lParam);
        result = handled ? 1 : 0;
    } else if (message == WM_NOTIFY) {
        handled = OnNotify(wParam, lParam, &result);
    } else if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
               entry != nullptr && entry->nSig == AfxSig::Message) {
        AfxMsgCall call;
        call.wParam = wParam;
        call.lParam = lParam;
        result = entry->pfn(this, call);
        handled = TRUE;
    } else {
        handled = DispatchToHandler(message, wParam, lParam, result);
    }
    if (handled && pResult != nullptr)
        *pResult = result;
    return handled;
}

BOOL CWnd::DispatchToHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const UINT lo = LOWORD(DWORD(lParam));
    const UINT hi = HIWORD(DWORD(lParam));
    switch (message) {
    case WM_CREATE: result = OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)); return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    case WM_NCDESTROY: OnNcDestroy(); return TRUE;
    case WM_SIZE: OnSize(UINT(wParam), int(lo), int(hi)); return TRUE;
    case WM_MOVE: OnMove(SHORT(lo), SHORT(hi)); return TRUE;
    case WM_PAINT: OnPaint(); return TRUE;
    case WM_ERASEBKGND: result = OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam))); return TRUE;
    case WM_TIMER: OnTimer(UINT_PTR(wParam)); return TRUE;
    case WM_CLOSE: OnClose(); return TRUE;
    case WM_SHOWWINDOW: OnShowWindow(BOOL(wParam), UINT(lParam)); return TRUE;
    case WM_ENABLE: OnEnable(BOOL(wParam)); return TRUE;
    case WM_LBUTTONDOWN: OnLButtonDown(UINT(wParam), PointFromParam(lParam)); return TRUE;
    case WM_LBUTTONUP: OnLButtonUp(UINT(wParam), PointFromParam(lParam)); return TRUE;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(UINT(wParam), PointFromParam(lParam)); return TRUE;
    case WM_RBUTTONDOWN: OnRButtonDown(UINT(wParam), PointFromParam(lParam)); return TRUE;
    case WM_RBUTTONUP: OnRButtonUp(UINT(wParam), PointFromParam(lParam)); return TRUE;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(UINT(wParam), PointFromParam(lParam)); return TRUE;
    case WM_MBUTTONDOWN: OnMButtonDown(UINT(wParam), PointFromParam(lParam)); return TRUE;
    case WM_MBUTTONUP: OnMButtonUp(UINT(wParam), PointFromParam(lParam)); return TRUE;
    case WM_MBUTTONDBLCLK: OnMButtonDblClk(UINT(wParam), PointFromParam(lParam)); return TRUE;
    case WM_MOUSEMOVE: OnMouseMove(UINT(wParam), PointFromParam(lParam)); return TRUE;
    case WM_KEYDOWN: OnKeyDown(UINT(wParam), lo, hi); return TRUE;
    case WM_KEYUP: OnKeyUp(UINT(wParam), lo, hi); return TRUE;
    case WM_CHAR: OnChar(UINT(wParam), lo, hi); return TRUE;
    case WM_SYSKEYDOWN: OnSysKeyDown(UINT(wParam), lo, hi); return TRUE;
    case WM_SYSKEYUP: OnSysKeyUp(UINT(wParam), lo, hi); return TRUE;
    case WM_SETCURSOR: result = OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)), lo, hi); return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL: {
        CWnd* bar = FromHandle(reinterpret_cast<HWND>(lParam));
        const UINT code = LOWORD(DWORD(wParam));
        const UINT pos = HIWORD(DWORD(wParam));
        if (message == WM_HSCROLL)
            OnHScroll(code, pos, AsScrollBar(bar));
        else
            OnVScroll(code, pos, AsScrollBar(bar));
        return TRUE;
    }
    case WM_CONTEXTMENU: OnContextMenu(FromHandle(reinterpret_cast<HWND>(wParam)), PointFromParam(lParam)); return TRUE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        result = reinterpret_cast<LRESULT>(OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                      FromHandle(reinterpret_cast<HWND>(lParam)),
                                                      message - WM_CTLCOLORMSGBOX));
        return TRUE;
    case WM_SETFOCUS: OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return TRUE;
    case WM_KILLFOCUS: OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return TRUE;
    case WM_CANCELMODE: OnCancelMode(); return TRUE;
    case WM_MOUSEACTIVATE: result = OnMouseActivate(FromHandle(reinterpret_cast<HWND>(wParam)), lo, hi); return TRUE;
    case WM_DRAWITEM: OnDrawItem(int(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); result = TRUE; return TRUE;
    case WM_MEASUREITEM: OnMeasureItem(int(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); result = TRUE; return TRUE;
    case WM_COMPAREITEM: result = OnCompareItem(int(wParam), reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)); return TRUE;
    case WM_DELETEITEM: OnDeleteItem(int(wParam), reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)); result = TRUE; return TRUE;
    case WM_WININICHANGE: OnWinIniChange(reinterpret_cast<LPCTSTR>(lParam)); return TRUE;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), lo, BOOL(hi));
        return TRUE;
    default: return FALSE;
    }
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // For a message translated from a Qt event, the default includes Qt's own handling.
    if (AfxMessageFrame* frame = AfxCurrentMessageFrame();
        frame != nullptr && frame->fromQt && frame->hWnd == m_hWnd && frame->msg.message == message)
        frame->passToQt = true;
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    AfxMessageFrame* frame = AfxCurrentMessageFrame();
    if (frame == nullptr)
        return 0;
    return DefWindowProc(frame->msg.message, frame->msg.wParam, frame->msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() const
{
    AfxMessageFrame* frame = AfxCurrentMessageFrame();
    return frame != nullptr ? &frame->msg : nullptr;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    if (pMsg == nullptr)
        return FALSE;
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = AfxParentHandle(hWnd)) {
        if (CWnd* wnd = FromHandlePermanent(hWnd); wnd != nullptr && wnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(DWORD(wParam));
    auto hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(DWORD(wParam));
    if (hWndCtrl == nullptr) {
        if (nID == 0)
            return FALSE;
        // A command from a menu, key or PostMessage runs only while its item is enabled.
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else {
        // The control may handle its own notification first.
        if (CWnd* control = FromHandlePermanent(hWndCtrl)) {
            LRESULT result = 0;
            if (control->OnChildNotify(WM_COMMAND, wParam, lParam, &result))
                return TRUE;
        }
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr)
        return FALSE;
    if (CWnd* control = FromHandlePermanent(header->hwndFrom)) {
        if (control->OnChildNotify(WM_NOTIFY, WPARAM(header->idFrom), lParam, pResult))
            return TRUE;
    }
    AFX_NOTIFY notify;
    notify.pResult = pResult;
    notify.pNMHDR = header;
    return OnCmdMsg(UINT(header->idFrom), int(MAKELONG(WORD(header->code), WORD(WM_NOTIFY))), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_COMMAND: {
        const int code = HIWORD(DWORD(wParam));
        return DispatchOwnCmdMsg(0, int(MAKELONG(WORD(code), WORD(WM_REFLECT_BASE + WM_COMMAND))), nullptr, nullptr);
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header == nullptr)
            return FALSE;
        AFX_NOTIFY notify;
        notify.pResult = pResult;
        notify.pNMHDR = header;
        return DispatchOwnCmdMsg(0, int(MAKELONG(WORD(header->code), WORD(WM_REFLECT_BASE + WM_NOTIFY))), &notify, nullptr);
    }
    default:
        return FALSE;
    }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* child = FromHandlePermanent(hWndChild);
    AfxMessageFrame* frame = AfxCurrentMessageFrame();
    if (child == nullptr || frame == nullptr)
        return FALSE;
    LRESULT ignored = 0;
    return child->OnChildNotify(frame->msg.message, frame->msg.wParam, frame->msg.lParam,
                                pResult != nullptr ? pResult : &ignored);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) const
{
    SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    for (HWND child : AfxChildHandles(hWnd)) {
        if (!AfxIsLiveHandle(child))
            continue;
        if (!bOnlyPerm)
            child->Send(message, wParam, lParam);
        else if (child->permanent != nullptr)
            child->Send(message, wParam, lParam);
        if (bDeep && AfxIsLiveHandle(child))
            SendMessageToDescendants(child, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessage(::GetDlgItem(m_hWnd, nID), message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void*)
{
    WindowHandle* handle = Live(m_hWnd);
    return handle != nullptr ? handle->StartTimer(nIDEvent, nElapse) : 0;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    WindowHandle* handle = Live(m_hWnd);
    return handle != nullptr && handle->StopTimer(nIDEvent);
}

// ==================================================================== state

BOOL CWnd::ShowWindow(int nCmdShow)
{
    QWidget* widget = WidgetOf(m_hWnd);
    if (widget == nullptr)
        return FALSE;
    const BOOL wasVisible = !widget->isHidden();
    switch (nCmdShow) {
    case SW_HIDE:
        widget->hide();
        break;
    case SW_SHOWMAXIMIZED:
        if (widget->isWindow()) {
            // With nobody to carry the request out the window takes the screen's room itself.
            if (!AfxWindowManagerRuns())
                widget->setGeometry(AfxAvailableScreenArea(*widget));
            widget->showMaximized();
        } else {
            widget->show();
        }
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        if (widget->isWindow())
            widget->showMinimized();
        else
            widget->show();
        break;
    case SW_RESTORE:
        if (widget->isWindow())
            widget->showNormal();
        else
            widget->show();
        break;
    default:
        widget->show();
        break;
    }
    if (WindowHandle* handle = Live(m_hWnd))
        handle->NotifySizeIfChanged();
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    QWidget* widget = WidgetOf(m_hWnd);
    return widget != nullptr && widget->isVisible();
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    QWidget* widget = WidgetOf(m_hWnd);
    if (widget == nullptr)
        return FALSE;
    const BOOL wasDisabled = widget->testAttribute(Qt::WA_ForceDisabled);
    widget->setEnabled(bEnable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    QWidget* widget = WidgetOf(m_hWnd);
    return widget != nullptr && !widget->testAttribute(Qt::WA_ForceDisabled);
}

BOOL CWnd::IsIconic() const
{
    QWidget* widget = WidgetOf(m_hWnd);
    return widget != nullptr && widget->isMinimized();
}

BOOL CWnd::IsZoomed() const
{
    QWidget* widget = WidgetOf(m_hWnd);
    return widget != nullptr && widget->isMaximized();
}

DWORD CWnd::GetStyle() const
{
    WindowHandle* handle = Live(m_hWnd);
    if (handle == nullptr || !handle->widget)
        return 0;
    DWORD style = handle->style & ~(WS_VISIBLE | WS_DISABLED);
    if (!handle->widget->isHidden())
        style |= WS_VISIBLE;
    if (handle->widget->testAttribute(Qt::WA_ForceDisabled))
        style |= WS_DISABLED;
    return style;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT)
{
    WindowHandle* handle = Live(m_hWnd);
    if (handle == nullptr)
        return FALSE;
    const DWORD before = GetStyle();
    const DWORD after = (before & ~dwRemove) | dwAdd;
    if (before == after)
        return FALSE;
    handle->style = after & ~(WS_VISIBLE | WS_DISABLED);
    if ((before ^ after) & WS_DISABLED)
        EnableWindow((after & WS_DISABLED) == 0);
    if ((before ^ after) & WS_VISIBLE)
        ShowWindow((after & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    if ((before ^ after) & (WS_HSCROLL | WS_VSCROLL)) {
        handle->UpdateScrollBar(SB_HORZ);
        handle->UpdateScrollBar(SB_VERT);
    }
    return TRUE;
}

void CWnd::SetWindowText(LPCTSTR lpszString)
{
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString != nullptr ? lpszString : ""));
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
{
    if (lpszStringBuf == nullptr || nMaxCount <= 0)
        return 0;
    lpszStringBuf[0] = '\0';
    return int(SendMessage(WM_GETTEXT, WPARAM(nMaxCount), reinterpret_cast<LPARAM>(lpszStringBuf)));
}

void CWnd::GetWindowText(CString& rString) const
{
    const int length = GetWindowTextLength();
    if (length <= 0) {
        rString.Empty();
        return;
    }
    char* buffer = rString.GetBuffer(length + 1);
    GetWindowText(buffer, length + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const
{
    return int(SendMessage(WM_GETTEXTLENGTH, 0, 0));
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont != nullptr ? pFont->GetSafeHandle() : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const
{
    auto hfont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0));
    return hfont != nullptr ? CFont::FromHandle(hfont) : nullptr;
}

// ==================================================================== geometry

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    if (lpRect == nullptr)
        return;
    *lpRect = RECT{};
    QWidget* widget = WidgetOf(m_hWnd);
    if (widget == nullptr)
        return;
    if (widget->isWindow()) {
        *lpRect = FromQRect(widget->frameGeometry());
        return;
    }
    *lpRect = FromQRect(QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    if (lpRect == nullptr)
        return;
    WindowHandle* handle = Live(m_hWnd);
    *lpRect = handle != nullptr ? FromQRect(handle->ClientRect()) : RECT{};
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    QWidget* widget = WidgetOf(m_hWnd);
    if (widget == nullptr || lpPoint == nullptr)
        return;
    const QPoint global = widget->mapToGlobal(QPoint(lpPoint->x, lpPoint->y));
    *lpPoint = POINT{global.x(), global.y()};
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    QWidget* widget = WidgetOf(m_hWnd);
    if (widget == nullptr || lpPoint == nullptr)
        return;
    const QPoint local = widget->mapFromGlobal(QPoint(lpPoint->x, lpPoint->y));
    *lpPoint = POINT{local.x(), local.y()};
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    if (lpRect == nullptr)
        return;
    POINT topLeft{lpRect->left, lpRect->top};
    POINT bottomRight{lpRect->right, lpRect->bottom};
    ScreenToClient(&topLeft);
    ScreenToClient(&bottomRight);
    *lpRect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    SetWindowPos(nullptr, x, y, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    if (lpRect != nullptr)
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    WindowHandle* handle = Live(m_hWnd);
    QWidget* widget = handle != nullptr ? handle->widget.data() : nullptr;
    if (widget == nullptr)
        return FALSE;
    if ((nFlags & SWP_NOMOVE) == 0) {
        QPoint position(x, y);
        // Child coordinates are the parent window's client coordinates, which may sit in a
        // helper widget of the parent.
        if (!widget->isWindow()) {
            QWidget* parentWindow = WidgetOf(AfxParentHandle(handle));
            QWidget* direct = widget->parentWidget();
            if (parentWindow != nullptr && direct != nullptr && parentWindow != direct)
                position = direct->mapFrom(parentWindow, position);
        }
        widget->move(position);
    }
    if ((nFlags & SWP_NOSIZE) == 0)
        widget->resize(std::max(cx, 0), std::max(cy, 0));
    if ((nFlags & SWP_NOZORDER) == 0 && pWndInsertAfter == nullptr)
        widget->raise();
    if (nFlags & SWP_SHOWWINDOW)
        widget->show();
    if (nFlags & SWP_HIDEWINDOW)
        widget->hide();
    handle->LayoutScrollBars();
    handle->NotifySizeIfChanged();
    return TRUE;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    QWidget* widget = WidgetOf(m_hWnd);
    if (widget == nullptr)
        return;
    CRect area;
    CWnd* center = pAlternateOwner != nullptr ? pAlternateOwner : (widget->isWindow() ? GetOwner() : GetParent());
    if (!widget->isWindow()) {
        if (center == nullptr)
            return;
        center->GetClientRect(&area);
    } else if (center != nullptr && center->IsWindowVisible()) {
        center->GetWindowRect(&area);
    } else if (QScreen* screen = widget->screen()) {
        area = FromQRect(screen->availableGeometry());
    }
    const CRect own = widget->isWindow() ? FromQRect(OuterGeometry(widget)) : [this] {
        CRect rect;
        GetWindowRect(&rect);
        return rect;
    }();
    const int left = area.left + (area.Width() - own.Width()) / 2;
    const int top = area.top + (area.Height() - own.Height()) / 2;
    SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (widget->isWindow())
        AfxKeepOnScreen(*this);
}

void AfxKeepOnScreen(CWnd& window)
{
    QWidget* widget = WidgetOf(window.GetSafeHwnd());
    if (widget == nullptr || !widget->isWindow())
        return;
    const CRect own = FromQRect(OuterGeometry(widget));
    QScreen* screen = QGuiApplication::screenAt(ToQRect(own).center());
    if (screen == nullptr)
        screen = widget->screen() != nullptr ? widget->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const CRect area = FromQRect(screen->availableGeometry());
    // Too large for the area: its top left corner stays in sight, where title and first
    // controls are.
    const int left = std::max(area.left, std::min(own.left, area.right - own.Width()));
    const int top = std::max(area.top, std::min(own.top, area.bottom - own.Height()));
    if (left != own.left || top != own.top)
        window.SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::BringWindowToTop()
{
    if (QWidget* widget = WidgetOf(m_hWnd))
        widget->raise();
}

// ==================================================================== relations

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetOwner() const
{
    WindowHandle* handle = Live(m_hWnd);
    if (handle == nullptr)
        return nullptr;
    return handle->owner != nullptr ? FromHandle(handle->owner) : GetParent();
}

CWnd* CWnd::GetTopLevelParent() const
{
    return FromHandle(AfxTopLevelHandle(m_hWnd));
}

BOOL CWnd::IsChild(const CWnd* pWnd) const
{
    if (pWnd == nullptr)
        return FALSE;
    for (HWND h = AfxParentHandle(pWnd->m_hWnd); h != nullptr; h = AfxParentHandle(h)) {
        if (h == m_hWnd)
            return TRUE;
    }
    return FALSE;
}

CWnd* CWnd::GetWindow(UINT nCmd) const
{
    if (nCmd == GW_CHILD) {
        const std::vector<HWND> children = AfxChildHandles(m_hWnd);
        return children.empty() ? nullptr : FromHandle(children.front());
    }
    if (nCmd == GW_OWNER) {
        WindowHandle* handle = Live(m_hWnd);
        return handle != nullptr ? FromHandle(handle->owner) : nullptr;
    }
    HWND parent = AfxParentHandle(m_hWnd);
    if (parent == nullptr)
        return nullptr;
    const std::vector<HWND> siblings = AfxChildHandles(parent);
    const auto it = std::find(siblings.begin(), siblings.end(), m_hWnd);
    if (it == siblings.end())
        return nullptr;
    switch (nCmd) {
    case GW_HWNDFIRST: return FromHandle(siblings.front());
    case GW_HWNDLAST: return FromHandle(siblings.back());
    case GW_HWNDNEXT: return it + 1 != siblings.end() ? FromHandle(*(it + 1)) : nullptr;
    case GW_HWNDPREV: return it != siblings.begin() ? FromHandle(*(it - 1)) : nullptr;
    default: return nullptr;
    }
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

void CWnd::GetDlgItem(int nID, HWND* phWnd) const
{
    if (phWnd != nullptr)
        *phWnd = ::GetDlgItem(m_hWnd, nID);
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

int CWnd::SetDlgCtrlID(int nID)
{
    WindowHandle* handle = Live(m_hWnd);
    if (handle == nullptr)
        return 0;
    const int previous = int(handle->id);
    handle->id = UINT(nID);
    return previous;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    for (HWND child : AfxChildHandles(m_hWnd)) {
        if (int(child->id) == nID && (!bOnlyPerm || child->permanent != nullptr))
            return FromHandle(child);
    }
    for (HWND child : AfxChildHandles(m_hWnd)) {
        if (CWnd* found = FromHandle(child)->GetDescendantWindow(nID, bOnlyPerm))
            return found;
    }
    return nullptr;
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString)
{
    if (CWnd* item = GetDlgItem(nID))
        item->SetWindowText(lpszString);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    if (CWnd* item = GetDlgItem(nID))
        item->GetWindowText(rString);
    return rString.GetLength();
}

// ==================================================================== focus and capture

CWnd* CWnd::SetFocus()
{
    CWnd* previous = GetFocus();
    QWidget* widget = WidgetOf(m_hWnd);
    if (widget == nullptr)
        return previous;
    g_focusRequest = widget;
    widget->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetCapture()
{
    CWnd* previous = GetCapture();
    AfxSetCaptureHandle(Live(m_hWnd));
    return previous;
}

CWnd* CWnd::GetCapture()
{
    return FromHandle(AfxCaptureHandle());
}

// ==================================================================== painting

void CWnd::Invalidate(BOOL bErase)
{
    InvalidateRect(nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    WindowHandle* handle = Live(m_hWnd);
    if (handle == nullptr || !handle->widget)
        return;
    const QRect area = lpRect != nullptr ? ToQRect(*lpRect) : QRect();
    if (handle->selfPainted)
        handle->Invalidate(area, bErase != FALSE);
    else if (area.isNull())
        handle->widget->update();
    else
        handle->widget->update(area);
}

void CWnd::ValidateRect(LPCRECT lpRect)
{
    WindowHandle* handle = Live(m_hWnd);
    if (handle == nullptr)
        return;
    if (lpRect == nullptr)
        handle->invalid = QRegion();
    else
        handle->invalid -= ToQRect(*lpRect);
}

void CWnd::UpdateWindow()
{
    WindowHandle* handle = Live(m_hWnd);
    if (handle == nullptr || !handle->widget || handle->inPaintEvent || !handle->widget->isVisible())
        return;
    // A top-level window just shown is painted once the display shows it, and that paint
    // goes out at once: the program may go on without the event loop for a while.
    if (handle->widget->isWindow() && AfxWaitUntilExposed(handle->widget)) {
        handle = Live(m_hWnd);
        if (handle == nullptr || !handle->widget || !handle->widget->isVisible())
            return;
        AfxPaintWindowNow(handle->widget);
        return;
    }
    if (!handle->selfPainted) {
        handle->widget->repaint();
        return;
    }
    if (handle->invalid.isEmpty())
        return;
    // The buffer is brought up to date here and now, whether or not Qt can show it yet
    // (a window not yet exposed paints at its first expose from the buffer).
    const QRect area = handle->invalid.boundingRect();
    QPointer<WindowHandle> guard(handle);
    handle->PaintPass();
    if (guard && guard->widget)
        guard->widget->repaint(area);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, void*, UINT flags)
{
    if (Live(m_hWnd) == nullptr)
        return FALSE;
    if (flags & RDW_INVALIDATE)
        InvalidateRect(lpRectUpdate, (flags & RDW_ERASE) != 0);
    if (flags & RDW_VALIDATE)
        ValidateRect(lpRectUpdate);
    if (flags & RDW_ALLCHILDREN) {
        for (HWND child : AfxChildHandles(m_hWnd))
            FromHandle(child)->RedrawWindow(nullptr, nullptr, flags & ~(RDW_UPDATENOW | RDW_ERASENOW));
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        UpdateWindow();
        if (flags & RDW_ALLCHILDREN) {
            for (HWND child : AfxChildHandles(m_hWnd))
                FromHandle(child)->UpdateWindow();
        }
    }
    return TRUE;
}

void CWnd::SetRedraw(BOOL bRedraw)
{
    SendMessage(WM_SETREDRAW, WPARAM(bRedraw), 0);
}

// ==================================================================== scroll bars

namespace {

WindowHandle::ScrollState* ScrollOf(HWND hWnd, int nBar)
{
    WindowHandle* handle = Live(hWnd);
    if (handle == nullptr || (nBar != SB_HORZ && nBar != SB_VERT))
        return nullptr;
    return &handle->scroll[nBar];
}

// A bar keeps the position within nMin .. nMax - max(nPage - 1, 0), so the last page
// ends at nMax.
int ClampScrollPos(const WindowHandle::ScrollState& state, int pos)
{
    const int top = state.page > 0 ? std::max(state.minPos, state.maxPos - int(state.page) + 1) : state.maxPos;
    return std::clamp(pos, state.minPos, std::max(top, state.minPos));
}

} // namespace

int CWnd::SetScrollPos(int nBar, int nPos, BOOL)
{
    WindowHandle::ScrollState* state = ScrollOf(m_hWnd, nBar);
    if (state == nullptr)
        return 0;
    const int previous = state->pos;
    state->pos = ClampScrollPos(*state, nPos);
    m_hWnd->UpdateScrollBar(nBar);
    return previous;
}

int CWnd::GetScrollPos(int nBar) const
{
    const WindowHandle::ScrollState* state = ScrollOf(m_hWnd, nBar);
    return state != nullptr ? state->pos : 0;
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL)
{
    WindowHandle::ScrollState* state = ScrollOf(m_hWnd, nBar);
    if (state == nullptr)
        return;
    state->minPos = nMinPos;
    state->maxPos = std::max(nMinPos, nMaxPos);
    state->pos = ClampScrollPos(*state, state->pos);
    m_hWnd->UpdateScrollBar(nBar);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    const WindowHandle::ScrollState* state = ScrollOf(m_hWnd, nBar);
    if (lpMinPos != nullptr)
        *lpMinPos = state != nullptr ? state->minPos : 0;
    if (lpMaxPos != nullptr)
        *lpMaxPos = state != nullptr ? state->maxPos : 0;
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL)
{
    WindowHandle::ScrollState* state = ScrollOf(m_hWnd, nBar);
    if (state == nullptr || lpScrollInfo == nullptr)
        return FALSE;
    if (lpScrollInfo->fMask & SIF_RANGE) {
        state->minPos = lpScrollInfo->nMin;
        state->maxPos = std::max(lpScrollInfo->nMin, lpScrollInfo->nMax);
    }
    if (lpScrollInfo->fMask & SIF_PAGE)
        state->page = lpScrollInfo->nPage;
    if (lpScrollInfo->fMask & SIF_POS)
        state->pos = lpScrollInfo->nPos;
    state->pos = ClampScrollPos(*state, state->pos);
    m_hWnd->UpdateScrollBar(nBar);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) const
{
    const WindowHandle::ScrollState* state = ScrollOf(m_hWnd, nBar);
    if (state == nullptr || lpScrollInfo == nullptr)
        return FALSE;
    lpScrollInfo->fMask = nMask;
    if (nMask & SIF_RANGE) {
        lpScrollInfo->nMin = state->minPos;
        lpScrollInfo->nMax = state->maxPos;
    }
    if (nMask & SIF_PAGE)
        lpScrollInfo->nPage = state->page;
    if (nMask & SIF_POS)
        lpScrollInfo->nPos = state->pos;
    if (nMask & SIF_TRACKPOS)
        lpScrollInfo->nTrackPos = state->trackPos;
    return TRUE;
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow)
{
    WindowHandle* handle = Live(m_hWnd);
    if (handle == nullptr)
        return;
    DWORD bits = 0;
    if (nBar == UINT(SB_HORZ) || nBar == UINT(SB_BOTH))
        bits |= WS_HSCROLL;
    if (nBar == UINT(SB_VERT) || nBar == UINT(SB_BOTH))
        bits |= WS_VSCROLL;
    if (bShow)
        handle->style |= bits;
    else
        handle->style &= ~bits;
    handle->UpdateScrollBar(SB_HORZ);
    handle->UpdateScrollBar(SB_VERT);
}

CScrollBar* CWnd::GetScrollBarCtrl(int) const
{
    return nullptr;
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    return ::MessageBox(m_hWnd, lpszText, lpszCaption != nullptr ? lpszCaption : AfxGetAppName(), nType);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    CControlCmdUI state;
    for (HWND child : AfxChildHandles(m_hWnd)) {
        if (!AfxIsLiveHandle(child) || child->id == 0 || child->id == 0xFFFF)
            continue;
        state.m_nID = child->id;
        state.m_pOther = FromHandle(child);
        // A handler of this window itself owns the control; the target is not asked.
        if (CCmdTarget::DispatchOwnCmdMsg(child->id, CN_COMMAND, &state, nullptr))
            continue;
        // Only push buttons go grey for want of a handler; check boxes and radios stay usable.
        BOOL disable = bDisableIfNoHandler;
        if (disable) {
            const UINT kind = child->style & 0x0F;
            disable = IsButtonClass(child) && kind != BS_AUTOCHECKBOX && kind != BS_AUTO3STATE && kind != BS_GROUPBOX &&
                      kind != BS_AUTORADIOBUTTON;
        }
        state.DoUpdate(pTarget, disable);
    }
}

// ==================================================================== handlers

int CWnd::OnCreate(LPCREATESTRUCT) { return int(Default()); }
void CWnd::OnDestroy() { Default(); }

void CWnd::OnNcDestroy()
{
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this) {
        AfxPostQuitMessage(0);
        app->m_pMainWnd = nullptr;
    }
    Default();
    Detach();
    PostNcDestroy();
}

void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return BOOL(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return BOOL(Default()); }

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar != nullptr && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar != nullptr && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT brush = 0;
    if (pWnd != nullptr && ReflectLastMsg(pWnd->m_hWnd, &brush))
        return reinterpret_cast<HBRUSH>(brush);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCancelMode() { Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return int(Default()); }

// Owner-draw messages go back to the control that raised them.
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct != nullptr && lpDrawItemStruct->CtlType != ODT_MENU &&
        ReflectLastMsg(lpDrawItemStruct->hwndItem))
        return;
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct != nullptr && lpMeasureItemStruct->CtlType != ODT_MENU &&
        ReflectLastMsg(::GetDlgItem(m_hWnd, nIDCtl)))
        return;
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    LRESULT result = 0;
    if (lpCompareItemStruct != nullptr && ReflectLastMsg(lpCompareItemStruct->hwndItem, &result))
        return int(result);
    return int(Default());
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    if (lpDeleteItemStruct != nullptr && ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        return;
    Default();
}

void CWnd::OnWinIniChange(LPCTSTR) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }

// ==================================================================== handle-level calls

BOOL IsWindow(HWND hWnd)
{
    return AfxIsLiveHandle(hWnd);
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowHandle* handle = Live(hWnd);
    return handle != nullptr ? handle->Send(message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowHandle* handle = Live(hWnd);
    if (handle == nullptr)
        return FALSE;
    handle->Post(message, wParam, lParam);
    return TRUE;
}

HWND GetParent(HWND hWnd)
{
    WindowHandle* handle = Live(hWnd);
    if (handle == nullptr || !handle->widget)
        return nullptr;
    if (!handle->widget->isWindow())
        return AfxParentHandle(handle);
    // A popup's parent is its owner, so its messages reach the window that opened it.
    return (handle->style & WS_POPUP) ? Live(handle->owner) : nullptr;
}

HWND GetDlgItem(HWND hDlg, int nID)
{
    for (HWND child : AfxChildHandles(hDlg)) {
        if (int(child->id) == nID)
            return child;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd)
{
    WindowHandle* handle = Live(hWnd);
    return handle != nullptr ? int(handle->id) : 0;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd != nullptr ? wnd->EnableWindow(bEnable) : FALSE;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd != nullptr && wnd->IsWindowEnabled();
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd != nullptr ? wnd->ShowWindow(nCmdShow) : FALSE;
}

BOOL SetWindowText(HWND hWnd, LPCTSTR lpString)
{
    if (Live(hWnd) == nullptr)
        return FALSE;
    SendMessage(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString != nullptr ? lpString : ""));
    return TRUE;
}

int GetWindowText(HWND hWnd, LPTSTR lpString, int nMaxCount)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (wnd == nullptr) {
        if (lpString != nullptr && nMaxCount > 0)
            lpString[0] = '\0';
        return 0;
    }
    return wnd->GetWindowText(lpString, nMaxCount);
}

int GetWindowTextLength(HWND hWnd)
{
    return int(SendMessage(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (wnd == nullptr)
        return FALSE;
    wnd->GetWindowRect(lpRect);
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (wnd == nullptr)
        return FALSE;
    wnd->GetClientRect(lpRect);
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (wnd == nullptr)
        return FALSE;
    wnd->ClientToScreen(lpPoint);
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    return wnd != nullptr && wnd->SetWindowPos(CWnd::FromHandle(hWndInsertAfter), x, y, cx, cy, uFlags);
}

BOOL DestroyWindow(HWND hWnd)
{
    return AfxDestroyWindowHandle(hWnd);
}

HWND SetFocus(HWND hWnd)
{
    HWND previous = GetFocus();
    if (CWnd* wnd = CWnd::FromHandle(hWnd))
        wnd->SetFocus();
    return previous;
}

HWND GetFocus()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr && g_focusRequest && g_focusRequest->window()->focusWidget() == g_focusRequest)
        focus = g_focusRequest.data();
    // An inner widget of a control (a combo box's line edit) stands for the control.
    for (QWidget* w = focus; w != nullptr; w = w->parentWidget()) {
        if (HWND handle = AfxHandleFromWidget(w))
            return handle;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

HWND GetCapture()
{
    return AfxCaptureHandle();
}

BOOL ReleaseCapture()
{
    AfxSetCaptureHandle(nullptr);
    return TRUE;
}

BOOL InvalidateRect(HWND hWnd, LPCRECT lpRect, BOOL bErase)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (wnd == nullptr)
        return FALSE;
    wnd->InvalidateRect(lpRect, bErase);
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (wnd == nullptr)
        return FALSE;
    wnd->UpdateWindow();
    return TRUE;
}

LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowHandle* handle = Live(hWnd);
    if (handle == nullptr)
        return 0;
    LRESULT result = 0;
    if (handle->windowClass != nullptr && handle->windowClass->windowProc &&
        handle->windowClass->windowProc(handle, message, wParam, lParam, result))
        return result;
    return GenericDefWindowProc(handle, message, wParam, lParam);
}

int GetSystemMetrics(int nIndex)
{
    if (!AfxEnsureGuiApplication())
        return 0;
    switch (nIndex) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr)
            return 0;
        return nIndex == SM_CXSCREEN ? screen->geometry().width() : screen->geometry().height();
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    default:
        return 0;
    }
}

BOOL MessageBeep(UINT)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
        QApplication::beep();
    return TRUE;
}
