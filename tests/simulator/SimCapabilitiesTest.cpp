#include "simulator/internal/SimCapabilities.h"
#include "simulator/orusim.h"

#include <gtest/gtest.h>

namespace {

struct LookupCase {
    DWORD type;
    DWORD version;
    int index;
    DWORD expected;
};

TEST(SimCapabilitiesTest, LookupTakesTheFirstRowOfTypeAndVersion)
{
    const LookupCase cases[] = {
        {4, 300, 6, 180},  {4, 307, 8, 1},    {4, 308, 8, 3},     {4, 310, 6, 360},  {4, 399, 7, 360},
        {4, 400, 6, 0},    {4, 600, 3, 0},    {4, 608, 6, 180},   {4, 699, 6, 360},  {50, 400, 3, 5000},
        {50, 500, 10, 125}, {50, 500, 8, 2},  {50, 599, 9, 1},    {7, 700, 3, 700},  {7, 999, 9, 0},
        {7, 310, 3, 0},    {132, 0, 3, 400},  {135, 999, 10, 16}, {178, 0, 8, 3},    {178, 1000, 8, 0},
        {4, 310, 2, 5},    {4, 310, 4, 5},    {4, 310, 5, 5000},  {1, 310, 3, 0},    {0xFFFFFFFF, 310, 3, 0},
    };
    for (const LookupCase& c : cases)
        EXPECT_EQ(LookupSimCapability(c.type, c.version, c.index), c.expected)
            << "type " << c.type << " version " << c.version << " index " << c.index;
}

// The spare column of every row is 2; no index reaches it.
TEST(SimCapabilitiesTest, OnlyIndexesTwoToTenGiveValues)
{
    for (int index : {-1, 0, 1, 11, 12, 1000})
        EXPECT_EQ(LookupSimCapability(4, 310, index), 0u) << index;
}

TEST(SimCapabilitiesTest, ExportLooksScannerTypesUpWithTheScannersVersion)
{
    EXPECT_EQ(SimSensorCaps(4, 6), 360); // version 310: row 2
    EXPECT_EQ(SimSensorCaps(4, 8), 3);
    EXPECT_EQ(SimSensorCaps(132, 3), 400);
    EXPECT_EQ(SimSensorCaps(7, 3), 0); // row 9 needs 700 to 999
    EXPECT_EQ(SimSensorCaps(50, 3), 0); // no row of type 50 holds 310
    EXPECT_EQ(SimSensorCaps(4, 1), 0);
    EXPECT_EQ(SimSensorCaps(4, 11), 0);
    EXPECT_EQ(SimSensorCaps(5, 3), 0);
    EXPECT_EQ(SimSensorCaps(-4, 3), 0);
}

} // namespace
