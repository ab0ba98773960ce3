// Whole-configuration read, write, check and commit of a ZOK scanner: the exact request
// sequences against scripted answers, and round trips with the simulated scanner.
#include "RecordingZOKSensor.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CSensorType.h"
#include "model/CZOKConfig.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace {

constexpr const char* kInWindow = "03.20   ";
constexpr const char* kOutsideWindow = "04.00   ";

// One exchange: the request expected (command, byte 9, byte 10) and the scanner's answer.
struct Step {
    BYTE command;
    std::optional<BYTE> byte9;
    std::optional<BYTE> byte10;
    SensorAnswer answer;
};

Step Value(BYTE command, BYTE value, BYTE answerCode, BYTE status, std::optional<BYTE> echo = std::nullopt)
{
    return {command, value, std::nullopt, EchoAnswer(answerCode, status, echo.value_or(value))};
}

Step ModeDelay(BYTE command, BYTE mode, BYTE delay, BYTE status, std::optional<BYTE> answeredDelay = std::nullopt)
{
    SensorAnswer answer = EchoAnswer(0xC4, status, mode);
    answer.SetByte(11, answeredDelay.value_or(delay));
    return {command, mode, delay, answer};
}

Step Identity(const std::string& firmware, std::initializer_list<std::pair<std::size_t, BYTE>> bytes = {})
{
    return {0x31, std::nullopt, std::nullopt, IdentityAnswer(firmware, bytes)};
}

// A 0x45 request of the sub-code, answered at 12:34 on 5 March 2021 with the shape and
// the words from byte 27.
Step FieldRead(BYTE subCode, BYTE shape, const std::vector<WORD>& words)
{
    SensorAnswer answer = DeviceAnswer(0xC5, 0);
    answer.SetByte(19, shape);
    const BYTE time[] = {34, 12, 5, 2};
    for (std::size_t i = 0; i < std::size(time); ++i)
        answer.SetByte(21 + i, time[i]);
    answer.SetWord(25, 121);
    for (std::size_t i = 0; i < words.size(); ++i)
        answer.SetWord(27 + 2 * i, words[i]);
    return {0x45, std::nullopt, subCode, answer};
}

// The configuration the scripted transfers carry.
CZOKConfig ChangedConfig()
{
    CZOKConfig config;
    config.SetSensorType(CSensorType(4, 1));
    config.SetOption1(5);
    config.SetOption3(0);
    config.GetModeDelay().Set(1, 10);
    config.SetScanCount(4);
    config.SetOption4(0);
    config.SetOption5(2);
    return config;
}

std::vector<Step> WriteSteps(const std::string& firmware, BOOL inWindow)
{
    std::vector<Step> steps = {Value(0x67, 5, 0xE7, 1), Value(0x60, 0, 0xE0, 2), Value(0x61, 0, 0xE0, 1),
                               Identity(firmware)};
    if (inWindow)
        steps.insert(steps.end(), {Value(0x69, 1, 0xE9, 2), Value(0x6A, 1, 0xE9, 1)});
    steps.insert(steps.end(), {ModeDelay(0x44, 1, 10, 2), ModeDelay(0x47, 1, 10, 1), Value(0x63, 4, 0xE4, 2),
                               Value(0x64, 4, 0xE4, 1), Value(0x65, 0, 0xE5, 1), Value(0x62, 2, 0xE2, 1)});
    return steps;
}

std::vector<Step> CheckSteps(const std::string& firmware, BOOL inWindow)
{
    std::vector<Step> steps = {Value(0x60, 0, 0xE0, 2), Identity(firmware)};
    if (inWindow)
        steps.push_back(Value(0x69, 1, 0xE9, 2));
    steps.insert(steps.end(), {ModeDelay(0x44, 1, 10, 2), Value(0x63, 4, 0xE4, 2)});
    return steps;
}

std::vector<Step> CommitSteps(const std::string& firmware, BOOL inWindow)
{
    std::vector<Step> steps = {Value(0x67, 5, 0xE7, 1), Value(0x61, 0, 0xE0, 1), Identity(firmware)};
    if (inWindow)
        steps.push_back(Value(0x6A, 1, 0xE9, 1));
    steps.insert(steps.end(), {ModeDelay(0x47, 1, 10, 1), Value(0x64, 4, 0xE4, 1), Value(0x65, 0, 0xE5, 1),
                               Value(0x62, 2, 0xE2, 1)});
    return steps;
}

// The read: type (0x31), identification, protective field with its type, warning field
// with its type.
std::vector<Step> ReadSteps(std::initializer_list<std::pair<std::size_t, BYTE>> identity = {})
{
    std::vector<Step> steps = {Identity(kInWindow, {{30, 1}}), Identity(kInWindow, identity),
                               FieldRead(0, 1, {300}), Identity(kInWindow, {{30, 1}}),
                               FieldRead(1, 3, {2, 80, 90, 100}), Identity(kInWindow, {{30, 1}})};
    return steps;
}

// Runs the operation against the steps' answers; TRUE when it reported success.
using Transfer = std::function<BOOL(CZOKSensor&)>;

void Script(RecordingZOKSensor& sensor, const std::vector<Step>& steps)
{
    for (const Step& step : steps)
        sensor.script.push_back(step.answer);
}

void ExpectRequests(const RecordingZOKSensor& sensor, const std::vector<Step>& steps)
{
    ASSERT_EQ(sensor.requests.size(), steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        const SensorRequest& request = sensor.requests[i];
        EXPECT_EQ(request.Command(), steps[i].command);
        EXPECT_EQ(request.Byte(RequestOffset::Address), 0);
        if (steps[i].byte9) {
            EXPECT_EQ(request.Byte(9), *steps[i].byte9);
        }
        if (steps[i].byte10) {
            EXPECT_EQ(request.Byte(10), *steps[i].byte10);
        }
    }
}

struct TransferCase {
    const char* name;
    Transfer transfer;
    std::function<std::vector<Step>(const std::string&, BOOL)> steps;
};

const CZOKConfig& Written()
{
    static const CZOKConfig config = ChangedConfig();
    return config;
}

const TransferCase kTransfers[] = {
    {"write", [](CZOKSensor& s) { return s.WriteConfiguration(Written()); }, WriteSteps},
    {"check", [](CZOKSensor& s) { return BOOL(s.CheckConfiguration(Written()) != nullptr); }, CheckSteps},
    {"commit", [](CZOKSensor& s) { return s.CommitConfiguration(Written()); }, CommitSteps},
};

TEST(ZOKConfigTransferTest, EachTransferSendsItsStepsInOrderWithTheVariantOnlyInsideTheWindow)
{
    const std::pair<const char*, BOOL> firmwares[] = {
        {"03.05   ", FALSE}, {"04.00   ", FALSE}, {"03.06   ", TRUE}, {"04.06   ", TRUE}};
    for (const TransferCase& c : kTransfers) {
        for (const auto& [firmware, inWindow] : firmwares) {
            SCOPED_TRACE(std::string(c.name) + " " + firmware);
            const std::vector<Step> steps = c.steps(firmware, inWindow);
            RecordingZOKSensor sensor;
            Script(sensor, steps);
            EXPECT_TRUE(c.transfer(sensor));
            ExpectRequests(sensor, steps);
        }
    }
}

// No rollback: the steps before the failing one stay sent, none after it is sent. In a
// write or commit a missing identification fails as well, since the variant step could
// not be decided; the check goes on without it (below).
TEST(ZOKConfigTransferTest, AnyFailedStepEndsTheTransferThere)
{
    std::vector<TransferCase> cases(std::begin(kTransfers), std::end(kTransfers));
    cases.push_back({"read", [](CZOKSensor& s) { return BOOL(s.ReadConfiguration() != nullptr); },
                     [](const std::string&, BOOL) { return ReadSteps(); }});
    for (const TransferCase& c : cases) {
        const std::vector<Step> steps = c.steps(kInWindow, TRUE);
        for (std::size_t failing = 0; failing < steps.size(); ++failing) {
            if (std::string(c.name) == "check" && steps[failing].command == 0x31)
                continue;
            SCOPED_TRACE(std::string(c.name) + " failing at " + std::to_string(failing));
            RecordingZOKSensor sensor;
            Script(sensor, steps);
            sensor.script[failing] = std::nullopt;
            EXPECT_FALSE(c.transfer(sensor));
            EXPECT_EQ(sensor.requests.size(), failing + 1);
        }
    }
}

// A check whose identification goes unanswered leaves only the variant step out and
// hands back the copy with the caller's variant.
TEST(ZOKConfigTransferTest, CheckGoesOnWithoutTheIdentification)
{
    std::vector<Step> steps = CheckSteps(kInWindow, FALSE);
    RecordingZOKSensor sensor;
    Script(sensor, steps);
    sensor.script[1] = std::nullopt;

    const std::unique_ptr<CZOKConfig> copy = sensor.CheckConfiguration(Written());
    ASSERT_NE(copy, nullptr);
    ExpectRequests(sensor, steps);
    EXPECT_EQ(copy->GetSensorType().GetVariant(), 1);
    EXPECT_EQ(copy->GetScanCount(), 4);
}

TEST(ZOKConfigTransferTest, CheckReturnsTheScannersCorrectionsInACopy)
{
    struct Case {
        BYTE mode;
        BYTE answeredDelay;
        BYTE answeredScans;
        CModeDelay expectedPair;
    };
    const Case cases[] = {
        {1, 10, 4, {1, 10}}, {1, 1, 6, {1, 2}}, {1, 61, 16, {1, 2}}, {1, 60, 2, {1, 60}}, {0, 30, 4, {0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.answeredDelay));
        CZOKConfig config = ChangedConfig();
        config.GetModeDelay().Set(c.mode, 10);
        config.SetShelter(kProtectiveField, std::make_unique<CArcShelter>());
        const BYTE sentDelay = config.GetModeDelay().GetDelay();
        RecordingZOKSensor sensor;
        Script(sensor, {Value(0x60, 0, 0xE0, 2), Identity(kInWindow), Value(0x69, 1, 0xE9, 2),
                        ModeDelay(0x44, c.mode, sentDelay, 2, c.answeredDelay),
                        Value(0x63, 4, 0xE4, 2, c.answeredScans)});

        const std::unique_ptr<CZOKConfig> copy = sensor.CheckConfiguration(config);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->GetModeDelay(), c.expectedPair);
        EXPECT_EQ(copy->GetScanCount(), c.answeredScans);
        EXPECT_EQ(copy->GetSensorType().GetVariant(), 1);
        EXPECT_EQ(copy->GetOption1(), 5);
        ASSERT_NE(copy->GetShelter(kProtectiveField), nullptr);
        EXPECT_NE(copy->GetShelter(kProtectiveField), config.GetShelter(kProtectiveField));
        EXPECT_EQ(config.GetScanCount(), 4); // the argument stays as it was
    }
}

// The write commits the caller's own number of scans even when the first step answered
// a correction; the scanner must then echo that value.
TEST(ZOKConfigTransferTest, WriteCommitsTheCallersScansAfterACorrection)
{
    for (const BYTE commitEcho : {BYTE(4), BYTE(6)}) {
        SCOPED_TRACE(int(commitEcho));
        std::vector<Step> steps = WriteSteps(kInWindow, TRUE);
        steps[8] = Value(0x63, 4, 0xE4, 2, 6);
        steps[9] = Value(0x64, 4, 0xE4, 1, commitEcho);
        RecordingZOKSensor sensor;
        Script(sensor, steps);
        EXPECT_EQ(sensor.WriteConfiguration(ChangedConfig()), commitEcho == 4);
        ASSERT_GE(sensor.requests.size(), 10u);
        EXPECT_EQ(sensor.requests[9].Command(), 0x64);
        EXPECT_EQ(sensor.requests[9].Byte(9), 4);
    }
}

TEST(ZOKConfigTransferTest, ReadTakesTheValuesFromTheIdentificationAndBothFields)
{
    RecordingZOKSensor sensor;
    sensor.typeCode = kDeviceTypeZOK7;
    // Delay 1000/200 = 5 s with mode 1; number of scans 5 + 1.
    Script(sensor, ReadSteps({{19, 0}, {20, 1}, {21, 0xE8}, {22, 0x03}, {23, 0}, {24, 2}, {25, 5}, {28, 1}, {29, 7},
                              {30, 1}}));
    const std::unique_ptr<CZOKConfig> config = sensor.ReadConfiguration();
    ASSERT_NE(config, nullptr);
    ExpectRequests(sensor, ReadSteps());

    EXPECT_EQ(config->GetSensorType().GetTypeCode(), kDeviceTypeZOK7);
    EXPECT_EQ(config->GetSensorType().GetVariant(), 1);
    EXPECT_EQ(config->GetOption1(), 7);
    EXPECT_EQ(config->GetOption3(), 0);
    EXPECT_EQ(config->GetModeDelay(), CModeDelay(1, 5));
    EXPECT_EQ(config->GetScanCount(), 6);
    EXPECT_EQ(config->GetOption4(), 0);
    EXPECT_EQ(config->GetOption5(), 2);
    EXPECT_EQ(config->GetOption6(), 1);
    const CZOKConfig defaults;
    EXPECT_EQ(config->GetProtectiveName(), defaults.GetProtectiveName());
    EXPECT_EQ(config->GetWarningName(), defaults.GetWarningName());

    const auto* protective = dynamic_cast<const CArcShelter*>(config->GetShelter(kProtectiveField));
    ASSERT_NE(protective, nullptr);
    EXPECT_EQ(protective->GetRadius(), 300);
    const auto* warning = dynamic_cast<const CPolyShelter*>(config->GetShelter(kWarningField));
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->GetFieldKind(), kWarningField);
    EXPECT_EQ(warning->GetBeamCount(), 3);
}

TEST(ZOKConfigTransferTest, ReadRefusesWhatNoConfigurationCanHold)
{
    struct Case {
        const char* name;
        int typeCode;
        std::function<void(std::vector<Step>&)> change;
        std::size_t requests;
    };
    const Case cases[] = {
        {"not a scanner type", 1, [](std::vector<Step>&) {}, 0},
        {"256 scans", kDeviceTypeZOK4, [](std::vector<Step>& s) { s[1] = Identity(kInWindow, {{25, 255}}); }, 2},
        {"warning field of another shape", kDeviceTypeZOK4, [](std::vector<Step>& s) {
             s[4] = FieldRead(1, 2, {2, 80, 90, 100});
         }, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingZOKSensor sensor;
        sensor.typeCode = c.typeCode;
        std::vector<Step> steps = ReadSteps();
        c.change(steps);
        Script(sensor, steps);
        EXPECT_EQ(sensor.ReadConfiguration(), nullptr);
        EXPECT_EQ(sensor.requests.size(), c.requests);
    }
}

// The simulated scanner keeps what is written for the life of the library, so every
// test that changes it puts the defaults back.
class ZOKSimulatedConfigTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sensor.Load(ini.Path()));
        ASSERT_TRUE(sensor.Open());
    }

    static void ExpectSameValues(const CZOKConfig& actual, const CZOKConfig& expected)
    {
        EXPECT_EQ(actual.GetSensorType().GetTypeCode(), expected.GetSensorType().GetTypeCode());
        EXPECT_EQ(actual.GetSensorType().GetVariant(), expected.GetSensorType().GetVariant());
        EXPECT_EQ(actual.GetProtectiveName(), expected.GetProtectiveName());
        EXPECT_EQ(actual.GetWarningName(), expected.GetWarningName());
        EXPECT_EQ(actual.GetOption1(), expected.GetOption1());
        EXPECT_EQ(actual.GetScanCount(), expected.GetScanCount());
        EXPECT_EQ(actual.GetOption3(), expected.GetOption3());
        EXPECT_EQ(actual.GetOption4(), expected.GetOption4());
        EXPECT_EQ(actual.GetOption5(), expected.GetOption5());
        EXPECT_EQ(actual.GetOption6(), expected.GetOption6());
        EXPECT_EQ(actual.GetModeDelay(), expected.GetModeDelay());
    }

    static void ExpectSimulatorFields(const CZOKConfig& config)
    {
        const auto* arc = dynamic_cast<const CArcShelter*>(config.GetShelter(kProtectiveField));
        ASSERT_NE(arc, nullptr);
        EXPECT_EQ(arc->GetRadius(), 400);
        EXPECT_EQ(arc->GetFieldKind(), kProtectiveField);
        const auto* warning = dynamic_cast<const CPolyShelter*>(config.GetShelter(kWarningField));
        ASSERT_NE(warning, nullptr);
        EXPECT_EQ(warning->GetFieldKind(), kWarningField);
        ASSERT_EQ(warning->GetBeamCount(), 181);
        for (int beam = 0; beam < warning->GetBeamCount(); ++beam)
            ASSERT_EQ(warning->GetBeamDistance(beam), 35) << beam;
    }

    TestIniFile ini{"[SETUP]\nPort=9\nBaud=19200\n"};
    CZOKSensor sensor{1};
};

TEST_F(ZOKSimulatedConfigTest, DefaultReadIsTheDefaultConfigurationWithBothFields)
{
    const std::unique_ptr<CZOKConfig> config = sensor.ReadConfiguration();
    ASSERT_NE(config, nullptr);
    ExpectSameValues(*config, CZOKConfig());
    ExpectSimulatorFields(*config);
}

TEST_F(ZOKSimulatedConfigTest, WrittenAndCommittedValuesReadBack)
{
    CZOKConfig changed;
    changed.SetSensorType(CSensorType(4, 1));
    changed.SetOption1(9);
    changed.SetOption3(0);
    changed.GetModeDelay().Set(1, 12);
    changed.SetScanCount(5);
    changed.SetOption5(2);
    // The simulated scanner accepts option byte 4 but always reports 1, the default.

    ASSERT_TRUE(sensor.WriteConfiguration(changed));
    std::unique_ptr<CZOKConfig> read = sensor.ReadConfiguration();
    ASSERT_NE(read, nullptr);
    ExpectSameValues(*read, changed);
    ExpectSimulatorFields(*read); // the write leaves the fields alone

    // Back to the defaults through a check and a commit of the checked copy.
    const std::unique_ptr<CZOKConfig> checked = sensor.CheckConfiguration(CZOKConfig());
    ASSERT_NE(checked, nullptr);
    ExpectSameValues(*checked, CZOKConfig());
    ASSERT_TRUE(sensor.CommitConfiguration(*checked));
    read = sensor.ReadConfiguration();
    ASSERT_NE(read, nullptr);
    ExpectSameValues(*read, CZOKConfig());
}

TEST_F(ZOKSimulatedConfigTest, ValuesTheScannerRefusesFailTheWrite)
{
    CZOKConfig refused;
    refused.SetScanCount(17); // the scanner takes 2 to 16
    EXPECT_FALSE(sensor.WriteConfiguration(refused));
    EXPECT_EQ(sensor.CheckConfiguration(refused), nullptr);
    const std::unique_ptr<CZOKConfig> read = sensor.ReadConfiguration();
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetScanCount(), 2);
}

} // namespace
