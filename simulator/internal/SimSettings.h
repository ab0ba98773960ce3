#pragma once
// The single-value settings of a simulated device: a check answers whether a value
// would be taken (status 2) and stores nothing, a set stores it (status 1); a value
// outside the setting's range is refused with status 0. Answer byte 10 echoes the value.
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"

// Inclusive bounds of a setting's value (request byte 9).
struct SimSettingRange {
    BYTE low;
    BYTE high;

    bool Contains(BYTE value) const { return value >= low && value <= high; }
};

// Statuses of the setting answers (answer byte 9).
enum : BYTE {
    SIM_SETTING_REFUSED = 0,
    SIM_SETTING_STORED = 1,
    SIM_SETTING_ACCEPTED = 2,
};

void AnswerSettingCheck(ConstRequestSpan request, AnswerSpan answer, SimSettingRange range);
void AnswerSettingStore(ConstRequestSpan request, AnswerSpan answer, SimSettingRange range, BYTE& value);
