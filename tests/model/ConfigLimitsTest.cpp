#include "model/ConfigLimits.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ConfigLimitsTest, ResponseTimes)
{
    EXPECT_EQ(KVRResponseTime(2), 190);
    EXPECT_EQ(KVRResponseTime(0), 110);
    EXPECT_EQ(KVRResponseTime(255), 10310);
    EXPECT_EQ(ZOKResponseTime(2), 80);
    EXPECT_EQ(ZOKResponseTime(255), 10200);
}

TEST(ConfigLimitsTest, SpeedLimits)
{
    struct Case {
        int a, b, max, maxAbs;
    };
    const Case cases[] = {
        {50, 40, 2000, 2000},
        {40, 50, 2000, 2000},
        {0, 0, 2000, 1000},
        {1000, 50, 100, 100},
        {3, 3, 2000, 33333},   // 33333 exceeds 0x7FFF
        {4, 0, 25000, 25000},
        {-50, 40, 2000, 2000}, // -50 is the larger one unsigned, and not above 0
        {-200, 100, 2000, 500},
        {INT_MIN, 0, 2000, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MaxSpeedLimit(c.a, c.b), c.max) << c.a << ", " << c.b;
        EXPECT_EQ(MaxSpeedLimitAbs(c.a, c.b), c.maxAbs) << c.a << ", " << c.b;
        EXPECT_EQ(MinSpeedLimit(c.a, c.b), 10);
    }
}
