#pragma once
// Turns an answer record into the answer frame a device sends, by the same answer
// layouts the driver unpacks with (shared/AnswerLayout.h).
//
//   STX | request address with bit 7 | u16 L | command | data | status | u16 checksum
#include "shared/SensorTelegram.h"

#include <vector>

// Fields that run to the end of the frame ("the rest") take the length that answer bytes
// 2-3 give (data bytes after the command, status included); without it they take what
// the command's own count field says. Words of an exact count (a written polygon) that
// the given length cuts short go out as far as it reaches, and the frame ends there.
// Empty when the frame would be longer than the
// driver accepts (L of 774 or more) or a field lies outside the record.
std::vector<BYTE> EncodeAnswerFrame(ConstRequestSpan request, ConstAnswerSpan answer);
