#include "framework/core/Utf8Text.h"

#include <gtest/gtest.h>

#include <string>

TEST(Utf8Text, CutsNeverSplitACharacter)
{
    const std::string text = "ab\xC3\xB6" "c"; // "aböc": the ö takes two bytes
    struct Case {
        std::size_t maxBytes;
        std::size_t fitting;
    };
    for (const Case c : {Case{0, 0}, Case{2, 2}, Case{3, 2}, Case{4, 4}, Case{5, 5}, Case{99, 5}})
        EXPECT_EQ(Utf8FittingLength(text, c.maxBytes), c.fitting) << c.maxBytes;

    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(CopyUtf8ToBuffer(text, buffer, sizeof buffer), 2);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(CopyUtf8ToBuffer(text, buffer, 0), 0);
    EXPECT_EQ(CopyUtf8ToBuffer(text, nullptr, 4), 0);
    EXPECT_EQ(buffer[0], 'a') << "nothing is written without room";
}

TEST(Utf8Text, CountsCharactersNotBytes)
{
    EXPECT_EQ(Utf8CharacterCount(""), 0);
    EXPECT_EQ(Utf8CharacterCount("Feld 1"), 6);
    EXPECT_EQ(Utf8CharacterCount("\xC3\xA4\xC3\xB6\xC3\xBC\xE2\x82\xAC"), 4); // äöü€
}
