#pragma once
// A window: a C++ object bound to a window handle, which stands for one Qt widget.
//
// Messages reach WindowProc, which looks in the message map (ON_MESSAGE, commands,
// notifications) and then calls the virtual handler for the message (OnSize, OnPaint,
// ...). A handler that wants the default processing calls Default() or the base
// class's handler; for a message that came from a Qt input event the default is Qt's
// own handling of that event, which then runs after the handler returns.
//
// Handles without a C++ object of their own get a temporary CWnd from FromHandle,
// which lives as long as the handle.
#include "framework/core/CRect.h"
#include "framework/core/CString.h"
#include "framework/core/WinStyles.h"
#include "framework/ui/CCmdTarget.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/UiDefs.h"

class CDC;
class CFont;
class CFrameWnd;
struct CCreateContext; // what a frame hands to the views it creates (document/view layer)
class CMenu;
class CScrollBar;

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    // Handle and object.
    static CWnd* FromHandle(HWND hWnd);          // permanent object, else a temporary one
    static CWnd* FromHandlePermanent(HWND hWnd); // nullptr when no object is attached
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Takes over an existing window (a dialog control) as this object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Creation and destruction. A null or unknown class name gives a plain window that
    // paints itself through WM_ERASEBKGND and WM_PAINT; AfxRegisterWndClass names give
    // such a window with the class's styles, cursor and background.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                  LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PreSubclassWindow();
    // Last call for the object after its window is gone; self-deleting classes delete here.
    virtual void PostNcDestroy();

    // Messages.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(); // the default processing of the message being handled
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers the message to the target window and its parents up to its top-level
    // window (or hWndStop); TRUE when one consumed it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A control's chance to handle the notification it raised at its parent.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    const MSG* GetCurrentMessage() const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Every child (bDeep: every descendant) gets the message, parents before children;
    // bOnlyPerm leaves out windows without a C++ object of their own.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL bDeep = TRUE, BOOL bOnlyPerm = FALSE) const;
    static void SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         BOOL bDeep, BOOL bOnlyPerm);
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Timers: WM_TIMER with the id every nElapse ms; 0 when the timer cannot be set.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // State.
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    DWORD GetStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

    // Geometry. Window rectangles are in screen coordinates, client ones start at 0,0.
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    // Child windows move in their parent's client coordinates, top-level ones on the screen.
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    void BringWindowToTop();

    // Relations.
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    BOOL IsChild(const CWnd* pWnd) const; // any descendant
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    // The nearest frame window above this one, and the frame of its top-level window
    // (CFrameWnd.cpp).
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;

    // Text of a control by id.
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;

    // Focus and mouse capture.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // Painting. Invalid areas are painted at the next paint pass (WM_ERASEBKGND when
    // bErase, then WM_PAINT); UpdateWindow paints them at once.
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, void* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL bRedraw = TRUE);

    // The window's own scroll bars (WS_HSCROLL, WS_VSCROLL).
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;

    // The window's menu bar (CMenu.cpp). DrawMenuBar shows the menu's current items.
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();

    // Message boxes owned by this window.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // Idle update of the command user interface of bars and controls.
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

protected:
    // Window-message handlers; each default runs the default processing.
    afx_msg virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg virtual void OnDestroy();
    afx_msg virtual void OnNcDestroy();
    afx_msg virtual void OnSize(UINT nType, int cx, int cy);
    afx_msg virtual void OnMove(int x, int y);
    afx_msg virtual void OnPaint();
    afx_msg virtual BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg virtual void OnTimer(UINT_PTR nIDEvent);
    afx_msg virtual void OnClose();
    afx_msg virtual void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg virtual void OnEnable(BOOL bEnable);
    afx_msg virtual void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg virtual void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg virtual void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg virtual void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg virtual void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg virtual void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg virtual void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg virtual void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg virtual void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg virtual void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg virtual void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg virtual void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg virtual BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg virtual void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg virtual void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg virtual HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg virtual void OnSetFocus(CWnd* pOldWnd);
    afx_msg virtual void OnKillFocus(CWnd* pNewWnd);
    afx_msg virtual void OnCancelMode();
    afx_msg virtual int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg virtual void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg virtual void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg virtual int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    afx_msg virtual void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
    afx_msg virtual void OnWinIniChange(LPCTSTR lpszSection);
    afx_msg virtual void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    DECLARE_MESSAGE_MAP()

private:
    // The virtual handler for a message with a fixed meaning; FALSE when it has none.
    BOOL DispatchToHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    BOOL DispatchCommandMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

// Handle-level calls, for code that holds only handles.
BOOL IsWindow(HWND hWnd);
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
HWND GetParent(HWND hWnd);
HWND GetDlgItem(HWND hDlg, int nID);
int GetDlgCtrlID(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL IsWindowEnabled(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL SetWindowText(HWND hWnd, LPCTSTR lpString);
int GetWindowText(HWND hWnd, LPTSTR lpString, int nMaxCount);
int GetWindowTextLength(HWND hWnd);
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint);
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);
BOOL DestroyWindow(HWND hWnd);
HWND SetFocus(HWND hWnd);
HWND GetFocus();
HWND GetCapture();
BOOL ReleaseCapture();
BOOL InvalidateRect(HWND hWnd, LPCRECT lpRect, BOOL bErase);
BOOL UpdateWindow(HWND hWnd);
LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Screen metrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
int GetSystemMetrics(int nIndex);

// Keyboard state of the keys the program reads: high bit set while the key is down.
SHORT GetKeyState(int nVirtKey);
SHORT GetAsyncKeyState(int nVirtKey);

// Cursors. SetCursor shows the cursor over the window that asked for it (WM_SETCURSOR)
// and returns the one it replaced.
HCURSOR LoadCursor(HINSTANCE hInstance, LPCTSTR lpCursorName);
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
BOOL GetCursorPos(LPPOINT lpPoint);
BOOL SetCursorPos(int x, int y);

// Sounds: MB_OK, the icon values or 0xFFFFFFFF; all give the one beep the platform has.
BOOL MessageBeep(UINT uType);

// Window classes registered with a class style, cursor and background brush; the
// returned name is valid for the life of the process.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);

// Moves a top-level window into the available area of the screen it is on (no change
// when it lies inside already).
void AfxKeepOnScreen(CWnd& window);
