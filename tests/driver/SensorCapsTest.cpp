#include "driver/internal/SensorCaps.h"
#include "driver/internal/SensorHandle.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr int TYPES[] = {1, 4, 7, 50, 132, 135, 178};

TEST(SensorCaps, IndexesOutsideTwoToElevenAndUnknownTypesGiveZero)
{
    for (int type : TYPES) {
        for (int index : {-1, 0, 1, 12, 13}) {
            for (DWORD version : {0u, 0x320u, 0x505u})
                EXPECT_EQ(SensorCapability(type, index, version), 0) << type << "/" << index;
        }
    }
    for (int type : {0, 2, 5, 51, 133, 255})
        for (int index = 0; index <= 12; ++index)
            EXPECT_EQ(SensorCapability(type, index, 0x320), 0) << type << "/" << index;
}

TEST(SensorCaps, FixedColumnsOfTheTable)
{
    struct Row {
        int type;
        std::array<int, 10> values; // indexes 2 to 11
    };
    const Row rows[] = {
        {1, {5, 400, 5, 5000, 360, 360, 3, 1, 16, 2}},   {132, {5, 400, 5, 5000, 360, 360, 3, 1, 16, 2}},
        {7, {5, 700, 5, 5000, 360, 360, 3, 0, 4, 2}},    {135, {5, 700, 5, 5000, 360, 360, 3, 0, 4, 2}},
        {178, {5, 5000, 5, 5000, 360, 360, 2, 1, 125, 2}},
    };
    for (const Row& row : rows) {
        for (int index = 2; index <= 11; ++index) {
            // The version does not count for these types.
            EXPECT_EQ(SensorCapability(row.type, index, 0), row.values[std::size_t(index - 2)]) << row.type << "/" << index;
            EXPECT_EQ(SensorCapability(row.type, index, 0x1280), row.values[std::size_t(index - 2)]);
        }
    }
}

TEST(SensorCaps, ScannerColumnsFollowTheFirmwareVersion)
{
    struct Case {
        int type;
        DWORD version;
        std::array<int, 10> values; // indexes 2 to 11
    };
    const Case cases[] = {
        {4, 0x0305, {5, 400, 5, 5000, 180, 180, 1, 1, 16, 2}}, // low byte below 8 and 16
        {4, 0x030A, {5, 400, 5, 5000, 180, 180, 3, 1, 16, 2}}, // low byte 10: from 8, below 16
        {4, 0x0320, {5, 400, 5, 5000, 360, 360, 3, 1, 16, 2}},
        {50, 1031, {5, 5000, 5, 5000, 180, 180, 1, 1, 16, 2}},
        {50, 1032, {5, 5000, 5, 5000, 180, 180, 3, 1, 16, 2}},
        {50, 1040, {5, 5000, 5, 5000, 360, 360, 3, 1, 16, 2}},
        {50, 1279, {5, 5000, 5, 5000, 360, 360, 3, 1, 16, 2}},
        {50, 1280, {5, 5000, 5, 5000, 180, 180, 2, 1, 125, 2}},
    };
    for (const Case& c : cases)
        for (int index = 2; index <= 11; ++index)
            EXPECT_EQ(SensorCapability(c.type, index, c.version), c.values[std::size_t(index - 2)])
                << c.type << " v" << c.version << " index " << index;
}

TEST(SensorCaps, TypeCodesFromVersionAndScannerType)
{
    const std::pair<DWORD, int> versions[] = {{0, 0},       {767, 0},   {768, 4},   {0x320, 4}, {1023, 4},
                                              {1024, 50},   {1535, 50}, {1536, 4},  {1791, 4},  {1792, 7},
                                              {2047, 7},    {2048, 0},  {0xFFFFFFFF, 0}};
    for (const auto& [version, type] : versions)
        EXPECT_EQ(ScannerTypeOfVersion(version), type) << version;
    const std::pair<BYTE, int> scanners[] = {{4, 132}, {7, 135}, {50, 178}, {0, 132}, {5, 132}, {255, 132}};
    for (const auto& [scanner, type] : scanners)
        EXPECT_EQ(UnitTypeOfScannerType(scanner), type) << int(scanner);
}

TEST(SensorCaps, FirmwareVersionTextReadsDigitsFromTheEnd)
{
    const std::pair<const char*, DWORD> cases[] = {
        {"03.20", 0x0320}, {"V1.2", 0x12}, {"3.2a", 0x32}, {"", 0}, {"abc", 0}, {"1234567", 0x1234567}, {nullptr, 0},
    };
    for (const auto& [text, version] : cases)
        EXPECT_EQ(ParseFirmwareVersion(text), version) << (text ? text : "null");
}

} // namespace
