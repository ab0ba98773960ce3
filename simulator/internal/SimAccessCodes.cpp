#include "simulator/internal/SimAccessCodes.h"

#include "simulator/internal/SimAnswer.h"

namespace {

constexpr std::size_t kSubCode = 9;
constexpr std::size_t kAccessText = 10;
constexpr std::size_t kChangeKind = 10;
constexpr std::size_t kChangeText = 11;

bool IsModeSubCode(BYTE subCode)
{
    return subCode == 0 || subCode == 1 || subCode == 2 || subCode == 0x10 || (subCode >= 0x20 && subCode <= 0x25);
}

bool IsLevelSubCode(BYTE subCode)
{
    return subCode >= '0' && subCode <= '2';
}

} // namespace

SimAccessCodes::SimAccessCodes()
    : m_codes{CString("BELK_MAR"), CString("MIRTOVAL"), CString("BELK_MAR")}
{
}

void SimAccessCodes::AnswerAccessRequest(ConstRequestSpan request, AnswerSpan answer, BYTE& operatingMode) const
{
    const BYTE subCode = request[kSubCode];
    answer[AnswerOffset::Data] = 0;
    if (IsModeSubCode(subCode)) {
        operatingMode = subCode;
    } else if (IsLevelSubCode(subCode)) {
        const CString code = ReadSimText(request, kAccessText, request.size());
        answer[AnswerOffset::Data] = code == Code(subCode - '0') ? 0 : 1;
    }
}

void SimAccessCodes::AnswerCodeChange(ConstRequestSpan request, AnswerSpan answer)
{
    const BYTE subCode = request[kSubCode];
    const BYTE kind = request[kChangeKind];
    const CString code = ReadSimText(request, kChangeText, kCodeLength);
    BYTE status = 0;
    switch (subCode) {
    case 0:
        m_pending = code;
        status = 2;
        answer[kChangeKind] = kind;
        break;
    case 1:
        if (kind == 0 && code == m_pending) {
            m_codes[0] = code;
            status = 1;
        } else if (kind == 1) {
            m_codes[2] = code;
            status = 1;
        }
        break;
    default:
        answer[kChangeKind] = kind;
        break;
    }
    answer[AnswerOffset::Data] = status;
}
