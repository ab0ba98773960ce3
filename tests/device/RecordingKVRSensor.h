#pragma once
// A KVR device object that records every request and answers from a script, with the
// scanner type of the unit given by the test; plus the answers the KVR tests share.
#include "RecordingSensor.h"
#include "TestIniFile.h"
#include "device/CKVRSensor.h"

#include <string>

class RecordingKVRSensor : public CKVRSensor {
public:
    // Simulated, so no port is opened; every answer comes from the script.
    RecordingKVRSensor() : CKVRSensor(1)
    {
        Load(m_ini.Path());
        Open();
    }

    BOOL Telegram(RequestSpan request, AnswerSpan answer) override
    {
        request[RequestOffset::Family] = GetFamily();
        SetLastStatus(0);
        SensorRequest copy;
        std::copy(request.begin(), request.end(), copy.Bytes().begin());
        requests.push_back(copy);
        if (script.empty())
            return FALSE;
        const std::optional<SensorAnswer> next = script.front();
        script.pop_front();
        if (next)
            std::copy(next->Bytes().begin(), next->Bytes().end(), answer.begin());
        return next.has_value();
    }

    int GetSensorType(BYTE) override { return typeCode; }

    std::vector<SensorRequest> requests;
    std::deque<std::optional<SensorAnswer>> script;
    int typeCode = kDeviceTypeKVR132;

private:
    TestIniFile m_ini{"[SETUP]\nPort=9\nBaud=19200\n"};
};

// The 0x38 answer that ReadSensorType needs, with the variant bit in block byte 42.
inline SensorAnswer BlockAnswer(BYTE variant = 0)
{
    SensorAnswer answer = DeviceAnswer(0xB8, kDeviceTypeZOK4);
    answer.SetByte(9 + KVRBlockOffset::TypeBits, variant);
    return answer;
}

inline void PutText(SensorAnswer& answer, std::size_t offset, const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        answer.SetByte(offset + i, BYTE(text[i]));
}

inline std::string RequestBytes(const SensorRequest& request, std::size_t offset, std::size_t count)
{
    return std::string(request.Bytes().begin() + offset, request.Bytes().begin() + offset + count);
}
