#include "dialogs/shapedialogs/CRectShapeDialog.h"

#include "tests/dialogs/shapedialogs/ShapeDialogScript.h"

#include <gtest/gtest.h>

namespace {

constexpr int IDC_FRONT = 2023;
constexpr int IDC_LEFT = 2061;
constexpr int IDC_RIGHT = 2063;

class CRectShapeDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(m_language.Loaded()) << m_language.Error();
    }

private:
    LanguageScripts m_language{"framework.rc", "model2.rc", "shapes.rc"};
};

struct Extents {
    const char* left;
    const char* front;
    const char* right;
};

// Left 100, right 150, front 200 within distances 5 to 450 and sides up to 350.
void Preset(CRectShapeDialog& dialog, int inch)
{
    dialog.m_bInch = inch;
    dialog.m_nLeft = 100;
    dialog.m_nRight = 150;
    dialog.m_nFront = 200;
    dialog.m_nMinDistance = 5;
    dialog.m_nMaxDistance = 450;
    dialog.m_nMaxWidth = 350;
}

ShapeRun EnterExtents(CRectShapeDialog& dialog, int inch, const Extents& typed)
{
    Preset(dialog, inch);
    return RunShapeDialog(dialog, {{{IDC_LEFT, typed.left}, {IDC_FRONT, typed.front}, {IDC_RIGHT, typed.right}}, 2},
                          {IDC_LEFT, IDC_FRONT, IDC_RIGHT});
}

// Checks run front, left, left far corner, right, right far corner; the first failure is
// reported on its edit and no member changes.
TEST_F(CRectShapeDialogTest, ChecksInOrderAgainstDistanceWidthAndFarCorners)
{
    struct Case {
        Extents typed;
        int focus; // 0: accepted
        UINT messageId;
        const char* message;
    };
    const Case cases[] = {
        {{"120", "300", "249.6"}, 0, 0, ""},
        {{"400", "451", "400"}, IDC_FRONT, 61715, "Please enter a number between 5.00 cm and 450.00 cm."},
        {{"351", "300", "400"}, IDC_LEFT, 61715, "Please enter a number between 5.00 cm and 350.00 cm."},
        // Each value lies within its range, but the far corner is 500 cm away.
        {{"300", "400", "10"}, IDC_LEFT, 474,
         "The point (300.00 cm, 400.00 cm) lies 500.00 cm from the scanner, farther than allowed."},
        {{"10", "400", "4"}, IDC_RIGHT, 61715, "Please enter a number between 5.00 cm and 350.00 cm."},
        {{"10", "400", "300"}, IDC_RIGHT, 474,
         "The point (300.00 cm, 400.00 cm) lies 500.00 cm from the scanner, farther than allowed."},
        {{"10", "400", "nan"}, IDC_RIGHT, 61713, "Please enter a number."},
    };
    for (const Case& c : cases) {
        CRectShapeDialog dialog;
        const ShapeRun run = EnterExtents(dialog, 0, c.typed);
        const bool accepted = c.focus == 0;
        EXPECT_EQ(run.result, accepted ? IDOK : IDCANCEL) << c.typed.left << "/" << c.typed.front << "/" << c.typed.right;
        EXPECT_EQ(run.focus, c.focus) << c.typed.right;
        EXPECT_EQ(run.messageId, c.messageId) << c.typed.right;
        EXPECT_STREQ(run.message, c.message) << c.typed.right;
        EXPECT_EQ(dialog.m_nLeft, accepted ? 120 : 100);
        EXPECT_EQ(dialog.m_nFront, accepted ? 300 : 200);
        EXPECT_EQ(dialog.m_nRight, accepted ? 250 : 150);
        EXPECT_EQ(dialog.m_nBeamCount, accepted ? 361 : 181);
    }
}

TEST_F(CRectShapeDialogTest, InchesAreShownCheckedAndRoundedBackToCentimetres)
{
    CRectShapeDialog dialog;
    const ShapeRun run = EnterExtents(dialog, 1, {"50", "100", "19.7 in"});
    EXPECT_STREQ(run.shown.at(IDC_LEFT), "39.37 in");
    EXPECT_STREQ(run.shown.at(IDC_FRONT), "78.74 in");
    EXPECT_STREQ(run.shown.at(IDC_RIGHT), "59.06 in");
    EXPECT_STREQ(dialog.m_strUnit, "in");
    ASSERT_EQ(run.result, IDOK) << run.message;
    EXPECT_EQ(dialog.m_nLeft, 127);
    EXPECT_EQ(dialog.m_nFront, 254);
    EXPECT_EQ(dialog.m_nRight, 50);

    // Far corners beyond 450 cm are refused. 118.11 in by 157.48 in is 300 cm by 400 cm,
    // its corner 500 cm; 92.5 in by 150.99 in reach only 449.76 cm, but the cm stored,
    // 235 by 384, reach 450.19 cm.
    for (const Extents& typed : {Extents{"118.11", "157.48", "10"}, Extents{"92.5", "150.99", "10"}}) {
        CRectShapeDialog refused;
        const ShapeRun corner = EnterExtents(refused, 1, typed);
        EXPECT_EQ(corner.result, IDCANCEL) << typed.left;
        EXPECT_EQ(corner.messageId, 474u) << typed.left;
        EXPECT_EQ(corner.focus, IDC_LEFT) << typed.left;
        EXPECT_EQ(refused.m_nLeft, 100) << typed.left;
        EXPECT_EQ(refused.m_nFront, 200) << typed.left;
    }
}

// In inches the checks test the whole cm that will be stored: sides at the width limit of
// 350 cm show rounded up as 137.80 in and pass unchanged.
TEST_F(CRectShapeDialogTest, SidesAtTheWidthLimitPassUnchangedInInches)
{
    CRectShapeDialog atLimit;
    Preset(atLimit, 1);
    atLimit.m_nLeft = 350;
    atLimit.m_nRight = 350;
    atLimit.m_nFront = 100;
    const ShapeRun unchanged = RunShapeDialog(atLimit, {{}, -1}, {IDC_LEFT});
    EXPECT_STREQ(unchanged.shown.at(IDC_LEFT), "137.80 in");
    EXPECT_EQ(unchanged.result, IDOK) << unchanged.message;
    EXPECT_EQ(atLimit.m_nLeft, 350);
    EXPECT_EQ(atLimit.m_nRight, 350);
}

// Hidden, the beam-count combo takes its label with it and still passes the count through.
TEST_F(CRectShapeDialogTest, BeamCountLabelGoesWithItsCombo)
{
    for (const int show : {1, 0}) {
        CRectShapeDialog dialog;
        Preset(dialog, 0);
        dialog.m_bShowBeamCount = show;
        dialog.m_nBeamCount = 181;
        const ShapeRun run = RunShapeDialog(dialog, {}, {});
        EXPECT_EQ(run.result, IDOK);
        EXPECT_EQ(run.beamComboVisible, show != 0);
        EXPECT_EQ(run.beamLabelVisible, show != 0);
        EXPECT_EQ(dialog.m_nBeamCount, 181);
    }
}

} // namespace
