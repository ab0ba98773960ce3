#pragma once
// Byte layouts of records on the wire, written as data: a list of steps in wire order,
// each naming where its data bytes lie in the record. Whoever packs a record into a frame
// and whoever unpacks it read the same list, so the two directions cannot drift apart.
// The answer layouts (AnswerLayout.h) and the request packing use these steps; the KVR
// configuration block and case record are listed here, as both travel in requests and
// answers.
//
// Header only: every library that packs or unpacks records compiles the lists in.
#include "shared/KVRRecordLayout.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace RecordLayout {

// "count" below is the value of the last CountByte or CountWord step of the layout
// (0 before any).
enum class Op : std::uint8_t {
    Bytes,        // `count` data bytes to the record from `offset`
    Name,         // 8 characters to `offset`; the record closes them with a NUL
    Zero,         // record byte `offset` := 0; no data byte carries it
    CountByte,    // a count byte (254 and 255 stand for 360 and 400), kept as the word at `offset`
    CountWord,    // a count word to `offset`
    CountedWords, // exactly count + `count` words to `offset`; when the frame carries fewer,
                  // none is taken and the layout ends there: the count shows they are missing
    RestAsWords,  // all data left to `offset`, at least count + `count` words of it
    Rest,         // all data left to `offset`
    PairCount,    // record byte `offset` := the number of byte pairs left; the pairs behind it
    RepeatFrom,   // the data go back to data byte `count` (the device sends some twice)
    ConfigBlock,  // a KVR configuration block from `offset`
    CaseRecord,   // a KVR case record from `offset`
    Shape,        // the record byte at `offset` (already landed) picks the rest by shape
};

struct Step {
    Op op;
    std::uint16_t offset;
    std::uint16_t count = 0;
};

constexpr Step B(std::size_t offset, std::size_t count = 1)
{
    return {Op::Bytes, std::uint16_t(offset), std::uint16_t(count)};
}
constexpr Step W(std::size_t offset)
{
    return B(offset, 2);
}
constexpr Step N(std::size_t offset)
{
    return {Op::Name, std::uint16_t(offset)};
}
constexpr Step Z(std::size_t offset)
{
    return {Op::Zero, std::uint16_t(offset)};
}
constexpr Step Do(Op op, std::size_t offset, std::size_t count = 0)
{
    return {op, std::uint16_t(offset), std::uint16_t(count)};
}

// Offsets relative to the record's first byte.
namespace BlockOffset = KVRBlockOffset;
inline constexpr Step kKVRConfigBlock[] = {
    B(BlockOffset::TypeCode, 2), // type code and sensor count
    N(BlockOffset::SensorNames), N(BlockOffset::SensorNames + 9), N(BlockOffset::SensorNames + 18),
    N(BlockOffset::SensorNames + 27),
    B(38, 4),
    B(BlockOffset::TypeBits, 6), // type, used and output bits, byte 46, field pair count
    N(BlockOffset::FieldPairNames), N(BlockOffset::FieldPairNames + 9), N(BlockOffset::FieldPairNames + 18),
    N(BlockOffset::FieldPairNames + 27), N(BlockOffset::FieldPairNames + 36), N(BlockOffset::FieldPairNames + 45),
    N(BlockOffset::FieldPairNames + 54), N(BlockOffset::FieldPairNames + 63),
    B(120, 2), // byte 120 and the case count
    W(BlockOffset::SpeedScale1), W(BlockOffset::SpeedScale2), W(BlockOffset::ValueV1), W(128),
    B(BlockOffset::ValueV2, 6), // V2, both mode/delay pairs, option V4
    W(136),
};

inline constexpr Step kKVRCaseRecord[] = {
    B(KVRCaseOffset::Number),
    N(KVRCaseOffset::Name),
    W(KVRCaseOffset::ControlWord),
    B(KVRCaseOffset::Sensor, 4), // sensor, field pair, byte 14, outputs
    W(16),
    B(18, 4), // byte 18, scans, both following cases
    W(KVRCaseOffset::SpeedHigh),
    W(KVRCaseOffset::SpeedLow),
};

// Calls visit(step) for each step of a flat list (no parts, no shape), its offsets moved
// by base; visit returns false to stop.
template <class Visit>
void VisitSteps(std::span<const Step> steps, std::size_t base, Visit&& visit)
{
    for (Step step : steps) {
        step.offset = std::uint16_t(step.offset + base);
        if (!visit(step))
            return;
    }
}

} // namespace RecordLayout
