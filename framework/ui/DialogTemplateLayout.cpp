#include "framework/ui/DialogTemplateLayout.h"

#include "framework/gdi/GdiDefs.h"

DialogBaseUnits DialogBaseUnitsFromMetrics(int alphabetWidth, int fontHeight)
{
    return {(alphabetWidth / 26 + 1) / 2, fontHeight};
}

int DialogUnitsToPixelsX(int x, const DialogBaseUnits& units) { return MulDiv(x, units.cx, 4); }

int DialogUnitsToPixelsY(int y, const DialogBaseUnits& units) { return MulDiv(y, units.cy, 8); }

CRect DialogUnitsToPixels(const CRect& dialogUnits, const DialogBaseUnits& units)
{
    return {DialogUnitsToPixelsX(dialogUnits.left, units), DialogUnitsToPixelsY(dialogUnits.top, units),
            DialogUnitsToPixelsX(dialogUnits.right, units), DialogUnitsToPixelsY(dialogUnits.bottom, units)};
}

int DialogFontPixelHeight(const DialogFontSpec& font, int dpi)
{
    const int points = font.pointSize > 0 ? font.pointSize : 8;
    return MulDiv(points, dpi > 0 ? dpi : 96, 72);
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
