#pragma once
// A device object that keeps a copy of every request it exchanges and can be given the
// answers to return instead of asking the device.
#include "device/CSensor.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <vector>

class RecordingSensor : public CSensor {
public:
    using CSensor::CSensor;

    BOOL Telegram(RequestSpan request, AnswerSpan answer) override
    {
        BOOL result = FALSE;
        if (script.empty()) {
            result = CSensor::Telegram(request, answer);
        } else {
            request[RequestOffset::Family] = GetFamily();
            const std::optional<SensorAnswer> next = script.front();
            script.pop_front();
            if (next)
                std::copy(next->Bytes().begin(), next->Bytes().end(), answer.begin());
            result = next.has_value();
        }
        SensorRequest copy;
        std::copy(request.begin(), request.end(), copy.Bytes().begin());
        requests.push_back(copy);
        return result;
    }

    int GetSensorType(BYTE family) override { return typeCode ? *typeCode : CSensor::GetSensorType(family); }

    std::vector<SensorRequest> requests;
    // One entry per telegram while not empty: an answer, or nullopt for a failed exchange.
    std::deque<std::optional<SensorAnswer>> script;
    std::optional<int> typeCode;
};

// An answer record as a device sends it: marker, device status, answer code, byte 9.
inline SensorAnswer DeviceAnswer(BYTE command, BYTE status, BYTE deviceStatus = 0x00)
{
    SensorAnswer answer;
    answer.SetWord(AnswerOffset::Marker, kAnswerMarker);
    answer.SetByte(AnswerOffset::Status, deviceStatus);
    answer.SetByte(AnswerOffset::Command, command);
    answer.SetByte(AnswerOffset::Data, status);
    return answer;
}
