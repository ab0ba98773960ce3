// The field, scan, contour and teach-in commands of CKVRSensor.
#include "device/CKVRSensor.h"

#include "device/SensorHelpers.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/CScan.h"
#include "model/CSensorType.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <vector>

namespace {

constexpr BYTE kReadScan = 0x30;
constexpr BYTE kWriteField = 0x40;
constexpr BYTE kPendingField = 0x41;
constexpr BYTE kWarningContour = 0x43;
constexpr BYTE kReadField = 0x45;
constexpr BYTE kTeachIn = 0x46;
constexpr BYTE kAnswerBit = 0x80;

// Shape codes of field records.
constexpr BYTE kShapeRect = 0;
constexpr BYTE kShapeArc = 1;
constexpr BYTE kShapePoly = 2;
constexpr BYTE kShapeWarningPoly = 3;
constexpr BYTE kShapeBeamContour = 4;

// Sub-codes of 0x45, 0x30, 0x41 and 0x46.
constexpr BYTE kProtectiveSub = 0;
constexpr BYTE kWarningSub = 1;
constexpr BYTE kScanFullSub = 1;
constexpr BYTE kScanContourSub = 3;
constexpr BYTE kScanContourLockedSub = 4;
constexpr BYTE kScanCountSub = 5;
constexpr BYTE kDiscardSub = 0;
constexpr BYTE kPreviewSub = 1;
constexpr BYTE kStoreSub = 2;
constexpr BYTE kTeachStartSub = 0;
constexpr BYTE kTeachAcceptSub = 1;
constexpr BYTE kTeachEndSub = 2;

constexpr BYTE kScanSecondSensorBit = 0x10;
constexpr BYTE kSelectFirstCase = 0;
constexpr BYTE kSelectSecondCase = 5;
constexpr int kFullScanCount = 361;
constexpr int kMaxCountByte = 255;

// Request 0x40: number, name, shape, time, then the values.
namespace WriteRequest {
constexpr std::size_t Number = 9;
constexpr std::size_t Name = 10;
constexpr std::size_t Shape = 19;
constexpr std::size_t Time = 20;
constexpr std::size_t Value1 = 26; // left, radius or beam count - 1
constexpr std::size_t Value2 = 28; // right, or the first beam distance
constexpr std::size_t Value3 = 30; // front
} // namespace WriteRequest

// Answers 0xC5 and 0xC0 share the time and value offsets.
namespace FieldAnswer {
constexpr std::size_t Status = 9; // 0xC0
constexpr std::size_t ReadNumber = 9;
constexpr std::size_t ReadName = 10;
constexpr std::size_t ReadShape = 19;
constexpr std::size_t WriteNumber = 10;
constexpr std::size_t WriteName = 11;
constexpr std::size_t WriteShape = 20;
constexpr std::size_t Time = 21;
constexpr std::size_t Value1 = 27;
constexpr std::size_t Value2 = 29;
constexpr std::size_t Value3 = 31;
} // namespace FieldAnswer

// Requests 0x43 and answers 0xB0: a count word at 10 and the words from 12.
constexpr std::size_t kCountAt = 10;
constexpr std::size_t kWordsAt = 12;
constexpr std::size_t kTeachNameAt = 10;
constexpr std::size_t kTeachSensorAt = 19;
constexpr std::size_t kTeachSubAt = 20;
constexpr std::size_t kTeachTimeAt = 21;
constexpr std::size_t kEchoAt = 10;
constexpr std::size_t kSelectorAt = 11;

template <typename Result, typename Operation>
Result Guarded(Operation operation)
{
    try {
        return operation();
    } catch (const std::exception&) {
        return Result{};
    }
}

BOOL IsBeamCount(int count)
{
    return count >= 1 && count <= kKVRMaxBeams;
}

// Minute, hour, day, month 0-11 and the year since 1900 as a word.
void PutCurrentTime(SensorRequest& request, std::size_t offset)
{
    const CTime now = CTime::GetCurrentTime();
    request.SetByte(offset, BYTE(now.GetMinute()));
    request.SetByte(offset + 1, BYTE(now.GetHour()));
    request.SetByte(offset + 2, BYTE(now.GetDay()));
    request.SetByte(offset + 3, BYTE(now.GetMonth() - 1));
    request.SetWord(offset + 4, WORD(now.GetYear() - 1900));
}

CTime GetDeviceTime(const SensorAnswer& answer, std::size_t offset)
{
    return DeviceTimeToCTime(answer.Byte(offset + 2), answer.Byte(offset + 3), answer.Word(offset + 4),
                             answer.Byte(offset + 1), answer.Byte(offset));
}

std::vector<WORD> GetWords(const SensorAnswer& answer, std::size_t offset, int count)
{
    std::vector<WORD> words(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        words[std::size_t(i)] = answer.Word(offset + 2 * std::size_t(i));
    return words;
}

// The beam count of a polygon answer (count - 1 at byte 27); 0 when it is out of range.
int GetPolyCount(const SensorAnswer& answer)
{
    const int count = int(answer.Word(FieldAnswer::Value1)) + 1;
    return IsBeamCount(count) ? count : 0;
}

std::string_view NameText(std::span<const BYTE> record, std::size_t offset)
{
    const auto field = record.subspan(offset, kKVRNameBytes);
    const auto end = std::find(field.begin(), field.end(), BYTE(0));
    return std::string_view(reinterpret_cast<const char*>(field.data()), std::size_t(end - field.begin()));
}

std::unique_ptr<CRectShelter> MakeRect(const CSensorType& type, const SensorAnswer& answer)
{
    auto field = std::make_unique<CRectShelter>();
    field->Initialize(type, answer.Word(FieldAnswer::Value1), answer.Word(FieldAnswer::Value3),
                      answer.Word(FieldAnswer::Value2), kProtectiveField);
    return field;
}

std::unique_ptr<CArcShelter> MakeArc(const CSensorType& type, const SensorAnswer& answer)
{
    auto field = std::make_unique<CArcShelter>();
    field->Initialize(type, answer.Word(FieldAnswer::Value1), kProtectiveField);
    return field;
}

std::unique_ptr<CPolyShelter> MakePoly(const CSensorType& type, const SensorAnswer& answer, std::size_t offset,
                                       int count, int kind)
{
    const std::vector<WORD> words = GetWords(answer, offset, count);
    auto field = std::make_unique<CPolyShelter>();
    field->InitializeFromDistances(type, words.data(), count, kind);
    return field;
}

// The flags and time stamp of a field the unit confirmed in a write.
template <typename Field>
std::unique_ptr<Field> MarkWritten(std::unique_ptr<Field> field, const SensorAnswer& answer)
{
    field->SetWarningInDevice(1);
    field->SetTime(GetDeviceTime(answer, FieldAnswer::Time));
    return field;
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
            answer.Byte(FieldAnswer::ReadNumber) != BYTE(number))
            return nullptr;

        const BYTE shape = answer.Byte(FieldAnswer::ReadShape);
        const int polyCount = GetPolyCount(answer);
        const bool known = shape == kShapeRect || shape == kShapeArc || shape == kShapeBeamContour ||
                           (shape == kShapePoly && polyCount != 0);
        CSensorType type;
        if (!known || !ReadSensorType(type))
            return nullptr;

        std::unique_ptr<CShelter> field;
        switch (shape) {
        case kShapeRect: field = MakeRect(type, answer); break;
        case kShapeArc: field = MakeArc(type, answer); break;
        case kShapePoly: field = MakePoly(type, answer, FieldAnswer::Value2, polyCount, kProtectiveField); break;
        default:
            field = MakePoly(type, answer, FieldAnswer::Value1, kKVRMaxBeams, kProtectiveField);
            field->SetLocked(1);
            break;
        }
        field->SetProtectiveInDevice(1);
        field->SetWarningInDevice(1);
        field->SetTime(GetDeviceTime(answer, FieldAnswer::Time));
        name = GetDeviceName(answer.Bytes().subspan(FieldAnswer::ReadName));
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
            answer.Byte(FieldAnswer::ReadNumber) != BYTE(number) ||
            answer.Byte(FieldAnswer::ReadShape) != kShapeWarningPoly)
            return nullptr;
        const int count = GetPolyCount(answer);
        CSensorType type;
        if (count == 0 || !ReadSensorType(type))
            return nullptr;
        auto field = MakePoly(type, answer, FieldAnswer::Value2, count, kWarningField);
        field->SetWarningInDevice(1);
        name = GetDeviceName(answer.Bytes().subspan(FieldAnswer::ReadName));
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
    request.SetByte(WriteRequest::Number, BYTE(number));
    PutDeviceName(request.Bytes().subspan(WriteRequest::Name, kKVRNameBytes), name);
    request.SetByte(WriteRequest::Shape, shape);
    PutCurrentTime(request, WriteRequest::Time);
    return request;
}

} // namespace

BOOL CKVRSensor::SendFieldWrite(SensorRequest& request, SensorAnswer& answer)
{
    if (!Exchange(request, answer, kWriteField | kAnswerBit) ||
        answer.Byte(FieldAnswer::WriteNumber) != request.Byte(WriteRequest::Number) ||
        NameText(answer.Bytes(), FieldAnswer::WriteName) != NameText(request.Bytes(), WriteRequest::Name))
        return FALSE;
    SetLastStatus(answer.Byte(FieldAnswer::Status));
    const BYTE status = GetLastStatus();
    return (status == 1 || status == 2) && answer.Byte(FieldAnswer::WriteShape) == request.Byte(WriteRequest::Shape);
}

std::unique_ptr<CPolyShelter> CKVRSensor::WritePolyField(int number, const CString& name, const CPolyShelter* field)
{
    // A polygon without beams, or with more than a field holds, has no valid count word.
    if (!field || !IsBeamCount(field->GetBeamCount()))
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
        if (answered == 0 || !ReadSensorType(type))
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
    if (!field || !IsBeamCount(field->GetBeamCount()))
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
        if (answered > kKVRMaxBeams || !ReadSensorType(type))
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
        if (!IsBeamCount(count) || !ReadSensorType(type))
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
