#include "DialogTestSupport.h"

#include "framework/gdi/CDC.h"
#include "framework/ui/ButtonControl.h"
#include "framework/ui/CButton.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/DialogDriver.h"

#include <QImage>
#include <QWidget>

using namespace dialogtest;

namespace {

constexpr int kPicture = 100;

// Green while up, red while pushed, drawn through the device context it is given.
class StateButton : public CButton {
public:
    std::vector<UINT> states;

    void DrawItem(LPDRAWITEMSTRUCT draw) override
    {
        states.push_back(draw->itemState);
        const COLORREF colour = (draw->itemState & ODS_SELECTED) ? RGB(255, 0, 0) : RGB(0, 255, 0);
        CDC::FromHandle(draw->hDC)->FillSolidRect(&draw->rcItem, colour);
    }
};

class CButtonTest : public DialogTestBase {};

TEST_F(CButtonTest, OwnerDrawnButtonDrawsItsStateThroughTheDeviceContext)
{
    DialogTemplate tpl;
    tpl.cx = 100;
    tpl.cy = 60;
    tpl.style = WS_POPUP;
    tpl.items = {{"Button", "", {}, kPicture, 5, 5, 40, 20, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0}};
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(&tpl));
    StateButton button;
    ASSERT_TRUE(button.SubclassDlgItem(kPicture, &dialog));
    QWidget* widget = AfxWidgetFromHandle(button.GetSafeHwnd());

    QImage image = widget->grab().toImage();
    EXPECT_EQ(image.pixel(4, 4), qRgb(0, 255, 0));
    button.SetState(TRUE);
    image = widget->grab().toImage();
    EXPECT_EQ(image.pixel(4, 4), qRgb(255, 0, 0));
    ASSERT_GE(button.states.size(), 2u);
    EXPECT_TRUE(button.states.back() & ODS_SELECTED);
    button.SetState(FALSE);
    button.EnableWindow(FALSE);
    widget->grab();
    EXPECT_TRUE(button.states.back() & ODS_DISABLED);
    dialog.DestroyWindow();
}

// A check box cycles as its style says; a manual one only tells its parent.
TEST_F(CButtonTest, CheckStatesFollowTheButtonKind)
{
    struct Case {
        DWORD kind;
        std::vector<int> afterClicks;
    };
    const Case cases[] = {
        {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
        {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
        {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
        {BS_RADIOBUTTON, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
    };
    for (const Case& c : cases) {
        DialogTemplate tpl;
        tpl.cx = 100;
        tpl.cy = 60;
        tpl.style = WS_POPUP;
        tpl.items = {{"BUTTON", "x", {}, kPicture, 5, 5, 40, 10, WS_CHILD | WS_VISIBLE | WS_TABSTOP | c.kind, 0, 0}};
        CDialog dialog;
        ASSERT_TRUE(dialog.CreateIndirect(&tpl));
        DialogDriver driver(dialog);
        for (int expected : c.afterClicks) {
            driver.Click(kPicture);
            EXPECT_EQ(driver.Check(kPicture), expected) << "kind " << c.kind;
        }
        CButton button;
        button.SubclassDlgItem(kPicture, &dialog);
        button.SetCheck(BST_INDETERMINATE);
        EXPECT_EQ(button.GetCheck(), c.kind == BS_AUTO3STATE ? BST_INDETERMINATE : BST_CHECKED);
        dialog.DestroyWindow();
    }
}

} // namespace

namespace {

// The first row, from the top, where column x differs from the dialog colour; -1 for none.
int FirstDrawnRow(const QImage& image, int x, QRgb background)
{
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) != background) return y;
    return -1;
}

// A group box's frame runs through the middle of its title line, so controls placed one
// text line below the group's top sit inside it, clear of the frame and the title.
TEST_F(CButtonTest, GroupFrameRunsHalfATextLineBelowTheTop)
{
    DialogTemplate tpl;
    tpl.cx = 160;
    tpl.cy = 80;
    tpl.style = WS_POPUP;
    tpl.font = DialogFontTemplate{8, "MS Sans Serif", 0, false, 0};
    tpl.items = {{"Button", "Restart", {}, 10, 7, 7, 140, 60, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0}};
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(&tpl));
    QWidget* group = AfxWidgetFromHandle(dialog.GetDlgItem(10)->GetSafeHwnd());
    const QRect title = AfxGroupBoxTitleRect(group->font(), "Restart");
    EXPECT_EQ(title.height(), dialog.GetBaseUnits().cy);
    QImage image(group->size(), QImage::Format_RGB32);
    const QRgb background = group->palette().color(QPalette::Window).rgb();
    image.fill(background);
    group->render(&image);

    // Right of the title only the frame is drawn: its top line and its left edge.
    EXPECT_EQ(FirstDrawnRow(image, title.right() + 10, background), title.height() / 2);
    EXPECT_EQ(FirstDrawnRow(image, 0, background), title.height() / 2);
    // The title itself starts above the line and stays within its band.
    const int textTop = FirstDrawnRow(image, title.left() + 4, background);
    EXPECT_GE(textTop, 0);
    EXPECT_LT(textTop, title.height() / 2);
    dialog.DestroyWindow();
}

} // namespace
