// The emulator's own receiver and checksum, checked against frames written out by hand
// from the frame layout and the checksum rule.
#include "tools/RequestFrameReceiver.h"
#include "tools/WireChecksum.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes Hex(const std::string& text)
{
    Bytes bytes;
    std::istringstream in(text);
    std::string token;
    while (in >> token)
        bytes.push_back(BYTE(std::stoul(token, nullptr, 16)));
    return bytes;
}

const char* const GOLDEN_FRAMES[] = {
    "02 00 01 00 10 34 12",                                  // connection test
    "02 00 01 00 31 15 12",                                  // identification
    "02 00 01 00 32 16 12",                                  // error list
    "02 00 01 00 38 1C 12",                                  // configuration block
    "02 00 0A 00 20 31 4D 49 52 54 4F 56 41 4C C5 68",       // login with a code
    "02 00 02 00 20 21 31 08",                               // log out
    "02 00 02 00 30 01 31 18",                               // scan request of a scanner
    "02 00 03 00 30 01 01 73 39",                            // scan request of a unit
    "02 00 02 00 45 00 DA 6D",                               // field read
    "02 00 03 00 45 01 01 A7 D2",                            // field read of a unit
    "02 00 03 00 74 0F 00 7E BE",                            // case mask
    "02 00 02 00 61 01 93 49",                               // one value
    "02 00 02 00 39 01 23 11",                               // case read
    "02 00 03 00 44 01 05 A7 D0",                            // mode and delay
    "02 00 0C 00 40 01 00 0C 01 00 62 00 90 01 90 01 EA B4", // arc field write
    "02 80 02 00 91 00 69 30",                               // answers
    "02 80 02 00 91 08 61 30",
    "02 80 04 00 E0 02 01 00 E3 E3",
};

std::vector<Bytes> Feed(RequestFrameReceiver& receiver, const Bytes& stream, std::size_t* badFrames = nullptr)
{
    std::vector<Bytes> frames;
    for (BYTE b : stream) {
        switch (receiver.Take(b)) {
        case RequestFrameReceiver::Result::Frame:
            frames.push_back(receiver.LastFrame());
            break;
        case RequestFrameReceiver::Result::BadChecksum:
            if (badFrames)
                ++*badFrames;
            break;
        case RequestFrameReceiver::Result::Pending:
            break;
        }
    }
    return frames;
}

TEST(WireChecksum, StepsOfTheRule)
{
    EXPECT_EQ(WireChecksum(Hex("61")), 0x0061);
    EXPECT_EQ(WireChecksum(Hex("61 62")), 0x61A0);
    EXPECT_EQ(WireChecksum(Hex("61 62 63")), 0xA123);
    EXPECT_EQ(WireChecksum({}), 0x0000);
}

TEST(RequestFrameReceiver, GoldenFramesComeOutWholeBetweenNoise)
{
    RequestFrameReceiver receiver;
    Bytes stream;
    std::vector<Bytes> expected;
    for (const char* text : GOLDEN_FRAMES) {
        const Bytes frame = Hex(text);
        expected.push_back(frame);
        stream.insert(stream.end(), {0x06, 0x15, 0x00, 0xFF}); // noise without an STX
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    std::size_t bad = 0;
    EXPECT_EQ(Feed(receiver, stream, &bad), expected);
    EXPECT_EQ(bad, 0u);
}

TEST(RequestFrameReceiver, RefusesWrongChecksumsAndImpossibleLengths)
{
    RequestFrameReceiver receiver;
    const Bytes good = Hex(GOLDEN_FRAMES[0]);
    Bytes spoiled = good;
    spoiled[4] ^= 0x01;
    std::size_t bad = 0;
    EXPECT_TRUE(Feed(receiver, spoiled, &bad).empty());
    EXPECT_EQ(bad, 1u);

    // Length 0 and length 775 cannot start a frame; the search for STX goes on after them.
    const Bytes stream = [&] {
        Bytes s = Hex("02 00 00 00 02 00 07 03");
        s.insert(s.end(), good.begin(), good.end());
        return s;
    }();
    bad = 0;
    EXPECT_EQ(Feed(receiver, stream, &bad), std::vector<Bytes>{good});
    EXPECT_EQ(bad, 0u);
}

TEST(RequestFrameReceiver, LargestFrameIsTaken)
{
    Bytes frame{0x02, 0x00, 0x06, 0x03, 0x4F}; // L = 774
    frame.resize(4 + 774, 0x5A);
    const WORD crc = WireChecksum(frame);
    frame.push_back(LOBYTE(crc));
    frame.push_back(HIBYTE(crc));
    ASSERT_EQ(frame.size(), RequestFrameReceiver::kLargestFrame);
    RequestFrameReceiver receiver;
    EXPECT_EQ(Feed(receiver, frame), std::vector<Bytes>{frame});
}

} // namespace
