#include "simulator/CKVRDevice.h"

#include "ScriptedRandom.h"
#include "SimRecords.h"
#include "framework/core/CArchive.h"
#include "framework/core/CMemFile.h"

#include <gtest/gtest.h>

namespace {

class CKVRDeviceTest : public ::testing::Test {
protected:
    SensorAnswer Ask(const SensorRequest& request)
    {
        SensorAnswer answer;
        EXPECT_EQ(device.Telegram(request.Bytes(), answer.Bytes()), 1);
        return answer;
    }

    CKVRDevice device;
};

TEST_F(CKVRDeviceTest, AnswersCarryTheFamilyBitAndOnlyFamilyOneIsServed)
{
    EXPECT_EQ(Ask(SimRequest(kFamilyKVR, 0x10)).Status(), 0x08);
    EXPECT_EQ(Ask(SimRequest(kFamilyKVR, 0x32)).Status(), 0x08);
    SensorAnswer answer;
    EXPECT_EQ(device.Telegram(SimRequest(kFamilyZOK, 0x10).Bytes(), answer.Bytes()), 0);
    for (BYTE command : {0x44, 0x47, 0x50, 0x60, 0x65, 0x68, 0x6A, 0x77})
        EXPECT_EQ(device.Telegram(SimRequest(kFamilyKVR, command).Bytes(), answer.Bytes()), 0) << int(command);
}

TEST_F(CKVRDeviceTest, IdentificationReportsTheUnit)
{
    ScriptedRandom random({1, 0});
    const SensorAnswer answer = Ask(SimRequest(kFamilyKVR, 0x31));
    EXPECT_EQ(answer.Command(), 0xB1);
    EXPECT_EQ(AnswerText(answer, 9, 8), "03.11");
    EXPECT_EQ(answer.Byte(17), 0x23);
    EXPECT_EQ(AnswerText(answer, 19, 9), "PC - SIM");
    EXPECT_EQ(answer.Byte(28), 4); // scanner type behind the unit
    EXPECT_EQ(answer.Word(29), 66);
    EXPECT_EQ(answer.Byte(34), 0x01);
    const std::pair<std::size_t, BYTE> bytes[] = {{31, 0}, {32, 0}, {33, 0}, {35, 1}, {36, 1}, {41, 2}, {42, 0}};
    for (const auto& [offset, value] : bytes)
        EXPECT_EQ(answer.Byte(offset), value) << offset;
    EXPECT_EQ(answer.Word(37), 0);
    EXPECT_EQ(answer.Word(39), 0);
}

TEST_F(CKVRDeviceTest, IdentificationDrawsTheActiveCases)
{
    struct Case {
        std::vector<DWORD> draws;
        BYTE activeCases;
    };
    // One case: each draw is 0 or 1; the second is drawn only after a first case.
    const Case cases[] = {{{0, 1}, 0x00}, {{1, 0}, 0x01}, {{1, 1}, 0x11}, {{3, 5}, 0x11}, {{2, 4}, 0x00}};
    for (const Case& c : cases) {
        ScriptedRandom random(c.draws);
        EXPECT_EQ(Ask(SimRequest(kFamilyKVR, 0x31)).Byte(34), c.activeCases);
        EXPECT_EQ(device.GetActiveCases(), c.activeCases);
    }
}

TEST_F(CKVRDeviceTest, MeasuredValuesNameTheActiveCasesSensor)
{
    {
        ScriptedRandom random({1, 1});
        Ask(SimRequest(kFamilyKVR, 0x31)); // both outputs on case 1
    }
    struct Case {
        BYTE requested;
        BYTE kind;
        BYTE selector;
    };
    const Case cases[] = {{0, 1, 1}, {5, 1, 1}, {3, 1, 3}, {0, 3, 1}, {5, 4, 1}, {2, 4, 2}};
    for (const Case& c : cases) {
        const SensorAnswer answer = Ask(SimRequest(kFamilyKVR, 0x30, {{9, c.requested}, {10, c.kind}}));
        EXPECT_EQ(answer.Command(), 0xB0);
        EXPECT_EQ(answer.Byte(9), c.selector) << int(c.requested) << " kind " << int(c.kind);
        EXPECT_EQ(answer.Word(10), 361);
    }

    ScriptedRandom none({0});
    Ask(SimRequest(kFamilyKVR, 0x31));
    EXPECT_EQ(Ask(SimRequest(kFamilyKVR, 0x30, {{9, 0}, {10, 1}})).Byte(9), 0);
    EXPECT_EQ(Ask(SimRequest(kFamilyKVR, 0x30, {{9, 5}, {10, 1}})).Byte(9), 5);
}

TEST_F(CKVRDeviceTest, VerificationMarksThirtySixBeamsAndOtherKindsAreNotServed)
{
    const SensorAnswer answer = Ask(SimRequest(kFamilyKVR, 0x30, {{10, 4}}));
    EXPECT_EQ(answer.Word(12 + 2 * 35), 0xC000 | 400);
    EXPECT_EQ(answer.Word(12 + 2 * 36), 400);
    const SensorAnswer refused = Ask(SimRequest(kFamilyKVR, 0x30, {{9, 1}, {10, 2}}));
    EXPECT_EQ(refused.Command(), 0x92);
    EXPECT_EQ(refused.Byte(9), 0);
}

TEST_F(CKVRDeviceTest, AccessCodesWorkAsTheScanners)
{
    SensorRequest login = SimRequest(kFamilyKVR, 0x20, {{9, '1'}});
    PutText(login, 10, "MIRTOVAL");
    EXPECT_EQ(Ask(login).Byte(9), 0);
    SensorRequest change = SimRequest(kFamilyKVR, 0x42, {{9, 0}, {10, 0}});
    PutText(change, 11, "UNITCODE");
    EXPECT_EQ(Ask(change).Byte(9), 2);
    change.SetByte(9, 1);
    EXPECT_EQ(Ask(change).Byte(9), 1);
    EXPECT_EQ(device.AccessCodes().Code(0), CString("UNITCODE"));
}

TEST_F(CKVRDeviceTest, FirstCaseAfterConstruction)
{
    const SimCaseRecord& first = device.CaseRecord(1);
    EXPECT_EQ(first.sensor, 1);
    EXPECT_EQ(first.fieldPair, 1);
    EXPECT_EQ(first.control, 255);
    EXPECT_EQ(first.outputs, 1);
    EXPECT_EQ(first.scans, 2);
    EXPECT_EQ(first.nextCase1, 255);
    EXPECT_EQ(first.nextCase2, 255);
    EXPECT_EQ(first.highSpeed, -2000);
    EXPECT_EQ(first.lowSpeed, 2000);
}

TEST(CKVRDeviceArchiveTest, ArchiveFormIsTheVersionByte)
{
    const std::unique_ptr<CObject> created = CRuntimeClass::CreateObject("CKVRDevice");
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(created->IsSerializable());

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CKVRDevice().Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes = file.Detach();
    EXPECT_EQ(bytes, std::vector<BYTE>{1});
    bytes[0] = 3;
    CMemFile input(bytes.data(), UINT(bytes.size()));
    CArchive ar(&input, CArchive::load);
    CKVRDevice device;
    EXPECT_THROW(device.Serialize(ar), CArchiveException);
}

} // namespace
