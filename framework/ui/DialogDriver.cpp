#include "framework/ui/DialogDriver.h"

#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/ControlSupport.h"
#include "framework/ui/DialogApi.h"
#include "framework/ui/WindowHandle.h"

#include <QCoreApplication>

#include <deque>

namespace {

// Hidden when it or a window between it and the dialog was hidden on purpose.
bool ShownWithin(HWND control, HWND hDlg)
{
    for (HWND h = control; h && h != hDlg; h = AfxParentHandle(h)) {
        QWidget* widget = AfxWidgetFromHandle(h);
        if (!widget || widget->isHidden()) return false;
    }
    return true;
}

bool EnabledWithin(HWND control, HWND hDlg)
{
    for (HWND h = control; h && h != hDlg; h = AfxParentHandle(h)) {
        if (!::IsWindowEnabled(h)) return false;
    }
    return true;
}

LRESULT DialogCode(HWND control) { return ::SendMessage(control, WM_GETDLGCODE, 0, 0); }

bool IsComboBox(HWND control) { return AfxIsWindowClass(control, "COMBOBOX"); }

bool IsListBox(HWND control) { return AfxIsWindowClass(control, "LISTBOX"); }

// A key as the modal loop hands it on: the pre-translation hooks first (a CDialog's
// dialog keyboard), then the dialog keyboard of the dialog being driven, then the
// window with the focus.
void DeliverKey(HWND hDlg, HWND target, UINT message, WPARAM key)
{
    MSG msg{target, message, key, 1, 0, {}};
    if (AfxPreTranslateInput(msg)) return;
    if (AfxIsLiveHandle(hDlg) && ::IsDialogMessage(hDlg, &msg)) return;
    ::SendMessage(target, message, key, 1);
}

// Runs the posted messages once the action is done.
struct PumpAfter {
    PumpAfter() = default;
    PumpAfter(const PumpAfter&) = delete;
    PumpAfter& operator=(const PumpAfter&) = delete;
    ~PumpAfter() { DialogDriver::Pump(); }
};

} // namespace

DialogDriver::DialogDriver(CWnd& dialog) : m_hDlg(dialog.GetSafeHwnd()) { Pump(); }

void DialogDriver::Pump()
{
    // Between two user actions the message loop runs what was posted.
    QCoreApplication::sendPostedEvents();
}

HWND DialogDriver::Control(int id) const
{
    if (!AfxIsLiveHandle(m_hDlg)) return nullptr;
    HWND hidden = nullptr;
    std::deque<HWND> pending(1, m_hDlg);
    while (!pending.empty()) {
        HWND parent = pending.front();
        pending.pop_front();
        for (HWND child : AfxChildHandles(parent)) {
            if (int(child->id) == id && child != m_hDlg) {
                if (ShownWithin(AfxParentHandle(child), m_hDlg)) return child;
                if (!hidden) hidden = child;
            }
            pending.push_back(child);
        }
    }
    return hidden;
}

bool DialogDriver::Usable(HWND control) const
{
    return control && ShownWithin(control, m_hDlg) && EnabledWithin(control, m_hDlg);
}

CString DialogDriver::Text(int id) const
{
    CString text;
    if (HWND control = Control(id)) {
        const int length = ::GetWindowTextLength(control);
        ::GetWindowText(control, text.GetBuffer(length + 1), length + 1);
        text.ReleaseBuffer();
    }
    return text;
}

bool DialogDriver::IsEnabled(int id) const
{
    HWND control = Control(id);
    return control && EnabledWithin(control, m_hDlg);
}

bool DialogDriver::IsVisible(int id) const
{
    HWND control = Control(id);
    return control && ShownWithin(control, m_hDlg);
}

int DialogDriver::Check(int id) const
{
    HWND control = Control(id);
    return control ? int(::SendMessage(control, BM_GETCHECK, 0, 0)) : 0;
}

int DialogDriver::Selection(int id) const
{
    HWND control = Control(id);
    if (IsComboBox(control)) return int(::SendMessage(control, CB_GETCURSEL, 0, 0));
    if (IsListBox(control)) return int(::SendMessage(control, LB_GETCURSEL, 0, 0));
    return -1;
}

int DialogDriver::Count(int id) const
{
    HWND control = Control(id);
    if (IsComboBox(control)) return int(::SendMessage(control, CB_GETCOUNT, 0, 0));
    if (IsListBox(control)) return int(::SendMessage(control, LB_GETCOUNT, 0, 0));
    return 0;
}

CString DialogDriver::ItemText(int id, int index) const
{
    HWND control = Control(id);
    const bool combo = IsComboBox(control);
    if (!combo && !IsListBox(control)) return CString();
    const LRESULT length = ::SendMessage(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, WPARAM(index), 0);
    if (length < 0) return CString();
    CString text;
    ::SendMessage(control, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(index), LPARAM(text.GetBuffer(int(length) + 1)));
    text.ReleaseBuffer();
    return text;
}

int DialogDriver::FocusId() const
{
    HWND focus = ::GetFocus();
    return focus && focus != m_hDlg ? int(focus->id) : 0;
}

bool DialogDriver::Focus(int id)
{
    const PumpAfter pump;
    HWND control = Control(id);
    if (!Usable(control)) return false;
    ::SetFocus(control);
    return true;
}

bool DialogDriver::SetText(int id, const char* text)
{
    const PumpAfter pump;
    HWND control = Control(id);
    if (!Usable(control) || (DialogCode(control) & DLGC_HASSETSEL) == 0) return false;
    if (QWidget* widget = AfxWidgetFromHandle(control); widget && widget->property("readOnly").toBool()) return false;
    Focus(id);
    if (IsComboBox(control)) {
        ::SetWindowText(control, text);
        AfxNotifyParent(control, CBN_EDITUPDATE);
        AfxNotifyParent(control, CBN_EDITCHANGE);
        return true;
    }
    ::SendMessage(control, EM_SETSEL, 0, -1);
    ::SendMessage(control, EM_REPLACESEL, TRUE, LPARAM(text ? text : ""));
    ::SendMessage(control, EM_SETMODIFY, TRUE, 0);
    return true;
}

bool DialogDriver::Type(int id, const char* text)
{
    const PumpAfter pump;
    HWND control = Control(id);
    if (!Usable(control)) return false;
    Focus(id);
    const QString typed = QString::fromUtf8(text ? text : "");
    for (char32_t ch : typed.toUcs4()) {
        if (!AfxIsLiveHandle(control)) return false;
        DeliverKey(m_hDlg, control, WM_CHAR, WPARAM(ch));
    }
    return true;
}

bool DialogDriver::Click(int id)
{
    const PumpAfter pump;
    HWND control = Control(id);
    if (!Usable(control) || !(DialogCode(control) & DLGC_BUTTON)) return false;
    ::SendMessage(control, BM_CLICK, 0, 0);
    return true;
}

bool DialogDriver::Select(int id, int index)
{
    const PumpAfter pump;
    HWND control = Control(id);
    if (!Usable(control)) return false;
    if (IsComboBox(control)) {
        if (index < 0 || index >= int(::SendMessage(control, CB_GETCOUNT, 0, 0))) return false;
        ::SendMessage(control, CB_SETCURSEL, WPARAM(index), 0);
        AfxNotifyParent(control, CBN_SELCHANGE);
        return true;
    }
    if (!IsListBox(control) || index < 0 || index >= int(::SendMessage(control, LB_GETCOUNT, 0, 0))) return false;
    const bool multiple = ::SendMessage(control, LB_GETSELCOUNT, 0, 0) != LB_ERR;
    if (multiple) {
        ::SendMessage(control, LB_SETSEL, FALSE, -1);
        ::SendMessage(control, LB_SETSEL, TRUE, LPARAM(index));
        ::SendMessage(control, LB_SETCARETINDEX, WPARAM(index), 0);
    } else {
        ::SendMessage(control, LB_SETCURSEL, WPARAM(index), 0);
    }
    if (control->style & LBS_NOTIFY) AfxNotifyParent(control, LBN_SELCHANGE);
    return true;
}

bool DialogDriver::SelectString(int id, const char* text)
{
    HWND control = Control(id);
    const bool combo = IsComboBox(control);
    if (!combo && !IsListBox(control)) return false;
    const int index = int(::SendMessage(control, combo ? CB_FINDSTRING : LB_FINDSTRING, WPARAM(-1), LPARAM(text ? text : "")));
    return index >= 0 && Select(id, index);
}

bool DialogDriver::ToggleSelection(int id, int index)
{
    const PumpAfter pump;
    HWND control = Control(id);
    if (!Usable(control) || !IsListBox(control)) return false;
    const LRESULT selected = ::SendMessage(control, LB_GETSEL, WPARAM(index), 0);
    if (selected == LB_ERR || ::SendMessage(control, LB_SETSEL, selected ? FALSE : TRUE, LPARAM(index)) == LB_ERR) return false;
    ::SendMessage(control, LB_SETCARETINDEX, WPARAM(index), 0);
    if (control->style & LBS_NOTIFY) AfxNotifyParent(control, LBN_SELCHANGE);
    return true;
}

bool DialogDriver::DoubleClick(int id, int index)
{
    const PumpAfter pump;
    HWND control = Control(id);
    if (!IsListBox(control) || !Select(id, index)) return false;
    if (control->style & LBS_NOTIFY) AfxNotifyParent(control, LBN_DBLCLK);
    return true;
}

bool DialogDriver::PressKey(int virtualKey)
{
    const PumpAfter pump;
    if (!AfxIsLiveHandle(m_hDlg)) return false;
    HWND focus = ::GetFocus();
    HWND target = focus && (focus == m_hDlg || CWnd::FromHandle(m_hDlg)->IsChild(CWnd::FromHandle(focus))) ? focus : m_hDlg;
    DeliverKey(m_hDlg, target, WM_KEYDOWN, WPARAM(virtualKey));
    return true;
}

bool DialogDriver::Enter() { return PressKey(VK_RETURN); }

bool DialogDriver::Escape() { return PressKey(VK_ESCAPE); }

bool DialogDriver::Ok() { return Click(IDOK); }

bool DialogDriver::Cancel() { return Click(IDCANCEL); }

bool DialogDriver::Apply() { return Click(int(ID_APPLY_NOW)); }

bool DialogDriver::Next() { return Click(int(ID_WIZNEXT)); }

bool DialogDriver::Back() { return Click(int(ID_WIZBACK)); }

bool DialogDriver::Finish() { return Click(int(ID_WIZFINISH)); }

bool DialogDriver::Help() { return Click(int(ID_HELP)); }
