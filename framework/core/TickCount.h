#pragma once
// The millisecond tick counter: 32 bits, wrapping after about 49.7 days.
// Compare two ticks by their unsigned difference, never by '<'.
#include "framework/core/WinTypes.h"

#include <cstdint>

// Milliseconds of the steady (monotonic) clock, cut to 32 bits.
DWORD GetTickCount();

// The 32-bit tick for a monotonic millisecond count.
constexpr DWORD TickCountFromMilliseconds(std::uint64_t milliseconds)
{
    return DWORD(milliseconds & 0xFFFFFFFFu);
}

// Blocks the calling thread for at least the given milliseconds.
void Sleep(DWORD milliseconds);
