#include "framework/gdi/GdiPdfTarget.h"

#include "framework/core/CException.h"
#include "framework/core/CReplacingFile.h"
#include "framework/gdi/GdiFontEngine.h"
#include "framework/gdi/GdiMapping.h"

#include <QPageSize>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace {

// Resolution of the shadow page that stands in for the paper where pixels mix.
constexpr int kShadowDpi = 150;

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

int DevicePixels(int hundredthsMm, int dpi) { return int(GdiScaleRound(hundredthsMm, dpi, 2540)); }

Qt::BrushStyle HatchStyle(int hatch)
{
    switch (hatch) {
    case HS_HORIZONTAL: return Qt::HorPattern;
    case HS_VERTICAL: return Qt::VerPattern;
    case HS_FDIAGONAL: return Qt::FDiagPattern;
    case HS_BDIAGONAL: return Qt::BDiagPattern;
    case HS_CROSS: return Qt::CrossPattern;
    case HS_DIAGCROSS: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

// The colour a mix gives regardless of the paper beneath; false when it depends on it.
bool FixedColour(const GdiPaint& paint, COLORREF& colour)
{
    switch (paint.rop2) {
    case R2_COPYPEN: colour = paint.color; return true;
    case R2_NOTCOPYPEN: colour = ~paint.color & 0xFFFFFF; return true;
    case R2_BLACK: colour = 0; return true;
    case R2_WHITE: colour = 0xFFFFFF; return true;
    default: return false;
    }
}

QPainterPath PathOf(const std::vector<QPolygon>& polygons, Qt::FillRule rule)
{
    QPainterPath path;
    path.setFillRule(rule);
    for (const QPolygon& polygon : polygons) {
        if (polygon.size() < 3) continue;
        path.addPolygon(QPolygonF(polygon));
        path.closeSubpath();
    }
    return path;
}

QString FailureText(const CException& error)
{
    const auto* file = dynamic_cast<const CFileException*>(&error);
    return file != nullptr ? QString::fromStdString(CFileException::OsErrorText(file->m_lOsError).str()) : QString();
}

} // namespace

QPageSize GdiPageSizeOf(const GdiPageSetup& page)
{
    return QPageSize(QSizeF(page.paperWidth / 100.0, page.paperHeight / 100.0), QPageSize::Millimeter);
}

GdiPdfTarget::GdiPdfTarget(const QString& path, const GdiPageSetup& page) : m_path(path), m_page(page)
{
    m_offset = {DevicePixels(page.unprintableLeft, page.dpiX), DevicePixels(page.unprintableTop, page.dpiY)};
    m_printable = {DevicePixels(page.paperWidth - page.unprintableLeft - page.unprintableRight, page.dpiX),
                   DevicePixels(page.paperHeight - page.unprintableTop - page.unprintableBottom, page.dpiY)};
    m_shadowScale = std::max(1, int(std::lround(double(std::min(page.dpiX, page.dpiY)) / kShadowDpi)));
}

GdiPdfTarget::~GdiPdfTarget()
{
    if (m_painter.isActive()) m_painter.end();
}

void GdiPdfTarget::PrepareVector()
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    // Otherwise images may be stored as JPEG, shifting the colours of mixed areas.
    m_painter.setRenderHint(QPainter::LosslessImageRendering, true);
    if (m_clip) m_painter.setClipRect(*m_clip);
    else m_painter.setClipping(false);
}

GdiRaster GdiPdfTarget::ShadowRaster()
{
    const QRect whole = m_shadow.rect();
    return GdiRaster(m_shadow, m_clip ? (ToShadow(*m_clip) & whole) : whole);
}

QPolygon GdiPdfTarget::ToShadow(const QPolygon& polygon) const
{
    QPolygon scaled;
    scaled.reserve(polygon.size());
    for (const QPoint& p : polygon) scaled << QPoint(FloorDiv(p.x(), m_shadowScale), FloorDiv(p.y(), m_shadowScale));
    return scaled;
}

QRect GdiPdfTarget::ToShadow(const QRect& r) const
{
    const QPoint topLeft(FloorDiv(r.left(), m_shadowScale), FloorDiv(r.top(), m_shadowScale));
    const QPoint bottomRight(FloorDiv(r.right(), m_shadowScale), FloorDiv(r.bottom(), m_shadowScale));
    return QRect(topLeft, bottomRight);
}

void GdiPdfTarget::PlaceShadow(const QRect& deviceBox, const QPainterPath& shape)
{
    const QRect box = ToShadow(deviceBox) & m_shadow.rect();
    if (box.isEmpty()) return;
    const QRectF onPage(box.left() * m_shadowScale, box.top() * m_shadowScale,
                        box.width() * m_shadowScale, box.height() * m_shadowScale);
    m_painter.save();
    PrepareVector();
    m_painter.setClipPath(shape, m_clip ? Qt::IntersectClip : Qt::ReplaceClip);
    m_painter.drawImage(onPage, m_shadow.copy(box));
    m_painter.restore();
}

void GdiPdfTarget::FillPolygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule, const GdiPaint& paint)
{
    if (!Drawing() || paint.rop2 == R2_NOP) return;
    std::vector<QPolygon> shadowPolygons;
    shadowPolygons.reserve(polygons.size());
    for (const QPolygon& p : polygons) shadowPolygons.push_back(ToShadow(p));
    ShadowRaster().FillPolygons(shadowPolygons, rule, paint);

    const QPainterPath path = PathOf(polygons, rule);
    COLORREF colour = 0;
    if (!FixedColour(paint, colour)) {
        PlaceShadow(path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1), path);
        return;
    }
    PrepareVector();
    if (paint.hatch >= 0 && paint.opaqueBackground) m_painter.fillPath(path, QColor(GdiToQRgb(paint.bkColor)));
    m_painter.fillPath(path, QBrush(QColor(GdiToQRgb(colour)), paint.hatch >= 0 ? HatchStyle(paint.hatch) : Qt::SolidPattern));
}

void GdiPdfTarget::FillRect(const QRect& rect, const GdiPaint& paint)
{
    const QRect r = rect.normalized();
    // Corners one past the last pixel, as the index-space fill expects.
    FillPolygons({QPolygon(QRect(r.left(), r.top(), r.width() + 1, r.height() + 1), false)}, Qt::OddEvenFill, paint);
}

void GdiPdfTarget::StrokeCosmetic(const QPolygon& points, bool closed, int penStyle, const GdiPaint& paint)
{
    if (!Drawing() || paint.rop2 == R2_NOP || points.isEmpty()) return;
    ShadowRaster().StrokeCosmetic(ToShadow(points), closed, penStyle, paint);

    QPainterPath line;
    line.addPolygon(QPolygonF(points));
    if (closed) line.closeSubpath();
    COLORREF colour = 0;
    if (!FixedColour(paint, colour)) {
        QPainterPathStroker stroker;
        stroker.setWidth(2.0 * m_shadowScale);
        PlaceShadow(line.boundingRect().toAlignedRect().adjusted(-m_shadowScale, -m_shadowScale, m_shadowScale, m_shadowScale),
                    stroker.createStroke(line));
        return;
    }
    PrepareVector();
    QPen pen(QColor(GdiToQRgb(colour)));
    pen.setWidthF(1.0);
    pen.setCapStyle(Qt::FlatCap);
    const std::vector<int> dashes = GdiDashPattern(penStyle);
    if (!dashes.empty()) {
        QList<qreal> pattern;
        for (int d : dashes) pattern << qreal(d);
        pen.setDashPattern(pattern);
        if (paint.opaqueBackground) {
            QPen gaps(QColor(GdiToQRgb(paint.bkColor)));
            gaps.setWidthF(1.0);
            m_painter.strokePath(line, gaps);
        }
    }
    m_painter.strokePath(line, pen);
}

void GdiPdfTarget::DrawText(QPoint baselineOrigin, const QString& text, const QFont& font, COLORREF color, const QRect* clip)
{
    if (!Drawing() || !GdiFontsAvailable()) return;
    QFont small(font);
    small.setPixelSize(std::max(1, font.pixelSize() / m_shadowScale));
    const QRect shadowClip = clip ? ToShadow(*clip) : m_shadow.rect();
    ShadowRaster().DrawText(QPoint(FloorDiv(baselineOrigin.x(), m_shadowScale), FloorDiv(baselineOrigin.y(), m_shadowScale)),
                            text, small, color, &shadowClip);

    m_painter.save();
    PrepareVector();
    if (clip) m_painter.setClipRect(*clip, m_clip ? Qt::IntersectClip : Qt::ReplaceClip);
    m_painter.setFont(font);
    m_painter.setPen(QColor(GdiToQRgb(color)));
    m_painter.drawText(baselineOrigin, text);
    m_painter.restore();
}

bool GdiPdfTarget::Blit(const QRect& dst, const QImage& src, const QRect& srcRect, DWORD rop, bool mirrorX, bool mirrorY)
{
    if (!Drawing() || !GdiIsSourceRop(rop) || src.isNull()) return false;
    const QRect shadowDst = ToShadow(dst);
    ShadowRaster().Blit(shadowDst.isEmpty() ? QRect(shadowDst.topLeft(), QSize(1, 1)) : shadowDst,
                        src, srcRect, rop, mirrorX, mirrorY);
    if (rop != SRCCOPY) {
        QPainterPath box;
        box.addRect(QRectF(dst));
        PlaceShadow(dst, box);
        return true;
    }
    m_painter.save();
    PrepareVector();
    m_painter.drawImage(QRectF(dst), src.copy(srcRect).mirrored(mirrorX, mirrorY));
    m_painter.restore();
    return true;
}

std::unique_ptr<QPdfWriter> GdiPdfTarget::OpenWriter(const QString& name)
{
    m_document.setData(QByteArray());
    if (!m_document.open(QIODevice::WriteOnly)) return nullptr;
    auto writer = std::make_unique<QPdfWriter>(&m_document);
    writer->setTitle(name);
    writer->setCreator(QStringLiteral("Taliso"));
    writer->setResolution(m_page.dpiX);
    writer->setPageSize(GdiPageSizeOf(m_page));
    writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    return writer;
}

bool GdiPdfTarget::OpenFile()
{
    m_file = std::make_unique<CReplacingFile>();
    CFileException error;
    if (m_file->OpenReplacing(m_path.toUtf8().constData(), &error)) return true;
    m_failure = FailureText(error);
    m_file.reset();
    return false;
}

bool GdiPdfTarget::SaveFile()
{
    if (!m_file) return false;
    const QByteArray& bytes = m_document.data();
    try {
        m_file->Write(bytes.constData(), UINT(bytes.size()));
        m_file->Commit();
        m_file->Close();
    } catch (const CException& error) {
        m_failure = FailureText(error);
        DiscardFile();
        return false;
    }
    m_file.reset();
    m_document.close();
    m_document.setData(QByteArray());
    return true;
}

void GdiPdfTarget::DiscardFile()
{
    if (m_file) m_file->Abort();
    m_file.reset();
    m_document.close();
    m_document.setData(QByteArray());
}

int GdiPdfTarget::StartDoc(const QString& name, const char* output)
{
    if (m_inDoc) return SP_ERROR;
    if (output && *output) m_path = QString::fromUtf8(output);
    m_failure.clear();
    if (!OpenFile()) return SP_ERROR;
    m_writer = OpenWriter(name);
    if (!m_writer) {
        DiscardFile();
        return SP_ERROR;
    }
    m_inDoc = true;
    m_pages = 0;
    return 1;
}

int GdiPdfTarget::StartPage()
{
    if (!m_inDoc || m_inPage) return SP_ERROR;
    if (m_pages == 0) {
        if (!m_painter.begin(m_writer.get())) return SP_ERROR;
    } else if (!m_writer->newPage()) {
        return SP_ERROR;
    }
    m_painter.resetTransform();
    // Device (0, 0) is the corner of the printable area.
    m_painter.translate(m_offset);
    if (m_page.dpiY != m_page.dpiX) m_painter.scale(1.0, double(m_page.dpiX) / m_page.dpiY);
    m_shadow = QImage((m_printable.width() + m_shadowScale - 1) / m_shadowScale,
                      (m_printable.height() + m_shadowScale - 1) / m_shadowScale, QImage::Format_RGB32);
    m_shadow.fill(0xFFFFFFFFu);
    ++m_pages;
    m_inPage = true;
    return 1;
}

int GdiPdfTarget::EndPage()
{
    if (!m_inPage) return SP_ERROR;
    m_inPage = false;
    return 1;
}

int GdiPdfTarget::EndDoc()
{
    if (!m_inDoc) return SP_ERROR;
    m_inDoc = m_inPage = false;
    m_shadow = QImage();
    // A document without pages writes no file.
    if (!m_painter.isActive()) {
        m_writer.reset();
        DiscardFile();
        return 1;
    }
    const bool ended = m_painter.end();
    m_writer.reset();
    if (!ended) {
        DiscardFile();
        return SP_ERROR;
    }
    return SaveFile() ? 1 : SP_ERROR;
}

int GdiPdfTarget::AbortDoc()
{
    if (m_painter.isActive()) m_painter.end();
    m_writer.reset();
    DiscardFile();
    m_inDoc = m_inPage = false;
    m_shadow = QImage();
    return 1;
}
