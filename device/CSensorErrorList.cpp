#include "device/CSensorErrorList.h"

#include "device/SensorHelpers.h"

#include <algorithm>

namespace {

constexpr std::size_t kCountAt = 9;
constexpr std::size_t kEntriesAt = 10;
constexpr int kClassTextClass = 3;

} // namespace

BOOL CSensorErrorList::Parse(std::span<const BYTE, kAnswerRecordSize> answer)
{
    const BYTE count = answer[kCountAt];
    if (count > kMaxEntries)
        return FALSE;
    m_family = (answer[AnswerOffset::Status] & kStatusKVRBit) ? kFamilyKVR : kFamilyZOK;
    m_count = count;
    m_entries.fill(0);
    std::copy_n(answer.begin() + kEntriesAt, 2 * std::size_t(count), m_entries.begin());
    return TRUE;
}

BYTE CSensorErrorList::GetClass(int i) const
{
    return IsEntry(i) ? m_entries[2 * std::size_t(i)] : 0;
}

BYTE CSensorErrorList::GetCode(int i) const
{
    return IsEntry(i) ? m_entries[2 * std::size_t(i) + 1] : 0;
}

CString CSensorErrorList::GetClassText(int i) const
{
    return IsEntry(i) ? SensorText(kClassTextClass, GetClass(i), 0) : CString();
}

CString CSensorErrorList::GetCodeText(int i) const
{
    return IsEntry(i) ? DeviceErrorText(m_family, GetCode(i)) : CString();
}
