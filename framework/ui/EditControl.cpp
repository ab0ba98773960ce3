#include "framework/ui/EditControl.h"

#include "framework/ui/ControlDefs.h"
#include "framework/ui/ControlSupport.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextOption>
#include <QValidator>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kNoLimit = 0x7FFFFFFE;

EditControl* EditOf(HWND hWnd)
{
    return dynamic_cast<EditControl*>(AfxWidgetFromHandle(hWnd));
}

bool EditProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    EditControl* edit = EditOf(hWnd);
    return edit != nullptr && edit->HandleMessage(hWnd, message, wParam, lParam, result);
}

const WindowClassInfo* RegisterEditClass()
{
    WindowClassInfo info;
    info.name = "EDIT";
    info.createWidget = &AfxCreateEditWidget;
    info.windowProc = &EditProc;
    return AfxRegisterWindowClass(std::move(info));
}

const WindowClassInfo* const s_editClass = RegisterEditClass();

Qt::Alignment AlignmentOf(DWORD style)
{
    if (style & ES_RIGHT) return Qt::AlignRight | Qt::AlignVCenter;
    if (style & ES_CENTER) return Qt::AlignHCenter | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The user's changes to a single-line edit pass the edit's rules here; texts set by
// message do not (a validator is not asked for those).
class EditInputRules final : public QValidator {
public:
    EditInputRules(EditLineWidget* edit, EditControl* rules) : QValidator(edit), m_edit(edit), m_rules(rules) {}

    State validate(QString& input, int&) const override
    {
        // The edit holds the changed text already; the text before it is the committed one.
        input = m_rules->ApplyCase(input);
        const int visible = m_edit->width() - 6;
        return m_rules->AcceptsUserText(m_edit->CommittedText(), input, visible, m_edit->fontMetrics()) ? Acceptable
                                                                                                       : Invalid;
    }

private:
    EditLineWidget* m_edit;
    EditControl* m_rules;
};

// Lines of a text whose line breaks are CR LF.
QStringList SplitLines(const QString& text) { return text.split(QStringLiteral("\r\n")); }

int LineOfPosition(const QString& text, int position)
{
    const QStringList lines = SplitLines(text);
    int start = 0;
    for (int line = 0; line < lines.size(); ++line) {
        const int end = start + int(lines[line].size());
        if (position <= end) return line;
        start = end + 2;
    }
    return int(lines.size()) - 1;
}

int LineStart(const QString& text, int line)
{
    const QStringList lines = SplitLines(text);
    if (line < 0 || line >= lines.size()) return -1;
    int start = 0;
    for (int i = 0; i < line; ++i) start += int(lines[i].size()) + 2;
    return start;
}

} // namespace

QWidget* AfxCreateEditWidget(const CREATESTRUCT& cs, QWidget* parent)
{
    (void)s_editClass;
    const QString text = cs.lpszName ? QString::fromUtf8(cs.lpszName) : QString();
    const DWORD style = DWORD(cs.style);
    if (style & ES_MULTILINE) return new EditTextWidget(style, text, parent);
    return new EditLineWidget(style, text, parent);
}

// ---------------------------------------------------------------- rules and messages

QString EditControl::ApplyCase(const QString& text) const
{
    if (m_style & ES_UPPERCASE) return text.toUpper();
    if (m_style & ES_LOWERCASE) return text.toLower();
    return text;
}

bool EditControl::AcceptsUserText(const QString& before, const QString& after, int visibleWidth,
                                  const QFontMetrics& metrics)
{
    // Shortening is always allowed, even from a text set above the limit.
    if (after.size() <= before.size()) return true;
    HWND hWnd = AfxHandleFromWidget(Widget());
    if (int(after.size()) > m_limit) {
        MessageBeep(0);
        if (hWnd) AfxNotifyParent(hWnd, EN_MAXTEXT);
        return false;
    }
    if (m_style & ES_NUMBER) {
        const auto nonDigits = [](const QString& s) {
            return std::count_if(s.begin(), s.end(), [](QChar c) { return !c.isDigit(); });
        };
        if (nonDigits(after) > nonDigits(before)) {
            MessageBeep(0);
            return false;
        }
    }
    if (!(m_style & (ES_AUTOHSCROLL | ES_MULTILINE)) && metrics.horizontalAdvance(after) > visibleWidth) {
        MessageBeep(0);
        if (hWnd) AfxNotifyParent(hWnd, EN_MAXTEXT);
        return false;
    }
    return true;
}

// A multi-line edit takes every key but Return, which presses the dialog's default
// button unless the edit is one to type line breaks into, and Escape.
bool EditControl::LeavesKeyToDialog(const MSG* msg) const
{
    if (!msg || msg->message != WM_KEYDOWN) return false;
    if (msg->wParam == WPARAM(VK_ESCAPE)) return true;
    return msg->wParam == WPARAM(VK_RETURN) && (!(m_style & ES_WANTRETURN) || IsReadOnly());
}

bool EditControl::HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SETTEXT:
        m_settingText = true;
        SetText(AfxTextFromParam(lParam));
        m_settingText = false;
        m_modified = false;
        result = TRUE;
        return true;
    case WM_GETTEXT:
        result = AfxCopyTextToBuffer(Text(), lParam, wParam);
        return true;
    case WM_GETTEXTLENGTH:
        result = AfxTextLength(Text());
        return true;
    case WM_GETDLGCODE:
        result = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS |
                 (IsMultiLine() && !LeavesKeyToDialog(reinterpret_cast<const MSG*>(lParam)) ? DLGC_WANTALLKEYS : 0);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        AfxNotifyParent(hWnd, message == WM_SETFOCUS ? EN_SETFOCUS : EN_KILLFOCUS);
        return false;
    case WM_CHAR:
        // Typed keys from Qt are Qt's to handle; a sent character is typed here.
        if (AfxMessageFromQt(hWnd)) return false;
        if (IsReadOnly()) {
            MessageBeep(0);
        } else if (wParam == VK_BACK) {
            Backspace();
        } else if (wParam == '\r' || wParam == '\n') {
            if (IsMultiLine() && (m_style & ES_WANTRETURN)) TypeCharacter(QChar(u'\n'));
        } else if (wParam >= 0x20 && wParam <= 0x10FFFF) {
            const char32_t code = char32_t(wParam);
            for (QChar ch : QString::fromUcs4(&code, 1)) TypeCharacter(ch);
        }
        result = 0;
        return true;
    case WM_KEYDOWN:
        if (AfxMessageFromQt(hWnd)) return false;
        if (wParam == WPARAM(VK_DELETE) && !IsReadOnly()) DeleteForward();
        result = 0;
        return true;
    case EM_LIMITTEXT: // also EM_SETLIMITTEXT
        m_limit = wParam == 0 ? kNoLimit : int(std::min<WPARAM>(wParam, kNoLimit));
        result = 0;
        return true;
    case EM_GETLIMITTEXT:
        result = m_limit;
        return true;
    case EM_SETSEL:
        SetSelection(int(wParam), int(lParam));
        result = 0;
        return true;
    case EM_GETSEL: {
        const auto [start, end] = Selection();
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = DWORD(start);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = DWORD(end);
        result = LRESULT(MAKELONG(WORD(start), WORD(end)));
        return true;
    }
    case EM_REPLACESEL:
        ReplaceSelection(AfxTextFromParam(lParam));
        result = 0;
        return true;
    case EM_SETREADONLY:
        SetReadOnly(wParam != 0);
        m_style = wParam ? (m_style | ES_READONLY) : (m_style & ~ES_READONLY);
        result = TRUE;
        return true;
    case EM_SETPASSWORDCHAR:
        m_passwordChar = QChar(char16_t(wParam));
        SetPasswordEcho(wParam != 0);
        result = 0;
        return true;
    case EM_GETPASSWORDCHAR:
        result = m_passwordChar.unicode();
        return true;
    case EM_GETMODIFY:
        result = m_modified ? TRUE : FALSE;
        return true;
    case EM_SETMODIFY:
        m_modified = wParam != 0;
        result = 0;
        return true;
    case EM_SETTABSTOPS:
        SetTabStops(int(wParam), reinterpret_cast<const int*>(lParam));
        result = IsMultiLine() ? TRUE : FALSE;
        return true;
    case EM_GETLINECOUNT:
        result = IsMultiLine() ? SplitLines(Text()).size() : 1;
        return true;
    case EM_LINEINDEX: {
        const QString text = Text();
        const int line = int(wParam) == -1 ? LineOfPosition(text, Selection().first) : int(wParam);
        result = LineStart(text, line);
        return true;
    }
    case EM_LINEFROMCHAR: {
        const QString text = Text();
        result = LineOfPosition(text, int(wParam) == -1 ? Selection().first : int(wParam));
        return true;
    }
    case EM_LINELENGTH: {
        const QString text = Text();
        const int line = LineOfPosition(text, int(wParam) == -1 ? Selection().first : int(wParam));
        result = SplitLines(text).value(line).size();
        return true;
    }
    case EM_GETLINE: {
        // The first WORD of the buffer holds its size in characters; no NUL is added.
        auto* buffer = reinterpret_cast<char*>(lParam);
        const QStringList lines = SplitLines(Text());
        if (!buffer || int(wParam) < 0 || int(wParam) >= lines.size()) {
            result = 0;
            return true;
        }
        WORD size = 0;
        std::memcpy(&size, buffer, sizeof size);
        const QByteArray bytes = lines[int(wParam)].toUtf8();
        const std::size_t count = std::min<std::size_t>(std::size_t(bytes.size()), size);
        std::memcpy(buffer, bytes.constData(), count);
        result = LRESULT(count);
        return true;
    }
    case EM_LINESCROLL:
        ScrollLines(int(lParam));
        result = TRUE;
        return true;
    case EM_SCROLLCARET:
        if (auto* text = dynamic_cast<QPlainTextEdit*>(Widget())) text->ensureCursorVisible();
        result = TRUE;
        return true;
    case EM_CANUNDO:
        result = FALSE;
        return true;
    case EM_EMPTYUNDOBUFFER:
        result = 0;
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- single line

EditLineWidget::EditLineWidget(DWORD style, const QString& text, QWidget* parent)
    : QLineEdit(parent), EditControl(style)
{
    setFrame((style & WS_BORDER) != 0);
    setAlignment(AlignmentOf(style));
    setReadOnly((style & ES_READONLY) != 0);
    if (style & ES_PASSWORD) {
        setEchoMode(QLineEdit::Password);
        m_passwordChar = QChar(u'*');
    }
    setMaxLength(32767 * 2);
    setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    setValidator(new EditInputRules(this, this));
    setText(text);
    m_committed = text;
    connect(this, &QLineEdit::textChanged, this, [this](const QString& now) {
        m_committed = now;
        if (!m_settingText) m_modified = true;
        HWND hWnd = AfxHandleFromWidget(this);
        AfxNotifyParent(hWnd, EN_UPDATE);
        AfxNotifyParent(hWnd, EN_CHANGE);
    });
}

void EditLineWidget::SetText(const QString& value)
{
    // QLineEdit keeps at most its maximum length; the edit's limit only stops typing.
    if (value.size() > maxLength()) setMaxLength(int(value.size()));
    setText(value);
}

std::pair<int, int> EditLineWidget::Selection() const
{
    if (!hasSelectedText()) return {cursorPosition(), cursorPosition()};
    const int start = selectionStart();
    return {start, start + int(selectedText().size())};
}

void EditLineWidget::SetSelection(int start, int end)
{
    const int length = int(text().size());
    if (start == -1) {
        deselect();
        return;
    }
    if (end < 0 || end > length) end = length;
    start = std::clamp(start, 0, length);
    if (start == end) {
        deselect();
        setCursorPosition(start);
        return;
    }
    // The caret sits at the end the caller named last.
    setSelection(start, end - start);
}

void EditLineWidget::ReplaceSelection(const QString& value)
{
    // A program's replacement is not held to the user's limit.
    const QString before = text();
    const auto [start, end] = Selection();
    QString after = before;
    after.replace(start, end - start, value);
    m_settingText = true;
    SetText(after);
    m_settingText = false;
    setCursorPosition(start + int(value.size()));
}

void EditLineWidget::TypeCharacter(QChar ch) { insert(QString(ch)); }

// ---------------------------------------------------------------- multi-line

EditTextWidget::EditTextWidget(DWORD style, const QString& text, QWidget* parent)
    : QPlainTextEdit(parent), EditControl(style)
{
    setFrameStyle((style & WS_BORDER) ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    SetReadOnly((style & ES_READONLY) != 0);
    setTabChangesFocus(true);
    setLineWrapMode((style & ES_AUTOHSCROLL) || (style & WS_HSCROLL) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    SetText(text);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_settingText) m_modified = true;
        HWND hWnd = AfxHandleFromWidget(this);
        AfxNotifyParent(hWnd, EN_UPDATE);
        AfxNotifyParent(hWnd, EN_CHANGE);
    });
}

QString EditTextWidget::Text() const
{
    QString text = toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

void EditTextWidget::SetText(const QString& value)
{
    QString plain = value;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(plain);
}

int EditTextWidget::ToQtPosition(int position) const
{
    const QString plain = toPlainText();
    int win = 0;
    for (int qt = 0; qt < plain.size(); ++qt) {
        if (win >= position) return qt;
        win += plain[qt] == u'\n' ? 2 : 1;
    }
    return int(plain.size());
}

int EditTextWidget::FromQtPosition(int position) const
{
    const QString plain = toPlainText().left(position);
    return int(plain.size() + plain.count(u'\n'));
}

std::pair<int, int> EditTextWidget::Selection() const
{
    const QTextCursor cursor = textCursor();
    return {FromQtPosition(cursor.selectionStart()), FromQtPosition(cursor.selectionEnd())};
}

void EditTextWidget::SetSelection(int start, int end)
{
    QTextCursor cursor = textCursor();
    if (start == -1) {
        cursor.clearSelection();
        setTextCursor(cursor);
        return;
    }
    const int length = int(toPlainText().size());
    const int from = ToQtPosition(std::max(start, 0));
    const int to = end < 0 ? length : ToQtPosition(end);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void EditTextWidget::ReplaceSelection(const QString& value)
{
    QString plain = value;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_settingText = true;
    textCursor().insertText(plain);
    m_settingText = false;
}

void EditTextWidget::TypeCharacter(QChar ch)
{
    const QString before = toPlainText();
    QString after = before;
    const QTextCursor cursor = textCursor();
    after.replace(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart(), ApplyCase(QString(ch)));
    if (!AcceptsUserText(before, after, viewport()->width(), fontMetrics())) return;
    textCursor().insertText(ApplyCase(QString(ch)));
}

void EditTextWidget::Backspace()
{
    QTextCursor cursor = textCursor();
    cursor.deletePreviousChar();
    setTextCursor(cursor);
}

void EditTextWidget::DeleteForward()
{
    QTextCursor cursor = textCursor();
    cursor.deleteChar();
    setTextCursor(cursor);
}

void EditTextWidget::SetTabStops(int count, const int* stops)
{
    // Stops are in quarters of the average character width; none: every 32.
    QTextOption option = document()->defaultTextOption();
    QList<QTextOption::Tab> tabs;
    if (count <= 0 || stops == nullptr) {
        option.setTabStopDistance(AfxQuarterCharsToPixels(font(), 32));
    } else if (count == 1) {
        option.setTabStopDistance(std::max(1, AfxQuarterCharsToPixels(font(), stops[0])));
    } else {
        for (int i = 0; i < count; ++i) tabs.append(QTextOption::Tab(AfxQuarterCharsToPixels(font(), stops[i]), QTextOption::LeftTab));
    }
    option.setTabs(tabs);
    document()->setDefaultTextOption(option);
}

void EditTextWidget::ScrollLines(int lines)
{
    verticalScrollBar()->setValue(verticalScrollBar()->value() + lines);
}

void EditTextWidget::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(m_style & ES_WANTRETURN) && !(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    const QString typed = event->text();
    if (!isReadOnly() && !typed.isEmpty() && typed[0].isPrint()) {
        for (QChar ch : typed) TypeCharacter(ch);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void EditTextWidget::SetReadOnly(bool readOnly)
{
    setReadOnly(readOnly);
    // A listing read with the keyboard shows where it is, as a caret.
    if (readOnly) setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

// The frame takes the highlight colour while the edit has the focus: a caret alone is
// easily missed in a long listing.
void EditTextWidget::focusInEvent(QFocusEvent* event)
{
    ShowFocusFrame(true);
    QPlainTextEdit::focusInEvent(event);
}

void EditTextWidget::focusOutEvent(QFocusEvent* event)
{
    ShowFocusFrame(false);
    QPlainTextEdit::focusOutEvent(event);
}

void EditTextWidget::ShowFocusFrame(bool focused)
{
    QPalette colours = palette();
    const QColor frame = focused ? colours.color(QPalette::Active, QPalette::Highlight)
                                 : QApplication::palette(this).color(QPalette::Active, QPalette::WindowText);
    colours.setColor(QPalette::Active, QPalette::WindowText, frame);
    colours.setColor(QPalette::Inactive, QPalette::WindowText, frame);
    setPalette(colours);
}

void EditTextWidget::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText()) return;
    const QString before = toPlainText();
    const QString pasted = ApplyCase(source->text());
    if (!AcceptsUserText(before, before + pasted, viewport()->width(), fontMetrics())) return;
    textCursor().insertText(pasted);
}

void EditTextWidget::showEvent(QShowEvent* event)
{
    if (!m_eventSourceAdded) {
        if (HWND hWnd = AfxHandleFromWidget(this)) {
            hWnd->AddEventSource(viewport());
            m_eventSourceAdded = true;
        }
    }
    QPlainTextEdit::showEvent(event);
}
