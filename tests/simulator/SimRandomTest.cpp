#include "simulator/internal/SimRandom.h"

#include "ScriptedRandom.h"

#include <gtest/gtest.h>

namespace {

TEST(SimRandomTest, RandomInRangeFoldsTheNextValueIntoTheRange)
{
    struct Case {
        int a, b;
        DWORD next;
        int expected;
    };
    const Case cases[] = {
        {0, 25, 0, 0}, {0, 25, 25, 25}, {0, 25, 26, 0}, {0, 25, 0xFFFFFFFF, 21},
        {375, 400, 51, 400}, {-3, 3, 4, 1}, {-3, 3, 6, 3}, {7, 7, 12345, 7},
    };
    for (const Case& c : cases) {
        ScriptedRandom random({c.next});
        EXPECT_EQ(RandomInRange(c.a, c.b), c.expected) << c.a << ".." << c.b << " next " << c.next;
    }
}

TEST(SimRandomTest, EmptyRangeGivesItsStartWithoutDrawing)
{
    ScriptedRandom random({9, 1});
    EXPECT_EQ(RandomInRange(5, 4), 5);
    EXPECT_EQ(RandomInRange(0, 9), 9); // the first scripted value is still there
}

TEST(SimRandomTest, BuiltInGeneratorStaysInRange)
{
    SeedSimRandomWithTime();
    for (int i = 0; i < 1000; ++i) {
        const int value = RandomInRange(375, 400);
        ASSERT_GE(value, 375);
        ASSERT_LE(value, 400);
    }
}

} // namespace
