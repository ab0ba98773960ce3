#pragma once
// Device type codes and capability numbers: what GetSensorType derives from a device's
// answers and the capability table of GetSensorCaps.
#include "framework/core/WinTypes.h"

// The type of a ZOK scanner by its firmware version (0 for a version outside every range).
int ScannerTypeOfVersion(DWORD firmwareVersion);
// The type code of a KVR unit by the type byte of the scanner behind it (132 unless the
// byte is 7 or 50).
int UnitTypeOfScannerType(BYTE scannerType);

// Whether the capabilities of a type depend on the device's firmware version (types 4
// and 50), which the caller then asks the device for.
bool CapabilitiesNeedVersion(int type);
// One capability number: indexes 2 to 11 of types 1, 4, 7, 50, 132, 135 and 178; 0 for
// any other index or type. firmwareVersion counts only for types 4 and 50.
int SensorCapability(int type, int index, DWORD firmwareVersion);
