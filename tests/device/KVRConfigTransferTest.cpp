// Whole KVR configurations: the block and case-record mapping both ways, the request
// sequences of write, check and commit, refused counts and failed steps, and transfers
// against the simulated unit.
#include "RecordingKVRSensor.h"

#include "device/KVRConfigTransfer.h"
#include "model/CArcShelter.h"
#include "model/CKVRConfig.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

CSensorType Type4(WORD variant = 0)
{
    return CSensorType(kDeviceTypeZOK4, variant);
}

std::string Bytes(std::span<const BYTE> bytes, std::size_t offset, std::size_t count)
{
    return std::string(bytes.begin() + offset, bytes.begin() + offset + count);
}

WORD WordAt(std::span<const BYTE> bytes, std::size_t offset)
{
    return WORD(bytes[offset] | (bytes[offset + 1] << 8));
}

std::unique_ptr<CArcShelter> Arc(WORD radius)
{
    auto arc = std::make_unique<CArcShelter>();
    arc->Initialize(Type4(), radius, kProtectiveField);
    return arc;
}

std::unique_ptr<CRectShelter> Rect(WORD left, WORD front, WORD right)
{
    auto rect = std::make_unique<CRectShelter>();
    rect->Initialize(Type4(), left, front, right, kProtectiveField);
    return rect;
}

// A polygon of count beams whose distances rise from first.
std::unique_ptr<CPolyShelter> Polygon(int count, int first, int kind)
{
    std::vector<WORD> distances(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        distances[std::size_t(i)] = WORD(first + i % 17);
    auto polygon = std::make_unique<CPolyShelter>();
    polygon->InitializeFromDistances(Type4(), distances.data(), count, kind);
    return polygon;
}

std::unique_ptr<CKVRShelterConfig> Pair(std::unique_ptr<CShelter> protective, std::unique_ptr<CShelter> warning)
{
    auto pair = std::make_unique<CKVRShelterConfig>();
    pair->SetShelter(kProtectiveField, std::move(protective));
    pair->SetShelter(kWarningField, std::move(warning));
    return pair;
}

struct CaseSpec {
    const char* name;
    std::array<int, 4> inputs;
    int speedLow, speedHigh;
    int outputA, outputB;
    int sensor, pair;
    BYTE scans;
    int follows, follow1, follow2;
};

std::unique_ptr<CKVRControlConfig> MakeCase(const CaseSpec& spec)
{
    auto control = std::make_unique<CKVRControlConfig>();
    for (int k = 1; k <= 4; ++k)
        control->SetInputState(k, spec.inputs[std::size_t(k - 1)]);
    control->GetSpeed().Set(spec.speedLow, spec.speedHigh);
    control->SetOutputA(spec.outputA);
    control->SetOutputB(spec.outputB);
    control->SetSensorIndex(spec.sensor);
    control->SetShelterIndex(spec.pair);
    control->SetScanCount(spec.scans);
    control->SetFollowCount(spec.follows);
    control->SetFollow1(spec.follow1);
    control->SetFollow2(spec.follow2);
    return control;
}

// Unit-wide values that differ from the defaults wherever the block can carry them.
void SetUnitValues(CKVRConfig& config)
{
    config.SetSensorType(Type4(1));
    config.SetUsedFlags(0x7F);
    config.SetOssdA(1);
    config.SetOssdB(0);
    config.SetSpeedScale1(40);
    config.SetSpeedScale2(60);
    config.SetValueV1(30);
    config.SetValueV2(3);
    config.SetDeviceBitV3(1);
    config.GetModeDelay1().Set(1, 30);
    config.GetModeDelay2().Set(0, 2);
    config.SetOptionV4(0);
}

const CaseSpec kCases[] = {
    {"Slow", {1, 2, 0, 0}, 0, 0, 1, 0, 0, 0, 2, 1, 1, -1},
    {"Fast run", {2, 1, 0, 0}, -100, 300, 0, 1, 1, 1, 3, 2, 2, 3},
    {"Left", {0, 0, 1, 2}, 0, 0, 1, 1, 2, 2, 4, 0, -1, -1},
    {"Right", {0, 0, 2, 1}, 50, 1200, 0, 0, 2, 3, 5, 1, 4, -1},
    {"Stop", {1, 1, 1, 1}, 0, 0, 1, 0, 0, 3, 2, 2, 0, 1},
};

// Three sensors, four field pairs of every protective shape, five cases.
std::unique_ptr<CKVRConfig> LargeConfig()
{
    auto config = std::make_unique<CKVRConfig>();
    SetUnitValues(*config);
    for (const char* name : {"Front", "Rear", "Side scanner"})
        config->AddSensorConfig(name, std::make_unique<CKVRSensorConfig>());
    config->AddShelterConfig("Dock", Pair(Rect(150, 200, 120), Polygon(181, 250, kWarningField)));
    config->AddShelterConfig("Aisle A", Pair(Arc(300), Polygon(181, 320, kWarningField)));
    config->AddShelterConfig("Aisle B", Pair(Polygon(181, 100, kProtectiveField), Polygon(91, 400, kWarningField)));
    config->AddShelterConfig("Gate", Pair(Polygon(361, 120, kProtectiveField), Polygon(361, 200, kWarningField)));
    for (const CaseSpec& spec : kCases)
        config->AddControlConfig(spec.name, MakeCase(spec));
    return config;
}

void ExpectSameField(const CShelter* expected, const CShelter* actual, const std::string& what)
{
    ASSERT_NE(expected, nullptr) << what;
    ASSERT_NE(actual, nullptr) << what;
    ASSERT_EQ(expected->GetRuntimeClass(), actual->GetRuntimeClass()) << what;
    EXPECT_EQ(expected->GetFieldKind(), actual->GetFieldKind()) << what;
    if (auto* arc = dynamic_cast<const CArcShelter*>(expected)) {
        EXPECT_EQ(arc->GetRadius(), static_cast<const CArcShelter*>(actual)->GetRadius()) << what;
    } else if (auto* rect = dynamic_cast<const CRectShelter*>(expected)) {
        const auto* other = static_cast<const CRectShelter*>(actual);
        EXPECT_EQ(rect->GetLeft(), other->GetLeft()) << what;
        EXPECT_EQ(rect->GetFront(), other->GetFront()) << what;
        EXPECT_EQ(rect->GetRight(), other->GetRight()) << what;
    } else {
        const auto* polygon = static_cast<const CPolyShelter*>(expected);
        const auto* other = static_cast<const CPolyShelter*>(actual);
        ASSERT_EQ(polygon->GetBeamCount(), other->GetBeamCount()) << what;
        for (int i = 0; i < polygon->GetBeamCount(); ++i)
            ASSERT_EQ(polygon->GetBeamDistance(i), other->GetBeamDistance(i)) << what << " beam " << i;
    }
}

void ExpectSameCase(const CKVRControlConfig& expected, const CKVRControlConfig& actual, const std::string& what)
{
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(expected.GetInputState(k), actual.GetInputState(k)) << what << " input " << k;
    EXPECT_EQ(expected.GetSpeed().GetLow(), actual.GetSpeed().GetLow()) << what;
    EXPECT_EQ(expected.GetSpeed().GetHigh(), actual.GetSpeed().GetHigh()) << what;
    EXPECT_EQ(expected.GetOutputA(), actual.GetOutputA()) << what;
    EXPECT_EQ(expected.GetOutputB(), actual.GetOutputB()) << what;
    EXPECT_EQ(expected.GetSensorIndex(), actual.GetSensorIndex()) << what;
    EXPECT_EQ(expected.GetShelterIndex(), actual.GetShelterIndex()) << what;
    EXPECT_EQ(expected.GetScanCount(), actual.GetScanCount()) << what;
    EXPECT_EQ(expected.GetFollowCount(), actual.GetFollowCount()) << what;
    EXPECT_EQ(expected.GetFollow1(), actual.GetFollow1()) << what;
    EXPECT_EQ(expected.GetFollow2(), actual.GetFollow2()) << what;
}

// Everything that travels; value V5 and used-flag bit 7 do not.
void ExpectSameUnitValues(const CKVRConfig& expected, const CKVRConfig& actual)
{
    EXPECT_EQ(expected.GetSensorType(), actual.GetSensorType());
    EXPECT_EQ(expected.GetUsedFlags() & 0x7F, actual.GetUsedFlags() & 0x7F);
    EXPECT_EQ(expected.GetOssdA(), actual.GetOssdA());
    EXPECT_EQ(expected.GetOssdB(), actual.GetOssdB());
    EXPECT_EQ(expected.GetSpeedScale1(), actual.GetSpeedScale1());
    EXPECT_EQ(expected.GetSpeedScale2(), actual.GetSpeedScale2());
    EXPECT_EQ(expected.GetValueV1(), actual.GetValueV1());
    EXPECT_EQ(expected.GetValueV2(), actual.GetValueV2());
    EXPECT_EQ(expected.GetDeviceBitV3(), actual.GetDeviceBitV3());
    EXPECT_EQ(expected.GetModeDelay1(), actual.GetModeDelay1());
    EXPECT_EQ(expected.GetModeDelay2(), actual.GetModeDelay2());
    EXPECT_EQ(expected.GetOptionV4(), actual.GetOptionV4());
}

// Field by field, list by list; names compared as the unit keeps them (8 characters).
void ExpectSameConfig(const CKVRConfig& expected, const CKVRConfig& actual, BOOL withFields)
{
    ExpectSameUnitValues(expected, actual);
    ASSERT_EQ(expected.GetSensorConfigCount(), actual.GetSensorConfigCount());
    for (int i = 0; i < expected.GetSensorConfigCount(); ++i)
        EXPECT_STREQ(expected.GetSensorConfigName(i).Left(8), actual.GetSensorConfigName(i));
    ASSERT_EQ(expected.GetShelterConfigCount(), actual.GetShelterConfigCount());
    for (int i = 0; i < expected.GetShelterConfigCount(); ++i) {
        EXPECT_STREQ(expected.GetShelterConfigName(i).Left(8), actual.GetShelterConfigName(i));
        if (!withFields)
            continue;
        for (int kind : {kProtectiveField, kWarningField})
            ExpectSameField(expected.GetShelterConfig(i)->GetShelter(kind), actual.GetShelterConfig(i)->GetShelter(kind),
                            "pair " + std::to_string(i) + " kind " + std::to_string(kind));
    }
    ASSERT_EQ(expected.GetControlConfigCount(), actual.GetControlConfigCount());
    for (int i = 0; i < expected.GetControlConfigCount(); ++i) {
        EXPECT_STREQ(expected.GetControlConfigName(i).Left(8), actual.GetControlConfigName(i));
        ExpectSameCase(*expected.GetControlConfig(i), *actual.GetControlConfig(i), "case " + std::to_string(i));
    }
}

// ---------------------------------------------------------------------------------------
// Block and case records

TEST(KVRConfigBlockTest, PacksNamesCountsAndUnitValues)
{
    CKVRConfig config;
    SetUnitValues(config);
    config.SetSensorType(CSensorType(kDeviceTypeZOK7, 1));
    config.SetSpeedScale1(0x12345); // only the low 16 bits travel
    config.AddSensorConfig("ABCD", std::make_unique<CKVRSensorConfig>());
    config.AddSensorConfig("ABCDEFGHIJ", std::make_unique<CKVRSensorConfig>());
    config.AddShelterConfig("Feld 1", std::make_unique<CKVRShelterConfig>());
    for (int i = 0; i < 3; ++i)
        config.AddControlConfig("c", std::make_unique<CKVRControlConfig>());

    const KVRConfigBlock block = PackConfigBlock(config);
    EXPECT_EQ(block[0], 7);
    EXPECT_EQ(block[1], 2);
    EXPECT_EQ(Bytes(block, 2, 9), std::string("ABCD    \0", 9));
    EXPECT_EQ(Bytes(block, 11, 9), std::string("ABCDEFGH\0", 9));
    EXPECT_EQ(Bytes(block, 20, 9), std::string("        \0", 9)) << "an unused slot is sent as blanks";
    EXPECT_EQ(Bytes(block, 29, 9), std::string("        \0", 9));
    EXPECT_EQ(block[42], 0x03);
    EXPECT_EQ(block[43], 0x0F | 0x20 | 0x40) << "pair 2 has mode 0, speed is used";
    EXPECT_EQ(block[44], 0x03);
    EXPECT_EQ(block[45], 0x01);
    EXPECT_EQ(block[47], 1);
    EXPECT_EQ(Bytes(block, 48, 9), std::string("Feld 1  \0", 9));
    EXPECT_EQ(Bytes(block, 48 + 9 * 7, 9), std::string("        \0", 9));
    EXPECT_EQ(block[121], 3);
    EXPECT_EQ(WordAt(block, 122), 0x2345);
    EXPECT_EQ(WordAt(block, 124), 60);
    EXPECT_EQ(WordAt(block, 126), 30);
    EXPECT_EQ(block[130], 3);
    EXPECT_EQ(Bytes(block, 131, 4), std::string("\x01\x1E\x00\x02", 4));
    EXPECT_EQ(block[135], 0);
    for (std::size_t reserved : {38u, 39u, 40u, 41u, 46u, 120u, 128u, 129u, 136u, 137u})
        EXPECT_EQ(block[reserved], 0) << reserved;

    // Back into a default configuration: every transferred value arrives, the rest keeps
    // the configuration's own.
    CKVRConfig read;
    read.SetUsedFlags(0x80);
    read.SetValueV5(1234);
    UnpackConfigBlock(block, read);
    config.SetSpeedScale1(0x2345);
    ExpectSameUnitValues(config, read);
    EXPECT_EQ(read.GetUsedFlags(), 0xFF) << "bit 7 keeps its value";
    EXPECT_EQ(read.GetValueV5(), 1234);
    EXPECT_EQ(read.GetSensorConfigCount(), 0) << "lists are not touched";
    EXPECT_STREQ(BlockSensorName(block, 1), "ABCDEFGH");
    EXPECT_STREQ(BlockFieldPairName(block, 0), "Feld 1");
}

TEST(KVRConfigBlockTest, ReceivedModeDelayPairsAreClamped)
{
    struct Case {
        BYTE mode, delay;
        BYTE expectedMode, expectedDelay;
    };
    const Case cases[] = {{1, 61, 1, 2}, {1, 1, 1, 2}, {1, 60, 1, 60}, {1, 30, 1, 30}, {0, 30, 0, 2}, {2, 45, 2, 2}};
    for (const Case& c : cases) {
        KVRConfigBlock block{};
        block[KVRBlockOffset::Mode1] = c.mode;
        block[KVRBlockOffset::Delay1] = c.delay;
        block[KVRBlockOffset::Mode2] = c.mode;
        block[KVRBlockOffset::Delay2] = c.delay;
        CKVRConfig config;
        UnpackConfigBlock(block, config);
        const std::string what = std::to_string(c.mode) + "/" + std::to_string(c.delay);
        EXPECT_EQ(config.GetModeDelay1().GetMode(), c.expectedMode) << what;
        EXPECT_EQ(config.GetModeDelay1().GetDelay(), c.expectedDelay) << what;
        EXPECT_EQ(config.GetModeDelay2().GetMode(), c.expectedMode) << what;
        EXPECT_EQ(config.GetModeDelay2().GetDelay(), c.expectedDelay) << what;
    }
}

TEST(KVRCaseRecordTest, PacksInputsSpeedIndexesAndFollowingCases)
{
    // Input states 0, 1, 2 and an unknown one as codes 3, 2, 1 and 0; a speed range.
    auto control = MakeCase({"", {0, 1, 2, 0}, -100, 300, 1, 1, 2, 0, 4, 2, 1, 5});
    control->SetInputState(4, 7);
    const KVRCaseRecord record = PackCaseRecord(*control, 2, "Fall 3");
    EXPECT_EQ(record[0], 3);
    EXPECT_EQ(Bytes(record, 1, 9), std::string("Fall 3  \0", 9));
    EXPECT_EQ(WordAt(record, 10), 0x0C00 | 0x03 | 0x02 << 2 | 0x01 << 4);
    EXPECT_EQ(record[12], 3);
    EXPECT_EQ(record[13], 1);
    EXPECT_EQ(record[15], 0x03);
    EXPECT_EQ(record[19], 4);
    EXPECT_EQ(Bytes(record, 20, 2), "\x02\x06");
    EXPECT_EQ(WordAt(record, 22), 300);
    EXPECT_EQ(WordAt(record, 24), WORD(-100));
    for (std::size_t reserved : {14u, 16u, 17u, 18u})
        EXPECT_EQ(record[reserved], 0) << reserved;

    // Without a speed range: bits 10-11 clear, sent as -2000 to 2000, read back as 0 to 0.
    auto still = MakeCase({"", {0, 0, 0, 0}, 0, 0, 0, 0, -1, -1, 2, 0, -1, -1});
    const KVRCaseRecord stillRecord = PackCaseRecord(*still, 0, "");
    EXPECT_EQ(WordAt(stillRecord, 10), 0x00FF);
    EXPECT_EQ(WordAt(stillRecord, 24), WORD(-2000));
    EXPECT_EQ(WordAt(stillRecord, 22), 2000);
    EXPECT_EQ(stillRecord[12], 0) << "sensor index -1";
    auto read = UnpackCaseRecord(stillRecord);
    EXPECT_EQ(read->GetSpeed().GetLow(), 0);
    EXPECT_EQ(read->GetSpeed().GetHigh(), 0);
    EXPECT_EQ(read->GetSensorIndex(), -1);
    EXPECT_EQ(read->GetShelterIndex(), -1);

    // Following cases by count.
    struct Follow {
        int count, first, second;
        const char* bytes;
        int readCount, readFirst, readSecond;
    };
    const Follow follows[] = {
        {0, 4, 5, "\xFF\xFF", 0, -1, -1},
        {1, 3, -1, "\x04\x04", 1, 3, -1},
        {2, 0, 6, "\x01\x07", 2, 0, 6},
        {3, 1, 2, "\xFF\xFF", 0, -1, -1},
    };
    for (const Follow& f : follows) {
        auto withFollow = MakeCase({"", {0, 0, 0, 0}, 0, 0, 0, 0, 0, 0, 2, f.count, f.first, f.second});
        const KVRCaseRecord followRecord = PackCaseRecord(*withFollow, 0, "x");
        EXPECT_EQ(Bytes(followRecord, 20, 2), f.bytes) << f.count;
        auto back = UnpackCaseRecord(followRecord);
        EXPECT_EQ(back->GetFollowCount(), f.readCount) << f.count;
        EXPECT_EQ(back->GetFollow1(), f.readFirst) << f.count;
        EXPECT_EQ(back->GetFollow2(), f.readSecond) << f.count;
    }
}

TEST(KVRCaseRecordTest, UnpacksEveryPackedCaseUnchanged)
{
    for (const CaseSpec& spec : kCases) {
        auto control = MakeCase(spec);
        const KVRCaseRecord record = PackCaseRecord(*control, 4, spec.name);
        ExpectSameCase(*control, *UnpackCaseRecord(record), spec.name);
        EXPECT_STREQ(CaseRecordName(record), CString(spec.name).Left(8));
    }
    // An input code 0 keeps the default state; a speed word without bits 10-11 is ignored.
    KVRCaseRecord record{};
    record[KVRCaseOffset::ControlWord] = 0x06; // input 1 code 2, input 2 code 1
    record[KVRCaseOffset::ControlWord + 1] = 0x04;
    record[KVRCaseOffset::SpeedLow] = 50;
    auto control = UnpackCaseRecord(record);
    EXPECT_EQ(control->GetInputState(1), kInputLow);
    EXPECT_EQ(control->GetInputState(2), kInputHigh);
    EXPECT_EQ(control->GetInputState(3), kInputDontCare);
    EXPECT_FALSE(control->GetSpeed().IsSet());
}

TEST(KVRCaseRecordTest, CaseMaskSetsBitZeroAndOneBitPerCase)
{
    EXPECT_EQ(KVRCaseMask(0), 0x0001);
    EXPECT_EQ(KVRCaseMask(3), 0x000F);
    EXPECT_EQ(KVRCaseMask(15), 0xFFFF);
}

// ---------------------------------------------------------------------------------------
// Scripted unit: corrected copies, refusals and hostile counts

SensorAnswer BlockCheckAnswer(const KVRConfigBlock& block, BYTE status = 2)
{
    SensorAnswer answer = DeviceAnswer(0xF0, status);
    std::copy(block.begin(), block.end(), answer.Bytes().begin() + 10);
    return answer;
}

SensorAnswer CaseCheckAnswer(const KVRCaseRecord& record, BYTE status = 2)
{
    SensorAnswer answer = DeviceAnswer(0xF2, status);
    std::copy(record.begin(), record.end(), answer.Bytes().begin() + 10);
    return answer;
}

// A configuration without field pairs: one sensor and the given number of cases.
std::unique_ptr<CKVRConfig> SmallConfig(int cases)
{
    auto config = std::make_unique<CKVRConfig>();
    SetUnitValues(*config);
    config->AddSensorConfig("S1", std::make_unique<CKVRSensorConfig>());
    for (int i = 0; i < cases; ++i)
        config->AddControlConfig(CString("Case" + std::to_string(i)), MakeCase(kCases[std::size_t(i)]));
    return config;
}

class KVRConfigScriptedTest : public ::testing::Test {
protected:
    std::string Commands() const
    {
        std::ostringstream text;
        for (const SensorRequest& request : sensor.requests)
            text << std::hex << int(request.Command()) << ' ';
        return text.str();
    }

    RecordingKVRSensor sensor;
};

TEST_F(KVRConfigScriptedTest, WriteCommitsTheUnitsCorrectedBlockAndRecordsAndSendsTheMask)
{
    const auto config = SmallConfig(3);
    KVRConfigBlock corrected = PackConfigBlock(*config);
    corrected[KVRBlockOffset::ValueV2] = 9;
    KVRCaseRecord correctedCase = PackCaseRecord(*config->GetControlConfig(1), 1, "Case1");
    correctedCase[KVRCaseOffset::Scans] = 7;
    sensor.script = {BlockCheckAnswer(corrected),
                     DeviceAnswer(0xF0, 1),
                     CaseCheckAnswer(PackCaseRecord(*config->GetControlConfig(0), 0, "Case0")),
                     DeviceAnswer(0xF2, 1),
                     CaseCheckAnswer(correctedCase),
                     DeviceAnswer(0xF2, 1),
                     CaseCheckAnswer(PackCaseRecord(*config->GetControlConfig(2), 2, "Case2")),
                     DeviceAnswer(0xF2, 1),
                     DeviceAnswer(0xF4, 1)};
    EXPECT_TRUE(sensor.WriteConfiguration(*config, TRUE)) << "no field pairs, no field steps";
    EXPECT_EQ(Commands(), "70 71 72 73 72 73 72 73 74 ");
    EXPECT_EQ(Bytes(sensor.requests[0].Bytes(), 9, kKVRConfigBlockSize),
              Bytes(PackConfigBlock(*config), 0, kKVRConfigBlockSize));
    EXPECT_EQ(sensor.requests[1].Byte(9 + KVRBlockOffset::ValueV2), 9) << "the unit's copy is committed";
    EXPECT_EQ(sensor.requests[5].Byte(9 + KVRCaseOffset::Scans), 7);
    EXPECT_EQ(sensor.requests[8].Word(9), 0x000F);
}

TEST_F(KVRConfigScriptedTest, WriteStopsAtTheFirstFailedStep)
{
    const auto config = SmallConfig(2);
    const KVRConfigBlock block = PackConfigBlock(*config);
    struct Case {
        const char* name;
        std::deque<std::optional<SensorAnswer>> script;
        const char* commands;
    };
    const Case cases[] = {
        {"refused block check", {BlockCheckAnswer(block, 1)}, "70 "},
        {"refused case check",
         {BlockCheckAnswer(block), DeviceAnswer(0xF0, 1), CaseCheckAnswer({}, 0)},
         "70 71 72 "},
        {"no mask answer",
         {BlockCheckAnswer(block), DeviceAnswer(0xF0, 1), CaseCheckAnswer({}), DeviceAnswer(0xF2, 1),
          CaseCheckAnswer({}), DeviceAnswer(0xF2, 1), std::nullopt},
         "70 71 72 73 72 73 74 "},
    };
    for (const Case& c : cases) {
        sensor.requests.clear();
        sensor.script = c.script;
        EXPECT_FALSE(sensor.WriteConfiguration(*config, FALSE)) << c.name;
        EXPECT_EQ(Commands(), c.commands) << c.name;
    }
}

TEST_F(KVRConfigScriptedTest, CountsBeyondTheConfigurationOrTheUnitAreRefused)
{
    // A case count the unit returned above the configuration's own: nothing committed.
    const auto config = SmallConfig(2);
    KVRConfigBlock grown = PackConfigBlock(*config);
    grown[KVRBlockOffset::CaseCount] = 3;
    sensor.script = {BlockCheckAnswer(grown)};
    EXPECT_FALSE(sensor.WriteConfiguration(*config, FALSE));
    EXPECT_EQ(Commands(), "70 ");

    sensor.requests.clear();
    sensor.script = {BlockCheckAnswer(grown)};
    sensor.SetSimulated(0); // the unit's copy counts
    EXPECT_EQ(sensor.CheckConfiguration(*config), nullptr);
    sensor.SetSimulated(1);
    EXPECT_EQ(Commands(), "70 ");

    // Received counts above 4 sensors, 8 field pairs or 15 cases: the read stops at the block.
    for (std::size_t offset : {KVRBlockOffset::SensorCount, KVRBlockOffset::FieldPairCount, KVRBlockOffset::CaseCount}) {
        sensor.requests.clear();
        SensorAnswer answer = DeviceAnswer(0xB8, kDeviceTypeZOK4);
        answer.SetByte(9 + offset, offset == KVRBlockOffset::CaseCount ? 16 : 9);
        sensor.script = {answer};
        EXPECT_EQ(sensor.ReadConfiguration(), nullptr) << offset;
        EXPECT_EQ(Commands(), "38 ") << offset;
    }

    // A configuration with more cases than the unit keeps is not sent at all.
    auto tooMany = SmallConfig(5);
    for (int i = 0; i < 11; ++i)
        tooMany->AddControlConfig("more", std::make_unique<CKVRControlConfig>());
    sensor.requests.clear();
    EXPECT_FALSE(sensor.WriteConfiguration(*tooMany, FALSE));
    EXPECT_FALSE(sensor.CommitConfiguration(*tooMany, FALSE));
    EXPECT_EQ(sensor.CheckConfiguration(*tooMany), nullptr);
    EXPECT_TRUE(sensor.requests.empty());
}

TEST_F(KVRConfigScriptedTest, CheckAdoptsTheUnitsCopyUnlessSimulated)
{
    auto config = SmallConfig(1);
    config->SetValueV5(777);
    config->AddShelterConfig("Dock", Pair(Arc(300), Polygon(181, 250, kWarningField)));
    KVRConfigBlock corrected = PackConfigBlock(*config);
    corrected[KVRBlockOffset::Delay1] = 20;
    PutDeviceName(std::span(corrected).subspan(KVRBlockOffset::SensorNames, 9), "Unit S1");
    KVRCaseRecord correctedCase = PackCaseRecord(*config->GetControlConfig(0), 0, "Case0");
    correctedCase[KVRCaseOffset::Scans] = 9;

    for (int simulated : {0, 1}) {
        sensor.requests.clear();
        sensor.SetSimulated(simulated);
        sensor.script = {BlockCheckAnswer(corrected), CaseCheckAnswer(correctedCase)};
        const auto checked = sensor.CheckConfiguration(*config);
        sensor.SetSimulated(1);
        ASSERT_NE(checked, nullptr) << simulated;
        EXPECT_EQ(Commands(), "70 72 ") << "first steps only";
        EXPECT_EQ(checked->GetValueV5(), 777);
        EXPECT_EQ(checked->GetModeDelay1().GetDelay(), simulated ? 30 : 20);
        EXPECT_STREQ(checked->GetSensorConfigName(0), simulated ? "S1" : "Unit S1");
        EXPECT_EQ(checked->GetControlConfig(0)->GetScanCount(), simulated ? kCases[0].scans : 9);
        ASSERT_EQ(checked->GetShelterConfigCount(), 1);
        const CShelter* field = checked->GetShelterConfig(0)->GetShelter(kProtectiveField);
        EXPECT_NE(field, config->GetShelterConfig(0)->GetShelter(kProtectiveField)) << "the fields are copies";
        ExpectSameField(config->GetShelterConfig(0)->GetShelter(kProtectiveField), field, "protective");
    }

    // A refused case check gives no configuration.
    sensor.requests.clear();
    sensor.script = {BlockCheckAnswer(corrected), CaseCheckAnswer(correctedCase, 1)};
    EXPECT_EQ(sensor.CheckConfiguration(*config), nullptr);
}

TEST_F(KVRConfigScriptedTest, ReadGivesNothingWhenAFieldOrCaseIsMissing)
{
    SensorAnswer block = DeviceAnswer(0xB8, kDeviceTypeZOK4);
    block.SetByte(9 + KVRBlockOffset::FieldPairCount, 1);
    sensor.script = {block, DeviceAnswer(0xC5, 2)}; // the field answer names another pair
    EXPECT_EQ(sensor.ReadConfiguration(), nullptr);
    EXPECT_EQ(Commands(), "38 45 ");

    sensor.requests.clear();
    block.SetByte(9 + KVRBlockOffset::FieldPairCount, 0);
    block.SetByte(9 + KVRBlockOffset::CaseCount, 2);
    SensorAnswer firstCase = DeviceAnswer(0xB9, 1);
    sensor.script = {block, firstCase, std::nullopt};
    EXPECT_EQ(sensor.ReadConfiguration(), nullptr);
    EXPECT_EQ(Commands(), "38 39 39 ");
}

// ---------------------------------------------------------------------------------------
// The simulated unit

// A simulated session that logs every command on its way to the simulator.
class LoggingKVRSensor : public CKVRSensor {
public:
    LoggingKVRSensor() : CKVRSensor(1)
    {
        Load(m_ini.Path());
        Open();
    }

    BOOL Telegram(RequestSpan request, AnswerSpan answer) override
    {
        std::ostringstream text;
        text << std::hex << int(request[RequestOffset::Command]);
        if (request[RequestOffset::Command] == 0x41)
            text << '.' << int(request[RequestOffset::Data]);
        log += text.str() + ' ';
        return CKVRSensor::Telegram(request, answer);
    }

    std::string log;

private:
    TestIniFile m_ini{"[SETUP]\nPort=9\nBaud=19200\n"};
};

// The simulated unit lives as long as the process: what a test writes is put back.
class KVRSimulatedConfigTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        original = sensor.ReadConfiguration();
        ASSERT_NE(original, nullptr);
        sensor.log.clear();
    }
    void TearDown() override
    {
        if (original) {
            EXPECT_TRUE(sensor.WriteConfiguration(*original, TRUE)) << "the unit's defaults put back";
        }
    }

    LoggingKVRSensor sensor;
    std::unique_ptr<CKVRConfig> original;
};

TEST_F(KVRSimulatedConfigTest, DefaultReadGivesTheUnitsOwnConfiguration)
{
    const auto config = sensor.ReadConfiguration();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(sensor.log, "38 45 38 45 38 39 ");
    EXPECT_EQ(config->GetSensorType().GetTypeCode(), kDeviceTypeZOK4);
    ASSERT_EQ(config->GetSensorConfigCount(), 1);
    EXPECT_STREQ(config->GetSensorConfigName(0), "ZOK 1");
    ASSERT_EQ(config->GetShelterConfigCount(), 1);
    EXPECT_STREQ(config->GetShelterConfigName(0), "Feld 1");
    const auto* arc = dynamic_cast<const CArcShelter*>(config->GetShelterConfig(0)->GetShelter(kProtectiveField));
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->GetRadius(), 400);
    const auto* warning = dynamic_cast<const CPolyShelter*>(config->GetShelterConfig(0)->GetShelter(kWarningField));
    ASSERT_NE(warning, nullptr);
    ASSERT_EQ(warning->GetBeamCount(), 181);
    for (int i = 0; i < 181; ++i)
        ASSERT_EQ(warning->GetBeamDistance(i), 35) << i;
    ASSERT_EQ(config->GetControlConfigCount(), 1);
    EXPECT_STREQ(config->GetControlConfigName(0), "Fall 1");
    EXPECT_EQ(config->GetValueV5(), CKVRConfig().GetValueV5());
}

TEST_F(KVRSimulatedConfigTest, WrittenConfigurationReadsBackEqual)
{
    const auto config = LargeConfig();
    ASSERT_TRUE(sensor.WriteConfiguration(*config, TRUE));
    const auto read = sensor.ReadConfiguration();
    ASSERT_NE(read, nullptr);
    EXPECT_STREQ(read->GetSensorConfigName(2), "Side sca") << "names travel as 8 characters";
    ExpectSameConfig(*config, *read, TRUE);
}

TEST_F(KVRSimulatedConfigTest, WriteCheckAndCommitSendTheirSteps)
{
    auto config = LargeConfig();
    config->GetShelterConfig(1)->SetShelter(kWarningField, nullptr);

    ASSERT_TRUE(sensor.WriteConfiguration(*config, TRUE));
    const std::string cases = "72 73 72 73 72 73 72 73 72 73 74 ";
    const std::string pairWithWarning = "40 38 41.1 41.2 43 ";
    const std::string pairWithoutWarning = "40 38 41.1 41.2 ";
    const std::string fields = pairWithWarning + pairWithoutWarning + pairWithWarning + pairWithWarning;
    EXPECT_EQ(sensor.log, "70 71 " + cases + fields);

    sensor.log.clear();
    const auto checked = sensor.CheckConfiguration(*config);
    ASSERT_NE(checked, nullptr);
    EXPECT_EQ(sensor.log, "70 72 72 72 72 72 ");
    ExpectSameConfig(*config, *checked, FALSE);

    sensor.log.clear();
    ASSERT_TRUE(sensor.CommitConfiguration(*checked, FALSE));
    EXPECT_EQ(sensor.log, "71 73 73 73 73 73 74 ");
    sensor.log.clear();
    ASSERT_TRUE(sensor.CommitConfiguration(*checked, TRUE));
    EXPECT_EQ(sensor.log, "71 73 73 73 73 73 74 " + fields);

    // Without cases the mask carries bit 0 alone; the write then ends without field steps.
    auto bare = SmallConfig(0);
    sensor.log.clear();
    ASSERT_TRUE(sensor.WriteConfiguration(*bare, FALSE));
    EXPECT_EQ(sensor.log, "70 71 74 ");
}

} // namespace
