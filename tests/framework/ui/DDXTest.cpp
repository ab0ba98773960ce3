#include "DialogTestSupport.h"

#include "framework/ui/CDialog.h"
#include "framework/ui/DDX.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"

using namespace dialogtest;

namespace {

class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_EXCHANGE) {}

    CString m_name = "first";
    int m_count = 5;
    double m_ratio = 0.25;
    BYTE m_level = 7;
    int m_enabled = 1;
    int m_mode = 2;
    int m_kind = 1;
    CString m_item = "Beta";

    BOOL OnInitDialog() override
    {
        for (const char* kind : {"Zero", "One", "Two"}) SendDlgItemMessage(IDC_KIND, CB_ADDSTRING, 0, LPARAM(kind));
        for (const char* item : {"Gamma", "Alpha", "Beta"}) SendDlgItemMessage(IDC_ITEMS, LB_ADDSTRING, 0, LPARAM(item));
        return CDialog::OnInitDialog();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_name);
        DDV_MaxChars(pDX, m_name, 8);
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDV_MinMaxInt(pDX, m_count, 1, 100);
        DDX_Text(pDX, IDC_RATIO, m_ratio);
        DDV_MinMaxDouble(pDX, m_ratio, 0.0, 1.0);
        DDX_Text(pDX, IDC_LEVEL, m_level);
        DDX_Check(pDX, IDC_ENABLED, m_enabled);
        DDX_Radio(pDX, IDC_MODE_A, m_mode);
        DDX_CBIndex(pDX, IDC_KIND, m_kind);
        DDX_LBString(pDX, IDC_ITEMS, m_item);
    }
};

class DDXTest : public DialogTestBase {};

// Members go into the controls when the dialog opens.
TEST_F(DDXTest, LoadingShowsEveryMemberInItsControl)
{
    ScriptedUi ui;
    ExchangeDialog dialog;
    ui.QueueModal([](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_EQ(driver.Text(IDC_NAME), "first");
        EXPECT_EQ(driver.Text(IDC_COUNT), "5");
        EXPECT_EQ(driver.Text(IDC_RATIO), "0.25");
        EXPECT_EQ(driver.Text(IDC_LEVEL), "7");
        EXPECT_EQ(driver.Check(IDC_ENABLED), BST_CHECKED);
        EXPECT_EQ(driver.Check(IDC_MODE_A), BST_UNCHECKED);
        EXPECT_EQ(driver.Check(IDC_MODE_C), BST_CHECKED);
        EXPECT_EQ(driver.Selection(IDC_KIND), 1);
        // The sorted list shows Alpha, Beta, Gamma; Beta is selected.
        EXPECT_EQ(driver.ItemText(IDC_ITEMS, 0), "Alpha");
        EXPECT_EQ(driver.Selection(IDC_ITEMS), 1);
        driver.Cancel();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DDXTest, PassingExchangeCopiesAllValues)
{
    ScriptedUi ui;
    ExchangeDialog dialog;
    ui.QueueModal([](CWnd& dlg) {
        DialogDriver driver(dlg);
        // Eight characters in twelve bytes: the limit counts characters.
        EXPECT_TRUE(driver.SetText(IDC_NAME, "Größenäö"));
        EXPECT_TRUE(driver.SetText(IDC_COUNT, " 42 "));
        EXPECT_TRUE(driver.SetText(IDC_RATIO, "1e-1"));
        EXPECT_TRUE(driver.SetText(IDC_LEVEL, "255"));
        EXPECT_TRUE(driver.Click(IDC_ENABLED));
        EXPECT_TRUE(driver.Click(IDC_MODE_A));
        EXPECT_TRUE(driver.Select(IDC_KIND, 2));
        EXPECT_TRUE(driver.SelectString(IDC_ITEMS, "gam"));
        EXPECT_TRUE(driver.Ok());
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_name, "Größenäö");
    EXPECT_EQ(dialog.m_count, 42);
    EXPECT_DOUBLE_EQ(dialog.m_ratio, 0.1);
    EXPECT_EQ(dialog.m_level, 255);
    EXPECT_EQ(dialog.m_enabled, 0);
    EXPECT_EQ(dialog.m_mode, 0);
    EXPECT_EQ(dialog.m_kind, 2);
    EXPECT_EQ(dialog.m_item, "Gamma");
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

// A value that fails in the middle of the pass: the user is told with the framework's
// prompt, the focus goes to the control with its text selected, the dialog stays open,
// and the members written before the failure are put back.
TEST_F(DDXTest, FailingExchangeReportsFocusesAndChangesNoMember)
{
    struct Case {
        int control;
        const char* text;
        UINT prompt;    // string id of a parse prompt, 0 for a range prompt by text
        UINT helpId;
        const char* shown;
        UINT flags;
    };
    const Case cases[] = {
        {IDC_COUNT, "12abc", 61712, 61712, "Please enter an integer.", MB_OK},
        {IDC_COUNT, "4294967301", 61712, 61712, "Please enter an integer.", MB_OK},
        {IDC_COUNT, "101", 0, 61714, "Please enter an integer between 1 and 100.", MB_ICONEXCLAMATION},
        {IDC_RATIO, "nan", 61713, 61713, "Please enter a number.", MB_OK},
        {IDC_RATIO, "0x1p-2", 61713, 61713, "Please enter a number.", MB_OK},
        {IDC_RATIO, "1.5", 0, 61715, "Please enter a number between 0 and 1.", MB_ICONEXCLAMATION},
        {IDC_LEVEL, "256", 61712, 61712, "Please enter an integer.", MB_OK},
        {IDC_NAME, "ninechars", 0, 61716, "Please enter no more than 8 characters.", MB_ICONEXCLAMATION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptedUi ui;
        ExchangeDialog dialog;
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            driver.SetText(IDC_NAME, "changed");
            driver.Click(IDC_ENABLED);
            driver.Select(IDC_KIND, 0);
            driver.SetText(c.control, c.text);
            driver.Ok();
            auto& self = static_cast<ExchangeDialog&>(dlg);
            EXPECT_FALSE(self.IsEnded());
            EXPECT_EQ(driver.FocusId(), c.control);
            DWORD start = 0, end = 0;
            ::SendMessage(driver.Control(c.control), EM_GETSEL, WPARAM(&start), LPARAM(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, DWORD(CString(c.text).GetLength()));
            EXPECT_EQ(self.m_name, "first");
            EXPECT_EQ(self.m_count, 5);
            EXPECT_DOUBLE_EQ(self.m_ratio, 0.25);
            EXPECT_EQ(self.m_level, 7);
            EXPECT_EQ(self.m_enabled, 1);
            EXPECT_EQ(self.m_kind, 1);
            driver.Cancel();
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        const MessageBoxRecord& box = ui.MessageBoxes().front();
        EXPECT_EQ(box.id, c.prompt);
        EXPECT_EQ(box.helpId, c.helpId);
        EXPECT_EQ(box.text, c.shown);
        EXPECT_EQ(box.flags, c.flags);
    }
}

// Setting texts while the members go into the controls raises EN_CHANGE, which the
// dialog must not take for the user's typing.
class CountingDialog : public ExchangeDialog {
public:
    int changes = 0;

protected:
    void OnNameChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingDialog, ExchangeDialog)
    ON_EN_CHANGE(IDC_NAME, OnNameChange)
END_MESSAGE_MAP()

TEST_F(DDXTest, NotificationsAreHeldBackWhileMembersLoad)
{
    ScriptedUi ui;
    CountingDialog dialog;
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_EQ(dialog.changes, 0);
        driver.SetText(IDC_NAME, "typed");
        EXPECT_EQ(dialog.changes, 1);
        dialog.m_name = "reloaded";
        EXPECT_TRUE(dialog.UpdateData(FALSE));
        EXPECT_EQ(driver.Text(IDC_NAME), "reloaded");
        EXPECT_EQ(dialog.changes, 1);
        driver.Cancel();
    });
    dialog.DoModal();
}

// Loading a maximum length limits typing but never cuts a longer stored text.
TEST_F(DDXTest, MaxCharsLimitsTypingButKeepsLongerText)
{
    ScriptedUi ui;
    ExchangeDialog dialog;
    dialog.m_name = "ten chars!";
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_EQ(driver.Text(IDC_NAME), "ten chars!");
        driver.SetText(IDC_NAME, "");
        driver.Type(IDC_NAME, "abcdefghij");
        EXPECT_EQ(driver.Text(IDC_NAME), "abcdefgh");
        driver.Ok();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_name, "abcdefgh");
}

} // namespace
