// Feeds arbitrary answer frames to the unpacker. The first input byte picks the family
// (or receive-only) and whether the frame's checksum is repaired, so the fuzzer gets past
// the checksum to the per-command layouts; the second is the request's sub-code byte.
#include "driver/internal/TelegramCrc.h"
#include "driver/internal/TelegramFrame.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {

constexpr BYTE kUntouched = 0xA5;

void RepairChecksum(std::vector<BYTE>& frame)
{
    if (frame.size() < 4)
        return;
    const std::size_t checked = std::size_t(MAKEWORD(frame[2], frame[3])) + 4;
    if (frame.size() < checked + 2)
        return;
    const WORD crc = ComputeTelegramCrc(std::span<const BYTE>(frame.data(), checked));
    frame[checked] = LOBYTE(crc);
    frame[checked + 1] = HIBYTE(crc);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const BYTE mode = data[0];
    SensorRequest request(BYTE(mode & 0x03), 0x00);
    request.SetByte(10, data[1]);
    std::vector<BYTE> frame(data + 2, data + size);
    if (mode & 0x80)
        RepairChecksum(frame);

    SensorAnswer answer;
    for (std::size_t i = 0; i < kAnswerRecordSize; ++i)
        answer.SetByte(i, kUntouched);
    const bool receiveOnly = (mode & 0x03) == 0x03;
    const AnswerError error = receiveOnly
                                  ? ParseAnswerFrame(frame, answer.Bytes())
                                  : ParseAnswerFrame(frame, request.Bytes(), answer.Bytes());
    // A refused frame leaves the data part of the record as it was.
    if (error != AnswerError::None) {
        const auto bytes = answer.Bytes();
        if (std::any_of(bytes.begin() + AnswerOffset::Data, bytes.end(),
                        [](BYTE b) { return b != kUntouched; }))
            std::abort();
    }
    return 0;
}
