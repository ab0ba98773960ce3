#include "framework/gdi/CGdiObject.h"

#include "framework/core/Resources.h"
#include "framework/gdi/CDC.h"
#include "framework/gdi/GdiBmpReader.h"
#include "framework/gdi/GdiObjectData.h"

#include <array>
#include <cstring>

namespace {

GdiBitmapResourceSource g_bitmapSource = nullptr;

std::shared_ptr<GdiObjectData> MakePen(UINT style, int width, COLORREF color)
{
    auto data = std::make_shared<GdiObjectData>(GdiObjectData::Kind::Pen);
    data->pen.lopnStyle = style;
    data->pen.lopnWidth = {width, 0};
    data->pen.lopnColor = color & 0xFFFFFF;
    return data;
}

std::shared_ptr<GdiObjectData> MakeBrush(UINT style, COLORREF color, LONG hatch)
{
    auto data = std::make_shared<GdiObjectData>(GdiObjectData::Kind::Brush);
    data->brush.lbStyle = style;
    data->brush.lbColor = color & 0xFFFFFF;
    data->brush.lbHatch = hatch;
    return data;
}

std::shared_ptr<GdiObjectData> MakeFont(const LOGFONT& lf)
{
    auto data = std::make_shared<GdiObjectData>(GdiObjectData::Kind::Font);
    data->font = lf;
    data->font.lfFaceName[LF_FACESIZE - 1] = '\0';
    return data;
}

LOGFONT StockFont(LONG height, LONG weight, const char* face, BYTE pitchAndFamily)
{
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

std::shared_ptr<GdiObjectData> CreateStock(int index)
{
    switch (index) {
    case WHITE_BRUSH: return MakeBrush(BS_SOLID, RGB(255, 255, 255), 0);
    case LTGRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(192, 192, 192), 0);
    case GRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(128, 128, 128), 0);
    case DKGRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(64, 64, 64), 0);
    case BLACK_BRUSH: return MakeBrush(BS_SOLID, RGB(0, 0, 0), 0);
    case NULL_BRUSH: return MakeBrush(BS_NULL, 0, 0);
    case WHITE_PEN: return MakePen(PS_SOLID, 0, RGB(255, 255, 255));
    case BLACK_PEN: return MakePen(PS_SOLID, 0, RGB(0, 0, 0));
    case NULL_PEN: return MakePen(PS_NULL, 0, 0);
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
        return MakeFont(StockFont(12, FW_NORMAL, "Courier New", FIXED_PITCH | FF_MODERN));
    case ANSI_VAR_FONT:
    case DEVICE_DEFAULT_FONT:
    case DEFAULT_GUI_FONT:
        return MakeFont(StockFont(-11, FW_NORMAL, "MS Shell Dlg", VARIABLE_PITCH | FF_SWISS));
    case SYSTEM_FONT:
        return MakeFont(StockFont(16, FW_BOLD, "System", VARIABLE_PITCH | FF_SWISS));
    default: return nullptr;
    }
}

template <class Wrapper>
Wrapper* WrapperFor(HGDIOBJ handle, GdiObjectData::Kind kind)
{
    if (!handle || handle->kind != kind) return nullptr;
    return static_cast<Wrapper*>(CGdiObject::FromHandle(handle));
}

} // namespace

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

GdiObjectData::~GdiObjectData() = default;

std::shared_ptr<GdiObjectData> GdiStockObject(int index)
{
    constexpr int kStockCount = DEFAULT_GUI_FONT + 1;
    static std::array<std::shared_ptr<GdiObjectData>, kStockCount> stock;
    if (index < 0 || index >= kStockCount) return nullptr;
    if (!stock[std::size_t(index)]) stock[std::size_t(index)] = CreateStock(index);
    return stock[std::size_t(index)];
}

// --- CGdiObject ---

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Adopt(std::shared_ptr<GdiObjectData> handle)
{
    if (!handle) return FALSE;
    DeleteObject();
    m_handle = std::move(handle);
    if (!m_handle->owner) m_handle->owner = this;
    return TRUE;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_handle) return FALSE;
    if (m_handle->owner == this) m_handle->owner = nullptr;
    m_handle.reset();
    return TRUE;
}

BOOL CGdiObject::CreateStockObject(int index)
{
    auto stock = GdiStockObject(index);
    if (!stock) return FALSE;
    DeleteObject();
    m_handle = std::move(stock); // stock objects belong to no wrapper
    return TRUE;
}

int CGdiObject::GetObject(int count, void* buffer) const
{
    if (!m_handle || !buffer || count <= 0) return 0;
    auto copy = [&](const auto& value) {
        if (std::size_t(count) < sizeof(value)) return 0;
        std::memcpy(buffer, &value, sizeof(value));
        return int(sizeof(value));
    };
    switch (m_handle->kind) {
    case GdiObjectData::Kind::Pen: return copy(m_handle->pen);
    case GdiObjectData::Kind::Brush: return copy(m_handle->brush);
    case GdiObjectData::Kind::Font: return copy(m_handle->font);
    case GdiObjectData::Kind::Bitmap: {
        BITMAP bm;
        bm.bmWidth = m_handle->bitmap.width();
        bm.bmHeight = m_handle->bitmap.height();
        bm.bmWidthBytes = bm.bmWidth * 4;
        return copy(bm);
    }
    }
    return 0;
}

std::shared_ptr<GdiObjectData> GdiPrinterFont()
{
    static const std::shared_ptr<GdiObjectData> font = MakeFont(StockFont(0, FW_NORMAL, "Courier New", FIXED_PITCH | FF_MODERN));
    return font;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle)
{
    if (!handle) return nullptr;
    if (handle->owner) return handle->owner;
    if (!handle->standIn) {
        std::unique_ptr<CGdiObject> standIn;
        switch (handle->kind) {
        case GdiObjectData::Kind::Pen: standIn = std::make_unique<CPen>(); break;
        case GdiObjectData::Kind::Brush: standIn = std::make_unique<CBrush>(); break;
        case GdiObjectData::Kind::Font: standIn = std::make_unique<CFont>(); break;
        case GdiObjectData::Kind::Bitmap: standIn = std::make_unique<CBitmap>(); break;
        }
        // A non-owning reference: the stand-in lives inside the data it names.
        standIn->m_handle = std::shared_ptr<GdiObjectData>(std::shared_ptr<GdiObjectData>(), handle);
        handle->standIn = std::move(standIn);
    }
    return handle->standIn.get();
}

// --- CPen ---

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    if (style < PS_SOLID || style > PS_INSIDEFRAME) return FALSE;
    return Adopt(MakePen(UINT(style), width < 0 ? 0 : width, color));
}

int CPen::GetLogPen(LOGPEN* logPen) const { return GetObject(int(sizeof(LOGPEN)), logPen); }

CPen* CPen::FromHandle(HPEN handle) { return WrapperFor<CPen>(handle, GdiObjectData::Kind::Pen); }

// --- CBrush ---

BOOL CBrush::CreateSolidBrush(COLORREF color) { return Adopt(MakeBrush(BS_SOLID, color, 0)); }

BOOL CBrush::CreateHatchBrush(int hatchIndex, COLORREF color)
{
    if (hatchIndex < HS_HORIZONTAL || hatchIndex > HS_DIAGCROSS) return FALSE;
    return Adopt(MakeBrush(BS_HATCHED, color, hatchIndex));
}

CBrush* CBrush::FromHandle(HBRUSH handle) { return WrapperFor<CBrush>(handle, GdiObjectData::Kind::Brush); }

// --- CFont ---

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont)
{
    if (!logFont) return FALSE;
    return Adopt(MakeFont(*logFont));
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                       BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, LPCTSTR faceName)
{
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

CFont* CFont::FromHandle(HFONT handle) { return WrapperFor<CFont>(handle, GdiObjectData::Kind::Font); }

// --- CBitmap ---

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int width, int height)
{
    if (width <= 0 || height <= 0) return FALSE;
    auto data = std::make_shared<GdiObjectData>(GdiObjectData::Kind::Bitmap);
    data->bitmap = QImage(width, height, QImage::Format_RGB32);
    if (data->bitmap.isNull()) return FALSE;
    data->bitmap.fill(0xFF000000u);
    return Adopt(std::move(data));
}

BOOL CBitmap::LoadBitmapFromBytes(const BYTE* bytes, std::size_t size, CString* error)
{
    CString reason;
    QImage image = GdiReadBmp(bytes, size, reason);
    if (error) *error = reason;
    if (image.isNull()) return FALSE;
    auto data = std::make_shared<GdiObjectData>(GdiObjectData::Kind::Bitmap);
    data->bitmap = std::move(image);
    return Adopt(std::move(data));
}

BOOL CBitmap::LoadBitmap(UINT resourceId)
{
    std::vector<BYTE> bytes;
    if (g_bitmapSource) {
        if (!g_bitmapSource(resourceId, bytes)) return FALSE;
    } else {
        // Without an installed source the bitmap comes from the current language library.
        const auto* resource = FindBitmapResource(AfxGetResourceHandle(), resourceId);
        if (!resource) return FALSE;
        bytes.assign(resource->begin(), resource->end());
    }
    return LoadBitmapFromBytes(bytes.data(), bytes.size());
}

int CBitmap::GetBitmap(BITMAP* bitmap) const { return GetObject(int(sizeof(BITMAP)), bitmap); }

CSize CBitmap::GetSize() const
{
    const HGDIOBJ h = GetSafeHandle();
    if (!h || h->kind != GdiObjectData::Kind::Bitmap) return {};
    return {h->bitmap.width(), h->bitmap.height()};
}

CBitmap* CBitmap::FromHandle(HBITMAP handle) { return WrapperFor<CBitmap>(handle, GdiObjectData::Kind::Bitmap); }

void GdiSetBitmapResourceSource(GdiBitmapResourceSource source) { g_bitmapSource = source; }
