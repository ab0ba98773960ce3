// Pixel checks of the drawing primitives on an image target.
#include "GdiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

class CDCDraw : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dc.CreateImageDC(200, 200)); }
    const QImage& Image() { return *GdiDeviceImage(dc.GetSafeHdc()); }
    COLORREF At(int x, int y) { return DevicePixel(dc, x, y); }
    void Fill(COLORREF c)
    {
        const CRect all(0, 0, 200, 200);
        dc.FillSolidRect(&all, c);
    }
    // A pure y flip: logical (x, y) is device (100 + x, 100 - y).
    void YUpMapping()
    {
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(1, -1);
        dc.SetViewportExt(1, 1);
        dc.SetViewportOrg(100, 100);
    }
    bool AnyInBox(int cx, int cy, int radius, COLORREF c)
    {
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if (At(x, y) == c) return true;
        return false;
    }

    CDC dc;
};

struct RopCase {
    int rop2;
    COLORREF expected;
};

// Destination 0x996633 mixed with pen 0x550FF0; results worked out by hand, channel by channel.
class RopMixes : public ::testing::TestWithParam<RopCase> {};

TEST_P(RopMixes, LinesAndFillsMixWithTheClassicOperation)
{
    constexpr COLORREF kDest = 0x00996633, kPen = 0x00550FF0;
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(40, 40));
    const CRect all(0, 0, 40, 40);
    dc.FillSolidRect(&all, kDest);
    CPen pen(PS_SOLID, 0, kPen);
    CBrush brush(kPen);
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.SetROP2(GetParam().rop2);
    dc.MoveTo(0, 5);
    dc.LineTo(40, 5);
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(10, 20, 34, 31); // no pen: covers 10..32 x 20..29, runs not a multiple of four
    EXPECT_EQ(DevicePixel(dc, 20, 5), GetParam().expected) << "line, rop " << GetParam().rop2;
    for (const int x : {10, 20, 29, 30, 32})
        EXPECT_EQ(DevicePixel(dc, x, 25), GetParam().expected) << "fill at " << x << ", rop " << GetParam().rop2;
    EXPECT_EQ(DevicePixel(dc, 33, 25), kDest);
    EXPECT_EQ(DevicePixel(dc, 20, 10), kDest);
    // Back buffers stay opaque whatever the mix did to the bits.
    const QImage& image = *GdiDeviceImage(dc.GetSafeHdc());
    EXPECT_EQ(reinterpret_cast<const quint32*>(image.constScanLine(5))[20] >> 24, 0xFFu);
}

INSTANTIATE_TEST_SUITE_P(AllSixteen, RopMixes, ::testing::Values(
    RopCase{R2_BLACK, 0x00000000}, RopCase{R2_NOTMERGEPEN, 0x0022900C}, RopCase{R2_MASKNOTPEN, 0x00886003},
    RopCase{R2_NOTCOPYPEN, 0x00AAF00F}, RopCase{R2_MASKPENNOT, 0x004409C0}, RopCase{R2_NOT, 0x006699CC},
    RopCase{R2_XORPEN, 0x00CC69C3}, RopCase{R2_NOTMASKPEN, 0x00EEF9CF}, RopCase{R2_MASKPEN, 0x00110630},
    RopCase{R2_NOTXORPEN, 0x0033963C}, RopCase{R2_NOP, 0x00996633}, RopCase{R2_MERGENOTPEN, 0x00BBF63F},
    RopCase{R2_COPYPEN, 0x00550FF0}, RopCase{R2_MERGEPENNOT, 0x00779FFC}, RopCase{R2_MERGEPEN, 0x00DD6FF3},
    RopCase{R2_WHITE, 0x00FFFFFF}));

struct XorFigure {
    const char* name;
    std::function<void(CDC&)> draw;
};

class XorTwice : public ::testing::TestWithParam<XorFigure> {};

TEST_P(XorTwice, RestoresTheBackground)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(200, 200));
    // A background with detail, so that a pixel mixed twice or never shows.
    for (int i = 0; i < 200; i += 10) {
        const CRect band(i, 0, i + 10, 200);
        dc.FillSolidRect(&band, RGB(BYTE(i), BYTE(255 - i), BYTE(i * 7)));
    }
    const QImage before = GdiDeviceImage(dc.GetSafeHdc())->copy();
    CBrush brush(RGB(0, 128, 255));
    dc.SelectObject(&brush);
    dc.SetROP2(R2_XORPEN);
    dc.SetBkMode(TRANSPARENT);
    GetParam().draw(dc);
    ASSERT_NE(*GdiDeviceImage(dc.GetSafeHdc()), before) << "nothing drawn";
    GetParam().draw(dc);
    EXPECT_EQ(*GdiDeviceImage(dc.GetSafeHdc()), before);
}

void WithPen(CDC& dc, int style, int width, const std::function<void()>& draw)
{
    CPen pen(style, width, RGB(255, 255, 0));
    CPen* old = dc.SelectObject(&pen);
    draw();
    dc.SelectObject(old);
}

INSTANTIATE_TEST_SUITE_P(Figures, XorTwice, ::testing::Values(
    XorFigure{"line", [](CDC& dc) { WithPen(dc, PS_SOLID, 0, [&] { dc.MoveTo(3, 7); dc.LineTo(190, 120); }); }},
    XorFigure{"dottedGrid", [](CDC& dc) {
        WithPen(dc, PS_DOT, 0, [&] {
            for (int v = 0; v <= 200; v += 20) {
                dc.MoveTo(v, 0); dc.LineTo(v, 200);
                dc.MoveTo(0, v); dc.LineTo(200, v);
            }
        });
    }},
    XorFigure{"polylineWithJoints", [](CDC& dc) {
        const POINT zigzag[] = {{10, 10}, {60, 150}, {110, 10}, {160, 150}, {190, 20}, {10, 100}};
        WithPen(dc, PS_DASH, 1, [&] { dc.Polyline(zigzag, 6); });
    }},
    XorFigure{"widePolygonWinding", [](CDC& dc) {
        const POINT star[] = {{100, 10}, {160, 190}, {10, 70}, {190, 70}, {40, 190}};
        dc.SetPolyFillMode(WINDING);
        WithPen(dc, PS_SOLID, 5, [&] { dc.Polygon(star, 5); });
    }},
    XorFigure{"wideSegmentsDrawnAgain", [](CDC& dc) {
        // The second pass strokes the same segments again: each must mix as the first did.
        WithPen(dc, PS_SOLID, 5, [&] {
            dc.MoveTo(20, 180);
            for (const POINT p : {POINT{60, 20}, POINT{100, 150}, POINT{140, 40}, POINT{180, 180}}) dc.LineTo(p.x, p.y);
        });
    }},
    XorFigure{"ellipse", [](CDC& dc) { WithPen(dc, PS_SOLID, 0, [&] { dc.Ellipse(20, 30, 180, 170); }); }},
    XorFigure{"pieAndArc", [](CDC& dc) {
        WithPen(dc, PS_INSIDEFRAME, 3, [&] {
            dc.Pie(10, 10, 190, 190, 190, 100, 10, 100);
            dc.Arc(30, 30, 170, 170, 100, 170, 170, 100);
        });
    }},
    XorFigure{"roundRect", [](CDC& dc) { WithPen(dc, PS_SOLID, 0, [&] { dc.RoundRect(15, 25, 185, 175, 40, 30); }); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CDCDraw, PolylineMixesEachJoinOnceAndLeavesOutItsLastPoint)
{
    Fill(kBlack);
    dc.SelectStockObject(WHITE_PEN);
    dc.SetROP2(R2_XORPEN);
    const POINT corner[] = {{10, 10}, {30, 10}, {30, 30}};
    dc.Polyline(corner, 3);
    EXPECT_EQ(At(10, 10), kWhite);
    EXPECT_EQ(At(30, 10), kWhite); // the join: mixed once, not twice
    EXPECT_EQ(At(30, 29), kWhite);
    EXPECT_EQ(At(30, 30), kBlack);
    dc.MoveTo(50, 50);
    dc.LineTo(60, 50);
    EXPECT_EQ(At(59, 50), kWhite);
    EXPECT_EQ(At(60, 50), kBlack);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(60, 50));
}

// Where a wide line folds back over itself, its pieces overlap; each pixel is still
// mixed once.
TEST_F(CDCDraw, WideLineFoldingBackMixesEachPixelOnce)
{
    Fill(kBlack);
    CPen wide(PS_SOLID, 9, kWhite);
    dc.SelectObject(&wide);
    dc.SetROP2(R2_XORPEN);
    const POINT folded[] = {{20, 100}, {180, 100}, {20, 103}, {180, 106}, {20, 104}};
    dc.Polyline(folded, 5);
    for (int x = 30; x <= 170; x += 10)
        for (int y = 98; y <= 106; ++y) EXPECT_EQ(At(x, y), kWhite) << x << "," << y;
    EXPECT_EQ(At(100, 90), kBlack);
}

TEST_F(CDCDraw, FarOffLinesDrawTheirVisiblePartWithoutWalkingTheWholeLength)
{
    // Slope 1/2 through (100, 50), ends two billion pixels away.
    dc.MoveTo(100 - 2000000000, 50 - 1000000000);
    dc.LineTo(100 + 2000000000, 50 + 1000000000);
    EXPECT_EQ(At(100, 50), kBlack);
    EXPECT_EQ(At(0, 0), kBlack);
    EXPECT_EQ(At(198, 99), kBlack);
    EXPECT_EQ(At(100, 60), kWhite);
    CBrush red(kRed);
    dc.SelectObject(&red);
    const POINT huge[] = {{-2000000000, 100}, {2000000000, 100}, {2000000000, 2000000000}};
    dc.Polygon(huge, 3);
    EXPECT_EQ(At(150, 100), kBlack); // the outline
    EXPECT_EQ(At(150, 150), kRed);
    EXPECT_EQ(At(150, 90), kWhite);
}

TEST_F(CDCDraw, PolygonFillModesDifferInTheOverlap)
{
    const POINT star[] = {{100, 10}, {160, 190}, {10, 70}, {190, 70}, {40, 190}};
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(BLACK_BRUSH);
    dc.SetPolyFillMode(ALTERNATE);
    dc.Polygon(star, 5);
    EXPECT_EQ(At(100, 110), kWhite); // the pentagon in the middle stays open
    EXPECT_EQ(At(100, 40), kBlack);  // a point of the star
    dc.SetPolyFillMode(WINDING);
    dc.Polygon(star, 5);
    EXPECT_EQ(At(100, 110), kBlack);
}

TEST_F(CDCDraw, RectangleCoversItsBoxLessRightAndBottomEdges)
{
    CBrush red(kRed);
    dc.SelectObject(&red);
    dc.Rectangle(10, 10, 20, 20);
    EXPECT_EQ(At(10, 10), kBlack);
    EXPECT_EQ(At(19, 19), kBlack);
    EXPECT_EQ(At(15, 15), kRed);
    EXPECT_EQ(At(20, 20), kWhite);
    // Without a pen the classic rectangle is one pixel smaller.
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(30, 30, 40, 40);
    EXPECT_EQ(At(38, 38), kRed);
    EXPECT_EQ(At(39, 39), kWhite);
}

TEST_F(CDCDraw, PenWidthsAreLogicalInsideFrameStaysInTheBox)
{
    CPen frame(PS_INSIDEFRAME, 3, kRed);
    dc.SelectObject(&frame);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(10, 10, 30, 30);
    EXPECT_EQ(At(10, 20), kRed);
    EXPECT_EQ(At(12, 20), kRed);
    EXPECT_EQ(At(13, 20), kWhite);
    EXPECT_EQ(At(9, 20), kWhite);
    EXPECT_EQ(At(29, 20), kRed);
    EXPECT_EQ(At(30, 20), kWhite);

    // Width 10 units at half a pixel per unit is 5 pixels; width 0 is one pixel at any zoom.
    auto thickness = [&](int x) {
        int n = 0;
        for (int y = 0; y < 200; ++y) n += At(x, y) == kRed ? 1 : 0;
        return n;
    };
    Fill(kWhite);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(2, 2);
    dc.SetViewportExt(1, 1);
    CPen wide(PS_SOLID, 10, kRed);
    dc.SelectObject(&wide);
    dc.MoveTo(0, 100);
    dc.LineTo(300, 100);
    EXPECT_EQ(thickness(75), 5);
    dc.SetMapMode(MM_TEXT);
    Fill(kWhite);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(4, 4);
    CPen thin(PS_SOLID, 0, kRed);
    dc.SelectObject(&thin);
    dc.MoveTo(0, 10);
    dc.LineTo(40, 10);
    EXPECT_EQ(thickness(100), 1);
}

TEST_F(CDCDraw, DotsAreThreeOnThreeOffAndGapsFollowTheBackgroundMode)
{
    CPen dots(PS_DOT, 0, kRed);
    dc.SelectObject(&dots);
    dc.SetBkColor(RGB(0, 0, 255));
    dc.SetBkMode(TRANSPARENT);
    dc.MoveTo(0, 10);
    dc.LineTo(12, 10);
    const COLORREF transparentRow[] = {kRed, kRed, kRed, kWhite, kWhite, kWhite, kRed, kRed, kRed, kWhite};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(At(x, 10), transparentRow[x]) << x;
    dc.SetBkMode(OPAQUE);
    dc.MoveTo(0, 20);
    dc.LineTo(12, 20);
    EXPECT_EQ(At(4, 20), RGB(0, 0, 255));
}

TEST_F(CDCDraw, ArcAndPieRunCounterClockwiseSoAYUpMappingGivesTheUpperHalf)
{
    YUpMapping();
    dc.SelectStockObject(BLACK_PEN);
    // The polar grid's call: box (-r, r)-(r, -r), from (r, 0) to (-r, 0).
    dc.Arc(-50, 50, 50, -50, 50, 0, -50, 0);
    EXPECT_TRUE(AnyInBox(149, 100, 1, kBlack)); // start at logical (50, 0)
    EXPECT_TRUE(AnyInBox(50, 100, 1, kBlack));  // end at logical (-50, 0)
    EXPECT_TRUE(AnyInBox(100, 50, 1, kBlack));  // top: logical (0, 50)
    EXPECT_FALSE(AnyInBox(100, 149, 2, kBlack)); // no lower half
    EXPECT_FALSE(AnyInBox(100, 100, 5, kBlack));

    Fill(kWhite);
    CBrush red(kRed);
    dc.SelectObject(&red);
    dc.Pie(-50, 50, 50, -50, 50, 0, -50, 0);
    EXPECT_EQ(At(100, 75), kRed);   // logical (0, 25)
    EXPECT_EQ(At(100, 125), kWhite); // logical (0, -25)
    EXPECT_EQ(At(100, 100), kBlack); // the centre lies on the pie's edge
    // A quarter from the top to the left end.
    Fill(kWhite);
    dc.Pie(-50, 50, 50, -50, 0, 50, -50, 0);
    EXPECT_EQ(At(75, 75), kRed);
    EXPECT_EQ(At(125, 75), kWhite);
}

TEST_F(CDCDraw, BlocksMoveBetweenAMemoryContextAndTheWindow)
{
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&dc));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 20, 10));
    CBitmap* original = memory.SelectObject(&bitmap);
    ASSERT_NE(original, nullptr);
    memory.FillSolidRect(0, 0, 20, 10, kRed);
    memory.SetPixel(0, 0, RGB(0, 255, 0));

    ASSERT_TRUE(dc.BitBlt(5, 5, 20, 10, &memory, 0, 0, SRCCOPY));
    EXPECT_EQ(At(5, 5), RGB(0, 255, 0));
    EXPECT_EQ(At(24, 14), kRed);
    EXPECT_EQ(At(25, 15), kWhite);

    const QImage before = Image().copy();
    dc.BitBlt(0, 0, 20, 10, &memory, 0, 0, SRCINVERT);
    EXPECT_EQ(At(10, 2), RGB(0, 255, 255)); // white ^ red
    dc.BitBlt(0, 0, 20, 10, &memory, 0, 0, SRCINVERT);
    EXPECT_EQ(Image(), before);

    // Twice the size, and mirrored by a negative width.
    dc.StretchBlt(100, 100, 40, 20, &memory, 0, 0, 20, 10, SRCCOPY);
    EXPECT_EQ(At(101, 101), RGB(0, 255, 0));
    EXPECT_EQ(At(102, 102), kRed);
    dc.StretchBlt(199, 150, -20, 10, &memory, 0, 0, 20, 10, SRCCOPY);
    EXPECT_EQ(At(179, 150), kRed);
    EXPECT_EQ(At(198, 150), RGB(0, 255, 0));

    // The drawing stays in the bitmap after it is deselected.
    memory.SelectObject(original);
    EXPECT_EQ(GdiBitmapImage(bitmap.GetSafeHandle()).pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_FALSE(dc.SelectObject(&bitmap)); // only memory contexts take bitmaps
}

TEST_F(CDCDraw, InvertingOperationsUndoThemselves)
{
    Fill(RGB(10, 200, 30));
    const QImage before = Image().copy();
    const CRect r(20, 20, 80, 60);
    dc.DrawFocusRect(&r);
    EXPECT_NE(Image(), before);
    EXPECT_EQ(At(50, 40), RGB(10, 200, 30)); // only the frame
    dc.DrawFocusRect(&r);
    dc.InvertRect(&r);
    EXPECT_EQ(At(50, 40), RGB(245, 55, 225));
    dc.InvertRect(&r);
    EXPECT_EQ(Image(), before);
    dc.PatBlt(0, 0, 10, 10, BLACKNESS);
    EXPECT_EQ(At(9, 9), kBlack);
    EXPECT_FALSE(dc.PatBlt(0, 0, 10, 10, SRCCOPY));
}

TEST_F(CDCDraw, ClippingAndSavedStatesNest)
{
    CPen red(PS_SOLID, 0, kRed);
    dc.SelectObject(&red);
    const int outer = dc.SaveDC();
    dc.IntersectClipRect(50, 0, 100, 200);
    dc.SetROP2(R2_XORPEN);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetViewportOrg(10, 0);
    const int inner = dc.SaveDC();
    dc.SelectStockObject(WHITE_PEN);
    EXPECT_EQ(inner, outer + 1);
    EXPECT_TRUE(dc.RestoreDC(-1));
    EXPECT_EQ(dc.GetCurrentPen(), &red);
    EXPECT_EQ(dc.GetROP2(), R2_XORPEN);
    dc.SetROP2(R2_COPYPEN);
    dc.MoveTo(0, 10);
    dc.LineTo(150, 10); // device 10..159, clipped to 50..99
    EXPECT_EQ(At(49, 10), kWhite);
    EXPECT_EQ(At(50, 10), kRed);
    EXPECT_EQ(At(100, 10), kWhite);
    EXPECT_FALSE(dc.RestoreDC(outer + 1));
    EXPECT_TRUE(dc.RestoreDC(outer));
    EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
    dc.MoveTo(0, 20);
    dc.LineTo(150, 20);
    EXPECT_EQ(At(10, 20), kRed);
    EXPECT_FALSE(dc.RestoreDC(-1)); // nothing left to restore
}

TEST_F(CDCDraw, SelectObjectAnswersWhatItReplacedEvenWhenItsWrapperIsGone)
{
    CPen black;
    black.CreateStockObject(BLACK_PEN);
    CPen first(PS_SOLID, 0, kRed);
    CPen* old = dc.SelectObject(&first);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->GetSafeHandle(), black.GetSafeHandle());
    {
        CPen scoped(PS_SOLID, 0, RGB(0, 0, 255));
        EXPECT_EQ(dc.SelectObject(&scoped), &first);
    } // destroyed while selected: the context keeps the pen
    dc.MoveTo(0, 50);
    dc.LineTo(10, 50);
    EXPECT_EQ(At(5, 50), RGB(0, 0, 255));
    CPen* orphan = dc.SelectObject(&first);
    ASSERT_NE(orphan, nullptr);
    LOGPEN lp;
    ASSERT_EQ(orphan->GetLogPen(&lp), int(sizeof lp));
    EXPECT_EQ(lp.lopnColor, RGB(0, 0, 255));
    EXPECT_EQ(dc.SelectObject(orphan), &first);
    EXPECT_EQ(dc.SelectObject(old), orphan);

    CBrush hatch;
    EXPECT_FALSE(hatch.CreateHatchBrush(17, kRed));
    CPen bad;
    EXPECT_FALSE(bad.CreatePen(42, 1, kRed));
    EXPECT_EQ(dc.SelectStockObject(99), nullptr);
}

TEST_F(CDCDraw, FillSolidRectLeavesItsColourAsBackground)
{
    const CRect r(0, 0, 10, 10);
    dc.FillSolidRect(&r, RGB(1, 2, 3));
    EXPECT_EQ(dc.GetBkColor(), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(500, 5), CLR_INVALID);
}

} // namespace
