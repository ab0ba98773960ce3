#pragma once
// The program's main frame: tool bar, status bar with the field-colour legend, the access
// level and the simulated family, the device password commands with their device
// session, and the diagnosis and alignment libraries.
#include "app/CMDIFrameWndExt.h"
#include "app/COldStatusBar.h"
#include "framework/ui/CToolBar.h"

class CSensor;

// Commands of the main frame.
constexpr UINT ID_CHANGE_DEVICE_PASSWORD = 32887;
constexpr UINT ID_CHANGE_USER_PASSWORD = 32888;
constexpr UINT ID_CHANGE_ACCESS_CODE = 32889;
constexpr UINT ID_RUN_DIAGNOSIS = 32796;
constexpr UINT ID_RUN_ALIGNMENT = 32797;

// Status panes of the main frame.
constexpr UINT ID_PANE_LEVEL = 54;
constexpr UINT ID_PANE_DEVICE_FAMILY = 55;
constexpr UINT ID_PANE_RECORDING = 58;
constexpr UINT ID_PANE_LEGEND = 59;

// Texts: the legend's three entries and the confirmations of the password commands.
constexpr UINT IDS_LEGEND_PROTECTIVE = 932;
constexpr UINT IDS_LEGEND_WARNING = 933;
constexpr UINT IDS_LEGEND_BOTH = 934;
constexpr UINT IDP_DEVICE_PASSWORD_CHANGED = 323;
constexpr UINT IDP_USER_PASSWORD_CHANGED = 324;
constexpr UINT IDP_ACCESS_CODE_SENT = 328;

constexpr UINT IDR_MAINFRAME = 2;

class CTalisoMDIFrameWnd : public CMDIFrameWndExt {
    DECLARE_DYNCREATE(CTalisoMDIFrameWnd)
public:
    // The status bar whose second pane shows the colours of the field kinds.
    class CLegendStatusBar : public COldStatusBar {
    public:
        void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
        BOOL HasLegend() const { return m_legend.GetSafeHandle() != nullptr; }
        CSize GetLegendSize() const { return m_sizeLegend; }

    protected:
        // The legend is made and its pane widened before the bar paints, so the first
        // painting already shows it whole.
        void OnPaint() override;

    private:
        // The legend at the pane's inner height, made once; FALSE when it cannot be made.
        BOOL BuildLegend(CDC* pDC, int height);

        CBitmap m_legend;
        CSize m_sizeLegend;
    };

    static const UINT kIndicators[8];

    CTalisoMDIFrameWnd() = default;

    // After the password dialog's OK: connect, identify, log in, send the new password or
    // access code, log out, disconnect (a failed log-in goes straight to the disconnect).
    // The stored password follows a changed password; a sent access code empties it,
    // after the log-out that still needs it.
    static void RunPasswordSession(CSensor& sensor, UINT nCommand, const CString& secret);

    CToolBar& GetToolBar() { return m_wndToolBar; }
    CLegendStatusBar& GetStatusBar() { return m_wndStatusBar; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnWinIniChange(LPCTSTR lpszSection) override;

    afx_msg void OnChangePassword(UINT nID);
    afx_msg void OnDiagnose();
    afx_msg void OnAlignment();
    afx_msg void OnUpdateChangePassword(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDiagnose(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAlignment(CCmdUI* pCmdUI);
    afx_msg void OnUpdateFileNew(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAccessLevelPane(CCmdUI* pCmdUI);

    CToolBar m_wndToolBar;
    CLegendStatusBar m_wndStatusBar;

    DECLARE_MESSAGE_MAP()
};
