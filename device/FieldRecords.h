#pragma once
// The field records both device families exchange: shape and sub-codes, the offsets of
// the field write request and the field answers, and the builders of field objects from
// an answer. The family command layers add only what differs between them.
#include "framework/core/CTime.h"
#include "framework/core/WinTypes.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "shared/SensorTelegram.h"

#include <cstddef>
#include <exception>
#include <memory>
#include <vector>

class CSensorType;

namespace FieldRecord {

constexpr BYTE kReadScan = 0x30;
constexpr BYTE kWriteField = 0x40;
constexpr BYTE kPendingField = 0x41;
constexpr BYTE kPolyContour = 0x43;
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

constexpr int kMaxBeams = 361;
constexpr int kFullScanCount = 361;
constexpr int kMaxCountByte = 255;

// A polygon's count travels as one byte; a written field's check value closes 0xC0.
constexpr std::size_t kCountByteSize = 1;
constexpr std::size_t kCheckValueSize = 2;

// Request 0x43 and answer 0xB0: a count word at 10 and the words from 12.
constexpr std::size_t kCountAt = 10;
constexpr std::size_t kWordsAt = 12;

} // namespace FieldRecord

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

// How many data bytes an answer frame of a family carries ahead of its values, after the
// answer code: the fields the record holds before them. With the frame's length (answer
// bytes 2-3) they tell how many beam words actually arrived.
struct FieldAnswerLeads {
    std::size_t protectiveValues; // 0xC5 sub-code 0: ahead of the values from byte 27
    std::size_t warningCount;     // 0xC5 sub-code 1: ahead of the count byte
    std::size_t writtenValues;    // 0xC0: ahead of the values from byte 27
    std::size_t scanWords;        // 0xB0: ahead of the words from byte 12
};

// The family layers never let an exception out: a failure becomes the empty result.
template <typename Result, typename Operation>
Result Guarded(Operation operation)
{
    try {
        return operation();
    } catch (const std::exception&) {
        return Result{};
    }
}

BOOL IsFieldBeamCount(int count);
// Minute, hour, day, month 0-11 and the year since 1900 as a word, taken once.
void PutCurrentTime(SensorRequest& request, std::size_t offset);
CTime GetDeviceTime(const SensorAnswer& answer, std::size_t offset);
std::vector<WORD> GetWords(const SensorAnswer& answer, std::size_t offset, int count);
// The beam count of a polygon answer (count - 1 at byte 27); 0 when no field holds it.
int GetPolyCount(const SensorAnswer& answer);
// TRUE when the answer's frame carried count words after lead data bytes, with trailing
// bytes still after them. A record answered without a frame (length 0, the simulator)
// holds whatever it says.
BOOL CarriesWords(const SensorAnswer& answer, std::size_t lead, int count, std::size_t trailing = 0);

std::unique_ptr<CRectShelter> MakeRect(const CSensorType& type, const SensorAnswer& answer);
std::unique_ptr<CArcShelter> MakeArc(const CSensorType& type, const SensorAnswer& answer);
std::unique_ptr<CPolyShelter> MakePoly(const CSensorType& type, const SensorAnswer& answer, std::size_t offset,
                                       int count, int kind);

// TRUE when a field-read answer holds a protective field this program can build, with
// every beam its count promises received; lead is the family's protectiveValues.
BOOL IsReadableProtectiveField(const SensorAnswer& answer, std::size_t lead);
// The protective field of a field-read answer, with the device flags and time stamp of a
// stored field; a beam contour (shape 4) is locked. Check IsReadableProtectiveField first.
std::unique_ptr<CShelter> BuildReadProtectiveField(const CSensorType& type, const SensorAnswer& answer);

// The flag and time stamp of a field the device confirmed in a write: it now holds the
// field as pending, not yet as its protective field.
template <typename Field>
std::unique_ptr<Field> MarkWritten(std::unique_ptr<Field> field, const SensorAnswer& answer)
{
    field->SetWarningInDevice(1);
    field->SetTime(GetDeviceTime(answer, FieldAnswer::Time));
    return field;
}
