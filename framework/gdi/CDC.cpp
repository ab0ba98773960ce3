#include "framework/gdi/CDC.h"

#include "framework/gdi/GdiDevice.h"
#include "framework/gdi/GdiDeviceFont.h"
#include "framework/gdi/GdiFontEngine.h"
#include "framework/gdi/GdiPdfTarget.h"
#include "framework/gdi/GdiPrintQueueTarget.h"
#include "framework/gdi/GdiTextLayout.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace {

constexpr int kDefaultScreenWidth = 1920;
constexpr int kDefaultScreenHeight = 1080;
// Character height of a font that asks for height 0, in points.
constexpr int kDefaultFontPoints = 10;

CString Hex(COLORREF c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

CString PointList(const POINT* p, int count)
{
    CString s;
    for (int i = 0; i < count; ++i) s.AppendFormat("%s(%d,%d)", i ? " " : "", int(p[i].x), int(p[i].y));
    return s;
}

CString PointList(const QPolygon& p)
{
    CString s;
    for (int i = 0; i < p.size(); ++i) s.AppendFormat("%s(%d,%d)", i ? " " : "", p[i].x(), p[i].y());
    return s;
}

QRect DeviceRect(QPoint a, QPoint b)
{
    // Half-open corners to the pixels they cover.
    const int l = std::min(a.x(), b.x()), r = std::max(a.x(), b.x());
    const int t = std::min(a.y(), b.y()), bt = std::max(a.y(), b.y());
    return QRect(QPoint(l, t), QPoint(r - 1, bt - 1));
}

int RopForPattern(DWORD rop)
{
    switch (rop) {
    case PATCOPY: return R2_COPYPEN;
    case PATINVERT: return R2_XORPEN;
    case DSTINVERT: return R2_NOT;
    case BLACKNESS: return R2_BLACK;
    case WHITENESS: return R2_WHITE;
    default: return 0;
    }
}

// A device coordinate rounded as the pixel grid takes it, held within int.
int ToDeviceInt(double v)
{
    constexpr double kLimit = 2147483647.0;
    return int(std::lround(std::clamp(v, -kLimit, kLimit)));
}

// Chords per half circle of a round end, so that each stays within a quarter pixel of
// the arc.
int HalfCircleChords(double radius)
{
    constexpr double kTolerance = 0.25;
    if (radius <= kTolerance) return 2;
    const double chordAngle = 2 * std::acos(1 - kTolerance / radius);
    return std::clamp(int(std::ceil(std::numbers::pi / chordAngle)), 2, 1024);
}

// The area a wide pen with round ends covers along a to b: the half discs around both
// ends and the band between, as one polygon in device pixels. All are wound the same
// way, so that several filled together with the winding rule cover their union.
QPolygon WideSegmentOutline(QPoint a, QPoint b, int width)
{
    const double radius = width / 2.0;
    const double dx = double(b.x()) - a.x(), dy = double(b.y()) - a.y();
    const double length = std::hypot(dx, dy);
    // The right side of the line as a unit vector; a dot turns from any side.
    const double rightX = length > 0 ? dy / length : 0.0, rightY = length > 0 ? -dx / length : -1.0;
    const int chords = HalfCircleChords(radius);
    QPolygon outline(2 * (chords + 1));
    // Around b from the right side to the left, then around a from the left back again.
    for (int i = 0; i <= chords; ++i) {
        const double turn = std::numbers::pi * i / chords;
        const double c = std::cos(turn), s = std::sin(turn);
        const double x = radius * (rightX * c - rightY * s), y = radius * (rightX * s + rightY * c);
        outline[i] = QPoint(ToDeviceInt(b.x() + x), ToDeviceInt(b.y() + y));
        outline[chords + 1 + i] = QPoint(ToDeviceInt(a.x() - x), ToDeviceInt(a.y() - y));
    }
    return outline;
}

// A wide line through the points with round ends and joins: the union of its segments'
// outlines, so that where it folds back each pixel is still mixed once.
std::vector<QPolygon> WideStroke(const QPolygon& points, bool closed, int width)
{
    // A lone point is a dot; a segment of no length adds nothing.
    if (points.size() == 1) return {WideSegmentOutline(points.front(), points.front(), width)};
    std::vector<QPolygon> outlines;
    auto add = [&](QPoint a, QPoint b) {
        if (a != b) outlines.push_back(WideSegmentOutline(a, b, width));
    };
    for (qsizetype i = 1; i < points.size(); ++i) add(points[i - 1], points[i]);
    if (closed) add(points.back(), points.front());
    return outlines;
}

// Points along an elliptic arc in device index space, counter-clockwise on the
// device from the radial through start to the radial through end.
QPolygon ArcPoints(QPointF centre, double rx, double ry, QPoint start, QPoint end)
{
    const double thetaStart = std::atan2(-(start.y() - centre.y()), start.x() - centre.x());
    const double thetaEnd = std::atan2(-(end.y() - centre.y()), end.x() - centre.x());
    // Radial angle to the ellipse's own parameter.
    const double tStart = std::atan2(rx * std::sin(thetaStart), ry * std::cos(thetaStart));
    const double tEnd = std::atan2(rx * std::sin(thetaEnd), ry * std::cos(thetaEnd));
    double sweep = tEnd - tStart;
    constexpr double kTwoPi = 2 * std::numbers::pi;
    while (sweep <= 1e-12) sweep += kTwoPi;
    const int steps = std::clamp(int(std::ceil(sweep * std::max({rx, ry, 1.0}) / 2.0)), 4, 4000);
    QPolygon points;
    points.reserve(steps + 1);
    for (int i = 0; i <= steps; ++i) {
        const double t = tStart + sweep * i / steps;
        const QPoint p(int(std::lround(centre.x() + rx * std::cos(t))), int(std::lround(centre.y() - ry * std::sin(t))));
        if (points.isEmpty() || points.back() != p) points << p;
    }
    return points;
}

} // namespace

// --- device handle ---

IMPLEMENT_DYNAMIC(CDC, CObject)

CDC::~CDC()
{
    if (m_ownsDevice) DeleteDC();
}

BOOL CDC::Attach(HDC hdc)
{
    if (!hdc || m_hDC) return FALSE;
    m_hDC = hdc;
    m_ownsDevice = true;
    m_bPrinting = hdc->kind == GdiDevice::Kind::Printer;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hdc = m_hDC;
    m_hDC = nullptr;
    m_ownsDevice = false;
    return hdc;
}

CDC* CDC::FromHandle(HDC hdc)
{
    if (!hdc) return nullptr;
    if (!hdc->wrapper) {
        auto wrapper = std::make_unique<CDC>();
        wrapper->m_hDC = hdc;
        wrapper->m_ownsDevice = false;
        wrapper->m_bPrinting = hdc->kind == GdiDevice::Kind::Printer;
        hdc->wrapper = std::move(wrapper);
    }
    return hdc->wrapper.get();
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC) return FALSE;
    HDC hdc = Detach();
    delete hdc;
    return TRUE;
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    if (m_hDC) return FALSE;
    const HDC ref = dc ? dc->m_hDC : nullptr;
    auto device = std::make_unique<GdiDevice>(GdiDevice::Kind::Memory,
                                              ref ? ref->width : kDefaultScreenWidth,
                                              ref ? ref->height : kDefaultScreenHeight,
                                              ref ? ref->dpiX : 96, ref ? ref->dpiY : 96);
    device->target = std::make_unique<GdiImageTarget>(nullptr);
    device->RetargetToBitmap();
    Attach(device.release());
    return TRUE;
}

// --- targets ---

BOOL CDC::CreateImageDC(int width, int height, int dpiX, int dpiY)
{
    if (m_hDC || width <= 0 || height <= 0) return FALSE;
    auto device = std::make_unique<GdiDevice>(GdiDevice::Kind::Display, width, height, dpiX, dpiY);
    device->ownedImage = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
    if (device->ownedImage->isNull()) return FALSE;
    device->ownedImage->fill(0xFFFFFFFFu);
    device->target = std::make_unique<GdiImageTarget>(device->ownedImage.get());
    return Attach(device.release());
}

BOOL CDC::SaveImage(LPCTSTR pngPath) const
{
    if (!m_hDC || !m_hDC->target || !pngPath) return FALSE;
    const QImage* image = m_hDC->target->Image();
    return image && image->save(QString::fromUtf8(pngPath), "PNG") ? TRUE : FALSE;
}

BOOL CDC::HasPixels() const
{
    return m_hDC && m_hDC->target && m_hDC->target->Image() ? TRUE : FALSE;
}

namespace {

std::unique_ptr<GdiDevice> PrinterDevice(const GdiPageSetup& page)
{
    if (page.dpiX <= 0 || page.dpiY <= 0 || page.paperWidth <= 0 || page.paperHeight <= 0) return nullptr;
    auto device = std::make_unique<GdiDevice>(GdiDevice::Kind::Printer, 0, 0, page.dpiX, page.dpiY);
    device->SetPage(page);
    if (device->width <= 0 || device->height <= 0) return nullptr;
    return device;
}

} // namespace

BOOL CDC::CreatePrinterDC(LPCTSTR pdfPath, const GdiPageSetup& page)
{
    if (m_hDC || !pdfPath) return FALSE;
    auto device = PrinterDevice(page);
    if (!device) return FALSE;
    device->target = std::make_unique<GdiPdfTarget>(QString::fromUtf8(pdfPath), page);
    return Attach(device.release());
}

BOOL CDC::CreateQueuePrinterDC(LPCTSTR queue, const GdiPageSetup& page, int copies)
{
    if (m_hDC || !queue || !*queue) return FALSE;
    auto device = PrinterDevice(page);
    if (!device) return FALSE;
    device->target = std::make_unique<GdiPrintQueueTarget>(QString::fromUtf8(queue), page, copies);
    return Attach(device.release());
}

BOOL CDC::CreatePageImageDC(const GdiPageSetup& page)
{
    if (m_hDC) return FALSE;
    auto device = PrinterDevice(page);
    if (!device) return FALSE;
    device->ownedImage = std::make_unique<QImage>(device->width, device->height, QImage::Format_RGB32);
    if (device->ownedImage->isNull()) return FALSE;
    device->ownedImage->fill(0xFFFFFFFFu);
    device->target = std::make_unique<GdiPageImageTarget>(device->ownedImage.get());
    return Attach(device.release());
}

BOOL CDC::CreateRecordingDC(int width, int height, int dpiX, int dpiY, BOOL printer)
{
    if (m_hDC || width <= 0 || height <= 0) return FALSE;
    auto device = std::make_unique<GdiDevice>(printer ? GdiDevice::Kind::Printer : GdiDevice::Kind::Display,
                                              width, height, dpiX, dpiY);
    if (printer) {
        GdiPageSetup page;
        page.dpiX = device->dpiX;
        page.dpiY = device->dpiY;
        page.paperWidth = int(GdiScaleRound(width, 2540, device->dpiX));
        page.paperHeight = int(GdiScaleRound(height, 2540, device->dpiY));
        device->page = page;
    }
    device->target = std::make_unique<GdiNullTarget>(printer != FALSE);
    device->recording = true;
    return Attach(device.release());
}

void CDC::EnableRecording(BOOL on)
{
    if (m_hDC) m_hDC->recording = on != FALSE;
}

std::vector<CString> CDC::GetRecording() const
{
    return m_hDC ? m_hDC->log : std::vector<CString>{};
}

void CDC::ClearRecording()
{
    if (m_hDC) m_hDC->log.clear();
}

// --- drawing helpers ---

namespace {

bool HasPen(const GdiState& s) { return s.pen && s.pen->pen.lopnStyle != UINT(PS_NULL); }
bool HasBrush(const GdiState& s) { return s.brush && s.brush->brush.lbStyle != BS_NULL; }

GdiPaint PenPaint(const GdiState& s)
{
    GdiPaint p;
    p.rop2 = s.rop2;
    p.color = s.pen ? s.pen->pen.lopnColor : 0;
    p.opaqueBackground = s.bkMode == OPAQUE;
    p.bkColor = s.bkColor;
    return p;
}

GdiPaint BrushPaint(const GdiState& s, int rop2)
{
    GdiPaint p;
    p.rop2 = rop2;
    p.color = s.brush ? s.brush->brush.lbColor : 0;
    p.hatch = s.brush && s.brush->brush.lbStyle == BS_HATCHED ? int(s.brush->brush.lbHatch) : -1;
    p.opaqueBackground = s.bkMode == OPAQUE;
    p.bkColor = s.bkColor;
    return p;
}

GdiPaint SolidPaint(COLORREF color, int rop2 = R2_COPYPEN)
{
    GdiPaint p;
    p.rop2 = rop2;
    p.color = color;
    return p;
}

// Device width of the current pen; 0 or 1 draw a one-pixel (cosmetic) line.
int PenDeviceWidth(const GdiState& s)
{
    if (!s.pen || s.pen->pen.lopnWidth.x <= 0) return 0;
    return std::max(1, s.mapping.LengthToDeviceX(s.pen->pen.lopnWidth.x));
}

int PenStyle(const GdiState& s) { return s.pen ? int(s.pen->pen.lopnStyle) : PS_SOLID; }

Qt::FillRule FillRule(const GdiState& s) { return s.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill; }

void StrokeOutline(GdiDevice& d, const QPolygon& points, bool closed)
{
    const GdiState& s = d.state;
    if (!HasPen(s) || points.isEmpty()) return;
    const int width = PenDeviceWidth(s);
    if (width <= 1) {
        d.target->StrokeCosmetic(points, closed, PenStyle(s), PenPaint(s));
        return;
    }
    // Wide pens are solid whatever their style.
    d.target->FillPolygons(WideStroke(points, closed, width), Qt::WindingFill, PenPaint(s));
}

void FillArea(GdiDevice& d, const std::vector<QPolygon>& polygons)
{
    if (HasBrush(d.state)) d.target->FillPolygons(polygons, FillRule(d.state), BrushPaint(d.state, d.state.rop2));
}

// A closed figure: the area with the brush, then its outline with the pen.
void DrawClosedFigure(GdiDevice& d, const QPolygon& outline)
{
    FillArea(d, {outline});
    StrokeOutline(d, outline, true);
}

QPoint ToDevice(const GdiDevice& d, int x, int y)
{
    const CPoint p = d.state.mapping.ToDevice({x, y});
    return {p.x, p.y};
}

// The device box of a shape given by logical corners, shrunk for an inside-frame pen.
struct ShapeBox {
    QRect pixels; // covered pixels
    int inset = 0;
};

ShapeBox DeviceBox(const GdiDevice& d, int left, int top, int right, int bottom)
{
    ShapeBox box;
    box.pixels = DeviceRect(ToDevice(d, left, top), ToDevice(d, right, bottom));
    const int width = PenDeviceWidth(d.state);
    if (HasPen(d.state) && PenStyle(d.state) == PS_INSIDEFRAME && width > 1) box.inset = width / 2;
    return box;
}

// The selected font at the current mapping; made again only when that changes.
const GdiDeviceFont& DeviceFont(GdiDevice& d)
{
    LOGFONT lf;
    if (d.state.font) lf = d.state.font->font;
    int height = 0;
    if (lf.lfHeight != 0) {
        const int magnitude = std::max(1, d.state.mapping.LengthToDeviceY(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight));
        height = lf.lfHeight < 0 ? -magnitude : magnitude;
    }
    const int defaultSize = int(GdiScaleRound(kDefaultFontPoints, d.dpiY, 72));
    if (!d.textFont || !d.textFont->Matches(lf, height, defaultSize)) d.textFont.emplace(lf, height, defaultSize);
    return *d.textFont;
}

CString Utf8(const QString& s) { return CString(s.toUtf8().toStdString()); }

QString TextOf(LPCTSTR text, int count)
{
    if (!text) return {};
    if (count < 0) count = int(std::strlen(text));
    return QString::fromUtf8(text, count);
}

} // namespace

// --- state ---

int CDC::SaveDC()
{
    if (!m_hDC) return 0;
    m_hDC->saved.push_back(m_hDC->state);
    m_hDC->Record(CString("SaveDC"));
    return int(m_hDC->saved.size());
}

BOOL CDC::RestoreDC(int savedDC)
{
    if (!m_hDC) return FALSE;
    const int count = int(m_hDC->saved.size());
    const int level = savedDC < 0 ? count + 1 + savedDC : savedDC;
    if (level < 1 || level > count) return FALSE;
    m_hDC->state = m_hDC->saved[std::size_t(level - 1)];
    m_hDC->saved.resize(std::size_t(level - 1));
    m_hDC->RetargetToBitmap();
    m_hDC->ApplyClip();
    m_hDC->RecordF("RestoreDC %d", savedDC);
    return TRUE;
}

int CDC::GetDeviceCaps(int index) const
{
    if (!m_hDC) return 0;
    const GdiDevice& d = *m_hDC;
    const bool printer = d.kind == GdiDevice::Kind::Printer && d.page;
    auto px = [](int hundredthsMm, int dpi) { return int(GdiScaleRound(hundredthsMm, dpi, 2540)); };
    switch (index) {
    case TECHNOLOGY: return d.kind == GdiDevice::Kind::Printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZRES: return d.width;
    case VERTRES: return d.height;
    case LOGPIXELSX: return d.dpiX;
    case LOGPIXELSY: return d.dpiY;
    case HORZSIZE: return int(GdiScaleRound(d.width, 254, 10LL * d.dpiX));
    case VERTSIZE: return int(GdiScaleRound(d.height, 254, 10LL * d.dpiY));
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT;
    case PHYSICALWIDTH: return printer ? px(d.page->paperWidth, d.dpiX) : 0;
    case PHYSICALHEIGHT: return printer ? px(d.page->paperHeight, d.dpiY) : 0;
    case PHYSICALOFFSETX: return printer ? px(d.page->unprintableLeft, d.dpiX) : 0;
    case PHYSICALOFFSETY: return printer ? px(d.page->unprintableTop, d.dpiY) : 0;
    default: return 0;
    }
}

int CDC::Escape(int escape, int, LPCSTR, void* outData)
{
    if (!m_hDC || m_hDC->kind != GdiDevice::Kind::Printer || !outData) return 0;
    auto* out = static_cast<POINT*>(outData);
    switch (escape) {
    case GETPHYSPAGESIZE:
        *out = {GetDeviceCaps(PHYSICALWIDTH), GetDeviceCaps(PHYSICALHEIGHT)};
        return 1;
    case GETPRINTINGOFFSET:
        *out = {GetDeviceCaps(PHYSICALOFFSETX), GetDeviceCaps(PHYSICALOFFSETY)};
        return 1;
    default: return 0;
    }
}

// --- mapping ---

int CDC::SetMapMode(int mode)
{
    if (!m_hDC) return 0;
    const int old = m_hDC->state.mapping.SetMode(mode);
    m_hDC->RecordF("SetMapMode %d", mode);
    return old;
}

int CDC::GetMapMode() const { return m_hDC ? m_hDC->state.mapping.Mode() : 0; }

CPoint CDC::SetWindowOrg(int x, int y)
{
    if (!m_hDC) return {};
    const CPoint old = m_hDC->state.mapping.WindowOrg();
    m_hDC->state.mapping.SetWindowOrg({x, y});
    m_hDC->RecordF("SetWindowOrg %d,%d", x, y);
    return old;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    if (!m_hDC) return {};
    const CSize old = m_hDC->state.mapping.WindowExt();
    m_hDC->state.mapping.SetWindowExt({cx, cy});
    m_hDC->RecordF("SetWindowExt %d,%d", cx, cy);
    return old;
}

CSize CDC::GetWindowExt() const { return m_hDC ? m_hDC->state.mapping.WindowExt() : CSize(); }

CPoint CDC::SetViewportOrg(int x, int y)
{
    if (!m_hDC) return {};
    const CPoint old = m_hDC->state.mapping.ViewportOrg();
    m_hDC->state.mapping.SetViewportOrg({x, y});
    m_hDC->RecordF("SetViewportOrg %d,%d", x, y);
    return old;
}

CPoint CDC::GetViewportOrg() const { return m_hDC ? m_hDC->state.mapping.ViewportOrg() : CPoint(); }

CSize CDC::SetViewportExt(int cx, int cy)
{
    if (!m_hDC) return {};
    const CSize old = m_hDC->state.mapping.ViewportExt();
    m_hDC->state.mapping.SetViewportExt({cx, cy});
    m_hDC->RecordF("SetViewportExt %d,%d", cx, cy);
    return old;
}

CSize CDC::GetViewportExt() const { return m_hDC ? m_hDC->state.mapping.ViewportExt() : CSize(); }

void CDC::LPtoDP(POINT* points, int count) const
{
    if (!m_hDC || !points) return;
    for (int i = 0; i < count; ++i) points[i] = m_hDC->state.mapping.ToDevice(points[i]);
}

void CDC::LPtoDP(SIZE* size) const
{
    if (m_hDC && size) *size = m_hDC->state.mapping.SizeToDevice(*size);
}

void CDC::DPtoLP(POINT* points, int count) const
{
    if (!m_hDC || !points) return;
    for (int i = 0; i < count; ++i) points[i] = m_hDC->state.mapping.ToLogical(points[i]);
}

void CDC::DPtoLP(RECT* rect) const
{
    if (!rect) return;
    POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    DPtoLP(corners, 2);
    *rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void CDC::DPtoLP(SIZE* size) const
{
    if (m_hDC && size) *size = m_hDC->state.mapping.SizeToLogical(*size);
}

// --- objects ---

namespace {

std::shared_ptr<GdiObjectData>* SlotFor(GdiState& s, GdiObjectData::Kind kind)
{
    switch (kind) {
    case GdiObjectData::Kind::Pen: return &s.pen;
    case GdiObjectData::Kind::Brush: return &s.brush;
    case GdiObjectData::Kind::Font: return &s.font;
    case GdiObjectData::Kind::Bitmap: return &s.bitmap;
    }
    return nullptr;
}

CString Describe(const GdiObjectData& o)
{
    CString s;
    switch (o.kind) {
    case GdiObjectData::Kind::Pen:
        s.Format("pen style=%u width=%d color=%s", o.pen.lopnStyle, int(o.pen.lopnWidth.x), Hex(o.pen.lopnColor).c_str());
        break;
    case GdiObjectData::Kind::Brush:
        s.Format("brush style=%u color=%s", o.brush.lbStyle, Hex(o.brush.lbColor).c_str());
        break;
    case GdiObjectData::Kind::Font:
        s.Format("font \"%s\" height=%d weight=%d", o.font.lfFaceName, int(o.font.lfHeight), int(o.font.lfWeight));
        break;
    case GdiObjectData::Kind::Bitmap:
        s.Format("bitmap %dx%d", o.bitmap.width(), o.bitmap.height());
        break;
    }
    return s;
}

} // namespace

HGDIOBJ CDC::SelectObject(HGDIOBJ handle)
{
    if (!m_hDC || !handle) return nullptr;
    GdiDevice& d = *m_hDC;
    if (handle->kind == GdiObjectData::Kind::Bitmap && d.kind != GdiDevice::Kind::Memory) return nullptr;
    std::shared_ptr<GdiObjectData>* slot = SlotFor(d.state, handle->kind);
    std::shared_ptr<GdiObjectData> incoming = handle->shared_from_this();
    std::shared_ptr<GdiObjectData> previous = *slot;
    *slot = std::move(incoming);
    if (handle->kind == GdiObjectData::Kind::Bitmap) d.RetargetToBitmap();
    if (d.recording) d.Record("SelectObject " + Describe(*handle));
    // An object nobody else holds any more (its wrapper died while it was selected)
    // stays with the device, so the handle returned here can still be selected back.
    if (previous && previous.use_count() == 1) d.retired.push_back(previous);
    return previous.get();
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    return object ? CGdiObject::FromHandle(SelectObject(object->GetSafeHandle())) : nullptr;
}

CPen* CDC::SelectObject(CPen* pen)
{
    return pen ? CPen::FromHandle(SelectObject(pen->GetSafeHandle())) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return brush ? CBrush::FromHandle(SelectObject(brush->GetSafeHandle())) : nullptr;
}

CFont* CDC::SelectObject(CFont* font)
{
    return font ? CFont::FromHandle(SelectObject(font->GetSafeHandle())) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return bitmap ? CBitmap::FromHandle(SelectObject(bitmap->GetSafeHandle())) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int index)
{
    const auto stock = GdiStockObject(index);
    return stock ? CGdiObject::FromHandle(SelectObject(stock.get())) : nullptr;
}

CPen* CDC::GetCurrentPen() const { return m_hDC ? CPen::FromHandle(m_hDC->state.pen.get()) : nullptr; }
CBrush* CDC::GetCurrentBrush() const { return m_hDC ? CBrush::FromHandle(m_hDC->state.brush.get()) : nullptr; }
CFont* CDC::GetCurrentFont() const { return m_hDC ? CFont::FromHandle(m_hDC->state.font.get()) : nullptr; }

// --- attributes ---

UINT CDC::SetTextAlign(UINT flags)
{
    if (!m_hDC) return 0;
    const UINT old = m_hDC->state.textAlign;
    m_hDC->state.textAlign = flags;
    m_hDC->RecordF("SetTextAlign %u", flags);
    return old;
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    if (!m_hDC) return CLR_INVALID;
    const COLORREF old = m_hDC->state.textColor;
    m_hDC->state.textColor = color & 0xFFFFFF;
    if (m_hDC->recording) m_hDC->Record("SetTextColor " + Hex(color));
    return old;
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    if (!m_hDC) return CLR_INVALID;
    const COLORREF old = m_hDC->state.bkColor;
    m_hDC->state.bkColor = color & 0xFFFFFF;
    if (m_hDC->recording) m_hDC->Record("SetBkColor " + Hex(color));
    return old;
}

COLORREF CDC::GetBkColor() const { return m_hDC ? m_hDC->state.bkColor : CLR_INVALID; }

int CDC::SetBkMode(int mode)
{
    if (!m_hDC || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
    const int old = m_hDC->state.bkMode;
    m_hDC->state.bkMode = mode;
    m_hDC->RecordF("SetBkMode %d", mode);
    return old;
}

int CDC::SetROP2(int mode)
{
    if (!m_hDC || mode < R2_BLACK || mode > R2_WHITE) return 0;
    const int old = m_hDC->state.rop2;
    m_hDC->state.rop2 = mode;
    m_hDC->RecordF("SetROP2 %d", mode);
    return old;
}

int CDC::GetROP2() const { return m_hDC ? m_hDC->state.rop2 : 0; }

int CDC::SetPolyFillMode(int mode)
{
    if (!m_hDC || (mode != ALTERNATE && mode != WINDING)) return 0;
    const int old = m_hDC->state.polyFillMode;
    m_hDC->state.polyFillMode = mode;
    m_hDC->RecordF("SetPolyFillMode %d", mode);
    return old;
}

CPoint CDC::GetCurrentPosition() const { return m_hDC ? m_hDC->state.currentPosition : CPoint(); }

// --- clipping ---

int CDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    if (!m_hDC) return 0;
    GdiDevice& d = *m_hDC;
    QRect clip = DeviceRect(ToDevice(d, left, top), ToDevice(d, right, bottom));
    if (d.state.clip) clip &= *d.state.clip;
    d.state.clip = clip;
    d.ApplyClip();
    d.RecordF("IntersectClipRect L[%d,%d,%d,%d] D[%d,%d,%d,%d]", left, top, right, bottom,
                clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1);
    return clip.isEmpty() ? NULLREGION : SIMPLEREGION;
}

// --- lines and shapes ---

CPoint CDC::MoveTo(int x, int y)
{
    if (!m_hDC) return {};
    const CPoint old = m_hDC->state.currentPosition;
    m_hDC->state.currentPosition = {x, y};
    const QPoint dp = ToDevice(*m_hDC, x, y);
    m_hDC->RecordF("MoveTo L[%d,%d] D[%d,%d]", x, y, dp.x(), dp.y());
    return old;
}

BOOL CDC::LineTo(int x, int y)
{
    if (!m_hDC) return FALSE;
    GdiDevice& d = *m_hDC;
    const CPoint from = d.state.currentPosition;
    const QPolygon points{ToDevice(d, from.x, from.y), ToDevice(d, x, y)};
    d.RecordF("LineTo L[%d,%d] D[%d,%d]", x, y, points[1].x(), points[1].y());
    StrokeOutline(d, points, false);
    d.state.currentPosition = {x, y};
    return TRUE;
}

BOOL CDC::Polyline(const POINT* points, int count)
{
    if (!m_hDC || !points || count < 2) return FALSE;
    GdiDevice& d = *m_hDC;
    QPolygon device;
    for (int i = 0; i < count; ++i) device << ToDevice(d, points[i].x, points[i].y);
    if (d.recording) d.Record("Polyline L[" + PointList(points, count) + "] D[" + PointList(device) + "]");
    StrokeOutline(d, device, false);
    return TRUE;
}

BOOL CDC::Polygon(const POINT* points, int count)
{
    if (!m_hDC || !points || count < 2) return FALSE;
    GdiDevice& d = *m_hDC;
    QPolygon device;
    for (int i = 0; i < count; ++i) device << ToDevice(d, points[i].x, points[i].y);
    if (d.recording) d.Record("Polygon L[" + PointList(points, count) + "] D[" + PointList(device) + "]");
    DrawClosedFigure(d, device);
    return TRUE;
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom)
{
    if (!m_hDC) return FALSE;
    GdiDevice& d = *m_hDC;
    const ShapeBox box = DeviceBox(d, left, top, right, bottom);
    d.RecordF("Rectangle L[%d,%d,%d,%d] D[%d,%d,%d,%d]", left, top, right, bottom,
                box.pixels.left(), box.pixels.top(), box.pixels.right() + 1, box.pixels.bottom() + 1);
    QRect r = box.pixels.adjusted(box.inset, box.inset, -box.inset, -box.inset);
    if (r.isEmpty()) return TRUE;
    if (!HasPen(d.state)) {
        // Without a pen a rectangle loses its right column and bottom row.
        r.adjust(0, 0, -1, -1);
        if (!r.isEmpty() && HasBrush(d.state)) d.target->FillRect(r, BrushPaint(d.state, d.state.rop2));
        return TRUE;
    }
    const QPolygon outline{r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    if (PenDeviceWidth(d.state) <= 1) {
        const QRect inside = r.adjusted(1, 1, -1, -1);
        if (!inside.isEmpty() && HasBrush(d.state)) d.target->FillRect(inside, BrushPaint(d.state, d.state.rop2));
        StrokeOutline(d, outline, true);
        return TRUE;
    }
    if (HasBrush(d.state)) d.target->FillRect(r, BrushPaint(d.state, d.state.rop2));
    StrokeOutline(d, outline, true);
    return TRUE;
}

BOOL CDC::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    if (!m_hDC) return FALSE;
    GdiDevice& d = *m_hDC;
    const ShapeBox box = DeviceBox(d, left, top, right, bottom);
    d.RecordF("RoundRect L[%d,%d,%d,%d,%d,%d] D[%d,%d,%d,%d]", left, top, right, bottom, cornerWidth, cornerHeight,
                box.pixels.left(), box.pixels.top(), box.pixels.right() + 1, box.pixels.bottom() + 1);
    const QRect r = box.pixels.adjusted(box.inset, box.inset, -box.inset, -box.inset);
    if (r.isEmpty()) return TRUE;
    const QSize corner(d.state.mapping.LengthToDeviceX(cornerWidth), d.state.mapping.LengthToDeviceY(cornerHeight));
    QPainterPath path;
    path.addRoundedRect(QRectF(r.left(), r.top(), r.width() - 1, r.height() - 1), corner.width() / 2.0, corner.height() / 2.0);
    QPolygon outline = path.toFillPolygon().toPolygon();
    if (outline.size() > 1 && outline.front() == outline.back()) outline.removeLast();
    DrawClosedFigure(d, outline);
    return TRUE;
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom)
{
    if (!m_hDC) return FALSE;
    GdiDevice& d = *m_hDC;
    const ShapeBox box = DeviceBox(d, left, top, right, bottom);
    d.RecordF("Ellipse L[%d,%d,%d,%d] D[%d,%d,%d,%d]", left, top, right, bottom,
                box.pixels.left(), box.pixels.top(), box.pixels.right() + 1, box.pixels.bottom() + 1);
    const QRect r = box.pixels.adjusted(box.inset, box.inset, -box.inset, -box.inset);
    if (r.isEmpty()) return TRUE;
    const QPointF centre((r.left() + r.right()) / 2.0, (r.top() + r.bottom()) / 2.0);
    const double rx = (r.width() - 1) / 2.0, ry = (r.height() - 1) / 2.0;
    const QPoint east(r.right() + 1, int(std::lround(centre.y())));
    QPolygon outline = ArcPoints(centre, rx, ry, east, east);
    if (outline.size() > 1 && outline.front() == outline.back()) outline.removeLast();
    DrawClosedFigure(d, outline);
    return TRUE;
}

namespace {

enum class ArcKind { Arc, Pie, Chord };

BOOL DrawArcFamily(CDC& dc, ArcKind kind, const char* name, int left, int top, int right, int bottom,
                   int xStart, int yStart, int xEnd, int yEnd)
{
    if (!dc.m_hDC) return FALSE;
    GdiDevice& d = *dc.m_hDC;
    const ShapeBox box = DeviceBox(d, left, top, right, bottom);
    const QPoint start = ToDevice(d, xStart, yStart), end = ToDevice(d, xEnd, yEnd);
    d.RecordF("%s L[%d,%d,%d,%d,%d,%d,%d,%d] D[%d,%d,%d,%d,%d,%d,%d,%d]", name,
                left, top, right, bottom, xStart, yStart, xEnd, yEnd,
                box.pixels.left(), box.pixels.top(), box.pixels.right() + 1, box.pixels.bottom() + 1,
                start.x(), start.y(), end.x(), end.y());
    const QRect r = box.pixels.adjusted(box.inset, box.inset, -box.inset, -box.inset);
    if (r.isEmpty()) return TRUE;
    const QPointF centre((r.left() + r.right()) / 2.0, (r.top() + r.bottom()) / 2.0);
    const double rx = (r.width() - 1) / 2.0, ry = (r.height() - 1) / 2.0;
    QPolygon points = ArcPoints(centre, rx, ry, start, end);
    switch (kind) {
    case ArcKind::Arc:
        StrokeOutline(d, points, false);
        break;
    case ArcKind::Pie:
        points.prepend(QPoint(int(std::lround(centre.x())), int(std::lround(centre.y()))));
        DrawClosedFigure(d, points);
        break;
    case ArcKind::Chord:
        DrawClosedFigure(d, points);
        break;
    }
    return TRUE;
}

} // namespace

BOOL CDC::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    return DrawArcFamily(*this, ArcKind::Arc, "Arc", left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL CDC::Pie(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    return DrawArcFamily(*this, ArcKind::Pie, "Pie", left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL CDC::Chord(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    return DrawArcFamily(*this, ArcKind::Chord, "Chord", left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

// --- areas ---

namespace {

void FillDeviceRect(GdiDevice& d, const char* name, const RECT& r, const GdiPaint& paint)
{
    const QRect device = DeviceRect(ToDevice(d, r.left, r.top), ToDevice(d, r.right, r.bottom));
    d.RecordF("%s L[%d,%d,%d,%d] D[%d,%d,%d,%d] %s", name, int(r.left), int(r.top), int(r.right), int(r.bottom),
                device.left(), device.top(), device.right() + 1, device.bottom() + 1, Hex(paint.color).c_str());
    if (!device.isEmpty()) d.target->FillRect(device, paint);
}

GdiPaint PaintOfBrush(const CBrush* brush, const GdiState& s)
{
    GdiPaint p = SolidPaint(0);
    const HGDIOBJ h = brush ? brush->GetSafeHandle() : nullptr;
    if (!h || h->kind != GdiObjectData::Kind::Brush || h->brush.lbStyle == BS_NULL) {
        p.rop2 = R2_NOP;
        return p;
    }
    p.color = h->brush.lbColor;
    p.hatch = h->brush.lbStyle == BS_HATCHED ? int(h->brush.lbHatch) : -1;
    p.opaqueBackground = s.bkMode == OPAQUE;
    p.bkColor = s.bkColor;
    return p;
}

} // namespace

void CDC::FillRect(const RECT* rect, CBrush* brush)
{
    if (!m_hDC || !rect) return;
    FillDeviceRect(*m_hDC, "FillRect", *rect, PaintOfBrush(brush, m_hDC->state));
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color)
{
    if (!m_hDC || !rect) return;
    m_hDC->state.bkColor = color & 0xFFFFFF;
    FillDeviceRect(*m_hDC, "FillSolidRect", *rect, SolidPaint(color & 0xFFFFFF));
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    const RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, color);
}

void CDC::FrameRect(const RECT* rect, CBrush* brush)
{
    if (!m_hDC || !rect) return;
    GdiDevice& d = *m_hDC;
    const QRect r = DeviceRect(ToDevice(d, rect->left, rect->top), ToDevice(d, rect->right, rect->bottom));
    d.RecordF("FrameRect L[%d,%d,%d,%d]", int(rect->left), int(rect->top), int(rect->right), int(rect->bottom));
    if (r.isEmpty()) return;
    const GdiPaint paint = PaintOfBrush(brush, d.state);
    const int bx = std::max(1, d.state.mapping.LengthToDeviceX(1)), by = std::max(1, d.state.mapping.LengthToDeviceY(1));
    QRegion frame(r);
    frame -= QRegion(r.adjusted(bx, by, -bx, -by));
    for (const QRect& part : frame) d.target->FillRect(part, paint);
}

void CDC::InvertRect(const RECT* rect)
{
    if (!m_hDC || !rect) return;
    FillDeviceRect(*m_hDC, "InvertRect", *rect, SolidPaint(0, R2_NOT));
}

void CDC::DrawFocusRect(const RECT* rect)
{
    if (!m_hDC || !rect) return;
    GdiDevice& d = *m_hDC;
    const QRect r = DeviceRect(ToDevice(d, rect->left, rect->top), ToDevice(d, rect->right, rect->bottom));
    d.RecordF("DrawFocusRect L[%d,%d,%d,%d]", int(rect->left), int(rect->top), int(rect->right), int(rect->bottom));
    if (r.isEmpty()) return;
    GdiPaint paint = SolidPaint(0xFFFFFF, R2_XORPEN);
    paint.hatch = GdiPaint::kHalftone;
    QRegion frame(r);
    frame -= QRegion(r.adjusted(1, 1, -1, -1));
    for (const QRect& part : frame) d.target->FillRect(part, paint);
}

void CDC::Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (!rect) return;
    const int x = rect->left, y = rect->top, cx = rect->right - rect->left, cy = rect->bottom - rect->top;
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

// --- pixels and blocks ---

COLORREF CDC::SetPixel(int x, int y, COLORREF color)
{
    if (!m_hDC) return CLR_INVALID;
    const QPoint p = ToDevice(*m_hDC, x, y);
    m_hDC->RecordF("SetPixel L[%d,%d] D[%d,%d] %s", x, y, p.x(), p.y(), Hex(color).c_str());
    return m_hDC->target->SetPixel(p, color & 0xFFFFFF);
}

COLORREF CDC::GetPixel(int x, int y) const
{
    if (!m_hDC) return CLR_INVALID;
    return m_hDC->target->GetPixel(ToDevice(*m_hDC, x, y));
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop)
{
    if (!m_hDC) return FALSE;
    const int rop2 = RopForPattern(rop);
    if (rop2 == 0) return FALSE;
    GdiDevice& d = *m_hDC;
    GdiPaint paint = BrushPaint(d.state, rop2);
    if (rop2 == R2_COPYPEN || rop2 == R2_XORPEN) {
        if (!HasBrush(d.state)) paint.rop2 = R2_NOP;
    }
    const RECT r{x, y, x + width, y + height};
    FillDeviceRect(d, "PatBlt", r, paint);
    return TRUE;
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source,
                     int xSrc, int ySrc, int srcWidth, int srcHeight, DWORD rop)
{
    if (!m_hDC) return FALSE;
    if (!GdiIsSourceRop(rop)) return source ? FALSE : PatBlt(x, y, width, height, rop);
    if (!source || !source->m_hDC) return FALSE;
    GdiDevice& d = *m_hDC;
    GdiDevice& s = *source->m_hDC;
    const QPoint d1 = ToDevice(d, x, y), d2 = ToDevice(d, x + width, y + height);
    const QPoint s1 = ToDevice(s, xSrc, ySrc), s2 = ToDevice(s, xSrc + srcWidth, ySrc + srcHeight);
    d.RecordF("StretchBlt L[%d,%d,%d,%d] D[%d,%d,%d,%d] src D[%d,%d,%d,%d] rop=%06X", x, y, width, height,
                d1.x(), d1.y(), d2.x() - d1.x(), d2.y() - d1.y(), s1.x(), s1.y(), s2.x() - s1.x(), s2.y() - s1.y(), unsigned(rop));
    const QImage* image = s.target ? s.target->Image() : nullptr;
    // A source without pixels only serves a destination that has none either.
    if (!image) return dynamic_cast<GdiNullTarget*>(d.target.get()) ? TRUE : FALSE;
    const QRect dst = DeviceRect(d1, d2), src = DeviceRect(s1, s2);
    if (dst.isEmpty() || src.isEmpty()) return TRUE;
    const bool mirrorX = ((d2.x() - d1.x()) < 0) != ((s2.x() - s1.x()) < 0);
    const bool mirrorY = ((d2.y() - d1.y()) < 0) != ((s2.y() - s1.y()) < 0);
    return d.target->Blit(dst, *image, src, rop, mirrorX, mirrorY) ? TRUE : FALSE;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop)
{
    return StretchBlt(x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

// --- text ---

namespace {

// Left end of the baseline for text of the given width anchored per the alignment flags.
QPoint BaselineOrigin(QPoint anchor, int width, UINT align, const GdiFontMetrics& m)
{
    int x = anchor.x();
    if ((align & TA_CENTER) == TA_CENTER) x -= width / 2;
    else if (align & TA_RIGHT) x -= width;
    int y = anchor.y() + m.ascent;
    if ((align & TA_BASELINE) == TA_BASELINE) y = anchor.y();
    else if (align & TA_BOTTOM) y = anchor.y() - m.descent;
    return {x, y};
}

// Draws one run upright. Only an opaque background needs the run's width; a caller
// that measured the run already passes it, so no run is measured twice.
void DrawRun(GdiDevice& d, const GdiDeviceFont& t, QPoint baseline, const QString& text, const QRect* clip,
             std::optional<int> width = std::nullopt)
{
    if (d.state.bkMode == OPAQUE) {
        if (!width) width = t.TextWidth(text);
        QRect box(baseline.x(), baseline.y() - t.Metrics().ascent, *width, t.Metrics().height);
        if (clip) box &= *clip;
        if (*width > 0 && !box.isEmpty()) d.target->FillRect(box, SolidPaint(d.state.bkColor));
    }
    if (!text.isEmpty()) d.target->DrawText(baseline, text, t.Font(), d.state.textColor, clip);
}

struct TabStops {
    int interval = 0;            // device pixels, when regular
    std::vector<int> positions;  // device pixels from the origin, when listed
};

TabStops DeviceTabStops(const GdiDevice& d, const GdiDeviceFont& t, int count, const int* stops)
{
    TabStops tabs;
    if (count <= 0 || !stops) tabs.interval = std::max(1, 8 * t.Metrics().aveCharWidth);
    else if (count == 1) tabs.interval = std::max(1, d.state.mapping.LengthToDeviceX(stops[0]));
    else for (int i = 0; i < count; ++i) tabs.positions.push_back(d.state.mapping.LengthToDeviceX(stops[i]));
    return tabs;
}

int NextTab(const TabStops& tabs, int x, int spaceWidth)
{
    if (tabs.interval > 0) return (x / tabs.interval + 1) * tabs.interval;
    for (int p : tabs.positions)
        if (p > x) return p;
    return x + spaceWidth; // past the last stop a tab is a blank
}

// Segments of a tabbed line as offsets from its start, which lies `start` pixels right
// of the tab origin; returns the total width.
int ArrangeTabbed(const GdiDeviceFont& t, const TabStops& tabs, const QString& text, int start,
                  std::vector<GdiTextSegment>& out)
{
    const int space = t.TextWidth(QStringLiteral(" "));
    int x = start;
    const QStringList parts = text.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) x = NextTab(tabs, x, space);
        if (!parts[i].isEmpty()) out.push_back({x - start, parts[i]});
        x += t.TextWidth(parts[i]);
    }
    return x - start;
}

CSize LogicalExtent(const GdiDevice& d, int width, int height)
{
    return {d.state.mapping.LengthToLogicalX(width), d.state.mapping.LengthToLogicalY(height)};
}

} // namespace

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count)
{
    return ExtTextOut(x, y, 0, nullptr, text, UINT(count < 0 ? 0 : count), nullptr);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, const RECT* rect, LPCTSTR text, UINT count, const int*)
{
    if (!m_hDC) return FALSE;
    GdiDevice& d = *m_hDC;
    const QString s = TextOf(text, int(count));
    const bool updateCp = (d.state.textAlign & TA_UPDATECP) != 0;
    const CPoint anchorLogical = updateCp ? d.state.currentPosition : CPoint(x, y);
    const QPoint anchor = ToDevice(d, anchorLogical.x, anchorLogical.y);
    if (d.recording) // the text is converted for the log only while recording
        d.RecordF("%s L[%d,%d] D[%d,%d] \"%s\"", options || rect ? "ExtTextOut" : "TextOut",
                  int(anchorLogical.x), int(anchorLogical.y), anchor.x(), anchor.y(), Utf8(s).c_str());

    std::optional<QRect> box;
    if (rect) box = DeviceRect(ToDevice(d, rect->left, rect->top), ToDevice(d, rect->right, rect->bottom));
    if ((options & ETO_OPAQUE) && box && !box->isEmpty()) d.target->FillRect(*box, SolidPaint(d.state.bkColor));
    const QRect* clip = (options & ETO_CLIPPED) && box ? &*box : nullptr;

    const GdiDeviceFont& t = DeviceFont(d);
    // Left-aligned transparent text is placed without its width.
    const bool needsWidth = (d.state.textAlign & (TA_CENTER | TA_RIGHT)) || d.state.bkMode == OPAQUE || updateCp;
    const std::optional<int> width = needsWidth ? std::optional<int>(t.TextWidth(s)) : std::nullopt;
    DrawRun(d, t, BaselineOrigin(anchor, width.value_or(0), d.state.textAlign, t.Metrics()), s, clip, width);
    if (updateCp) {
        const int advance = d.state.mapping.LengthToLogicalX(*width);
        d.state.currentPosition.x += d.state.mapping.FlipsX() ? -advance : advance;
    }
    return TRUE;
}

int CDC::DrawText(LPCTSTR text, int count, RECT* rect, UINT format)
{
    if (!m_hDC || !rect) return 0;
    GdiDevice& d = *m_hDC;
    const QString s = TextOf(text, count);
    const QRect box = DeviceRect(ToDevice(d, rect->left, rect->top), ToDevice(d, rect->right, rect->bottom));
    d.RecordF("DrawText L[%d,%d,%d,%d] D[%d,%d,%d,%d] format=0x%X \"%s\"", int(rect->left), int(rect->top),
                int(rect->right), int(rect->bottom), box.left(), box.top(), box.left() + box.width(),
                box.top() + box.height(), format, Utf8(s).c_str());

    // With DT_TABSTOP the second byte holds the tab size in characters, not flags.
    int tabChars = 8;
    if (format & DT_TABSTOP) {
        tabChars = int((format >> 8) & 0xFF);
        format &= ~UINT(0xFF00);
    }
    const GdiDeviceFont& t = DeviceFont(d);
    const int lineHeight = t.Metrics().height + ((format & DT_EXTERNALLEADING) ? t.Metrics().externalLeading : 0);
    const GdiTextLayout layout([&t](const QString& run) { return t.TextWidth(run); },
                               std::max(1, tabChars) * std::max(1, t.Metrics().aveCharWidth));
    const std::vector<GdiTextLine> lines = layout.Layout(s, format, box.width());
    const int totalHeight = int(lines.size()) * lineHeight;
    int widest = 0;
    for (const GdiTextLine& l : lines) widest = std::max(widest, l.width);

    if (format & DT_CALCRECT) {
        int width = widest;
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) width = std::max(widest, box.width());
        const GdiMapping& m = d.state.mapping;
        const int logicalWidth = m.LengthToLogicalX(width), logicalHeight = m.LengthToLogicalY(totalHeight);
        rect->right = rect->left + (m.FlipsX() ? -logicalWidth : logicalWidth);
        rect->bottom = rect->top + (m.FlipsY() ? -logicalHeight : logicalHeight);
        return logicalHeight;
    }

    int top = box.top();
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) top = box.top() + (box.height() - lineHeight) / 2;
        else if (format & DT_BOTTOM) top = box.top() + box.height() - lineHeight;
    }
    const QRect* clip = (format & DT_NOCLIP) ? nullptr : &box;
    int y = top;
    for (const GdiTextLine& l : lines) {
        int x = box.left();
        if (format & DT_CENTER) x = box.left() + (box.width() - l.width) / 2;
        else if (format & DT_RIGHT) x = box.left() + box.width() - l.width;
        for (const GdiTextSegment& segment : l.segments)
            DrawRun(d, t, QPoint(x + segment.x, y + t.Metrics().ascent), segment.text, clip);
        y += lineHeight;
    }
    const bool offsetResult = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM));
    return d.state.mapping.LengthToLogicalY(offsetResult ? top - box.top() + totalHeight : totalHeight);
}

CSize CDC::GetTextExtent(LPCTSTR text, int count) const
{
    if (!m_hDC) return {};
    const GdiDeviceFont& t = DeviceFont(*m_hDC);
    return LogicalExtent(*m_hDC, t.TextWidth(TextOf(text, count)), t.Metrics().height);
}

CSize CDC::GetTabbedTextExtent(LPCTSTR text, int count, int tabCount, const int* tabStops) const
{
    if (!m_hDC) return {};
    const GdiDeviceFont& t = DeviceFont(*m_hDC);
    std::vector<GdiTextSegment> segments;
    const int width = ArrangeTabbed(t, DeviceTabStops(*m_hDC, t, tabCount, tabStops), TextOf(text, count), 0, segments);
    return LogicalExtent(*m_hDC, width, t.Metrics().height);
}

CSize CDC::TabbedTextOut(int x, int y, LPCTSTR text, int count, int tabCount, const int* tabStops, int tabOrigin)
{
    if (!m_hDC) return {};
    GdiDevice& d = *m_hDC;
    const QString s = TextOf(text, count);
    const QPoint anchor = ToDevice(d, x, y);
    d.RecordF("TabbedTextOut L[%d,%d] D[%d,%d] \"%s\"", x, y, anchor.x(), anchor.y(), Utf8(s).c_str());
    const GdiDeviceFont& t = DeviceFont(d);
    std::vector<GdiTextSegment> segments;
    // Tab stops count from tabOrigin; the text starts at x.
    const int start = anchor.x() - ToDevice(d, tabOrigin, y).x();
    const int width = ArrangeTabbed(t, DeviceTabStops(d, t, tabCount, tabStops), s, start, segments);
    const QPoint baseline = BaselineOrigin(anchor, width, d.state.textAlign & ~UINT(TA_CENTER), t.Metrics());
    for (const GdiTextSegment& segment : segments)
        DrawRun(d, t, QPoint(baseline.x() + segment.x, baseline.y()), segment.text, nullptr);
    return LogicalExtent(d, width, t.Metrics().height);
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const
{
    if (!m_hDC || !metrics) return FALSE;
    GdiDevice& d = *m_hDC;
    const GdiFontMetrics& tm = DeviceFont(d).Metrics();
    const GdiMapping& m = d.state.mapping;
    LOGFONT lf;
    if (d.state.font) lf = d.state.font->font;
    *metrics = TEXTMETRIC{};
    metrics->tmHeight = m.LengthToLogicalY(tm.height);
    metrics->tmAscent = m.LengthToLogicalY(tm.ascent);
    metrics->tmDescent = m.LengthToLogicalY(tm.descent);
    metrics->tmInternalLeading = m.LengthToLogicalY(tm.internalLeading);
    metrics->tmExternalLeading = m.LengthToLogicalY(tm.externalLeading);
    metrics->tmAveCharWidth = m.LengthToLogicalX(tm.aveCharWidth);
    metrics->tmMaxCharWidth = m.LengthToLogicalX(tm.maxCharWidth);
    metrics->tmWeight = lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight;
    metrics->tmDigitizedAspectX = d.dpiX;
    metrics->tmDigitizedAspectY = d.dpiY;
    metrics->tmFirstChar = 0x20;
    metrics->tmLastChar = 0xFF;
    metrics->tmDefaultChar = '?';
    metrics->tmBreakChar = ' ';
    metrics->tmItalic = lf.lfItalic;
    metrics->tmUnderlined = lf.lfUnderline;
    metrics->tmStruckOut = lf.lfStrikeOut;
    metrics->tmPitchAndFamily = lf.lfPitchAndFamily;
    metrics->tmCharSet = lf.lfCharSet;
    return TRUE;
}

// --- printing ---

int CDC::StartDoc(LPCTSTR docName)
{
    DOCINFO info;
    info.lpszDocName = docName;
    return StartDoc(&info);
}

int CDC::StartDoc(const DOCINFO* docInfo)
{
    if (!m_hDC || !docInfo) return SP_ERROR;
    const QString name = TextOf(docInfo->lpszDocName ? docInfo->lpszDocName : "", -1);
    m_hDC->Record("StartDoc \"" + Utf8(name) + "\"");
    return m_hDC->target->StartDoc(name, docInfo->lpszOutput);
}

int CDC::StartPage()
{
    if (!m_hDC) return SP_ERROR;
    m_hDC->Record(CString("StartPage"));
    return m_hDC->target->StartPage();
}

int CDC::EndPage()
{
    if (!m_hDC) return SP_ERROR;
    m_hDC->Record(CString("EndPage"));
    const int result = m_hDC->target->EndPage();
    if (result > 0 && m_hDC->abortProc && !m_hDC->abortProc(m_hDC, 0)) {
        AbortDoc();
        return SP_ERROR;
    }
    return result;
}

int CDC::EndDoc()
{
    if (!m_hDC) return SP_ERROR;
    m_hDC->Record(CString("EndDoc"));
    return m_hDC->target->EndDoc();
}

int CDC::AbortDoc()
{
    if (!m_hDC) return SP_ERROR;
    m_hDC->Record(CString("AbortDoc"));
    return m_hDC->target->AbortDoc();
}

CString CDC::GetPrintFailure() const
{
    if (!m_hDC || !m_hDC->target) return CString();
    return CString(m_hDC->target->PrintFailure().toStdString());
}

int CDC::SetAbortProc(ABORTPROC proc)
{
    if (!m_hDC) return SP_ERROR;
    m_hDC->abortProc = proc;
    return 1;
}
