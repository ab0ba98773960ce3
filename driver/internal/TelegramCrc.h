#pragma once
// The 16-bit checksum that closes every wire frame. It is not a table-driven standard
// CRC: each step also folds in the previous byte, so it is kept as this exact loop.
#include "framework/core/WinTypes.h"

#include <span>

// Incremental form, fed byte by byte while a frame arrives.
class TelegramCrc {
public:
    void Reset()
    {
        m_register = 0;
        m_previous = 0;
    }
    void Add(BYTE value);
    WORD Value() const { return m_register; }

private:
    WORD m_register = 0;
    BYTE m_previous = 0;
};

WORD ComputeTelegramCrc(std::span<const BYTE> bytes);
