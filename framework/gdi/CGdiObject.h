#pragma once
// Drawing objects: pens, brushes, fonts and bitmaps. The handle is shared: a
// device context that has an object selected keeps it alive, so deleting or
// destroying a selected object never leaves the context with a dangling one.
#include "framework/core/CObject.h"
#include "framework/core/CPoint.h"
#include "framework/core/CString.h"
#include "framework/gdi/GdiDefs.h"

#include <cstddef>
#include <memory>
#include <vector>

class CDC;

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_handle.get(); }
    operator HGDIOBJ() const { return GetSafeHandle(); }

    // Releases this wrapper's share of the handle; FALSE when there was none.
    BOOL DeleteObject();
    // A stock object shared by everyone (see the *_PEN, *_BRUSH, *_FONT indexes).
    BOOL CreateStockObject(int index);
    // Byte count written into buffer: LOGPEN, LOGBRUSH, LOGFONT or BITMAP by kind; 0 if too small.
    int GetObject(int count, void* buffer) const;
    // The wrapper owning the handle, or a long-lived stand-in when it has none.
    static CGdiObject* FromHandle(HGDIOBJ handle);

    // Framework plumbing for the device contexts and the window layer.
    const std::shared_ptr<GdiObjectData>& SharedHandle() const { return m_handle; }

protected:
    BOOL Adopt(std::shared_ptr<GdiObjectData> handle);

private:
    std::shared_ptr<GdiObjectData> m_handle;
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    // width in logical units; 0 is always one device pixel.
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color);
    int GetLogPen(LOGPEN* logPen) const;
    static CPen* FromHandle(HPEN handle);
};

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatchIndex, COLORREF color);
    static CBrush* FromHandle(HBRUSH handle);
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    CFont() = default;
    // "Arial" resolves to the metric-compatible "Liberation Sans".
    BOOL CreateFontIndirect(const LOGFONT* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight,
                    BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                    BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCTSTR faceName);
    static CFont* FromHandle(HFONT handle);
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap() = default;
    // 32-bit colour bitmap of the given size, initially black.
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    // A .bmp file or a packed bitmap resource (no file header); FALSE on anything
    // malformed, with the reason in error when given.
    BOOL LoadBitmapFromBytes(const BYTE* data, std::size_t size, CString* error = nullptr);
    // Bitmap resource of the current language library, through GdiSetBitmapResourceSource.
    BOOL LoadBitmap(UINT resourceId);
    int GetBitmap(BITMAP* bitmap) const;
    CSize GetSize() const;
    static CBitmap* FromHandle(HBITMAP handle);
};

// Where CBitmap::LoadBitmap finds the bytes of a bitmap resource; the resource layer
// installs it once. Without one, LoadBitmap fails.
using GdiBitmapResourceSource = bool (*)(UINT resourceId, std::vector<BYTE>& bytes);
void GdiSetBitmapResourceSource(GdiBitmapResourceSource source);
