// The simulated unit's field pairs: the field write into the pending field (0x40), the
// pending-field steps (0x41), the warning contour (0x43), the field reads (0x45) and the
// contour teach-in (0x46). Each names its field pair by number from 1.
#include "simulator/internal/CKVRDevice.h"

#include "simulator/internal/SimAnswer.h"
#include "simulator/internal/SimFieldSteps.h"

namespace {

constexpr std::size_t kNameLength = 8;

// 0x40 and 0x43: the field-pair number at 9; 0x40 the name at 10, echoed from 11.
constexpr std::size_t kPairNumber = 9;
constexpr std::size_t kPairName = 10;
constexpr std::size_t kEchoedNumber = 10;
constexpr std::size_t kEchoedName = 11;

// 0x41: the step at 9, the field-pair number at 10, the selector at 11 (both echoed).
constexpr std::size_t kPendingStep = 9;
constexpr std::size_t kPendingPair = 10;
constexpr std::size_t kPendingSelector = 11;

// 0x45: the field-pair number at 9 and the field at 10 (0 protective, 1 warning).
constexpr std::size_t kReadWhich = 10;
constexpr BYTE kReadProtective = 0;
constexpr BYTE kReadWarning = 1;

// 0x46: the sensor at 19 (echoed at 10) and the step at 20.
constexpr std::size_t kTeachInSensor = 19;
constexpr std::size_t kTeachInStep = 20;
constexpr std::size_t kEchoedSensor = 10;

} // namespace

bool CKVRDevice::IsFieldPairNumber(BYTE number) const
{
    return number >= 1 && number <= m_fieldPairCount;
}

void CKVRDevice::AnswerFieldWrite(ConstRequestSpan request, AnswerSpan answer)
{
    const BYTE number = request[kPairNumber];
    const CString name = ReadSimText(request, kPairName, kNameLength);
    const bool accepted = IsFieldPairNumber(number) && FieldWriteFits(request);
    if (accepted) {
        m_fieldPairNames[number - 1] = name;
        WritePendingField(request, m_pendingField);
        ::AnswerFieldWrite(answer, m_pendingField);
    }
    answer[AnswerOffset::Data] = accepted ? SIM_FIELD_DONE : SIM_FIELD_REFUSED;
    answer[kEchoedNumber] = number;
    WriteSimText(answer, kEchoedName, name, kNameLength);
}

void CKVRDevice::AnswerPendingField(ConstRequestSpan request, AnswerSpan answer)
{
    const BYTE number = request[kPendingPair];
    answer[AnswerOffset::Data] = SIM_FIELD_REFUSED;
    if (IsFieldPairNumber(number))
        answer[AnswerOffset::Data] = TakePendingFieldStep(request[kPendingStep], m_fieldPairs[number - 1].field);
    answer[kPendingPair] = number;
    answer[kPendingSelector] = request[kPendingSelector];
}

void CKVRDevice::AnswerWarningContour(ConstRequestSpan request, AnswerSpan answer)
{
    const BYTE number = request[kPairNumber];
    const bool accepted =
        IsFieldPairNumber(number) && ReadWarningContour(request, m_fieldPairs[number - 1].warningContour);
    answer[AnswerOffset::Data] = accepted ? SIM_FIELD_DONE : SIM_FIELD_REFUSED;
    answer[kEchoedNumber] = number;
}

void CKVRDevice::AnswerFieldRead(ConstRequestSpan request, AnswerSpan answer)
{
    const BYTE number = request[kPairNumber];
    const BYTE which = request[kReadWhich];
    if (!IsFieldPairNumber(number) || (which != kReadProtective && which != kReadWarning)) {
        AnswerNotServed(answer);
        return;
    }
    const SimFieldPair& pair = m_fieldPairs[number - 1];
    if (which == kReadProtective)
        AnswerStoredField(answer, pair.field);
    else
        ::AnswerWarningContour(answer, pair.warningContour);
    answer[AnswerOffset::Data] = number;
    WriteSimText(answer, kPairName, m_fieldPairNames[number - 1], kNameLength);
}

void CKVRDevice::AnswerTeachIn(ConstRequestSpan request, AnswerSpan answer)
{
    const BYTE sensor = request[kTeachInSensor];
    answer[AnswerOffset::Data] = SIM_FIELD_REFUSED;
    if (IsFieldPairNumber(request[kPairNumber]) && sensor <= m_sensorCount)
        answer[AnswerOffset::Data] = TakeTeachInStep(request[kTeachInStep], request);
    answer[kEchoedSensor] = sensor;
}
