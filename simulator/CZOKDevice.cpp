#include "simulator/CZOKDevice.h"

#include "framework/core/CArchive.h"
#include "simulator/SimAnswer.h"
#include "simulator/SimCapabilities.h"
#include "simulator/SimCommandTable.h"

IMPLEMENT_SERIAL(CZOKDevice, CObject, 1)

namespace {

constexpr BYTE kArchiveVersion = 1;
constexpr std::size_t kMeasuredKind = 10;
constexpr int kMarksCapability = 8;
constexpr WORD kDelayUnit = 200;

} // namespace

CZOKDevice::CZOKDevice()
    : m_identityText("ZOK,SWR,00.0"),
      m_versionText("03.20"),
      m_deviceName("PC - SIM"),
      m_firmwareVersion(310),
      m_typeCode(kDeviceTypeZOK4),
      m_operatingMode(0x23),
      m_spareA(0),
      m_optionB(1),
      m_value61(1),
      m_value62(0),
      m_value64(2),
      m_constantWord(66),
      m_value66(0),
      m_value67(0),
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

void CZOKDevice::Serialize(CArchive& ar)
{
    SerializeSimDeviceVersion(ar, kArchiveVersion);
}

int CZOKDevice::Telegram(ConstRequestSpan request, AnswerSpan answer)
{
    static const SimCommand<CZOKDevice> commands[] = {
        {0x10, kSimAnswerConnectionTest, &CZOKDevice::AnswerConnectionTest},
        {0x20, 0xA0, &CZOKDevice::AnswerAccess},
        {0x30, 0xB0, &CZOKDevice::AnswerMeasuredValues},
        {0x31, 0xB1, &CZOKDevice::AnswerIdentification},
        {0x32, 0xB2, &CZOKDevice::AnswerErrorList},
        {0x42, 0xC2, &CZOKDevice::AnswerCodeChange},
    };
    return AnswerFromCommandTable(*this, commands, kFamilyZOK, kSimStatusZOK, request, answer);
}

void CZOKDevice::AnswerConnectionTest(ConstRequestSpan, AnswerSpan)
{
}

void CZOKDevice::AnswerAccess(ConstRequestSpan request, AnswerSpan answer)
{
    m_accessCodes.AnswerAccessRequest(request, answer, m_operatingMode);
}

void CZOKDevice::AnswerMeasuredValues(ConstRequestSpan request, AnswerSpan answer)
{
    const BYTE kind = request[kMeasuredKind];
    if (!SimMeasuredValues::ServesKind(kind)) {
        BeginSimAnswer(answer, kSimStatusZOK, kSimAnswerNotServed);
        return;
    }
    const DWORD capability = LookupSimCapability(DWORD(m_typeCode), m_firmwareVersion, kMarksCapability);
    m_measured.AnswerKind(kind, answer,
                          SimMeasuredValues::MarksPerRequest(capability, m_measured.CurrentContour().count));
}

void CZOKDevice::AnswerIdentification(ConstRequestSpan, AnswerSpan answer)
{
    WriteSimText(answer, 9, m_versionText, 7);
    answer[17] = m_operatingMode;
    answer[18] = m_spareA;
    WriteSimText(answer, 19, m_deviceName, 8);
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

void CZOKDevice::AnswerErrorList(ConstRequestSpan, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = m_errorCount;
}

void CZOKDevice::AnswerCodeChange(ConstRequestSpan request, AnswerSpan answer)
{
    m_accessCodes.AnswerCodeChange(request, answer);
}
