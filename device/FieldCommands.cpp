#include "device/FieldCommands.h"

#include "device/CSensor.h"
#include "model/CScan.h"
#include "model/CSensorType.h"

#include <vector>

namespace {

using namespace FieldRecord;

constexpr std::size_t kStatusAt = AnswerOffset::Data;
// Requests 0x45 and 0x30 carry their sub-code at byte 10, a scan its count at byte 11.
constexpr std::size_t kSubCodeAt = RequestOffset::Data + 1;
constexpr std::size_t kScanCountAt = RequestOffset::Data + 2;

BOOL IsAcceptedWriteStatus(BYTE status)
{
    return status == 1 || status == 2;
}

// The 0x40 exchange: the status becomes the last status once the answer came; the write
// counts when the status is 1 or 2 and the shape is echoed.
BOOL SendFieldWrite(const FieldLink& link, SensorRequest& request, SensorAnswer& answer)
{
    if (!link.exchange(request, answer, kWriteField | kAnswerBit))
        return FALSE;
    link.sensor.SetLastStatus(answer.Byte(kStatusAt));
    return IsAcceptedWriteStatus(link.sensor.GetLastStatus()) &&
           answer.Byte(FieldAnswer::WriteShape) == request.Byte(WriteRequest::Shape);
}

// Every telegram clears the last status; where the family keeps a write's status, the
// caller decides by it whether the field still needs confirming.
BOOL ReadTypeAfterWrite(const FieldLink& link, CSensorType& type)
{
    if (!link.family.writeStatusOutlivesTypeRead)
        return link.readType(type);
    const BYTE writeStatus = link.sensor.GetLastStatus();
    const BOOL read = link.readType(type);
    link.sensor.SetLastStatus(writeStatus);
    return read;
}

// One field write: putValues packs the shape's values, carried tells whether the answer
// holds the whole field, and build makes the device's copy of it.
template <class Field, class PutValues, class Carried, class Build>
std::unique_ptr<Field> WriteShape(const FieldLink& link, BYTE shape, PutValues putValues, Carried carried,
                                  Build build)
{
    return Guarded<std::unique_ptr<Field>>([&]() -> std::unique_ptr<Field> {
        SensorRequest request = link.makeRequest(kWriteField);
        request.SetByte(WriteRequest::Shape, shape);
        PutCurrentTime(request, WriteRequest::Time);
        putValues(request);
        SensorAnswer answer;
        CSensorType type;
        if (!SendFieldWrite(link, request, answer) || !carried(answer) || !ReadTypeAfterWrite(link, type))
            return nullptr;
        return MarkWritten(build(type, answer), answer);
    });
}

BOOL CarriesEverything(const SensorAnswer&)
{
    return TRUE;
}

void PutBeams(SensorRequest& request, std::size_t countAt, std::size_t wordsAt, const CPolyShelter& field)
{
    const int count = field.GetBeamCount();
    request.SetWord(countAt, WORD(count - 1));
    for (int i = 0; i < count; ++i)
        request.SetWord(wordsAt + 2 * std::size_t(i), field.GetBeamDistance(i));
}

SensorRequest MakeSubCodeRequest(const FieldLink& link, BYTE command, BYTE subCode)
{
    SensorRequest request = link.makeRequest(command);
    request.SetByte(kSubCodeAt, subCode);
    return request;
}

} // namespace

namespace FieldCommands {

std::unique_ptr<CShelter> ReadProtectiveField(const FieldLink& link, SensorAnswer& answer)
{
    return Guarded<std::unique_ptr<CShelter>>([&]() -> std::unique_ptr<CShelter> {
        SensorRequest request = MakeSubCodeRequest(link, kReadField, kProtectiveSub);
        CSensorType type;
        if (!link.exchange(request, answer, kReadField | kAnswerBit) ||
            !IsReadableProtectiveField(answer, link.family.leads.protectiveValues) || !link.readType(type))
            return nullptr;
        return BuildReadProtectiveField(type, answer);
    });
}

std::unique_ptr<CPolyShelter> ReadWarningField(const FieldLink& link, SensorAnswer& answer)
{
    return Guarded<std::unique_ptr<CPolyShelter>>([&]() -> std::unique_ptr<CPolyShelter> {
        SensorRequest request = MakeSubCodeRequest(link, kReadField, kWarningSub);
        if (!link.exchange(request, answer, kReadField | kAnswerBit) ||
            answer.Byte(FieldAnswer::ReadShape) != kShapeWarningPoly)
            return nullptr;
        const int count = GetPolyCount(answer);
        CSensorType type;
        if (count == 0 || !CarriesWords(answer, link.family.leads.warningCount + kCountByteSize, count) ||
            !link.readType(type))
            return nullptr;
        auto field = MakePoly(type, answer, FieldAnswer::Value2, count, kWarningField);
        field->SetWarningInDevice(1);
        if (link.family.warningFieldTimed)
            field->SetTime(GetDeviceTime(answer, FieldAnswer::Time));
        return field;
    });
}

std::unique_ptr<CShelter> WriteField(const FieldLink& link, const CShelter* field)
{
    if (!field)
        return nullptr;
    if (field->IsKindOf(RUNTIME_CLASS(CPolyShelter)))
        return WritePolyField(link, static_cast<const CPolyShelter*>(field));
    if (field->IsKindOf(RUNTIME_CLASS(CRectShelter)))
        return WriteRectField(link, static_cast<const CRectShelter*>(field));
    if (field->IsKindOf(RUNTIME_CLASS(CArcShelter)))
        return WriteArcField(link, static_cast<const CArcShelter*>(field));
    return nullptr;
}

std::unique_ptr<CPolyShelter> WritePolyField(const FieldLink& link, const CPolyShelter* field)
{
    // A polygon without beams, or with more than a field holds, has no valid count word.
    if (!field || !IsFieldBeamCount(field->GetBeamCount()))
        return nullptr;
    return WriteShape<CPolyShelter>(
        link, kShapePoly,
        [&](SensorRequest& request) { PutBeams(request, WriteRequest::Value1, WriteRequest::Value2, *field); },
        [&](const SensorAnswer& answer) {
            const int answered = GetPolyCount(answer);
            return answered != 0 &&
                   CarriesWords(answer, link.family.leads.writtenValues + kCountByteSize, answered, kCheckValueSize);
        },
        [](const CSensorType& type, const SensorAnswer& answer) {
            return MakePoly(type, answer, FieldAnswer::Value2, GetPolyCount(answer), kProtectiveField);
        });
}

std::unique_ptr<CRectShelter> WriteRectField(const FieldLink& link, const CRectShelter* field)
{
    if (!field)
        return nullptr;
    return WriteShape<CRectShelter>(
        link, kShapeRect,
        [&](SensorRequest& request) {
            request.SetWord(WriteRequest::Value1, field->GetLeft());
            request.SetWord(WriteRequest::Value2, field->GetRight());
            request.SetWord(WriteRequest::Value3, field->GetFront());
        },
        CarriesEverything, MakeRect);
}

std::unique_ptr<CArcShelter> WriteArcField(const FieldLink& link, const CArcShelter* field)
{
    if (!field)
        return nullptr;
    return WriteShape<CArcShelter>(
        link, kShapeArc, [&](SensorRequest& request) { request.SetWord(WriteRequest::Value1, field->GetRadius()); },
        CarriesEverything, MakeArc);
}

std::unique_ptr<CPolyShelter> ExchangeContour(const FieldLink& link, const CShelter* field)
{
    if (!field || !field->IsKindOf(RUNTIME_CLASS(CPolyShelter)))
        return nullptr;
    return ExchangePolyContour(link, static_cast<const CPolyShelter*>(field));
}

std::unique_ptr<CPolyShelter> ExchangePolyContour(const FieldLink& link, const CPolyShelter* field)
{
    if (!field || !IsFieldBeamCount(field->GetBeamCount()))
        return nullptr;
    return Guarded<std::unique_ptr<CPolyShelter>>([&]() -> std::unique_ptr<CPolyShelter> {
        SensorRequest request = link.makeRequest(kPolyContour);
        PutBeams(request, kCountAt, kWordsAt, *field);
        SensorAnswer answer;
        if (!link.exchange(request, answer, kPolyContour | kAnswerBit))
            return nullptr;
        if (link.family.contourKeepsStatus)
            link.sensor.SetLastStatus(answer.Byte(kStatusAt));
        if (answer.Byte(kStatusAt) != 1)
            return nullptr;
        auto copy = std::make_unique<CPolyShelter>(*field);
        copy->SetWarningInDevice(1);
        return copy;
    });
}

std::unique_ptr<CScan> ReadScan(const FieldLink& link, int count, SensorAnswer& answer)
{
    // The count travels as one byte; only the full scan has a code of its own.
    if (count != kFullScanCount && (count < 1 || count > kMaxCountByte))
        return nullptr;
    return Guarded<std::unique_ptr<CScan>>([&]() -> std::unique_ptr<CScan> {
        SensorRequest request = MakeSubCodeRequest(link, kReadScan, count == kFullScanCount ? kScanFullSub
                                                                                             : kScanCountSub);
        if (count != kFullScanCount)
            request.SetByte(kScanCountAt, BYTE(count));
        if (!link.exchange(request, answer, kReadScan | kAnswerBit))
            return nullptr;
        const int answered = answer.Word(kCountAt);
        CSensorType type;
        if (answered > link.family.maxScanBeams || !CarriesWords(answer, link.family.leads.scanWords, answered) ||
            !link.readType(type))
            return nullptr;
        const std::vector<WORD> words = GetWords(answer, kWordsAt, answered);
        auto scan = std::make_unique<CScan>();
        scan->SetScanData(type, words.data(), WORD(answered), 0);
        return scan;
    });
}

std::unique_ptr<CPolyShelter> ReadContour(const FieldLink& link, BYTE subCode, BOOL protectiveInDevice)
{
    return Guarded<std::unique_ptr<CPolyShelter>>([&]() -> std::unique_ptr<CPolyShelter> {
        SensorRequest request = MakeSubCodeRequest(link, kReadScan, subCode);
        SensorAnswer answer;
        if (!link.exchange(request, answer, kReadScan | kAnswerBit))
            return nullptr;
        const int count = answer.Word(kCountAt);
        CSensorType type;
        if (!IsFieldBeamCount(count) || !CarriesWords(answer, link.family.leads.scanWords, count) ||
            !link.readType(type))
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

} // namespace FieldCommands
