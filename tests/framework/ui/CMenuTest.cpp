// Menus built from a resource script and changed the way the language menu and the
// update handlers change them.
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CMenu.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* kScript = R"(
3 MENU
BEGIN
    POPUP "&Options"
    BEGIN
        MENUITEM "&Language",   40000
        MENUITEM SEPARATOR
        POPUP "&Convert"
        BEGIN
            MENUITEM "&Rectangle", 32907, GRAYED
        END
    END
END
)";

class CMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        m_module = CreateResourceModule("menu.rc", kScript, nullptr, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(m_previous);
        FreeLibrary(m_module);
    }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

TEST_F(CMenuTest, LoadedMenuKeepsItsStructureAndStates)
{
    CMenu menu;
    EXPECT_FALSE(menu.LoadMenu(99));
    ASSERT_TRUE(menu.LoadMenu(3));
    CMenu* options = menu.GetSubMenu(0);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->GetMenuItemCount(), 3u);
    EXPECT_EQ(options->GetMenuItemID(0), 40000u);
    EXPECT_EQ(options->GetMenuItemID(1), 0u) << "separator";
    EXPECT_EQ(options->GetMenuItemID(2), UINT(-1)) << "popup";
    EXPECT_EQ(options->GetMenuItemID(7), UINT(-1));
    CString text;
    EXPECT_EQ(menu.GetMenuString(32907, text, MF_BYCOMMAND), 10) << "found inside the nested popup";
    EXPECT_EQ(text, "&Rectangle");
    EXPECT_EQ(menu.GetMenuString(12345, text, MF_BYCOMMAND), 0);
    EXPECT_EQ(menu.GetMenuState(32907, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);

    EXPECT_EQ(menu.EnableMenuItem(32907, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED) << "previous state";
    EXPECT_EQ(menu.CheckMenuItem(40000, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(menu.CheckMenuItem(40000, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(menu.EnableMenuItem(4711, MF_BYCOMMAND | MF_GRAYED), UINT(-1));
}

TEST_F(CMenuTest, ItemReplacedByAPopupKeepsItsText)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(3));
    CMenu languages;
    ASSERT_TRUE(languages.CreatePopupMenu());
    languages.AppendMenu(MF_STRING, 40001, "English");
    languages.AppendMenu(MF_STRING | MF_CHECKED, 40002, "Deutsch");

    CString text;
    menu.GetMenuString(40000, text, MF_BYCOMMAND);
    ASSERT_TRUE(menu.ModifyMenu(40000, MF_BYCOMMAND | MF_POPUP, UINT_PTR(languages.Detach()), text.c_str()));
    CMenu* options = menu.GetSubMenu(0);
    EXPECT_EQ(options->GetMenuItemID(0), UINT(-1));
    options->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, "&Language");
    EXPECT_EQ(menu.GetMenuString(40001, text, MF_BYCOMMAND), 7) << "the new items are found from the bar";
    EXPECT_EQ(menu.GetMenuState(40002, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_FALSE(menu.ModifyMenu(40000, MF_BYCOMMAND, 40000, "gone")) << "the old item is replaced";

    HMENU popup = options->GetSubMenu(0)->m_hMenu;
    EXPECT_TRUE(options->DeleteMenu(0, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(popup)) << "a deleted popup is destroyed with its item";
}

} // namespace
