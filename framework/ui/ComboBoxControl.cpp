#include "framework/ui/ComboBoxControl.h"

#include "framework/ui/ControlDefs.h"
#include "framework/ui/ControlSupport.h"
#include "framework/ui/WindowHandle.h"

#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QValidator>

namespace {

bool ComboBoxProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    auto* combo = dynamic_cast<ComboBoxWidget*>(AfxWidgetFromHandle(hWnd));
    return combo != nullptr && combo->HandleMessage(hWnd, message, wParam, lParam, result);
}

const WindowClassInfo* RegisterComboBoxClass()
{
    WindowClassInfo info;
    info.name = "COMBOBOX";
    info.style = CS_DBLCLKS;
    info.createWidget = &AfxCreateComboBoxWidget;
    info.windowProc = &ComboBoxProc;
    return AfxRegisterWindowClass(std::move(info));
}

const WindowClassInfo* const s_comboBoxClass = RegisterComboBoxClass();

// The edit part refuses typing beyond the limit; texts set by message are not held to it.
class ComboEditLimit final : public QValidator {
public:
    ComboEditLimit(QLineEdit* edit, const int* limit) : QValidator(edit), m_limit(limit)
    {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& now) { m_committed = now; });
    }
    // The edit holds the changed text already; the text before it is the committed one.
    State validate(QString& input, int&) const override
    {
        if (input.size() > m_committed.size() && input.size() > *m_limit) {
            MessageBeep(0);
            return Invalid;
        }
        return Acceptable;
    }

private:
    const int* m_limit;
    QString m_committed;
};

} // namespace

QWidget* AfxCreateComboBoxWidget(const CREATESTRUCT& cs, QWidget* parent)
{
    (void)s_comboBoxClass;
    return new ComboBoxWidget(DWORD(cs.style), parent);
}

ComboBoxWidget::ComboBoxWidget(DWORD style, QWidget* parent) : QComboBox(parent), m_style(style)
{
    setEditable(!IsDropList());
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(12);
    setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    setCurrentIndex(-1);
    if (QLineEdit* edit = lineEdit()) {
        edit->setValidator(new ComboEditLimit(edit, &m_limit));
        edit->setMaxLength(32767 * 2);
        connect(edit, &QLineEdit::textEdited, this, [this] {
            HWND hWnd = AfxHandleFromWidget(this);
            AfxNotifyParent(hWnd, CBN_EDITUPDATE);
            AfxNotifyParent(hWnd, CBN_EDITCHANGE);
        });
    }
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int) {
        AfxNotifyParent(AfxHandleFromWidget(this), CBN_SELCHANGE);
    });
}

void ComboBoxWidget::showEvent(QShowEvent* event)
{
    if (!m_eventSourceAdded && lineEdit()) {
        if (HWND hWnd = AfxHandleFromWidget(this)) {
            hWnd->AddEventSource(lineEdit());
            m_eventSourceAdded = true;
        }
    }
    QComboBox::showEvent(event);
}

void ComboBoxWidget::showPopup()
{
    HWND hWnd = AfxHandleFromWidget(this);
    AfxNotifyParent(hWnd, CBN_DROPDOWN);
    m_dropped = true;
    QComboBox::showPopup();
}

void ComboBoxWidget::hidePopup()
{
    QComboBox::hidePopup();
    if (m_dropped) {
        m_dropped = false;
        AfxNotifyParent(AfxHandleFromWidget(this), CBN_CLOSEUP);
    }
}

QString ComboBoxWidget::WindowText() const
{
    if (lineEdit()) return lineEdit()->text();
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

// Qt selects the first item added to an empty combo and moves the selection when the
// selected item goes; this combo does neither, the selection stays the caller's.
int ComboBoxWidget::Insert(int index, const QString& text)
{
    const int selected = currentIndex();
    const QString editText = lineEdit() ? lineEdit()->text() : QString();
    {
        const QSignalBlocker blocker(this);
        insertItem(index, text, QVariant::fromValue<qulonglong>(0));
        setCurrentIndex(selected >= index && selected >= 0 ? selected + 1 : selected);
        if (lineEdit()) lineEdit()->setText(editText);
    }
    return index;
}

int ComboBoxWidget::Delete(int index)
{
    const int selected = currentIndex();
    const QString editText = lineEdit() ? lineEdit()->text() : QString();
    {
        const QSignalBlocker blocker(this);
        removeItem(index);
        setCurrentIndex(selected == index ? -1 : selected > index ? selected - 1 : selected);
        if (lineEdit() && selected != index) lineEdit()->setText(editText);
    }
    return count();
}

void ComboBoxWidget::Select(int index)
{
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
    if (index < 0 && lineEdit()) lineEdit()->clear();
}

int ComboBoxWidget::FindString(int start, const QString& text, bool exact) const
{
    const int total = count();
    if (total == 0) return CB_ERR;
    const int first = (start < 0 || start >= total) ? 0 : start + 1;
    for (int n = 0; n < total; ++n) {
        const int i = (first + n) % total;
        const bool match = exact ? AfxCompareItemText(itemText(i), text) == 0 : AfxItemTextStartsWith(itemText(i), text);
        if (match) return i;
    }
    return CB_ERR;
}

bool ComboBoxWidget::HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const int index = int(wParam);
    switch (message) {
    case WM_SETTEXT:
        if (!lineEdit()) {
            result = CB_ERR;
        } else {
            lineEdit()->setText(AfxTextFromParam(lParam));
            result = TRUE;
        }
        return true;
    case WM_GETTEXT:
        result = AfxCopyTextToBuffer(WindowText(), lParam, wParam);
        return true;
    case WM_GETTEXTLENGTH:
        result = AfxTextLength(WindowText());
        return true;
    case WM_CHAR:
        // Typed keys from Qt are Qt's to handle; a sent character is typed into the edit part.
        if (AfxMessageFromQt(hWnd) || !lineEdit()) return false;
        if (wParam == VK_BACK) {
            lineEdit()->backspace();
        } else if (wParam >= 0x20 && wParam <= 0x10FFFF) {
            const char32_t typed = char32_t(wParam);
            lineEdit()->insert(QString::fromUcs4(&typed, 1));
        }
        result = 0;
        return true;
    case WM_GETDLGCODE:
        result = DLGC_WANTCHARS | DLGC_WANTARROWS | (lineEdit() ? DLGC_HASSETSEL : 0);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        AfxNotifyParent(hWnd, message == WM_SETFOCUS ? CBN_SETFOCUS : CBN_KILLFOCUS);
        return false;
    case CB_ADDSTRING: {
        const QString text = AfxTextFromParam(lParam);
        int position = count();
        if (m_style & CBS_SORT) {
            position = 0;
            while (position < count() && AfxCompareItemText(itemText(position), text) <= 0) ++position;
        }
        result = Insert(position, text);
        return true;
    }
    case CB_INSERTSTRING:
        result = index == -1 ? Insert(count(), AfxTextFromParam(lParam))
                 : (index >= 0 && index <= count()) ? Insert(index, AfxTextFromParam(lParam))
                                                     : CB_ERR;
        return true;
    case CB_DELETESTRING:
        result = ValidIndex(index) ? Delete(index) : CB_ERR;
        return true;
    case CB_RESETCONTENT: {
        const QSignalBlocker blocker(this);
        clear();
        setCurrentIndex(-1);
        if (lineEdit()) lineEdit()->clear();
        result = CB_OKAY;
        return true;
    }
    case CB_GETCOUNT:
        result = count();
        return true;
    case CB_GETCURSEL:
        result = currentIndex() >= 0 ? currentIndex() : CB_ERR;
        return true;
    case CB_SETCURSEL:
        Select(ValidIndex(index) ? index : -1);
        result = ValidIndex(index) ? index : CB_ERR;
        return true;
    case CB_GETLBTEXT:
        result = ValidIndex(index) ? AfxCopyTextUnbounded(itemText(index), lParam) : CB_ERR;
        return true;
    case CB_GETLBTEXTLEN:
        result = ValidIndex(index) ? AfxTextLength(itemText(index)) : CB_ERR;
        return true;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
        result = FindString(index, AfxTextFromParam(lParam), message == CB_FINDSTRINGEXACT);
        return true;
    case CB_SELECTSTRING: {
        const int found = FindString(index, AfxTextFromParam(lParam), false);
        if (found != CB_ERR) Select(found);
        result = found;
        return true;
    }
    case CB_GETITEMDATA:
        result = ValidIndex(index) ? LRESULT(itemData(index).toULongLong()) : CB_ERR;
        return true;
    case CB_SETITEMDATA:
        if (ValidIndex(index)) {
            setItemData(index, QVariant::fromValue<qulonglong>(qulonglong(ULONG_PTR(lParam))));
            result = CB_OKAY;
        } else {
            result = CB_ERR;
        }
        return true;
    case CB_LIMITTEXT:
        m_limit = wParam == 0 ? 0x7FFFFFFE : int(std::min<WPARAM>(wParam, 0x7FFFFFFE));
        result = TRUE;
        return true;
    case CB_GETEDITSEL: {
        int start = 0;
        int end = 0;
        if (QLineEdit* edit = lineEdit()) {
            start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
            end = edit->hasSelectedText() ? start + int(edit->selectedText().size()) : start;
        }
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = DWORD(start);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = DWORD(end);
        result = LRESULT(MAKELONG(WORD(start), WORD(end)));
        return true;
    }
    case CB_SETEDITSEL: {
        QLineEdit* edit = lineEdit();
        if (!edit) {
            result = CB_ERR;
            return true;
        }
        const int start = SHORT(LOWORD(DWORD(lParam)));
        int end = SHORT(HIWORD(DWORD(lParam)));
        if (start < 0) {
            edit->deselect();
        } else {
            if (end < 0 || end > edit->text().size()) end = int(edit->text().size());
            edit->setSelection(start, end - start);
        }
        result = TRUE;
        return true;
    }
    case CB_SHOWDROPDOWN:
        if (wParam)
            showPopup();
        else
            hidePopup();
        result = TRUE;
        return true;
    case CB_GETDROPPEDSTATE:
        result = m_dropped ? TRUE : FALSE;
        return true;
    case CB_SETITEMHEIGHT:
        m_itemHeight = int(LOWORD(DWORD(lParam)));
        result = CB_OKAY;
        return true;
    case CB_GETITEMHEIGHT:
        result = m_itemHeight > 0 ? m_itemHeight : fontMetrics().height();
        return true;
    default:
        return false;
    }
}

// A drop-down list has no caret: the dotted rectangle round its text shows the focus.
void ComboBoxWidget::paintEvent(QPaintEvent* event)
{
    QComboBox::paintEvent(event);
    if (!hasFocus() || lineEdit()) return;
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect text = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    QPainter painter(this);
    AfxDrawFocusRect(painter, text.adjusted(-1, 0, 1, 0).intersected(rect()), palette().color(QPalette::ButtonText));
}
