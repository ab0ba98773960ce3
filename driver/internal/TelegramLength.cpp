#include "driver/internal/TelegramLength.h"

namespace {

// Saturates, so a huge count cannot wrap into a small length that passes the limit.
TelegramLengthRule Computed(unsigned length)
{
    return {TelegramLengthRule::Kind::Computed, WORD(length > 0xFFFF ? 0xFFFF : length)};
}

TelegramLengthRule KeepCaller()
{
    return {TelegramLengthRule::Kind::KeepCaller, 0};
}

TelegramLengthRule Refused()
{
    return {TelegramLengthRule::Kind::Refused, 0};
}

TelegramLengthRule ScanRequestLength(BYTE kind, bool kvr)
{
    if (kind > 5)
        return Refused();
    if (!kvr)
        return Computed(kind == 5 ? 3 : 2);
    return Computed(kind == 1 ? 3 : 4);
}

TelegramLengthRule FieldWriteLength(ConstRequestSpan request, unsigned kvrExtra)
{
    switch (request[19]) {
    case 0:
        return Computed(16 + kvrExtra);
    case 1:
        return Computed(12 + kvrExtra);
    case 2:
        return Computed(2u * GetRecordWord(request, 26) + 13 + kvrExtra);
    default:
        return KeepCaller();
    }
}

TelegramLengthRule ModeDelayLength(BYTE mode)
{
    switch (mode) {
    case 0:
    case 2:
        return Computed(2);
    case 1:
        return Computed(3);
    default:
        return KeepCaller();
    }
}

} // namespace

TelegramLengthRule TelegramLengthFor(ConstRequestSpan request)
{
    const bool kvr = request[RequestOffset::Family] == kFamilyKVR;
    const BYTE command = request[RequestOffset::Command];
    const BYTE subCode = request[9];
    switch (command) {
    case 0x10:
    case 0x31:
    case 0x32:
    case 0x38:
        return Computed(1);
    case 0x20: {
        const bool withText = subCode <= 2 || (subCode >= 48 && subCode <= 50);
        return Computed(withText ? 10 : 2);
    }
    case 0x30:
        return ScanRequestLength(request[10], kvr);
    case 0x33:
    case 0x39:
    case 0x51:
    case 0x77:
    case 0x78:
        return Computed(2);
    case 0x34:
        return Computed(kvr ? 6 : 4);
    case 0x36:
    case 0x45:
        return Computed(kvr ? 3 : 2);
    case 0x37:
        return Computed(kvr ? 6 : 5);
    case 0x40:
        return FieldWriteLength(request, kvr ? 9 : 0);
    case 0x41:
    case 0x49:
        return Computed(kvr ? 4 : 2);
    case 0x42:
        return Computed(11);
    case 0x43:
        return Computed(2u * GetRecordWord(request, 10) + 4 + (kvr ? 1 : 0));
    case 0x44:
    case 0x47:
        return ModeDelayLength(subCode);
    case 0x46:
        return Computed((request[20] != 0 ? 2 : 8) + (kvr ? 10 : 0));
    case 0x48:
        return Computed(106);
    case 0x50:
        return Computed(subCode == 2 || subCode == 3 ? 11 : 2);
    case 0x70:
    case 0x71:
        return Computed(127);
    case 0x72:
    case 0x73:
        return Computed(26);
    case 0x74:
        return Computed(3);
    default:
        if (command >= 0x60 && command <= 0x6A)
            return Computed(2);
        return KeepCaller();
    }
}

RequestError SetTelegramLength(RequestSpan request)
{
    const TelegramLengthRule rule = TelegramLengthFor(request);
    if (rule.kind == TelegramLengthRule::Kind::Refused)
        return RequestError::BadSubCode;
    if (rule.kind == TelegramLengthRule::Kind::Computed)
        SetRecordWord(request, RequestOffset::Length, rule.length);
    SetRecordWord(request, RequestOffset::LengthCopy,
                  GetRecordWord(request, RequestOffset::Length));
    return RequestError::None;
}
