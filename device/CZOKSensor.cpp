#include "device/CZOKSensor.h"

#include "device/FieldRecords.h"
#include "device/SensorHelpers.h"
#include "model/CSensorType.h"

#include <exception>
#include <string_view>

IMPLEMENT_DYNAMIC(CZOKSensor, CSensor)

namespace {

constexpr BYTE kIdentity = 0x31;
constexpr BYTE kIdentityAnswer = 0xB1;
constexpr BYTE kCommand50 = 0x50;
constexpr BYTE kCommand62 = 0x62;
constexpr BYTE kCommand65 = 0x65;
constexpr BYTE kCommand66 = 0x66;
constexpr BYTE kCommand67 = 0x67;
constexpr BYTE kCommand77 = 0x77;
constexpr BYTE kModeDelayCheck = 0x44;
constexpr BYTE kModeDelayCommit = 0x47;
constexpr BYTE kCommand60 = 0x60;
constexpr BYTE kCommand61 = 0x61;
constexpr BYTE kScansCheck = 0x63;
constexpr BYTE kScansCommit = 0x64;
constexpr BYTE kVariantCheck = 0x69;
constexpr BYTE kVariantCommit = 0x6A;

using FieldRecord::kAnswerBit;
// Both steps of a pair are answered with the code of the first step.
constexpr BYTE kModeDelayAnswer = kModeDelayCheck | kAnswerBit;
constexpr BYTE kAnswer60 = kCommand60 | kAnswerBit;
constexpr BYTE kScansAnswer = 0xE4;
constexpr BYTE kVariantAnswer = kVariantCheck | kAnswerBit;

constexpr BYTE kAcceptedStatus = 1;
constexpr BYTE kCommand50Value = 1;

constexpr std::size_t kValueAt = RequestOffset::Data;
constexpr std::size_t kDelayAt = RequestOffset::Data + 1;
constexpr std::size_t kStatusAt = AnswerOffset::Data;
constexpr std::size_t kEchoAt = AnswerOffset::Data + 1;
constexpr std::size_t kCorrectedDelayAt = AnswerOffset::Data + 2;

// The identification data from answer byte 9; its first 8 bytes are the firmware text.
constexpr std::size_t kIdentityAt = AnswerOffset::Data;
constexpr std::size_t kVersionChars = 8;
// Identification bytes 30, 31, 32 and what they read outside the firmware window.
constexpr std::size_t kWindowBytesAt = kIdentityAt + 30;
constexpr BYTE kOutsideWindowBytes[] = {0, 1, 1};

constexpr DWORD kVersion305 = 0x30005;
constexpr DWORD kVersion400 = 0x40000;
constexpr DWORD kVersion405 = 0x40005;
constexpr DWORD kVersion1600 = 0x100000;

} // namespace

// A value set in two steps, both answered with one code: the check (status 2, the echo
// compared when checkEchoed) and the commit (status 1, the echo compared).
struct ZOKValuePair {
    BYTE check;
    BYTE commit;
    BYTE answerCode;
    BOOL checkEchoed;
};

namespace {
constexpr ZOKValuePair kPair60{kCommand60, kCommand61, kAnswer60, TRUE};
constexpr ZOKValuePair kScansPair{kScansCheck, kScansCommit, kScansAnswer, FALSE};
constexpr ZOKValuePair kVariantPair{kVariantCheck, kVariantCommit, kVariantAnswer, TRUE};
} // namespace

BOOL IsZOKTypeCode(int code)
{
    const BYTE type = BYTE(code & 0xFF);
    return type == kDeviceTypeZOK4 || type == kDeviceTypeZOK7 || type == kDeviceTypeZOK50;
}

BOOL IsInFirmwareWindow(DWORD version)
{
    return (version > kVersion305 && version < kVersion400) || (version > kVersion405 && version < kVersion1600);
}

CZOKSensor::CZOKSensor(int simulate) : CSensor(kFamilyZOK)
{
    SetSimulated(simulate);
}

BOOL CZOKSensor::ReadIdentityFrom(CZOKIdentity& identity, BYTE address)
{
    return Guarded<BOOL>([&]() -> BOOL {
        SensorRequest request = MakeRequest(kIdentity);
        request.SetByte(RequestOffset::Address, address);
        SensorAnswer answer;
        if (!Exchange(request, answer, kIdentityAnswer))
            return FALSE;
        const auto versionText = answer.Bytes().subspan(kIdentityAt, kVersionChars);
        const DWORD version =
            ParseVersionNumber(std::string_view(reinterpret_cast<const char*>(versionText.data()), kVersionChars));
        if (!IsInFirmwareWindow(version)) {
            for (std::size_t i = 0; i < std::size(kOutsideWindowBytes); ++i)
                answer.SetByte(kWindowBytesAt + i, kOutsideWindowBytes[i]);
        }
        return identity.SetData(answer.data() + kIdentityAt, CZOKIdentity::kSize);
    });
}

BOOL CZOKSensor::ReadIdentity(CZOKIdentity& identity)
{
    return ReadIdentityFrom(identity, GetAddress());
}

BOOL CZOKSensor::ReadIdentityAt(CZOKIdentity& identity, BYTE device)
{
    return ReadIdentityFrom(identity, device);
}

BOOL CZOKSensor::ReadSensorType(CSensorType& type)
{
    const int code = GetSensorTypeCode();
    if (!IsZOKTypeCode(code))
        return FALSE;
    CZOKIdentity identity;
    if (!ReadIdentity(identity))
        return FALSE;
    type.SetTypeCode(UINT(code & 0xFF));
    type.SetVariant(VariantBit(identity.GetByte30()));
    return TRUE;
}

BOOL CZOKSensor::SendSingleValue(BYTE command, BYTE answerCode, BYTE value, BYTE address)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(command);
        request.SetByte(RequestOffset::Address, address);
        request.SetByte(kValueAt, value);
        SensorAnswer answer;
        return Exchange(request, answer, answerCode) && answer.Byte(kStatusAt) == kAcceptedStatus &&
               answer.Byte(kEchoAt) == value;
    });
}

BOOL CZOKSensor::SendCommand62(BYTE value)
{
    return SendSingleValue(kCommand62, kCommand62 | kAnswerBit, value, GetAddress());
}

BOOL CZOKSensor::SendCommand65(BYTE value)
{
    return SendSingleValue(kCommand65, kCommand65 | kAnswerBit, value, GetAddress());
}

BOOL CZOKSensor::SendCommand66(BYTE value)
{
    return SendSingleValue(kCommand66, kCommand66 | kAnswerBit, value, GetAddress());
}

BOOL CZOKSensor::SendCommand67(BYTE value)
{
    return SendSingleValue(kCommand67, kCommand67 | kAnswerBit, value, GetAddress());
}

BOOL CZOKSensor::SendCommand77(BYTE value, BYTE device)
{
    return SendSingleValue(kCommand77, kCommand77 | kAnswerBit, value, device);
}

BOOL CZOKSensor::SendCommand50()
{
    return SendCommand50At(GetAddress());
}

BOOL CZOKSensor::SendCommand50At(BYTE device)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(kCommand50);
        request.SetByte(RequestOffset::Address, device);
        request.SetByte(kValueAt, kCommand50Value);
        SensorAnswer answer;
        return Exchange(request, answer, kCommand50 | kAnswerBit) && answer.Byte(kStatusAt) == kAcceptedStatus;
    });
}

BOOL CZOKSensor::SendPairStep(BYTE command, BYTE answerCode, BYTE value, BYTE status, BOOL compareEcho,
                              SensorAnswer& answer)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(command);
        request.SetByte(kValueAt, value);
        return Exchange(request, answer, answerCode) && answer.Byte(kStatusAt) == status &&
               (!compareEcho || answer.Byte(kEchoAt) == value);
    });
}

BOOL CZOKSensor::SendModeDelayStep(BYTE command, BYTE mode, BYTE delay, SensorAnswer& answer)
{
    return Guarded<BOOL>([&]() -> BOOL {
        SensorRequest request = MakeRequest(command);
        request.SetByte(kValueAt, mode);
        request.SetByte(kDelayAt, delay);
        if (!Exchange(request, answer, kModeDelayAnswer))
            return FALSE;
        if (command == kModeDelayCheck)
            return answer.Byte(kStatusAt) == kFirstStepStatus && answer.Byte(kEchoAt) == mode;
        return answer.Byte(kStatusAt) == kSecondStepStatus;
    });
}

BOOL CZOKSensor::WriteCommand44(BYTE mode, BYTE delay)
{
    SensorAnswer check;
    SensorAnswer commit;
    return SendModeDelayStep(kModeDelayCheck, mode, delay, check) &&
           SendModeDelayStep(kModeDelayCommit, mode, delay, commit);
}

BOOL CZOKSensor::CheckCommand44(BYTE& mode, BYTE& delay)
{
    SensorAnswer answer;
    if (!SendModeDelayStep(kModeDelayCheck, mode, delay, answer))
        return FALSE;
    mode = answer.Byte(kEchoAt);
    delay = answer.Byte(kCorrectedDelayAt);
    return TRUE;
}

BOOL CZOKSensor::CommitCommand47(BYTE mode, BYTE delay)
{
    SensorAnswer answer;
    return SendModeDelayStep(kModeDelayCommit, mode, delay, answer);
}

BOOL CZOKSensor::WritePair(const ZOKValuePair& pair, BYTE value)
{
    SensorAnswer answer;
    return SendPairStep(pair.check, pair.answerCode, value, kFirstStepStatus, pair.checkEchoed, answer) &&
           CommitPair(pair, value);
}

BOOL CZOKSensor::CheckPair(const ZOKValuePair& pair, BYTE& value)
{
    SensorAnswer answer;
    if (!SendPairStep(pair.check, pair.answerCode, value, kFirstStepStatus, pair.checkEchoed, answer))
        return FALSE;
    value = answer.Byte(kEchoAt);
    return TRUE;
}

BOOL CZOKSensor::CommitPair(const ZOKValuePair& pair, BYTE value)
{
    SensorAnswer answer;
    return SendPairStep(pair.commit, pair.answerCode, value, kSecondStepStatus, TRUE, answer);
}

BOOL CZOKSensor::WriteCommand60(BYTE value)
{
    return WritePair(kPair60, value);
}

BOOL CZOKSensor::CheckCommand60(BYTE& value)
{
    return CheckPair(kPair60, value);
}

BOOL CZOKSensor::CommitCommand61(BYTE value)
{
    return CommitPair(kPair60, value);
}

BOOL CZOKSensor::WriteCommand63(BYTE value)
{
    return WritePair(kScansPair, value);
}

BOOL CZOKSensor::CheckCommand63(BYTE& value)
{
    return CheckPair(kScansPair, value);
}

BOOL CZOKSensor::CommitCommand64(BYTE value)
{
    return CommitPair(kScansPair, value);
}

BOOL CZOKSensor::WriteCommand69(BYTE value)
{
    return WritePair(kVariantPair, value);
}

BOOL CZOKSensor::CheckCommand69(BYTE& value)
{
    return CheckPair(kVariantPair, value);
}

BOOL CZOKSensor::CommitCommand6A(BYTE value)
{
    return CommitPair(kVariantPair, value);
}
