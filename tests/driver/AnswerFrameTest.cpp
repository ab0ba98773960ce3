#include "driver/internal/TelegramFrame.h"

#include "driver/internal/TelegramCrc.h"
#include "AnswerFrames.h"
#include "HexBytes.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr BYTE kUntouched = 0xEE;
constexpr BYTE kReceiveOnly = 0xFF; // no request
constexpr BYTE kStatusZOK = 0x01;
constexpr BYTE kStatusKVR = 0x09;

std::vector<BYTE> AnswerFrame(BYTE command, const std::vector<BYTE>& data, BYTE status,
                              std::optional<WORD> lengthField = std::nullopt)
{
    return BuildAnswerFrame(command, data, status, lengthField);
}

SensorAnswer UntouchedAnswer()
{
    SensorAnswer answer;
    for (std::size_t i = 0; i < kAnswerRecordSize; ++i)
        answer.SetByte(i, kUntouched);
    return answer;
}

AnswerError Parse(const std::vector<BYTE>& frame, BYTE family, BYTE requestSubCode,
                  SensorAnswer& answer)
{
    if (family == kReceiveOnly)
        return ParseAnswerFrame(frame, answer.Bytes());
    SensorRequest request(family, 0x00);
    request.SetByte(10, requestSubCode);
    return ParseAnswerFrame(frame, request.Bytes(), answer.Bytes());
}

// Where the data bytes of a frame land, written in the order of the wire: "9" and
// "20-25" take the next data bytes, "12+" takes all that are left, "-" skips one (a count
// byte), "@2" goes back to data byte 2, and "23=00" is a byte the unpacking writes itself.
struct Landing {
    std::array<std::optional<BYTE>, kAnswerRecordSize> record{};
    std::size_t consumed = 0;
    bool takesTheRest = false;
};

Landing LandingOf(const std::string& layout, const std::vector<BYTE>& data)
{
    Landing landing;
    std::size_t position = 0;
    auto take = [&](std::size_t offset) { landing.record.at(offset) = data.at(position++); };
    std::istringstream in(layout);
    std::string token;
    while (in >> token) {
        const std::size_t equals = token.find('=');
        const std::size_t dash = token.find('-');
        if (token == "-") {
            ++position;
        } else if (token[0] == '@') {
            position = std::stoul(token.substr(1));
        } else if (equals != std::string::npos) {
            landing.record.at(std::stoul(token.substr(0, equals))) =
                BYTE(std::stoul(token.substr(equals + 1), nullptr, 16));
        } else if (token.back() == '+') {
            landing.takesTheRest = true;
            for (std::size_t offset = std::stoul(token);
                 position < data.size() && offset < kAnswerRecordSize; ++offset)
                take(offset);
        } else if (dash != std::string::npos) {
            for (std::size_t i = std::stoul(token); i <= std::stoul(token.substr(dash + 1)); ++i)
                take(i);
        } else {
            take(std::stoul(token));
        }
        landing.consumed = std::max(landing.consumed, position);
    }
    return landing;
}

struct UnpackCase {
    const char* name;
    BYTE family; // or kReceiveOnly
    BYTE requestSubCode;
    BYTE command;
    BYTE status;
    std::size_t dataCount; // 0: as many as the layout takes
    std::vector<std::pair<std::size_t, BYTE>> data; // data bytes that steer the layout
    const char* layout;
};

const BYTE Z = kFamilyZOK;
const BYTE K = kFamilyKVR;
const BYTE R = kReceiveOnly;
const BYTE SZ = kStatusZOK;
const BYTE SK = kStatusKVR;

const char* const kIdentityZOK =
    "9-15 16=00 17 18 19-26 27=00 28 42-57 58-65 106-121 122-129 66-67 68-85 86-87 130-131 "
    "132-133 88-89 90-91 104-105 102-103 92-93 94-95 96-97 98-99 100-101 29 30-31 32 33 35-36 "
    "34 37 38 39 41 40";
const char* const kIdentityKVR = "9-15 16=00 17 18 19-26 27=00 28 29-30 31-36 37-38 39-40 41";
const char* const kBlockRead =
    "9 10 11-18 19=00 20-27 28=00 29-36 37=00 38-45 46=00 47-50 51-56 57-64 65=00 66-73 74=00 "
    "75-82 83=00 84-91 92=00 93-100 101=00 102-109 110=00 111-118 119=00 120-127 128=00 129 "
    "130 131-138 139-144 145-146";
const char* const kBlockWrite =
    "9 10 11 12-19 20=00 21-28 29=00 30-37 38=00 39-46 47=00 48-51 52-57 58-65 66=00 67-74 "
    "75=00 76-83 84=00 85-92 93=00 94-101 102=00 103-110 111=00 112-119 120=00 121-128 129=00 "
    "130 131 132-139 140-145 146-147";

const std::vector<UnpackCase>& UnpackCases()
{
    static const std::vector<UnpackCase> cases = {
        {"text", Z, 0, 0x90, SZ, 0, {}, "9-22 23=00"},
        {"login", Z, 0, 0xA0, SZ, 0, {}, "9"},
        {"0xD0", K, 0, 0xD0, SK, 0, {}, "9"},
        {"scan ZOK", Z, 0, 0xB0, SZ, 8, {{0, 3}, {1, 0}}, "10-11 12+"},
        {"scan KVR", K, 0, 0xB0, SK, 9, {{1, 3}, {2, 0}}, "9 10-11 12+"},
        {"scan, receive-only KVR by status", R, 0, 0xB0, SK, 9, {{1, 3}, {2, 0}}, "9 10-11 12+"},
        {"scan, receive-only ZOK by status", R, 0, 0xB0, SZ, 8, {{0, 2}, {1, 0}}, "10-11 12+"},
        {"identification ZOK", Z, 0, 0xB1, SZ, 0, {}, kIdentityZOK},
        {"identification, other family", 2, 0, 0xB1, SK, 0, {}, kIdentityZOK},
        {"identification KVR", K, 0, 0xB1, SK, 0, {}, kIdentityKVR},
        {"error list", Z, 0, 0xB2, SZ, 6, {}, "9=03 10+"},
        {"0xB4 ZOK repeats data 3 and 4", Z, 0, 0xB4, SZ, 7, {}, "9-12 @2 13+"},
        {"0xB4 KVR", K, 0, 0xB4, SK, 7, {}, "9-12 13 14+"},
        {"0xB6 ZOK", Z, 0, 0xB6, SZ, 5, {}, "10 11-12 13+"},
        {"0xB6 KVR", K, 0, 0xB6, SK, 8, {}, "9 10 11-12 13+"},
        {"0xB7 ZOK", Z, 0, 0xB7, SZ, 8, {}, "10-15 16+"},
        {"0xB7 KVR", K, 0, 0xB7, SK, 10, {}, "9 10-15 16+"},
        {"configuration block", K, 0, 0xB8, SK, 0, {}, kBlockRead},
        {"case record", K, 0, 0xB9, SK, 0, {}, "9 10-17 18=00 19-20 21-24 25-26 27-30 31-34"},
        {"field read rectangle ZOK", Z, 0, 0xC0, SZ, 0, {{1, 0}},
         "9 20 21-24 25-26 27-32 751-752"},
        {"field read arc KVR", K, 0, 0xC0, SK, 0, {{10, 1}},
         "9 10 11-18 19=00 20 21-24 25-26 27-28 751-752"},
        {"field read polygon of 360", Z, 0, 0xC0, SZ, 0, {{1, 2}, {8, 254}},
         "9 20 21-24 25-26 - 27=68 28=01 29-750 751-752"},
        {"field read polygon of 3", K, 0, 0xC0, SK, 0, {{10, 2}, {17, 3}},
         "9 10 11-18 19=00 20 21-24 25-26 - 27=03 28=00 29-36 751-752"},
        {"field read, other shape", Z, 0, 0xC0, SZ, 0, {{1, 5}}, "9 20 21-24 25-26"},
        {"0xC1 ZOK", Z, 0, 0xC1, SZ, 0, {}, "9"},
        {"0xC1 KVR", K, 0, 0xC1, SK, 0, {}, "9 10 11"},
        {"0xC2", Z, 0, 0xC2, SZ, 0, {}, "9 10"},
        {"0xC3 ZOK", Z, 0, 0xC3, SZ, 0, {}, "9"},
        {"0xC6 KVR", K, 0, 0xC6, SK, 0, {}, "9 10"},
        {"0xCA KVR", K, 0, 0xCA, SK, 0, {}, "9 10"},
        {"0xC4", Z, 0, 0xC4, SZ, 0, {}, "9 10 11"},
        {"0xC9", K, 0, 0xC9, SK, 0, {}, "9 10 11"},
        {"stored rectangle ZOK", Z, 0, 0xC5, SZ, 0, {{0, 0}}, "19 21-24 25-26 27-32"},
        {"stored arc KVR", K, 0, 0xC5, SK, 0, {{10, 1}},
         "20 9 10-17 18=00 19 21-24 25-26 27-28"},
        {"stored polygon of 360", Z, 0, 0xC5, SZ, 730, {{0, 2}, {7, 254}},
         "19 21-24 25-26 - 27=68 28=01 29+"},
        {"warning field KVR", K, 1, 0xC5, SK, 23, {{9, 3}, {10, 5}},
         "9 10-17 18=00 19 - 27=05 28=00 29+"},
        {"stored contour ZOK", Z, 0, 0xC5, SZ, 729, {{0, 4}}, "19 21-24 25-26 27+"},
        {"stored shape 7", Z, 0, 0xC5, SZ, 0, {{0, 7}}, "19 21-24 25-26 27-34 35-114"},
        {"stored shape 5", Z, 0, 0xC5, SZ, 0, {{0, 5}}, "19 21-24 25-26"},
        {"stored field, receive-only", R, 0, 0xC5, SZ, 12, {}, ""},
        {"rectangle contour", Z, 0, 0xC8, SZ, 0, {}, "9 10 11-18 19=00 20-23 24-33 34-113 114-115"},
        {"0xE0", Z, 0, 0xE0, SZ, 0, {}, "9 10"},
        {"0xE4", Z, 0, 0xE4, SZ, 0, {}, "9 10"},
        {"0xE8", Z, 0, 0xE8, SZ, 0, {}, "9 10"},
        {"0xE9", Z, 0, 0xE9, SZ, 0, {}, "9 10"},
        {"0xF7", Z, 0, 0xF7, SZ, 0, {}, "9 10"},
        {"0xF8", K, 0, 0xF8, SK, 0, {}, "9 10"},
        {"block write", K, 0, 0xF0, SK, 0, {}, kBlockWrite},
        {"case write", K, 0, 0xF2, SK, 0, {}, "9 10 11-18 19=00 20-21 22-25 26-27 28-31 32-35"},
        {"case mask", K, 0, 0xF4, SK, 0, {}, "9 10-11"},
        {"connection test answer", Z, 0, 0x91, SZ, 3, {}, ""},
        {"not served", K, 0, 0x92, SK, 0, {}, ""},
    };
    return cases;
}

std::vector<BYTE> CaseData(const UnpackCase& c, std::size_t count)
{
    std::vector<BYTE> data(count);
    for (std::size_t i = 0; i < count; ++i)
        data[i] = BYTE(0x30 + 5 * i);
    for (const auto& [index, value] : c.data)
        if (index < count)
            data[index] = value;
    return data;
}

std::size_t DataCountOf(const UnpackCase& c)
{
    return c.dataCount ? c.dataCount : LandingOf(c.layout, std::vector<BYTE>(800)).consumed;
}

TEST(AnswerFrameTest, UnpacksEveryAnswerLayout)
{
    for (const UnpackCase& c : UnpackCases()) {
        const std::vector<BYTE> data = CaseData(c, DataCountOf(c));
        const std::vector<BYTE> frame = AnswerFrame(c.command, data, c.status);
        SensorAnswer answer = UntouchedAnswer();
        ASSERT_EQ(Parse(frame, c.family, c.requestSubCode, answer), AnswerError::None) << c.name;

        const WORD length = WORD(data.size() + 2);
        EXPECT_EQ(answer.Word(AnswerOffset::DataLength), length - 1) << c.name;
        EXPECT_EQ(answer.Byte(AnswerOffset::Address), 0x80) << c.name;
        EXPECT_EQ(answer.Word(AnswerOffset::FrameLength), length) << c.name;
        EXPECT_EQ(answer.Status(), c.status) << c.name;
        EXPECT_EQ(answer.Command(), c.command) << c.name;
        EXPECT_EQ(answer.Word(AnswerOffset::Marker), MAKEWORD(kUntouched, kUntouched)) << c.name;
        const Landing landing = LandingOf(c.layout, data);
        for (std::size_t i = AnswerOffset::Data; i < kAnswerRecordSize; ++i)
            EXPECT_EQ(answer.Byte(i), landing.record[i].value_or(kUntouched))
                << c.name << ", record byte " << i;
    }
}

TEST(AnswerFrameTest, FixedLayoutOneByteShortIsRefusedWithDataUntouched)
{
    for (const UnpackCase& c : UnpackCases()) {
        const Landing full = LandingOf(c.layout, std::vector<BYTE>(800));
        const std::size_t needed = full.consumed;
        if (full.takesTheRest || needed == 0)
            continue;
        const std::vector<BYTE> data = CaseData(c, needed - 1);
        SensorAnswer answer = UntouchedAnswer();
        EXPECT_EQ(Parse(AnswerFrame(c.command, data, c.status), c.family, c.requestSubCode, answer),
                  AnswerError::Truncated)
            << c.name;
        for (std::size_t i = AnswerOffset::Data; i < kAnswerRecordSize; ++i)
            ASSERT_EQ(answer.Byte(i), kUntouched) << c.name << ", record byte " << i;
    }
}

TEST(AnswerFrameTest, HandComputedAnswers)
{
    SensorRequest request(kFamilyZOK, 0x10);
    SensorAnswer answer = UntouchedAnswer();
    ASSERT_EQ(ParseAnswerFrame(HexBytes("02 80 02 00 91 00 69 30"), request.Bytes(), answer.Bytes()),
              AnswerError::None);
    EXPECT_EQ(answer.Command(), 0x91);
    EXPECT_EQ(answer.Status(), 0x00);

    ASSERT_EQ(ParseAnswerFrame(HexBytes("02 80 04 00 E0 02 01 00 E3 E3"), request.Bytes(),
                               answer.Bytes()),
              AnswerError::None);
    EXPECT_EQ(answer.Byte(9), 0x02);
    EXPECT_EQ(answer.Byte(10), 0x01);
}

TEST(AnswerFrameTest, FamilyMustAgreeWithStatusBit3)
{
    struct Case {
        BYTE family;
        BYTE status;
        AnswerError expected;
    };
    for (const Case& c : {
             Case{kFamilyKVR, 0x01, AnswerError::FamilyMismatch},
             Case{kFamilyZOK, 0x08, AnswerError::FamilyMismatch},
             Case{kFamilyKVR, 0x08, AnswerError::None},
             Case{kFamilyZOK, 0x00, AnswerError::None},
             Case{2, 0x08, AnswerError::None},
             Case{255, 0x00, AnswerError::None},
         }) {
        SensorAnswer answer = UntouchedAnswer();
        EXPECT_EQ(Parse(AnswerFrame(0xA0, {0x05}, c.status), c.family, 0, answer), c.expected)
            << int(c.family) << " " << int(c.status);
        EXPECT_EQ(answer.Status(), c.status); // the header is written before the test
    }
}

TEST(AnswerFrameTest, HostileFramesAreRefusedWithoutWritingPastTheRecord)
{
    std::vector<BYTE> longData(771, 0x11); // L = 773, the longest accepted
    longData[0] = 0x01; // a scan of one value: the count holds, the rest is too long
    longData[1] = 0x00;
    std::vector<BYTE> polygonHeader = {0x01, 0x02, 0, 0, 0, 0, 0, 0, 0xFF};
    std::vector<BYTE> polygonLong = polygonHeader;
    polygonLong.resize(771, 0x22);
    std::vector<BYTE> notStx = AnswerFrame(0xA0, {1}, 0);
    notStx[0] = 0x03;
    std::vector<BYTE> badChecksum = AnswerFrame(0xA0, {1}, 0);
    badChecksum.back() ^= 0x01;
    std::vector<BYTE> cutShort = AnswerFrame(0xA0, {1, 2, 3}, 0);
    cutShort.pop_back();

    struct Case {
        const char* name;
        std::vector<BYTE> frame;
        BYTE family;
        AnswerError expected;
        std::size_t untouchedFrom = AnswerOffset::Data;
    };
    const Case cases[] = {
        {"length 779", AnswerFrame(0xB0, std::vector<BYTE>(777, 0), 0), kFamilyZOK, AnswerError::BadLength},
        {"length 774", AnswerFrame(0xB0, std::vector<BYTE>(772, 0), 0), kFamilyZOK, AnswerError::BadLength},
        {"length 1", AnswerFrame(0xA0, {}, 0, 1), kFamilyZOK, AnswerError::BadLength},
        {"length 0", AnswerFrame(0xA0, {}, 0, 0), kFamilyZOK, AnswerError::BadLength},
        {"long rest", AnswerFrame(0xB0, longData, 0), kFamilyZOK, AnswerError::Overflow},
        {"long rest after count", AnswerFrame(0xC5, std::vector<BYTE>(771, 2), 0), kFamilyZOK,
         AnswerError::Overflow},
        // A written polygon counting more than it carries keeps its head (status, shape,
        // time, word 25, count) and takes none of the words.
        {"count 255 in a short frame", AnswerFrame(0xC0, polygonHeader, 0), kFamilyZOK,
         AnswerError::None, 29},
        {"count 255 in a long frame", AnswerFrame(0xC0, polygonLong, 0), kFamilyZOK,
         AnswerError::None, 29},
        {"not STX", notStx, kFamilyZOK, AnswerError::NoStx},
        {"bad checksum", badChecksum, kFamilyZOK, AnswerError::BadChecksum},
        {"fewer bytes than the length says", cutShort, kFamilyZOK, AnswerError::Truncated},
        {"three bytes", {kSTX, 0x80, 0x02}, kFamilyZOK, AnswerError::Truncated},
    };
    for (const Case& c : cases) {
        SensorAnswer answer = UntouchedAnswer();
        EXPECT_EQ(Parse(c.frame, c.family, 0, answer), c.expected) << c.name;
        for (std::size_t i = c.untouchedFrom; i < kAnswerRecordSize; ++i)
            ASSERT_EQ(answer.Byte(i), kUntouched) << c.name << ", record byte " << i;
    }
}

// Beam data with a count in front: the count is what the device layer builds its scan or
// field from, so the frame must carry every beam it counts.
TEST(AnswerFrameTest, CountsBeyondTheBeamsReceivedAreRefused)
{
    const auto words = [](std::size_t count) { return std::vector<BYTE>(2 * count, 0x21); };
    const auto concat = [](std::vector<BYTE> head, const std::vector<BYTE>& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const std::vector<BYTE> fieldHeader = {0x00, 1, 2, 3, 4, 5, 6}; // shape, time, word at 25
    const auto field = [&](BYTE shape, std::vector<BYTE> tail) {
        std::vector<BYTE> data = fieldHeader;
        data[0] = shape;
        return concat(data, tail);
    };
    struct Case {
        const char* name;
        BYTE family;
        BYTE requestSubCode;
        BYTE command;
        std::vector<BYTE> data;
        AnswerError expected;
    };
    const Case cases[] = {
        {"ZOK scan of 361 carrying 360", kFamilyZOK, 0, 0xB0, concat({0x69, 0x01}, words(360)), AnswerError::Truncated},
        {"ZOK scan of 361 carrying 361", kFamilyZOK, 0, 0xB0, concat({0x69, 0x01}, words(361)), AnswerError::None},
        {"KVR scan of 180 carrying 3", kFamilyKVR, 0, 0xB0, concat({0x01, 0xB4, 0x00}, words(3)), AnswerError::Truncated},
        {"KVR scan of 3 carrying 3", kFamilyKVR, 0, 0xB0, concat({0x01, 0x03, 0x00}, words(3)), AnswerError::None},
        {"scan count without its second byte", kFamilyZOK, 0, 0xB0, {0x05}, AnswerError::Truncated},
        {"stored polygon of 181 carrying 180", kFamilyZOK, 0, 0xC5, field(2, concat({180}, words(180))),
         AnswerError::Truncated},
        {"stored polygon of 181 carrying 181", kFamilyZOK, 0, 0xC5, field(2, concat({180}, words(181))),
         AnswerError::None},
        {"warning contour of 361 carrying 2", kFamilyZOK, 1, 0xC5, {0x03, 254, 1, 2, 3, 4}, AnswerError::Truncated},
        {"locked contour carrying 360", kFamilyZOK, 0, 0xC5, field(4, words(360)), AnswerError::Truncated},
        {"locked contour carrying 361", kFamilyZOK, 0, 0xC5, field(4, words(361)), AnswerError::None},
    };
    for (const Case& c : cases) {
        SensorAnswer answer = UntouchedAnswer();
        EXPECT_EQ(Parse(AnswerFrame(c.command, c.data, c.family == kFamilyKVR ? kStatusKVR : kStatusZOK), c.family,
                        c.requestSubCode, answer),
                  c.expected)
            << c.name;
        if (c.expected == AnswerError::None)
            continue;
        for (std::size_t i = AnswerOffset::Data; i < kAnswerRecordSize; ++i)
            ASSERT_EQ(answer.Byte(i), kUntouched) << c.name << ", record byte " << i;
    }
}

// A written field's answer is taken up to its count even when the polygon it echoes is
// longer than the frame: the status reaches the caller, the words do not, and the count
// left in the record shows by the received length (bytes 2-3) that they are missing.
TEST(AnswerFrameTest, WrittenPolygonLongerThanItsFrameKeepsOnlyItsHead)
{
    struct Case {
        const char* name;
        BYTE family;
        std::vector<BYTE> data;
        const char* layout;
    };
    const std::vector<BYTE> fourWords(8, 0x21);
    auto concat = [](std::vector<BYTE> head, const std::vector<BYTE>& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const Case cases[] = {
        {"ZOK, 401 counted, 4 carried", kFamilyZOK, concat({0x01, 0x02, 1, 2, 3, 4, 5, 6, 255}, fourWords),
         "9 20 21-24 25-26 - 27=90 28=01"},
        {"KVR, 181 counted, 4 carried", kFamilyKVR,
         concat({0x01, 0x03, 'F', 'I', 'E', 'L', 'D', '_', '0', '1', 0x02, 1, 2, 3, 4, 5, 6, 180}, fourWords),
         "9 10 11-18 19=00 20 21-24 25-26 - 27=B4 28=00"},
        {"ZOK, 3 counted, none carried", kFamilyZOK, {0x02, 0x02, 1, 2, 3, 4, 5, 6, 2},
         "9 20 21-24 25-26 - 27=02 28=00"},
    };
    for (const Case& c : cases) {
        SensorAnswer answer = UntouchedAnswer();
        ASSERT_EQ(Parse(AnswerFrame(0xC0, c.data, c.family == kFamilyKVR ? kStatusKVR : kStatusZOK), c.family, 0,
                        answer),
                  AnswerError::None)
            << c.name;
        EXPECT_EQ(answer.Word(AnswerOffset::DataLength), c.data.size() + 1) << c.name;
        const Landing landing = LandingOf(c.layout, c.data);
        for (std::size_t i = AnswerOffset::Data; i < kAnswerRecordSize; ++i)
            ASSERT_EQ(answer.Byte(i), landing.record[i].value_or(kUntouched)) << c.name << ", record byte " << i;
    }
}

TEST(AnswerFrameTest, FrameRefusedBeforeUnpackingLeavesTheHeaderUntouched)
{
    std::vector<BYTE> frame = AnswerFrame(0xA0, {1}, 0);
    frame.back() ^= 0x01;
    SensorAnswer answer = UntouchedAnswer();
    ASSERT_EQ(Parse(frame, kFamilyZOK, 0, answer), AnswerError::BadChecksum);
    EXPECT_EQ(answer, UntouchedAnswer());
}

TEST(AnswerFrameTest, BytesAfterTheFrameAreIgnored)
{
    std::vector<BYTE> buffer = AnswerFrame(0xA0, {0x07}, 0);
    buffer.resize(kFrameBufferSize, 0x55); // the rest of the receive buffer
    SensorAnswer answer = UntouchedAnswer();
    ASSERT_EQ(Parse(buffer, kFamilyZOK, 0, answer), AnswerError::None);
    EXPECT_EQ(answer.Byte(9), 0x07);
    EXPECT_EQ(answer.Byte(10), kUntouched);
}

} // namespace
