#include "framework/ui/DialogTemplateLayout.h"

#include <cstdint>

namespace {

// a * b / c rounded half away from zero, in 64 bits so no product overflows.
int ScaleRounded(int a, int b, int c)
{
    if (c == 0) return -1;
    const std::int64_t product = std::int64_t(a) * b;
    const std::int64_t half = (c > 0 ? c : -c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = ((product < 0 ? -product : product) + half) / (c > 0 ? c : -c);
    return int(negative ? -magnitude : magnitude);
}

} // namespace

DialogBaseUnits DialogBaseUnitsFromMetrics(int alphabetWidth, int fontHeight)
{
    return {(alphabetWidth / 26 + 1) / 2, fontHeight};
}

int DialogUnitsToPixelsX(int x, const DialogBaseUnits& units) { return ScaleRounded(x, units.cx, 4); }

int DialogUnitsToPixelsY(int y, const DialogBaseUnits& units) { return ScaleRounded(y, units.cy, 8); }

CRect DialogUnitsToPixels(const CRect& dialogUnits, const DialogBaseUnits& units)
{
    return {DialogUnitsToPixelsX(dialogUnits.left, units), DialogUnitsToPixelsY(dialogUnits.top, units),
            DialogUnitsToPixelsX(dialogUnits.right, units), DialogUnitsToPixelsY(dialogUnits.bottom, units)};
}

int DialogFontPixelHeight(const DialogFontSpec& font, int dpi)
{
    const int points = font.pointSize > 0 ? font.pointSize : 8;
    return ScaleRounded(points, dpi > 0 ? dpi : 96, 72);
}

CString DialogFontFace(const CString& face)
{
    static const char* const classicFaces[] = {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif",
                                               "Tahoma", "System", "Helv", "Arial"};
    if (face.IsEmpty()) return CString("Liberation Sans");
    for (const char* classic : classicFaces) {
        if (face.CompareNoCase(classic) == 0) return CString("Liberation Sans");
    }
    return face;
}
