#include "model/shapedialogs/CRectShelterPage.h"

#include "tests/model/shapedialogs/ShelterPageScript.h"
#include "framework/ui/WindowHandle.h"
#include "model/CRectShelter.h"

#include <gtest/gtest.h>

namespace {

TEST(CRectShelterPageTest, ShowsTimeAndTheThreeExtents)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    LanguageScripts language{"model2.rc", "shapes.rc"};
    ASSERT_TRUE(language.Loaded()) << language.Error();

    CRectShelter rect;
    rect.Initialize(CSensorType(4, 0), 100, 254, 33, kWarningField);
    const CTime time(1999, 12, 31, 23, 59, 58);
    rect.SetTime(time);
    struct Case {
        BOOL inch;
        const char *left, *front, *right;
    };
    for (const Case& c : {Case{FALSE, "100cm", "254cm", "33cm"}, Case{TRUE, "39.37in", "100.00in", "12.99in"}}) {
        std::map<int, CString> texts = ShowPage(rect, c.inch, {2161, 2061, 2023, 2063, 2133});
        EXPECT_STREQ(texts[2061], c.left);
        EXPECT_STREQ(texts[2023], c.front);
        EXPECT_STREQ(texts[2063], c.right);
        EXPECT_STREQ(texts[2161], time.Format("%x") + " 23:59:58");
        EXPECT_STREQ(texts[2133], "cm");
    }
    EXPECT_STREQ(rect.GetTypeName(), "Rectangle field");
}

} // namespace
