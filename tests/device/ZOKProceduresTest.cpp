// The ZOK procedures with more than one step: the parameter download with its questions,
// the field write with its pending-field confirmation, the default system, and the
// device check.
#include "ProcedureTestSupport.h"
#include "device/ZOKProcedures.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CSensorType.h"
#include "model/CZOKParameters.h"

#include <gtest/gtest.h>

using namespace ProcedureText;

namespace {

class ZOKProceduresTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(english.Loaded()); }

    std::vector<UINT> QuestionIds() const
    {
        std::vector<UINT> ids;
        for (const MessageBoxRecord& box : ui.MessageBoxes())
            if (box.flags == (MB_YESNO | MB_ICONQUESTION)) ids.push_back(box.helpId);
        return ids;
    }

    static CZOKParameters Parameters(std::initializer_list<std::pair<std::size_t, BYTE>> bytes)
    {
        CZOKParameters parameters;
        BYTE data[CZOKParameters::kSize];
        std::copy(parameters.GetData(), parameters.GetData() + CZOKParameters::kSize, data);
        for (const auto& [offset, value] : bytes) data[offset] = value;
        parameters.SetData(data, CZOKParameters::kSize);
        return parameters;
    }

    EnglishTexts english;
    FakeProcedureApplication application;
    ScriptedUi ui;
};

TEST_F(ZOKProceduresTest, ParameterDownloadToTheSimulatorAsksInOrder)
{
    TestIniFile ini("[SETUP]\nPort=9\nBaud=19200\n");
    CZOKSensor sensor(1);
    ASSERT_TRUE(sensor.Load(ini.Path()));
    ASSERT_TRUE(sensor.Open());
    ui.QueueAnswers({IDYES, IDYES, IDYES, IDYES, IDYES});

    // The defaults are what the simulated scanner holds, so it stays as it was.
    EXPECT_TRUE(SendZOKParameters(sensor, CZOKParameters()));
    // Firmware 3.20 lies in the window: the variant is asked for.
    const std::vector<UINT> expected = {kConfirm67, kConfirm60On, kConfirmVariant0, kConfirmMode0, kConfirmScans};
    EXPECT_EQ(QuestionIds(), expected);
    ASSERT_EQ(ui.MessageBoxes().size(), 5u);
    CString first;
    AfxFormatString1(first, kConfirm67, "0");
    EXPECT_EQ(ui.MessageBoxes()[0].text, first);
    CString scans;
    AfxFormatString1(scans, kConfirmScans, "2");
    EXPECT_EQ(ui.MessageBoxes()[4].text, scans);
    EXPECT_EQ(application.texts.front(), Text(kParameterStatus));
}

TEST_F(ZOKProceduresTest, ParameterQuestionsFollowTheValuesAndTheFirmware)
{
    struct Case {
        const char* name;
        std::string firmware;
        CZOKParameters parameters;
        std::vector<UINT> questions;
        std::vector<BYTE> commands;
    };
    const Case cases[] = {
        {"defaults outside the window (4.05)", "04.05   ", CZOKParameters(),
         {kConfirm67, kConfirm60On, kConfirmMode0, kConfirmScans},
         {0x67, 0x60, 0x61, 0x31, 0x44, 0x47, 0x63, 0x64, 0x66, 0x65, 0x62}},
        {"value 60 off, variant 1, mode 2", "04.06   ", Parameters({{4, 0}, {9, 1}, {1, 2}}),
         {kConfirm67, kConfirm60Off, kConfirmVariant1, kConfirmMode2, kConfirmScans},
         {0x67, 0x60, 0x61, 0x31, 0x69, 0x6A, 0x44, 0x47, 0x63, 0x64, 0x66, 0x65, 0x62}},
        {"mode 1 with its delay", "03.05   ", Parameters({{1, 1}, {2, 0xE8}, {3, 0x03}}),
         {kConfirm67, kConfirm60On, kConfirmMode1, kConfirmScans},
         {0x67, 0x60, 0x61, 0x31, 0x44, 0x47, 0x63, 0x64, 0x66, 0x65, 0x62}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AcceptingZOKSensor sensor;
        sensor.firmware = c.firmware;
        ui.ClearMessageBoxes();
        ui.QueueAnswers({IDYES, IDYES, IDYES, IDYES, IDYES});
        EXPECT_TRUE(SendZOKParameters(sensor, c.parameters));
        EXPECT_EQ(QuestionIds(), c.questions);
        EXPECT_EQ(sensor.Commands(), c.commands);
    }
    // The delay 1000 / 200 = 5 s is shown and sent.
    const MessageBoxRecord& mode = ui.MessageBoxes()[2];
    CString text;
    AfxFormatString1(text, kConfirmMode1, "5");
    EXPECT_EQ(mode.text, text);
}

// The question names the delay of the record; a delay the command cannot carry goes out
// held at 255 s, and the question says so.
TEST_F(ZOKProceduresTest, DelayQuestionShowsTheRecordsDelayAndTheLimit)
{
    struct Case {
        const char* name;
        BYTE low;
        BYTE high;
        UINT question;
        const char* shown;
        const char* sent; // %2 of the limited question
        BYTE sentDelay;
    };
    const Case cases[] = {
        {"65535 / 200 = 327 s", 0xFF, 0xFF, kConfirmMode1Limited, "327", "255", 255},
        {"51200 / 200 = 256 s", 0x00, 0xC8, kConfirmMode1Limited, "256", "255", 255},
        {"51000 / 200 = 255 s fits", 0x38, 0xC7, kConfirmMode1, "255", nullptr, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AcceptingZOKSensor sensor;
        sensor.firmware = "04.05   ";
        ui.ClearMessageBoxes();
        ui.QueueAnswers({IDYES, IDYES, IDYES, IDYES});
        SendZOKParameters(sensor, Parameters({{1, 1}, {2, c.low}, {3, c.high}}));
        ASSERT_GE(ui.MessageBoxes().size(), 3u);
        const MessageBoxRecord& question = ui.MessageBoxes()[2];
        EXPECT_EQ(question.helpId, c.question);
        CString expected;
        if (c.sent)
            AfxFormatString2(expected, c.question, c.shown, c.sent);
        else
            AfxFormatString1(expected, c.question, c.shown);
        EXPECT_EQ(question.text, expected);
        EXPECT_NE(question.text.Find(c.shown), -1);
        for (const SensorRequest& request : sensor.requests)
            if (request.Command() == 0x44) {
                EXPECT_EQ(request.Byte(10), c.sentDelay);
            }
    }
}

// Only bit 0 of the record's variant byte is a variant: 2 asks for and sends the standard
// variant, 3 the second one.
TEST_F(ZOKProceduresTest, VariantOfTheRecordIsItsBitZero)
{
    const std::pair<BYTE, UINT> cases[] = {{2, kConfirmVariant0}, {3, kConfirmVariant1}, {0xFE, kConfirmVariant0}};
    for (const auto& [variant, question] : cases) {
        SCOPED_TRACE(int(variant));
        AcceptingZOKSensor sensor;
        ui.ClearMessageBoxes();
        ui.QueueAnswers({IDYES, IDYES, IDYES, IDYES, IDYES});
        EXPECT_TRUE(SendZOKParameters(sensor, Parameters({{9, variant}})));
        ASSERT_EQ(QuestionIds().size(), 5u);
        EXPECT_EQ(QuestionIds()[2], question);
        for (const SensorRequest& request : sensor.requests)
            if (request.Command() == 0x69 || request.Command() == 0x6A) {
                EXPECT_EQ(request.Byte(9), variant & 1) << int(request.Command());
            }
    }
}

TEST_F(ZOKProceduresTest, CancelledCommandStillOffersTheRestAndFails)
{
    AcceptingZOKSensor sensor;
    sensor.failures[0x67] = 1;
    ui.QueueAnswers({IDYES, IDCANCEL, IDYES, IDYES, IDYES, IDYES});
    EXPECT_FALSE(SendZOKParameters(sensor, CZOKParameters()));
    const std::vector<UINT> expected = {kConfirm67, kConfirm60On, kConfirmVariant0, kConfirmMode0, kConfirmScans};
    EXPECT_EQ(QuestionIds(), expected);
    EXPECT_EQ(ui.MessageBoxes()[1].id, kParameterRetry);
    EXPECT_EQ(sensor.Commands().back(), 0x62);
    EXPECT_EQ(ui.PendingAnswers(), 0u);
}

TEST_F(ZOKProceduresTest, NoEndsTheDownloadAtOnce)
{
    AcceptingZOKSensor sensor;
    ui.QueueAnswers({IDYES, IDNO});
    EXPECT_FALSE(SendZOKParameters(sensor, CZOKParameters()));
    EXPECT_EQ(sensor.Commands(), std::vector<BYTE>{0x67});
}

TEST_F(ZOKProceduresTest, RefusedFieldWriteSaysWhy)
{
    AcceptingZOKSensor sensor;
    sensor.statuses[0x40] = 4;
    ui.QueueAnswer(IDCANCEL);
    CArcShelter field;
    field.Initialize(CSensorType(4, 0), 300, 1);
    EXPECT_EQ(WriteZOKField(sensor, &field, TRUE), nullptr);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, Text(kWriteFieldRetry) + " " + Text(kFieldRefusedNote));
    EXPECT_EQ(ui.MessageBoxes()[0].helpId, kWriteFieldRetry);
}

TEST_F(ZOKProceduresTest, PendingFieldIsConfirmedOnlyOnYes)
{
    CArcShelter field;
    field.Initialize(CSensorType(4, 0), 300, 1);
    for (int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer);
        AcceptingZOKSensor sensor;
        sensor.statuses[0x40] = 2;
        ui.ClearMessageBoxes();
        ui.QueueAnswer(answer);
        const std::unique_ptr<CShelter> written = WriteZOKField(sensor, &field, TRUE);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].id, kConfirmPendingField);
        if (answer == IDYES) {
            ASSERT_NE(written, nullptr);
            EXPECT_EQ(static_cast<const CArcShelter*>(written.get())->GetRadius(), 300);
            EXPECT_EQ(sensor.Commands().back(), 0x41);
            EXPECT_EQ(sensor.requests.back().Byte(RequestOffset::Data), 3);
        } else {
            EXPECT_EQ(written, nullptr);
            EXPECT_NE(sensor.Commands().back(), 0x41);
        }
    }
}

TEST_F(ZOKProceduresTest, AcceptedFieldIsReturnedWithoutQuestion)
{
    AcceptingZOKSensor sensor;
    CArcShelter field;
    field.Initialize(CSensorType(4, 0), 250, 1);
    const std::unique_ptr<CShelter> written = WriteZOKField(sensor, &field, TRUE);
    ASSERT_NE(written, nullptr);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(ZOKProceduresTest, PreviewPromptNamesARefusedField)
{
    AcceptingZOKSensor sensor;
    sensor.statuses[0x41] = 4;
    ui.QueueAnswer(IDCANCEL);
    EXPECT_FALSE(RunZOKCommand41Sub1(sensor, TRUE));
    sensor.statuses[0x41] = 0;
    ui.QueueAnswer(IDCANCEL);
    EXPECT_FALSE(RunZOKCommand41Sub1(sensor, TRUE));
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, kPreviewRefusedRetry);
    EXPECT_EQ(ui.MessageBoxes()[1].id, kPreviewRetry);
}

TEST_F(ZOKProceduresTest, DefaultSystemSendsEveryStepInOrder)
{
    AcceptingZOKSensor sensor;
    EXPECT_TRUE(WriteZOKSystem(sensor));
    const std::vector<BYTE> expected = {0x66, 0x67, 0x65, 0x44, 0x47, 0x62, 0x31, 0x69, 0x6A, 0x63, 0x64,
                                        0x60, 0x61, 0x40, 0x31, 0x41, 0x41, 0x43};
    EXPECT_EQ(sensor.Commands(), expected);
    EXPECT_TRUE(ui.MessageBoxes().empty());

    // The arc of the type's greatest protective distance, then preview and store.
    const SensorRequest& arc = sensor.requests[13];
    EXPECT_EQ(arc.Byte(19), 1);
    const WORD radius = WORD(arc.Byte(26) | arc.Byte(27) << 8);
    EXPECT_EQ(radius, CSensorType(4, 0).GetProtectiveMaxDistance());
    EXPECT_EQ(sensor.requests[15].Byte(RequestOffset::Data), 1);
    EXPECT_EQ(sensor.requests[16].Byte(RequestOffset::Data), 2);
    // The warning contour: 91 beams at 35 cm.
    const SensorRequest& contour = sensor.requests[17];
    EXPECT_EQ(contour.Byte(10) | contour.Byte(11) << 8, 90);
    EXPECT_EQ(contour.Byte(12) | contour.Byte(13) << 8, 35);
}

TEST_F(ZOKProceduresTest, DefaultSystemRefusesAnUnknownTypeAndMarksACancel)
{
    AcceptingZOKSensor unknown;
    unknown.typeCode = 9;
    ui.QueueAnswer(IDCANCEL);
    EXPECT_FALSE(WriteZOKSystem(unknown));
    EXPECT_TRUE(unknown.requests.empty());

    AcceptingZOKSensor refusing;
    refusing.failures[0x41] = 1; // the preview: its Cancel skips the store
    ui.ClearMessageBoxes();
    ui.QueueAnswer(IDCANCEL);
    EXPECT_FALSE(WriteZOKSystem(refusing));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, kParameterRetry);
    const std::vector<BYTE> commands = refusing.Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), BYTE(0x41)), 1);
    EXPECT_EQ(commands.back(), 0x43);
}

TEST_F(ZOKProceduresTest, DeviceCheckComparesIdentificationByte29)
{
    struct Case {
        BYTE actual;
        BYTE expected;
        BOOL passes;
    };
    const Case cases[] = {{0, 5, TRUE}, {5, 0, TRUE}, {5, 5, TRUE}, {5, 6, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.actual) << " against " << int(c.expected));
        ScriptedZOKSensor sensor;
        SensorAnswer identity = DeviceAnswer(0xB1, 0);
        identity.SetByte(AnswerOffset::Data + 29, c.actual);
        sensor.script = {identity};
        ui.ClearMessageBoxes();
        EXPECT_EQ(CheckZOKDeviceType(sensor, c.expected, TRUE), c.passes);
        ASSERT_EQ(ui.MessageBoxes().size(), c.passes ? 0u : 1u);
        if (!c.passes) {
            EXPECT_EQ(ui.MessageBoxes()[0].id, kDeviceMismatch);
        }
    }
    // A failed read fails without the mismatch message.
    ScriptedZOKSensor silent;
    ui.ClearMessageBoxes();
    ui.QueueAnswer(IDCANCEL);
    EXPECT_FALSE(CheckZOKDeviceType(silent, 5, TRUE));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, kIdentificationRetry);
}

} // namespace
