#include "framework/core/CString.h"

#include <gtest/gtest.h>

TEST(CString, FormatAndSlices)
{
    CString s;
    s.Format("%.5lf|%2d|%s", 1.5, 7, "x");
    EXPECT_EQ(s, "1.50000| 7|x");
    EXPECT_EQ(s.Left(3), "1.5");
    EXPECT_EQ(s.Right(1), "x");
    EXPECT_EQ(s.Mid(8, 2), " 7");
    EXPECT_EQ(s.Mid(100), "");
    EXPECT_EQ(s.Left(-2), "");
    EXPECT_EQ(s.Find('|'), 7);
    EXPECT_EQ(s.ReverseFind('|'), 10);
    EXPECT_EQ(s.Find("zz"), -1);
}

TEST(CString, EditingOperations)
{
    CString s("  Feld 1  ");
    s.Trim();
    EXPECT_EQ(s, "Feld 1");
    EXPECT_EQ(s.Replace("Feld", "Field"), 1);
    EXPECT_EQ(s, "Field 1");
    s.MakeUpper();
    EXPECT_EQ(s.CompareNoCase("field 1"), 0);
    EXPECT_EQ(s.Compare("FIELD 2"), -1);
    s.Delete(0, 100);
    EXPECT_TRUE(s.IsEmpty());
    char* buffer = s.GetBuffer(16);
    std::snprintf(buffer, 16, "abc");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 3);
}
