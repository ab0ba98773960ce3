#include "driver/internal/TelegramFrame.h"

#include "driver/internal/TelegramCrc.h"
#include "HexBytes.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const BYTE Z = kFamilyZOK;
const BYTE K = kFamilyKVR;

// Every data byte differs from its neighbours, so a field packed from a wrong offset shows.
BYTE PatternByte(std::size_t offset)
{
    return BYTE(offset * 7 + 3);
}

SensorRequest PatternRequest(BYTE family, BYTE command)
{
    SensorRequest request(family, command);
    for (std::size_t i = RequestOffset::Data; i < kRequestRecordSize; ++i)
        request.SetByte(i, PatternByte(i));
    return request;
}

using Fields = std::vector<std::pair<std::size_t, std::string>>; // offset, hex bytes

void SetFields(SensorRequest& request, const Fields& fields)
{
    for (const auto& [offset, hex] : fields) {
        std::size_t i = offset;
        for (BYTE value : HexBytes(hex))
            request.SetByte(i++, value);
    }
}

// The data a frame should carry, written in the order of the wire: "9" a record byte,
// "20-25" record bytes, "=FE" a literal byte, "'AB" a name padded with blanks to 8.
std::vector<BYTE> ExpectedData(const std::string& layout, const SensorRequest& request)
{
    std::vector<BYTE> data;
    std::istringstream in(layout);
    std::string token;
    while (in >> token) {
        if (token[0] == '=') {
            data.push_back(BYTE(std::stoul(token.substr(1), nullptr, 16)));
        } else if (token[0] == '\'') {
            std::string name = token.substr(1);
            name.resize(8, ' ');
            data.insert(data.end(), name.begin(), name.end());
        } else {
            const std::size_t dash = token.find('-');
            const std::size_t first = std::stoul(token.substr(0, dash));
            const std::size_t last = dash == std::string::npos ? first : std::stoul(token.substr(dash + 1));
            for (std::size_t i = first; i <= last; ++i)
                data.push_back(request.Byte(i));
        }
    }
    return data;
}

struct PackCase {
    const char* name;
    BYTE family;
    BYTE command;
    Fields fields;
    WORD length;
    const char* layout;
};

const std::vector<PackCase>& PackCases()
{
    static const std::vector<PackCase> cases = {
        {"connection test", Z, 0x10, {}, 1, ""},
        {"login text unchanged", Z, 0x20, {{9, "31 41 42 00 43"}}, 10, "9-17"},
        {"scan ZOK", Z, 0x30, {{10, "01"}}, 2, "10"},
        {"scan ZOK with count", Z, 0x30, {{10, "05"}}, 3, "10 11"},
        {"scan KVR kind 1", K, 0x30, {{10, "01"}}, 3, "9 10"},
        {"scan KVR kind 0", K, 0x30, {{10, "00"}}, 4, "9 10 11"},
        {"scan KVR with count", K, 0x30, {{10, "05"}}, 4, "9 10 11"},
        {"0x34 ZOK", Z, 0x34, {}, 4, "9 10 13"},
        {"0x34 KVR", K, 0x34, {}, 6, "9-13"},
        {"0x36 ZOK", Z, 0x36, {}, 2, "10"},
        {"0x45 KVR", K, 0x45, {}, 3, "9 10"},
        {"0x37 ZOK", Z, 0x37, {}, 5, "10-13"},
        {"0x37 KVR", K, 0x37, {}, 6, "9-13"},
        {"rectangle ZOK", Z, 0x40, {{19, "00"}, {26, "96 00 C8 00 2C 01"}}, 16,
         "19 20-25 26-31 =D0 =00"},
        {"arc KVR, short name", K, 0x40, {{10, "41 42 00"}, {19, "01"}, {26, "90 01"}}, 21,
         "9 'AB 19 20-25 26 27 =90 =01"},
        {"polygon ZOK 360 beams", Z, 0x40, {{19, "02"}, {26, "68 01"}}, 733,
         "19 20-25 =FE 28-749 750-751"},
        {"polygon KVR", K, 0x40, {{19, "02"}, {26, "02 00"}}, 26, "9 10-17 19 20-25 =02 28-33 750-751"},
        {"0x41 ZOK", Z, 0x41, {}, 2, "9"},
        {"0x41 KVR", K, 0x41, {}, 4, "9 10 11"},
        {"0x49 ZOK", Z, 0x49, {}, 2, "9"},
        {"0x49 KVR", K, 0x49, {}, 4, "9 10 11"},
        {"password", Z, 0x42, {}, 11, "9-18"},
        {"contour ZOK 360 beams", Z, 0x43, {{10, "68 01"}}, 724, "=FE 12-733"},
        {"contour KVR", K, 0x43, {{10, "03 00"}}, 11, "9 =03 12-19"},
        {"contour of one beam", Z, 0x43, {{10, "00 00"}}, 4, "=00 12 13"},
        {"mode and delay", Z, 0x44, {{9, "01"}}, 3, "9 10"},
        {"teach-in start KVR", K, 0x46, {{10, "54 45 41 43 48 00"}, {20, "00"}}, 18,
         "9 'TEACH 19 20 21-26"},
        {"teach-in accept ZOK", Z, 0x46, {{20, "01"}}, 2, "20"},
        {"rectangle contour", Z, 0x48,
         {{10, "41 42 43 44 45 46 47 48"}, {25, "96 00 C8 00 2C 01"}}, 106,
         "9 'ABCDEFGH 19-32 33-112 =D0 =00"},
        {"configuration block", K, 0x70, {{11, "00"}, {20, "58 00"}}, 127,
         "9 10 ' 'X 29-36 38-45 47-50 51-56 57-64 66-73 75-82 84-91 93-100 102-109 111-118 "
         "120-127 129-146"},
        {"case record", K, 0x73, {{10, "43 41 53 45 31 00"}}, 26, "9 'CASE1 19-34"},
    };
    return cases;
}

TEST(TelegramFrameTest, PacksEveryCommandLayout)
{
    for (const PackCase& c : PackCases()) {
        SensorRequest request = PatternRequest(c.family, c.command);
        SetFields(request, c.fields);
        ASSERT_EQ(PrepareRequest(request.Bytes()), RequestError::None) << c.name;
        FrameBuffer frame{};
        const std::size_t size = BuildTelegramFrame(request.Bytes(), frame);

        ASSERT_EQ(size, std::size_t(c.length) + kFrameOverhead) << c.name;
        EXPECT_EQ(request.Word(RequestOffset::Length), c.length) << c.name;
        EXPECT_EQ(frame[0], kSTX) << c.name;
        EXPECT_EQ(frame[1], request.Byte(RequestOffset::Address)) << c.name;
        EXPECT_EQ(MAKEWORD(frame[2], frame[3]), c.length) << c.name;
        EXPECT_EQ(frame[4], c.command) << c.name;
        const std::vector<BYTE> data(frame.begin() + 5, frame.begin() + 4 + c.length);
        EXPECT_EQ(data, ExpectedData(c.layout, request)) << c.name;
        const WORD crc = ComputeTelegramCrc(std::span<const BYTE>(frame.data(), size - 2));
        EXPECT_EQ(MAKEWORD(frame[size - 2], frame[size - 1]), crc) << c.name;
    }
}

TEST(TelegramFrameTest, MatchesHandComputedFrames)
{
    struct Case {
        BYTE command;
        Fields fields;
        const char* frame;
    };
    for (const Case& c : {
             Case{0x10, {}, "02 00 01 00 10 34 12"},
             Case{0x20, {{9, "31 4D 49 52 54 4F 56 41 4C"}},
                  "02 00 0A 00 20 31 4D 49 52 54 4F 56 41 4C C5 68"},
             Case{0x44, {{9, "01 05"}}, "02 00 03 00 44 01 05 A7 D0"},
             Case{0x40, {{19, "01 00 0C 01 00 62 00 90 01"}},
                  "02 00 0C 00 40 01 00 0C 01 00 62 00 90 01 90 01 EA B4"},
         }) {
        SensorRequest request(kFamilyZOK, c.command);
        SetFields(request, c.fields);
        ASSERT_EQ(PrepareRequest(request.Bytes()), RequestError::None);
        FrameBuffer frame{};
        const std::size_t size = BuildTelegramFrame(request.Bytes(), frame);
        EXPECT_EQ(std::vector<BYTE>(frame.begin(), frame.begin() + std::ptrdiff_t(size)),
                  HexBytes(c.frame));
    }
}

TEST(TelegramFrameTest, UnlistedCommandGoesOutWithTheCallersLength)
{
    struct Case {
        WORD callerLength;
        RequestError expected;
    };
    for (const Case& c : {
             Case{4, RequestError::None},
             Case{744, RequestError::None},      // bytes 9..751: the whole record
             Case{745, RequestError::BadLength}, // would read past the record
             Case{0, RequestError::BadLength},   // not even a command byte
             Case{774, RequestError::TooLong},
         }) {
        SensorRequest request = PatternRequest(kFamilyZOK, 0x99);
        request.SetWord(RequestOffset::Length, c.callerLength);
        EXPECT_EQ(PrepareRequest(request.Bytes()), c.expected) << c.callerLength;
        if (c.expected != RequestError::None)
            continue;
        FrameBuffer frame{};
        ASSERT_EQ(BuildTelegramFrame(request.Bytes(), frame), c.callerLength + kFrameOverhead);
        EXPECT_EQ(request.Word(RequestOffset::LengthCopy), c.callerLength);
        EXPECT_EQ(frame[5], request.Byte(9));
        EXPECT_EQ(frame[3 + c.callerLength], request.Byte(7 + c.callerLength));
    }
}

TEST(TelegramFrameTest, RefusesRequestsThatCannotGoOut)
{
    struct Case {
        const char* name;
        BYTE family;
        BYTE command;
        Fields fields;
        RequestError expected;
    };
    const Case cases[] = {
        {"answer marker", Z, 0x10, {{0, "F1 02"}}, RequestError::BadMarker},
        {"scan kind 6", K, 0x30, {{10, "06"}}, RequestError::BadSubCode},
        {"polygon of 400", Z, 0x40, {{19, "02"}, {26, "90 01"}}, RequestError::TooLong},
        {"contour of 400", Z, 0x43, {{10, "90 01"}}, RequestError::TooLong},
        {"polygon of 254", Z, 0x40, {{19, "02"}, {26, "FE 00"}}, RequestError::BadCount},
        {"polygon of 300", Z, 0x40, {{19, "02"}, {26, "2C 01"}}, RequestError::BadCount},
        {"contour of 255", K, 0x43, {{10, "FF 00"}}, RequestError::BadCount},
        {"polygon without segments", Z, 0x40, {{19, "02"}, {26, "00 00"}}, RequestError::BadGeometry},
        {"rectangle without side", K, 0x40, {{19, "00"}, {26, "00 00 C8 00 2C 01"}},
         RequestError::BadGeometry},
    };
    for (const Case& c : cases) {
        SensorRequest request = PatternRequest(c.family, c.command);
        SetFields(request, c.fields);
        EXPECT_EQ(PrepareRequest(request.Bytes()), c.expected) << c.name;
    }
}

TEST(TelegramFrameTest, DataThatDisagreeWithTheLengthFieldAreNotPacked)
{
    SensorRequest request = PatternRequest(kFamilyZOK, 0x34);
    ASSERT_EQ(PrepareRequest(request.Bytes()), RequestError::None);
    request.SetWord(RequestOffset::LengthCopy, 5); // the layout sends three data bytes
    FrameBuffer frame{};
    EXPECT_EQ(BuildTelegramFrame(request.Bytes(), frame), 0u);
}

} // namespace
