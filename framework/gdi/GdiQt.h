#pragma once
// The bridge between the drawing layer and the window layer (used by framework/ui
// only; the layers above never include it).
#include "framework/gdi/CDC.h"

#include <QFont>
#include <QImage>

#include <functional>

// A device drawing into a window back buffer the caller owns and later blits.
// The image is converted to Format_RGB32 when it is not already (raster
// operations need it); it must outlive the device. Delete the device with
// CDC's destructor (after Attach) or GdiDeleteDevice.
HDC GdiCreateImageDevice(QImage* target, int dpiX = 96, int dpiY = 96);
void GdiDeleteDevice(HDC hdc);

// A display device of the given size whose pixels come from provide only when the
// first pixel is drawn or read (see GdiDeferredImageTarget); measuring and mapping
// never ask for them.
HDC GdiCreateDeferredImageDevice(QSize size, std::function<QImage*()> provide, int dpiX = 96, int dpiY = 96);
// True when a deferred device's pixels were asked for (anything drawn may show).
bool GdiDeviceRealized(HDC hdc);

// The image a device draws into (back buffer, image DC, page image, the bitmap
// selected into a memory DC); null for printers and recording devices.
QImage* GdiDeviceImage(HDC hdc);

// A drawing font as a widget font of the given screen resolution.
QFont GdiWidgetFont(HFONT font, int dpiY = 96);

// A copy of a bitmap's pixels (Format_RGB32); null image for a null handle.
QImage GdiBitmapImage(HBITMAP bitmap);
