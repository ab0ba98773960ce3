#include "framework/core/CString.h"
#include "framework/ui/CDataExchange.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// An exchange function of a program that reads into a helper variable first: its
// helper is gone when a later failure puts the members back, and must not be written.
[[gnu::noinline]] void ExchangeThroughHelper(CDataExchange& dx, int& member)
{
    int helper = 0;
    EXPECT_FALSE(dx.OutlivesPass(&helper));
    EXPECT_TRUE(dx.OutlivesPass(&member));
    dx.Store(helper, 41);
    dx.Store(member, helper + 1);
}

[[gnu::noinline]] void FailingPass(int& onCallersStack, int& onHeap, CString& text)
{
    CDataExchange dx(nullptr, TRUE);
    ExchangeThroughHelper(dx, onCallersStack);
    dx.Store(onHeap, 7);
    dx.Store(text, CString("changed"));
    EXPECT_EQ(onCallersStack, 42);
    EXPECT_EQ(text, "changed");
    dx.RestoreStoredValues();
}

TEST(CDataExchange, FailedPassPutsBackMembersButNotHelperVariables)
{
    int member = 1;
    auto onHeap = std::make_unique<int>(2);
    CString text = "kept";
    FailingPass(member, *onHeap, text);
    EXPECT_EQ(member, 1);
    EXPECT_EQ(*onHeap, 2);
    EXPECT_EQ(text, "kept");
}

TEST(CDataExchange, LoadingRemembersNothing)
{
    int member = 1;
    {
        CDataExchange dx(nullptr, FALSE);
        dx.Store(member, 5);
        dx.RestoreStoredValues();
    }
    EXPECT_EQ(member, 5);
}

} // namespace
