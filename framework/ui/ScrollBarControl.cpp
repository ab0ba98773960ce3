#include "framework/ui/ScrollBarControl.h"

#include "framework/ui/ControlDefs.h"
#include "framework/ui/ControlSupport.h"
#include "framework/ui/WindowHandle.h"

#include <algorithm>

namespace {

bool ScrollBarProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    auto* bar = dynamic_cast<ScrollBarWidget*>(AfxWidgetFromHandle(hWnd));
    return bar != nullptr && bar->HandleMessage(hWnd, message, wParam, lParam, result);
}

const WindowClassInfo* RegisterScrollBarClass()
{
    WindowClassInfo info;
    info.name = "SCROLLBAR";
    info.createWidget = &AfxCreateScrollBarWidget;
    info.windowProc = &ScrollBarProc;
    return AfxRegisterWindowClass(std::move(info));
}

const WindowClassInfo* const s_scrollBarClass = RegisterScrollBarClass();

} // namespace

QWidget* AfxCreateScrollBarWidget(const CREATESTRUCT& cs, QWidget* parent)
{
    (void)s_scrollBarClass;
    return new ScrollBarWidget(DWORD(cs.style), parent);
}

ScrollBarWidget::ScrollBarWidget(DWORD style, QWidget* parent)
    : QScrollBar((style & SBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent)
{
    setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::NoFocus);
    ShowState();
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) { OnAction(action); });
    connect(this, &QAbstractSlider::sliderReleased, this, [this] { OnReleased(); });
}

void ScrollBarWidget::ShowState()
{
    const QSignalBlocker blocker(this);
    const int page = int(std::min<UINT>(m_page, UINT(std::max(m_max - m_min + 1, 0))));
    setRange(m_min, page > 0 ? std::max(m_min, m_max - page + 1) : m_max);
    setPageStep(std::max(page, 1));
    setSliderPosition(m_pos);
}

void ScrollBarWidget::Notify(UINT code, int position)
{
    HWND hWnd = AfxHandleFromWidget(this);
    HWND parent = hWnd ? AfxParentHandle(hWnd) : nullptr;
    if (!parent) return;
    ::SendMessage(parent, orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL,
                  WPARAM(MAKELONG(WORD(code), WORD(position))), LPARAM(hWnd));
}

// The parent moves the thumb (SetScrollPos); Qt's own move is taken back first.
void ScrollBarWidget::OnAction(int action)
{
    UINT code = 0;
    int position = m_pos;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove:
        code = SB_THUMBTRACK;
        position = sliderPosition();
        break;
    default: return;
    }
    if (code != SB_THUMBTRACK) setSliderPosition(m_pos);
    m_trackPos = position;
    Notify(code, position);
}

void ScrollBarWidget::OnReleased()
{
    Notify(SB_THUMBPOSITION, m_trackPos);
    Notify(SB_ENDSCROLL, 0);
    ShowState();
}

bool ScrollBarWidget::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case SBM_SETPOS: {
        const int previous = m_pos;
        m_pos = std::clamp(int(wParam), m_min, std::max(m_min, m_max - int(m_page > 0 ? m_page - 1 : 0)));
        ShowState();
        result = previous;
        return true;
    }
    case SBM_GETPOS:
        result = m_pos;
        return true;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
        m_min = int(wParam);
        m_max = int(lParam);
        m_pos = std::clamp(m_pos, m_min, std::max(m_min, m_max));
        ShowState();
        result = m_pos;
        return true;
    case SBM_GETRANGE:
        if (wParam) *reinterpret_cast<int*>(wParam) = m_min;
        if (lParam) *reinterpret_cast<int*>(lParam) = m_max;
        result = 0;
        return true;
    case SBM_SETSCROLLINFO: {
        const auto* info = reinterpret_cast<const SCROLLINFO*>(lParam);
        if (info) {
            if (info->fMask & SIF_RANGE) {
                m_min = info->nMin;
                m_max = info->nMax;
            }
            if (info->fMask & SIF_PAGE) m_page = info->nPage;
            if (info->fMask & SIF_POS) m_pos = info->nPos;
            m_pos = std::clamp(m_pos, m_min, std::max(m_min, m_max - int(m_page > 0 ? m_page - 1 : 0)));
            ShowState();
        }
        result = m_pos;
        return true;
    }
    case SBM_GETSCROLLINFO: {
        auto* info = reinterpret_cast<SCROLLINFO*>(lParam);
        if (info) {
            if (info->fMask & SIF_RANGE) {
                info->nMin = m_min;
                info->nMax = m_max;
            }
            if (info->fMask & SIF_PAGE) info->nPage = m_page;
            if (info->fMask & SIF_POS) info->nPos = m_pos;
            if (info->fMask & SIF_TRACKPOS) info->nTrackPos = m_trackPos;
        }
        result = TRUE;
        return true;
    }
    case WM_GETDLGCODE:
        result = 0;
        return true;
    default:
        return false;
    }
}
