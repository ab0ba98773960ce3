#include "framework/ui/CToolBar.h"

#include "framework/core/ExtractSubString.h"
#include "framework/core/Resources.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CPaintDC.h"
#include "framework/ui/WindowHandle.h"

#include <QEvent>
#include <QHelpEvent>
#include <QToolTip>

#include <algorithm>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
END_MESSAGE_MAP()

namespace {

constexpr int kSeparatorWidth = 8;
constexpr int kButtonMargin = 2;  // around the row of buttons
constexpr int kGripperWidth = 8;
constexpr COLORREF kImageBackground = RGB(192, 192, 192);
constexpr COLORREF kCheckedFace = RGB(252, 252, 252);

// A button of a tool bar as the update handlers see it.
class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(CToolBar& bar) : m_bar(bar) {}

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        UINT style = m_bar.GetButtonStyle(int(m_nIndex));
        style = bOn ? style & ~TBBS_DISABLED : (style | TBBS_DISABLED) & ~TBBS_PRESSED;
        m_bar.SetButtonStyle(int(m_nIndex), style);
    }
    void SetCheck(int nCheck) override
    {
        UINT style = m_bar.GetButtonStyle(int(m_nIndex)) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (nCheck == 1)
            style |= TBBS_CHECKED;
        else if (nCheck == 2)
            style |= TBBS_INDETERMINATE;
        m_bar.SetButtonStyle(int(m_nIndex), style | TBBS_CHECKBOX);
    }
    void SetText(LPCTSTR) override {} // buttons show no text

private:
    CToolBar& m_bar;
};

// Shows a button's tip and ends the fly-by prompt when the mouse leaves the bar.
class ToolTipFilter final : public QObject {
public:
    ToolTipFilter(QWidget* widget, HWND hWnd) : QObject(widget), m_hWnd(hWnd) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* bar = AfxIsLiveHandle(m_hWnd) ? dynamic_cast<CToolBar*>(CWnd::FromHandlePermanent(m_hWnd)) : nullptr;
        if (bar == nullptr)
            return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::Leave)
            bar->OnHoverChanged(-1);
        if (event->type() != QEvent::ToolTip)
            return QObject::eventFilter(watched, event);
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = bar->HitTest(CPoint(help->pos().x(), help->pos().y()));
        const CString tip = (bar->GetBarStyle() & CBRS_TOOLTIPS) ? bar->GetToolTipText(index) : CString();
        if (tip.IsEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), QString::fromUtf8(tip.c_str()), qobject_cast<QWidget*>(watched));
        return true;
    }

private:
    HWND m_hWnd;
};

// The substring of a command string between the nth and the next "\n".
CString CommandStringPart(UINT nID, int part)
{
    CString text;
    CString piece;
    if (nID != 0 && text.LoadString(nID))
        AfxExtractSubString(piece, text, part);
    return piece;
}

} // namespace

CToolBar::CToolBar() = default;

CToolBar::~CToolBar() = default;

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    m_dwCtrlStyle = dwCtrlStyle;
    m_rcBorders = rcBorders;
    return CreateBarWindow(pParentWnd, dwStyle, nID, 0);
}

int CToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (QWidget* widget = AfxWidgetFromHandle(m_hWnd))
        widget->installEventFilter(new ToolTipFilter(widget, m_hWnd));
    return 0;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    if (sizeButton.cx <= 0 || sizeButton.cy <= 0 || sizeImage.cx <= 0 || sizeImage.cy <= 0)
        return;
    m_sizeButton = CSize(std::max(sizeButton.cx, sizeImage.cx), std::max(sizeButton.cy, sizeImage.cy));
    m_sizeImage = sizeImage;
    if (m_hWnd != nullptr) {
        Invalidate();
        RecalcParentLayout();
    }
}

BOOL CToolBar::LoadBitmap(UINT nIDResource)
{
    CBitmap source;
    if (!source.LoadBitmap(nIDResource))
        return FALSE;
    const CSize size = source.GetSize();
    if (size.cx <= 0 || size.cy <= 0)
        return FALSE;

    CDC sourceDC;
    CDC faceDC;
    CDC disabledDC;
    CBitmap& face = m_bitmap;
    CBitmap& disabled = m_bitmapDisabled;
    face.DeleteObject();
    disabled.DeleteObject();
    m_nImageCount = 0;
    if (!sourceDC.CreateCompatibleDC(nullptr) || !faceDC.CreateCompatibleDC(nullptr) ||
        !disabledDC.CreateCompatibleDC(nullptr))
        return FALSE;
    CBitmap* oldSource = sourceDC.SelectObject(&source);
    if (!face.CreateCompatibleBitmap(&sourceDC, size.cx, size.cy) ||
        !disabled.CreateCompatibleBitmap(&sourceDC, size.cx, size.cy)) {
        sourceDC.SelectObject(oldSource);
        return FALSE;
    }
    CBitmap* oldFace = faceDC.SelectObject(&face);
    CBitmap* oldDisabled = disabledDC.SelectObject(&disabled);
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            const COLORREF colour = sourceDC.GetPixel(x, y);
            const bool background = colour == kImageBackground;
            faceDC.SetPixel(x, y, background ? kBarFaceColor : colour);
            // Disabled images keep only their dark parts, in the shadow colour.
            const int brightness = (GetRValue(colour) * 3 + GetGValue(colour) * 6 + GetBValue(colour)) / 10;
            disabledDC.SetPixel(x, y, !background && brightness < 128 ? kBarShadowColor : kBarFaceColor);
        }
    }
    sourceDC.SelectObject(oldSource);
    faceDC.SelectObject(oldFace);
    disabledDC.SelectObject(oldDisabled);

    m_nImageCount = size.cx / m_sizeImage.cx;
    if (m_sizeImage.cy != size.cy)
        SetSizes(CSize(m_sizeButton.cx, std::max<int>(m_sizeButton.cy, size.cy + 7)), CSize(m_sizeImage.cx, size.cy));
    if (m_hWnd != nullptr)
        Invalidate();
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0)
        return FALSE;
    m_buttons.assign(std::size_t(nIDCount), Button{});
    int image = 0;
    for (int i = 0; lpIDArray != nullptr && i < nIDCount; ++i) {
        Button& button = m_buttons[std::size_t(i)];
        button.nID = lpIDArray[i];
        if (button.nID == ID_SEPARATOR) {
            button.nStyle = TBBS_SEPARATOR;
        } else {
            button.iImage = image++;
        }
    }
    m_nPressed = -1;
    m_nHover = -1;
    if (m_hWnd != nullptr)
        Invalidate();
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource, const UINT* lpIDArray, int nIDCount)
{
    return LoadBitmap(nIDResource) && SetButtons(lpIDArray, nIDCount);
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    const ToolBarTemplate* layout = FindToolBarTemplate(AfxGetResourceHandle(), nIDResource);
    if (layout == nullptr || layout->width <= 0 || layout->height <= 0)
        return FALSE;
    // The button leaves a 7-pixel frame around its image, as the default 23x22 for 16x15.
    SetSizes(CSize(layout->width + 7, layout->height + 7), CSize(layout->width, layout->height));
    return LoadToolBar(nIDResource, layout->items.data(), int(layout->items.size()));
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].nID == nIDFind)
            return int(i);
    }
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    return IsValidIndex(nIndex) ? m_buttons[std::size_t(nIndex)].nID : 0;
}

int CToolBar::GripperWidth() const
{
    return (m_dwStyle & CBRS_GRIPPER) ? kGripperWidth : 0;
}

std::vector<CRect> CToolBar::CalcButtonRects() const
{
    const CRect insets = BorderInsets();
    int x = insets.left + m_rcBorders.left + kButtonMargin + GripperWidth();
    const int y = insets.top + m_rcBorders.top + kButtonMargin;
    std::vector<CRect> rects;
    for (const Button& button : m_buttons) {
        const int width = (button.nStyle & TBBS_SEPARATOR) ? kSeparatorWidth : m_sizeButton.cx;
        rects.emplace_back(x, y, x + width, y + m_sizeButton.cy);
        x += width;
    }
    return rects;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (lpRect == nullptr)
        return;
    *lpRect = RECT{};
    if (IsValidIndex(nIndex))
        *lpRect = CalcButtonRects()[std::size_t(nIndex)];
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    return IsValidIndex(nIndex) ? m_buttons[std::size_t(nIndex)].nStyle : 0;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    if (!IsValidIndex(nIndex) || m_buttons[std::size_t(nIndex)].nStyle == nStyle)
        return;
    const bool widthChanged = ((m_buttons[std::size_t(nIndex)].nStyle ^ nStyle) & TBBS_SEPARATOR) != 0;
    m_buttons[std::size_t(nIndex)].nStyle = nStyle;
    if (widthChanged && m_hWnd != nullptr)
        Invalidate();
    else
        InvalidateButton(nIndex);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    const Button button = IsValidIndex(nIndex) ? m_buttons[std::size_t(nIndex)] : Button{};
    nID = button.nID;
    nStyle = button.nStyle;
    iImage = button.iImage;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    if (!IsValidIndex(nIndex))
        return;
    m_buttons[std::size_t(nIndex)] = Button{nID, nStyle, (nStyle & TBBS_SEPARATOR) ? -1 : iImage};
    if (m_hWnd != nullptr)
        Invalidate();
}

int CToolBar::HitTest(CPoint point) const
{
    const std::vector<CRect> rects = CalcButtonRects();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (!(m_buttons[i].nStyle & TBBS_SEPARATOR) && rects[i].PtInRect(point))
            return int(i);
    }
    return -1;
}

CString CToolBar::GetToolTipText(int nIndex) const
{
    const UINT nID = GetItemID(nIndex);
    if (!IsValidIndex(nIndex) || (m_buttons[std::size_t(nIndex)].nStyle & TBBS_SEPARATOR))
        return CString();
    const CString tip = CommandStringPart(nID, 1);
    return tip.IsEmpty() ? CommandStringPart(nID, 0) : tip;
}

CString CToolBar::GetPromptText(int nIndex) const
{
    if (!IsValidIndex(nIndex) || (m_buttons[std::size_t(nIndex)].nStyle & TBBS_SEPARATOR))
        return CString();
    return CommandStringPart(m_buttons[std::size_t(nIndex)].nID, 0);
}

void CToolBar::InvalidateButton(int nIndex)
{
    if (m_hWnd == nullptr || !IsValidIndex(nIndex))
        return;
    CRect rect;
    GetItemRect(nIndex, &rect);
    InvalidateRect(&rect, FALSE);
}

CSize CToolBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    const CRect insets = BorderInsets();
    const int height = m_sizeButton.cy + 2 * kButtonMargin + insets.top + insets.bottom + m_rcBorders.top +
                       m_rcBorders.bottom;
    return bHorz ? CSize(32767, height) : CSize(height, 32767);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler)
{
    CToolCmdUI state(*this);
    state.m_pOther = this;
    state.m_nIndexMax = UINT(m_buttons.size());
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].nStyle & TBBS_SEPARATOR)
            continue;
        state.m_nIndex = UINT(i);
        state.m_nID = m_buttons[i].nID;
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

void CToolBar::DrawImage(CDC& dc, int iImage, bool disabled, CPoint at)
{
    if (iImage < 0 || iImage >= m_nImageCount || m_bitmap.GetSafeHandle() == nullptr)
        return;
    CDC memory;
    if (!memory.CreateCompatibleDC(&dc))
        return;
    CBitmap* old = memory.SelectObject(disabled ? &m_bitmapDisabled : &m_bitmap);
    dc.BitBlt(at.x, at.y, m_sizeImage.cx, m_sizeImage.cy, &memory, iImage * m_sizeImage.cx, 0, SRCCOPY);
    memory.SelectObject(old);
}

void CToolBar::DrawButton(CDC& dc, const Button& button, const CRect& rect)
{
    if (button.nStyle & TBBS_SEPARATOR) {
        const int x = rect.left + rect.Width() / 2 - 1;
        dc.FillSolidRect(x, rect.top + 2, 1, rect.Height() - 4, kBarShadowColor);
        dc.FillSolidRect(x + 1, rect.top + 2, 1, rect.Height() - 4, kBarHighlightColor);
        return;
    }
    const bool disabled = (button.nStyle & TBBS_DISABLED) != 0;
    const bool sunken = (button.nStyle & (TBBS_PRESSED | TBBS_CHECKED | TBBS_INDETERMINATE)) != 0;
    const bool hovered = &button == &m_buttons[std::size_t(std::max(m_nHover, 0))] && m_nHover >= 0;
    if (button.nStyle & (TBBS_CHECKED | TBBS_INDETERMINATE))
        dc.FillSolidRect(&rect, kCheckedFace);
    if (sunken)
        dc.Draw3dRect(&rect, kBarShadowColor, kBarHighlightColor);
    else if (!disabled && (hovered || !(m_dwCtrlStyle & TBSTYLE_FLAT)))
        dc.Draw3dRect(&rect, kBarHighlightColor, kBarShadowColor);
    const int offset = sunken ? 1 : 0;
    const CPoint at(rect.left + (rect.Width() - m_sizeImage.cx) / 2 + offset,
                    rect.top + (rect.Height() - m_sizeImage.cy) / 2 + offset);
    DrawImage(dc, button.iImage, disabled, at);
}

void CToolBar::OnPaint()
{
    CPaintDC dc(this);
    const CRect inside = DrawBarBackground(dc);
    if (m_dwStyle & CBRS_GRIPPER) {
        for (int line = 0; line < 2; ++line) {
            const int x = inside.left + 2 + line * 3;
            dc.Draw3dRect(CRect(x, inside.top + 2, x + 2, inside.bottom - 2), kBarHighlightColor, kBarShadowColor);
        }
    }
    const std::vector<CRect> rects = CalcButtonRects();
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        DrawButton(dc, m_buttons[i], rects[i]);
}

void CToolBar::OnLButtonDown(UINT, CPoint point)
{
    const int index = HitTest(point);
    if (index < 0 || (m_buttons[std::size_t(index)].nStyle & TBBS_DISABLED))
        return;
    m_nPressed = index;
    SetButtonStyle(index, m_buttons[std::size_t(index)].nStyle | TBBS_PRESSED);
    SetCapture();
}

void CToolBar::OnMouseMove(UINT, CPoint point)
{
    const int index = HitTest(point);
    if (m_nPressed >= 0) {
        // The held button looks pressed only while the mouse is over it.
        const UINT style = m_buttons[std::size_t(m_nPressed)].nStyle;
        SetButtonStyle(m_nPressed, index == m_nPressed ? style | TBBS_PRESSED : style & ~TBBS_PRESSED);
    }
    OnHoverChanged(index);
}

void CToolBar::OnLButtonUp(UINT, CPoint point)
{
    if (m_nPressed < 0)
        return;
    const int index = m_nPressed;
    m_nPressed = -1;
    if (GetCapture() == this)
        ReleaseCapture();
    const Button button = m_buttons[std::size_t(index)];
    SetButtonStyle(index, button.nStyle & ~TBBS_PRESSED);
    if (HitTest(point) != index || (button.nStyle & TBBS_DISABLED))
        return;
    // Posted, so the command runs after the click, through the frame's route and the
    // command's enabled test.
    if (CFrameWnd* frame = GetDockingFrame())
        frame->PostMessage(WM_COMMAND, WPARAM(button.nID), 0);
}

void CToolBar::OnCancelMode()
{
    if (m_nPressed >= 0) {
        SetButtonStyle(m_nPressed, m_buttons[std::size_t(m_nPressed)].nStyle & ~TBBS_PRESSED);
        m_nPressed = -1;
        if (GetCapture() == this)
            ReleaseCapture();
    }
    CControlBar::OnCancelMode();
}

void CToolBar::OnHoverChanged(int nIndex)
{
    if (nIndex == m_nHover)
        return;
    const int previous = m_nHover;
    m_nHover = nIndex;
    InvalidateButton(previous);
    InvalidateButton(nIndex);
    if (!(m_dwStyle & CBRS_FLYBY))
        return;
    CFrameWnd* frame = GetDockingFrame();
    if (frame == nullptr)
        return;
    const CString prompt = GetPromptText(nIndex);
    if (!prompt.IsEmpty()) {
        if (!m_bFlyByShown)
            m_strSavedMessage = frame->GetMessageText();
        m_bFlyByShown = true;
        frame->SetMessageText(prompt.c_str());
    } else if (m_bFlyByShown) {
        m_bFlyByShown = false;
        frame->SetMessageText(m_strSavedMessage.c_str());
    }
}
