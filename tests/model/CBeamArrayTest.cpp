#include "model/CBeamArray.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

namespace {

struct Counts {
    int flag13 = 0, flag14 = 0, flag15 = 0;
};

// Counts the flags straight from the stored words.
Counts Recount(const CBeamArray& array)
{
    Counts counts;
    const int type = array.GetType();
    for (int i = 0; i < array.GetCount(); ++i) {
        const WORD w = array.GetWord(i);
        counts.flag13 += (type == 13 && (w & 0x2000)) ? 1 : 0;
        counts.flag14 += ((type == 13 || type == 14) && (w & 0x4000)) ? 1 : 0;
        counts.flag15 += (w & 0x8000) ? 1 : 0;
    }
    return counts;
}

void ExpectCountsTrue(const CBeamArray& array)
{
    const Counts counts = Recount(array);
    EXPECT_EQ(array.GetFlag13Count(), counts.flag13);
    EXPECT_EQ(array.GetFlag14Count(), counts.flag14);
    EXPECT_EQ(array.GetFlag15Count(), counts.flag15);
}

TEST(CBeamArrayTest, CountsMatchARecountAfterRandomEdits)
{
    std::mt19937 random(20240611u);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    for (int type : {13, 14, 15}) {
        CBeamArray array;
        array.Fill(CBeamWord(0), 361, type);
        for (int step = 0; step < 4000; ++step) {
            const int index = pick(361);
            switch (pick(10)) {
            case 0: array.SetFlag13(pick(8) == 0 ? -1 : index, pick(2)); break;
            case 1: array.SetFlag14(pick(8) == 0 ? -1 : index, pick(2)); break;
            case 2: array.SetFlag15(pick(8) == 0 ? -1 : index, pick(2)); break;
            case 3: array.SetFlagBits(pick(20) == 0 ? -1 : index, BYTE(pick(256))); break;
            case 4: array.SetAllFlags(pick(20) == 0 ? -1 : index, pick(2)); break;
            case 5: array.SetDistance(index, WORD(random())); break;
            case 6: array.SetType(13 + pick(3)); break;
            default: array.SetAt(index, CBeamWord(WORD(random()))); break;
            }
            if (step % 100 == 0)
                ExpectCountsTrue(array);
        }
        ExpectCountsTrue(array);
        const CBeamArray copy(array);
        EXPECT_EQ(copy.GetFlag13Count(), array.GetFlag13Count());
        EXPECT_EQ(copy.GetFlag14Count(), array.GetFlag14Count());
        EXPECT_EQ(copy.GetFlag15Count(), array.GetFlag15Count());
        EXPECT_EQ(copy.GetType(), array.GetType());
    }
}

TEST(CBeamArrayTest, FlagOperationsRespectTheType)
{
    CBeamArray array;
    array.Fill(CBeamWord(0x0064), 10, 14);
    EXPECT_FALSE(array.SetFlag13(-1, 1));
    EXPECT_EQ(array.GetWord(3), 0x0064);
    EXPECT_EQ(array.GetFlag13Count(), 0);

    EXPECT_TRUE(array.SetFlag15(-1, 1));
    EXPECT_EQ(array.GetFlag15Count(), 10);
    EXPECT_EQ(array.GetWord(9), 0x8064);
    EXPECT_TRUE(array.SetFlag15(4, 1)); // already set: count unchanged
    EXPECT_EQ(array.GetFlag15Count(), 10);
    EXPECT_TRUE(array.SetFlag15(4, 0));
    EXPECT_EQ(array.GetFlag15Count(), 9);
    EXPECT_EQ(array.GetFlaggedCount(), 9);

    array.SetFlagBits(2, 5); // only the low two bits reach a type-14 word
    EXPECT_EQ(array.GetFlagBits(2), 1);
    EXPECT_TRUE(array.GetFlag14(2));
    EXPECT_FALSE(array.GetFlag15(2));
    EXPECT_EQ(array.GetFlag14Count(), 1);
    EXPECT_EQ(array.GetFlag15Count(), 8);

    EXPECT_FALSE(array.SetFlag14(10, 1)); // past the end
    EXPECT_FALSE(array.SetFlag14(-2, 1));
    EXPECT_EQ(array.GetFlag14Count(), 1);
}

TEST(CBeamArrayTest, ChangingTheTypeReinterpretsWordsWithoutRepacking)
{
    const WORD words[] = {0x6005, 0x2006, 0x4007, 0x8008};
    CBeamArray array;
    array.SetWords(words, 4, 13);
    EXPECT_EQ(array.GetFlag13Count(), 2);
    EXPECT_EQ(array.GetFlag14Count(), 2);
    EXPECT_EQ(array.GetFlag15Count(), 1);

    array.SetType(15);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(array.GetWord(i), words[i]);
    EXPECT_EQ(array.GetFlag13Count(), 0);
    EXPECT_EQ(array.GetFlag14Count(), 0);
    EXPECT_EQ(array.GetFlag15Count(), 1);
    EXPECT_EQ(array.GetDistance(0), 0x6005);
    EXPECT_EQ(array.GetDistance(3), 0x0008);

    array.SetType(14);
    EXPECT_EQ(array.GetFlag14Count(), 2);
    EXPECT_EQ(array.GetDistance(1), 0x2006);
}

TEST(CBeamArrayTest, WordsInRangeFillTheRangeAndZeroTheRest)
{
    std::array<WORD, 11> words{};
    for (int i = 0; i < 11; ++i)
        words[std::size_t(i)] = WORD(0x2000 | (100 + i));
    CBeamArray array;
    array.SetWordsInRange(words.data(), 361, 10, 20, 13);
    ASSERT_EQ(array.GetCount(), 361);
    for (int i = 0; i < 361; ++i) {
        const WORD expected = (i >= 10 && i <= 20) ? words[std::size_t(i - 10)] : WORD(0);
        ASSERT_EQ(array.GetWord(i), expected) << i;
    }
    EXPECT_EQ(array.GetFlag13Count(), 11);

    // A range running past the end stops at the last beam.
    array.SetWordsInRange(words.data(), 15, 10, 20, 13);
    EXPECT_EQ(array.GetCount(), 15);
    EXPECT_EQ(array.GetWord(14), words[4]);
    EXPECT_EQ(array.GetFlag13Count(), 5);
}

TEST(CBeamArrayTest, MinimumAndMaximumDistance)
{
    CBeamArray array;
    WORD minimum = 1, maximum = 1;
    array.GetMinMaxDistance(minimum, maximum);
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, 0);

    const WORD words[] = {0xE0C8, 0x0032, 0x0000, 0x2FA0};
    array.SetWords(words, 4, 13);
    EXPECT_EQ(array.GetMinDistance(), 0);
    EXPECT_EQ(array.GetMaxDistance(), 0x0FA0);
    array.SetAt(2, CBeamWord(0x4010));
    EXPECT_EQ(array.GetMinDistance(), 0x10);
}

TEST(CBeamArrayTest, BadIndexesStoreNothingAndReadZero)
{
    CBeamArray array;
    array.Fill(CBeamWord(0xE001), 3, 13);
    array.SetAt(3, CBeamWord(0));
    array.SetAt(-1, CBeamWord(0));
    array.SetDistance(7, 9);
    EXPECT_EQ(array.GetWord(3), 0);
    EXPECT_EQ(array.GetWord(-5), 0);
    EXPECT_EQ(array.GetFlag15Count(), 3);
    EXPECT_EQ(array.GetWord(2), 0xE001);

    array.RemoveAll();
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.GetType(), 13);
    EXPECT_EQ(array.GetFlag15Count(), 0);
    EXPECT_TRUE(array.SetFlag15(-1, 1)); // nothing to do on no beams
}

} // namespace
