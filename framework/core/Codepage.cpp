#include "framework/core/Codepage.h"

#include <array>
#include <cstdint>

namespace {

// Unicode code points of the bytes 0x80..0x9F; the rest of 1252 equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CodePointOfByte(std::uint8_t byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

int ByteOfCodePoint(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp)
            return int(0x80 + i);
    }
    return -1;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at pos; returns the code point or -1 for a malformed one.
// pos always advances by at least one byte.
long DecodeUtf8(std::string_view s, std::size_t& pos)
{
    const auto lead = std::uint8_t(s[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1; cp = lead & 0x1F; minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2; cp = lead & 0x0F; minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3; cp = lead & 0x07; minimum = 0x10000;
    } else {
        return -1;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= s.size() || (std::uint8_t(s[pos]) & 0xC0) != 0x80)
            return -1;
        cp = (cp << 6) | (std::uint8_t(s[pos++]) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return -1;
    return long(cp);
}

} // namespace

std::string Utf8ToCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const long cp = DecodeUtf8(utf8, pos);
        const int byte = cp < 0 ? -1 : ByteOfCodePoint(char32_t(cp));
        out += byte < 0 ? '?' : char(byte);
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size() * 2);
    for (const char c : cp1252)
        AppendUtf8(out, CodePointOfByte(std::uint8_t(c)));
    return out;
}
