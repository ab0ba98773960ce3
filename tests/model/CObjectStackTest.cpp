#include "model/CObjectStack.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// A snapshot that knows its number and reports its deletion.
class Snapshot : public CObject {
public:
    Snapshot(int id, std::set<int>& alive) : m_id(id), m_alive(alive) { m_alive.insert(id); }
    ~Snapshot() override { m_alive.erase(m_id); }
    int m_id;

private:
    std::set<int>& m_alive;
};

class CObjectStackTest : public testing::Test {
protected:
    std::unique_ptr<CObject> Make(int id) { return std::make_unique<Snapshot>(id, alive); }
    static int Id(CObject* object) { return object ? static_cast<Snapshot*>(object)->m_id : 0; }

    // One change from state 'before' to state 'after', as the owners record it.
    void Change(CObjectStack& stack, int before, int after)
    {
        stack.Push(Make(before));
        stack.SetCurrent(Make(after));
    }

    std::set<int> alive;
};

TEST_F(CObjectStackTest, UndoAndRedoWalkTheRecordedStates)
{
    CObjectStack stack(10);
    EXPECT_FALSE(stack.CanUndo());
    EXPECT_EQ(stack.Undo(), nullptr);
    EXPECT_EQ(stack.Redo(), nullptr);

    Change(stack, 1, 2);
    EXPECT_TRUE(stack.CanUndo());
    EXPECT_FALSE(stack.CanRedo());
    EXPECT_EQ(Id(stack.Undo()), 1);
    EXPECT_TRUE(stack.CanRedo());
    EXPECT_EQ(Id(stack.Redo()), 2);
    EXPECT_EQ(stack.Redo(), nullptr);
    EXPECT_EQ(Id(stack.Undo()), 1);
}

TEST_F(CObjectStackTest, ScenariosOverTheDepthLimit)
{
    // Each step: 'p' = a change (push and set current), 'u' = undo, 'r' = redo; expected
    // holds the snapshot number each undo or redo returns (0 = none).
    struct {
        const char* name;
        int depth;
        std::string steps;
        std::vector<int> expected;
    } const scenarios[] = {
        {"eleven changes keep ten", 10, "ppppppppppp" "uuuuuuuuuuu", {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 0}},
        {"ten changes keep all", 10, "pppppppppp" "uuuuuuuuuuu", {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
        {"redo all after undo all", 3, "ppp" "uuuu" "rrrr", {3, 2, 1, 0, 2, 3, 30, 0}},
        {"a change after undo clears redo", 10, "ppp" "uu" "p" "r" "uu", {3, 2, 0, 4, 1}},
        {"depth one", 1, "ppp" "uu", {3, 0}},
    };
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.name);
        alive.clear();
        std::vector<int> got;
        {
            CObjectStack stack(s.depth);
            int changes = 0;
            for (char step : s.steps) {
                if (step == 'p') {
                    ++changes;
                    Change(stack, changes, changes * 10);
                } else {
                    got.push_back(Id(step == 'u' ? stack.Undo() : stack.Redo()));
                }
            }
            EXPECT_LE(alive.size(), std::size_t(2 * s.depth + 1));
        }
        EXPECT_EQ(got, s.expected);
        EXPECT_TRUE(alive.empty()) << "the store leaks snapshots";
    }
}

TEST_F(CObjectStackTest, UndoWithoutACurrentSnapshotLeavesAnEmptyRedoEntry)
{
    CObjectStack stack(10);
    stack.Push(Make(1));
    EXPECT_EQ(Id(stack.Undo()), 1);
    EXPECT_TRUE(stack.CanRedo());
    EXPECT_EQ(stack.Redo(), nullptr);
    EXPECT_FALSE(stack.CanRedo());
    EXPECT_EQ(Id(stack.Undo()), 1);
}

TEST_F(CObjectStackTest, SnapshotsAreDeletedWhenDroppedOrCleared)
{
    CObjectStack stack(2);
    Change(stack, 1, 10);
    EXPECT_EQ(alive, (std::set<int>{1, 10}));
    Change(stack, 2, 20); // the push deletes current 10
    EXPECT_EQ(alive, (std::set<int>{1, 2, 20}));
    Change(stack, 3, 30); // depth 2: the oldest, 1, goes
    EXPECT_EQ(alive, (std::set<int>{2, 3, 30}));
    stack.SetCurrent(Make(31)); // replaces the current snapshot
    EXPECT_EQ(alive, (std::set<int>{2, 3, 31}));
    stack.Undo();
    Change(stack, 4, 40); // redo entry 31 and current 3 go
    EXPECT_EQ(alive, (std::set<int>{2, 4, 40}));
    stack.Clear();
    EXPECT_TRUE(alive.empty());
    EXPECT_FALSE(stack.CanUndo());
    EXPECT_FALSE(stack.CanRedo());
    EXPECT_EQ(stack.Undo(), nullptr);
}

TEST_F(CObjectStackTest, IsKnownByItsRunTimeClass)
{
    CObjectStack stack(10);
    EXPECT_STREQ(stack.GetRuntimeClass()->m_lpszClassName, "CObjectStack");
    EXPECT_TRUE(stack.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(stack.IsSerializable());
}

} // namespace
