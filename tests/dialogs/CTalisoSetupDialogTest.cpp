#include "dialogs/CTalisoSetupDialog.h"

#include "ShippedLanguage.h"
#include "app/settings/CTalisoSetup.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// View page.
constexpr int IDC_POLAR_GRID = 2158;
constexpr int IDC_RECT_GRID = 2159;
constexpr int IDC_INCH = 2262;
constexpr int IDC_CM = 2160;
constexpr int IDC_GRID = 2155;
constexpr int IDC_LABELS = 2148;
constexpr int IDC_ANGLE = 2151;
constexpr int IDC_MAXIMIZE = 2125;
constexpr int IDC_RECT_SPACING = 2017;
constexpr int IDC_RADIUS_STEP = 2056;
constexpr int IDC_ANGLE_STEP = 2057;
constexpr int IDC_MAX_VIEW = 2019;
constexpr int IDC_MARKER_SIZE = 2021;
// Scan page.
constexpr int IDC_SCAN_DIVISOR = 2097;
constexpr int IDC_SCAN_INTERVAL = 2055;

class CTalisoSetupDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_language.Loaded()) << m_language.Error();
        GetTalisoSetup() = CTalisoSetup();
    }
    void TearDown() override { GetTalisoSetup() = CTalisoSetup(); }

    // Runs the sheet with the pages of the mask; the script drives it.
    INT_PTR Run(UINT pageMask, std::function<void(CPropertySheet&, DialogDriver&)> script)
    {
        m_ui.QueueModal([&](CWnd& wnd) {
            auto& sheet = static_cast<CPropertySheet&>(wnd);
            DialogDriver driver(wnd);
            script(sheet, driver);
        });
        CTalisoSetupDialog dialog;
        return dialog.Edit(pageMask);
    }

    static void ShowScanPage(CPropertySheet& sheet)
    {
        ASSERT_TRUE(sheet.SetActivePage(1));
        DialogDriver::Pump();
    }

    ScriptedUi m_ui;
    ShippedLanguage m_language;
};

TEST_F(CTalisoSetupDialogTest, PagesShowTheSettingsAndCancelKeepsThem)
{
    CTalisoSetup& setup = GetTalisoSetup();
    setup.m_bViewRectGrid = 0;
    setup.m_bViewGrid = 0;
    setup.m_bViewAngle = 0;
    setup.m_nRectGrid = 250;
    setup.m_nRadiusGrid = 40;
    setup.m_nAngleGrid = 15;
    setup.m_nMaxViewSize = 7000;
    setup.m_nMarkerSizeUnits = 12;
    setup.m_nScanDivisor = 2;
    setup.m_nEditScanInterval = 20;
    const CTalisoSetup before(setup);

    const INT_PTR result = Run(kSetupViewPage | kSetupScanPage, [&](CPropertySheet& sheet, DialogDriver& driver) {
        EXPECT_EQ(sheet.GetPageCount(), 2);
        EXPECT_EQ(driver.Check(IDC_POLAR_GRID), BST_CHECKED);
        EXPECT_EQ(driver.Check(IDC_RECT_GRID), BST_UNCHECKED);
        EXPECT_EQ(driver.Check(IDC_CM), BST_CHECKED);
        EXPECT_EQ(driver.Check(IDC_INCH), BST_UNCHECKED);
        EXPECT_EQ(driver.Check(IDC_GRID), BST_UNCHECKED);
        EXPECT_EQ(driver.Check(IDC_LABELS), BST_CHECKED);
        EXPECT_EQ(driver.Check(IDC_ANGLE), BST_UNCHECKED);
        EXPECT_EQ(driver.Check(IDC_MAXIMIZE), BST_CHECKED);
        EXPECT_EQ(driver.Text(IDC_RECT_SPACING), "250 cm");
        EXPECT_EQ(driver.Text(IDC_RADIUS_STEP), "40 cm");
        EXPECT_EQ(driver.Text(IDC_ANGLE_STEP), "15 °");
        EXPECT_EQ(driver.Text(IDC_MAX_VIEW), "7000 cm");
        EXPECT_EQ(driver.Text(IDC_MARKER_SIZE), "12 ");
        // The Apply button, relabelled, serves the defaults.
        EXPECT_EQ(driver.Text(ID_APPLY_NOW), m_language.Text(962));
        EXPECT_TRUE(driver.IsEnabled(ID_APPLY_NOW));

        driver.SetText(IDC_RECT_SPACING, "300");
        driver.Click(IDC_GRID);
        ShowScanPage(sheet);
        ASSERT_EQ(driver.Count(IDC_SCAN_DIVISOR), 2);
        EXPECT_EQ(driver.ItemText(IDC_SCAN_DIVISOR, 0), m_language.Text(980));
        EXPECT_EQ(driver.ItemText(IDC_SCAN_DIVISOR, 1), m_language.Text(981));
        EXPECT_EQ(driver.Selection(IDC_SCAN_DIVISOR), 1);
        EXPECT_EQ(driver.Text(IDC_SCAN_INTERVAL), "20 s");
        driver.SetText(IDC_SCAN_INTERVAL, "40");
        EXPECT_TRUE(driver.Cancel());
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(m_ui.ModalRuns().at(0).caption, m_language.Text(1187));
    EXPECT_EQ(setup.m_nRectGrid, before.m_nRectGrid);
    EXPECT_EQ(setup.m_bViewGrid, before.m_bViewGrid);
    EXPECT_EQ(setup.m_nEditScanInterval, before.m_nEditScanInterval);
}

TEST_F(CTalisoSetupDialogTest, OkWritesEveryEditedSettingBack)
{
    const INT_PTR result = Run(kSetupViewPage | kSetupScanPage, [&](CPropertySheet& sheet, DialogDriver& driver) {
        driver.Click(IDC_POLAR_GRID);
        driver.Click(IDC_GRID);
        driver.Click(IDC_LABELS);
        driver.Click(IDC_ANGLE);
        driver.Click(IDC_MAXIMIZE);
        driver.SetText(IDC_RECT_SPACING, "3 cm");
        driver.SetText(IDC_RADIUS_STEP, "5000");
        driver.SetText(IDC_ANGLE_STEP, "180");
        driver.SetText(IDC_MAX_VIEW, "15000 CM");
        driver.SetText(IDC_MARKER_SIZE, "200");
        ShowScanPage(sheet);
        driver.Select(IDC_SCAN_DIVISOR, 1);
        driver.SetText(IDC_SCAN_INTERVAL, "65 s");
        driver.Ok();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(m_ui.MessageBoxes().empty());
    const CTalisoSetup& setup = GetTalisoSetup();
    EXPECT_EQ(setup.m_bViewRectGrid, 0);
    EXPECT_EQ(setup.m_bViewMetric, 1);
    EXPECT_EQ(setup.m_bViewGrid, 0);
    EXPECT_EQ(setup.m_bViewLabels, 0);
    EXPECT_EQ(setup.m_bViewAngle, 0);
    EXPECT_EQ(setup.m_bViewMaximize, 0);
    EXPECT_EQ(setup.m_nRectGrid, 3);
    EXPECT_EQ(setup.m_nRadiusGrid, 5000);
    EXPECT_EQ(setup.m_nAngleGrid, 180);
    EXPECT_EQ(setup.m_nMaxViewSize, 15000);
    EXPECT_EQ(setup.m_nMarkerSizeUnits, 200);
    EXPECT_EQ(setup.m_nScanDivisor, 2);
    EXPECT_EQ(setup.m_nEditScanInterval, 65);
}

// A refused entry shows its message, keeps the sheet open with the entry focused, and
// a later Cancel leaves the settings as they were.
TEST_F(CTalisoSetupDialogTest, RefusedEntryKeepsTheSheetOpen)
{
    struct Case {
        bool inch;
        bool scanPage;
        int control;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {false, false, IDC_RECT_SPACING, "2", "Please enter an integer between 3 cm and 5000 cm."},
        {false, false, IDC_RADIUS_STEP, "5001", "Please enter an integer between 3 cm and 5000 cm."},
        {false, false, IDC_ANGLE_STEP, "0", "Please enter an integer between 1 ° and 180 °."},
        {false, false, IDC_MAX_VIEW, "99", "Please enter an integer between 100 cm and 15000 cm."},
        {false, false, IDC_MARKER_SIZE, "201", "Please enter an integer between 2  and 200 ."},
        {false, false, IDC_RECT_SPACING, "ten", "Please enter an integer."},
        {false, false, IDC_RECT_SPACING, "10 in", "Please enter a number, optionally followed by the unit cm."},
        {true, false, IDC_RECT_SPACING, "1.17", "Please enter a number between 1.18 in and 1968.50 in."},
        {true, false, IDC_RADIUS_STEP, "1968.51", "Please enter a number between 1.18 in and 1968.50 in."},
        {true, false, IDC_MAX_VIEW, "39.36 in", "Please enter a number between 39.37 in and 5905.51 in."},
        {false, true, IDC_SCAN_INTERVAL, "4", "Please enter an integer between 5 s and 65 s."},
        {false, true, IDC_SCAN_INTERVAL, "66 s", "Please enter an integer between 5 s and 65 s."},
    };
    for (const Case& c : cases) {
        GetTalisoSetup() = CTalisoSetup();
        GetTalisoSetup().m_bViewMetric = c.inch ? 0 : 1;
        const CTalisoSetup before(GetTalisoSetup());
        m_ui.ClearMessageBoxes();
        int focus = 0;
        bool stayedOpen = false;
        const INT_PTR result = Run(kSetupViewPage | kSetupScanPage, [&](CPropertySheet& sheet, DialogDriver& driver) {
            if (c.scanPage) ShowScanPage(sheet);
            driver.SetText(c.control, c.text);
            driver.Ok();
            focus = driver.FocusId();
            stayedOpen = driver.Cancel();
        });
        EXPECT_EQ(result, IDCANCEL) << c.text;
        EXPECT_TRUE(stayedOpen) << c.text;
        EXPECT_EQ(focus, c.control) << c.text;
        ASSERT_EQ(m_ui.MessageBoxes().size(), 1u) << c.text;
        EXPECT_EQ(m_ui.MessageBoxes()[0].text, c.message) << c.text;
        EXPECT_EQ(GetTalisoSetup().m_nRectGrid, before.m_nRectGrid);
        EXPECT_EQ(GetTalisoSetup().m_nEditScanInterval, before.m_nEditScanInterval);
    }
}

TEST_F(CTalisoSetupDialogTest, InchesShowAndStoreWholeCentimetres)
{
    CTalisoSetup& setup = GetTalisoSetup();
    setup.m_bViewMetric = 0;
    setup.m_nRectGrid = 100;
    setup.m_nRadiusGrid = 3;
    setup.m_nMaxViewSize = 15000;
    Run(kSetupViewPage, [&](CPropertySheet&, DialogDriver& driver) {
        EXPECT_EQ(driver.Check(IDC_INCH), BST_CHECKED);
        EXPECT_EQ(driver.Text(IDC_RECT_SPACING), "39.37 in");
        EXPECT_EQ(driver.Text(IDC_RADIUS_STEP), "1.18 in");
        EXPECT_EQ(driver.Text(IDC_MAX_VIEW), "5905.51 in");
        EXPECT_EQ(driver.Text(IDC_ANGLE_STEP), "10 °");
        driver.SetText(IDC_RADIUS_STEP, "1968.50");
        driver.SetText(IDC_MAX_VIEW, "39.37 in");
        driver.Ok();
    });
    EXPECT_TRUE(m_ui.MessageBoxes().empty());
    EXPECT_EQ(setup.m_bViewMetric, 0);
    EXPECT_EQ(setup.m_nRectGrid, 100);
    EXPECT_EQ(setup.m_nRadiusGrid, 5000);
    EXPECT_EQ(setup.m_nMaxViewSize, 100);
}

TEST_F(CTalisoSetupDialogTest, UnitButtonsRedisplayTheLengthsAtOnce)
{
    GetTalisoSetup().m_nRectGrid = 254;
    const INT_PTR result = Run(kSetupViewPage, [&](CPropertySheet&, DialogDriver& driver) {
        driver.SetText(IDC_RADIUS_STEP, "7"); // typed, not yet taken: the switch replaces it
        driver.Click(IDC_INCH);
        EXPECT_EQ(driver.Text(IDC_RECT_SPACING), "100.00 in");
        EXPECT_EQ(driver.Text(IDC_RADIUS_STEP), "39.37 in");
        EXPECT_EQ(driver.Text(IDC_MAX_VIEW), "1968.50 in");
        driver.Click(IDC_CM);
        EXPECT_EQ(driver.Text(IDC_RECT_SPACING), "254 cm");
        EXPECT_EQ(driver.Text(IDC_RADIUS_STEP), "100 cm");
        EXPECT_EQ(driver.Check(IDC_CM), BST_CHECKED);
        driver.Click(IDC_INCH);
        driver.Ok();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(GetTalisoSetup().m_bViewMetric, 0);
    EXPECT_EQ(GetTalisoSetup().m_nRectGrid, 254);
    EXPECT_EQ(GetTalisoSetup().m_nRadiusGrid, 100);
}

TEST_F(CTalisoSetupDialogTest, DefaultsButtonResetsOnlyTheShownPage)
{
    CTalisoSetup& setup = GetTalisoSetup();
    setup.m_bViewRectGrid = 0;
    setup.m_bViewMetric = 0;
    setup.m_bViewGrid = 0;
    setup.m_bViewLabels = 0;
    setup.m_bViewAngle = 0;
    setup.m_bViewMaximize = 0;
    setup.m_nRectGrid = 7;
    setup.m_nRadiusGrid = 8;
    setup.m_nAngleGrid = 9;
    setup.m_nMaxViewSize = 1000;
    setup.m_nMarkerSizeUnits = 3;
    setup.m_nScanDivisor = 2;
    setup.m_bViewEditScan = 0;
    setup.m_nEditScanInterval = 6;
    setup.m_bDrawOnScreen = 1; // no page edits it

    // The view page's defaults leave the scan page's settings alone.
    Run(kSetupViewPage | kSetupScanPage, [&](CPropertySheet& sheet, DialogDriver& driver) {
        EXPECT_TRUE(driver.Apply());
        EXPECT_EQ(driver.Text(IDC_RECT_SPACING), "100 cm");
        EXPECT_EQ(driver.Check(IDC_RECT_GRID), BST_CHECKED);
        ShowScanPage(sheet);
        EXPECT_EQ(driver.Text(IDC_SCAN_INTERVAL), "6 s");
        driver.Ok();
    });
    const CTalisoSetup defaults;
    for (int CTalisoSetup::*member :
         {&CTalisoSetup::m_bViewRectGrid, &CTalisoSetup::m_bViewMetric, &CTalisoSetup::m_bViewGrid,
          &CTalisoSetup::m_bViewLabels, &CTalisoSetup::m_bViewAngle, &CTalisoSetup::m_bViewMaximize,
          &CTalisoSetup::m_nRectGrid, &CTalisoSetup::m_nRadiusGrid, &CTalisoSetup::m_nAngleGrid,
          &CTalisoSetup::m_nMaxViewSize, &CTalisoSetup::m_nMarkerSizeUnits})
        EXPECT_EQ(setup.*member, defaults.*member);
    EXPECT_EQ(setup.m_nScanDivisor, 2);
    EXPECT_EQ(setup.m_bViewEditScan, 0);
    EXPECT_EQ(setup.m_nEditScanInterval, 6);

    // The scan page's defaults, ViewEditScan among them, leave the view page's alone.
    setup.m_nRectGrid = 7;
    Run(kSetupViewPage | kSetupScanPage, [&](CPropertySheet& sheet, DialogDriver& driver) {
        ShowScanPage(sheet);
        EXPECT_TRUE(driver.Apply());
        EXPECT_EQ(driver.Selection(IDC_SCAN_DIVISOR), 0);
        EXPECT_EQ(driver.Text(IDC_SCAN_INTERVAL), "30 s");
        driver.Ok();
    });
    EXPECT_EQ(setup.m_nScanDivisor, 1);
    EXPECT_EQ(setup.m_bViewEditScan, 1);
    EXPECT_EQ(setup.m_nEditScanInterval, 30);
    EXPECT_EQ(setup.m_nRectGrid, 7);
    EXPECT_EQ(setup.m_bDrawOnScreen, 1);
}

TEST_F(CTalisoSetupDialogTest, ScanDivisorOfferedAsEveryOrEverySecondBeam)
{
    const struct {
        int stored;
        int shownItem;
        int chosenItem; // -1 keeps the shown one
        int saved;
    } cases[] = {{1, 0, -1, 1}, {2, 1, -1, 2}, {3, 1, -1, 2}, {3, 1, 0, 1}, {1, 0, 1, 2}};
    for (const auto& c : cases) {
        GetTalisoSetup().m_nScanDivisor = c.stored;
        int shown = -2;
        Run(kSetupScanPage, [&](CPropertySheet& sheet, DialogDriver& driver) {
            EXPECT_EQ(sheet.GetPageCount(), 1);
            shown = driver.Selection(IDC_SCAN_DIVISOR);
            if (c.chosenItem >= 0) driver.Select(IDC_SCAN_DIVISOR, c.chosenItem);
            driver.Ok();
        });
        EXPECT_EQ(shown, c.shownItem) << c.stored;
        EXPECT_EQ(GetTalisoSetup().m_nScanDivisor, c.saved) << c.stored;
    }
}

} // namespace
