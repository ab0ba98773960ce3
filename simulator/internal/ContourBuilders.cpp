#include "simulator/internal/ContourBuilders.h"

#include <algorithm>
#include <limits>

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
