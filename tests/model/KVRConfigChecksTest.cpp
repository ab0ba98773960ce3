#include "model/CKVRConfig.h"

#include "LanguageScript.h"
#include "framework/core/CString.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::unique_ptr<CKVRControlConfig> Case(int s1, int s2 = 0, int low = 0, int high = 0)
{
    auto control = std::make_unique<CKVRControlConfig>();
    control->SetInputState(1, s1);
    control->SetInputState(2, s2);
    control->SetSpeed(CSpeed(low, high));
    control->SetSensorIndex(0);
    control->SetShelterIndex(0);
    return control;
}

// One sensor, one field pair, no cases; flags 0x21 (input 1, OSSD A).
CKVRConfig EmptyCaseConfig(BYTE flags = 0x21)
{
    CKVRConfig config;
    config.SetUsedFlags(flags);
    config.AddSensorConfig("Scanner", std::make_unique<CKVRSensorConfig>());
    config.AddShelterConfig("Pair", std::make_unique<CKVRShelterConfig>());
    return config;
}

// The smallest configuration that passes every check.
CKVRConfig ValidConfig()
{
    CKVRConfig config = EmptyCaseConfig();
    config.AddControlConfig("Case", Case(kInputLow));
    return config;
}

CKVRControlConfig& FirstCase(CKVRConfig& config) { return *config.GetControlConfig(0); }

using Checker = BOOL (*)(const CKVRConfig&, BOOL);

// The result of the check with messages shown, and the ids of the boxes it showed; also
// makes sure that without show it gives the same result and shows nothing.
struct CheckOutcome {
    BOOL passed;
    std::vector<UINT> shown;
};

CheckOutcome RunCheck(Checker check, const CKVRConfig& config)
{
    ScriptedUi ui;
    const BOOL quiet = check(config, FALSE);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    CheckOutcome outcome{check(config, TRUE), {}};
    EXPECT_EQ(quiet, outcome.passed);
    for (const MessageBoxRecord& box : ui.MessageBoxes()) {
        outcome.shown.push_back(box.id);
        EXPECT_EQ(box.helpId, box.id);
        EXPECT_EQ(box.flags & 0x0F, MB_OK);
    }
    return outcome;
}

struct RuleCase {
    const char* name;
    std::function<void(CKVRConfig&)> change;
    UINT message; // 0: the configuration passes
};

void ExpectRules(Checker check, const std::vector<RuleCase>& cases)
{
    LanguageScript texts("checks.rc");
    ASSERT_TRUE(texts.Loaded()) << texts.Error();
    for (const RuleCase& rule : cases) {
        SCOPED_TRACE(rule.name);
        CKVRConfig config = ValidConfig();
        rule.change(config);
        const CheckOutcome outcome = RunCheck(check, config);
        EXPECT_EQ(outcome.passed, rule.message == 0);
        EXPECT_EQ(outcome.shown, rule.message ? std::vector<UINT>{rule.message} : std::vector<UINT>{});
    }
}

void AddCases(CKVRConfig& config, int count)
{
    for (int n = 0; n < count; ++n) config.AddControlConfig("More", Case(kInputLow));
}

} // namespace

TEST(KVRConfigChecksTest, EveryMessageHasAText)
{
    LanguageScript texts("checks.rc");
    ASSERT_TRUE(texts.Loaded()) << texts.Error();
    for (UINT id = 1124; id <= 1147; ++id) {
        CString text;
        EXPECT_TRUE(text.LoadString(id) && !text.IsEmpty()) << id;
    }
}

TEST(KVRConfigChecksTest, RecordRulesInOrder)
{
    ExpectRules(&CKVRConfig::Check,
                {
                    {"valid", [](CKVRConfig&) {}, 0},
                    {"no sensor", [](CKVRConfig& c) { c.RemoveAll(); }, 1124},
                    {"five sensors",
                     [](CKVRConfig& c) {
                         for (int n = 0; n < 4; ++n) c.AddSensorConfig("S", std::make_unique<CKVRSensorConfig>());
                     },
                     1124},
                    {"four sensors, eight pairs, fifteen cases",
                     [](CKVRConfig& c) {
                         for (int n = 0; n < 3; ++n) c.AddSensorConfig("S", std::make_unique<CKVRSensorConfig>());
                         for (int n = 0; n < 7; ++n) c.AddShelterConfig("P", std::make_unique<CKVRShelterConfig>());
                         // All four inputs used, every case on a combination of its own.
                         c.SetUsedFlags(0x2F);
                         c.RemoveControlConfig(0);
                         for (int n = 0; n < 15; ++n) {
                             auto control = Case(kInputLow);
                             for (int k = 1; k <= 4; ++k) control->SetInputState(k, 1 + ((n >> (k - 1)) & 1));
                             c.AddControlConfig("C", std::move(control));
                         }
                     },
                     0},
                    {"nine pairs",
                     [](CKVRConfig& c) {
                         for (int n = 0; n < 8; ++n) c.AddShelterConfig("P", std::make_unique<CKVRShelterConfig>());
                     },
                     1125},
                    {"no case", [](CKVRConfig& c) { c.RemoveControlConfig(0); }, 1126},
                    {"sixteen cases", [](CKVRConfig& c) { AddCases(c, 15); }, 1126},
                    {"speed with input 1", [](CKVRConfig& c) { c.SetUsedFlags(0x31); }, 0},
                    {"speed with input 3", [](CKVRConfig& c) { c.SetUsedFlags(0x35); }, 1127},
                    {"speed with input 4", [](CKVRConfig& c) { c.SetUsedFlags(0x39); }, 1128},
                    {"no output", [](CKVRConfig& c) { c.SetUsedFlags(0x01); }, 1129},
                    {"OSSD B only", [](CKVRConfig& c) { c.SetUsedFlags(0x41); }, 0},
                    {"OSSD A setting without OSSD A",
                     [](CKVRConfig& c) {
                         c.SetUsedFlags(0x41);
                         c.SetOssdA(1);
                     },
                     1130},
                    {"OSSD B setting without OSSD B", [](CKVRConfig& c) { c.SetOssdB(1); }, 1131},
                    {"speed scales at their bounds",
                     [](CKVRConfig& c) {
                         c.SetSpeedScale1(1000);
                         c.SetSpeedScale2(50);
                     },
                     0},
                    {"speed scale 1 low", [](CKVRConfig& c) { c.SetSpeedScale1(49); }, 1132},
                    {"speed scale 1 high, V2 bad too",
                     [](CKVRConfig& c) {
                         c.SetSpeedScale1(1001);
                         c.SetValueV2(4);
                     },
                     1132},
                    {"speed scale 2 high", [](CKVRConfig& c) { c.SetSpeedScale2(1001); }, 1133},
                    {"V1 26", [](CKVRConfig& c) { c.SetValueV1(26); }, 1134},
                    {"V2 4", [](CKVRConfig& c) { c.SetValueV2(4); }, 1135},
                    {"V2 5", [](CKVRConfig& c) { c.SetValueV2(5); }, 0},
                    {"V2 126", [](CKVRConfig& c) { c.SetValueV2(126); }, 0},
                    {"V2 127", [](CKVRConfig& c) { c.SetValueV2(127); }, 1135},
                    {"pair 1 mode 2", [](CKVRConfig& c) { c.GetModeDelay1().Set(2, 2); }, 0},
                    {"pair 1 mode 3", [](CKVRConfig& c) { c.GetModeDelay1().Set(3, 2); }, 1136},
                    {"pair 1 delay 61 before pair 2 mode 3",
                     [](CKVRConfig& c) {
                         c.GetModeDelay1().Set(1, 61);
                         c.GetModeDelay2().Set(3, 2);
                     },
                     1138},
                    {"pair 1 delay 60", [](CKVRConfig& c) { c.GetModeDelay1().Set(1, 60); }, 0},
                    {"pair 2 mode 2", [](CKVRConfig& c) { c.GetModeDelay2().Set(2, 2); }, 0},
                    {"pair 2 mode 3", [](CKVRConfig& c) { c.GetModeDelay2().Set(3, 2); }, 1137},
                    {"pair 2 delay 1", [](CKVRConfig& c) { c.GetModeDelay2().Set(1, 1); }, 1139},
                    {"V4 2", [](CKVRConfig& c) { c.SetOptionV4(2); }, 1140},
                    {"V4 0", [](CKVRConfig& c) { c.SetOptionV4(0); }, 0},
                    {"a case rule decides last", [](CKVRConfig& c) { FirstCase(c).SetSensorIndex(1); }, 1144},
                });
}

TEST(KVRConfigChecksTest, DefaultConfigurationsFail)
{
    LanguageScript texts("checks.rc");
    CKVRConfig config;
    EXPECT_EQ(RunCheck(&CKVRConfig::Check, config).shown, std::vector<UINT>{1124});
    config = EmptyCaseConfig();
    config.AddControlConfig("Default", std::make_unique<CKVRControlConfig>());
    EXPECT_EQ(RunCheck(&CKVRConfig::Check, config).shown, std::vector<UINT>{1144});
}

TEST(KVRConfigChecksTest, CaseRulesInOrder)
{
    ExpectRules(&CKVRConfig::CheckControlConfigs,
                {
                    {"sensor -1", [](CKVRConfig& c) { FirstCase(c).SetSensorIndex(-1); }, 1144},
                    {"sensor past the list", [](CKVRConfig& c) { FirstCase(c).SetSensorIndex(1); }, 1144},
                    {"pair past the list", [](CKVRConfig& c) { FirstCase(c).SetShelterIndex(1); }, 1145},
                    {"pair -1 in the second case",
                     [](CKVRConfig& c) {
                         c.AddControlConfig("Second", Case(kInputHigh));
                         c.GetControlConfig(1)->SetShelterIndex(-1);
                     },
                     1145},
                    {"a case entry without its record",
                     [](CKVRConfig& c) { c.AddControlConfig("Empty", nullptr); }, 1144},
                    {"one following case",
                     [](CKVRConfig& c) {
                         FirstCase(c).SetFollowCount(1);
                         FirstCase(c).SetFollow1(0);
                     },
                     0},
                    {"one following case past the list",
                     [](CKVRConfig& c) {
                         FirstCase(c).SetFollowCount(1);
                         FirstCase(c).SetFollow1(1);
                     },
                     1143},
                    {"second following case missing",
                     [](CKVRConfig& c) {
                         FirstCase(c).SetFollowCount(2);
                         FirstCase(c).SetFollow1(0);
                     },
                     1143},
                    {"a following-case count of 3 is not checked", [](CKVRConfig& c) { FirstCase(c).SetFollowCount(3); },
                     0},
                    {"output A without OSSD A",
                     [](CKVRConfig& c) {
                         c.SetUsedFlags(0x41);
                         FirstCase(c).SetOutputA(1);
                     },
                     1141},
                    {"output B without OSSD B", [](CKVRConfig& c) { FirstCase(c).SetOutputB(1); }, 1142},
                    {"output B with OSSD B",
                     [](CKVRConfig& c) {
                         c.SetUsedFlags(0x61);
                         FirstCase(c).SetOutputB(1);
                     },
                     0},
                });
}

// A case that sets an input the configuration does not use fails without a message,
// before the following-case and output rules.
TEST(KVRConfigChecksTest, UnusedInputFailsSilently)
{
    for (Checker check : {&CKVRConfig::Check, &CKVRConfig::CheckControlConfigs}) {
        CKVRConfig config = ValidConfig();
        FirstCase(config).SetInputState(2, kInputHigh);
        FirstCase(config).SetOutputB(1);
        const CheckOutcome outcome = RunCheck(check, config);
        EXPECT_FALSE(outcome.passed);
        EXPECT_TRUE(outcome.shown.empty());
        config.SetUsedFlags(0x63);
        EXPECT_TRUE(RunCheck(check, config).passed);
    }
}

TEST(KVRConfigChecksTest, InputCombinations)
{
    LanguageScript texts("checks.rc");
    struct Combination {
        const char* name;
        BYTE flags;
        std::vector<std::vector<int>> cases; // s1, s2, speed low, speed high
        UINT message;
    };
    const std::vector<Combination> table = {
        {"two don't-care cases", 0x21, {{0, 0}, {0, 0}}, 0},
        {"three don't-care cases", 0x21, {{0, 0}, {0, 0}, {0, 0}}, 1146},
        {"two cases per state of input 1", 0x21, {{1, 0}, {2, 0}, {1, 0}, {2, 0}}, 0},
        {"three cases for input 1 low", 0x21, {{1, 0}, {2, 0}, {1, 0}, {1, 0}}, 1146},
        // A don't-care case first must not hide the matching cases after it.
        {"don't care, then two for input 1 low", 0x21, {{0, 0}, {1, 0}, {1, 0}}, 1146},
        {"input 2 unused: its states do not tell cases apart", 0x21, {{1, 1}, {1, 2}, {1, 0}}, 1146},
        {"input 2 used: they do", 0x23, {{1, 1}, {1, 2}, {1, 0}}, 0},
        {"speed: adjoining ranges", 0x31, {{0, 0, 0, 100}, {0, 0, 100, 200}, {0, 0, 200, 300}}, 0},
        {"speed: three ranges share a bound", 0x31, {{0, 0, 0, 100}, {0, 0, 50, 150}, {0, 0, 0, 60}}, 1147},
        {"speed: cases without a range cover every speed", 0x31, {{0, 0}, {0, 0}, {0, 0}}, 1147},
        {"speed: one case without a range", 0x31, {{0, 0, -100, 0}, {0, 0, 10, 20}, {0, 0}}, 0},
        {"speed: other combinations apart", 0x31, {{1, 0, 0, 100}, {2, 0, 0, 100}, {1, 0, 50, 150}}, 0},
    };
    for (const Combination& row : table) {
        SCOPED_TRACE(row.name);
        CKVRConfig config = EmptyCaseConfig(row.flags);
        for (const std::vector<int>& c : row.cases)
            config.AddControlConfig("C", Case(c[0], c[1], c.size() > 2 ? c[2] : 0, c.size() > 3 ? c[3] : 0));
        const CheckOutcome outcome = RunCheck(&CKVRConfig::CheckInputCombinations, config);
        EXPECT_EQ(outcome.passed, row.message == 0);
        EXPECT_EQ(outcome.shown, row.message ? std::vector<UINT>{row.message} : std::vector<UINT>{});
    }
}
