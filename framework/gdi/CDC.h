#pragma once
// The device context: a thin wrapper of a device handle (HDC) that holds the
// whole drawing state (mapping, selected objects, colours and modes, clip and
// saved states) and draws on one target:
//  - an image (window back buffer, PNG picture, memory DC with a bitmap),
//    where raster operations are exact per pixel;
//  - a printer that writes PDF pages;
//  - nothing at all (a recording DC for tests: every call is logged with its
//    logical and device coordinates, on any target when recording is on).
// Coordinates are mapped by our own integer arithmetic; text is drawn upright
// at its mapped anchor whatever the direction of the y axis.
#include "framework/core/CObject.h"
#include "framework/core/CPoint.h"
#include "framework/core/CRect.h"
#include "framework/core/CString.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/gdi/GdiDefs.h"

#include <vector>

// Paper of a printer device, all lengths in 0.01 mm; defaults to A4 at 600 dpi
// with no unprintable margin.
struct GdiPageSetup {
    int paperWidth = 21000;
    int paperHeight = 29700;
    int dpiX = 600;
    int dpiY = 600;
    int unprintableLeft = 0;
    int unprintableTop = 0;
    int unprintableRight = 0;
    int unprintableBottom = 0;
};

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC() = default;
    // Deletes the attached device.
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    // Set on attaching a printer device; print preview and self-printing loops may set it.
    BOOL m_bPrinting = FALSE;

    // --- device handle ---
    BOOL Attach(HDC hdc);
    HDC Detach();
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    // The device's own wrapper (it lives as long as the device and never deletes it).
    static CDC* FromHandle(HDC hdc);
    BOOL DeleteDC();
    // A memory DC drawing into the bitmap selected into it (1x1 black until then).
    BOOL CreateCompatibleDC(CDC* dc);

    // --- targets (framework additions) ---
    // A white image of the given size; SaveImage writes it as PNG.
    BOOL CreateImageDC(int width, int height, int dpiX = 96, int dpiY = 96);
    BOOL SaveImage(LPCTSTR pngPath) const;
    // Whether drawing lands in pixels of an image (a window's back buffer, an image or
    // memory DC), which show only once their owner presents them whole.
    BOOL HasPixels() const;
    // A printer writing a PDF file between StartDoc and EndDoc.
    BOOL CreatePrinterDC(LPCTSTR pdfPath, const GdiPageSetup& page);
    // A printer of the print system's queue: the document goes to it as one job, which
    // asks the queue for the page's paper and orientation and for the copies.
    BOOL CreateQueuePrinterDC(LPCTSTR queue, const GdiPageSetup& page, int copies = 1);
    // A printer page drawn into a white image of the printable area (print preview).
    BOOL CreatePageImageDC(const GdiPageSetup& page);
    // No pixels; only the log (and measuring) of a screen or printer of the given size.
    BOOL CreateRecordingDC(int width, int height, int dpiX = 96, int dpiY = 96, BOOL printer = FALSE);
    void EnableRecording(BOOL on);
    std::vector<CString> GetRecording() const;
    void ClearRecording();

    // --- state ---
    int SaveDC();
    // n > 0 restores state n (and drops later ones); n < 0 counts back from the last.
    BOOL RestoreDC(int savedDC);
    int GetDeviceCaps(int index) const;
    // GETPHYSPAGESIZE and GETPRINTINGOFFSET fill a POINT; > 0 on success.
    int Escape(int escape, int inCount, LPCSTR inData, void* outData);
    BOOL IsPrinting() const { return m_bPrinting; }

    // --- mapping ---
    int SetMapMode(int mode);
    int GetMapMode() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
    CSize GetWindowExt() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CPoint GetViewportOrg() const;
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
    CSize GetViewportExt() const;

    void LPtoDP(POINT* points, int count = 1) const;
    // Sizes scale by the absolute extents: signs are kept.
    void LPtoDP(SIZE* size) const;
    void DPtoLP(POINT* points, int count = 1) const;
    void DPtoLP(RECT* rect) const;
    void DPtoLP(SIZE* size) const;

    // --- objects: each returns what it replaced ---
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    // Only a memory DC takes a bitmap; null elsewhere.
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* object);
    HGDIOBJ SelectObject(HGDIOBJ handle);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;

    // --- attributes ---
    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int SetROP2(int mode);
    int GetROP2() const;
    UINT SetTextAlign(UINT flags);
    int SetPolyFillMode(int mode);
    CPoint GetCurrentPosition() const;

    // --- clipping (a rectangle in logical units, kept in device units; NULLREGION or SIMPLEREGION) ---
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const RECT* rect) { return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom); }
    int IntersectClipRect(const RECT& rect) { return IntersectClipRect(&rect); }

    // --- lines and shapes (current pen and brush, mix mode of SetROP2) ---
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    BOOL Polyline(const POINT* points, int count);
    BOOL Polygon(const POINT* points, int count);
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(const RECT* r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL Rectangle(const RECT& r) { return Rectangle(&r); }
    BOOL RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    BOOL Ellipse(int left, int top, int right, int bottom);
    // Bounding box and two radial points; counter-clockwise on the device from start to end.
    BOOL Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    BOOL Pie(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    BOOL Chord(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);

    // --- areas (no pen) ---
    void FillRect(const RECT* rect, CBrush* brush);
    // Leaves the background colour set to color.
    void FillSolidRect(const RECT* rect, COLORREF color);
    void FillSolidRect(const RECT& rect, COLORREF color) { FillSolidRect(&rect, color); }
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FrameRect(const RECT* rect, CBrush* brush);
    void FrameRect(const RECT& rect, CBrush* brush) { FrameRect(&rect, brush); }
    void InvertRect(const RECT* rect);
    // Dotted frame drawn by inverting: drawing it twice removes it.
    void DrawFocusRect(const RECT* rect);
    void Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight) { Draw3dRect(&rect, topLeft, bottomRight); }

    // --- pixels and blocks ---
    // CLR_INVALID where there is no pixel (outside, or a target without pixels).
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF GetPixel(int x, int y) const;
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source,
                    int xSrc, int ySrc, int srcWidth, int srcHeight, DWORD rop);
    // Brush-only operations: PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS.
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);

    // --- text (current font, text colour, background mode and colour, alignment) ---
    BOOL TextOut(int x, int y, LPCTSTR text, int count);
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text.c_str(), text.GetLength()); }
    // ETO_OPAQUE fills rect with the background colour; ETO_CLIPPED clips to it.
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect, LPCTSTR text, UINT count, const int* widths = nullptr);
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect, const CString& text, const int* widths = nullptr)
    {
        return ExtTextOut(x, y, options, rect, text.c_str(), UINT(text.GetLength()), widths);
    }
    // Height of the text in logical units (0 on failure); DT_CALCRECT only measures and
    // moves the rectangle's right and bottom. count -1 means up to the terminating zero.
    int DrawText(LPCTSTR text, int count, RECT* rect, UINT format);
    int DrawText(const CString& text, RECT* rect, UINT format) { return DrawText(text.c_str(), text.GetLength(), rect, format); }
    int DrawText(const CString& text, RECT& rect, UINT format) { return DrawText(text, &rect, format); }
    CSize GetTextExtent(LPCTSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text.c_str(), text.GetLength()); }
    // Tab stops in logical units; none: every 8 average character widths; one: that spacing.
    CSize GetTabbedTextExtent(LPCTSTR text, int count, int tabCount, const int* tabStops) const;
    CSize GetTabbedTextExtent(const CString& text, int tabCount, const int* tabStops) const
    {
        return GetTabbedTextExtent(text.c_str(), text.GetLength(), tabCount, tabStops);
    }
    CSize TabbedTextOut(int x, int y, LPCTSTR text, int count, int tabCount, const int* tabStops, int tabOrigin);
    CSize TabbedTextOut(int x, int y, const CString& text, int tabCount, const int* tabStops, int tabOrigin)
    {
        return TabbedTextOut(x, y, text.c_str(), text.GetLength(), tabCount, tabStops, tabOrigin);
    }
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;

    // --- printing (a printer or page-image device; elsewhere they fail with SP_ERROR) ---
    int StartDoc(LPCTSTR docName);
    int StartDoc(const DOCINFO* docInfo);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();
    int SetAbortProc(ABORTPROC proc);
    // Why the printer failed the last of the calls above, in the system's words (the
    // queue's refusal, the file's write error); empty when it gave no reason.
    CString GetPrintFailure() const;

private:
    bool m_ownsDevice = false;
};
