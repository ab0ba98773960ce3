#pragma once
// What a device handle (HDC) points at: the drawing state, the saved states,
// the target and the device's capabilities.
#include "framework/core/CString.h"
#include "framework/gdi/CDC.h"
#include "framework/gdi/GdiDeviceFont.h"
#include "framework/gdi/GdiMapping.h"
#include "framework/gdi/GdiObjectData.h"
#include "framework/gdi/GdiTarget.h"

#include <QImage>

#include <memory>
#include <optional>
#include <vector>

struct GdiState {
    GdiMapping mapping;
    std::shared_ptr<GdiObjectData> pen;
    std::shared_ptr<GdiObjectData> brush;
    std::shared_ptr<GdiObjectData> font;
    std::shared_ptr<GdiObjectData> bitmap; // memory devices only
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    UINT textAlign = TA_LEFT | TA_TOP;
    CPoint currentPosition;
    std::optional<QRect> clip; // device pixels
};

class GdiDevice {
public:
    enum class Kind { Display, Memory, Printer };

    GdiDevice(Kind kind, int width, int height, int dpiX, int dpiY);
    ~GdiDevice();
    GdiDevice(const GdiDevice&) = delete;
    GdiDevice& operator=(const GdiDevice&) = delete;

    // Page geometry of printers (and the surface size follows its printable area).
    void SetPage(const GdiPageSetup& page);
    // A memory device draws into the bitmap selected into it.
    void RetargetToBitmap();
    void ApplyClip();
    void Record(const CString& line);
    // Formats only while recording.
    void RecordF(const char* format, ...) __attribute__((format(printf, 2, 3)));

    Kind kind;
    int width;  // drawable area, device pixels
    int height;
    int dpiX;
    int dpiY;
    std::optional<GdiPageSetup> page;
    GdiState state;
    std::vector<GdiState> saved;
    std::unique_ptr<QImage> ownedImage;
    std::unique_ptr<GdiTarget> target;
    bool recording = false;
    std::vector<CString> log;
    ABORTPROC abortProc = nullptr;
    // Replaced objects whose wrappers are gone, kept until the device ends.
    std::vector<std::shared_ptr<GdiObjectData>> retired;
    // CDC::FromHandle's wrapper; it never deletes this device.
    std::unique_ptr<CDC> wrapper;
    // The font text was last drawn or measured with, kept for the next call.
    std::optional<GdiDeviceFont> textFont;
};
