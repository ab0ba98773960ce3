#pragma once
// One field shape as both simulated devices keep it: a defined flag, the time it was
// written, the shape code, its parameter and up to 361 values.
#include "framework/core/WinTypes.h"
#include "simulator/internal/SimContour.h"

#include <array>

// Shape codes of the field record.
enum : BYTE {
    SIM_SHAPE_RECTANGLE = 0,
    SIM_SHAPE_CONSTANT = 1,
    SIM_SHAPE_SEGMENTS = 2,
    SIM_SHAPE_WARNING = 3, // only in answers: the warning contour
    SIM_SHAPE_BEAMS = 4,
};

struct SimFieldRecord {
    BYTE defined = 0; // 0 while being changed, 1 when complete
    BYTE minute = 0;
    BYTE hour = 0;
    BYTE day = 0;
    BYTE month = 0; // 0-based
    WORD year = 0;  // minus 1900
    BYTE shape = 0;
    // Rectangle: the first extent; constant: the distance; segments and beams: the count.
    WORD parameter = 0;
    std::array<WORD, kContourBeams> values{};

    bool operator==(const SimFieldRecord&) const = default;
};
