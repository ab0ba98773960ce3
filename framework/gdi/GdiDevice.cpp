#include "framework/gdi/GdiDevice.h"

#include "framework/gdi/GdiMapping.h"

#include <cstdarg>

GdiDevice::GdiDevice(Kind k, int w, int h, int dx, int dy)
    : kind(k), width(w), height(h), dpiX(dx > 0 ? dx : 96), dpiY(dy > 0 ? dy : 96)
{
    state.mapping = GdiMapping(dpiX, dpiY);
    state.pen = GdiStockObject(BLACK_PEN);
    state.brush = GdiStockObject(WHITE_BRUSH);
    state.font = kind == Kind::Printer ? GdiPrinterFont() : GdiStockObject(SYSTEM_FONT);
    if (kind == Kind::Memory) {
        // The one-pixel bitmap a fresh memory device holds until one is selected.
        state.bitmap = std::make_shared<GdiObjectData>(GdiObjectData::Kind::Bitmap);
        state.bitmap->bitmap = QImage(1, 1, QImage::Format_RGB32);
        state.bitmap->bitmap.fill(0xFF000000u);
    }
}

// The wrapper goes first: its destructor must find the device still whole.
GdiDevice::~GdiDevice()
{
    wrapper.reset();
}

void GdiDevice::SetPage(const GdiPageSetup& p)
{
    page = p;
    width = int(GdiScaleRound(p.paperWidth - p.unprintableLeft - p.unprintableRight, p.dpiX, 2540));
    height = int(GdiScaleRound(p.paperHeight - p.unprintableTop - p.unprintableBottom, p.dpiY, 2540));
}

void GdiDevice::RetargetToBitmap()
{
    if (kind != Kind::Memory || !target || !state.bitmap) return;
    static_cast<GdiImageTarget*>(target.get())->SetImage(&state.bitmap->bitmap);
}

void GdiDevice::ApplyClip()
{
    if (target) target->SetClip(state.clip);
}

void GdiDevice::Record(const CString& line)
{
    if (recording) log.push_back(line);
}

void GdiDevice::RecordF(const char* format, ...)
{
    if (!recording) return;
    va_list args;
    va_start(args, format);
    CString line;
    line.FormatV(format, args);
    va_end(args);
    log.push_back(line);
}
