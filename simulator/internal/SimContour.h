#pragma once
// A contour of the simulated devices: a count followed by one beam word for each half
// degree from 0 to 180 degrees. Beam words hold the distance in cm in bits 0-12 and
// flags in bits 13, 14 and 15.
#include "framework/core/WinTypes.h"

#include <array>
#include <cstddef>

constexpr std::size_t kContourBeams = 361;
constexpr WORD kBeamDistanceMask = 0x1FFF;
constexpr WORD kBeamFlag13 = 0x2000;
constexpr WORD kBeamFlag14 = 0x4000;
constexpr WORD kBeamFlag15 = 0x8000;
constexpr WORD kBeamMarkFlags = kBeamFlag14 | kBeamFlag15;

struct SimContour {
    WORD count = 0;
    std::array<WORD, kContourBeams> words{};

    // The first count words take value; the rest stay 0.
    static SimContour Filled(WORD count, WORD value);
    // Clears bits 14 and 15 of all words.
    void ClearMarks();

    bool operator==(const SimContour&) const = default;
};
