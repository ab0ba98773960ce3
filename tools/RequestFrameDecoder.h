#pragma once
// Turns a request frame back into the request record the program filled: the inverse of
// the driver's packing, command by command. Frames carry no family, so the caller names
// the family of the device it plays.
#include "shared/SensorTelegram.h"

#include <optional>
#include <span>

// frame: one whole frame, STX to checksum, its checksum already found correct.
// nullopt when the data do not fill the command's layout exactly, or would run past the
// record: a device would not understand such a frame.
std::optional<SensorRequest> DecodeRequestFrame(std::span<const BYTE> frame, BYTE family);
