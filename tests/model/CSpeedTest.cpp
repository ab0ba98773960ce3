#include "model/CSpeed.h"

#include <gtest/gtest.h>

namespace {

TEST(CSpeedTest, CompareTellsWhereThisRangeLies)
{
    struct {
        CSpeed self, other;
        int expected;
    } const cases[] = {
        {{0, 100}, {100, 200}, 3},  // a shared bound overlaps
        {{0, 100}, {101, 200}, 2},  // wholly below
        {{101, 200}, {0, 100}, 1},  // wholly above
        {{50, 50}, {50, 50}, 0},
        {{-100, -10}, {10, 100}, 2},
        {{10, 100}, {-100, -10}, 1},
        {{0, 200}, {50, 60}, 3},    // containing
        {{50, 60}, {0, 200}, 3},    // contained
        {{0, 100}, {0, 99}, 3},     // one bound equal is not "equal"
        {{0, 0}, {0, 0}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.self.Compare(c.other), c.expected)
            << "[" << c.self.GetLow() << "," << c.self.GetHigh() << "] vs [" << c.other.GetLow() << ","
            << c.other.GetHigh() << "]";
}

TEST(CSpeedTest, ClassifyCountsBothBoundsAsInside)
{
    const CSpeed range(10, 20);
    struct {
        int value, expected;
    } const cases[] = {{20, 3}, {21, 2}, {9, 1}, {10, 3}, {15, 3}, {-10, 1}, {1000, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(range.Classify(c.value), c.expected) << c.value;
}

TEST(CSpeedTest, IsSetWhenTheBoundsDiffer)
{
    EXPECT_FALSE(CSpeed().IsSet());
    EXPECT_FALSE(CSpeed(40, 40).IsSet());
    EXPECT_TRUE(CSpeed(-40, 40).IsSet());
    CSpeed copy;
    copy.CopyFrom(CSpeed(-5, 7));
    EXPECT_EQ(copy.GetLow(), -5);
    EXPECT_EQ(copy.GetHigh(), 7);
}

} // namespace
