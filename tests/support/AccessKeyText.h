#pragma once

#include <cctype>
#include <optional>
#include <string>

// The access key of a menu or control text: the character after a single '&', lower
// case ("&&" is a literal ampersand); none without one.
inline std::optional<char> AccessKey(const std::string& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return char(std::tolower(static_cast<unsigned char>(text[i + 1])));
    }
    return std::nullopt;
}
