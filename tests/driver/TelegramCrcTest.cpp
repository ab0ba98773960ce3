#include "driver/internal/TelegramCrc.h"

#include "HexBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(TelegramCrcTest, RegisterAfterEachByteOfAbc)
{
    TelegramCrc crc;
    crc.Add('a');
    EXPECT_EQ(crc.Value(), 0x0061);
    crc.Add('b');
    EXPECT_EQ(crc.Value(), 0x61A0);
    crc.Add('c');
    EXPECT_EQ(crc.Value(), 0xA123);
    crc.Reset();
    EXPECT_EQ(crc.Value(), 0);
    crc.Add('a'); // the previous byte is forgotten too
    EXPECT_EQ(crc.Value(), 0x0061);
}

// Frames whose checksums were computed by hand from the rule, low byte first.
TEST(TelegramCrcTest, ClosesKnownFrames)
{
    for (const char* text : {
             "02 00 01 00 10 34 12",                            // connection test
             "02 80 02 00 91 00 69 30",                         // its answer, ZOK status
             "02 80 02 00 91 08 61 30",                         // its answer, KVR status
             "02 00 0A 00 20 31 4D 49 52 54 4F 56 41 4C C5 68", // login with a text
             "02 00 0C 00 40 01 00 0C 01 00 62 00 90 01 90 01 EA B4", // arc field write
         }) {
        const std::vector<BYTE> frame = HexBytes(text);
        const std::span<const BYTE> body(frame.data(), frame.size() - 2);
        const WORD expected = MAKEWORD(frame[frame.size() - 2], frame.back());
        EXPECT_EQ(ComputeTelegramCrc(body), expected) << text;
    }
}

} // namespace
