#include "framework/core/TickCount.h"

#include <cerrno>
#include <ctime>

DWORD GetTickCount()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t milliseconds = std::uint64_t(now.tv_sec) * 1000u + std::uint64_t(now.tv_nsec) / 1000000u;
    return TickCountFromMilliseconds(milliseconds);
}

void Sleep(DWORD milliseconds)
{
    timespec remaining{time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}
