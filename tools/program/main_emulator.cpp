// taliso-emulator: a device on a pseudo-terminal for running the program or the driver
// without hardware. Prints the device path to put into the "PORTS" section, then answers
// until it is interrupted.
#include "tools/DeviceEmulator.h"
#include "tools/EmulatorOptions.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    const std::optional<EmulatorOptions> options = ParseEmulatorOptions(argc, argv);
    if (!options) {
        std::fputs(EmulatorUsage(), stderr);
        return 2;
    }

    DeviceEmulator emulator(MakeAnswerer(*options), options->family);
    if (const int error = emulator.Open(); error != 0) {
        std::fprintf(stderr, "taliso-emulator: no pseudo-terminal: %s\n", std::strerror(error));
        return 1;
    }
    emulator.PlanFaults(options->faults);
    std::printf("%s\n", emulator.SlavePath().c_str());
    std::fflush(stdout);
    emulator.Run();
    return 0;
}
