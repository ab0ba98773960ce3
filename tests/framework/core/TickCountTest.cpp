#include "framework/core/TickCount.h"

#include <gtest/gtest.h>

namespace {

TEST(TickCount, WrapsAt32BitsAndDifferencesStayRightAcrossTheWrap)
{
    constexpr std::uint64_t wrap = 0x100000000ull;
    EXPECT_EQ(TickCountFromMilliseconds(0), 0u);
    EXPECT_EQ(TickCountFromMilliseconds(wrap - 1), 0xFFFFFFFFu);
    EXPECT_EQ(TickCountFromMilliseconds(wrap), 0u);
    EXPECT_EQ(TickCountFromMilliseconds(3 * wrap + 5), 5u);

    // A deadline armed 10 ms before the wrap and checked 5 ms after it.
    const DWORD start = TickCountFromMilliseconds(wrap - 10);
    const DWORD now = TickCountFromMilliseconds(wrap + 5);
    EXPECT_LT(now, start);
    EXPECT_EQ(DWORD(now - start), 15u);
}

} // namespace
