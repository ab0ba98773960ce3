#include "device/CKVRSensor.h"

#include "device/FieldRecords.h"
#include "device/SensorHelpers.h"
#include "framework/core/Codepage.h"
#include "model/CSensorType.h"

#include <algorithm>
#include <exception>
#include <string>

IMPLEMENT_DYNAMIC(CKVRSensor, CSensor)

namespace {

constexpr BYTE kIdentity = 0x31;
constexpr BYTE kReadBlock = 0x38;
constexpr BYTE kReadCase = 0x39;
constexpr BYTE kCommand66 = 0x66;
constexpr BYTE kCheckBlock = 0x70;
constexpr BYTE kCommitBlock = 0x71;
constexpr BYTE kCheckCase = 0x72;
constexpr BYTE kCommitCase = 0x73;
constexpr BYTE kCaseMask = 0x74;

using FieldRecord::kAnswerBit;
// Second steps are answered with the code of their first step.
constexpr BYTE kBlockAnswer = kCheckBlock | kAnswerBit;
constexpr BYTE kCaseAnswer = kCheckCase | kAnswerBit;


constexpr std::size_t kData = RequestOffset::Data;
// Answers of two-step commands: status at byte 9, the unit's copy from byte 10.
constexpr std::size_t kStatusAt = AnswerOffset::Data;
constexpr std::size_t kCopyAt = AnswerOffset::Data + 1;
constexpr std::size_t kIdentitySize = 33;

template <std::size_t N>
void CopyFromAnswer(const SensorAnswer& answer, std::size_t offset, std::array<BYTE, N>& target)
{
    const auto source = answer.Bytes().subspan(offset, N);
    std::copy(source.begin(), source.end(), target.begin());
}

} // namespace

CKVRSensor::CKVRSensor(int simulate) : CSensor(kFamilyKVR)
{
    SetSimulated(simulate);
}

BOOL CKVRSensor::ReadIdentity(CKVRIdentity& identity)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(kIdentity);
        SensorAnswer answer;
        if (!Exchange(request, answer, kIdentity | kAnswerBit))
            return FALSE;
        return identity.SetData(answer.data() + AnswerOffset::Data, kIdentitySize);
    });
}

BOOL CKVRSensor::ReadConfigBlock(KVRConfigBlock& block)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(kReadBlock);
        SensorAnswer answer;
        if (!Exchange(request, answer, kReadBlock | kAnswerBit))
            return FALSE;
        CopyFromAnswer(answer, AnswerOffset::Data, block);
        return TRUE;
    });
}

BOOL CKVRSensor::SendRecordStep(BYTE command, std::span<const BYTE> data, BYTE expectedStatus, SensorAnswer& answer)
{
    SensorRequest request = MakeRequest(command);
    std::copy(data.begin(), data.end(), request.Bytes().begin() + kData);
    const BYTE answerCode = (command == kCheckBlock || command == kCommitBlock) ? kBlockAnswer : kCaseAnswer;
    if (!Exchange(request, answer, answerCode))
        return FALSE;
    SetLastStatus(answer.Byte(kStatusAt));
    return BOOL(GetLastStatus() == expectedStatus);
}

BOOL CKVRSensor::CheckConfigBlock(KVRConfigBlock& block)
{
    return Guarded<BOOL>([&] {
        SensorAnswer answer;
        if (!SendRecordStep(kCheckBlock, block, kFirstStepStatus, answer))
            return FALSE;
        CopyFromAnswer(answer, kCopyAt, block);
        return TRUE;
    });
}

BOOL CKVRSensor::CommitConfigBlock(const KVRConfigBlock& block)
{
    return Guarded<BOOL>([&] {
        SensorAnswer answer;
        return SendRecordStep(kCommitBlock, block, kSecondStepStatus, answer);
    });
}

BOOL CKVRSensor::ReadCaseRecord(int number, KVRCaseRecord& record)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(kReadCase);
        request.SetByte(kData, BYTE(number));
        SensorAnswer answer;
        if (!Exchange(request, answer, kReadCase | kAnswerBit) || answer.Byte(AnswerOffset::Data) != BYTE(number))
            return FALSE;
        CopyFromAnswer(answer, AnswerOffset::Data, record);
        return TRUE;
    });
}

BOOL CKVRSensor::CheckCaseRecord(KVRCaseRecord& record)
{
    return Guarded<BOOL>([&] {
        SensorAnswer answer;
        if (!SendRecordStep(kCheckCase, record, kFirstStepStatus, answer))
            return FALSE;
        CopyFromAnswer(answer, kCopyAt, record);
        return TRUE;
    });
}

BOOL CKVRSensor::CommitCaseRecord(const KVRCaseRecord& record)
{
    return Guarded<BOOL>([&] {
        SensorAnswer answer;
        return SendRecordStep(kCommitCase, record, kSecondStepStatus, answer);
    });
}

BOOL CKVRSensor::WriteCaseMask(const WORD& mask)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(kCaseMask);
        request.SetWord(kData, mask);
        SensorAnswer answer;
        if (!Exchange(request, answer, kCaseMask | kAnswerBit))
            return FALSE;
        SetLastStatus(answer.Byte(kStatusAt));
        return BOOL(GetLastStatus() != 0);
    });
}

BOOL CKVRSensor::SendCommand66(BYTE value)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(kCommand66);
        request.SetByte(kData, value);
        SensorAnswer answer;
        return BOOL(Exchange(request, answer, kCommand66 | kAnswerBit) && answer.Byte(kData) == 1 &&
                    answer.Byte(kData + 1) == value);
    });
}

BOOL CKVRSensor::ReadSensorType(CSensorType& type)
{
    const int code = GetSensorTypeCode();
    if (!IsKVRTypeCode(code))
        return FALSE;
    KVRConfigBlock block{};
    if (!ReadConfigBlock(block))
        return FALSE;
    if (!type.SetTypeCode(BYTE(code)))
        return FALSE;
    type.SetVariant(block[KVRBlockOffset::TypeBits] & 0x01);
    return TRUE;
}

CString& PadDeviceName(CString& text, int length)
{
    if (text.GetLength() < length)
        text += CString(' ', length - text.GetLength());
    return text;
}

CString& TrimDeviceName(CString& text)
{
    std::string value = text.c_str();
    const std::size_t first = value.find_first_not_of(' ');
    if (first == std::string::npos) {
        text = CString();
        return text;
    }
    const std::size_t last = value.find_last_not_of(' ');
    text = CString(value.substr(first, last - first + 1));
    return text;
}

BOOL IsKVRTypeCode(int code)
{
    const BYTE low = BYTE(code & 0xFF);
    return low == kDeviceTypeZOK4 || low == kDeviceTypeZOK7 || low == kDeviceTypeZOK50;
}

void PutDeviceName(std::span<BYTE> field, const CString& name)
{
    if (field.size() < kKVRNameBytes)
        return;
    CopyTelegramText(field, name, kKVRNameBytes);
    const auto end = field.begin() + kKVRNameLength;
    std::fill(std::find(field.begin(), end, BYTE(0)), end, BYTE(' '));
    field[kKVRNameLength] = 0;
}

CString GetDeviceName(std::span<const BYTE> field)
{
    const auto limited = field.first(std::min(field.size(), kKVRNameBytes));
    const auto end = std::find(limited.begin(), limited.end(), BYTE(0));
    return CString(Cp1252ToUtf8(std::string(limited.begin(), end)));
}
