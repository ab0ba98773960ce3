#pragma once
// The text rules of the numeric data exchange: what an edit may hold to be read as a
// number, and how a number is shown. Independent of the process locale.
#include "framework/core/CString.h"

#include <cstdint>

// Blanks and tabs around a base-10 integer are allowed, nothing else. A value outside
// the 32-bit range is refused rather than wrapped. As users type them, a text
// whose value is 0 must start with '0'.
bool ParseDialogInt32(const char* text, std::int32_t& value);
bool ParseDialogUInt32(const char* text, std::uint32_t& value);
bool ParseDialogInt16(const char* text, std::int16_t& value);

// A decimal real number with blanks and tabs around it; never nan, infinity, a hexadecimal
// float or a value too large for a double.
bool ParseDialogReal(const char* text, double& value);
// As ParseDialogReal, and the value must fit a float.
bool ParseDialogFloat(const char* text, float& value);

// "%.*g" with the type's significant digits (6 for float, 15 for double), '.' as the point.
CString FormatDialogReal(double value, int significantDigits);
