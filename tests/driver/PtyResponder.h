#pragma once
// A scripted device on the master side of a pseudo-terminal: it collects the request
// frames the driver writes to the slave and answers each with the next scripted reply,
// which may carry faults (NAK, silence, noise, split or slow bytes, a bad checksum).
#include "framework/core/PseudoTerminal.h"
#include "framework/core/WinTypes.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using Bytes = std::vector<BYTE>;

// Bytes written in one go, after a pause, optionally one by one with a gap after each.
struct ReplyChunk {
    Bytes bytes;
    int pauseBeforeMs = 0;
    int gapAfterEachByteMs = 0;
};
// The answer to one request frame; an empty reply is silence.
using Reply = std::vector<ReplyChunk>;

namespace Replies {
constexpr BYTE ACK = 0x06;
constexpr BYTE NAK = 0x15;
constexpr BYTE STX = 0x02;

Reply Silence();
Reply Nak();
// ACK directly followed by the frame, in one write.
Reply AckThen(const Bytes& frame);
// ACK alone, then after a pause the frame, so that a reader sees them in two reads.
Reply AckSplitFromFrame(const Bytes& frame, int pauseMs);
// Noise, then ACK and frame.
Reply NoiseThenAckThen(const Bytes& noise, const Bytes& frame);
// ACK, then the frame byte by byte with a gap after each byte.
Reply AckThenSlowFrame(const Bytes& frame, int gapMs);
// The same frame with its checksum's low byte changed.
Bytes WithBadChecksum(Bytes frame);
} // namespace Replies

class PtyResponder {
public:
    PtyResponder();
    ~PtyResponder();
    PtyResponder(const PtyResponder&) = delete;
    PtyResponder& operator=(const PtyResponder&) = delete;

    // Opens the pair and starts answering; false when no pty could be made.
    bool Start();
    void Stop();
    const std::string& SlavePath() const { return m_pty.SlavePath(); }

    // Replies for the next request frames, in order; frames beyond the script get none.
    void Script(std::vector<Reply> replies);
    // Writes bytes unprompted, as a device that sends on its own.
    void SendNow(const Bytes& bytes);

    // Blocks until at least count request frames arrived or timeoutMs passed.
    bool WaitForFrames(std::size_t count, int timeoutMs);
    // Blocks until every scripted reply has been written or timeoutMs passed.
    bool WaitUntilScriptDone(int timeoutMs);
    std::vector<Bytes> ReceivedFrames() const;
    // Every byte the driver wrote, frames or not.
    Bytes ReceivedBytes() const;

private:
    void Run();
    void TakeBytes(const BYTE* data, std::size_t count);
    void Answer();
    void WriteReply(const Reply& reply);

    PseudoTerminal m_pty;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Reply> m_script;
    std::vector<Bytes> m_frames;
    Bytes m_allBytes;
    Bytes m_pending; // bytes of a frame still being received
    std::size_t m_unanswered = 0;
    bool m_replying = false;
};
