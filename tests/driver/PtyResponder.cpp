#include "driver/PtyResponder.h"

#include <chrono>

namespace {

constexpr std::size_t FRAME_OVERHEAD = 6; // STX, address, two length bytes, two checksum bytes
constexpr std::size_t LARGEST_FRAME = 780;

void SleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

namespace Replies {

Reply Silence()
{
    return {};
}

Reply Nak()
{
    return {{{NAK}}};
}

Reply AckThen(const Bytes& frame)
{
    Bytes bytes{ACK};
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    return {{bytes}};
}

Reply AckSplitFromFrame(const Bytes& frame, int pauseMs)
{
    return {{{ACK}}, {frame, pauseMs}};
}

Reply NoiseThenAckThen(const Bytes& noise, const Bytes& frame)
{
    Bytes bytes = noise;
    bytes.push_back(ACK);
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    return {{bytes}};
}

Reply AckThenSlowFrame(const Bytes& frame, int gapMs)
{
    return {{{ACK}}, {frame, 0, gapMs}};
}

Bytes WithBadChecksum(Bytes frame)
{
    if (frame.size() >= 2)
        frame[frame.size() - 2] ^= 0x5A;
    return frame;
}

} // namespace Replies

PtyResponder::PtyResponder() = default;

PtyResponder::~PtyResponder()
{
    Stop();
}

bool PtyResponder::Start()
{
    if (m_pty.Open() != 0)
        return false;
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void PtyResponder::Stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    m_pty.Close();
}

void PtyResponder::Script(std::vector<Reply> replies)
{
    std::lock_guard lock(m_mutex);
    m_script.assign(replies.begin(), replies.end());
}

void PtyResponder::SendNow(const Bytes& bytes)
{
    m_pty.Write(bytes.data(), bytes.size());
}

bool PtyResponder::WaitForFrames(std::size_t count, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_frames.size() >= count; });
}

bool PtyResponder::WaitUntilScriptDone(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_script.empty() && !m_replying; });
}

std::vector<Bytes> PtyResponder::ReceivedFrames() const
{
    std::lock_guard lock(m_mutex);
    return m_frames;
}

Bytes PtyResponder::ReceivedBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_allBytes;
}

void PtyResponder::Run()
{
    BYTE buffer[1024];
    while (!m_stop) {
        std::size_t count = 0;
        if (m_pty.Read(buffer, sizeof buffer, &count, 10) != 0) {
            SleepMs(5); // the driver's side is closed for the moment
            continue;
        }
        if (count > 0)
            TakeBytes(buffer, count);
        Answer();
    }
}

// Splits the byte stream into frames by their length field, skipping what lies between.
void PtyResponder::TakeBytes(const BYTE* data, std::size_t count)
{
    std::lock_guard lock(m_mutex);
    m_allBytes.insert(m_allBytes.end(), data, data + count);
    m_pending.insert(m_pending.end(), data, data + count);
    for (;;) {
        std::size_t start = 0;
        while (start < m_pending.size() && m_pending[start] != Replies::STX)
            ++start;
        m_pending.erase(m_pending.begin(), m_pending.begin() + std::ptrdiff_t(start));
        if (m_pending.size() < 4)
            break;
        const std::size_t length = m_pending[2] | (std::size_t(m_pending[3]) << 8);
        if (length + FRAME_OVERHEAD > LARGEST_FRAME) {
            m_pending.erase(m_pending.begin()); // not a frame start after all
            continue;
        }
        if (m_pending.size() < length + FRAME_OVERHEAD)
            break;
        const auto end = m_pending.begin() + std::ptrdiff_t(length + FRAME_OVERHEAD);
        m_frames.emplace_back(m_pending.begin(), end);
        m_pending.erase(m_pending.begin(), end);
        ++m_unanswered;
    }
    m_changed.notify_all();
}

void PtyResponder::Answer()
{
    for (;;) {
        Reply reply;
        {
            std::lock_guard lock(m_mutex);
            if (m_unanswered == 0)
                return;
            --m_unanswered;
            if (m_script.empty())
                continue; // unscripted frames meet silence
            reply = std::move(m_script.front());
            m_script.pop_front();
            m_replying = true;
        }
        WriteReply(reply);
        {
            std::lock_guard lock(m_mutex);
            m_replying = false;
        }
        m_changed.notify_all();
    }
}

void PtyResponder::WriteReply(const Reply& reply)
{
    for (const ReplyChunk& chunk : reply) {
        if (m_stop)
            return;
        SleepMs(chunk.pauseBeforeMs);
        if (chunk.gapAfterEachByteMs <= 0) {
            m_pty.Write(chunk.bytes.data(), chunk.bytes.size());
            continue;
        }
        for (BYTE byte : chunk.bytes) {
            if (m_stop)
                return;
            m_pty.Write(&byte, 1);
            SleepMs(chunk.gapAfterEachByteMs);
        }
    }
}
