#pragma once
// The field steps both simulated devices take in the same way: a field write kept as the
// pending field (0x40), the contour preview and the store of the pending field (0x41),
// the warning contour (0x43), the field answers (0x40, 0x45) and the teach-in (0x46).
// The request and answer offsets are the same in both families; what a family adds
// (field-pair number, name, echoes) its device writes itself.
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"
#include "simulator/internal/SimContour.h"
#include "simulator/internal/SimFieldRecord.h"

// Statuses of the field steps (answer byte 9).
enum : BYTE {
    SIM_FIELD_REFUSED = 0,
    SIM_FIELD_DONE = 1,
    SIM_FIELD_IN_PROGRESS = 3,
};

// Minute, hour, day, 0-based month and year minus 1900, as the field records keep them.
struct SimDeviceTime {
    BYTE minute = 0;
    BYTE hour = 0;
    BYTE day = 0;
    BYTE month = 0;
    WORD year = 0;
};

// The local time now.
SimDeviceTime SimLocalTimeNow();

// 0x40: FALSE when the request's segment list holds more points than a contour has
// beams; such a write is refused before anything is changed.
BOOL FieldWriteFits(ConstRequestSpan request);
// 0x40: the pending field takes the request's time and, by the shape code at byte 19,
// its shape, parameter and values; another shape code keeps those as they were. The
// defined flag is cleared. Check FieldWriteFits first.
void WritePendingField(ConstRequestSpan request, SimFieldRecord& pending);
// 0x40: answer bytes 20 on (shape, time, the shape's data).
void AnswerFieldWrite(AnswerSpan answer, const SimFieldRecord& pending);

// 0x41 sub 1: the contour of the field's shape; the field's defined flag is cleared.
// FALSE, with both unchanged, when the shape gives no contour (an extent of 0, fewer
// than 2 points or an unknown shape).
BOOL PreviewPendingField(SimFieldRecord& pending, SimContour& contour);
// 0x41 sub 2: the pending field becomes the stored field, stamped with now.
void StorePendingField(const SimFieldRecord& pending, SimFieldRecord& stored, const SimDeviceTime& now);

// 0x45 sub 0: answer bytes 19 on (shape, defined flag, time, the shape's data).
void AnswerStoredField(AnswerSpan answer, const SimFieldRecord& stored);
// 0x45 sub 1: the warning contour as shape 3, its count minus 1 and its words.
void AnswerWarningContour(AnswerSpan answer, const SimContour& warningContour);

// 0x43: the warning contour of (u16 at 10) + 1 words from byte 12. FALSE, with the
// contour unchanged, for more words than a contour has beams.
BOOL ReadWarningContour(ConstRequestSpan request, SimContour& warningContour);

// 0x46 sub 0: the scan record restarts as a contour of 361 beams of 400 cm with the
// request's time (bytes 21-26).
void StartTeachIn(ConstRequestSpan request, SimFieldRecord& scanRecord);
