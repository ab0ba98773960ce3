#include "dialogs/CKVRConfigSheet.h"

#include "ShippedLanguage.h"
#include "dialogs/KVREntryWizards.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CArcShelter.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Pages in tab order.
constexpr int kSensorPage = 0;
constexpr int kShelterPage = 1;
constexpr int kControlPage = 2;
constexpr int kInputsPage = 3;
constexpr int kOptionPage = 4;
constexpr int kVariantPage = 5;
constexpr int kRestartPage = 6;
constexpr int kSpeedPage = 7;

constexpr int IDC_LIST = 2050;
constexpr int IDC_ADD = 2168;
constexpr int IDC_RENAME = 2173;
constexpr int IDC_DELETE = 2059;
constexpr int IDC_EDIT = 2062;
constexpr int IDC_TEST = 2181;
constexpr int IDC_MODEL = 2098;
constexpr int IDC_ENTRY_NAME = 2174;
constexpr int IDC_INPUT3 = 2182;
constexpr int IDC_INPUT4 = 2183;
constexpr int IDC_INPUT1 = 2178;
constexpr int IDC_SPEED = 2176;
constexpr int IDC_SPEED_SECOND = 2102;
constexpr int IDC_OPTION_A = 2184;
constexpr int IDC_OPTION_B = 2185;
constexpr int IDC_EXTRA_B = 2074;
constexpr int IDC_SPEED1 = 2064;
constexpr int IDC_SPEED2 = 2065;
constexpr int IDC_TOLERANCE = 2067;
constexpr int IDC_MAX_MEASURE = 2232;
constexpr int IDC_LOWEST_CASE = 2137;
constexpr int IDC_OPTION_OFF = 2051;
constexpr int IDC_OPTION_ON = 2053;
constexpr int IDC_OPTION_VALUE = 2052;
constexpr int IDC_VARIANT0 = 2157;
constexpr int IDC_VARIANT1 = 2159;
constexpr int IDC_SIZE_ON = 2092;
constexpr int IDC_A_DELAYED = 2196;
constexpr int IDC_A_DELAY = 2197;
constexpr int IDC_B_FIRST = 2198;
constexpr int IDC_RESTART_FLAG = 2193;

std::unique_ptr<CKVRControlConfig> Case(int s1, int s3 = 0, int low = 0, int high = 0)
{
    auto control = std::make_unique<CKVRControlConfig>();
    control->SetInputState(1, s1);
    control->SetInputState(3, s3);
    control->SetSpeed(CSpeed(low, high));
    control->SetOutputA(1);
    control->SetSensorIndex(0);
    control->SetShelterIndex(0);
    return control;
}

// Sensors, field pairs and cases in those numbers; only case 0 uses input 1, later cases
// differ by input 2 so that the configuration stays plausible where it can.
CKVRConfig ListConfig(int sensors, int shelters, int cases)
{
    CKVRConfig config;
    for (int n = 0; n < sensors; ++n) config.AddSensorConfig(CString("S") + CString(std::to_string(n).c_str()), std::make_unique<CKVRSensorConfig>());
    for (int n = 0; n < shelters; ++n) config.AddShelterConfig(CString("F") + CString(std::to_string(n).c_str()), std::make_unique<CKVRShelterConfig>());
    for (int n = 0; n < cases; ++n) config.AddControlConfig(CString("C") + CString(std::to_string(n).c_str()), Case(n == 0 ? kInputLow : kInputHigh));
    return config;
}

// One of everything; passes the whole check.
CKVRConfig ValidConfig()
{
    return ListConfig(1, 1, 1);
}

class CKVRConfigSheetTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_language.Loaded()) << m_language.Error(); }

    using Script = std::function<void(CPropertySheet&, DialogDriver&)>;

    std::unique_ptr<CKVRConfig> Run(const CKVRConfig* config, Script script, KVREntryWizards* wizards = nullptr)
    {
        m_ui.QueueModal([&](CWnd& wnd) {
            auto& sheet = static_cast<CPropertySheet&>(wnd);
            DialogDriver driver(wnd);
            script(sheet, driver);
        });
        CKVRConfigSheet sheet;
        sheet.SetEntryWizards(wizards);
        return sheet.Edit(config);
    }

    // A name dialog that answers with the name.
    void QueueName(const char* name)
    {
        m_ui.QueueModal([name](CWnd& wnd) {
            DialogDriver driver(wnd);
            driver.SetText(IDC_ENTRY_NAME, name);
            driver.Click(IDOK);
        });
    }

    static void Show(CPropertySheet& sheet, int page)
    {
        ASSERT_TRUE(sheet.SetActivePage(page));
        DialogDriver::Pump();
    }

    std::vector<UINT> ShownIds() const
    {
        std::vector<UINT> ids;
        for (const MessageBoxRecord& box : m_ui.MessageBoxes()) ids.push_back(box.id ? box.id : box.helpId);
        return ids;
    }

    ShippedLanguage m_language;
    ScriptedUi m_ui;
};

TEST_F(CKVRConfigSheetTest, ListButtonsFollowTheLimitsOfEachList)
{
    struct Row {
        int page;
        int count;
        bool add, rename, remove;
    };
    const Row rows[] = {
        {kSensorPage, 4, false, true, true},  {kSensorPage, 1, true, true, false},
        {kShelterPage, 8, false, true, true}, {kShelterPage, 1, true, true, false},
        {kControlPage, 15, false, true, true}, {kControlPage, 1, true, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "page " << row.page << " count " << row.count);
        const CKVRConfig config = ListConfig(row.page == kSensorPage ? row.count : 1,
                                             row.page == kShelterPage ? row.count : 1,
                                             row.page == kControlPage ? row.count : 1);
        const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
            Show(sheet, row.page);
            EXPECT_EQ(driver.Count(IDC_LIST), row.count);
            EXPECT_EQ(driver.Selection(IDC_LIST), 0);
            EXPECT_EQ(driver.IsEnabled(IDC_ADD), row.add);
            EXPECT_EQ(driver.IsEnabled(IDC_RENAME), row.rename);
            EXPECT_EQ(driver.IsEnabled(IDC_DELETE), row.remove);
            if (row.page == kControlPage) {
                EXPECT_TRUE(driver.IsEnabled(IDC_EDIT));
            }
            driver.Cancel();
        });
        EXPECT_EQ(result, nullptr);
    }
}

TEST_F(CKVRConfigSheetTest, SensorsAreAddedUnderNewNamesOnlyAndOkHandsBackTheCopy)
{
    const CKVRConfig config = ValidConfig();
    const auto result = Run(&config, [&](CPropertySheet&, DialogDriver& driver) {
        CString model;
        AfxFormatString1(model, 1183, config.GetSensorType().GetModelName());
        EXPECT_EQ(driver.Text(IDC_MODEL), model);
        QueueName("S0");
        driver.Click(IDC_ADD);
        EXPECT_EQ(ShownIds(), std::vector<UINT>{448});
        EXPECT_EQ(driver.Count(IDC_LIST), 1);
        m_ui.QueueModal([&](CWnd& wnd) {
            DialogDriver names(wnd);
            CString proposal;
            proposal.Format("%s2", m_language.Text(1180).c_str());
            EXPECT_EQ(names.Text(IDC_ENTRY_NAME), proposal);
            names.SetText(IDC_ENTRY_NAME, "Rear");
            names.Click(IDOK);
        });
        driver.Click(IDC_ADD);
        EXPECT_EQ(driver.Count(IDC_LIST), 2);
        EXPECT_EQ(driver.Selection(IDC_LIST), 1);
        // Renaming to the name it has counts as an existing name.
        QueueName("Rear");
        driver.Click(IDC_RENAME);
        EXPECT_EQ(ShownIds(), (std::vector<UINT>{448, 448}));
        QueueName("Side");
        driver.Click(IDC_ADD);
        EXPECT_EQ(driver.Selection(IDC_LIST), 2) << "the added row, past the second as well";
        driver.Ok();
    });
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetSensorConfigCount(), 3);
    EXPECT_EQ(result->GetSensorConfigName(1), "Rear");
    EXPECT_EQ(config.GetSensorConfigCount(), 1);
}

TEST_F(CKVRConfigSheetTest, EntriesInUseAreKeptAndOthersDeletedAfterConfirmation)
{
    CKVRConfig config = ListConfig(2, 2, 2);
    const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        // Sensor 0 is used by the cases; sensor 1 is not (first No, then Yes).
        driver.Click(IDC_DELETE);
        driver.Select(IDC_LIST, 1);
        m_ui.QueueAnswers({IDNO, IDYES});
        driver.Click(IDC_DELETE);
        EXPECT_EQ(driver.Count(IDC_LIST), 2);
        driver.Select(IDC_LIST, 1);
        driver.Click(IDC_DELETE);
        EXPECT_EQ(driver.Count(IDC_LIST), 1);
        EXPECT_FALSE(driver.IsEnabled(IDC_DELETE));
        Show(sheet, kShelterPage);
        driver.Click(IDC_DELETE);
        Show(sheet, kControlPage);
        m_ui.QueueAnswer(IDYES);
        driver.Select(IDC_LIST, 1);
        driver.Click(IDC_DELETE);
        EXPECT_EQ(driver.Count(IDC_LIST), 1);
        driver.Ok();
    });
    EXPECT_EQ(ShownIds(), (std::vector<UINT>{452, 457, 457, 453, 459}));
    for (const auto& [question, name] : {std::pair{1u, "S1"}, std::pair{2u, "S1"}, std::pair{4u, "C1"}}) {
        EXPECT_EQ(m_ui.MessageBoxes()[question].flags, UINT(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
        EXPECT_NE(m_ui.MessageBoxes()[question].text.Find(name), -1);
    }
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetSensorConfigCount(), 1);
    EXPECT_EQ(result->GetShelterConfigCount(), 2);
    EXPECT_EQ(result->GetControlConfigCount(), 1);
}

TEST_F(CKVRConfigSheetTest, SpeedMeasurementTakesInputsThreeAndFourAndIsStoredFromItsCheck)
{
    const CKVRConfig config = ValidConfig();
    const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kInputsPage);
        EXPECT_EQ(driver.Check(IDC_OPTION_A), BST_CHECKED);
        EXPECT_FALSE(driver.IsEnabled(IDC_OPTION_A));
        EXPECT_FALSE(driver.IsEnabled(IDC_INPUT1)); // the case uses input 1
        EXPECT_FALSE(driver.IsVisible(IDC_SPEED_SECOND));
        EXPECT_FALSE(driver.IsEnabled(IDC_EXTRA_B));
        driver.Click(IDC_INPUT3);
        driver.Click(IDC_SPEED);
        EXPECT_EQ(driver.Check(IDC_SPEED_SECOND), BST_CHECKED);
        EXPECT_TRUE(driver.IsVisible(IDC_SPEED_SECOND));
        EXPECT_FALSE(driver.IsVisible(IDC_INPUT3));
        EXPECT_FALSE(driver.IsVisible(IDC_INPUT4));
        driver.Click(IDC_OPTION_B);
        EXPECT_TRUE(driver.IsEnabled(IDC_EXTRA_B));
        driver.Click(IDC_EXTRA_B);
        driver.Ok();
    });
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetUsedFlags(), BYTE(kUsesInput1 | kUsesSpeed | kUsesOssdA | kUsesOssdB));
    EXPECT_EQ(result->GetOssdB(), 1);
}

TEST_F(CKVRConfigSheetTest, InputsPageRefusesToLeaveWithNothingToEvaluateOrAnExtraWithoutItsOption)
{
    const CKVRConfig noCases = ListConfig(1, 1, 0);
    Run(&noCases, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kInputsPage);
        driver.Click(IDC_INPUT1);
        EXPECT_FALSE(sheet.SetActivePage(kSensorPage));
        EXPECT_EQ(ShownIds(), std::vector<UINT>{462});
        driver.Click(IDC_SPEED);
        EXPECT_TRUE(sheet.SetActivePage(kSensorPage));
        driver.Cancel();
    });

    // An extra kept for an option that is off stays checked, disabled, until its option is on.
    CKVRConfig extraWithoutOption = ValidConfig();
    extraWithoutOption.SetOssdB(1);
    Run(&extraWithoutOption, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kInputsPage);
        EXPECT_EQ(driver.Check(IDC_EXTRA_B), BST_CHECKED);
        EXPECT_FALSE(driver.IsEnabled(IDC_EXTRA_B));
        EXPECT_FALSE(sheet.SetActivePage(kSensorPage));
        EXPECT_EQ(ShownIds(), (std::vector<UINT>{462, 465}));
        driver.Click(IDC_OPTION_B);
        EXPECT_TRUE(sheet.SetActivePage(kSensorPage));
        driver.Cancel();
    });

    CKVRConfig usesInput3 = ListConfig(1, 1, 0);
    usesInput3.SetUsedFlags(BYTE(0x04 | kUsesOssdA));
    usesInput3.AddControlConfig("C", Case(kInputDontCare, kInputHigh));
    Run(&usesInput3, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kInputsPage);
        EXPECT_FALSE(driver.IsEnabled(IDC_SPEED));
        EXPECT_FALSE(driver.IsEnabled(IDC_INPUT3));
        EXPECT_TRUE(driver.IsEnabled(IDC_INPUT4));
        driver.Cancel();
    });
}

// Stands in for the field and case wizards: hands out what the test prepared.
class FakeWizards : public KVREntryWizards {
public:
    BOOL RunShelterWizard(CWnd*, const CSensorType& type, const std::vector<CString>& names,
                          const CString& defaultName, CString& name, std::unique_ptr<CShelter>& protective,
                          std::unique_ptr<CShelter>& warning) override
    {
        seenNames = names;
        seenDefault = defaultName;
        name = "Pair2";
        auto p = std::make_unique<CArcShelter>();
        p->Initialize(type, 100, 1);
        protective = std::move(p);
        if (withWarning) {
            auto w = std::make_unique<CArcShelter>();
            w->Initialize(type, 200, 2);
            warning = std::move(w);
        }
        return TRUE;
    }
    BOOL RunControlWizard(CWnd*, const CKVRConfig&, CString& name, std::unique_ptr<CKVRControlConfig>& control) override
    {
        name = "Case2";
        control = Case(kInputHigh);
        return TRUE;
    }
    bool withWarning = false;
    std::vector<CString> seenNames;
    CString seenDefault;
};

TEST_F(CKVRConfigSheetTest, WizardsAddFieldPairsWithBothFieldsAndCases)
{
    const CKVRConfig config = ValidConfig();
    FakeWizards wizards;
    const auto result = Run(
        &config,
        [&](CPropertySheet& sheet, DialogDriver& driver) {
            Show(sheet, kShelterPage);
            driver.Click(IDC_ADD); // only a protective field: nothing added
            EXPECT_EQ(driver.Count(IDC_LIST), 1);
            wizards.withWarning = true;
            driver.Click(IDC_ADD);
            EXPECT_EQ(driver.Count(IDC_LIST), 2);
            EXPECT_EQ(driver.Selection(IDC_LIST), 1);
            Show(sheet, kControlPage);
            driver.Click(IDC_ADD);
            EXPECT_EQ(driver.Count(IDC_LIST), 2);
            EXPECT_EQ(driver.Selection(IDC_LIST), 1);
            driver.Ok();
        },
        &wizards);
    EXPECT_EQ(wizards.seenNames, std::vector<CString>{"F0"});
    CString proposal;
    proposal.Format("%s2", m_language.Text(1181).c_str());
    EXPECT_EQ(wizards.seenDefault, proposal);
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(result->GetShelterConfigCount(), 2);
    EXPECT_EQ(result->GetShelterConfigName(1), "Pair2");
    EXPECT_NE(result->GetShelterConfig(1)->GetShelter(2), nullptr);
    EXPECT_EQ(result->GetControlConfigName(1), "Case2");
}

TEST_F(CKVRConfigSheetTest, SpeedValuesAreBoundByTheCasesSpeeds)
{
    struct Row {
        int low, high;
        const char* refused;
        const char* accepted;
        const char* measurable;
    };
    // 100000 / 1500 = 66; a case top speed of 50 would allow 2000, which the check refuses.
    const Row rows[] = {{-500, 1500, "67", "66", "+-1515 cm/s"}, {-50, 50, "1001", "1000", "+-100 cm/s"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.high);
        m_ui.ClearMessageBoxes();
        CKVRConfig config = ListConfig(1, 1, 0);
        config.SetUsedFlags(BYTE(kUsesInput1 | kUsesSpeed | kUsesOssdA));
        config.AddControlConfig("C", Case(kInputLow, 0, row.low, row.high));
        const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
            Show(sheet, kSpeedPage);
            CString lowest;
            AfxFormatString1(lowest, 1192, (std::to_string(row.low) + " cm/s").c_str());
            EXPECT_EQ(driver.Text(IDC_LOWEST_CASE), lowest);
            EXPECT_EQ(driver.Text(IDC_TOLERANCE), "25 %");
            driver.SetText(IDC_SPEED1, row.refused);
            EXPECT_FALSE(sheet.SetActivePage(kSensorPage));
            EXPECT_EQ(ShownIds(), std::vector<UINT>{AFX_IDP_PARSE_INT_RANGE});
            driver.SetText(IDC_SPEED1, row.accepted);
            driver.SetText(IDC_SPEED2, row.accepted);
            CString highest;
            AfxFormatString1(highest, 1193, row.measurable);
            EXPECT_EQ(driver.Text(IDC_MAX_MEASURE), highest);
            driver.Ok();
        });
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->GetSpeedScale1(), UINT(std::atoi(row.accepted)));
        EXPECT_EQ(result->GetSpeedScale2(), UINT(std::atoi(row.accepted)));
    }
}

TEST_F(CKVRConfigSheetTest, OptionValueIsZeroWhenOffAndBoundedWhenOn)
{
    CKVRConfig config = ValidConfig();
    config.SetValueV2(40);
    auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kOptionPage);
        EXPECT_EQ(driver.Check(IDC_OPTION_ON), BST_CHECKED);
        EXPECT_EQ(driver.Text(IDC_OPTION_VALUE), "40 ");
        driver.Click(IDC_OPTION_OFF);
        EXPECT_FALSE(driver.IsEnabled(IDC_OPTION_VALUE));
        driver.Ok();
    });
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetValueV2(), 0);

    result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kOptionPage);
        driver.SetText(IDC_OPTION_VALUE, "127");
        driver.Ok();
        EXPECT_EQ(ShownIds(), std::vector<UINT>{AFX_IDP_PARSE_INT_RANGE});
        driver.SetText(IDC_OPTION_VALUE, "126");
        driver.Ok();
    });
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetValueV2(), 126);
}

TEST_F(CKVRConfigSheetTest, VariantZeroTurnsTooLongProtectiveFieldsIntoArcs)
{
    const CSensorType wide(7, 1);
    const CSensorType narrow(7, 0);
    ASSERT_GT(wide.GetProtectiveMaxDistance(), narrow.GetProtectiveMaxDistance());
    CKVRConfig config = ValidConfig();
    config.SetSensorType(wide);
    auto pair = std::make_unique<CKVRShelterConfig>();
    auto far = std::make_unique<CArcShelter>();
    far->Initialize(wide, wide.GetProtectiveMaxDistance(), 1);
    auto warning = std::make_unique<CArcShelter>();
    warning->Initialize(wide, 100, 2);
    pair->SetShelter(1, std::move(far));
    pair->SetShelter(2, std::move(warning));
    config.AddShelterConfig("Far", std::move(pair));

    const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kVariantPage);
        EXPECT_EQ(driver.Check(IDC_VARIANT1), BST_CHECKED);
        m_ui.QueueAnswers({IDNO, IDYES});
        driver.Click(IDC_VARIANT0);
        EXPECT_EQ(driver.Check(IDC_VARIANT1), BST_CHECKED);
        EXPECT_EQ(driver.FocusId(), IDC_VARIANT1);
        driver.Click(IDC_VARIANT0);
        EXPECT_EQ(driver.Check(IDC_VARIANT0), BST_CHECKED);
        EXPECT_EQ(driver.Check(IDC_VARIANT1), BST_UNCHECKED);
        // The size option asks with the size of variant 0.
        m_ui.QueueAnswer(IDYES);
        driver.Click(IDC_SIZE_ON);
        driver.Ok();
    });
    EXPECT_EQ(ShownIds(), (std::vector<UINT>{468, 468, 461}));
    EXPECT_NE(m_ui.MessageBoxes().back().text.Find("50 mm"), -1);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetSensorType().GetVariant(), 0);
    EXPECT_EQ(result->GetDeviceBitV3(), 1);
    const CKVRShelterConfig* changed = result->GetShelterConfig(1);
    const auto* arc = dynamic_cast<const CArcShelter*>(changed->GetShelter(1));
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->GetRadius(), narrow.GetProtectiveMaxDistance());
    EXPECT_EQ(changed->GetShelter(1)->GetSensorType(), narrow);
    EXPECT_EQ(changed->GetShelter(2)->GetSensorType(), narrow);
    // The caller's configuration is untouched.
    EXPECT_EQ(config.GetSensorType(), wide);
}

TEST_F(CKVRConfigSheetTest, VariantOneSetsEveryCaseToTheSmallestNumberOfScans)
{
    CKVRConfig config = ValidConfig();
    config.SetSensorType(CSensorType(7, 0));
    config.GetControlConfig(0)->SetScanCount(10);
    const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kVariantPage);
        m_ui.QueueAnswer(IDYES);
        driver.Click(IDC_VARIANT1);
        driver.Ok();
    });
    EXPECT_EQ(ShownIds(), std::vector<UINT>{467});
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetSensorType().GetVariant(), 1);
    EXPECT_EQ(result->GetControlConfig(0)->GetScanCount(), CSensorType(7, 1).GetMinScanCount());
}

TEST_F(CKVRConfigSheetTest, RestartGroupsFollowTheirOptions)
{
    const CKVRConfig config = ValidConfig();
    const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kRestartPage);
        EXPECT_FALSE(driver.IsEnabled(IDC_B_FIRST)); // option B not used
        EXPECT_FALSE(driver.IsEnabled(IDC_A_DELAY));
        driver.Click(IDC_A_DELAYED);
        EXPECT_TRUE(driver.IsEnabled(IDC_A_DELAY));
        driver.SetText(IDC_A_DELAY, "61");
        driver.Ok();
        EXPECT_EQ(ShownIds(), std::vector<UINT>{AFX_IDP_PARSE_INT_RANGE});
        driver.SetText(IDC_A_DELAY, "12");
        driver.Click(IDC_RESTART_FLAG);
        driver.Ok();
    });
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetModeDelay1(), CModeDelay(1, 12));
    EXPECT_EQ(result->GetOptionV4(), 0);
}

// An implausible configuration keeps the sheet open, so the user can mend it.
TEST_F(CKVRConfigSheetTest, OkWithAnImplausibleConfigurationKeepsTheSheetOpen)
{
    CKVRConfig config = ValidConfig();
    config.SetValueV2(3);
    const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        driver.Ok();
        EXPECT_EQ(sheet.GetActiveIndex(), kSensorPage);
        EXPECT_EQ(ShownIds(), std::vector<UINT>{1135});
        Show(sheet, kOptionPage);
        driver.SetText(IDC_OPTION_VALUE, "5");
        driver.Ok();
    });
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetValueV2(), 5);
}

TEST_F(CKVRConfigSheetTest, CasePageOffersItsTestAndIsLeftOnlyWhenPlausible)
{
    CKVRConfig config = ValidConfig();
    config.GetControlConfig(0)->SetShelterIndex(3);
    const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kControlPage);
        driver.Click(IDC_TEST);
        ASSERT_EQ(m_ui.MessageBoxes().size(), 1u);
        EXPECT_NE(m_ui.MessageBoxes()[0].id, 466u);
        EXPECT_FALSE(sheet.SetActivePage(kSensorPage));
        EXPECT_EQ(sheet.GetActiveIndex(), kControlPage);
        driver.Cancel();
    });
    EXPECT_EQ(result, nullptr);

    m_ui.ClearMessageBoxes();
    const CKVRConfig valid = ValidConfig();
    Run(&valid, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kControlPage);
        driver.Click(IDC_TEST);
        driver.Cancel();
    });
    EXPECT_EQ(ShownIds(), std::vector<UINT>{466});
}

} // namespace
