#pragma once
// A printer writing PDF pages. Drawing is vector output; since PDF has no
// raster operations, the page is also kept as a coarse shadow image, and a
// figure drawn with a mix that depends on what lies beneath (R2_XORPEN,
// R2_NOTXORPEN, R2_MERGEPEN, ...) is mixed on the shadow and placed on the
// page as that image, cut to the figure. A printer of the print system draws
// its pages the same way into a spool file (GdiPrintQueueTarget).
#include "framework/gdi/CDC.h"
#include "framework/gdi/GdiTarget.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <memory>

// The paper of a page setup, as it lies (a landscape page is wider than high).
QPageSize GdiPageSizeOf(const GdiPageSetup& page);

class GdiPdfTarget : public GdiTarget {
public:
    GdiPdfTarget(const QString& path, const GdiPageSetup& page);
    ~GdiPdfTarget() override;

    void FillPolygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule, const GdiPaint& paint) override;
    void FillRect(const QRect& rect, const GdiPaint& paint) override;
    void StrokeCosmetic(const QPolygon& points, bool closed, int penStyle, const GdiPaint& paint) override;
    void DrawText(QPoint baselineOrigin, const QString& text, const QFont& font, COLORREF color, const QRect* clip) override;
    bool Blit(const QRect& dst, const QImage& src, const QRect& srcRect, DWORD rop, bool mirrorX, bool mirrorY) override;

    int StartDoc(const QString& name, const char* output) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    int AbortDoc() override;

protected:
    // The paged device writing the document to the file at path, set to the page
    // without margins at the page's resolution; nullptr when it cannot be made.
    virtual std::unique_ptr<QPagedPaintDevice> OpenDocument(const QString& name, const QString& path);
    const GdiPageSetup& Page() const { return m_page; }
    void SetPath(const QString& path) { m_path = path; }
    const QString& Path() const { return m_path; }
    bool InDocument() const { return m_inDoc; }

private:
    bool Drawing() const { return m_inPage && m_painter.isActive(); }
    void PrepareVector();
    GdiRaster ShadowRaster();
    QPolygon ToShadow(const QPolygon& polygon) const;
    QRect ToShadow(const QRect& rect) const;
    // Puts the shadow's pixels of deviceBox on the page, cut to shape.
    void PlaceShadow(const QRect& deviceBox, const QPainterPath& shape);

    QString m_path;
    GdiPageSetup m_page;
    QPoint m_offset; // unprintable left and top, device pixels
    QSize m_printable;
    int m_shadowScale = 1;
    QImage m_shadow;
    std::unique_ptr<QPagedPaintDevice> m_writer;
    QPainter m_painter;
    bool m_inDoc = false;
    bool m_inPage = false;
    int m_pages = 0;
};
