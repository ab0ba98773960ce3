// The field, scan, contour and teach-in commands of CKVRSensor; fields, scans and contours
// run as both families run them (FieldCommands.h).
#include "device/CKVRSensor.h"

#include "device/FieldCommands.h"
#include "device/SensorHelpers.h"
#include "model/CScan.h"
#include "model/CSensorType.h"

#include <algorithm>
#include <string_view>

namespace {

using namespace FieldRecord;

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

// The field pair's number and name come ahead of a field's values as well, the number
// byte ahead of a scan's count word. A read warning field has no time stamp of the unit's;
// the contour exchange keeps its status, while the type query after a write clears it.
constexpr FieldFamily kKVRFields{{17, 10, 17, 3}, kKVRMaxBeams, false, true, false};

std::string_view NameText(std::span<const BYTE> record, std::size_t offset)
{
    const auto field = record.subspan(offset, kKVRNameBytes);
    const auto end = std::find(field.begin(), field.end(), BYTE(0));
    return std::string_view(reinterpret_cast<const char*>(field.data()), std::size_t(end - field.begin()));
}

// The pair's name as the unit sent it, once a field was built from its answer.
template <class Field>
std::unique_ptr<Field> TakeName(std::unique_ptr<Field> field, const SensorAnswer& answer, CString& name)
{
    if (field)
        name = GetDeviceName(answer.Bytes().subspan(KVRFieldAnswer::ReadName));
    return field;
}

} // namespace

FieldLink CKVRSensor::PairLink(BYTE number, std::optional<std::size_t> echoAt)
{
    return {*this, kKVRFields,
            [this, number](BYTE command) {
                SensorRequest request = MakeRequest(command);
                request.SetByte(RequestOffset::Data, number);
                return request;
            },
            [this, number, echoAt](SensorRequest& request, SensorAnswer& answer, BYTE answerCode) {
                return Exchange(request, answer, answerCode) && (!echoAt || answer.Byte(*echoAt) == number);
            },
            [this](CSensorType& type) { return ReadSensorType(type); }};
}

FieldLink CKVRSensor::FieldWriteLink(int number, const CString& name)
{
    // The pair's name follows its number, and the answer echoes both.
    FieldLink link = PairLink(BYTE(number), KVRFieldAnswer::WriteNumber);
    link.makeRequest = [makeRequest = link.makeRequest, name](BYTE command) {
        SensorRequest request = makeRequest(command);
        PutDeviceName(request.Bytes().subspan(KVRWriteRequest::Name, kKVRNameBytes), name);
        return request;
    };
    link.exchange = [exchange = link.exchange](SensorRequest& request, SensorAnswer& answer, BYTE answerCode) {
        return exchange(request, answer, answerCode) &&
               NameText(answer.Bytes(), KVRFieldAnswer::WriteName) == NameText(request.Bytes(), KVRWriteRequest::Name);
    };
    return link;
}

std::unique_ptr<CShelter> CKVRSensor::ReadProtectiveField(int number, CString& name)
{
    return Guarded<std::unique_ptr<CShelter>>([&] {
        SensorAnswer answer;
        return TakeName(FieldCommands::ReadProtectiveField(PairLink(BYTE(number), KVRFieldAnswer::ReadNumber), answer),
                        answer, name);
    });
}

std::unique_ptr<CPolyShelter> CKVRSensor::ReadWarningField(int number, CString& name)
{
    return Guarded<std::unique_ptr<CPolyShelter>>([&] {
        SensorAnswer answer;
        return TakeName(FieldCommands::ReadWarningField(PairLink(BYTE(number), KVRFieldAnswer::ReadNumber), answer),
                        answer, name);
    });
}

std::unique_ptr<CShelter> CKVRSensor::WriteField(int number, const CString& name, const CShelter* field)
{
    return FieldCommands::WriteField(FieldWriteLink(number, name), field);
}

std::unique_ptr<CPolyShelter> CKVRSensor::WritePolyField(int number, const CString& name, const CPolyShelter* field)
{
    return FieldCommands::WritePolyField(FieldWriteLink(number, name), field);
}

std::unique_ptr<CRectShelter> CKVRSensor::WriteRectField(int number, const CString& name, const CRectShelter* field)
{
    return FieldCommands::WriteRectField(FieldWriteLink(number, name), field);
}

std::unique_ptr<CArcShelter> CKVRSensor::WriteArcField(int number, const CString& name, const CArcShelter* field)
{
    return FieldCommands::WriteArcField(FieldWriteLink(number, name), field);
}

std::unique_ptr<CPolyShelter> CKVRSensor::ExchangeContour(int number, const CShelter* field)
{
    return FieldCommands::ExchangeContour(PairLink(BYTE(number), kEchoAt), field);
}

std::unique_ptr<CPolyShelter> CKVRSensor::ExchangePolyContour(int number, const CPolyShelter* field)
{
    return FieldCommands::ExchangePolyContour(PairLink(BYTE(number), kEchoAt), field);
}

std::unique_ptr<CScan> CKVRSensor::ReadScanRequest(BYTE numberByte, int count, int* caseNumber)
{
    SensorAnswer answer;
    std::unique_ptr<CScan> scan = FieldCommands::ReadScan(PairLink(numberByte, std::nullopt), count, answer);
    if (scan && caseNumber)
        *caseNumber = answer.Byte(AnswerOffset::Data);
    return scan;
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

std::unique_ptr<CPolyShelter> CKVRSensor::ReadScanContour(int number)
{
    return FieldCommands::ReadContour(PairLink(BYTE(number), AnswerOffset::Data), kScanContourSub, FALSE);
}

std::unique_ptr<CPolyShelter> CKVRSensor::ReadScanContourLocked(int number)
{
    return FieldCommands::ReadContour(PairLink(BYTE(number), AnswerOffset::Data), kScanContourLockedSub, TRUE);
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
