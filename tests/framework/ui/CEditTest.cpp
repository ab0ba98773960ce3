#include "DialogTestSupport.h"

#include "framework/ui/CDialog.h"
#include "framework/ui/CEdit.h"
#include "framework/ui/DialogApi.h"
#include "framework/ui/DialogDriver.h"

using namespace dialogtest;

namespace {

DialogItemTemplate Edit(int id, DWORD style, int width = 120, int height = 12)
{
    return DialogItemTemplate{"EDIT", "", {}, id, 5, 5 + (id % 100) * 14, width, height,
                              WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | style, 0, 0};
}

class CEditTest : public DialogTestBase {
protected:
    CDialog dialog;
    DialogTemplate tpl;

    void Create(std::vector<DialogItemTemplate> items)
    {
        tpl.cx = 200;
        tpl.cy = 200;
        tpl.style = WS_POPUP | WS_CAPTION;
        tpl.font = DialogFontTemplate{8, "MS Sans Serif", 0, false, 0};
        tpl.items = std::move(items);
        ASSERT_TRUE(dialog.CreateIndirect(&tpl));
    }
    void TearDown() override
    {
        dialog.DestroyWindow();
        DialogTestBase::TearDown();
    }
};

// What the user can type into an edit depends on its styles.
TEST_F(CEditTest, StylesDecideWhatTypingLeaves)
{
    struct Case {
        DWORD style;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {ES_AUTOHSCROLL, "abc 12", "abc 12"},
        {ES_AUTOHSCROLL | ES_NUMBER, "1a2-3", "123"},
        {ES_AUTOHSCROLL | ES_UPPERCASE, "aBc", "ABC"},
        {ES_AUTOHSCROLL | ES_LOWERCASE, "aBc", "abc"},
        {ES_AUTOHSCROLL | ES_READONLY, "abc", ""},
        {ES_AUTOHSCROLL | ES_PASSWORD, "secret", "secret"},
    };
    std::vector<DialogItemTemplate> items;
    for (int i = 0; i < int(std::size(cases)); ++i) items.push_back(Edit(100 + i, cases[i].style));
    Create(items);
    DialogDriver driver(dialog);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        driver.Type(100 + i, cases[i].typed);
        EXPECT_EQ(driver.Text(100 + i), cases[i].shown) << cases[i].typed;
    }
    CEdit password;
    ASSERT_TRUE(password.SubclassDlgItem(105, &dialog));
    EXPECT_EQ(password.GetPasswordChar(), '*');
    EXPECT_TRUE(password.GetModify());
    password.SetWindowText("set");
    EXPECT_FALSE(password.GetModify()); // a program's text is no user change
}

// Without ES_AUTOHSCROLL a single-line edit takes only what fits its width.
TEST_F(CEditTest, NoAutoScrollStopsTypingAtTheEdge)
{
    Create({Edit(100, 0, 30), Edit(101, ES_AUTOHSCROLL, 30)});
    DialogDriver driver(dialog);
    driver.Type(100, "WWWWWWWWWWWWWWWWWWWW");
    driver.Type(101, "WWWWWWWWWWWWWWWWWWWW");
    const int kept = driver.Text(100).GetLength();
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, 20);
    EXPECT_EQ(driver.Text(101).GetLength(), 20);
    // A program's text is never cut to the width.
    ::SetDlgItemText(dialog.GetSafeHwnd(), 100, "WWWWWWWWWWWWWWWWWWWW");
    EXPECT_EQ(driver.Text(100).GetLength(), 20);
}

TEST_F(CEditTest, DisabledAndHiddenEditsTakeNoInput)
{
    Create({Edit(100, WS_DISABLED), Edit(101, 0)});
    dialog.GetDlgItem(101)->ShowWindow(SW_HIDE);
    DialogDriver driver(dialog);
    EXPECT_FALSE(driver.SetText(100, "x"));
    EXPECT_FALSE(driver.SetText(101, "x"));
    EXPECT_FALSE(driver.IsVisible(101));
    EXPECT_TRUE(driver.Exists(101));
    EXPECT_EQ(driver.Text(100), "");
}

// A multi-line edit keeps CR LF line breaks, as the report edits save them byte for byte.
TEST_F(CEditTest, MultiLineTextKeepsCrLfAndAnswersLineQueries)
{
    Create({Edit(100, ES_MULTILINE | ES_READONLY | WS_VSCROLL, 150, 60)});
    CEdit report;
    ASSERT_TRUE(report.SubclassDlgItem(100, &dialog));
    report.SetWindowText("one\r\ntwo\r\nthree");
    CString text;
    report.GetWindowText(text);
    EXPECT_EQ(text, "one\r\ntwo\r\nthree");
    EXPECT_EQ(report.GetWindowTextLength(), 15);
    EXPECT_EQ(report.GetLineCount(), 3);
    EXPECT_EQ(report.LineIndex(1), 5);
    EXPECT_EQ(report.LineIndex(2), 10);
    EXPECT_EQ(report.LineIndex(3), -1);
    EXPECT_EQ(report.LineLength(5), 3);
    EXPECT_EQ(report.LineFromChar(11), 2);
    char line[8] = {};
    EXPECT_EQ(report.GetLine(2, line, 4), 4); // cut to the buffer, no terminator
    EXPECT_EQ(std::string(line, 4), "thre");
    report.SetSel(-1, -1);
    report.SetSel(report.GetWindowTextLength(), -1);
    report.ReplaceSel("\r\nfour");
    report.GetWindowText(text);
    EXPECT_EQ(text, "one\r\ntwo\r\nthree\r\nfour");
    const int stops[] = {33, 63, 96};
    EXPECT_TRUE(report.SetTabStops(3, stops));
    DialogDriver driver(dialog);
    driver.Type(100, "x"); // read-only
    report.GetWindowText(text);
    EXPECT_EQ(text, "one\r\ntwo\r\nthree\r\nfour");
}

} // namespace
