#pragma once
// The window of every device document: a static 2x2 splitter of views of the document,
// the selector bar, the simulation bar and the replay tool bar laid out by the
// document's mode, its own status bar, and the timer that drives the document's cycle
// while a mode runs (only the active window's document ticks).
#include "app/CComboDialogBar.h"
#include "app/CMDIChildWndExt.h"
#include "app/COldStatusBar.h"
#include "app/CSimulationBar.h"
#include "framework/ui/CSplitterWnd.h"
#include "framework/ui/CToolBar.h"

class CCommonDoc;

// Commands of the child frame.
constexpr UINT ID_FOCUS_SIMULATION_BAR = 32893;
constexpr UINT ID_FOCUS_DIALOG_BAR = 32894;
constexpr UINT ID_TOGGLE_SPLIT = 32900;

// Its bars.
constexpr UINT IDW_COMBO_DIALOG_BAR = 0xE820;
constexpr UINT IDW_SIMULATION_BAR = 0xE821;
constexpr UINT IDW_CHILD_STATUS_BAR = 0xE822;
constexpr UINT IDW_REPLAY_TOOL_BAR = 0xE823;
constexpr UINT IDR_REPLAY_TOOL_BAR = 93;

// Texts: timer not available, and the split command's two menu texts.
constexpr UINT IDP_NO_TIMER = 314;
constexpr UINT IDS_SPLIT_WINDOW = 969;
constexpr UINT IDS_ONE_PANE = 970;

class CTalisoMDIChildWnd : public CMDIChildWndExt {
    DECLARE_DYNCREATE(CTalisoMDIChildWnd)
public:
    static constexpr UINT_PTR kCycleTimerId = 1;
    // The ideal size that lets a pane take the whole area.
    static constexpr int kWholeArea = 2000;

    CTalisoMDIChildWnd() = default;

    // Refills the selectors (bit 0) and lays out the bars and the panes and starts or
    // stops the cycle timer by the document's mode (bit 1). Always 1.
    LRESULT OnModeChanged(int nFlags);
    // One, two side by side, or four panes for 1, 2, 3 or 4 scanners; other counts do nothing.
    void SetPaneLayout(int nCount);
    void ShowOnePane();

    CComboDialogBar& GetDialogBar() { return m_wndDialogBar; }
    CSimulationBar& GetSimulationBar() { return m_wndSimulationBar; }
    CToolBar& GetReplayBar() { return m_wndReplayBar; }
    COldStatusBar& GetStatusBar() { return m_wndStatusBar; }
    CSplitterWnd& GetSplitter() { return m_wndSplitter; }
    UINT_PTR GetTimerId() const { return m_nTimer; }
    // The document of the active view when it is a device document.
    CCommonDoc* GetCommonDocument();

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR nIDEvent) override;

    afx_msg LRESULT OnDocumentNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnFocusDialogBar();
    afx_msg void OnFocusSimulationBar();
    afx_msg void OnToggleSplit();
    afx_msg void OnUpdateToggleSplit(CCmdUI* pCmdUI);
    afx_msg void OnBarSelChange(UINT nID);

private:
    BOOL CreateBars();
    void LayoutBarsByMode(CCommonDoc& doc);
    void EnableObjectCombos(BOOL bEnable);
    void StartOrStopTimer(int nMode);
    // The first combo box of a visible bar takes the focus; FALSE when the bar is hidden.
    BOOL FocusBar(CControlBar& bar, CComboBox* pFirst);
    CComboBox* FindBarCombo(UINT nID);
    BOOL IsSplit() const;

    CComboDialogBar m_wndDialogBar;
    COldStatusBar m_wndStatusBar;
    CSimulationBar m_wndSimulationBar;
    CSplitterWnd m_wndSplitter;
    CToolBar m_wndReplayBar;
    UINT_PTR m_nTimer = 0;
    int m_bInTimer = 0;

    DECLARE_MESSAGE_MAP()
};
