#include "model/CTalsData.h"

#include "ArchiveBytes.h"
#include "LegacyRecordBytes.h"

#include <gtest/gtest.h>

TEST(CTalsDataTest, BeamGeometry)
{
    const struct {
        int count;
        double step;
    } table[] = {{181, 1.0}, {361, 0.5}, {91, 2.0}, {100, 1.8}, {180, 1.0}, {0, 0.0}};
    for (const auto& row : table) {
        CTalsData data(row.count);
        EXPECT_DOUBLE_EQ(data.GetAngleStep(), row.step) << row.count;
    }
    CTalsData data(181);
    data.SetBeam(180, 300);
    EXPECT_DOUBLE_EQ(data.GetBeamAngle(180), 180.0);
    const CSensorPoint point = data.GetBeamPoint(180);
    EXPECT_NEAR(point.GetAngle(), 180.0, 1e-4);
    EXPECT_NEAR(point.GetRadius(), 300.0, 1e-3);
}

TEST(CTalsDataTest, SetBeamKeepsCountersAndWidensExtremes)
{
    CTalsData data(181);
    data.SetModified(FALSE);
    data.SetBeam(5, 0x8123);
    EXPECT_TRUE(data.IsModified());
    EXPECT_EQ(data.GetFlagCount(CTalsData::kFlag15), 1);
    data.SetBeam(5, 0x0123);
    EXPECT_EQ(data.GetFlagCount(CTalsData::kFlag15), 0);
    EXPECT_EQ(data.GetMinDistance(), 0x123);
    EXPECT_EQ(data.GetMaxDistance(), 0x123);
    data.SetBeam(6, 0x6010);
    EXPECT_EQ(data.GetDistance(6), 0x10);
    EXPECT_EQ(data.GetBeam(6), 0x6010);
    EXPECT_EQ(data.GetFlagCount(CTalsData::kFlag14), 1);
    EXPECT_EQ(data.GetFlagCount(CTalsData::kFlag13), 1);
    EXPECT_EQ(data.GetMinDistance(), 0x10);
    EXPECT_EQ(data.GetMaxDistance(), 0x123);

    // Every beam, then one beam; a bit that is not a flag leaves the distances alone.
    data.SetFlag(-1, CTalsData::kFlag15 | 0x0001);
    EXPECT_EQ(data.GetFlagCount(CTalsData::kFlag15), 181);
    EXPECT_EQ(data.GetDistance(6), 0x10);
    data.ClearFlag(6, CTalsData::kFlag14);
    EXPECT_FALSE(data.TestFlag(6, CTalsData::kFlag14));
    EXPECT_TRUE(data.TestFlag(6, CTalsData::kFlag13));
    EXPECT_EQ(data.GetFlagCount(CTalsData::kFlag14), 0);

    // Flags go through SetBeam, so the untouched beams' distance 0 now widens the minimum.
    EXPECT_EQ(data.GetMinDistance(), 0);

    // A beam outside the array changes nothing.
    data.SetBeam(181, 0x9FFF);
    data.SetBeam(-2, 0x9FFF);
    EXPECT_EQ(data.GetFlagCount(CTalsData::kFlag15), 181);
    EXPECT_EQ(data.GetMaxDistance(), 0x123);
}

TEST(CTalsDataTest, LoadRecomputesExtremesOnlyForMinimumZero)
{
    const std::vector<WORD> beams = {100, 0x8050, 300};
    ByteBuilder zeroMinimum;
    AppendTalsData(zeroMinimum, beams, 0, 0, {1, 0, 0});
    CTalsData data;
    LoadBytes(data, zeroMinimum.Bytes());
    EXPECT_EQ(data.GetBeamCount(), 3);
    EXPECT_EQ(data.GetMinDistance(), 0x50);
    EXPECT_EQ(data.GetMaxDistance(), 300);
    EXPECT_EQ(data.GetFlagCount(CTalsData::kFlag15), 1);
    EXPECT_TRUE(data.IsModified());
    // Storing writes the same bytes back, with the recomputed extremes.
    ByteBuilder stored;
    AppendTalsData(stored, beams, 0x50, 300, {1, 0, 0});
    EXPECT_EQ(StoreBytes(data), stored.Bytes());

    ByteBuilder keptExtremes;
    AppendTalsData(keptExtremes, beams, 7, 0x9000);
    LoadBytes(data, keptExtremes.Bytes());
    EXPECT_EQ(data.GetMinDistance(), 7);
    EXPECT_EQ(data.GetMaxDistance(), 0x9000); // zero-extended
}
