#include "model/FirmwareVersion.h"

#include <algorithm>
#include <cstddef>

namespace {
constexpr std::size_t kVersionPositions = 8;
} // namespace

DWORD ParseVersionNumber(std::string_view text)
{
    ULONGLONG n = 0;
    for (std::size_t i = 0; i < kVersionPositions && i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            n = (n + ULONGLONG(c - '0')) * 10;
    }
    const ULONGLONG major = std::min<ULONGLONG>(n / 1000, 0xFFFF);
    const ULONGLONG minor = (n % 1000) / 10;
    return DWORD((major << 16) | minor);
}
