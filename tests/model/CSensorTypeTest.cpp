#include "model/CSensorType.h"

#include <gtest/gtest.h>

namespace {

struct Block {
    WORD code;
    WORD variant;
    const char* model;
    WORD protectiveMax;
    BYTE minScans, maxScans;
    UINT protectiveText, warningText;
};

// Every row with both of its limit blocks.
const Block kBlocks[] = {
    {4, 0, "ZOK 31x-x44", 400, 2, 16, 522, 523},  {4, 1, "ZOK 31x-x44", 400, 2, 16, 522, 523},
    {7, 0, "ZOK 31x-x47", 400, 2, 16, 524, 525},  {7, 1, "ZOK 31x-x47", 650, 4, 4, 524, 525},
    {50, 0, "ZOK 62x-x45", 5000, 2, 16, 526, 527}, {50, 1, "ZOK 62x-x45", 5000, 2, 16, 526, 527},
};

TEST(CSensorTypeTest, EveryLimitBlockHoldsItsValues)
{
    for (const Block& b : kBlocks) {
        SCOPED_TRACE(testing::Message() << "code " << b.code << " variant " << b.variant);
        const CSensorType type(b.code, b.variant);
        EXPECT_EQ(type.GetTypeCode(), b.code);
        EXPECT_EQ(type.GetVariant(), b.variant);
        EXPECT_STREQ(type.GetModelName(), b.model);

        EXPECT_EQ(type.GetMinAngle(), 0);
        EXPECT_EQ(type.GetMaxAngle(), 180);
        EXPECT_EQ(type.GetAngleSpan(), 180);
        EXPECT_FLOAT_EQ(type.GetAngleStep(), 0.5f);
        EXPECT_EQ(type.GetBeamCount(), 361);

        EXPECT_EQ(type.GetMinDistance(), 5);
        EXPECT_EQ(type.GetMaxDistance(), 5000);
        EXPECT_EQ(type.GetDistanceStep(), 1);
        EXPECT_EQ(type.GetDistanceSpan(), 4995);
        EXPECT_EQ(type.GetGeneralFourthValue(), 40);
        EXPECT_EQ(type.GetDefaultDistance(), 50);

        EXPECT_EQ(type.GetProtectiveMinDistance(), 5);
        EXPECT_EQ(type.GetProtectiveMaxDistance(), b.protectiveMax);
        EXPECT_EQ(type.GetProtectiveDistanceStep(), 1);
        EXPECT_EQ(type.GetProtectiveDefaultDistance(), 50);
        EXPECT_EQ(type.GetProtectiveMaxWidth(), b.protectiveMax);

        EXPECT_EQ(type.GetWarningMinDistance(), 5);
        EXPECT_EQ(type.GetWarningMaxDistance(), 5000);
        EXPECT_EQ(type.GetWarningDistanceStep(), 1);
        EXPECT_EQ(type.GetWarningDefaultDistance(), 50);

        EXPECT_EQ(type.GetMinScanCount(), b.minScans);
        EXPECT_EQ(type.GetMaxScanCount(), b.maxScans);

        EXPECT_EQ(type.GetGeneralFieldTextId(), 0u);
        EXPECT_EQ(type.GetProtectiveFieldTextId(), b.protectiveText);
        EXPECT_EQ(type.GetWarningFieldTextId(), b.warningText);
        EXPECT_EQ(type.GetLayer(), 0);
        EXPECT_EQ(type.GetUnit(), 0);
        EXPECT_STREQ(type.GetUnitText(), "cm");
    }
}

TEST(CSensorTypeTest, LimitsByFieldKindFollowTheKindTable)
{
    for (const Block& b : kBlocks) {
        SCOPED_TRACE(testing::Message() << "code " << b.code << " variant " << b.variant);
        const CSensorType type(b.code, b.variant);
        struct {
            int kind;
            WORD min, max, step, def, width;
        } const kinds[] = {
            {0, 5, 5000, 1, 50, 5000},
            {1, 5, b.protectiveMax, 1, 50, b.protectiveMax},
            {2, 5, 5000, 1, 50, 5000},
            {3, 5, 5000, 1, 50, 5000},
            {-1, 5, 5000, 1, 50, 5000},
        };
        for (const auto& k : kinds) {
            EXPECT_EQ(type.GetMinDistanceOfKind(k.kind), k.min) << k.kind;
            EXPECT_EQ(type.GetMaxDistanceOfKind(k.kind), k.max) << k.kind;
            EXPECT_EQ(type.GetDistanceStepOfKind(k.kind), k.step) << k.kind;
            EXPECT_EQ(type.GetDefaultDistanceOfKind(k.kind), k.def) << k.kind;
            EXPECT_EQ(type.GetMaxWidthOfKind(k.kind), k.width) << k.kind;
        }
    }
}

TEST(CSensorTypeTest, VariantWithoutALimitBlockYieldsOne)
{
    const CSensorType type(7, 2);
    EXPECT_EQ(type.GetTypeCode(), 7);
    EXPECT_EQ(type.GetMaxAngle(), 1);
    EXPECT_EQ(type.GetAngleSpan(), 1);
    EXPECT_FLOAT_EQ(type.GetAngleStep(), 1.0f);
    EXPECT_EQ(type.GetMaxDistance(), 1);
    EXPECT_EQ(type.GetDistanceSpan(), 1);
    EXPECT_EQ(type.GetProtectiveMaxDistance(), 1);
    EXPECT_EQ(type.GetWarningMaxDistance(), 1);
    EXPECT_EQ(type.GetBeamCount(), 2);
}

TEST(CSensorTypeTest, TypeCodesOutsideTheTableSelectNoRow)
{
    struct {
        UINT code;
        int row;
    } const lookups[] = {{4, 0}, {7, 1}, {50, 2}, {0, -1}, {9, -1}, {132, -1}, {0x10004, 0}, {0xFFFF, -1}, {0xFFFFFFFF, -1}};
    for (const auto& l : lookups) {
        EXPECT_EQ(CSensorType::FindTypeIndex(l.code), l.row) << l.code;
        EXPECT_EQ(CSensorType::IsKnownTypeCode(l.code), l.row >= 0) << l.code;
    }

    CSensorType fallback;
    fallback.SetType(9, 1);
    EXPECT_EQ(fallback.GetTypeCode(), 4);
    EXPECT_EQ(fallback.GetVariant(), 1);

    CSensorType kept(50, 1);
    EXPECT_FALSE(kept.SetTypeCode(9));
    EXPECT_EQ(kept.GetTypeCode(), 50);
    EXPECT_EQ(kept.GetVariant(), 1);
    EXPECT_TRUE(kept.SetTypeCode(7));
    EXPECT_EQ(kept.GetTypeCode(), 7);
    EXPECT_EQ(kept.GetVariant(), 1);
}

TEST(CSensorTypeTest, DefaultCopyAndComparison)
{
    const CSensorType standard;
    EXPECT_EQ(standard.GetTypeCode(), 4);
    EXPECT_EQ(standard.GetVariant(), 0);

    CSensorType a(7, 1);
    CSensorType b(a);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a != b);
    b.SetVariant(0);
    EXPECT_TRUE(a != b);
    b = a;
    EXPECT_TRUE(a == b);
    b.SetTypeCode(50);
    EXPECT_TRUE(a != b);
    b.CopyFrom(b);
    EXPECT_EQ(b.GetTypeCode(), 50);
}

TEST(CSensorTypeTest, BeamCountForResolutionChoice)
{
    const int expected[] = {91, 181, 361, 0, 0};
    const int choices[] = {0, 1, 2, 3, -1};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(CSensorType::GetBeamCountForResolution(choices[i]), expected[i]) << choices[i];
}

} // namespace
