#pragma once
// The firmware version number that devices report as text.
#include "framework/core/WinTypes.h"

#include <string_view>

// The firmware version of a version text such as "03.05": of its first 8 positions every
// digit d makes n = (n + d) x 10, anything else is skipped; the result is
// ((n / 1000) << 16) | ((n mod 1000) / 10), major part and two-digit minor part. A major
// part beyond 16 bits (seven digits or more) is held at 0xFFFF. Positions past the end of
// the text count as non-digits.
DWORD ParseVersionNumber(std::string_view text);
