#include "framework/gdi/CDC.h"

#include <gtest/gtest.h>

namespace {

struct IsotropicCase {
    const char* name;
    int dpiX, dpiY;
    CSize windowExt, viewportExt, expected;
};

class IsotropicAdjustment : public ::testing::TestWithParam<IsotropicCase> {};

TEST_P(IsotropicAdjustment, ShrinksTheLongerUnitAndKeepsSigns)
{
    const IsotropicCase& c = GetParam();
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(1000, 1000, c.dpiX, c.dpiY));
    dc.SetMapMode(MM_ISOTROPIC);
    dc.SetWindowExt(c.windowExt);
    dc.SetViewportExt(c.viewportExt);
    EXPECT_EQ(dc.GetViewportExt(), c.expected);
    EXPECT_EQ(dc.GetWindowExt(), c.windowExt);
}

INSTANTIATE_TEST_SUITE_P(Cases, IsotropicAdjustment, ::testing::Values(
    // The view's window of 1000 x 300 pixels: x shrinks to the height.
    IsotropicCase{"wide", 96, 96, {400, -400}, {500, 299}, {299, 299}},
    // 300 x 1000 pixels: y shrinks to the width.
    IsotropicCase{"tall", 96, 96, {400, -400}, {150, 999}, {150, 150}},
    IsotropicCase{"square", 96, 96, {400, -400}, {300, 300}, {300, 300}},
    IsotropicCase{"mirroredX", 96, 96, {400, -400}, {-500, 299}, {-299, 299}},
    // Pixels twice as high as wide: equal lengths need half the pixels in y.
    IsotropicCase{"aspect", 600, 300, {100, 100}, {600, 600}, {600, 300}},
    // 10 * 3 / 7 = 4.29 and 10 * 2 / 3 = 6.67 round to nearest.
    IsotropicCase{"roundDown", 96, 96, {3, -7}, {10, 10}, {4, 10}},
    IsotropicCase{"roundUp", 96, 96, {2, 3}, {10, 10}, {7, 10}},
    // Never shrinks to nothing.
    IsotropicCase{"minimum", 96, 96, {1, 1000}, {10, 1}, {1, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

struct PointCase {
    CPoint logical;
    CPoint device;
};

// The screen view: origin (cx, cy) at the bottom centre of an 800 x 600 client, y up.
void PrepareView(CDC& dc, int range, CPoint origin)
{
    const int w = 800, h = 600;
    dc.SetMapMode(MM_ISOTROPIC);
    dc.SetViewportOrg(w / 2, h - 1);
    dc.SetWindowExt(range, -range);
    dc.SetViewportExt(w / 2, h - 1);
    dc.SetWindowOrg(origin);
}

TEST(CDCMapping, ViewMappingPutsTheOriginAtTheBottomCentreWithYUp)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(800, 600));
    PrepareView(dc, 400, {100, 50});
    EXPECT_EQ(dc.GetViewportExt(), CSize(400, 400));
    const PointCase cases[] = {
        {{100, 50}, {400, 599}},
        {{0, 0}, {300, 649}},
        {{500, 450}, {800, 199}},
        {{-300, 50}, {0, 599}},
    };
    for (const PointCase& c : cases) {
        CPoint p = c.logical;
        dc.LPtoDP(&p);
        EXPECT_EQ(p, c.device) << c.logical.x << "," << c.logical.y;
        dc.DPtoLP(&p);
        EXPECT_EQ(p, c.logical);
    }
}

TEST(CDCMapping, ZoomedViewRoundsHalvesAwayFromZeroAndRoundTrips)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(800, 600));
    // Zoomed out: 2.5 logical units per pixel.
    PrepareView(dc, 1000, {0, 0});
    CPoint p(123, 456);
    dc.DPtoLP(&p);
    EXPECT_EQ(p, CPoint(-693, 358)); // -692.5 and 357.5
    for (int x = 0; x < 800; x += 7) {
        for (int y = 0; y < 600; y += 11) {
            CPoint q(x, y);
            dc.DPtoLP(&q);
            dc.LPtoDP(&q);
            ASSERT_EQ(q, CPoint(x, y));
        }
    }
    // Zoomed in: 4 pixels per unit; every logical point comes back.
    PrepareView(dc, 100, {-40, 25});
    for (int x = -150; x <= 150; x += 13) {
        for (int y = 0; y <= 150; y += 9) {
            CPoint q(x, y);
            dc.LPtoDP(&q);
            dc.DPtoLP(&q);
            ASSERT_EQ(q, CPoint(x, y));
        }
    }
}

TEST(CDCMapping, PrinterMappingInHundredthsOfAMillimetre)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(4961, 7016, 600, 600, TRUE));
    // The printing view's mapping: MulDiv(1000, 600, 2540) = 236 pixels per 10 mm.
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1000, 1000);
    dc.SetViewportExt(236, 236);
    dc.SetWindowOrg(0, 0);
    const PointCase cases[] = {
        {{0, 0}, {0, 0}},
        {{2540, 2540}, {599, 599}},   // 599.44
        {{21000, 29700}, {4956, 7009}},
        {{-1270, 1270}, {-300, 300}}, // -299.72 and 299.72
    };
    for (const PointCase& c : cases) {
        CPoint p = c.logical;
        dc.LPtoDP(&p);
        EXPECT_EQ(p, c.device) << c.logical.x;
    }
    CPoint back(599, 599);
    dc.DPtoLP(&back);
    EXPECT_EQ(back, CPoint(2538, 2538)); // 2538.14: the pixel grid is coarser than 0.01 mm

    // The fixed metric mode at the same resolution is exact per inch, y up.
    dc.SetMapMode(MM_HIMETRIC);
    CPoint inch(2540, -2540);
    dc.LPtoDP(&inch);
    EXPECT_EQ(inch, CPoint(600, 600));
    CSize size(2540, 2540);
    dc.LPtoDP(&size);
    EXPECT_EQ(size, CSize(600, 600)); // sizes keep their sign
}

TEST(CDCMapping, MulDivRoundsHalvesAwayFromZero)
{
    struct Case { int a, b, c, expected; };
    const Case cases[] = {
        {12, 2540, 72, 423}, {10, 2540, 72, 353}, {8, 2540, 72, 282}, {6, 2540, 72, 212}, {5, 2540, 72, 176},
        {1000, 600, 2540, 236}, {500, 1000, 2540, 197},
        {-5, 1, 2, -3}, {5, -1, 2, -3}, {5, 1, 2, 3},
        {1, 1, 0, -1}, {2000000000, 2000000000, 1, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(CDCMapping, FixedModesIgnoreExtentsAndZeroExtentsAreRefused)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(100, 100, 254, 254));
    dc.SetMapMode(MM_LOMETRIC);
    dc.SetWindowExt(5, 5);
    EXPECT_EQ(dc.GetWindowExt(), CSize(254, 254));
    CPoint p(100, -100); // 10 mm at 254 dpi is 100 pixels
    dc.LPtoDP(&p);
    EXPECT_EQ(p, CPoint(100, 100));

    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(0, 10);
    EXPECT_EQ(dc.GetWindowExt(), CSize(254, 254));
    EXPECT_EQ(dc.SetMapMode(99), 0);
    EXPECT_EQ(dc.GetMapMode(), MM_ANISOTROPIC);
}

TEST(CDCMapping, SizeConversionUsesAbsoluteExtents)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(800, 600));
    PrepareView(dc, 200, {0, 0}); // 2 pixels per unit, y up
    // A mouse delta of (+10, -6) pixels stays (+5, -3) units: signs are the device's.
    CSize delta(10, -6);
    dc.DPtoLP(&delta);
    EXPECT_EQ(delta, CSize(5, -3));
}

} // namespace
