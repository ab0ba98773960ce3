// Device sessions through the real driver over a pseudo-terminal, with the device
// emulator on the other end answering through the simulator library.
#include "TestIniFile.h"
#include "device/CSensor.h"
#include "tools/DeviceEmulator.h"
#include "tools/SimulatorAnswerer.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Answers as the simulator does and notes the baud code the INI file held when each
// request arrived: the pseudo-terminal cannot show the line's rate, the driver writes
// every rate it sets to the INI file before it reopens the port.
class BaudRecordingAnswerer : public DeviceAnswerer {
public:
    explicit BaudRecordingAnswerer(std::string iniPath) : m_iniPath(std::move(iniPath)) {}

    bool Answer(ConstRequestSpan request, AnswerSpan answer) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_bauds.push_back(ReadProfileString("SETUP", "Baud", "", m_iniPath.c_str()).str());
        }
        return m_simulator.Answer(request, answer);
    }

    std::vector<std::string> Bauds() const
    {
        std::lock_guard lock(m_mutex);
        return m_bauds;
    }

private:
    std::string m_iniPath;
    SimulatorAnswerer m_simulator;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_bauds;
};

class SessionOverPtyTest : public ::testing::Test {
protected:
    void StartEmulator(BYTE family)
    {
        auto answerer = std::make_unique<BaudRecordingAnswerer>(ini.Path());
        recorder = answerer.get();
        emulator = std::make_unique<DeviceEmulator>(std::move(answerer), family);
        ASSERT_TRUE(emulator->Start());
        // Short, legal time-outs: a silent attempt ends after 200 ms; two attempts each.
        ini.Write("[SETUP]\nPort=1\nBaud=19200\nParity=EVEN\nReadTimeout=0\nSTXTimeout=300\n"
                  "ACKResponseTimeout=200\nRepeatCounter=2\n[PORTS]\nCOM1=" +
                  emulator->SlavePath() + "\n");
        ASSERT_TRUE(sensor.Load(ini.Path()));
        ASSERT_TRUE(sensor.Open());
    }
    void PlanSilence(std::size_t requests)
    {
        emulator->PlanFaults(std::vector<EmulatorFault>(requests, EmulatorFault::Silence));
    }

    TestIniFile ini{""};
    std::unique_ptr<DeviceEmulator> emulator;
    BaudRecordingAnswerer* recorder = nullptr;
    CSensor sensor{kFamilyZOK};
};

TEST_F(SessionOverPtyTest, UnansweredProbeScansTheRatesAndRestoresTheConfiguredOne)
{
    StartEmulator(kFamilyZOK);
    PlanSilence(10); // every attempt of all five probes
    EXPECT_FALSE(sensor.ProbeFamily(kFamilyZOK, TRUE));

    const std::vector<std::string> expected{"19200", "19200", "9600", "9600", "19200",
                                            "19200", "38400", "38400", "56000", "56000"};
    EXPECT_EQ(recorder->Bauds(), expected);
    EXPECT_EQ(ini.Value("SETUP", "Baud"), CString("19200"));
    EXPECT_EQ(sensor.GetSetupBaudrate(), 19200);
    EXPECT_TRUE(sensor.IsOpen());
}

// The emulator stays silent for the attempts of the first three probes (19200, then 9600
// and 19200 of the scan), so the first answer goes to the probe at 38400.
TEST_F(SessionOverPtyTest, ProbeAnsweredDuringTheScanKeepsThatRate)
{
    StartEmulator(kFamilyZOK);
    PlanSilence(6);
    EXPECT_TRUE(sensor.ProbeFamily(kFamilyZOK, TRUE));

    const std::vector<std::string> expected{"19200", "19200", "9600", "9600", "19200", "19200", "38400"};
    EXPECT_EQ(recorder->Bauds(), expected);
    EXPECT_EQ(ini.Value("SETUP", "Baud"), CString("38400"));
    EXPECT_EQ(sensor.GetSetupBaudrate(), 38400);
    EXPECT_TRUE(sensor.TestConnection());
}

TEST_F(SessionOverPtyTest, ProbeWithoutScanLeavesTheRateAlone)
{
    StartEmulator(kFamilyZOK);
    PlanSilence(2);
    EXPECT_FALSE(sensor.ProbeFamily(kFamilyZOK, FALSE));
    EXPECT_EQ(recorder->Bauds().size(), 2u);
    EXPECT_EQ(ini.Value("SETUP", "Baud"), CString("19200"));
}

TEST_F(SessionOverPtyTest, SessionWithAnInterfaceUnitOnTheLine)
{
    StartEmulator(kFamilyKVR);
    CSensor unit;
    ASSERT_TRUE(unit.Load(ini.Path()));
    ASSERT_TRUE(sensor.Close()); // one port user at a time
    ASSERT_TRUE(unit.Open());

    ASSERT_TRUE(unit.DetectFamily(FALSE));
    EXPECT_EQ(unit.GetFamily(), kFamilyKVR);
    EXPECT_TRUE(unit.TestConnection());
    EXPECT_TRUE(unit.Login('1', "MIRTOVAL"));
    EXPECT_FALSE(unit.Login('0', "MIRTOVAL"));
    EXPECT_EQ(unit.GetLastStatus(), 1);
    CSensorErrorList list;
    ASSERT_TRUE(unit.ReadErrorList(list));
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetFamily(), kFamilyKVR);
    // The driver reports the unit by the scanner behind it: 132 for a type 4 scanner.
    EXPECT_EQ(unit.GetSensorType(kFamilyKVR), 132);
    EXPECT_EQ(unit.GetSensorTypeCode(), 4);
    EXPECT_TRUE(unit.Close());
    EXPECT_TRUE(unit.Free());
}

} // namespace
