#include "simulator/internal/CZOKDevice.h"

#include "ScriptedRandom.h"
#include "SimRecords.h"
#include "framework/core/CArchive.h"
#include "framework/core/CMemFile.h"
#include "simulator/orusim.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class CZOKDeviceTest : public ::testing::Test {
protected:
    SensorAnswer Ask(const SensorRequest& request)
    {
        SensorAnswer answer;
        std::fill(answer.Bytes().begin(), answer.Bytes().end(), BYTE(0xEE));
        EXPECT_EQ(device.Telegram(request.Bytes(), answer.Bytes()), 1);
        return answer;
    }
    SensorAnswer Login(BYTE level, const char* code)
    {
        SensorRequest request = SimRequest(kFamilyZOK, 0x20, {{9, level}});
        PutText(request, 10, code);
        return Ask(request);
    }
    SensorAnswer ChangeCode(BYTE step, BYTE kind, const char* code)
    {
        SensorRequest request = SimRequest(kFamilyZOK, 0x42, {{9, step}, {10, kind}});
        PutText(request, 11, code);
        return Ask(request);
    }

    SensorAnswer Identification() { return Ask(SimRequest(kFamilyZOK, 0x31)); }

    CZOKDevice device;
};

// Identification bytes that show each setting of the scanner.
constexpr std::size_t kIdPairMode = 29;
constexpr std::size_t kIdPairDelay = 30; // times 200
constexpr std::size_t kIdOptionB = 28;   // the 0x65 value
constexpr std::size_t kIdValue61 = 32;
constexpr std::size_t kIdValue62 = 33;
constexpr std::size_t kIdScansMinusOne = 34;
constexpr std::size_t kIdValue66 = 37;
constexpr std::size_t kIdValue67 = 38;
constexpr std::size_t kIdValue6A = 39;
constexpr std::size_t kIdValue68 = 40;

TEST_F(CZOKDeviceTest, AnswerHeaderClearsTheRecordUpToByte752)
{
    const SensorAnswer answer = Ask(SimRequest(kFamilyZOK, 0x10));
    EXPECT_EQ(answer.Marker(), kAnswerMarker);
    EXPECT_EQ(answer.Status(), 0x00);
    EXPECT_EQ(answer.Command(), 0x91);
    for (std::size_t i = 2; i < 753; ++i)
        ASSERT_EQ(answer.Byte(i), i == AnswerOffset::Command ? 0x91 : 0) << i;
    EXPECT_EQ(answer.Byte(753), 0xEE);
}

TEST_F(CZOKDeviceTest, OtherFamiliesAndUnservedCommandsGetNoAnswer)
{
    SensorAnswer answer;
    EXPECT_EQ(device.Telegram(SimRequest(kFamilyKVR, 0x10).Bytes(), answer.Bytes()), 0);
    EXPECT_EQ(device.Telegram(SimRequest(kFamilyZOK, 0x38).Bytes(), answer.Bytes()), 0);
    EXPECT_EQ(answer, SensorAnswer());
}

TEST_F(CZOKDeviceTest, IdentificationReportsTheScannersSettings)
{
    const SensorAnswer answer = Ask(SimRequest(kFamilyZOK, 0x31));
    EXPECT_EQ(answer.Command(), 0xB1);
    EXPECT_EQ(AnswerText(answer, 9, 8), "03.20");
    EXPECT_EQ(answer.Byte(17), 0x23); // operating mode
    EXPECT_EQ(AnswerText(answer, 19, 9), "PC - SIM");
    EXPECT_EQ(answer.Byte(27), 0);
    const std::pair<std::size_t, BYTE> bytes[] = {{18, 0}, {28, 1}, {29, 0}, {32, 1}, {33, 0},
                                                  {34, 1}, {37, 0}, {38, 0}, {39, 0}, {40, 1}};
    for (const auto& [offset, value] : bytes)
        EXPECT_EQ(answer.Byte(offset), value) << offset;
    EXPECT_EQ(answer.Word(30), 400); // delay 2 x 200
    EXPECT_EQ(answer.Word(35), 66);
    EXPECT_EQ(answer.Byte(41), 0);
}

TEST_F(CZOKDeviceTest, AccessRequestComparesTheLevelsCode)
{
    struct Case {
        BYTE level;
        const char* code;
        BYTE status;
    };
    const Case cases[] = {
        {'1', "MIRTOVAL", 0}, {'1', "BELK_MAR", 1}, {'0', "BELK_MAR", 0}, {'2', "BELK_MAR", 0},
        {'0', "BELK_MA", 1},  {'0', "BELK_MARX", 1}, {'0', "", 1},
    };
    for (const Case& c : cases) {
        const SensorAnswer answer = Login(c.level, c.code);
        EXPECT_EQ(answer.Command(), 0xA0);
        EXPECT_EQ(answer.Byte(9), c.status) << c.level << " " << c.code;
    }
    EXPECT_EQ(device.GetOperatingMode(), 0x23);
}

TEST_F(CZOKDeviceTest, ModeSubCodesSetTheOperatingModeAndOthersDoNot)
{
    for (BYTE mode : {BYTE(0x21), BYTE(0x10), BYTE(2), BYTE(0x25), BYTE(0)}) {
        EXPECT_EQ(Ask(SimRequest(kFamilyZOK, 0x20, {{9, mode}})).Byte(9), 0);
        EXPECT_EQ(device.GetOperatingMode(), mode);
    }
    for (BYTE other : {BYTE(0x40), BYTE(0x48), BYTE(0x26), BYTE(3), BYTE(0xFF)}) {
        EXPECT_EQ(Ask(SimRequest(kFamilyZOK, 0x20, {{9, other}})).Byte(9), 0);
        EXPECT_EQ(device.GetOperatingMode(), 0);
    }
}

TEST_F(CZOKDeviceTest, DeviceCodeChangesOnlyWhenTheSecondStepRepeatsIt)
{
    SensorAnswer answer = ChangeCode(0, 0, "NEWCODE1");
    EXPECT_EQ(answer.Command(), 0xC2);
    EXPECT_EQ(answer.Byte(9), 2);
    EXPECT_EQ(answer.Byte(10), 0);

    EXPECT_EQ(ChangeCode(1, 0, "OTHER123").Byte(9), 0);
    EXPECT_EQ(Login('0', "BELK_MAR").Byte(9), 0);

    EXPECT_EQ(ChangeCode(1, 0, "NEWCODE1").Byte(9), 1);
    EXPECT_EQ(Login('0', "NEWCODE1").Byte(9), 0);
    EXPECT_EQ(Login('0', "BELK_MAR").Byte(9), 1);
    EXPECT_EQ(Login('2', "BELK_MAR").Byte(9), 0); // the user code is separate
}

TEST_F(CZOKDeviceTest, UserCodeIsTakenWithoutComparisonAndCodesAreCutToEight)
{
    EXPECT_EQ(ChangeCode(1, 1, "USERCODE_TOO_LONG").Byte(9), 1);
    EXPECT_EQ(Login('2', "USERCODE").Byte(9), 0);
    EXPECT_EQ(ChangeCode(1, 2, "USERCODE").Byte(9), 0); // unknown kind
    const SensorAnswer other = ChangeCode(7, 5, "X");
    EXPECT_EQ(other.Byte(9), 0);
    EXPECT_EQ(other.Byte(10), 5);
}

TEST_F(CZOKDeviceTest, ErrorListIsEmpty)
{
    const SensorAnswer answer = Ask(SimRequest(kFamilyZOK, 0x32));
    EXPECT_EQ(answer.Command(), 0xB2);
    EXPECT_EQ(answer.Byte(9), 0);
}

TEST_F(CZOKDeviceTest, ScanAddsUpToTwentyFiveCentimetresToTheBaseValues)
{
    ScriptedRandom random({0, 25, 26, 51});
    const SensorAnswer answer = Ask(SimRequest(kFamilyZOK, 0x30, {{10, 1}}));
    EXPECT_EQ(random.seeds, 1);
    EXPECT_EQ(answer.Command(), 0xB0);
    EXPECT_EQ(answer.Word(10), 361);
    EXPECT_EQ(answer.Word(12), 500);
    EXPECT_EQ(answer.Word(14), 525);
    EXPECT_EQ(answer.Word(16), 500);
    EXPECT_EQ(answer.Word(18), 525);
    EXPECT_EQ(answer.Word(12 + 2 * 360), 500);
}

TEST_F(CZOKDeviceTest, TeachInScanBecomesTheScanRecord)
{
    ScriptedRandom random({25});
    const SensorAnswer answer = Ask(SimRequest(kFamilyZOK, 0x30, {{10, 3}}));
    EXPECT_EQ(answer.Word(10), 361);
    EXPECT_EQ(answer.Word(12), 400);
    EXPECT_EQ(answer.Word(14), 375);
    const SimFieldRecord& scan = device.MeasuredValues().ScanRecord();
    EXPECT_EQ(scan.shape, SIM_SHAPE_BEAMS);
    EXPECT_EQ(scan.parameter, 361);
    EXPECT_EQ(scan.values[0], 400);
    EXPECT_EQ(scan.values[360], 375);
}

TEST_F(CZOKDeviceTest, VerificationMarksATenthOfTheContourPerRequest)
{
    const SensorRequest request = SimRequest(kFamilyZOK, 0x30, {{10, 4}});
    auto markedWords = [](const SensorAnswer& answer) {
        int marked = 0;
        for (std::size_t i = 0; i < 361; ++i)
            marked += (answer.Word(12 + 2 * i) & 0xC000) == 0xC000;
        return marked;
    };
    SensorAnswer answer = Ask(request);
    EXPECT_EQ(markedWords(answer), 36);
    EXPECT_EQ(answer.Word(12), 0xC000 | 400);
    EXPECT_EQ(answer.Word(12 + 2 * 36), 400);
    for (int i = 2; i <= 11; ++i)
        answer = Ask(request);
    EXPECT_EQ(markedWords(answer), 361);
    EXPECT_EQ(Ask(request), answer); // nothing more to mark
}

TEST_F(CZOKDeviceTest, UnknownMeasuredKindIsNotServed)
{
    for (BYTE kind : {0, 2, 5, 200}) {
        const SensorAnswer answer = Ask(SimRequest(kFamilyZOK, 0x30, {{10, kind}}));
        EXPECT_EQ(answer.Command(), 0x92);
        EXPECT_EQ(answer.Word(10), 0);
    }
}

TEST_F(CZOKDeviceTest, TwoStepWritesAreCheckedFirstAndStoredOnlyByTheSecondStep)
{
    struct Case {
        BYTE check;
        BYTE store;
        BYTE answerCommand;
        BYTE value;
        std::size_t idOffset;
        BYTE shown;
    };
    const Case cases[] = {
        {0x60, 0x61, 0xE0, 0, kIdValue61, 0},
        {0x63, 0x64, 0xE4, 16, kIdScansMinusOne, 15},
        {0x63, 0x64, 0xE4, 2, kIdScansMinusOne, 1},
        {0x69, 0x6A, 0xE9, 1, kIdValue6A, 1},
    };
    for (const Case& c : cases) {
        const SensorAnswer before = Identification();
        const SensorAnswer checked = Ask(SimRequest(kFamilyZOK, c.check, {{9, c.value}}));
        EXPECT_EQ(checked.Command(), c.answerCommand);
        EXPECT_EQ(checked.Byte(9), 2);
        EXPECT_EQ(checked.Byte(10), c.value);
        EXPECT_EQ(Identification(), before) << "check stored " << int(c.check);

        const SensorAnswer stored = Ask(SimRequest(kFamilyZOK, c.store, {{9, c.value}}));
        EXPECT_EQ(stored.Command(), c.answerCommand);
        EXPECT_EQ(stored.Byte(9), 1);
        EXPECT_EQ(stored.Byte(10), c.value);
        EXPECT_EQ(Identification().Byte(c.idOffset), c.shown) << int(c.store);
    }
}

TEST_F(CZOKDeviceTest, ModeDelayPairIsCheckedThenStored)
{
    const SensorAnswer checked = Ask(SimRequest(kFamilyZOK, 0x44, {{9, 1}, {10, 30}}));
    EXPECT_EQ(checked.Command(), 0xC4);
    EXPECT_EQ(checked.Byte(9), 2);
    EXPECT_EQ(checked.Byte(10), 1);
    EXPECT_EQ(checked.Byte(11), 30);
    EXPECT_EQ(Identification().Word(kIdPairDelay), 400);

    const SensorAnswer stored = Ask(SimRequest(kFamilyZOK, 0x47, {{9, 1}, {10, 30}}));
    EXPECT_EQ(stored.Command(), 0xC4);
    EXPECT_EQ(stored.Byte(9), 1);
    EXPECT_EQ(stored.Byte(10), 1);
    EXPECT_EQ(stored.Byte(11), 30);
    const SensorAnswer identification = Identification();
    EXPECT_EQ(identification.Byte(kIdPairMode), 1);
    EXPECT_EQ(identification.Word(kIdPairDelay), 6000);
}

TEST_F(CZOKDeviceTest, SingleValueSettingsAreStoredAndShownByTheIdentification)
{
    struct Case {
        BYTE command;
        BYTE answerCommand;
        BYTE value;
        std::size_t idOffset;
    };
    const Case cases[] = {
        {0x62, 0xE2, 2, kIdValue62},  {0x65, 0xE5, 0, kIdOptionB}, {0x66, 0xE6, 1, kIdValue66},
        {0x67, 0xE7, 127, kIdValue67}, {0x68, 0xE8, 0, kIdValue68},
    };
    for (const Case& c : cases) {
        const SensorAnswer answer = Ask(SimRequest(kFamilyZOK, c.command, {{9, c.value}}));
        EXPECT_EQ(answer.Command(), c.answerCommand);
        EXPECT_EQ(answer.Byte(9), 1);
        EXPECT_EQ(answer.Byte(10), c.value);
        EXPECT_EQ(Identification().Byte(c.idOffset), c.value) << int(c.command);
    }
}

TEST_F(CZOKDeviceTest, PlainAcknowledgements)
{
    const SensorAnswer reset = Ask(SimRequest(kFamilyZOK, 0x50, {{9, 1}}));
    EXPECT_EQ(reset.Command(), 0xD0);
    EXPECT_EQ(reset.Byte(9), 1);
    const SensorAnswer answer77 = Ask(SimRequest(kFamilyZOK, 0x77, {{9, 1}}));
    EXPECT_EQ(answer77.Command(), 0xF7);
    EXPECT_EQ(answer77.Byte(9), 1);
    EXPECT_EQ(answer77.Byte(10), 1);
}

// Every value outside a setting's range: status 0, the value echoed, nothing stored.
TEST_F(CZOKDeviceTest, OutOfRangeSettingsAreRefusedAndChangeNothing)
{
    struct Case {
        BYTE command;
        BYTE value;
        BYTE delay;
        BYTE answerCommand;
    };
    const Case cases[] = {
        {0x44, 3, 2, 0xC4},  {0x44, 0, 1, 0xC4},  {0x44, 1, 61, 0xC4}, {0x47, 3, 2, 0xC4},
        {0x47, 0, 1, 0xC4},  {0x47, 1, 61, 0xC4}, {0x60, 2, 0, 0xE0},  {0x61, 2, 0, 0xE0},
        {0x62, 3, 0, 0xE2},  {0x63, 1, 0, 0xE4},  {0x63, 17, 0, 0xE4}, {0x64, 1, 0, 0xE4},
        {0x64, 17, 0, 0xE4}, {0x65, 2, 0, 0xE5},  {0x66, 2, 0, 0xE6},  {0x67, 128, 0, 0xE7},
        {0x68, 2, 0, 0xE8},  {0x69, 2, 0, 0xE9},  {0x6A, 255, 0, 0xE9},
    };
    const SensorAnswer before = Identification();
    for (const Case& c : cases) {
        const SensorAnswer answer = Ask(SimRequest(kFamilyZOK, c.command, {{9, c.value}, {10, c.delay}}));
        EXPECT_EQ(answer.Command(), c.answerCommand);
        EXPECT_EQ(answer.Byte(9), 0) << int(c.command) << " " << int(c.value);
        EXPECT_EQ(answer.Byte(10), c.value);
        if (c.answerCommand == 0xC4) {
            EXPECT_EQ(answer.Byte(11), c.delay);
        }
    }
    EXPECT_EQ(Identification(), before);
    EXPECT_EQ(before.Word(kIdPairDelay), 400);
}

// The default configuration as the program reads it through the library's export:
// identification, protective field and warning field.
TEST(CZOKDeviceExportTest, DefaultConfigurationReadsCommandByCommand)
{
    auto ask = [](SensorRequest request) {
        SensorAnswer answer;
        EXPECT_EQ(SimTelegram(request.data(), answer.data()), 1);
        return answer;
    };
    const SensorAnswer identification = ask(SimRequest(kFamilyZOK, 0x31));
    EXPECT_EQ(AnswerText(identification, 9, 8), "03.20");
    EXPECT_EQ(identification.Byte(kIdValue67), 0);       // option byte 1
    EXPECT_EQ(identification.Byte(kIdScansMinusOne), 1); // two scans
    EXPECT_EQ(identification.Byte(kIdValue61), 1);       // option byte 3
    EXPECT_EQ(identification.Byte(kIdOptionB), 1);       // option byte 4
    EXPECT_EQ(identification.Byte(kIdValue62), 0);       // option byte 5
    EXPECT_EQ(identification.Byte(kIdValue66), 0);       // option byte 6
    EXPECT_EQ(identification.Byte(kIdValue6A), 0);       // variant
    EXPECT_EQ(identification.Byte(kIdPairMode), 0);
    EXPECT_EQ(identification.Word(kIdPairDelay), 400);

    const SensorAnswer protective = ask(SimRequest(kFamilyZOK, 0x45, {{10, 0}}));
    EXPECT_EQ(protective.Command(), 0xC5);
    EXPECT_EQ(protective.Byte(19), 1); // arc
    EXPECT_EQ(protective.Byte(20), 1); // defined
    const BYTE time[] = {0, 12, 1, 1};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(protective.Byte(21 + i), time[i]);
    EXPECT_EQ(protective.Word(25), 98);
    EXPECT_EQ(protective.Word(27), 400);
    EXPECT_EQ(protective.Word(29), 0);

    const SensorAnswer warning = ask(SimRequest(kFamilyZOK, 0x45, {{10, 1}}));
    EXPECT_EQ(warning.Command(), 0xC5);
    EXPECT_EQ(warning.Byte(19), 3);
    for (std::size_t i = 20; i <= 26; ++i)
        EXPECT_EQ(warning.Byte(i), 0) << i;
    EXPECT_EQ(warning.Word(27), 180);
    for (std::size_t i = 0; i < 181; ++i)
        ASSERT_EQ(warning.Word(29 + 2 * i), 35) << i;
    EXPECT_EQ(warning.Word(29 + 2 * 181), 0);
}

TEST(CSimDeviceArchiveTest, DevicesArchiveOnlyTheirVersion)
{
    const std::unique_ptr<CObject> created = CRuntimeClass::CreateObject("CZOKDevice");
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(created->IsSerializable());

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CZOKDevice().Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(file.Detach(), std::vector<BYTE>{1});

    for (BYTE version : {0, 2}) {
        CMemFile input(&version, 1);
        CArchive ar(&input, CArchive::load);
        CZOKDevice device;
        try {
            device.Serialize(ar);
            ADD_FAILURE() << "version " << int(version) << " accepted";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
        }
    }
}

} // namespace
