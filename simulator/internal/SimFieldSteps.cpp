#include "simulator/internal/SimFieldSteps.h"

#include "framework/core/CTime.h"
#include "simulator/internal/ContourBuilders.h"
#include "simulator/internal/SimMeasuredValues.h"

#include <algorithm>

namespace {

// Field write request (0x40).
constexpr std::size_t kWriteShape = 19;
constexpr std::size_t kWriteTime = 20;
constexpr std::size_t kWriteParameter = 26;
constexpr std::size_t kWriteValues = 28;

// Field answers: 0x40 carries the shape at 20, 0x45 at 19 with the defined flag at 20;
// both carry the time from 21 and the shape's data from 27.
constexpr std::size_t kWriteAnswerShape = 20;
constexpr std::size_t kReadAnswerShape = 19;
constexpr std::size_t kReadAnswerDefined = 20;
constexpr std::size_t kAnswerTime = 21;
constexpr std::size_t kAnswerData = 27;

// Warning contour request (0x43).
constexpr std::size_t kContourCount = 10;
constexpr std::size_t kContourValues = 12;

constexpr std::size_t kTeachInTime = 21;

SimDeviceTime ReadDeviceTime(ConstRequestSpan request, std::size_t offset)
{
    return {request[offset], request[offset + 1], request[offset + 2], request[offset + 3],
            GetRecordWord(request, offset + 4)};
}

void SetFieldTime(SimFieldRecord& field, const SimDeviceTime& time)
{
    field.minute = time.minute;
    field.hour = time.hour;
    field.day = time.day;
    field.month = time.month;
    field.year = time.year;
}

void WriteFieldTime(AnswerSpan answer, std::size_t offset, const SimFieldRecord& field)
{
    answer[offset] = field.minute;
    answer[offset + 1] = field.hour;
    answer[offset + 2] = field.day;
    answer[offset + 3] = field.month;
    SetRecordWord(answer, offset + 4, field.year);
}

// Points of a segment list in a request: the word at the offset plus 1.
std::size_t ListedPoints(ConstRequestSpan request, std::size_t offset)
{
    return std::size_t(GetRecordWord(request, offset)) + 1;
}

void ReadWords(ConstRequestSpan request, std::size_t offset, std::size_t count, std::span<WORD> words)
{
    for (std::size_t i = 0; i < count; ++i)
        words[i] = GetRecordWord(request, offset + 2 * i);
}

void WriteWords(AnswerSpan answer, std::size_t offset, std::span<const WORD> words)
{
    for (std::size_t i = 0; i < words.size(); ++i)
        SetRecordWord(answer, offset + 2 * i, words[i]);
}

std::size_t ValueCount(const SimFieldRecord& field)
{
    return std::min<std::size_t>(field.parameter, kContourBeams);
}

// The shape's data from answer byte 27: the extents of a rectangle, the distance of an
// arc, the count minus 1 and the points of a segment list, the words of a contour.
void WriteShapeData(AnswerSpan answer, const SimFieldRecord& field)
{
    switch (field.shape) {
    case SIM_SHAPE_RECTANGLE:
        SetRecordWord(answer, kAnswerData, field.parameter);
        WriteWords(answer, kAnswerData + 2, std::span(field.values).first(2));
        break;
    case SIM_SHAPE_CONSTANT: SetRecordWord(answer, kAnswerData, field.parameter); break;
    case SIM_SHAPE_SEGMENTS:
        SetRecordWord(answer, kAnswerData, WORD(field.parameter - 1));
        WriteWords(answer, kAnswerData + 2, std::span(field.values).first(ValueCount(field)));
        break;
    case SIM_SHAPE_BEAMS: WriteWords(answer, kAnswerData, std::span(field.values).first(ValueCount(field))); break;
    default: break;
    }
}

} // namespace

SimDeviceTime SimLocalTimeNow()
{
    const CTime now = CTime::GetCurrentTime();
    return {BYTE(now.GetMinute()), BYTE(now.GetHour()), BYTE(now.GetDay()), BYTE(now.GetMonth() - 1),
            WORD(now.GetYear() - 1900)};
}

BOOL FieldWriteFits(ConstRequestSpan request)
{
    return request[kWriteShape] != SIM_SHAPE_SEGMENTS || ListedPoints(request, kWriteParameter) <= kContourBeams;
}

void WritePendingField(ConstRequestSpan request, SimFieldRecord& pending)
{
    pending.defined = 0;
    SetFieldTime(pending, ReadDeviceTime(request, kWriteTime));
    switch (request[kWriteShape]) {
    case SIM_SHAPE_RECTANGLE:
        pending.shape = SIM_SHAPE_RECTANGLE;
        pending.parameter = GetRecordWord(request, kWriteParameter);
        ReadWords(request, kWriteValues, 2, pending.values);
        break;
    case SIM_SHAPE_CONSTANT:
        pending.shape = SIM_SHAPE_CONSTANT;
        pending.parameter = GetRecordWord(request, kWriteParameter);
        break;
    case SIM_SHAPE_SEGMENTS: {
        const std::size_t points = std::min(ListedPoints(request, kWriteParameter), kContourBeams);
        pending.shape = SIM_SHAPE_SEGMENTS;
        pending.parameter = WORD(points);
        ReadWords(request, kWriteValues, points, pending.values);
        break;
    }
    default: break;
    }
}

void AnswerFieldWrite(AnswerSpan answer, const SimFieldRecord& pending)
{
    answer[kWriteAnswerShape] = pending.shape;
    WriteFieldTime(answer, kAnswerTime, pending);
    if (pending.shape != SIM_SHAPE_BEAMS) // a write never carries a beam contour
        WriteShapeData(answer, pending);
}

BOOL PreviewPendingField(SimFieldRecord& pending, SimContour& contour)
{
    switch (pending.shape) {
    case SIM_SHAPE_RECTANGLE:
        if (!FillRectangleContour(pending.parameter, pending.values[0], pending.values[1], contour))
            return FALSE;
        break;
    case SIM_SHAPE_CONSTANT: FillConstantContour(pending.parameter, contour); break;
    case SIM_SHAPE_SEGMENTS: {
        SimContour list;
        list.count = WORD(ValueCount(pending));
        list.words = pending.values;
        if (!FillContourFromList(list, contour))
            return FALSE;
        break;
    }
    case SIM_SHAPE_BEAMS:
        for (std::size_t i = 0; i < kContourBeams; ++i)
            contour.words[i] = WORD((contour.words[i] & kBeamFlag13) | (pending.values[i] & kBeamDistanceMask));
        break;
    default: return FALSE;
    }
    pending.defined = 0;
    return TRUE;
}

void StorePendingField(const SimFieldRecord& pending, SimFieldRecord& stored, const SimDeviceTime& now)
{
    stored.defined = 0;
    SetFieldTime(stored, now);
    stored.shape = pending.shape;
    stored.parameter = pending.parameter;
    switch (pending.shape) {
    case SIM_SHAPE_RECTANGLE: std::copy_n(pending.values.begin(), 2, stored.values.begin()); break;
    case SIM_SHAPE_SEGMENTS:
        std::copy_n(pending.values.begin(), ValueCount(pending), stored.values.begin());
        break;
    case SIM_SHAPE_BEAMS:
        // A stored beam contour marks its beams as vertices and keeps its own flags.
        for (std::size_t i = 0; i < ValueCount(pending); ++i)
            stored.values[i] = WORD((stored.values[i] & ~kBeamDistanceMask) | (pending.values[i] & kBeamDistanceMask) |
                                    kBeamFlag15);
        break;
    default: break;
    }
    stored.defined = 1;
}

void AnswerStoredField(AnswerSpan answer, const SimFieldRecord& stored)
{
    answer[kReadAnswerShape] = stored.shape;
    answer[kReadAnswerDefined] = stored.defined;
    WriteFieldTime(answer, kAnswerTime, stored);
    WriteShapeData(answer, stored);
}

void AnswerWarningContour(AnswerSpan answer, const SimContour& warningContour)
{
    const std::size_t count = std::min<std::size_t>(warningContour.count, kContourBeams);
    answer[kReadAnswerShape] = SIM_SHAPE_WARNING;
    SetRecordWord(answer, kAnswerData, WORD(warningContour.count - 1));
    WriteWords(answer, kAnswerData + 2, std::span(warningContour.words).first(count));
}

BOOL ReadWarningContour(ConstRequestSpan request, SimContour& warningContour)
{
    const std::size_t count = ListedPoints(request, kContourCount);
    if (count > kContourBeams)
        return FALSE;
    warningContour.count = WORD(count);
    ReadWords(request, kContourValues, count, warningContour.words);
    return TRUE;
}

void StartTeachIn(ConstRequestSpan request, SimFieldRecord& scanRecord)
{
    scanRecord.defined = 0;
    SetFieldTime(scanRecord, ReadDeviceTime(request, kTeachInTime));
    scanRecord.shape = SIM_SHAPE_BEAMS;
    scanRecord.parameter = WORD(kContourBeams);
    scanRecord.values.fill(SimMeasuredValues::kContourDistance);
}
