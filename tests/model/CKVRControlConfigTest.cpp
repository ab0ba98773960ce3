#include "model/CKVRControlConfig.h"

#include "ArchiveBytes.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(CKVRControlConfigTest, DefaultCaseBytes)
{
    CKVRControlConfig control;
    EXPECT_EQ(StoreBytes(control), (std::vector<BYTE>{0x01, 0, 0, 0, 0, 0, 0, 0, 0,             // states
                                                      0x01, 0, 0, 0, 0,                          // speed
                                                      0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,        // flags, indexes
                                                      0x02, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF})); // scans, following
}

TEST(CKVRControlConfigTest, RoundTripSignExtendsOnlyTheIndexes)
{
    CKVRControlConfig control;
    control.SetScanCount(7);
    for (int k = 1; k <= 4; ++k) control.SetInputState(k, k % 3);
    control.SetSpeed(CSpeed(-100, 200));
    control.SetOutputA(1);
    control.SetSensorIndex(3);
    control.SetShelterIndex(-1);
    control.SetFollowCount(2);
    control.SetFollow1(14);
    control.SetFollow2(-1);
    CKVRControlConfig loaded;
    LoadBytes(loaded, StoreBytes(control));
    EXPECT_EQ(StoreBytes(loaded), StoreBytes(control));
    EXPECT_EQ(loaded.GetSpeed().GetLow(), -100);
    EXPECT_EQ(loaded.GetShelterIndex(), -1);
    EXPECT_EQ(loaded.GetFollow2(), -1);
    EXPECT_EQ(loaded.GetScanCount(), 7);

    // A word 0xFFFF in a state or flag reads as 65535, not -1.
    std::vector<BYTE> bytes = StoreBytes(control);
    bytes[1] = bytes[2] = 0xFF;  // input state 1
    bytes[14] = bytes[15] = 0xFF; // output flag A
    LoadBytes(loaded, bytes);
    EXPECT_EQ(loaded.GetInputState(1), 65535);
    EXPECT_EQ(loaded.GetOutputA(), 65535);

    EXPECT_EQ(LoadFailure(loaded, {2}), CArchiveException::badSchema);
    bytes.resize(20);
    EXPECT_EQ(LoadFailure(loaded, bytes), CArchiveException::endOfFile);
}

TEST(CKVRControlConfigTest, CopiesTakeEveryField)
{
    CKVRControlConfig control;
    control.SetInputState(4, 2);
    control.SetSpeed(CSpeed(5, 9));
    control.SetOutputB(1);
    control.SetFollow1(3);
    const CKVRControlConfig copy(control);
    EXPECT_EQ(StoreBytes(const_cast<CKVRControlConfig&>(copy)), StoreBytes(control));
    CKVRControlConfig assigned;
    assigned = control;
    assigned = assigned;
    EXPECT_EQ(StoreBytes(assigned), StoreBytes(control));
}

TEST(CKVRControlConfigTest, InputPatterns)
{
    EXPECT_EQ(CKVRControlConfig::InputPattern(0, 0, 0, 0), 0xFF);
    EXPECT_EQ(CKVRControlConfig::InputPattern(1, 1, 1, 1), 0xAA);
    EXPECT_EQ(CKVRControlConfig::InputPattern(2, 2, 2, 2), 0x55);
    EXPECT_EQ(CKVRControlConfig::InputPattern(1, 2, 0, 7), 0xF6);
    CKVRControlConfig control;
    control.SetInputState(2, 1);
    EXPECT_EQ(control.GetInputPattern(), 0xFB);
    EXPECT_EQ(control.GetInputState(0), kInputDontCare);
    control.SetInputState(5, 2); // no such input: nothing changes
    EXPECT_EQ(control.GetInputPattern(), 0xFB);
}

class InputStateComboTest : public testing::Test {
protected:
    static constexpr int kComboId = 2070;

    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(m_dialog.CreateEx(0, nullptr, "inputs", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_combo.Create("COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 10, 200, 150),
                                   &m_dialog, kComboId));
    }
    void TearDown() override
    {
        m_combo.DestroyWindow();
        m_dialog.DestroyWindow();
    }
    void Exchange(BOOL saving, int& state)
    {
        CDataExchange dx(&m_dialog, saving);
        DDX_InputState(&dx, kComboId, state);
    }
    std::vector<std::pair<std::string, LPARAM>> Entries()
    {
        std::vector<std::pair<std::string, LPARAM>> entries;
        for (int i = 0; i < int(m_combo.SendMessage(CB_GETCOUNT)); ++i) {
            char text[16] = {};
            m_combo.SendMessage(CB_GETLBTEXT, WPARAM(i), LPARAM(text));
            entries.emplace_back(text, m_combo.SendMessage(CB_GETITEMDATA, WPARAM(i)));
        }
        return entries;
    }
    int Selection() { return int(m_combo.SendMessage(CB_GETCURSEL)); }

    CWnd m_dialog;
    CWnd m_combo;
};

TEST_F(InputStateComboTest, FillsSelectsAndReadsBack)
{
    int state = kInputHigh;
    Exchange(FALSE, state);
    const std::vector<std::pair<std::string, LPARAM>> expected = {{"X", 0}, {"0", 1}, {"1", 2}};
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(Selection(), 2);

    m_combo.SendMessage(CB_SETCURSEL, 1);
    Exchange(TRUE, state);
    EXPECT_EQ(state, kInputLow);

    // A state outside the three selects nothing; saving then keeps the state.
    state = 9;
    Exchange(FALSE, state);
    EXPECT_EQ(Selection(), -1);
    Exchange(TRUE, state);
    EXPECT_EQ(state, 9);

    // A combo that does not hold three entries is refilled.
    m_combo.SendMessage(CB_ADDSTRING, 0, LPARAM("stale"));
    state = kInputDontCare;
    Exchange(FALSE, state);
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(Selection(), 0);
}

} // namespace
