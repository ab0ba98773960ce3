#include "model/CSensorObject.h"

#include "ArchiveBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The least concrete sensor object: it notes which drawing operation ran.
class NotingObject : public CSensorObject {
public:
    NotingObject() = default;
    NotingObject(const NotingObject& other) : CSensorObject(other) {}

    std::unique_ptr<CSensorObject> Clone() const override { return std::make_unique<NotingObject>(*this); }
    void DrawOutline(CDC*) const override { drawn.push_back("outline"); }
    void DrawFilled(CDC*) const override { drawn.push_back("filled"); }
    void DrawHandles(CDC*) const override { drawn.push_back("handles"); }
    void DrawBeams(CDC*) const override { drawn.push_back("beams"); }

    void SetType(const CSensorType& type) { m_sensorType = type; }

    mutable std::vector<std::string> drawn;
};

constexpr std::time_t kSomeTime = 1000000; // stored as 1032400 = 0x000FC0D0

TEST(CSensorObjectTest, NewObjectHasTheDefaultTypeTheCurrentTimeAndNoMark)
{
    const CTime before = CTime::GetCurrentTime();
    NotingObject object;
    EXPECT_EQ(object.GetSensorType(), CSensorType(4, 0));
    EXPECT_GE(object.GetTime(), before);
    EXPECT_LE(object.GetTime(), CTime::GetCurrentTime());
    EXPECT_EQ(object.GetModified(), 0);
    EXPECT_EQ(object.GetUnit(), 0);
    EXPECT_STREQ(object.GetUnitText(), "cm");
}

TEST(CSensorObjectTest, CopiesTakeTypeAndTimeAndAreMarkedModified)
{
    NotingObject source;
    source.SetType(CSensorType(50, 1));
    source.SetTime(CTime(kSomeTime));
    const std::unique_ptr<CSensorObject> copy = source.Clone();
    EXPECT_EQ(copy->GetSensorType(), CSensorType(50, 1));
    EXPECT_EQ(copy->GetTime(), CTime(kSomeTime));
    EXPECT_EQ(copy->GetModified(), 1);
    EXPECT_EQ(source.GetModified(), 0);
}

TEST(CSensorObjectTest, ArchiveLevelBytes)
{
    NotingObject object;
    object.SetType(CSensorType(50, 1));
    object.SetTime(CTime(kSomeTime));
    object.SetModified(0x10001); // only the low 16 bits are kept
    const std::vector<BYTE> expected = {0x02, 0x97, 0x02, 0x00, 0x01, 0x00, 0xD0, 0xC0, 0x0F, 0x00, 0x01, 0x00};
    EXPECT_EQ(StoreBytes(object), expected);

    NotingObject loaded;
    loaded.SetModified(0x10000);
    LoadBytes(loaded, expected);
    EXPECT_EQ(loaded.GetSensorType(), CSensorType(50, 1));
    EXPECT_EQ(loaded.GetTime(), CTime(kSomeTime));
    EXPECT_EQ(loaded.GetModified(), 1);
}

TEST(CSensorObjectTest, OlderAndUnknownVersions)
{
    // Version 1 has no mark: it reads as 0.
    NotingObject loaded;
    loaded.SetModified(1);
    LoadBytes(loaded, {0x01, 0x97, 0x01, 0x00, 0x00, 0x00, 0xD0, 0xC0, 0x0F, 0x00});
    EXPECT_EQ(loaded.GetModified(), 0);
    EXPECT_EQ(loaded.GetSensorType(), CSensorType(7, 0));
    EXPECT_EQ(loaded.GetTime(), CTime(kSomeTime));

    // A stored time past 2038 stays in the future instead of turning negative.
    LoadBytes(loaded, {0x02, 0x97, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x00, 0x00});
    EXPECT_EQ(loaded.GetTime().GetTime(), std::time_t(0xF0000000) - 32400);

    EXPECT_EQ(LoadFailure(loaded, {0x03, 0x97, 0x00, 0x00, 0x00, 0x00}), CArchiveException::badSchema);
    EXPECT_EQ(LoadFailure(loaded, {0x02, 0x97, 0x00, 0x00, 0x00, 0x00, 0xD0, 0xC0}), CArchiveException::endOfFile);
}

TEST(CSensorObjectTest, DrawingHappensOnlyOnTheTypesLayer)
{
    NotingObject object;
    object.DrawOutlineOnLayer(nullptr, 1);
    object.DrawFilledOnLayer(nullptr, -1);
    object.DrawHandlesOnLayer(nullptr, 2);
    object.DrawBeamsOnLayer(nullptr, 1);
    EXPECT_TRUE(object.drawn.empty());
    object.DrawOutlineOnLayer(nullptr, 0);
    object.DrawFilledOnLayer(nullptr, 0);
    object.DrawHandlesOnLayer(nullptr, 0);
    object.DrawBeamsOnLayer(nullptr, 0);
    EXPECT_EQ(object.drawn, (std::vector<std::string>{"outline", "filled", "handles", "beams"}));
}

} // namespace
