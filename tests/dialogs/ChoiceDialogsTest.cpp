// The device-family choice, the teach-in choice and the scanner-number dialog, driven
// from their shipped templates.
#include "ShippedLanguage.h"

#include "dialogs/CDeviceFamilyDialog.h"
#include "dialogs/CQuestionDialog.h"
#include "dialogs/CSensorNumberDialog.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int IDC_FAMILY_ZOK = 2139;
constexpr int IDC_FAMILY_KVR = 2140;
constexpr int IDC_SCANNER_1 = 2163;

class ChoiceDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }

    // Runs the dialog with one script and returns its result.
    static INT_PTR Run(CDialog& dialog, const std::function<void(DialogDriver&)>& script)
    {
        ScriptedUi ui;
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            script(driver);
        });
        return dialog.DoModal();
    }

    ShippedLanguage language;
};

// The preset family shows checked; a button not of the group (-1) shows none and comes
// back as 255, the family byte of "none".
TEST_F(ChoiceDialogTest, FamilyDialogShowsThePresetAndReturnsItOnOk)
{
    struct Case {
        int preset;
        int zokCheck;
        int kvrCheck;
        BYTE familyByte;
    };
    for (const Case& c : {Case{0, BST_CHECKED, BST_UNCHECKED, 0}, Case{1, BST_UNCHECKED, BST_CHECKED, 1},
                          Case{-1, BST_UNCHECKED, BST_UNCHECKED, 255}}) {
        CDeviceFamilyDialog dialog;
        dialog.m_nFamily = c.preset;
        EXPECT_EQ(Run(dialog,
                      [&](DialogDriver& driver) {
                          EXPECT_EQ(driver.Check(IDC_FAMILY_ZOK), c.zokCheck) << c.preset;
                          EXPECT_EQ(driver.Check(IDC_FAMILY_KVR), c.kvrCheck) << c.preset;
                          EXPECT_EQ(dialog.m_icon.GetIcon(), LoadIcon(nullptr, IDI_EXCLAMATION));
                          driver.Ok();
                      }),
                  IDOK);
        EXPECT_EQ(dialog.m_nFamily, c.preset);
        EXPECT_EQ(dialog.GetFamilyByte(), c.familyByte);
    }
}

TEST_F(ChoiceDialogTest, FamilyDialogReturnsTheChosenFamilyAndCancelKeepsThePreset)
{
    CDeviceFamilyDialog chosen;
    EXPECT_EQ(chosen.m_nFamily, 0);
    EXPECT_EQ(Run(chosen,
                  [](DialogDriver& driver) {
                      driver.Click(IDC_FAMILY_KVR);
                      driver.Ok();
                  }),
              IDOK);
    EXPECT_EQ(chosen.m_nFamily, 1);

    CDeviceFamilyDialog cancelled;
    cancelled.m_nFamily = 1;
    EXPECT_EQ(Run(cancelled,
                  [](DialogDriver& driver) {
                      driver.Click(IDC_FAMILY_ZOK);
                      driver.Cancel();
                  }),
              IDCANCEL);
    EXPECT_EQ(cancelled.m_nFamily, 1);
}

// Each answer button ends the dialog with its own id, never IDOK; Escape cancels.
TEST_F(ChoiceDialogTest, QuestionDialogAnswersWithTheButtonsOwnId)
{
    CWinApp app{"Taliso"};
    for (const int button : {CQuestionDialog::IDC_ANSWER_EDIT, CQuestionDialog::IDC_ANSWER_VERIFY}) {
        CQuestionDialog dialog;
        EXPECT_EQ(Run(dialog,
                      [&](DialogDriver& driver) {
                          CString caption;
                          dialog.GetWindowText(caption);
                          EXPECT_EQ(caption, "Taliso");
                          EXPECT_EQ(dialog.m_icon.GetIcon(), LoadIcon(nullptr, IDI_QUESTION));
                          driver.Click(button);
                      }),
                  button);
    }
    CQuestionDialog escaped;
    EXPECT_EQ(Run(escaped, [](DialogDriver& driver) { driver.Escape(); }), IDCANCEL);
    CQuestionDialog entered;
    EXPECT_EQ(Run(entered, [](DialogDriver& driver) { driver.Enter(); }), CQuestionDialog::IDC_ANSWER_EDIT);
}

// Only the scanners the unit has can be chosen; the choice is the scanner number - 1.
TEST_F(ChoiceDialogTest, ScannerNumberDialogEnablesOneButtonPerScanner)
{
    for (int count = 1; count <= 4; ++count) {
        CSensorNumberDialog dialog(count);
        const int last = IDC_SCANNER_1 + count - 1;
        EXPECT_EQ(Run(dialog,
                      [&](DialogDriver& driver) {
                          for (int id = IDC_SCANNER_1; id < IDC_SCANNER_1 + 4; ++id)
                              EXPECT_EQ(driver.IsEnabled(id), id <= last) << "count " << count << " button " << id;
                          EXPECT_EQ(driver.Check(IDC_SCANNER_1), BST_CHECKED);
                          EXPECT_EQ(driver.Click(IDC_SCANNER_1 + 3), count == 4);
                          driver.Click(last);
                          driver.Ok();
                      }),
                  IDOK);
        EXPECT_EQ(dialog.m_nChoice, count - 1);
    }
}

TEST_F(ChoiceDialogTest, ScannerNumberDialogCancelKeepsTheFirstScanner)
{
    CSensorNumberDialog dialog(3);
    EXPECT_EQ(Run(dialog,
                  [](DialogDriver& driver) {
                      driver.Click(IDC_SCANNER_1 + 2);
                      driver.Cancel();
                  }),
              IDCANCEL);
    EXPECT_EQ(dialog.m_nChoice, 0);
}

} // namespace
