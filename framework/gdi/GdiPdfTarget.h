#pragma once
// A printer writing PDF pages. Drawing is vector output; since PDF has no
// raster operations, the page is also kept as a coarse shadow image, and a
// figure drawn with a mix that depends on what lies beneath (R2_XORPEN,
// R2_NOTXORPEN, R2_MERGEPEN, ...) is mixed on the shadow and placed on the
// page as that image, cut to the figure. A printer of the print system draws
// its pages the same way into a spool file (GdiPrintQueueTarget).
//
// The file is written as every user file is: the document is made in memory and
// written at its end to a file beside the target, synced and renamed over it, so a
// cancelled job or a full disk leaves the old file as it was. Its temporary file is
// claimed when the document starts, so a folder that takes no file refuses the start.
#include "framework/gdi/CDC.h"
#include "framework/gdi/GdiTarget.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <memory>

class CReplacingFile;

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
    QString PrintFailure() const override { return m_failure; }

protected:
    const GdiPageSetup& Page() const { return m_page; }
    void SetPath(const QString& path) { m_path = path; }
    const QString& Path() const { return m_path; }
    bool InDocument() const { return m_inDoc; }
    void SetPrintFailure(const QString& failure) { m_failure = failure; }

private:
    // The writer of the document in memory, set to the page without margins at the
    // page's resolution.
    std::unique_ptr<QPdfWriter> OpenWriter(const QString& name);
    // Claims the temporary file beside the target; false with the reason kept.
    bool OpenFile();
    // Puts the document in place of the target; false (the target as it was) with the
    // reason kept.
    bool SaveFile();
    void DiscardFile();

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
    std::unique_ptr<CReplacingFile> m_file;
    QBuffer m_document;
    std::unique_ptr<QPdfWriter> m_writer;
    QString m_failure;
    QPainter m_painter;
    bool m_inDoc = false;
    bool m_inPage = false;
    int m_pages = 0;
};
