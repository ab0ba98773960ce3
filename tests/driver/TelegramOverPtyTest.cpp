// Whole exchanges through the real port: the telegram manager on the slave side of a
// pseudo-terminal, a scripted device on the master side.
#include "driver/AnswerFrames.h"
#include "driver/internal/ComPort.h"
#include "driver/internal/DriverLastError.h"
#include "driver/internal/PortSettings.h"
#include "driver/PtyResponder.h"
#include "driver/internal/TelegramManager.h"
#include "driver/TemporaryIniFile.h"
#include "shared/SensorTelegram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Frames written out by hand from the frame layout and checksum rule.
const Bytes CONNECTION_TEST{0x02, 0x00, 0x01, 0x00, 0x10, 0x34, 0x12};
const Bytes CONNECTION_ANSWER{0x02, 0x80, 0x02, 0x00, 0x91, 0x00, 0x69, 0x30};

// Small legal time-outs: ACK deadline 200 ms, whole deadline 300 ms.
const char QUICK_SETUP[] = "ReadTimeout=0\nSTXTimeout=300\nACKResponseTimeout=200\nRepeatCounter=2\n";
// Room for an answer that trickles in: whole deadline 3 s.
const char PATIENT_SETUP[] = "ReadTimeout=0\nSTXTimeout=3000\nACKResponseTimeout=200\nRepeatCounter=2\n";
// Whole deadline 1 s: the port's own time-out of a full-buffer read would be 1.72 s.
const char TRICKLE_SETUP[] = "ReadTimeout=0\nSTXTimeout=1000\nACKResponseTimeout=200\nRepeatCounter=2\n";

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

// Points COM1 at the device and sets the manager up the way opening a sensor does.
void OpenLikeASensor(TelegramManager& manager, const TemporaryIniFile& ini, const PtyResponder& device,
                     const char* setupLines)
{
    ini.Write("[SETUP]\n" + std::string(setupLines) + "[PORTS]\nCOM1=" + device.SlavePath() + "\n");
    PortSettings settings;
    ASSERT_TRUE(ReadWriteSetupSection(ini.Path(), settings, SETUP_SECTION_READ));
    manager.SetSettings(settings);
    ComPort& port = manager.Port();
    port.SetIniPath(ini.Path());
    port.SetPortNumber(BYTE(settings.port));
    ASSERT_TRUE(port.SetTimeoutProperties(100, settings.readTotalMultiplier, settings.readTotalConstant,
                                          settings.writeTimeout, 1000));
    ASSERT_TRUE(port.SetPortProperties(settings.baudCode, 8, BYTE(settings.parity), 0, settings.readBufferSize,
                                       settings.writeBufferSize));
    ASSERT_TRUE(manager.OpenPort());
    FetchLastError();
}

class TelegramOverPty : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Start()); }

    void Open(const char* setupLines) { ASSERT_NO_FATAL_FAILURE(OpenLikeASensor(manager, ini, device, setupLines)); }

    BOOL Exchange(SensorAnswer& answer)
    {
        SensorRequest request(kFamilyZOK, 0x10);
        return manager.ExchangeTelegram(request.data(), answer.data());
    }

    PtyResponder device;
    TemporaryIniFile ini;
    TelegramManager manager{std::make_unique<ComPort>(1, 9600)};
};

TEST_F(TelegramOverPty, AnswerAfterAckComesBackAsAnAnswerRecord)
{
    Open(QUICK_SETUP);
    device.Script({Replies::AckThen(CONNECTION_ANSWER)});
    SensorAnswer answer;
    ASSERT_TRUE(Exchange(answer));
    EXPECT_EQ(answer.Marker(), kAnswerMarker);
    EXPECT_EQ(answer.Command(), 0x91);
    EXPECT_EQ(answer.Status(), 0x00);
    ASSERT_EQ(device.ReceivedFrames().size(), 1u);
    EXPECT_EQ(device.ReceivedFrames()[0], CONNECTION_TEST);
}

TEST(TelegramOverPtyFaults, FaultyRepliesAreSurvivedOrReported)
{
    struct Case {
        const char* name;
        const char* setup;
        std::vector<Reply> script;
        BOOL expected;
        std::size_t framesWritten;
        const char* lastError;
    };
    const Case cases[] = {
        {"nak then success on the repeat", QUICK_SETUP,
         {Replies::Nak(), Replies::AckThen(CONNECTION_ANSWER)}, TRUE, 2, ""},
        {"bad checksum on the first attempt only", QUICK_SETUP,
         {Replies::AckThen(Replies::WithBadChecksum(CONNECTION_ANSWER)), Replies::AckThen(CONNECTION_ANSWER)}, TRUE, 2,
         ""},
        {"ack split from stx across reads", QUICK_SETUP, {Replies::AckSplitFromFrame(CONNECTION_ANSWER, 150)}, TRUE, 1,
         ""},
        {"noise before the ack", QUICK_SETUP,
         {Replies::NoiseThenAckThen({0x55, 0x06, 0x41, 0x15, 0x00}, CONNECTION_ANSWER)}, TRUE, 1, ""},
        {"slow bytes with gaps above the interval", PATIENT_SETUP,
         {Replies::AckThenSlowFrame(CONNECTION_ANSWER, 120)}, TRUE, 1, ""},
        {"silence", QUICK_SETUP, {Replies::Silence(), Replies::Silence()}, FALSE, 2, "Error 522"},
        {"ack without an answer", QUICK_SETUP, {Replies::AckThen({}), Replies::AckThen({})}, FALSE, 2, "Error 522"},
    };
    // A fresh device and manager per case, so no reply or byte carries over.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PtyResponder caseDevice;
        ASSERT_TRUE(caseDevice.Start());
        TemporaryIniFile caseIni;
        TelegramManager caseManager(std::make_unique<ComPort>(1, 9600));
        ASSERT_NO_FATAL_FAILURE(OpenLikeASensor(caseManager, caseIni, caseDevice, c.setup));

        caseDevice.Script(c.script);
        SensorRequest request(kFamilyZOK, 0x10);
        SensorAnswer answer;
        const auto start = Clock::now();
        EXPECT_EQ(caseManager.ExchangeTelegram(request.data(), answer.data()), c.expected);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        EXPECT_LT(elapsed, 10000) << "deadlines end every attempt";
        EXPECT_EQ(answer.Marker(), c.expected ? kAnswerMarker : 0);
        const std::vector<Bytes> frames = caseDevice.ReceivedFrames();
        EXPECT_EQ(frames.size(), c.framesWritten);
        for (const Bytes& frame : frames)
            EXPECT_EQ(frame, CONNECTION_TEST) << "every attempt writes the same whole frame";
        EXPECT_EQ(FetchLastError(), c.lastError);
    }
}

TEST_F(TelegramOverPty, ReceiveOnlyTakesAFrameTheDeviceSendsOnItsOwn)
{
    Open(PATIENT_SETUP);
    std::thread unprompted([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        device.SendNow(CONNECTION_ANSWER);
    });
    SensorAnswer answer;
    const BOOL result = manager.ExchangeTelegram(nullptr, answer.data());
    unprompted.join();
    EXPECT_TRUE(result);
    EXPECT_EQ(answer.Marker(), kAnswerMarker);
    EXPECT_EQ(answer.Command(), 0x91);
    EXPECT_TRUE(device.ReceivedBytes().empty()) << "receive-only writes nothing";
}

TEST_F(TelegramOverPty, QuietReceiveOnlyPollStillMarksTheAnswer)
{
    Open(QUICK_SETUP);
    SensorAnswer answer;
    std::fill(answer.Bytes().begin(), answer.Bytes().end(), BYTE(0xAA));
    EXPECT_TRUE(manager.ExchangeTelegram(nullptr, answer.data()));
    EXPECT_EQ(answer.Marker(), kAnswerMarker);
    EXPECT_TRUE(std::all_of(answer.Bytes().begin() + 2, answer.Bytes().end(), [](BYTE b) { return b == 0xAA; }));
}

TEST_F(TelegramOverPty, ScanCountingMoreBeamsThanItCarriesIsRefused)
{
    Open(QUICK_SETUP);
    // Checksum-correct, but it counts 361 beams and carries 3.
    const Bytes shortScan = BuildAnswerFrame(0xB0, {0x69, 0x01, 0x10, 0x00, 0x20, 0x00, 0x30, 0x00}, 0x00);
    device.Script({Replies::AckThen(shortScan)});
    SensorRequest request(kFamilyZOK, 0x30);
    request.SetByte(10, 1);
    SensorAnswer answer;
    EXPECT_FALSE(manager.ExchangeTelegram(request.data(), answer.data()));
    EXPECT_NE(answer.Marker(), kAnswerMarker);
    EXPECT_EQ(device.ReceivedFrames().size(), 1u);
    EXPECT_EQ(FetchLastError(), "Error 2523");
}

TEST_F(TelegramOverPty, TricklingAnswerFailsAtTheWholeDeadline)
{
    Open(TRICKLE_SETUP);
    // ACK and the head of a frame of 700 bytes, then a byte every 50 ms, a pause that
    // ends a read just before the deadline, and more bytes every 50 ms.
    const Reply trickle = {{{Replies::ACK, Replies::STX, 0x80, 0xBC, 0x02}},
                           {Bytes(15, 0x30), 0, 50},
                           {Bytes(40, 0x31), 150, 50}};
    device.Script({trickle, trickle});
    SensorAnswer answer;
    const auto start = Clock::now();
    EXPECT_FALSE(Exchange(answer));
    // Two attempts of ACK phase and 1 s answer phase, with room for a loaded machine.
    EXPECT_LT(MillisecondsSince(start), 2500);
    EXPECT_EQ(FetchLastError(), "Error 522");
}

TEST_F(TelegramOverPty, ReceiveOnlyEndsWhileNoiseKeepsComing)
{
    Open(QUICK_SETUP);
    std::atomic<bool> stop{false};
    std::thread noise([&] {
        const auto end = Clock::now() + std::chrono::seconds(4);
        while (!stop && Clock::now() < end) {
            device.SendNow({0x55});
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    SensorAnswer answer;
    std::fill(answer.Bytes().begin(), answer.Bytes().end(), BYTE(0xAA));
    const auto start = Clock::now();
    const BOOL result = manager.ExchangeTelegram(nullptr, answer.data());
    const long long elapsed = MillisecondsSince(start);
    stop = true;
    noise.join();
    EXPECT_TRUE(result);
    // Two passes of at most 300 ms each, with room for a loaded machine.
    EXPECT_LT(elapsed, 1500);
    EXPECT_EQ(answer.Marker(), kAnswerMarker);
    EXPECT_TRUE(std::all_of(answer.Bytes().begin() + 2, answer.Bytes().end(), [](BYTE b) { return b == 0xAA; }));
}

} // namespace
