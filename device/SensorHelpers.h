#pragma once
// Small helpers of the device sessions: device texts from the driver, texts into and out
// of records, the device's date and firmware version numbers.
#include "framework/core/CString.h"
#include "framework/core/CTime.h"
#include "framework/core/WinTypes.h"
#include "model/FirmwareVersion.h"
#include "shared/SensorTelegram.h"

#include <cstddef>
#include <span>
#include <string_view>

// The driver's text for a code of a text class (at most 255 bytes).
CString SensorText(int textClass, int code, int extra);
// The text of a device error code: text class 4 for a ZOK device (family 0), 55 for a KVR
// unit (family 1), empty for any other family.
CString DeviceErrorText(int family, int code);

// Copies at most size - 1 bytes of text (in the records' Windows-1252) and a NUL into
// destination, never beyond it. Passwords, access codes and names go with size 9.
void CopyTelegramText(std::span<BYTE> destination, LPCTSTR text, std::size_t size);
// The NUL-terminated text that starts at answer byte 9, bounded by the record.
CString CopyAnswerText(std::span<const BYTE> answer);

// The local time of a device date (day 1-31, month 0-11, years since 1900 for 1970 to
// 2038, hour 0-23, minute 0-59) with seconds 0; any value outside gives the current time.
CTime DeviceTimeToCTime(int day, int month0, int years, int hour, int minute);

// A restart delay below 2 or above 60 seconds becomes 2.
BYTE ClampDelay(BYTE delay);

// The type variant a device reports or is sent: bit 0 of the value; the other bits carry
// no variant.
constexpr BYTE VariantBit(unsigned value)
{
    return BYTE(value & 1U);
}
