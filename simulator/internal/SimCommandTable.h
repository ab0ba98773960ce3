#pragma once
// The command dispatch and archive version rule both simulated devices share.
#include "framework/core/CArchive.h"
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"
#include "simulator/internal/SimAnswer.h"

#include <cstddef>

// One served request command, the answer command it gets and the device's handler.
template <class Device>
struct SimCommand {
    BYTE request;
    BYTE answer;
    void (Device::*handler)(ConstRequestSpan, AnswerSpan);
};

// 1 when the request is of the device's family and its command is in the table: the
// answer is begun with the device status and then filled by the handler. 0 otherwise,
// with the answer untouched.
template <class Device, std::size_t N>
int AnswerFromCommandTable(Device& device, const SimCommand<Device> (&commands)[N], BYTE family,
                           BYTE deviceStatus, ConstRequestSpan request, AnswerSpan answer)
{
    if (request[RequestOffset::Family] != family)
        return 0;
    for (const SimCommand<Device>& command : commands) {
        if (command.request != request[RequestOffset::Command])
            continue;
        BeginSimAnswer(answer, deviceStatus, command.answer);
        (device.*command.handler)(request, answer);
        return 1;
    }
    return 0;
}

// The devices' archive form is their version byte alone; another version is refused
// with the bad-schema error.
void SerializeSimDeviceVersion(CArchive& ar, BYTE version);
