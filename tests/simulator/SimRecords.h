#pragma once
// Request records for the simulator tests, and a text read from an answer.
#include "shared/SensorTelegram.h"

#include <cstring>
#include <string>

inline SensorRequest SimRequest(BYTE family, BYTE command, std::initializer_list<std::pair<std::size_t, BYTE>> bytes = {})
{
    SensorRequest request(family, command);
    for (const auto& [offset, value] : bytes)
        request.SetByte(offset, value);
    return request;
}

inline void PutText(SensorRequest& request, std::size_t offset, const char* text)
{
    for (std::size_t i = 0; text[i] != 0; ++i)
        request.SetByte(offset + i, BYTE(text[i]));
}

inline std::string AnswerText(const SensorAnswer& answer, std::size_t offset, std::size_t width)
{
    std::string text;
    for (std::size_t i = 0; i < width && answer.Byte(offset + i) != 0; ++i)
        text += char(answer.Byte(offset + i));
    return text;
}
