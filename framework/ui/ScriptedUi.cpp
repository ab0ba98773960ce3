#include "framework/ui/ScriptedUi.h"

#include "framework/ui/CWnd.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/WindowHandle.h"

#include <algorithm>
#include <utility>

namespace {

ScriptedUi* g_activeScript = nullptr;
ScriptedUi::RetryReport g_unscriptedRetryReport;

// The button that ends a retry prompt without retrying.
int GiveUpAnswer(UINT flags)
{
    int buttons[4] = {};
    const int count = AfxMessageBoxButtons(flags, buttons);
    return std::find(buttons, buttons + count, IDCANCEL) != buttons + count ? IDCANCEL : IDABORT;
}

} // namespace

ScriptedUi::ScriptedUi() : m_outer(g_activeScript)
{
    g_activeScript = this;
}

ScriptedUi::~ScriptedUi()
{
    for (int key : m_scriptedKeys)
        AfxSetScriptedKeyState(key, -1);
    g_activeScript = m_outer;
}

ScriptedUi* ScriptedUi::Active()
{
    return g_activeScript;
}

void ScriptedUi::QueueAnswer(int answer)
{
    m_answers.push_back(answer);
}

ScriptedUi::RetryReport ScriptedUi::SetUnscriptedRetryReport(RetryReport report)
{
    return std::exchange(g_unscriptedRetryReport, std::move(report));
}

void ScriptedUi::QueueAnswers(std::initializer_list<int> answers)
{
    m_answers.insert(m_answers.end(), answers.begin(), answers.end());
}

void ScriptedUi::QueueModal(ModalScript script)
{
    m_modals.push_back(std::move(script));
}

void ScriptedUi::SetDefaultModal(ModalScript script)
{
    m_defaultModal = std::move(script);
}

void ScriptedUi::SetKeyDown(int virtualKey, bool down)
{
    AfxSetScriptedKeyState(virtualKey, down ? 1 : 0);
    if (std::find(m_scriptedKeys.begin(), m_scriptedKeys.end(), virtualKey) == m_scriptedKeys.end())
        m_scriptedKeys.push_back(virtualKey);
}

int ScriptedUi::AnswerMessageBox(UINT id, const CString& text, const CString& caption, UINT flags, UINT helpId)
{
    MessageBoxRecord record;
    record.id = id;
    record.text = text;
    record.caption = caption;
    record.flags = flags;
    record.helpId = helpId;
    record.answer = AfxMessageBoxDefaultResult(flags);
    bool answered = false;
    if (!m_answers.empty()) {
        const int scripted = m_answers.front();
        m_answers.pop_front();
        int buttons[4] = {};
        const int count = AfxMessageBoxButtons(flags, buttons);
        answered = std::find(buttons, buttons + count, scripted) != buttons + count;
        if (answered)
            record.answer = scripted;
        else
            record.rejectedAnswer = true;
    }
    const bool unscriptedRetry = !answered && record.answer == IDRETRY;
    if (unscriptedRetry)
        record.answer = GiveUpAnswer(flags);
    m_boxes.push_back(record);
    if (unscriptedRetry && g_unscriptedRetryReport)
        g_unscriptedRetryReport(record);
    return record.answer;
}

bool ScriptedUi::RunModal(CWnd& dialog, UINT templateId)
{
    ScriptedUi* script = Active();
    if (script == nullptr)
        return false;
    AfxCancelCaptureForModal();
    ModalRecord record;
    record.templateId = templateId;
    dialog.GetWindowText(record.caption);
    ModalScript run;
    if (!script->m_modals.empty()) {
        run = std::move(script->m_modals.front());
        script->m_modals.pop_front();
    } else {
        run = script->m_defaultModal;
    }
    record.scripted = static_cast<bool>(run);
    script->m_modalRuns.push_back(record);
    if (run)
        run(dialog);
    return true;
}
