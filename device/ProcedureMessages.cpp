#include "device/ProcedureMessages.h"

#include "device/ProcedureApplication.h"
#include "framework/core/Resources.h"
#include "framework/ui/MessageBox.h"

namespace {
constexpr int kSingleTries = 1;
constexpr int kTripleTries = 3;

CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}
} // namespace

void SetStatusText(UINT id, BOOL repaintNow)
{
    if (ProcedureApplication* application = GetProcedureApplication())
        application->ShowMessageBarText(LoadText(id), repaintNow);
}

int RetryMessageBox(UINT id)
{
    return AfxMessageBox(id, MB_RETRYCANCEL | MB_ICONEXCLAMATION, id);
}

int RetryMessageBox(UINT id, UINT appendedId)
{
    const CString text = LoadText(id) + " " + LoadText(appendedId);
    return AfxMessageBox(text, MB_RETRYCANCEL | MB_ICONEXCLAMATION, id);
}

int WarningMessageBox(UINT id)
{
    return AfxMessageBox(id, MB_OK | MB_ICONEXCLAMATION);
}

int ConfirmMessageBox(UINT id, LPCTSTR text1, LPCTSTR text2)
{
    CString text;
    AfxFormatString2(text, id, text1 ? text1 : "", text2 ? text2 : "");
    return AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION, id);
}

BOOL RetryRounds(const std::function<BOOL()>& attempt, int triesPerRound, BOOL prompt,
                 const std::function<int()>& ask)
{
    for (;;) {
        for (int i = 0; i < triesPerRound; ++i) {
            if (attempt()) return TRUE;
        }
        if (!prompt || ask() != IDRETRY) return FALSE;
    }
}

BOOL RetrySingle(const std::function<BOOL()>& attempt, UINT retryId, BOOL prompt)
{
    return RetryRounds(attempt, kSingleTries, prompt, [retryId] { return RetryMessageBox(retryId); });
}

BOOL RunProcedureAttempts(const ProcedureStep& step, const std::function<BOOL()>& attempt, BOOL prompt,
                          const std::function<int()>& ask)
{
    SetStatusText(step.statusId, TRUE);
    if (step.pattern == RetryPattern::Once) {
        if (attempt()) return TRUE;
        if (prompt) WarningMessageBox(step.promptId);
        return FALSE;
    }
    const int tries = step.pattern == RetryPattern::Triple ? kTripleTries : kSingleTries;
    if (ask) return RetryRounds(attempt, tries, prompt, ask);
    return RetryRounds(attempt, tries, prompt, [id = step.promptId] { return RetryMessageBox(id); });
}
