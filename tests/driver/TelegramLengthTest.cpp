#include "driver/internal/TelegramLength.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

constexpr WORD kCallerLength = 0x0007;
constexpr int kKeep = -1;
constexpr int kRefused = -2;

struct LengthCase {
    BYTE family;
    BYTE command;
    std::vector<std::pair<std::size_t, BYTE>> bytes; // request bytes the rule looks at
    int expected; // the length, kKeep or kRefused
};

const std::vector<LengthCase>& LengthCases()
{
    const BYTE Z = kFamilyZOK;
    const BYTE K = kFamilyKVR;
    static const std::vector<LengthCase> cases = {
        {Z, 0x10, {}, 1}, {K, 0x31, {}, 1}, {Z, 0x32, {}, 1}, {K, 0x38, {}, 1},
        {Z, 0x20, {{9, 0}}, 10}, {Z, 0x20, {{9, 2}}, 10}, {K, 0x20, {{9, 48}}, 10},
        {Z, 0x20, {{9, 50}}, 10}, {Z, 0x20, {{9, 3}}, 2}, {Z, 0x20, {{9, 16}}, 2},
        {Z, 0x20, {{9, 47}}, 2}, {Z, 0x20, {{9, 51}}, 2},
        {Z, 0x30, {{10, 0}}, 2}, {Z, 0x30, {{10, 4}}, 2}, {Z, 0x30, {{10, 5}}, 3},
        {Z, 0x30, {{10, 6}}, kRefused},
        {K, 0x30, {{10, 1}}, 3}, {K, 0x30, {{10, 0}}, 4}, {K, 0x30, {{10, 5}}, 4},
        {K, 0x30, {{10, 6}}, kRefused}, {K, 0x30, {{10, 255}}, kRefused},
        {Z, 0x33, {}, 2}, {K, 0x39, {}, 2}, {Z, 0x51, {}, 2}, {Z, 0x60, {}, 2},
        {Z, 0x6A, {}, 2}, {Z, 0x77, {}, 2}, {Z, 0x78, {}, 2},
        {Z, 0x5F, {}, kKeep}, {Z, 0x6B, {}, kKeep}, {K, 0x99, {}, kKeep},
        {Z, 0x34, {}, 4}, {K, 0x34, {}, 6},
        {Z, 0x36, {}, 2}, {K, 0x45, {}, 3},
        {Z, 0x37, {}, 5}, {K, 0x37, {}, 6},
        {Z, 0x40, {{19, 0}}, 16}, {K, 0x40, {{19, 0}}, 25},
        {Z, 0x40, {{19, 1}}, 12}, {K, 0x40, {{19, 1}}, 21},
        {Z, 0x40, {{19, 2}, {26, 180}}, 373}, {K, 0x40, {{19, 2}, {26, 180}}, 382},
        {Z, 0x40, {{19, 2}, {26, 0x68}, {27, 1}}, 733}, // 360 segments
        {Z, 0x40, {{19, 2}, {26, 0xFF}, {27, 0xFF}}, 0xFFFF}, // saturates, never wraps
        {Z, 0x40, {{19, 3}}, kKeep},
        {Z, 0x41, {}, 2}, {K, 0x49, {}, 4},
        {K, 0x42, {}, 11},
        {Z, 0x43, {{10, 0x68}, {11, 1}}, 724}, {K, 0x43, {{10, 0x68}, {11, 1}}, 725},
        {Z, 0x44, {{9, 0}}, 2}, {Z, 0x44, {{9, 1}}, 3}, {Z, 0x47, {{9, 2}}, 2},
        {Z, 0x47, {{9, 3}}, kKeep},
        {Z, 0x46, {{20, 1}}, 2}, {K, 0x46, {{20, 2}}, 12},
        {Z, 0x46, {{20, 0}}, 8}, {K, 0x46, {{20, 0}}, 18},
        {Z, 0x48, {}, 106},
        {Z, 0x50, {{9, 2}}, 11}, {Z, 0x50, {{9, 3}}, 11}, {Z, 0x50, {{9, 1}}, 2},
        {K, 0x70, {}, 127}, {K, 0x71, {}, 127}, {K, 0x72, {}, 26}, {K, 0x73, {}, 26},
        {K, 0x74, {}, 3},
    };
    return cases;
}

TEST(TelegramLengthTest, LengthByCommandAndFamily)
{
    for (const LengthCase& c : LengthCases()) {
        SensorRequest request(c.family, c.command);
        request.SetWord(RequestOffset::Length, kCallerLength);
        for (const auto& [offset, value] : c.bytes)
            request.SetByte(offset, value);
        const std::string where = "family " + std::to_string(c.family) + " command " +
                                  std::to_string(c.command);

        const RequestError error = SetTelegramLength(request.Bytes());
        if (c.expected == kRefused) {
            EXPECT_EQ(error, RequestError::BadSubCode) << where;
            continue;
        }
        ASSERT_EQ(error, RequestError::None) << where;
        const WORD expected = c.expected == kKeep ? kCallerLength : WORD(c.expected);
        EXPECT_EQ(request.Word(RequestOffset::Length), expected) << where;
        EXPECT_EQ(request.Word(RequestOffset::LengthCopy), expected) << where;
    }
}

} // namespace
