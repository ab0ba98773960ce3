#pragma once
// Texts that the field pages show: the time stamp and a distance followed directly by
// its unit.
#include "framework/core/CString.h"
#include "framework/core/CTime.h"

class CSensorType;

// The user's short date and the 24-hour time, joined by one blank.
CString FormatShelterTime(const CTime& time);
// A distance in cm as "%d" and the device type's unit, or with the inch flag as "%.2f"
// inches and the inch text: "120cm", "47.24in".
CString FormatShelterDistance(int distance, const CSensorType& type, bool inch);
