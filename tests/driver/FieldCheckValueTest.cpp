#include "driver/internal/FieldCheckValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

TEST(FieldCheckValueTest, TablesFollowTheirFormulas)
{
    for (int i = 0; i < 180; ++i) {
        const double angle = i * 0.5 * std::numbers::pi / 180.0;
        EXPECT_EQ(kCheckCosine[i], std::lround(4096 * std::cos(angle))) << i;
        EXPECT_EQ(kCheckTangent[i], std::lround(512 * std::tan(angle))) << i;
    }
    EXPECT_EQ(kCheckCosine[180], 1);
    EXPECT_EQ(kCheckTangent[180], 65535);
}

// Expected values come from a separate implementation of the rule.
TEST(FieldCheckValueTest, Rectangle)
{
    struct Case {
        WORD sideA, front, sideB, expected;
    };
    for (const Case& c : {
             Case{100, 100, 100, 0x0064},   // symmetric: only the straight-ahead beam stays
             Case{200, 300, 150, 0x00D0},   // corners at beams 113 and 360 - 127
             Case{5000, 40, 7, 0x0A65},     // flat and wide on one side
             Case{1, 65535, 65535, 0x8582}, // extremes: the steepest corner, no overflow
         }) {
        EXPECT_EQ(RectangleCheckValue(c.sideA, c.front, c.sideB), c.expected)
            << c.sideA << " " << c.front << " " << c.sideB;
    }
    EXPECT_EQ(RectangleCheckValue(0, 100, 100), std::nullopt);
    EXPECT_EQ(RectangleCheckValue(100, 100, 0), std::nullopt);
}

TEST(FieldCheckValueTest, Polygon)
{
    std::vector<WORD> wide;
    for (int i = 0; i < 361; ++i)
        wide.push_back(WORD((i * 37) % 5000 | (i % 50 == 0 ? 0x8000 : 0)));
    struct Case {
        std::vector<WORD> words;
        WORD expected;
    };
    for (const Case& c : {
             Case{{100, 200, 100}, 0x00D4},
             Case{std::vector<WORD>(181, 300), 0x012C},
             Case{{0x8000 | 1000, 0x4000 | 250, 4000}, 0xC3D1}, // flags kept, not interpolated
             Case{wide, 0x0F10},                                // 360 segments: step 1
             Case{{10, 8191}, 0x194B},                          // one segment: step 360
         }) {
        EXPECT_EQ(PolygonCheckValue(c.words), c.expected) << c.words.size();
    }
}

TEST(FieldCheckValueTest, PolygonWithoutAStepIsRefused)
{
    EXPECT_EQ(PolygonCheckValue(std::vector<WORD>{}), std::nullopt);
    EXPECT_EQ(PolygonCheckValue(std::vector<WORD>{100}), std::nullopt);      // 0 segments
    EXPECT_EQ(PolygonCheckValue(std::vector<WORD>(362, 100)), std::nullopt); // step 0
    EXPECT_EQ(PolygonCheckValue(std::vector<WORD>(401, 100)), std::nullopt);
}

SensorRequest FieldRequest(BYTE command, BYTE shape, std::initializer_list<std::pair<std::size_t, WORD>> words)
{
    SensorRequest request(kFamilyZOK, command);
    request.SetByte(19, shape);
    for (const auto& [offset, value] : words)
        request.SetWord(offset, value);
    return request;
}

TEST(FieldCheckValueTest, TakesItsNumbersFromTheRequest)
{
    struct Case {
        const char* name;
        SensorRequest request;
        std::optional<WORD> value;
        std::size_t offset;
    };
    const Case cases[] = {
        {"arc", FieldRequest(0x40, 1, {{26, 400}}), 400, 750},
        {"rectangle", FieldRequest(0x40, 0, {{26, 150}, {28, 200}, {30, 300}}), 0x00D0, 750},
        {"polygon", FieldRequest(0x40, 2, {{26, 2}, {28, 100}, {30, 200}, {32, 100}}), 0x00D4, 750},
        {"contour 0x48", FieldRequest(0x48, 0, {{25, 150}, {27, 200}, {29, 300}}), 0x00D0, 113},
        {"other shape", FieldRequest(0x40, 3, {{26, 400}}), std::nullopt, 0},
        {"other command", FieldRequest(0x43, 1, {{26, 400}}), std::nullopt, 0},
    };
    for (const Case& c : cases) {
        const FieldCheck check = FieldCheckValue(c.request.Bytes());
        EXPECT_EQ(check.error, RequestError::None) << c.name;
        EXPECT_EQ(check.value, c.value) << c.name;
        if (c.value) {
            EXPECT_EQ(check.offset, c.offset) << c.name;
        }
    }
}

TEST(FieldCheckValueTest, UndefinedGeometryIsRefused)
{
    for (const SensorRequest& request : {
             FieldRequest(0x40, 2, {{26, 0}}),
             FieldRequest(0x40, 2, {{26, 361}}),
             FieldRequest(0x40, 0, {{26, 0}, {28, 200}, {30, 300}}),
             FieldRequest(0x48, 0, {{25, 150}, {27, 0}, {29, 300}}),
         }) {
        EXPECT_EQ(FieldCheckValue(request.Bytes()).error, RequestError::BadGeometry);
    }
}

} // namespace
