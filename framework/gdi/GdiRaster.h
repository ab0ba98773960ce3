#pragma once
// Pixel-exact drawing on a 32-bit image in device "index space": the point
// (x, y) is the pixel in column x, row y. Every pixel of one fill or one
// stroke is mixed exactly once with the binary raster operation, so
// drawing twice with R2_XORPEN restores the image.
#include "framework/gdi/GdiDefs.h"

#include <QImage>
#include <QPolygon>
#include <QRegion>

#include <vector>

// How one fill or stroke mixes with the target.
struct GdiPaint {
    int rop2 = R2_COPYPEN;
    COLORREF color = 0;
    // HS_* for a hatched brush, kHalftone for the alternating pixels of focus frames, -1 solid.
    int hatch = -1;
    bool opaqueBackground = false; // hatch gaps and dash gaps take bkColor
    COLORREF bkColor = 0xFFFFFF;

    static constexpr int kHalftone = 100;
};

QRgb GdiToQRgb(COLORREF color);
COLORREF GdiFromQRgb(QRgb rgb);
// The source raster operations of BitBlt; false for an unknown one.
bool GdiIsSourceRop(DWORD rop);
// Cosmetic dash pattern of a pen style (on, off, ... in pixels); empty for solid.
std::vector<int> GdiDashPattern(int penStyle);

class GdiRaster {
public:
    // clip in device pixels; it is cut to the image.
    GdiRaster(QImage& image, const QRect& clip);

    void FillRegion(const QRegion& region, const GdiPaint& paint);
    void FillPolygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule, const GdiPaint& paint);
    // One-pixel line through the points; each segment leaves out its end point, so
    // joins are mixed once. closed: the last point joins the first.
    void StrokeCosmetic(const QPolygon& points, bool closed, int penStyle, const GdiPaint& paint);
    COLORREF GetPixel(QPoint p) const;
    // The colour the pixel got, CLR_INVALID outside.
    COLORREF SetPixel(QPoint p, COLORREF color);
    // Nearest-neighbour copy of srcRect into dst (both normalized), mirrored on request.
    bool Blit(const QRect& dst, const QImage& src, const QRect& srcRect, DWORD rop, bool mirrorX, bool mirrorY);
    void DrawText(QPoint baselineOrigin, const QString& text, const QFont& font, COLORREF color, const QRect* clip);

private:
    template <class Spans>
    void PaintSpans(Spans&& spans, const GdiPaint& paint);
    void MixPixel(int x, int y, std::uint32_t color, int rop2);

    QImage& m_image;
    QRect m_clip;
};
