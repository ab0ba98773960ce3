#pragma once
// The emulator's side of the line: collects request frames from the bytes the program
// writes, one byte at a time. Bytes outside a frame are skipped; a length field that
// cannot belong to a frame drops the frame start and the search for STX goes on.
#include "framework/core/WinTypes.h"

#include <cstddef>
#include <vector>

class RequestFrameReceiver {
public:
    enum class Result {
        Pending,     // more bytes are needed
        Frame,       // a frame with a correct checksum is complete
        BadChecksum, // a frame is complete but its checksum does not match
    };

    // The largest frame: STX, address, length word, 774 bytes of command and data, checksum.
    static constexpr std::size_t kLargestFrame = 780;

    Result Take(BYTE value);
    // The last frame completed, STX to checksum (valid after Frame or BadChecksum).
    const std::vector<BYTE>& LastFrame() const { return m_frame; }
    void Reset();

private:
    enum class State { HuntStx, Address, LengthLow, LengthHigh, Body, ChecksumLow, ChecksumHigh };

    Result Finish();

    State m_state = State::HuntStx;
    std::size_t m_length = 0; // command and data bytes still expected
    std::vector<BYTE> m_frame;
};
