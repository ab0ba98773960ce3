#include "framework/gdi/GdiTarget.h"

GdiTarget::~GdiTarget() = default;

// --- image ---

// Every drawing asks Image() for its pixels, so a target that makes them late has them
// made on the first drawing or read.
std::optional<GdiRaster> GdiImageTarget::Raster()
{
    QImage* image = Image();
    if (!image) return std::nullopt;
    const QRect whole = image->rect();
    return GdiRaster(*image, m_clip ? (*m_clip & whole) : whole);
}

void GdiImageTarget::FillPolygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule, const GdiPaint& paint)
{
    if (auto raster = Raster()) raster->FillPolygons(polygons, rule, paint);
}

void GdiImageTarget::FillRect(const QRect& rect, const GdiPaint& paint)
{
    if (auto raster = Raster()) raster->FillRegion(QRegion(rect.normalized()), paint);
}

void GdiImageTarget::StrokeCosmetic(const QPolygon& points, bool closed, int penStyle, const GdiPaint& paint)
{
    if (auto raster = Raster()) raster->StrokeCosmetic(points, closed, penStyle, paint);
}

void GdiImageTarget::DrawText(QPoint baselineOrigin, const QString& text, const QFont& font, COLORREF color, const QRect* clip)
{
    if (auto raster = Raster()) raster->DrawText(baselineOrigin, text, font, color, clip);
}

bool GdiImageTarget::Blit(const QRect& dst, const QImage& src, const QRect& srcRect, DWORD rop, bool mirrorX, bool mirrorY)
{
    auto raster = Raster();
    return raster && raster->Blit(dst, src, srcRect, rop, mirrorX, mirrorY);
}

COLORREF GdiImageTarget::GetPixel(QPoint p)
{
    auto raster = Raster();
    if (!raster) return CLR_INVALID;
    if (m_clip && !m_clip->contains(p)) return CLR_INVALID;
    return raster->GetPixel(p);
}

COLORREF GdiImageTarget::SetPixel(QPoint p, COLORREF color)
{
    auto raster = Raster();
    return raster ? raster->SetPixel(p, color) : CLR_INVALID;
}

// --- deferred image ---

QImage* GdiDeferredImageTarget::Image()
{
    if (m_provide) {
        const Provider provide = std::move(m_provide);
        m_provide = nullptr;
        SetImage(provide());
    }
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
