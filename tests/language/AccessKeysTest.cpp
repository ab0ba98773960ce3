// Access keys of the shipped menus and dialog templates: pressing a letter must reach
// one item, so no two items of one menu level, and no two controls of one dialog
// together with the buttons its frame adds, share a key.
#include "language/LanguageScriptSet.h"
#include "support/AccessKeyText.h"

#include "framework/core/WinStyles.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// Texts by key; a key with more than one text is a clash.
using KeyTexts = std::map<char, std::vector<std::string>>;

void AddKey(KeyTexts& keys, const std::string& text)
{
    if (const std::optional<char> key = AccessKey(text)) keys[*key].push_back(text);
}

std::string Clashes(const std::string& where, const KeyTexts& keys)
{
    std::string clashes;
    for (const auto& [key, texts] : keys) {
        if (texts.size() < 2) continue;
        clashes += "\n  " + where + ": '" + std::string(1, key) + "' in";
        for (const std::string& text : texts) clashes += " \"" + text + "\"";
    }
    return clashes;
}

std::string MenuClashes(const std::string& where, const std::vector<MenuItemTemplate>& items)
{
    KeyTexts keys;
    std::string clashes;
    for (const MenuItemTemplate& item : items) {
        if (item.separator) continue;
        AddKey(keys, item.text);
        if (item.popup) clashes += MenuClashes(where + " > " + item.text, item.children);
    }
    return Clashes(where, keys) + clashes;
}

// The buttons a property sheet or a wizard puts below each of its pages. A page of a
// wizard names the wizard in its caption; the other pages belong to sheets.
std::vector<std::string> FrameButtons(const DialogTemplate& dialog)
{
    if (!(dialog.style & WS_CHILD) || dialog.caption.empty()) return {};
    if (dialog.caption.find("Wizard") != std::string::npos) return {"< &Back", "&Next >", "Finish", "Cancel", "Help"};
    return {"OK", "Cancel", "&Apply", "Help"};
}

TEST(AccessKeysTest, NoTwoItemsOfAMenuLevelShareAKey)
{
    const LanguageScriptSet language;
    ASSERT_TRUE(language.Loaded()) << language.Error();
    ASSERT_FALSE(language.Resources().Menus().empty());
    std::string clashes;
    for (const auto& [id, menu] : language.Resources().Menus())
        clashes += MenuClashes("menu " + std::to_string(id), menu.items);
    EXPECT_TRUE(clashes.empty()) << clashes;
}

TEST(AccessKeysTest, NoTwoControlsOfADialogOrPageWithItsFrameButtonsShareAKey)
{
    const LanguageScriptSet language;
    ASSERT_TRUE(language.Loaded()) << language.Error();
    ASSERT_FALSE(language.Resources().Dialogs().empty());
    std::string clashes;
    for (const auto& [id, dialog] : language.Resources().Dialogs()) {
        KeyTexts keys;
        for (const DialogItemTemplate& item : dialog.items) AddKey(keys, item.text);
        for (const std::string& button : FrameButtons(dialog)) AddKey(keys, button);
        clashes += Clashes("dialog " + std::to_string(id) + " \"" + dialog.caption + "\"", keys);
    }
    EXPECT_TRUE(clashes.empty()) << clashes;
}

TEST(AccessKeysTest, KeyIsTheLetterAfterASingleAmpersand)
{
    EXPECT_EQ(AccessKey("E&xit"), 'x');
    EXPECT_EQ(AccessKey("&Open...\tCtrl+O"), 'o');
    EXPECT_EQ(AccessKey("Save && &close"), 'c');
    EXPECT_EQ(AccessKey("Fields && pairs"), std::nullopt);
    EXPECT_EQ(AccessKey("Recent file"), std::nullopt);
}

} // namespace
