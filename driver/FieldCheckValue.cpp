#include "driver/FieldCheckValue.h"

#include <algorithm>
#include <vector>

// Written out rather than computed, so every build and platform rounds them alike.
const std::array<WORD, 181> kCheckCosine = {
    4096, 4096, 4095, 4095, 4094, 4092, 4090, 4088, 4086, 4083, 4080, 4077,
    4074, 4070, 4065, 4061, 4056, 4051, 4046, 4040, 4034, 4027, 4021, 4014,
    4006, 3999, 3991, 3983, 3974, 3966, 3956, 3947, 3937, 3927, 3917, 3906,
    3896, 3884, 3873, 3861, 3849, 3837, 3824, 3811, 3798, 3784, 3770, 3756,
    3742, 3727, 3712, 3697, 3681, 3666, 3650, 3633, 3617, 3600, 3582, 3565,
    3547, 3529, 3511, 3492, 3474, 3455, 3435, 3416, 3396, 3376, 3355, 3335,
    3314, 3293, 3271, 3250, 3228, 3206, 3183, 3161, 3138, 3115, 3091, 3068,
    3044, 3020, 2996, 2971, 2946, 2921, 2896, 2871, 2845, 2820, 2793, 2767,
    2741, 2714, 2687, 2660, 2633, 2605, 2578, 2550, 2522, 2493, 2465, 2436,
    2408, 2379, 2349, 2320, 2290, 2261, 2231, 2201, 2171, 2140, 2110, 2079,
    2048, 2017, 1986, 1954, 1923, 1891, 1860, 1828, 1796, 1763, 1731, 1699,
    1666, 1633, 1600, 1567, 1534, 1501, 1468, 1434, 1401, 1367, 1334, 1300,
    1266, 1232, 1198, 1163, 1129, 1095, 1060, 1026, 991, 956, 921, 887,
    852, 817, 782, 746, 711, 676, 641, 605, 570, 535, 499, 464,
    428, 393, 357, 321, 286, 250, 214, 179, 143, 107, 71, 36,
    1,
};

const std::array<WORD, 181> kCheckTangent = {
    0, 4, 9, 13, 18, 22, 27, 31, 36, 40, 45, 49,
    54, 58, 63, 67, 72, 77, 81, 86, 90, 95, 100, 104,
    109, 114, 118, 123, 128, 132, 137, 142, 147, 152, 157, 161,
    166, 171, 176, 181, 186, 191, 197, 202, 207, 212, 217, 223,
    228, 233, 239, 244, 250, 255, 261, 267, 272, 278, 284, 290,
    296, 302, 308, 314, 320, 326, 332, 339, 345, 352, 359, 365,
    372, 379, 386, 393, 400, 407, 415, 422, 430, 437, 445, 453,
    461, 469, 477, 486, 494, 503, 512, 521, 530, 540, 549, 559,
    569, 579, 589, 599, 610, 621, 632, 644, 655, 667, 679, 692,
    705, 718, 731, 745, 759, 774, 788, 804, 819, 836, 852, 869,
    887, 905, 924, 943, 963, 984, 1005, 1027, 1050, 1073, 1098, 1123,
    1150, 1178, 1206, 1236, 1267, 1300, 1334, 1369, 1407, 1446, 1487, 1530,
    1576, 1624, 1675, 1728, 1786, 1846, 1911, 1980, 2054, 2133, 2218, 2309,
    2409, 2517, 2634, 2763, 2904, 3060, 3233, 3426, 3643, 3889, 4170, 4494,
    4871, 5317, 5852, 6506, 7322, 8371, 9770, 11727, 14662, 19552, 29332, 58669,
    65535,
};

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
