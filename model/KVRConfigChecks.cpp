// The plausibility checks of a KVR configuration, run before a configuration is taken
// from the configuration sheet, its pages or the case wizard.
#include "model/CKVRConfig.h"

#include "framework/ui/MessageBox.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr UINT kPassed = 0;
// A rule that fails without a message of its own.
constexpr UINT kFailedSilently = UINT(-1);

// Messages of the failed rules.
constexpr UINT kSensorCountMsg = 1124;
constexpr UINT kShelterCountMsg = 1125;
constexpr UINT kControlCountMsg = 1126;
constexpr UINT kSpeedWithInput3Msg = 1127;
constexpr UINT kSpeedWithInput4Msg = 1128;
constexpr UINT kNoOutputMsg = 1129;
constexpr UINT kOssdASettingMsg = 1130;
constexpr UINT kOssdBSettingMsg = 1131;
constexpr UINT kSpeedScale1Msg = 1132;
constexpr UINT kSpeedScale2Msg = 1133;
constexpr UINT kValueV1Msg = 1134;
constexpr UINT kValueV2Msg = 1135;
constexpr UINT kMode1Msg = 1136;
constexpr UINT kMode2Msg = 1137;
constexpr UINT kDelay1Msg = 1138;
constexpr UINT kDelay2Msg = 1139;
constexpr UINT kOptionV4Msg = 1140;
constexpr UINT kCaseOutputAMsg = 1141;
constexpr UINT kCaseOutputBMsg = 1142;
constexpr UINT kFollowCaseMsg = 1143;
constexpr UINT kCaseSensorMsg = 1144;
constexpr UINT kCaseShelterMsg = 1145;
constexpr UINT kTooManyMatchesMsg = 1146;
constexpr UINT kOverlappingSpeedsMsg = 1147;

constexpr int kMaxSensors = 4;
constexpr int kMaxShelters = 8;
constexpr int kMaxControls = 15;
constexpr UINT kMinSpeedScale = 50;
constexpr UINT kMaxSpeedScale = 1000;
constexpr UINT kMaxValueV1 = 25;
constexpr BYTE kMinValueV2 = 5;
constexpr BYTE kMaxValueV2 = 126;
constexpr BYTE kMaxMode = 2;
// At most this many cases may share an input combination, or a speed.
constexpr int kMaxSelectedCases = 2;
// The range a case without a speed range of its own covers.
constexpr int kWholeSpeedLow = -2000;
constexpr int kWholeSpeedHigh = 2000;

// Every combination of the four inputs with each input low (code 10) or high (code 01).
constexpr std::array<BYTE, 16> kInputCombinations = {85,  86,  89,  90,  101, 102, 105, 106,
                                                     149, 150, 153, 154, 165, 166, 169, 170};

bool UsesInput(BYTE flags, int k) { return (flags & (kUsesInput1 << (k - 1))) != 0; }

bool IsValidIndex(int index, int count) { return index >= 0 && index < count; }

bool IsCountInRange(int count, int maxCount) { return count >= 1 && count <= maxCount; }

UINT FirstFailedModeDelayRule(const CModeDelay& pair, UINT modeMsg, UINT delayMsg)
{
    if (pair.GetMode() > kMaxMode) return modeMsg;
    if (pair.GetDelay() < CModeDelay::kMinDelay || pair.GetDelay() > CModeDelay::kMaxDelay) return delayMsg;
    return kPassed;
}

UINT FirstFailedRecordRule(const CKVRConfig& config)
{
    const BYTE flags = config.GetUsedFlags();
    const bool usesSpeed = (flags & kUsesSpeed) != 0;
    if (!IsCountInRange(config.GetSensorConfigCount(), kMaxSensors)) return kSensorCountMsg;
    if (!IsCountInRange(config.GetShelterConfigCount(), kMaxShelters)) return kShelterCountMsg;
    if (!IsCountInRange(config.GetControlConfigCount(), kMaxControls)) return kControlCountMsg;
    if (usesSpeed && UsesInput(flags, 3)) return kSpeedWithInput3Msg;
    if (usesSpeed && UsesInput(flags, 4)) return kSpeedWithInput4Msg;
    if ((flags & (kUsesOssdA | kUsesOssdB)) == 0) return kNoOutputMsg;
    if (config.GetOssdA() != 0 && (flags & kUsesOssdA) == 0) return kOssdASettingMsg;
    if (config.GetOssdB() != 0 && (flags & kUsesOssdB) == 0) return kOssdBSettingMsg;
    if (config.GetSpeedScale1() < kMinSpeedScale || config.GetSpeedScale1() > kMaxSpeedScale) return kSpeedScale1Msg;
    if (config.GetSpeedScale2() < kMinSpeedScale || config.GetSpeedScale2() > kMaxSpeedScale) return kSpeedScale2Msg;
    if (config.GetValueV1() > kMaxValueV1) return kValueV1Msg;
    const BYTE v2 = config.GetValueV2();
    if (v2 != 0 && (v2 < kMinValueV2 || v2 > kMaxValueV2)) return kValueV2Msg;
    if (UINT failed = FirstFailedModeDelayRule(config.GetModeDelay1(), kMode1Msg, kDelay1Msg)) return failed;
    if (UINT failed = FirstFailedModeDelayRule(config.GetModeDelay2(), kMode2Msg, kDelay2Msg)) return failed;
    if (config.GetOptionV4() > 1) return kOptionV4Msg;
    return kPassed;
}

bool HasValidFollowCases(const CKVRControlConfig& control, int caseCount)
{
    switch (control.GetFollowCount()) {
    case 1:
        return IsValidIndex(control.GetFollow1(), caseCount);
    case 2:
        return IsValidIndex(control.GetFollow1(), caseCount) && IsValidIndex(control.GetFollow2(), caseCount);
    default:
        return true;
    }
}

UINT FirstFailedCaseRule(const CKVRConfig& config, const CKVRControlConfig* pControl)
{
    // A list entry without its record cannot name a sensor either.
    if (!pControl) return kCaseSensorMsg;
    const BYTE flags = config.GetUsedFlags();
    if (!IsValidIndex(pControl->GetSensorIndex(), config.GetSensorConfigCount())) return kCaseSensorMsg;
    if (!IsValidIndex(pControl->GetShelterIndex(), config.GetShelterConfigCount())) return kCaseShelterMsg;
    for (int k = 1; k <= CKVRControlConfig::kInputCount; ++k)
        if (!UsesInput(flags, k) && pControl->GetInputState(k) != kInputDontCare) return kFailedSilently;
    if (!HasValidFollowCases(*pControl, config.GetControlConfigCount())) return kFollowCaseMsg;
    if ((flags & kUsesOssdA) == 0 && pControl->GetOutputA() != 0) return kCaseOutputAMsg;
    if ((flags & kUsesOssdB) == 0 && pControl->GetOutputB() != 0) return kCaseOutputBMsg;
    return kPassed;
}

// Whether the combination selects the case: inputs that the configuration does not use
// and inputs the case does not care about are left out of the comparison.
bool SelectsCase(BYTE flags, BYTE combination, const CKVRControlConfig& control)
{
    BYTE casePattern = control.GetInputPattern();
    for (int k = 1; k <= CKVRControlConfig::kInputCount; ++k) {
        const BYTE mask = BYTE(0b11 << (2 * (k - 1)));
        if (!UsesInput(flags, k) || (casePattern & mask) == mask) {
            casePattern &= BYTE(~mask);
            combination &= BYTE(~mask);
        }
    }
    return casePattern == combination;
}

struct SpeedRange {
    int low;
    int high;
    bool Contains(int speed) const { return low <= speed && speed < high; }
};

struct CombinationCounts {
    int matches = 0;
    int overlaps = 0;
};

// Without speed: how many cases the combination selects. With speed: the largest number
// of the selected cases' ranges that contain one of their bounds.
CombinationCounts CountCombination(const CKVRConfig& config, BYTE combination)
{
    const BYTE flags = config.GetUsedFlags();
    const bool usesSpeed = (flags & kUsesSpeed) != 0;
    CombinationCounts counts;
    std::vector<SpeedRange> ranges;
    std::vector<int> points;
    for (int i = 0; i < config.GetControlConfigCount(); ++i) {
        const CKVRControlConfig* pControl = config.GetControlConfig(i);
        if (!pControl || !SelectsCase(flags, combination, *pControl)) continue;
        if (!usesSpeed) {
            ++counts.matches;
            continue;
        }
        const CSpeed& speed = pControl->GetSpeed();
        ranges.push_back(speed.IsSet() ? SpeedRange{speed.GetLow(), speed.GetHigh()}
                                       : SpeedRange{kWholeSpeedLow, kWholeSpeedHigh});
        points.push_back(speed.GetLow());
        points.push_back(speed.GetHigh());
    }
    for (int point : points) {
        if (counts.overlaps > kMaxSelectedCases) break;
        counts.overlaps = int(std::count_if(ranges.begin(), ranges.end(),
                                            [point](const SpeedRange& range) { return range.Contains(point); }));
    }
    return counts;
}

UINT FirstFailedCombinationRule(const CKVRConfig& config)
{
    for (BYTE combination : kInputCombinations) {
        const CombinationCounts counts = CountCombination(config, combination);
        if (counts.matches > kMaxSelectedCases) return kTooManyMatchesMsg;
        if (counts.overlaps > kMaxSelectedCases) return kOverlappingSpeedsMsg;
    }
    return kPassed;
}

BOOL Report(UINT failed, BOOL show)
{
    if (failed == kPassed) return TRUE;
    if (show && failed != kFailedSilently) AfxMessageBox(failed, MB_OK, failed);
    return FALSE;
}

} // namespace

BOOL CKVRConfig::Check(const CKVRConfig& config, BOOL show)
{
    if (UINT failed = FirstFailedRecordRule(config)) return Report(failed, show);
    return CheckControlConfigs(config, show);
}

BOOL CKVRConfig::CheckControlConfigs(const CKVRConfig& config, BOOL show)
{
    for (int i = 0; i < config.GetControlConfigCount(); ++i)
        if (UINT failed = FirstFailedCaseRule(config, config.GetControlConfig(i))) return Report(failed, show);
    return CheckInputCombinations(config, show);
}

BOOL CKVRConfig::CheckInputCombinations(const CKVRConfig& config, BOOL show)
{
    return Report(FirstFailedCombinationRule(config), show);
}
