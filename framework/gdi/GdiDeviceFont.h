#pragma once
// The Qt font a device draws a logical font with, and its metrics, made once and kept
// while the logical font, its device height and the default size stay the same, so
// drawing many labels does not resolve and measure the font again for each.
#include "framework/gdi/GdiFontEngine.h"

#include <QFontMetrics>

#include <optional>

class GdiDeviceFont {
public:
    // Arguments as GdiMakeFont takes them.
    GdiDeviceFont(const LOGFONT& logFont, int deviceHeight, int defaultPixelSize);

    bool Matches(const LOGFONT& logFont, int deviceHeight, int defaultPixelSize) const;

    const QFont& Font() const { return m_font; }
    const GdiFontMetrics& Metrics() const { return m_metrics; }
    // Device width of a run, as GdiTextWidth measures it.
    int TextWidth(const QString& text) const;

private:
    LOGFONT m_logFont;
    int m_deviceHeight;
    int m_defaultPixelSize;
    bool m_fontsAvailable;
    QFont m_font;
    GdiFontMetrics m_metrics;
    std::optional<QFontMetrics> m_measure; // only while fonts are available
};
