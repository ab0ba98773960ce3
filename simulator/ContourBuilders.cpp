#include "simulator/ContourBuilders.h"

#include <algorithm>
#include <limits>

const std::array<DWORD, 181> kSimCosineTable{
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
    0,
};

const std::array<DWORD, 181> kSimTangentTable{
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

constexpr std::size_t kMaxInterpolatedPoints = 181;
constexpr DWORD kNoCrossing = std::numeric_limits<DWORD>::max();

WORD Distance(WORD word)
{
    return WORD(word & kBeamDistanceMask);
}

// Distance along the beam to an edge at the given extent; a beam parallel to the edge
// (cosine 0) never meets it.
DWORD DistanceToEdge(DWORD extent, std::size_t cosineIndex)
{
    const DWORD cosine = kSimCosineTable[cosineIndex];
    return cosine == 0 ? kNoCrossing : extent * 4096 / cosine;
}

// The first beam whose tangent entry reaches the edge ratio extent x 512 / side.
std::size_t CornerBeam(DWORD front, DWORD side)
{
    const DWORD ratio = std::min<DWORD>(front * 512 / side, 65535);
    const auto it = std::find_if(kSimTangentTable.begin(), kSimTangentTable.end(),
                                 [ratio](DWORD entry) { return entry >= ratio; });
    return std::size_t(it - kSimTangentTable.begin());
}

WORD StoredDistance(DWORD distance)
{
    return WORD(std::min<DWORD>(distance, 0xFFFF));
}

} // namespace

std::vector<BYTE> MakeSegmentBuffer(std::span<const WORD> points)
{
    if (points.empty() || points.size() - 1 > 255)
        return {};
    std::vector<BYTE> buffer;
    buffer.reserve(1 + 2 * points.size());
    buffer.push_back(BYTE(points.size() - 1));
    for (WORD point : points) {
        buffer.push_back(LOBYTE(point));
        buffer.push_back(HIBYTE(point));
    }
    return buffer;
}

std::size_t FillContourFromSegments(std::span<const BYTE> segments, std::span<WORD> values)
{
    if (segments.empty())
        return 0;
    const std::size_t segmentCount = segments[0];
    if (segmentCount == 0 || segments.size() < 1 + 2 * (segmentCount + 1))
        return 0;
    auto point = [&](std::size_t i) { return MAKEWORD(segments[1 + 2 * i], segments[2 + 2 * i]); };

    const DWORD step = 360 / DWORD(segmentCount);
    std::size_t written = 0;
    auto write = [&](WORD word) {
        if (written < values.size())
            values[written++] = word;
    };
    DWORD from = Distance(point(0));
    for (std::size_t i = 0; i < segmentCount; ++i) {
        write(point(i));
        const DWORD to = Distance(point(i + 1));
        // The slope is kept in 1/32 cm per beam.
        const DWORD slope = (to >= from ? to - from : from - to) * 32 / step;
        for (DWORD j = 1; j < step; ++j)
            write(WORD(to >= from ? from + j * slope / 32 : from - j * slope / 32));
        from = to;
    }
    write(point(segmentCount));
    return written;
}

BOOL FillContourFromList(const SimContour& list, SimContour& contour)
{
    const std::size_t n = list.count;
    if (n < 2 || n > kContourBeams)
        return FALSE;
    if (n > kMaxInterpolatedPoints) {
        for (std::size_t i = 0; i < n; ++i)
            contour.words[i] = WORD((contour.words[i] & ~kBeamDistanceMask) | Distance(list.words[i]));
    } else {
        const std::vector<BYTE> buffer = MakeSegmentBuffer(std::span<const WORD>(list.words.data(), n));
        FillContourFromSegments(buffer, contour.words);
    }
    contour.count = WORD(kContourBeams);
    contour.ClearMarks();
    return TRUE;
}

BOOL ComputeRectangleContour(WORD left, WORD right, WORD front, std::span<WORD, kContourBeams> values)
{
    if (left == 0 || right == 0 || front == 0)
        return FALSE;
    const std::size_t rightCorner = CornerBeam(front, right); // i
    const std::size_t leftCorner = CornerBeam(front, left);   // m: the corner lies at beam 360 - m
    const std::size_t leftCornerBeam = 360 - leftCorner;

    for (std::size_t k = 0; k < kContourBeams; ++k) {
        DWORD distance = 0;
        if (k < rightCorner)
            distance = DistanceToEdge(right, k);
        else if (k == rightCorner)
            distance = std::min(DistanceToEdge(right, k), DistanceToEdge(front, 180 - k));
        else if (k <= 180)
            distance = DistanceToEdge(front, 180 - k);
        else if (k < leftCornerBeam)
            distance = DistanceToEdge(front, k - 180);
        else if (k == leftCornerBeam)
            distance = std::min(DistanceToEdge(front, k - 180), DistanceToEdge(left, 360 - k));
        else
            distance = DistanceToEdge(left, 360 - k);
        values[k] = StoredDistance(distance);
    }
    return TRUE;
}

BOOL FillRectangleContour(WORD left, WORD right, WORD front, SimContour& contour)
{
    if (!ComputeRectangleContour(left, right, front, contour.words))
        return FALSE;
    contour.count = WORD(kContourBeams);
    contour.ClearMarks();
    return TRUE;
}

void FillConstantContour(WORD distance, SimContour& contour)
{
    for (WORD& word : contour.words)
        word = WORD((word & kBeamFlag13) | (distance & kBeamDistanceMask));
}
