#include "DialogTestSupport.h"
#include "ScreenshotFolder.h"

#include "framework/ui/CDialog.h"
#include "framework/ui/DialogTemplateLayout.h"

#include <QImage>
#include <QWidget>

using namespace dialogtest;

namespace {

TEST(DialogTemplateLayout, DialogUnitsScaleByTheFontsBaseUnitsRoundingHalfAway)
{
    // 312 pixels for the 52 letters: an average of 6; 13 pixels high.
    const DialogBaseUnits units = DialogBaseUnitsFromMetrics(312, 13);
    EXPECT_EQ(units.cx, 6);
    EXPECT_EQ(units.cy, 13);
    EXPECT_EQ(DialogBaseUnitsFromMetrics(338, 16).cx, 7); // 13 a letter rounds up to 7
    struct Case {
        int dialogUnits;
        int x;
        int y;
    };
    const Case cases[] = {{0, 0, 0}, {1, 2, 2}, {2, 3, 3}, {7, 11, 11}, {9, 14, 15}, {50, 75, 81}, {-7, -11, -11}};
    for (const Case& c : cases) {
        EXPECT_EQ(DialogUnitsToPixelsX(c.dialogUnits, units), c.x) << c.dialogUnits;
        EXPECT_EQ(DialogUnitsToPixelsY(c.dialogUnits, units), c.y) << c.dialogUnits;
    }
    EXPECT_EQ(DialogUnitsToPixels(CRect(7, 9, 57, 23), units), CRect(11, 15, 86, 37));
}

TEST(DialogTemplateLayout, ClassicFacesBecomeTheMetricCompatibleSans)
{
    EXPECT_EQ(DialogFontFace("MS Sans Serif"), "Liberation Sans");
    EXPECT_EQ(DialogFontFace("ms shell dlg"), "Liberation Sans");
    EXPECT_EQ(DialogFontFace(""), "Liberation Sans");
    EXPECT_EQ(DialogFontFace("DejaVu Serif"), "DejaVu Serif");
    DialogFontSpec eightPoint;
    eightPoint.pointSize = 8;
    EXPECT_EQ(DialogFontPixelHeight(eightPoint, 96), 11);
    EXPECT_EQ(DialogFontPixelHeight(eightPoint, 120), 13);
}

class DialogScreenshotTest : public DialogTestBase {};

CRect ClientRectOf(CWnd& dialog, int id)
{
    CRect rect;
    dialog.GetDlgItem(id)->GetWindowRect(&rect);
    dialog.ScreenToClient(&rect);
    return rect;
}

// The layout dialog rendered offscreen: its size and its controls sit where the dialog
// units of the template put them, and the image shows them there.
TEST_F(DialogScreenshotTest, RenderedDialogShowsItsControlsInPlace)
{
    CDialog dialog(IDD_LAYOUT);
    ASSERT_TRUE(dialog.Create(IDD_LAYOUT));
    dialog.ShowWindow(SW_SHOW);
    const DialogBaseUnits units = dialog.GetBaseUnits();
    ASSERT_GT(units.cx, 0);
    ASSERT_GT(units.cy, 0);

    CRect client;
    dialog.GetClientRect(&client);
    EXPECT_EQ(client.Size(), DialogUnitsToPixels(CRect(0, 0, 200, 120), units).Size());
    struct Placed {
        int id;
        CRect dialogUnits;
    };
    const Placed placed[] = {{IDC_NAME, CRect(50, 19, 120, 31)},
                             {IDC_ENABLED, CRect(14, 37, 74, 47)},
                             {IDC_ITEMS, CRect(7, 72, 87, 112)},
                             {IDC_LEVEL, CRect(95, 95, 155, 105)},
                             {IDOK, CRect(140, 7, 190, 21)}};
    for (const Placed& p : placed) EXPECT_EQ(ClientRectOf(dialog, p.id), DialogUnitsToPixels(p.dialogUnits, units)) << p.id;
    CRect mapped(140, 24, 190, 38);
    dialog.MapDialogRect(&mapped);
    EXPECT_EQ(ClientRectOf(dialog, IDCANCEL), mapped);
    EXPECT_FALSE(dialog.GetDlgItem(IDCANCEL)->IsWindowEnabled());

    const QImage image = AfxWidgetFromHandle(dialog.GetSafeHwnd())->grab().toImage();
    ASSERT_EQ(image.width(), client.Width());
    EXPECT_TRUE(ScreenshotFolder("dialog-layout").Save(image, "dialog-layout.png"));

    // Inside the edit and the list the field colour shows; between controls the dialog's.
    const QRgb background = image.pixel(client.Width() - 3, client.Height() - 3);
    const CRect edit = ClientRectOf(dialog, IDC_NAME);
    const CRect list = ClientRectOf(dialog, IDC_ITEMS);
    const QRgb field = image.pixel(edit.CenterPoint().x, edit.CenterPoint().y);
    EXPECT_NE(field, background);
    EXPECT_EQ(image.pixel(list.left + 4, list.bottom - 4), field);
    // The push button is drawn within its rectangle: its face differs from the dialog
    // somewhere inside, and the gap left of it is the dialog's.
    const CRect ok = ClientRectOf(dialog, IDOK);
    bool buttonDrawn = false;
    for (int x = ok.left + 1; x < ok.right - 1 && !buttonDrawn; ++x) buttonDrawn = image.pixel(x, ok.top + 1) != background;
    EXPECT_TRUE(buttonDrawn);
    EXPECT_EQ(image.pixel(ok.left - 3, ok.CenterPoint().y), background);
    dialog.DestroyWindow();
}

} // namespace
