// The emulator on a pseudo-terminal with the real driver on the other side, through the
// driver's public interface.
#include "tools/CannedAnswerer.h"
#include "tools/DeviceEmulator.h"
#include "tools/EmulatorOptions.h"

#include "driver/orudrv.h"
#include "simulator/orusim.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

// Small legal time-outs: ACK deadline 200 ms, whole deadline 300 ms, two attempts.
const char QUICK_SETUP[] = "ReadTimeout=0\nSTXTimeout=300\nACKResponseTimeout=200\nRepeatCounter=2\n";
// Room for an answer that trickles in.
const char PATIENT_SETUP[] = "ReadTimeout=0\nSTXTimeout=3000\nACKResponseTimeout=200\nRepeatCounter=2\n";

using Request = std::array<unsigned char, ORUDRV_REQUEST_SIZE>;
using Answer = std::array<unsigned char, ORUDRV_ANSWER_SIZE>;

Request MakeRequest(BYTE family, BYTE command)
{
    Request request{};
    request[0] = 0xF0; // marker 752
    request[1] = 0x02;
    request[2] = family;
    request[8] = command;
    return request;
}

std::string LastError()
{
    char text[256];
    ErrorSensor(0, text, sizeof text);
    return text;
}

// An emulated device and a driver handle whose COM1 is the emulator's slave side.
class Bench {
public:
    Bench(std::unique_ptr<DeviceAnswerer> answerer, BYTE family, const char* setup = QUICK_SETUP)
        : emulator(std::move(answerer), family)
    {
        EXPECT_TRUE(emulator.Start());
        static const std::string tag = std::to_string(std::random_device{}());
        static std::atomic<int> counter{0};
        m_ini = std::filesystem::temp_directory_path()
            / ("taliso-emulator-" + tag + "-" + std::to_string(++counter) + ".INI");
        std::ofstream(m_ini) << "[SETUP]\n" << setup << "[PORTS]\nCOM1=" << emulator.SlavePath() << "\n";
        handle = LoadSensor(m_ini.c_str());
        EXPECT_NE(handle, 0);
        EXPECT_EQ(OpenSensor(handle), 1) << LastError();
        LastError();
    }
    ~Bench()
    {
        FreeSensor(handle);
        std::filesystem::remove(m_ini);
    }

    int Exchange(const Request& request, Answer& answer) { return TelegramSensor(handle, request.data(), answer.data()); }

    DeviceEmulator emulator;
    intptr_t handle = 0;

private:
    std::filesystem::path m_ini;
};

std::unique_ptr<CannedAnswerer> Canned(BYTE family)
{
    return std::make_unique<CannedAnswerer>(family);
}

TEST(DeviceEmulator, LineFaultsAreSurvivedOrReported)
{
    struct Case {
        const char* name;
        std::vector<EmulatorFault> faults;
        const char* setup;
        int expected;
        std::size_t requests;
    };
    const Case cases[] = {
        {"plain", {}, QUICK_SETUP, 1, 1},
        {"ack split from the frame", {EmulatorFault::AckSplit}, QUICK_SETUP, 1, 1},
        {"noise before the ack", {EmulatorFault::NoiseBeforeAck}, QUICK_SETUP, 1, 1},
        {"slow bytes", {EmulatorFault::SlowBytes}, PATIENT_SETUP, 1, 1},
        {"bad checksum once", {EmulatorFault::BadChecksum}, QUICK_SETUP, 1, 2},
        {"nak then answer", {EmulatorFault::Nak}, QUICK_SETUP, 1, 2},
        {"nak twice", {EmulatorFault::Nak, EmulatorFault::Nak}, QUICK_SETUP, 0, 2},
        {"silence twice", {EmulatorFault::Silence, EmulatorFault::Silence}, QUICK_SETUP, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench(Canned(kFamilyZOK), kFamilyZOK, c.setup);
        bench.emulator.PlanFaults(c.faults);
        Answer answer{};
        EXPECT_EQ(bench.Exchange(MakeRequest(kFamilyZOK, 0x10), answer), c.expected);
        EXPECT_EQ(bench.emulator.Requests().size(), c.requests);
        if (c.expected) {
            EXPECT_EQ(answer[0] | (answer[1] << 8), 753);
            EXPECT_EQ(answer[8], 0x91);
            EXPECT_EQ(LastError(), "");
        }
    }
}

TEST(DeviceEmulator, SilenceLeavesAReasonThatIsFetchedOnce)
{
    Bench bench(Canned(kFamilyZOK), kFamilyZOK);
    bench.emulator.PlanFaults({EmulatorFault::Silence, EmulatorFault::Silence});
    Answer answer{};
    EXPECT_EQ(bench.Exchange(MakeRequest(kFamilyZOK, 0x10), answer), 0);
    char text[256] = "x";
    EXPECT_EQ(ErrorSensor(bench.handle, text, sizeof text), 1);
    EXPECT_STRNE(text, "");
    EXPECT_EQ(ErrorSensor(bench.handle, text, sizeof text), 0);
    EXPECT_STREQ(text, "");
}

TEST(DeviceEmulator, ScannerIdentifiesItselfThroughTheDriver)
{
    Bench bench(Canned(kFamilyZOK), kFamilyZOK);
    Answer answer{};
    ASSERT_EQ(bench.Exchange(MakeRequest(kFamilyZOK, 0x31), answer), 1);
    EXPECT_EQ(answer[8], 0xB1);
    EXPECT_EQ(answer[7], 0x00);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&answer[9])), "03.20");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&answer[19])), "EMULATOR");
    EXPECT_EQ(GetSensorType(bench.handle, 0), 4);
    EXPECT_EQ(GetSensorCaps(bench.handle, 4, 6), 360) << "version 0x320: low byte 32";
}

TEST(DeviceEmulator, UnitReportsTheTypeOfItsScanner)
{
    auto answerer = Canned(kFamilyKVR);
    answerer->SetScannerType(50);
    Bench bench(std::move(answerer), kFamilyKVR);
    Answer answer{};
    ASSERT_EQ(bench.Exchange(MakeRequest(kFamilyKVR, 0x10), answer), 1);
    EXPECT_EQ(answer[8], 0x91);
    EXPECT_EQ(answer[7], 0x08);
    EXPECT_EQ(GetSensorType(bench.handle, 1), 178);
    bench.emulator.PlanFaults({EmulatorFault::Silence, EmulatorFault::Silence});
    EXPECT_EQ(GetSensorType(bench.handle, 1), 132) << "no answer";
}

TEST(DeviceEmulator, ErrorListThroughTheDriver)
{
    auto answerer = Canned(kFamilyZOK);
    answerer->SetErrorList({{1, 23}, {2, 45}});
    Bench bench(std::move(answerer), kFamilyZOK);
    Answer answer{};
    ASSERT_EQ(bench.Exchange(MakeRequest(kFamilyZOK, 0x32), answer), 1);
    EXPECT_EQ(answer[8], 0xB2);
    EXPECT_EQ(answer[9], 2);
    EXPECT_EQ((std::vector<int>{answer[10], answer[11], answer[12], answer[13]}), (std::vector<int>{1, 23, 2, 45}));
}

TEST(DeviceEmulator, RequestsArriveAsTheProgramFilledThemAndUnservedOnesAreRefused)
{
    Bench bench(Canned(kFamilyKVR), kFamilyKVR);
    Request request = MakeRequest(kFamilyKVR, 0x45);
    request[5] = 2; // device address
    request[9] = 1; // field pair
    request[10] = 1; // warning field
    Answer answer{};
    EXPECT_EQ(bench.Exchange(request, answer), 0) << "the canned device does not serve it";
    const std::vector<SensorRequest> seen = bench.emulator.Requests();
    ASSERT_EQ(seen.size(), 2u) << "refused with NAK, then repeated";
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(seen[0].Family(), kFamilyKVR);
    EXPECT_EQ(seen[0].Command(), 0x45);
    EXPECT_EQ(seen[0].Byte(RequestOffset::Address), 2);
    EXPECT_EQ(seen[0].Length(), 3);
    EXPECT_EQ(seen[0].Byte(9), 1);
    EXPECT_EQ(seen[0].Byte(10), 1);
}

// A device that answers records on its own, as the simulator library does.
class RecordAnswerer : public DeviceAnswerer {
public:
    explicit RecordAnswerer(std::function<bool(ConstRequestSpan, AnswerSpan)> body) : m_body(std::move(body)) {}
    bool Answer(ConstRequestSpan request, AnswerSpan answer) override { return m_body(request, answer); }

private:
    std::function<bool(ConstRequestSpan, AnswerSpan)> m_body;
};

TEST(DeviceEmulator, APluggedAnswererServesWholeContours)
{
    auto answerer = std::make_unique<RecordAnswerer>([](ConstRequestSpan request, AnswerSpan answer) {
        if (request[RequestOffset::Command] != 0x45 || request[10] != 1)
            return false;
        answer[AnswerOffset::Command] = 0xC5;
        answer[AnswerOffset::Status] = 0x00;
        answer[19] = 3;
        SetRecordWord(answer, 27, 180); // 181 values
        for (std::size_t i = 0; i <= 180; ++i)
            SetRecordWord(answer, 29 + 2 * i, WORD(35 + (i == 90 ? 0x4000 : 0)));
        return true;
    });
    Bench bench(std::move(answerer), kFamilyZOK);
    Request request = MakeRequest(kFamilyZOK, 0x45);
    request[10] = 1;
    Answer answer{};
    ASSERT_EQ(bench.Exchange(request, answer), 1);
    EXPECT_EQ(answer[8], 0xC5);
    EXPECT_EQ(answer[19], 3);
    EXPECT_EQ(answer[27] | (answer[28] << 8), 180);
    EXPECT_EQ(answer[29] | (answer[30] << 8), 35);
    EXPECT_EQ(answer[29 + 180] | (answer[30 + 180] << 8), 0x4000 + 35);
    EXPECT_EQ(answer[29 + 360] | (answer[30 + 360] << 8), 35);
}

TEST(EmulatorOptions, CommandLinesAndTheirDevices)
{
    struct Case {
        std::vector<const char*> arguments;
        std::optional<BYTE> family; // none: the line does not parse
        AnswerSource answers;
        std::vector<EmulatorFault> faults;
    };
    const Case cases[] = {
        {{}, kFamilyZOK, AnswerSource::Canned, {}},
        {{"--answer", "sim"}, kFamilyZOK, AnswerSource::Simulator, {}},
        {{"--family", "kvr", "--answer", "sim", "--fault", "nak", "--fault", "slow"},
         kFamilyKVR,
         AnswerSource::Simulator,
         {EmulatorFault::Nak, EmulatorFault::SlowBytes}},
        {{"--answer", "canned", "--family", "zok"}, kFamilyZOK, AnswerSource::Canned, {}},
        {{"--answer"}, std::nullopt, {}, {}},
        {{"--answer", "device"}, std::nullopt, {}, {}},
        {{"--family", "kvr", "--fault"}, std::nullopt, {}, {}},
        {{"sim"}, std::nullopt, {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv = {"taliso-emulator"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const std::optional<EmulatorOptions> options = ParseEmulatorOptions(int(argv.size()), argv.data());
        ASSERT_EQ(options.has_value(), c.family.has_value()) << argv.size();
        if (!options)
            continue;
        EXPECT_EQ(options->family, *c.family);
        EXPECT_EQ(options->answers, c.answers);
        EXPECT_EQ(options->faults, c.faults);
    }
}

// With "--answer sim" the driver on the other end of the line gets what the simulator
// library answers itself.
TEST(DeviceEmulator, SimulatorAnswersThroughTheDriver)
{
    for (const BYTE family : {kFamilyZOK, kFamilyKVR}) {
        SCOPED_TRACE(int(family));
        EmulatorOptions options;
        options.family = family;
        options.answers = AnswerSource::Simulator;
        Bench bench(MakeAnswerer(options), family);
        // A planned fault still applies: the NAK costs one repeat.
        bench.emulator.PlanFaults({EmulatorFault::Nak});

        for (const BYTE command : {BYTE(0x10), BYTE(0x31)}) {
            const Request request = MakeRequest(family, command);
            Answer direct{};
            ASSERT_EQ(SimTelegram(request.data(), direct.data()), 1);
            Answer answer{};
            ASSERT_EQ(bench.Exchange(request, answer), 1) << LastError();
            EXPECT_EQ(answer[0] | (answer[1] << 8), 753);
            EXPECT_EQ(answer[7], direct[7]) << "status";
            EXPECT_EQ(answer[8], direct[8]) << "answer command";
        }
        EXPECT_EQ(bench.emulator.Requests().size(), 3u);

        Answer direct{};
        ASSERT_EQ(SimTelegram(MakeRequest(family, 0x31).data(), direct.data()), 1);
        Answer answer{};
        ASSERT_EQ(bench.Exchange(MakeRequest(family, 0x31), answer), 1);
        const auto text = [](const Answer& a, std::size_t offset) {
            return std::string(reinterpret_cast<const char*>(&a[offset]));
        };
        EXPECT_EQ(text(answer, 9), text(direct, 9)) << "version";
        EXPECT_FALSE(text(answer, 9).empty());
        EXPECT_EQ(text(answer, 19), text(direct, 19)) << "name";
        EXPECT_EQ(answer[28], direct[28]) << "type code";
    }
}

} // namespace
