// The shared commands against scripted answers: what each sends, and which answers it
// takes as success.
#include "RecordingSensor.h"
#include "TestIniFile.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

class CSensorCommandTest : public ::testing::Test {
protected:
    CSensorCommandTest()
    {
        sensor.SetSimulated(1); // no port; every answer below comes from the script
        EXPECT_TRUE(sensor.Load(ini.Path()));
        EXPECT_TRUE(sensor.Open());
    }

    TestIniFile ini{"[SETUP]\nPort=9\nBaud=19200\n"};
    RecordingSensor sensor{kFamilyZOK};
};

TEST_F(CSensorCommandTest, PasswordChangeNeedsStatusTwoThenOne)
{
    struct Case {
        std::optional<SensorAnswer> check;
        std::optional<SensorAnswer> commit;
        BOOL result;
        std::size_t sent;
    };
    const Case cases[] = {
        {DeviceAnswer(0xC2, 2), DeviceAnswer(0xC2, 1), TRUE, 2},
        {DeviceAnswer(0xC2, 1), std::nullopt, FALSE, 1},
        {DeviceAnswer(0xC2, 0), std::nullopt, FALSE, 1},
        {DeviceAnswer(0xC3, 2), std::nullopt, FALSE, 1},
        {std::nullopt, std::nullopt, FALSE, 1},
        {DeviceAnswer(0xC2, 2), DeviceAnswer(0xC2, 2), FALSE, 2},
        {DeviceAnswer(0xC2, 2), DeviceAnswer(0xC4, 1), FALSE, 2},
        {DeviceAnswer(0xC2, 2), std::nullopt, FALSE, 2},
    };
    for (const Case& c : cases) {
        sensor.requests.clear();
        sensor.script = {c.check, c.commit};
        EXPECT_EQ(sensor.ChangePassword(0, "NEW_CODE"), c.result);
        ASSERT_EQ(sensor.requests.size(), c.sent);
    }

    const SensorRequest& check = sensor.requests[0];
    EXPECT_EQ(check.Command(), 0x42);
    EXPECT_EQ(check.Byte(9), 0);
    EXPECT_EQ(check.Byte(10), 0);
    EXPECT_EQ(std::string(check.Bytes().begin() + 11, check.Bytes().begin() + 20), std::string("NEW_CODE\0", 9));
    SensorRequest commit = sensor.requests[1];
    EXPECT_EQ(commit.Byte(9), 1);
    commit.SetByte(9, 0);
    EXPECT_EQ(commit, check); // the same data again
}

TEST_F(CSensorCommandTest, AccessRequestNeedsItsAnswerCodeStatusZeroAndTheMarker)
{
    SensorAnswer unmarked = DeviceAnswer(0xA0, 0);
    unmarked.SetWord(AnswerOffset::Marker, 752);
    struct Case {
        std::optional<SensorAnswer> answer;
        BOOL result;
        BYTE lastStatus;
    };
    const Case cases[] = {
        {DeviceAnswer(0xA0, 0), TRUE, 0},  {DeviceAnswer(0xA0, 1), FALSE, 1}, {DeviceAnswer(0xA1, 0), FALSE, 0},
        {DeviceAnswer(0xB1, 7), FALSE, 7}, {unmarked, FALSE, 0},              {std::nullopt, FALSE, 0},
    };
    for (const Case& c : cases) {
        sensor.SetLastStatus(0);
        sensor.script = {c.answer};
        EXPECT_EQ(sensor.Login('0', "BELK_MAR"), c.result);
        EXPECT_EQ(sensor.GetLastStatus(), c.lastStatus);
    }
}

TEST_F(CSensorCommandTest, ErrorListNeedsItsAnswerCodeAndAtMostFortyEightEntries)
{
    SensorAnswer full = DeviceAnswer(0xB2, 48, 0x08);
    full.SetByte(10 + 2 * 47, 3);
    full.SetByte(11 + 2 * 47, 9);
    CSensorErrorList list;
    sensor.script = {full};
    ASSERT_TRUE(sensor.ReadErrorListAt(list, 2));
    EXPECT_EQ(sensor.requests.back().Byte(RequestOffset::Address), 2);
    EXPECT_EQ(list.GetCount(), 48);
    EXPECT_EQ(list.GetClass(47), 3);
    EXPECT_EQ(list.GetCode(47), 9);
    EXPECT_EQ(list.GetFamily(), kFamilyKVR);

    sensor.script = {DeviceAnswer(0xB2, 49)};
    EXPECT_FALSE(sensor.ReadErrorList(list));
    sensor.script = {DeviceAnswer(0xB3, 0)};
    EXPECT_FALSE(sensor.ReadErrorList(list));
    EXPECT_EQ(list.GetCount(), 48);
}

TEST_F(CSensorCommandTest, ProbeAnsweredByTheOtherFamilyFailsWithoutScanning)
{
    sensor.script = {DeviceAnswer(0xB1, 0, 0x08)};
    EXPECT_FALSE(sensor.ProbeFamily(kFamilyZOK, TRUE));
    EXPECT_EQ(sensor.requests.size(), 1u);
    EXPECT_EQ(ini.Value("SETUP", "Baud"), CString("19200"));
    EXPECT_EQ(sensor.GetFamily(), kFamilyZOK);

    // The answer code is not looked at; the status bit decides.
    sensor.script = {DeviceAnswer(0x92, 0, 0x08)};
    EXPECT_TRUE(sensor.ProbeFamily(kFamilyKVR, FALSE));
    EXPECT_EQ(sensor.requests.back().Family(), kFamilyKVR);
    EXPECT_EQ(sensor.GetFamily(), kFamilyZOK); // restored after the probe
}

TEST_F(CSensorCommandTest, UnknownFamilyIsDetectedThenProbedAgain)
{
    RecordingSensor unknown;
    unknown.SetSimulated(1);
    ASSERT_TRUE(unknown.Load(ini.Path()));
    ASSERT_TRUE(unknown.Open());
    unknown.script = {std::nullopt, DeviceAnswer(0xB1, 0, 0x08), DeviceAnswer(0xB1, 0, 0x08)};
    EXPECT_TRUE(unknown.EnsureFamily(FALSE));
    EXPECT_EQ(unknown.GetFamily(), kFamilyKVR);
    ASSERT_EQ(unknown.requests.size(), 3u);
    EXPECT_EQ(unknown.requests[0].Family(), kFamilyZOK);
    EXPECT_EQ(unknown.requests[1].Family(), kFamilyKVR);
    EXPECT_EQ(unknown.requests[2].Family(), kFamilyKVR);

    RecordingSensor silent;
    silent.SetSimulated(1);
    ASSERT_TRUE(silent.Load(ini.Path()));
    ASSERT_TRUE(silent.Open());
    silent.script = {std::nullopt, std::nullopt};
    EXPECT_FALSE(silent.EnsureFamily(FALSE));
    EXPECT_EQ(silent.GetFamily(), CSensor::kUnknownFamily);
    EXPECT_EQ(silent.requests.size(), 2u);
}

} // namespace
