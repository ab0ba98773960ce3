#include "app/CTalisoMDIFrameWnd.h"

#include "app/settings/CTalisoSetup.h"
#include "app/StatusPaneText.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/CSensor.h"
#include "device/DeviceProcedures.h"
#include "device/OutsideLibrary.h"
#include "dialogs/CAccessCodeDialog.h"
#include "dialogs/CNewPasswordDialog.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CPaintDC.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CTalisoMDIFrameWnd, CMDIFrameWndExt)

BEGIN_MESSAGE_MAP(CTalisoMDIFrameWnd, CMDIFrameWndExt)
    ON_COMMAND_RANGE(ID_CHANGE_DEVICE_PASSWORD, ID_CHANGE_ACCESS_CODE, OnChangePassword)
    ON_COMMAND(ID_RUN_DIAGNOSIS, OnDiagnose)
    ON_COMMAND(ID_RUN_ALIGNMENT, OnAlignment)
    ON_UPDATE_COMMAND_UI_RANGE(ID_CHANGE_DEVICE_PASSWORD, ID_CHANGE_ACCESS_CODE, OnUpdateChangePassword)
    ON_UPDATE_COMMAND_UI(ID_RUN_DIAGNOSIS, OnUpdateDiagnose)
    ON_UPDATE_COMMAND_UI(ID_RUN_ALIGNMENT, OnUpdateAlignment)
    ON_UPDATE_COMMAND_UI(ID_FILE_NEW, OnUpdateFileNew)
    ON_UPDATE_COMMAND_UI(ID_PANE_LEVEL, OnUpdateAccessLevelPane)
END_MESSAGE_MAP()

const UINT CTalisoMDIFrameWnd::kIndicators[8] = {
    ID_SEPARATOR, ID_PANE_LEGEND, ID_PANE_LEVEL, ID_PANE_DEVICE_FAMILY, ID_PANE_RECORDING,
    ID_INDICATOR_NUM, ID_INDICATOR_CAPS, ID_INDICATOR_SCRL,
};

namespace {

constexpr DWORD kToolBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY |
                                CBRS_SIZE_DYNAMIC;
constexpr int kLegendPane = 1;

CString IniPath()
{
    CWinApp* app = AfxGetApp();
    return app != nullptr ? CString(app->m_pszProfileName) : CString();
}

} // namespace

int CTalisoMDIFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMDIFrameWndExt::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, kToolBarStyle) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, int(std::size(kIndicators))))
        return -1;
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    m_wndStatusBar.GetPaneInfo(kLegendPane, id, style, width);
    m_wndStatusBar.SetPaneInfo(kLegendPane, id, style | SBPS_OWNERDRAW, width);
    return 0;
}

void CTalisoMDIFrameWnd::OnWinIniChange(LPCTSTR) {}

void CTalisoMDIFrameWnd::OnChangePassword(UINT nID)
{
    CString secret;
    if (nID == ID_CHANGE_ACCESS_CODE) {
        CAccessCodeDialog dialog(this, 0);
        if (dialog.DoModal() != IDOK)
            return;
        secret = dialog.m_strCode;
    } else if (nID == ID_CHANGE_USER_PASSWORD) {
        CUserPasswordDialog dialog(this, 1);
        if (dialog.DoModal() != IDOK)
            return;
        secret = dialog.m_strPassword;
    } else {
        CDevicePasswordDialog dialog(this, 1);
        if (dialog.DoModal() != IDOK)
            return;
        secret = dialog.m_strPassword;
    }
    CSensor sensor(CSensor::kUnknownFamily);
    RunPasswordSession(sensor, nID, secret);
}

void CTalisoMDIFrameWnd::RunPasswordSession(CSensor& sensor, UINT nCommand, const CString& secret)
{
    if (!ConnectSensor(sensor, TRUE))
        return;
    const BYTE loginMode = nCommand == ID_CHANGE_ACCESS_CODE ? kModeAccessCode : kModeConfiguration;
    if (IdentifySensor(sensor, TRUE) &&
        SetOperatingMode(sensor, loginMode, theLoginDialog.GetPassword().c_str(), TRUE)) {
        bool codeSent = false;
        if (nCommand == ID_CHANGE_ACCESS_CODE) {
            codeSent = SendMode2Code(sensor, secret.c_str(), TRUE) != FALSE;
            if (codeSent)
                AfxMessageBox(IDP_ACCESS_CODE_SENT, MB_ICONINFORMATION);
        } else {
            const BYTE kind = nCommand == ID_CHANGE_DEVICE_PASSWORD ? 0 : 1;
            if (ChangeDevicePassword(sensor, kind, secret.c_str(), TRUE)) {
                theLoginDialog.SetPassword(secret);
                AfxMessageBox(kind == 0 ? IDP_DEVICE_PASSWORD_CHANGED : IDP_USER_PASSWORD_CHANGED, MB_ICONINFORMATION);
            }
        }
        SetOperatingMode(sensor, kModeNormal, theLoginDialog.GetPassword().c_str(), TRUE);
        // The log-out above still carried the password the session logged in with.
        if (codeSent)
            theLoginDialog.ClearPassword();
    }
    DisconnectSensor(sensor, TRUE);
}

void CTalisoMDIFrameWnd::OnDiagnose()
{
    RunDiagnosis(this, IniPath().c_str(), theLoginDialog.GetPassword().c_str());
}

void CTalisoMDIFrameWnd::OnAlignment()
{
    RunAlignment(this, IniPath().c_str(), theLoginDialog.GetPassword().c_str());
}

void CTalisoMDIFrameWnd::OnUpdateChangePassword(CCmdUI* pCmdUI)
{
    switch (pCmdUI->m_nID) {
    case ID_CHANGE_DEVICE_PASSWORD: pCmdUI->Enable(theLoginDialog.CanChangePassword1()); break;
    case ID_CHANGE_USER_PASSWORD: pCmdUI->Enable(theLoginDialog.CanChangePassword2()); break;
    default: pCmdUI->Enable(theLoginDialog.CanChangePassword3()); break;
    }
}

void CTalisoMDIFrameWnd::OnUpdateDiagnose(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanRunDiagnosis());
}

void CTalisoMDIFrameWnd::OnUpdateAlignment(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanRunAlignment());
}

void CTalisoMDIFrameWnd::OnUpdateFileNew(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanCreateDocument());
}

void CTalisoMDIFrameWnd::OnUpdateAccessLevelPane(CCmdUI* pCmdUI)
{
    const CString text = theLoginDialog.GetLevelName();
    FitStatusPaneToText(pCmdUI, text);
    pCmdUI->SetText(text.c_str());
    pCmdUI->Enable(TRUE);
}

// ==================================================================== legend

BOOL CTalisoMDIFrameWnd::CLegendStatusBar::BuildLegend(CDC* pDC, int height)
{
    if (height <= 0)
        return FALSE;
    CDC dc;
    if (!dc.CreateCompatibleDC(pDC))
        return FALSE;
    CFont* oldFont = dc.SelectObject(GetFont());
    const CTalisoSetup& setup = GetTalisoSetup();
    const int slot = dc.GetTextExtent(CString("xxx")).cx;
    struct Entry {
        UINT textId;
        CString text;
        int textWidth;
    } entries[] = {{IDS_LEGEND_PROTECTIVE, {}, 0}, {IDS_LEGEND_WARNING, {}, 0}, {IDS_LEGEND_BOTH, {}, 0}};
    int width = 0;
    for (Entry& entry : entries) {
        entry.text.LoadString(entry.textId);
        entry.textWidth = dc.GetTextExtent(entry.text).cx;
        width += slot + entry.textWidth;
    }
    if (width <= 0 || !m_legend.CreateCompatibleBitmap(pDC, width, height)) {
        dc.SelectObject(oldFont);
        return FALSE;
    }
    CBitmap* oldBitmap = dc.SelectObject(&m_legend);
    dc.FillSolidRect(0, 0, width, height, kBarFaceColor);
    dc.SetTextColor(kBarTextColor);
    dc.SetBkMode(TRANSPARENT);
    // The squares sit in their slots, as high as the pane allows.
    const int side = std::max(std::min(slot, height) - 4, 2);
    const COLORREF protective = setup.GetFieldColor(1);
    const COLORREF warning = setup.GetFieldColor(2);
    int x = 0;
    for (std::size_t i = 0; i < std::size(entries); ++i) {
        const CRect square(x + (slot - side) / 2, (height - side) / 2, x + (slot - side) / 2 + side,
                           (height - side) / 2 + side);
        if (i < 2) {
            dc.FillSolidRect(&square, i == 0 ? protective : warning);
        } else {
            // Both colours merged over black show where the two kinds overlap.
            dc.FillSolidRect(&square, RGB(0, 0, 0));
            const int oldRop = dc.SetROP2(R2_MERGEPEN);
            for (COLORREF color : {protective, warning}) {
                CBrush brush(color);
                CPen pen(PS_SOLID, 1, color);
                CBrush* oldBrush = dc.SelectObject(&brush);
                CPen* oldPen = dc.SelectObject(&pen);
                dc.Rectangle(&square);
                dc.SelectObject(oldPen);
                dc.SelectObject(oldBrush);
            }
            dc.SetROP2(oldRop);
        }
        x += slot;
        CRect textRect(x, 0, x + entries[i].textWidth, height);
        dc.DrawText(entries[i].text, textRect, DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
        x += entries[i].textWidth;
    }
    dc.SelectObject(oldBitmap);
    dc.SelectObject(oldFont);
    m_sizeLegend = CSize(width, height);
    return TRUE;
}

void CTalisoMDIFrameWnd::CLegendStatusBar::OnPaint()
{
    if (!HasLegend() && m_hWnd != nullptr) {
        CRect inner;
        GetItemInnerRect(kLegendPane, &inner);
        CClientDC dc(this);
        if (BuildLegend(&dc, inner.Height())) {
            UINT id = 0;
            UINT style = 0;
            int width = 0;
            GetPaneInfo(kLegendPane, id, style, width);
            SetPaneInfo(kLegendPane, id, style, m_sizeLegend.cx + 2);
        }
    }
    COldStatusBar::OnPaint();
}

void CTalisoMDIFrameWnd::CLegendStatusBar::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CRect inner(lpDrawItemStruct->rcItem);
    if (pDC == nullptr || (!HasLegend() && !BuildLegend(pDC, inner.Height())))
        return;
    const int index = int(lpDrawItemStruct->itemID);
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    GetPaneInfo(index, id, style, width);
    if (width != m_sizeLegend.cx + 2)
        SetPaneInfo(index, id, style, m_sizeLegend.cx + 2);
    CDC memory;
    if (!memory.CreateCompatibleDC(pDC))
        return;
    CBitmap* old = memory.SelectObject(&m_legend);
    pDC->BitBlt(inner.left, inner.top, std::min(inner.Width(), m_sizeLegend.cx), std::min(inner.Height(), m_sizeLegend.cy),
                &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}
