#pragma once
// The answer rule both simulated devices follow before a handler writes its own bytes,
// and bounded helpers to read request fields and write answer fields.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"
#include "simulator/internal/SimContour.h"

#include <cstddef>

// Device status byte of the answers: the interface unit sets the family bit.
constexpr BYTE kSimStatusZOK = 0x00;
constexpr BYTE kSimStatusKVR = kStatusKVRBit;

// The connection test is answered by 0x91; a sub-code or index the device does not
// serve by 0x92 with nothing behind it.
constexpr BYTE kSimAnswerConnectionTest = 0x91;
constexpr BYTE kSimAnswerNotServed = 0x92;

// Answer bytes 0 to 752 are cleared before every answer.
constexpr std::size_t kSimClearedAnswerBytes = 753;

// The request command with bit 7 set; 0x91 for the connection test 0x10.
BYTE SimAnswerCommand(BYTE requestCommand);

// Clears the answer, writes marker 753, the device status (byte 7) and the answer command
// (byte 8).
void BeginSimAnswer(AnswerSpan answer, BYTE deviceStatus, BYTE answerCommand);

// The NUL-terminated text from offset, at most maxLength characters and never beyond
// the record.
CString ReadSimText(ConstRequestSpan request, std::size_t offset, std::size_t maxLength);
// Writes at most width characters of text from offset; the bytes behind it stay.
void WriteSimText(AnswerSpan answer, std::size_t offset, const CString& text, std::size_t width);

// The count word at offset and the count's words behind it (at most the contour's 361).
void WriteSimContour(AnswerSpan answer, std::size_t offset, const SimContour& contour);
