#pragma once
// The dialog window class ("#32770") below CDialog and the C-style dialog calls: the
// window built from a template, the dialog manager's default processing (default
// button, Enter and Escape, the close box, WM_NEXTDLGCTL), and the modal run
// (inside framework/ui only; the layers above use CDialog or DialogApi.h).
#include "framework/core/ResourceScript.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/DialogApi.h"
#include "framework/ui/DialogTemplateLayout.h"
#include "framework/ui/UiDefs.h"

#include <QWidget>

#include <memory>

class QEventLoop;

inline constexpr const char* kDialogClassName = "#32770";

class DialogWidget final : public QWidget {
public:
    DialogWidget(DWORD style, QWidget* parent);

    DialogBaseUnits units;
    std::unique_ptr<CFont> font;
    DLGPROC proc = nullptr;      // a C-style dialog's procedure
    LRESULT procResult = 0;      // what a handled message answers besides TRUE
    UINT defaultId = 0;          // DM_SETDEFID; 0: the template's default push button
    bool ended = false;
    INT_PTR result = 0;
    QEventLoop* loop = nullptr;  // the real modal loop while it runs
    QPoint templatePosition;     // where the template put it; moved since: placed by code
};

DialogWidget* AfxDialogWidget(HWND hDlg);

// Before a top-level dialog first shows: one that its own code has not placed is centred
// over its owner (the main window when it has none); every one is then moved inside the
// available area of its screen.
void AfxPlaceDialog(CWnd& dialog);

// What a template makes of a dialog window before it is created: its font, units and
// rectangle (client area, in pixels, relative to the parent's client area for a child
// and on the screen for a popup).
struct DialogLayout {
    std::unique_ptr<CFont> font;
    DialogBaseUnits units;
    CRect rect;
    DWORD style = 0;   // without WS_VISIBLE; shown by whoever runs the dialog
    DWORD exStyle = 0;
};
DialogLayout AfxLayoutDialog(const DialogTemplate& dialogTemplate, HWND hWndParent);

// Creates the dialog window for an object (a CDialog, or a temporary one detached by
// the C-style calls), then its controls; WM_INITDIALOG is the caller's to send.
// As a child (a property page) the template's popup styles give way to WS_CHILD.
BOOL AfxCreateDialogWindow(CWnd& dialog, const DialogTemplate& dialogTemplate, HWND hWndParent, bool asChild = false);
// A control of a standard or registered class as a child of a dialog window, with the
// dialog's font; rect in the dialog's client pixels.
HWND AfxCreateDialogControl(HWND hDlg, LPCTSTR className, LPCTSTR text, DWORD style, const QRect& rect, UINT id,
                            DWORD exStyle = 0);
// The dialog window's units and font for a window made without a template (a sheet).
void AfxSetDialogFont(HWND hDlg, const DialogTemplate& fontSource);

// Sends WM_INITDIALOG and puts the focus on the first tab stop when the answer asks.
void AfxInitDialog(HWND hDlg, LPARAM initParam);

// Runs the modal part: a ScriptedUi script when one is active, else the real modal
// loop. Returns the result given to EndDialog (IDCANCEL when a script left the dialog open).
INT_PTR AfxRunModalDialog(HWND hDlg, CWnd& dialog, UINT templateId);
void AfxEndDialog(HWND hDlg, INT_PTR result);

// The first control with WS_TABSTOP that is visible and enabled, or nullptr.
HWND AfxFirstTabStop(HWND hDlg);
// The id the Enter key presses: the focused push button's, else the default button's, else IDOK.
int AfxDialogEnterId(HWND hDlg);

// Access keys of the dialog keyboard, for WM_SYSCHAR (Alt) and WM_CHAR: a label's (or
// group box's) key moves the focus to the next tab stop after it, a button's presses it,
// on the dialog and on its shown page alike. Alt with a key that names no control beeps,
// as Alt never types; a plain key counts only where the focus takes no characters.
// TRUE when the message was used.
BOOL AfxDialogAccessKey(HWND hDlg, const MSG& msg);
// Whether a key (Alt and a character) is an access key of a dialog around the window:
// such a key goes to the dialog before the shortcuts of the window around it (a frame's
// menu around a bar).
bool AfxDialogTakesAccessKey(HWND hWnd, Qt::KeyboardModifiers modifiers, const QString& text);
// The dialog keyboard of a dialog run by a procedure, which has no object to
// pre-translate for it. TRUE when the message was used.
BOOL AfxPreTranslateProcedureDialog(MSG& msg);
