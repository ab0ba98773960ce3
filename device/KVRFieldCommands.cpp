// The field, scan, contour and teach-in commands of CKVRSensor.
#include "device/CKVRSensor.h"

#include "device/FieldRecords.h"
#include "device/SensorHelpers.h"
#include "model/CScan.h"
#include "model/CSensorType.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

using namespace FieldRecord;

constexpr BYTE kWarningContour = kPolyContour;
constexpr BYTE kScanSecondSensorBit = 0x10;
constexpr BYTE kSelectFirstCase = 0;
constexpr BYTE kSelectSecondCase = 5;

// Request 0x40 of the unit: the field pair's number and name before the shape.
namespace KVRWriteRequest {
constexpr std::size_t Number = 9;
constexpr std::size_t Name = 10;
} // namespace KVRWriteRequest

// The unit's field answers name the field pair; 0xC0 carries the status first.
namespace KVRFieldAnswer {
constexpr std::size_t Status = 9; // 0xC0
constexpr std::size_t ReadNumber = 9;
constexpr std::size_t ReadName = 10;
constexpr std::size_t WriteNumber = 10;
constexpr std::size_t WriteName = 11;
} // namespace KVRFieldAnswer

constexpr std::size_t kTeachNameAt = 10;
constexpr std::size_t kTeachSensorAt = 19;
constexpr std::size_t kTeachSubAt = 20;
constexpr std::size_t kTeachTimeAt = 21;
constexpr std::size_t kEchoAt = 10;
constexpr std::size_t kSelectorAt = 11;

// The field pair's number and name come ahead of a field's values as well; the number
// byte ahead of a scan's count word.
constexpr FieldAnswerLeads kLeads{17, 10, 17, 3};

std::string_view NameText(std::span<const BYTE> record, std::size_t offset)
{
    const auto field = record.subspan(offset, kKVRNameBytes);
    const auto end = std::find(field.begin(), field.end(), BYTE(0));
    return std::string_view(reinterpret_cast<const char*>(field.data()), std::size_t(end - field.begin()));
}

} // namespace

std::unique_ptr<CShelter> CKVRSensor::ReadProtectiveField(int number, CString& name)
{
    return Guarded<std::unique_ptr<CShelter>>([&]() -> std::unique_ptr<CShelter> {
        SensorRequest request = MakeRequest(kReadField);
        request.SetByte(RequestOffset::Data, BYTE(number));
        request.SetByte(RequestOffset::Data + 1, kProtectiveSub);
        SensorAnswer answer;
        if (!Exchange(request, answer, kReadField | kAnswerBit) ||
            answer.Byte(KVRFieldAnswer::ReadNumber) != BYTE(number))
            return nullptr;

        CSensorType type;
        if (!IsReadableProtectiveField(answer, kLeads.protectiveValues) || !ReadSensorType(type))
            return nullptr;
        std::unique_ptr<CShelter> field = BuildReadProtectiveField(type, answer);
        name = GetDeviceName(answer.Bytes().subspan(KVRFieldAnswer::ReadName));
        return field;
    });
}

std::unique_ptr<CPolyShelter> CKVRSensor::ReadWarningField(int number, CString& name)
{
    return Guarded<std::unique_ptr<CPolyShelter>>([&]() -> std::unique_ptr<CPolyShelter> {
        SensorRequest request = MakeRequest(kReadField);
        request.SetByte(RequestOffset::Data, BYTE(number));
        request.SetByte(RequestOffset::Data + 1, kWarningSub);
        SensorAnswer answer;
        if (!Exchange(request, answer, kReadField | kAnswerBit) ||
            answer.Byte(KVRFieldAnswer::ReadNumber) != BYTE(number) ||
            answer.Byte(FieldAnswer::ReadShape) != kShapeWarningPoly)
            return nullptr;
        const int count = GetPolyCount(answer);
        CSensorType type;
        if (count == 0 || !CarriesWords(answer, kLeads.warningCount + kCountByteSize, count) ||
            !ReadSensorType(type))
            return nullptr;
        auto field = MakePoly(type, answer, FieldAnswer::Value2, count, kWarningField);
        field->SetWarningInDevice(1);
        name = GetDeviceName(answer.Bytes().subspan(KVRFieldAnswer::ReadName));
        return field;
    });
}

std::unique_ptr<CShelter> CKVRSensor::WriteField(int number, const CString& name, const CShelter* field)
{
    if (!field)
        return nullptr;
    if (field->IsKindOf(RUNTIME_CLASS(CPolyShelter)))
        return WritePolyField(number, name, static_cast<const CPolyShelter*>(field));
    if (field->IsKindOf(RUNTIME_CLASS(CRectShelter)))
        return WriteRectField(number, name, static_cast<const CRectShelter*>(field));
    if (field->IsKindOf(RUNTIME_CLASS(CArcShelter)))
        return WriteArcField(number, name, static_cast<const CArcShelter*>(field));
    return nullptr;
}

namespace {

SensorRequest MakeFieldWrite(SensorRequest request, int number, const CString& name, BYTE shape)
{
    request.SetByte(KVRWriteRequest::Number, BYTE(number));
    PutDeviceName(request.Bytes().subspan(KVRWriteRequest::Name, kKVRNameBytes), name);
    request.SetByte(WriteRequest::Shape, shape);
    PutCurrentTime(request, WriteRequest::Time);
    return request;
}

} // namespace

BOOL CKVRSensor::SendFieldWrite(SensorRequest& request, SensorAnswer& answer)
{
    if (!Exchange(request, answer, kWriteField | kAnswerBit) ||
        answer.Byte(KVRFieldAnswer::WriteNumber) != request.Byte(KVRWriteRequest::Number) ||
        NameText(answer.Bytes(), KVRFieldAnswer::WriteName) != NameText(request.Bytes(), KVRWriteRequest::Name))
        return FALSE;
    SetLastStatus(answer.Byte(KVRFieldAnswer::Status));
    const BYTE status = GetLastStatus();
    return (status == 1 || status == 2) && answer.Byte(FieldAnswer::WriteShape) == request.Byte(WriteRequest::Shape);
}

std::unique_ptr<CPolyShelter> CKVRSensor::WritePolyField(int number, const CString& name, const CPolyShelter* field)
{
    // A polygon without beams, or with more than a field holds, has no valid count word.
    if (!field || !IsFieldBeamCount(field->GetBeamCount()))
        return nullptr;
    return Guarded<std::unique_ptr<CPolyShelter>>([&]() -> std::unique_ptr<CPolyShelter> {
        SensorRequest request = MakeFieldWrite(MakeRequest(kWriteField), number, name, kShapePoly);
        const int count = field->GetBeamCount();
        request.SetWord(WriteRequest::Value1, WORD(count - 1));
        for (int i = 0; i < count; ++i)
            request.SetWord(WriteRequest::Value2 + 2 * std::size_t(i), field->GetBeamDistance(i));
        SensorAnswer answer;
        if (!SendFieldWrite(request, answer))
            return nullptr;
        const int answered = GetPolyCount(answer);
        CSensorType type;
        if (answered == 0 ||
            !CarriesWords(answer, kLeads.writtenValues + kCountByteSize, answered, kCheckValueSize) ||
            !ReadSensorType(type))
            return nullptr;
        return MarkWritten(MakePoly(type, answer, FieldAnswer::Value2, answered, kProtectiveField), answer);
    });
}

std::unique_ptr<CRectShelter> CKVRSensor::WriteRectField(int number, const CString& name, const CRectShelter* field)
{
    if (!field)
        return nullptr;
    return Guarded<std::unique_ptr<CRectShelter>>([&]() -> std::unique_ptr<CRectShelter> {
        SensorRequest request = MakeFieldWrite(MakeRequest(kWriteField), number, name, kShapeRect);
        request.SetWord(WriteRequest::Value1, field->GetLeft());
        request.SetWord(WriteRequest::Value2, field->GetRight());
        request.SetWord(WriteRequest::Value3, field->GetFront());
        SensorAnswer answer;
        CSensorType type;
        if (!SendFieldWrite(request, answer) || !ReadSensorType(type))
            return nullptr;
        return MarkWritten(MakeRect(type, answer), answer);
    });
}

std::unique_ptr<CArcShelter> CKVRSensor::WriteArcField(int number, const CString& name, const CArcShelter* field)
{
    if (!field)
        return nullptr;
    return Guarded<std::unique_ptr<CArcShelter>>([&]() -> std::unique_ptr<CArcShelter> {
        SensorRequest request = MakeFieldWrite(MakeRequest(kWriteField), number, name, kShapeArc);
        request.SetWord(WriteRequest::Value1, field->GetRadius());
        SensorAnswer answer;
        CSensorType type;
        if (!SendFieldWrite(request, answer) || !ReadSensorType(type))
            return nullptr;
        return MarkWritten(MakeArc(type, answer), answer);
    });
}

std::unique_ptr<CPolyShelter> CKVRSensor::ExchangeContour(int number, const CShelter* field)
{
    if (!field || !field->IsKindOf(RUNTIME_CLASS(CPolyShelter)))
        return nullptr;
    return ExchangePolyContour(number, static_cast<const CPolyShelter*>(field));
}

std::unique_ptr<CPolyShelter> CKVRSensor::ExchangePolyContour(int number, const CPolyShelter* field)
{
    if (!field || !IsFieldBeamCount(field->GetBeamCount()))
        return nullptr;
    return Guarded<std::unique_ptr<CPolyShelter>>([&]() -> std::unique_ptr<CPolyShelter> {
        SensorRequest request = MakeRequest(kWarningContour);
        const int count = field->GetBeamCount();
        request.SetByte(RequestOffset::Data, BYTE(number));
        request.SetWord(kCountAt, WORD(count - 1));
        for (int i = 0; i < count; ++i)
            request.SetWord(kWordsAt + 2 * std::size_t(i), field->GetBeamDistance(i));
        SensorAnswer answer;
        if (!Exchange(request, answer, kWarningContour | kAnswerBit) || answer.Byte(kEchoAt) != BYTE(number))
            return nullptr;
        SetLastStatus(answer.Byte(AnswerOffset::Data));
        if (GetLastStatus() != 1)
            return nullptr;
        auto copy = std::make_unique<CPolyShelter>(*field);
        copy->SetWarningInDevice(1);
        return copy;
    });
}

std::unique_ptr<CScan> CKVRSensor::ReadScanRequest(BYTE numberByte, int count, int* caseNumber)
{
    // The count travels as one byte; only the full scan has a code of its own.
    if (count != kFullScanCount && (count < 1 || count > kMaxCountByte))
        return nullptr;
    return Guarded<std::unique_ptr<CScan>>([&]() -> std::unique_ptr<CScan> {
        SensorRequest request = MakeRequest(kReadScan);
        request.SetByte(RequestOffset::Data, numberByte);
        if (count == kFullScanCount) {
            request.SetByte(RequestOffset::Data + 1, kScanFullSub);
        } else {
            request.SetByte(RequestOffset::Data + 1, kScanCountSub);
            request.SetByte(RequestOffset::Data + 2, BYTE(count));
        }
        SensorAnswer answer;
        if (!Exchange(request, answer, kReadScan | kAnswerBit))
            return nullptr;
        const int answered = answer.Word(kCountAt);
        CSensorType type;
        if (answered > kKVRMaxBeams || !CarriesWords(answer, kLeads.scanWords, answered) || !ReadSensorType(type))
            return nullptr;
        const std::vector<WORD> words = GetWords(answer, kWordsAt, answered);
        auto scan = std::make_unique<CScan>();
        scan->SetScanData(type, words.data(), WORD(answered), 0);
        if (caseNumber)
            *caseNumber = answer.Byte(AnswerOffset::Data);
        return scan;
    });
}

std::unique_ptr<CScan> CKVRSensor::ReadScan(int sensor, int count)
{
    return ReadScanRequest(BYTE(sensor), count, nullptr);
}

std::unique_ptr<CScan> CKVRSensor::ReadScanB(int sensor, int count)
{
    return ReadScanRequest(BYTE(sensor) | kScanSecondSensorBit, count, nullptr);
}

std::unique_ptr<CScan> CKVRSensor::ReadScanWithStatus(int selector, int count, int& caseNumber)
{
    return ReadScanRequest(selector == 1 ? kSelectFirstCase : kSelectSecondCase, count, &caseNumber);
}

std::unique_ptr<CPolyShelter> CKVRSensor::ReadContour(int number, BYTE subCode, BOOL protectiveInDevice)
{
    return Guarded<std::unique_ptr<CPolyShelter>>([&]() -> std::unique_ptr<CPolyShelter> {
        SensorRequest request = MakeRequest(kReadScan);
        request.SetByte(RequestOffset::Data, BYTE(number));
        request.SetByte(RequestOffset::Data + 1, subCode);
        SensorAnswer answer;
        if (!Exchange(request, answer, kReadScan | kAnswerBit) || answer.Byte(AnswerOffset::Data) != BYTE(number))
            return nullptr;
        const int count = answer.Word(kCountAt);
        CSensorType type;
        if (!IsFieldBeamCount(count) || !CarriesWords(answer, kLeads.scanWords, count) || !ReadSensorType(type))
            return nullptr;
        const std::vector<WORD> words = GetWords(answer, kWordsAt, count);
        auto contour = std::make_unique<CPolyShelter>();
        contour->InitializeFromDistances(type, words.data(), count, kProtectiveField);
        contour->SetLocked(1);
        contour->SetWarningInDevice(1);
        if (protectiveInDevice)
            contour->SetProtectiveInDevice(1);
        return contour;
    });
}

std::unique_ptr<CPolyShelter> CKVRSensor::ReadScanContour(int number)
{
    return ReadContour(number, kScanContourSub, FALSE);
}

std::unique_ptr<CPolyShelter> CKVRSensor::ReadScanContourLocked(int number)
{
    return ReadContour(number, kScanContourLockedSub, TRUE);
}

BOOL CKVRSensor::SendPendingRequest(BYTE subCode, int selector, int number, BYTE acceptedStatus)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(kPendingField);
        request.SetByte(RequestOffset::Data, subCode);
        request.SetByte(kEchoAt, BYTE(number));
        request.SetByte(kSelectorAt, BYTE(selector));
        SensorAnswer answer;
        if (!Exchange(request, answer, kPendingField | kAnswerBit) || answer.Byte(kEchoAt) != BYTE(number) ||
            answer.Byte(kSelectorAt) != BYTE(selector))
            return FALSE;
        SetLastStatus(answer.Byte(AnswerOffset::Data));
        return BOOL(GetLastStatus() == acceptedStatus);
    });
}

BOOL CKVRSensor::DiscardPendingField(int selector, int number)
{
    return SendPendingRequest(kDiscardSub, selector, number, 0);
}

BOOL CKVRSensor::PreviewPendingField(int selector, int number)
{
    return SendPendingRequest(kPreviewSub, selector, number, 3);
}

BOOL CKVRSensor::StorePendingField(int selector, int number)
{
    return SendPendingRequest(kStoreSub, selector, number, 1);
}

BOOL CKVRSensor::SendTeachIn(BYTE subCode, int sensor, int number, const CString& name, BYTE acceptedStatus)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(kTeachIn);
        request.SetByte(RequestOffset::Data, BYTE(number));
        CopyTelegramText(request.Bytes().subspan(kTeachNameAt, kKVRNameBytes), name, kKVRNameBytes);
        request.SetByte(kTeachSensorAt, BYTE(sensor));
        request.SetByte(kTeachSubAt, subCode);
        if (subCode == kTeachStartSub)
            PutCurrentTime(request, kTeachTimeAt);
        SensorAnswer answer;
        if (!Exchange(request, answer, kTeachIn | kAnswerBit) || answer.Byte(kEchoAt) != BYTE(sensor))
            return FALSE;
        SetLastStatus(answer.Byte(AnswerOffset::Data));
        return BOOL(GetLastStatus() == acceptedStatus);
    });
}

BOOL CKVRSensor::StartTeachIn(int sensor, int number, const CString& name)
{
    return SendTeachIn(kTeachStartSub, sensor, number, name, 3);
}

BOOL CKVRSensor::AcceptTeachIn(int sensor, int number, const CString& name)
{
    return SendTeachIn(kTeachAcceptSub, sensor, number, name, 1);
}

BOOL CKVRSensor::EndTeachIn(int sensor, int number, const CString& name)
{
    return SendTeachIn(kTeachEndSub, sensor, number, name, 0);
}
