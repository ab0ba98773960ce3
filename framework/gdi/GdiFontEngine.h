#pragma once
// Turns a logical font into a Qt font of a given device size and measures it.
// Face names of the usual document fonts resolve to their metric-compatible free
// counterparts ("Arial" -> "Liberation Sans").
#include "framework/gdi/GdiDefs.h"

#include <QFont>
#include <QString>

struct GdiFontMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0; // ascent + descent
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
};

QString GdiResolveFaceName(const char* face);

// Fonts need a GUI application. Without one (command-line tools, plain unit tests)
// text is measured with fixed proportions of the default face and not drawn.
bool GdiFontsAvailable();

// deviceHeight follows lfHeight's sign rule, already in device pixels:
// negative = character (em) height, positive = cell height, 0 = a default size.
QFont GdiMakeFont(const LOGFONT& font, int deviceHeight, int defaultPixelSize);

GdiFontMetrics GdiMeasureFont(const QFont& font);
int GdiTextWidth(const QFont& font, const QString& text);
