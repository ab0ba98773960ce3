#include "device/CSensorErrorList.h"

#include <gtest/gtest.h>

namespace {

SensorAnswer ErrorListAnswer(BYTE status, BYTE count)
{
    SensorAnswer answer;
    answer.SetByte(AnswerOffset::Status, status);
    answer.SetByte(AnswerOffset::Command, 0xB2);
    answer.SetByte(9, count);
    for (std::size_t i = 0; i < 50; ++i) {
        answer.SetByte(10 + 2 * i, BYTE(100 + i));
        answer.SetByte(11 + 2 * i, BYTE(200 + i));
    }
    return answer;
}

TEST(CSensorErrorListTest, EmptyUntilParsed)
{
    const CSensorErrorList list;
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetFamily(), 255);
    EXPECT_EQ(list.GetClass(0), 0);
    EXPECT_EQ(list.GetCode(0), 0);
    EXPECT_TRUE(list.GetCodeText(0).IsEmpty());
}

TEST(CSensorErrorListTest, ParseTakesFamilyCountAndPairs)
{
    CSensorErrorList list;
    ASSERT_TRUE(list.Parse(ErrorListAnswer(0x08, 3).Bytes()));
    EXPECT_EQ(list.GetFamily(), 1);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetClass(0), 100);
    EXPECT_EQ(list.GetCode(0), 200);
    EXPECT_EQ(list.GetClass(2), 102);
    EXPECT_EQ(list.GetCode(2), 202);
    // Entries behind the count are not the list's.
    EXPECT_EQ(list.GetCode(3), 0);
    EXPECT_EQ(list.GetCode(-1), 0);

    ASSERT_TRUE(list.Parse(ErrorListAnswer(0x00, 48).Bytes()));
    EXPECT_EQ(list.GetFamily(), 0);
    EXPECT_EQ(list.GetCount(), 48);
    EXPECT_EQ(list.GetCode(47), 247);
}

TEST(CSensorErrorListTest, CountAboveFortyEightIsRefusedAndKeepsTheList)
{
    CSensorErrorList list;
    ASSERT_TRUE(list.Parse(ErrorListAnswer(0x08, 2).Bytes()));
    for (BYTE count : {49, 255}) {
        EXPECT_FALSE(list.Parse(ErrorListAnswer(0x00, count).Bytes()));
        EXPECT_EQ(list.GetCount(), 2);
        EXPECT_EQ(list.GetFamily(), 1);
        EXPECT_EQ(list.GetCode(1), 201);
    }
}

} // namespace
