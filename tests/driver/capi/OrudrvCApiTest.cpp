// The driver's C interface used from C: a session against the device emulator.
#include "driver/capi/OrudrvScenario.h"

#include "tools/CannedAnswerer.h"
#include "tools/DeviceEmulator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

TEST(OrudrvCApi, SessionFromC)
{
    DeviceEmulator emulator(std::make_unique<CannedAnswerer>(kFamilyZOK), kFamilyZOK);
    ASSERT_TRUE(emulator.Start());
    // The third request meets silence on both attempts.
    emulator.PlanFaults({EmulatorFault::None, EmulatorFault::None, EmulatorFault::Silence, EmulatorFault::Silence});
    const std::filesystem::path ini = std::filesystem::temp_directory_path()
        / ("taliso-capi-" + std::to_string(std::random_device{}()) + ".INI");
    std::ofstream(ini) << "[SETUP]\nReadTimeout=0\nSTXTimeout=300\nACKResponseTimeout=200\nRepeatCounter=2\n"
                       << "[PORTS]\nCOM1=" << emulator.SlavePath() << "\n";

    OrudrvScenarioResult r{};
    RunOrudrvScenario(ini.c_str(), &r);
    std::filesystem::remove(ini);

    EXPECT_EQ(r.loaded, 1);
    EXPECT_EQ(r.opened, 1);
    EXPECT_EQ(r.queriedOpen, 1);
    EXPECT_EQ(r.connectionTest, 1);
    EXPECT_EQ(r.connectionMarker, 753);
    EXPECT_EQ(r.connectionCommand, 0x91);
    EXPECT_EQ(r.identification, 1);
    EXPECT_EQ(r.identificationCommand, 0xB1);
    EXPECT_STREQ(r.version, "03.20");
    EXPECT_EQ(r.failedTelegram, 0);
    EXPECT_EQ(r.firstError, 1);
    EXPECT_STRNE(r.firstErrorText, "");
    EXPECT_EQ(r.secondError, 0);
    EXPECT_STREQ(r.secondErrorText, "");
    EXPECT_EQ(r.closed, 1);
    EXPECT_EQ(r.queriedClosed, 0);
    EXPECT_EQ(r.freed, 1);
    EXPECT_EQ(r.freedNull, 1);
    EXPECT_EQ(r.nullHandleCalls, 0);
    EXPECT_EQ(emulator.Requests().size(), 4u);
}

} // namespace
