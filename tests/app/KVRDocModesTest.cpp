// What only the KVR document's modes do: live monitoring reads the scans of the cases the
// unit reports, both outputs on one scanner share their beam flags, and the case
// simulation.
#include "DeviceModesSupport.h"
#include "app/CKVRDoc.h"
#include "app/CKVRView.h"
#include "app/CKVRSimulationState.h"
#include "device/CKVRSensor.h"
#include "model/CKVRConfig.h"
#include "model/CScan.h"

#include <QImage>

#include <algorithm>
#include <memory>

namespace {

using namespace modetest;

using KVRDocModes = ModeFixture<KVRFamily>;

TEST_F(KVRDocModes, LiveMonitoringShowsTheUnitsConfigurationOnlyWhileItRuns)
{
    CKVRConfig* own = doc.GetConfiguration();
    doc.SetMode(kModeMonitor);
    ASSERT_EQ(doc.GetMode(), kModeMonitor);
    EXPECT_TRUE(doc.IsDeviceConfigurationShown());
    EXPECT_NE(doc.GetConfiguration(), own);
    EXPECT_EQ(doc.GetCyclePeriod(), DWORD(GetTalisoSetup().m_nTimerScan));
    bench.Taken();
    doc.TickMode(kModeMonitor);
    // The identification names the cases; a scan is read for each output with a case.
    const std::vector<std::string> tick = bench.Taken();
    ASSERT_FALSE(tick.empty());
    EXPECT_EQ(tick[0], "31");
    EXPECT_LE(std::count(tick.begin(), tick.end(), "30.1"), 2);
    EXPECT_EQ(doc.GetMode(), kModeMonitor);
    doc.SetMode(kModeMonitor);
    EXPECT_EQ(doc.GetConfiguration(), own);
    EXPECT_FALSE(doc.IsCycleArmed());
}

// The simulated unit with monitoring case 1 always active on its first output. The unit
// draws its active cases at random at every identification, and its scans come from the
// cases it drew: it is asked again until it drew case 1 first.
class FirstCaseAnswerer : public DeviceAnswerer {
public:
    bool Answer(ConstRequestSpan request, AnswerSpan answer) override
    {
        if (request[RequestOffset::Command] != kIdentification)
            return m_simulator.Answer(request, answer);
        for (int draw = 0; draw < kDraws; ++draw) {
            if (!m_simulator.Answer(request, answer))
                return false;
            if ((answer[kActiveCases] & 0x0F) == 1)
                break;
        }
        answer[kActiveCases] = 0x01;
        return true;
    }

private:
    static constexpr BYTE kIdentification = 0x31;
    static constexpr std::size_t kActiveCases = 34; // identification byte 25
    static constexpr int kDraws = 64;
    SimulatorAnswerer m_simulator;
};

struct FirstCaseKVRFamily : KVRFamily {
    static std::unique_ptr<DeviceAnswerer> MakeAnswerer() { return std::make_unique<FirstCaseAnswerer>(); }
};

using KVRLiveMonitoring = ModeFixture<FirstCaseKVRFamily>;

// The view may repaint while a tick talks to the unit (its status texts go up): it then
// shows the last complete result, never an empty one.
TEST_F(KVRLiveMonitoring, PaintsDuringATickShowTheLastCompleteResult)
{
    viewtest::SplitterWindow<CKVRView> panes(doc, RUNTIME_CLASS(CKVRView), 200, 200);
    // What the four scanner panes show.
    auto paint = [&] {
        std::vector<QImage> shown;
        for (int pane = 0; pane < 4; ++pane)
            shown.push_back(viewtest::RenderClient(*panes.Pane(pane / 2, pane % 2)));
        return shown;
    };
    doc.SetMode(kModeMonitor);
    ASSERT_EQ(doc.GetMode(), kModeMonitor);
    const std::vector<QImage> empty = paint();
    doc.TickMode(kModeMonitor);
    ASSERT_NE(doc.GetSimulation().GetCase(1)->scan, nullptr);
    ASSERT_NE(paint(), empty) << "the case's fields and scan are drawn";

    std::vector<std::vector<QImage>> paintsDuringTick;
    bench.application->onMessageBarText = [&](const CString&) { paintsDuringTick.push_back(paint()); };
    for (int tick = 1; tick <= 3; ++tick) {
        SCOPED_TRACE(tick);
        const std::vector<QImage> last = paint();
        paintsDuringTick.clear();
        doc.TickMode(kModeMonitor);
        ASSERT_EQ(doc.GetMode(), kModeMonitor);
        ASSERT_FALSE(paintsDuringTick.empty()) << "the tick talked to the unit";
        for (const std::vector<QImage>& shown : paintsDuringTick)
            EXPECT_TRUE(shown == last);
    }
    bench.application->onMessageBarText = nullptr;
}

TEST_F(KVRDocModes, TheCaseSimulationStartsFromTheResetInputsAndSendsNothing)
{
    doc.GetSimulation().TakeDeviceCases(*doc.GetConfiguration(), 1, 1, 50);
    doc.SetMode(kModeSimulation);
    ASSERT_EQ(doc.GetMode(), kModeSimulation);
    EXPECT_FALSE(doc.GetSimulation().IsFromDevice());
    EXPECT_EQ(doc.GetSimulation().GetSpeed(), 0);
    EXPECT_EQ(doc.GetSimulation().GetInputs(), (std::array<int, 4>{kInputLow, kInputLow, kInputLow, kInputLow}));
    doc.SetMode(kModeSimulation);
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_TRUE(bench.Taken().empty());
}

TEST(KVRSimulationState, BothOutputsOnOneScannerShareTheirBeamFlags)
{
    auto scan = [](int beams, int flaggedBeam, int flag) {
        std::vector<WORD> words(std::size_t(beams), 500);
        auto made = std::make_unique<CScan>();
        made->SetScanData(CSensorType(4, 0), words.data(), WORD(beams));
        made->ClearFlags();
        if (flag == 1) made->SetFlag1(flaggedBeam, TRUE);
        if (flag == 2) made->SetFlag2(flaggedBeam, TRUE);
        if (flag == 3) made->SetFlag3(flaggedBeam, TRUE);
        return made;
    };
    CKVRSimulationState state;
    state.GetCase(1)->scan = scan(361, 10, 1);
    state.GetCase(2)->scan = scan(361, 20, 3);
    state.MergeCaseScanFlags();
    for (int output : {1, 2}) {
        const CScan& merged = *state.GetCase(output)->scan;
        EXPECT_TRUE(merged.GetFlag1(10));
        EXPECT_TRUE(merged.GetFlag3(20));
        EXPECT_FALSE(merged.GetFlag2(10) || merged.GetFlag2(20) || merged.GetFlag1(20));
    }
    // Scans of different length are left as they are.
    state.GetCase(1)->scan = scan(361, 10, 2);
    state.GetCase(2)->scan = scan(180, 20, 2);
    state.MergeCaseScanFlags();
    EXPECT_FALSE(state.GetCase(1)->scan->GetFlag2(20));
    EXPECT_FALSE(state.GetCase(2)->scan->GetFlag2(10));
}

// The unit numbers its cases from 1 on each output: its last case is taken with the
// case's scanner and field pair; a number past the last case, or 0, selects none.
TEST(KVRSimulationState, DeviceCaseNumbersReachUpToTheLastCase)
{
    CKVRConfig config;
    constexpr int kCases = 3;
    for (int i = 0; i < kCases; ++i) {
        auto control = std::make_unique<CKVRControlConfig>();
        control->SetSensorIndex(i);
        control->SetShelterIndex(kCases - 1 - i);
        CString name;
        name.Format("Case%d", i + 1);
        config.AddControlConfig(name, std::move(control));
    }
    const struct {
        int numbers[2];
        int caseIndexes[2];
    } reports[] = {
        {{kCases, kCases + 1}, {kCases - 1, -1}},
        {{kCases + 1, kCases}, {-1, kCases - 1}},
        {{0, 1}, {-1, 0}},
    };
    CKVRSimulationState state;
    for (const auto& report : reports) {
        SCOPED_TRACE(testing::Message() << "cases " << report.numbers[0] << " and " << report.numbers[1]);
        state.TakeDeviceCases(config, report.numbers[0], report.numbers[1], 77);
        EXPECT_TRUE(state.IsFromDevice());
        EXPECT_EQ(state.GetSpeed(), 77);
        for (int output : {1, 2}) {
            const int index = report.caseIndexes[output - 1];
            const CKVRCaseState& shown = *state.GetCase(output);
            EXPECT_EQ(shown.caseIndex, index) << "output " << output;
            EXPECT_EQ(shown.sensorIndex, index) << "output " << output;
            EXPECT_EQ(shown.shelterIndex, index < 0 ? -1 : kCases - 1 - index) << "output " << output;
        }
    }
    // A unit has four inputs and two outputs only.
    EXPECT_EQ(state.GetInput(-1), 0);
    EXPECT_EQ(state.GetInput(4), 0);
    const CKVRSimulationState& shown = state;
    for (int output : {0, 3}) {
        EXPECT_EQ(state.GetCase(output), nullptr) << output;
        EXPECT_EQ(shown.GetCase(output), nullptr) << output;
    }
}

} // namespace
