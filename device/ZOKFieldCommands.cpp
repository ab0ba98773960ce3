// The field, scan, contour and teach-in commands of CZOKSensor.
#include "device/CZOKSensor.h"

#include "device/FieldRecords.h"
#include "device/SensorHelpers.h"
#include "model/CScan.h"
#include "model/CSensorType.h"

#include <vector>

namespace {

using namespace FieldRecord;

constexpr BYTE kWriteFieldAnswer = kWriteField | kAnswerBit;
constexpr BYTE kPendingAnswer = kPendingField | kAnswerBit;
constexpr BYTE kAfterWriteSub = 3;
constexpr BYTE kPreviewReadyStatus = 3;

constexpr std::size_t kStatusAt = AnswerOffset::Data;
constexpr std::size_t kSubCodeAt = RequestOffset::Data;
constexpr std::size_t kFieldSubAt = 10;
constexpr std::size_t kScanSubAt = 10;
constexpr std::size_t kScanCountAt = 11;
constexpr std::size_t kTeachSubAt = 20;
constexpr std::size_t kTeachTimeAt = 21;

// Shape, time and word 25 ahead of a read's values; the status before them in a write;
// the count word ahead of a scan.
constexpr FieldAnswerLeads kLeads{7, 1, 8, 2};

} // namespace

std::unique_ptr<CShelter> CZOKSensor::ReadProtectiveField()
{
    return Guarded<std::unique_ptr<CShelter>>([&]() -> std::unique_ptr<CShelter> {
        SensorRequest request = MakeRequest(kReadField);
        request.SetByte(kFieldSubAt, kProtectiveSub);
        SensorAnswer answer;
        if (!Exchange(request, answer, kReadField | kAnswerBit))
            return nullptr;

        CSensorType type;
        if (!IsReadableProtectiveField(answer, kLeads.protectiveValues) || !ReadSensorType(type))
            return nullptr;
        std::unique_ptr<CShelter> field = BuildReadProtectiveField(type, answer);
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
        if (count == 0 || !CarriesWords(answer, kLeads.warningCount + kCountByteSize, count) ||
            !ReadSensorType(type))
            return nullptr;
        auto field = MakePoly(type, answer, FieldAnswer::Value2, count, kWarningField);
        field->SetWarningInDevice(1);
        field->SetTime(GetDeviceTime(answer, FieldAnswer::Time));
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
    if (!field || !IsFieldBeamCount(field->GetBeamCount()))
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
        if (answered == 0 ||
            !CarriesWords(answer, kLeads.writtenValues + kCountByteSize, answered, kCheckValueSize) ||
            !ReadTypeAfterWrite(type))
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
    if (!field || !IsFieldBeamCount(field->GetBeamCount()))
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
        if (answered > kZOKMaxBeams || !CarriesWords(answer, kLeads.scanWords, answered) || !ReadSensorType(type))
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
