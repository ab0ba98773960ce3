// The password edit's character filter and the three password dialogs, driven from their
// shipped templates with scripted message boxes.
#include "tests/dialogs/ShippedLanguage.h"

#include "dialogs/CAccessCodeDialog.h"
#include "dialogs/CNewPasswordDialog.h"
#include "dialogs/controls/CPasswordEdit.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

constexpr UINT IDD_ACCESS_CODE = 105;
constexpr int IDC_ACCESS_CODE = 2024;

class CountingPasswordEdit : public CPasswordEdit {
public:
    std::string refused;

protected:
    void OnRefusedChar(UINT nChar) override
    {
        refused += char(nChar < 0x80 ? nChar : '?');
        CPasswordEdit::OnRefusedChar(nChar);
    }
};

class PasswordTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }
    ShippedLanguage language;
};

TEST(CPasswordEditChars, LetsThroughControlKeysDigitsLettersAndUnderscoreOnly)
{
    for (const UINT ch : {0u, 8u, 22u, 31u, UINT('0'), UINT('9'), UINT('A'), UINT('Z'), UINT('a'), UINT('z'), UINT('_')})
        EXPECT_TRUE(CPasswordEdit::IsAllowedChar(ch)) << ch;
    for (const UINT ch : {32u, UINT('-'), UINT('/'), UINT(':'), UINT('@'), UINT('['), UINT('`'), UINT('{'), 127u, 0xE4u})
        EXPECT_FALSE(CPasswordEdit::IsAllowedChar(ch)) << ch;
    // A stored text holds no control keys, though typing lets them through.
    EXPECT_TRUE(CPasswordEdit::IsAllowedText("Ab_09xyZ"));
    EXPECT_FALSE(CPasswordEdit::IsAllowedText("Ab\tc"));
    EXPECT_FALSE(CPasswordEdit::IsAllowedText("AB CD"));
}

TEST_F(PasswordTest, TypedBlankHyphenAndUmlautBeepAndBackspacePasses)
{
    ScriptedUi ui;
    CDialog dialog(IDD_ACCESS_CODE);
    CountingPasswordEdit edit;
    ui.QueueModal([&](CWnd&) {
        ASSERT_TRUE(edit.SubclassDlgItem(IDC_ACCESS_CODE, &dialog));
        DialogDriver driver(dialog);
        driver.Type(IDC_ACCESS_CODE, "AB C-D\xC3\xA4_1x\b9");
        EXPECT_EQ(driver.Text(IDC_ACCESS_CODE), "ABCD_19");
        EXPECT_EQ(edit.refused, " -?");
        driver.Cancel();
    });
    dialog.DoModal();
}

struct NewPasswordCase {
    const char* name;
    const char* password;
    const char* confirmation;
    UINT userMessage;   // 0: the dialog ends with IDOK
    UINT deviceMessage;
};

class NewPasswordTest : public PasswordTest {
protected:
    // The text of a message as shown; empty for none.
    CString MessageText(UINT id) const
    {
        if (id == 470) return "The text must have exactly 8 characters.";
        return id ? language.Text(id) : CString();
    }

    // Runs the dialog with the two entries; returns the text of the message shown, empty
    // when it ended with IDOK, and checks that a refused entry leaves it open and that
    // a refused password empties both entries.
    CString Run(CNewPasswordDialog& dialog, int passwordId, int confirmId, const char* password,
             const char* confirmation)
    {
        ScriptedUi ui;
        CString shown;
        ui.QueueModal([&](CWnd&) {
            DialogDriver driver(dialog);
            driver.SetText(passwordId, password);
            driver.SetText(confirmId, confirmation);
            driver.Ok();
            if (dialog.IsEnded()) return;
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            shown = ui.MessageBoxes()[0].text;
            EXPECT_TRUE(ui.MessageBoxes()[0].flags & MB_ICONEXCLAMATION);
            const UINT id = ui.MessageBoxes()[0].id;
            if (id == 300 || id == 301) {
                EXPECT_EQ(driver.Text(passwordId), "");
                EXPECT_EQ(driver.Text(confirmId), "");
                EXPECT_EQ(driver.FocusId(), passwordId);
            }
            driver.Cancel();
        });
        const INT_PTR result = dialog.DoModal();
        if (shown.IsEmpty()) {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(dialog.m_strPassword, password);
        } else {
            EXPECT_EQ(result, IDCANCEL);
        }
        return shown;
    }
};

TEST_F(NewPasswordTest, ReservedMismatchedAndShortPasswordsAreRefusedByEachDialog)
{
    const NewPasswordCase cases[] = {
        {"accepted", "Secret_1", "Secret_1", 0, 0},
        {"seven characters", "Secret1", "Secret1", 470, 470},
        {"nine characters", "Secret_12", "Secret_12", 470, 470},
        {"confirmation differs", "Secret_1", "Secret_2", 301, 301},
        {"confirmation differs in case", "Secret_1", "SECRET_1", 301, 301},
        {"factory password", "MIRTOVAL", "MIRTOVAL", 300, 300},
        {"second reserved password", "PENDRAXO", "PENDRAXO", 300, 0},
        {"factory password in lower case", "mirtoval", "mirtoval", 0, 0},
        {"pasted blank", "Secret 1", "Secret 1", 304, 304},
    };
    for (const NewPasswordCase& c : cases) {
        SCOPED_TRACE(c.name);
        CUserPasswordDialog user;
        EXPECT_EQ(Run(user, 2044, 2045, c.password, c.confirmation), MessageText(c.userMessage));
        CDevicePasswordDialog device;
        EXPECT_EQ(Run(device, 2042, 2043, c.password, c.confirmation), MessageText(c.deviceMessage));
    }
}

TEST_F(NewPasswordTest, WithoutConfirmationTheSecondEntryIsHiddenAndNotAsked)
{
    ScriptedUi ui;
    CUserPasswordDialog dialog(nullptr, 0);
    ui.QueueModal([&](CWnd&) {
        DialogDriver driver(dialog);
        EXPECT_FALSE(driver.IsVisible(2045));
        EXPECT_FALSE(driver.IsVisible(2049));
        dialog.SetConfirm(1);
        EXPECT_TRUE(driver.IsVisible(2045));
        EXPECT_TRUE(driver.IsVisible(2049));
        dialog.SetConfirm(0);
        EXPECT_FALSE(driver.IsVisible(2045));
        driver.SetText(2044, "New_Pass");
        driver.Ok();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(dialog.m_strPassword, "New_Pass");
    EXPECT_EQ(dialog.m_strConfirm, "New_Pass");
}

TEST_F(PasswordTest, AccessCodeNeedsEightCharactersAndTakesReservedOnes)
{
    ScriptedUi ui;
    CAccessCodeDialog dialog;
    ui.QueueModal([&](CWnd&) {
        DialogDriver driver(dialog);
        driver.Type(IDC_ACCESS_CODE, "ABC");
        driver.Ok();
        EXPECT_FALSE(dialog.IsEnded());
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].text, "The text must have exactly 8 characters.");
        driver.SetText(IDC_ACCESS_CODE, "MIRTOVAL");
        driver.Ok();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strCode, "MIRTOVAL");
}

} // namespace
