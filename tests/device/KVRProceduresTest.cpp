// The KVR procedures: the device check against identification byte 23, and the prompts
// of the pending-field preview.
#include "ProcedureTestSupport.h"
#include "device/KVRProcedures.h"

#include <gtest/gtest.h>

using namespace ProcedureText;

namespace {

class KVRProceduresTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(english.Loaded()); }

    EnglishTexts english;
    FakeProcedureApplication application;
    ScriptedUi ui;
};

TEST_F(KVRProceduresTest, DeviceCheckComparesIdentificationByte23)
{
    struct Case {
        BYTE actual;
        BYTE expected;
        BOOL prompt;
        BOOL passes;
    };
    const Case cases[] = {{0, 3, TRUE, TRUE}, {3, 0, TRUE, TRUE}, {3, 3, TRUE, TRUE}, {3, 4, TRUE, FALSE},
                          {3, 4, FALSE, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.actual) << " against " << int(c.expected));
        ScriptedKVRSensor sensor;
        SensorAnswer identity = DeviceAnswer(0xB1, 0);
        identity.SetByte(AnswerOffset::Data + 23, c.actual);
        sensor.script = {identity};
        ui.ClearMessageBoxes();
        EXPECT_EQ(CheckKVRDeviceType(sensor, c.expected, c.prompt), c.passes);
        const bool shown = !c.passes && c.prompt;
        ASSERT_EQ(ui.MessageBoxes().size(), shown ? 1u : 0u);
        if (shown) {
            EXPECT_EQ(ui.MessageBoxes()[0].id, kDeviceMismatch);
        }
    }
}

TEST_F(KVRProceduresTest, IdentificationIsTriedThreeTimesPerPrompt)
{
    ScriptedKVRSensor sensor;
    ui.QueueAnswers({IDRETRY, IDCANCEL});
    CKVRIdentity identity;
    EXPECT_FALSE(ReadKVRIdentification(sensor, identity, TRUE));
    EXPECT_EQ(sensor.requests.size(), 6u);
    EXPECT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(application.texts.front(), Text(kIdentificationStatus));
}

TEST_F(KVRProceduresTest, PreviewPromptNamesARefusedField)
{
    for (BYTE status : {BYTE(4), BYTE(0)}) {
        ScriptedKVRSensor sensor;
        SensorAnswer answer = DeviceAnswer(0xC1, status);
        answer.SetByte(AnswerOffset::Data + 1, 2); // field pair echoed
        answer.SetByte(AnswerOffset::Data + 2, 1); // selector echoed
        sensor.script = {answer};
        ui.ClearMessageBoxes();
        ui.QueueAnswer(IDCANCEL);
        EXPECT_FALSE(RunKVRCommand41Sub1(sensor, 1, 2, TRUE));
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].id, status == 4 ? kPreviewRefusedRetry : kPreviewRetry);
    }
}

} // namespace
