#include "tools/SimulatorAnswerer.h"

#include "simulator/orusim.h"

bool SimulatorAnswerer::Answer(ConstRequestSpan request, AnswerSpan answer)
{
    return SimTelegram(request.data(), answer.data()) == 1;
}
