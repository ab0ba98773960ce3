#pragma once
// The contour builders of the simulated devices: they turn a field shape (a list of
// points, a rectangle, a constant distance) into 361 beam words, one per half degree.
// Inputs that would divide by zero or write past the 361 words are refused.
#include "framework/core/WinTypes.h"
#include "shared/BeamTrigTables.h"
#include "simulator/internal/SimContour.h"

#include <array>
#include <cstddef>
#include <span>
#include <vector>

// Entry k: 4096 cos(k x 0.5 degrees), rounded; entry 180 is 0.
inline constexpr std::array<DWORD, 181> kSimCosineTable = WithBeam180<DWORD>(kBeamCosine4096, 0);
// Entry j: 512 tan(j x 0.5 degrees), rounded, for j below 180; entry 180 is 65535.
inline constexpr std::array<DWORD, 181> kSimTangentTable = WithBeam180<DWORD>(kBeamTangent512, 65535);

// The segment buffer: byte 0 the number of segments, then the points as little-endian
// beam words. At most 255 segments fit; more points are refused (empty buffer).
std::vector<BYTE> MakeSegmentBuffer(std::span<const WORD> points);

// Interpolates the segments of a buffer into values, 360 / s beams per segment, and
// returns how many words it wrote (the index behind the last one). A buffer without
// segments, or holding fewer points than it names, writes nothing and returns 0; the
// words are bounded by the size of values.
std::size_t FillContourFromSegments(std::span<const BYTE> segments, std::span<WORD> values);

// A point list of more than 181 words gives its distances to the first words of the
// contour (their flags stay); a shorter one is interpolated as segments. Then the count
// becomes 361 and bits 14 and 15 of every word are cleared. FALSE (contour unchanged)
// for fewer than 2 points or more than 361.
BOOL FillContourFromList(const SimContour& list, SimContour& contour);

// The 361 distances of a rectangle with its extents on the 180-degree side (left), the
// 0-degree side (right) and the front, in cm. FALSE (values unchanged) when an extent is
// 0. A beam that runs parallel to an edge takes its distance from the other edge.
BOOL ComputeRectangleContour(WORD left, WORD right, WORD front, std::span<WORD, kContourBeams> values);
// The rectangle's distances, count 361, bits 14 and 15 cleared; FALSE as above.
BOOL FillRectangleContour(WORD left, WORD right, WORD front, SimContour& contour);

// Every word's distance bits take the distance, bit 13 stays, bits 14 and 15 are
// cleared; the count stays.
void FillConstantContour(WORD distance, SimContour& contour);
