#include "framework/gdi/GdiFontEngine.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <strings.h>

namespace {

struct FaceAlias {
    const char* classic;
    const char* available;
};

constexpr FaceAlias kFaceAliases[] = {
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"MS Shell Dlg", "Liberation Sans"},
    {"MS Shell Dlg 2", "Liberation Sans"},
    {"Tahoma", "Liberation Sans"},
    {"System", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
};

// Proportions of Liberation Sans, used where no font can be opened.
constexpr double kFallbackAscent = 0.905;
constexpr double kFallbackDescent = 0.212;
constexpr double kFallbackAdvance = 0.55;

// Pixel size that gives the requested cell height (ascent + descent) for this face.
int EmForCellHeight(const QFont& base, int cellHeight)
{
    if (!GdiFontsAvailable()) return std::max(1, int(std::lround(cellHeight / (kFallbackAscent + kFallbackDescent))));
    QFont probe(base);
    constexpr int kProbeSize = 1000;
    probe.setPixelSize(kProbeSize);
    const QFontMetricsF m(probe);
    const double cell = m.ascent() + m.descent();
    if (cell <= 0) return cellHeight;
    return std::max(1, int(std::lround(cellHeight * kProbeSize / cell)));
}

} // namespace

QString GdiResolveFaceName(const char* face)
{
    if (!face || !*face) return QStringLiteral("Liberation Sans");
    const std::size_t length = strnlen(face, LF_FACESIZE);
    const std::string_view name(face, length);
    for (const auto& alias : kFaceAliases) {
        if (name.size() == std::strlen(alias.classic) && strncasecmp(face, alias.classic, name.size()) == 0)
            return QString::fromLatin1(alias.available);
    }
    return QString::fromUtf8(face, qsizetype(length));
}

QFont GdiMakeFont(const LOGFONT& lf, int deviceHeight, int defaultPixelSize)
{
    QFont font(GdiResolveFaceName(lf.lfFaceName));
    const BYTE family = lf.lfPitchAndFamily & 0xF0;
    if (family == FF_ROMAN) font.setStyleHint(QFont::Serif);
    else if (family == FF_MODERN || (lf.lfPitchAndFamily & 0x03) == FIXED_PITCH) font.setStyleHint(QFont::Monospace);
    else font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Weight(std::clamp(int(lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight), 1, 1000)));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);

    int pixelSize = defaultPixelSize;
    if (deviceHeight < 0) pixelSize = -deviceHeight;
    else if (deviceHeight > 0) pixelSize = EmForCellHeight(font, deviceHeight);
    font.setPixelSize(std::max(1, pixelSize));
    return font;
}

bool GdiFontsAvailable()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

GdiFontMetrics GdiMeasureFont(const QFont& font)
{
    GdiFontMetrics r;
    if (!GdiFontsAvailable()) {
        const double em = font.pixelSize();
        r.ascent = int(std::lround(em * kFallbackAscent));
        r.descent = int(std::lround(em * kFallbackDescent));
        r.height = r.ascent + r.descent;
        r.internalLeading = std::max(0, r.height - font.pixelSize());
        r.aveCharWidth = r.maxCharWidth = std::max(1, int(std::lround(em * kFallbackAdvance)));
        return r;
    }
    const QFontMetrics m(font);
    r.ascent = m.ascent();
    r.descent = m.descent();
    r.height = r.ascent + r.descent;
    r.internalLeading = std::max(0, r.height - font.pixelSize());
    r.externalLeading = std::max(0, m.leading());
    r.aveCharWidth = m.averageCharWidth();
    r.maxCharWidth = m.maxWidth();
    return r;
}

int GdiTextWidth(const QFont& font, const QString& text)
{
    if (!GdiFontsAvailable()) return int(std::lround(text.size() * font.pixelSize() * kFallbackAdvance));
    return QFontMetrics(font).horizontalAdvance(text);
}
