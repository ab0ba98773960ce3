#include "DialogTestSupport.h"

#include "framework/gdi/CDC.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/CStatic.h"

#include <QImage>
#include <QWidget>

using namespace dialogtest;

namespace {

constexpr int kCaption = 100;
constexpr int kPlain = 101;

// Colours one static like a window caption and leaves the others alone.
class CaptionDialog : public CDialog {
public:
    CBrush caption;

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override
    {
        if (nCtlColor == CTLCOLOR_STATIC && pWnd->GetDlgCtrlID() == kCaption) {
            pDC->SetTextColor(RGB(255, 255, 255));
            pDC->SetBkColor(RGB(0, 0, 128));
            return HBRUSH(caption.GetSafeHandle());
        }
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    }
};

class CStaticTest : public DialogTestBase {};

TEST_F(CStaticTest, ParentColoursTheStaticThroughCtlColor)
{
    DialogTemplate tpl;
    tpl.cx = 120;
    tpl.cy = 60;
    tpl.style = WS_POPUP;
    tpl.items = {{"STATIC", "Caption", {}, kCaption, 5, 5, 100, 12, WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0},
                 {"STATIC", "Plain", {}, kPlain, 5, 25, 100, 12, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0}};
    CaptionDialog dialog;
    ASSERT_TRUE(dialog.caption.CreateSolidBrush(RGB(0, 0, 128)));
    ASSERT_TRUE(dialog.CreateIndirect(&tpl));
    const QImage coloured = AfxWidgetFromHandle(dialog.GetDlgItem(kCaption)->GetSafeHwnd())->grab().toImage();
    const QImage plain = AfxWidgetFromHandle(dialog.GetDlgItem(kPlain)->GetSafeHwnd())->grab().toImage();
    EXPECT_EQ(coloured.pixel(1, 1), qRgb(0, 0, 128));
    EXPECT_NE(plain.pixel(1, 1), qRgb(0, 0, 128));
    // The text is drawn in the light colour the parent chose (smoothed at its edges).
    bool lightText = false;
    for (int x = 0; x < coloured.width() && !lightText; ++x)
        for (int y = 0; y < coloured.height() && !lightText; ++y) lightText = qGray(coloured.pixel(x, y)) > 200;
    EXPECT_TRUE(lightText);
    dialog.DestroyWindow();
}

TEST_F(CStaticTest, StandardIconsLoadWithoutInstanceOnly)
{
    EXPECT_NE(LoadIcon(nullptr, IDI_EXCLAMATION), nullptr);
    EXPECT_NE(LoadIcon(nullptr, IDI_QUESTION), LoadIcon(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(LoadIcon(nullptr, TALISO_INTRESOURCE(4711)), nullptr);
    DialogTemplate tpl;
    tpl.cx = 60;
    tpl.cy = 40;
    tpl.style = WS_POPUP;
    tpl.items = {{"STATIC", "", 1u, kCaption, 5, 5, 20, 20, WS_CHILD | WS_VISIBLE | SS_ICON, 0, 0}};
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(&tpl));
    CStatic icon;
    ASSERT_TRUE(icon.SubclassDlgItem(kCaption, &dialog));
    EXPECT_EQ(icon.SetIcon(LoadIcon(nullptr, IDI_QUESTION)), nullptr);
    EXPECT_EQ(icon.GetIcon(), LoadIcon(nullptr, IDI_QUESTION));
    dialog.DestroyWindow();
}

} // namespace
