#pragma once
// Control bars: tool bars, status bars and dialog bars that sit along an edge of their
// frame's client area. Bars are docked at fixed places (top or bottom) and never
// float; the frame's RecalcLayout stacks the visible ones and gives the rest to its
// client window. At idle each visible bar asks its frame's command route for the state
// of its items, and the notifications of a bar's controls go on to the frame.
#include "framework/core/CRect.h"
#include "framework/ui/CWnd.h"

class CFrameWnd;

// Bar styles (the low word of a bar's style and the gripper bit; not window styles).
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_SIZE_FIXED = 0x0008;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_NOALIGN = 0;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_ALL = 0x0040FFFF;

// Ids of the standard bars.
constexpr UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800;
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_DIALOGBAR = 0xE805;
constexpr UINT AFX_IDW_CONTROLBAR_LAST = 0xE8FF;
constexpr UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;
constexpr UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;
constexpr UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;

// Separators in button and indicator lists.
constexpr UINT ID_SEPARATOR = 0;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    // Sides the bar may dock on; bars here only ever sit at their fixed side.
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }
    // Whether the bar is shown (its own visibility, whatever its frame's).
    BOOL IsVisible() const;
    // TRUE for a bar along the bottom edge, FALSE for one along the top.
    BOOL IsBottomBar() const { return (m_dwStyle & CBRS_ALIGN_BOTTOM) != 0; }

    // The bar's size when laid out along an edge of the given length.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Sets the state of the bar's items from the target's command route.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) = 0;
    // The frame whose route updates the bar and hears its commands.
    CFrameWnd* GetDockingFrame() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Makes the bar's window: a child of the frame with the window part of dwStyle.
    BOOL CreateBarWindow(CWnd* pParentWnd, DWORD dwStyle, UINT nID, int height);
    // Lays the parent frame out again (a bar came or changed its size).
    void RecalcParentLayout();
    // Paints the bar's background and the borders its style asks for; returns the
    // area inside the borders.
    CRect DrawBarBackground(CDC& dc);
    // Pixels the borders take on each side.
    CRect BorderInsets() const;

    BOOL OnEraseBkgnd(CDC* pDC) override;
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;

    DECLARE_MESSAGE_MAP()
};

// Stacks the visible control bars among the window's children along the top and
// bottom of rectClient (in its client coordinates) and shrinks rectClient to what is
// left for the client window.
void AfxRepositionBars(CWnd* pParent, CRect& rectClient);

// Colours the bars paint with.
constexpr COLORREF kBarFaceColor = RGB(240, 240, 240);
constexpr COLORREF kBarHighlightColor = RGB(255, 255, 255);
constexpr COLORREF kBarShadowColor = RGB(160, 160, 160);
constexpr COLORREF kBarTextColor = RGB(0, 0, 0);
