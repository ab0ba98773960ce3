#pragma once
// A ZOK device object that records every request and answers from a script, with the
// device type given by the test; plus the answers the ZOK tests share.
#include "RecordingSensor.h"
#include "TestIniFile.h"
#include "device/CZOKSensor.h"

#include <initializer_list>
#include <string>
#include <utility>

class RecordingZOKSensor : public CZOKSensor {
public:
    // Simulated, so no port is opened; every answer comes from the script.
    RecordingZOKSensor() : CZOKSensor(1)
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
    int typeCode = kDeviceTypeZOK4;

private:
    TestIniFile m_ini{"[SETUP]\nPort=9\nBaud=19200\n"};
};

// An answer with a status (byte 9) and an echo (byte 10).
inline SensorAnswer EchoAnswer(BYTE command, BYTE status, BYTE echo)
{
    SensorAnswer answer = DeviceAnswer(command, status);
    answer.SetByte(AnswerOffset::Data + 1, echo);
    return answer;
}

// The 0x31 answer: the firmware text at bytes 9 to 16 and identification bytes by offset.
inline SensorAnswer IdentityAnswer(const std::string& version = "03.20   ",
                                   std::initializer_list<std::pair<std::size_t, BYTE>> bytes = {})
{
    SensorAnswer answer = DeviceAnswer(0xB1, 0);
    for (std::size_t i = 0; i < version.size() && i < 8; ++i)
        answer.SetByte(AnswerOffset::Data + i, BYTE(version[i]));
    for (const auto& [offset, value] : bytes)
        answer.SetByte(AnswerOffset::Data + offset, value);
    return answer;
}

// The request a ZOK device object should have sent: marker, family 0, the command and the
// given bytes; every other byte 0.
inline SensorRequest ExpectedRequest(BYTE command, std::initializer_list<std::pair<std::size_t, BYTE>> bytes = {})
{
    SensorRequest request(kFamilyZOK, command);
    for (const auto& [offset, value] : bytes)
        request.SetByte(offset, value);
    return request;
}
