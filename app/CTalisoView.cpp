#include "app/CTalisoView.h"

#include "app/CTalisoApp.h"
#include "app/CTalisoDoc.h"
#include "app/settings/CTalisoSetup.h"
#include "dialogs/controls/UnitDataExchange.h"
#include "framework/core/Resources.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/CPaintDC.h"
#include "framework/ui/CStatusBar.h"
#include "framework/ui/MessageBox.h"
#include "model/CScan.h"
#include "model/CShelter.h"
#include "model/DistanceUnit.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CTalisoView, CView)

BEGIN_MESSAGE_MAP(CTalisoView, CView)
    ON_COMMAND(ID_VIEW_ZOOM_IN, OnZoomIn)
    ON_COMMAND(ID_VIEW_ZOOM_OUT, OnZoomOut)
    ON_COMMAND(ID_VIEW_RECENTER, OnRecenter)
    ON_COMMAND(ID_VIEW_PAN_MODE, OnPanMode)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PAN_MODE, OnUpdatePanMode)
    ON_COMMAND(ID_VIEW_NO_ACTION, OnCommand32915)
    ON_UPDATE_COMMAND_UI(ID_PANE_CURSOR_POSITION, OnUpdateCursorPane)
    ON_UPDATE_COMMAND_UI(ID_PANE_AXIS_LOCK, OnUpdateAxisLockPane)
END_MESSAGE_MAP()

namespace {

constexpr UINT kStatusLineId = 0xFFFF;
constexpr UINT kStatusBarId = 59426;
constexpr BYTE kArialPitchAndFamily = VARIABLE_PITCH | FF_SWISS;

// Caption colours of the status line: the view with the focus looks like an active window
// caption, the others like inactive ones.
constexpr COLORREF kActiveCaption = RGB(0, 84, 166);
constexpr COLORREF kActiveCaptionText = RGB(255, 255, 255);
constexpr COLORREF kInactiveCaption = RGB(191, 205, 219);
constexpr COLORREF kInactiveCaptionText = RGB(67, 78, 84);

CBrush& CaptionBrush(BOOL active)
{
    static CBrush activeBrush(kActiveCaption);
    static CBrush inactiveBrush(kInactiveCaption);
    return active ? activeBrush : inactiveBrush;
}

LOGFONT ArialFont(int height, LONG weight)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfPitchAndFamily = kArialPitchAndFamily;
    std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", "Arial");
    return lf;
}

// Next value of a grid loop, or -1 when it would pass the limit or overflow.
int NextGridValue(int value, int step, int limit)
{
    if (value > limit - step) return -1;
    return value + step;
}

BOOL IsKeyDown(int virtualKey)
{
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

} // namespace

CTalisoView::CTalisoView()
{
    m_hcurPan = ::LoadCursor(nullptr, IDC_SIZEALL);
    // The language library holds the editing cursors (what the application loads from).
    const HINSTANCE language = AfxGetResourceHandle();
    m_hcurOnContour = ::LoadCursor(language, TALISO_INTRESOURCE(IDC_ON_CONTOUR));
    m_hcurOnVertex = ::LoadCursor(language, TALISO_INTRESOURCE(IDC_ON_VERTEX));
    m_hcurOnVertexModifier = ::LoadCursor(language, TALISO_INTRESOURCE(IDC_ON_VERTEX_MODIFIER));
    // Without the language library's cursors the standard shapes stand in.
    if (m_hcurOnContour == nullptr) m_hcurOnContour = ::LoadCursor(nullptr, IDC_CROSS);
    if (m_hcurOnVertex == nullptr) m_hcurOnVertex = ::LoadCursor(nullptr, IDC_SIZEALL);
    if (m_hcurOnVertexModifier == nullptr) m_hcurOnVertexModifier = ::LoadCursor(nullptr, IDC_HAND);
}

CTalisoView::~CTalisoView() = default;

CTalisoDoc* CTalisoView::GetDocument() const
{
    return dynamic_cast<CTalisoDoc*>(m_pDocument);
}

int CTalisoView::GetActiveUnit() const
{
    CTalisoDoc* doc = GetDocument();
    return doc != nullptr ? doc->GetActiveLayer() : kUnitCm;
}

CString CTalisoView::GetUnitText()
{
    return ::GetUnitText(GetActiveUnit(), !GetTalisoSetup().m_bViewMetric);
}

// --- creation ---

BOOL CTalisoView::PreCreateWindow(CREATESTRUCT& cs)
{
    static CBrush black;
    if (black.GetSafeHandle() == nullptr) black.CreateStockObject(BLACK_BRUSH);
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                       black.GetSafeHandle());
    cs.style |= WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN;
    return CView::PreCreateWindow(cs);
}

int CTalisoView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    CClientDC screen(this);
    const int height = -MulDiv(10, screen.GetDeviceCaps(LOGPIXELSY), 72);
    LOGFONT normal = ArialFont(height, FW_NORMAL);
    LOGFONT bold = ArialFont(height, FW_BOLD);
    m_fontStatus.CreateFontIndirect(&normal);
    m_fontStatusBold.CreateFontIndirect(&bold);
    if (!m_wndStatusLine.Create("", WS_CHILD | WS_VISIBLE | SS_CENTER, CRect(0, 0, 0, 0), this, kStatusLineId))
        return -1;
    m_wndStatusLine.SetFont(&m_fontStatus, FALSE);
    return 0;
}

void CTalisoView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (m_wndStatusLine.m_hWnd == nullptr)
        return;
    CClientDC dc(this);
    CFont* old = dc.SelectObject(&m_fontStatus);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(old);
    m_wndStatusLine.MoveWindow(0, 0, cx, tm.tmHeight + tm.tmExternalLeading);
}

BOOL CTalisoView::OnEraseBkgnd(CDC* pDC)
{
    if (GetTalisoSetup().m_bDrawOnScreen)
        return CView::OnEraseBkgnd(pDC);
    return TRUE;
}

void CTalisoView::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
    if (m_wndStatusLine.m_hWnd != nullptr) {
        m_wndStatusLine.SetFont(&m_fontStatusBold, TRUE);
        m_wndStatusLine.Invalidate();
    }
}

void CTalisoView::OnKillFocus(CWnd* pNewWnd)
{
    CView::OnKillFocus(pNewWnd);
    if (m_wndStatusLine.m_hWnd != nullptr) {
        m_wndStatusLine.SetFont(&m_fontStatus, TRUE);
        m_wndStatusLine.Invalidate();
    }
}

HBRUSH CTalisoView::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_STATIC || pWnd == nullptr || pWnd->m_hWnd != m_wndStatusLine.m_hWnd)
        return CView::OnCtlColor(pDC, pWnd, nCtlColor);
    const BOOL active = CWnd::GetFocus() == this;
    pDC->SetTextColor(active ? kActiveCaptionText : kInactiveCaptionText);
    pDC->SetBkColor(active ? kActiveCaption : kInactiveCaption);
    return CaptionBrush(active).GetSafeHandle();
}

void CTalisoView::SetCaptionText(const char* text)
{
    if (m_wndStatusLine.m_hWnd == nullptr)
        return;
    CString current;
    m_wndStatusLine.GetWindowText(current);
    if (current != text)
        m_wndStatusLine.SetWindowText(text);
}

// --- ranges and mapping ---

BOOL CTalisoView::FetchRangeLimits()
{
    const int unit = GetActiveUnit();
    const int minRange = std::max(1, CTalisoSetup::GetMinViewRange(unit));
    const int maxRange = std::max(minRange, GetTalisoSetup().GetMaxViewRange(unit));
    // A zoom step of 0 would never grow a range that does not fit.
    m_nZoomStep = std::max(1, CTalisoSetup::GetZoomStep(unit));
    const BOOL changed = minRange != m_nMinRange || maxRange != m_nMaxRange;
    m_nMinRange = minRange;
    m_nMaxRange = maxRange;
    m_nRange = std::clamp(m_nRange, m_nMinRange, m_nMaxRange);
    return changed;
}

void CTalisoView::OnInitialUpdate()
{
    FetchRangeLimits();
    SetupScrollBars(FALSE);
    if (auto* app = dynamic_cast<CTalisoApp*>(AfxGetApp()); app != nullptr)
        app->BuildLanguageMenu();
}

void CTalisoView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CView::OnUpdate(pSender, lHint, pHint);
    if (lHint == kHintBackToScanner)
        SetViewOrigin(0, 0);
    if (FetchRangeLimits())
        SetupScrollBars(TRUE);
    if (m_hWnd == nullptr)
        return;
    UpdateWindow();
    CFrameWnd* frame = GetParentFrame();
    CWnd* bar = frame != nullptr ? frame->GetDescendantWindow(int(kStatusBarId)) : nullptr;
    if (bar != nullptr) {
        if (CWinApp* app = AfxGetApp(); app != nullptr)
            app->OnIdle(0);
        bar->UpdateWindow();
    }
}

int CTalisoView::ComputeMapping(int range) const
{
    CRect client;
    GetClientRect(&client);
    const int halfWidth = client.Width() / 2;
    const int bottom = client.Height() - 1;
    const CPoint origin = GetViewOrigin();
    const int step = std::max(1, m_nZoomStep);
    range = std::max(1, range);
    for (;;) {
        const double f = float(range);
        const double x = double(m_nMaxRange - origin.x) * (halfWidth / f) + halfWidth;
        const double y = double(m_nMaxRange - origin.y) * (bottom / f) + bottom;
        if ((x >= -32768 && x <= 32767 && y >= -32768 && y <= 32767) || range > INT_MAX - step)
            return range;
        range += step;
    }
}

BOOL CTalisoView::SetRange(int range)
{
    range = std::min(range, m_nMaxRange);
    if (range < m_nMinRange) range = m_nMinRange;
    if (range < m_nZoomStep) range = m_nZoomStep;
    range = ComputeMapping(range);
    if (range == m_nRange) {
        MessageBeep(0xFFFFFFFF);
        return FALSE;
    }
    m_nRange = range;
    RedrawNow();
    return TRUE;
}

void CTalisoView::OnZoomIn()
{
    SetRange(std::max(m_nMinRange, std::min(m_nMaxRange, m_nRange - m_nZoomStep)));
}

void CTalisoView::OnZoomOut()
{
    SetRange(std::max(m_nMinRange, std::min(m_nMaxRange, m_nRange + m_nZoomStep)));
}

void CTalisoView::OnRecenter()
{
    SetViewOrigin(0, 0);
}

void CTalisoView::OnPanMode()
{
    m_bPanMode = !m_bPanMode;
}

void CTalisoView::OnUpdatePanMode(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bPanMode ? 1 : 0);
}

void CTalisoView::OnCommand32915() {}

void CTalisoView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    if (pDC->IsPrinting())
        return;
    m_nRange = ComputeMapping(m_nRange);
    CRect client;
    GetClientRect(&client);
    // A pane of no size still gets a usable mapping.
    const int halfWidth = std::max(1, client.Width() / 2);
    const int bottom = std::max(1, client.Height() - 1);
    const CPoint origin = GetViewOrigin();
    pDC->SetMapMode(MM_ISOTROPIC);
    pDC->SetWindowExt(m_nRange, -m_nRange);
    pDC->SetViewportExt(halfWidth, bottom);
    pDC->SetViewportOrg(client.Width() / 2, client.Height() - 1);
    pDC->SetWindowOrg(origin.x, origin.y);
}

CSensorPoint CTalisoView::ClientToLogical(CPoint point)
{
    CClientDC dc(this);
    OnPrepareDC(&dc);
    dc.DPtoLP(&point);
    CSensorPoint logical;
    logical.SetPoint(point);
    return logical;
}

CPoint CTalisoView::LogicalToClient(CPoint point)
{
    CClientDC dc(this);
    OnPrepareDC(&dc);
    dc.LPtoDP(&point);
    return point;
}

void CTalisoView::RedrawNow()
{
    if (m_hWnd != nullptr)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// --- scrolling ---

void CTalisoView::SetupScrollBars(BOOL bRedraw)
{
    // Scroll bars count in 16 bits: a large range scrolls in steps of several units.
    int divisor = 1;
    while (2LL * m_nMaxRange / divisor > 32767)
        divisor *= 2;
    m_nScrollDivisor = divisor;
    SetScrollRange(SB_VERT, 0, m_nMaxRange / divisor, bRedraw);
    SetScrollRange(SB_HORZ, 0, 2 * (m_nMaxRange / divisor), bRedraw);
    SetViewOrigin(0, 0);
}

CPoint CTalisoView::GetViewOrigin() const
{
    const int divisor = m_nScrollDivisor;
    const int middle = (m_nMaxRange / divisor) * divisor;
    return CPoint(GetScrollPos(SB_HORZ) * divisor - middle, middle - GetScrollPos(SB_VERT) * divisor);
}

void CTalisoView::SetViewOrigin(int x, int y)
{
    const int divisor = m_nScrollDivisor;
    SetScrollPos(SB_VERT, m_nMaxRange / divisor - y / divisor, TRUE);
    SetScrollPos(SB_HORZ, m_nMaxRange / divisor + x / divisor, TRUE);
    RedrawNow();
}

void CTalisoView::ScrollBy(int dx, int dy)
{
    const CPoint origin = GetViewOrigin();
    SetViewOrigin(origin.x + dx, origin.y + dy);
}

void CTalisoView::ScrollTo(int nBar, UINT nSBCode, UINT nPos)
{
    const int divisor = m_nScrollDivisor;
    int lo = 0;
    int hi = 0;
    GetScrollRange(nBar, &lo, &hi);
    lo *= divisor;
    hi *= divisor;
    const int current = GetScrollPos(nBar) * divisor;
    const int line = nBar == SB_HORZ ? m_sizeLine.cx : m_sizeLine.cy;
    const int page = nBar == SB_HORZ ? m_sizePage.cx : m_sizePage.cy;
    int p = current;
    switch (nSBCode) {
    case SB_LINELEFT: p -= line; break; // SB_LINEUP
    case SB_LINERIGHT: p += line; break;
    case SB_PAGELEFT: p -= page; break;
    case SB_PAGERIGHT: p += page; break;
    case SB_THUMBTRACK: p = int(nPos) * divisor; break;
    case SB_LEFT: p = lo; break; // SB_TOP
    case SB_RIGHT: p = hi; break;
    default: break; // SB_THUMBPOSITION and SB_ENDSCROLL leave the view where the tracking put it
    }
    p = std::clamp(p, lo, hi);
    if (p == current)
        return;
    SetScrollPos(nBar, p / divisor, TRUE);
    RedrawNow();
}

void CTalisoView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    ScrollTo(SB_HORZ, nSBCode, nPos);
}

void CTalisoView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    ScrollTo(SB_VERT, nSBCode, nPos);
}

// --- keyboard ---

void CTalisoView::RefreshCursorShape()
{
    POINT cursor{};
    if (GetCursorPos(&cursor))
        SetCursorPos(cursor.x, cursor.y);
    CPoint client(cursor);
    ScreenToClient(&client);
    CRect rect;
    GetClientRect(&rect);
    if (rect.PtInRect(client))
        OnSetCursor(this, HTCLIENT, WM_MOUSEMOVE);
}

void CTalisoView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const BOOL control = IsKeyDown(VK_CONTROL);
    const BOOL shift = IsKeyDown(VK_SHIFT);
    if ((control || shift) && nRepCnt == 1)
        RefreshCursorShape();
    switch (nChar) {
    case VK_TAB: SendMessage(WM_COMMAND, shift ? ID_PREV_PANE : ID_NEXT_PANE); break;
    case VK_PRIOR: control ? OnHScroll(SB_PAGELEFT, 0, nullptr) : OnVScroll(SB_PAGEUP, 0, nullptr); break;
    case VK_NEXT: control ? OnHScroll(SB_PAGERIGHT, 0, nullptr) : OnVScroll(SB_PAGEDOWN, 0, nullptr); break;
    case VK_LEFT: OnHScroll(control ? SB_PAGELEFT : SB_LINELEFT, 0, nullptr); break;
    case VK_RIGHT: OnHScroll(control ? SB_PAGERIGHT : SB_LINERIGHT, 0, nullptr); break;
    case VK_UP: OnVScroll(control ? SB_PAGEUP : SB_LINEUP, 0, nullptr); break;
    case VK_DOWN: OnVScroll(control ? SB_PAGEDOWN : SB_LINEDOWN, 0, nullptr); break;
    case 'X': m_nAxisLock = 'X'; break;
    case 'Y': m_nAxisLock = 'Y'; break;
    default: CView::OnKeyDown(nChar, nRepCnt, nFlags); break;
    }
}

void CTalisoView::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if ((nChar == VK_SHIFT || nChar == VK_CONTROL) && nRepCnt == 1)
        RefreshCursorShape();
    m_nAxisLock = 0;
    CView::OnKeyUp(nChar, nRepCnt, nFlags);
}

// --- painting ---

void CTalisoView::OnDraw(CDC* pDC)
{
    if (pDC->IsPrinting())
        return;
    CRect client;
    GetClientRect(&client);
    if (client.right <= client.left || client.bottom <= client.top)
        return;
    if (GetTalisoSetup().m_bDrawOnScreen)
        DrawScene(pDC);
    else
        DrawDoubleBuffered(pDC, client);
    CString caption;
    caption.Format(LoadText(IDS_VIEW_CAPTION).c_str(), GetUnitText().c_str());
    SetCaptionText(caption.c_str());
}

void CTalisoView::DrawIntoPixels(CDC* pDC, const CRect& client)
{
    // The same start as a fresh memory DC: black client area, the default objects and modes.
    const int saved = pDC->SaveDC();
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(client.left, client.top);
    pDC->SetWindowOrg(0, 0);
    pDC->IntersectClipRect(0, 0, client.Width(), client.Height());
    pDC->SelectStockObject(BLACK_PEN);
    pDC->SelectStockObject(WHITE_BRUSH);
    pDC->SelectStockObject(SYSTEM_FONT);
    pDC->SetROP2(R2_COPYPEN);
    pDC->SetBkMode(OPAQUE);
    pDC->SetBkColor(RGB(255, 255, 255));
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->SetPolyFillMode(ALTERNATE);
    pDC->PatBlt(0, 0, client.Width(), client.Height(), BLACKNESS);
    OnPrepareDC(pDC);
    DrawScene(pDC);
    pDC->RestoreDC(saved);
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(client.left, client.top);
    pDC->SetWindowOrg(0, 0);
}

void CTalisoView::DrawDoubleBuffered(CDC* pDC, const CRect& client)
{
    // Pixels that show only when presented whole need no second buffer: the scene is
    // drawn straight into them as it would be into the memory DC.
    if (pDC->HasPixels()) {
        DrawIntoPixels(pDC, client);
        return;
    }
    CBitmap bitmap;
    CDC memory;
    if (!bitmap.CreateCompatibleBitmap(pDC, client.Width(), client.Height()) || !memory.CreateCompatibleDC(pDC)) {
        DrawScene(pDC);
        return;
    }
    CBitmap* old = memory.SelectObject(&bitmap);
    memory.PatBlt(0, 0, client.Width(), client.Height(), BLACKNESS);
    OnPrepareDC(&memory);
    DrawScene(&memory);
    for (CDC* dc : {pDC, &memory}) {
        dc->SetMapMode(MM_TEXT);
        dc->SetViewportOrg(client.left, client.top);
        dc->SetWindowOrg(0, 0);
    }
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

void CTalisoView::DrawScene(CDC* pDC)
{
    const CTalisoSetup& setup = GetTalisoSetup();
    DrawObjects(pDC);
    if (setup.m_bViewAngle) DrawAngleRange(pDC);
    if (setup.m_bViewGrid) DrawGrid(pDC);
    if (setup.m_bViewLabels) DrawGridLabels(pDC);
}

void CTalisoView::DrawObjects(CDC* pDC)
{
    CTalisoDoc* doc = GetDocument();
    if (doc == nullptr)
        return;
    const int layer = doc->GetActiveLayer();
    const int oldRop = pDC->GetROP2();
    if (CShelter* second = doc->GetSecondObject(); second != nullptr) {
        pDC->SetROP2(R2_MERGEPEN);
        second->SetFillColor(doc->GetSecondObjectColor());
        second->DrawFilledOnLayer(pDC, layer);
    }
    if (CShelter* current = doc->GetCurrentObject(); current != nullptr) {
        pDC->SetROP2(R2_MERGEPEN);
        current->SetFillColor(doc->GetCurrentObjectColor());
        current->DrawFilledOnLayer(pDC, layer);
        if (doc->IsEditMode()) {
            pDC->SetROP2(R2_COPYPEN);
            const int marker = GetTalisoSetup().m_nMarkerSizeUnits;
            current->SetHandleSize(marker, marker);
            current->DrawHandlesOnLayer(pDC, layer);
        }
    }
    pDC->SetROP2(oldRop);
}

void CTalisoView::DrawScan(CDC* pDC, CScan* pScan)
{
    if (pScan == nullptr)
        return;
    const CTalisoSetup& setup = GetTalisoSetup();
    const int layer = GetActiveUnit();
    const int oldRop = pDC->SetROP2(R2_COPYPEN);
    pScan->SetNormalColor(setup.m_crNormalScan);
    pScan->SetFlaggedColor(setup.m_crDamageScan);
    if (setup.m_bViewLineScan)
        pScan->DrawOutlineOnLayer(pDC, layer);
    else
        pScan->DrawFilledOnLayer(pDC, layer);
    pDC->SetROP2(oldRop);
}

BOOL CTalisoView::GetAngleRangeEdges(int span, int radius, POINT edges[3])
{
    // A sector of nothing has no edges to show.
    if (span >= 180 || span <= 0)
        return FALSE;
    const double halfOpen = (90.0 - span / 2.0) * M_PI / 180.0;
    const int t = int(std::tan(halfOpen) * radius + 0.5);
    edges[0] = {radius, t};
    edges[1] = {0, 0};
    edges[2] = {-radius, t};
    return TRUE;
}

void CTalisoView::DrawAngleRange(CDC* pDC)
{
    CTalisoDoc* doc = GetDocument();
    CShelter* current = doc != nullptr ? doc->GetCurrentObject() : nullptr;
    if (current == nullptr)
        return;
    POINT edges[3];
    if (!GetAngleRangeEdges(current->GetSensorType().GetAngleSpan(), m_nMaxRange, edges))
        return;
    const COLORREF color = doc->GetCurrentObjectColor();
    CBrush brush(color);
    CPen pen(PS_DASH, 1, color);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    CPen* oldPen = pDC->SelectObject(&pen);
    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
    const int oldRop = pDC->SetROP2(R2_XORPEN);
    pDC->Polyline(edges, 3);
    pDC->SetROP2(oldRop);
    pDC->SetBkMode(oldBkMode);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
}

void CTalisoView::DrawGrid(CDC* pDC)
{
    const CTalisoSetup& setup = GetTalisoSetup();
    const int unit = GetActiveUnit();
    CPen pen(PS_DOT, 0, setup.m_crGrid);
    CPen* oldPen = pDC->SelectObject(&pen);
    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
    const int oldRop = pDC->SetROP2(R2_XORPEN);
    if (setup.m_bViewRectGrid)
        DrawRectGrid(pDC, setup.GetRectGrid(unit));
    else
        DrawPolarGrid(pDC, setup.GetRadiusGrid(unit));
    pDC->SetROP2(oldRop);
    pDC->SetBkMode(oldBkMode);
    pDC->SelectObject(oldPen);
}

void CTalisoView::DrawRectGrid(CDC* pDC, int spacing)
{
    const int limit = m_nMaxRange;
    pDC->MoveTo(0, 0);
    pDC->LineTo(0, limit);
    if (spacing <= 0)
        return;
    for (int x = NextGridValue(0, spacing, limit); x >= 0; x = NextGridValue(x, spacing, limit)) {
        pDC->MoveTo(x, 0);
        pDC->LineTo(x, limit);
        pDC->MoveTo(-x, 0);
        pDC->LineTo(-x, limit);
    }
    for (int y = 0; y >= 0; y = NextGridValue(y, spacing, limit)) {
        pDC->MoveTo(-limit, y);
        pDC->LineTo(limit, y);
    }
}

void CTalisoView::DrawPolarGrid(CDC* pDC, int spacing)
{
    const int limit = m_nMaxRange;
    CBrush hollow;
    hollow.CreateStockObject(NULL_BRUSH);
    CBrush* oldBrush = pDC->SelectObject(&hollow);
    if (spacing > 0) {
        for (int r = NextGridValue(0, spacing, limit); r >= 0; r = NextGridValue(r, spacing, limit)) {
            if (!pDC->Arc(-r, r, r, -r, r, 0, -r, 0))
                break;
        }
    }
    const int angleStep = GetTalisoSetup().m_nAngleGrid;
    for (int a = 0; a <= 180; a += std::max(1, angleStep)) {
        const CSensorPoint end{CPolarCoord(float(a), float(limit))};
        pDC->MoveTo(0, 0);
        pDC->LineTo(end.GetPoint());
        if (angleStep <= 0)
            break; // one ray along the x axis, as a step of nothing cannot go further
    }
    pDC->SelectObject(oldBrush);
}

void CTalisoView::DrawGridLabels(CDC* pDC)
{
    const CTalisoSetup& setup = GetTalisoSetup();
    const int unit = GetActiveUnit();
    const int spacing = setup.GetRectGrid(unit);
    if (spacing <= 0)
        return;
    // Labels keep 8 points on the screen at every zoom.
    CSize fontSize(0, MulDiv(8, pDC->GetDeviceCaps(LOGPIXELSY), 72));
    pDC->DPtoLP(&fontSize);
    LOGFONT lf = ArialFont(-std::abs(fontSize.cy), FW_NORMAL);
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* oldFont = pDC->SelectObject(&font);

    CRect visible;
    GetClientRect(&visible);
    pDC->DPtoLP(&visible);
    visible.NormalizeRect();
    const int xc = visible.CenterPoint().x;
    const int yc = visible.CenterPoint().y;
    const COLORREF oldColor = pDC->SetTextColor(setup.m_crLabel);
    const UINT oldAlign = pDC->SetTextAlign(TA_CENTER | TA_BOTTOM);
    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
    const BOOL inch = !setup.m_bViewMetric;
    auto labelValue = [&](int v) { return inch ? RoundToInt(InchFromUnit(v, unit)) : v; };
    // Labels outside the window would not show; the margin keeps those whose text reaches in.
    const int margin = std::abs(fontSize.cy) * 8;
    auto shows = [&](int x, int y) {
        return x >= visible.left - margin && x <= visible.right + margin && y >= visible.top - margin &&
               y <= visible.bottom + margin;
    };
    const int limit = m_nMaxRange;
    CString text;
    for (int v = 0; v >= 0; v = NextGridValue(v, spacing, limit)) {
        if (!shows(xc, v)) continue;
        text.Format("%d", labelValue(v));
        pDC->TextOut(xc, v, text);
    }
    // The labels across name the lines in sight; one at a side edge moves in by what would
    // stick out, so that it shows whole.
    const int rowLeft = std::max(visible.left, -limit);
    const int rowRight = std::min(visible.right, limit);
    auto rowLabel = [&](int x) {
        if (x < rowLeft || x > rowRight)
            return;
        text.Format("%+d", labelValue(x));
        const int half = std::abs(pDC->GetTextExtent(text).cx) / 2;
        pDC->TextOut(std::clamp(x, rowLeft + half, std::max(rowLeft + half, rowRight - half)), yc, text);
    };
    for (int v = 0; v >= 0; v = NextGridValue(v, spacing, limit)) {
        rowLabel(v);
        if (v > 0)
            rowLabel(-v);
    }
    pDC->SetBkMode(oldBkMode);
    pDC->SetTextAlign(oldAlign);
    pDC->SetTextColor(oldColor);
    pDC->SelectObject(oldFont);
}

// --- status panes and context menu ---

void CTalisoView::ShowPaneText(CCmdUI* pCmdUI, const CString& text, BOOL bNarrow)
{
    auto* bar = dynamic_cast<CStatusBar*>(pCmdUI->m_pOther);
    if (bar != nullptr && bar->m_hWnd != nullptr && !text.IsEmpty()) {
        UINT id = 0;
        UINT style = 0;
        int width = 0;
        bar->GetPaneInfo(int(pCmdUI->m_nIndex), id, style, width);
        CClientDC dc(bar);
        CFont* old = dc.SelectObject(bar->GetFont());
        const int wanted = dc.GetTextExtent(text).cx;
        dc.SelectObject(old);
        if (wanted > width || (bNarrow && wanted != width))
            bar->SetPaneInfo(int(pCmdUI->m_nIndex), id, style, wanted);
    }
    pCmdUI->Enable(!text.IsEmpty());
    pCmdUI->SetText(text.c_str());
}

CString CTalisoView::GetCursorPaneText(CPoint clientPoint)
{
    CTalisoDoc* doc = GetDocument();
    if (doc == nullptr || doc->GetCurrentObject() == nullptr || m_hWnd == nullptr)
        return CString();
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(clientPoint))
        return CString();
    const CTalisoSetup& setup = GetTalisoSetup();
    const int unit = doc->GetActiveLayer();
    const bool inch = !setup.m_bViewMetric;
    const CSensorPoint p = ClientToLogical(clientPoint);
    if (!setup.m_bViewRectGrid)
        return FormatPointAngle(p, true) + " x " + FormatPointRadius(p, unit, inch, true);
    return FormatPointX(p, unit, inch, true) + " x " + FormatPointY(p, unit, inch, true);
}

CString CTalisoView::GetAxisLockPaneText() const
{
    return LoadText(m_nAxisLock == 'X' ? IDS_AXIS_LOCK_X : m_nAxisLock == 'Y' ? IDS_AXIS_LOCK_Y : IDS_AXIS_LOCK_NONE);
}

void CTalisoView::OnUpdateCursorPane(CCmdUI* pCmdUI)
{
    CString text;
    POINT cursor{};
    if (CWnd::GetFocus() == this && GetCursorPos(&cursor)) {
        CPoint client(cursor);
        ScreenToClient(&client);
        text = GetCursorPaneText(client);
    }
    ShowPaneText(pCmdUI, text, FALSE);
}

void CTalisoView::OnUpdateAxisLockPane(CCmdUI* pCmdUI)
{
    ShowPaneText(pCmdUI, GetAxisLockPaneText(), FALSE);
}

std::unique_ptr<CMenu> CTalisoView::GetContextMenu()
{
    return nullptr;
}

void CTalisoView::OnRButtonDown(UINT, CPoint point)
{
    if (m_bInContextMenu)
        return;
    m_bInContextMenu = 1;
    if (CWnd::GetFocus() == this) {
        std::unique_ptr<CMenu> menu = GetContextMenu();
        CMenu* popup = menu != nullptr ? menu->GetSubMenu(0) : nullptr;
        if (popup != nullptr) {
            CWnd* owner = this;
            while (owner->GetParent() != nullptr && (owner->GetStyle() & WS_CHILD) != 0)
                owner = owner->GetParent();
            CPoint screen = point;
            ClientToScreen(&screen);
            popup->TrackPopupMenu(TPM_RIGHTBUTTON, screen.x, screen.y, owner);
        }
    }
    m_bInContextMenu = 0;
}

// --- mouse editing ---

CShelter* CTalisoView::GetEditableObject()
{
    CTalisoDoc* doc = GetDocument();
    if (doc == nullptr || !doc->IsEditMode())
        return nullptr;
    CShelter* field = doc->GetCurrentObject();
    if (field == nullptr || field->GetSensorType().GetLayer() != doc->GetActiveLayer())
        return nullptr;
    return field;
}

void CTalisoView::NotifyFieldChanged(BOOL bModified)
{
    CTalisoDoc* doc = GetDocument();
    if (bModified)
        doc->SetModifiedFlag(TRUE);
    doc->UpdateAllViews(nullptr, kHintCurrentObjectChanged, nullptr);
}

void CTalisoView::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bPanMode) {
        if (CShelter* field = GetEditableObject(); field != nullptr) {
            const CSensorPoint p = field->SnapPoint(ClientToLogical(point), kSnapToGrid);
            const BOOL onHandle = (field->HitTest(p) & kHitHandle) != 0;
            // The selection is kept in the document file: clearing it is a change to save.
            if (!onHandle && (nFlags & (MK_CONTROL | MK_SHIFT)) == 0) {
                field->Select(0, CSensorPoint());
                NotifyFieldChanged(TRUE);
            }
        }
    }
    m_ptLast = point;
    m_bButtonDown = TRUE;
    SetCapture();
}

void CTalisoView::BeginHandleDrag(CShelter* pField)
{
    CSensorPoint p = pField->SnapPoint(ClientToLogical(m_ptLast), kSnapToGrid);
    const WORD hit = pField->HitTest(p);
    if ((hit & kHitHandle) == 0)
        return;
    m_pDragSnapshot = pField->CloneShelter();
    m_bModifiedBeforeDrag = GetDocument()->IsModified();
    p = pField->GetDragPosition(hit, p);
    // A shape that changes as the drag begins has lifted the point off for the release to place.
    m_bPointLifted = pField->BeginDrag(p);
    if (m_bPointLifted)
        NotifyFieldChanged(TRUE);
}

void CTalisoView::OnMouseMove(UINT nFlags, CPoint point)
{
    if ((nFlags & MK_LBUTTON) == 0 || !m_bButtonDown)
        return;
    if (m_bPanMode) {
        CClientDC dc(this);
        OnPrepareDC(&dc);
        CSize delta(m_ptLast.x - point.x, point.y - m_ptLast.y);
        dc.DPtoLP(&delta);
        ScrollBy(delta.cx, delta.cy);
        m_ptLast = point;
        return;
    }
    if (!m_bDragging) {
        if (std::abs(point.x - m_ptLast.x) < kDragThreshold && std::abs(point.y - m_ptLast.y) < kDragThreshold)
            return;
        if (CShelter* field = GetEditableObject(); field != nullptr)
            BeginHandleDrag(field);
        m_bDragging = 1;
        return;
    }
    CShelter* field = GetEditableObject();
    if (field != nullptr && field->IsDragging()) {
        if (field->DragTo(ClientToLogical(point)))
            NotifyFieldChanged(TRUE);
        m_ptLast = point;
    }
}

BOOL CTalisoView::FinishDrag(CPoint point)
{
    CShelter* field = GetEditableObject();
    BOOL refused = FALSE;
    if (field != nullptr && field->IsDragging()) {
        const BOOL placed = field->EndDrag(ClientToLogical(point));
        refused = m_bPointLifted && !placed;
        // The drag is one undo step, and none when the field came back to its shape.
        CTalisoDoc* doc = GetDocument();
        const BOOL changed = m_pDragSnapshot != nullptr && doc->RecordFieldChange(*m_pDragSnapshot, *field);
        if (!changed)
            doc->SetModifiedFlag(m_bModifiedBeforeDrag);
        NotifyFieldChanged(changed);
    }
    m_pDragSnapshot.reset();
    m_bPointLifted = FALSE;
    return refused;
}

void CTalisoView::OnLButtonUp(UINT nFlags, CPoint point)
{
    BOOL refused = FALSE;
    if (m_bPanMode) {
        m_bPanMode = 0;
    } else if (m_bDragging) {
        refused = FinishDrag(point);
    } else if (CShelter* field = GetEditableObject(); field != nullptr && m_bButtonDown) {
        CSensorPoint p = field->SnapPoint(ClientToLogical(point), kSnapToGrid);
        const WORD hit = field->HitTest(p);
        if ((hit & kHitHandle) != 0) {
            p = field->GetDragPosition(hit, p);
            const int mode = (nFlags & MK_CONTROL) != 0 ? 4 : (nFlags & MK_SHIFT) != 0 ? 5 : 3;
            field->Select(mode, p);
            // Points keep their selection in the document file; other shapes select nothing.
            NotifyFieldChanged(field->IsBeamContour());
        }
    }
    if (CWnd::GetCapture() == this)
        ReleaseCapture();
    m_ptLast = point;
    m_bDragging = 0;
    m_bButtonDown = FALSE;
    // As for a double-click there: the drop point lies outside the field's range.
    if (refused)
        AfxMessageBox(IDP_POINT_OUT_OF_RANGE, MB_ICONINFORMATION);
}

void CTalisoView::OnCancelMode()
{
    CView::OnCancelMode();
    // A drag that loses the mouse ends where it was last seen, recorded like a release.
    if (m_bDragging)
        FinishDrag(m_ptLast);
    if (CWnd::GetCapture() == this)
        ReleaseCapture();
    m_bDragging = 0;
    m_bButtonDown = FALSE;
}

void CTalisoView::OnLButtonDblClk(UINT, CPoint point)
{
    CShelter* field = GetEditableObject();
    if (field == nullptr)
        return;
    const CSensorPoint p = ClientToLogical(point);
    if (!field->IsInSensorRange(p)) {
        AfxMessageBox(IDP_POINT_OUT_OF_RANGE, MB_ICONINFORMATION);
        return;
    }
    const int mode = m_nAxisLock == 'X' ? kSnapKeepX : m_nAxisLock == 'Y' ? kSnapKeepY : kSnapToGrid;
    std::unique_ptr<CShelter> before = field->CloneShelter();
    if (!field->PlacePoint(p, mode)) {
        AfxMessageBox(IDP_POINT_OUT_OF_RANGE, MB_ICONINFORMATION);
        return;
    }
    if (GetDocument()->RecordFieldChange(*before, *field))
        NotifyFieldChanged(TRUE);
}

BOOL CTalisoView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bPanMode) {
        ::SetCursor(m_hcurPan);
        return TRUE;
    }
    CShelter* field = GetEditableObject();
    POINT cursor{};
    if (field != nullptr && nHitTest == HTCLIENT && GetCursorPos(&cursor)) {
        CPoint client(cursor);
        ScreenToClient(&client);
        const CSensorPoint p = ClientToLogical(client);
        if (field->HitTest(p) != 0) {
            const WORD hit = field->HitTest(field->SnapPoint(p, kSnapToGrid));
            if ((hit & kHitHandle) != 0)
                ::SetCursor(IsKeyDown(VK_CONTROL) || IsKeyDown(VK_SHIFT) ? m_hcurOnVertexModifier : m_hcurOnVertex);
            else
                ::SetCursor(m_hcurOnContour);
            return TRUE;
        }
    }
    return CView::OnSetCursor(pWnd, nHitTest, message);
}
