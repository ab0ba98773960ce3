#include "framework/core/TickCount.h"

#include <chrono>
#include <thread>

DWORD GetTickCount()
{
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return TickCountFromMilliseconds(std::uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count()));
}

void Sleep(DWORD milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
