#pragma once
// What a drawing-object handle points at. Shared between the wrappers that
// created it and the device contexts that have it selected.
#include "framework/gdi/GdiDefs.h"

#include <QImage>

#include <memory>

class CGdiObject;

struct GdiObjectData : std::enable_shared_from_this<GdiObjectData> {
    enum class Kind { Pen, Brush, Font, Bitmap };

    explicit GdiObjectData(Kind k) : kind(k) {}
    ~GdiObjectData();

    Kind kind;
    LOGPEN pen{};
    LOGBRUSH brush{};
    LOGFONT font{};
    QImage bitmap; // Format_RGB32

    // The wrapper that created the handle while it lives; FromHandle answers it.
    CGdiObject* owner = nullptr;
    // Answered by FromHandle when there is no owner; refers to this data without owning it.
    std::unique_ptr<CGdiObject> standIn;
};

// The shared stock objects (index as GetStockObject); null for an unknown index.
std::shared_ptr<GdiObjectData> GdiStockObject(int index);
// The font a printer starts with: a fixed-pitch face at the default size, which every
// device turns into 10 points at its own resolution, so it reads the same on any paper.
std::shared_ptr<GdiObjectData> GdiPrinterFont();
