// User levels with their rights, and the login dialog driven headless against the
// simulated devices, with a fake application holding the documents.
#include "tests/device/ProcedureTestSupport.h"
#include "tests/device/RecordingSensor.h"
#include "tests/device/TestIniFile.h"
#include "dialogs/ShippedLanguage.h"
#include "support/TypedKeys.h"

#include "device/dialogs/CLoginDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int IDC_LEVEL = 2003;
constexpr int IDC_PASSWORD = 2006;
constexpr int IDC_PASSWORD_LABEL = 2009;
constexpr int IDC_PICTURE = 2084;

struct RightRow {
    const char* name;
    int (CLoginDialog::*getter)() const;
    const char* levels; // levels 1 to 5: 'x' set, '-' clear
};

// The getters against the levels, as the commands they gate need them.
const RightRow kRights[] = {
    {"CanCreateDocument", &CLoginDialog::CanCreateDocument, "xxx--"},
    {"GetRight0Bit1", &CLoginDialog::GetRight0Bit1, "xxxxx"},
    {"GetRight0Bit2", &CLoginDialog::GetRight0Bit2, "xxxxx"},
    {"CanSaveDocument", &CLoginDialog::CanSaveDocument, "xxx--"},
    {"GetRight0Bit4", &CLoginDialog::GetRight0Bit4, "xxxxx"},
    {"GetRight0Bit5", &CLoginDialog::GetRight0Bit5, "xxxxx"},
    {"GetRight0Bit6", &CLoginDialog::GetRight0Bit6, "xxxxx"},
    {"GetRight0Bit7", &CLoginDialog::GetRight0Bit7, "xxxxx"},
    {"CanUseMode1", &CLoginDialog::CanUseMode1, "xxx--"},
    {"CanUseMode2", &CLoginDialog::CanUseMode2, "xxxxx"},
    {"GetRight1Bit2", &CLoginDialog::GetRight1Bit2, "xxxxx"},
    {"CanUseMode3", &CLoginDialog::CanUseMode3, "xxx--"},
    {"CanUseMode4", &CLoginDialog::CanUseMode4, "xxx--"},
    {"CanRunFieldSession", &CLoginDialog::CanRunFieldSession, "xxx--"},
    {"CanReadField", &CLoginDialog::CanReadField, "xxx--"},
    {"CanTestConnection", &CLoginDialog::CanTestConnection, "xxx-x"},
    {"CanEditZOKParameters", &CLoginDialog::CanEditZOKParameters, "xxx--"},
    {"CanWriteSystem", &CLoginDialog::CanWriteSystem, "xxx--"},
    {"CanChangePassword1", &CLoginDialog::CanChangePassword1, "xxx--"},
    {"CanChangePassword2", &CLoginDialog::CanChangePassword2, "xxx--"},
    {"CanChangePassword3", &CLoginDialog::CanChangePassword3, "xxxx-"},
    {"CanShowDiagnosisResults", &CLoginDialog::CanShowDiagnosisResults, "xxxxx"},
    {"CanRunDiagnosis", &CLoginDialog::CanRunDiagnosis, "xxx--"},
    {"CanRunAlignment", &CLoginDialog::CanRunAlignment, "x----"},
    {"CanRecordProtocol", &CLoginDialog::CanRecordProtocol, "xxxxx"},
    {"CanRunDeviceSession", &CLoginDialog::CanRunDeviceSession, "xxx--"},
    {"CanUseMonitorDialog", &CLoginDialog::CanUseMonitorDialog, "xxxxx"},
    {"CanEditConfiguration", &CLoginDialog::CanEditConfiguration, "xxx--"},
    {"CanSendConfiguration", &CLoginDialog::CanSendConfiguration, "xxx-x"},
    {"CanReadConfiguration", &CLoginDialog::CanReadConfiguration, "xxxxx"},
    {"CanPrintPreview", &CLoginDialog::CanPrintPreview, "xxxxx"},
    {"CanUseMode5", &CLoginDialog::CanUseMode5, "xxx--"},
    {"CanSetupDriver", &CLoginDialog::CanSetupDriver, "xxxxx"},
    {"CanChangeSettings", &CLoginDialog::CanChangeSettings, "xxxxx"},
    {"GetRight4Bit2", &CLoginDialog::GetRight4Bit2, "xxxxx"},
    {"CanReplayProtocol", &CLoginDialog::CanReplayProtocol, "xxxxx"},
    {"UsesWizards", &CLoginDialog::UsesWizards, "--xxx"},
};

class FakeApplication : public LoginApplication {
public:
    BOOL SaveAllModified() override
    {
        ++saveQueries;
        return agreeToSave;
    }
    void CloseAllDocuments() override { ++closings; }

    BOOL agreeToSave = TRUE;
    int saveQueries = 0;
    int closings = 0;
};

// The device object of the password check keeps what it sent after it is gone.
class SentRequests : public RecordingSensor {
public:
    explicit SentRequests(std::vector<SensorRequest>& sink) : RecordingSensor(CSensor::kUnknownFamily), m_sink(sink) {}
    ~SentRequests() override { m_sink.insert(m_sink.end(), requests.begin(), requests.end()); }

private:
    std::vector<SensorRequest>& m_sink;
};

class TestLoginDialog : public CLoginDialog {
public:
    std::vector<SensorRequest> sent;
    int sessions = 0;
    // Answers for the next device object instead of the simulator's, when given.
    std::deque<std::optional<SensorAnswer>> script;

protected:
    std::unique_ptr<CSensor> CreateSensor() override
    {
        ++sessions;
        auto sensor = std::make_unique<SentRequests>(sent);
        sensor->script = std::exchange(script, {});
        return sensor;
    }
};

// Combo order: 1, 2, 3, 5, 4.
int ComboIndex(int level)
{
    constexpr std::array<int, 6> kIndex = {-1, 0, 1, 2, 4, 3};
    return kIndex.at(std::size_t(level));
}

class CLoginDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(language.Loaded()) << language.Error();
        dialog.SetApplication(&app);
    }

    // Opens the dialog at a level with a password, picks a level, types a password and
    // logs in; answers what the dialog ended with (0: still open, then cancelled).
    INT_PTR LogIn(int fromLevel, const char* fromPassword, int level, const char* password)
    {
        dialog.SetLevel(fromLevel);
        dialog.SetPassword(fromPassword);
        dialog.sent.clear();
        procedures.texts.clear();
        ui.ClearMessageBoxes();
        INT_PTR ended = 0;
        ui.QueueModal([&](CWnd&) {
            DialogDriver driver(dialog);
            driver.Select(IDC_LEVEL, ComboIndex(level));
            if (driver.IsVisible(IDC_PASSWORD)) driver.SetText(IDC_PASSWORD, password);
            driver.Click(CLoginDialog::IDC_LOGIN);
            if (dialog.IsEnded()) {
                ended = dialog.GetResult();
                return;
            }
            stayedAtLevel = dialog.GetLevel();
            driver.Cancel();
        });
        dialog.RunLogin();
        return ended;
    }

    std::vector<BYTE> SentCommands() const
    {
        std::vector<BYTE> commands;
        for (const SensorRequest& request : dialog.sent) commands.push_back(request.Command());
        return commands;
    }

    // The message bar's texts since the last login.
    std::vector<CString> StatusTexts() const { return procedures.texts; }

    ShippedLanguage language;
    ScriptedUi ui;
    TestIniFile ini{"[SETUP]\nPort=9\nBaud=19200\n"};
    FakeProcedureApplication procedures{TRUE, CString(ini.Path())};
    FakeApplication app;
    TestLoginDialog dialog;
    int stayedAtLevel = -1;
};

TEST(CLoginDialogLevels, RightsOfEveryLevelMatchTheGetters)
{
    const std::array<std::array<BYTE, 5>, 6> bytes = {{
        {0x00, 0x00, 0x00, 0x00, 0x00},
        {0xFF, 0xFF, 0xFF, 0xFF, 0x0F},
        {0xFF, 0xFF, 0x7F, 0xFF, 0x0F},
        {0xFF, 0xFF, 0x7F, 0xFF, 0x1F},
        {0xF6, 0x06, 0x30, 0x65, 0x1F},
        {0xF6, 0x86, 0x20, 0x75, 0x1F},
    }};
    CLoginDialog login;
    for (int level = 0; level <= 5; ++level) {
        login.SetLevel(level);
        EXPECT_EQ(login.GetLevel(), level);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(login.GetRightByte(i), bytes[level][i]) << level << " byte " << i;
        for (const RightRow& row : kRights) {
            const int expected = level == 0 ? 0 : row.levels[level - 1] == 'x';
            EXPECT_EQ((login.*row.getter)(), expected) << row.name << " at level " << level;
        }
    }
}

TEST(CLoginDialogLevels, SetLevelEmptiesThePasswordAndKeepsWhatTheRulesKeep)
{
    ShippedLanguage language;
    ASSERT_TRUE(language.Loaded()) << language.Error();
    CLoginDialog login;
    EXPECT_EQ(login.GetLevel(), 0);
    EXPECT_FALSE(login.CanReadConfiguration());
    const std::array<UINT, 6> names = {0, 935, 936, 937, 939, 938};
    const std::array<int, 6> needed = {0, 1, 1, 1, 0, 1};
    for (int level = 1; level <= 5; ++level) {
        login.SetPassword("BELK_MAR");
        login.SetLevel(level);
        EXPECT_EQ(login.GetPassword(), "");
        EXPECT_EQ(login.GetLevelName(), language.Text(names[level]));
        EXPECT_FALSE(login.GetLevelName().IsEmpty());
        EXPECT_EQ(login.IsPasswordNeeded(), needed[level]);
    }
    login.SetLevel(0); // keeps the password-needed flag of level 5
    EXPECT_EQ(login.IsPasswordNeeded(), 1);
    EXPECT_EQ(login.GetLevelName(), "");
    login.SetLevel(3);
    login.SetPassword("BELK_MAR");
    login.SetLevel(6); // no rights, no name, no password, the number stays
    EXPECT_EQ(login.GetLevel(), 3);
    EXPECT_EQ(login.GetLevelName(), "");
    EXPECT_EQ(login.GetPassword(), "");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(login.GetRightByte(i), 0);
    login.SetStartLevel();
    EXPECT_EQ(login.GetLevel(), 4);
    login.SetPassword("X");
    login.ClearPassword();
    EXPECT_EQ(login.GetPassword(), "");
}

TEST(CLoginDialogLevels, TheOneInstanceStartsWithoutRights)
{
    EXPECT_EQ(theLoginDialog.GetLevel(), 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(theLoginDialog.GetRightByte(i), 0);
}

struct LoginCase {
    const char* name;
    int level;
    const char* password;
    bool accepted;
    std::vector<BYTE> commands; // what reached the simulated scanner
    std::string codes;          // level code characters of the access requests
};

TEST_F(CLoginDialogTest, PasswordsAreCheckedByTheLevelsRules)
{
    // The simulated scanner knows "BELK_MAR" under '0' and '2', "MIRTOVAL" under '1'.
    const LoginCase cases[] = {
        {"level 1, factory password", 1, "MIRTOVAL", true, {0x31, 0x31, 0x20}, "1"},
        {"level 1, wrong password", 1, "BELK_MAR", false, {0x31, 0x31, 0x20}, "1"},
        {"level 5, factory password refused unsent", 5, "MIRTOVAL", false, {0x31, 0x31}, ""},
        {"level 5, own password", 5, "BELK_MAR", true, {0x31, 0x31, 0x20}, "2"},
        {"level 2, factory password taken unsent", 2, "MIRTOVAL", true, {0x31, 0x31}, ""},
        {"level 2, own password", 2, "BELK_MAR", true, {0x31, 0x31, 0x20}, "0"},
        {"level 3, wrong password tried twice", 3, "WRONG_PW", false, {0x31, 0x31, 0x20, 0x20}, "01"},
        {"level 4, no password, no device", 4, "", true, {}, ""},
    };
    for (const LoginCase& c : cases) {
        SCOPED_TRACE(c.name);
        const INT_PTR result = LogIn(c.level, "", c.level, c.password);
        EXPECT_EQ(SentCommands(), c.commands);
        std::string codes;
        for (const SensorRequest& request : dialog.sent)
            if (request.Command() == 0x20) codes += char(request.Bytes()[9]);
        EXPECT_EQ(codes, c.codes);
        if (c.accepted) {
            EXPECT_EQ(result, CLoginDialog::IDC_LOGIN);
            EXPECT_TRUE(ui.MessageBoxes().empty());
            EXPECT_EQ(dialog.GetLevel(), c.level);
            EXPECT_EQ(dialog.GetPassword(), c.password);
        } else {
            EXPECT_EQ(result, 0);
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            EXPECT_EQ(ui.MessageBoxes()[0].id, 300u);
            EXPECT_TRUE(ui.MessageBoxes()[0].flags & MB_ICONEXCLAMATION);
            EXPECT_EQ(stayedAtLevel, c.level); // the level picked stays while the dialog is open
            EXPECT_EQ(dialog.GetLevel(), c.level); // Cancel goes back to the level it came from
            EXPECT_EQ(dialog.GetPassword(), "");
        }
    }
    EXPECT_EQ(app.saveQueries, 1); // level 5 from level 5
}

// The check runs as a device session: connect, identify and disconnect show their texts,
// and a refused password alone ends in message 300.
TEST_F(CLoginDialogTest, TheCheckIsADeviceSessionWithItsStatusTexts)
{
    EXPECT_EQ(LogIn(4, "", 1, "BELK_MAR"), 0);
    const std::vector<CString> expected = {language.Text(390), language.Text(396), language.Text(342),
                                           language.Text(398), language.Text(394), language.Text(57345)};
    EXPECT_EQ(StatusTexts(), expected);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, 300u);

    EXPECT_EQ(LogIn(4, "", 1, "MIRTOVAL"), CLoginDialog::IDC_LOGIN);
    EXPECT_EQ(StatusTexts(), expected);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

// A port that cannot be opened is the open prompt's business: Retry tries again, Cancel
// leaves the dialog open at the picked level without message 300 and without a telegram.
TEST_F(CLoginDialogTest, MissingPortPromptsAndIsNotTakenForARefusedPassword)
{
    FakeProcedureApplication port(FALSE, CString(ini.Path()));
    ini.Write("[SETUP]\nPort=1\nBaud=19200\n[PORTS]\nCOM1=/nonexistent/taliso-port\n");
    ui.QueueAnswers({IDRETRY, IDCANCEL});
    EXPECT_EQ(LogIn(4, "", 2, "BELK_MAR"), 0);
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    for (const MessageBoxRecord& box : ui.MessageBoxes()) {
        EXPECT_EQ(box.id, 397u);
        EXPECT_EQ(box.flags, UINT(MB_RETRYCANCEL | MB_ICONEXCLAMATION));
    }
    EXPECT_EQ(port.texts.front(), language.Text(390));
    EXPECT_EQ(port.texts.back(), language.Text(396)); // no session to end
    EXPECT_TRUE(dialog.sent.empty());
    EXPECT_EQ(stayedAtLevel, 2);
    EXPECT_EQ(dialog.GetLevel(), 4);
    EXPECT_EQ(app.closings, 0);
}

// A device that cannot be identified gets the identification prompt and the session
// still ends; a login telegram without an answer says so instead of calling the password
// wrong.
TEST_F(CLoginDialogTest, SilentDeviceIsNotTakenForARefusedPassword)
{
    ui.QueueAnswer(IDCANCEL);
    dialog.script = {std::nullopt, std::nullopt};
    EXPECT_EQ(LogIn(4, "", 1, "MIRTOVAL"), 0);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, 345u);
    EXPECT_EQ(SentCommands(), (std::vector<BYTE>{0x31, 0x31}));
    EXPECT_EQ(StatusTexts().back(), language.Text(57345));

    dialog.script = {DeviceAnswer(0xB1, 0), DeviceAnswer(0xB1, 0), std::nullopt};
    EXPECT_EQ(LogIn(4, "", 1, "MIRTOVAL"), 0);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, 490u);
    EXPECT_EQ(ui.MessageBoxes()[0].flags, UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(SentCommands(), (std::vector<BYTE>{0x31, 0x31, 0x20}));
    EXPECT_EQ(dialog.GetLevel(), 4);
}

TEST_F(CLoginDialogTest, DocumentsAreSavedAndClosedOnlyWhenTheRightsShrink)
{
    struct Case {
        const char* name;
        int from;
        int to;
        const char* password;
        BOOL agree;
        int queries;
        int closings;
        int level;           // afterwards
        const char* stored;  // password afterwards
    };
    const Case cases[] = {
        {"1 to 2 keeps the documents", 1, 2, "MIRTOVAL", TRUE, 0, 0, 2, "MIRTOVAL"},
        {"4 to 1 keeps the documents", 4, 1, "MIRTOVAL", TRUE, 0, 0, 1, "MIRTOVAL"},
        {"1 to 4 closes them", 1, 4, "", TRUE, 1, 1, 4, ""},
        {"4 to 4 keeps them", 4, 4, "", TRUE, 0, 0, 4, ""},
        {"1 to 5 closes them", 1, 5, "BELK_MAR", TRUE, 1, 1, 5, "BELK_MAR"},
        {"1 to 5 refused keeps level 1", 1, 5, "BELK_MAR", FALSE, 1, 0, 1, "OLD_PASS"},
        {"1 to 4 refused keeps level 1", 1, 4, "", FALSE, 1, 0, 1, "OLD_PASS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.agreeToSave = c.agree;
        app.saveQueries = 0;
        app.closings = 0;
        EXPECT_EQ(LogIn(c.from, "OLD_PASS", c.to, c.password), CLoginDialog::IDC_LOGIN);
        EXPECT_EQ(app.saveQueries, c.queries);
        EXPECT_EQ(app.closings, c.closings);
        EXPECT_EQ(dialog.GetLevel(), c.level);
        EXPECT_EQ(dialog.GetPassword(), c.stored);
        EXPECT_EQ(dialog.CanSaveDocument(), c.level <= 3);
    }
}

TEST_F(CLoginDialogTest, PickingALevelChangesTheRightsAtOnceAndCancelRestoresThem)
{
    dialog.SetLevel(1);
    dialog.SetPassword("MIRTOVAL");
    ui.QueueModal([&](CWnd&) {
        DialogDriver driver(dialog);
        EXPECT_EQ(driver.Count(IDC_LEVEL), 5);
        EXPECT_EQ(driver.Selection(IDC_LEVEL), ComboIndex(1));
        EXPECT_EQ(driver.ItemText(IDC_LEVEL, ComboIndex(5)), language.Text(938));
        EXPECT_TRUE(driver.IsVisible(IDC_PASSWORD));
        EXPECT_TRUE(driver.IsVisible(IDC_PASSWORD_LABEL));
        EXPECT_EQ(driver.Text(IDC_PASSWORD), ""); // the stored password is not shown
        driver.Select(IDC_LEVEL, ComboIndex(4));
        EXPECT_EQ(dialog.GetLevel(), 4);
        EXPECT_FALSE(dialog.CanCreateDocument());
        EXPECT_FALSE(driver.IsVisible(IDC_PASSWORD));
        EXPECT_FALSE(driver.IsVisible(IDC_PASSWORD_LABEL));
        driver.Select(IDC_LEVEL, ComboIndex(2));
        EXPECT_TRUE(driver.IsVisible(IDC_PASSWORD));
        driver.Type(IDC_PASSWORD, "ab c-_9XYZ12345");
        EXPECT_EQ(driver.Text(IDC_PASSWORD), "abc_9XYZ"); // filtered and held to 8 characters
        driver.Cancel();
    });
    EXPECT_EQ(dialog.RunLogin(), IDCANCEL);
    EXPECT_EQ(dialog.GetLevel(), 1);
    EXPECT_TRUE(dialog.CanCreateDocument());
    EXPECT_EQ(dialog.GetPassword(), "MIRTOVAL");
    EXPECT_EQ(dialog.sessions, 0);
}

TEST_F(CLoginDialogTest, StandardLevelAsksForTheDocumentsUnlessItWasInForce)
{
    struct Case {
        const char* name;
        int from;
        int picked; // level picked in the combo before the button
        BOOL agree;
        int queries;
        int closings;
    };
    const Case cases[] = {
        {"from level 1", 1, 1, TRUE, 1, 1},
        {"from level 1 with level 4 picked first", 1, 4, TRUE, 1, 1},
        {"from level 1, refused", 1, 1, FALSE, 1, 0},
        {"from level 4", 4, 4, TRUE, 0, 0},
        {"from level 4 with level 2 picked first", 4, 2, TRUE, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.agreeToSave = c.agree;
        app.saveQueries = 0;
        app.closings = 0;
        dialog.SetLevel(c.from);
        dialog.SetPassword("OLD_PASS");
        ui.QueueModal([&](CWnd&) {
            DialogDriver driver(dialog);
            driver.Select(IDC_LEVEL, ComboIndex(c.picked));
            driver.Click(CLoginDialog::IDC_STANDARD_LEVEL);
        });
        EXPECT_EQ(dialog.RunLogin(), CLoginDialog::IDC_STANDARD_LEVEL);
        EXPECT_EQ(app.saveQueries, c.queries);
        EXPECT_EQ(app.closings, c.closings);
        EXPECT_EQ(dialog.GetLevel(), 4);
        EXPECT_EQ(dialog.GetPassword(), "");
    }
}

// The road of a keyboard user: Alt+U to the level, Home for the first one, Alt+P to the
// password, the password, Return for the default button.
TEST_F(CLoginDialogTest, KeyboardAloneReachesTheFieldsByTheirLabelsAndLogsIn)
{
    dialog.SetLevel(4);
    ui.QueueModal([&](CWnd&) {
        DialogDriver driver(dialog);
        ASSERT_TRUE(driver.Focus(CLoginDialog::IDC_STANDARD_LEVEL));
        typedkeys::Alt('u');
        EXPECT_EQ(driver.FocusId(), IDC_LEVEL);
        typedkeys::Press(Qt::Key_Home);
        EXPECT_EQ(driver.Selection(IDC_LEVEL), ComboIndex(1));
        typedkeys::Alt('p');
        EXPECT_EQ(driver.FocusId(), IDC_PASSWORD);
        typedkeys::Type("MIRTOVAL");
        EXPECT_EQ(driver.Text(IDC_PASSWORD), "MIRTOVAL");
        typedkeys::Return();
        if (!dialog.IsEnded()) driver.Cancel();
    });
    EXPECT_EQ(dialog.RunLogin(), CLoginDialog::IDC_LOGIN);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(dialog.GetLevel(), 1);
    EXPECT_EQ(dialog.GetPassword(), "MIRTOVAL");
}

TEST_F(CLoginDialogTest, PictureSizesToTheShippedBitmap)
{
    ui.QueueModal([&](CWnd&) {
        DialogDriver driver(dialog);
        CRect rect;
        CWnd::FromHandle(driver.Control(IDC_PICTURE))->GetWindowRect(&rect);
        EXPECT_EQ(rect.Width(), 48 + 4);
        EXPECT_EQ(rect.Height(), 48 + 4);
        driver.Cancel();
    });
    dialog.SetLevel(4);
    EXPECT_EQ(dialog.RunLogin(), IDCANCEL);
}

} // namespace
