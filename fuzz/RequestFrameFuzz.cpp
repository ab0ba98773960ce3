// Feeds an arbitrary byte stream to the emulator's frame receiver and every frame it
// completes to the request decoder; the first input byte names the device family. Frames
// stay within the largest frame, and a frame the driver packs from a decoded request
// decodes to a request that packs to the same frame.
#include "FuzzCheck.h"

#include "driver/internal/TelegramFrame.h"
#include "tools/RequestFrameDecoder.h"
#include "tools/RequestFrameReceiver.h"

#include <optional>
#include <span>

namespace {

constexpr BYTE kFieldWrite = 0x40;
constexpr std::size_t kFieldShapeAt = 19;
constexpr BYTE kLargestKnownShape = 2;

// The driver's frame of a request; empty when the driver would not send it.
std::vector<BYTE> Pack(SensorRequest request)
{
    if (PrepareRequest(request.Bytes()) != RequestError::None)
        return {};
    FrameBuffer frame{};
    const std::size_t size = BuildTelegramFrame(request.Bytes(), frame);
    if (size == 0)
        FuzzFailure("a prepared request was not packed");
    return std::vector<BYTE>(frame.begin(), frame.begin() + std::ptrdiff_t(size));
}

// The driver fills names with blanks and sets its own length and check value, so the
// request decoded from a frame the driver packed is the one to compare: it packs again
// to that very frame.
void CheckDriverFramesDecodeStably(const SensorRequest& request, BYTE family)
{
    // Field writes of shapes the driver does not know go out as the caller's bytes from
    // byte 9 on, which the decoder places by the field layout: they are not compared.
    if (request.Command() == kFieldWrite && request.Byte(kFieldShapeAt) > kLargestKnownShape)
        return;
    const std::vector<BYTE> frame = Pack(request);
    if (frame.empty())
        return;
    const std::optional<SensorRequest> decoded = DecodeRequestFrame(frame, family);
    if (!decoded)
        FuzzFailure("a frame the driver packed does not decode");
    if (Pack(*decoded) != frame)
        FuzzFailure("a request decoded from a driver frame packs to another frame");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const BYTE family = data[0] & 0x01 ? kFamilyKVR : kFamilyZOK;
    RequestFrameReceiver receiver;
    for (std::size_t i = 1; i < size; ++i) {
        if (receiver.Take(data[i]) == RequestFrameReceiver::Result::Pending)
            continue;
        const std::vector<BYTE>& frame = receiver.LastFrame();
        if (frame.size() > RequestFrameReceiver::kLargestFrame || frame.empty() || frame.front() != kSTX)
            FuzzFailure("the receiver completed a frame it cannot hold");
        if (const std::optional<SensorRequest> request = DecodeRequestFrame(frame, family))
            CheckDriverFramesDecodeStably(*request, family);
    }
    return 0;
}
