#include "framework/ui/ButtonControl.h"

#include "framework/gdi/CDC.h"
#include "framework/gdi/GdiQt.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/ControlSupport.h"
#include "framework/ui/WindowHandle.h"

#include <QFontMetrics>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace {

bool ButtonProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    auto* button = dynamic_cast<ButtonWidget*>(AfxWidgetFromHandle(hWnd));
    return button != nullptr && button->HandleMessage(hWnd, message, wParam, lParam, result);
}

const WindowClassInfo* RegisterButtonClass()
{
    WindowClassInfo info;
    info.name = "BUTTON";
    info.style = CS_DBLCLKS;
    info.createWidget = &AfxCreateButtonWidget;
    info.windowProc = &ButtonProc;
    return AfxRegisterWindowClass(std::move(info));
}

const WindowClassInfo* const s_buttonClass = RegisterButtonClass();

// Dialog colour left and right of a group box's title, where the frame line breaks.
constexpr int kGroupTitlePadding = 2;

bool StartsGroup(HWND hWnd) { return hWnd && (hWnd->style & WS_GROUP) != 0; }

} // namespace

QWidget* AfxCreateButtonWidget(const CREATESTRUCT& cs, QWidget* parent)
{
    (void)s_buttonClass;
    return new ButtonWidget(DWORD(cs.style), cs.lpszName ? QString::fromUtf8(cs.lpszName) : QString(), parent);
}

ButtonWidget::ButtonWidget(DWORD style, const QString& text, QWidget* parent) : QPushButton(parent), m_style(style)
{
    SetButtonText(text);
    setAutoDefault(false);
    setDefault(Kind() == BS_DEFPUSHBUTTON);
    setFocusPolicy(Kind() == BS_GROUPBOX ? Qt::NoFocus : (style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    if (Kind() == BS_GROUPBOX) setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(this, &QAbstractButton::clicked, this, [this] { OnClicked(); });
}

// The access key is the dialog keyboard's (IsDialogMessage): Qt's own shortcut for it
// would click before the dialog sees the key, and only with Alt.
void ButtonWidget::SetButtonText(const QString& text)
{
    setText(text);
    setShortcut(QKeySequence());
}

bool ButtonWidget::IsCheckKind() const
{
    const DWORD kind = Kind();
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}

bool ButtonWidget::IsRadioKind() const { return Kind() == BS_RADIOBUTTON || Kind() == BS_AUTORADIOBUTTON; }

bool ButtonWidget::IsAutomatic() const
{
    const DWORD kind = Kind();
    return kind == BS_AUTOCHECKBOX || kind == BS_AUTO3STATE || kind == BS_AUTORADIOBUTTON;
}

void ButtonWidget::SetCheckState(UINT state)
{
    const bool threeState = Kind() == BS_3STATE || Kind() == BS_AUTO3STATE;
    if (state == BST_INDETERMINATE && !threeState) state = BST_CHECKED;
    m_check = state > BST_INDETERMINATE ? BST_CHECKED : state;
    update();
}

// Automatic buttons change their state first; the parent hears of the click after.
void ButtonWidget::OnClicked()
{
    HWND hWnd = AfxHandleFromWidget(this);
    if (IsAutomatic()) {
        switch (Kind()) {
        case BS_AUTOCHECKBOX: SetCheckState(m_check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED); break;
        case BS_AUTO3STATE: SetCheckState((m_check + 1) % 3); break;
        case BS_AUTORADIOBUTTON:
            UncheckGroupRadios();
            SetCheckState(BST_CHECKED);
            break;
        default: break;
        }
    }
    if (hWnd) AfxNotifyParent(hWnd, BN_CLICKED);
}

void ButtonWidget::UncheckGroupRadios()
{
    HWND self = AfxHandleFromWidget(this);
    HWND parent = self ? AfxParentHandle(self) : nullptr;
    if (!parent) return;
    const std::vector<HWND> siblings = AfxChildHandles(parent);
    const auto it = std::find(siblings.begin(), siblings.end(), self);
    if (it == siblings.end()) return;
    auto first = it;
    while (first != siblings.begin() && !StartsGroup(*first)) --first;
    auto last = it + 1;
    while (last != siblings.end() && !StartsGroup(*last)) ++last;
    for (auto sibling = first; sibling != last; ++sibling) {
        if (*sibling == self) continue;
        auto* other = dynamic_cast<ButtonWidget*>(AfxWidgetFromHandle(*sibling));
        if (other && other->Kind() == BS_AUTORADIOBUTTON) other->SetCheckState(BST_UNCHECKED);
    }
}

bool ButtonWidget::HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SETTEXT:
        SetButtonText(AfxTextFromParam(lParam));
        update();
        result = TRUE;
        return true;
    case WM_GETTEXT:
        result = AfxCopyTextToBuffer(text(), lParam, wParam);
        return true;
    case WM_GETTEXTLENGTH:
        result = AfxTextLength(text());
        return true;
    case WM_GETDLGCODE:
        if (Kind() == BS_GROUPBOX)
            result = DLGC_STATIC;
        else if (IsRadioKind())
            result = DLGC_BUTTON | DLGC_RADIOBUTTON;
        else if (Kind() == BS_DEFPUSHBUTTON)
            result = DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        else if (Kind() == BS_PUSHBUTTON || Kind() == BS_OWNERDRAW || Kind() == BS_USERBUTTON)
            result = DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        else
            result = DLGC_BUTTON;
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (m_style & BS_NOTIFY) AfxNotifyParent(hWnd, message == WM_SETFOCUS ? BN_SETFOCUS : BN_KILLFOCUS);
        update();
        return false;
    case BM_GETCHECK:
        result = (IsCheckKind() || IsRadioKind()) ? LRESULT(m_check) : 0;
        return true;
    case BM_SETCHECK:
        if (IsCheckKind() || IsRadioKind()) SetCheckState(UINT(wParam));
        result = 0;
        return true;
    case BM_GETSTATE:
        result = LRESULT(m_check | (isDown() ? BST_PUSHED : 0) | (hasFocus() ? BST_FOCUS : 0));
        return true;
    case BM_SETSTATE:
        setDown(wParam != 0);
        update();
        result = 0;
        return true;
    case BM_SETSTYLE: {
        const DWORD kind = DWORD(wParam) & BS_TYPEMASK;
        m_style = (m_style & ~BS_TYPEMASK) | kind;
        hWnd->style = (hWnd->style & ~BS_TYPEMASK) | kind;
        setDefault(kind == BS_DEFPUSHBUTTON);
        if (LOWORD(DWORD(lParam))) update();
        result = 0;
        return true;
    }
    case BM_CLICK:
        click(); // nothing happens while the button is disabled
        result = 0;
        return true;
    case BM_SETIMAGE: {
        HGDIOBJ previous = m_image;
        m_image = reinterpret_cast<HGDIOBJ>(lParam);
        const QImage image = GdiBitmapImage(m_image);
        setIcon(image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image)));
        setIconSize(image.size());
        result = reinterpret_cast<LRESULT>(previous);
        return true;
    }
    case BM_GETIMAGE:
        result = reinterpret_cast<LRESULT>(m_image);
        return true;
    default:
        return false;
    }
}

bool ButtonWidget::hitButton(const QPoint& pos) const
{
    return Kind() != BS_GROUPBOX && rect().contains(pos);
}

void ButtonWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPushButton::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && (IsRadioKind() || Kind() == BS_OWNERDRAW || (m_style & BS_NOTIFY)))
        AfxNotifyParent(AfxHandleFromWidget(this), BN_DOUBLECLICKED);
}

void ButtonWidget::paintEvent(QPaintEvent* event)
{
    if (Kind() == BS_OWNERDRAW)
        PaintOwnerDrawn();
    else if (Kind() == BS_GROUPBOX)
        PaintGroupBox();
    else if (IsCheckKind() || IsRadioKind())
        PaintCheckOrRadio();
    else
        PaintPushButton(event);
}

// The style marks the default button and the focused one alike; the dotted rectangle
// tells which one Space and Enter press.
void ButtonWidget::PaintPushButton(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    if (!hasFocus()) return;
    constexpr int kFocusInset = 3;
    QPainter painter(this);
    AfxDrawFocusRect(painter, rect().adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset),
                     palette().color(QPalette::ButtonText));
}

void ButtonWidget::PaintCheckOrRadio()
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    option.state |= m_check == BST_CHECKED ? QStyle::State_On
                    : m_check == BST_INDETERMINATE ? QStyle::State_NoChange
                                                   : QStyle::State_Off;
    if (isDown()) option.state |= QStyle::State_Sunken;
    painter.drawControl(IsRadioKind() ? QStyle::CE_RadioButton : QStyle::CE_CheckBox, option);
    if (!hasFocus()) return;
    const QRect label = style()->subElementRect(IsRadioKind() ? QStyle::SE_RadioButtonFocusRect : QStyle::SE_CheckBoxFocusRect,
                                                &option, this);
    AfxDrawFocusRect(painter, label.intersected(rect()), palette().color(QPalette::WindowText));
}

QRect AfxGroupBoxTitleRect(const QFont& font, const QString& title)
{
    const QFontMetrics metrics(font);
    const int inset = metrics.averageCharWidth();
    const int width = title.isEmpty() ? 0 : metrics.horizontalAdvance(title) + 2 * kGroupTitlePadding;
    return QRect(inset, 0, width, AfxTextLineHeight(font));
}

// Drawn as templates in dialog units expect: an etched frame whose top runs half a text
// line below the box's top, the title on the dialog's colour across it, so the first row
// of controls one text line down sits clear inside.
void ButtonWidget::PaintGroupBox()
{
    QPainter painter(this);
    const QRect titleRect = AfxGroupBoxTitleRect(font(), AfxTextWithoutMnemonic(text()));
    const QRect frame(0, titleRect.height() / 2, width() - 2, height() - titleRect.height() / 2 - 2);
    const QPalette& colors = palette();
    painter.setPen(colors.color(QPalette::Mid));
    painter.drawRect(frame);
    painter.setPen(colors.color(QPalette::Light));
    painter.drawRect(frame.translated(1, 1));
    if (titleRect.width() == 0) return;
    painter.fillRect(titleRect, colors.color(QPalette::Window));
    painter.setFont(font());
    painter.setPen(colors.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(titleRect.adjusted(kGroupTitlePadding, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
}

void ButtonWidget::PaintOwnerDrawn()
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Button));
    HWND hWnd = AfxHandleFromWidget(this);
    HWND parent = hWnd ? AfxParentHandle(hWnd) : nullptr;
    if (parent) {
        if (HDC hdc = GdiCreateImageDevice(&image)) {
            if (hWnd->font)
                if (CDC* dc = CDC::FromHandle(hdc)) dc->SelectObject(HGDIOBJ(hWnd->font));
            DRAWITEMSTRUCT draw;
            draw.CtlType = ODT_BUTTON;
            draw.CtlID = hWnd->id;
            draw.itemAction = ODA_DRAWENTIRE;
            draw.itemState = (isDown() ? ODS_SELECTED : 0) | (hasFocus() ? ODS_FOCUS : 0) | (isEnabled() ? 0 : ODS_DISABLED);
            draw.hwndItem = hWnd;
            draw.hDC = hdc;
            draw.rcItem = RECT{0, 0, width(), height()};
            ::SendMessage(parent, WM_DRAWITEM, WPARAM(hWnd->id), LPARAM(&draw));
            GdiDeleteDevice(hdc);
        }
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}
