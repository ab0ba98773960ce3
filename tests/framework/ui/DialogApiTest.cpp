#include "DialogTestSupport.h"

#include "framework/ui/DialogApi.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "support/TypedKeys.h"

#include <cstdio>

using namespace dialogtest;

namespace {

struct PortBlock {
    unsigned port = 2;
    unsigned baud = 9600;
};

// A procedure as the libraries write them: the block arrives with WM_INITDIALOG.
PortBlock* g_block = nullptr;

INT_PTR PortProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        g_block = reinterpret_cast<PortBlock*>(lParam);
        for (const char* port : {"COM1", "COM2", "COM3", "COM4"}) SendDlgItemMessage(hDlg, IDC_PORT, CB_ADDSTRING, 0, LPARAM(port));
        for (const char* baud : {"9600", "19200", "38400"}) SendDlgItemMessage(hDlg, IDC_BAUD, CB_ADDSTRING, 0, LPARAM(baud));
        char text[16];
        std::snprintf(text, sizeof text, "COM%u", g_block->port);
        const LRESULT index = SendDlgItemMessage(hDlg, IDC_PORT, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text));
        SendDlgItemMessage(hDlg, IDC_PORT, CB_SETCURSEL, WPARAM(index), 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(DWORD(wParam)) == IDOK) {
            const LRESULT index = SendDlgItemMessage(hDlg, IDC_PORT, CB_GETCURSEL, 0, 0);
            if (index != CB_ERR) {
                char text[16] = {};
                if (SendDlgItemMessage(hDlg, IDC_PORT, CB_GETLBTEXTLEN, WPARAM(index), 0) < LRESULT(sizeof text)) {
                    SendDlgItemMessage(hDlg, IDC_PORT, CB_GETLBTEXT, WPARAM(index), LPARAM(text));
                    std::sscanf(text, "COM%u", &g_block->port);
                }
            }
            BOOL translated = FALSE;
            const UINT baud = GetDlgItemInt(hDlg, IDC_BAUD, &translated, FALSE);
            if (translated) g_block->baud = baud;
            EndDialog(hDlg, 1);
            return TRUE;
        }
        if (LOWORD(DWORD(wParam)) == IDCANCEL) {
            EndDialog(hDlg, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR KeysProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    const WORD id = LOWORD(DWORD(wParam));
    if (id != IDOK && id != IDCANCEL && id != IDC_APPLY) return FALSE;
    EndDialog(hDlg, id);
    return TRUE;
}

class DialogApiTest : public DialogTestBase {};

TEST_F(DialogApiTest, InitialisationFillsTheComboAndOkReadsItBack)
{
    ScriptedUi ui;
    PortBlock block;
    ui.QueueModal([](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_EQ(driver.Count(IDC_PORT), 4);
        EXPECT_EQ(driver.Text(IDC_PORT), "COM2");
        EXPECT_TRUE(driver.Select(IDC_PORT, 3));
        EXPECT_TRUE(driver.Select(IDC_BAUD, 1));
        EXPECT_TRUE(driver.Ok());
    });
    EXPECT_EQ(DialogBoxParamA(Module(), MAKEINTRESOURCE(IDD_PORT), nullptr, PortProc, LPARAM(&block)), 1);
    EXPECT_EQ(block.port, 4u);
    EXPECT_EQ(block.baud, 19200u);
    ASSERT_EQ(ui.ModalRuns().size(), 1u);
    EXPECT_EQ(ui.ModalRuns()[0].templateId, IDD_PORT);
    EXPECT_EQ(ui.ModalRuns()[0].caption, "Port");
}

TEST_F(DialogApiTest, CancelLeavesTheBlockAndAMissingTemplateFails)
{
    ScriptedUi ui;
    PortBlock block;
    ui.QueueModal([](CWnd& dlg) {
        DialogDriver driver(dlg);
        driver.Select(IDC_PORT, 0);
        driver.Escape();
    });
    EXPECT_EQ(DialogBoxParam(Module(), MAKEINTRESOURCE(IDD_PORT), nullptr, PortProc, LPARAM(&block)), 0);
    EXPECT_EQ(block.port, 2u);
    EXPECT_EQ(DialogBoxParam(Module(), MAKEINTRESOURCE(4711), nullptr, PortProc, 0), -1);
}

TEST_F(DialogApiTest, DialogItemIntegersAsTheClassicCallsReadThem)
{
    HWND hDlg = CreateDialogParam(Module(), MAKEINTRESOURCE(IDD_EXCHANGE), nullptr, nullptr, 0);
    ASSERT_NE(hDlg, nullptr);
    struct Case {
        const char* text;
        BOOL isSigned;
        UINT value;
        BOOL translated;
    };
    const Case cases[] = {
        {"42", FALSE, 42, TRUE},          {"  -17 ", TRUE, UINT(-17), TRUE}, {"-17", FALSE, 0, FALSE},
        {"4294967295", FALSE, 0xFFFFFFFFu, TRUE}, {"4294967296", FALSE, 0, FALSE}, {"2147483648", TRUE, 0, FALSE},
        {"-2147483648", TRUE, 0x80000000u, TRUE}, {"12x", FALSE, 0, FALSE}, {"", FALSE, 0, FALSE},
    };
    for (const Case& c : cases) {
        SetDlgItemText(hDlg, IDC_COUNT, c.text);
        BOOL translated = -1;
        EXPECT_EQ(GetDlgItemInt(hDlg, IDC_COUNT, &translated, c.isSigned), c.value) << c.text;
        EXPECT_EQ(translated, c.translated) << c.text;
    }
    SetDlgItemInt(hDlg, IDC_COUNT, UINT(-5), TRUE);
    char text[16];
    EXPECT_EQ(GetDlgItemText(hDlg, IDC_COUNT, text, sizeof text), 2u);
    EXPECT_STREQ(text, "-5");
    EXPECT_EQ(GetDlgItemText(hDlg, IDC_COUNT, text, 2), 1u); // cut to the buffer
    EXPECT_STREQ(text, "-");
    CheckRadioButton(hDlg, IDC_MODE_A, IDC_MODE_C, IDC_MODE_B);
    EXPECT_EQ(IsDlgButtonChecked(hDlg, IDC_MODE_B), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(hDlg, IDC_MODE_A), BST_UNCHECKED);
    DestroyWindow(hDlg);
}

// A dialog run by a procedure has no object to pre-translate for it: its dialog
// keyboard works all the same.
TEST_F(DialogApiTest, ProcedureDialogTakesAccessKeysAndReturn)
{
    ScriptedUi ui;
    ui.QueueModal([](CWnd& dlg) {
        DialogDriver driver(dlg);
        ASSERT_TRUE(driver.Focus(IDC_COUNT));
        typedkeys::Alt('n');
        EXPECT_EQ(driver.FocusId(), IDC_NAME);
        EXPECT_EQ(driver.Text(IDC_COUNT), "");
        typedkeys::Return();
    });
    EXPECT_EQ(DialogBoxParam(Module(), MAKEINTRESOURCE(IDD_KEYS), nullptr, KeysProc, 0), IDOK);
    ui.QueueModal([](CWnd& dlg) {
        DialogDriver driver(dlg);
        ASSERT_TRUE(driver.Focus(IDC_NAME));
        typedkeys::Alt('a');
    });
    EXPECT_EQ(DialogBoxParam(Module(), MAKEINTRESOURCE(IDD_KEYS), nullptr, KeysProc, 0), IDC_APPLY);
}

} // namespace
