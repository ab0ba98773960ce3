// The export layer itself: handles that are not there, requests that cannot be sent, and
// the language library the texts come from.
#include "driver/DriverResourceModule.h"
#include "driver/orudrv.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

std::string FetchError()
{
    char text[256];
    ErrorSensor(0, text, sizeof text);
    return text;
}

TEST(OrudrvExports, NoHandleIsRefusedWithoutHarm)
{
    std::array<unsigned char, ORUDRV_REQUEST_SIZE> request{};
    std::array<unsigned char, ORUDRV_ANSWER_SIZE> answer{};
    EXPECT_EQ(OpenSensor(0), 0);
    EXPECT_EQ(QuerySensor(0), 0);
    EXPECT_EQ(CloseSensor(0), 0);
    EXPECT_EQ(SetupSensor(0, 0), 0);
    EXPECT_EQ(GetSetupBaudrate(0), 0);
    EXPECT_EQ(SetBaudrate(0, 19200), 0);
    EXPECT_EQ(SetSTXTimeout(0, 1000), 0);
    EXPECT_EQ(TelegramSensor(0, request.data(), answer.data()), 0);
    EXPECT_EQ(GetSensorType(0, 0), 0);
    EXPECT_EQ(GetSensorCaps(0, 4, 3), 0);
    EXPECT_EQ(FreeSensor(0), 1);
}

TEST(OrudrvExports, DownloadRefusesWhatCannotBeSent)
{
    DriverResourceModule texts{"STRINGTABLE\nBEGIN\n    2550 \"Unreadable\"\n    2560 \"Bad telegram\"\nEND\n"};
    EXPECT_EQ(OruDrvSetResourceHandle(reinterpret_cast<intptr_t>(texts.Module())),
              reinterpret_cast<intptr_t>(texts.Module()));
    FetchError();
    std::array<unsigned char, ORUDRV_REQUEST_SIZE> request{};
    EXPECT_EQ(TelegramDownload(0, request.data()), 0);
    EXPECT_EQ(DownloadHexFile(0, request.data(), "firmware.hex"), 0);

    const intptr_t handle = LoadSensor(nullptr);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(TelegramDownload(handle, nullptr), 0) << "nothing sent is nothing answered";
    EXPECT_EQ(DownloadHexFile(handle, nullptr, "firmware.hex"), 0);

    EXPECT_EQ(TelegramDownload(handle, request.data()), 0) << "no marker";
    EXPECT_EQ(FetchError(), "Bad telegram");
    request[0] = 0xF0;
    request[1] = 0x02;
    request[8] = 0x55;
    request[3] = 0xE9; // 745: the data would run past the record
    request[4] = 0x02;
    EXPECT_EQ(TelegramDownload(handle, request.data()), 0);
    EXPECT_EQ(FetchError(), "Bad telegram");

    EXPECT_EQ(DownloadHexFile(handle, request.data(), "/nonexistent/firmware.hex"), 0);
    EXPECT_EQ(FetchError(), "Unreadable");
    EXPECT_EQ(FreeSensor(handle), 1);
}

TEST(OrudrvExports, HandleWithoutIniFileTakesTheDefaults)
{
    const intptr_t handle = LoadSensor(nullptr);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(GetSetupBaudrate(handle), 9600);
    EXPECT_EQ(GetSetupSTXTimeout(handle), 35000);
    EXPECT_EQ(QuerySensor(handle), 0);
    EXPECT_EQ(GetSensorType(handle, 5), 4) << "no exchange for other families";
    EXPECT_EQ(GetSensorCaps(handle, 178, 10), 125);
    EXPECT_EQ(FreeSensor(handle), 1);
}

} // namespace
