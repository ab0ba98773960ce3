#include "dialogs/shapedialogs/CArcShapeDialog.h"

#include "tests/dialogs/shapedialogs/ShapeDialogScript.h"

#include <gtest/gtest.h>

namespace {

constexpr int IDC_RADIUS = 2015;

class CArcShapeDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(m_language.Loaded()) << m_language.Error();
    }

    // Radius 100 within 5 to 400, beam count 181 unless the case says otherwise.
    static void Preset(CArcShapeDialog& dialog, int inch)
    {
        dialog.m_bInch = inch;
        dialog.m_nRadius = 100;
        dialog.m_nMinDistance = 5;
        dialog.m_nMaxDistance = 400;
    }

private:
    LanguageScripts m_language{"framework.rc", "model2.rc", "shapes.rc"};
};

TEST_F(CArcShapeDialogTest, RadiusAndBeamCountInCentimetresAndInches)
{
    struct Case {
        int inch;
        const char* text;
        int beamItem;
        int radius;        // 100 when refused
        int beamCount;     // 181 when refused
        UINT messageId;
        const char* message;
    };
    const Case cases[] = {
        {0, "250.4", 2, 250, 361, 0, ""},
        {0, "5 cm", 0, 5, 91, 0, ""},
        {0, "400.5", -1, 100, 181, 61715, "Please enter a number between 5.00 cm and 400.00 cm."},
        {0, "2 in", 0, 100, 181, 0, "Please enter a number, optionally followed by the unit cm."},
        {1, "100", -1, 254, 181, 0, ""},
        {1, "1.96", -1, 5, 181, 0, ""}, // 4.98 cm is stored as the minimum
        {1, "1.77", -1, 100, 181, 61715, "Please enter a number between 1.97 in and 157.48 in."},
    };
    for (const Case& c : cases) {
        CArcShapeDialog dialog;
        Preset(dialog, c.inch);
        const ShapeRun run = RunShapeDialog(dialog, {{{IDC_RADIUS, c.text}}, c.beamItem}, {IDC_RADIUS});
        const bool accepted = *c.message == '\0';
        EXPECT_EQ(run.result, accepted ? IDOK : IDCANCEL) << c.text;
        EXPECT_STREQ(run.shown.at(IDC_RADIUS), c.inch ? "39.37 in" : "100.00 cm");
        EXPECT_STREQ(dialog.m_strUnit, c.inch ? "in" : "cm");
        EXPECT_EQ(run.shownBeamItem, 1);
        EXPECT_EQ(dialog.m_nRadius, c.radius) << c.text;
        EXPECT_EQ(dialog.m_nBeamCount, c.beamCount) << c.text;
        EXPECT_EQ(run.messageId, c.messageId) << c.text;
        EXPECT_STREQ(run.message, c.message) << c.text;
        if (!accepted) {
            EXPECT_EQ(run.focus, IDC_RADIUS) << c.text;
        }
    }
}

TEST_F(CArcShapeDialogTest, BeamCountComboShownHiddenAndOutsideTheTable)
{
    struct Case {
        int show;
        int beamCount;
        int shownItem;
    };
    // Hidden, the combo is still exchanged: the count passes through. A count outside the
    // table selects nothing and comes back as it went in.
    for (const Case& c : {Case{1, 361, 2}, Case{0, 91, 0}, Case{1, 100, -1}}) {
        CArcShapeDialog dialog;
        Preset(dialog, 0);
        dialog.m_bShowBeamCount = c.show;
        dialog.m_nBeamCount = c.beamCount;
        const ShapeRun run = RunShapeDialog(dialog, {}, {});
        EXPECT_EQ(run.result, IDOK);
        EXPECT_EQ(run.beamComboVisible, c.show != 0);
        EXPECT_EQ(run.beamLabelVisible, c.show != 0) << "the label goes with its combo";
        EXPECT_EQ(run.shownBeamItem, c.shownItem) << c.beamCount;
        EXPECT_EQ(dialog.m_nBeamCount, c.beamCount);
        EXPECT_EQ(dialog.m_nRadius, 100);
    }
}

} // namespace
