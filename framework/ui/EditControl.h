#pragma once
// The edit window class ("EDIT"): a single-line edit on a QLineEdit or a multi-line one
// on a QPlainTextEdit, with the text limit, selection, password, number, case,
// read-only and auto-scroll rules (inside framework/ui only; the layers above use CEdit).
#include "framework/core/WinStyles.h"
#include "framework/ui/UiDefs.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

#include <utility>

// What both edit kinds answer to the class procedure. Positions are characters; in a
// multi-line edit a line break counts two, as the CR LF it stands for.
class EditControl {
public:
    explicit EditControl(DWORD style) : m_style(style) {}
    virtual ~EditControl() = default;
    EditControl(const EditControl&) = delete;
    EditControl& operator=(const EditControl&) = delete;

    bool HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Whether a change the user makes may stand: the limit, ES_NUMBER, and without
    // ES_AUTOHSCROLL the visible width. Rejected input beeps; the limit also tells EN_MAXTEXT.
    bool AcceptsUserText(const QString& before, const QString& after, int visibleWidth, const QFontMetrics& metrics);
    QString ApplyCase(const QString& text) const;

protected:
    bool LeavesKeyToDialog(const MSG* msg) const;
    virtual QWidget* Widget() = 0;
    virtual QString Text() const = 0;
    virtual void SetText(const QString& text) = 0;
    virtual std::pair<int, int> Selection() const = 0;
    virtual void SetSelection(int start, int end) = 0; // start -1: none; end -1: to the end
    virtual void ReplaceSelection(const QString& text) = 0;
    virtual void TypeCharacter(QChar ch) = 0;
    virtual void Backspace() = 0;
    virtual void DeleteForward() = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual bool IsReadOnly() const = 0;
    virtual void SetPasswordEcho(bool on) = 0;
    virtual void SetTabStops(int count, const int* stops) = 0;
    virtual void ScrollLines(int lines) = 0;
    virtual bool IsMultiLine() const = 0;

    DWORD m_style;
    int m_limit = 0x7FFFFFFE;
    bool m_modified = false;
    QChar m_passwordChar;
    bool m_settingText = false; // a text set by message, not by the user
};

class EditLineWidget final : public QLineEdit, public EditControl {
public:
    EditLineWidget(DWORD style, const QString& text, QWidget* parent);
    // The text as it stood before the change being validated.
    const QString& CommittedText() const { return m_committed; }

protected:
    QWidget* Widget() override { return this; }
    QString Text() const override { return text(); }
    void SetText(const QString& value) override;
    std::pair<int, int> Selection() const override;
    void SetSelection(int start, int end) override;
    void ReplaceSelection(const QString& value) override;
    void TypeCharacter(QChar ch) override;
    void Backspace() override { backspace(); }
    void DeleteForward() override { del(); }
    void SetReadOnly(bool readOnly) override { setReadOnly(readOnly); }
    bool IsReadOnly() const override { return isReadOnly(); }
    void SetPasswordEcho(bool on) override { setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal); }
    void SetTabStops(int, const int*) override {}
    void ScrollLines(int) override {}
    bool IsMultiLine() const override { return false; }

private:
    QString m_committed;
};

class EditTextWidget final : public QPlainTextEdit, public EditControl {
public:
    EditTextWidget(DWORD style, const QString& text, QWidget* parent);

protected:
    QWidget* Widget() override { return this; }
    QString Text() const override;
    void SetText(const QString& value) override;
    std::pair<int, int> Selection() const override;
    void SetSelection(int start, int end) override;
    void ReplaceSelection(const QString& value) override;
    void TypeCharacter(QChar ch) override;
    void Backspace() override;
    void DeleteForward() override;
    void SetReadOnly(bool readOnly) override;
    bool IsReadOnly() const override { return isReadOnly(); }
    void SetPasswordEcho(bool) override {}
    void SetTabStops(int count, const int* stops) override;
    void ScrollLines(int lines) override;
    bool IsMultiLine() const override { return true; }

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowFocusFrame(bool focused);
    int ToQtPosition(int position) const;
    int FromQtPosition(int position) const;
    bool m_eventSourceAdded = false;
};

QWidget* AfxCreateEditWidget(const CREATESTRUCT& cs, QWidget* parent);
