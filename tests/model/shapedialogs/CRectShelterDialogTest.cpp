#include "model/shapedialogs/CRectShelterDialog.h"

#include "tests/model/shapedialogs/ShelterEditScript.h"

#include <gtest/gtest.h>

namespace {

constexpr int IDC_FRONT = 2023;
constexpr int IDC_LEFT = 2061;
constexpr int IDC_RIGHT = 2063;

class CRectShelterDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(m_language.Loaded()) << m_language.Error();
    }

private:
    LanguageScripts m_language{"framework.rc", "model2.rc", "shapes.rc"};
};

constexpr const char* kCorner300 = "The point (300 cm, 300 cm) lies 424.26 cm from the scanner, farther than allowed.";

struct Entry {
    const char* left;
    const char* front;
    const char* right;
};

// A protective rectangle of the 400 cm type (distances 5 to 400, width 400) with extents
// 100 / 200 / 150, edited by typing the three texts.
EditOutcome EditRect(CRectShelter& rect, BOOL inch, const Entry& entry)
{
    rect.Initialize(CSensorType(4, 0), 100, 200, 150, kProtectiveField);
    return RunEdit(rect, inch, {{IDC_LEFT, entry.left}, {IDC_FRONT, entry.front}, {IDC_RIGHT, entry.right}},
                   {IDC_LEFT, IDC_FRONT, IDC_RIGHT});
}

// The checks run front, left, left far corner, right, right far corner: the first that
// fails is the one reported, with the focus on its edit, and nothing is stored.
TEST_F(CRectShelterDialogTest, ChecksInOrderAndStoresOnlyWhenAllPass)
{
    struct Case {
        Entry entry;
        int focus;          // 0: accepted
        UINT messageId;
        const char* message;
    };
    const Case cases[] = {
        {{"120", "300", "250"}, 0, 0, ""},
        {{"500", "500", "500"}, IDC_FRONT, 61714, "Please enter an integer between 5 cm and 400 cm."},
        {{"500", "300", "500"}, IDC_LEFT, 61714, "Please enter an integer between 5 cm and 400 cm."},
        {{"300", "300", "500"}, IDC_LEFT, 474, kCorner300},
        {{"100", "300", "4"}, IDC_RIGHT, 61714, "Please enter an integer between 5 cm and 400 cm."},
        {{"100", "300", "300"}, IDC_RIGHT, 474, kCorner300},
        {{"100", "300", "x"}, IDC_RIGHT, 61712, "Please enter an integer."},
    };
    for (const Case& c : cases) {
        CRectShelter rect;
        const EditOutcome outcome = EditRect(rect, FALSE, c.entry);
        const bool accepted = c.focus == 0;
        EXPECT_EQ(outcome.confirmed, accepted) << c.entry.left << "/" << c.entry.front << "/" << c.entry.right;
        EXPECT_EQ(outcome.focus, c.focus) << c.entry.right;
        EXPECT_EQ(outcome.messageId, c.messageId) << c.entry.right;
        EXPECT_STREQ(outcome.message, c.message) << c.entry.right;
        if (accepted) {
            EXPECT_EQ(rect.GetLeft(), 120);
            EXPECT_EQ(rect.GetFront(), 300);
            EXPECT_EQ(rect.GetRight(), 250);
        } else {
            EXPECT_EQ(rect.GetLeft(), 100);
            EXPECT_EQ(rect.GetFront(), 200);
            EXPECT_EQ(rect.GetRight(), 150);
        }
    }
}

TEST_F(CRectShelterDialogTest, InchesAreShownAndRoundedBackToCentimetres)
{
    CRectShelter rect;
    const EditOutcome outcome = EditRect(rect, TRUE, {"50", "100", "19.7 in"});
    ASSERT_EQ(outcome.shown.size(), 3u);
    EXPECT_STREQ(outcome.shown[0].second, "39.37 in");
    EXPECT_STREQ(outcome.shown[1].second, "78.74 in");
    EXPECT_STREQ(outcome.shown[2].second, "59.06 in");
    EXPECT_TRUE(outcome.confirmed);
    EXPECT_EQ(rect.GetLeft(), 127);
    EXPECT_EQ(rect.GetFront(), 254);
    EXPECT_EQ(rect.GetRight(), 50); // 50.038 cm

    // The corner check works in inches too: 118.11 in each way is 300 cm, its corner 424 cm.
    CRectShelter refused;
    const EditOutcome corner = EditRect(refused, TRUE, {"118.11", "118.11", "10"});
    EXPECT_FALSE(corner.confirmed);
    EXPECT_EQ(corner.messageId, 474u);
    EXPECT_EQ(corner.focus, IDC_LEFT);
    EXPECT_EQ(refused.GetLeft(), 100);

    // 72 in by 140 in has its corner at 399.87 cm, but the whole cm stored, 183 by 356,
    // put it at 400.28 cm: the check is on what is stored.
    CRectShelter rounded;
    const EditOutcome beyond = EditRect(rounded, TRUE, {"72", "140", "10"});
    EXPECT_FALSE(beyond.confirmed);
    EXPECT_EQ(beyond.messageId, 474u);
    EXPECT_STREQ(beyond.message, "The point (72.05 in, 140.16 in) lies 157.59 in from the scanner, farther than allowed.");
    EXPECT_EQ(beyond.focus, IDC_LEFT);
    EXPECT_EQ(rounded.GetFront(), 200);
}

} // namespace
