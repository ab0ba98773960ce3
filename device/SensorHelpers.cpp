#include "device/SensorHelpers.h"

#include "driver/orudrv.h"
#include "framework/core/Codepage.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr int kSensorTextSize = 256;
constexpr int kErrorClassZOK = 4;
constexpr int kErrorClassKVR = 55;
constexpr std::size_t kAnswerTextAt = 9;

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

CString SensorText(int textClass, int code, int extra)
{
    std::array<char, kSensorTextSize> buffer{};
    TextSensor(textClass, code, buffer.data(), kSensorTextSize, extra);
    buffer.back() = 0;
    return CString(buffer.data());
}

CString DeviceErrorText(int family, int code)
{
    switch (family) {
    case kFamilyZOK: return SensorText(kErrorClassZOK, code, 0);
    case kFamilyKVR: return SensorText(kErrorClassKVR, code, 0);
    default: return CString();
    }
}

void CopyTelegramText(std::span<BYTE> destination, LPCTSTR text, std::size_t size)
{
    size = std::min(size, destination.size());
    if (size == 0)
        return;
    const std::string bytes = Utf8ToCp1252(text ? text : "");
    const std::size_t length = std::min(bytes.size(), size - 1);
    std::copy_n(bytes.begin(), length, destination.begin());
    destination[length] = 0;
}

CString CopyAnswerText(std::span<const BYTE> answer)
{
    std::string bytes;
    for (std::size_t i = kAnswerTextAt; i < answer.size() && answer[i] != 0; ++i)
        bytes += char(answer[i]);
    return CString(Cp1252ToUtf8(bytes));
}

CTime DeviceTimeToCTime(int day, int month0, int years, int hour, int minute)
{
    const bool valid = InRange(day, 1, 31) && InRange(month0, 0, 11) && InRange(years + 1900, 1970, 2038) &&
                       InRange(hour, 0, 23) && InRange(minute, 0, 59);
    if (!valid)
        return CTime::GetCurrentTime();
    return CTime(years + 1900, month0 + 1, day, hour, minute, 0);
}

BYTE ClampDelay(BYTE delay)
{
    return (delay < 2 || delay > 60) ? BYTE(2) : delay;
}
