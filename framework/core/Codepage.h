#pragma once
// Windows-1252 <-> UTF-8 for the byte formats shared with Windows programs
// (object archives, device records, parameter files).
#include <string>
#include <string_view>

// Characters without a Windows-1252 form, and malformed UTF-8 sequences, become '?'.
std::string Utf8ToCp1252(std::string_view utf8);

// Every byte maps to a character; the five bytes 1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value,
// so any byte string survives a round trip.
std::string Cp1252ToUtf8(std::string_view cp1252);
