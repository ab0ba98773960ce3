#include "shared/SensorTelegram.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(SensorTelegramTest, RequestStartsWithMarkerFamilyAndCommand)
{
    const SensorRequest request(kFamilyKVR, 0x31, 3);
    EXPECT_EQ(request.Byte(0), 0xF0); // 752, low byte first
    EXPECT_EQ(request.Byte(1), 0x02);
    EXPECT_EQ(request.Family(), kFamilyKVR);
    EXPECT_EQ(request.Byte(RequestOffset::Address), 3);
    EXPECT_EQ(request.Command(), 0x31);
    for (std::size_t i = RequestOffset::Data; i < kRequestRecordSize; ++i)
        ASSERT_EQ(request.Byte(i), 0) << i;
}

TEST(SensorTelegramTest, WordsAreLittleEndianAndBounded)
{
    SensorAnswer answer;
    answer.SetWord(AnswerOffset::CheckValue, 0xA123);
    EXPECT_EQ(answer.Byte(751), 0x23);
    EXPECT_EQ(answer.Byte(752), 0xA1);
    EXPECT_EQ(answer.Word(751), 0xA123);
    EXPECT_THROW(answer.SetWord(kAnswerRecordSize - 1, 1), std::out_of_range);
    EXPECT_THROW((void)answer.Word(kAnswerRecordSize - 1), std::out_of_range);
    EXPECT_THROW(answer.SetByte(kAnswerRecordSize, 1), std::out_of_range);
}

} // namespace
