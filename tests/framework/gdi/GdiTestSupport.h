#pragma once
// Shared helpers of the drawing tests: a Qt application for fonts, a temporary
// directory, and pixel access through the device's image.
#include "framework/gdi/CDC.h"
#include "framework/gdi/GdiQt.h"

#include <QTemporaryDir>

#include <string>

// Colour of a device pixel of an image-backed context.
inline COLORREF DevicePixel(CDC& dc, int x, int y)
{
    const QImage* image = GdiDeviceImage(dc.GetSafeHdc());
    if (!image || !image->rect().contains(x, y)) return CLR_INVALID;
    const QRgb c = image->pixel(x, y);
    return RGB(BYTE(qRed(c)), BYTE(qGreen(c)), BYTE(qBlue(c)));
}

// Output of a command, or empty when it could not run.
std::string RunCommand(const std::string& command);
