#pragma once
// What a device draws on, in device pixels (index space, see GdiRaster).
// The device context maps, builds shapes and lays out text; a target only
// puts finished device-space figures somewhere.
#include "framework/gdi/GdiRaster.h"

#include <QFont>
#include <QImage>
#include <QPolygon>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class GdiTarget {
public:
    virtual ~GdiTarget();

    virtual void FillPolygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule, const GdiPaint& paint) = 0;
    // rect covers its left..right and top..bottom pixels (QRect convention).
    virtual void FillRect(const QRect& rect, const GdiPaint& paint) = 0;
    virtual void StrokeCosmetic(const QPolygon& points, bool closed, int penStyle, const GdiPaint& paint) = 0;
    virtual void DrawText(QPoint baselineOrigin, const QString& text, const QFont& font, COLORREF color, const QRect* clip) = 0;
    virtual bool Blit(const QRect& dst, const QImage& src, const QRect& srcRect, DWORD rop, bool mirrorX, bool mirrorY) = 0;
    // Not const: reading may bring a deferred target's pixels into being.
    virtual COLORREF GetPixel(QPoint) { return CLR_INVALID; }
    virtual COLORREF SetPixel(QPoint, COLORREF) { return CLR_INVALID; }
    // The device clip (device pixels); none: the whole surface.
    virtual void SetClip(const std::optional<QRect>& clip) { m_clip = clip; }
    // The pixels drawn into, when the target has any.
    virtual QImage* Image() { return nullptr; }

    // Printing; targets that are no printer refuse.
    virtual int StartDoc(const QString&, const char*) { return SP_ERROR; }
    virtual int StartPage() { return SP_ERROR; }
    virtual int EndPage() { return SP_ERROR; }
    virtual int EndDoc() { return SP_ERROR; }
    virtual int AbortDoc() { return SP_ERROR; }
    // Why the last StartDoc, EndPage or EndDoc failed, in the system's words; empty when
    // it gave no reason.
    virtual QString PrintFailure() const { return {}; }

protected:
    std::optional<QRect> m_clip;
};

// Draws into an image it may or may not own (a memory DC retargets it to the
// bitmap selected into it).
class GdiImageTarget : public GdiTarget {
public:
    explicit GdiImageTarget(QImage* image) : m_image(image) {}
    void SetImage(QImage* image) { m_image = image; }

    void FillPolygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule, const GdiPaint& paint) override;
    void FillRect(const QRect& rect, const GdiPaint& paint) override;
    void StrokeCosmetic(const QPolygon& points, bool closed, int penStyle, const GdiPaint& paint) override;
    void DrawText(QPoint baselineOrigin, const QString& text, const QFont& font, COLORREF color, const QRect* clip) override;
    bool Blit(const QRect& dst, const QImage& src, const QRect& srcRect, DWORD rop, bool mirrorX, bool mirrorY) override;
    COLORREF GetPixel(QPoint p) override;
    COLORREF SetPixel(QPoint p, COLORREF color) override;
    QImage* Image() override { return m_image; }

private:
    std::optional<GdiRaster> Raster();

    QImage* m_image;
};

// An image target whose pixels are asked for only when something is drawn or read (a
// window's client DC, which mostly measures text and maps points): until then the
// device has no image at all. The provider gives the image (Format_RGB32, living as
// long as the device) or nullptr, and is asked once.
class GdiDeferredImageTarget : public GdiImageTarget {
public:
    using Provider = std::function<QImage*()>;
    explicit GdiDeferredImageTarget(Provider provide) : GdiImageTarget(nullptr), m_provide(std::move(provide)) {}

    QImage* Image() override;

    // True once the provider was asked.
    bool Realized() const { return !m_provide; }

private:
    Provider m_provide;
};

// A printer page drawn into an image (print preview): each page starts white.
class GdiPageImageTarget : public GdiImageTarget {
public:
    explicit GdiPageImageTarget(QImage* image) : GdiImageTarget(image) {}
    int StartDoc(const QString&, const char*) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    int AbortDoc() override;

private:
    bool m_inDoc = false;
    bool m_inPage = false;
};

// Draws nothing (recording devices): printing calls succeed in order.
class GdiNullTarget : public GdiTarget {
public:
    explicit GdiNullTarget(bool printer) : m_printer(printer) {}
    void FillPolygons(const std::vector<QPolygon>&, Qt::FillRule, const GdiPaint&) override {}
    void FillRect(const QRect&, const GdiPaint&) override {}
    void StrokeCosmetic(const QPolygon&, bool, int, const GdiPaint&) override {}
    void DrawText(QPoint, const QString&, const QFont&, COLORREF, const QRect*) override {}
    bool Blit(const QRect&, const QImage&, const QRect&, DWORD rop, bool, bool) override { return GdiIsSourceRop(rop); }
    int StartDoc(const QString&, const char*) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    int AbortDoc() override;

private:
    bool m_printer;
    bool m_inDoc = false;
    bool m_inPage = false;
};
