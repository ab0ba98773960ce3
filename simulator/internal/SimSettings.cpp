#include "simulator/internal/SimSettings.h"

namespace {

constexpr std::size_t kEcho = 10;

} // namespace

void AnswerSettingCheck(ConstRequestSpan request, AnswerSpan answer, SimSettingRange range)
{
    const BYTE value = request[RequestOffset::Data];
    answer[AnswerOffset::Data] = range.Contains(value) ? SIM_SETTING_ACCEPTED : SIM_SETTING_REFUSED;
    answer[kEcho] = value;
}

void AnswerSettingStore(ConstRequestSpan request, AnswerSpan answer, SimSettingRange range, BYTE& value)
{
    const BYTE requested = request[RequestOffset::Data];
    answer[AnswerOffset::Data] = SIM_SETTING_REFUSED;
    answer[kEcho] = requested;
    if (range.Contains(requested)) {
        value = requested;
        answer[AnswerOffset::Data] = SIM_SETTING_STORED;
    }
}
