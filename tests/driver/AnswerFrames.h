#pragma once
// Answer frames as a device sends them: STX, address with bit 7, length, command, data,
// the device status as the last data byte, and the checksum.
#include "driver/internal/TelegramCrc.h"
#include "framework/core/WinTypes.h"

#include <optional>
#include <vector>

inline std::vector<BYTE> BuildAnswerFrame(BYTE command, const std::vector<BYTE>& data, BYTE status,
                                          std::optional<WORD> lengthField = std::nullopt)
{
    const WORD length = lengthField.value_or(WORD(data.size() + 2));
    std::vector<BYTE> frame;
    frame.reserve(data.size() + 8);
    for (const BYTE b : {BYTE(0x02), BYTE(0x80), LOBYTE(length), HIBYTE(length), command})
        frame.push_back(b);
    for (const BYTE b : data)
        frame.push_back(b);
    frame.push_back(status);
    const WORD crc = ComputeTelegramCrc(frame);
    frame.push_back(LOBYTE(crc));
    frame.push_back(HIBYTE(crc));
    return frame;
}
