#pragma once
// Device codes as display texts (TextSensor): a text class names a table that picks a
// string of the language library by the code, or a rule that builds the text from
// strings and the code's number.
#include "framework/core/WinTypes.h"

#include <optional>
#include <string>

// The string that stands for a code a class does not know.
constexpr UINT IDS_UNKNOWN_DEVICE_CODE = 713;

// The whole text for a class and a code (the code counts as an unsigned 16-bit number),
// with the strings taken from module; nullopt for a class without an entry (0, 5, 7,
// 9-16, 27, 65 and above, negative). A string the module lacks is an empty piece.
std::optional<std::string> ComposeDeviceText(int textClass, WORD code, HINSTANCE module);

// TextSensor's rule on the driver's language library: the text cut to size - 1 bytes
// (never inside a character) and a NUL. 1 when the buffer got a text that is not empty.
// A class without an entry, no buffer or size <= 0 leave the buffer as it was and give 0.
int TextSensorText(int textClass, int code, char* buffer, int size);
