// The KVR unit-wide commands against scripted answers: what each request carries, which
// answers count, what the last status holds; the name helpers; and a few reads from the
// simulated unit.
#include "RecordingKVRSensor.h"

#include "model/CSensorType.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

namespace {

KVRConfigBlock PatternBlock()
{
    KVRConfigBlock block{};
    std::iota(block.begin(), block.end(), BYTE(1));
    return block;
}

KVRCaseRecord PatternRecord()
{
    KVRCaseRecord record{};
    std::iota(record.begin(), record.end(), BYTE(100));
    return record;
}

// An answer whose bytes from offset on are first, first + 1, ...
SensorAnswer CountingAnswer(BYTE code, BYTE status, std::size_t offset, BYTE first)
{
    SensorAnswer answer = DeviceAnswer(code, status);
    for (std::size_t i = offset; i < kAnswerRecordSize; ++i)
        answer.SetByte(i, BYTE(first + (i - offset)));
    return answer;
}

TEST(KVRDeviceNames, PaddingTrimmingAndRecordFields)
{
    struct Trim {
        const char* text;
        const char* trimmed;
    };
    for (const Trim& c : {Trim{"  AB C   ", "AB C"}, Trim{"    ", ""}, Trim{"", ""}, Trim{"ZOK 1", "ZOK 1"},
                          Trim{"Feld 1  ", "Feld 1"}}) {
        CString text(c.text);
        EXPECT_STREQ(TrimDeviceName(text), c.trimmed) << c.text;
    }

    CString padded("AB");
    EXPECT_STREQ(PadDeviceName(padded, 8), "AB      ");
    CString full("ABCDEFGHIJ");
    EXPECT_STREQ(PadDeviceName(full, 8), "ABCDEFGHIJ");

    struct Put {
        const char* name;
        std::string field;
    };
    for (const Put& c : {Put{"ABCD", std::string("ABCD    \0", 9)}, Put{"ABCDEFGHIJ", std::string("ABCDEFGH\0", 9)},
                         Put{"", std::string("        \0", 9)}}) {
        std::array<BYTE, 10> bytes;
        bytes.fill(0xEE);
        PutDeviceName(bytes, c.name);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 9), c.field) << c.name;
        EXPECT_EQ(bytes[9], 0xEE) << "never beyond the field";
    }

    // A field without a NUL gives its 9 bytes and no more.
    const std::array<BYTE, 12> noNul{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 0};
    EXPECT_STREQ(GetDeviceName(noNul), "ABCDEFGHI");
}

TEST(KVRDeviceNames, DelayClampAndTypeCodes)
{
    const std::pair<int, int> delays[] = {{0, 2}, {1, 2}, {2, 2}, {30, 30}, {60, 60}, {61, 2}, {255, 2}};
    for (auto [in, out] : delays)
        EXPECT_EQ(ClampDelay(BYTE(in)), out) << in;

    const std::pair<int, BOOL> codes[] = {{4, TRUE},    {7, TRUE},    {50, TRUE}, {0x104, TRUE},
                                          {132, FALSE}, {178, FALSE}, {0, FALSE}, {5, FALSE}};
    for (auto [code, known] : codes)
        EXPECT_EQ(IsKVRTypeCode(code), known) << code;
}

class CKVRSensorTest : public ::testing::Test {
protected:
    RecordingKVRSensor sensor;
};

TEST_F(CKVRSensorTest, RequestsCarryTheirCommandAndData)
{
    KVRConfigBlock block = PatternBlock();
    KVRCaseRecord record = PatternRecord();
    CKVRIdentity identity;
    struct Case {
        const char* name;
        std::function<void()> run;
        BYTE command;
        std::string data; // from byte 9
    };
    const std::string blockBytes(block.begin(), block.end());
    const std::string recordBytes(record.begin(), record.end());
    const Case cases[] = {
        {"identity", [&] { sensor.ReadIdentity(identity); }, 0x31, ""},
        {"read block", [&] { sensor.ReadConfigBlock(block); }, 0x38, ""},
        {"check block", [&] { sensor.CheckConfigBlock(block); }, 0x70, blockBytes},
        {"commit block", [&] { sensor.CommitConfigBlock(block); }, 0x71, blockBytes},
        {"read case", [&] { sensor.ReadCaseRecord(3, record); }, 0x39, "\x03"},
        {"check case", [&] { sensor.CheckCaseRecord(record); }, 0x72, recordBytes},
        {"commit case", [&] { sensor.CommitCaseRecord(record); }, 0x73, recordBytes},
        {"case mask", [&] { sensor.WriteCaseMask(0x010F); }, 0x74, "\x0F\x01"},
        {"command 66", [&] { sensor.SendCommand66(7); }, 0x66, "\x07"},
    };
    for (const Case& c : cases) {
        sensor.requests.clear();
        c.run(); // no answer: every command fails and leaves its argument alone
        ASSERT_EQ(sensor.requests.size(), 1u) << c.name;
        const SensorRequest& request = sensor.requests[0];
        EXPECT_EQ(request.Marker(), kRequestMarker) << c.name;
        EXPECT_EQ(request.Family(), kFamilyKVR) << c.name;
        EXPECT_EQ(request.Byte(RequestOffset::Address), 0) << c.name;
        EXPECT_EQ(request.Command(), c.command) << c.name;
        EXPECT_EQ(RequestBytes(request, 9, c.data.size()), c.data) << c.name;
        const auto rest = request.Bytes().subspan(9 + c.data.size());
        EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](BYTE b) { return b == 0; })) << c.name;
    }
    EXPECT_EQ(block, PatternBlock());
    EXPECT_EQ(record, PatternRecord());
}

TEST_F(CKVRSensorTest, TwoStepsNeedStatusTwoThenOneAndRecordTheStatus)
{
    struct Case {
        bool check; // first step, else second
        std::optional<SensorAnswer> answer;
        BOOL result;
        BYTE lastStatus;
    };
    const auto steps = [](BYTE code) {
        return std::vector<Case>{
            {true, CountingAnswer(code, 2, 10, 50), TRUE, 2},   {true, CountingAnswer(code, 1, 10, 50), FALSE, 1},
            {true, CountingAnswer(code, 0, 10, 50), FALSE, 0},  {true, CountingAnswer(code ^ 1, 2, 10, 50), FALSE, 0},
            {true, std::nullopt, FALSE, 0},                     {false, DeviceAnswer(code, 1), TRUE, 1},
            {false, DeviceAnswer(code, 2), FALSE, 2},           {false, DeviceAnswer(code + 1, 1), FALSE, 0},
        };
    };

    for (const Case& c : steps(0xF0)) {
        KVRConfigBlock block = PatternBlock();
        sensor.script = {c.answer};
        EXPECT_EQ(c.check ? sensor.CheckConfigBlock(block) : sensor.CommitConfigBlock(block), c.result);
        EXPECT_EQ(sensor.GetLastStatus(), c.lastStatus);
        if (c.check && c.result) {
            EXPECT_EQ(block[0], 50); // the unit's copy from answer byte 10
            EXPECT_EQ(block[137], BYTE(50 + 137));
        } else {
            EXPECT_EQ(block, PatternBlock()); // a refused step leaves the block as sent
        }
    }
    for (const Case& c : steps(0xF2)) {
        KVRCaseRecord record = PatternRecord();
        sensor.script = {c.answer};
        EXPECT_EQ(c.check ? sensor.CheckCaseRecord(record) : sensor.CommitCaseRecord(record), c.result);
        EXPECT_EQ(sensor.GetLastStatus(), c.lastStatus);
        if (c.check && c.result) {
            EXPECT_EQ(record[0], 50);
            EXPECT_EQ(record[25], 75);
        } else {
            EXPECT_EQ(record, PatternRecord());
        }
    }
}

TEST_F(CKVRSensorTest, ReadsCopyTheAnswerWhenCodeAndEchoMatch)
{
    KVRConfigBlock block{};
    sensor.script = {CountingAnswer(0xB8, 0, 9, 1)};
    ASSERT_TRUE(sensor.ReadConfigBlock(block));
    EXPECT_EQ(block, PatternBlock());

    KVRCaseRecord record{};
    SensorAnswer caseAnswer = CountingAnswer(0xB9, 0, 9, 100);
    caseAnswer.SetByte(9, 4);
    sensor.script = {caseAnswer};
    ASSERT_TRUE(sensor.ReadCaseRecord(4, record));
    EXPECT_EQ(record[0], 4);
    EXPECT_EQ(record[25], 125);

    record = {};
    sensor.script = {caseAnswer};
    EXPECT_FALSE(sensor.ReadCaseRecord(5, record)) << "the answer names another case";
    EXPECT_EQ(record, KVRCaseRecord{});

    CKVRIdentity identity;
    sensor.script = {CountingAnswer(0xB2, 0, 9, 1)};
    EXPECT_FALSE(sensor.ReadIdentity(identity));
    EXPECT_EQ(identity.GetByte8(), 0xFF);
    SensorAnswer identityAnswer = CountingAnswer(0xB1, 0, 9, 1);
    PutText(identityAnswer, 9 + 10, std::string("PC - SIM\0", 9));
    sensor.script = {identityAnswer};
    ASSERT_TRUE(sensor.ReadIdentity(identity));
    EXPECT_EQ(identity.GetByte8(), 9);
    EXPECT_STREQ(identity.GetName(), "PC - SIM");
    EXPECT_EQ(identity.GetByte32(), 33);
}

TEST_F(CKVRSensorTest, CaseMaskAndCommand66Acceptance)
{
    const std::pair<BYTE, BOOL> masks[] = {{0, FALSE}, {1, TRUE}, {5, TRUE}};
    for (auto [status, accepted] : masks) {
        sensor.script = {DeviceAnswer(0xF4, status)};
        EXPECT_EQ(sensor.WriteCaseMask(0x0001), accepted);
        EXPECT_EQ(sensor.GetLastStatus(), status);
    }
    sensor.script = {DeviceAnswer(0xF5, 1)};
    EXPECT_FALSE(sensor.WriteCaseMask(0x0001));

    struct Case {
        BYTE code, byte9, byte10;
        BOOL result;
    };
    for (const Case& c : {Case{0xE6, 1, 9, TRUE}, Case{0xE6, 1, 8, FALSE}, Case{0xE6, 2, 9, FALSE},
                          Case{0xE7, 1, 9, FALSE}}) {
        SensorAnswer answer = DeviceAnswer(c.code, c.byte9);
        answer.SetByte(10, c.byte10);
        sensor.script = {answer};
        EXPECT_EQ(sensor.SendCommand66(9), c.result);
        EXPECT_EQ(sensor.GetLastStatus(), 0) << "0x66 keeps no status";
    }
}

TEST_F(CKVRSensorTest, SensorTypeComesFromTheTypeQueryAndTheBlockVariant)
{
    struct Case {
        int queried;
        std::optional<SensorAnswer> block;
        BOOL result;
        std::size_t sent;
        int code;
        int variant;
    };
    SensorAnswer block50 = BlockAnswer(0x03); // block byte 0 says 4: the query wins
    const Case cases[] = {
        {kDeviceTypeKVR132, BlockAnswer(0), TRUE, 1, 4, 0}, {kDeviceTypeKVR178, block50, TRUE, 1, 50, 1},
        {kDeviceTypeZOK7, BlockAnswer(0), TRUE, 1, 7, 0},   {0, BlockAnswer(0), FALSE, 0, 7, 0},
        {99, BlockAnswer(0), FALSE, 0, 7, 0},               {kDeviceTypeKVR132, std::nullopt, FALSE, 1, 7, 0},
    };
    for (const Case& c : cases) {
        CSensorType type(kDeviceTypeZOK7, 0);
        sensor.typeCode = c.queried;
        sensor.requests.clear();
        sensor.script = {c.block};
        EXPECT_EQ(sensor.ReadSensorType(type), c.result) << c.queried;
        ASSERT_EQ(sensor.requests.size(), c.sent) << c.queried;
        if (c.sent) {
            EXPECT_EQ(sensor.requests[0].Command(), 0x38);
        }
        EXPECT_EQ(type.GetTypeCode(), c.code) << c.queried;
        EXPECT_EQ(type.GetVariant(), c.variant) << c.queried;
    }
}

TEST(CKVRSensorSimulated, ReadsTheSimulatedUnit)
{
    TestIniFile ini("[SETUP]\nPort=9\nBaud=19200\n");
    CKVRSensor sensor(1);
    ASSERT_TRUE(sensor.Load(ini.Path()));
    ASSERT_TRUE(sensor.Open());

    KVRConfigBlock block{};
    ASSERT_TRUE(sensor.ReadConfigBlock(block));
    EXPECT_EQ(block[KVRBlockOffset::TypeCode], 4);
    EXPECT_EQ(block[KVRBlockOffset::SensorCount], 1);
    CString sensorName = GetDeviceName(std::span(block).subspan(KVRBlockOffset::SensorNames));
    EXPECT_STREQ(TrimDeviceName(sensorName), "ZOK 1");

    CSensorType type;
    ASSERT_TRUE(sensor.ReadSensorType(type));
    EXPECT_EQ(type.GetTypeCode(), 4);

    KVRCaseRecord record{};
    ASSERT_TRUE(sensor.ReadCaseRecord(1, record));
    EXPECT_EQ(record[KVRCaseOffset::Number], 1);

    CKVRIdentity identity;
    ASSERT_TRUE(sensor.ReadIdentity(identity));
    EXPECT_STREQ(identity.GetName(), "PC - SIM");
}

} // namespace
