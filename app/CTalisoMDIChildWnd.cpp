#include "app/CTalisoMDIChildWnd.h"

#include "app/CCommonDoc.h"
#include "app/settings/CTalisoSetup.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "framework/ui/CView.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CTalisoMDIChildWnd, CMDIChildWndExt)

BEGIN_MESSAGE_MAP(CTalisoMDIChildWnd, CMDIChildWndExt)
    ON_MESSAGE(WM_DOCUMENT_FRAMES_NOTIFY, OnDocumentNotify)
    ON_COMMAND(ID_FOCUS_DIALOG_BAR, OnFocusDialogBar)
    ON_COMMAND(ID_FOCUS_SIMULATION_BAR, OnFocusSimulationBar)
    ON_COMMAND(ID_TOGGLE_SPLIT, OnToggleSplit)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_SPLIT, OnUpdateToggleSplit)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_BAR_SELECTOR, IDC_BAR_SELECTOR, OnBarSelChange)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_BAR_FIRST_OBJECT, IDC_BAR_FIRST_OBJECT, OnBarSelChange)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_BAR_SECOND_OBJECT, IDC_BAR_SECOND_OBJECT, OnBarSelChange)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_SIMULATION_1, IDC_SIMULATION_1, OnBarSelChange)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_SIMULATION_2, IDC_SIMULATION_2, OnBarSelChange)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_SIMULATION_3, IDC_SIMULATION_3, OnBarSelChange)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_SIMULATION_4, IDC_SIMULATION_4, OnBarSelChange)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_SIMULATION_5, IDC_SIMULATION_5, OnBarSelChange)
END_MESSAGE_MAP()

namespace {

constexpr UINT kBarStyle = CBRS_TOP; // along the top, border at the bottom
constexpr UINT kReplayButtons[] = {32819, 32818, 32817, 32813, 32816, 32812};
constexpr UINT kStatusIndicators[] = {50, 57, 51, 56, 52, 53};

} // namespace

CCommonDoc* CTalisoMDIChildWnd::GetCommonDocument()
{
    return dynamic_cast<CCommonDoc*>(GetActiveDocument());
}

BOOL CTalisoMDIChildWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext == nullptr || !m_wndSplitter.CreateStatic(this, 2, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST))
        return FALSE;
    // Pane (0,0) is created last with the whole area, the others hidden at size 0.
    const struct {
        int row;
        int col;
        int size;
    } panes[] = {{0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, kWholeArea}};
    for (const auto& pane : panes) {
        if (!m_wndSplitter.CreateView(pane.row, pane.col, pContext->m_pNewViewClass, CSize(pane.size, pane.size),
                                      pContext))
            return FALSE;
    }
    m_wndSplitter.RecalcLayout();
    SetActiveView(static_cast<CView*>(m_wndSplitter.GetPane(0, 0)));
    return TRUE;
}

int CTalisoMDIChildWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMDIChildWndExt::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!CreateBars())
        return -1;
    OnModeChanged(kNotifyModeLayout);
    return 0;
}

BOOL CTalisoMDIChildWnd::CreateBars()
{
    if (!m_wndDialogBar.Create(this, WS_VISIBLE | kBarStyle, IDW_COMBO_DIALOG_BAR))
        return FALSE;
    if (!m_wndSimulationBar.Create(this, kBarStyle, IDW_SIMULATION_BAR))
        return FALSE;
    // Shown only while a protocol is replayed.
    if (!m_wndReplayBar.Create(this, WS_CHILD | kBarStyle, IDW_REPLAY_TOOL_BAR) ||
        !m_wndReplayBar.LoadToolBar(IDR_REPLAY_TOOL_BAR, kReplayButtons, int(std::size(kReplayButtons))))
        return FALSE;
    return m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, IDW_CHILD_STATUS_BAR) &&
           m_wndStatusBar.SetIndicators(kStatusIndicators, int(std::size(kStatusIndicators)));
}

void CTalisoMDIChildWnd::OnDestroy()
{
    if (m_nTimer != 0) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
    }
    CMDIChildWndExt::OnDestroy();
}

LRESULT CTalisoMDIChildWnd::OnDocumentNotify(WPARAM wParam, LPARAM)
{
    return OnModeChanged(int(wParam));
}

LRESULT CTalisoMDIChildWnd::OnModeChanged(int nFlags)
{
    CCommonDoc* doc = GetCommonDocument();
    if (doc == nullptr)
        return 1;
    if (nFlags & kNotifyRefillCombos) {
        for (UINT id : {IDC_BAR_SELECTOR, IDC_BAR_FIRST_OBJECT, IDC_BAR_SECOND_OBJECT})
            doc->FillBarControl(id, m_wndDialogBar.GetCombo(id));
    }
    if (!(nFlags & kNotifyModeLayout))
        return 1;
    LayoutBarsByMode(*doc);
    RecalcLayout();
    StartOrStopTimer(doc->GetMode());
    return 1;
}

void CTalisoMDIChildWnd::LayoutBarsByMode(CCommonDoc& doc)
{
    switch (doc.GetMode()) {
    case kModeNone:
        ShowControlBar(&m_wndSimulationBar, FALSE, FALSE);
        ShowControlBar(&m_wndReplayBar, FALSE, FALSE);
        EnableObjectCombos(TRUE);
        ShowControlBar(&m_wndDialogBar, TRUE, FALSE);
        ShowOnePane();
        break;
    case kModeMonitor:
        ShowControlBar(&m_wndDialogBar, FALSE, FALSE);
        SetPaneLayout(doc.GetSensorCount());
        break;
    case kModeTeachIn:
    case kModeVerify:
        EnableObjectCombos(FALSE);
        break;
    case kModeSimulation:
        ShowControlBar(&m_wndDialogBar, FALSE, FALSE);
        ShowControlBar(&m_wndSimulationBar, TRUE, FALSE);
        for (UINT id : kSimulationControlIds)
            doc.FillBarControl(id, m_wndSimulationBar.GetCombo(id));
        SetPaneLayout(doc.GetSensorCount());
        break;
    case kModeReplay:
        ShowControlBar(&m_wndDialogBar, FALSE, FALSE);
        ShowControlBar(&m_wndReplayBar, TRUE, FALSE);
        break;
    default: // mode 1 keeps the bars as they are
        break;
    }
}

void CTalisoMDIChildWnd::EnableObjectCombos(BOOL bEnable)
{
    for (UINT id : {IDC_BAR_FIRST_OBJECT, IDC_BAR_SELECTOR}) {
        if (CComboBox* combo = m_wndDialogBar.GetCombo(id); combo != nullptr && combo->m_hWnd != nullptr)
            combo->EnableWindow(bEnable);
    }
}

void CTalisoMDIChildWnd::StartOrStopTimer(int nMode)
{
    if (nMode == kModeNone) {
        if (m_nTimer != 0)
            KillTimer(m_nTimer);
        m_nTimer = 0;
        return;
    }
    const UINT period = UINT(std::max(GetTalisoSetup().m_nTimerProg, 1));
    m_nTimer = SetTimer(kCycleTimerId, period);
    if (m_nTimer == 0)
        AfxMessageBox(IDP_NO_TIMER, MB_OK);
}

void CTalisoMDIChildWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kCycleTimerId) {
        CMDIChildWndExt::OnTimer(nIDEvent);
        return;
    }
    // Message boxes and device prompts inside a tick let further timer messages through.
    if (m_bInTimer)
        return;
    m_bInTimer = 1;
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame != nullptr && frame->MDIGetActive() == this) {
        if (CCommonDoc* doc = GetCommonDocument())
            doc->OnCycle();
        if (CWinApp* app = AfxGetApp())
            app->OnIdle(0);
    }
    m_bInTimer = 0;
}

void CTalisoMDIChildWnd::SetPaneLayout(int nCount)
{
    if (nCount < 1 || nCount > 4 || m_wndSplitter.m_hWnd == nullptr)
        return;
    CRect client;
    m_wndSplitter.GetClientRect(&client);
    const int halfWidth = std::max(client.Width() / 2 - m_wndSplitter.m_cxBorder, 0);
    const int halfHeight = std::max(client.Height() / 2 - m_wndSplitter.m_cyBorder, 0);
    switch (nCount) {
    case 1:
        m_wndSplitter.SetRowInfo(0, kWholeArea, 0);
        m_wndSplitter.SetColumnInfo(0, kWholeArea, 0);
        break;
    case 2:
        m_wndSplitter.SetRowInfo(0, kWholeArea, 0);
        m_wndSplitter.SetColumnInfo(0, halfWidth, 0);
        break;
    default:
        m_wndSplitter.SetRowInfo(0, halfHeight, 0);
        m_wndSplitter.SetColumnInfo(0, halfWidth, 0);
        break;
    }
    m_wndSplitter.RecalcLayout();
}

void CTalisoMDIChildWnd::ShowOnePane()
{
    if (m_wndSplitter.m_hWnd == nullptr)
        return;
    m_wndSplitter.SetRowInfo(0, kWholeArea, 0);
    m_wndSplitter.SetColumnInfo(0, kWholeArea, 0);
    m_wndSplitter.RecalcLayout();
}

BOOL CTalisoMDIChildWnd::IsSplit() const
{
    if (m_wndSplitter.m_hWnd == nullptr)
        return FALSE;
    int rowSize = 0;
    int colSize = 0;
    int minimum = 0;
    m_wndSplitter.GetRowInfo(1, rowSize, minimum);
    m_wndSplitter.GetColumnInfo(1, colSize, minimum);
    return rowSize != 0 || colSize != 0;
}

void CTalisoMDIChildWnd::OnToggleSplit()
{
    if (IsSplit())
        ShowOnePane();
    else if (m_wndSplitter.m_hWnd != nullptr)
        m_wndSplitter.DoKeyboardSplit();
}

void CTalisoMDIChildWnd::OnUpdateToggleSplit(CCmdUI* pCmdUI)
{
    CString text;
    text.LoadString(IsSplit() ? IDS_ONE_PANE : IDS_SPLIT_WINDOW);
    pCmdUI->SetText(text.c_str());
}

BOOL CTalisoMDIChildWnd::FocusBar(CControlBar& bar, CComboBox* pFirst)
{
    if (bar.m_hWnd == nullptr || !bar.IsVisible())
        return FALSE;
    if (pFirst != nullptr && pFirst->m_hWnd != nullptr && pFirst->IsWindowEnabled())
        pFirst->SetFocus();
    else
        bar.SetFocus();
    return TRUE;
}

void CTalisoMDIChildWnd::OnFocusDialogBar()
{
    if (!FocusBar(m_wndSimulationBar, m_wndSimulationBar.GetCombo(IDC_SIMULATION_1)))
        FocusBar(m_wndDialogBar, m_wndDialogBar.GetCombo(IDC_BAR_FIRST_OBJECT));
}

void CTalisoMDIChildWnd::OnFocusSimulationBar()
{
    FocusBar(m_wndSimulationBar, m_wndSimulationBar.GetCombo(IDC_SIMULATION_1));
}

CComboBox* CTalisoMDIChildWnd::FindBarCombo(UINT nID)
{
    if (CComboBox* combo = m_wndDialogBar.GetCombo(nID))
        return combo;
    return m_wndSimulationBar.GetCombo(nID);
}

void CTalisoMDIChildWnd::OnBarSelChange(UINT nID)
{
    if (CCommonDoc* doc = GetCommonDocument())
        doc->OnBarControlChange(nID, FindBarCombo(nID));
}
