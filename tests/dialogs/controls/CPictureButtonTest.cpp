// The picture and indicator buttons: loading their bitmaps from a resource module,
// sizing, and which pixels of the bitmap land where.
#include "dialogs/controls/CIndicatorButton.h"
#include "dialogs/controls/CPictureButton.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT IDB_PICTURE = 83;
constexpr UINT IDB_STRIP = 87;
constexpr int IDC_BUTTON = 2084;

// A 24-bit .bmp file whose pixel (x, y) has the colour colour(x, y).
std::vector<std::uint8_t> BmpFile(int width, int height, const std::function<COLORREF(int, int)>& colour)
{
    const int stride = (width * 3 + 3) & ~3;
    const std::uint32_t imageSize = std::uint32_t(stride * height);
    std::vector<std::uint8_t> bytes;
    auto put = [&bytes](std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes.push_back(std::uint8_t(value >> (8 * i)));
    };
    bytes.push_back('B');
    bytes.push_back('M');
    put(54 + imageSize, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(std::uint32_t(width), 4);
    put(std::uint32_t(height), 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(imageSize, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4); // colours used
    put(0, 4); // important colours
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            bytes.push_back(GetBValue(c));
            bytes.push_back(GetGValue(c));
            bytes.push_back(GetRValue(c));
        }
        for (int pad = width * 3; pad < stride; ++pad) bytes.push_back(0);
    }
    return bytes;
}

COLORREF PictureColour(int x, int y) { return RGB(x, y, 7); }
COLORREF StripColour(int x, int y) { return RGB(x * 5, y * 10, 99); }

class PictureButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        const std::string script = "83 BITMAP \"picture.bmp\"\n87 BITMAP \"strip.bmp\"\n"
                                   "100 DIALOG 0, 0, 200, 120\nSTYLE WS_POPUP\nBEGIN\n"
                                   "    CONTROL \"\", 2084, \"Button\", BS_OWNERDRAW, 10, 10, 20, 20\nEND\n";
        const auto files = [](const std::string& name, std::vector<std::uint8_t>& bytes) {
            if (name == "picture.bmp")
                bytes = BmpFile(100, 60, PictureColour);
            else if (name == "strip.bmp")
                bytes = BmpFile(48, 16, StripColour);
            else
                return false;
            return true;
        };
        std::string error;
        m_module = CreateResourceModule("buttons.rc", script, files, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
        ASSERT_TRUE(dialog.Create(100));
    }
    void TearDown() override
    {
        dialog.DestroyWindow();
        AfxSetResourceHandle(m_previous);
        if (m_module) FreeLibrary(m_module);
    }

    static CSize WindowSize(const CWnd& wnd)
    {
        CRect rect;
        wnd.GetWindowRect(&rect);
        return rect.Size();
    }

    // Draws the button's item into a white image of the given size.
    template <class Button>
    static void Draw(Button& button, CDC& dc, int width, int height)
    {
        ASSERT_TRUE(dc.CreateImageDC(width, height));
        DRAWITEMSTRUCT draw;
        draw.CtlType = ODT_BUTTON;
        draw.hDC = dc.GetSafeHdc();
        draw.rcItem = {0, 0, width, height};
        button.DrawItem(&draw);
    }

    CDialog dialog;

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

TEST_F(PictureButtonTest, SizesToItsBitmapWithMarginAndShadow)
{
    CPictureButton button;
    ASSERT_TRUE(button.SubclassDlgItem(IDC_BUTTON, &dialog));
    const CSize before = WindowSize(button);
    button.SizeToContent(); // no picture yet: nothing changes
    EXPECT_EQ(WindowSize(button), before);
    EXPECT_FALSE(button.LoadBitmap(4711));
    EXPECT_FALSE(button.HasBitmap());

    ASSERT_TRUE(button.LoadBitmap(IDB_PICTURE));
    CRect placed;
    button.GetWindowRect(&placed);
    button.SizeToContent();
    EXPECT_EQ(WindowSize(button), CSize(104, 64));
    CRect moved;
    button.GetWindowRect(&moved);
    EXPECT_EQ(moved.TopLeft(), placed.TopLeft());

    button.SetPictureStyle(CPictureButton::kShadow);
    button.SizeToContent();
    EXPECT_EQ(WindowSize(button), CSize(108, 68));
    button.SetShadowOffset(CSize(1, 2));
    button.SizeToContent();
    EXPECT_EQ(WindowSize(button), CSize(105, 66));
    button.SetPictureStyle(CPictureButton::kFrame);
    button.SizeToContent();
    EXPECT_EQ(WindowSize(button), CSize(104, 64));
}

TEST_F(PictureButtonTest, DrawsTheBitmapUnscaledAtTwoTwo)
{
    CPictureButton button;
    ASSERT_TRUE(button.LoadBitmap(IDB_PICTURE));
    CDC dc;
    Draw(button, dc, 120, 80);
    EXPECT_EQ(dc.GetPixel(2, 2), PictureColour(0, 0));
    EXPECT_EQ(dc.GetPixel(2 + 57, 2 + 31), PictureColour(57, 31));
    EXPECT_EQ(dc.GetPixel(2 + 99, 2 + 59), PictureColour(99, 59));
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(102, 30), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(30, 62), RGB(255, 255, 255));

    button.SetPictureStyle(CPictureButton::kFrame | CPictureButton::kShadow);
    CDC styled;
    Draw(button, styled, 120, 80);
    EXPECT_EQ(styled.GetPixel(1, 1), RGB(0, 0, 0));        // frame
    EXPECT_EQ(styled.GetPixel(104, 64), RGB(128, 128, 128)); // shadow beyond the picture
    EXPECT_EQ(styled.GetPixel(2 + 99, 2 + 59), PictureColour(99, 59));
}

TEST_F(PictureButtonTest, IndicatorShowsTheImageOfItsStateCentred)
{
    CIndicatorButton lamp;
    EXPECT_FALSE(lamp.LoadBitmap(IDB_STRIP, 0));
    EXPECT_FALSE(lamp.LoadBitmap(4711, 3));
    EXPECT_EQ(lamp.GetImageCount(), 0);
    ASSERT_TRUE(lamp.LoadBitmap(IDB_STRIP, 3));
    EXPECT_EQ(lamp.GetImageCount(), 3);
    EXPECT_EQ(lamp.GetState(), 0);

    lamp.SetState(2);
    CDC dc;
    Draw(lamp, dc, 20, 20); // a 16 x 16 image centred at (2, 2)
    EXPECT_EQ(dc.GetPixel(2, 2), StripColour(32, 0));
    EXPECT_EQ(dc.GetPixel(17, 17), StripColour(47, 15));
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(18, 2), RGB(255, 255, 255));

    lamp.SetState(3); // beyond the strip: nothing is drawn
    CDC beyond;
    Draw(lamp, beyond, 20, 20);
    EXPECT_EQ(beyond.GetPixel(10, 10), RGB(255, 255, 255));

    ASSERT_TRUE(lamp.LoadBitmap(IDB_STRIP, 2)); // a new strip starts at image 0
    EXPECT_EQ(lamp.GetState(), 0);
}

} // namespace
