#pragma once
// The checksum that closes a frame on the line, kept apart from the driver's own so that
// the emulator does not share a misreading of the rule with the code it tests.
#include "framework/core/WinTypes.h"

#include <span>

// Shift left, fold in 0x8005 when bit 15 fell out, then mix in the previous byte and the
// new one as one word.
WORD WireChecksum(std::span<const BYTE> bytes);
