#include "tools/WireChecksum.h"

WORD WireChecksum(std::span<const BYTE> bytes)
{
    unsigned value = 0;
    unsigned previous = 0;
    for (const BYTE b : bytes) {
        const bool carry = (value & 0x8000u) != 0;
        value = (value << 1) & 0xFFFFu;
        if (carry)
            value ^= 0x8005u;
        value ^= (previous << 8) | b;
        previous = b;
    }
    return WORD(value);
}
