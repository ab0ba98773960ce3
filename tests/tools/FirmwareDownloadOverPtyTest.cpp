// The driver's firmware download through its public interface, with the device emulator
// on the other end of a pseudo-terminal: the telegrams that reach the device, the baud
// code around the download, and what a refusing device or a damaged file leaves behind.
#include "tools/DeviceEmulator.h"

#include "driver/orudrv.h"
#include "framework/core/Profile.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace {

using Request = std::array<unsigned char, ORUDRV_REQUEST_SIZE>;

// Answers every request with a short frame and notes the baud code the INI file held
// when it arrived: the pseudo-terminal has no rate, the driver writes each one it sets.
class DownloadAnswerer : public DeviceAnswerer {
public:
    explicit DownloadAnswerer(std::string iniPath) : m_iniPath(std::move(iniPath)) {}

    bool Answer(ConstRequestSpan request, AnswerSpan answer) override
    {
        std::lock_guard lock(m_mutex);
        m_bauds.push_back(ReadProfileString("SETUP", "Baud", "", m_iniPath.c_str()).str());
        answer[2] = 1; // the status byte only
        answer[7] = kStatusKVRBit;
        answer[8] = BYTE(request[8] | 0x80);
        return true;
    }

    std::vector<std::string> Bauds() const
    {
        std::lock_guard lock(m_mutex);
        return m_bauds;
    }

private:
    std::string m_iniPath;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_bauds;
};

std::filesystem::path TemporaryPath(const std::string& suffix)
{
    static const std::string tag = std::to_string(std::random_device{}());
    static std::atomic<int> counter{0};
    return std::filesystem::temp_directory_path() / ("taliso-download-" + tag + "-" + std::to_string(++counter) + suffix);
}

std::string LastError()
{
    char text[256];
    ErrorSensor(0, text, sizeof text);
    return text;
}

// A unit on COM1 whose INI file says 19200; short time-outs.
class DownloadBench {
public:
    DownloadBench()
        : m_ini(TemporaryPath(".INI")), m_hex(TemporaryPath(".hex"))
    {
        auto answerer = std::make_unique<DownloadAnswerer>(m_ini.string());
        recorder = answerer.get();
        emulator = std::make_unique<DeviceEmulator>(std::move(answerer), kFamilyKVR);
        EXPECT_TRUE(emulator->Start());
        std::ofstream(m_ini) << "[SETUP]\nPort=1\nBaud=19200\nReadTimeout=0\nSTXTimeout=300\n"
                                "ACKResponseTimeout=200\nRepeatCounter=2\n[PORTS]\nCOM1="
                             << emulator->SlavePath() << "\n";
        handle = LoadSensor(m_ini.c_str());
        EXPECT_NE(handle, 0);
        EXPECT_EQ(OpenSensor(handle), 1) << LastError();
        LastError();
    }
    ~DownloadBench()
    {
        FreeSensor(handle);
        std::filesystem::remove(m_ini);
        std::filesystem::remove(m_hex);
    }

    int Download(const std::string& hexText)
    {
        std::ofstream(m_hex, std::ios::binary) << hexText;
        Request workSpace{};
        return DownloadHexFile(handle, workSpace.data(), m_hex.c_str());
    }
    std::string IniBaud() const { return ReadProfileString("SETUP", "Baud", "", m_ini.c_str()).str(); }
    std::vector<BYTE> Commands() const
    {
        std::vector<BYTE> commands;
        for (const SensorRequest& request : emulator->Requests())
            commands.push_back(request.Command());
        return commands;
    }

    std::unique_ptr<DeviceEmulator> emulator;
    DownloadAnswerer* recorder = nullptr;
    intptr_t handle = 0;

private:
    std::filesystem::path m_ini;
    std::filesystem::path m_hex;
};

DWORD AddressOf(const SensorRequest& request)
{
    return DWORD(request.Word(10)) | DWORD(request.Word(12)) << 16;
}

TEST(FirmwareDownloadOverPty, HexFileBecomesRecordTelegramsAtTheDownloadRate)
{
    DownloadBench bench;
    const std::string hex = ":020000040800F2\r\n"
                            ":03001000AABBCCBC\r\n"
                            ":02002000DDEE13\r\n"
                            ":00000001FF\r\n";
    ASSERT_EQ(bench.Download(hex), 1) << LastError();

    ASSERT_EQ(bench.Commands(), (std::vector<BYTE>{0x10, 0x0B, 0x0C, 0x0C, 0x0C}));
    const std::vector<SensorRequest> requests = bench.emulator->Requests();

    const SensorRequest& enter = requests[1];
    EXPECT_EQ(enter.Length(), 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(enter.data() + 9), 4), "1FWd");

    struct Expected {
        BYTE kind;
        DWORD address;
        std::vector<BYTE> data;
    };
    const std::vector<Expected> records{
        {0, 0x08000010, {0xAA, 0xBB, 0xCC}},
        {0, 0x08000020, {0xDD, 0xEE}},
        {1, 0x08000000, {}},
    };
    for (std::size_t i = 0; i < records.size(); ++i) {
        const SensorRequest& sent = requests[2 + i];
        SCOPED_TRACE("record " + std::to_string(i));
        EXPECT_EQ(sent.Length(), 134);
        EXPECT_EQ(sent.Byte(9), records[i].kind);
        EXPECT_EQ(AddressOf(sent), records[i].address);
        for (std::size_t b = 0; b < 128; ++b) {
            const BYTE expected = b < records[i].data.size() ? records[i].data[b] : 0xFF;
            ASSERT_EQ(sent.Byte(14 + b), expected) << "data byte " << b << ": no leftovers of earlier records";
        }
    }

    EXPECT_EQ(bench.recorder->Bauds(),
              (std::vector<std::string>{"19200", "38400", "38400", "38400", "38400"}));
    EXPECT_EQ(bench.IniBaud(), "19200") << "the configured rate is stored again";
    EXPECT_EQ(GetSetupBaudrate(bench.handle), 19200);
}

TEST(FirmwareDownloadOverPty, DamagedFileSendsNothingAndLeavesTheRate)
{
    DownloadBench bench;
    // A bad checksum in the last data record: not a byte of the file may reach the device.
    EXPECT_EQ(bench.Download(":020000040800F2\r\n:03001000AABBCCBD\r\n:00000001FF\r\n"), 0);
    EXPECT_FALSE(LastError().empty());
    EXPECT_FALSE(bench.emulator->WaitForRequests(1, 300));
    EXPECT_EQ(bench.IniBaud(), "19200");
}

TEST(FirmwareDownloadOverPty, SingleTelegramsTakeTheirLengthByCommand)
{
    DownloadBench bench;
    Request request{};
    request[0] = 0xF0;
    request[1] = 0x02;
    request[8] = 0x78;
    request[9] = 0x33;
    EXPECT_EQ(TelegramDownload(bench.handle, request.data()), 1) << LastError();
    request[8] = 0x55; // not a download command: the caller's length
    request[3] = 4;
    request[10] = 0x44;
    request[11] = 0x45;
    EXPECT_EQ(TelegramDownload(bench.handle, request.data()), 1) << LastError();

    const std::vector<SensorRequest> sent = bench.emulator->Requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].Length(), 2);
    EXPECT_EQ(sent[0].Byte(9), 0x33);
    EXPECT_EQ(sent[1].Length(), 4);
    EXPECT_EQ(sent[1].Byte(11), 0x45);
}

} // namespace
