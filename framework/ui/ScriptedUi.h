#pragma once
// Scripted user interface for tests: while a ScriptedUi object lives, message boxes are
// logged and answered from its queue, and modal dialogs, sheets and wizards are handed
// to its modal scripts instead of running a modal loop.
#include "framework/core/CString.h"
#include "framework/ui/UiDefs.h"

#include <deque>
#include <functional>
#include <initializer_list>
#include <vector>

class CWnd;

struct MessageBoxRecord {
    UINT id = 0;        // string id of the text; 0 for a box shown by text
    CString text;
    CString caption;
    UINT flags = 0;
    UINT helpId = 0;
    int answer = 0;
    // The queued answer was not a button of this box; the default button answered.
    bool rejectedAnswer = false;
};

struct ModalRecord {
    UINT templateId = 0;
    CString caption;
    bool scripted = false; // a script ran (else nothing touched the dialog)
};

class ScriptedUi {
public:
    ScriptedUi();
    ~ScriptedUi();
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    // The innermost live script, or nullptr when the real user interface runs.
    static ScriptedUi* Active();

    // Message boxes take the queued answers in order; with none left, the box's
    // default button answers.
    void QueueAnswer(int answer);
    // A retry prompt that no queued answer meets would let a failing device be retried
    // for ever: it gives up (Cancel, else Abort) and goes to this report, which the test
    // support makes fail the test. Returns the report it replaces.
    using RetryReport = std::function<void(const MessageBoxRecord&)>;
    static RetryReport SetUnscriptedRetryReport(RetryReport report);
    void QueueAnswers(std::initializer_list<int> answers);
    std::size_t PendingAnswers() const { return m_answers.size(); }
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_boxes; }
    void ClearMessageBoxes() { m_boxes.clear(); }

    // Modal runs take the queued scripts in order, then the default script, if any.
    // A script gets the dialog after its initialisation and drives it (sets controls,
    // presses buttons); the dialog class decides the result when the script ends.
    using ModalScript = std::function<void(CWnd& dialog)>;
    void QueueModal(ModalScript script);
    void SetDefaultModal(ModalScript script);
    std::size_t PendingModals() const { return m_modals.size(); }
    const std::vector<ModalRecord>& ModalRuns() const { return m_modalRuns; }

    // Files handed to the desktop's viewer (help files) are logged, not opened; with an
    // opener program named, they go to that program instead, as to the desktop's opener.
    void RecordOpenedDocument(const CString& path) { m_openedDocuments.push_back(path); }
    const std::vector<CString>& OpenedDocuments() const { return m_openedDocuments; }
    void SetDocumentOpener(const CString& program) { m_documentOpener = program; }
    const CString& DocumentOpener() const { return m_documentOpener; }

    // Fixes the state GetKeyState reports for a key while this object lives.
    void SetKeyDown(int virtualKey, bool down);

    // For the message box and modal-loop code of the framework.
    int AnswerMessageBox(UINT id, const CString& text, const CString& caption, UINT flags, UINT helpId);
    // Where a modal loop would start: ends a mouse capture (WM_CANCELMODE), logs the run
    // and calls the next script. False when no ScriptedUi is active (the caller runs its
    // real modal loop, after AfxCancelCaptureForModal).
    static bool RunModal(CWnd& dialog, UINT templateId);

private:
    ScriptedUi* m_outer = nullptr;
    std::deque<int> m_answers;
    std::vector<MessageBoxRecord> m_boxes;
    std::deque<ModalScript> m_modals;
    ModalScript m_defaultModal;
    std::vector<ModalRecord> m_modalRuns;
    std::vector<int> m_scriptedKeys;
    std::vector<CString> m_openedDocuments;
    CString m_documentOpener;
};
