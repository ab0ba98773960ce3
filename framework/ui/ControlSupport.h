#pragma once
// What the standard controls share below their C++ objects (framework/ui only; the
// Parts never include it): notifications to the parent, text through message buffers,
// and the window classes' registration.
#include "framework/core/CString.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/UiDefs.h"
#include "framework/ui/WindowHandle.h"

#include <QString>

class QColor;
class QPainter;
class QRect;
class QWidget;

// Sends WM_COMMAND with the notification code to the control's parent.
void AfxNotifyParent(HWND hWndCtrl, UINT code);
void AfxNotifyParent(QWidget* control, UINT code);

// Whether the window is of that class ("EDIT", "LISTBOX", ...; case does not matter).
bool AfxIsWindowClass(HWND hWnd, LPCTSTR className);

// True while the message being handled for hWnd came from a Qt event, whose own
// handling is the control's default; a class procedure then leaves it to Qt.
bool AfxMessageFromQt(HWND hWnd);

// Text handed over in a message parameter (UTF-8, may be null).
QString AfxTextFromParam(LPARAM lParam);
// Copies text into a caller's buffer of 'size' bytes with its NUL, never half a
// character; returns the bytes copied.
int AfxCopyTextToBuffer(const QString& text, LPARAM buffer, WPARAM size);
// Copies text into a caller's buffer that the call assumes large enough.
int AfxCopyTextUnbounded(const QString& text, LPARAM buffer);
LRESULT AfxTextLength(const QString& text);

// "&Name" as shown: a single '&' marks the mnemonic and is not shown, "&&" shows one.
QString AfxTextWithoutMnemonic(const QString& text);
// The access key of such a text, folded to lower case; a null character when it has none.
QChar AfxAccessKey(const QString& text);

// The dotted rectangle that shows which control has the keyboard focus.
void AfxDrawFocusRect(QPainter& painter, const QRect& rect, const QColor& color);

// Pixel rows a line of text covers: ascent and descent rounded up together, as the
// dialog character height counts them (dialog units, labels, group titles).
int AfxTextLineHeight(const QFont& font);

// Pixel width of n quarters of the font's average character width (tab stops).
int AfxQuarterCharsToPixels(const QFont& font, int quarters);

// Case-insensitive comparison of the list controls (sorting and searching).
int AfxCompareItemText(const QString& a, const QString& b);
bool AfxItemTextStartsWith(const QString& text, const QString& prefix);
