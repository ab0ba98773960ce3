#pragma once
// The length rule: the telegram length L of a request by its command and family.
#include "driver/internal/TelegramFrame.h"

#include <optional>

// How the length of a request is decided.
struct TelegramLengthRule {
    enum class Kind { Computed, KeepCaller, Refused };
    Kind kind = Kind::KeepCaller;
    WORD length = 0; // with Computed
};

TelegramLengthRule TelegramLengthFor(ConstRequestSpan request);

// Writes the rule's length into bytes 3-4 (unless the caller's is kept) and copies it to
// bytes 6-7. BadSubCode when the rule refuses the request.
RequestError SetTelegramLength(RequestSpan request);
