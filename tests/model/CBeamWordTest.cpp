#include "model/CBeamWord.h"

#include <gtest/gtest.h>

namespace {

struct WordReading {
    WORD raw;
    int type;
    WORD distance;
    BOOL flag13, flag14, flag15;
    WORD flagBits;
    BOOL allSet, anySet;
};

TEST(CBeamWordTest, ReadsDistanceAndFlagsByResolutionType)
{
    const WordReading cases[] = {
        {0xE005, 13, 5, 1, 1, 1, 7, 1, 1},
        {0xE005, 14, 0x2005, 0, 1, 1, 3, 1, 1},
        {0xE005, 15, 0x6005, 0, 0, 1, 1, 1, 1},
        {0x1FFF, 13, 0x1FFF, 0, 0, 0, 0, 0, 0},
        {0x1FFF, 15, 0x1FFF, 0, 0, 0, 0, 0, 0},
        {0x2000, 13, 0, 1, 0, 0, 1, 0, 1},
        {0x2000, 14, 0x2000, 0, 0, 0, 0, 0, 0},
        {0x4000, 13, 0, 0, 1, 0, 2, 0, 1},
        {0x4000, 14, 0, 0, 1, 0, 1, 0, 1},
        {0x4000, 15, 0x4000, 0, 0, 0, 0, 0, 0},
        {0x8000, 15, 0, 0, 0, 1, 1, 1, 1},
        // A type the word does not know reads as nothing at all.
        {0xE005, 12, 0, 0, 0, 0, 0, 0, 0},
        {0xE005, 16, 0, 0, 0, 0, 0, 0, 0},
        {0xFFFF, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const WordReading& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.raw << " type " << std::dec << c.type);
        const CBeamWord word(c.raw);
        EXPECT_EQ(word.GetDistance(c.type), c.distance);
        EXPECT_EQ(word.GetFlag13(c.type), c.flag13);
        EXPECT_EQ(word.GetFlag14(c.type), c.flag14);
        EXPECT_EQ(word.GetFlag15(c.type), c.flag15);
        EXPECT_EQ(word.GetFlagBits(c.type), c.flagBits);
        EXPECT_EQ(word.AreAllFlagsSet(c.type), c.allSet);
        EXPECT_EQ(word.IsAnyFlagSet(c.type), c.anySet);
    }
}

TEST(CBeamWordTest, DistanceIsMaskedToTheTypeWidthAndFlagsAreKept)
{
    struct {
        int type;
        WORD start;
        WORD distance;
        WORD result;
    } const cases[] = {
        {13, 0x8000, 0xF234, 0x9234}, {14, 0x8000, 0xF234, 0xB234}, {15, 0x8000, 0xF234, 0xF234},
        {13, 0xE000, 7, 0xE007},      {14, 0xE000, 7, 0xC007},      {15, 0xE000, 7, 0x8007},
        {13, 0xFFFF, 0, 0xE000},
    };
    for (const auto& c : cases) {
        CBeamWord word(c.start);
        EXPECT_TRUE(word.SetDistance(c.type, c.distance));
        EXPECT_EQ(word.GetWord(), c.result) << c.type;
    }
    CBeamWord unknown(0x8000);
    EXPECT_FALSE(unknown.SetDistance(17, 5));
    EXPECT_EQ(unknown.GetWord(), 0x8000);
}

TEST(CBeamWordTest, FlagSettersOnlyTouchFlagsTheTypeHas)
{
    struct {
        int type;
        BOOL (CBeamWord::*set)(int, BOOL);
        BOOL accepted;
        WORD result;
    } const cases[] = {
        {13, &CBeamWord::SetFlag13, 1, 0x2005}, {14, &CBeamWord::SetFlag13, 0, 0x0005},
        {15, &CBeamWord::SetFlag13, 0, 0x0005}, {13, &CBeamWord::SetFlag14, 1, 0x4005},
        {14, &CBeamWord::SetFlag14, 1, 0x4005}, {15, &CBeamWord::SetFlag14, 0, 0x0005},
        {13, &CBeamWord::SetFlag15, 1, 0x8005}, {15, &CBeamWord::SetFlag15, 1, 0x8005},
        {12, &CBeamWord::SetFlag15, 0, 0x0005}, {16, &CBeamWord::SetAllFlags, 0, 0x0005},
        {13, &CBeamWord::SetAllFlags, 1, 0xE005}, {14, &CBeamWord::SetAllFlags, 1, 0xC005},
        {15, &CBeamWord::SetAllFlags, 1, 0x8005},
    };
    for (const auto& c : cases) {
        CBeamWord word(0x0005);
        EXPECT_EQ((word.*c.set)(c.type, 3), c.accepted) << c.type; // 3 & 1 = on
        EXPECT_EQ(word.GetWord(), c.result) << c.type;
        if (c.accepted) {
            (word.*c.set)(c.type, 2); // 2 & 1 = off
            EXPECT_EQ(word.GetWord(), 0x0005) << c.type;
        }
    }
}

TEST(CBeamWordTest, FlagBitsKeepOnlyWhatFitsAboveTheDistance)
{
    struct {
        int type;
        BYTE bits;
        WORD result;
    } const cases[] = {
        {13, 5, 0xA123}, {13, 0xFF, 0xE123}, {13, 0, 0x0123}, {14, 5, 0x6123},
        {14, 2, 0xA123}, {15, 5, 0xE123},    {15, 2, 0x6123},
    };
    for (const auto& c : cases) {
        CBeamWord word(0x6123);
        EXPECT_TRUE(word.SetFlagBits(c.type, c.bits));
        EXPECT_EQ(word.GetWord(), c.result) << c.type << " " << int(c.bits);
    }
    CBeamWord typeFourteen(0x0123);
    typeFourteen.SetFlagBits(14, 5);
    EXPECT_EQ(typeFourteen.GetFlagBits(14), 1);
    EXPECT_TRUE(typeFourteen.GetFlag14(14));
    EXPECT_FALSE(typeFourteen.GetFlag15(14));

    CBeamWord unknown(0x0123);
    EXPECT_FALSE(unknown.SetFlagBits(11, 7));
    EXPECT_EQ(unknown.GetWord(), 0x0123);
}

TEST(CBeamWordTest, PackComposesWholeWords)
{
    EXPECT_EQ(CBeamWord::Pack13(5, 1, 1, 1).GetWord(), 0xE005);
    EXPECT_EQ(CBeamWord::Pack13(0xFFFF, 0, 2, 3).GetWord(), 0x9FFF);
    EXPECT_EQ(CBeamWord::Pack14(0x3FFF, 1, 0).GetWord(), 0x7FFF);
    EXPECT_EQ(CBeamWord::Pack14(0xC001, 0, 1).GetWord(), 0x8001);
    EXPECT_EQ(CBeamWord::Pack15(0xFFFF, 0).GetWord(), 0x7FFF);
    EXPECT_EQ(CBeamWord::Pack15(300, 1).GetWord(), 0x812C);
}

} // namespace
