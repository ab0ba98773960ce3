// Sessions with the simulate flag: the driver instance is loaded, but no port is opened
// and every exchange, type and capability query goes to the simulator library.
#include "RecordingSensor.h"
#include "TestIniFile.h"

#include <gtest/gtest.h>

namespace {

class CSensorSimulatedTest : public ::testing::Test {
protected:
    void Connect(RecordingSensor& sensor)
    {
        sensor.SetSimulated(1);
        ASSERT_TRUE(sensor.Load(ini.Path()));
        ASSERT_TRUE(sensor.Open());
    }

    TestIniFile ini{"[SETUP]\nPort=9\nBaud=19200\n"};
};

TEST_F(CSensorSimulatedTest, UnknownFamilyDetectsTheSimulatedScannerWithOneProbe)
{
    RecordingSensor sensor;
    Connect(sensor);
    ASSERT_TRUE(sensor.DetectFamily(FALSE));
    EXPECT_EQ(sensor.GetFamily(), kFamilyZOK);
    ASSERT_EQ(sensor.requests.size(), 1u);
    EXPECT_EQ(sensor.requests[0].Command(), 0x31);
    EXPECT_EQ(sensor.requests[0].Family(), kFamilyZOK);
    EXPECT_EQ(sensor.requests[0].Marker(), kRequestMarker);
}

TEST_F(CSensorSimulatedTest, EnsureFamilyProbesAgainAfterDetecting)
{
    RecordingSensor unknown;
    Connect(unknown);
    EXPECT_TRUE(unknown.EnsureFamily(TRUE));
    EXPECT_EQ(unknown.requests.size(), 2u);

    RecordingSensor unit(kFamilyKVR);
    Connect(unit);
    EXPECT_TRUE(unit.EnsureFamily(TRUE));
    ASSERT_EQ(unit.requests.size(), 1u);
    EXPECT_EQ(unit.requests[0].Family(), kFamilyKVR);
}

TEST_F(CSensorSimulatedTest, PortIsNeverOpenedAndTypesComeFromTheSimulator)
{
    RecordingSensor sensor(kFamilyZOK);
    EXPECT_FALSE(sensor.Open()); // nothing loaded yet
    Connect(sensor);
    EXPECT_TRUE(sensor.IsOpen());
    EXPECT_FALSE(sensor.Query()); // the driver's port stayed closed
    EXPECT_EQ(sensor.GetSensorTypeCode(), 4);
    EXPECT_EQ(sensor.GetCaps(6), 360);
    EXPECT_EQ(sensor.GetCaps(8), 3);
    EXPECT_TRUE(sensor.Close());
    EXPECT_FALSE(sensor.IsOpen());
    EXPECT_TRUE(sensor.Free());
    EXPECT_FALSE(sensor.IsLoaded());
}

TEST_F(CSensorSimulatedTest, FreeWhileOpenFailsAndChangesNothing)
{
    RecordingSensor sensor(kFamilyZOK);
    Connect(sensor);
    EXPECT_FALSE(sensor.Free());
    EXPECT_TRUE(sensor.IsLoaded());
    EXPECT_TRUE(sensor.IsOpen());
    EXPECT_TRUE(sensor.TestConnection());
}

TEST_F(CSensorSimulatedTest, NothingIsSentWithoutAnOpenPort)
{
    RecordingSensor sensor(kFamilyZOK);
    sensor.SetSimulated(1);
    EXPECT_FALSE(sensor.TestConnection());
    ASSERT_TRUE(sensor.Load(ini.Path()));
    EXPECT_FALSE(sensor.TestConnection());
    SensorAnswer answer;
    EXPECT_FALSE(sensor.ReceiveTelegram(answer.Bytes()));
    EXPECT_TRUE(sensor.requests.empty());

    ASSERT_TRUE(sensor.Open());
    answer.SetByte(0, 0x77);
    EXPECT_TRUE(sensor.ReceiveTelegram(answer.Bytes())); // nothing to collect from the simulator
    EXPECT_EQ(answer.Byte(0), 0x77);
}

TEST_F(CSensorSimulatedTest, AccessRequestsSucceedOnStatusZero)
{
    RecordingSensor sensor(kFamilyZOK);
    Connect(sensor);
    EXPECT_TRUE(sensor.Login('1', "MIRTOVAL"));
    EXPECT_EQ(sensor.GetLastStatus(), 0);
    EXPECT_FALSE(sensor.Login('1', "BELK_MAR"));
    EXPECT_EQ(sensor.GetLastStatus(), 1);
    EXPECT_TRUE(sensor.SendMode2Code("MIRTOVAL"));
    EXPECT_TRUE(sensor.SetOperatingMode(0x21, nullptr));
    EXPECT_TRUE(sensor.SetOperatingModeValue(0x10, 3, "MIRTOVAL"));

    ASSERT_EQ(sensor.requests.size(), 5u);
    const SensorRequest& login = sensor.requests[0];
    EXPECT_EQ(login.Command(), 0x20);
    EXPECT_EQ(login.Byte(9), '1');
    EXPECT_EQ(std::string(login.Bytes().begin() + 10, login.Bytes().begin() + 19), std::string("MIRTOVAL\0", 9));
    EXPECT_EQ(sensor.requests[2].Byte(9), 2);
    const SensorRequest& logout = sensor.requests[3];
    EXPECT_EQ(logout.Byte(9), 0x21);
    for (std::size_t i = 10; i < 19; ++i)
        EXPECT_EQ(logout.Byte(i), 0) << i;
    EXPECT_EQ(sensor.requests[4].Byte(RequestOffset::Address), 3);
    EXPECT_EQ(sensor.requests[3].Byte(RequestOffset::Address), 0);
}

TEST_F(CSensorSimulatedTest, UserPasswordChangeReachesTheDevice)
{
    RecordingSensor sensor(kFamilyKVR);
    Connect(sensor);
    ASSERT_TRUE(sensor.ChangePassword(1, "NEW_USER"));
    EXPECT_TRUE(sensor.Login('2', "NEW_USER"));
    EXPECT_FALSE(sensor.Login('2', "BELK_MAR"));
    ASSERT_TRUE(sensor.ChangePassword(1, "BELK_MAR")); // the simulator lives on for other tests
    EXPECT_TRUE(sensor.Login('2', "BELK_MAR"));
}

TEST_F(CSensorSimulatedTest, ErrorListNamesTheAnsweringFamily)
{
    for (BYTE family : {kFamilyZOK, kFamilyKVR}) {
        RecordingSensor sensor(family);
        Connect(sensor);
        CSensorErrorList list;
        ASSERT_TRUE(sensor.ReadErrorList(list));
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_EQ(list.GetFamily(), family);
    }
}

TEST(CSensorTypeCodeTest, InterfaceUnitCodesReadAsTheirScannerTypes)
{
    const std::pair<int, int> cases[] = {{132, 4}, {135, 7}, {178, 50}, {4, 4}, {7, 7}, {50, 50}, {0, 0}, {133, 133}};
    for (const auto& [reported, expected] : cases) {
        RecordingSensor sensor(kFamilyKVR);
        sensor.typeCode = reported;
        EXPECT_EQ(sensor.GetSensorTypeCode(), expected) << reported;
    }
}

} // namespace
