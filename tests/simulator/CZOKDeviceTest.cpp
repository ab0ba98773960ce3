#include "simulator/CZOKDevice.h"

#include "ScriptedRandom.h"
#include "SimRecords.h"
#include "framework/core/CArchive.h"
#include "framework/core/CMemFile.h"

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

    CZOKDevice device;
};

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
