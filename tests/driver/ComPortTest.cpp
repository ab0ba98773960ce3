#include "driver/internal/ComPort.h"
#include "driver/internal/DriverLastError.h"
#include "driver/PtyResponder.h"
#include "driver/TemporaryIniFile.h"
#include "framework/core/SerialDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

std::string FetchLastError()
{
    char text[DRIVER_LAST_ERROR_SIZE];
    CopyAndClearLastErrorText(text, sizeof text);
    return text;
}

std::string PortsSection(const std::string& key, const std::string& device)
{
    return "[PORTS]\n" + key + "=" + device + "\n";
}

// Reaches the line state of an open port.
class InspectablePort : public ComPort {
public:
    using ComPort::ComPort;
    SerialLineSettings Line()
    {
        SerialLineSettings line;
        EXPECT_TRUE(APIGetCommState(line));
        return line;
    }
};

const Bytes CONNECTION_TEST{0x02, 0x00, 0x01, 0x00, 0x10, 0x34, 0x12};
const Bytes CONNECTION_ANSWER{0x02, 0x80, 0x02, 0x00, 0x91, 0x00, 0x69, 0x30};

class ComPortOnPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Start());
        ini.Write(PortsSection("COM1", device.SlavePath()));
        port.SetIniPath(ini.Path());
        FetchLastError();
    }

    // Collects what the port reads, the first read of 10 bytes and the rest of 780, until
    // expected bytes arrived or a read brings nothing.
    std::vector<Bytes> ReadUntil(std::size_t expected)
    {
        std::vector<Bytes> reads;
        std::size_t total = 0;
        while (total < expected) {
            BYTE buffer[780];
            DWORD count = 0;
            EXPECT_TRUE(port.Receive(buffer, reads.empty() ? 10 : 780, &count));
            if (count == 0)
                break;
            reads.emplace_back(buffer, buffer + count);
            total += count;
        }
        return reads;
    }

    PtyResponder device;
    TemporaryIniFile ini;
    InspectablePort port{1, 9600};
};

TEST(ComPort, PortNumberOutsideOneToNineFailsWithoutTouchingTheDevice)
{
    PtyResponder device;
    ASSERT_TRUE(device.Start());
    for (int number : {0, 10, 255}) {
        // The mapped device exists and is free: only the number can make the open fail.
        TemporaryIniFile ini(PortsSection("COM" + std::to_string(number), device.SlavePath()));
        ComPort port(BYTE(number), 9600);
        port.SetIniPath(ini.Path());
        FetchLastError();
        EXPECT_FALSE(port.OpenComPort()) << number;
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(FetchLastError(), "Error 517");
    }
}

TEST(ComPort, DeviceThatCannotBeOpenedFailsWith517)
{
    PtyResponder device;
    ASSERT_TRUE(device.Start());
    SerialDevice holder;
    ASSERT_EQ(holder.Open(device.SlavePath()), 0);
    TemporaryIniFile plainFile("not a tty");
    const std::string missing = (std::filesystem::temp_directory_path() / "taliso-no-such-tty").string();

    for (const std::string& path : {missing, device.SlavePath(), std::string(plainFile.Path())}) {
        TemporaryIniFile ini(PortsSection("COM2", path));
        ComPort port(2, 9600);
        port.SetIniPath(ini.Path());
        FetchLastError();
        EXPECT_FALSE(port.OpenComPort()) << path;
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(FetchLastError(), "Error 517") << path;
    }
}

TEST(ComPort, PortNumbersMapToDevicePaths)
{
    TemporaryIniFile ini("[Other]\nCOM1=/dev/null\n[PORTS]\ncom2 =  /dev/ttyUSB0  \n");
    EXPECT_EQ(ComPort::DevicePathForPort(1, ini.Path()), "/dev/ttyS0");
    EXPECT_EQ(ComPort::DevicePathForPort(2, ini.Path()), "/dev/ttyUSB0");
    EXPECT_EQ(ComPort::DevicePathForPort(9, ini.Path()), "/dev/ttyS8");
    EXPECT_EQ(ComPort::DevicePathForPort(3, nullptr), "/dev/ttyS2");
    EXPECT_EQ(ComPort::DevicePathForPort(0, nullptr), "");
}

TEST(ComPort, ClosedPortCallsAnswerWithoutADevice)
{
    ComPort port(1, 9600);
    EXPECT_TRUE(port.CloseComPort());
    EXPECT_TRUE(port.ClearComPortBuffer());
    EXPECT_FALSE(port.CloseAndReOpen());
    FetchLastError();
    EXPECT_FALSE(port.SendTelegram(CONNECTION_TEST.data(), DWORD(CONNECTION_TEST.size())));
    EXPECT_EQ(FetchLastError(), "Error 518");
    BYTE buffer[10];
    DWORD count = 5;
    EXPECT_FALSE(port.Receive(buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 0u);
}

TEST_F(ComPortOnPty, SettingsOnAClosedPortApplyAtTheNextOpen)
{
    EXPECT_TRUE(port.SetPortProperties(2150, 8, 0, 0, 4096, 2048));
    EXPECT_TRUE(port.SetTimeoutProperties(100, 0, 150, 0, 1000));
    ASSERT_TRUE(port.OpenComPort());
    EXPECT_EQ(port.Line().baudRate, 2150u);
    EXPECT_EQ(port.GetReceiveBufferSize(), 4096u);

    // With the time-outs of construction (interval 5, no totals) this read would wait for
    // the byte that comes after a second; the stored constant ends it first.
    device.Script({});
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        device.SendNow({0x55});
    });
    BYTE buffer[10];
    DWORD count = 9;
    EXPECT_TRUE(port.Receive(buffer, sizeof buffer, &count));
    late.join();
    EXPECT_EQ(count, 0u);
}

TEST_F(ComPortOnPty, OpeningAnOpenPortClosesAndReopens)
{
    ASSERT_TRUE(port.OpenComPort());
    PtyResponder other;
    ASSERT_TRUE(other.Start());
    ini.Write(PortsSection("COM1", other.SlavePath()));

    ASSERT_TRUE(port.OpenComPort());
    SerialDevice first;
    EXPECT_EQ(first.Open(device.SlavePath()), 0) << "the first device was released";
    EXPECT_TRUE(port.SendTelegram(CONNECTION_TEST.data(), DWORD(CONNECTION_TEST.size())));
    ASSERT_TRUE(other.WaitForFrames(1, 2000));
    EXPECT_EQ(other.ReceivedFrames()[0], CONNECTION_TEST);
}

TEST_F(ComPortOnPty, CloseAndReOpenKeepsThePortOrReportsWhy)
{
    ASSERT_TRUE(port.OpenComPort());
    EXPECT_TRUE(port.CloseAndReOpen());
    EXPECT_TRUE(port.IsOpen());

    ini.Write(PortsSection("COM1", "/dev/taliso-unplugged"));
    FetchLastError();
    EXPECT_FALSE(port.CloseAndReOpen());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(FetchLastError(), "Error 517");
}

TEST_F(ComPortOnPty, SendTelegramPutsTheWholeFrameOnTheLine)
{
    // 56000 and 65312 send paced character by character.
    for (DWORD baud : {9600u, 56000u, 65312u}) {
        PtyResponder line;
        ASSERT_TRUE(line.Start());
        ini.Write(PortsSection("COM1", line.SlavePath()));
        port.SetBaudCode(baud);
        ASSERT_TRUE(port.OpenComPort());
        EXPECT_TRUE(port.SendTelegram(CONNECTION_TEST.data(), DWORD(CONNECTION_TEST.size())));
        ASSERT_TRUE(line.WaitForFrames(1, 2000)) << baud;
        EXPECT_EQ(line.ReceivedBytes(), CONNECTION_TEST) << baud;
        port.CloseComPort();
    }
}

TEST_F(ComPortOnPty, ReadEndsAtTheIntervalWhenBytesStop)
{
    // The driver's default time-outs: a full 780-byte read may last 36.69 s.
    ASSERT_TRUE(port.SetTimeoutProperties(100, 47, 30, 2, 1000));
    ASSERT_TRUE(port.OpenComPort());
    device.SendNow({1, 2, 3});
    BYTE buffer[780];
    DWORD count = 0;
    const auto start = Clock::now();
    EXPECT_TRUE(port.Receive(buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 3u);
    EXPECT_LT(MillisecondsSince(start), 10000);
}

TEST_F(ComPortOnPty, ConstantAndMultiplierBoundAnEmptyRead)
{
    // ReadTimeout 0, STXTimeout 300, ACKResponseTimeout 200 give k = 1 and constant 190:
    // a 10-byte read waits 200 ms.
    ASSERT_TRUE(port.SetTimeoutProperties(100, 1, 190, 2, 1000));
    ASSERT_TRUE(port.OpenComPort());
    BYTE buffer[10];
    DWORD count = 7;
    const auto start = Clock::now();
    EXPECT_TRUE(port.Receive(buffer, sizeof buffer, &count));
    const long long elapsed = MillisecondsSince(start);
    EXPECT_EQ(count, 0u);
    EXPECT_GE(elapsed, 150);
    EXPECT_LT(elapsed, 3000);
}

TEST_F(ComPortOnPty, HangUpFailsTheReadWithNoBytes)
{
    ASSERT_TRUE(port.SetTimeoutProperties(100, 1, 190, 2, 1000));
    ASSERT_TRUE(port.OpenComPort());
    device.SendNow({1, 2});
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    device.Stop();
    BYTE buffer[780];
    DWORD count = 9;
    EXPECT_FALSE(port.Receive(buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 0u);
}

TEST_F(ComPortOnPty, ScriptedRepliesArriveAsTheDeviceSendsThem)
{
    struct Case {
        const char* name;
        Reply reply;
        Bytes expected;
        std::size_t minimumReads;
    };
    Bytes ackAnswer{Replies::ACK};
    ackAnswer.insert(ackAnswer.end(), CONNECTION_ANSWER.begin(), CONNECTION_ANSWER.end());
    Bytes noisy{0x55, 0x06, 0x41};
    noisy.insert(noisy.end(), ackAnswer.begin(), ackAnswer.end());
    const Case cases[] = {
        {"ack and answer", Replies::AckThen(CONNECTION_ANSWER), ackAnswer, 1},
        {"nak", Replies::Nak(), {Replies::NAK}, 1},
        {"silence", Replies::Silence(), {}, 0},
        {"ack split from stx", Replies::AckSplitFromFrame(CONNECTION_ANSWER, 300), ackAnswer, 2},
        {"noise before ack", Replies::NoiseThenAckThen({0x55, 0x06, 0x41}, CONNECTION_ANSWER), noisy, 1},
        {"slow bytes", Replies::AckThenSlowFrame(CONNECTION_ANSWER, 150), ackAnswer, 4},
    };
    ASSERT_TRUE(port.SetTimeoutProperties(100, 1, 190, 2, 1000));
    ASSERT_TRUE(port.OpenComPort());
    for (const Case& c : cases) {
        device.Script({c.reply});
        device.SendNow({0x77}); // stale: the send must purge it
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(port.SendTelegram(CONNECTION_TEST.data(), DWORD(CONNECTION_TEST.size()))) << c.name;
        const std::vector<Bytes> reads = ReadUntil(c.expected.size());
        Bytes all;
        for (const Bytes& read : reads)
            all.insert(all.end(), read.begin(), read.end());
        EXPECT_EQ(all, c.expected) << c.name;
        EXPECT_GE(reads.size(), c.minimumReads) << c.name;
        if (std::string(c.name) == "ack split from stx" && !reads.empty()) {
            EXPECT_EQ(reads[0], Bytes{Replies::ACK}) << "the ACK comes alone in the first read";
        }
        ASSERT_TRUE(device.WaitUntilScriptDone(3000));
    }
    EXPECT_EQ(device.ReceivedFrames().size(), std::size(cases));
}

} // namespace
