#include "driver/internal/FieldCheckValue.h"

#include <algorithm>
#include <vector>

namespace {

constexpr BYTE kCommandFieldWrite = 0x40;
constexpr BYTE kCommandRectangleContour = 0x48;
constexpr BYTE kShapeRectangle = 0;
constexpr BYTE kShapeArc = 1;
constexpr BYTE kShapePolygon = 2;

constexpr std::size_t kFieldShape = 19;
constexpr std::size_t kFieldFirstWord = 26;  // side B, radius or segment count
constexpr std::size_t kFieldSecondWord = 28; // side A or the first polygon word
constexpr std::size_t kFieldThirdWord = 30;  // front
constexpr std::size_t kContourSideB = 25;
constexpr std::size_t kContourSideA = 27;
constexpr std::size_t kContourFront = 29;
constexpr std::size_t kContourCheckValue = 113;

constexpr WORD kDistanceMask = 0x1FFF;

// The first beam index whose tangent reaches a = min(65535, front * 512 / side).
std::size_t FirstSteepBeam(DWORD front, DWORD side)
{
    const DWORD a = std::min<DWORD>(65535, front * 512 / side);
    const auto it = std::find_if(kCheckTangent.begin(), kCheckTangent.end(),
                                 [a](WORD t) { return t >= a; });
    return std::size_t(it - kCheckTangent.begin()); // Kt(180) = 65535 always matches
}

DWORD DistanceBySide(DWORD extent, std::size_t cosineIndex)
{
    return extent * 4096 / kCheckCosine[cosineIndex];
}

// The distance of beam i (0..360, half degrees) to the rectangle's edge.
DWORD RectangleBeamDistance(std::size_t i, DWORD sideA, DWORD front, DWORD sideB,
                            std::size_t k1, std::size_t k2)
{
    if (i < k1)
        return DistanceBySide(sideA, i);
    if (i == k1)
        return std::min(DistanceBySide(sideA, i), DistanceBySide(front, 180 - i));
    if (i <= 180)
        return DistanceBySide(front, 180 - i);
    if (i < 360 - k2)
        return DistanceBySide(front, i - 180);
    if (i == 360 - k2)
        return std::min(DistanceBySide(front, i - 180), DistanceBySide(sideB, 360 - i));
    return DistanceBySide(sideB, 360 - i);
}

WORD InterpolatedDistance(DWORD p, DWORD c, DWORD step, DWORD t)
{
    if (c < p)
        return WORD(p - ((((p - c) * 32 / step) * t) >> 5));
    return WORD(p + ((((c - p) * 32 / step) * t) >> 5));
}

FieldCheck Refused(RequestError error)
{
    FieldCheck check;
    check.error = error;
    return check;
}

FieldCheck Stored(std::optional<WORD> value, std::size_t offset)
{
    if (!value)
        return Refused(RequestError::BadGeometry);
    FieldCheck check;
    check.value = value;
    check.offset = offset;
    return check;
}

FieldCheck PolygonFieldCheck(ConstRequestSpan request)
{
    const WORD segments = GetRecordWord(request, kFieldFirstWord);
    if (segments == 0 || segments > 360)
        return Refused(RequestError::BadGeometry);
    const std::size_t end = kFieldSecondWord + 2 * (std::size_t(segments) + 1);
    if (end > RequestOffset::CheckValue)
        return Refused(RequestError::TooLong);
    std::vector<WORD> words;
    for (std::size_t offset = kFieldSecondWord; offset < end; offset += 2)
        words.push_back(GetRecordWord(request, offset));
    return Stored(PolygonCheckValue(words), RequestOffset::CheckValue);
}

} // namespace

std::optional<WORD> RectangleCheckValue(WORD sideA, WORD front, WORD sideB)
{
    if (sideA == 0 || sideB == 0)
        return std::nullopt;
    const std::size_t k1 = FirstSteepBeam(front, sideA);
    const std::size_t k2 = FirstSteepBeam(front, sideB);
    WORD value = 0;
    for (std::size_t i = 0; i <= 360; ++i)
        value ^= WORD(RectangleBeamDistance(i, sideA, front, sideB, k1, k2));
    return value;
}

std::optional<WORD> PolygonCheckValue(std::span<const WORD> words)
{
    if (words.size() < 2 || words.size() > 361)
        return std::nullopt;
    const DWORD segments = DWORD(words.size() - 1);
    const DWORD step = 360 / segments;
    WORD value = 0;
    for (DWORD j = 0; j < segments; ++j) {
        value ^= words[j];
        const DWORD p = words[j] & kDistanceMask;
        const DWORD c = words[j + 1] & kDistanceMask;
        for (DWORD t = 1; t < step; ++t)
            value ^= InterpolatedDistance(p, c, step, t);
    }
    return WORD(value ^ words[segments]);
}

FieldCheck FieldCheckValue(ConstRequestSpan request)
{
    const BYTE command = request[RequestOffset::Command];
    if (command == kCommandRectangleContour)
        return Stored(RectangleCheckValue(GetRecordWord(request, kContourSideA),
                                          GetRecordWord(request, kContourFront),
                                          GetRecordWord(request, kContourSideB)),
                      kContourCheckValue);
    if (command != kCommandFieldWrite)
        return {};
    switch (request[kFieldShape]) {
    case kShapeRectangle:
        return Stored(RectangleCheckValue(GetRecordWord(request, kFieldSecondWord),
                                          GetRecordWord(request, kFieldThirdWord),
                                          GetRecordWord(request, kFieldFirstWord)),
                      RequestOffset::CheckValue);
    case kShapeArc:
        return Stored(GetRecordWord(request, kFieldFirstWord), RequestOffset::CheckValue);
    case kShapePolygon:
        return PolygonFieldCheck(request);
    default:
        return {};
    }
}
