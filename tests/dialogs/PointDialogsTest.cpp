#include "dialogs/shapedialogs/CCartesianPointDialog.h"
#include "dialogs/shapedialogs/CPolarPointDialog.h"

#include "PolygonLanguage.h"
#include "framework/core/Profile.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CPolyShelter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>

namespace {

constexpr int IDC_X = 2012;
constexpr int IDC_Y = 2013;
constexpr int IDC_ANGLE = 2014;
constexpr int IDC_DISTANCE = 2015;
constexpr int IDC_MODE_GRID = 2087;
constexpr int IDC_MODE_KEEP_X = 2091;
constexpr int IDC_MODE_KEEP_Y = 2092;
constexpr int IDC_RESULT_X = 2088;
constexpr int IDC_RESULT_Y = 2089;
constexpr int IDC_CALCULATE = 2090;

class PointDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }

    // Runs the dialog with the actions, presses OK and gives up with Cancel when OK does
    // not close it. True when OK closed it.
    bool Run(CDialog& dialog, const std::function<void(DialogDriver&)>& act)
    {
        ui.ClearMessageBoxes();
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            act(driver);
            driver.Click(IDOK);
            if (!dialog.IsEnded()) driver.Click(IDCANCEL);
        });
        return dialog.DoModal() == IDOK;
    }
    CString LastMessage() const { return ui.MessageBoxes().empty() ? CString() : ui.MessageBoxes().back().text; }

    PolygonLanguage language;
    ScriptedUi ui;
};

void PresetPolar(CPolarPointDialog& dialog, float maxWidth)
{
    dialog.m_fMinAngle = 0;
    dialog.m_fMaxAngle = 180;
    dialog.m_fMinDistance = 5;
    dialog.m_fMaxDistance = 5000;
    dialog.m_fMaxWidth = maxWidth;
}

TEST_F(PointDialogsTest, PolarPointStaysInsideTheLateralLimit)
{
    const struct {
        float width;
        const char* angle;
        const char* distance;
        bool accepted;
    } cases[] = {
        {100, "60", "200", true},   // 100 / cos 60 = 200
        {100, "60", "201", false},
        {100, "120", "201", false}, // the left side likewise
        {100, "90", "4000", true},  // straight ahead has no lateral limit
        {0, "60", "4000", true},    // no width: no lateral check
        {100, "181", "50", false},
        {100, "60", "4", false},
    };
    for (const auto& c : cases) {
        CPolarPointDialog dialog;
        PresetPolar(dialog, c.width);
        const bool accepted = Run(dialog, [&](DialogDriver& driver) {
            driver.SetText(IDC_ANGLE, c.angle);
            driver.SetText(IDC_DISTANCE, c.distance);
        });
        EXPECT_EQ(accepted, c.accepted) << c.angle << " / " << c.distance;
        if (accepted) {
            EXPECT_FLOAT_EQ(dialog.m_fDistance, std::stof(c.distance));
        } else {
            EXPECT_FALSE(LastMessage().IsEmpty());
        }
    }
}

// In inches the distance is checked as the whole cm that will be stored, against the
// maximum and against where the beam meets the lateral limit.
TEST_F(PointDialogsTest, PolarInchDistanceIsCheckedInTheCentimetresThatAreStored)
{
    const struct {
        float width;
        const char* distance; // nullptr: left as shown
        float stored;         // 0 when refused
    } cases[] = {
        {0, nullptr, 650},   // 255.91 in, rounded up from 255.906
        {0, "256.1", 650},   // 650.49 cm
        {0, "256.11", 0},    // 650.52 cm rounds to 651
        {325, "255.91", 650}, // 60 degrees: the beam meets 325 cm across at 650 cm
        {325, "256.11", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.distance ? c.distance : "unchanged");
        CPolarPointDialog dialog;
        PresetPolar(dialog, c.width);
        dialog.m_fMaxDistance = 650;
        dialog.m_fAngle = 60;
        dialog.m_fDistance = 650;
        dialog.m_bInch = 1;
        const bool accepted = Run(dialog, [&](DialogDriver& driver) {
            if (c.distance) driver.SetText(IDC_DISTANCE, c.distance);
        });
        EXPECT_EQ(accepted, c.stored != 0);
        if (accepted) {
            EXPECT_FLOAT_EQ(dialog.m_fDistance, c.stored);
        } else {
            EXPECT_NE(LastMessage().Find("255.91 in"), -1) << LastMessage();
        }
    }
}

TEST_F(PointDialogsTest, PolarPointShowsItsValuesAndTakesInches)
{
    CPolarPointDialog dialog;
    PresetPolar(dialog, 0);
    dialog.m_fAngle = 45;
    dialog.m_fDistance = 254;
    dialog.m_bInch = 1;
    dialog.m_bAngleFixed = 1;
    CString angle, distance;
    bool angleEnabled = true;
    ASSERT_TRUE(Run(dialog, [&](DialogDriver& driver) {
        angle = driver.Text(IDC_ANGLE);
        distance = driver.Text(IDC_DISTANCE);
        angleEnabled = driver.IsEnabled(IDC_ANGLE);
        driver.SetText(IDC_DISTANCE, "10 in");
    }));
    EXPECT_STREQ(angle, "45.00 \u00B0");
    EXPECT_STREQ(distance, "100.00 in");
    EXPECT_FALSE(angleEnabled);
    EXPECT_FLOAT_EQ(dialog.m_fDistance, 25); // 25.4 cm rounded
    EXPECT_FLOAT_EQ(dialog.m_fAngle, 45);
}

class CartesianPointTest : public PointDialogsTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(PointDialogsTest::SetUp());
        char path[] = "/tmp/polygon-calcmode-XXXXXX";
        const int fd = mkstemp(path);
        ASSERT_GE(fd, 0);
        close(fd);
        m_ini = path;
        app.SetProfileName(m_ini.c_str());
        field.InitializeConstant(CSensorType(50, 0), 300, 181, kGeneralField);
    }
    void TearDown() override { std::remove(m_ini.c_str()); }

    void Preset(CCartesianPointDialog& dialog, CShelter* pField)
    {
        dialog.m_fMinDistance = 5;
        dialog.m_fMaxDistance = 5000;
        dialog.m_fMaxWidth = 5000;
        dialog.m_pField = pField;
    }

    CWinApp app{"Taliso"};
    CPolyShelter field;
    std::string m_ini;
};

TEST_F(CartesianPointTest, TheSnappedPointMustSatisfyTheLimits)
{
    // (100, 4995) lies within 5000 cm, but kept on its x the beam of 89 degrees
    // reaches it only at 5730 cm.
    CCartesianPointDialog dialog;
    Preset(dialog, &field);
    EXPECT_FALSE(Run(dialog, [](DialogDriver& driver) {
        driver.Click(IDC_MODE_KEEP_X);
        driver.SetText(IDC_X, "100");
        driver.SetText(IDC_Y, "4995");
    }));
    EXPECT_NE(LastMessage().Find("farther than allowed"), -1) << LastMessage();
    EXPECT_FLOAT_EQ(dialog.m_fX, 0); // the members keep the last good values

    // On the grid the same point is taken, snapped.
    CCartesianPointDialog grid;
    Preset(grid, &field);
    ASSERT_TRUE(Run(grid, [](DialogDriver& driver) {
        driver.Click(IDC_MODE_GRID);
        driver.SetText(IDC_X, "100");
        driver.SetText(IDC_Y, "4995");
    }));
    const CSensorPoint result = field.SnapPoint(CSensorPoint(CCartesianCoord(100, 4995)), kSnapToGrid);
    EXPECT_FLOAT_EQ(grid.m_fX, result.GetX());
    EXPECT_FLOAT_EQ(grid.m_fY, result.GetY());
}

TEST_F(CartesianPointTest, CalculationModeIsKeptOnOkOnly)
{
    CCartesianPointDialog first;
    Preset(first, &field);
    ASSERT_TRUE(Run(first, [](DialogDriver& driver) {
        driver.Click(IDC_MODE_KEEP_Y);
        driver.SetText(IDC_X, "0");
        driver.SetText(IDC_Y, "100");
    }));
    EXPECT_EQ(GetPrivateProfileInt("Settings", "CalcMode", -1, m_ini.c_str()), 2u);

    CCartesianPointDialog second;
    Preset(second, &field);
    int preselected = 0;
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        preselected = driver.Check(IDC_MODE_KEEP_Y);
        driver.Click(IDC_MODE_GRID);
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    EXPECT_EQ(preselected, BST_CHECKED);
    EXPECT_EQ(GetPrivateProfileInt("Settings", "CalcMode", -1, m_ini.c_str()), 2u);
}

TEST_F(CartesianPointTest, InchesAndTheCalculateButton)
{
    CCartesianPointDialog dialog;
    Preset(dialog, nullptr);
    dialog.m_bInch = 1;
    dialog.m_fMaxWidth = 100;
    CString resultX, resultY, afterChange;
    ASSERT_TRUE(Run(dialog, [&](DialogDriver& driver) {
        driver.SetText(IDC_X, "10");
        driver.SetText(IDC_Y, "20 in");
        driver.Click(IDC_CALCULATE);
        resultX = driver.Text(IDC_RESULT_X);
        resultY = driver.Text(IDC_RESULT_Y);
        driver.SetText(IDC_Y, "20");
        afterChange = driver.Text(IDC_RESULT_X);
    }));
    // Inches come back as the whole cm the field keeps: 25.4 cm and 50.8 cm round.
    EXPECT_STREQ(resultX, "9.84 in");
    EXPECT_STREQ(resultY, "20.08 in");
    EXPECT_STREQ(afterChange, "");
    EXPECT_FLOAT_EQ(dialog.m_fX, 25);
    EXPECT_FLOAT_EQ(dialog.m_fY, 51);

    // x beyond the width (100 cm = 39.37 in) is refused, and the members stay in cm.
    CCartesianPointDialog wide;
    Preset(wide, nullptr);
    wide.m_bInch = 1;
    wide.m_fMaxWidth = 100;
    wide.m_fY = 100;
    EXPECT_FALSE(Run(wide, [](DialogDriver& driver) { driver.SetText(IDC_X, "40"); }));
    EXPECT_STREQ(LastMessage(), "Please enter a number between -39.37 in and 39.37 in.");
    EXPECT_FLOAT_EQ(wide.m_fMaxWidth, 100);
    EXPECT_FLOAT_EQ(wide.m_fY, 100);
}

// In inches the checks test the whole cm that will be kept: a point left at the lateral
// limit, shown rounded up, passes unchanged, and what rounds to the limit passes too.
TEST_F(CartesianPointTest, InchesAreCheckedInTheCentimetresThatAreKept)
{
    const struct {
        const char* x; // nullptr: left as shown
        float keptX;   // 0 when refused
    } cases[] = {{nullptr, 350}, {"137.8", 350}, {"137.99", 350}, {"138", 0}, {"-137.99", -350}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x ? c.x : "unchanged");
        // Width 350 cm is 137.795 in, shown as 137.80 in.
        CCartesianPointDialog dialog;
        Preset(dialog, nullptr);
        dialog.m_bInch = 1;
        dialog.m_fMaxWidth = 350;
        dialog.m_fX = 350;
        dialog.m_fY = 100;
        CString shown;
        const bool accepted = Run(dialog, [&](DialogDriver& driver) {
            shown = driver.Text(IDC_X);
            if (c.x) driver.SetText(IDC_X, c.x);
        });
        EXPECT_STREQ(shown, "137.80 in");
        EXPECT_EQ(accepted, c.keptX != 0);
        if (accepted) {
            EXPECT_FLOAT_EQ(dialog.m_fX, c.keptX);
            EXPECT_FLOAT_EQ(dialog.m_fY, 100);
        } else {
            EXPECT_STREQ(LastMessage(), "Please enter a number between -137.80 in and 137.80 in.");
        }
    }
}

} // namespace
