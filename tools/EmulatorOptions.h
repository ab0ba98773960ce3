#pragma once
// The command line of taliso-emulator: which device it plays, what answers for it, and
// the faults planned for the first requests.
#include "tools/DeviceAnswerer.h"
#include "tools/DeviceEmulator.h"

#include <memory>
#include <optional>
#include <vector>

enum class AnswerSource {
    Canned,    // fixed answers to the connection test, identification and error list
    Simulator, // the simulator library answers every request as its device would
};

struct EmulatorOptions {
    BYTE family = kFamilyZOK;
    AnswerSource answers = AnswerSource::Canned;
    std::vector<EmulatorFault> faults;
};

// Reads "--family zok|kvr", "--answer canned|sim" and repeated "--fault KIND" from the
// arguments after the program name; empty for anything else.
std::optional<EmulatorOptions> ParseEmulatorOptions(int argc, const char* const* argv);

// The answerer the options choose, for the emulated family.
std::unique_ptr<DeviceAnswerer> MakeAnswerer(const EmulatorOptions& options);

// The text printed for a command line that does not parse.
const char* EmulatorUsage();
