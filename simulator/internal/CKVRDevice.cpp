#include "simulator/internal/CKVRDevice.h"

#include "simulator/internal/SimAnswer.h"
#include "simulator/internal/SimCapabilities.h"
#include "simulator/internal/SimCommandTable.h"
#include "simulator/internal/SimRandom.h"
#include "simulator/internal/SimSettings.h"

#include <algorithm>

// CSimDevice has no run-time class of its own, so CObject stays the registered base.
IMPLEMENT_SERIAL(CKVRDevice, CObject, 1)

namespace {

constexpr std::size_t kSensorNumber = 9;
constexpr BYTE kFirstActiveCase = 0;  // request value that asks for the first active case
constexpr BYTE kSecondActiveCase = 5; // ... and for the second
constexpr std::size_t kMaskAt = 9;
constexpr std::size_t kMaskEcho = 10;

} // namespace

CKVRDevice::CKVRDevice()
    : CSimDevice("KVR,SWR,00.0", "03.11", 300, kSimStatusKVR),
      m_typeBits(0),
      m_usedBits1(1),
      m_usedBits2(1),
      m_ossdBits(0),
      m_mode1(0),
      m_delay1(2),
      m_mode2(0),
      m_delay2(2),
      m_blockWords{50, 50, 25},
      m_optionV4(1),
      m_sensorCount(1),
      m_fieldPairCount(1),
      m_caseCount(1),
      m_activeCases(0x01),
      m_statusS1(1),
      m_statusS2(1),
      m_statusL1(0),
      m_statusL2(0),
      m_statusS3(2)
{
    m_sensorNames[0].Format("ZOK %d", 1);
    m_fieldPairNames[0].Format("Feld %d", 1);
    m_caseNames[0].Format("Fall %d", 1);

    SimFieldRecord& field = m_fieldPairs[0].field;
    field.defined = 1;
    field.hour = 12;
    field.day = 1;
    field.month = 1;
    field.year = 98;
    field.shape = SIM_SHAPE_CONSTANT;
    field.parameter = 400;
    m_fieldPairs[0].warningContour = SimContour::Filled(181, 35);

    m_cases[0] = SimCaseRecord{1, 1, 255, 1, 2, 255, 255, -2000, 2000};
}

int CKVRDevice::Telegram(ConstRequestSpan request, AnswerSpan answer)
{
    static const SimCommand<CKVRDevice> commands[] = {
        {0x10, kSimAnswerConnectionTest, &CKVRDevice::AnswerConnectionTest},
        {0x20, 0xA0, &CKVRDevice::AnswerAccess},
        {0x30, 0xB0, &CKVRDevice::AnswerMeasuredValues},
        {0x31, 0xB1, &CKVRDevice::AnswerIdentification},
        {0x32, 0xB2, &CKVRDevice::AnswerErrorList},
        {0x38, 0xB8, &CKVRDevice::AnswerConfigBlock},
        {0x39, 0xB9, &CKVRDevice::AnswerCaseRecord},
        {0x40, 0xC0, &CKVRDevice::AnswerFieldWrite},
        {0x41, 0xC1, &CKVRDevice::AnswerPendingField},
        {0x42, 0xC2, &CKVRDevice::AnswerCodeChange},
        {0x43, 0xC3, &CKVRDevice::AnswerWarningContour},
        {0x45, 0xC5, &CKVRDevice::AnswerFieldRead},
        {0x46, 0xC6, &CKVRDevice::AnswerTeachIn},
        {0x66, 0xE6, &CKVRDevice::AnswerStore<0, 1, &CKVRDevice::m_value66>},
        {0x67, 0xE7, &CKVRDevice::AnswerStore<0, 127, &CKVRDevice::m_value67>},
        {0x70, 0xF0, &CKVRDevice::AnswerCheckConfigBlock},
        {0x71, 0xF0, &CKVRDevice::AnswerStoreConfigBlock},
        {0x72, 0xF2, &CKVRDevice::AnswerCheckCaseRecord},
        {0x73, 0xF2, &CKVRDevice::AnswerStoreCaseRecord},
        {0x74, 0xF4, &CKVRDevice::AnswerCaseMask},
    };
    return AnswerFromCommandTable(*this, commands, kFamilyKVR, kSimStatusKVR, request, answer);
}

DWORD CKVRDevice::InterfaceTypeCode() const
{
    switch (m_typeCode) {
    case kDeviceTypeZOK4: return kDeviceTypeKVR132;
    case kDeviceTypeZOK7: return kDeviceTypeKVR135;
    case kDeviceTypeZOK50: return kDeviceTypeKVR178;
    default: return DWORD(m_typeCode);
    }
}

BYTE CKVRDevice::CaseSelector(BYTE requested) const
{
    const BYTE first = m_activeCases & 0x0F;
    const BYTE second = BYTE(m_activeCases >> 4);
    if (requested == kFirstActiveCase && first != 0)
        return m_cases[first - 1].sensor;
    if (requested == kSecondActiveCase && second != 0)
        return m_cases[second - 1].sensor;
    return requested;
}

void CKVRDevice::AnswerMeasuredValues(ConstRequestSpan request, AnswerSpan answer)
{
    if (AnswerMeasuredKind(request, answer, InterfaceTypeCode()))
        answer[AnswerOffset::Data] = CaseSelector(request[kSensorNumber]);
}

// Case numbers must fit the four bits each of them has in the active-cases byte.
void CKVRDevice::DrawActiveCases()
{
    const int highest = std::clamp(m_caseCount, 0, int(kMaxCases));
    const int first = RandomInRange(0, highest);
    const int second = first != 0 ? RandomInRange(0, highest) : 0;
    m_activeCases = BYTE(first | (second << 4));
}

void CKVRDevice::AnswerIdentification(ConstRequestSpan, AnswerSpan answer)
{
    DrawActiveCases();
    WriteIdentificationHead(answer);
    answer[28] = LOBYTE(WORD(m_typeCode));
    SetRecordWord(answer, 29, m_constantWord);
    answer[31] = m_value66;
    answer[32] = m_value67;
    answer[34] = m_activeCases;
    answer[35] = m_statusS1;
    answer[36] = m_statusS2;
    SetRecordWord(answer, 37, LOWORD(m_statusL1));
    SetRecordWord(answer, 39, LOWORD(m_statusL2));
    answer[41] = m_statusS3;
}

// The unit takes the case mask as it comes and keeps nothing of it.
void CKVRDevice::AnswerCaseMask(ConstRequestSpan request, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = SIM_SETTING_STORED;
    answer[kMaskEcho] = request[kMaskAt];
    answer[kMaskEcho + 1] = request[kMaskAt + 1];
}
