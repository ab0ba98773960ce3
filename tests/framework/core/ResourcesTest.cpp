#include "framework/core/Library.h"
#include "framework/core/Resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* kScript = R"(
STRINGTABLE
BEGIN
    1   "Grad 90°"
    2   "Value %1 lies outside %2..%3"
END
103 DIALOG 0, 0, 100, 40
BEGIN
    DEFPUSHBUTTON "OK", IDOK, 5, 5, 40, 14
END
2 MENU
BEGIN
    MENUITEM "&Open", 57601
END
2 ACCELERATORS
BEGIN
    "O", 57601, VIRTKEY, CONTROL
END
2 TOOLBAR 16, 15
BEGIN
    BUTTON 57601
    SEPARATOR
END
)";

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        m_module = CreateResourceModule("test.rc", kScript, {}, error);
        ASSERT_NE(m_module, nullptr) << error;
    }
    void TearDown() override
    {
        if (m_module) {
            FreeLibrary(m_module);
        }
        AfxSetResourceHandle(nullptr);
    }

    HINSTANCE m_module = nullptr;
};

TEST_F(ResourcesTest, LoadStringTruncatesWithoutSplittingACharacter)
{
    struct Case {
        int size;
        const char* text;
    };
    // "Grad 90°" is 9 bytes: the degree sign takes two.
    const Case cases[] = {{64, "Grad 90°"}, {10, "Grad 90°"}, {9, "Grad 90"}, {8, "Grad 90"}, {5, "Grad"}, {1, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        char buffer[64];
        std::fill(std::begin(buffer), std::end(buffer), '#');
        EXPECT_EQ(LoadString(m_module, 1, buffer, c.size), int(std::string(c.text).size()));
        EXPECT_STREQ(buffer, c.text);
    }
    char buffer[8] = "x";
    EXPECT_EQ(LoadString(m_module, 99, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(LoadString(nullptr, 1, buffer, sizeof buffer), 0);
}

TEST_F(ResourcesTest, StringsComeFromTheCurrentResourceHandle)
{
    CString text;
    EXPECT_FALSE(text.LoadString(1)); // no handle yet
    AfxSetResourceHandle(m_module);
    EXPECT_TRUE(text.LoadString(1));
    EXPECT_EQ(text, "Grad 90°");

    const char* const strings[] = {"7", "1", "5"};
    AfxFormatStrings(text, 2, strings, 3);
    EXPECT_EQ(text, "Value 7 lies outside 1..5");
    AfxFormatString1(text, 99, "x");
    EXPECT_EQ(text, "");

    // Freeing the current handle leaves no dangling handle behind.
    EXPECT_TRUE(FreeLibrary(m_module));
    m_module = nullptr;
    EXPECT_EQ(AfxGetResourceHandle(), nullptr);
    EXPECT_FALSE(text.LoadString(1));
}

TEST(FormatStrings, InsertsOnlyPercentOneToNine)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    const char* const strings[] = {"A", nullptr, "%1"};
    const Case cases[] = {
        {"%1-%2-%3", "A--%1"},     // a null string inserts nothing; inserted text is not expanded
        {"%4 and %9.", " and ."},  // beyond the count: dropped
        {"100%% %0 %x %", "100%% %0 %x %"},
        {"%%1", "%A"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CString result = "old";
        AfxFormatStrings(result, c.text, strings, 3);
        EXPECT_EQ(result, c.expected);
    }
}

TEST_F(ResourcesTest, TemplatesAreFoundByIdInTheirModule)
{
    const DialogTemplate* dialog = FindDialogTemplate(m_module, 103);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->items.size(), 1u);
    EXPECT_EQ(dialog->items[0].id, 1);
    ASSERT_NE(FindMenuTemplate(m_module, 2), nullptr);
    EXPECT_EQ(FindMenuTemplate(m_module, 2)->items[0].id, 57601u);
    EXPECT_EQ(FindDialogTemplate(m_module, 2), nullptr);
    EXPECT_EQ(FindBitmapResource(m_module, 103), nullptr);
    EXPECT_EQ(FindCursorResource(nullptr, 1), nullptr);
    ASSERT_NE(FindAcceleratorTable(m_module, 2), nullptr);
    EXPECT_EQ(*FindAcceleratorTable(m_module, 2), (std::vector<AccelEntry>{{FVIRTKEY | FCONTROL, 'O', 57601}}));
    EXPECT_EQ(FindAcceleratorTable(m_module, 103), nullptr);
    ASSERT_NE(FindToolBarTemplate(m_module, 2), nullptr);
    EXPECT_EQ(FindToolBarTemplate(m_module, 2)->items, (std::vector<UINT>{57601, 0}));
    EXPECT_EQ(FindToolBarTemplate(nullptr, 2), nullptr);

    std::string error;
    EXPECT_EQ(CreateResourceModule("broken.rc", "1 DIALOG 0,0", {}, error), nullptr);
    EXPECT_EQ(error, "broken.rc:1: expected ',' but found end of file");
}

} // namespace
