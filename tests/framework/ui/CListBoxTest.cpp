#include "DialogTestSupport.h"

#include "framework/gdi/CDC.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/CListBox.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <vector>

using namespace dialogtest;

namespace {

// Rows without text whose item data is the colour they are painted in.
class ColourRows : public CListBox {
public:
    std::vector<UINT> drawn;
    std::vector<RECT> drawnRects;
    std::vector<ULONG_PTR> deleted;

    void DrawItem(LPDRAWITEMSTRUCT draw) override
    {
        drawn.push_back(draw->itemID);
        drawnRects.push_back(draw->rcItem);
        CDC::FromHandle(draw->hDC)->FillSolidRect(&draw->rcItem, COLORREF(draw->itemData));
    }
    void DeleteItem(LPDELETEITEMSTRUCT item) override { deleted.push_back(item->itemData); }
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class RowsDialog : public CDialog {
public:
    RowsDialog() : CDialog(IDD_OWNER_LIST) {}
    ColourRows rows;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        rows.SubclassDlgItem(IDC_ROWS, this);
        // The template's list measured its rows before it had an object: set the height now.
        rows.SetItemHeight(0, 16);
        for (COLORREF colour : {kRed, kGreen, kBlue}) rows.AddString(reinterpret_cast<LPCTSTR>(std::uintptr_t(colour)));
        return TRUE;
    }
};

QRgb PixelOf(COLORREF colour) { return qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour)); }

class CListBoxTest : public DialogTestBase {};

TEST_F(CListBoxTest, OwnerDrawnRowsArePaintedThroughTheDeviceContext)
{
    ScriptedUi ui;
    RowsDialog dialog;
    ui.QueueModal([&](CWnd&) {
        auto* list = dynamic_cast<QAbstractScrollArea*>(AfxWidgetFromHandle(dialog.rows.GetSafeHwnd()));
        ASSERT_NE(list, nullptr);
        const QImage image = list->viewport()->grab().toImage();
        ASSERT_EQ(dialog.rows.drawn, (std::vector<UINT>{0, 1, 2}));
        const COLORREF colours[] = {kRed, kGreen, kBlue};
        for (int row = 0; row < 3; ++row) {
            RECT expected{};
            ASSERT_NE(dialog.rows.GetItemRect(row, &expected), LB_ERR);
            EXPECT_EQ(CRect(dialog.rows.drawnRects[std::size_t(row)]), CRect(expected));
            EXPECT_EQ(expected.bottom - expected.top, 16);
            EXPECT_EQ(image.pixel(expected.left + 5, expected.top + 8), PixelOf(colours[row])) << "row " << row;
        }
        // Below the last row the list shows its background, untouched by the owner.
        EXPECT_NE(image.pixel(5, 3 * 16 + 4), PixelOf(kBlue));
    });
    dialog.DoModal();
}

// A dialog's initialisation measures its list as the user will see it, not at the size
// a control has before it was ever shown: columns and tab stops are set from it there.
TEST_F(CListBoxTest, ClientAreaAtInitialisationIsTheShownOne)
{
    class MeasuringDialog : public RowsDialog {
    public:
        CRect atInit;
        BOOL OnInitDialog() override
        {
            RowsDialog::OnInitDialog();
            rows.GetClientRect(&atInit);
            return TRUE;
        }
    };
    ScriptedUi ui;
    MeasuringDialog dialog;
    CRect shown;
    ui.QueueModal([&](CWnd&) { dialog.rows.GetClientRect(&shown); });
    dialog.DoModal();
    EXPECT_GT(shown.Width(), 120);
    EXPECT_EQ(dialog.atInit, shown);
}

// The owner frees each row: one by one, on reset, and when the list goes with its dialog.
TEST_F(CListBoxTest, EveryRemovedRowReachesDeleteItem)
{
    ScriptedUi ui;
    RowsDialog dialog;
    std::vector<ULONG_PTR> beforeClose;
    ui.QueueModal([&](CWnd&) {
        EXPECT_EQ(dialog.rows.DeleteString(1), 2);
        EXPECT_EQ(dialog.rows.deleted, (std::vector<ULONG_PTR>{kGreen}));
        EXPECT_EQ(dialog.rows.DeleteString(7), LB_ERR);
        dialog.rows.ResetContent();
        EXPECT_EQ(dialog.rows.deleted, (std::vector<ULONG_PTR>{kGreen, kRed, kBlue}));
        dialog.rows.AddString(reinterpret_cast<LPCTSTR>(std::uintptr_t(kGreen)));
        beforeClose = dialog.rows.deleted;
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(beforeClose.size(), 3u);
    EXPECT_EQ(dialog.rows.deleted, (std::vector<ULONG_PTR>{kGreen, kRed, kBlue, kGreen}));
}

// Text rows: sorting, searching, selection rules of single and multiple selection.
TEST_F(CListBoxTest, TextRowsSortSearchAndSelectAsClassic)
{
    CDialog dialog;
    DialogTemplate tpl;
    tpl.cx = 100;
    tpl.cy = 100;
    tpl.style = WS_POPUP;
    DialogItemTemplate single{"LISTBOX", "", {}, 1, 0, 0, 80, 40, WS_CHILD | WS_VISIBLE | LBS_SORT | LBS_NOTIFY, 0, 0};
    DialogItemTemplate multiple{"LISTBOX", "", {}, 2, 0, 50, 80, 40, WS_CHILD | WS_VISIBLE | LBS_MULTIPLESEL, 0, 0};
    tpl.items = {single, multiple};
    ASSERT_TRUE(dialog.CreateIndirect(&tpl));
    CListBox sorted;
    CListBox chosen;
    ASSERT_TRUE(sorted.SubclassDlgItem(1, &dialog));
    ASSERT_TRUE(chosen.SubclassDlgItem(2, &dialog));

    for (const char* text : {"pear", "Apple", "banana", "apple pie"}) sorted.AddString(text);
    CString text;
    sorted.GetText(0, text);
    EXPECT_EQ(text, "Apple");
    sorted.GetText(3, text);
    EXPECT_EQ(text, "pear");
    EXPECT_EQ(sorted.FindString(-1, "APP"), 0);
    EXPECT_EQ(sorted.FindString(0, "app"), 1);      // searching goes on after the start
    EXPECT_EQ(sorted.FindString(1, "app"), 0);      // and wraps round
    EXPECT_EQ(sorted.FindStringExact(-1, "BANANA"), 2);
    EXPECT_EQ(sorted.FindStringExact(-1, "ban"), LB_ERR);
    EXPECT_EQ(sorted.GetCurSel(), LB_ERR);          // adding selects nothing
    EXPECT_EQ(sorted.SetCurSel(2), 2);
    EXPECT_EQ(sorted.InsertString(0, "zebra"), 0);  // inserting ignores the order
    EXPECT_EQ(sorted.GetCurSel(), 3);               // the selection moves with its row
    EXPECT_EQ(sorted.DeleteString(3), 4);
    EXPECT_EQ(sorted.GetCurSel(), LB_ERR);
    EXPECT_EQ(sorted.SetCurSel(9), LB_ERR);
    EXPECT_EQ(sorted.GetSelCount(), LB_ERR);        // no multiple selection here
    sorted.SetItemData(1, 77);
    EXPECT_EQ(sorted.GetItemData(1), 77u);
    EXPECT_EQ(sorted.GetItemDataPtr(42), nullptr);

    for (const char* row : {"a", "b", "c", "d"}) chosen.AddString(row);
    EXPECT_EQ(chosen.SetCurSel(1), LB_ERR);
    chosen.SelItemRange(TRUE, 1, 2);
    chosen.SetSel(3);
    int items[4] = {};
    EXPECT_EQ(chosen.GetSelCount(), 3);
    EXPECT_EQ(chosen.GetSelItems(4, items), 3);
    EXPECT_EQ(items[0], 1);
    EXPECT_EQ(items[2], 3);
    chosen.SetSel(-1, FALSE);
    EXPECT_EQ(chosen.GetSelCount(), 0);

    // The keyboard moves the selection of a single-selection list; a letter jumps.
    DialogDriver driver(dialog);
    sorted.SetCurSel(0);
    EXPECT_TRUE(driver.Focus(1));
    driver.PressKey(VK_DOWN);
    EXPECT_EQ(sorted.GetCurSel(), 1);
    driver.Type(1, "p");
    sorted.GetText(sorted.GetCurSel(), text);
    EXPECT_EQ(text, "pear");
    driver.PressKey(VK_HOME);
    EXPECT_EQ(sorted.GetCurSel(), 0);
    dialog.DestroyWindow();
}

// Rows of different heights, ordered by their owner: the list asks for each row's
// height when it is added and for the order when it is sorted in.
class NumberRows : public CListBox {
public:
    int compares = 0;

    void MeasureItem(LPMEASUREITEMSTRUCT measure) override { measure->itemHeight = UINT(10 + measure->itemData); }
    int CompareItem(LPCOMPAREITEMSTRUCT compare) override
    {
        ++compares;
        return int(compare->itemData1) - int(compare->itemData2);
    }
};

TEST_F(CListBoxTest, VariableRowsAreMeasuredAndSortedByTheOwner)
{
    DialogTemplate tpl;
    tpl.cx = 100;
    tpl.cy = 100;
    tpl.style = WS_POPUP;
    tpl.items = {{"LISTBOX", "", {}, 1, 0, 0, 80, 80,
                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWVARIABLE | LBS_SORT | LBS_NOTIFY, 0, 0}};
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(&tpl));
    NumberRows rows;
    ASSERT_TRUE(rows.SubclassDlgItem(1, &dialog));
    for (std::uintptr_t value : {5u, 1u, 3u}) rows.AddString(reinterpret_cast<LPCTSTR>(value));
    EXPECT_GT(rows.compares, 0);
    EXPECT_EQ(rows.GetItemData(0), 1u);
    EXPECT_EQ(rows.GetItemData(1), 3u);
    EXPECT_EQ(rows.GetItemData(2), 5u);
    EXPECT_EQ(rows.GetItemHeight(0), 11);
    EXPECT_EQ(rows.GetItemHeight(2), 15);
    RECT third{};
    rows.GetItemRect(2, &third);
    EXPECT_EQ(third.top, 11 + 13);
    // Without text a row is found by its item data.
    EXPECT_EQ(rows.FindString(-1, reinterpret_cast<LPCTSTR>(std::uintptr_t(3))), 1);
    dialog.DestroyWindow();
}

} // namespace
