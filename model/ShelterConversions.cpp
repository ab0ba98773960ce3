#include "model/ShelterConversions.h"

#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/ShelterEditor.h"

bool IsConversionCode(int code) { return code >= kConvertToContour91 && code <= kConvertToArcContour; }

std::unique_ptr<CShelter> MakeConstantContour(const CShelter& source, int distance, int beamCount)
{
    auto contour = std::make_unique<CPolyShelter>();
    contour->InitializeConstant(source.GetSensorType(), distance, beamCount, source.GetFieldKind());
    return contour;
}

std::unique_ptr<CShelter> MakeRectangleContour(const CShelter& source, int beamCount, int left, int front,
                                               int right)
{
    auto contour = std::make_unique<CPolyShelter>();
    if (!contour->InitializeFromRectangle(source.GetSensorType(), beamCount, left, front, right,
                                          source.GetFieldKind()))
        return nullptr;
    return contour;
}

std::unique_ptr<CShelter> AskConvertedShape(const CShelter& source, int code)
{
    return GetShelterEditor().AskConvertedShape(source, code);
}
