#include "framework/gdi/GdiRaster.h"

#include "framework/gdi/GdiFontEngine.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <type_traits>

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

// Four pixels at once: every mix is bitwise, so it works on the lanes alike.
using PixelLanes = std::uint32_t __attribute__((vector_size(16)));

void FillRun(std::uint32_t* line, int x0, int x1, std::uint32_t value)
{
    const PixelLanes lanes = {value, value, value, value};
    int x = x0;
    for (; x + 3 <= x1; x += 4) std::memcpy(line + x, &lanes, sizeof lanes);
    for (; x <= x1; ++x) line[x] = value;
}

// A span source calls its argument with (y, first x, last x) for every run of pixels.
template <class Spans>
void FillConstant(QImage& image, Spans&& spans, std::uint32_t value)
{
    spans([&](int y, int x0, int x1) { FillRun(reinterpret_cast<std::uint32_t*>(image.scanLine(y)), x0, x1, value); });
}

template <class Spans, class Mix>
void FillSpans(QImage& image, Spans&& spans, Mix mix)
{
    spans([&](int y, int x0, int x1) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = x0; x <= x1; ++x) line[x] = (mix(line[x], x, y) & kRgbMask) | kOpaque;
    });
}

long long FloorDiv(__int128 num, long long den)
{
    __int128 q = num / den;
    if ((num % den != 0) && ((num < 0) != (den < 0))) --q;
    return static_cast<long long>(q);
}

long long FloorDiv64(long long num, long long den)
{
    long long q = num / den;
    if ((num % den != 0) && ((num < 0) != (den < 0))) --q;
    return q;
}

// Scan conversion of polygons in index space: a pixel belongs to the area when its
// point lies inside; left and top edges are inside, right and bottom edges are not.
class PolygonScanner {
public:
    PolygonScanner(const std::vector<QPolygon>& polygons, Qt::FillRule rule, const QRect& clip)
        : m_rule(rule), m_clip(clip)
    {
        for (const QPolygon& polygon : polygons) {
            if (polygon.size() < 3) continue;
            for (qsizetype i = 0; i < polygon.size(); ++i) {
                const QPoint a = polygon[i], b = polygon[(i + 1) % polygon.size()];
                if (a.y() == b.y()) continue;
                const bool down = a.y() < b.y();
                const QPoint top = down ? a : b, bottom = down ? b : a;
                m_edges.push_back({top.x(), top.y(), bottom.x(), bottom.y(), down ? 1 : -1});
                m_small = m_small && IsSmall(a) && IsSmall(b);
            }
        }
        std::sort(m_edges.begin(), m_edges.end(), [](const Edge& l, const Edge& r) { return l.y0 < r.y0; });
    }

    template <class Emit>
    void operator()(Emit&& span)
    {
        if (m_edges.empty() || m_clip.isEmpty()) return;
        long long yFirst = m_edges.front().y0, yLast = yFirst;
        for (const Edge& e : m_edges) yLast = std::max(yLast, static_cast<long long>(e.y1) - 1);
        yFirst = std::max<long long>(yFirst, m_clip.top());
        yLast = std::min<long long>(yLast, m_clip.bottom());
        std::size_t next = 0;
        std::vector<const Edge*> active;
        std::vector<std::pair<long long, int>> crossings;
        for (long long y = yFirst; y <= yLast; ++y) {
            while (next < m_edges.size() && m_edges[next].y0 <= y) active.push_back(&m_edges[next++]);
            std::erase_if(active, [y](const Edge* e) { return e->y1 <= y; });
            crossings.clear();
            for (const Edge* e : active) {
                // First pixel column at or right of the crossing: ceil of an exact fraction.
                const long long dy = static_cast<long long>(e->y1) - e->y0;
                if (m_small) {
                    const long long num = e->x0 * dy + (y - e->y0) * (static_cast<long long>(e->x1) - e->x0);
                    crossings.emplace_back(-FloorDiv64(-num, dy), e->direction);
                    continue;
                }
                const __int128 num = static_cast<__int128>(e->x0) * dy + static_cast<__int128>(y - e->y0) * (static_cast<long long>(e->x1) - e->x0);
                crossings.emplace_back(-FloorDiv(-num, dy), e->direction);
            }
            std::sort(crossings.begin(), crossings.end());
            EmitRow(int(y), crossings, span);
        }
    }

private:
    struct Edge {
        int x0, y0, x1, y1; // y0 < y1
        int direction;
    };

    template <class Emit>
    void EmitRow(int y, const std::vector<std::pair<long long, int>>& crossings, Emit& span) const
    {
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += m_rule == Qt::WindingFill ? crossings[i].second : 1;
            const bool inside = m_rule == Qt::WindingFill ? winding != 0 : (winding % 2) != 0;
            if (!inside) continue;
            const long long from = std::max<long long>(crossings[i].first, m_clip.left());
            const long long to = std::min<long long>(crossings[i + 1].first - 1, m_clip.right());
            if (from <= to) span(y, int(from), int(to));
        }
    }

    // Coordinates below 2^30 keep the crossing's products within 64 bits.
    static bool IsSmall(QPoint p) { return p.x() > -(1 << 30) && p.x() < (1 << 30) && p.y() > -(1 << 30) && p.y() < (1 << 30); }

    Qt::FillRule m_rule;
    QRect m_clip;
    std::vector<Edge> m_edges;
    bool m_small = true;
};

// The binary raster operation, on one pixel or on lanes of them (all are bitwise).
template <class Pixels>
constexpr Pixels MixPixels(int rop2, Pixels p, Pixels d)
{
    switch (rop2) {
    case R2_BLACK: return p ^ p;
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
    case R2_WHITE: return (p ^ p) | kRgbMask;
    default: return p;
    }
}

constexpr std::uint32_t Rop2(int rop2, std::uint32_t p, std::uint32_t d) { return MixPixels(rop2, p, d); }

template <int mix>
void MixSolidRun(std::uint32_t* line, int x0, int x1, std::uint32_t color)
{
    const PixelLanes pen = {color, color, color, color};
    const PixelLanes rgb = {kRgbMask, kRgbMask, kRgbMask, kRgbMask};
    const PixelLanes opaque = {kOpaque, kOpaque, kOpaque, kOpaque};
    int x = x0;
    for (; x + 3 <= x1; x += 4) {
        PixelLanes d;
        std::memcpy(&d, line + x, sizeof d);
        d = (MixPixels(mix, pen, d) & rgb) | opaque;
        std::memcpy(line + x, &d, sizeof d);
    }
    for (; x <= x1; ++x) line[x] = (Rop2(mix, color, line[x]) & kRgbMask) | kOpaque;
}

constexpr std::uint32_t SourceRop(DWORD rop, std::uint32_t s, std::uint32_t d)
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

// Calls body with the mix as a compile-time constant, so pixel loops carry no switch.
template <class Body>
void WithRop2(int rop2, Body&& body)
{
    switch (rop2) {
    case R2_BLACK: body(std::integral_constant<int, R2_BLACK>()); break;
    case R2_NOTMERGEPEN: body(std::integral_constant<int, R2_NOTMERGEPEN>()); break;
    case R2_MASKNOTPEN: body(std::integral_constant<int, R2_MASKNOTPEN>()); break;
    case R2_NOTCOPYPEN: body(std::integral_constant<int, R2_NOTCOPYPEN>()); break;
    case R2_MASKPENNOT: body(std::integral_constant<int, R2_MASKPENNOT>()); break;
    case R2_NOT: body(std::integral_constant<int, R2_NOT>()); break;
    case R2_XORPEN: body(std::integral_constant<int, R2_XORPEN>()); break;
    case R2_NOTMASKPEN: body(std::integral_constant<int, R2_NOTMASKPEN>()); break;
    case R2_MASKPEN: body(std::integral_constant<int, R2_MASKPEN>()); break;
    case R2_NOTXORPEN: body(std::integral_constant<int, R2_NOTXORPEN>()); break;
    case R2_NOP: break;
    case R2_MERGENOTPEN: body(std::integral_constant<int, R2_MERGENOTPEN>()); break;
    case R2_MERGEPENNOT: body(std::integral_constant<int, R2_MERGEPENNOT>()); break;
    case R2_MERGEPEN: body(std::integral_constant<int, R2_MERGEPEN>()); break;
    case R2_WHITE: body(std::integral_constant<int, R2_WHITE>()); break;
    default: body(std::integral_constant<int, R2_COPYPEN>()); break;
    }
}

template <class Body>
void WithSourceRop(DWORD rop, Body&& body)
{
    switch (rop) {
    case SRCPAINT: body(std::integral_constant<DWORD, SRCPAINT>()); break;
    case SRCAND: body(std::integral_constant<DWORD, SRCAND>()); break;
    case SRCINVERT: body(std::integral_constant<DWORD, SRCINVERT>()); break;
    case SRCERASE: body(std::integral_constant<DWORD, SRCERASE>()); break;
    case NOTSRCCOPY: body(std::integral_constant<DWORD, NOTSRCCOPY>()); break;
    case NOTSRCERASE: body(std::integral_constant<DWORD, NOTSRCERASE>()); break;
    case MERGEPAINT: body(std::integral_constant<DWORD, MERGEPAINT>()); break;
    default: body(std::integral_constant<DWORD, SRCCOPY>()); break;
    }
}

} // namespace

QRgb GdiToQRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

COLORREF GdiFromQRgb(QRgb rgb) { return RGB(BYTE(qRed(rgb)), BYTE(qGreen(rgb)), BYTE(qBlue(rgb))); }

bool GdiIsSourceRop(DWORD rop)
{
    switch (rop) {
    case SRCCOPY: case SRCPAINT: case SRCAND: case SRCINVERT:
    case SRCERASE: case NOTSRCCOPY: case NOTSRCERASE: case MERGEPAINT:
        return true;
    default: return false;
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

template <class Spans>
void GdiRaster::PaintSpans(Spans&& spans, const GdiPaint& paint)
{
    const std::uint32_t color = GdiToQRgb(paint.color) & kRgbMask;
    const std::uint32_t bk = GdiToQRgb(paint.bkColor) & kRgbMask;
    const int rop = paint.rop2;
    if (paint.hatch < 0) {
        WithRop2(rop, [&](auto r) {
            constexpr int mix = decltype(r)::value;
            if constexpr (mix == R2_COPYPEN || mix == R2_NOTCOPYPEN || mix == R2_BLACK || mix == R2_WHITE)
                FillConstant(m_image, spans, (Rop2(mix, color, 0) & kRgbMask) | kOpaque);
            else
                spans([&](int y, int x0, int x1) {
                    MixSolidRun<mix>(reinterpret_cast<std::uint32_t*>(m_image.scanLine(y)), x0, x1, color);
                });
        });
        return;
    }
    const int hatch = paint.hatch;
    const bool opaque = paint.opaqueBackground;
    FillSpans(m_image, spans, [=](std::uint32_t d, int x, int y) {
        if (PatternHit(hatch, x, y)) return Rop2(rop, color, d);
        return opaque ? Rop2(rop, bk, d) : d;
    });
}

void GdiRaster::FillRegion(const QRegion& region, const GdiPaint& paint)
{
    if (paint.rop2 == R2_NOP) return;
    const QRegion clipped = region.intersected(m_clip);
    if (clipped.isEmpty()) return;
    PaintSpans([&clipped](auto&& span) {
        for (const QRect& r : clipped)
            for (int y = r.top(); y <= r.bottom(); ++y) span(y, r.left(), r.right());
    }, paint);
}

void GdiRaster::FillPolygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule, const GdiPaint& paint)
{
    if (paint.rop2 == R2_NOP) return;
    PolygonScanner scanner(polygons, rule, m_clip);
    PaintSpans(scanner, paint);
}

void GdiRaster::MixPixel(int x, int y, std::uint32_t color, int rop2)
{
    if (!m_clip.contains(x, y)) return;
    auto* line = reinterpret_cast<std::uint32_t*>(m_image.scanLine(y));
    line[x] = (Rop2(rop2, color, line[x]) & kRgbMask) | kOpaque;
}

namespace {

// Pixel access for the line loops: one detach, then plain pointer arithmetic.
struct PixelSink {
    explicit PixelSink(QImage& image, const QRect& clip)
        : bits(image.bits()), stride(image.bytesPerLine()),
          left(clip.left()), top(clip.top()), right(clip.right()), bottom(clip.bottom()) {}
    bool Inside(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    std::uint32_t& At(int x, int y) const { return reinterpret_cast<std::uint32_t*>(bits + qsizetype(y) * stride)[x]; }
    uchar* bits;
    qsizetype stride;
    int left, top, right, bottom;
};

} // namespace

namespace {

// Lines longer than this are cut to the clip first, so that far-off coordinates cost
// nothing; shorter ones are stepped pixel by pixel from their true start.
constexpr long long kLongLine = 1 << 16;

// Cuts a to b down to the part near clip (Liang-Barsky); advances the dash phase by the
// steps left out in front. False when nothing of the line comes near the clip.
template <class Skip>
bool ClipLongLineTo(const QRect& clip, QPoint& a, QPoint& b, long long steps, Skip&& skip)
{
    const double x0 = a.x(), y0 = a.y(), dx = double(b.x()) - a.x(), dy = double(b.y()) - a.y();
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - (clip.left() - 2), (clip.right() + 2) - x0, y0 - (clip.top() - 2), (clip.bottom() + 2) - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
    }
    if (t0 > t1) {
        skip(steps);
        return false;
    }
    const QPoint start(int(std::lround(x0 + t0 * dx)), int(std::lround(y0 + t0 * dy)));
    const QPoint end(int(std::lround(x0 + t1 * dx)), int(std::lround(y0 + t1 * dy)));
    skip(static_cast<long long>(t0 * double(steps)));
    a = start;
    b = end;
    return a != b;
}

} // namespace

void GdiRaster::StrokeCosmetic(const QPolygon& points, bool closed, int penStyle, const GdiPaint& paint)
{
    if (paint.rop2 == R2_NOP || points.isEmpty() || m_clip.isEmpty()) return;
    const std::uint32_t color = GdiToQRgb(paint.color) & kRgbMask;
    const std::uint32_t bk = GdiToQRgb(paint.bkColor) & kRgbMask;
    // The dash pattern unrolled to one flag per pixel; it runs on across segments.
    std::vector<unsigned char> pattern;
    for (std::size_t i = 0; const int length : GdiDashPattern(penStyle)) pattern.insert(pattern.end(), std::size_t(length), i++ % 2 == 0);
    const std::size_t period = pattern.size();
    std::size_t phase = 0;
    const PixelSink sink(m_image, m_clip);

    auto plot = [&](int x, int y) {
        bool on = true;
        if (period) {
            on = pattern[phase];
            if (++phase == period) phase = 0;
        }
        if (!sink.Inside(x, y) || (!on && !paint.opaqueBackground)) return;
        std::uint32_t& pixel = sink.At(x, y);
        pixel = (Rop2(paint.rop2, on ? color : bk, pixel) & kRgbMask) | kOpaque;
    };

    // Steps of a horizontal or vertical run outside the clip cost nothing but the phase.
    auto skip = [&](long long steps) {
        if (period && steps > 0) phase = std::size_t((phase + std::size_t(steps % (long long)period)) % period);
    };
    auto straight = [&](QPoint a, QPoint b) {
        const bool horizontal = a.y() == b.y();
        const int from = horizontal ? a.x() : a.y(), to = horizontal ? b.x() : b.y();
        const int fixed = horizontal ? a.y() : a.x();
        const int step = from < to ? 1 : -1;
        const int low = horizontal ? sink.left : sink.top, high = horizontal ? sink.right : sink.bottom;
        const bool fixedInside = horizontal ? (fixed >= sink.top && fixed <= sink.bottom) : (fixed >= sink.left && fixed <= sink.right);
        const long long count = std::abs(static_cast<long long>(to) - from); // the end point is left out
        if (!fixedInside) { skip(count); return; }
        // First and last step (0-based) that land inside [low, high].
        long long first = step > 0 ? static_cast<long long>(low) - from : static_cast<long long>(from) - high;
        long long last = step > 0 ? static_cast<long long>(high) - from : static_cast<long long>(from) - low;
        first = std::max(first, 0LL);
        last = std::min(last, count - 1);
        if (first > last) { skip(count); return; }
        skip(first);
        // Every step from first to last lands inside: the pixels are walked by pointer.
        const int start = from + int(first) * step;
        std::uint32_t* pixel = horizontal ? &sink.At(start, fixed) : &sink.At(fixed, start);
        const qsizetype advance = horizontal ? step : step * qsizetype(sink.stride / qsizetype(sizeof(std::uint32_t)));
        const bool opaque = paint.opaqueBackground;
        WithRop2(paint.rop2, [&](auto r) {
            constexpr int mix = decltype(r)::value;
            for (long long k = first; k <= last; ++k, pixel += advance) {
                bool on = true;
                if (period) {
                    on = pattern[phase] != 0;
                    if (++phase == period) phase = 0;
                }
                if (on || opaque) *pixel = (Rop2(mix, on ? color : bk, *pixel) & kRgbMask) | kOpaque;
            }
        });
        skip(count - 1 - last);
    };

    // Bresenham from a to b, leaving out b.
    auto segment = [&](QPoint a, QPoint b) {
        if (a.x() == b.x() || a.y() == b.y()) {
            straight(a, b);
            return;
        }
        const long long steps = std::max(std::abs(static_cast<long long>(b.x()) - a.x()), std::abs(static_cast<long long>(b.y()) - a.y()));
        if (steps > kLongLine && !ClipLongLineTo(m_clip, a, b, steps, skip)) return;
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
        if (rop == SRCCOPY) {
            for (int y = target.top(); y <= target.bottom(); ++y) {
                const auto* srcLine = reinterpret_cast<const std::uint32_t*>(source.constScanLine(y + shiftY)) + shiftX;
                auto* dstLine = reinterpret_cast<std::uint32_t*>(m_image.scanLine(y));
                std::copy(srcLine + target.left(), srcLine + target.right() + 1, dstLine + target.left());
            }
            return true;
        }
        WithSourceRop(rop, [&](auto r) {
            for (int y = target.top(); y <= target.bottom(); ++y) {
                const auto* srcLine = reinterpret_cast<const std::uint32_t*>(source.constScanLine(y + shiftY)) + shiftX;
                auto* dstLine = reinterpret_cast<std::uint32_t*>(m_image.scanLine(y));
                for (int x = target.left(); x <= target.right(); ++x)
                    dstLine[x] = (SourceRop(decltype(r)::value, srcLine[x], dstLine[x]) & kRgbMask) | kOpaque;
            }
        });
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
            dstLine[x] = (SourceRop(rop, srcLine[sx], dstLine[x]) & kRgbMask) | kOpaque;
        }
    }
    return true;
}

void GdiRaster::DrawText(QPoint baselineOrigin, const QString& text, const QFont& font, COLORREF color, const QRect* clip)
{
    if (!GdiFontsAvailable()) return;
    QPainter painter(&m_image);
    painter.setClipRect(clip ? (*clip & m_clip) : m_clip);
    painter.setFont(font);
    painter.setPen(QColor(GdiToQRgb(color)));
    painter.drawText(baselineOrigin, text);
}
