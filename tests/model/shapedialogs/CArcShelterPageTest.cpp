#include "model/shapedialogs/CArcShelterPage.h"

#include "tests/model/shapedialogs/ShelterPageScript.h"
#include "framework/ui/WindowHandle.h"
#include "model/CArcShelter.h"

#include <gtest/gtest.h>

namespace {

TEST(CArcShelterPageTest, ShowsTimeRadiusAndTheTypesTexts)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    LanguageScripts language{"model2.rc", "shapes.rc"};
    ASSERT_TRUE(language.Loaded()) << language.Error();

    CArcShelter arc;
    arc.Initialize(CSensorType(50, 0), 120, kProtectiveField);
    const CTime time(2001, 3, 5, 14, 7, 9);
    arc.SetTime(time);
    for (const BOOL inch : {FALSE, TRUE}) {
        std::map<int, CString> texts = ShowPage(arc, inch, {2161, 2015, 2131, 2132, 2133});
        EXPECT_STREQ(texts[2015], inch ? "47.24in" : "120cm");
        // The user's short date, one blank and the 24-hour time.
        EXPECT_STREQ(texts[2161], time.Format("%x") + " 14:07:09");
        EXPECT_STREQ(texts[2131], "180\u00B0");
        EXPECT_STREQ(texts[2132], "0.50\u00B0");
        EXPECT_STREQ(texts[2133], "cm");
    }
    EXPECT_STREQ(arc.GetTypeName(), "Arc field");
}

} // namespace
