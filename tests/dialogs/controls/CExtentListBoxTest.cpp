// The extent list box keeps its horizontal extent at its widest item, measured in its
// font with its tab stops, through adding, deleting, new tab stops and emptying.
#include "dialogs/controls/CExtentListBox.h"
#include "framework/core/ResourceScript.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/CPaintDC.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int IDC_LIST = 2035;

class ExtentListBoxTest : public ::testing::Test {
protected:
    void Create(DWORD listStyle)
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        tpl.cx = 200;
        tpl.cy = 120;
        tpl.style = WS_POPUP;
        tpl.items = {{"LISTBOX", "", {}, IDC_LIST, 5, 5, 100, 80, WS_CHILD | WS_VISIBLE | WS_HSCROLL | listStyle, 0, 0}};
        ASSERT_TRUE(dialog.CreateIndirect(&tpl));
        ASSERT_TRUE(list.SubclassDlgItem(IDC_LIST, &dialog));
    }
    void TearDown() override { dialog.DestroyWindow(); }

    // The widest of the measured widths, and every item measured once.
    void ExpectConsistent()
    {
        ASSERT_EQ(list.GetMeasuredCount(), list.GetCount());
        int widest = 0;
        for (int i = 0; i < list.GetCount(); ++i) widest = std::max(widest, list.GetItemWidth(i));
        EXPECT_EQ(list.GetExtent(), widest);
        EXPECT_EQ(list.GetHorizontalExtent(), widest);
    }

    int PlainWidth(const char* text)
    {
        CClientDC dc(&list);
        CFont* previous = dc.SelectObject(list.GetFont());
        const int width = int(dc.GetTextExtent(CString(text)).cx) + 6;
        dc.SelectObject(previous);
        return width;
    }

    DialogTemplate tpl;
    CDialog dialog;
    CExtentListBox list;
};

TEST_F(ExtentListBoxTest, ExtentFollowsTheWidestItemThroughAddingAndDeleting)
{
    Create(0);
    list.AddString("mid item");
    ExpectConsistent(); // the first item sets the default tab stops and is measured once
    EXPECT_EQ(list.GetItemWidth(0), PlainWidth("mid item"));
    list.AddString("the widest item of them all");
    list.InsertString(0, "a");
    ExpectConsistent();
    EXPECT_EQ(list.GetExtent(), PlainWidth("the widest item of them all"));

    list.DeleteString(0); // a narrower one: the extent stays
    ExpectConsistent();
    EXPECT_EQ(list.GetExtent(), PlainWidth("the widest item of them all"));
    list.DeleteString(1); // the widest: the next widest takes over
    ExpectConsistent();
    EXPECT_EQ(list.GetExtent(), PlainWidth("mid item"));
    EXPECT_EQ(list.DeleteString(7), LB_ERR);
    ExpectConsistent();

    list.ResetContent();
    EXPECT_EQ(list.GetExtent(), 0);
    list.AddString("a");
    ExpectConsistent();
    EXPECT_EQ(list.GetExtent(), PlainWidth("a"));
}

TEST_F(ExtentListBoxTest, NewTabStopsMeasureEveryItemAgain)
{
    Create(LBS_USETABSTOPS);
    list.AddString("a\tb");
    list.AddString("c");
    ExpectConsistent();
    const int before = list.GetItemWidth(0);
    const int stop = 120; // dialog units
    ASSERT_TRUE(list.SetTabStops(1, &stop));
    ExpectConsistent();
    ASSERT_EQ(list.GetTabStopPixels().size(), 1u);
    EXPECT_GT(list.GetTabStopPixels()[0], 100);
    EXPECT_GT(list.GetItemWidth(0), before);
    EXPECT_GT(list.GetItemWidth(0), list.GetTabStopPixels()[0]);
    EXPECT_EQ(list.GetItemWidth(1), PlainWidth("c"));
}

} // namespace
