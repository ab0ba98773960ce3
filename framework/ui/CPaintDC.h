#pragma once
// Device contexts of a window. A window that paints itself has a back buffer: the
// paint DC (between BeginPaint and EndPaint, inside WM_PAINT) and the client DC draw
// into it, and the window shows the buffer.
#include "framework/gdi/CDC.h"
#include "framework/ui/UiDefs.h"

class CWnd;

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE; // TRUE when WM_ERASEBKGND left the background to the painter
    RECT rcPaint{};      // the area to paint, in client coordinates
    BOOL fRestore = FALSE;
    BOOL fIncUpdate = FALSE;
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

// Sends WM_ERASEBKGND when the area was invalidated with erasing, and validates it.
HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
// A device on the window's client area. Its pixels are made only when it first draws:
// the back buffer of a window that paints itself, else a scratch image (drawing is not
// shown); measuring and mapping need none.
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd = nullptr;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

protected:
    HWND m_hWnd = nullptr;
};
