#pragma once
// The tool bar: a row of image buttons (and separators) along the top of a frame.
// A click posts the button's command to the frame, which runs it through its command
// route; at idle the buttons' update handlers enable, disable and check them. The
// string of a button's command gives its tip: "prompt\ntip" (the tip alone when the
// string has no "\n"); with CBRS_FLYBY the prompt shows in the message bar while the
// mouse is over the button.
#include "framework/core/CString.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CControlBar.h"

#include <vector>

// Tool bar control styles.
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_TRANSPARENT = 0x8000;

// Button styles and states.
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_GROUP = 0x0004;
constexpr UINT TBBS_CHECKGROUP = TBBS_GROUP | TBBS_CHECKBOX;
constexpr UINT TBBS_CHECKED = 0x0100;
constexpr UINT TBBS_PRESSED = 0x0200;
constexpr UINT TBBS_DISABLED = 0x0400;
constexpr UINT TBBS_INDETERMINATE = 0x0800;

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);

    // Button and image sizes in pixels (23x22 and 16x15 until set).
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // The images: a bitmap resource holding them side by side, each of the image width.
    // Light grey (192,192,192) in the images shows as the bar's face colour.
    BOOL LoadBitmap(UINT nIDResource);
    // The buttons in order; ID_SEPARATOR makes a separator. Each further button takes
    // the next image. A null array makes nIDCount empty buttons for SetButtonInfo.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // The bitmap resource and the buttons together.
    BOOL LoadToolBar(UINT nIDResource, const UINT* lpIDArray, int nIDCount);
    // The TOOLBAR resource of the id (image size and buttons) with the bitmap of the
    // same id; FALSE when either is missing.
    BOOL LoadToolBar(UINT nIDResource);

    int GetCount() const { return int(m_buttons.size()); }
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    // The index of the button under the point (client coordinates), -1 for none.
    int HitTest(CPoint point) const;
    // The tip and the fly-by prompt of a button (empty for separators and bad indexes).
    CString GetToolTipText(int nIndex) const;
    CString GetPromptText(int nIndex) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;

    // The mouse moved over another button (-1: off the buttons); shows the fly-by prompt.
    void OnHoverChanged(int nIndex);

protected:
    struct Button {
        UINT nID = 0;
        UINT nStyle = TBBS_BUTTON;
        int iImage = -1;
    };

    std::vector<CRect> CalcButtonRects() const;
    BOOL IsValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < int(m_buttons.size()); }
    void InvalidateButton(int nIndex);
    void DrawButton(CDC& dc, const Button& button, const CRect& rect);
    void DrawImage(CDC& dc, int iImage, bool disabled, CPoint at);
    int GripperWidth() const;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnPaint() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnCancelMode() override;

    std::vector<Button> m_buttons;
    CBitmap m_bitmap;         // the images with their grey turned into the face colour
    CBitmap m_bitmapDisabled; // the same, embossed for disabled buttons
    int m_nImageCount = 0;
    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};
    CRect m_rcBorders{0, 0, 0, 0};
    DWORD m_dwCtrlStyle = 0;
    int m_nPressed = -1; // the button held down by the mouse
    int m_nHover = -1;   // the button under the mouse
    CString m_strSavedMessage; // the message bar's text before a fly-by prompt
    bool m_bFlyByShown = false;

    DECLARE_MESSAGE_MAP()
};
