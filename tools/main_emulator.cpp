// taliso-emulator: a device on a pseudo-terminal for running the program or the driver
// without hardware. Prints the device path to put into the "PORTS" section, then answers
// until it is interrupted.
#include "tools/CannedAnswerer.h"
#include "tools/DeviceEmulator.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

void PrintUsage()
{
    std::fprintf(stderr,
                 "usage: taliso-emulator [--family zok|kvr] [--fault KIND]...\n"
                 "  --family  the device to play: a ZOK scanner (default) or a KVR unit\n"
                 "  --fault   a fault for the next request, in order: nak, silence, split,\n"
                 "            noise, badchecksum, slow\n");
}

bool ParseFault(const char* text, EmulatorFault& fault)
{
    struct Name {
        const char* text;
        EmulatorFault fault;
    };
    static const Name names[] = {
        {"nak", EmulatorFault::Nak},           {"silence", EmulatorFault::Silence},
        {"split", EmulatorFault::AckSplit},    {"noise", EmulatorFault::NoiseBeforeAck},
        {"badchecksum", EmulatorFault::BadChecksum}, {"slow", EmulatorFault::SlowBytes},
    };
    for (const Name& name : names) {
        if (std::strcmp(text, name.text) == 0) {
            fault = name.fault;
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    BYTE family = kFamilyZOK;
    std::vector<EmulatorFault> faults;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (option == "--family" && value && (std::strcmp(value, "zok") == 0 || std::strcmp(value, "kvr") == 0)) {
            family = std::strcmp(value, "kvr") == 0 ? kFamilyKVR : kFamilyZOK;
            ++i;
            continue;
        }
        EmulatorFault fault{};
        if (option == "--fault" && value && ParseFault(value, fault)) {
            faults.push_back(fault);
            ++i;
            continue;
        }
        PrintUsage();
        return 2;
    }

    DeviceEmulator emulator(std::make_unique<CannedAnswerer>(family), family);
    if (const int error = emulator.Open(); error != 0) {
        std::fprintf(stderr, "taliso-emulator: no pseudo-terminal: %s\n", std::strerror(error));
        return 1;
    }
    emulator.PlanFaults(faults);
    std::printf("%s\n", emulator.SlavePath().c_str());
    std::fflush(stdout);
    emulator.Run();
    return 0;
}
