#include "simulator/internal/CZOKDevice.h"

#include "simulator/internal/SimAnswer.h"
#include "simulator/internal/SimCommandTable.h"
#include "simulator/internal/SimFieldSteps.h"
#include "simulator/internal/SimSettings.h"

// CSimDevice has no run-time class of its own, so CObject stays the registered base.
IMPLEMENT_SERIAL(CZOKDevice, CObject, 1)

namespace {

constexpr WORD kDelayUnit = 200;

// The step of the pending-field request (0x41).
constexpr std::size_t kPendingSubCode = 9;

// Sub-codes of the field read (0x45, byte 10).
constexpr std::size_t kFieldReadSubCode = 10;
constexpr BYTE kReadStoredField = 0;
constexpr BYTE kReadWarningField = 1;

// The step of the contour teach-in (0x46).
constexpr std::size_t kTeachInSubCode = 20;

// The mode/delay pair (request bytes 9 and 10): modes 0 to 2, delays of 2 to 60.
constexpr std::size_t kPairMode = 9;
constexpr std::size_t kPairDelay = 10;
constexpr SimSettingRange kPairModes{0, 2};
constexpr SimSettingRange kPairDelays{2, 60};

bool IsServedPair(ConstRequestSpan request)
{
    return kPairModes.Contains(request[kPairMode]) && kPairDelays.Contains(request[kPairDelay]);
}

// Answer bytes 10 and 11 echo the pair as requested.
void EchoPair(ConstRequestSpan request, AnswerSpan answer)
{
    answer[10] = request[kPairMode];
    answer[11] = request[kPairDelay];
}

} // namespace

CZOKDevice::CZOKDevice()
    : CSimDevice("ZOK,SWR,00.0", "03.20", 310, kSimStatusZOK),
      m_optionB(1),
      m_value61(1),
      m_value62(0),
      m_value64(2),
      m_value6A(0),
      m_value68(1),
      m_pairMode(0),
      m_pairDelay(2),
      m_warningContour(SimContour::Filled(181, 35))
{
    m_storedField.defined = 1;
    m_storedField.hour = 12;
    m_storedField.day = 1;
    m_storedField.month = 1;
    m_storedField.year = 98;
    m_storedField.shape = SIM_SHAPE_CONSTANT;
    m_storedField.parameter = 400;
}

int CZOKDevice::Telegram(ConstRequestSpan request, AnswerSpan answer)
{
    static const SimCommand<CZOKDevice> commands[] = {
        {0x10, kSimAnswerConnectionTest, &CZOKDevice::AnswerConnectionTest},
        {0x20, 0xA0, &CZOKDevice::AnswerAccess},
        {0x30, 0xB0, &CZOKDevice::AnswerMeasuredValues},
        {0x31, 0xB1, &CZOKDevice::AnswerIdentification},
        {0x32, 0xB2, &CZOKDevice::AnswerErrorList},
        {0x40, 0xC0, &CZOKDevice::AnswerWriteField},
        {0x41, 0xC1, &CZOKDevice::AnswerPendingField},
        {0x42, 0xC2, &CZOKDevice::AnswerCodeChange},
        {0x43, 0xC3, &CZOKDevice::AnswerWriteWarningContour},
        {0x44, 0xC4, &CZOKDevice::AnswerPairCheck},
        {0x45, 0xC5, &CZOKDevice::AnswerReadField},
        {0x46, 0xC6, &CZOKDevice::AnswerTeachIn},
        {0x47, 0xC4, &CZOKDevice::AnswerPairStore},
        {0x50, 0xD0, &CZOKDevice::AnswerAccepted},
        {0x60, 0xE0, &CZOKDevice::AnswerCheck<0, 1>},
        {0x61, 0xE0, &CZOKDevice::AnswerStore<0, 1, &CZOKDevice::m_value61>},
        {0x62, 0xE2, &CZOKDevice::AnswerStore<0, 2, &CZOKDevice::m_value62>},
        {0x63, 0xE4, &CZOKDevice::AnswerCheck<2, 16>},
        {0x64, 0xE4, &CZOKDevice::AnswerStore<2, 16, &CZOKDevice::m_value64>},
        // Kept in option byte B, which the identification shows, so that what status 1
        // confirms also reads back.
        {0x65, 0xE5, &CZOKDevice::AnswerStore<0, 1, &CZOKDevice::m_optionB>},
        {0x66, 0xE6, &CZOKDevice::AnswerStore<0, 1, &CZOKDevice::m_value66>},
        {0x67, 0xE7, &CZOKDevice::AnswerStore<0, 127, &CZOKDevice::m_value67>},
        {0x68, 0xE8, &CZOKDevice::AnswerStore<0, 1, &CZOKDevice::m_value68>},
        {0x69, 0xE9, &CZOKDevice::AnswerCheck<0, 1>},
        {0x6A, 0xE9, &CZOKDevice::AnswerStore<0, 1, &CZOKDevice::m_value6A>},
        {0x77, 0xF7, &CZOKDevice::AnswerIndexedValue},
    };
    return AnswerFromCommandTable(*this, commands, kFamilyZOK, kSimStatusZOK, request, answer);
}

void CZOKDevice::AnswerMeasuredValues(ConstRequestSpan request, AnswerSpan answer)
{
    AnswerMeasuredKind(request, answer, DWORD(m_typeCode));
}

void CZOKDevice::AnswerIdentification(ConstRequestSpan, AnswerSpan answer)
{
    WriteIdentificationHead(answer);
    answer[28] = m_optionB;
    answer[29] = m_pairMode;
    SetRecordWord(answer, 30, WORD(m_pairDelay * kDelayUnit));
    answer[32] = m_value61;
    answer[33] = m_value62;
    answer[34] = BYTE(m_value64 - 1);
    SetRecordWord(answer, 35, m_constantWord);
    answer[37] = m_value66;
    answer[38] = m_value67;
    answer[39] = m_value6A;
    answer[40] = m_value68;
}

void CZOKDevice::AnswerWriteField(ConstRequestSpan request, AnswerSpan answer)
{
    if (!FieldWriteFits(request))
        return; // status 0: more points than a field has beams
    WritePendingField(request, m_pendingField);
    answer[AnswerOffset::Data] = SIM_FIELD_DONE;
    AnswerFieldWrite(answer, m_pendingField);
}

void CZOKDevice::AnswerPendingField(ConstRequestSpan request, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = TakePendingFieldStep(request[kPendingSubCode], m_storedField);
}

void CZOKDevice::AnswerWriteWarningContour(ConstRequestSpan request, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = ReadWarningContour(request, m_warningContour) ? SIM_FIELD_DONE : SIM_FIELD_REFUSED;
}

void CZOKDevice::AnswerReadField(ConstRequestSpan request, AnswerSpan answer)
{
    switch (request[kFieldReadSubCode]) {
    case kReadStoredField: AnswerStoredField(answer, m_storedField); break;
    case kReadWarningField: AnswerWarningContour(answer, m_warningContour); break;
    default: AnswerNotServed(answer); break;
    }
}

void CZOKDevice::AnswerTeachIn(ConstRequestSpan request, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = TakeTeachInStep(request[kTeachInSubCode], request);
}

void CZOKDevice::AnswerPairCheck(ConstRequestSpan request, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = IsServedPair(request) ? SIM_SETTING_ACCEPTED : SIM_SETTING_REFUSED;
    EchoPair(request, answer);
}

void CZOKDevice::AnswerPairStore(ConstRequestSpan request, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = SIM_SETTING_REFUSED;
    EchoPair(request, answer);
    if (!IsServedPair(request))
        return;
    m_pairMode = request[kPairMode];
    m_pairDelay = request[kPairDelay];
    answer[AnswerOffset::Data] = SIM_SETTING_STORED;
}

void CZOKDevice::AnswerAccepted(ConstRequestSpan, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = SIM_SETTING_STORED;
}

void CZOKDevice::AnswerIndexedValue(ConstRequestSpan, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = SIM_SETTING_STORED;
    answer[10] = 1;
}
