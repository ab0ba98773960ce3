#pragma once
// The C-style dialog calls for code that works with handles and dialog procedures
// (the driver's set-up dialog, the diagnosis library's dialogs). Window calls that are
// not dialog-specific (GetDlgItem, EnableWindow, GetWindowRect, ...) are in CWnd.h,
// message boxes in MessageBox.h and LoadString in framework/core/Resources.h.
#include "framework/core/WinTypes.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/UiDefs.h"

// A dialog procedure answers TRUE for a message it handled. WM_INITDIALOG answers TRUE
// to let the dialog put the focus on its first tab stop.
using DLGPROC = INT_PTR (*)(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

#ifndef MAKEINTRESOURCE
#define MAKEINTRESOURCE(id) (reinterpret_cast<LPCTSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(id))))
#endif
#ifndef MAKEINTRESOURCEA
#define MAKEINTRESOURCEA(id) MAKEINTRESOURCE(id)
#endif
#ifndef IS_INTRESOURCE
#define IS_INTRESOURCE(p) ((reinterpret_cast<std::uintptr_t>(p) >> 16) == 0)
#endif

// Runs a modal dialog from a template of the module (MAKEINTRESOURCE(id)); the procedure
// gets WM_INITDIALOG with dwInitParam. Returns what EndDialog was given, or -1 when the
// template does not exist.
INT_PTR DialogBoxParam(HINSTANCE hInstance, LPCTSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                       LPARAM dwInitParam);
inline INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCTSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam)
{
    return DialogBoxParam(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam);
}
// A modeless dialog; nullptr when the template does not exist.
HWND CreateDialogParam(HINSTANCE hInstance, LPCTSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                       LPARAM dwInitParam);

// Ends a modal dialog with the result once its current message returns.
BOOL EndDialog(HWND hDlg, INT_PTR nResult);

// The dialog keyboard: Enter presses the default button (IDOK without one), Escape
// IDCANCEL unless the Cancel button is disabled, and the controls' access keys work
// (Alt and the key; the key alone where the focus takes no characters). TRUE when the
// message was used.
BOOL IsDialogMessage(HWND hDlg, LPMSG lpMsg);

UINT GetDlgItemText(HWND hDlg, int nIDDlgItem, LPTSTR lpString, int cchMax);
BOOL SetDlgItemText(HWND hDlg, int nIDDlgItem, LPCTSTR lpString);

// A control's text as a number: blanks around a base-10 integer (signed with bSigned);
// anything else, or a value outside 32 bits, gives 0 and *lpTranslated FALSE.
UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned);
BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned);

LRESULT SendDlgItemMessage(HWND hDlg, int nIDDlgItem, UINT message, WPARAM wParam, LPARAM lParam);

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
// Checks nIDCheckButton and clears the other buttons from nIDFirstButton to nIDLastButton.
BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton);

// Dialog units of the dialog's font to pixels, in place.
BOOL MapDialogRect(HWND hDlg, LPRECT lpRect);

inline LRESULT SendMessageA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessage(hWnd, message, wParam, lParam);
}
