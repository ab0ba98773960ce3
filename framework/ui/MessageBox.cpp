#include "framework/ui/MessageBox.h"

#include "framework/core/CString.h"
#include "framework/ui/CWaitCursor.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ModalOwner.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <iterator>

namespace {

struct ButtonSet {
    int count;
    int results[3];
};

ButtonSet ButtonsOf(UINT nType)
{
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL: return {2, {IDOK, IDCANCEL, 0}};
    case MB_ABORTRETRYIGNORE: return {3, {IDABORT, IDRETRY, IDIGNORE}};
    case MB_YESNOCANCEL: return {3, {IDYES, IDNO, IDCANCEL}};
    case MB_YESNO: return {2, {IDYES, IDNO, 0}};
    case MB_RETRYCANCEL: return {2, {IDRETRY, IDCANCEL, 0}};
    default: return {1, {IDOK, 0, 0}};
    }
}

QMessageBox::StandardButton QtButton(int result)
{
    switch (result) {
    case IDOK: return QMessageBox::Ok;
    case IDCANCEL: return QMessageBox::Cancel;
    case IDABORT: return QMessageBox::Abort;
    case IDRETRY: return QMessageBox::Retry;
    case IDIGNORE: return QMessageBox::Ignore;
    case IDYES: return QMessageBox::Yes;
    case IDNO: return QMessageBox::No;
    default: return QMessageBox::NoButton;
    }
}

QMessageBox::Icon QtIcon(UINT nType)
{
    switch (nType & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The box shows the arrow even while the program waits; the wait cursor comes back after.
class ArrowWhileShown {
public:
    ArrowWhileShown() : m_active(AfxWaitCursorDepth() > 0)
    {
        if (m_active)
            QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~ArrowWhileShown()
    {
        if (m_active)
            QApplication::restoreOverrideCursor();
    }
    ArrowWhileShown(const ArrowWhileShown&) = delete;
    ArrowWhileShown& operator=(const ArrowWhileShown&) = delete;

private:
    bool m_active;
};

int ShowRealBox(HWND hWnd, const CString& text, const CString& caption, UINT nType)
{
    if (!AfxEnsureGuiApplication())
        return AfxMessageBoxDefaultResult(nType);
    const ModalOwner owner(hWnd);
    QMessageBox box(QtIcon(nType), QString::fromUtf8(caption.c_str()), QString::fromUtf8(text.c_str()),
                    QMessageBox::NoButton, owner.Window());
    const ButtonSet set = ButtonsOf(nType);
    QAbstractButton* buttons[3] = {};
    for (int i = 0; i < set.count; ++i)
        buttons[i] = box.addButton(QtButton(set.results[i]));
    const int defaultIndex = int((nType & MB_DEFMASK) >> 8);
    if (defaultIndex < set.count)
        box.setDefaultButton(static_cast<QPushButton*>(buttons[defaultIndex]));
    for (int i = 0; i < set.count; ++i) {
        if (set.results[i] == IDCANCEL || set.count == 1)
            box.setEscapeButton(buttons[i]);
    }
    ArrowWhileShown arrow;
    // On the screen and painted before anything else runs, as the modal loop starts.
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    owner.Centre(&box);
    AfxPaintWindowNow(&box);
    if (box.isVisible()) // not already answered while it came up
        box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (int i = 0; i < set.count; ++i) {
        if (clicked == buttons[i])
            return set.results[i];
    }
    // Closed without a button: the cancelling answer if the box has one.
    for (int i = 0; i < set.count; ++i) {
        if (set.results[i] == IDCANCEL)
            return IDCANCEL;
    }
    return set.count == 1 ? set.results[0] : AfxMessageBoxDefaultResult(nType);
}

int ShowBox(HWND hWnd, UINT id, const CString& text, const CString& caption, UINT nType, UINT helpId)
{
    // A box ends a drag under way, scripted or not.
    AfxCancelCaptureForModal();
    if (ScriptedUi* script = ScriptedUi::Active())
        return script->AnswerMessageBox(id, text, caption, nType, helpId);
    return ShowRealBox(hWnd, text, caption, nType);
}

CString ApplicationCaption()
{
    CString caption = AfxGetAppName();
    if (caption.IsEmpty() && QCoreApplication::instance() != nullptr)
        caption = QCoreApplication::applicationName().toStdString();
    return caption;
}

} // namespace

int AfxMessageBoxButtons(UINT nType, int* results)
{
    const ButtonSet set = ButtonsOf(nType);
    for (int i = 0; results != nullptr && i < set.count; ++i)
        results[i] = set.results[i];
    return set.count;
}

int AfxMessageBoxDefaultResult(UINT nType)
{
    const ButtonSet set = ButtonsOf(nType);
    const int index = int((nType & MB_DEFMASK) >> 8);
    return index < set.count ? set.results[index] : set.results[0];
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    return ShowBox(nullptr, 0, lpszText != nullptr ? lpszText : "", ApplicationCaption(), nType, nIDHelp);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    // A text missing from the language library still tells which message was meant.
    if (!text.LoadString(nIDPrompt))
        text.Format("#%u", nIDPrompt);
    if (nIDHelp == UINT(-1))
        nIDHelp = nIDPrompt;
    return ShowBox(nullptr, nIDPrompt, text, ApplicationCaption(), nType, nIDHelp);
}

int MessageBox(HWND hWnd, LPCTSTR lpText, LPCTSTR lpCaption, UINT uType)
{
    return ShowBox(hWnd, 0, lpText != nullptr ? lpText : "", lpCaption != nullptr ? lpCaption : "Error", uType, 0);
}
