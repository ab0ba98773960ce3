#include "framework/ui/DialogWindow.h"

#include "framework/core/Resources.h"
#include "framework/gdi/GdiQt.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/ControlSupport.h"
#include "framework/ui/DialogApi.h"
#include "framework/ui/ListBoxControl.h"
#include "framework/ui/ModalOwner.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/StaticControl.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFontMetrics>
#include <QScreen>

namespace {

bool DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

QWidget* CreateDialogWidget(const CREATESTRUCT& cs, QWidget* parent)
{
    return new DialogWidget(DWORD(cs.style), parent);
}

const WindowClassInfo* RegisterDialogClass()
{
    WindowClassInfo info;
    info.name = kDialogClassName;
    info.createWidget = &CreateDialogWidget;
    info.windowProc = &DialogProc;
    return AfxRegisterWindowClass(std::move(info));
}

const WindowClassInfo* const s_dialogClass = RegisterDialogClass();

int ScreenDpi()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const int dpi = int(screen->logicalDotsPerInchY() + 0.5);
        if (dpi > 0) return dpi;
    }
    return 96;
}

std::unique_ptr<CFont> MakeDialogFont(const DialogTemplate& dialogTemplate, int dpi)
{
    DialogFontSpec spec;
    if (dialogTemplate.font) {
        spec.face = CString(dialogTemplate.font->face);
        spec.pointSize = dialogTemplate.font->pointSize;
        spec.weight = dialogTemplate.font->weight;
        spec.italic = dialogTemplate.font->italic;
    }
    auto font = std::make_unique<CFont>();
    const CString face = DialogFontFace(spec.face);
    font->CreateFont(-DialogFontPixelHeight(spec, dpi), 0, 0, 0, spec.weight > 0 ? spec.weight : 400,
                     BYTE(spec.italic ? 1 : 0), 0, 0, 0, 0, 0, 0, 0, face);
    return font;
}

// With this character height an 8-unit high label holds its line whole.
DialogBaseUnits MeasureUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogBaseUnitsFromMetrics(alphabet, AfxTextLineHeight(font));
}

HWND ChildById(HWND hDlg, int id) { return ::GetDlgItem(hDlg, id); }

bool IsPushButton(HWND hWnd)
{
    const LRESULT code = ::SendMessage(hWnd, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

int TemplateDefaultId(HWND hDlg)
{
    for (HWND child : AfxChildHandles(hDlg)) {
        if (::SendMessage(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return int(child->id);
    }
    return 0;
}

// A dialog answers WM_CLOSE with IDCANCEL, unless the Cancel button is disabled.
void CloseAsCancel(HWND hDlg)
{
    HWND cancel = ChildById(hDlg, IDCANCEL);
    if (cancel && !::IsWindowEnabled(cancel)) {
        MessageBeep(0);
        return;
    }
    ::SendMessage(hDlg, WM_COMMAND, WPARAM(MAKELONG(WORD(IDCANCEL), WORD(BN_CLICKED))), LPARAM(cancel));
}

LRESULT DialogCode(HWND control, const MSG* msg = nullptr)
{
    return ::SendMessage(control, WM_GETDLGCODE, msg ? msg->wParam : 0, LPARAM(msg));
}

bool IsTabStop(HWND child)
{
    return (child->style & WS_TABSTOP) && ::IsWindowEnabled(child) && child->widget && !child->widget->isHidden();
}

// As the dialog keyboard moves the focus: an edit's text is selected, ready to be typed over.
void FocusAndSelect(HWND control)
{
    ::SetFocus(control);
    if (DialogCode(control) & DLGC_HASSETSEL) ::SendMessage(control, EM_SETSEL, 0, -1);
}

void NextControl(HWND hDlg, bool previous)
{
    std::vector<HWND> stops;
    for (HWND child : AfxChildHandles(hDlg)) {
        if (IsTabStop(child)) stops.push_back(child);
    }
    if (stops.empty()) return;
    const HWND focus = ::GetFocus();
    auto it = std::find(stops.begin(), stops.end(), focus);
    std::size_t index = 0;
    if (it != stops.end()) {
        const std::size_t at = std::size_t(it - stops.begin());
        index = previous ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
    } else if (previous) {
        index = stops.size() - 1;
    }
    FocusAndSelect(stops[index]);
}

// ------------------------------------------------------------------ access keys

// A control a user can reach in the dialog: shown (its page too) and enabled.
bool Reachable(HWND control, HWND hDlg)
{
    QWidget* widget = AfxWidgetFromHandle(control);
    QWidget* dialog = AfxWidgetFromHandle(hDlg);
    return widget && dialog && widget->isVisibleTo(dialog) && widget->isEnabled();
}

// The dialog's controls in tab order, those of its shown child dialogs (a sheet's page)
// in their place.
void CollectControls(HWND parent, HWND hDlg, std::vector<HWND>& controls)
{
    for (HWND child : AfxChildHandles(parent)) {
        if (AfxDialogWidget(child)) {
            if (Reachable(child, hDlg)) CollectControls(child, hDlg, controls);
            continue;
        }
        controls.push_back(child);
    }
}

QChar ControlAccessKey(HWND control)
{
    const LRESULT code = DialogCode(control);
    if (!(code & (DLGC_STATIC | DLGC_BUTTON))) return {};
    if ((code & DLGC_STATIC) && AfxIsWindowClass(control, "STATIC") && (control->style & SS_NOPREFIX)) return {};
    CString text;
    CWnd::FromHandle(control)->GetWindowText(text);
    return AfxAccessKey(QString::fromUtf8(text.c_str()));
}

// The control with that access key; the search starts after the focus, so that
// repeated presses go round controls that share a key.
HWND FindAccessKeyControl(HWND hDlg, QChar key)
{
    if (key.isNull()) return nullptr;
    std::vector<HWND> controls;
    CollectControls(hDlg, hDlg, controls);
    const auto focus = std::find(controls.begin(), controls.end(), ::GetFocus());
    const std::size_t start = focus == controls.end() ? 0 : std::size_t(focus - controls.begin()) + 1;
    const QChar wanted = key.toLower();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        HWND control = controls[(start + i) % controls.size()];
        if (Reachable(control, hDlg) && ControlAccessKey(control) == wanted) return control;
    }
    return nullptr;
}

// The next tab stop after a label among its siblings, round to the first.
HWND NextTabStopAfter(HWND label)
{
    HWND parent = AfxParentHandle(label);
    if (!parent) return nullptr;
    const std::vector<HWND> siblings = AfxChildHandles(parent);
    const auto at = std::find(siblings.begin(), siblings.end(), label);
    if (at == siblings.end()) return nullptr;
    const std::size_t start = std::size_t(at - siblings.begin());
    for (std::size_t i = 1; i < siblings.size(); ++i) {
        HWND candidate = siblings[(start + i) % siblings.size()];
        if (IsTabStop(candidate) && Reachable(candidate, parent)) return candidate;
    }
    return nullptr;
}

// A label (or group box) hands the focus on; a button takes it and is pressed, as a click would.
void ActOnAccessKey(HWND control)
{
    if (DialogCode(control) & DLGC_STATIC) {
        if (HWND target = NextTabStopAfter(control)) FocusAndSelect(target);
        return;
    }
    ::SetFocus(control);
    if (AfxIsLiveHandle(control)) ::SendMessage(control, BM_CLICK, 0, 0);
}

QChar CharacterOf(WPARAM code) { return code <= 0xFFFF ? QChar(char16_t(code)) : QChar(); }

void SetDefaultId(HWND hDlg, UINT id)
{
    DialogWidget* dialog = AfxDialogWidget(hDlg);
    if (!dialog) return;
    const int old = dialog->defaultId != 0 ? int(dialog->defaultId) : TemplateDefaultId(hDlg);
    if (HWND oldButton = ChildById(hDlg, old); oldButton && IsPushButton(oldButton))
        ::SendMessage(oldButton, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    dialog->defaultId = id;
    if (HWND newButton = ChildById(hDlg, int(id)); newButton && IsPushButton(newButton))
        ::SendMessage(newButton, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

bool DefaultDialogProcessing(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_CLOSE:
        CloseAsCancel(hDlg);
        result = 0;
        return true;
    case DM_GETDEFID: {
        DialogWidget* dialog = AfxDialogWidget(hDlg);
        const int id = dialog && dialog->defaultId != 0 ? int(dialog->defaultId) : TemplateDefaultId(hDlg);
        result = id != 0 ? LRESULT(MAKELONG(WORD(id), WORD(DC_HASDEFID))) : 0;
        return true;
    }
    case DM_SETDEFID:
        SetDefaultId(hDlg, UINT(wParam));
        result = TRUE;
        return true;
    case WM_NEXTDLGCTL:
        if (LOWORD(DWORD(lParam)) != 0)
            ::SetFocus(reinterpret_cast<HWND>(wParam));
        else
            NextControl(hDlg, wParam != 0);
        result = 0;
        return true;
    case WM_INITDIALOG:
        result = TRUE;
        return true;
    case WM_KEYDOWN: {
        // Enter and Escape that no control took reach the dialog itself: the dialog
        // keyboard of a dialog that has no C++ object to pre-translate them.
        if (hDlg->style & WS_CHILD) return false;
        MSG msg{hDlg, message, wParam, lParam, 0, {}};
        if (!::IsDialogMessage(hDlg, &msg)) return false;
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

bool DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    DialogWidget* dialog = AfxDialogWidget(hWnd);
    if (!dialog) return false;
    if (dialog->proc) {
        dialog->procResult = 0;
        const INT_PTR handled = dialog->proc(hWnd, message, wParam, lParam);
        if (message == WM_INITDIALOG) {
            result = handled;
            return true;
        }
        if (handled) {
            result = AfxIsLiveHandle(hWnd) ? dialog->procResult : 0;
            return true;
        }
        if (!AfxIsLiveHandle(hWnd)) return true;
    }
    return DefaultDialogProcessing(hWnd, message, wParam, lParam, result);
}

// A combo box's template height includes its dropped list; the box shows one line.
QRect ControlGeometry(const QRect& rect, QWidget* widget)
{
    QRect shown = rect;
    if (auto* combo = dynamic_cast<QComboBox*>(widget)) shown.setHeight(std::min(rect.height(), combo->sizeHint().height()));
    return shown;
}

void CreateItem(HWND hDlg, const DialogItemTemplate& item, const DialogBaseUnits& units)
{
    const CRect pixels = DialogUnitsToPixels(CRect(item.x, item.y, item.x + item.cx, item.y + item.cy), units);
    // Ids are 16-bit in templates: IDC_STATIC (-1) reads 0xFFFF.
    HWND control = AfxCreateDialogControl(hDlg, item.className.c_str(), item.text.c_str(), item.style,
                                          QRect(pixels.left, pixels.top, pixels.Width(), pixels.Height()),
                                          UINT(item.id) & 0xFFFF, item.exStyle);
    if (!control) return;
    if (auto* label = dynamic_cast<StaticWidget*>(AfxWidgetFromHandle(control)); label && item.textId)
        label->LoadBitmapResource(*item.textId);
}

} // namespace

DialogWidget::DialogWidget(DWORD style, QWidget* parent) : QWidget(parent)
{
    (void)s_dialogClass;
    if (!(style & WS_CHILD)) {
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        // A dialog is worked with the keyboard: its focus shows from the start, not only
        // once a key has moved it.
        setAttribute(Qt::WA_KeyboardFocusChange);
    }
    setAutoFillBackground(true);
}

DialogWidget* AfxDialogWidget(HWND hDlg) { return dynamic_cast<DialogWidget*>(AfxWidgetFromHandle(hDlg)); }

DialogLayout AfxLayoutDialog(const DialogTemplate& dialogTemplate, HWND hWndParent)
{
    DialogLayout layout;
    layout.font = MakeDialogFont(dialogTemplate, ScreenDpi());
    layout.units = MeasureUnits(GdiWidgetFont(layout.font->GetSafeHandle(), ScreenDpi()));
    layout.style = dialogTemplate.style & ~WS_VISIBLE;
    layout.exStyle = dialogTemplate.exStyle;
    CRect rect = DialogUnitsToPixels(CRect(dialogTemplate.x, dialogTemplate.y, dialogTemplate.x + dialogTemplate.cx,
                                           dialogTemplate.y + dialogTemplate.cy),
                                     layout.units);
    // A popup's position counts from its owner's client area unless DS_ABSALIGN.
    if (!(layout.style & WS_CHILD) && !(layout.style & DS_ABSALIGN) && hWndParent) {
        POINT origin{0, 0};
        ::ClientToScreen(hWndParent, &origin);
        rect.OffsetRect(origin.x, origin.y);
    }
    layout.rect = rect;
    return layout;
}

BOOL AfxCreateDialogWindow(CWnd& dialog, const DialogTemplate& dialogTemplate, HWND hWndParent, bool asChild)
{
    if (!AfxEnsureGuiApplication()) return FALSE;
    DialogLayout layout = AfxLayoutDialog(dialogTemplate, hWndParent);
    if (asChild) {
        layout.style = (layout.style & ~(WS_POPUP | WS_CAPTION | WS_DISABLED | WS_THICKFRAME | WS_SYSMENU)) | WS_CHILD;
        layout.rect.OffsetRect(-layout.rect.left, -layout.rect.top);
    } else if (!(layout.style & WS_CHILD)) {
        layout.style |= WS_POPUP;
    }
    if (!dialog.CreateEx(layout.exStyle, kDialogClassName, dialogTemplate.caption.c_str(), layout.style, layout.rect,
                         CWnd::FromHandle(hWndParent), 0))
        return FALSE;
    HWND hDlg = dialog.GetSafeHwnd();
    DialogWidget* widget = AfxDialogWidget(hDlg);
    if (!widget) return FALSE;
    widget->setWindowTitle(QString::fromStdString(dialogTemplate.caption));
    widget->units = layout.units;
    widget->setFont(GdiWidgetFont(layout.font->GetSafeHandle(), ScreenDpi()));
    hDlg->font = layout.font->GetSafeHandle();
    widget->font = std::move(layout.font);
    for (const DialogItemTemplate& item : dialogTemplate.items) CreateItem(hDlg, item, widget->units);
    widget->templatePosition = widget->pos();
    if (!asChild && (dialogTemplate.style & DS_CENTER)) dialog.CenterWindow();
    return TRUE;
}

void AfxPlaceDialog(CWnd& dialog)
{
    DialogWidget* widget = AfxDialogWidget(dialog.GetSafeHwnd());
    if (!widget || !widget->isWindow()) return;
    if (widget->pos() == widget->templatePosition) {
        CWnd* owner = dialog.GetOwner();
        CWnd* mainWnd = AfxGetMainWnd();
        if (!owner && mainWnd && mainWnd != &dialog && mainWnd->GetSafeHwnd() && mainWnd->IsWindowVisible())
            owner = mainWnd;
        dialog.CenterWindow(owner);
    }
    AfxKeepOnScreen(dialog);
}

HWND AfxCreateDialogControl(HWND hDlg, LPCTSTR className, LPCTSTR text, DWORD style, const QRect& rect, UINT id,
                            DWORD exStyle)
{
    QWidget* dialogWidget = AfxWidgetFromHandle(hDlg);
    if (!dialogWidget) return nullptr;
    CREATESTRUCT cs;
    cs.lpszName = text;
    cs.lpszClass = className;
    cs.style = LONG(style & ~WS_VISIBLE);
    cs.dwExStyle = exStyle;
    cs.hwndParent = hDlg;
    cs.hMenu = reinterpret_cast<HMENU>(std::uintptr_t(id));
    cs.x = rect.x();
    cs.y = rect.y();
    cs.cx = rect.width();
    cs.cy = rect.height();
    const WindowClassInfo* windowClass = AfxFindWindowClass(className);
    QWidget* widget = windowClass && windowClass->createWidget ? windowClass->createWidget(cs, dialogWidget)
                                                               : AfxNewPlainWindowWidget(dialogWidget);
    if (!widget) return nullptr;
    widget->setGeometry(ControlGeometry(rect, widget));
    widget->setEnabled(!(style & WS_DISABLED));
    HWND control = AfxCreateWindowHandle(widget, windowClass ? windowClass->name.c_str() : nullptr, style, exStyle, id);
    if (!control) return nullptr;
    ::SendMessage(control, WM_SETFONT, WPARAM(hDlg->font), FALSE);
    if (auto* list = dynamic_cast<ListBoxWidget*>(widget)) list->MeasureFixedRows(control);
    widget->setVisible((style & WS_VISIBLE) != 0);
    return control;
}

void AfxSetDialogFont(HWND hDlg, const DialogTemplate& fontSource)
{
    DialogWidget* widget = AfxDialogWidget(hDlg);
    if (!widget) return;
    DialogLayout layout = AfxLayoutDialog(fontSource, nullptr);
    widget->units = layout.units;
    widget->setFont(GdiWidgetFont(layout.font->GetSafeHandle(), ScreenDpi()));
    hDlg->font = layout.font->GetSafeHandle();
    widget->font = std::move(layout.font);
}

HWND AfxFirstTabStop(HWND hDlg)
{
    for (HWND child : AfxChildHandles(hDlg)) {
        if (IsTabStop(child)) return child;
    }
    return nullptr;
}

void AfxInitDialog(HWND hDlg, LPARAM initParam)
{
    HWND first = AfxFirstTabStop(hDlg);
    const LRESULT setFocus = ::SendMessage(hDlg, WM_INITDIALOG, WPARAM(first), initParam);
    if (setFocus && AfxIsLiveHandle(hDlg)) {
        if (HWND target = AfxFirstTabStop(hDlg)) FocusAndSelect(target);
    }
}

INT_PTR AfxRunModalDialog(HWND hDlg, CWnd& dialog, UINT templateId)
{
    DialogWidget* widget = AfxDialogWidget(hDlg);
    if (!widget) return -1;
    const ModalOwner owner(nullptr);
    if (!widget->ended) {
        AfxCancelCaptureForModal();
        // What the handlers posted while the dialog opened runs first, as in the real loop.
        QCoreApplication::sendPostedEvents();
        AfxPlaceDialog(dialog);
        if (ScriptedUi::Active()) {
            // Shown and active as for a user (offscreen in tests), so focus changes notify.
            widget->show();
            QApplication::setActiveWindow(widget);
        }
        if (ScriptedUi::RunModal(dialog, templateId)) {
            widget = AfxDialogWidget(hDlg);
            if (widget && !widget->ended) AfxEndDialog(hDlg, IDCANCEL);
        } else {
            widget->setWindowModality(Qt::ApplicationModal);
            widget->show();
            widget->raise();
            widget->activateWindow();
            AfxPaintWindowNow(widget);
            if ((widget = AfxDialogWidget(hDlg)) == nullptr) return -1;
            QEventLoop loop;
            widget->loop = &loop;
            if (!widget->ended) loop.exec(QEventLoop::DialogExec);
            if ((widget = AfxDialogWidget(hDlg)) != nullptr) widget->loop = nullptr;
        }
    }
    widget = AfxDialogWidget(hDlg);
    return widget ? widget->result : -1;
}

void AfxEndDialog(HWND hDlg, INT_PTR result)
{
    DialogWidget* widget = AfxDialogWidget(hDlg);
    if (!widget) return;
    widget->ended = true;
    widget->result = result;
    widget->hide();
    if (widget->loop) widget->loop->quit();
}

int AfxDialogEnterId(HWND hDlg)
{
    HWND focus = ::GetFocus();
    if (focus && AfxParentHandle(focus) == hDlg && IsPushButton(focus)) return int(focus->id);
    const LRESULT defId = ::SendMessage(hDlg, DM_GETDEFID, 0, 0);
    return HIWORD(DWORD(defId)) == DC_HASDEFID ? int(LOWORD(DWORD(defId))) : IDOK;
}

BOOL AfxDialogAccessKey(HWND hDlg, const MSG& msg)
{
    const bool alt = msg.message == WM_SYSCHAR;
    if (!alt && msg.message != WM_CHAR) return FALSE;
    const QChar key = CharacterOf(msg.wParam);
    if (!alt) {
        // Typed letters belong to a control that takes characters; blanks and control
        // characters (Space presses, Tab and Enter move) are never access keys.
        if (key.isNull() || !key.isPrint() || key.isSpace()) return FALSE;
        if (msg.hwnd && msg.hwnd != hDlg && (DialogCode(msg.hwnd, &msg) & DLGC_WANTCHARS)) return FALSE;
    }
    HWND control = FindAccessKeyControl(hDlg, key);
    if (!control) {
        // Alt never types: a key that names no control only beeps.
        if (alt) MessageBeep(0);
        return alt ? TRUE : FALSE;
    }
    ActOnAccessKey(control);
    return TRUE;
}

bool AfxDialogTakesAccessKey(HWND hWnd, Qt::KeyboardModifiers modifiers, const QString& text)
{
    if ((modifiers & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) != Qt::AltModifier || text.size() != 1)
        return false;
    for (HWND h = hWnd; h; h = AfxParentHandle(h)) {
        if (AfxDialogWidget(h) && FindAccessKeyControl(h, text[0])) return true;
    }
    return false;
}

BOOL AfxPreTranslateProcedureDialog(MSG& msg)
{
    HWND top = msg.hwnd ? AfxTopLevelHandle(msg.hwnd) : nullptr;
    const DialogWidget* dialog = top ? AfxDialogWidget(top) : nullptr;
    if (!dialog || !dialog->proc || CWnd::FromHandlePermanent(top)) return FALSE;
    return ::IsDialogMessage(top, &msg);
}
