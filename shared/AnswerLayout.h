#pragma once
// Where the data bytes of each answer frame land in the answer record: one layout per
// answer code and family (steps of RecordLayout.h). The driver unpacks frames by these
// layouts and the device emulator packs answer records into frames by them. The frame
// data are the bytes between the answer code and the closing status.
#include "shared/RecordLayout.h"
#include "shared/SensorTelegram.h"

#include <cstdint>
#include <optional>
#include <span>

namespace AnswerLayout {

using namespace RecordLayout;

enum class Family : std::uint8_t { Any, ZOK, KVR };
// The 0xC5 answer depends on the request: sub-code 1 asks for the warning field.
enum class SubCode : std::uint8_t { Any, WarningField, OtherField };

struct Layout {
    BYTE command;
    Family family;
    SubCode subCode;
    std::span<const Step> steps;
};

struct ShapeTail {
    BYTE command;
    BYTE shape;
    std::span<const Step> steps;
};

inline constexpr Step kText[] = {B(9, 14), Z(23)};
inline constexpr Step kOneByte[] = {B(9)};
inline constexpr Step kTwoBytes[] = {B(9, 2)};
inline constexpr Step kThreeBytes[] = {B(9, 3)};
inline constexpr Step kStatusAndNumber[] = {B(9), B(10)};
inline constexpr Step kScanZOK[] = {Do(Op::CountWord, 10), Do(Op::RestAsWords, 12)};
inline constexpr Step kScanKVR[] = {B(9), Do(Op::CountWord, 10), Do(Op::RestAsWords, 12)};
inline constexpr Step kIdentificationKVR[] = {B(9, 7), Z(16), B(17), B(18), N(19), B(28),
                                              W(29),   B(31, 6), W(37), W(39), B(41)};
inline constexpr Step kIdentificationZOK[] = {
    B(9, 7),   Z(16),    B(17),     B(18),    N(19),  B(28),  B(42, 16), B(58, 8),  B(106, 16),
    B(122, 8), W(66),    B(68, 18), W(86),    W(130), W(132), W(88),     W(90),     W(104),
    W(102),    W(92),    W(94),     W(96),    W(98),  W(100), B(29),     W(30),     B(32),
    B(33),     W(35),    B(34),     B(37),    B(38),  B(39),  B(41),     B(40),
};
inline constexpr Step kErrorList[] = {Do(Op::PairCount, 9)};
inline constexpr Step kDiagnosisZOK[] = {B(9, 4), Do(Op::RepeatFrom, 0, 2), Do(Op::Rest, 13)};
inline constexpr Step kDiagnosisKVR[] = {B(9, 4), B(13), Do(Op::Rest, 14)};
inline constexpr Step kValuesB6ZOK[] = {B(10), W(11), Do(Op::Rest, 13)};
inline constexpr Step kValuesB6KVR[] = {B(9), B(10), W(11), Do(Op::Rest, 13)};
inline constexpr Step kValuesB7ZOK[] = {W(10), W(12), W(14), Do(Op::Rest, 16)};
inline constexpr Step kValuesB7KVR[] = {B(9), W(10), W(12), W(14), Do(Op::Rest, 16)};
inline constexpr Step kBlockRead[] = {Do(Op::ConfigBlock, 9)};
inline constexpr Step kCaseRead[] = {Do(Op::CaseRecord, 9)};
inline constexpr Step kBlockWrite[] = {B(9), Do(Op::ConfigBlock, 10)};
inline constexpr Step kCaseWrite[] = {B(9), Do(Op::CaseRecord, 10)};
inline constexpr Step kCaseMask[] = {B(9), W(10)};
inline constexpr Step kPendingKVR[] = {B(9), B(10, 2)};
// A written (or pending) field: status, shape, device time, word 25, then by shape.
inline constexpr Step kWrittenFieldZOK[] = {B(9), B(20), B(21, 4), W(25), Do(Op::Shape, 20)};
inline constexpr Step kWrittenFieldKVR[] = {B(9), B(10), N(11), B(20), B(21, 4), W(25), Do(Op::Shape, 20)};
// A stored field: shape, device time, word 25, then by shape; a warning field sends no time.
inline constexpr Step kStoredFieldZOK[] = {B(19), B(21, 4), W(25), Do(Op::Shape, 19)};
inline constexpr Step kStoredFieldKVR[] = {B(20), B(9), N(10), B(19), B(21, 4), W(25), Do(Op::Shape, 19)};
inline constexpr Step kWarningFieldZOK[] = {B(19), Do(Op::Shape, 19)};
inline constexpr Step kWarningFieldKVR[] = {B(9), N(10), B(19), Do(Op::Shape, 19)};
inline constexpr Step kRectangleContour[] = {B(9, 2), N(11),  B(20, 4), W(24),     W(26),
                                             W(28),   W(30), W(32),    B(34, 80), W(114)};

inline constexpr Step kWrittenRectangle[] = {W(27), W(29), W(31), W(AnswerOffset::CheckValue)};
inline constexpr Step kWrittenArc[] = {W(27), W(AnswerOffset::CheckValue)};
inline constexpr Step kWrittenPolygon[] = {Do(Op::CountByte, 27), Do(Op::CountedWords, 29, 1),
                                           W(AnswerOffset::CheckValue)};
inline constexpr Step kStoredRectangle[] = {W(27), W(29), W(31)};
inline constexpr Step kStoredArc[] = {W(27)};
inline constexpr Step kStoredPolygon[] = {Do(Op::CountByte, 27), Do(Op::RestAsWords, 29, 1)};
inline constexpr Step kStoredContour[] = {Do(Op::RestAsWords, 27, 361)};
inline constexpr Step kStoredShape7[] = {W(27), W(29), W(31), W(33), B(35, 80)}; // four groups of ten words

inline constexpr Layout kLayouts[] = {
    {0x90, Family::Any, SubCode::Any, kText},
    {0xA0, Family::Any, SubCode::Any, kOneByte},
    {0xD0, Family::Any, SubCode::Any, kOneByte},
    {0xB0, Family::ZOK, SubCode::Any, kScanZOK},
    {0xB0, Family::KVR, SubCode::Any, kScanKVR},
    {0xB1, Family::ZOK, SubCode::Any, kIdentificationZOK},
    {0xB1, Family::KVR, SubCode::Any, kIdentificationKVR},
    {0xB2, Family::Any, SubCode::Any, kErrorList},
    {0xB4, Family::ZOK, SubCode::Any, kDiagnosisZOK},
    {0xB4, Family::KVR, SubCode::Any, kDiagnosisKVR},
    {0xB6, Family::ZOK, SubCode::Any, kValuesB6ZOK},
    {0xB6, Family::KVR, SubCode::Any, kValuesB6KVR},
    {0xB7, Family::ZOK, SubCode::Any, kValuesB7ZOK},
    {0xB7, Family::KVR, SubCode::Any, kValuesB7KVR},
    {0xB8, Family::Any, SubCode::Any, kBlockRead},
    {0xB9, Family::Any, SubCode::Any, kCaseRead},
    {0xC0, Family::ZOK, SubCode::Any, kWrittenFieldZOK},
    {0xC0, Family::KVR, SubCode::Any, kWrittenFieldKVR},
    {0xC1, Family::ZOK, SubCode::Any, kOneByte},
    {0xC1, Family::KVR, SubCode::Any, kPendingKVR},
    {0xC2, Family::Any, SubCode::Any, kTwoBytes},
    {0xC3, Family::ZOK, SubCode::Any, kOneByte},
    {0xC3, Family::KVR, SubCode::Any, kStatusAndNumber},
    {0xC6, Family::ZOK, SubCode::Any, kOneByte},
    {0xC6, Family::KVR, SubCode::Any, kStatusAndNumber},
    {0xCA, Family::ZOK, SubCode::Any, kOneByte},
    {0xCA, Family::KVR, SubCode::Any, kStatusAndNumber},
    {0xC4, Family::Any, SubCode::Any, kThreeBytes},
    {0xC9, Family::Any, SubCode::Any, kThreeBytes},
    {0xC5, Family::ZOK, SubCode::OtherField, kStoredFieldZOK},
    {0xC5, Family::ZOK, SubCode::WarningField, kWarningFieldZOK},
    {0xC5, Family::KVR, SubCode::OtherField, kStoredFieldKVR},
    {0xC5, Family::KVR, SubCode::WarningField, kWarningFieldKVR},
    {0xC8, Family::Any, SubCode::Any, kRectangleContour},
    {0xE0, Family::Any, SubCode::Any, kTwoBytes},
    {0xE2, Family::Any, SubCode::Any, kTwoBytes},
    {0xE4, Family::Any, SubCode::Any, kTwoBytes},
    {0xE5, Family::Any, SubCode::Any, kTwoBytes},
    {0xE6, Family::Any, SubCode::Any, kTwoBytes},
    {0xE7, Family::Any, SubCode::Any, kTwoBytes},
    {0xE8, Family::Any, SubCode::Any, kTwoBytes},
    {0xE9, Family::Any, SubCode::Any, kTwoBytes},
    {0xF7, Family::Any, SubCode::Any, kTwoBytes},
    {0xF8, Family::Any, SubCode::Any, kTwoBytes},
    {0xF0, Family::Any, SubCode::Any, kBlockWrite},
    {0xF2, Family::Any, SubCode::Any, kCaseWrite},
    {0xF4, Family::Any, SubCode::Any, kCaseMask},
};

inline constexpr ShapeTail kShapeTails[] = {
    {0xC0, 0, kWrittenRectangle}, {0xC0, 1, kWrittenArc},    {0xC0, 2, kWrittenPolygon},
    {0xC5, 0, kStoredRectangle},  {0xC5, 1, kStoredArc},     {0xC5, 2, kStoredPolygon},
    {0xC5, 3, kStoredPolygon},    {0xC5, 4, kStoredContour}, {0xC5, 7, kStoredShape7},
};

// The layout of an answer code for a family (any family but KVR reads as ZOK). A layout
// that depends on the request's sub-code is not known without it. Empty when no layout
// is known: the record then names none of the answer's data.
constexpr std::span<const Step> Find(BYTE command, bool kvr, std::optional<BYTE> requestSubCode)
{
    for (const Layout& layout : kLayouts) {
        if (layout.command != command)
            continue;
        if (layout.family != Family::Any && (layout.family == Family::KVR) != kvr)
            continue;
        if (layout.subCode != SubCode::Any &&
            (!requestSubCode || (layout.subCode == SubCode::WarningField) != (*requestSubCode == 1)))
            continue;
        return layout.steps;
    }
    return {};
}

// The rest of a layout after its Shape step; empty for a shape it does not know.
constexpr std::span<const Step> FindShapeTail(BYTE command, BYTE shape)
{
    for (const ShapeTail& tail : kShapeTails)
        if (tail.command == command && tail.shape == shape)
            return tail.steps;
    return {};
}

namespace Detail {
template <class Visit>
bool WalkSteps(std::span<const Step> steps, std::size_t base, BYTE command, std::span<const BYTE> record,
               Visit& visit)
{
    for (Step step : steps) {
        step.offset = std::uint16_t(step.offset + base);
        switch (step.op) {
        case Op::ConfigBlock:
            if (!WalkSteps(kKVRConfigBlock, step.offset, command, record, visit))
                return false;
            break;
        case Op::CaseRecord:
            if (!WalkSteps(kKVRCaseRecord, step.offset, command, record, visit))
                return false;
            break;
        case Op::Shape:
            return step.offset < record.size() &&
                   WalkSteps(FindShapeTail(command, record[step.offset]), 0, command, record, visit);
        default:
            if (!visit(step))
                return false;
            break;
        }
    }
    return true;
}
} // namespace Detail

// Calls visit(step) for each data step of the answer's layout in wire order, with the
// KVR records expanded to record offsets and the shape step resolved by the record byte
// it names, read when the walk reaches it. visit returns false to end the walk. Returns
// false when no layout is known.
template <class Visit>
bool Walk(BYTE command, bool kvr, std::optional<BYTE> requestSubCode, std::span<const BYTE> record, Visit&& visit)
{
    const std::span<const Step> steps = Find(command, kvr, requestSubCode);
    if (steps.empty())
        return false;
    Detail::WalkSteps(steps, 0, command, record, visit);
    return true;
}

} // namespace AnswerLayout
