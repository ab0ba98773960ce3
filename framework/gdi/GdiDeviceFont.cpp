#include "framework/gdi/GdiDeviceFont.h"

#include <cstring>

namespace {

bool SameLogFont(const LOGFONT& a, const LOGFONT& b)
{
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

} // namespace

GdiDeviceFont::GdiDeviceFont(const LOGFONT& logFont, int deviceHeight, int defaultPixelSize)
    : m_logFont(logFont), m_deviceHeight(deviceHeight), m_defaultPixelSize(defaultPixelSize),
      m_fontsAvailable(GdiFontsAvailable()), m_font(GdiMakeFont(logFont, deviceHeight, defaultPixelSize)),
      m_metrics(GdiMeasureFont(m_font))
{
    if (m_fontsAvailable) m_measure.emplace(m_font);
}

bool GdiDeviceFont::Matches(const LOGFONT& logFont, int deviceHeight, int defaultPixelSize) const
{
    return deviceHeight == m_deviceHeight && defaultPixelSize == m_defaultPixelSize &&
           GdiFontsAvailable() == m_fontsAvailable && SameLogFont(logFont, m_logFont);
}

int GdiDeviceFont::TextWidth(const QString& text) const
{
    return m_measure ? m_measure->horizontalAdvance(text) : GdiTextWidth(m_font, text);
}
