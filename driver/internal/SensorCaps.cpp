#include "driver/internal/SensorCaps.h"

namespace {

enum CapabilityIndex : int {
    FIRST_INDEX = 2,
    INDEX_6 = 6,
    INDEX_7 = 7,
    INDEX_8 = 8,
    INDEX_10 = 10,
    LAST_INDEX = 11,
};

// The columns of the table that do not depend on the version: indexes 2 to 11.
struct CapabilityColumn {
    int values[LAST_INDEX - FIRST_INDEX + 1];
};

constexpr CapabilityColumn COLUMN_1_132{{5, 400, 5, 5000, 360, 360, 3, 1, 16, 2}};
constexpr CapabilityColumn COLUMN_7_135{{5, 700, 5, 5000, 360, 360, 3, 0, 4, 2}};
constexpr CapabilityColumn COLUMN_178{{5, 5000, 5, 5000, 360, 360, 2, 1, 125, 2}};
// Types 4 and 50 before the version is taken into account.
constexpr CapabilityColumn COLUMN_4{{5, 400, 5, 5000, 0, 0, 0, 1, 16, 2}};
constexpr CapabilityColumn COLUMN_50{{5, 5000, 5, 5000, 0, 0, 0, 1, 0, 2}};

const CapabilityColumn* ColumnOf(int type)
{
    switch (type) {
    case 1:
    case 132:
        return &COLUMN_1_132;
    case 4:
        return &COLUMN_4;
    case 7:
    case 135:
        return &COLUMN_7_135;
    case 50:
        return &COLUMN_50;
    case 178:
        return &COLUMN_178;
    default:
        return nullptr;
    }
}

int ScannerType4Capability(int index, DWORD v)
{
    switch (index) {
    case INDEX_6:
    case INDEX_7:
        return v % 256 < 16 ? 180 : 360;
    case INDEX_8:
        return v % 256 < 8 ? 1 : 3;
    default:
        return COLUMN_4.values[index - FIRST_INDEX];
    }
}

int ScannerType50Capability(int index, DWORD v)
{
    switch (index) {
    case INDEX_6:
    case INDEX_7:
        return v >= 1040 && v < 1280 ? 360 : 180;
    case INDEX_8:
        return v < 1032 ? 1 : (v < 1280 ? 3 : 2);
    case INDEX_10:
        return v < 1280 ? 16 : 125;
    default:
        return COLUMN_50.values[index - FIRST_INDEX];
    }
}

} // namespace

int ScannerTypeOfVersion(DWORD v)
{
    if ((v >= 768 && v < 1024) || (v >= 1536 && v < 1792))
        return 4;
    if (v >= 1792 && v < 2048)
        return 7;
    if (v >= 1024 && v < 1536)
        return 50;
    return 0;
}

int UnitTypeOfScannerType(BYTE scannerType)
{
    switch (scannerType) {
    case 7:
        return 135;
    case 50:
        return 178;
    default:
        return 132;
    }
}

bool CapabilitiesNeedVersion(int type)
{
    return type == 4 || type == 50;
}

int SensorCapability(int type, int index, DWORD firmwareVersion)
{
    const CapabilityColumn* column = ColumnOf(type);
    if (!column || index < FIRST_INDEX || index > LAST_INDEX)
        return 0;
    if (type == 4)
        return ScannerType4Capability(index, firmwareVersion);
    if (type == 50)
        return ScannerType50Capability(index, firmwareVersion);
    return column->values[index - FIRST_INDEX];
}
