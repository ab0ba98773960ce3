#include "model/CWordScopeArray.h"

#include <gtest/gtest.h>

namespace {

TEST(CWordScopeArrayTest, ScopeAndSizeSetTheIndexRange)
{
    struct {
        int lower, upper;
        int size, gotLower, gotUpper;
    } const scopes[] = {
        {5, 9, 5, 5, 9}, {0, 360, 361, 0, 360}, {-3, 3, 7, -3, 3}, {5, 4, 0, 5, 4}, {5, 1, 0, 0, -1},
    };
    for (const auto& s : scopes) {
        const CWordScopeArray array(s.lower, s.upper);
        EXPECT_EQ(array.GetSize(), s.size) << s.lower << ".." << s.upper;
        EXPECT_EQ(array.GetLower(), s.gotLower) << s.lower << ".." << s.upper;
        EXPECT_EQ(array.GetUpper(), s.gotUpper) << s.lower << ".." << s.upper;
    }
    const CWordScopeArray sized(4);
    EXPECT_EQ(sized.GetLower(), 0);
    EXPECT_EQ(sized.GetUpper(), 3);
    const CWordScopeArray none(-2);
    EXPECT_EQ(none.GetSize(), 0);
    EXPECT_EQ(none.GetUpper(), -1);
}

TEST(CWordScopeArrayTest, WordsAreIndexedFromLowerToUpper)
{
    CWordScopeArray array(5, 9);
    for (int i = 5; i <= 9; ++i)
        EXPECT_EQ(array.GetAt(i), 0);
    array.SetAt(5, 0x1111);
    array.SetAt(9, 0x9999);
    array.SetAt(4, 0x4444);  // outside: ignored
    array.SetAt(10, 0xAAAA); // outside: ignored
    EXPECT_EQ(array.GetAt(5), 0x1111);
    EXPECT_EQ(array.GetAt(9), 0x9999);
    EXPECT_EQ(array.GetAt(4), 0);
    EXPECT_EQ(array.GetAt(10), 0);
    array.RemoveAll();
    EXPECT_EQ(array.GetSize(), 0);
    EXPECT_EQ(array.GetLower(), 0);
    EXPECT_EQ(array.GetUpper(), -1);
    EXPECT_EQ(array.GetAt(5), 0);
}

} // namespace
