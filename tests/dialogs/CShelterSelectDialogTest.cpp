// The field-transfer selection and list dialogs, driven from their shipped templates.
#include "dialogs/CShelterSelectDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Dlg = CShelterSelectDialog;

struct ItemSpec {
    int number;
    const char* name;
    int protective;
    int inDevice;
    int locked;
};

template <class Dialog>
void AddItems(Dialog& dialog, std::initializer_list<ItemSpec> specs)
{
    for (const ItemSpec& s : specs) {
        auto* item = new CShelterSelectItem;
        item->m_nNumber = s.number;
        item->m_strName = s.name;
        item->m_bProtective = s.protective;
        item->m_bInDevice = s.inDevice;
        item->m_bLocked = s.locked;
        dialog.m_items.AddTail(item);
    }
}

std::vector<CShelterSelectItem*> Items(const CShelterSelectItemList& list)
{
    std::vector<CShelterSelectItem*> items;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        items.push_back(list.GetNext(pos));
    return items;
}

class ShelterSelectDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(language.Loaded()) << language.Error();
        AfxEnsureGuiApplication();
    }

    static CString Text(UINT id)
    {
        CString text;
        text.LoadString(id);
        return text;
    }

    INT_PTR Run(CDialog& dialog, const std::function<void(DialogDriver&)>& script)
    {
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            script(driver);
        });
        return dialog.DoModal();
    }

    LanguageScripts language{"framework.rc", "results.rc"};
    ScriptedUi ui;
};

TEST(ShelterSelectItemTest, StartsEmptyAndComposesItsRowText)
{
    CShelterSelectItem item;
    EXPECT_EQ(item.m_nNumber, 0);
    EXPECT_TRUE(item.m_strName.IsEmpty());
    EXPECT_EQ(item.m_bProtective + item.m_bInDevice + item.m_bLocked + item.m_bChosen, 0);
    item.m_nNumber = 3;
    item.m_strName = "Door";
    item.m_bProtective = 1;
    EXPECT_EQ(item.GetRowText(), "3 SF Door");
    item.m_bProtective = 0;
    EXPECT_EQ(item.GetRowText(), "3 WF Door");
}

// The available table shows every item with its flags; adding the selected row moves
// it into the chosen table, which alone enables OK; OK hands back the chosen flags.
TEST_F(ShelterSelectDialogTest, ShowsTheItemsAndHandsBackTheChosenOnes)
{
    Dlg dialog;
    AddItems(dialog, {{1, "Front", 1, 1, 0}, {1, "Front", 0, 0, 0}, {2, "Rear", 1, 0, 1}});
    EXPECT_EQ(Run(dialog,
                  [&](DialogDriver& driver) {
                      CColumnListBox& available = dialog.m_listAvailable;
                      ASSERT_EQ(available.GetCount(), 3);
                      EXPECT_EQ(available.GetColumnCount(), 3);
                      EXPECT_EQ(available.GetColumnTitle(1), "In Device");
                      EXPECT_EQ(available.GetItemText(0, 0), "1 SF Front");
                      EXPECT_EQ(available.GetItemText(1, 0), "1 WF Front");
                      EXPECT_EQ(available.GetItemText(0, 1), Text(963));
                      EXPECT_EQ(available.GetItemText(1, 1), Text(964));
                      EXPECT_EQ(available.GetItemText(2, 2), Text(963));
                      EXPECT_EQ(available.GetItemText(0, 2), Text(964));
                      EXPECT_EQ(available.GetCurSel(), 0);
                      EXPECT_EQ(dialog.m_listChosen.GetColumnTitle(0), Text(1172));

                      EXPECT_TRUE(driver.IsEnabled(Dlg::IDC_ADD));
                      EXPECT_TRUE(driver.IsEnabled(Dlg::IDC_ADD_ALL));
                      EXPECT_FALSE(driver.IsEnabled(Dlg::IDC_REMOVE));
                      EXPECT_FALSE(driver.IsEnabled(Dlg::IDC_REMOVE_ALL));
                      EXPECT_FALSE(driver.IsEnabled(IDOK));

                      driver.Select(Dlg::IDC_AVAILABLE, 1);
                      EXPECT_TRUE(driver.Click(Dlg::IDC_ADD));
                      ASSERT_EQ(dialog.m_listChosen.GetCount(), 1);
                      EXPECT_EQ(dialog.m_listChosen.GetItemText(0, 0), "1 WF Front");
                      EXPECT_TRUE(driver.IsEnabled(IDOK));
                      EXPECT_TRUE(driver.IsEnabled(Dlg::IDC_REMOVE_ALL));
                      EXPECT_FALSE(driver.IsEnabled(Dlg::IDC_REMOVE)); // no chosen row selected
                      driver.Select(Dlg::IDC_CHOSEN, 0);
                      EXPECT_TRUE(driver.IsEnabled(Dlg::IDC_REMOVE));
                      driver.Ok();
                  }),
              IDOK);
    const auto items = Items(dialog.m_items);
    EXPECT_EQ(items[0]->m_bChosen, 0);
    EXPECT_EQ(items[1]->m_bChosen, 1);
    EXPECT_EQ(items[2]->m_bChosen, 0);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

// A selection change in the available table updates the add button (the table's own
// control id, not the list dialog's).
TEST_F(ShelterSelectDialogTest, SelectingAnAvailableRowEnablesAdd)
{
    Dlg dialog;
    AddItems(dialog, {{1, "A", 1, 0, 0}, {2, "B", 1, 0, 0}});
    Run(dialog, [&](DialogDriver& driver) {
        dialog.m_listAvailable.SetCurSel(-1);
        driver.Click(Dlg::IDC_ADD_ALL);
        driver.Click(Dlg::IDC_REMOVE_ALL);
        EXPECT_FALSE(driver.IsEnabled(Dlg::IDC_ADD));
        driver.Select(Dlg::IDC_AVAILABLE, 1);
        EXPECT_TRUE(driver.IsEnabled(Dlg::IDC_ADD));
        driver.Cancel();
    });
}

// A locked field is refused with 317; when every field is locked nothing can be chosen
// and the dialog cannot be confirmed.
TEST_F(ShelterSelectDialogTest, LockedFieldsAreRefused)
{
    Dlg dialog;
    AddItems(dialog, {{1, "A", 1, 1, 1}, {1, "A", 0, 1, 1}});
    EXPECT_EQ(Run(dialog,
                  [&](DialogDriver& driver) {
                      driver.Click(Dlg::IDC_ADD);
                      ASSERT_EQ(ui.MessageBoxes().size(), 1u);
                      EXPECT_EQ(ui.MessageBoxes()[0].id, 317u);
                      EXPECT_EQ(ui.MessageBoxes()[0].flags & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
                      driver.Click(Dlg::IDC_ADD_ALL);
                      EXPECT_EQ(ui.MessageBoxes().size(), 1u); // add all refuses silently
                      EXPECT_EQ(dialog.m_listChosen.GetCount(), 0);
                      EXPECT_FALSE(driver.IsEnabled(IDOK));
                      EXPECT_FALSE(driver.Ok());
                      EXPECT_FALSE(dialog.IsEnded());
                      driver.Cancel();
                  }),
              IDCANCEL);
    for (CShelterSelectItem* item : Items(dialog.m_items))
        EXPECT_EQ(item->m_bChosen, 0);
}

// Adding twice leaves one row; add all skips the locked and the already chosen; remove
// and remove all clear the flags of what they take out.
TEST_F(ShelterSelectDialogTest, AddAndRemoveKeepOneRowPerItem)
{
    Dlg dialog;
    AddItems(dialog, {{1, "A", 1, 0, 0}, {2, "B", 1, 0, 1}, {3, "C", 0, 0, 0}});
    Run(dialog, [&](DialogDriver& driver) {
        driver.Click(Dlg::IDC_ADD);
        driver.Click(Dlg::IDC_ADD);
        EXPECT_EQ(dialog.m_listChosen.GetCount(), 1);
        driver.Click(Dlg::IDC_ADD_ALL);
        ASSERT_EQ(dialog.m_listChosen.GetCount(), 2);
        EXPECT_EQ(dialog.m_listChosen.GetItemText(1, 0), "3 WF C");
        EXPECT_TRUE(driver.IsEnabled(Dlg::IDC_ADD_ALL));

        const auto items = Items(dialog.m_items);
        driver.Select(Dlg::IDC_CHOSEN, 0);
        driver.Click(Dlg::IDC_REMOVE);
        EXPECT_EQ(items[0]->m_bChosen, 0);
        EXPECT_EQ(items[2]->m_bChosen, 1);
        ASSERT_EQ(dialog.m_listChosen.GetCount(), 1);
        EXPECT_EQ(dialog.m_listChosen.GetItemText(0, 0), "3 WF C");

        driver.Click(Dlg::IDC_ADD_ALL);
        driver.Click(Dlg::IDC_REMOVE_ALL);
        EXPECT_EQ(dialog.m_listChosen.GetCount(), 0);
        for (CShelterSelectItem* item : items)
            EXPECT_EQ(item->m_bChosen, 0);
        EXPECT_FALSE(driver.IsEnabled(IDOK));
        EXPECT_FALSE(driver.IsEnabled(Dlg::IDC_REMOVE_ALL));
        driver.Cancel();
    });
}

TEST_F(ShelterSelectDialogTest, CancelClearsEveryChosenFlag)
{
    Dlg dialog;
    AddItems(dialog, {{1, "A", 1, 0, 0}, {1, "A", 0, 0, 0}});
    EXPECT_EQ(Run(dialog,
                  [&](DialogDriver& driver) {
                      driver.Click(Dlg::IDC_ADD_ALL);
                      EXPECT_EQ(dialog.m_listChosen.GetCount(), 2);
                      driver.Escape();
                  }),
              IDCANCEL);
    for (CShelterSelectItem* item : Items(dialog.m_items))
        EXPECT_EQ(item->m_bChosen, 0);
}

TEST_F(ShelterSelectDialogTest, ListDialogShowsTheItemsInOneTable)
{
    CShelterListDialog dialog;
    AddItems(dialog, {{1, "Left", 1, 1, 1}, {4, "Right", 0, 0, 0}});
    EXPECT_EQ(Run(dialog,
                  [&](DialogDriver& driver) {
                      CColumnListBox& list = dialog.m_list;
                      ASSERT_EQ(list.GetCount(), 2);
                      EXPECT_EQ(list.GetColumnCount(), 3);
                      EXPECT_EQ(list.GetColumnTitle(2), "Locked");
                      EXPECT_EQ(list.GetColumnFormat(0), kColumnLeft);
                      EXPECT_EQ(list.GetColumnFormat(1), 4);
                      EXPECT_EQ(list.GetItemText(1, 0), "4 WF Right");
                      EXPECT_EQ(list.GetItemText(0, 1), Text(963));
                      EXPECT_EQ(list.GetItemText(1, 2), Text(964));
                      EXPECT_EQ(list.GetItemObject(1, 0), Items(dialog.m_items)[1]);
                      EXPECT_EQ(list.GetCurSel(), 0);
                      driver.Ok();
                  }),
              IDOK);
}

} // namespace
