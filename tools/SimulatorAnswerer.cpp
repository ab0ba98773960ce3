#include "tools/SimulatorAnswerer.h"

#include "simulator/orusim.h"

#include <algorithm>

namespace {

constexpr BYTE kModeDelayCheck = 0x44;
constexpr BYTE kModeDelayCommit = 0x47;
constexpr std::size_t kModeAt = 9;
constexpr std::size_t kDelayAt = 10;
// The delay the program keeps with every mode but 1.
constexpr BYTE kDelayWithoutTime = 2;

} // namespace

bool SimulatorAnswerer::Answer(ConstRequestSpan request, AnswerSpan answer)
{
    // On the line the mode/delay pair carries its delay only with mode 1; the simulator,
    // which the program otherwise calls with the whole record, checks the delay with
    // every mode. Hand it the delay the program holds for the other modes.
    const BYTE command = request[RequestOffset::Command];
    if ((command == kModeDelayCheck || command == kModeDelayCommit) && request[kModeAt] != 1 && request[kDelayAt] == 0) {
        SensorRequest completed;
        std::copy(request.begin(), request.end(), completed.Bytes().begin());
        completed.SetByte(kDelayAt, kDelayWithoutTime);
        return SimTelegram(completed.data(), answer.data()) == 1;
    }
    return SimTelegram(request.data(), answer.data()) == 1;
}
