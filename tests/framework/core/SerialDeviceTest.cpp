#include "framework/core/PseudoTerminal.h"
#include "framework/core/SerialDevice.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class SerialDeviceOnPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(pty.Open(), 0);
        ASSERT_EQ(device.Open(pty.SlavePath()), 0);
        ASSERT_EQ(device.ApplyLineSettings({9600, 8, SERIAL_PARITY_EVEN, SERIAL_ONE_STOP_BIT}), 0);
    }

    std::vector<BYTE> ReadFromMaster(std::size_t expected)
    {
        std::vector<BYTE> bytes;
        BYTE chunk[256];
        while (bytes.size() < expected) {
            std::size_t n = 0;
            if (pty.Read(chunk, sizeof chunk, &n, 2000) != 0 || n == 0)
                break;
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
        return bytes;
    }

    PseudoTerminal pty;
    SerialDevice device;
};

TEST(SerialDevice, OpenRefusesWhatIsNoSerialDevice)
{
    SerialDevice device;
    const auto missing = std::filesystem::temp_directory_path() / "taliso-no-such-tty";
    std::filesystem::remove(missing);
    EXPECT_EQ(device.Open(missing.string()), ENOENT);
    EXPECT_FALSE(std::filesystem::exists(missing)) << "open must never create the device";

    const auto plain = std::filesystem::temp_directory_path() / "taliso-plain-file";
    std::ofstream(plain) << "x";
    EXPECT_EQ(device.Open(plain.string()), ENOTTY);
    EXPECT_FALSE(device.IsOpen());
    std::filesystem::remove(plain);

    BYTE byte = 0;
    DWORD count = 7;
    EXPECT_EQ(device.Read(&byte, 1, &count), EBADF);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(device.Write(&byte, 1, &count), EBADF);
    EXPECT_EQ(device.PurgeReceive(), EBADF);
}

TEST_F(SerialDeviceOnPty, SecondOpenIsBusyUntilTheFirstCloses)
{
    EXPECT_TRUE(device.IsPseudoTerminal());
    SerialDevice second;
    EXPECT_EQ(second.Open(pty.SlavePath()), EBUSY);
    ASSERT_EQ(device.Close(), 0);
    EXPECT_EQ(second.Open(pty.SlavePath()), 0);
}

TEST_F(SerialDeviceOnPty, AnyIntegerRateIsPassedUnchanged)
{
    for (DWORD rate : {2150u, 4301u, 65312u, 1075u, 56000u, 9600u}) {
        ASSERT_EQ(device.ApplyLineSettings({rate, 8, SERIAL_PARITY_NONE, SERIAL_ONE_STOP_BIT}), 0) << rate;
        SerialLineSettings read;
        ASSERT_EQ(device.ReadLineSettings(read), 0);
        EXPECT_EQ(read.baudRate, rate);
        EXPECT_EQ(read.dataBits, 8);
        EXPECT_EQ(read.stopBits, SERIAL_ONE_STOP_BIT);
    }
}

TEST_F(SerialDeviceOnPty, RefusesSettingsTheLineCannotHave)
{
    const SerialLineSettings bad[] = {
        {0, 8, SERIAL_PARITY_NONE, SERIAL_ONE_STOP_BIT},
        {9600, 9, SERIAL_PARITY_NONE, SERIAL_ONE_STOP_BIT},
        {9600, 8, 3, SERIAL_ONE_STOP_BIT},
        {9600, 8, SERIAL_PARITY_NONE, 1},
    };
    for (const auto& settings : bad)
        EXPECT_EQ(device.ApplyLineSettings(settings), EINVAL);
}

TEST_F(SerialDeviceOnPty, ControlCharactersPassUnchangedBothWays)
{
    const std::vector<BYTE> bytes{0x02, 0x0D, 0x0A, 0x03, 0x04, 0x11, 0x13, 0x15, 0x1A, 0x7F, 0x00, 0xFF, 0x06};
    DWORD written = 0;
    ASSERT_EQ(device.Write(bytes.data(), DWORD(bytes.size()), &written), 0);
    EXPECT_EQ(written, bytes.size());
    EXPECT_EQ(ReadFromMaster(bytes.size()), bytes);

    ASSERT_EQ(pty.Write(bytes.data(), bytes.size()), 0);
    device.SetTimeouts({50, 0, 2000, 0, 0});
    std::vector<BYTE> received(bytes.size() + 5);
    DWORD count = 0;
    ASSERT_EQ(device.Read(received.data(), DWORD(received.size()), &count), 0);
    received.resize(count);
    EXPECT_EQ(received, bytes);
}

TEST_F(SerialDeviceOnPty, PacedWriteSendsEveryByte)
{
    const std::vector<BYTE> bytes{1, 2, 3, 4, 5, 6};
    DWORD written = 0;
    ASSERT_EQ(device.Write(bytes.data(), DWORD(bytes.size()), &written, 200), 0);
    EXPECT_EQ(written, bytes.size());
    EXPECT_EQ(ReadFromMaster(bytes.size()), bytes);
}

TEST_F(SerialDeviceOnPty, PurgeDropsUnreadBytes)
{
    const BYTE noise[] = {9, 9, 9};
    ASSERT_EQ(pty.Write(noise, sizeof noise), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(device.PurgeReceive(), 0);
    device.SetTimeouts({0xFFFFFFFF, 0, 0, 0, 0});
    BYTE buffer[8];
    DWORD count = 1;
    EXPECT_EQ(device.Read(buffer, sizeof buffer, &count), 0);
    EXPECT_EQ(count, 0u);
}

// The time-out rule, checked with wide margins: these are functional checks of which
// limit ended a read, not measurements.
TEST_F(SerialDeviceOnPty, TotalTimeoutBoundsAnEmptyRead)
{
    struct Case {
        SerialTimeouts timeouts;
        DWORD count;
        long long expectedMs;
    };
    const Case cases[] = {
        {{100, 0, 150, 0, 0}, 10, 150}, // constant only
        {{100, 20, 0, 0, 0}, 10, 200},  // multiplier times count
        {{100, 10, 50, 0, 0}, 10, 150}, // both
    };
    for (const auto& c : cases) {
        device.SetTimeouts(c.timeouts);
        BYTE buffer[16];
        DWORD count = 99;
        const auto start = Clock::now();
        EXPECT_EQ(device.Read(buffer, c.count, &count), 0);
        const long long elapsed = MillisecondsSince(start);
        EXPECT_EQ(count, 0u);
        EXPECT_GE(elapsed, c.expectedMs - 20);
        EXPECT_LT(elapsed, c.expectedMs + 1500);
    }
}

TEST_F(SerialDeviceOnPty, IntervalEndsAReadWhenBytesStop)
{
    device.SetTimeouts({60, 0, 10000, 0, 0});
    std::thread talker([&] {
        const BYTE first[] = {1, 2};
        const BYTE second[] = {3};
        pty.Write(first, sizeof first);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        pty.Write(second, sizeof second);
    });
    BYTE buffer[780];
    DWORD count = 0;
    const auto start = Clock::now();
    EXPECT_EQ(device.Read(buffer, sizeof buffer, &count), 0);
    const long long elapsed = MillisecondsSince(start);
    talker.join();
    EXPECT_EQ(count, 3u) << "a gap below the interval keeps the read going";
    EXPECT_LT(elapsed, 5000) << "the interval, not the total, ends the read";
}

TEST_F(SerialDeviceOnPty, ReadReturnsAtOnceWhenTheCountIsReached)
{
    device.SetTimeouts({1000, 0, 10000, 0, 0});
    const BYTE bytes[] = {1, 2, 3, 4, 5};
    ASSERT_EQ(pty.Write(bytes, sizeof bytes), 0);
    BYTE buffer[4];
    DWORD count = 0;
    const auto start = Clock::now();
    EXPECT_EQ(device.Read(buffer, sizeof buffer, &count), 0);
    EXPECT_EQ(count, 4u);
    EXPECT_LT(MillisecondsSince(start), 900);
    EXPECT_EQ(device.Read(buffer, 1, &count), 0);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(buffer[0], 5);
}

TEST_F(SerialDeviceOnPty, HangUpIsAReadError)
{
    device.SetTimeouts({100, 0, 5000, 0, 0});
    pty.Close();
    BYTE buffer[4];
    DWORD count = 3;
    EXPECT_EQ(device.Read(buffer, sizeof buffer, &count), EIO);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(device.ClearError(), EIO);
}

} // namespace
