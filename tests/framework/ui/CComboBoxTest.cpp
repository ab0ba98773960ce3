#include "DialogTestSupport.h"

#include "framework/ui/CComboBox.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/DDX.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"

using namespace dialogtest;

namespace {

constexpr int kList = 100;
constexpr int kEdit = 101;

DialogTemplate ComboTemplate(DWORD listStyle)
{
    DialogTemplate tpl;
    tpl.cx = 150;
    tpl.cy = 100;
    tpl.style = WS_POPUP | WS_CAPTION;
    tpl.items = {
        {"COMBOBOX", "", {}, kList, 5, 5, 80, 60, WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | listStyle, 0, 0},
        {"COMBOBOX", "", {}, kEdit, 5, 25, 80, 60, WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, 0, 0},
    };
    return tpl;
}

class CComboBoxTest : public DialogTestBase {};

TEST_F(CComboBoxTest, DropListKeepsTheClassicSelectionRules)
{
    const DialogTemplate tpl = ComboTemplate(CBS_SORT);
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(&tpl));
    CComboBox combo;
    ASSERT_TRUE(combo.SubclassDlgItem(kList, &dialog));
    EXPECT_EQ(combo.AddString("beta"), 0);
    EXPECT_EQ(combo.AddString("Alpha"), 0);
    EXPECT_EQ(combo.AddString("gamma"), 2);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR); // adding selects nothing
    EXPECT_EQ(combo.SetCurSel(1), 1);
    CString text;
    combo.GetWindowText(text);
    EXPECT_EQ(text, "beta"); // a drop-down list's text is its selected item
    EXPECT_EQ(combo.InsertString(0, "zulu"), 0);
    EXPECT_EQ(combo.GetCurSel(), 2); // the selection moves with its item
    EXPECT_EQ(combo.DeleteString(2), 3);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR); // deleting the selected item leaves none
    EXPECT_EQ(combo.SelectString(-1, "GAM"), 2);
    EXPECT_EQ(combo.FindStringExact(-1, "alpha"), 1);
    EXPECT_EQ(combo.FindString(-1, "x"), CB_ERR);
    combo.SetItemData(2, 4711);
    EXPECT_EQ(combo.GetItemData(2), 4711u);
    EXPECT_EQ(combo.GetItemData(7), DWORD_PTR(CB_ERR));
    EXPECT_EQ(combo.GetItemDataPtr(7), nullptr);
    combo.GetLBText(0, text);
    EXPECT_EQ(text, "zulu");
    combo.GetLBText(9, text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(combo.SetCurSel(9), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    dialog.DestroyWindow();
}

TEST_F(CComboBoxTest, DropDownHasItsOwnTextAndLimit)
{
    const DialogTemplate tpl = ComboTemplate(0);
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(&tpl));
    CComboBox combo;
    ASSERT_TRUE(combo.SubclassDlgItem(kEdit, &dialog));
    combo.SetWindowText("free text");
    combo.AddString("first");
    CString text;
    combo.GetWindowText(text);
    EXPECT_EQ(text, "free text");
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    combo.SetWindowText("");
    combo.LimitText(3);
    DialogDriver driver(dialog);
    driver.Type(kEdit, "abcdef");
    EXPECT_EQ(driver.Text(kEdit), "abc");
    dialog.DestroyWindow();
}

// Loading a text selects the first item that starts with it, or with the exact form
// only the item equal to it; saving reads the selected item.
class ComboExchangeDialog : public CDialog {
public:
    CString prefix = "On";
    CString exact = "On";

    BOOL OnInitDialog() override
    {
        for (int id : {kList, kEdit}) {
            SendDlgItemMessage(id, CB_ADDSTRING, 0, LPARAM("One"));
            SendDlgItemMessage(id, CB_ADDSTRING, 0, LPARAM("On"));
        }
        return CDialog::OnInitDialog();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_CBString(pDX, kList, prefix);
        DDX_CBStringExact(pDX, kEdit, exact);
        DDV_MaxChars(pDX, exact, 3);
    }
};

TEST_F(CComboBoxTest, StringExchangeByPrefixOrExactly)
{
    const DialogTemplate tpl = ComboTemplate(0);
    ScriptedUi ui;
    ComboExchangeDialog dialog;
    dialog.InitModalIndirect(&tpl);
    ui.QueueModal([&](CWnd&) {
        DialogDriver driver(dialog);
        EXPECT_EQ(driver.Selection(kList), 0);
        EXPECT_EQ(driver.Selection(kEdit), 1);
        driver.Select(kList, 1);
        driver.SetText(kEdit, "typed");
        driver.Enter(); // five characters in a box of three
        EXPECT_EQ(ui.MessageBoxes().size(), 1u);
        driver.SetText(kEdit, "new");
        driver.Enter();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.prefix, "On");
    EXPECT_EQ(dialog.exact, "new");
}

} // namespace
