#include "driver/internal/TelegramCrc.h"

void TelegramCrc::Add(BYTE value)
{
    const bool carry = (m_register & 0x8000) != 0;
    m_register = WORD(m_register << 1);
    if (carry)
        m_register ^= 0x8005;
    m_register ^= WORD((WORD(m_previous) << 8) | value);
    m_previous = value;
}

WORD ComputeTelegramCrc(std::span<const BYTE> bytes)
{
    TelegramCrc crc;
    for (BYTE b : bytes)
        crc.Add(b);
    return crc.Value();
}
