#include "framework/ui/DialogApi.h"

#include "framework/core/Resources.h"
#include "framework/ui/DialogWindow.h"
#include "framework/ui/WindowHandle.h"

#include <charconv>
#include <limits>
#include <string_view>

namespace {

UINT TemplateIdOf(LPCTSTR lpTemplateName)
{
    return IS_INTRESOURCE(lpTemplateName) ? UINT(reinterpret_cast<std::uintptr_t>(lpTemplateName)) : 0;
}

HWND CreateStyleDialog(HINSTANCE hInstance, LPCTSTR lpTemplateName, HWND hWndParent, DLGPROC proc, LPARAM param,
                       UINT& templateId)
{
    templateId = TemplateIdOf(lpTemplateName);
    const DialogTemplate* dialogTemplate = templateId ? FindDialogTemplate(hInstance, templateId) : nullptr;
    if (!dialogTemplate) return nullptr;
    // The window has no C++ object of its own: its messages reach the procedure.
    CWnd creator;
    if (!AfxCreateDialogWindow(creator, *dialogTemplate, hWndParent)) return nullptr;
    HWND hDlg = creator.Detach();
    AfxDialogWidget(hDlg)->proc = proc;
    AfxInitDialog(hDlg, param);
    return hDlg;
}

bool ModifierHeld() { return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0; }

// F1: the dialog's own context help when it has one, else its Help button when it shows one.
bool AskForHelp(HWND hDlg)
{
    if (::SendMessage(hDlg, WM_COMMANDHELP, 0, 0)) return true;
    HWND help = ::GetDlgItem(hDlg, int(ID_HELP));
    if (!help || !CWnd::FromHandle(help)->IsWindowVisible() || !::IsWindowEnabled(help)) return false;
    ::SendMessage(hDlg, WM_COMMAND, WPARAM(MAKELONG(WORD(ID_HELP), WORD(BN_CLICKED))), LPARAM(help));
    return true;
}

} // namespace

INT_PTR DialogBoxParam(HINSTANCE hInstance, LPCTSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                       LPARAM dwInitParam)
{
    UINT templateId = 0;
    HWND hDlg = CreateStyleDialog(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam, templateId);
    if (!hDlg) return -1;
    const INT_PTR result = AfxRunModalDialog(hDlg, *CWnd::FromHandle(hDlg), templateId);
    ::DestroyWindow(hDlg);
    return result;
}

HWND CreateDialogParam(HINSTANCE hInstance, LPCTSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                       LPARAM dwInitParam)
{
    UINT templateId = 0;
    HWND hDlg = CreateStyleDialog(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam, templateId);
    if (hDlg && (FindDialogTemplate(hInstance, templateId)->style & WS_VISIBLE)) ::ShowWindow(hDlg, SW_SHOW);
    return hDlg;
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult)
{
    if (!AfxDialogWidget(hDlg)) return FALSE;
    AfxEndDialog(hDlg, nResult);
    return TRUE;
}

BOOL IsDialogMessage(HWND hDlg, LPMSG lpMsg)
{
    if (!lpMsg || !AfxDialogWidget(hDlg)) return FALSE;
    if (lpMsg->hwnd != hDlg && !CWnd::FromHandle(hDlg)->IsChild(CWnd::FromHandle(lpMsg->hwnd))) return FALSE;
    if (lpMsg->message == WM_SYSCHAR || lpMsg->message == WM_CHAR) return AfxDialogAccessKey(hDlg, *lpMsg);
    if (lpMsg->message != WM_KEYDOWN) return FALSE;
    const LRESULT code = lpMsg->hwnd ? ::SendMessage(lpMsg->hwnd, WM_GETDLGCODE, lpMsg->wParam, LPARAM(lpMsg)) : 0;
    if (lpMsg->wParam == WPARAM(VK_RETURN)) {
        if (code & DLGC_WANTALLKEYS) return FALSE;
        const int id = AfxDialogEnterId(hDlg);
        HWND button = ::GetDlgItem(hDlg, id);
        if (button && !::IsWindowEnabled(button)) {
            MessageBeep(0);
            return TRUE;
        }
        ::SendMessage(hDlg, WM_COMMAND, WPARAM(MAKELONG(WORD(id), WORD(BN_CLICKED))), LPARAM(button));
        return TRUE;
    }
    if (lpMsg->wParam == WPARAM(VK_F1) && !ModifierHeld()) return AskForHelp(hDlg) ? TRUE : FALSE;
    if (lpMsg->wParam == WPARAM(VK_ESCAPE)) {
        if (code & DLGC_WANTALLKEYS) return FALSE;
        HWND cancel = ::GetDlgItem(hDlg, IDCANCEL);
        if (cancel && !::IsWindowEnabled(cancel)) {
            MessageBeep(0);
            return TRUE;
        }
        ::SendMessage(hDlg, WM_COMMAND, WPARAM(MAKELONG(WORD(IDCANCEL), WORD(BN_CLICKED))), LPARAM(cancel));
        return TRUE;
    }
    return FALSE;
}

UINT GetDlgItemText(HWND hDlg, int nIDDlgItem, LPTSTR lpString, int cchMax)
{
    if (lpString && cchMax > 0) lpString[0] = '\0';
    HWND item = ::GetDlgItem(hDlg, nIDDlgItem);
    return item ? UINT(::GetWindowText(item, lpString, cchMax)) : 0;
}

BOOL SetDlgItemText(HWND hDlg, int nIDDlgItem, LPCTSTR lpString)
{
    HWND item = ::GetDlgItem(hDlg, nIDDlgItem);
    return item ? ::SetWindowText(item, lpString) : FALSE;
}

LRESULT SendDlgItemMessage(HWND hDlg, int nIDDlgItem, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND item = ::GetDlgItem(hDlg, nIDDlgItem);
    return item ? ::SendMessage(item, message, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck)
{
    HWND item = ::GetDlgItem(hDlg, nIDButton);
    if (!item) return FALSE;
    ::SendMessage(item, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton)
{
    HWND item = ::GetDlgItem(hDlg, nIDButton);
    return item ? UINT(::SendMessage(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        if (HWND item = ::GetDlgItem(hDlg, id))
            ::SendMessage(item, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect)
{
    DialogWidget* widget = AfxDialogWidget(hDlg);
    if (!widget || !lpRect) return FALSE;
    *lpRect = DialogUnitsToPixels(CRect(*lpRect), widget->units);
    return TRUE;
}

namespace {

// What GetDlgItemInt reads: blanks, an optional minus sign when signed, digits.
bool ParseItemInteger(std::string_view text, bool isSigned, std::int64_t& value)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    const bool negative = isSigned && !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    const std::int64_t low = isSigned ? std::numeric_limits<std::int32_t>::min() : 0;
    const std::int64_t high = isSigned ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::uint32_t>::max();
    if (magnitude > std::uint64_t(high) + (negative ? 1 : 0)) return false;
    value = negative ? -std::int64_t(magnitude) : std::int64_t(magnitude);
    return value >= low && value <= high;
}

} // namespace

UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned)
{
    if (lpTranslated) *lpTranslated = FALSE;
    HWND item = ::GetDlgItem(hDlg, nIDDlgItem);
    if (!item) return 0;
    CString text;
    const int length = ::GetWindowTextLength(item);
    ::GetWindowText(item, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer();
    std::int64_t value = 0;
    if (!ParseItemInteger(text.str(), bSigned != FALSE, value)) return 0;
    if (lpTranslated) *lpTranslated = TRUE;
    return UINT(std::uint32_t(value));
}

BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned)
{
    const CString text(bSigned ? FormatText("%d", int(uValue)) : FormatText("%u", uValue));
    return ::SetDlgItemText(hDlg, nIDDlgItem, text);
}
