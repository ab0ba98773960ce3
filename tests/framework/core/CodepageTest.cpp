#include "framework/core/Codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Codepage, ConvertsBothWays)
{
    struct Case {
        std::string utf8;
        std::string cp1252;
    };
    const Case cases[] = {
        {"", ""},
        {"Feld A1", "Feld A1"},
        {"90°", "90\xB0"},
        {"Größe", "Gr\xF6\xDF" "e"},
        {"€ „x“ – ™ Ÿ", "\x80 \x84x\x93 \x96 \x99 \x9F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
        EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
    }
}

TEST(Codepage, CharactersOutsideTheCodePageAndBrokenUtf8BecomeQuestionMarks)
{
    struct Case {
        std::string utf8;
        std::string cp1252;
    };
    const Case cases[] = {
        {"日本", "??"},
        {"a\xC3", "a?"},              // cut-off sequence
        {"\xC0\xAF|", "?|"},          // overlong form of '/'
        {"\xED\xA0\x80", "?"},        // surrogate
        {"\xFF" "b", "?b"},           // no lead byte
        {"\xF0\x9F\x98\x80!", "?!"}, // four-byte character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cp1252);
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
    }
}

TEST(Codepage, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

} // namespace
