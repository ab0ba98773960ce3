#include "model/shapedialogs/CArcShelterDialog.h"

#include "tests/model/shapedialogs/ShelterEditScript.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

constexpr int IDC_RADIUS = 2015;

class CArcShelterDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(m_language.Loaded()) << m_language.Error();
    }

private:
    LanguageScripts m_language{"framework.rc", "model2.rc", "shapes.rc"};
};

// A protective arc of the 400 cm type (distances 5 to 400) with radius 100, edited by
// typing the text: whether OK took it, the radius afterwards and what the user was told.
TEST_F(CArcShelterDialogTest, RadiusInCentimetresAndInches)
{
    struct Case {
        BOOL inch;
        const char* text;
        WORD radius;        // 100 when refused
        UINT messageId;
        const char* message;
    };
    const Case cases[] = {
        {FALSE, "250", 250, 0, ""},
        {FALSE, "5 cm", 5, 0, ""},
        {FALSE, "401", 100, 61714, "Please enter an integer between 5 cm and 400 cm."},
        {FALSE, "4", 100, 61714, "Please enter an integer between 5 cm and 400 cm."},
        {FALSE, "12.5", 100, 0, "Please enter a number, optionally followed by the unit cm."},
        {FALSE, "wide", 100, 61712, "Please enter an integer."},
        {TRUE, "100", 254, 0, ""},
        {TRUE, "39.4 in", 100, 0, ""},           // 100.076 cm rounds to 100
        {TRUE, "1.97", 5, 0, ""},
        {TRUE, "157.5", 400, 0, ""},             // 400.05 cm rounds to the limit
        {TRUE, "157.7", 100, 61715, "Please enter a number between 1.97 in and 157.48 in."},
        {TRUE, "100 cm", 100, 0, "Please enter a number, optionally followed by the unit in."},
    };
    for (const Case& c : cases) {
        CArcShelter arc;
        arc.Initialize(CSensorType(4, 0), 100, kProtectiveField);
        const EditOutcome outcome = RunEdit(arc, c.inch, {{IDC_RADIUS, c.text}}, {IDC_RADIUS});
        const bool accepted = *c.message == '\0';
        EXPECT_EQ(outcome.confirmed, accepted) << c.text;
        EXPECT_EQ(arc.GetRadius(), c.radius) << c.text;
        EXPECT_EQ(outcome.messageId, c.messageId) << c.text;
        EXPECT_STREQ(outcome.message, c.message) << c.text;
        ASSERT_EQ(outcome.shown.size(), 1u);
        EXPECT_STREQ(outcome.shown[0].second, c.inch ? "39.37 in" : "100 cm");
        if (!accepted) {
            EXPECT_EQ(outcome.focus, IDC_RADIUS) << c.text;
        }
    }
}

// In inches the check is on the whole cm that will be stored: the limit shown with two
// decimals is accepted, and what rounds beyond it is refused.
TEST_F(CArcShelterDialogTest, InchesAreCheckedInTheCentimetresThatAreStored)
{
    struct Case {
        const char* text;
        WORD radius; // 600 when refused
    };
    const Case cases[] = {{nullptr, 650}, {"255.91", 650}, {"256.1", 650}, {"256.11", 600}, {"1.97", 5}, {"1.77", 600}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "unchanged");
        // The protective limits of type 7 in variant 1: 5 to 650 cm.
        CArcShelter arc;
        arc.Initialize(CSensorType(7, 1), c.text ? 600 : 650, kProtectiveField);
        std::vector<std::pair<int, const char*>> entries;
        if (c.text) entries.emplace_back(IDC_RADIUS, c.text);
        const EditOutcome outcome = RunEdit(arc, TRUE, entries, {IDC_RADIUS});
        EXPECT_EQ(arc.GetRadius(), c.radius);
        EXPECT_EQ(outcome.confirmed, c.radius != 600);
        if (!outcome.confirmed) {
            EXPECT_STREQ(outcome.message, "Please enter a number between 1.97 in and 255.91 in.");
        }
    }
}

TEST_F(CArcShelterDialogTest, LimitsFollowTheFieldKind)
{
    // A warning field of the same type may reach 5000 cm.
    CArcShelter arc;
    arc.Initialize(CSensorType(4, 0), 100, kWarningField);
    EXPECT_TRUE(RunEdit(arc, FALSE, {{IDC_RADIUS, "4500"}}, {}).confirmed);
    EXPECT_EQ(arc.GetRadius(), 4500);
    EXPECT_EQ(arc.GetFieldKind(), kWarningField);
}

} // namespace
