// The dialog library's stand-in running actions through the diagnosis library's request
// callback, as the diagnosis dialog does: every answer reaches the user whole.
#include "diagnose/DiagnoseFixture.h"
#include "diagnose/internal/DiagnoseRequest.h"
#include "diagnose/internal/DiagnoseTexts.h"
#include "diagnose/internal/InputDialogs.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "outside/dravdlg/internal/DravDialogActions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

std::string Text(UINT id, std::initializer_list<TextArg> args = {}) { return LoadDiagnoseText(id, args); }

const DravRequestKind& Action(int kind, int subKind)
{
    for (const DravRequestKind& action : DravRequestKinds())
        if (action.kind == kind && action.subKind == subKind)
            return action;
    ADD_FAILURE() << "no action " << kind << "/" << subKind;
    return DravRequestKinds().front();
}

class DravDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        info.RequestCallback = DiagnoseRequest;
    }

    DiagnoseTexts texts;
    ScriptedUi ui;
    FakeLine line;
    DIALOGINFOSTRUCT info;
};

// 361 values fill far more than the dialog's first buffer held; the table ends with its
// last value and the address line, for both families.
TEST_F(DravDlgTest, BarChartOfEveryBeamArrivesWholeWithItsAddressLine)
{
    for (const BYTE family : {kFamilyZOK, kFamilyKVR}) {
        SCOPED_TRACE(int(family));
        LibraryState state(line, 3, family);
        SensorAnswer values = FakeLine::Answer(0xB0);
        values.SetWord(10, 361);
        for (int i = 0; i < 361; ++i)
            values.SetWord(std::size_t(12 + 2 * i), WORD(0xE000 | (1000 + i)));
        line.Queue(values);
        ui.QueueModal([](CWnd& dialog) { EXPECT_TRUE(DialogDriver(dialog).Ok()); });
        const DravRequestOutcome outcome = DravRunRequest(info, nullptr, Action(12, 73));
        ASSERT_TRUE(outcome.sent);
        EXPECT_FALSE(outcome.cut);
        EXPECT_GT(outcome.text.size(), 8192u);
        const std::string address = Text(family == kFamilyKVR ? 1560 : 1559, {3});
        ASSERT_GE(outcome.text.size(), address.size());
        EXPECT_EQ(outcome.text.substr(outcome.text.size() - address.size()), address);
        EXPECT_NE(outcome.text.find("\n360 "), std::string::npos);
        EXPECT_EQ(std::count(outcome.text.begin(), outcome.text.end(), '\n'),
                  std::count(address.begin(), address.end(), '\n') + 1 + 361 + 1)
            << "count line, head, one line per value";
    }
}

// The stand-in asks again with the size the library names; an answer that keeps growing
// ends with a visible note instead of stopping mid-line.
TEST_F(DravDlgTest, LongerAnswersAreAskedAgainAndNeverCutUnseen)
{
    static int calls;
    static std::size_t length;
    static bool growing;
    const auto answer = [](HWND, DiagnoseRequestRecord* record) {
        ++calls;
        const std::string text(length, 'v');
        const std::size_t written = std::min(text.size(), std::size_t(record->TextSize - 1));
        std::memcpy(record->Text, text.data(), written);
        record->Text[written] = '\0';
        if (written < text.size())
            record->TextSize = std::int32_t(text.size() + 1);
        if (growing)
            length += length / 2; // a new reading, longer still
        return 1;
    };
    info.RequestCallback = answer;
    const DravRequestKind action{10, 0, "test", false};

    calls = 0;
    length = 100000;
    growing = false;
    DravRequestOutcome outcome = DravRunRequest(info, nullptr, action);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(outcome.cut);
    EXPECT_EQ(outcome.text, std::string(100000, 'v'));

    calls = 0;
    length = 80000;
    growing = true;
    outcome = DravRunRequest(info, nullptr, action);
    EXPECT_EQ(calls, 3) << "each reading was longer again";
    EXPECT_TRUE(outcome.cut);
    EXPECT_EQ(outcome.text.find_first_not_of('v'), 120000u) << "what came, then the note";
    EXPECT_GT(outcome.text.size(), 120000u);
}

TEST_F(DravDlgTest, ChoosingTheDeviceAddressAsksOnce)
{
    LibraryState state(line, 0, kFamilyZOK);
    ui.QueueModal([](CWnd& dialog) {
        DialogDriver driver(dialog);
        driver.SetText(2277, "9");
        driver.SetText(2139, "KVR");
        EXPECT_TRUE(driver.Ok());
    });
    const DravRequestOutcome outcome = DravRunRequest(info, nullptr, Action(152, 0));
    ASSERT_EQ(ui.ModalRuns().size(), 1u);
    EXPECT_EQ(ui.ModalRuns()[0].templateId, IDD_DEVICE_ADR);
    EXPECT_EQ(outcome.text, Text(1560, {9}));
    EXPECT_EQ(ui.PendingModals(), 0u);
}

} // namespace
