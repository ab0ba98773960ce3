#pragma once
// The simulator's capability table: by firmware version range and device type code, the
// numbers that SimSensorCaps reports for capability indexes 2 to 10.
#include "framework/core/WinTypes.h"

#include <array>

// Columns: version from, version to (inclusive), type code, the values of indexes 2 to 7,
// a spare value no index returns, and the values of indexes 10, 8 and 9.
using SimCapabilityRow = std::array<DWORD, 13>;
extern const std::array<SimCapabilityRow, 13> kSimCapabilityTable;

// The value of the first row whose version range holds version and whose type is type;
// 0 without such a row or for an index outside 2 to 10.
DWORD LookupSimCapability(DWORD type, DWORD version, int index);
