#include "framework/gdi/GdiQt.h"

#include "framework/gdi/GdiDevice.h"
#include "framework/gdi/GdiFontEngine.h"

HDC GdiCreateImageDevice(QImage* target, int dpiX, int dpiY)
{
    if (!target || target->isNull()) return nullptr;
    if (target->format() != QImage::Format_RGB32) *target = target->convertToFormat(QImage::Format_RGB32);
    auto* device = new GdiDevice(GdiDevice::Kind::Display, target->width(), target->height(), dpiX, dpiY);
    device->target = std::make_unique<GdiImageTarget>(target);
    return device;
}

HDC GdiCreateDeferredImageDevice(QSize size, std::function<QImage*()> provide, int dpiX, int dpiY)
{
    if (size.isEmpty() || !provide) return nullptr;
    auto* device = new GdiDevice(GdiDevice::Kind::Display, size.width(), size.height(), dpiX, dpiY);
    device->target = std::make_unique<GdiDeferredImageTarget>(std::move(provide));
    return device;
}

bool GdiDeviceRealized(HDC hdc)
{
    const auto* deferred = hdc ? dynamic_cast<const GdiDeferredImageTarget*>(hdc->target.get()) : nullptr;
    return deferred == nullptr || deferred->Realized();
}

void GdiDeleteDevice(HDC hdc) { delete hdc; }

QImage* GdiDeviceImage(HDC hdc)
{
    return hdc && hdc->target ? hdc->target->Image() : nullptr;
}

QFont GdiWidgetFont(HFONT font, int dpiY)
{
    LOGFONT lf;
    if (font && font->kind == GdiObjectData::Kind::Font) lf = font->font;
    // Window fonts are given in pixels (the window's own mapping).
    return GdiMakeFont(lf, lf.lfHeight, (10 * dpiY + 36) / 72);
}

QImage GdiBitmapImage(HBITMAP bitmap)
{
    if (!bitmap || bitmap->kind != GdiObjectData::Kind::Bitmap) return {};
    return bitmap->bitmap.copy();
}
