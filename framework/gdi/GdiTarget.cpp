#include "framework/gdi/GdiTarget.h"

GdiTarget::~GdiTarget() = default;

// --- image ---

GdiRaster GdiImageTarget::Raster() const
{
    const QRect whole = m_image->rect();
    return GdiRaster(*m_image, m_clip ? (*m_clip & whole) : whole);
}

void GdiImageTarget::FillPolygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule, const GdiPaint& paint)
{
    if (m_image) Raster().FillPolygons(polygons, rule, paint);
}

void GdiImageTarget::FillRect(const QRect& rect, const GdiPaint& paint)
{
    if (m_image) Raster().FillRegion(QRegion(rect.normalized()), paint);
}

void GdiImageTarget::StrokeCosmetic(const QPolygon& points, bool closed, int penStyle, const GdiPaint& paint)
{
    if (m_image) Raster().StrokeCosmetic(points, closed, penStyle, paint);
}

void GdiImageTarget::DrawText(QPoint baselineOrigin, const QString& text, const QFont& font, COLORREF color, const QRect* clip)
{
    if (m_image) Raster().DrawText(baselineOrigin, text, font, color, clip);
}

bool GdiImageTarget::Blit(const QRect& dst, const QImage& src, const QRect& srcRect, DWORD rop, bool mirrorX, bool mirrorY)
{
    return m_image && Raster().Blit(dst, src, srcRect, rop, mirrorX, mirrorY);
}

COLORREF GdiImageTarget::GetPixel(QPoint p)
{
    if (!m_image) return CLR_INVALID;
    if (m_clip && !m_clip->contains(p)) return CLR_INVALID;
    return Raster().GetPixel(p);
}

COLORREF GdiImageTarget::SetPixel(QPoint p, COLORREF color)
{
    return m_image ? Raster().SetPixel(p, color) : CLR_INVALID;
}

// --- deferred image ---

void GdiDeferredImageTarget::Realize()
{
    if (!m_provide) return;
    const Provider provide = std::move(m_provide);
    m_provide = nullptr;
    SetImage(provide());
}

void GdiDeferredImageTarget::FillPolygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule, const GdiPaint& paint)
{
    Realize();
    GdiImageTarget::FillPolygons(polygons, rule, paint);
}

void GdiDeferredImageTarget::FillRect(const QRect& rect, const GdiPaint& paint)
{
    Realize();
    GdiImageTarget::FillRect(rect, paint);
}

void GdiDeferredImageTarget::StrokeCosmetic(const QPolygon& points, bool closed, int penStyle, const GdiPaint& paint)
{
    Realize();
    GdiImageTarget::StrokeCosmetic(points, closed, penStyle, paint);
}

void GdiDeferredImageTarget::DrawText(QPoint baselineOrigin, const QString& text, const QFont& font, COLORREF color,
                                      const QRect* clip)
{
    Realize();
    GdiImageTarget::DrawText(baselineOrigin, text, font, color, clip);
}

bool GdiDeferredImageTarget::Blit(const QRect& dst, const QImage& src, const QRect& srcRect, DWORD rop, bool mirrorX,
                                  bool mirrorY)
{
    Realize();
    return GdiImageTarget::Blit(dst, src, srcRect, rop, mirrorX, mirrorY);
}

COLORREF GdiDeferredImageTarget::GetPixel(QPoint p)
{
    Realize();
    return GdiImageTarget::GetPixel(p);
}

COLORREF GdiDeferredImageTarget::SetPixel(QPoint p, COLORREF color)
{
    Realize();
    return GdiImageTarget::SetPixel(p, color);
}

QImage* GdiDeferredImageTarget::Image()
{
    Realize();
    return GdiImageTarget::Image();
}

// --- page image ---

int GdiPageImageTarget::StartDoc(const QString&, const char*)
{
    if (m_inDoc) return SP_ERROR;
    m_inDoc = true;
    return 1;
}

int GdiPageImageTarget::StartPage()
{
    if (!m_inDoc || m_inPage) return SP_ERROR;
    m_inPage = true;
    if (Image()) Image()->fill(0xFFFFFFFFu);
    return 1;
}

int GdiPageImageTarget::EndPage()
{
    if (!m_inPage) return SP_ERROR;
    m_inPage = false;
    return 1;
}

int GdiPageImageTarget::EndDoc()
{
    if (!m_inDoc) return SP_ERROR;
    m_inDoc = m_inPage = false;
    return 1;
}

int GdiPageImageTarget::AbortDoc()
{
    m_inDoc = m_inPage = false;
    return 1;
}

// --- nothing ---

int GdiNullTarget::StartDoc(const QString&, const char*)
{
    if (!m_printer || m_inDoc) return SP_ERROR;
    m_inDoc = true;
    return 1;
}

int GdiNullTarget::StartPage()
{
    if (!m_inDoc || m_inPage) return SP_ERROR;
    m_inPage = true;
    return 1;
}

int GdiNullTarget::EndPage()
{
    if (!m_inPage) return SP_ERROR;
    m_inPage = false;
    return 1;
}

int GdiNullTarget::EndDoc()
{
    if (!m_inDoc) return SP_ERROR;
    m_inDoc = m_inPage = false;
    return 1;
}

int GdiNullTarget::AbortDoc()
{
    m_inDoc = m_inPage = false;
    return 1;
}
