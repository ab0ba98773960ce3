// The new-name and rename dialogs, driven from their shipped templates: the proposed name
// shown, the 8-character limit with the framework's message, OK and Cancel.
#include "ShippedLanguage.h"

#include "dialogs/CNewNameDialog.h"
#include "dialogs/CRenameDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

namespace {

constexpr int IDC_ENTRY_NAME = 2174;
constexpr UINT AFX_IDP_PARSE_STRING_SIZE = 61716;

template <class Dialog>
class EntryNameDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }
    ShippedLanguage language;
};

using NameDialogs = ::testing::Types<CNewNameDialog, CRenameDialog>;
TYPED_TEST_SUITE(EntryNameDialogTest, NameDialogs);

TYPED_TEST(EntryNameDialogTest, ProposedNameIsShownAndEightCharactersAreTakenBack)
{
    ScriptedUi ui;
    TypeParam dialog;
    dialog.m_strName = "Sensor3";
    ui.QueueModal([](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_EQ(driver.Text(IDC_ENTRY_NAME), "Sensor3");
        EXPECT_TRUE(driver.SetText(IDC_ENTRY_NAME, "Front_12"));
        driver.Ok();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strName, "Front_12");
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

// A longer proposal is refused with the framework's message and the dialog stays open
// until the name fits; typing stops at the eighth character.
TYPED_TEST(EntryNameDialogTest, NinthCharacterIsRefusedAndKeepsTheDialogOpen)
{
    ScriptedUi ui;
    TypeParam dialog;
    dialog.m_strName = "ABCDEFGHI";
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_EQ(driver.Text(IDC_ENTRY_NAME), "ABCDEFGHI");
        driver.Ok();
        EXPECT_FALSE(dialog.IsEnded());
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].text, "Please enter no more than 8 characters.");
        EXPECT_EQ(ui.MessageBoxes()[0].helpId, AFX_IDP_PARSE_STRING_SIZE);
        EXPECT_EQ(dialog.m_strName, "ABCDEFGHI");

        driver.SetText(IDC_ENTRY_NAME, "");
        driver.Type(IDC_ENTRY_NAME, "abcdefghij");
        EXPECT_EQ(driver.Text(IDC_ENTRY_NAME), "abcdefgh");
        driver.Ok();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strName, "abcdefgh");
}

// The caller decides about an empty name; Cancel leaves the proposal untouched.
TYPED_TEST(EntryNameDialogTest, EmptyNamePassesAndCancelKeepsTheProposal)
{
    {
        ScriptedUi ui;
        TypeParam dialog;
        dialog.m_strName = "Case1";
        ui.QueueModal([](CWnd& dlg) {
            DialogDriver driver(dlg);
            driver.SetText(IDC_ENTRY_NAME, "");
            driver.Ok();
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.m_strName, "");
    }
    {
        ScriptedUi ui;
        TypeParam dialog;
        dialog.m_strName = "Case1";
        ui.QueueModal([](CWnd& dlg) {
            DialogDriver driver(dlg);
            driver.SetText(IDC_ENTRY_NAME, "Other");
            driver.Cancel();
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(dialog.m_strName, "Case1");
    }
}

TEST(EntryNameDialogTemplates, EachDialogHasItsOwnTemplate)
{
    EXPECT_EQ(CNewNameDialog().GetTemplateId(), 123u);
    EXPECT_EQ(CRenameDialog().GetTemplateId(), 122u);
}

} // namespace
