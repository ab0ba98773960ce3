#pragma once
// A device on the master side of a pseudo-terminal: the program (or the driver) opens the
// slave path as its serial port. Each request frame is taken off the line, turned back
// into a request record, answered by the answerer, and the answer goes back as ACK and
// answer frame. Faults can be planned for the next requests, as a flaky line or device
// would produce them.
#include "framework/core/PseudoTerminal.h"
#include "tools/DeviceAnswerer.h"
#include "tools/RequestFrameReceiver.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

enum class EmulatorFault {
    None,           // ACK and frame in one write
    Nak,            // refuse with NAK
    Silence,        // neither ACK nor frame
    AckSplit,       // ACK, a pause, then the frame, so that a reader sees them in two reads
    NoiseBeforeAck, // stray bytes, then ACK and frame
    BadChecksum,    // ACK and the frame with a spoiled checksum
    SlowBytes,      // ACK, then the frame byte by byte with a gap after each byte
};

class DeviceEmulator {
public:
    // family: 0 a ZOK scanner, 1 a KVR unit; it goes into every rebuilt request.
    DeviceEmulator(std::unique_ptr<DeviceAnswerer> answerer, BYTE family);
    ~DeviceEmulator();
    DeviceEmulator(const DeviceEmulator&) = delete;
    DeviceEmulator& operator=(const DeviceEmulator&) = delete;

    // Creates the pseudo-terminal pair; 0 or an errno code.
    int Open();
    // The device path the program opens (valid after Open).
    const std::string& SlavePath() const { return m_pty.SlavePath(); }
    // Opens when needed and answers on a thread of its own; false when no pair was made.
    bool Start();
    // Answers on the caller's thread until Stop is called from elsewhere.
    void Run();
    // Ends Run or the thread; the pair stays open until destruction.
    void Stop();

    // Answers are given on the emulator's thread: set the answerer up before Start.
    DeviceAnswerer& Answerer() { return *m_answerer; }

    // Faults for the next requests, one per request in order; later requests are answered
    // normally. A spoiled checksum planned once is bad on the first attempt only.
    void PlanFaults(const std::vector<EmulatorFault>& faults);
    // The pause of AckSplit and the gap of SlowBytes (defaults 50 and 150 ms; a gap above
    // the driver's 100 ms read interval splits every read).
    void SetSplitPauseMs(int ms) { m_splitPauseMs = ms; }
    void SetSlowByteGapMs(int ms) { m_slowByteGapMs = ms; }

    // The requests taken off the line so far, as rebuilt records.
    std::vector<SensorRequest> Requests() const;
    // Frames refused because their checksum or their layout was wrong.
    std::size_t RefusedFrames() const;
    // Blocks until at least count requests arrived or timeoutMs passed.
    bool WaitForRequests(std::size_t count, int timeoutMs) const;

private:
    void Serve(const std::atomic<bool>& stop);
    void TakeBytes(const BYTE* data, std::size_t count);
    void HandleFrame(const std::vector<BYTE>& frame);
    bool AskAnswerer(const SensorRequest& request, SensorAnswer& answer);
    EmulatorFault NextFault();
    void Send(const std::vector<BYTE>& bytes);
    void SendAnswer(const std::vector<BYTE>& frame, EmulatorFault fault);
    void SendSlowly(const std::vector<BYTE>& bytes);

    std::unique_ptr<DeviceAnswerer> m_answerer;
    BYTE m_family;
    PseudoTerminal m_pty;
    RequestFrameReceiver m_receiver;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_splitPauseMs{50};
    std::atomic<int> m_slowByteGapMs{150};

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::deque<EmulatorFault> m_faults;
    std::vector<SensorRequest> m_requests;
    std::size_t m_refused = 0;
};
