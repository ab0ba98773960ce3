// The firmware download against a port that answers at once: the download rate by the
// configured one, the frames on the wire, and how often download mode is asked for.
#include "driver/internal/FirmwareDownload.h"

#include "HexBytes.h"
#include "TemporaryIniFile.h"
#include "driver/internal/DriverLastError.h"
#include "framework/core/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using ByteVector = std::vector<BYTE>;

ByteVector WithCrc(ByteVector frame)
{
    const WORD crc = ComputeTelegramCrc(frame);
    frame.push_back(LOBYTE(crc));
    frame.push_back(HIBYTE(crc));
    return frame;
}

// Answers each written frame with a short checksum-correct frame, except the first
// refusedEnterWrites frames of command 0x0B, which get silence.
class DownloadDevicePort : public ComPort {
public:
    explicit DownloadDevicePort(int refusedEnterWrites) : m_refused(refusedEnterWrites) {}

    std::vector<ByteVector> writes;

    BOOL SendTelegram(const BYTE* frame, DWORD length) override
    {
        writes.emplace_back(frame, frame + length);
        m_pending.clear();
        if (frame[FrameOffset::Command] == kCommandEnterDownload && m_refused > 0) {
            --m_refused;
            return TRUE;
        }
        // ACK for an exchange; a download telegram waits for the frame only.
        if (frame[FrameOffset::Command] == 0x10)
            m_pending.push_back(kACK);
        const ByteVector answer = Frame(BYTE(frame[FrameOffset::Command] | 0x80));
        m_pending.insert(m_pending.end(), answer.begin(), answer.end());
        return TRUE;
    }
    BOOL Receive(BYTE* buffer, DWORD count, DWORD* read) override
    {
        const DWORD taken = std::min<DWORD>(count, DWORD(m_pending.size()));
        std::copy_n(m_pending.begin(), taken, buffer);
        m_pending.erase(m_pending.begin(), m_pending.begin() + taken);
        *read = taken; // nothing read ends the attempt at once
        return TRUE;
    }
    BOOL ClearComPortBuffer() override { return TRUE; }
    BOOL IsOpen() const override { return FALSE; } // no reopen on a rate change

    std::vector<BYTE> Commands() const
    {
        std::vector<BYTE> commands;
        for (const ByteVector& w : writes)
            commands.push_back(w[FrameOffset::Command]);
        return commands;
    }

private:
    static ByteVector Frame(BYTE command)
    {
        return WithCrc({kSTX, 0x80, 0x02, 0x00, command, kStatusKVRBit});
    }

    int m_refused;
    ByteVector m_pending;
};

std::string ForgetError()
{
    char text[DRIVER_LAST_ERROR_SIZE];
    CopyAndClearLastErrorText(text, sizeof text);
    return text;
}

class FirmwareDownloadTest : public ::testing::Test {
protected:
    void SetUp() override { ForgetError(); }
    void TearDown() override { std::filesystem::remove(m_hex); }

    BOOL Download(int refusedEnterWrites, const std::string& hexText)
    {
        auto owned = std::make_unique<DownloadDevicePort>(refusedEnterWrites);
        port = owned.get();
        sensor = std::make_unique<SensorHandle>(iniPath.c_str(), std::move(owned));
        std::ofstream(m_hex, std::ios::binary) << hexText;
        SensorRequest workSpace;
        return FirmwareDownload(*sensor).SendHexFile(workSpace.Bytes(), m_hex.c_str());
    }
    std::string IniBaud() const { return ReadProfileString("SETUP", "Baud", "", ini.Path()).str(); }

    TemporaryIniFile ini{"[SETUP]\nBaud=19200\nRepeatCounter=2\n"};
    std::string iniPath = ini.Path();
    std::unique_ptr<SensorHandle> sensor;
    DownloadDevicePort* port = nullptr;

private:
    std::filesystem::path m_hex = std::string(ini.Path()) + ".hex";
};

TEST(FirmwareDownloadRate, DownloadRateByTheConfiguredOne)
{
    const std::vector<std::pair<DWORD, DWORD>> table{
        {9600, 38400}, {19200, 38400}, {38400, 38400}, {2150, 8602}, {4301, 8602},
        {8602, 8602},  {65312, 8602},  {56000, 4302},  {1075, 4302}, {0, 4302},
    };
    for (const auto& [configured, download] : table)
        EXPECT_EQ(DownloadBaudCode(configured), download) << configured;
}

TEST_F(FirmwareDownloadTest, RecordTelegramOnTheWire)
{
    ASSERT_TRUE(Download(0, ":020000040800F2\r\n:03001000AABBCCBC\r\n:00000001FF\r\n")) << ForgetError();
    ASSERT_EQ(port->Commands(), (std::vector<BYTE>{0x10, 0x0B, 0x0C, 0x0C}));

    EXPECT_EQ(port->writes[1], WithCrc(HexBytes("02 00 05 00 0B 31 46 57 64"))) << "mode code \"1FWd\"";

    ByteVector record = HexBytes("02 00 86 00 0C 00 10 00 00 08 AA BB CC");
    record.resize(5 + 133, 0xFF); // the unused rest of the data area
    EXPECT_EQ(port->writes[2], WithCrc(record));
    EXPECT_EQ(port->writes[3][5], 1) << "end record";
    EXPECT_EQ(IniBaud(), "19200");
}

TEST_F(FirmwareDownloadTest, DownloadModeIsAskedForUpToTwentyTimes)
{
    const std::string hex = ":0100000042BD\r\n:00000001FF\r\n";
    struct Case {
        int refusedWrites; // two writes per telegram (RepeatCounter 2)
        BOOL result;
        long enterWrites;
        long recordWrites;
    };
    const std::vector<Case> cases{
        {0, TRUE, 1, 2},
        {2 * 19 + 1, TRUE, 2 * 19 + 2, 2}, // the second write of the twentieth telegram
        {2 * 20, FALSE, 2 * 20, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusedWrites);
        EXPECT_EQ(Download(c.refusedWrites, hex), c.result);
        const std::vector<BYTE> commands = port->Commands();
        EXPECT_EQ(std::count(commands.begin(), commands.end(), kCommandEnterDownload), c.enterWrites);
        EXPECT_EQ(std::count(commands.begin(), commands.end(), kCommandDownloadRecord), c.recordWrites);
        EXPECT_EQ(IniBaud(), "19200") << "the configured rate is stored again";
        EXPECT_EQ(ForgetError().empty(), bool(c.result)) << "a failure says why, a success leaves nothing";
    }
}

TEST_F(FirmwareDownloadTest, DamagedFileIsRefusedBeforeAnythingIsSent)
{
    EXPECT_FALSE(Download(0, ":0100000042BD\r\n"));
    EXPECT_TRUE(port->writes.empty());
    EXPECT_EQ(ForgetError(), "Error 2557") << "no language library: the id stands for the text";
    EXPECT_EQ(IniBaud(), "19200");
}

// An INI file that takes no rate keeps the configured one, which is what the download
// must leave there: the download runs all the same, and a failed one gives its own reason.
TEST_F(FirmwareDownloadTest, IniFileThatTakesNoRateDoesNotStandForTheDownload)
{
    const std::string hex = ":0100000042BD\r\n:00000001FF\r\n";
    EXPECT_FALSE(Download(2 * 20, hex));
    const std::string downloadReason = ForgetError();
    ASSERT_FALSE(downloadReason.empty());

    iniPath = std::string(ini.Path()) + "/Taliso.INI"; // its folder is a regular file
    EXPECT_TRUE(Download(0, hex));
    EXPECT_EQ(ForgetError(), "");
    EXPECT_FALSE(Download(2 * 20, hex));
    EXPECT_EQ(ForgetError(), downloadReason);
    EXPECT_EQ(IniBaud(), "19200");
}

} // namespace
