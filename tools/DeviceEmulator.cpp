#include "tools/DeviceEmulator.h"

#include "tools/AnswerFrameEncoder.h"
#include "tools/RequestFrameDecoder.h"

#include <array>
#include <chrono>

namespace {

constexpr BYTE ACK = 0x06;
constexpr BYTE NAK = 0x15;
constexpr int POLL_MS = 20;
// Bytes a line picks up: an ACK not followed by STX and stray values, but no NAK, which
// the driver would take as a refusal when a read happened to end on it.
const std::vector<BYTE> NOISE{0x55, ACK, 0x41, 0x00, 0xFF};

void SleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

DeviceEmulator::DeviceEmulator(std::unique_ptr<DeviceAnswerer> answerer, BYTE family)
    : m_answerer(std::move(answerer)), m_family(family)
{
}

DeviceEmulator::~DeviceEmulator()
{
    Stop();
}

int DeviceEmulator::Open()
{
    return m_pty.IsOpen() ? 0 : m_pty.Open();
}

bool DeviceEmulator::Start()
{
    if (Open() != 0)
        return false;
    if (!m_thread.joinable()) {
        m_stop = false;
        m_thread = std::thread([this] { Serve(m_stop); });
    }
    return true;
}

void DeviceEmulator::Run()
{
    if (Open() != 0)
        return;
    m_stop = false;
    Serve(m_stop);
}

void DeviceEmulator::Stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void DeviceEmulator::PlanFaults(const std::vector<EmulatorFault>& faults)
{
    std::lock_guard lock(m_mutex);
    m_faults.assign(faults.begin(), faults.end());
}

std::vector<SensorRequest> DeviceEmulator::Requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::size_t DeviceEmulator::RefusedFrames() const
{
    std::lock_guard lock(m_mutex);
    return m_refused;
}

bool DeviceEmulator::WaitForRequests(std::size_t count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_requests.size() >= count; });
}

void DeviceEmulator::Serve(const std::atomic<bool>& stop)
{
    std::array<BYTE, 1024> buffer{};
    while (!stop) {
        std::size_t count = 0;
        if (m_pty.Read(buffer.data(), buffer.size(), &count, POLL_MS) != 0) {
            SleepMs(POLL_MS); // nobody holds the slave side at the moment
            continue;
        }
        TakeBytes(buffer.data(), count);
    }
}

void DeviceEmulator::TakeBytes(const BYTE* data, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        switch (m_receiver.Take(data[i])) {
        case RequestFrameReceiver::Result::Pending:
            break;
        case RequestFrameReceiver::Result::Frame:
            HandleFrame(m_receiver.LastFrame());
            break;
        case RequestFrameReceiver::Result::BadChecksum: {
            std::lock_guard lock(m_mutex);
            ++m_refused;
            Send({NAK});
            break;
        }
        }
    }
}

void DeviceEmulator::HandleFrame(const std::vector<BYTE>& frame)
{
    const BYTE family = frame.size() > 1 ? m_answerer->FamilyAt(frame[1], m_family) : m_family;
    const std::optional<SensorRequest> request = DecodeRequestFrame(frame, family);
    if (!request) {
        {
            std::lock_guard lock(m_mutex);
            ++m_refused;
        }
        Send({NAK});
        return;
    }
    const EmulatorFault fault = NextFault();
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(*request);
    }
    m_changed.notify_all();

    SensorAnswer answer;
    std::vector<BYTE> answerFrame;
    if (AskAnswerer(*request, answer))
        answerFrame = EncodeAnswerFrame(request->Bytes(), answer.Bytes());
    if (answerFrame.empty()) {
        Send({NAK}); // not served, or the answer does not fit a frame
        return;
    }
    SendAnswer(answerFrame, fault);
}

bool DeviceEmulator::AskAnswerer(const SensorRequest& request, SensorAnswer& answer)
{
    try {
        return m_answerer->Answer(request.Bytes(), answer.Bytes());
    } catch (...) {
        return false; // a device that fails inside refuses the request; the line goes on
    }
}

EmulatorFault DeviceEmulator::NextFault()
{
    std::lock_guard lock(m_mutex);
    if (m_faults.empty())
        return EmulatorFault::None;
    const EmulatorFault fault = m_faults.front();
    m_faults.pop_front();
    return fault;
}

void DeviceEmulator::Send(const std::vector<BYTE>& bytes)
{
    m_pty.Write(bytes.data(), bytes.size()); // a reader that went away just misses them
}

void DeviceEmulator::SendAnswer(const std::vector<BYTE>& frame, EmulatorFault fault)
{
    std::vector<BYTE> bytes;
    switch (fault) {
    case EmulatorFault::None:
        bytes.push_back(ACK);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
        Send(bytes);
        return;
    case EmulatorFault::Nak:
        Send({NAK});
        return;
    case EmulatorFault::Silence:
        return;
    case EmulatorFault::AckSplit:
        Send({ACK});
        SleepMs(m_splitPauseMs);
        Send(frame);
        return;
    case EmulatorFault::NoiseBeforeAck:
        bytes = NOISE;
        bytes.push_back(ACK);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
        Send(bytes);
        return;
    case EmulatorFault::BadChecksum:
        bytes.push_back(ACK);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
        bytes[bytes.size() - 2] ^= 0x5A;
        Send(bytes);
        return;
    case EmulatorFault::SlowBytes:
        Send({ACK});
        SendSlowly(frame);
        return;
    }
}

void DeviceEmulator::SendSlowly(const std::vector<BYTE>& bytes)
{
    for (const BYTE value : bytes) {
        if (m_stop)
            return;
        Send({value});
        SleepMs(m_slowByteGapMs);
    }
}
