#pragma once
// The status bar: a row of panes along the bottom of a frame. Each pane has a command
// id (its indicator), a style and a text width; its text comes from the indicator's
// string at first and then from SetPaneText or the pane's update handler at idle.
// Pane 0 of the frame's status bar (id AFX_IDW_STATUS_BAR) is the message bar that
// CFrameWnd::SetMessageText writes.
#include "framework/core/CString.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CControlBar.h"

#include <vector>

// Pane styles.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_OWNERDRAW = 0x1000;
constexpr UINT SBPS_DISABLED = 0x04000000;
constexpr UINT SBPS_STRETCH = 0x08000000;

// Keyboard indicators.
constexpr UINT ID_INDICATOR_EXT = 0xE700;
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_SCRL = 0xE703;

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = AFX_IDW_STATUS_BAR);

    // One pane per id, its text the id's string and its width that text's extent;
    // ID_SEPARATOR gives an empty pane, stretched when it is the first. FALSE when an
    // id has no string (the pane is still made, empty) or the list is invalid.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int GetCount() const { return int(m_panes.size()); }
    // The index of the pane with the id, -1 when none has it.
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // The pane's rectangle in the bar's client coordinates (empty for a bad index).
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    // The part inside the pane's edge, which an owner-drawn pane paints (rcItem).
    void GetItemInnerRect(int nIndex, LPRECT lpRect) const;

    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);

    // Paints an SBPS_OWNERDRAW pane: hDC, rcItem (the pane's inside), itemID (the index)
    // and itemData (the pane's text as LPCTSTR). The default draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;

protected:
    struct Pane {
        UINT nID = 0;
        UINT nStyle = 0;
        int cxText = 0;
        CString strText;
    };

    // The panes' outer rectangles, right-aligned with the stretchy pane taking the slack.
    std::vector<CRect> CalcPaneRects() const;
    // Paints the bar and its panes into the DC.
    void DrawBar(CDC& dc);
    int TextHeight() const;
    int TextWidth(const CString& text) const;
    BOOL IsValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < int(m_panes.size()); }
    void InvalidatePane(int nIndex);

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;

    std::vector<Pane> m_panes;
    CFont m_font;

    DECLARE_MESSAGE_MAP()
};
