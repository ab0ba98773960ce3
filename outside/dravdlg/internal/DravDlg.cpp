// The least stand-in for the outside diagnosis dialog library: one dialog with a list
// of the diagnosis actions, a button that runs the selected one through the request
// callback and a pane that shows the answer.
#include "outside/dravdlg/internal/DravDialogActions.h"

#include "framework/core/Resources.h"
#include "framework/ui/DialogApi.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

HINSTANCE g_resources = nullptr;

// Room for the longest answers (a bar chart of every beam); a longer one is asked again.
constexpr int kAnswerSize = 65536;
// Asking again reads the device again, and its next answer may differ in length.
constexpr int kAnswerAttempts = 3;
constexpr std::size_t kLongestAnswer = std::size_t(1) << 24;
// Ends an answer that still did not fit, so that nothing is missing unseen.
constexpr const char* kCutNote = "\n(The answer is longer than shown here.)";

constexpr DravRequestKind kActions[] = {
    {10, 0, "Connection test", false},
    {11, 20, "Log in with the access code", false},
    {11, 23, "Operating mode 0x10", false},
    {11, 25, "Operating mode 0x21 (diagnosis)", false},
    {11, 70, "Operating mode 0x40", false},
    {12, 28, "Measured values: segments", true},
    {12, 29, "Measured values: scanner", true},
    {12, 73, "Measured values: bar chart", true},
    {12, 30, "Measured values: field", true},
    {12, 117, "Measured values: partial", true},
    {13, 0, "Device status", false},
    {14, 0, "Error list", false},
    {15, 76, "Error list after acknowledging", false},
    {17, 38, "Read field record", true},
    {18, 45, "Send protective field contour", true},
    {52, 60, "Two-step command 0x44", false},
    {52, 61, "Restart delay (0x44)", true},
    {54, 66, "Alignment mode on", false},
    {54, 143, "Alignment mode with code", true},
    {54, 153, "Alignment mode by number", true},
    {89, 90, "Command 0x60 on", false},
    {93, 94, "Command 0x62 (0)", false},
    {97, 0, "Averaged measured values", true},
    {103, 104, "Response time (0x63)", true},
    {107, 106, "Command 0x65 (0)", false},
    {118, 119, "Command 0x66 (0)", false},
    {121, 0, "Scanner address", true},
    {123, 127, "Command 0x69 (0)", false},
    {124, 125, "Command 0x68 (1)", false},
    // The device dialog comes with the request itself: asked for parameters first, the
    // library would show it once more for the request.
    {152, 0, "Choose the device address", false},
    {155, 157, "Command 0x77", false},
    {162, 0, "Device status report", false},
};

// Display text with CR LF line breaks, as an edit control shows them.
std::string ForDisplay(const std::string& text)
{
    std::string shown;
    for (char c : text) {
        if (c == '\n')
            shown += '\r';
        shown += c;
    }
    return shown;
}

struct DialogState {
    DIALOGINFOSTRUCT* info = nullptr;
};
DialogState* g_shown = nullptr;

void FillActions(HWND hDlg)
{
    for (std::size_t i = 0; i < std::size(kActions); ++i) {
        const LRESULT row = SendDlgItemMessage(hDlg, IDC_DRAV_REQUESTS, LB_ADDSTRING, 0, LPARAM(kActions[i].label));
        SendDlgItemMessage(hDlg, IDC_DRAV_REQUESTS, LB_SETITEMDATA, WPARAM(row), LPARAM(i));
    }
    SendDlgItemMessage(hDlg, IDC_DRAV_REQUESTS, LB_SETCURSEL, 0, 0);
}

void RunSelected(HWND hDlg, const DIALOGINFOSTRUCT& info)
{
    const LRESULT row = SendDlgItemMessage(hDlg, IDC_DRAV_REQUESTS, LB_GETCURSEL, 0, 0);
    if (row < 0)
        return;
    const LRESULT index = SendDlgItemMessage(hDlg, IDC_DRAV_REQUESTS, LB_GETITEMDATA, WPARAM(row), 0);
    if (index < 0 || std::size_t(index) >= std::size(kActions))
        return;
    const DravRequestOutcome outcome = DravRunRequest(info, hDlg, kActions[index]);
    if (outcome.sent)
        SetDlgItemText(hDlg, IDC_DRAV_ANSWER, ForDisplay(outcome.text).c_str());
}

void EditResult(HWND hDlg, const DIALOGINFOSTRUCT& info)
{
    if (!info.EditResultCallback)
        return;
    std::array<char, kEditResultBufferSize + 1> text{};
    if (info.EditResultCallback(hDlg, text.data()) == 1)
        SetDlgItemText(hDlg, IDC_DRAV_ANSWER, text.data());
}

void CheckMode(HWND hDlg, const DIALOGINFOSTRUCT& info)
{
    if (!info.ModeCheckCallback)
        return;
    const int ready = info.ModeCheckCallback(0);
    SetDlgItemText(hDlg, IDC_DRAV_ANSWER, ready ? "Device ready for diagnosis." : "Device not ready for diagnosis.");
}

INT_PTR DravDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        g_shown = reinterpret_cast<DialogState*>(lParam);
        if (g_shown && g_shown->info && g_shown->info->Title)
            SetWindowText(hDlg, g_shown->info->Title);
        FillActions(hDlg);
        return TRUE;
    case WM_COMMAND: {
        if (!g_shown || !g_shown->info)
            return FALSE;
        const DIALOGINFOSTRUCT& info = *g_shown->info;
        const int id = LOWORD(DWORD(wParam));
        const int code = HIWORD(DWORD(wParam));
        if (id == IDC_DRAV_RUN || (id == IDC_DRAV_REQUESTS && code == int(LBN_DBLCLK)))
            RunSelected(hDlg, info);
        else if (id == IDC_DRAV_SETUP && info.SetupCallback)
            info.SetupCallback(hDlg);
        else if (id == IDC_DRAV_MODE)
            CheckMode(hDlg, info);
        else if (id == IDC_DRAV_EDIT_RESULT)
            EditResult(hDlg, info);
        else if (id == IDCANCEL || id == IDOK)
            EndDialog(hDlg, id);
        else
            return FALSE;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace

std::span<const DravRequestKind> DravRequestKinds() { return kActions; }

HINSTANCE DravDlgResourceHandle() { return g_resources; }

DravRequestOutcome DravRunRequest(const DIALOGINFOSTRUCT& info, HWND parent, const DravRequestKind& action)
{
    DravRequestOutcome outcome;
    if (!info.RequestCallback)
        return outcome;
    std::vector<char> text(kAnswerSize, '\0');
    std::array<char, 9> code{};
    if (info.Password)
        std::strncpy(code.data(), info.Password, code.size() - 1);

    DiagnoseRequestRecord record;
    record.Kind = action.kind;
    record.SubKind = action.subKind;
    record.Text = text.data();
    record.TextSize = kAnswerSize;
    record.Code = code.data();
    if (action.hasParameters) {
        record.AskParameters = 1;
        const int confirmed = info.RequestCallback(parent, &record);
        if (confirmed != 1) {
            std::free(record.Parameters);
            return outcome;
        }
        record.AskParameters = 0;
    }
    outcome.sent = true;
    std::size_t size = kAnswerSize;
    for (int attempt = 1;; ++attempt) {
        text.assign(size, '\0');
        record.Text = text.data();
        record.TextSize = std::int32_t(size);
        outcome.returned = info.RequestCallback(parent, &record);
        const std::size_t needed = std::size_t(std::max(record.TextSize, 0));
        outcome.cut = needed > size;
        if (!outcome.cut || attempt == kAnswerAttempts || needed > kLongestAnswer)
            break;
        size = needed;
    }
    outcome.result = record.Result;
    outcome.text.assign(text.data(), strnlen(text.data(), text.size()));
    if (outcome.cut)
        outcome.text += kCutNote;
    std::free(record.Parameters);
    return outcome;
}

extern "C" void DravDlgSetResourceHandle(HINSTANCE module) { g_resources = module; }

extern "C" void DravDialog(HWND parent, DIALOGINFOSTRUCT* info)
{
    if (!info)
        return;
    DialogState state{info};
    DialogState* outer = g_shown;
    HINSTANCE module = g_resources ? g_resources : info->ResourceHandle;
    DialogBoxParam(module, MAKEINTRESOURCE(IDD_DRAV_DIALOG), parent, DravDialogProc, LPARAM(&state));
    g_shown = outer;
}
