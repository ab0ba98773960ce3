// The KVR configuration wizard driven page by page on its shipped templates.
#include "KVRConfigSample.h"
#include "ShippedLanguage.h"
#include "dialogs/CKVRConfigWizard.h"
#include "dialogs/CKVRConfigWizardPage.h"
#include "dialogs/KVRWizardHelpers.h"
#include "framework/core/Resources.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CArcShelter.h"
#include "model/CKVRConfig.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>

namespace {

using Inputs = CKVRConfigInputsPage;
using Sensors = CKVRConfigSensorListPage;
constexpr int IDC_OPTION_ON = CKVRConfigOptionValuePage::IDC_ON;
constexpr int IDC_OPTION_VALUE = CKVRConfigOptionValuePage::IDC_VALUE;
constexpr int IDC_SPEED1 = CKVRConfigSpeedPage::IDC_SPEED1;
constexpr int IDC_RESTART = CKVRConfigRestartPage::IDC_RESTART;

// The dialogs the list pages open, answered at once with a new entry.
class AddingHelpers : public KVRWizardHelpers {
public:
    std::unique_ptr<CKVRShelterConfig> NewFieldPair(CWnd*, const CKVRConfig&, const CString& proposedName,
                                                    CString& name) override
    {
        name = proposedName;
        auto pair = std::make_unique<CKVRShelterConfig>();
        pair->SetShelter(1, std::make_unique<CArcShelter>());
        pair->SetShelter(2, std::make_unique<CArcShelter>());
        return pair;
    }
    std::unique_ptr<CKVRControlConfig> NewCase(CWnd*, const CKVRConfig& config, CString& name) override
    {
        name.Format("Case%d", config.GetControlConfigCount() + 1);
        auto control = std::make_unique<CKVRControlConfig>();
        control->SetOutputA(1);
        return control;
    }
    std::unique_ptr<CKVRControlConfig> EditCase(CWnd*, const CKVRConfig&, int) override { return nullptr; }
    void ShowCaseTable(CWnd*, const CKVRConfig&) override {}
};

// Which page is shown, by a control only that page has.
bool OnPage(const DialogDriver& driver, int id) { return driver.Exists(id); }

class CKVRConfigWizardTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }
    CString Text(UINT id) const { return language.Text(id); }

    ShippedLanguage language;
    ScriptedUi ui;
};

TEST_F(CKVRConfigWizardTest, EditFinishHandsBackTheEditedCopyAndLeavesTheCallersAlone)
{
    auto original = CompleteKVRConfig();
    ui.QueueModal([](CWnd& sheet) {
        DialogDriver driver(sheet);
        // The edit variant starts at the option value with Next only.
        EXPECT_TRUE(OnPage(driver, IDC_OPTION_ON));
        EXPECT_FALSE(driver.IsEnabled(ID_WIZBACK));
        EXPECT_FALSE(driver.IsEnabled(IDC_OPTION_VALUE));
        EXPECT_TRUE(driver.Click(IDC_OPTION_ON));
        EXPECT_TRUE(driver.IsEnabled(IDC_OPTION_VALUE));
        EXPECT_TRUE(driver.SetText(IDC_OPTION_VALUE, "42"));
        EXPECT_TRUE(driver.Next()); // variant
        EXPECT_TRUE(driver.Next()); // inputs
        EXPECT_TRUE(driver.Click(Inputs::IDC_INPUT2));
        EXPECT_TRUE(driver.Next()); // speed off: straight to the restart page
        EXPECT_TRUE(OnPage(driver, IDC_RESTART));
        EXPECT_TRUE(driver.Click(IDC_RESTART));
        for (int page = 0; page < 4; ++page) EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Finish());
    });
    CEditKVRConfigWizard wizard;
    std::unique_ptr<CKVRConfig> result = wizard.Run(*original);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->GetValueV2(), 42);
    EXPECT_EQ(result->GetUsedFlags(), kUsesInput1 | 0x02 | kUsesOssdA);
    EXPECT_EQ(result->GetOptionV4(), 0);
    EXPECT_EQ(result->GetControlConfigCount(), 1);
    EXPECT_EQ(original->GetValueV2(), 0);
    EXPECT_EQ(original->GetUsedFlags(), kUsesInput1 | kUsesOssdA);
}

TEST_F(CKVRConfigWizardTest, CancelHandsBackNothing)
{
    ui.QueueModal([](CWnd& sheet) {
        DialogDriver driver(sheet);
        EXPECT_TRUE(driver.Exists(CKVRConfigSensorTypePage::IDC_TYPE));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Cancel());
    });
    CNewKVRConfigWizard wizard;
    EXPECT_FALSE(wizard.Run());
}

TEST_F(CKVRConfigWizardTest, SpeedPageIsSkippedBothWaysOnlyWithoutSpeed)
{
    auto original = CompleteKVRConfig();
    ui.QueueModal([](CWnd& sheet) {
        DialogDriver driver(sheet);
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next()); // inputs -> restart
        EXPECT_TRUE(OnPage(driver, IDC_RESTART));
        EXPECT_TRUE(driver.Back());
        EXPECT_TRUE(OnPage(driver, Inputs::IDC_SPEED));
        EXPECT_TRUE(driver.Click(Inputs::IDC_SPEED));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(OnPage(driver, IDC_SPEED1));
        // Above 1000 the configuration check would refuse the value later.
        EXPECT_TRUE(driver.SetText(IDC_SPEED1, "1001"));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(OnPage(driver, IDC_SPEED1));
        EXPECT_TRUE(driver.SetText(IDC_SPEED1, "1000"));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(OnPage(driver, IDC_RESTART));
        EXPECT_TRUE(driver.Cancel());
    });
    CEditKVRConfigWizard wizard;
    EXPECT_FALSE(wizard.Run(*original));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_NE(ui.MessageBoxes()[0].text.Find("1000"), -1) << LPCTSTR(ui.MessageBoxes()[0].text);
}

TEST_F(CKVRConfigWizardTest, InputsPageRefusesWithoutInputAndForcesOptionA)
{
    auto original = CompleteKVRConfig();
    original->SetUsedFlags(kUsesOssdB);
    ui.QueueModal([](CWnd& sheet) {
        DialogDriver driver(sheet);
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next());
        EXPECT_EQ(driver.Check(Inputs::IDC_OPTION_A), BST_CHECKED);
        EXPECT_FALSE(driver.IsEnabled(Inputs::IDC_OPTION_A));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(OnPage(driver, Inputs::IDC_SPEED)); // 462 kept the page
        EXPECT_TRUE(driver.Cancel());
    });
    CEditKVRConfigWizard wizard;
    EXPECT_FALSE(wizard.Run(*original));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, KVRInputsChoice::IDP_NOTHING_TO_EVALUATE);
}

// An extra that the configuration keeps for an option it does not use stays checked,
// disabled, and keeps the page until its option is on.
TEST_F(CKVRConfigWizardTest, InputsPageRefusesAnExtraWhoseOptionIsOff)
{
    auto original = CompleteKVRConfig();
    original->SetUsedFlags(kUsesInput1 | kUsesOssdA);
    original->SetOssdB(1);
    ui.QueueModal([](CWnd& sheet) {
        DialogDriver driver(sheet);
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next());
        EXPECT_EQ(driver.Check(Inputs::IDC_EXTRA_B), BST_CHECKED);
        EXPECT_FALSE(driver.IsEnabled(Inputs::IDC_EXTRA_B));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(OnPage(driver, Inputs::IDC_SPEED)) << "465 kept the page";
        EXPECT_TRUE(driver.Click(Inputs::IDC_OPTION_B));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(OnPage(driver, IDC_RESTART));
        EXPECT_TRUE(driver.Cancel());
    });
    CEditKVRConfigWizard wizard;
    EXPECT_FALSE(wizard.Run(*original));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, KVRInputsChoice::IDP_EXTRA_WITHOUT_OPTION);
}

// Option B and its extra as the inputs page leaves them, chosen or cleared there, are
// what the finished configuration holds.
TEST_F(CKVRConfigWizardTest, OptionBAsChosenOnTheInputsPageReachesTheResult)
{
    for (const bool chosen : {true, false}) {
        SCOPED_TRACE(chosen ? "chosen" : "cleared");
        auto original = CompleteKVRConfig();
        if (!chosen) {
            original->SetUsedFlags(kUsesInput1 | kUsesOssdA | kUsesOssdB);
            original->SetOssdB(1);
        }
        ui.QueueModal([chosen](CWnd& sheet) {
            DialogDriver driver(sheet);
            EXPECT_TRUE(driver.Next());
            EXPECT_TRUE(driver.Next());
            EXPECT_EQ(driver.Check(Inputs::IDC_OPTION_B), chosen ? BST_UNCHECKED : BST_CHECKED);
            EXPECT_TRUE(driver.Click(Inputs::IDC_OPTION_B));
            if (chosen) EXPECT_TRUE(driver.Click(Inputs::IDC_EXTRA_B));
            EXPECT_EQ(driver.Check(Inputs::IDC_EXTRA_B), chosen ? BST_CHECKED : BST_UNCHECKED);
            for (int page = 0; page < 5; ++page) EXPECT_TRUE(driver.Next()); // on to the end page
            EXPECT_TRUE(driver.Finish());
        });
        CEditKVRConfigWizard wizard;
        const std::unique_ptr<CKVRConfig> result = wizard.Run(*original);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->GetUsedFlags(), kUsesInput1 | kUsesOssdA | (chosen ? kUsesOssdB : 0));
        EXPECT_EQ(result->GetOssdB(), chosen ? 1 : 0);
        EXPECT_TRUE(ui.MessageBoxes().empty());
    }
}

TEST_F(CKVRConfigWizardTest, SensorListRefusesANameInUseAndKeepsItsLastEntry)
{
    auto original = CompleteKVRConfig();
    ui.QueueModal([this](CWnd& sheet) {
        DialogDriver driver(sheet);
        for (int page = 0; page < 4; ++page) EXPECT_TRUE(driver.Next()); // the speed page is skipped
        ASSERT_TRUE(OnPage(driver, Sensors::IDC_MODEL));
        EXPECT_EQ(driver.Count(Sensors::IDC_LIST), 1);
        EXPECT_FALSE(driver.IsEnabled(Sensors::IDC_REMOVE));
        ui.QueueModal([](CWnd& dialog) {
            DialogDriver names(dialog);
            names.SetText(2174, "Sens1");
            EXPECT_TRUE(names.Ok());
        });
        EXPECT_TRUE(driver.Click(Sensors::IDC_ADD));
        EXPECT_EQ(driver.Count(Sensors::IDC_LIST), 1);
        ui.QueueModal([](CWnd& dialog) {
            DialogDriver names(dialog);
            names.SetText(2174, "Sens2");
            EXPECT_TRUE(names.Ok());
        });
        EXPECT_TRUE(driver.Click(Sensors::IDC_ADD));
        EXPECT_EQ(driver.Count(Sensors::IDC_LIST), 2);
        EXPECT_TRUE(driver.IsEnabled(Sensors::IDC_REMOVE));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Finish());
    });
    CEditKVRConfigWizard wizard;
    auto result = wizard.Run(*original);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->GetSensorConfigCount(), 2);
    EXPECT_EQ(result->GetSensorConfigName(1), CString("Sens2"));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    CString refusal;
    AfxFormatString1(refusal, CKVRConfigListPage::IDP_NAME_IN_USE, "Sens1");
    EXPECT_EQ(ui.MessageBoxes()[0].text, refusal);
}

// A field pair a case uses stays; renaming refuses any name in use, the pair's own
// included; an unused pair goes after the question.
TEST_F(CKVRConfigWizardTest, FieldPairListGuardsUsedPairsAndNamesInUse)
{
    using Pairs = CKVRConfigShelterListPage;
    auto original = CompleteKVRConfig();
    original->AddShelterConfig("Pair2", std::make_unique<CKVRShelterConfig>());
    const auto rename = [this](DialogDriver& driver, const char* name) {
        ui.QueueModal([name](CWnd& dialog) {
            DialogDriver names(dialog);
            names.SetText(2174, name);
            EXPECT_TRUE(names.Ok());
        });
        EXPECT_TRUE(driver.Click(Pairs::IDC_RENAME));
    };
    ui.QueueModal([&](CWnd& sheet) {
        DialogDriver driver(sheet);
        for (int page = 0; page < 5; ++page) EXPECT_TRUE(driver.Next());
        ASSERT_TRUE(OnPage(driver, Pairs::IDC_LIST));
        ASSERT_EQ(driver.Count(Pairs::IDC_LIST), 2);
        EXPECT_TRUE(driver.Select(Pairs::IDC_LIST, 0));
        EXPECT_TRUE(driver.Click(Pairs::IDC_REMOVE)); // Case1 uses Pair1
        EXPECT_TRUE(driver.Select(Pairs::IDC_LIST, 1));
        rename(driver, "Pair1");
        rename(driver, "Pair2");
        rename(driver, "Outer");
        ui.QueueAnswer(IDYES);
        EXPECT_TRUE(driver.Select(Pairs::IDC_LIST, 1));
        EXPECT_TRUE(driver.Click(Pairs::IDC_REMOVE));
        EXPECT_EQ(driver.Count(Pairs::IDC_LIST), 1);
        EXPECT_FALSE(driver.IsEnabled(Pairs::IDC_REMOVE));
        EXPECT_TRUE(driver.Cancel());
    });
    CEditKVRConfigWizard wizard;
    EXPECT_FALSE(wizard.Run(*original));
    const struct {
        UINT prompt;
        const char* name;
    } expected[] = {{453, "Pair1"}, {448, "Pair1"}, {448, "Pair2"}, {458, "Outer"}};
    ASSERT_EQ(ui.MessageBoxes().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        CString text;
        AfxFormatString1(text, expected[i].prompt, expected[i].name);
        EXPECT_EQ(ui.MessageBoxes()[i].text, text) << i;
    }
    EXPECT_EQ(original->GetShelterConfigName(1), CString("Pair2"));
}

// Every Add selects the row it added, so that Rename and Edit act on the new entry; Edit
// opens with the first case.
TEST_F(CKVRConfigWizardTest, ListPagesSelectTheAddedRow)
{
    using Pairs = CKVRConfigShelterListPage;
    using Cases = CKVRConfigControlListPage;
    auto original = CompleteKVRConfig();
    original->RemoveControlConfig(0);
    std::vector<CString> renameProposals;
    ui.QueueModal([&](CWnd& sheet) {
        DialogDriver driver(sheet);
        for (int page = 0; page < 4; ++page) EXPECT_TRUE(driver.Next());
        ASSERT_TRUE(OnPage(driver, Sensors::IDC_MODEL));
        for (int added = 2; added <= 4; ++added) {
            ui.QueueModal([](CWnd& dialog) { EXPECT_TRUE(DialogDriver(dialog).Ok()); });
            EXPECT_TRUE(driver.Click(Sensors::IDC_ADD));
            EXPECT_EQ(driver.Selection(Sensors::IDC_LIST), added - 1) << added << " sensors";
        }
        ui.QueueModal([&](CWnd& dialog) {
            DialogDriver names(dialog);
            renameProposals.push_back(names.Text(2174));
            EXPECT_TRUE(names.Cancel());
        });
        EXPECT_TRUE(driver.Click(Sensors::IDC_RENAME));

        EXPECT_TRUE(driver.Next());
        ASSERT_TRUE(OnPage(driver, Pairs::IDC_LIST));
        for (int added = 2; added <= 3; ++added) {
            EXPECT_TRUE(driver.Click(Pairs::IDC_ADD));
            EXPECT_EQ(driver.Selection(Pairs::IDC_LIST), added - 1) << added << " pairs";
        }

        EXPECT_TRUE(driver.Next());
        ASSERT_TRUE(OnPage(driver, Cases::IDC_LIST));
        EXPECT_FALSE(driver.IsEnabled(Cases::IDC_EDIT));
        for (int added = 1; added <= 2; ++added) {
            EXPECT_TRUE(driver.Click(Cases::IDC_ADD));
            EXPECT_EQ(driver.Selection(Cases::IDC_LIST), added - 1) << added << " cases";
            EXPECT_TRUE(driver.IsEnabled(Cases::IDC_EDIT)) << added << " cases";
        }
        EXPECT_TRUE(driver.Cancel());
    });
    AddingHelpers helpers;
    CEditKVRConfigWizard wizard(nullptr, &helpers);
    EXPECT_FALSE(wizard.Run(*original));
    EXPECT_EQ(renameProposals, std::vector<CString>{"Protect4"});
}

} // namespace
