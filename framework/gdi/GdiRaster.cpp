#include "framework/gdi/GdiRaster.h"

#include <QPainter>

#include <cstdlib>

namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;
constexpr std::uint32_t kOpaque = 0xFF000000u;

// Whether a pattern brush paints pixel (x, y) with its colour (else its background).
bool PatternHit(int hatch, int x, int y)
{
    switch (hatch) {
    case HS_HORIZONTAL: return (y & 7) == 0;
    case HS_VERTICAL: return (x & 7) == 0;
    case HS_FDIAGONAL: return ((x - y) & 7) == 0;
    case HS_BDIAGONAL: return ((x + y) & 7) == 0;
    case HS_CROSS: return (y & 7) == 0 || (x & 7) == 0;
    case HS_DIAGCROSS: return ((x - y) & 7) == 0 || ((x + y) & 7) == 0;
    case GdiPaint::kHalftone: return ((x + y) & 1) == 0;
    default: return true;
    }
}

template <class Mix>
void FillSpans(QImage& image, const QRegion& region, Mix mix)
{
    for (const QRect& r : region) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            for (int x = r.left(); x <= r.right(); ++x) line[x] = (mix(line[x], x, y) & kRgbMask) | kOpaque;
        }
    }
}

} // namespace

QRgb GdiToQRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

COLORREF GdiFromQRgb(QRgb rgb) { return RGB(BYTE(qRed(rgb)), BYTE(qGreen(rgb)), BYTE(qBlue(rgb))); }

std::uint32_t GdiMixRop2(int rop2, std::uint32_t p, std::uint32_t d)
{
    switch (rop2) {
    case R2_BLACK: return 0;
    case R2_NOTMERGEPEN: return ~(p | d);
    case R2_MASKNOTPEN: return ~p & d;
    case R2_NOTCOPYPEN: return ~p;
    case R2_MASKPENNOT: return p & ~d;
    case R2_NOT: return ~d;
    case R2_XORPEN: return p ^ d;
    case R2_NOTMASKPEN: return ~(p & d);
    case R2_MASKPEN: return p & d;
    case R2_NOTXORPEN: return ~(p ^ d);
    case R2_NOP: return d;
    case R2_MERGENOTPEN: return ~p | d;
    case R2_COPYPEN: return p;
    case R2_MERGEPENNOT: return p | ~d;
    case R2_MERGEPEN: return p | d;
    case R2_WHITE: return kRgbMask;
    default: return p;
    }
}

bool GdiIsSourceRop(DWORD rop)
{
    switch (rop) {
    case SRCCOPY: case SRCPAINT: case SRCAND: case SRCINVERT:
    case SRCERASE: case NOTSRCCOPY: case NOTSRCERASE: case MERGEPAINT:
        return true;
    default: return false;
    }
}

std::uint32_t GdiMixSourceRop(DWORD rop, std::uint32_t s, std::uint32_t d)
{
    switch (rop) {
    case SRCPAINT: return s | d;
    case SRCAND: return s & d;
    case SRCINVERT: return s ^ d;
    case SRCERASE: return s & ~d;
    case NOTSRCCOPY: return ~s;
    case NOTSRCERASE: return ~(s | d);
    case MERGEPAINT: return ~s | d;
    default: return s;
    }
}

std::vector<int> GdiDashPattern(int penStyle)
{
    switch (penStyle) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

GdiRaster::GdiRaster(QImage& image, const QRect& clip) : m_image(image), m_clip(clip & image.rect()) {}

QRegion GdiRaster::RegionOf(const std::vector<QPolygon>& polygons, Qt::FillRule rule)
{
    QRegion region;
    for (const QPolygon& polygon : polygons) {
        if (polygon.size() < 3) continue;
        const QRegion part(polygon, rule);
        // Alternate filling across polygons: overlaps cancel; winding: they join.
        region = rule == Qt::OddEvenFill ? region.xored(part) : region.united(part);
    }
    return region;
}

void GdiRaster::FillRegion(const QRegion& region, const GdiPaint& paint)
{
    if (paint.rop2 == R2_NOP) return;
    const QRegion clipped = region.intersected(m_clip);
    if (clipped.isEmpty()) return;
    const std::uint32_t color = GdiToQRgb(paint.color) & kRgbMask;
    const std::uint32_t bk = GdiToQRgb(paint.bkColor) & kRgbMask;
    const int rop = paint.rop2;
    if (paint.hatch < 0) {
        if (rop == R2_COPYPEN) {
            FillSpans(m_image, clipped, [color](std::uint32_t, int, int) { return color; });
        } else if (rop == R2_XORPEN) {
            FillSpans(m_image, clipped, [color](std::uint32_t d, int, int) { return d ^ color; });
        } else {
            FillSpans(m_image, clipped, [color, rop](std::uint32_t d, int, int) { return GdiMixRop2(rop, color, d); });
        }
        return;
    }
    const int hatch = paint.hatch;
    const bool opaque = paint.opaqueBackground;
    FillSpans(m_image, clipped, [=](std::uint32_t d, int x, int y) {
        if (PatternHit(hatch, x, y)) return GdiMixRop2(rop, color, d);
        return opaque ? GdiMixRop2(rop, bk, d) : d;
    });
}

void GdiRaster::FillPolygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule, const GdiPaint& paint)
{
    FillRegion(RegionOf(polygons, rule), paint);
}

void GdiRaster::MixPixel(int x, int y, std::uint32_t color, int rop2)
{
    if (!m_clip.contains(x, y)) return;
    auto* line = reinterpret_cast<std::uint32_t*>(m_image.scanLine(y));
    line[x] = (GdiMixRop2(rop2, color, line[x]) & kRgbMask) | kOpaque;
}

void GdiRaster::StrokeCosmetic(const QPolygon& points, bool closed, int penStyle, const GdiPaint& paint)
{
    if (paint.rop2 == R2_NOP || points.isEmpty() || m_clip.isEmpty()) return;
    const std::uint32_t color = GdiToQRgb(paint.color) & kRgbMask;
    const std::uint32_t bk = GdiToQRgb(paint.bkColor) & kRgbMask;
    const std::vector<int> dashes = GdiDashPattern(penStyle);
    std::size_t dashIndex = 0;
    int dashLeft = dashes.empty() ? 0 : dashes[0];

    auto plot = [&](int x, int y) {
        bool on = true;
        if (!dashes.empty()) {
            on = dashIndex % 2 == 0;
            if (--dashLeft == 0) {
                dashIndex = (dashIndex + 1) % dashes.size();
                dashLeft = dashes[dashIndex];
            }
        }
        if (on) MixPixel(x, y, color, paint.rop2);
        else if (paint.opaqueBackground) MixPixel(x, y, bk, paint.rop2);
    };

    // Bresenham from a to b, leaving out b.
    auto segment = [&](QPoint a, QPoint b) {
        int x = a.x(), y = a.y();
        const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
        const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
        int err = dx + dy;
        while (x != b.x() || y != b.y()) {
            plot(x, y);
            const int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x += sx; }
            if (e2 <= dx) { err += dx; y += sy; }
        }
    };

    for (int i = 1; i < points.size(); ++i) segment(points[i - 1], points[i]);
    if (closed && points.size() > 2) segment(points.back(), points.front());
}

COLORREF GdiRaster::GetPixel(QPoint p) const
{
    if (!m_image.rect().contains(p)) return CLR_INVALID;
    return GdiFromQRgb(m_image.pixel(p));
}

COLORREF GdiRaster::SetPixel(QPoint p, COLORREF color)
{
    if (!m_clip.contains(p)) return CLR_INVALID;
    MixPixel(p.x(), p.y(), GdiToQRgb(color), R2_COPYPEN);
    return GetPixel(p);
}

bool GdiRaster::Blit(const QRect& dst, const QImage& src, const QRect& srcRect, DWORD rop, bool mirrorX, bool mirrorY)
{
    if (!GdiIsSourceRop(rop) || src.isNull() || dst.isEmpty() || srcRect.isEmpty()) return false;
    const QRect target = dst & m_clip;
    // When the source is the image itself, read from a copy.
    const QImage source = (&src == &m_image || src.cacheKey() == m_image.cacheKey()) ? src.copy() : src;
    const bool oneToOne = !mirrorX && !mirrorY && dst.size() == srcRect.size();
    if (oneToOne && QRect(QPoint(0, 0), source.size()).contains(srcRect)) {
        const int shiftX = srcRect.left() - dst.left(), shiftY = srcRect.top() - dst.top();
        for (int y = target.top(); y <= target.bottom(); ++y) {
            const auto* srcLine = reinterpret_cast<const std::uint32_t*>(source.constScanLine(y + shiftY)) + shiftX;
            auto* dstLine = reinterpret_cast<std::uint32_t*>(m_image.scanLine(y));
            for (int x = target.left(); x <= target.right(); ++x)
                dstLine[x] = (GdiMixSourceRop(rop, srcLine[x] & kRgbMask, dstLine[x] & kRgbMask) & kRgbMask) | kOpaque;
        }
        return true;
    }
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const int dy = mirrorY ? dst.bottom() - y : y - dst.top();
        const int sy = srcRect.top() + int(static_cast<long long>(dy) * srcRect.height() / dst.height());
        if (sy < 0 || sy >= source.height()) continue;
        const auto* srcLine = reinterpret_cast<const std::uint32_t*>(source.constScanLine(sy));
        auto* dstLine = reinterpret_cast<std::uint32_t*>(m_image.scanLine(y));
        for (int x = target.left(); x <= target.right(); ++x) {
            const int dx = mirrorX ? dst.right() - x : x - dst.left();
            const int sx = srcRect.left() + int(static_cast<long long>(dx) * srcRect.width() / dst.width());
            if (sx < 0 || sx >= source.width()) continue;
            dstLine[x] = (GdiMixSourceRop(rop, srcLine[sx] & kRgbMask, dstLine[x] & kRgbMask) & kRgbMask) | kOpaque;
        }
    }
    return true;
}

void GdiRaster::DrawText(QPoint baselineOrigin, const QString& text, const QFont& font, COLORREF color, const QRect* clip)
{
    QPainter painter(&m_image);
    painter.setClipRect(clip ? (*clip & m_clip) : m_clip);
    painter.setFont(font);
    painter.setPen(QColor(GdiToQRgb(color)));
    painter.drawText(baselineOrigin, text);
}
