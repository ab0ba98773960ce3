#include "framework/core/Utf8Text.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::size_t Utf8FittingLength(std::string_view text, std::size_t maxBytes)
{
    std::size_t length = std::min(text.size(), maxBytes);
    while (length > 0 && length < text.size() && IsContinuationByte(text[length]))
        --length;
    return length;
}

int CopyUtf8ToBuffer(std::string_view text, char* buffer, int size)
{
    if (!buffer || size <= 0)
        return 0;
    const std::size_t length = Utf8FittingLength(text, std::size_t(size - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return int(length);
}

int Utf8CharacterCount(std::string_view text)
{
    return int(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}
