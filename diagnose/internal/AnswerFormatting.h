#pragma once
// Readable texts of the longer device answers: error lists, the stored error ring with
// operating times, value tables, field contours and the device status reports. Each
// formatter appends to (or replaces) an answer text and reads only inside the answer
// record, whatever counts the device sends.
#include "diagnose/internal/DiagnoseState.h"
#include "shared/SensorTelegram.h"

#include <string>

struct OperatingTime {
    DWORD days = 0;
    DWORD hours = 0;
    DWORD minutes = 0;
    DWORD seconds = 0;
};

// Mode 1: a ZOK counter (25 ticks a second); mode 0: a KVR counter.
OperatingTime SplitOperatingTime(DWORD counter, int mode);

// The version of a device text: its first 8 characters' digits; major in the high 16
// bits, minor in the low 16 bits ("03.12" gives 0x3000C).
DWORD DeviceVersionNumber(const char* text);

// A text of the record that starts at offset: up to a NUL, maxLength characters or the
// end of the record.
std::string RecordText(ConstAnswerSpan answer, std::size_t offset, std::size_t maxLength);

void FormatErrorList(std::string& text, ConstAnswerSpan answer, BYTE family, DiagnoseLine& line);
void FormatErrorRing(std::string& text, ConstAnswerSpan answer, BYTE family, DiagnoseLine& line);
void FormatValueTable(std::string& text, ConstAnswerSpan answer);
void FormatPartialValues(std::string& text, ConstAnswerSpan answer);
void FormatAveragedValues(std::string& text, ConstAnswerSpan answer);
void FormatBarChart(std::string& text, ConstAnswerSpan answer);
void FormatSegmentTable(std::string& text, ConstAnswerSpan answer);
void FormatFieldContour(std::string& text, ConstAnswerSpan answer);
// The head of both reports: the driver's status format with the version and the name.
std::string StatusReportHead(ConstAnswerSpan answer, DiagnoseLine& line);
void FormatStatusReport(std::string& text, ConstAnswerSpan answer, BYTE family, DiagnoseLine& line);
