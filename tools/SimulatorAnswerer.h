#pragma once
// Puts the simulator library behind the device emulator: every rebuilt request goes to
// SimTelegram, so the driver and the program talk over a pseudo-terminal to the same
// simulated scanner or interface unit they use without a port.
#include "tools/DeviceAnswerer.h"

class SimulatorAnswerer : public DeviceAnswerer {
public:
    // False when the simulated device of the request's family does not serve it.
    bool Answer(ConstRequestSpan request, AnswerSpan answer) override;
};
