#pragma once
// Dialog units to pixels: a horizontal unit is a quarter of the dialog
// font's average character width, a vertical unit an eighth of its character height.
#include "framework/core/CRect.h"
#include "framework/core/CString.h"

struct DialogBaseUnits {
    int cx = 0; // average character width in pixels
    int cy = 0; // character height in pixels
};

// Base units from the text width of the 52 letters A-Z a-z and the font height.
DialogBaseUnits DialogBaseUnitsFromMetrics(int alphabetWidth, int fontHeight);

int DialogUnitsToPixelsX(int x, const DialogBaseUnits& units);
int DialogUnitsToPixelsY(int y, const DialogBaseUnits& units);
CRect DialogUnitsToPixels(const CRect& dialogUnits, const DialogBaseUnits& units);

// The font a dialog template names, resolved to one the machine has. A point size of 0
// stands for a template without a FONT statement.
struct DialogFontSpec {
    CString face;
    int pointSize = 0;
    int weight = 0;
    bool italic = false;
};

// Pixel height of the template font's characters at a logical resolution (dots per inch).
int DialogFontPixelHeight(const DialogFontSpec& font, int dpi);

// The face the machine shows for a template's face: the old bitmap dialog faces become
// the metric-compatible sans serif.
CString DialogFontFace(const CString& face);
