#include "device/CSensor.h"

#include "device/SensorHelpers.h"
#include "driver/orudrv.h"
#include "framework/ui/CWaitCursor.h"
#include "simulator/orusim.h"

IMPLEMENT_DYNAMIC(CSensor, CAPISensor)

namespace {

constexpr BYTE kConnectionTest = 0x10;
constexpr BYTE kAccess = 0x20;
constexpr BYTE kAccessAnswer = 0xA0;
constexpr BYTE kIdentification = 0x31;
constexpr BYTE kErrorList = 0x32;
constexpr BYTE kErrorListAnswer = 0xB2;
constexpr BYTE kCodeChange = 0x42;
constexpr BYTE kCodeChangeAnswer = 0xC2;

constexpr BYTE kMode2 = 2;
constexpr std::size_t kSubCodeAt = 9;
constexpr std::size_t kAccessTextAt = 10;
constexpr std::size_t kChangeKindAt = 10;
constexpr std::size_t kChangeTextAt = 11;
constexpr std::size_t kTextSize = 9; // 8 characters and a NUL

constexpr int kScanBaudrates[] = {9600, 19200, 38400, 56000};

void PutText(SensorRequest& request, std::size_t offset, LPCTSTR text)
{
    CopyTelegramText(request.Bytes().subspan(offset), text, kTextSize);
}

} // namespace

CSensor::CSensor(BYTE family) : m_family(family)
{
}

BYTE CSensor::GetAddress()
{
    return 0;
}

BOOL CSensor::Telegram(RequestSpan request, AnswerSpan answer)
{
    request[RequestOffset::Family] = m_family;
    m_lastStatus = 0;
    CWaitCursor wait;
    if (IsSimulated())
        return ::SimTelegram(request.data(), answer.data()) != 0;
    return CAPISensor::Telegram(request, answer);
}

int CSensor::GetSensorType(BYTE family)
{
    if (IsSimulated())
        return ::SimSensorType(family);
    return CAPISensor::GetSensorType(family);
}

int CSensor::GetSensorCaps(BYTE type, int index)
{
    if (IsSimulated())
        return ::SimSensorCaps(type, index);
    return CAPISensor::GetSensorCaps(type, index);
}

BOOL CSensor::SendProbe(SensorRequest& request, BYTE family, BOOL& answered)
{
    SensorAnswer answer;
    answered = SendTelegram(request, answer);
    return answered && (answer.IsKVRStatus() ? kFamilyKVR : kFamilyZOK) == family;
}

BOOL CSensor::ProbeFamily(BYTE family, BOOL scan)
{
    const BYTE savedFamily = m_family;
    m_family = family;

    SensorRequest request = MakeRequest(kIdentification);
    BOOL answered = FALSE;
    BOOL match = SendProbe(request, family, answered);

    // Only silence suggests another baud rate; an answer of the other family does not.
    if (!answered && scan) {
        const int configured = GetSetupBaudrate();
        for (int rate : kScanBaudrates) {
            SetBaudrate(rate);
            match = SendProbe(request, family, answered);
            if (match)
                break;
        }
        if (!match)
            SetBaudrate(configured);
    }

    m_family = savedFamily;
    return match;
}

BOOL CSensor::DetectFamily(BOOL scan)
{
    if (ProbeFamily(kFamilyZOK, scan))
        m_family = kFamilyZOK;
    else if (ProbeFamily(kFamilyKVR, scan))
        m_family = kFamilyKVR;
    else
        m_family = kUnknownFamily;
    return m_family != kUnknownFamily;
}

BOOL CSensor::EnsureFamily(BOOL scan)
{
    if (m_family == kUnknownFamily && !DetectFamily(scan))
        return FALSE;
    return ProbeFamily(m_family, scan);
}

int CSensor::GetSensorTypeCode()
{
    const int type = GetSensorType(m_family);
    switch (type) {
    case kDeviceTypeKVR132: return kDeviceTypeZOK4;
    case kDeviceTypeKVR135: return kDeviceTypeZOK7;
    case kDeviceTypeKVR178: return kDeviceTypeZOK50;
    default: return type;
    }
}

int CSensor::GetCaps(int index)
{
    return GetSensorCaps(BYTE(GetSensorType(m_family)), index);
}

BOOL CSensor::SendCommand(SensorRequest& request, SensorAnswer& answer, BYTE answerCommand)
{
    if (!SendTelegram(request, answer))
        return FALSE;
    SetLastStatus(answer.Byte(AnswerOffset::Data));
    return answer.Command() == answerCommand;
}

SensorRequest CSensor::MakeRequest(BYTE command)
{
    SensorRequest request;
    request.SetByte(RequestOffset::Address, GetAddress());
    request.SetByte(RequestOffset::Command, command);
    return request;
}

BOOL CSensor::Exchange(SensorRequest& request, SensorAnswer& answer, BYTE answerCode)
{
    return SendTelegram(request, answer) && answer.Command() == answerCode;
}

BOOL CSensor::TestConnection()
{
    SensorRequest request = MakeRequest(kConnectionTest);
    SensorAnswer answer;
    return SendTelegram(request, answer);
}

BOOL CSensor::SendAccessRequest(BYTE subCode, BYTE address, LPCTSTR text)
{
    SensorRequest request = MakeRequest(kAccess);
    request.SetByte(RequestOffset::Address, address);
    request.SetByte(kSubCodeAt, subCode);
    PutText(request, kAccessTextAt, text);
    SensorAnswer answer;
    return SendCommand(request, answer, kAccessAnswer) && GetLastStatus() == 0;
}

BOOL CSensor::Login(char code, LPCTSTR text)
{
    return SendAccessRequest(BYTE(code), GetAddress(), text);
}

BOOL CSensor::SendMode2Code(LPCTSTR text)
{
    return SendAccessRequest(kMode2, GetAddress(), text);
}

BOOL CSensor::SetOperatingMode(BYTE mode, LPCTSTR text)
{
    return SendAccessRequest(mode, GetAddress(), text);
}

BOOL CSensor::SetOperatingModeValue(BYTE mode, BYTE address, LPCTSTR text)
{
    return SendAccessRequest(mode, address, text);
}

BOOL CSensor::ChangePassword(BYTE kind, LPCTSTR text)
{
    SensorRequest request = MakeRequest(kCodeChange);
    request.SetByte(kSubCodeAt, 0);
    request.SetByte(kChangeKindAt, kind);
    PutText(request, kChangeTextAt, text);

    SensorAnswer check;
    if (!SendCommand(request, check, kCodeChangeAnswer) || GetLastStatus() != kFirstStepStatus)
        return FALSE;
    request.SetByte(kSubCodeAt, 1);
    SensorAnswer commit;
    return SendCommand(request, commit, kCodeChangeAnswer) && GetLastStatus() == kSecondStepStatus;
}

BOOL CSensor::ReadErrorList(CSensorErrorList& list)
{
    return ReadErrorListAt(list, GetAddress());
}

BOOL CSensor::ReadErrorListAt(CSensorErrorList& list, BYTE address)
{
    SensorRequest request = MakeRequest(kErrorList);
    request.SetByte(RequestOffset::Address, address);
    SensorAnswer answer;
    if (!Exchange(request, answer, kErrorListAnswer))
        return FALSE;
    return list.Parse(answer.Bytes());
}
