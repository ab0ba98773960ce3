// The whole-configuration procedures of both families: round trips with the simulated
// devices and their status texts, the Retry and Cancel rounds, the device check against
// the configuration's own type byte, and the device's corrections returned by a check.
#include "ProcedureTestSupport.h"
#include "RecordingZOKSensor.h"
#include "device/ConfigurationProcedures.h"
#include "device/KVRConfigTransfer.h"
#include "model/CArcShelter.h"
#include "model/CKVRConfig.h"
#include "model/CZOKConfig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

using namespace ProcedureText;

namespace {

// A simulated device object whose exchanges of chosen commands fail a number of times
// before they reach the simulator.
template <class Base>
class FlakyDevice : public Base {
public:
    FlakyDevice() : Base(1)
    {
        this->Load(m_ini.Path());
        this->Open();
    }

    BOOL Telegram(RequestSpan request, AnswerSpan answer) override
    {
        const BYTE command = request[RequestOffset::Command];
        commands.push_back(command);
        if (commands.size() > kTelegramLimit) throw EndlessRetryLoop{};
        if (auto failing = failures.find(command); failing != failures.end() && failing->second > 0) {
            --failing->second;
            return FALSE;
        }
        return Base::Telegram(request, answer);
    }

    long Sent(BYTE command) const { return std::count(commands.begin(), commands.end(), command); }

    std::map<BYTE, int> failures;
    std::vector<BYTE> commands;

private:
    TestIniFile m_ini{"[SETUP]\nPort=9\nBaud=19200\n"};
};

using FlakyKVRSensor = FlakyDevice<CKVRSensor>;
using FlakyZOKSensor = FlakyDevice<CZOKSensor>;

void ExpectSameZOKValues(const CZOKConfig& actual, const CZOKConfig& expected)
{
    EXPECT_EQ(actual.GetSensorType().GetTypeCode(), expected.GetSensorType().GetTypeCode());
    EXPECT_EQ(actual.GetSensorType().GetVariant(), expected.GetSensorType().GetVariant());
    EXPECT_EQ(actual.GetOption1(), expected.GetOption1());
    EXPECT_EQ(actual.GetScanCount(), expected.GetScanCount());
    EXPECT_EQ(actual.GetOption3(), expected.GetOption3());
    EXPECT_EQ(actual.GetOption5(), expected.GetOption5());
    EXPECT_EQ(actual.GetModeDelay(), expected.GetModeDelay());
}

void ExpectSameKVRValues(const CKVRConfig& actual, const CKVRConfig& expected)
{
    EXPECT_EQ(actual.GetSensorType().GetTypeCode(), expected.GetSensorType().GetTypeCode());
    EXPECT_EQ(actual.GetValueV1(), expected.GetValueV1());
    EXPECT_EQ(actual.GetValueV2(), expected.GetValueV2());
    EXPECT_EQ(actual.GetSpeedScale1(), expected.GetSpeedScale1());
    EXPECT_EQ(actual.GetModeDelay1(), expected.GetModeDelay1());
    ASSERT_EQ(actual.GetSensorConfigCount(), expected.GetSensorConfigCount());
    for (int i = 0; i < actual.GetSensorConfigCount(); ++i)
        EXPECT_EQ(actual.GetSensorConfigName(i), expected.GetSensorConfigName(i)) << i;
    ASSERT_EQ(actual.GetShelterConfigCount(), expected.GetShelterConfigCount());
    ASSERT_EQ(actual.GetControlConfigCount(), expected.GetControlConfigCount());
    for (int i = 0; i < actual.GetControlConfigCount(); ++i)
        EXPECT_EQ(actual.GetControlConfig(i)->GetScanCount(), expected.GetControlConfig(i)->GetScanCount()) << i;
}

// Puts a simulated device's configuration back however the test ends.
void PutBack(CKVRSensor& sensor, const CKVRConfig& config) { sensor.WriteConfiguration(config, TRUE); }
void PutBack(CZOKSensor& sensor, const CZOKConfig& config) { sensor.WriteConfiguration(config); }

template <class Sensor, class Config>
struct PutBackOnExit {
    Sensor& sensor;
    const Config& config;
    ~PutBackOnExit() { PutBack(sensor, config); }
};

class ConfigurationProceduresTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(english.Loaded()); }

    std::vector<UINT> BoxIds() const
    {
        std::vector<UINT> ids;
        for (const MessageBoxRecord& box : ui.MessageBoxes()) ids.push_back(box.helpId ? box.helpId : box.id);
        return ids;
    }
    std::vector<CString> Texts(std::initializer_list<UINT> ids) const
    {
        std::vector<CString> texts;
        for (UINT id : ids) texts.push_back(Text(id));
        return texts;
    }

    EnglishTexts english;
    FakeProcedureApplication application;
    ScriptedUi ui;
};

// The simulated devices live as long as the process: each test puts back what it read.
TEST_F(ConfigurationProceduresTest, ZOKRoundTripWithTheSimulatorShowsItsTexts)
{
    FlakyZOKSensor sensor;
    const std::unique_ptr<CZOKConfig> original = ReadZOKConfiguration(sensor, TRUE);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(application.texts, Texts({kReadConfigStatus}));
    const PutBackOnExit<CZOKSensor, CZOKConfig> putBack{sensor, *original};

    CZOKConfig changed(*original);
    changed.SetOption1(9);
    changed.SetOption3(0);
    changed.GetModeDelay().Set(1, 12);
    changed.SetScanCount(5);
    changed.SetOption5(2);
    application.texts.clear();
    ASSERT_TRUE(WriteZOKConfiguration(sensor, changed, TRUE));
    // The device check reads the identification under its own text; the transfer's
    // text is back while the configuration travels.
    EXPECT_EQ(application.texts, Texts({kWriteConfigStatus, kIdentificationStatus, kWriteConfigStatus}));
    const std::unique_ptr<CZOKConfig> read = ReadZOKConfiguration(sensor, TRUE);
    ASSERT_NE(read, nullptr);
    ExpectSameZOKValues(*read, changed);

    // Back through a check and a commit of the checked copy.
    const std::unique_ptr<CZOKConfig> checked = CheckZOKConfiguration(sensor, *original, TRUE);
    ASSERT_NE(checked, nullptr);
    ExpectSameZOKValues(*checked, *original);
    application.texts.clear();
    ASSERT_TRUE(CommitZOKConfiguration(sensor, *checked, TRUE));
    EXPECT_EQ(application.texts, Texts({kCommitConfigStatus, kIdentificationStatus, kCommitConfigStatus}));
    const std::unique_ptr<CZOKConfig> restored = ReadZOKConfiguration(sensor, TRUE);
    ASSERT_NE(restored, nullptr);
    ExpectSameZOKValues(*restored, *original);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(ConfigurationProceduresTest, KVRRoundTripWithTheSimulatorShowsItsTexts)
{
    FlakyKVRSensor sensor;
    const std::unique_ptr<CKVRConfig> original = ReadKVRConfiguration(sensor, TRUE);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(application.texts, Texts({kReadConfigStatus}));
    ASSERT_GE(original->GetSensorConfigCount(), 1);
    const PutBackOnExit<CKVRSensor, CKVRConfig> putBack{sensor, *original};

    CKVRConfig changed(*original);
    changed.SetValueV1(77);
    changed.SetSpeedScale1(40);
    changed.GetModeDelay1().Set(1, 20);
    changed.RenameSensorConfig(0, "Front");
    application.texts.clear();
    ASSERT_TRUE(WriteKVRConfiguration(sensor, changed, TRUE, TRUE));
    EXPECT_EQ(application.texts, Texts({kWriteConfigStatus, kIdentificationStatus, kWriteConfigStatus}));
    const std::unique_ptr<CKVRConfig> read = ReadKVRConfiguration(sensor, TRUE);
    ASSERT_NE(read, nullptr);
    ExpectSameKVRValues(*read, changed);

    const std::unique_ptr<CKVRConfig> checked = CheckKVRConfiguration(sensor, *original, TRUE);
    ASSERT_NE(checked, nullptr);
    ExpectSameKVRValues(*checked, *original);
    application.texts.clear();
    EXPECT_TRUE(CommitKVRConfiguration(sensor, *checked, TRUE, TRUE));
    EXPECT_EQ(application.texts, Texts({kCommitConfigStatus, kIdentificationStatus, kCommitConfigStatus}));
    const std::unique_ptr<CKVRConfig> restored = ReadKVRConfiguration(sensor, TRUE);
    ASSERT_NE(restored, nullptr);
    ExpectSameKVRValues(*restored, *original);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

// Each procedure against a simulated device whose first exchanges of one command fail:
// a round is one try (single) or three (triple); Retry starts another round, Cancel and a
// clear prompt flag end with failure.
TEST_F(ConfigurationProceduresTest, FailedRoundsAskRetryOrCancel)
{
    std::unique_ptr<CKVRConfig> kvrConfig;
    std::unique_ptr<CZOKConfig> zokConfig;
    {
        FlakyKVRSensor kvr;
        FlakyZOKSensor zok;
        kvrConfig = kvr.ReadConfiguration();
        zokConfig = zok.ReadConfiguration();
    }
    ASSERT_NE(kvrConfig, nullptr);
    ASSERT_NE(zokConfig, nullptr);
    const CKVRConfig& kvrc = *kvrConfig;
    const CZOKConfig& zokc = *zokConfig;

    using Run = std::function<BOOL(FlakyKVRSensor&, FlakyZOKSensor&, BOOL)>;
    struct Case {
        const char* name;
        BYTE failing; // the first command of the transfer
        int tries;
        UINT status;
        UINT retry;
        Run run;
    };
    const Case cases[] = {
        {"read KVR", 0x38, 3, kReadConfigStatus, kReadConfigRetry,
         [](FlakyKVRSensor& s, FlakyZOKSensor&, BOOL p) { return BOOL(ReadKVRConfiguration(s, p) != nullptr); }},
        {"read ZOK", 0x45, 3, kReadConfigStatus, kReadConfigRetry,
         [](FlakyKVRSensor&, FlakyZOKSensor& s, BOOL p) { return BOOL(ReadZOKConfiguration(s, p) != nullptr); }},
        {"check KVR", 0x70, 3, kWriteConfigStatus, kWriteConfigRetry,
         [&](FlakyKVRSensor& s, FlakyZOKSensor&, BOOL p) {
             return BOOL(CheckKVRConfiguration(s, kvrc, p) != nullptr);
         }},
        {"check ZOK", 0x60, 3, kWriteConfigStatus, kWriteConfigRetry,
         [&](FlakyKVRSensor&, FlakyZOKSensor& s, BOOL p) {
             return BOOL(CheckZOKConfiguration(s, zokc, p) != nullptr);
         }},
        {"write KVR", 0x70, 1, kWriteConfigStatus, kWriteConfigRetry,
         [&](FlakyKVRSensor& s, FlakyZOKSensor&, BOOL p) { return WriteKVRConfiguration(s, kvrc, TRUE, p); }},
        {"write ZOK", 0x67, 1, kWriteConfigStatus, kWriteConfigRetry,
         [&](FlakyKVRSensor&, FlakyZOKSensor& s, BOOL p) { return WriteZOKConfiguration(s, zokc, p); }},
        {"commit KVR", 0x71, 1, kCommitConfigStatus, kCommitConfigRetry,
         [&](FlakyKVRSensor& s, FlakyZOKSensor&, BOOL p) {
             return s.CheckConfiguration(kvrc) && CommitKVRConfiguration(s, kvrc, FALSE, p);
         }},
        {"commit ZOK", 0x67, 1, kCommitConfigStatus, kCommitConfigRetry,
         [&](FlakyKVRSensor&, FlakyZOKSensor& s, BOOL p) {
             return s.CheckConfiguration(zokc) && CommitZOKConfiguration(s, zokc, p);
         }},
    };
    struct Round {
        const char* name;
        BOOL prompt;
        int answer;
        int failures;
        BOOL succeeds;
    };
    const Round rounds[] = {
        {"Retry, then success", TRUE, IDRETRY, -1, TRUE},
        {"Cancel", TRUE, IDCANCEL, -1, FALSE},
        {"no prompt", FALSE, 0, 100, FALSE},
    };
    for (const Case& c : cases) {
        for (const Round& r : rounds) {
            SCOPED_TRACE(::testing::Message() << c.name << ", " << r.name);
            FlakyKVRSensor kvr;
            FlakyZOKSensor zok;
            const int failures = r.failures < 0 ? c.tries : r.failures;
            kvr.failures[c.failing] = failures;
            zok.failures[c.failing] = failures;
            application.texts.clear();
            ui.ClearMessageBoxes();
            if (r.prompt) ui.QueueAnswer(r.answer);

            EXPECT_EQ(c.run(kvr, zok, r.prompt), r.succeeds);
            ASSERT_FALSE(application.texts.empty());
            EXPECT_EQ(application.texts.front(), Text(c.status));
            if (r.prompt) {
                EXPECT_EQ(BoxIds(), std::vector<UINT>{c.retry});
                EXPECT_EQ(ui.MessageBoxes()[0].flags, UINT(MB_RETRYCANCEL | MB_ICONEXCLAMATION));
            } else {
                EXPECT_TRUE(ui.MessageBoxes().empty());
                EXPECT_EQ(kvr.Sent(c.failing) + zok.Sent(c.failing), c.tries) << "one round only";
            }
            EXPECT_EQ(ui.PendingAnswers(), 0u);
        }
    }
}

// The device check compares the configuration's own type byte (KVR value V2 against
// identification byte 23, ZOK option byte 1 against byte 29) and always prompts: a device
// of another type is refused with message 427 even with the prompt flag clear, and
// nothing of the configuration is sent.
TEST_F(ConfigurationProceduresTest, DeviceOfAnotherTypeIsRefused)
{
    using Run = std::function<BOOL(ScriptedKVRSensor&, ScriptedZOKSensor&, BYTE)>;
    struct Procedure {
        const char* name;
        BYTE family;
        BYTE firstCommand;
        Run run;
    };
    auto kvrConfig = [](BYTE type) {
        CKVRConfig config;
        config.SetValueV2(type);
        return config;
    };
    auto zokConfig = [](BYTE type) {
        CZOKConfig config;
        config.SetOption1(type);
        return config;
    };
    const Procedure procedures[] = {
        {"check KVR", kFamilyKVR, 0x70,
         [&](ScriptedKVRSensor& s, ScriptedZOKSensor&, BYTE t) {
             return BOOL(CheckKVRConfiguration(s, kvrConfig(t), FALSE) != nullptr);
         }},
        {"write KVR", kFamilyKVR, 0x70,
         [&](ScriptedKVRSensor& s, ScriptedZOKSensor&, BYTE t) {
             return WriteKVRConfiguration(s, kvrConfig(t), TRUE, FALSE);
         }},
        {"commit KVR", kFamilyKVR, 0x71,
         [&](ScriptedKVRSensor& s, ScriptedZOKSensor&, BYTE t) {
             return CommitKVRConfiguration(s, kvrConfig(t), TRUE, FALSE);
         }},
        {"check ZOK", kFamilyZOK, 0x60,
         [&](ScriptedKVRSensor&, ScriptedZOKSensor& s, BYTE t) {
             return BOOL(CheckZOKConfiguration(s, zokConfig(t), FALSE) != nullptr);
         }},
        {"write ZOK", kFamilyZOK, 0x67,
         [&](ScriptedKVRSensor&, ScriptedZOKSensor& s, BYTE t) { return WriteZOKConfiguration(s, zokConfig(t), FALSE); }},
        {"commit ZOK", kFamilyZOK, 0x67,
         [&](ScriptedKVRSensor&, ScriptedZOKSensor& s, BYTE t) {
             return CommitZOKConfiguration(s, zokConfig(t), FALSE);
         }},
    };
    struct Types {
        BYTE device;
        BYTE config;
        bool refused;
    };
    const Types types[] = {{3, 4, true}, {4, 4, false}, {0, 4, false}, {3, 0, false}};
    for (const Procedure& p : procedures) {
        for (const Types& t : types) {
            SCOPED_TRACE(::testing::Message() << p.name << ", device " << int(t.device) << ", configuration "
                                              << int(t.config));
            ScriptedKVRSensor kvr;
            ScriptedZOKSensor zok;
            SensorAnswer identity = DeviceAnswer(0xB1, 0);
            identity.SetByte(AnswerOffset::Data + (p.family == kFamilyKVR ? 23 : 29), t.device);
            (p.family == kFamilyKVR ? kvr.script : zok.script) = {identity};
            ui.ClearMessageBoxes();

            // The rest of the transfer has no answers, so it fails silently.
            EXPECT_FALSE(p.run(kvr, zok, t.config));
            const std::vector<BYTE> commands = p.family == kFamilyKVR ? kvr.Commands() : zok.Commands();
            ASSERT_GE(commands.size(), 1u);
            EXPECT_EQ(commands[0], 0x31);
            if (t.refused) {
                EXPECT_EQ(BoxIds(), std::vector<UINT>{kDeviceMismatch});
                EXPECT_EQ(commands.size(), 1u);
            } else {
                EXPECT_TRUE(ui.MessageBoxes().empty());
                ASSERT_GE(commands.size(), 2u);
                EXPECT_EQ(commands[1], p.firstCommand);
            }
        }
    }
}

TEST_F(ConfigurationProceduresTest, ZOKCheckReturnsTheScannersCorrections)
{
    RecordingZOKSensor sensor;
    CZOKConfig config;
    config.GetModeDelay().Set(1, 10);
    config.SetScanCount(4);
    config.SetShelter(kProtectiveField, std::make_unique<CArcShelter>());
    SensorAnswer modeDelay = EchoAnswer(0xC4, 2, 1);
    modeDelay.SetByte(AnswerOffset::Data + 2, 20);
    // Firmware 4.00 lies outside the variant window: no 0x69 step.
    sensor.script = {IdentityAnswer("04.00   "), EchoAnswer(0xE0, 2, config.GetOption3()), IdentityAnswer("04.00   "),
                     modeDelay, EchoAnswer(0xE4, 2, 6)};

    const std::unique_ptr<CZOKConfig> checked = CheckZOKConfiguration(sensor, config, TRUE);
    ASSERT_NE(checked, nullptr);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(checked->GetModeDelay(), CModeDelay(1, 20));
    EXPECT_EQ(checked->GetScanCount(), 6);
    ASSERT_NE(checked->GetShelter(kProtectiveField), nullptr);
    EXPECT_NE(checked->GetShelter(kProtectiveField), config.GetShelter(kProtectiveField)) << "a copy of the field";
    EXPECT_EQ(config.GetScanCount(), 4) << "the caller's configuration stays as it was";
}

TEST_F(ConfigurationProceduresTest, KVRCheckReturnsTheUnitsCorrections)
{
    ScriptedKVRSensor sensor;
    CKVRConfig config;
    config.SetValueV1(10);
    config.GetModeDelay1().Set(1, 30);
    KVRConfigBlock corrected = PackConfigBlock(config);
    corrected[KVRBlockOffset::ValueV1] = 77;
    corrected[KVRBlockOffset::Delay1] = 20;
    SensorAnswer blockAnswer = DeviceAnswer(0xF0, 2);
    std::copy(corrected.begin(), corrected.end(), blockAnswer.Bytes().begin() + AnswerOffset::Data + 1);
    sensor.script = {DeviceAnswer(0xB1, 0), blockAnswer};

    sensor.SetSimulated(0); // on the simulator the block as sent would count
    const std::unique_ptr<CKVRConfig> checked = CheckKVRConfiguration(sensor, config, TRUE);
    sensor.SetSimulated(1);
    ASSERT_NE(checked, nullptr);
    EXPECT_EQ(sensor.Commands(), (std::vector<BYTE>{0x31, 0x70})) << "first steps only";
    EXPECT_EQ(checked->GetValueV1(), 77u);
    EXPECT_EQ(checked->GetModeDelay1(), CModeDelay(1, 20));
    EXPECT_EQ(config.GetValueV1(), 10u);
}

} // namespace
