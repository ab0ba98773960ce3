#pragma once
// Fields of every shape on one device type, for the tests of the conversions between
// shapes. Type 4: angles 0 to 180, distances 5 to 5000 cm (protective fields up to
// 400 cm), default 50.
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"

#include <memory>
#include <stdexcept>

inline const CSensorType kType(4, 0);

inline CArcShelter MakeArc(int radius, int kind = kGeneralField)
{
    CArcShelter arc;
    arc.Initialize(kType, WORD(radius), kind);
    return arc;
}

inline CRectShelter MakeRect(int left, int front, int right, int kind = kGeneralField)
{
    CRectShelter rect;
    rect.Initialize(kType, WORD(left), WORD(front), WORD(right), kind);
    return rect;
}

// A contour of the rectangle 200, 200, 200.
inline CPolyShelter MakeContour(int beamCount, int kind = kGeneralField)
{
    CPolyShelter contour;
    contour.InitializeFromRectangle(kType, beamCount, 200, 200, 200, kind);
    return contour;
}

inline const CPolyShelter& AsContour(const std::unique_ptr<CShelter>& field)
{
    const auto* contour = dynamic_cast<const CPolyShelter*>(field.get());
    if (contour == nullptr) throw std::runtime_error("not a contour");
    return *contour;
}
