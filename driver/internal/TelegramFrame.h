#pragma once
// The wire frame of a telegram: a request record packed into a frame, and an answer
// frame unpacked into an answer record.
//
//   STX | address | u16 length L | command | L - 1 data bytes | u16 checksum
//
// L counts the command and the data; in answers the last data byte is the device
// status. The checksum covers everything before it.
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"

#include <array>
#include <cstddef>
#include <span>

constexpr BYTE kSTX = 0x02;
constexpr BYTE kACK = 0x06;
constexpr BYTE kNAK = 0x15;

constexpr std::size_t kFrameBufferSize = 780;
// STX, address, the length word and the checksum word.
constexpr std::size_t kFrameOverhead = 6;
// The largest L of a frame that fits the frame buffer.
constexpr WORD kMaxFrameLength = WORD(kFrameBufferSize - kFrameOverhead);
// Answers are accepted with L below 774 only.
constexpr WORD kMaxAnswerLength = 773;

namespace FrameOffset {
constexpr std::size_t Stx = 0;
constexpr std::size_t Address = 1;
constexpr std::size_t Length = 2;
constexpr std::size_t Command = 4;
constexpr std::size_t Data = 5;
} // namespace FrameOffset

using FrameBuffer = std::array<BYTE, kFrameBufferSize>;
using FrameSpan = std::span<BYTE, kFrameBufferSize>;

// Why a request is not sent.
enum class RequestError {
    None,
    BadMarker,   // bytes 0-1 are not 752
    BadSubCode,  // a sub-code the command has no length for (0x30 above 5)
    BadLength,   // the caller's length of an unlisted command is 0 or runs past the record
    BadCount,    // a beam count that the count byte cannot carry
    BadGeometry, // a field whose check value is undefined (a zero side or segment count)
    TooLong,     // the frame would reach 780 bytes
};

// Why an answer frame is refused.
enum class AnswerError {
    None,
    NoStx,          // the frame does not start with STX
    BadLength,      // L of 774 or more, or too short for a command and a status byte
    Truncated,      // fewer bytes than L announces, or fewer data than the layout needs
    BadChecksum,
    FamilyMismatch, // status bit 3 contradicts the family
    Overflow,       // the data would run past the answer record
};

// Sets the length (bytes 3-4 and 6-7) and, for a field write, the check value, so the
// request is ready to pack. The caller's record keeps these driver fields afterwards.
RequestError PrepareRequest(RequestSpan request);

// Packs a prepared request into frame; returns the frame's size, or 0 when the request
// cannot go out (see PrepareRequest; the same limits are checked again here).
std::size_t BuildTelegramFrame(ConstRequestSpan request, FrameSpan frame);

// Checks an answer frame and unpacks it into answer by its command. frame holds the
// bytes received (at least the whole frame). Bytes of answer that the command does not
// name keep what they held. The marker is not written here.
AnswerError ParseAnswerFrame(std::span<const BYTE> frame, ConstRequestSpan request,
                             AnswerSpan answer);
// Receive-only: there is no request, so the family comes from status bit 3.
AnswerError ParseAnswerFrame(std::span<const BYTE> frame, AnswerSpan answer);
