#include "framework/ui/StaticControl.h"

#include "framework/core/Resources.h"
#include "framework/gdi/CDC.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/gdi/GdiQt.h"
#include "framework/gdi/GdiRaster.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/ControlSupport.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace {

bool StaticProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    auto* label = dynamic_cast<StaticWidget*>(AfxWidgetFromHandle(hWnd));
    return label != nullptr && label->HandleMessage(hWnd, message, wParam, lParam, result);
}

const WindowClassInfo* RegisterStaticClass()
{
    WindowClassInfo info;
    info.name = "STATIC";
    info.style = CS_DBLCLKS;
    info.createWidget = &AfxCreateStaticWidget;
    info.windowProc = &StaticProc;
    return AfxRegisterWindowClass(std::move(info));
}

const WindowClassInfo* const s_staticClass = RegisterStaticClass();

} // namespace

QWidget* AfxCreateStaticWidget(const CREATESTRUCT& cs, QWidget* parent)
{
    (void)s_staticClass;
    return new StaticWidget(DWORD(cs.style), cs.lpszName ? QString::fromUtf8(cs.lpszName) : QString(), parent);
}

QImage AfxStandardIconImage(HICON hIcon, int size)
{
    QStyle::StandardPixmap kind;
    switch (reinterpret_cast<std::uintptr_t>(hIcon)) {
    case 32513: kind = QStyle::SP_MessageBoxCritical; break;
    case 32514: kind = QStyle::SP_MessageBoxQuestion; break;
    case 32515: kind = QStyle::SP_MessageBoxWarning; break;
    case 32516: kind = QStyle::SP_MessageBoxInformation; break;
    case 32512: kind = QStyle::SP_DesktopIcon; break;
    default: return QImage();
    }
    return QApplication::style()->standardIcon(kind).pixmap(size, size).toImage();
}

StaticWidget::StaticWidget(DWORD style, const QString& text, QWidget* parent) : QWidget(parent), m_style(style), m_text(text)
{
    setFocusPolicy(Qt::NoFocus);
    if (!(style & SS_NOTIFY)) setAttribute(Qt::WA_TransparentForMouseEvents);
}

void StaticWidget::LoadBitmapResource(UINT id)
{
    const std::vector<std::uint8_t>* bytes = FindBitmapResource(AfxGetResourceHandle(), id);
    CBitmap bitmap;
    if (bytes && bitmap.LoadBitmapFromBytes(bytes->data(), bytes->size())) m_resourceBitmap = GdiBitmapImage(bitmap.GetSafeHandle());
    update();
}

bool StaticWidget::HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    (void)hWnd;
    switch (message) {
    case WM_SETTEXT:
        m_text = AfxTextFromParam(lParam);
        update();
        result = TRUE;
        return true;
    case WM_GETTEXT:
        result = AfxCopyTextToBuffer(m_text, lParam, wParam);
        return true;
    case WM_GETTEXTLENGTH:
        result = AfxTextLength(m_text);
        return true;
    case WM_GETDLGCODE:
        result = DLGC_STATIC;
        return true;
    case STM_SETICON: {
        HICON previous = m_icon;
        m_icon = reinterpret_cast<HICON>(wParam);
        update();
        result = reinterpret_cast<LRESULT>(previous);
        return true;
    }
    case STM_GETICON:
        result = reinterpret_cast<LRESULT>(m_icon);
        return true;
    case STM_SETIMAGE: {
        if (wParam == IMAGE_ICON) {
            HICON previous = m_icon;
            m_icon = reinterpret_cast<HICON>(lParam);
            result = reinterpret_cast<LRESULT>(previous);
        } else {
            HGDIOBJ previous = m_bitmap;
            m_bitmap = reinterpret_cast<HGDIOBJ>(lParam);
            result = reinterpret_cast<LRESULT>(previous);
        }
        update();
        return true;
    }
    case STM_GETIMAGE:
        result = wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(m_icon) : reinterpret_cast<LRESULT>(m_bitmap);
        return true;
    default:
        return false;
    }
}

QImage StaticWidget::ImageToShow() const
{
    if (Kind() == SS_ICON) return AfxStandardIconImage(m_icon, 32);
    if (Kind() == SS_BITMAP) {
        if (m_bitmap) return GdiBitmapImage(m_bitmap);
        return m_resourceBitmap;
    }
    return QImage();
}

void StaticWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const DWORD kind = Kind();
    if (kind == SS_ICON || kind == SS_BITMAP) {
        const QImage image = ImageToShow();
        if (!image.isNull()) {
            const QPoint at = (m_style & SS_CENTERIMAGE) ? QPoint((width() - image.width()) / 2, (height() - image.height()) / 2)
                                                         : QPoint(0, 0);
            painter.drawImage(at, image);
        }
        return;
    }
    if (kind >= SS_BLACKRECT && kind <= SS_WHITEFRAME) {
        PaintFrame(painter);
        return;
    }
    if (kind == SS_ETCHEDHORZ || kind == SS_ETCHEDVERT || kind == SS_ETCHEDFRAME) {
        PaintFrame(painter);
        return;
    }
    PaintText(painter);
}

void StaticWidget::PaintFrame(QPainter& painter)
{
    const DWORD kind = Kind();
    const QPalette& colors = palette();
    const QColor black = colors.color(QPalette::WindowText);
    const QColor gray = colors.color(QPalette::Mid);
    const QColor white = colors.color(QPalette::Light);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    switch (kind) {
    case SS_BLACKRECT: painter.fillRect(rect(), black); break;
    case SS_GRAYRECT: painter.fillRect(rect(), gray); break;
    case SS_WHITERECT: painter.fillRect(rect(), white); break;
    case SS_BLACKFRAME: painter.setPen(black); painter.drawRect(box); break;
    case SS_GRAYFRAME: painter.setPen(gray); painter.drawRect(box); break;
    case SS_WHITEFRAME: painter.setPen(white); painter.drawRect(box); break;
    case SS_ETCHEDHORZ:
        painter.setPen(gray);
        painter.drawLine(0, 0, width() - 1, 0);
        painter.setPen(white);
        painter.drawLine(0, 1, width() - 1, 1);
        break;
    case SS_ETCHEDVERT:
        painter.setPen(gray);
        painter.drawLine(0, 0, 0, height() - 1);
        painter.setPen(white);
        painter.drawLine(1, 0, 1, height() - 1);
        break;
    default:
        painter.setPen(gray);
        painter.drawRect(box);
        painter.setPen(white);
        painter.drawRect(box.adjusted(1, 1, 1, 1));
        break;
    }
}

namespace {

UINT DrawTextFormat(DWORD style)
{
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_LEFT: format |= DT_LEFT | DT_WORDBREAK; break;
    default: format |= DT_LEFT | DT_SINGLELINE; break;
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_VCENTER | DT_SINGLELINE;
    return format;
}

} // namespace

// The parent may colour the text (WM_CTLCOLORSTATIC): it sets the device context's
// colours and answers the brush for the background.
bool StaticWidget::PaintTextWithParentColours(QPainter& painter)
{
    HWND hWnd = AfxHandleFromWidget(this);
    HWND parent = hWnd ? AfxParentHandle(hWnd) : nullptr;
    if (!parent) return false;
    QImage image(size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    HDC hdc = GdiCreateImageDevice(&image);
    CDC* dc = hdc ? CDC::FromHandle(hdc) : nullptr;
    if (!dc) return false;
    dc->SetTextColor(GdiFromQRgb(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText).rgb()));
    dc->SetBkColor(GdiFromQRgb(palette().color(QPalette::Window).rgb()));
    if (hWnd->font) dc->SelectObject(HGDIOBJ(hWnd->font));
    auto brush = reinterpret_cast<HBRUSH>(::SendMessage(parent, WM_CTLCOLORSTATIC, WPARAM(hdc), LPARAM(hWnd)));
    const bool coloured = brush != nullptr && AfxIsLiveHandle(hWnd);
    if (coloured) {
        RECT area{0, 0, width(), height()};
        dc->FillRect(&area, CBrush::FromHandle(brush));
        const CString text(m_text.toUtf8().toStdString());
        dc->DrawText(text, &area, DrawTextFormat(m_style));
    }
    GdiDeleteDevice(hdc);
    if (coloured) painter.drawImage(0, 0, image);
    return coloured;
}

void StaticWidget::PaintText(QPainter& painter)
{
    if (PaintTextWithParentColours(painter)) return;
    const DWORD kind = Kind();
    // The access key shows underlined; SS_NOPREFIX shows every '&' as it is.
    int flags = (m_style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
    if (!(m_style & SS_NOPREFIX)) flags |= Qt::TextShowMnemonic;
    if (kind == SS_CENTER)
        flags |= Qt::AlignHCenter | Qt::TextWordWrap;
    else if (kind == SS_RIGHT)
        flags |= Qt::AlignRight | Qt::TextWordWrap;
    else if (kind == SS_LEFT)
        flags |= Qt::AlignLeft | Qt::TextWordWrap;
    else
        flags |= Qt::AlignLeft;
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(rect(), flags | Qt::TextExpandTabs, m_text);
}

void StaticWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && (m_style & SS_NOTIFY) && rect().contains(event->position().toPoint()))
        AfxNotifyParent(AfxHandleFromWidget(this), STN_CLICKED);
}

void StaticWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && (m_style & SS_NOTIFY)) AfxNotifyParent(AfxHandleFromWidget(this), STN_DBLCLK);
}
