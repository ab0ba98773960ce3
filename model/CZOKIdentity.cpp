#include "model/CZOKIdentity.h"

#include "model/FirmwareVersion.h"

#include <algorithm>
#include <string_view>

CZOKIdentity::CZOKIdentity() { SetByteAt(19, 0xFF); }

DWORD CZOKIdentity::GetFirmwareVersion() const
{
    constexpr std::size_t kVersionChars = 8;
    return ParseVersionNumber(std::string_view(reinterpret_cast<const char*>(GetData()), kVersionChars));
}

BYTE CZOKIdentity::GetScaledValue() const { return ScaleDelayWord(GetWord21()); }

BYTE ScaleDelayWord(WORD word)
{
    constexpr WORD kTicksPerSecond = 200;
    constexpr WORD kMinSeconds = 2;
    constexpr WORD kMaxSeconds = 60;
    if (word == 0)
        return BYTE(kMinSeconds);
    return BYTE(std::clamp<WORD>(WORD(word / kTicksPerSecond), kMinSeconds, kMaxSeconds));
}
