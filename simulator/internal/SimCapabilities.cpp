#include "simulator/internal/SimCapabilities.h"

#include <optional>

const std::array<SimCapabilityRow, 13> kSimCapabilityTable{{
    {300, 307, 4, 5, 400, 5, 5000, 180, 180, 2, 16, 1, 1},
    {308, 309, 4, 5, 400, 5, 5000, 180, 180, 2, 16, 3, 1},
    {310, 399, 4, 5, 400, 5, 5000, 360, 360, 2, 16, 3, 1},
    {400, 407, 50, 5, 5000, 5, 5000, 180, 180, 2, 16, 1, 1},
    {408, 409, 50, 5, 5000, 5, 5000, 180, 180, 2, 16, 3, 1},
    {410, 499, 50, 5, 5000, 5, 5000, 360, 360, 2, 16, 3, 1},
    {500, 599, 50, 5, 5000, 5, 5000, 180, 180, 2, 125, 2, 1},
    {608, 609, 4, 5, 400, 5, 5000, 180, 180, 2, 16, 3, 1},
    {610, 699, 4, 5, 400, 5, 5000, 360, 360, 2, 16, 3, 1},
    {700, 999, 7, 5, 700, 5, 5000, 360, 360, 2, 4, 2, 0},
    {0, 999, 132, 5, 400, 5, 5000, 180, 180, 2, 16, 3, 1},
    {0, 999, 135, 5, 400, 5, 5000, 180, 180, 2, 16, 3, 1},
    {0, 999, 178, 5, 400, 5, 5000, 180, 180, 2, 16, 3, 1},
}};

namespace {

constexpr std::size_t kVersionFrom = 0;
constexpr std::size_t kVersionTo = 1;
constexpr std::size_t kType = 2;

std::optional<std::size_t> ColumnOfIndex(int index)
{
    if (index >= 2 && index <= 7)
        return std::size_t(index) + 1; // indexes 2 to 7 lie in columns 3 to 8
    switch (index) {
    case 10: return 10;
    case 8: return 11;
    case 9: return 12;
    default: return std::nullopt;
    }
}

} // namespace

DWORD LookupSimCapability(DWORD type, DWORD version, int index)
{
    const std::optional<std::size_t> column = ColumnOfIndex(index);
    if (!column)
        return 0;
    for (const SimCapabilityRow& row : kSimCapabilityTable) {
        if (row[kVersionFrom] <= version && row[kVersionTo] >= version && row[kType] == type)
            return row[*column];
    }
    return 0;
}
