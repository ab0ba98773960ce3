#include "framework/core/WinStyles.h"

#include <array>
#include <utility>

namespace {

#define TALISO_STYLE_ENTRY(name, value) std::pair<std::string_view, DWORD>{#name, value},
constexpr std::array kStyleTable = {TALISO_ALL_STYLES(TALISO_STYLE_ENTRY)};
#undef TALISO_STYLE_ENTRY

} // namespace

std::optional<DWORD> FindStyleConstant(std::string_view name)
{
    for (const auto& [styleName, value] : kStyleTable) {
        if (styleName == name)
            return value;
    }
    return std::nullopt;
}
