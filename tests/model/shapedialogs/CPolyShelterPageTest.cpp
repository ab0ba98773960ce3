// The vertex list of a contour field, in its property page as the properties sheet shows
// it and in its edit dialog: two columns of half the list's width each, every value whole.
#include "support/LanguageScripts.h"
#include "tests/framework/ui/ScreenshotFolder.h"
#include "tests/model/ShelterSamples.h"

#include "dialogs/controls/CColumnListBox.h"
#include "framework/ui/CPaintDC.h"
#include "framework/ui/CPropertySheet.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CPolyShelter.h"
#include "model/shapedialogs/CPolyShelterDialog.h"
#include "model/shapedialogs/CPolyShelterPage.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <memory>
#include <string>

namespace {

constexpr int IDC_VERTICES = 2078;

struct ShownList {
    int clientWidth = 0;
    int columns[2] = {};
    int rows = 0;
    std::string widestCut; // the first cell whose text is wider than its room
};

ShownList LookAtVertexList(CWnd& page)
{
    ShownList shown;
    auto* list = dynamic_cast<CColumnListBox*>(page.GetDlgItem(IDC_VERTICES));
    if (list == nullptr) return shown;
    CRect client;
    list->GetClientRect(&client);
    shown.clientWidth = client.Width();
    shown.columns[0] = list->GetColumnWidth(0);
    shown.columns[1] = list->GetColumnWidth(1);
    shown.rows = list->GetCount();
    CClientDC dc(list);
    CFont* old = dc.SelectObject(list->GetFont());
    for (int row = 0; row < list->GetCount() && shown.widestCut.empty(); ++row) {
        for (int column = 0; column < 2; ++column) {
            const CString text = list->GetItemText(row, column);
            const int room = list->GetColumnWidth(column) - 2 * CColumnListBox::kCellMargin;
            if (dc.GetTextExtent(text).cx > room)
                shown.widestCut = std::string(text.c_str()) + " in " + std::to_string(room) + " px";
        }
    }
    dc.SelectObject(old);
    return shown;
}

void ExpectHalvesWithEveryValueWhole(const ShownList& shown)
{
    ASSERT_GT(shown.rows, 0);
    EXPECT_GT(shown.clientWidth, 150);
    EXPECT_EQ(shown.columns[0], shown.clientWidth / 2);
    EXPECT_EQ(shown.columns[1], shown.clientWidth / 2);
    EXPECT_EQ(shown.widestCut, "");
}

class CPolyShelterPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(language.Loaded()) << language.Error();
        // Wide values on both sides: "-201.9cm" is the longest a field of this size shows.
        CSensorPoint wide;
        wide.SetXY(-201.9f, 150.0f);
        ASSERT_TRUE(contour.SetPoint(wide));
    }

    LanguageScripts language{"framework.rc", "model2.rc", "shapes.rc", "polygon.rc"};
    ScreenshotFolder shots{"contour-vertex-lists"};
    CPolyShelter contour = MakeContour(181);
};

TEST_F(CPolyShelterPageTest, PropertyPageShowsTwoHalvesWithEveryValueWhole)
{
    for (const int polar : {0, 1}) {
        SCOPED_TRACE(polar ? "polar" : "cartesian");
        std::unique_ptr<CPropertyPage> page = contour.CreatePropertyPage(polar, FALSE, 0);
        ASSERT_NE(page, nullptr);
        CPropertySheet sheet("Properties");
        sheet.AddPage(page.get());
        ShownList shown;
        ScriptedUi ui;
        ui.QueueModal([&](CWnd& wnd) {
            DialogDriver::Pump();
            shots.Save(AfxWidgetFromHandle(wnd.GetSafeHwnd())->grab().toImage(),
                       polar ? "page-polar.png" : "page-cartesian.png");
            shown = LookAtVertexList(*page);
            DialogDriver(wnd).Cancel();
        });
        sheet.DoModal();
        ExpectHalvesWithEveryValueWhole(shown);
    }
}

TEST_F(CPolyShelterPageTest, EditDialogShowsTwoHalvesWithEveryValueWhole)
{
    CPolyShelterDialog dialog(&contour, 0, FALSE, nullptr);
    ShownList shown;
    ScriptedUi ui;
    ui.QueueModal([&](CWnd& wnd) {
        DialogDriver::Pump();
        shots.Save(AfxWidgetFromHandle(wnd.GetSafeHwnd())->grab().toImage(), "dialog-cartesian.png");
        shown = LookAtVertexList(wnd);
        DialogDriver(wnd).Cancel();
    });
    dialog.DoModal();
    ExpectHalvesWithEveryValueWhole(shown);
}

} // namespace
