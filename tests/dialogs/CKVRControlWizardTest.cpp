// The KVR monitoring-case wizard driven page by page on its shipped templates: new and
// edited cases, the checks that keep a page, the speed range, the option's first choice,
// the following-case numbers, and each page rendered offscreen.
#include "ShippedLanguage.h"

#include "tests/framework/ui/ScreenshotFolder.h"

#include "dialogs/CKVRControlWizard.h"
#include "dialogs/CKVRControlWizardPage.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CKVRConfig.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <functional>
#include <string>

namespace {

using Name = CKVRControlNamePage;
using Assign = CKVRControlAssignWizardPage;
using Inputs = CKVRControlInputsWizardPage;
using Speed = CKVRControlSpeedWizardPage;
using Option = CKVRControlOptionWizardPage;
using Follow = CKVRControlFollowWizardPage;
using Scans = CKVRControlScansWizardPage;
constexpr int IDC_INPUT3 = Inputs::IDC_INPUT1 + 2;
constexpr int IDC_INPUT4 = Inputs::IDC_INPUT1 + 3;

constexpr BYTE kInputs123 = kUsesInput1 | 0x02 | 0x04;
constexpr BYTE kWithSpeed = kUsesInput1 | 0x02 | kUsesSpeed | kUsesOssdA | kUsesOssdB;

// Two sensors, two field pairs and three cases: "Stop" (input 3 high, option A), "Drive"
// (-500 to 1500 cm/s, option A) and "Park" (input 3 low, option B), each with sensor 2,
// field pair 1 and 5 scans.
CKVRConfig SampleConfig(BYTE flags)
{
    struct CaseSpec {
        const char* name;
        int input3;
        CSpeed speed;
        bool optionB;
    };
    CKVRConfig config;
    config.SetUsedFlags(flags);
    for (const char* name : {"Front", "Rear"}) config.AddSensorConfig(name, std::make_unique<CKVRSensorConfig>());
    for (const char* name : {"Slow", "Fast"}) config.AddShelterConfig(name, std::make_unique<CKVRShelterConfig>());
    for (const CaseSpec& spec : {CaseSpec{"Stop", kInputHigh, CSpeed(), false},
                                 CaseSpec{"Drive", kInputDontCare, CSpeed(-500, 1500), false},
                                 CaseSpec{"Park", kInputLow, CSpeed(), true}}) {
        auto control = std::make_unique<CKVRControlConfig>();
        control->SetInputState(3, spec.input3);
        control->SetSpeed(spec.speed);
        control->SetOutputA(spec.optionB ? 0 : 1);
        control->SetOutputB(spec.optionB ? 1 : 0);
        control->SetSensorIndex(1);
        control->SetShelterIndex(0);
        control->SetScanCount(5);
        config.AddControlConfig(spec.name, std::move(control));
    }
    return config;
}

// Which page is shown, by a control only that page has (pages shown before stay made).
bool OnPage(const DialogDriver& driver, int id) { return driver.IsVisible(id); }

class CKVRControlWizardTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }

    CString Text(UINT id) const { return language.Text(id); }
    CString Formatted(UINT id, const char* insert) const
    {
        CString text;
        AfxFormatString1(text, id, insert);
        return text;
    }
    void Script(std::function<void(DialogDriver&)> script)
    {
        ui.QueueModal([script](CWnd& sheet) {
            DialogDriver driver(sheet);
            script(driver);
        });
    }

    ShippedLanguage language;
    ScriptedUi ui;
};

TEST_F(CKVRControlWizardTest, NewCaseRunsThroughEveryPageAndKeepsPagesOnBadEntries)
{
    const CKVRConfig config = SampleConfig(kInputs123 | kUsesOssdA);
    Script([this](DialogDriver& driver) {
        // 164: the proposed name is the next case number.
        ASSERT_TRUE(OnPage(driver, Name::IDC_NAME));
        EXPECT_EQ(driver.Text(Name::IDC_NAME), Text(1182) + "4");
        EXPECT_FALSE(driver.IsEnabled(ID_WIZBACK));
        for (const char* refused : {"", "Stop"}) {
            EXPECT_TRUE(driver.SetText(Name::IDC_NAME, refused));
            EXPECT_TRUE(driver.Next());
            EXPECT_TRUE(OnPage(driver, Name::IDC_NAME)) << refused;
        }
        EXPECT_TRUE(driver.SetText(Name::IDC_NAME, "Left"));
        EXPECT_TRUE(driver.Next());

        // 165: the first entries are proposed.
        ASSERT_TRUE(OnPage(driver, Assign::IDC_SENSORS));
        EXPECT_TRUE(driver.IsEnabled(ID_WIZBACK));
        EXPECT_EQ(driver.Selection(Assign::IDC_SENSORS), 0);
        EXPECT_EQ(driver.Selection(Assign::IDC_FIELD_PAIRS), 0);
        EXPECT_TRUE(driver.Select(Assign::IDC_SENSORS, 1));
        EXPECT_TRUE(driver.Select(Assign::IDC_FIELD_PAIRS, 1));
        EXPECT_TRUE(driver.Next());

        // 166: input 4 is not in use.
        ASSERT_TRUE(OnPage(driver, IDC_INPUT4));
        EXPECT_TRUE(driver.IsEnabled(IDC_INPUT3));
        EXPECT_FALSE(driver.IsEnabled(IDC_INPUT4));
        EXPECT_TRUE(driver.SelectString(Inputs::IDC_INPUT1, "1"));
        EXPECT_TRUE(driver.SelectString(IDC_INPUT3, "0"));
        EXPECT_TRUE(driver.Next());

        // 168: only option A is in use.
        ASSERT_TRUE(OnPage(driver, Option::IDC_OPTION_A));
        EXPECT_EQ(driver.Check(Option::IDC_OPTION_A), BST_CHECKED);
        EXPECT_FALSE(driver.IsEnabled(Option::IDC_OPTION_B));
        EXPECT_TRUE(driver.Next());

        // 169: fifteen numbers but the new case's own (4).
        ASSERT_TRUE(OnPage(driver, Follow::IDC_FIRST));
        EXPECT_EQ(driver.Check(Follow::IDC_NONE), BST_CHECKED);
        EXPECT_FALSE(driver.IsEnabled(Follow::IDC_FIRST));
        EXPECT_EQ(driver.Count(Follow::IDC_FIRST), 14);
        EXPECT_EQ(driver.ItemText(Follow::IDC_FIRST, 2), "3");
        EXPECT_EQ(driver.ItemText(Follow::IDC_FIRST, 3), "5");
        EXPECT_EQ(driver.ItemText(Follow::IDC_FIRST, 13), "15");
        EXPECT_TRUE(driver.Click(Follow::IDC_TWO));
        EXPECT_TRUE(driver.IsEnabled(Follow::IDC_SECOND));
        EXPECT_EQ(driver.Selection(Follow::IDC_FIRST), 0);
        EXPECT_TRUE(driver.Select(Follow::IDC_SECOND, 3));
        EXPECT_TRUE(driver.Next());

        // 170: the type's fewest scans, with the response time of what is typed.
        ASSERT_TRUE(OnPage(driver, Scans::IDC_SCANS));
        EXPECT_EQ(driver.Text(Scans::IDC_SCANS), "2 "); // a number with its (empty) unit
        EXPECT_EQ(driver.Text(Scans::IDC_RESPONSE_TIME), Formatted(Scans::IDS_RESPONSE_TIME, "190"));
        EXPECT_TRUE(driver.SetText(Scans::IDC_SCANS, "17"));
        EXPECT_EQ(driver.Text(Scans::IDC_RESPONSE_TIME), Formatted(Scans::IDS_RESPONSE_TIME, "790"));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(OnPage(driver, Scans::IDC_SCANS));
        EXPECT_TRUE(driver.SetText(Scans::IDC_SCANS, "3"));
        EXPECT_TRUE(driver.Next());

        // 171: Back and a finish button reading OK.
        EXPECT_TRUE(driver.IsEnabled(ID_WIZBACK));
        EXPECT_EQ(driver.Text(ID_WIZFINISH), "OK");
        EXPECT_TRUE(driver.Finish());
    });
    CNewKVRControlWizard wizard;
    ASSERT_TRUE(wizard.Run(config));
    EXPECT_EQ(wizard.GetName(), "Left");
    const CKVRControlConfig* built = wizard.GetControlConfig();
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->GetSensorIndex(), 1);
    EXPECT_EQ(built->GetShelterIndex(), 1);
    EXPECT_EQ(built->GetInputState(1), kInputHigh);
    EXPECT_EQ(built->GetInputState(3), kInputLow);
    EXPECT_EQ(built->GetInputState(4), kInputDontCare);
    EXPECT_EQ(built->GetOutputA(), 1);
    EXPECT_EQ(built->GetOutputB(), 0);
    EXPECT_EQ(built->GetFollowCount(), 2);
    EXPECT_EQ(built->GetFollow1(), 0);
    EXPECT_EQ(built->GetFollow2(), 4);
    EXPECT_EQ(built->GetScanCount(), 3);
    EXPECT_FALSE(built->GetSpeed().IsSet());

    ASSERT_EQ(ui.MessageBoxes().size(), 3u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, Name::IDP_NO_NAME);
    EXPECT_EQ(ui.MessageBoxes()[1].text, Formatted(Name::IDP_NAME_IN_USE, "Stop"));
    EXPECT_NE(ui.MessageBoxes()[2].text.Find("16"), -1) << ui.MessageBoxes()[2].text.c_str();
}

// An edited case starts at its assignment (no name page) and ends up in a copy; the
// caller's configuration stays as it was, and Cancel gives no case.
TEST_F(CKVRControlWizardTest, EditedCaseKeepsItsNameAndCancelGivesNothing)
{
    const CKVRConfig config = SampleConfig(kInputs123 | kUsesOssdA | kUsesOssdB);
    Script([](DialogDriver& driver) {
        EXPECT_FALSE(OnPage(driver, Name::IDC_NAME));
        ASSERT_TRUE(OnPage(driver, Assign::IDC_SENSORS));
        EXPECT_FALSE(driver.IsEnabled(ID_WIZBACK));
        EXPECT_EQ(driver.Selection(Assign::IDC_SENSORS), 1);
        EXPECT_TRUE(driver.Next());
        EXPECT_EQ(driver.Text(IDC_INPUT3), "0");
        EXPECT_TRUE(driver.Next());
        EXPECT_EQ(driver.Check(Option::IDC_OPTION_B), BST_CHECKED);
        EXPECT_TRUE(driver.Click(Option::IDC_OPTION_A));
        EXPECT_TRUE(driver.Next());
        // Case 3 never follows itself.
        for (int i = 0; i < driver.Count(Follow::IDC_FIRST); ++i) EXPECT_NE(driver.ItemText(Follow::IDC_FIRST, i), "3");
        EXPECT_TRUE(driver.Next());
        EXPECT_EQ(driver.Text(Scans::IDC_SCANS), "5 ");
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Finish());
    });
    std::unique_ptr<CKVRControlConfig> edited = RunEditKVRControlWizard(nullptr, config, 2);
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->GetInputState(3), kInputLow);
    EXPECT_EQ(edited->GetOutputA(), 1);
    EXPECT_EQ(edited->GetOutputB(), 0);
    EXPECT_EQ(edited->GetScanCount(), 5);
    EXPECT_EQ(config.GetControlConfig(2)->GetOutputB(), 1);

    Script([](DialogDriver& driver) {
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Cancel());
    });
    CEditKVRControlWizard cancelled;
    EXPECT_FALSE(cancelled.Run(config, 2));
    EXPECT_EQ(cancelled.GetControlConfig(), nullptr);
    CEditKVRControlWizard missing;
    EXPECT_FALSE(missing.Run(config, 3));
    EXPECT_TRUE(ui.ModalRuns().size() == 2u);
}

// An input whose usage bit is clear shows its stored state, cannot be changed and keeps it.
TEST_F(CKVRControlWizardTest, UnusedInputKeepsItsStoredState)
{
    const CKVRConfig config = SampleConfig(kUsesInput1 | kUsesOssdA | kUsesOssdB);
    Script([](DialogDriver& driver) {
        EXPECT_TRUE(driver.Next());
        EXPECT_FALSE(driver.IsEnabled(IDC_INPUT3));
        EXPECT_FALSE(driver.SelectString(IDC_INPUT3, "X"));
        EXPECT_EQ(driver.Text(IDC_INPUT3), "1");
        for (int page = 0; page < 4; ++page) EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Finish());
    });
    std::unique_ptr<CKVRControlConfig> edited = RunEditKVRControlWizard(nullptr, config, 0);
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->GetInputState(3), kInputHigh);
}

// Without a sensor configuration nothing can be chosen, and the assignment page stays.
TEST_F(CKVRControlWizardTest, AssignmentNeedsASensorAndAFieldPair)
{
    CKVRConfig config;
    config.AddShelterConfig("Slow", std::make_unique<CKVRShelterConfig>());
    Script([](DialogDriver& driver) {
        EXPECT_TRUE(driver.Next());
        EXPECT_EQ(driver.Selection(Assign::IDC_SENSORS), -1);
        EXPECT_EQ(driver.Selection(Assign::IDC_FIELD_PAIRS), 0);
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(OnPage(driver, Assign::IDC_SENSORS));
        EXPECT_TRUE(driver.Cancel());
    });
    CString name;
    EXPECT_FALSE(RunNewKVRControlWizard(nullptr, config, name));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, Assign::IDP_NOT_CHOSEN);
}

// The bounds lie in [-highest, -10] or [10, highest], and the high bound above the low
// one; unchecked, the case has no range whatever the edits hold.
TEST_F(CKVRControlWizardTest, SpeedRangeIsCheckedOnlyWhileUsed)
{
    struct Case {
        const char* low;
        const char* high;
        bool use;
        bool accepted;
        int storedLow;
        int storedHigh;
    };
    const Case cases[] = {
        {"100", "200 cm/s", true, true, 100, 200},
        {"-5", "200", true, false, 0, 0},
        {"5", "200", true, false, 0, 0},
        {"-10", "10", true, true, -10, 10},
        {"300", "300", true, false, 0, 0},
        {"300", "200", true, false, 0, 0},
        {"5", "x", false, true, 0, 0},
    };
    const CKVRConfig config = SampleConfig(kWithSpeed);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.low) + ".." + c.high);
        ui.ClearMessageBoxes();
        Script([&c](DialogDriver& driver) {
            EXPECT_TRUE(driver.Next());
            ASSERT_TRUE(OnPage(driver, Speed::IDC_USE_SPEED));
            // Case 2 runs from -500 to 1500.
            EXPECT_EQ(driver.Check(Speed::IDC_USE_SPEED), BST_CHECKED);
            EXPECT_EQ(driver.Text(Speed::IDC_LOW), "-500 cm/s");
            EXPECT_TRUE(driver.SetText(Speed::IDC_LOW, c.low));
            EXPECT_TRUE(driver.SetText(Speed::IDC_HIGH, c.high));
            if (!c.use) {
                EXPECT_TRUE(driver.Click(Speed::IDC_USE_SPEED));
                EXPECT_FALSE(driver.IsEnabled(Speed::IDC_LOW));
                EXPECT_FALSE(driver.IsEnabled(Speed::IDC_HIGH));
            }
            EXPECT_TRUE(driver.Next());
            EXPECT_EQ(OnPage(driver, Speed::IDC_USE_SPEED), !c.accepted);
            if (!c.accepted) {
                driver.Cancel();
                return;
            }
            for (int page = 0; page < 3; ++page) EXPECT_TRUE(driver.Next());
            EXPECT_TRUE(driver.Finish());
        });
        std::unique_ptr<CKVRControlConfig> edited = RunEditKVRControlWizard(nullptr, config, 1);
        ASSERT_EQ(edited != nullptr, c.accepted);
        EXPECT_EQ(ui.MessageBoxes().empty(), c.accepted);
        if (edited) {
            EXPECT_EQ(edited->GetSpeed().GetLow(), c.storedLow);
            EXPECT_EQ(edited->GetSpeed().GetHigh(), c.storedHigh);
        }
    }
}

// The option shown first: the case's own, else the first one the configuration uses.
TEST_F(CKVRControlWizardTest, OptionPageStartsWithTheFittingOption)
{
    struct Case {
        int index; // -1: a new case with neither option
        BYTE flags;
        int checked;
    };
    const Case cases[] = {
        {0, kUsesOssdB, Option::IDC_OPTION_A},          // the case's option A
        {2, kUsesOssdA, Option::IDC_OPTION_B},          // the case's option B
        {-1, kUsesOssdA | kUsesOssdB, Option::IDC_OPTION_A},
        {-1, kUsesOssdB, Option::IDC_OPTION_B},
        {-1, 0, Option::IDC_OPTION_A},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        const CKVRConfig config = SampleConfig(BYTE(kUsesInput1 | c.flags));
        Script([&c](DialogDriver& driver) {
            for (int page = c.index < 0 ? 3 : 2; page > 0; --page) EXPECT_TRUE(driver.Next());
            ASSERT_TRUE(OnPage(driver, Option::IDC_OPTION_A));
            EXPECT_EQ(driver.Check(c.checked), BST_CHECKED);
            EXPECT_EQ(driver.IsEnabled(Option::IDC_OPTION_A), (c.flags & kUsesOssdA) != 0);
            EXPECT_EQ(driver.IsEnabled(Option::IDC_OPTION_B), (c.flags & kUsesOssdB) != 0);
            driver.Cancel();
        });
        CString name;
        if (c.index < 0)
            EXPECT_FALSE(RunNewKVRControlWizard(nullptr, config, name));
        else
            EXPECT_FALSE(RunEditKVRControlWizard(nullptr, config, c.index));
    }
}

// Every page as the user sees it, with the wizard's own side picture.
TEST_F(CKVRControlWizardTest, PagesRenderWithTheirPicture)
{
    ScreenshotFolder shots("case-wizard-screens");
    for (BYTE flags : {BYTE(kInputs123 | kUsesOssdA), kWithSpeed}) {
        ui.QueueModal([&shots, flags](CWnd& wnd) {
            auto& sheet = static_cast<CPropertySheet&>(wnd);
            DialogDriver driver(wnd);
            int page = 0;
            do {
                DialogDriver::Pump();
                const auto* shown = dynamic_cast<const CWizardPage*>(sheet.GetActivePage());
                ASSERT_NE(shown, nullptr);
                EXPECT_EQ(shown->GetBitmapId(), CKVRControlWizardPage::IDB_SIDE_PICTURE);
                const QImage image = AfxWidgetFromHandle(wnd.GetSafeHwnd())->grab().toImage();
                shots.Save(image, "flags-" + std::to_string(flags) + "-page-" + std::to_string(page++) + ".png");
            } while (page < 10 && driver.Next());
            EXPECT_EQ(page, 7);
            driver.Cancel();
        });
        const CKVRConfig config = SampleConfig(flags);
        CString name;
        EXPECT_FALSE(RunNewKVRControlWizard(nullptr, config, name));
    }
}

} // namespace
