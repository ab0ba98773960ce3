#include "model/CSpeed.h"

#include "framework/core/CException.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CSpeedTest, CompareTellsWhereThisRangeLies)
{
    struct {
        CSpeed self, other;
        int expected;
    } const cases[] = {
        {{0, 100}, {100, 200}, 3},  // a shared bound overlaps
        {{0, 100}, {101, 200}, 2},  // wholly below
        {{101, 200}, {0, 100}, 1},  // wholly above
        {{50, 50}, {50, 50}, 0},
        {{-100, -10}, {10, 100}, 2},
        {{10, 100}, {-100, -10}, 1},
        {{0, 200}, {50, 60}, 3},    // containing
        {{50, 60}, {0, 200}, 3},    // contained
        {{0, 100}, {0, 99}, 3},     // one bound equal is not "equal"
        {{0, 0}, {0, 0}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.self.Compare(c.other), c.expected)
            << "[" << c.self.GetLow() << "," << c.self.GetHigh() << "] vs [" << c.other.GetLow() << ","
            << c.other.GetHigh() << "]";
}

TEST(CSpeedTest, ClassifyCountsBothBoundsAsInside)
{
    const CSpeed range(10, 20);
    struct {
        int value, expected;
    } const cases[] = {{20, 3}, {21, 2}, {9, 1}, {10, 3}, {15, 3}, {-10, 1}, {1000, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(range.Classify(c.value), c.expected) << c.value;
}

TEST(CSpeedTest, IsSetWhenTheBoundsDiffer)
{
    EXPECT_FALSE(CSpeed().IsSet());
    EXPECT_FALSE(CSpeed(40, 40).IsSet());
    EXPECT_TRUE(CSpeed(-40, 40).IsSet());
    CSpeed copy;
    copy.CopyFrom(CSpeed(-5, 7));
    EXPECT_EQ(copy.GetLow(), -5);
    EXPECT_EQ(copy.GetHigh(), 7);
}

// Message 472 with its four insertions marked, so their order shows.
class TwoRangesTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        m_module = CreateResourceModule("ranges.rc", "STRINGTABLE\nBEGIN\n 472 \"<%1..%2> or <%3..%4>\"\nEND\n",
                                        nullptr, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(m_previous);
        if (m_module)
            FreeLibrary(m_module);
    }

    // True when the exchange passed; a failure must have been reported first.
    bool Check(BOOL saving, int value)
    {
        CDataExchange dx(nullptr, saving);
        try {
            DDV_MinMaxTwoRanges(&dx, value, -2000, -10, 10, 2000, "cm/s");
        } catch (const CUserException&) {
            return false;
        }
        return true;
    }

    ScriptedUi ui;
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

TEST_F(TwoRangesTest, PassesInsideEitherRangeBoundsIncluded)
{
    for (int value : {-2000, -1000, -10, 10, 500, 2000}) {
        EXPECT_TRUE(Check(TRUE, value)) << value;
    }
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(TwoRangesTest, OutsideBothRangesShowsMessage472AndFails)
{
    for (int value : {-9, 0, 9, 2001, -2001}) {
        ui.ClearMessageBoxes();
        EXPECT_FALSE(Check(TRUE, value)) << value;
        ASSERT_EQ(ui.MessageBoxes().size(), 1u) << value;
        const MessageBoxRecord& box = ui.MessageBoxes().front();
        EXPECT_STREQ(box.text, "<-2000cm/s..-10cm/s> or <10cm/s..2000cm/s>");
        EXPECT_EQ(box.flags & MB_ICONMASK, MB_ICONEXCLAMATION);
        EXPECT_EQ(box.flags & MB_TYPEMASK, UINT(MB_OK));
        EXPECT_EQ(box.helpId, 472u);
    }
}

TEST_F(TwoRangesTest, LoadingChecksNothing)
{
    EXPECT_TRUE(Check(FALSE, 0));
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

} // namespace
