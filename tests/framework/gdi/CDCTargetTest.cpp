// The targets: PNG image, PDF printer, print-preview page, recording context, and the
// deferred image of a window's client DC.
#include "GdiTestSupport.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <cstring>

namespace {

LOGFONT ArialFont(int height)
{
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    std::strcpy(lf.lfFaceName, "Arial");
    return lf;
}

// The printing view's mapping: 0.01 mm units, y down.
void HundredthsOfMillimetre(CDC& dc)
{
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1000, 1000);
    dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX) * 1000 / 2540, dc.GetDeviceCaps(LOGPIXELSY) * 1000 / 2540);
}

// Two overlapping squares mixed with R2_NOTXORPEN, as the printed field diagram draws its fields.
void DrawOverlappingFields(CDC& dc)
{
    HundredthsOfMillimetre(dc);
    dc.SelectStockObject(NULL_PEN);
    dc.SetROP2(R2_NOTXORPEN);
    CBrush red(RGB(255, 0, 0)), blue(RGB(0, 0, 255));
    dc.SelectObject(&red);
    dc.Rectangle(2000, 2000, 6000, 6000);
    dc.SelectObject(&blue);
    dc.Rectangle(4000, 4000, 8000, 8000);
    dc.SelectStockObject(WHITE_BRUSH);
}

class CDCTargets : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::string Path(const char* name) const { return (dir.path() + QLatin1Char('/') + QLatin1String(name)).toStdString(); }
    QTemporaryDir dir;
};

TEST_F(CDCTargets, ImageSavesAsPng)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(64, 32));
    dc.FillSolidRect(0, 0, 32, 32, RGB(255, 0, 0));
    dc.MoveTo(0, 31);
    dc.LineTo(64, 31);
    const std::string path = Path("picture.png");
    ASSERT_TRUE(dc.SaveImage(path.c_str()));
    QImage loaded(QString::fromStdString(path));
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32), *GdiDeviceImage(dc.GetSafeHdc()));
    EXPECT_EQ(loaded.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_FALSE(dc.SaveImage((Path("missing-dir") + "/x.png").c_str()));
}

TEST_F(CDCTargets, PrinterWritesTwoPdfPagesWithTheirText)
{
    if (RunCommand("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext missing (scripts/install-deps.sh installs it)";
    GdiPageSetup page;
    page.dpiX = page.dpiY = 300;
    page.unprintableLeft = page.unprintableTop = 400;
    CDC dc;
    const std::string path = Path("report.pdf");
    ASSERT_TRUE(dc.CreatePrinterDC(path.c_str(), page));
    EXPECT_TRUE(dc.IsPrinting());
    ASSERT_GT(dc.StartDoc("Field report"), 0);

    CFont title;
    LOGFONT lf = ArialFont(-423);
    title.CreateFontIndirect(&lf);
    ASSERT_GT(dc.StartPage(), 0);
    HundredthsOfMillimetre(dc);
    CFont* old = dc.SelectObject(&title);
    dc.TextOut(1000, 1000, "Protective field 1");
    CRect body(1000, 3000, 19000, 6000);
    dc.DrawText("Contour points of the warning field", &body, DT_WORDBREAK);
    dc.SelectObject(old);
    ASSERT_GT(dc.EndPage(), 0);

    ASSERT_GT(dc.StartPage(), 0);
    dc.SelectObject(&title);
    dc.SetTextAlign(TA_CENTER | TA_BOTTOM);
    dc.TextOut(10000, 20000, "Second page");
    DrawOverlappingFields(dc);
    ASSERT_GT(dc.EndPage(), 0);
    ASSERT_GT(dc.EndDoc(), 0);

    const std::string text = RunCommand("pdftotext -layout '" + path + "' -");
    const std::size_t first = text.find("Protective field 1");
    const std::size_t body1 = text.find("Contour points of the warning field");
    const std::size_t feed = text.find('\f');
    const std::size_t second = text.find("Second page");
    ASSERT_NE(first, std::string::npos) << text;
    ASSERT_NE(body1, std::string::npos) << text;
    ASSERT_NE(second, std::string::npos) << text;
    EXPECT_LT(body1, feed);
    EXPECT_GT(second, feed);
    const std::string info = RunCommand("pdfinfo '" + path + "'");
    EXPECT_NE(info.find("Pages:           2\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Field report"), std::string::npos) << info;
}

TEST_F(CDCTargets, PdfPagesShowRasterMixesAsThePreviewDoes)
{
    if (RunCommand("command -v pdftoppm").empty()) GTEST_SKIP() << "pdftoppm missing";
    GdiPageSetup page;
    page.dpiX = page.dpiY = 300;
    const std::string path = Path("mix.pdf");
    {
        CDC dc;
        ASSERT_TRUE(dc.CreatePrinterDC(path.c_str(), page));
        dc.StartDoc("mix");
        dc.StartPage();
        DrawOverlappingFields(dc);
        dc.EndPage();
        ASSERT_GT(dc.EndDoc(), 0);
    }
    const std::string prefix = Path("mix");
    RunCommand("pdftoppm -r 150 -png -singlefile '" + path + "' '" + prefix + "'");
    const QImage printed(QString::fromStdString(prefix + ".png"));
    ASSERT_FALSE(printed.isNull());

    GdiPageSetup preview = page;
    preview.dpiX = preview.dpiY = 150;
    CDC dc;
    ASSERT_TRUE(dc.CreatePageImageDC(preview));
    dc.StartDoc("mix");
    dc.StartPage();
    DrawOverlappingFields(dc);
    const QImage& shown = *GdiDeviceImage(dc.GetSafeHdc());

    // At 150 dpi the red square covers pixels 118..353, the blue one 236..471.
    struct Probe { int x, y; QRgb colour; };
    const Probe probes[] = {
        {177, 177, qRgb(255, 0, 0)},   // red field on white: NOTXOR gives the pen colour
        {295, 295, qRgb(0, 255, 0)},   // overlap: ~(red ^ blue)
        {413, 413, qRgb(0, 0, 255)},   // blue field alone
        {60, 60, qRgb(255, 255, 255)},
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(shown.pixel(p.x, p.y) & 0xFFFFFF, p.colour & 0xFFFFFF) << p.x;
        EXPECT_EQ(printed.pixel(p.x, p.y) & 0xFFFFFF, p.colour & 0xFFFFFF) << p.x;
    }
}

TEST_F(CDCTargets, PrinterCapabilitiesDescribeThePaper)
{
    GdiPageSetup page; // A4 at 600 dpi
    page.unprintableLeft = page.unprintableTop = 400;
    page.unprintableRight = page.unprintableBottom = 500;
    CDC dc;
    ASSERT_TRUE(dc.CreatePrinterDC(Path("caps.pdf").c_str(), page));
    EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 4748);   // (210 - 9) mm
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 6803);   // (297 - 9) mm
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALWIDTH), 4961);
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALHEIGHT), 7016);
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALOFFSETX), 94);
    EXPECT_EQ(dc.GetDeviceCaps(HORZSIZE), 201);
    POINT size{}, offset{};
    EXPECT_GT(dc.Escape(GETPHYSPAGESIZE, 0, nullptr, &size), 0);
    EXPECT_GT(dc.Escape(GETPRINTINGOFFSET, 0, nullptr, &offset), 0);
    EXPECT_EQ(size.x, 4961);
    EXPECT_EQ(offset.y, 94);

    CDC screen;
    ASSERT_TRUE(screen.CreateImageDC(10, 10));
    EXPECT_EQ(screen.Escape(GETPHYSPAGESIZE, 0, nullptr, &size), 0);
    EXPECT_EQ(screen.StartDoc("no printer"), SP_ERROR);
    EXPECT_FALSE(screen.IsPrinting());
}

BOOL g_abortAnswer = TRUE;
int g_abortCalls = 0;
BOOL TestAbortProc(HDC, int)
{
    ++g_abortCalls;
    return g_abortAnswer;
}

TEST_F(CDCTargets, AbortProcCancelsTheJobAtTheEndOfAPage)
{
    GdiPageSetup page;
    page.dpiX = page.dpiY = 100;
    const std::string path = Path("cancelled.pdf");
    CDC dc;
    ASSERT_TRUE(dc.CreatePrinterDC(path.c_str(), page));
    dc.SetAbortProc(TestAbortProc);
    g_abortCalls = 0;
    g_abortAnswer = TRUE;
    dc.StartDoc("job");
    dc.StartPage();
    EXPECT_GT(dc.EndPage(), 0);
    g_abortAnswer = FALSE;
    dc.StartPage();
    EXPECT_EQ(dc.EndPage(), SP_ERROR);
    EXPECT_EQ(g_abortCalls, 2);
    EXPECT_EQ(dc.StartPage(), SP_ERROR); // the job is gone
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

TEST_F(CDCTargets, RecordingLogsLogicalAndDeviceCoordinates)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(800, 600));
    dc.SetMapMode(MM_ISOTROPIC);
    dc.SetViewportOrg(400, 599);
    dc.SetWindowExt(400, -400);
    dc.SetViewportExt(400, 599);
    dc.ClearRecording();
    dc.MoveTo(0, 0);
    dc.LineTo(100, 200);
    dc.Arc(-100, 100, 100, -100, 100, 0, -100, 0);
    dc.TextOut(-50, 10, "+50");
    const std::vector<CString> expected = {
        "MoveTo L[0,0] D[400,599]",
        "LineTo L[100,200] D[500,399]",
        "Arc L[-100,100,100,-100,100,0,-100,0] D[300,499,500,699,500,599,300,599]",
        "TextOut L[-50,10] D[350,589] \"+50\"",
    };
    EXPECT_EQ(dc.GetRecording(), expected);
    EXPECT_EQ(dc.GetPixel(0, 0), CLR_INVALID);
}

// A client DC's pixels are asked for once, when it first draws or reads a pixel:
// measuring text, mapping points and asking the device's size need none.
TEST_F(CDCTargets, DeferredImageIsMadeOnlyWhenDrawnInto)
{
    QImage pixels(40, 30, QImage::Format_RGB32);
    pixels.fill(Qt::white);
    int asked = 0;
    CDC dc;
    ASSERT_TRUE(dc.Attach(GdiCreateDeferredImageDevice(QSize(40, 30), [&]() -> QImage* {
        ++asked;
        return &pixels;
    })));
    LOGFONT lf = ArialFont(-13);
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    CFont* old = dc.SelectObject(&font);
    TEXTMETRIC tm{};
    EXPECT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_GT(dc.GetTextExtent("Scanner").cx, 0);
    dc.SetMapMode(MM_LOMETRIC);
    CPoint point(100, -100);
    dc.LPtoDP(&point);
    EXPECT_EQ(point, CPoint(38, 38));
    dc.SetMapMode(MM_TEXT);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 40);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 30);
    EXPECT_EQ(asked, 0) << "measuring and mapping need no pixels";
    EXPECT_FALSE(GdiDeviceRealized(dc.GetSafeHdc()));

    dc.FillSolidRect(5, 5, 10, 10, RGB(255, 0, 0));
    dc.TextOut(0, 15, "A");
    EXPECT_EQ(asked, 1) << "asked once, at the first drawing";
    EXPECT_TRUE(GdiDeviceRealized(dc.GetSafeHdc()));
    EXPECT_EQ(pixels.pixel(7, 7), qRgb(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(7, 7), RGB(255, 0, 0));
    dc.SelectObject(old);

    // Reading a pixel asks too; a provider without pixels leaves drawing harmless.
    int askedEmpty = 0;
    CDC empty;
    ASSERT_TRUE(empty.Attach(GdiCreateDeferredImageDevice(QSize(10, 10), [&]() -> QImage* {
        ++askedEmpty;
        return nullptr;
    })));
    EXPECT_EQ(empty.GetPixel(1, 1), CLR_INVALID);
    empty.FillSolidRect(0, 0, 10, 10, RGB(0, 0, 255));
    EXPECT_FALSE(empty.HasPixels());
    EXPECT_EQ(askedEmpty, 1);
    EXPECT_EQ(GdiCreateDeferredImageDevice(QSize(0, 10), [] { return nullptr; }), nullptr);
}

} // namespace
