#include "model/CModeDelay.h"

#include "ArchiveBytes.h"
#include "framework/core/CException.h"

#include <gtest/gtest.h>

namespace {

// A value holder so that the archive helpers can run the pair's Serialize.
class ModeDelayHolder : public CObject {
public:
    void Serialize(CArchive& ar) override { value.Serialize(ar); }
    CModeDelay value;
};

TEST(CModeDelayTest, OnlyModeOneKeepsItsDelay)
{
    struct Case {
        BYTE mode, delay, wantDelay;
    };
    const Case cases[] = {{0, 30, 2}, {1, 30, 30}, {2, 30, 2}, {3, 45, 2}, {1, 0, 0}, {1, 61, 61}};
    for (const Case& c : cases) {
        const CModeDelay value(c.mode, c.delay);
        EXPECT_EQ(value.GetMode(), c.mode);
        EXPECT_EQ(value.GetDelay(), c.wantDelay) << int(c.mode) << "/" << int(c.delay);
    }
    EXPECT_EQ(CModeDelay(), CModeDelay(2, 2));

    CModeDelay value(1, 30);
    value.SetMode(0);
    EXPECT_EQ(value, CModeDelay(0, 2));
    value.SetDelay(40);
    EXPECT_EQ(value.GetDelay(), 2);
    value.SetMode(1);
    value.SetDelay(40);
    EXPECT_EQ(value, CModeDelay(1, 40));
}

TEST(CModeDelayTest, ArchiveBytesAndLoadingAppliesTheRule)
{
    ModeDelayHolder holder;
    holder.value.Set(1, 30);
    EXPECT_EQ(StoreBytes(holder), (std::vector<BYTE>{1, 30}));

    LoadBytes(holder, {2, 45});
    EXPECT_EQ(holder.value, CModeDelay(2, 2));
    LoadBytes(holder, {1, 45});
    EXPECT_EQ(holder.value, CModeDelay(1, 45));
    EXPECT_EQ(LoadFailure(holder, {1}), CArchiveException::endOfFile);
}

} // namespace
