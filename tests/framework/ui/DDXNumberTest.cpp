#include "framework/ui/DDXNumber.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(DDXNumber, IntegersFollowTheClassicTextRulesWithoutWrapping)
{
    struct Case {
        const char* text;
        bool valid;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},          {"  42\t", true, 42},   {"-17", true, -17},        {"+5", true, 5},
        {"2147483647", true, 2147483647}, {"-2147483648", true, std::numeric_limits<std::int32_t>::min()},
        {"2147483648", false, 0}, {"99999999999999999999", false, 0}, {"", false, 0}, {"   ", false, 0},
        {"12abc", false, 0},     {"1 2", false, 0},      {"0x10", false, 0},        {"--1", false, 0},
        {"+0", false, 0},        {"1.5", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t value = 1234;
        EXPECT_EQ(ParseDialogInt32(c.text, value), c.valid) << c.text;
        EXPECT_EQ(value, c.valid ? c.value : 1234) << c.text;
    }
    std::uint32_t unsignedValue = 0;
    EXPECT_TRUE(ParseDialogUInt32("4294967295", unsignedValue));
    EXPECT_EQ(unsignedValue, 4294967295u);
    EXPECT_FALSE(ParseDialogUInt32("4294967296", unsignedValue));
    EXPECT_FALSE(ParseDialogUInt32("-1", unsignedValue));
    std::int16_t shortValue = 0;
    EXPECT_TRUE(ParseDialogInt16("-32768", shortValue));
    EXPECT_FALSE(ParseDialogInt16("32768", shortValue));
}

TEST(DDXNumber, RealsRefuseNonFiniteHexAndOverflow)
{
    struct Case {
        const char* text;
        bool valid;
        double value;
    };
    const Case cases[] = {
        {"0.5", true, 0.5},  {" -2.25 ", true, -2.25}, {"1e3", true, 1000.0}, {".5", true, 0.5},  {"5.", true, 5.0},
        {"0", true, 0.0},    {"nan", false, 0},        {"inf", false, 0},     {"-infinity", false, 0},
        {"0x1p3", false, 0}, {"1e400", false, 0},      {"1,5", false, 0},     {"abc", false, 0},   {"", false, 0},
        {"1.5x", false, 0},
    };
    for (const Case& c : cases) {
        double value = 99.0;
        EXPECT_EQ(ParseDialogReal(c.text, value), c.valid) << c.text;
        EXPECT_DOUBLE_EQ(value, c.valid ? c.value : 99.0) << c.text;
    }
    float single = 0;
    EXPECT_TRUE(ParseDialogFloat("3.5", single));
    EXPECT_FALSE(ParseDialogFloat("1e39", single)); // beyond a float
}

TEST(DDXNumber, RealsShowWithTheTypesSignificantDigits)
{
    EXPECT_EQ(FormatDialogReal(0.1, 15), "0.1");
    EXPECT_EQ(FormatDialogReal(float(0.1f), 6), "0.1");
    EXPECT_EQ(FormatDialogReal(1234567.0, 6), "1.23457e+06");
    EXPECT_EQ(FormatDialogReal(-0.25, 15), "-0.25");
    EXPECT_EQ(FormatDialogReal(100.0, 15), "100");
}

} // namespace
