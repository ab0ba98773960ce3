#include "dialogs/controls/CColumnListBox.h"

#include "dialogs/controls/CColumnHeader.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QImage>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int IDC_TABLE = 2078;

class CColumnListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        DialogTemplate tpl;
        tpl.cx = 200;
        tpl.cy = 120;
        tpl.style = WS_POPUP;
        tpl.items = {{"LISTBOX", "", {}, IDC_TABLE, 10, 20, 150, 80,
                      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_OWNERDRAWFIXED | LBS_EXTENDEDSEL |
                          LBS_NOINTEGRALHEIGHT,
                      0, 0}};
        ASSERT_TRUE(dialog.CreateIndirect(&tpl));
        CRect before;
        dialog.GetDlgItem(IDC_TABLE)->GetWindowRect(&before);
        dialog.ScreenToClient(&before);
        listBefore = before;
        ASSERT_TRUE(list.AttachToDlgItem(IDC_TABLE, &dialog));
    }
    void TearDown() override { dialog.DestroyWindow(); }

    // What a recording DC logs for the draw request of a row.
    std::vector<CString> DrawRow(int row, UINT action, UINT state)
    {
        CDC dc;
        EXPECT_TRUE(dc.CreateRecordingDC(400, 300));
        dc.ClearRecording();
        DRAWITEMSTRUCT draw;
        draw.CtlType = ODT_LISTBOX;
        draw.itemID = UINT(row);
        draw.itemAction = action;
        draw.itemState = state;
        draw.hDC = dc.GetSafeHdc();
        CRect client;
        list.GetClientRect(&client);
        draw.rcItem = CRect(0, row * 16, client.right, row * 16 + 16);
        list.DrawItem(&draw);
        return dc.GetRecording();
    }

    static bool Has(const std::vector<CString>& log, const char* text)
    {
        for (const CString& entry : log)
            if (entry.Find(text) != -1) return true;
        return false;
    }

    CDialog dialog;
    CColumnListBox list;
    CRect listBefore;
};

TEST_F(CColumnListBoxTest, HeaderSitsAboveTheListWhichMovesDown)
{
    const int h = list.GetHeaderHeight();
    EXPECT_GT(h, 6);
    CRect listNow;
    list.GetWindowRect(&listNow);
    dialog.ScreenToClient(&listNow);
    EXPECT_EQ(listNow.top, listBefore.top + h - 1);
    EXPECT_EQ(listNow.bottom, listBefore.bottom);
    CRect header;
    list.GetHeader()->GetWindowRect(&header);
    dialog.ScreenToClient(&header);
    EXPECT_EQ(header, CRect(listBefore.left, listBefore.top, listBefore.right, listBefore.top + h));
    EXPECT_TRUE(list.GetHeader()->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(list.GetColumnCount(), 1);

    CColumnListBox missing;
    EXPECT_FALSE(missing.AttachToDlgItem(4711, &dialog));
}

TEST_F(CColumnListBoxTest, ColumnsTitlesAndWidths)
{
    list.SetColumnCount(2);
    int format = 0, width = 0;
    ASSERT_TRUE(list.GetColumn(1, format, width));
    EXPECT_EQ(format, kColumnLeft);
    EXPECT_EQ(width, 75);
    EXPECT_EQ(list.GetHorizontalExtent(), 150);
    EXPECT_EQ(list.SetColumnWidth(1, 40), 75);
    EXPECT_EQ(list.GetHorizontalExtent(), 115);
    EXPECT_EQ(list.SetColumnFormat(1, kColumnRight), kColumnLeft);

    // Titles split at line feeds, one per column: a missing part leaves its title, an
    // extra part is dropped.
    list.SetColumnTitles("Angle\nDistance\nExtra", '\n');
    EXPECT_STREQ(list.GetColumnTitle(0), "Angle");
    EXPECT_STREQ(list.GetColumnTitle(1), "Distance");
    list.SetColumnTitles("x", '\n');
    EXPECT_STREQ(list.GetColumnTitle(0), "x");
    EXPECT_STREQ(list.GetColumnTitle(1), "Distance");

    // On an empty list each column is as wide as its title plus the margin either side.
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(100, 100));
    CFont* oldFont = list.GetFont() ? dc.SelectObject(list.GetFont()) : nullptr;
    const int titleWidth = dc.GetTextExtent(CString("Distance")).cx;
    if (oldFont) dc.SelectObject(oldFont);
    list.AutoSizeColumns(-1);
    EXPECT_EQ(list.GetColumnWidth(1), titleWidth + 10);

    CColumnListBox none;
    EXPECT_FALSE(none.GetColumn(0, format, width));
}

TEST_F(CColumnListBoxTest, RowsHoldOneTextAndDataWordPerColumn)
{
    list.SetColumnCount(2);
    EXPECT_EQ(list.AddItem("10.00"), 0);
    EXPECT_EQ(list.AddItem("20.00"), 1);
    EXPECT_EQ(list.InsertItem(0, "5.00"), 0);
    EXPECT_EQ(list.SetItemText(1, 1, "100"), 1);
    EXPECT_EQ(list.SetItemData(1, 42), 1);
    EXPECT_EQ(list.SetItemData(1, 1, 43), 1);
    EXPECT_STREQ(list.GetItemText(1), "10.00");
    EXPECT_STREQ(list.GetItemText(1, 1), "100");
    EXPECT_EQ(list.GetItemTextLength(1, 1), 3);
    EXPECT_EQ(list.GetItemData(1), 42u);
    EXPECT_EQ(list.GetItemData(1, 1), 43u);
    char buffer[16];
    EXPECT_EQ(list.GetItemText(1, 1, buffer), 3);
    EXPECT_STREQ(buffer, "100");

    // Cells that do not exist read empty and take nothing.
    EXPECT_EQ(list.SetItemText(1, 2, "no"), LB_ERR);
    EXPECT_EQ(list.SetItemData(9, 1), LB_ERR);
    EXPECT_STREQ(list.GetItemText(9, 0), "");
    EXPECT_EQ(list.GetItemData(1, 5), 0u);

    EXPECT_EQ(list.RemoveItem(0), 2);
    EXPECT_STREQ(list.GetItemText(0), "10.00");

    // Ordering compares the first texts.
    COMPAREITEMSTRUCT compare;
    compare.itemData1 = reinterpret_cast<ULONG_PTR>(list.CListBox::GetItemDataPtr(0));
    compare.itemData2 = reinterpret_cast<ULONG_PTR>(list.CListBox::GetItemDataPtr(1));
    EXPECT_LT(list.CompareItem(&compare), 0);
    compare.itemData2 = 0;
    EXPECT_EQ(list.CompareItem(&compare), 0);
}

TEST_F(CColumnListBoxTest, RowsAreDrawnCellByCell)
{
    list.SetColumnCount(3);
    list.SetColumnFormat(1, kColumnRight);
    list.SetColumnFormat(2, 4);
    const int row = list.AddItem("left");
    list.SetItemText(row, 1, "right");
    list.SetItemText(row, 2, "centre");

    const std::vector<CString> plain = DrawRow(row, ODA_DRAWENTIRE, 0);
    ASSERT_FALSE(plain.empty());
    EXPECT_NE(plain[0].Find("FillSolidRect"), -1) << plain[0];
    EXPECT_NE(plain[0].Find("FFFFFF"), -1) << plain[0];
    // Each cell inside its column less the 5-pixel margin, aligned by its format.
    EXPECT_TRUE(Has(plain, "DrawText L[5,0,70,16] D[5,0,70,16] format=0x824 \"left\"")) << ::testing::PrintToString(plain);
    EXPECT_TRUE(Has(plain, "DrawText L[80,0,145,16] D[80,0,145,16] format=0x826 \"right\"")) << ::testing::PrintToString(plain);
    EXPECT_TRUE(Has(plain, "DrawText L[155,0,220,16] D[155,0,220,16] format=0x825 \"centre\"")) << ::testing::PrintToString(plain);
    EXPECT_FALSE(Has(plain, "DrawFocusRect"));

    const std::vector<CString> selected = DrawRow(row, ODA_SELECT, ODS_SELECTED | ODS_FOCUS);
    ASSERT_FALSE(selected.empty());
    EXPECT_NE(selected[0].Find("000080"), -1) << selected[0];
    EXPECT_TRUE(Has(selected, "DrawFocusRect"));

    // A focus change only toggles the focus frame.
    const std::vector<CString> focus = DrawRow(row, ODA_FOCUS, ODS_FOCUS);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_NE(focus[0].Find("DrawFocusRect"), -1);
}

TEST_F(CColumnListBoxTest, HeaderPaintsEveryTitleEvenWithoutRows)
{
    list.SetColumnCount(2);
    list.SetColumnTitles("Angle\nDistance", '\n');
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(400, 300));
    dc.ClearRecording();
    list.GetHeader()->Paint(&dc);
    const std::vector<CString> log = dc.GetRecording();
    EXPECT_TRUE(Has(log, "\"Angle\"")) << ::testing::PrintToString(log);
    EXPECT_TRUE(Has(log, "\"Distance\""));
    EXPECT_TRUE(Has(log, "C0C0C0"));

    CColumnHeader orphan;
    dc.ClearRecording();
    orphan.Paint(&dc);
    EXPECT_TRUE(dc.GetRecording().empty());
}

// Titles stand on the button face like the rest of the header, not on the shadow colour
// of the frame lines drawn just before them.
TEST_F(CColumnListBoxTest, HeaderTitlesStandOnTheButtonFace)
{
    list.SetColumnCount(2);
    list.SetColumnTitles("Angle\nDistance", '\n');
    CRect header;
    list.GetHeader()->GetClientRect(&header);
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(header.Width(), header.Height()));
    list.GetHeader()->Paint(&dc);
    int face = 0;
    int shadow = 0;
    for (int column = 0; column < 2; ++column) {
        int left = 0;
        int right = 0;
        list.GetColumnEdges(column, left, right);
        for (int y = 1; y < header.Height() - 1; ++y) {
            for (int x = left + 1; x < right - 1; ++x) {
                const COLORREF pixel = dc.GetPixel(x, y);
                face += pixel == CColumnListBox::kButtonFace;
                shadow += pixel == CColumnListBox::kButtonShadow;
            }
        }
    }
    EXPECT_GT(face, 0);
    EXPECT_LT(shadow * 20, face) << shadow << " shadow pixels inside the cells";
}

// A list with more rows than it shows and wider columns than it has room for: beside
// the vertical scroll bar, and scrolled sideways, every column title sits over its cells,
// so the first ink of each title and of the same text in the first row line up.
TEST_F(CColumnListBoxTest, HeaderLinesUpWithTheCellsBesideAScrollBar)
{
    const int columns = 3;
    list.SetColumnCount(columns);
    list.SetColumnTitles("W1\nW2\nW3", '\n');
    for (int row = 0; row < 30; ++row) {
        list.AddItem("W1");
        list.SetItemText(row, 1, "W2");
        list.SetItemText(row, 2, "W3");
    }
    dialog.ShowWindow(SW_SHOW);
    CRect listRect;
    list.GetWindowRect(&listRect);
    dialog.ScreenToClient(&listRect);
    CRect client;
    list.GetClientRect(&client);
    EXPECT_LT(client.Width(), listRect.Width() - 10) << "the client area includes the scroll bar";

    const auto expectHeaderOverCells = [&](int scrolled) {
        const QImage image = AfxWidgetFromHandle(dialog.GetSafeHwnd())->grab().toImage();
        EXPECT_EQ(list.GetHorizontalOffset(), scrolled);
        // First dark pixel from x on, in the rows of a band; -1 when there is none.
        const auto firstInk = [&](int fromX, int toX, int top, int bottom) {
            for (int x = fromX; x < toX; ++x)
                for (int y = top; y < bottom; ++y)
                    if (qGray(image.pixel(x, y)) < 80) return x;
            return -1;
        };
        const int headerTop = listRect.top - list.GetHeaderHeight() + 3;
        const int headerBottom = listRect.top - 2;
        const int rowTop = listRect.top + 2;
        const int rowBottom = rowTop + CColumnListBox::kRowHeight - 3;
        for (int column = 0; column < columns; ++column) {
            int left = 0;
            int right = 0;
            list.GetColumnEdges(column, left, right);
            const int from = listRect.left + left - scrolled + 2;
            const int to = std::min(listRect.left + right - scrolled - 2, listRect.left + client.Width());
            if (from < listRect.left || to - from < 20) continue; // scrolled out of sight
            const int title = firstInk(from, to, headerTop, headerBottom);
            const int cell = firstInk(from, to, rowTop, rowBottom);
            ASSERT_GE(title, 0) << column;
            ASSERT_GE(cell, 0) << column;
            // Within the list's frame line and a pixel of glyph placement.
            EXPECT_LE(std::abs(title - cell), 2)
                << "scrolled " << scrolled << ", column " << column << ": title at " << title << ", cells at " << cell;
        }
    };
    expectHeaderOverCells(0);
    auto* scrolling = qobject_cast<QAbstractScrollArea*>(AfxWidgetFromHandle(list.GetSafeHwnd()));
    ASSERT_NE(scrolling, nullptr);
    ASSERT_GE(scrolling->horizontalScrollBar()->maximum(), 12);
    scrolling->horizontalScrollBar()->setValue(12);
    expectHeaderOverCells(12);
}

// The horizontal bar shows only while the columns are wider than the list, also when
// the widths change after the list is shown.
TEST_F(CColumnListBoxTest, HorizontalScrollBarOnlyWhileColumnsOverflow)
{
    list.SetColumnCount(2);
    list.AddItem("a");
    dialog.ShowWindow(SW_SHOW);
    auto* scrolling = qobject_cast<QAbstractScrollArea*>(AfxWidgetFromHandle(list.GetSafeHwnd()));
    ASSERT_NE(scrolling, nullptr);
    CRect client;
    list.GetClientRect(&client);
    const struct {
        int width; // of each of the two columns
        bool bar;
    } steps[] = {{client.Width() / 4, false}, {client.Width(), true}, {client.Width() / 2 - 1, false}};
    for (const auto& step : steps) {
        list.SetColumnWidth(0, step.width);
        list.SetColumnWidth(1, step.width);
        DialogDriver::Pump();
        EXPECT_EQ(scrolling->horizontalScrollBar()->isVisible(), step.bar) << "columns of " << step.width;
    }
}

} // namespace
