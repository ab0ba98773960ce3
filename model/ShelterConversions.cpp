#include "model/ShelterConversions.h"

#include "dialogs/CArcShapeDialog.h"
#include "dialogs/CRectShapeDialog.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/ViewMetricSetting.h"

#include <algorithm>

namespace {

constexpr int kDefaultBeamCount = 181;

// The dialogs check every length against the field's limits, which lie within 16 bits.
WORD ToWord(int cm) { return WORD(std::clamp(cm, 0, 0xFFFF)); }

// Rectangle extents, or null when the user cancels.
std::unique_ptr<CRectShapeDialog> AskRectangle(const CShelter& source, BOOL askBeamCount)
{
    auto dialog = std::make_unique<CRectShapeDialog>();
    dialog->m_bInch = IsInchDisplay();
    dialog->m_nLeft = dialog->m_nRight = dialog->m_nFront = source.GetDefaultDistance();
    dialog->m_nMinDistance = source.GetMinDistance();
    dialog->m_nMaxDistance = source.GetMaxDistance();
    dialog->m_nMaxWidth = source.GetMaxWidth();
    dialog->m_bShowBeamCount = askBeamCount;
    dialog->m_nBeamCount = kDefaultBeamCount;
    if (dialog->DoModal() != IDOK) return nullptr;
    return dialog;
}

// A radius up to maxDistance, or null when the user cancels.
std::unique_ptr<CArcShapeDialog> AskArc(const CShelter& source, int maxDistance, BOOL askBeamCount)
{
    auto dialog = std::make_unique<CArcShapeDialog>();
    dialog->m_bInch = IsInchDisplay();
    dialog->m_nRadius = source.GetDefaultDistance();
    dialog->m_nMinDistance = source.GetMinDistance();
    dialog->m_nMaxDistance = maxDistance;
    dialog->m_bShowBeamCount = askBeamCount;
    dialog->m_nBeamCount = kDefaultBeamCount;
    if (dialog->DoModal() != IDOK) return nullptr;
    return dialog;
}

} // namespace

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
    switch (code) {
    case kConvertToRectangle: {
        const auto size = AskRectangle(source, FALSE);
        if (!size) return nullptr;
        auto rectangle = std::make_unique<CRectShelter>();
        rectangle->Initialize(source.GetSensorType(), ToWord(size->m_nLeft), ToWord(size->m_nFront),
                              ToWord(size->m_nRight), source.GetFieldKind());
        return rectangle;
    }
    case kConvertToArc: {
        const auto size = AskArc(source, source.GetMaxDistance(), FALSE);
        if (!size) return nullptr;
        auto arc = std::make_unique<CArcShelter>();
        arc->Initialize(source.GetSensorType(), ToWord(size->m_nRadius), source.GetFieldKind());
        return arc;
    }
    case kConvertToRectangleContour: {
        const auto size = AskRectangle(source, TRUE);
        if (!size) return nullptr;
        return MakeRectangleContour(source, size->m_nBeamCount, size->m_nLeft, size->m_nFront, size->m_nRight);
    }
    case kConvertToArcContour: {
        // Every beam of the contour reaches the radius, the side beams too: the width limit applies.
        const auto size = AskArc(source, source.GetMaxWidth(), TRUE);
        if (!size) return nullptr;
        return MakeConstantContour(source, size->m_nRadius, size->m_nBeamCount);
    }
    default:
        return nullptr;
    }
}
