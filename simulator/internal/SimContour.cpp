#include "simulator/internal/SimContour.h"

#include <algorithm>

SimContour SimContour::Filled(WORD count, WORD value)
{
    SimContour contour;
    contour.count = count;
    std::fill_n(contour.words.begin(), std::min<std::size_t>(count, kContourBeams), value);
    return contour;
}

void SimContour::ClearMarks()
{
    for (WORD& word : words)
        word &= WORD(~kBeamMarkFlags);
}
