// The device documents' mode machine and cycle: toggling, replacing and refused modes,
// a failed tick ending its mode, the default edit mode, and due ticks across the tick
// counter's wrap-around.
#include "app/CCommonDoc.h"

#include "app/CTalisoSetup.h"
#include "framework/core/TickCount.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ModeDoc : public CCommonDoc {
public:
    ModeDoc() { m_bAutoDelete = FALSE; }
    int RunMode2(int action) override { return Record(2, action); }
    int RunMode3(int action) override { return Record(3, action); }
    int RunMode4(int action) override { return Record(4, action); }
    void OnModeChanged(int oldMode, int newMode) override
    {
        log.push_back("changed " + std::to_string(oldMode) + "->" + std::to_string(newMode));
        CCommonDoc::OnModeChanged(oldMode, newMode);
    }
    using CCommonDoc::OnCycleTick;

    std::vector<std::string> log;
    int startResult = 1;
    int tickResult = 1;

private:
    int Record(int mode, int action)
    {
        static const char* const names[] = {"start", "stop", "abort", "tick"};
        log.push_back(std::string(names[action]) + " " + std::to_string(mode));
        if (action == kModeActionStart)
            return startResult;
        return action == kModeActionTick ? tickResult : 1;
    }
};

using Log = std::vector<std::string>;

TEST(CCommonDocTest, ModeCommandsToggleReplaceAndRefuse)
{
    ModeDoc doc;
    doc.SetMode(2);
    EXPECT_EQ(doc.GetMode(), 2);
    doc.SetMode(3);
    EXPECT_EQ(doc.GetMode(), 3);
    doc.SetMode(3);
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_EQ(doc.log, (Log{"start 2", "changed 0->2", "abort 2", "start 3", "changed 2->3", "stop 3", "changed 3->0"}));

    // A refused start after an abort still reports the change to mode 0.
    doc.log.clear();
    doc.SetMode(2);
    doc.startResult = 2; // only exactly 1 enters a mode
    doc.SetMode(4);
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_EQ(doc.log, (Log{"start 2", "changed 0->2", "abort 2", "start 4", "changed 2->0"}));

    doc.log.clear();
    doc.SetMode(4);
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_EQ(doc.log, (Log{"start 4"})) << "nothing changed, nothing reported";
}

TEST(CCommonDocTest, FailedTickStopsTheCycleAndAbortsTheMode)
{
    ModeDoc doc;
    doc.SetMode(2);
    doc.SetCycle(1000);
    doc.log.clear();
    doc.OnCycleTick(0);
    EXPECT_EQ(doc.GetMode(), 2);
    EXPECT_TRUE(doc.IsCycleArmed());

    doc.tickResult = 0;
    doc.OnCycleTick(0);
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_FALSE(doc.IsCycleArmed());
    EXPECT_EQ(doc.log, (Log{"tick 2", "tick 2", "abort 2"}));
}

TEST(CCommonDocTest, EditModeTicksFirstAtOnceThenAtTheScanInterval)
{
    ModeDoc doc;
    doc.SetMode(kModeEdit);
    EXPECT_TRUE(doc.IsEditMode());
    EXPECT_EQ(doc.GetCyclePeriod(), 1u);
    Sleep(2);
    doc.OnCycle();
    EXPECT_EQ(doc.GetCyclePeriod(), DWORD(GetTalisoSetup().m_nEditScanInterval) * 1000);
    doc.SetMode(kModeEdit);
    EXPECT_FALSE(doc.IsEditMode());
    EXPECT_FALSE(doc.IsCycleArmed());
}

TEST(CCommonDocTest, TickIsDueByTheSignedDistanceAcrossTheWrap)
{
    struct Case {
        DWORD now;
        DWORD deadline;
        BOOL due;
    };
    const Case cases[] = {
        {1000, 1000, TRUE},
        {999, 1000, FALSE},
        {0xFFFFFFF0u, 0x00000010u, FALSE}, // armed just before the wrap, due after it
        {0x00000011u, 0x00000010u, TRUE},
        {0x00000005u, 0xFFFFFFF0u, TRUE},  // the counter wrapped past the deadline
        {0x00000000u, 0x00000000u, TRUE},  // a deadline of 0 is an ordinary tick count
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCommonDoc::IsCycleDue(c.now, c.deadline), c.due) << std::hex << c.now << " " << c.deadline;
}

} // namespace
