// The driver handle over a pseudo-terminal: device queries built on the exchange, and
// the settings calls that rewrite "SETUP" and reopen the port.
#include "driver/AnswerFrames.h"
#include "driver/DriverResourceModule.h"
#include "driver/internal/DriverLastError.h"
#include "driver/internal/OrudrvExports.h"
#include "driver/PtyResponder.h"
#include "driver/internal/SensorHandle.h"
#include "driver/internal/TelegramCrc.h"
#include "driver/TemporaryIniFile.h"
#include "framework/core/CException.h"
#include "framework/core/Profile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>

namespace {

// Small legal time-outs: ACK deadline 200 ms, whole deadline 300 ms, two attempts.
const char QUICK_SETUP[] = "ReadTimeout=0\nSTXTimeout=300\nACKResponseTimeout=200\nRepeatCounter=2\n";
const Bytes IDENTIFICATION_REQUEST{0x02, 0x00, 0x01, 0x00, 0x31, 0x15, 0x12};

Bytes AnswerFrame(BYTE command, const Bytes& data, BYTE status)
{
    return BuildAnswerFrame(command, data, status);
}

// A scanner's identification (123 data bytes) with its version text in front.
Bytes ScannerIdentification(const std::string& version)
{
    Bytes data(123, 0);
    std::copy(version.begin(), version.end(), data.begin());
    return AnswerFrame(0xB1, data, 0x00);
}

// A unit's identification (31 data bytes); the type of its scanner is data byte 17.
Bytes UnitIdentification(BYTE scannerType)
{
    Bytes data(31, 0);
    data[17] = scannerType;
    return AnswerFrame(0xB1, data, 0x08);
}

std::string FetchLastError()
{
    char text[DRIVER_LAST_ERROR_SIZE];
    CopyAndClearLastErrorText(text, sizeof text);
    return text;
}

std::string SetupValue(const TemporaryIniFile& ini, const char* key)
{
    return ReadProfileString("SETUP", key, "(missing)", ini.Path()).str();
}

class SensorHandleOverPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Start());
        // COM1 and COM2 both lead to the device, so a changed port can be reopened.
        ini.Write(std::string("[SETUP]\n") + QUICK_SETUP + "[PORTS]\nCOM1=" + device.SlavePath()
                  + "\nCOM2=" + device.SlavePath() + "\n");
        handle = std::make_unique<SensorHandle>(ini.Path());
        FetchLastError();
    }

    void OpenHandle()
    {
        ASSERT_TRUE(handle->Open()) << FetchLastError();
        ASSERT_TRUE(handle->Query());
    }

    PtyResponder device;
    TemporaryIniFile ini;
    std::unique_ptr<SensorHandle> handle;
};

TEST_F(SensorHandleOverPty, ScannerTypeFollowsTheFirmwareVersion)
{
    OpenHandle();
    const std::pair<const char*, int> cases[] = {{"03.20", 4}, {"04.12", 50}, {"07.01", 7}, {"06.15", 4}, {"02.99", 0}};
    for (const auto& [version, type] : cases) {
        device.Script({Replies::AckThen(ScannerIdentification(version))});
        EXPECT_EQ(handle->SensorType(kFamilyZOK), type) << version;
    }
    for (const Bytes& frame : device.ReceivedFrames())
        EXPECT_EQ(frame, IDENTIFICATION_REQUEST);
}

TEST_F(SensorHandleOverPty, UnitTypeFollowsItsScannerAndDefaultsWithoutAnswer)
{
    OpenHandle();
    const std::pair<BYTE, int> cases[] = {{4, 132}, {7, 135}, {50, 178}, {9, 132}};
    for (const auto& [scanner, type] : cases) {
        device.Script({Replies::AckThen(UnitIdentification(scanner))});
        EXPECT_EQ(handle->SensorType(kFamilyKVR), type) << int(scanner);
    }
    device.Script({Replies::Silence(), Replies::Silence()});
    EXPECT_EQ(handle->SensorType(kFamilyKVR), 132);
    EXPECT_FALSE(FetchLastError().empty()) << "the failed exchange leaves its reason";

    const std::size_t framesBefore = device.ReceivedFrames().size();
    EXPECT_EQ(handle->SensorType(2), 4);
    EXPECT_EQ(handle->SensorType(-1), 4);
    EXPECT_EQ(device.ReceivedFrames().size(), framesBefore) << "other families ask nothing";
}

TEST_F(SensorHandleOverPty, ScannerCapabilitiesAskForTheVersionOthersDoNot)
{
    OpenHandle();
    device.Script({Replies::AckThen(ScannerIdentification("03.05"))});
    EXPECT_EQ(handle->SensorCaps(4, 6), 180);
    ASSERT_TRUE(device.WaitForFrames(1, 1000));
    device.Script({Replies::AckThen(ScannerIdentification("04.12"))});
    EXPECT_EQ(handle->SensorCaps(50, 6), 360);
    EXPECT_EQ(handle->SensorCaps(7, 6), 360);
    EXPECT_EQ(handle->SensorCaps(4, 12), 0);
    EXPECT_EQ(handle->SensorCaps(50, 1), 0);
    EXPECT_EQ(device.ReceivedFrames().size(), 2u);
    // Without an answer the version reads 0.
    device.Script({Replies::Silence(), Replies::Silence()});
    EXPECT_EQ(handle->SensorCaps(4, 8), 1);
}

TEST_F(SensorHandleOverPty, TelegramLeavesTheCallersRequestAsItWas)
{
    OpenHandle();
    device.Script({Replies::AckThen(AnswerFrame(0x91, {}, 0x00))});
    const SensorRequest request(kFamilyZOK, 0x10);
    SensorRequest copy = request;
    SensorAnswer answer;
    ASSERT_TRUE(handle->Telegram(copy.data(), answer.data()));
    EXPECT_EQ(answer.Command(), 0x91);
    EXPECT_EQ(copy, request) << "length fields are set in the driver's own copy";
    EXPECT_FALSE(handle->Telegram(copy.data(), nullptr));
}

TEST_F(SensorHandleOverPty, SetBaudrateRewritesSetupAndReopensButOpenSetsTheLoadedCode)
{
    OpenHandle();
    ASSERT_TRUE(handle->SetBaudrate(19200));
    EXPECT_EQ(SetupValue(ini, "Baud"), "19200");
    EXPECT_EQ(SetupValue(ini, "STXTimeout"), "300") << "the other keys are written as read";
    EXPECT_EQ(SetupValue(ini, "ReadBufferSize"), "10240");
    EXPECT_EQ(handle->SetupBaudrate(), 19200u);
    EXPECT_TRUE(handle->Query()) << "reopened";
    EXPECT_EQ(handle->Port().GetBaudCode(), 19200u);
    EXPECT_EQ(handle->Settings().baudCode, 9600u);

    ASSERT_TRUE(handle->Close());
    EXPECT_TRUE(handle->SetBaudrate(38400)) << "a closed port is only given the code";
    EXPECT_FALSE(handle->Query());
    OpenHandle();
    EXPECT_EQ(handle->Port().GetBaudCode(), 9600u) << "Open sets the code of the load again";
}

TEST_F(SensorHandleOverPty, SetSTXTimeoutRewritesSetupAndTakesEffect)
{
    OpenHandle();
    ASSERT_TRUE(handle->SetSTXTimeout(5000));
    EXPECT_EQ(SetupValue(ini, "STXTimeout"), "5000");
    EXPECT_EQ(handle->SetupSTXTimeout(), 5000u);
    EXPECT_EQ(handle->Settings().stxTimeout, 5000u);
    EXPECT_TRUE(handle->Query());
    // A wild value is bounded as reading the file bounds it.
    ASSERT_TRUE(handle->SetSTXTimeout(0xFFFFFFFF));
    EXPECT_EQ(handle->Settings().stxTimeout, 600000u);
    EXPECT_EQ(SetupValue(ini, "STXTimeout"), "600000");
}

TEST_F(SensorHandleOverPty, SetupTakesOverTheDialogsChoiceAfterOkOnly)
{
    OpenHandle();
    int shown = 0;
    EXPECT_FALSE(handle->Setup([&](PortSettings& settings) {
        ++shown;
        settings.port = 2;
        return 0; // Cancel
    }));
    EXPECT_EQ(SetupValue(ini, "Port"), "(missing)");
    EXPECT_EQ(handle->Port().GetPortNumber(), 1);

    EXPECT_TRUE(handle->Setup([&](PortSettings& settings) {
        ++shown;
        EXPECT_EQ(settings.stxTimeout, 300u) << "the dialog gets the settings of the file";
        settings.port = 2;
        settings.baudCode = 4301;
        return 1;
    }));
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(SetupValue(ini, "Port"), "2");
    EXPECT_EQ(SetupValue(ini, "Baud"), "19200/500KBd");
    EXPECT_EQ(handle->Port().GetPortNumber(), 2);
    EXPECT_EQ(handle->Port().GetBaudCode(), 4301u);
    EXPECT_EQ(handle->Settings().baudCode, 4301u);
    EXPECT_TRUE(handle->Query()) << "reopened on the new port";

    EXPECT_FALSE(handle->Setup([](PortSettings&) { return -1; }));
    EXPECT_EQ(FetchLastError(), "Error 521");
}

TEST(SensorHandle, LoadReadsSetupAndLeavesThePortClosed)
{
    TemporaryIniFile ini("[SETUP]\nPort=3\nBaud=38400/1MBd\nParity=NONE\n");
    SensorHandle handle(ini.Path());
    EXPECT_FALSE(handle.Query());
    EXPECT_EQ(handle.Port().GetPortNumber(), 3);
    EXPECT_EQ(handle.Port().GetBaudCode(), 4302u);
    EXPECT_EQ(handle.Settings().parity, 0u);
    EXPECT_EQ(std::string(handle.Port().GetIniPath()), ini.Path());
}

TEST(SensorHandle, OpenFailureLeavesTheOpenText)
{
    TemporaryIniFile ini("[SETUP]\nPort=0\n");
    SensorHandle handle(ini.Path());
    FetchLastError();
    EXPECT_FALSE(handle.Open());
    EXPECT_FALSE(handle.Query());
    EXPECT_EQ(FetchLastError(), "Error 517");
    EXPECT_TRUE(handle.Close()) << "closing a closed port succeeds";
}

// An INI file that cannot take "SETUP" (here: its folder is a regular file) is reported
// with the file and the reason, while the new value is in force for the handle.
TEST(SensorHandle, SettingsTheFileCannotTakeApplyButAreReported)
{
    DriverResourceModule texts{DriverResourceModule::ShippedScript()};
    TemporaryIniFile notAFolder("[SETUP]\nPort=2\n");
    const std::string iniPath = std::string(notAFolder.Path()) + "/Taliso.INI";
    const std::string expected = "The port settings are in use but could not be saved in "
                                 + iniPath + ".\n" + CFileException::OsErrorText(ENOTDIR).str();

    struct Case {
        const char* call;
        std::function<BOOL(SensorHandle&)> change;
        std::function<bool(const SensorHandle&)> inForce;
    };
    const Case cases[] = {
        {"SetBaudrate", [](SensorHandle& h) { return h.SetBaudrate(38400); },
         [](const SensorHandle& h) { return h.Port().GetBaudCode() == 38400u; }},
        {"SetSTXTimeout", [](SensorHandle& h) { return h.SetSTXTimeout(7000); },
         [](const SensorHandle& h) { return h.Settings().stxTimeout == 7000u; }},
        {"Setup",
         [](SensorHandle& h) {
             return h.Setup([](PortSettings& settings) {
                 settings.port = 3;
                 settings.baudCode = 19200;
                 return 1;
             });
         },
         [](const SensorHandle& h) {
             return h.Port().GetPortNumber() == 3 && h.Port().GetBaudCode() == 19200u && h.Settings().port == 3u;
         }},
    };
    for (const Case& c : cases) {
        SensorHandle handle(iniPath.c_str());
        FetchLastError();
        EXPECT_FALSE(c.change(handle)) << c.call;
        EXPECT_TRUE(c.inForce(handle)) << c.call;
        EXPECT_EQ(FetchLastError(), expected) << c.call;
    }
    EXPECT_EQ(notAFolder.Read(), "[SETUP]\nPort=2\n");

    // Without the language library the failure still has a text.
    SetDriverResourceHandle(nullptr);
    SensorHandle handle(iniPath.c_str());
    EXPECT_FALSE(handle.SetBaudrate(19200));
    EXPECT_EQ(FetchLastError(), "Error 2524");
}

} // namespace
