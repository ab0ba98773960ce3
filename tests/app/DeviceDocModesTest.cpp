// The modes of both device documents through the real driver against the emulator
// answering as the simulated device: the requests of each road (identification and block
// reads left out), the teach-in's two endings and the modes that follow them, the
// verification until every beam is marked, refused starts and line faults after the
// login.
#include "DeviceModesSupport.h"
#include "app/CKVRDoc.h"
#include "app/CKVRView.h"
#include "app/CZOKDoc.h"
#include "app/CZOKView.h"
#include "app/DeviceTransfer.h"
#include "device/CKVRSensor.h"
#include "device/CZOKSensor.h"
#include "dialogs/CQuestionDialog.h"
#include "framework/ui/CDialog.h"
#include "model/CScan.h"

#include <algorithm>

namespace {

using namespace modetest;

template <class Traits>
class DeviceDocModes : public ModeFixture<Traits> {};

using Families = ::testing::Types<KVRFamily, ZOKFamily>;
TYPED_TEST_SUITE(DeviceDocModes, Families);

TYPED_TEST(DeviceDocModes, EachModeSendsItsRequests)
{
    auto& doc = this->doc;
    auto& ui = this->ui;
    struct Road {
        const char* name;
        int mode;
        const char* start;
        const char* tick; // null: whatever the device's state asks for
        int endBy;        // the mode selected to end it: the same mode stops, none aborts
        int answer;       // to the question at the end, if any
        const char* end;
    };
    const Road roads[] = {
        {"edit", kModeEdit, "", "30.1", kModeEdit, 0, ""},
        {"monitor", kModeMonitor, TypeParam::kMonitorStart, nullptr, kModeMonitor, 0, ""},
        {"teach-in aborted", kModeTeachIn, "20.0 46.0 30.3", "30.3", kModeNone, 0, "46.2 20.33"},
        {"verification aborted", kModeVerify, "20.0 40 41.1", "30.4 30.1", kModeNone, 0, "41.0 20.33"},
        {"verification refused at its stop", kModeVerify, "20.0 40 41.1", "30.4 30.1", kModeVerify, IDNO,
         "41.0 20.33"},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        doc.SetMode(road.mode);
        EXPECT_EQ(doc.GetMode(), road.mode);
        EXPECT_EQ(Joined(this->bench.Steps()), road.start);
        doc.TickMode(road.mode);
        const std::string tick = Joined(this->bench.Steps());
        if (road.tick != nullptr)
            EXPECT_EQ(tick, road.tick);
        EXPECT_EQ(doc.GetMode(), road.mode);
        if (road.answer != 0)
            ui.QueueAnswer(road.answer);
        if (road.endBy == kModeNone)
            doc.AbortActiveMode();
        else
            doc.SetMode(road.endBy);
        EXPECT_EQ(doc.GetMode(), kModeNone);
        EXPECT_EQ(Joined(this->bench.Steps()), road.end);
        EXPECT_FALSE(doc.IsDeviceConfigurationShown());
        EXPECT_FALSE(doc.IsCycleArmed());
        EXPECT_EQ(doc.GetTeachContour(), nullptr);
        EXPECT_EQ(doc.GetVerifyContour(), nullptr);
        EXPECT_EQ(ui.PendingAnswers(), 0u);
    }
}

// The teach-in ends with the choice dialog after more than 8 s since its start (on the
// test's clock); 2086 goes on in mode 1 without the locked-field question, 2181 in mode
// 4 without the save question and without the 0x46 step 2.
TYPED_TEST(DeviceDocModes, TheTeachInsChoiceDecidesTheModeThatFollows)
{
    auto& doc = this->doc;
    auto& ui = this->ui;
    struct Ending {
        int choice;
        const char* stop;
        int followingMode;
    };
    const Ending endings[] = {
        {CQuestionDialog::IDC_ANSWER_EDIT, "46.1 46.2 20.33", kModeEdit},
        {CQuestionDialog::IDC_ANSWER_VERIFY, "46.1 20.33", kModeVerify},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.choice);
        doc.SetConfiguration(this->SimulatorConfiguration(), FALSE);
        doc.SetModifiedFlag(FALSE);
        doc.SetMode(kModeTeachIn);
        ASSERT_EQ(doc.GetMode(), kModeTeachIn);
        EXPECT_EQ(Joined(this->bench.Steps()), "20.0 46.0 30.3");
        ASSERT_NE(doc.GetTeachContour(), nullptr);
        const int taughtBeams = doc.GetTeachContour()->GetBeamCount();
        const auto sleptBefore = this->clock.Slept();
        this->clock.Advance(std::chrono::seconds(3));

        ui.QueueModal([&](CWnd& dialog) { static_cast<CDialog&>(dialog).EndDialog(ending.choice); });
        doc.SetMode(kModeTeachIn);
        EXPECT_EQ(Joined(this->bench.Steps()), ending.stop);
        const auto slept = this->clock.Slept() - sleptBefore;
        EXPECT_GT(slept, std::chrono::milliseconds(5000));
        EXPECT_LE(slept, std::chrono::milliseconds(5100));
        EXPECT_EQ(doc.GetTeachContour(), nullptr);
        const auto* taught = dynamic_cast<CPolyShelter*>(doc.GetCurrentObject());
        ASSERT_NE(taught, nullptr);
        EXPECT_EQ(taught->GetBeamCount(), taughtBeams);
        EXPECT_TRUE(doc.IsModified());

        RunFollowUps();
        EXPECT_EQ(doc.GetMode(), ending.followingMode);
        const std::vector<std::string> following = this->bench.Steps();
        EXPECT_EQ(!following.empty() && following.back() == "41.1", ending.followingMode == kModeVerify);
        for (const MessageBoxRecord& box : ui.MessageBoxes())
            EXPECT_NE(box.id, UINT(AFX_IDP_ASK_TO_SAVE)) << "no save question before the mode that follows";
        EXPECT_FALSE(doc.IsSavePromptSkipped());
        EXPECT_EQ(doc.GetState().m_nLockedFieldWarning, 1);
        doc.AbortActiveMode();
        this->bench.Taken();
        ui.ClearMessageBoxes();
    }
}

// A follow-up into mode 1 that its update rule refuses (a new teach-in runs by then)
// leaves the locked-field question on for the next start.
TYPED_TEST(DeviceDocModes, ARefusedFollowUpLeavesTheLockedFieldQuestionOn)
{
    auto& doc = this->doc;
    doc.SetMode(kModeTeachIn);
    ASSERT_EQ(doc.GetMode(), kModeTeachIn);
    this->ui.QueueModal(
        [](CWnd& dialog) { static_cast<CDialog&>(dialog).EndDialog(CQuestionDialog::IDC_ANSWER_EDIT); });
    doc.SetMode(kModeTeachIn);
    EXPECT_EQ(doc.GetState().m_nLockedFieldWarning, 0);
    doc.SetModifiedFlag(FALSE);
    doc.SetMode(kModeTeachIn);
    ASSERT_EQ(doc.GetMode(), kModeTeachIn);
    RunFollowUps();
    EXPECT_EQ(doc.GetMode(), kModeTeachIn);
    EXPECT_EQ(doc.GetState().m_nLockedFieldWarning, 1);
}

// The device marks the contour's beams step by step; every tick flags the scan where the
// contour is not marked yet; once all are marked the mode stops itself (only while it is
// still mode 4), and Yes to 319 stores the field.
TYPED_TEST(DeviceDocModes, VerificationStopsItselfOnceEveryBeamIsMarked)
{
    auto& doc = this->doc;
    auto& ui = this->ui;
    doc.SetMode(kModeVerify);
    ASSERT_EQ(doc.GetMode(), kModeVerify);
    this->bench.Taken();
    int ticks = 0;
    while (doc.GetMode() == kModeVerify && ticks < 30) {
        doc.TickMode(kModeVerify);
        ++ticks;
        const CPolyShelter* contour = doc.GetVerifyContour();
        ASSERT_NE(contour, nullptr);
        const auto* scan = dynamic_cast<const CScan*>(doc.GetResult());
        ASSERT_NE(scan, nullptr);
        int flagged = 0;
        for (int beam = 0; beam < contour->GetBeamCount(); ++beam)
            flagged += scan->GetFlag1(beam) ? 1 : 0;
        EXPECT_EQ(flagged, contour->GetBeamCount() - contour->GetMarkedBeamCount());
        if (ui.PendingAnswers() == 0)
            ui.QueueAnswer(IDYES);
        RunFollowUps();
    }
    EXPECT_GT(ticks, 2);
    EXPECT_EQ(doc.GetMode(), kModeNone);
    const std::vector<std::string> steps = this->bench.Steps();
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(Joined({steps[steps.size() - 2], steps.back()}), "41.2 20.33");
    std::vector<UINT> boxes;
    for (const MessageBoxRecord& box : ui.MessageBoxes())
        boxes.push_back(box.id);
    EXPECT_EQ(boxes, (std::vector<UINT>{IDP_ACCEPT_VERIFIED_FIELD, IDP_VERIFIED_FIELD_STORED}));
    const auto* stored = dynamic_cast<const CPolyShelter*>(doc.GetCurrentObject());
    ASSERT_NE(stored, nullptr);
    EXPECT_TRUE(stored->IsProtectiveInDevice());
    EXPECT_EQ(stored->GetMarkedBeamCount(), 0);

    // A stop request that arrives after the mode ended starts nothing.
    doc.RequestModeStop(kModeVerify);
    RunFollowUps();
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_TRUE(this->bench.Steps().empty());
}

TYPED_TEST(DeviceDocModes, ContourModesNeedASelectedScanner)
{
    auto& doc = this->doc;
    doc.GetState().m_nSelectedScanner = doc.GetState().GetNoScanner();
    for (int mode : {kModeTeachIn, kModeVerify}) {
        SCOPED_TRACE(mode);
        this->ui.ClearMessageBoxes();
        doc.SetMode(mode);
        EXPECT_EQ(doc.GetMode(), kModeNone);
        EXPECT_TRUE(this->bench.Steps().empty());
        ASSERT_EQ(this->ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(this->ui.MessageBoxes()[0].id, IDP_NO_SCANNER_SELECTED);
    }
}

// A refused or lost answer after the login: Cancel at the Retry/Cancel prompt ends the
// start, and the device is logged out.
TYPED_TEST(DeviceDocModes, ALineFaultAfterTheLoginEndsTheStartLoggedOut)
{
    auto& doc = this->doc;
    auto& ui = this->ui;
    struct Fault {
        EmulatorFault fault;
        int mode;
        const char* steps;
        UINT prompt;
    };
    const Fault faults[] = {
        {EmulatorFault::Nak, kModeTeachIn, "20.0 46.0 46.0 20.33", 361},
        {EmulatorFault::Silence, kModeTeachIn, "20.0 46.0 46.0 20.33", 361},
        {EmulatorFault::Nak, kModeVerify, "20.0 40 40 20.33", 353},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.steps);
        ui.ClearMessageBoxes();
        // A start without faults counts the requests up to the login; in the start that
        // follows, the request after the login fails twice (the driver sends it again once).
        doc.SetMode(f.mode);
        doc.AbortActiveMode();
        const std::vector<std::string> dryRun = this->bench.Taken();
        const auto login = std::find(dryRun.begin(), dryRun.end(), "20.0");
        ASSERT_NE(login, dryRun.end());
        std::vector<EmulatorFault> plan(std::size_t(login - dryRun.begin()) + 1, EmulatorFault::None);
        plan.insert(plan.end(), {f.fault, f.fault});
        this->bench.emulator.PlanFaults(plan);
        ui.QueueAnswer(IDCANCEL);
        doc.SetMode(f.mode);
        EXPECT_EQ(doc.GetMode(), kModeNone);
        EXPECT_EQ(Joined(this->bench.Steps()), f.steps);
        ASSERT_FALSE(ui.MessageBoxes().empty());
        EXPECT_EQ(ui.MessageBoxes().back().id, f.prompt);
        EXPECT_FALSE(doc.IsCycleArmed());
    }
}

} // namespace
