// One telegram exchange through the driver's C interface against a device on a
// pseudo-terminal that paces its bytes as a real line would: a short scan request and an
// answer of 361 beams (about 730 bytes on the wire), and the connection test (a short
// request and a short answer). The counter line_ratio is the time of an exchange divided
// by what the line and the device need for it: the request's and the answer's characters
// at the baud rate plus the device's own answer delay; line_ms is that time and
// after_last_ms the time from the answer's last byte on the line to the call's return.
#include "driver/orudrv.h"
#include "framework/core/PseudoTerminal.h"
#include "driver/internal/TelegramCrc.h"
#include "shared/SensorTelegram.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBitsPerCharacter = 10; // start, 8 data bits, stop; the line runs without parity
constexpr auto kAnswerDelay = std::chrono::microseconds(500);
constexpr std::size_t kBeams = 361;
constexpr BYTE kACK = 0x06;
constexpr BYTE kSTX = 0x02;
constexpr std::size_t kFrameOverhead = 6;

std::vector<BYTE> FramedAnswer(std::vector<BYTE> frame)
{
    const WORD crc = ComputeTelegramCrc(frame);
    frame.push_back(LOBYTE(crc));
    frame.push_back(HIBYTE(crc));
    return frame;
}

// The connection test's answer: its command and the device status.
std::vector<BYTE> ConnectionAnswerFrame()
{
    return FramedAnswer({kSTX, 0x80, 2, 0, 0x91, 0x00});
}

std::vector<BYTE> ScanAnswerFrame()
{
    // Command, count word, the beam words and the device status.
    const WORD length = WORD(1 + 2 + 2 * kBeams + 1);
    std::vector<BYTE> frame = {kSTX, 0x80, LOBYTE(length), HIBYTE(length), 0xB0, LOBYTE(WORD(kBeams)),
                               HIBYTE(WORD(kBeams))};
    frame.reserve(length + kFrameOverhead);
    for (std::size_t beam = 0; beam < kBeams; ++beam) {
        frame.push_back(BYTE(beam));
        frame.push_back(BYTE(0x01));
    }
    frame.push_back(0x00); // device status
    return FramedAnswer(std::move(frame));
}

// The device: it takes each request frame off the line, waits as long as the request's
// characters would have taken at the baud rate plus its answer delay, then sends ACK and
// the answer, each character at its time on the line.
class PacedDevice {
public:
    PacedDevice(int baud, std::vector<BYTE> answer)
        : m_characterTime(std::chrono::nanoseconds(1'000'000'000LL * kBitsPerCharacter / baud)),
          m_reply(std::move(answer))
    {
        m_reply.insert(m_reply.begin(), kACK);
    }
    ~PacedDevice()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    bool Start()
    {
        if (m_pty.Open() != 0)
            return false;
        m_thread = std::thread([this] { Serve(); });
        return true;
    }
    const std::string& SlavePath() const { return m_pty.SlavePath(); }
    // The line time of the last exchange.
    Clock::duration LineTime() const
    {
        return m_characterTime * (m_requestSize + m_reply.size()) + kAnswerDelay;
    }
    // When the last byte of the last answer went out.
    Clock::time_point LastByteSent() const { return Clock::time_point(Clock::duration(m_lastByte.load())); }

private:
    void Serve()
    {
        std::array<BYTE, 1024> buffer{};
        std::vector<BYTE> pending;
        while (!m_stop) {
            std::size_t count = 0;
            if (m_pty.Read(buffer.data(), buffer.size(), &count, 20) != 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            pending.insert(pending.end(), buffer.begin(), buffer.begin() + std::ptrdiff_t(count));
            while (pending.size() >= 4) {
                const std::size_t frameSize = std::size_t(pending[2] | (pending[3] << 8)) + kFrameOverhead;
                if (pending.size() < frameSize)
                    break;
                const Clock::time_point start = Clock::now() + m_characterTime * frameSize + kAnswerDelay;
                m_requestSize = frameSize;
                pending.erase(pending.begin(), pending.begin() + std::ptrdiff_t(frameSize));
                SendPaced(start);
            }
        }
    }

    void SendPaced(Clock::time_point start)
    {
        std::size_t sent = 0;
        while (sent < m_reply.size() && !m_stop) {
            const Clock::time_point next = start + m_characterTime * sent;
            std::this_thread::sleep_until(next);
            // Everything whose time has come goes out in one write.
            const auto elapsed = Clock::now() - start;
            std::size_t due = std::size_t(elapsed / m_characterTime) + 1;
            due = std::min(due, m_reply.size());
            // Noted before the last write, which the driver cannot see sooner: the last
            // byte is on the line when written, not before its character time passed.
            if (due == m_reply.size()) {
                const Clock::time_point lastOnLine = start + m_characterTime * static_cast<long long>(m_reply.size());
                m_lastByte = std::max(Clock::now(), lastOnLine).time_since_epoch().count();
            }
            m_pty.Write(m_reply.data() + sent, due - sent);
            sent = due;
        }
    }

    PseudoTerminal m_pty;
    Clock::duration m_characterTime;
    std::vector<BYTE> m_reply;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<std::size_t> m_requestSize{0};
    std::atomic<Clock::rep> m_lastByte{0};
};

// Exchanges the request with a device that gives answer at baud, and reports the time
// against the line time.
void RunExchange(benchmark::State& state, int baud, std::vector<BYTE> answerFrame, BYTE command, BYTE answerCommand)
{
    PacedDevice device(baud, std::move(answerFrame));
    if (!device.Start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    const std::filesystem::path ini = std::filesystem::temp_directory_path()
        / ("taliso-exchange-bench-" + std::to_string(getpid()) + ".INI");
    std::ofstream(ini) << "[SETUP]\nParity=NONE\nRepeatCounter=2\n[PORTS]\nCOM1=" << device.SlavePath() << "\n";
    const intptr_t handle = LoadSensor(ini.c_str());
    if (!handle || !OpenSensor(handle) || !SetBaudrate(handle, baud)) {
        state.SkipWithError("the driver cannot open the device");
        FreeSensor(handle);
        std::filesystem::remove(ini);
        return;
    }

    std::array<unsigned char, ORUDRV_REQUEST_SIZE> request{};
    request[0] = LOBYTE(kRequestMarker);
    request[1] = HIBYTE(kRequestMarker);
    request[2] = kFamilyZOK;
    request[8] = command;
    request[10] = 1; // the scan: 361 beams
    std::array<unsigned char, ORUDRV_ANSWER_SIZE> answer{};

    Clock::duration total{};
    Clock::duration afterLast{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const int ok = TelegramSensor(handle, request.data(), answer.data());
        const Clock::time_point end = Clock::now();
        total += end - start;
        afterLast += end - device.LastByteSent();
        if (ok != 1 || answer[8] != answerCommand) {
            state.SkipWithError("exchange failed");
            break;
        }
    }
    const double lineSeconds = std::chrono::duration<double>(device.LineTime()).count();
    const double runs = double(std::max<int64_t>(1, state.iterations()));
    const double meanSeconds = std::chrono::duration<double>(total).count() / runs;
    state.counters["line_ms"] = lineSeconds * 1000.0;
    state.counters["line_ratio"] = meanSeconds / lineSeconds;
    state.counters["after_last_ms"] = std::chrono::duration<double, std::milli>(afterLast).count() / runs;
    FreeSensor(handle);
    std::filesystem::remove(ini);
}

void BM_ScanExchange(benchmark::State& state)
{
    RunExchange(state, int(state.range(0)), ScanAnswerFrame(), 0x30, 0xB0);
}
BENCHMARK(BM_ScanExchange)->Arg(38400)->Arg(115200)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_ConnectionTestExchange(benchmark::State& state)
{
    RunExchange(state, int(state.range(0)), ConnectionAnswerFrame(), 0x10, 0x91);
}
BENCHMARK(BM_ConnectionTestExchange)->Arg(38400)->Arg(115200)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
