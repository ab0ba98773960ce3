// Text: fonts and their sizes under mappings, anchors, DrawText.
#include "GdiTestSupport.h"
#include "framework/gdi/GdiFontEngine.h"
#include "framework/gdi/GdiTextLayout.h"

#include <QFontInfo>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstring>

namespace {

LOGFONT Arial(int height, int weight = FW_NORMAL)
{
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(lf.lfFaceName, "Arial");
    return lf;
}

// Bounding box of the pixels that differ from white.
QRect Ink(const QImage& image, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(CDCText, ArialIsDrawnWithTheMetricCompatibleFace)
{
    const QFont font = GdiMakeFont(Arial(-20), -20, 12);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(GdiResolveFaceName("ARIAL"), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(GdiResolveFaceName("Courier New"), QStringLiteral("Liberation Mono"));
}

TEST(CDCText, HeightSignSelectsCharacterOrCellHeight)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(100, 100));
    CFont character, cell;
    LOGFONT lf = Arial(-40);
    character.CreateFontIndirect(&lf);
    lf.lfHeight = 40;
    cell.CreateFontIndirect(&lf);
    TEXTMETRIC tm;
    dc.SelectObject(&character);
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 40);
    EXPECT_GT(tm.tmInternalLeading, 0);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_EQ(dc.GetTextExtent("0").cy, tm.tmHeight);
    dc.SelectObject(&cell);
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_NEAR(tm.tmHeight, 40, 1);
}

TEST(CDCText, SizesInLogicalUnitsFollowTheMapping)
{
    // A 12 pt print font: -MulDiv(12, 2540, 72) = -423 hundredths of a millimetre.
    CDC printer;
    ASSERT_TRUE(printer.CreateRecordingDC(4961, 7016, 600, 600, TRUE));
    printer.SetMapMode(MM_ANISOTROPIC);
    printer.SetWindowExt(1000, 1000);
    printer.SetViewportExt(236, 236);
    CFont font;
    LOGFONT lf = Arial(-423);
    font.CreateFontIndirect(&lf);
    printer.SelectObject(&font);
    // The same font given directly in the printer's pixels: round(423 * 0.236) = 100.
    CDC pixels;
    ASSERT_TRUE(pixels.CreateRecordingDC(4961, 7016, 600, 600, TRUE));
    CFont devicefont;
    lf.lfHeight = -100;
    devicefont.CreateFontIndirect(&lf);
    pixels.SelectObject(&devicefont);

    const char* text = "Protective field 1";
    CSize logical = printer.GetTextExtent(text, int(std::strlen(text)));
    printer.LPtoDP(&logical);
    const CSize device = pixels.GetTextExtent(text, int(std::strlen(text)));
    EXPECT_NEAR(logical.cx, device.cx, 1);
    EXPECT_NEAR(logical.cy, device.cy, 1);
    EXPECT_GT(device.cx, 500);
}

TEST(CDCText, TextStaysUprightUnderAYUpMapping)
{
    CDC plain, flipped;
    ASSERT_TRUE(plain.CreateImageDC(240, 100));
    ASSERT_TRUE(flipped.CreateImageDC(240, 100));
    CFont font;
    LOGFONT lf = Arial(-24);
    font.CreateFontIndirect(&lf);
    plain.SelectObject(&font);
    plain.SetTextAlign(TA_CENTER | TA_BOTTOM);
    plain.TextOut(120, 60, "Rg 42");

    flipped.SetMapMode(MM_ANISOTROPIC);
    flipped.SetWindowExt(1, -1);
    flipped.SetViewportExt(1, 1);
    flipped.SetViewportOrg(120, 100);
    flipped.SelectObject(&font); // 24 units are 24 pixels here too
    flipped.SetTextAlign(TA_CENTER | TA_BOTTOM);
    flipped.TextOut(0, 40, "Rg 42"); // the same device anchor (120, 60)

    const QImage& a = *GdiDeviceImage(plain.GetSafeHdc());
    EXPECT_EQ(a, *GdiDeviceImage(flipped.GetSafeHdc()));
    const QRect ink = Ink(a, a.rect());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LE(ink.bottom(), 60);          // bottom-aligned: above the anchor
    EXPECT_NEAR(ink.center().x(), 120, 3); // centred on it
}

TEST(CDCText, OpaqueBackgroundFillsTheTextBox)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(200, 60));
    dc.SetBkColor(RGB(0, 0, 255));
    dc.TextOut(10, 10, "Hi");
    const CSize size = dc.GetTextExtent("Hi");
    EXPECT_EQ(DevicePixel(dc, 10, 10), RGB(0, 0, 255));
    EXPECT_EQ(DevicePixel(dc, 10 + size.cx - 1, 10 + size.cy - 1), RGB(0, 0, 255));
    EXPECT_EQ(DevicePixel(dc, 10 + size.cx, 10), RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(10, 40, "Hi");
    EXPECT_EQ(DevicePixel(dc, 10, 40), RGB(255, 255, 255));
}

// A device keeps its font between calls; every change of font or mapping must still
// give what a fresh device gives.
TEST(CDCText, KeptFontFollowsEachChangeOfFontAndMapping)
{
    const char* text = "Protective field 1";
    const auto freshExtent = [&](const LOGFONT& lf, int scale) {
        CDC dc;
        EXPECT_TRUE(dc.CreateImageDC(400, 100));
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(1, 1);
        dc.SetViewportExt(scale, scale);
        CFont font;
        font.CreateFontIndirect(&lf);
        dc.SelectObject(&font);
        const CSize extent = dc.GetTextExtent(text);
        dc.SelectStockObject(SYSTEM_FONT);
        return extent;
    };

    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(400, 100));
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(1, 1);
    const LOGFONT small = Arial(-12), large = Arial(-30, FW_BOLD);
    CFont first, second;
    first.CreateFontIndirect(&small);
    second.CreateFontIndirect(&large);
    dc.SelectObject(&first);
    EXPECT_EQ(dc.GetTextExtent(text), freshExtent(small, 1));
    dc.SelectObject(&second);
    EXPECT_EQ(dc.GetTextExtent(text), freshExtent(large, 1));
    dc.SelectObject(&first);
    EXPECT_EQ(dc.GetTextExtent(text), freshExtent(small, 1));
    dc.SetViewportExt(2, 2);
    EXPECT_EQ(dc.GetTextExtent(text), freshExtent(small, 2));

    // The same font object made again with other values.
    dc.SelectStockObject(SYSTEM_FONT);
    first.DeleteObject();
    first.CreateFontIndirect(&large);
    dc.SelectObject(&first);
    EXPECT_EQ(dc.GetTextExtent(text), freshExtent(large, 2));
    dc.SelectStockObject(SYSTEM_FONT);
}

// TextOut draws exactly what a painter draws with the same font at the same baseline.
TEST(CDCText, TextOutDrawsThePixelsOfAPlainPainter)
{
    struct Case {
        UINT align;
        int bkMode;
        const char* text;
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, TRANSPARENT, "Beam 12: 345 cm"},
        {TA_LEFT | TA_TOP, OPAQUE, "  spaced  "},
        {TA_RIGHT | TA_BASELINE, TRANSPARENT, "Grad 90\xC2\xB0"},
        {TA_CENTER | TA_BOTTOM, OPAQUE, "WAVE ffi"},
    };
    const LOGFONT lf = Arial(-17);
    const QFont font = GdiMakeFont(lf, -17, 12);
    const GdiFontMetrics metrics = GdiMeasureFont(font);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CDC dc;
        ASSERT_TRUE(dc.CreateImageDC(300, 80));
        CFont cfont;
        cfont.CreateFontIndirect(&lf);
        dc.SelectObject(&cfont);
        dc.SetTextAlign(c.align);
        dc.SetBkMode(c.bkMode);
        dc.SetBkColor(RGB(200, 220, 255));
        dc.SetTextColor(RGB(10, 20, 30));
        dc.TextOut(150, 40, c.text);

        QImage expected(300, 80, QImage::Format_RGB32);
        expected.fill(Qt::white);
        const QString s = QString::fromUtf8(c.text);
        const int width = GdiTextWidth(font, s);
        int x = 150;
        if ((c.align & TA_CENTER) == TA_CENTER) x -= width / 2;
        else if (c.align & TA_RIGHT) x -= width;
        int y = 40 + metrics.ascent;
        if ((c.align & TA_BASELINE) == TA_BASELINE) y = 40;
        else if (c.align & TA_BOTTOM) y = 40 - metrics.descent;
        QPainter painter(&expected);
        if (c.bkMode == OPAQUE)
            painter.fillRect(QRect(x, y - metrics.ascent, width, metrics.height), QColor(200, 220, 255));
        painter.setFont(font);
        painter.setPen(QColor(10, 20, 30));
        painter.drawText(QPoint(x, y), s);
        painter.end();
        EXPECT_EQ(*GdiDeviceImage(dc.GetSafeHdc()), expected);
        dc.SelectStockObject(SYSTEM_FONT);
    }
}

TEST(CDCText, DrawTextMeasuresWrappedLinesAndPlacesSingleLines)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(300, 200));
    CFont font;
    LOGFONT lf = Arial(-16);
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);

    // Narrower than two words: three lines, rectangle grown downwards, width kept.
    const int width = dc.GetTextExtent("aaa aaa").cx - 1;
    CRect r(10, 10, 10 + width, 11);
    const int height = dc.DrawText("aaa aaa aaa", &r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(height, 3 * tm.tmHeight);
    EXPECT_EQ(r, CRect(10, 10, 10 + width, 10 + 3 * tm.tmHeight));
    EXPECT_TRUE(Ink(*GdiDeviceImage(dc.GetSafeHdc()), QRect(0, 0, 300, 200)).isEmpty()); // measuring only

    CRect line(0, 0, 40, 1);
    EXPECT_EQ(dc.DrawText("wide text", &line, DT_SINGLELINE | DT_CALCRECT), tm.tmHeight);
    EXPECT_EQ(line.Width(), dc.GetTextExtent("wide text").cx);

    // Centred both ways in its rectangle.
    CRect box(50, 100, 250, 180);
    dc.DrawText("Centre", &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    const QRect ink = Ink(*GdiDeviceImage(dc.GetSafeHdc()), QRect(50, 100, 200, 80));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), 150, 3);
    EXPECT_NEAR(ink.center().y(), 140, 5);
}

TEST(CDCText, DrawTextInPrinterUnitsGrowsTheRectangleDownThePage)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(4961, 7016, 600, 600, TRUE));
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1000, 1000);
    dc.SetViewportExt(236, 236);
    CFont font;
    LOGFONT lf = Arial(-353);
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    CRect r(1000, 2000, 15000, 2000);
    const int height = dc.DrawText("One\nTwo", &r, DT_WORDBREAK | DT_EXTERNALLEADING | DT_CALCRECT);
    EXPECT_NEAR(height, 2 * (tm.tmHeight + tm.tmExternalLeading), 4);
    EXPECT_EQ(r.bottom, 2000 + height);
}

TEST(CDCText, TabStopByteReplacesTheFlagsItOverlaps)
{
    // 0x3C4: the tab size byte 3 also covers the no-clip and leading bits, so the text is clipped.
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(200, 60));
    CFont font;
    LOGFONT lf = Arial(-30);
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    CRect small(10, 10, 30, 50);
    dc.DrawText("WWWW", &small, 0x3C4);
    const QImage& image = *GdiDeviceImage(dc.GetSafeHdc());
    EXPECT_TRUE(Ink(image, QRect(30, 0, 170, 60)).isEmpty());
    dc.DrawText("WWWW", &small, DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    EXPECT_FALSE(Ink(image, QRect(30, 0, 170, 60)).isEmpty());
}

TEST(CDCText, TabbedTextStopsAtTheGivenPositionsFromTheTabOrigin)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(400, 40));
    const int b = dc.GetTextExtent("b").cx, c = dc.GetTextExtent("c").cx;
    const int every50[] = {50};
    EXPECT_EQ(dc.GetTabbedTextExtent("a\tb", 1, every50).cx, 50 + b);
    const int listed[] = {30, 100};
    EXPECT_EQ(dc.GetTabbedTextExtent("a\tb\tc", 2, listed).cx, 100 + c);
    // Drawn at x = 20 with the origin at 0: the first stop (30) is 10 pixels in.
    EXPECT_EQ(dc.TabbedTextOut(20, 0, "\tb", 2, listed, 0).cx, 10 + b);
}

struct LayoutCase {
    const char* name;
    const char* text;
    UINT format;
    int width;
    std::vector<QString> lines; // segments joined by "|"
};

class DrawTextLayout : public ::testing::TestWithParam<LayoutCase> {};

// Ten pixels a character, tab stops every 80 pixels.
TEST_P(DrawTextLayout, BreaksLinesAsClassic)
{
    const GdiTextLayout layout([](const QString& s) { return int(s.size()) * 10; }, 80);
    const auto lines = layout.Layout(QString::fromUtf8(GetParam().text), GetParam().format, GetParam().width);
    std::vector<QString> got;
    for (const GdiTextLine& line : lines) {
        QString joined;
        for (const GdiTextSegment& s : line.segments)
            joined += (joined.isEmpty() ? QString() : QStringLiteral("|")) + QString::number(s.x) + QLatin1Char(':') + s.text;
        got.push_back(joined);
    }
    EXPECT_EQ(got, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, DrawTextLayout, ::testing::Values(
    LayoutCase{"wrapAtWidth", "Hello world", DT_WORDBREAK, 60, {"0:Hello", "0:world"}},
    LayoutCase{"fitsExactly", "a b c", DT_WORDBREAK, 30, {"0:a b", "0:c"}},
    LayoutCase{"longWordStandsAlone", "Superlongword x", DT_WORDBREAK, 50, {"0:Superlongword", "0:x"}},
    LayoutCase{"lineBreaks", "one\r\ntwo\nthree", 0, 100, {"0:one", "0:two", "0:three"}},
    LayoutCase{"singleLineKeepsAll", "a b c", DT_SINGLELINE | DT_WORDBREAK, 10, {"0:a b c"}},
    LayoutCase{"prefix", "&File && Exit", 0, 200, {"0:File & Exit"}},
    LayoutCase{"noPrefix", "&File", DT_NOPREFIX, 200, {"0:&File"}},
    LayoutCase{"tabs", "ab\tc\td", DT_EXPANDTABS, 300, {"0:ab|80:c|160:d"}},
    LayoutCase{"ellipsis", "abcdefghij", DT_END_ELLIPSIS | DT_SINGLELINE, 60, {"0:abc..."}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
