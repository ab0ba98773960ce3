#pragma once
// What the field shapes share of their conversions to another shape (the conversion codes
// of CShelter::CanConvertTo): the contours they build and the size dialogs that ask for a
// new rectangle or arc, which the installed shelter editor shows. Every new field keeps
// the source field's device type and kind and belongs to the caller.
#include <memory>

class CShelter;

// The codes 0 to 6; any other code is no conversion.
bool IsConversionCode(int code);

// A contour of beamCount beams, every one a vertex at the distance.
std::unique_ptr<CShelter> MakeConstantContour(const CShelter& source, int distance, int beamCount);
// The contour of a rectangle with beamCount beams; null when a corner lies beyond the
// limits of the type and kind, so the contour could not follow the rectangle.
std::unique_ptr<CShelter> MakeRectangleContour(const CShelter& source, int beamCount, int left, int front,
                                               int right);

// Codes 3 to 6: the rectangle dialog (3, 5) or the arc dialog (4, 6) asks for the size of
// the new field, preset to the kind's default distance and shown in inches when the
// ViewMetric setting is 0; the contours (5, 6) also ask for the beam count. Null when the
// user cancels, for any other code, and when no shelter editor (ShelterEditor.h) is
// installed to show the dialogs.
std::unique_ptr<CShelter> AskConvertedShape(const CShelter& source, int code);
