#pragma once
// Byte vectors written as hex text ("02 00 01 00 10"), for test tables.
#include "framework/core/WinTypes.h"

#include <sstream>
#include <string>
#include <vector>

inline std::vector<BYTE> HexBytes(const std::string& text)
{
    std::vector<BYTE> bytes;
    std::istringstream in(text);
    std::string token;
    while (in >> token)
        bytes.push_back(BYTE(std::stoul(token, nullptr, 16)));
    return bytes;
}
