#include "model/ConfigLimits.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kSpeedDividend = 100000;
constexpr int kMinSpeed = 10;
constexpr int kFallbackMaxSpeed = 2000;
constexpr int kFallbackMaxSpeedAbs = 1000;
constexpr int kLargestSpeed = 0x7FFF;
} // namespace

int KVRResponseTime(BYTE scans) { return 40 * scans + 110; }

int ZOKResponseTime(BYTE scans) { return 40 * scans; }

int MinSpeedLimit(int, int) { return kMinSpeed; }

int MaxSpeedLimit(int scale1, int scale2)
{
    const int larger = int(std::max(unsigned(scale1), unsigned(scale2)));
    if (larger <= 0) return kFallbackMaxSpeed;
    const int speed = kSpeedDividend / larger;
    return speed > kLargestSpeed ? kFallbackMaxSpeed : speed;
}

int MaxSpeedLimitAbs(int scale1, int scale2)
{
    // In 64 bits, so that the absolute value of the smallest int exists.
    const long long larger = std::max(std::llabs(scale1), std::llabs(scale2));
    return larger == 0 ? kFallbackMaxSpeedAbs : int(kSpeedDividend / larger);
}
