// The procedures both families share: status texts, the single, triple and once retry
// patterns with their prompts, the operating modes with the refused-password text, and
// connecting and disconnecting a device session.
#include "ProcedureTestSupport.h"
#include "device/DeviceProcedures.h"
#include "device/CSensorErrorList.h"
#include "device/ZOKProcedures.h"
#include "model/CPolyShelter.h"
#include "model/CScan.h"
#include "model/CZOKIdentity.h"

#include <gtest/gtest.h>

#include <functional>

using namespace ProcedureText;

namespace {

class DeviceProceduresTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(english.Loaded()); }

    void ExpectRetryPrompts(std::size_t count, UINT retryId)
    {
        ASSERT_EQ(ui.MessageBoxes().size(), count);
        for (const MessageBoxRecord& box : ui.MessageBoxes()) {
            EXPECT_EQ(box.id, retryId);
            EXPECT_EQ(box.flags, MB_RETRYCANCEL | MB_ICONEXCLAMATION);
            EXPECT_EQ(box.helpId, retryId);
        }
    }

    EnglishTexts english;
    FakeProcedureApplication application;
    ScriptedUi ui;
};

struct RetryCase {
    const char* name;
    std::function<BOOL(ScriptedZOKSensor&, BOOL prompt)> run;
    UINT status;
    UINT retry;
    std::size_t triesPerRound;
};

const RetryCase kRetryCases[] = {
    {"IdentifySensor", [](auto& s, BOOL p) { return IdentifySensor(s, p); }, kIdentifyStatus, kIdentifyRetry, 1},
    {"TestConnection", [](auto& s, BOOL p) { return TestConnection(s, p); }, kTestStatus, kTestRetry, 1},
    {"SendMode2Code", [](auto& s, BOOL p) { return SendMode2Code(s, "1234", p); }, kMode2CodeStatus,
     kMode2CodeRetry, 1},
    {"ChangeDevicePassword", [](auto& s, BOOL p) { return ChangeDevicePassword(s, 1, "NEW", p); },
     kPasswordStatus, kPasswordRetry, 1},
    {"ReadErrorList",
     [](auto& s, BOOL p) {
         CSensorErrorList list;
         return ReadErrorList(s, list, p);
     },
     kErrorListStatus, kErrorListRetry, 3},
    {"ReadErrorListAt",
     [](auto& s, BOOL p) {
         CSensorErrorList list;
         return ReadErrorListAt(s, list, 2, p);
     },
     kErrorListStatus, kErrorListRetry, 3},
    {"ReadZOKIdentification",
     [](auto& s, BOOL p) {
         CZOKIdentity identity;
         return ReadZOKIdentification(s, identity, p);
     },
     kIdentificationStatus, kIdentificationRetry, 3},
    {"ReadZOKScan", [](auto& s, BOOL p) { return BOOL(ReadZOKScan(s, 361, p) != nullptr); }, kScanStatus,
     kScanRetry, 3},
    {"ReadZOKField", [](auto& s, BOOL p) { return BOOL(ReadZOKField(s, p) != nullptr); }, kReadFieldStatus,
     kReadFieldRetry, 1},
    {"ReadZOKScanSub4", [](auto& s, BOOL p) { return BOOL(ReadZOKScanSub4(s, p) != nullptr); },
     kLockedContourStatus, kLockedContourRetry, 1},
    {"RunZOKCommand41Sub0", [](auto& s, BOOL p) { return RunZOKCommand41Sub0(s, p); }, kDiscardStatus,
     kDiscardRetry, 1},
    {"SendZOKCommand67", [](auto& s, BOOL p) { return SendZOKCommand67(s, 3, p); }, kParameterStatus,
     kParameterRetry, 1},
    {"RunCommand50At", [](auto& s, BOOL p) { return RunCommand50At(s, 2, p); }, kScannerSessionStatus,
     kScannerSessionRetry, 1},
    {"SetIndexedValue", [](auto& s, BOOL p) { return SetIndexedValue(s, 1, 2, p); }, kIndexedValueStatus,
     kIndexedValueRetry, 1},
};

TEST_F(DeviceProceduresTest, RetryRetryCancelSendsOneRoundPerPromptAndFails)
{
    for (const RetryCase& c : kRetryCases) {
        SCOPED_TRACE(c.name);
        ScriptedZOKSensor sensor; // every exchange fails
        ui.ClearMessageBoxes();
        application.texts.clear();
        ui.QueueAnswers({IDRETRY, IDRETRY, IDCANCEL});

        EXPECT_FALSE(c.run(sensor, TRUE));
        EXPECT_EQ(sensor.requests.size(), 3 * c.triesPerRound);
        ExpectRetryPrompts(3, c.retry);
        ASSERT_EQ(application.texts.size(), 1u);
        EXPECT_EQ(application.texts[0], Text(c.status));
        EXPECT_TRUE(application.repaints[0]);
        EXPECT_EQ(ui.PendingAnswers(), 0u);
    }
}

TEST_F(DeviceProceduresTest, WithoutPromptOneRoundIsSentAndNoBoxAppears)
{
    for (const RetryCase& c : kRetryCases) {
        SCOPED_TRACE(c.name);
        ScriptedZOKSensor sensor;
        EXPECT_FALSE(c.run(sensor, FALSE));
        EXPECT_EQ(sensor.requests.size(), c.triesPerRound);
    }
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(DeviceProceduresTest, RetryAfterAFailureSucceeds)
{
    ScriptedZOKSensor sensor;
    sensor.script = {std::nullopt, std::nullopt, std::nullopt, DeviceAnswer(0xB2, 0)};
    ui.QueueAnswer(IDRETRY);
    CSensorErrorList list;
    EXPECT_TRUE(ReadErrorList(sensor, list, TRUE));
    EXPECT_EQ(sensor.requests.size(), 4u);
    ExpectRetryPrompts(1, kErrorListRetry);
}

TEST_F(DeviceProceduresTest, TripleStopsAtTheFirstSuccess)
{
    ScriptedZOKSensor sensor;
    sensor.script = {std::nullopt, DeviceAnswer(0xB2, 0)};
    CSensorErrorList list;
    EXPECT_TRUE(ReadErrorList(sensor, list, TRUE));
    EXPECT_EQ(sensor.requests.size(), 2u);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(DeviceProceduresTest, OnceShowsItsWarningOnlyWithPrompt)
{
    struct OnceCase {
        const char* name;
        std::function<BOOL(ScriptedZOKSensor&, BOOL)> run;
        UINT warning;
    };
    const OnceCase cases[] = {
        {"RunZOKCommand46Sub1", [](auto& s, BOOL p) { return RunZOKCommand46Sub1(s, p); }, kTeachAcceptWarning},
        {"RunZOKCommand41Sub2", [](auto& s, BOOL p) { return RunZOKCommand41Sub2(s, p); }, kStoreWarning},
    };
    for (const OnceCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (BOOL prompt : {FALSE, TRUE}) {
            ScriptedZOKSensor sensor;
            ui.ClearMessageBoxes();
            EXPECT_FALSE(c.run(sensor, prompt));
            EXPECT_EQ(sensor.requests.size(), 1u);
            ASSERT_EQ(ui.MessageBoxes().size(), prompt ? 1u : 0u);
            if (prompt) {
                EXPECT_EQ(ui.MessageBoxes()[0].id, c.warning);
                EXPECT_EQ(ui.MessageBoxes()[0].flags, MB_OK | MB_ICONEXCLAMATION);
            }
        }
    }
}

TEST_F(DeviceProceduresTest, TypeCodeZeroCountsAsFailure)
{
    ScriptedZOKSensor sensor;
    sensor.typeCode = 0;
    ui.QueueAnswer(IDCANCEL);
    EXPECT_EQ(ReadSensorTypeCode(sensor, TRUE), 0);
    ExpectRetryPrompts(1, kTypeRetry);

    sensor.typeCode = 50;
    EXPECT_EQ(ReadSensorTypeCode(sensor, TRUE), 50);
    EXPECT_EQ(ui.MessageBoxes().size(), 1u);
}

TEST_F(DeviceProceduresTest, ModesShowTheirTextsAndARefusedPasswordSaysSo)
{
    struct ModeCase {
        BYTE mode;
        UINT status;
        UINT retry;
    };
    const ModeCase cases[] = {{0, kMode0Status, kMode0Retry},
                              {16, kMode16Status, kMode16Retry},
                              {33, kNormalModeStatus, kNormalModeRetry},
                              {37, kNormalModeStatus, kNormalModeRetry}};
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(int(c.mode));
        ScriptedZOKSensor sensor;
        sensor.script = {DeviceAnswer(0xA0, 1), std::nullopt};
        ui.ClearMessageBoxes();
        application.texts.clear();
        ui.QueueAnswers({IDRETRY, IDCANCEL});

        EXPECT_FALSE(SetOperatingMode(sensor, c.mode, "PW", TRUE));
        EXPECT_EQ(sensor.requests.size(), 2u);
        EXPECT_EQ(sensor.requests[0].Byte(RequestOffset::Data), c.mode);
        ASSERT_EQ(application.texts.size(), 1u);
        EXPECT_EQ(application.texts[0], Text(c.status));
        ASSERT_EQ(ui.MessageBoxes().size(), 2u);
        // Status 1: the refusal is added to the text; no answer: the plain prompt.
        EXPECT_EQ(ui.MessageBoxes()[0].text, Text(c.retry) + " " + Text(kModeRefusedNote));
        EXPECT_EQ(ui.MessageBoxes()[0].helpId, c.retry);
        EXPECT_EQ(ui.MessageBoxes()[1].text, Text(c.retry));
    }
}

TEST_F(DeviceProceduresTest, ModeValueGoesToTheGivenAddress)
{
    ScriptedZOKSensor sensor;
    sensor.script = {DeviceAnswer(0xA0, 0)};
    EXPECT_TRUE(SetOperatingModeValue(sensor, 33, 3, nullptr, TRUE));
    ASSERT_EQ(sensor.requests.size(), 1u);
    EXPECT_EQ(sensor.requests[0].Byte(RequestOffset::Address), 3);
    EXPECT_EQ(sensor.requests[0].Byte(RequestOffset::Data), 33);
}

TEST_F(DeviceProceduresTest, UnknownModeSendsNothingAndShowsNothing)
{
    ScriptedZOKSensor sensor;
    EXPECT_FALSE(SetOperatingMode(sensor, 5, "PW", TRUE));
    EXPECT_FALSE(SetOperatingModeValue(sensor, 5, 1, "PW", TRUE));
    EXPECT_TRUE(sensor.requests.empty());
    EXPECT_TRUE(application.texts.empty());
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(DeviceProceduresTest, SessionConnectsWithTheApplicationsChoiceAndEndsIdle)
{
    TestIniFile ini("[SETUP]\nPort=9\nBaud=19200\n");
    FakeProcedureApplication simulating(TRUE, ini.Path());
    CZOKSensor sensor;

    ASSERT_TRUE(ConnectSensor(sensor, TRUE));
    EXPECT_TRUE(sensor.IsSimulated());
    EXPECT_TRUE(sensor.IsLoaded());
    EXPECT_TRUE(sensor.IsOpen());
    EXPECT_EQ(sensor.GetIniPath(), CString(ini.Path()));
    EXPECT_TRUE(TestConnection(sensor, TRUE));

    EXPECT_TRUE(DisconnectSensor(sensor, TRUE));
    EXPECT_FALSE(sensor.IsOpen());
    EXPECT_FALSE(sensor.IsLoaded());
    const std::vector<CString> expected = {Text(kLoadStatus),  Text(kOpenStatus), Text(kTestStatus),
                                           Text(kCloseStatus), Text(kFreeStatus), Text(kIdleText)};
    EXPECT_EQ(simulating.texts, expected);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(DeviceProceduresTest, DisconnectOfANeverConnectedDeviceStillEndsIdle)
{
    CZOKSensor sensor;
    EXPECT_TRUE(DisconnectSensor(sensor, TRUE));
    ASSERT_FALSE(application.texts.empty());
    EXPECT_EQ(application.texts.back(), Text(kIdleText));
}

TEST_F(DeviceProceduresTest, NoApplicationMeansNoStatusText)
{
    SetProcedureApplication(nullptr);
    ScriptedZOKSensor sensor;
    EXPECT_FALSE(TestConnection(sensor, FALSE));
    SetProcedureApplication(&application);
    EXPECT_TRUE(application.texts.empty());
}

} // namespace
