// The field selector combo box: composed texts, item data and owner-drawn rows.
#include "app/CSelectorComboBox.h"

#include "framework/gdi/CDC.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/CPaintDC.h"
#include "framework/ui/WindowHandle.h"
#include "model/LanguageScript.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr int IDC_FIRST_OBJECT = 2141;

// A colour as the recording logs it.
CString Hex(COLORREF c) { return FormatText("#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c)).c_str(); }

CShelterSelection Reference(int index, int kind, int sub)
{
    CShelterSelection selection;
    selection.SetIndexKindSub(index, kind, sub);
    return selection;
}

CShelterSelection Raw(DWORD value)
{
    CShelterSelection selection;
    selection.SetValue(value);
    return selection;
}

TEST(CSelectorComboBox, ComposedTextsOfReferences)
{
    LanguageScript texts("print.rc");
    ASSERT_TRUE(texts.Loaded()) << texts.Error();
    const struct {
        CShelterSelection selection;
        const char* text;
    } cases[] = {
        {Reference(0, 1, -1), "1 Pair A/Protective field"},
        {Reference(2, 2, 0), "3 Pair A/Warning field/Part 1"},
        {Reference(1, -1, 3), "2 Pair A/Part 4"},
        {Raw(0), "1 Pair A/Field/Part 1"}, // a plain index 0 as item data
        {Reference(-1, 1, -1), "(none)"},
        {CShelterSelection(), "(none)"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(CSelectorComboBox::ComposeText("Pair A", c.selection), c.text)
            << std::hex << c.selection.GetValue();
    EXPECT_STREQ(CSelectorComboBox::GetKindText(-1), "(none)");
}

class CSelectorComboBoxOnDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        ASSERT_TRUE(AfxEnsureGuiApplication());
        DialogTemplate tpl;
        tpl.cx = 240;
        tpl.cy = 60;
        tpl.style = WS_POPUP;
        tpl.items = {{"COMBOBOX", "", {}, IDC_FIRST_OBJECT, 10, 10, 200, 80,
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0, 0}};
        ASSERT_TRUE(dialog.CreateIndirect(&tpl));
        ASSERT_TRUE(combo.SubclassCombo(IDC_FIRST_OBJECT, &dialog));
        ASSERT_EQ(combo.AddItem("Pair A", Reference(0, 1, -1)), 0);
        ASSERT_EQ(combo.AddItem("Pair A", Reference(0, 2, -1)), 1);
        ASSERT_EQ(combo.AddItem("", CShelterSelection()), 2);
        ASSERT_EQ(combo.AddItem("Pair B", Reference(1, 2, -1)), 3);
    }
    void TearDown() override { dialog.DestroyWindow(); }

    // What a recording DC logs when the dialog is asked to draw one item of the combo.
    std::vector<CString> Draw(int item, UINT action, UINT state)
    {
        CDC dc;
        EXPECT_TRUE(dc.CreateRecordingDC(400, 300));
        dc.ClearRecording();
        DRAWITEMSTRUCT draw;
        draw.CtlType = ODT_COMBOBOX;
        draw.CtlID = IDC_FIRST_OBJECT;
        draw.itemID = UINT(item);
        draw.itemAction = action;
        draw.itemState = state;
        draw.hwndItem = combo.GetSafeHwnd();
        draw.hDC = dc.GetSafeHdc();
        draw.rcItem = kRow;
        draw.itemData = item >= 0 ? combo.GetItemData(item) : 0;
        dialog.SendMessage(WM_DRAWITEM, IDC_FIRST_OBJECT, LPARAM(&draw));
        return dc.GetRecording();
    }

    static constexpr RECT kRow{3, 3, 180, 19};
    LanguageScript texts{"print.rc"};
    CDialog dialog;
    CSelectorComboBox combo;
};

TEST_F(CSelectorComboBoxOnDialog, ItemsCarryTheirPackedReference)
{
    EXPECT_EQ(combo.GetItemData(0), DWORD_PTR(0x0001FF00u)); // index 0, sub-index unset, kind 1
    EXPECT_EQ(combo.GetItemSelection(3).GetIndex(), 1);
    EXPECT_EQ(combo.GetItemSelection(3).GetKind(), 2);
    EXPECT_EQ(combo.GetItemSelection(3).GetSubIndex(), -1);
    EXPECT_EQ(combo.GetItemSelection(99).GetIndex(), -1);
    EXPECT_EQ(combo.GetItemSelection(99).GetKind(), -1);

    // The control holds the composed texts: the list and the selection field show them.
    CString text;
    combo.GetItemText(1, text);
    EXPECT_STREQ(text, "1 Pair A/Warning field");
    combo.GetLBText(1, text);
    EXPECT_STREQ(text, "1 Pair A/Warning field");
    combo.GetItemText(2, text);
    EXPECT_STREQ(text, "(none)");

    // A reference with an index but no kind names no field: it is not added.
    CShelterSelection indexOnly;
    indexOnly.SetIndex(0);
    EXPECT_EQ(combo.AddItem("Pair C", indexOnly), CB_ERR);
    EXPECT_EQ(combo.GetCount(), 4);
}

TEST_F(CSelectorComboBoxOnDialog, SelectsTheItemOfAReference)
{
    EXPECT_EQ(combo.SelectBySelection(Reference(0, 2, -1)), 1);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(combo.SelectBySelection(CShelterSelection()), 2);
    EXPECT_EQ(combo.SelectBySelection(Reference(1, 2, -1)), 3);
    // Byte 3 is no part of the reference.
    EXPECT_EQ(combo.SelectBySelection(Raw(0x7F02FF00u)), 1);

    const CShelterSelection unknown[] = {Reference(1, 1, -1), Reference(0, 1, 0), Reference(5, 2, -1)};
    for (const CShelterSelection& selection : unknown) {
        EXPECT_EQ(combo.SelectBySelection(selection), -1);
        EXPECT_EQ(combo.GetCurSel(), 1);
    }
}

TEST_F(CSelectorComboBoxOnDialog, ListRowsAreOneTextLineHigh)
{
    CClientDC dc(&combo);
    if (combo.GetFont()) dc.SelectObject(combo.GetFont());
    TEXTMETRIC tm;
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(combo.GetItemHeight(0), tm.tmHeight);
    CSelectorComboBox missing;
    EXPECT_FALSE(missing.SubclassCombo(4711, &dialog));
}

TEST_F(CSelectorComboBoxOnDialog, OwnerDrawnRowsShowTheirTextInTheStateColours)
{
    const CString row = FormatText("L[%d,%d,%d,%d]", int(kRow.left), int(kRow.top), int(kRow.right), int(kRow.bottom)).c_str();
    const CString format = FormatText("format=0x%X", CSelectorComboBox::kItemTextFormat).c_str();
    EXPECT_EQ(CSelectorComboBox::kItemTextFormat, 0x3C4u);
    const struct {
        const char* name;
        int item;
        UINT action;
        UINT state;
        COLORREF text;
        COLORREF back;
        const char* shown;
        bool focusBefore;
        bool focusAfter;
    } cases[] = {
        {"selected list row", 1, ODA_DRAWENTIRE, ODS_SELECTED, CSelectorComboBox::kHighlightText,
         CSelectorComboBox::kHighlight, "1 Pair A/Warning field", false, true},
        {"plain list row", 3, ODA_DRAWENTIRE, 0, CSelectorComboBox::kWindowText, CSelectorComboBox::kWindow,
         "2 Pair B/Warning field", false, false},
        {"row losing its selection", 0, ODA_SELECT, 0, CSelectorComboBox::kWindowText, CSelectorComboBox::kWindow,
         "1 Pair A/Protective field", true, false},
        {"empty reference in the list", 2, ODA_DRAWENTIRE, 0, CSelectorComboBox::kWindowText,
         CSelectorComboBox::kWindow, "(none)", false, false},
        {"disabled selection field", 0, ODA_DRAWENTIRE, ODS_COMBOBOXEDIT | ODS_DISABLED | ODS_SELECTED,
         CSelectorComboBox::kGrayText, CSelectorComboBox::kWindow, "1 Pair A/Protective field", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<CString> log = Draw(c.item, c.action, c.state);
        auto indexOf = [&log](const CString& prefix) {
            for (std::size_t i = 0; i < log.size(); ++i)
                if (log[i].Find(prefix) == 0) return int(i);
            return -1;
        };
        EXPECT_NE(indexOf("SetTextColor " + Hex(c.text)), -1);
        EXPECT_NE(indexOf("SetBkColor " + Hex(c.back)), -1);
        const int fill = indexOf("ExtTextOut");
        const int drawn = indexOf("DrawText " + row);
        ASSERT_NE(fill, -1);
        ASSERT_NE(drawn, -1);
        EXPECT_LT(fill, drawn);
        EXPECT_NE(log[std::size_t(drawn)].Find(format), -1) << log[std::size_t(drawn)];
        EXPECT_NE(log[std::size_t(drawn)].Find(FormatText("\"%s\"", c.shown).c_str()), -1) << log[std::size_t(drawn)];
        const int focus = indexOf("DrawFocusRect " + row);
        EXPECT_EQ(focus != -1 && focus < fill, c.focusBefore);
        EXPECT_EQ(focus != -1 && focus > drawn, c.focusAfter);
    }
    EXPECT_EQ(combo.GetCount(), 4);
}

TEST_F(CSelectorComboBoxOnDialog, DrawingNeverRemovesItems)
{
    // A reference with an index but no kind can still arrive as raw item data; the list
    // shows it empty and keeps it.
    CShelterSelection indexOnly;
    indexOnly.SetIndex(1);
    ASSERT_NE(combo.SetItemData(3, indexOnly.GetValue()), CB_ERR);
    const std::vector<CString> log = Draw(3, ODA_DRAWENTIRE, 0);
    bool emptyText = false;
    for (const CString& entry : log)
        if (entry.Find("DrawText") == 0 && entry.Find("\"\"") != -1) emptyText = true;
    EXPECT_TRUE(emptyText);
    EXPECT_EQ(combo.GetCount(), 4);
    // In the selection field it reads as it was added.
    CString text;
    combo.GetItemText(3, text);
    EXPECT_STREQ(text, "2 Pair B/Warning field");
}

} // namespace
