// The field, scan, contour and teach-in commands of CZOKSensor; fields, scans and contours
// run as both families run them (FieldCommands.h).
#include "device/CZOKSensor.h"

#include "device/FieldCommands.h"
#include "device/SensorHelpers.h"
#include "model/CScan.h"
#include "model/CSensorType.h"

namespace {

using namespace FieldRecord;

constexpr BYTE kWriteFieldAnswer = kWriteField | kAnswerBit;
constexpr BYTE kPendingAnswer = kPendingField | kAnswerBit;
constexpr BYTE kAfterWriteSub = 3;
constexpr BYTE kPreviewReadyStatus = 3;

constexpr std::size_t kStatusAt = AnswerOffset::Data;
constexpr std::size_t kSubCodeAt = RequestOffset::Data;
constexpr std::size_t kTeachSubAt = 20;
constexpr std::size_t kTeachTimeAt = 21;

// Shape, time and word 25 ahead of a read's values; the status before them in a write;
// the count word ahead of a scan. A read warning field carries the scanner's time stamp;
// the contour exchange keeps no status, while a write's status outlives the type query.
constexpr FieldFamily kZOKFields{{7, 1, 8, 2}, kZOKMaxBeams, true, false, true};

} // namespace

FieldLink CZOKSensor::ScannerLink()
{
    return {*this, kZOKFields, [this](BYTE command) { return MakeRequest(command); },
            [this](SensorRequest& request, SensorAnswer& answer, BYTE answerCode) {
                return Exchange(request, answer, answerCode);
            },
            [this](CSensorType& type) { return ReadSensorType(type); }};
}

std::unique_ptr<CShelter> CZOKSensor::ReadProtectiveField()
{
    SensorAnswer answer;
    return FieldCommands::ReadProtectiveField(ScannerLink(), answer);
}

std::unique_ptr<CPolyShelter> CZOKSensor::ReadWarningField()
{
    SensorAnswer answer;
    return FieldCommands::ReadWarningField(ScannerLink(), answer);
}

std::unique_ptr<CShelter> CZOKSensor::WriteField(const CShelter* field)
{
    return FieldCommands::WriteField(ScannerLink(), field);
}

std::unique_ptr<CPolyShelter> CZOKSensor::WritePolyField(const CPolyShelter* field)
{
    return FieldCommands::WritePolyField(ScannerLink(), field);
}

std::unique_ptr<CRectShelter> CZOKSensor::WriteRectField(const CRectShelter* field)
{
    return FieldCommands::WriteRectField(ScannerLink(), field);
}

std::unique_ptr<CArcShelter> CZOKSensor::WriteArcField(const CArcShelter* field)
{
    return FieldCommands::WriteArcField(ScannerLink(), field);
}

std::unique_ptr<CPolyShelter> CZOKSensor::ExchangeContour(const CShelter* field)
{
    return FieldCommands::ExchangeContour(ScannerLink(), field);
}

std::unique_ptr<CPolyShelter> CZOKSensor::ExchangePolyContour(const CPolyShelter* field)
{
    return FieldCommands::ExchangePolyContour(ScannerLink(), field);
}

std::unique_ptr<CScan> CZOKSensor::ReadScan(int count)
{
    SensorAnswer answer;
    return FieldCommands::ReadScan(ScannerLink(), count, answer);
}

std::unique_ptr<CPolyShelter> CZOKSensor::ReadScanContour()
{
    return FieldCommands::ReadContour(ScannerLink(), kScanContourSub, FALSE);
}

std::unique_ptr<CPolyShelter> CZOKSensor::ReadScanContourLocked()
{
    return FieldCommands::ReadContour(ScannerLink(), kScanContourLockedSub, TRUE);
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
