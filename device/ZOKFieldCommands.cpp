// The field, scan, contour and teach-in commands of CZOKSensor.
#include "device/CZOKSensor.h"

#include "device/SensorHelpers.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/CScan.h"
#include "model/CSensorType.h"

#include <exception>
#include <vector>

namespace {

constexpr BYTE kReadScan = 0x30;
constexpr BYTE kWriteField = 0x40;
constexpr BYTE kPendingField = 0x41;
constexpr BYTE kPolyContour = 0x43;
constexpr BYTE kReadField = 0x45;
constexpr BYTE kTeachIn = 0x46;
constexpr BYTE kAnswerBit = 0x80;
constexpr BYTE kWriteFieldAnswer = kWriteField | kAnswerBit;
constexpr BYTE kPendingAnswer = kPendingField | kAnswerBit;

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
constexpr BYTE kAfterWriteSub = 3;
constexpr BYTE kTeachStartSub = 0;
constexpr BYTE kTeachAcceptSub = 1;
constexpr BYTE kTeachEndSub = 2;

constexpr BYTE kPreviewReadyStatus = 3;
constexpr int kFullScanCount = 361;
constexpr int kMaxCountByte = 255;

constexpr std::size_t kStatusAt = AnswerOffset::Data;
constexpr std::size_t kSubCodeAt = RequestOffset::Data;
constexpr std::size_t kFieldSubAt = 10;
constexpr std::size_t kScanSubAt = 10;
constexpr std::size_t kScanCountAt = 11;
constexpr std::size_t kTeachSubAt = 20;
constexpr std::size_t kTeachTimeAt = 21;

// Request 0x40: shape, time, then the values.
namespace WriteRequest {
constexpr std::size_t Shape = 19;
constexpr std::size_t Time = 20;
constexpr std::size_t Value1 = 26; // left, radius or beam count - 1
constexpr std::size_t Value2 = 28; // right, or the first beam distance
constexpr std::size_t Value3 = 30; // front
} // namespace WriteRequest

// Answers 0xC5 and 0xC0 share the time and value offsets.
namespace FieldAnswer {
constexpr std::size_t ReadShape = 19;
constexpr std::size_t WriteShape = 20;
constexpr std::size_t Time = 21;
constexpr std::size_t Value1 = 27; // left, radius, beam count - 1, or the first of 361 beams
constexpr std::size_t Value2 = 29; // right, or the first beam distance
constexpr std::size_t Value3 = 31; // front
} // namespace FieldAnswer

// Request 0x43 and answer 0xB0: a count word at 10 and the words from 12.
constexpr std::size_t kCountAt = 10;
constexpr std::size_t kWordsAt = 12;

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
    return count >= 1 && count <= kZOKMaxBeams;
}

// Minute, hour, day, month 0-11 and the year since 1900 as a word, taken once.
void PutCurrentTime(SensorRequest& request, std::size_t offset)
{
    const CTime now = CTime::GetCurrentTime();
    request.SetByte(offset, BYTE(now.GetMinute()));
    request.SetByte(offset + 1, BYTE(now.GetHour()));
    request.SetByte(offset + 2, BYTE(now.GetDay()));
    request.SetByte(offset + 3, BYTE(now.GetMonth() - 1));
    request.SetWord(offset + 4, WORD(now.GetYear() - 1900));
}

CTime GetDeviceTime(const SensorAnswer& answer)
{
    constexpr std::size_t at = FieldAnswer::Time;
    return DeviceTimeToCTime(answer.Byte(at + 2), answer.Byte(at + 3), answer.Word(at + 4), answer.Byte(at + 1),
                             answer.Byte(at));
}

std::vector<WORD> GetWords(const SensorAnswer& answer, std::size_t offset, int count)
{
    std::vector<WORD> words(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        words[std::size_t(i)] = answer.Word(offset + 2 * std::size_t(i));
    return words;
}

// The beam count of a polygon answer (count - 1 at byte 27); 0 when no field holds it.
int GetPolyCount(const SensorAnswer& answer)
{
    const int count = int(answer.Word(FieldAnswer::Value1)) + 1;
    return IsBeamCount(count) ? count : 0;
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

// The flag and time stamp of a field the scanner confirmed in a write: it now holds the
// field as pending, not yet as its protective field.
template <typename Field>
std::unique_ptr<Field> MarkWritten(std::unique_ptr<Field> field, const SensorAnswer& answer)
{
    field->SetWarningInDevice(1);
    field->SetTime(GetDeviceTime(answer));
    return field;
}

} // namespace

std::unique_ptr<CShelter> CZOKSensor::ReadProtectiveField()
{
    return Guarded<std::unique_ptr<CShelter>>([&]() -> std::unique_ptr<CShelter> {
        SensorRequest request = MakeRequest(kReadField);
        request.SetByte(kFieldSubAt, kProtectiveSub);
        SensorAnswer answer;
        if (!Exchange(request, answer, kReadField | kAnswerBit))
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
            field = MakePoly(type, answer, FieldAnswer::Value1, kZOKMaxBeams, kProtectiveField);
            field->SetLocked(1);
            break;
        }
        field->SetProtectiveInDevice(1);
        field->SetWarningInDevice(1);
        field->SetTime(GetDeviceTime(answer));
        return field;
    });
}

std::unique_ptr<CPolyShelter> CZOKSensor::ReadWarningField()
{
    return Guarded<std::unique_ptr<CPolyShelter>>([&]() -> std::unique_ptr<CPolyShelter> {
        SensorRequest request = MakeRequest(kReadField);
        request.SetByte(kFieldSubAt, kWarningSub);
        SensorAnswer answer;
        if (!Exchange(request, answer, kReadField | kAnswerBit) ||
            answer.Byte(FieldAnswer::ReadShape) != kShapeWarningPoly)
            return nullptr;
        const int count = GetPolyCount(answer);
        CSensorType type;
        if (count == 0 || !ReadSensorType(type))
            return nullptr;
        auto field = MakePoly(type, answer, FieldAnswer::Value2, count, kWarningField);
        field->SetWarningInDevice(1);
        field->SetTime(GetDeviceTime(answer));
        return field;
    });
}

std::unique_ptr<CShelter> CZOKSensor::WriteField(const CShelter* field)
{
    if (!field)
        return nullptr;
    if (field->IsKindOf(RUNTIME_CLASS(CPolyShelter)))
        return WritePolyField(static_cast<const CPolyShelter*>(field));
    if (field->IsKindOf(RUNTIME_CLASS(CRectShelter)))
        return WriteRectField(static_cast<const CRectShelter*>(field));
    if (field->IsKindOf(RUNTIME_CLASS(CArcShelter)))
        return WriteArcField(static_cast<const CArcShelter*>(field));
    return nullptr;
}

BOOL CZOKSensor::SendFieldWrite(SensorRequest& request, SensorAnswer& answer)
{
    PutCurrentTime(request, WriteRequest::Time);
    if (!Exchange(request, answer, kWriteFieldAnswer))
        return FALSE;
    SetLastStatus(answer.Byte(kStatusAt));
    const BYTE status = GetLastStatus();
    return (status == 1 || status == 2) && answer.Byte(FieldAnswer::WriteShape) == request.Byte(WriteRequest::Shape);
}

BOOL CZOKSensor::ReadTypeAfterWrite(CSensorType& type)
{
    // Every telegram clears the last status; the write's status must survive the type
    // query, since the caller decides by it whether the field still needs confirming.
    const BYTE writeStatus = GetLastStatus();
    const BOOL read = ReadSensorType(type);
    SetLastStatus(writeStatus);
    return read;
}

std::unique_ptr<CPolyShelter> CZOKSensor::WritePolyField(const CPolyShelter* field)
{
    // A polygon without beams, or with more than a field holds, has no valid count word.
    if (!field || !IsBeamCount(field->GetBeamCount()))
        return nullptr;
    return Guarded<std::unique_ptr<CPolyShelter>>([&]() -> std::unique_ptr<CPolyShelter> {
        SensorRequest request = MakeRequest(kWriteField);
        request.SetByte(WriteRequest::Shape, kShapePoly);
        const int count = field->GetBeamCount();
        request.SetWord(WriteRequest::Value1, WORD(count - 1));
        for (int i = 0; i < count; ++i)
            request.SetWord(WriteRequest::Value2 + 2 * std::size_t(i), field->GetBeamDistance(i));
        SensorAnswer answer;
        if (!SendFieldWrite(request, answer))
            return nullptr;
        const int answered = GetPolyCount(answer);
        CSensorType type;
        if (answered == 0 || !ReadTypeAfterWrite(type))
            return nullptr;
        return MarkWritten(MakePoly(type, answer, FieldAnswer::Value2, answered, kProtectiveField), answer);
    });
}

std::unique_ptr<CRectShelter> CZOKSensor::WriteRectField(const CRectShelter* field)
{
    if (!field)
        return nullptr;
    return Guarded<std::unique_ptr<CRectShelter>>([&]() -> std::unique_ptr<CRectShelter> {
        SensorRequest request = MakeRequest(kWriteField);
        request.SetByte(WriteRequest::Shape, kShapeRect);
        request.SetWord(WriteRequest::Value1, field->GetLeft());
        request.SetWord(WriteRequest::Value2, field->GetRight());
        request.SetWord(WriteRequest::Value3, field->GetFront());
        SensorAnswer answer;
        CSensorType type;
        if (!SendFieldWrite(request, answer) || !ReadTypeAfterWrite(type))
            return nullptr;
        return MarkWritten(MakeRect(type, answer), answer);
    });
}

std::unique_ptr<CArcShelter> CZOKSensor::WriteArcField(const CArcShelter* field)
{
    if (!field)
        return nullptr;
    return Guarded<std::unique_ptr<CArcShelter>>([&]() -> std::unique_ptr<CArcShelter> {
        SensorRequest request = MakeRequest(kWriteField);
        request.SetByte(WriteRequest::Shape, kShapeArc);
        request.SetWord(WriteRequest::Value1, field->GetRadius());
        SensorAnswer answer;
        CSensorType type;
        if (!SendFieldWrite(request, answer) || !ReadTypeAfterWrite(type))
            return nullptr;
        return MarkWritten(MakeArc(type, answer), answer);
    });
}

std::unique_ptr<CPolyShelter> CZOKSensor::ExchangeContour(const CShelter* field)
{
    if (!field || !field->IsKindOf(RUNTIME_CLASS(CPolyShelter)))
        return nullptr;
    return ExchangePolyContour(static_cast<const CPolyShelter*>(field));
}

std::unique_ptr<CPolyShelter> CZOKSensor::ExchangePolyContour(const CPolyShelter* field)
{
    if (!field || !IsBeamCount(field->GetBeamCount()))
        return nullptr;
    return Guarded<std::unique_ptr<CPolyShelter>>([&]() -> std::unique_ptr<CPolyShelter> {
        SensorRequest request = MakeRequest(kPolyContour);
        const int count = field->GetBeamCount();
        request.SetWord(kCountAt, WORD(count - 1));
        for (int i = 0; i < count; ++i)
            request.SetWord(kWordsAt + 2 * std::size_t(i), field->GetBeamDistance(i));
        SensorAnswer answer;
        if (!Exchange(request, answer, kPolyContour | kAnswerBit) || answer.Byte(kStatusAt) != 1)
            return nullptr;
        auto copy = std::make_unique<CPolyShelter>(*field);
        copy->SetWarningInDevice(1);
        return copy;
    });
}

std::unique_ptr<CScan> CZOKSensor::ReadScan(int count)
{
    // The count travels as one byte; only the full scan has a code of its own.
    if (count != kFullScanCount && (count < 1 || count > kMaxCountByte))
        return nullptr;
    return Guarded<std::unique_ptr<CScan>>([&]() -> std::unique_ptr<CScan> {
        SensorRequest request = MakeRequest(kReadScan);
        if (count == kFullScanCount) {
            request.SetByte(kScanSubAt, kScanFullSub);
        } else {
            request.SetByte(kScanSubAt, kScanCountSub);
            request.SetByte(kScanCountAt, BYTE(count));
        }
        SensorAnswer answer;
        if (!Exchange(request, answer, kReadScan | kAnswerBit))
            return nullptr;
        const int answered = answer.Word(kCountAt);
        CSensorType type;
        if (answered > kZOKMaxBeams || !ReadSensorType(type))
            return nullptr;
        const std::vector<WORD> words = GetWords(answer, kWordsAt, answered);
        auto scan = std::make_unique<CScan>();
        scan->SetScanData(type, words.data(), WORD(answered), 0);
        return scan;
    });
}

std::unique_ptr<CPolyShelter> CZOKSensor::ReadContour(BYTE subCode, BOOL protectiveInDevice)
{
    return Guarded<std::unique_ptr<CPolyShelter>>([&]() -> std::unique_ptr<CPolyShelter> {
        SensorRequest request = MakeRequest(kReadScan);
        request.SetByte(kScanSubAt, subCode);
        SensorAnswer answer;
        if (!Exchange(request, answer, kReadScan | kAnswerBit))
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

std::unique_ptr<CPolyShelter> CZOKSensor::ReadScanContour()
{
    return ReadContour(kScanContourSub, FALSE);
}

std::unique_ptr<CPolyShelter> CZOKSensor::ReadScanContourLocked()
{
    return ReadContour(kScanContourLockedSub, TRUE);
}

BOOL CZOKSensor::SendPendingRequest(BYTE subCode, BYTE answerCode, SensorAnswer& answer)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(kPendingField);
        request.SetByte(kSubCodeAt, subCode);
        return Exchange(request, answer, answerCode);
    });
}

BOOL CZOKSensor::DiscardPendingField()
{
    SensorAnswer answer;
    return SendPendingRequest(kDiscardSub, kPendingAnswer, answer) && answer.Byte(kStatusAt) == 0;
}

BOOL CZOKSensor::PreviewPendingField()
{
    SensorAnswer answer;
    if (!SendPendingRequest(kPreviewSub, kPendingAnswer, answer))
        return FALSE;
    SetLastStatus(answer.Byte(kStatusAt));
    return GetLastStatus() == kPreviewReadyStatus;
}

BOOL CZOKSensor::StorePendingField()
{
    SensorAnswer answer;
    return SendPendingRequest(kStoreSub, kPendingAnswer, answer) && answer.Byte(kStatusAt) == 1;
}

BOOL CZOKSensor::SendCommand41Sub3()
{
    SensorAnswer answer;
    if (!SendPendingRequest(kAfterWriteSub, kWriteFieldAnswer, answer))
        return FALSE;
    const BYTE status = answer.Byte(kStatusAt);
    return status == 1 || status == 2;
}

BOOL CZOKSensor::SendTeachIn(BYTE subCode, BYTE acceptedStatus)
{
    return Guarded<BOOL>([&] {
        SensorRequest request = MakeRequest(kTeachIn);
        request.SetByte(kTeachSubAt, subCode);
        if (subCode == kTeachStartSub)
            PutCurrentTime(request, kTeachTimeAt);
        SensorAnswer answer;
        return Exchange(request, answer, kTeachIn | kAnswerBit) && answer.Byte(kStatusAt) == acceptedStatus;
    });
}

BOOL CZOKSensor::StartTeachIn()
{
    return SendTeachIn(kTeachStartSub, 3);
}

BOOL CZOKSensor::AcceptTeachIn()
{
    return SendTeachIn(kTeachAcceptSub, 1);
}

BOOL CZOKSensor::EndTeachIn()
{
    return SendTeachIn(kTeachEndSub, 0);
}
