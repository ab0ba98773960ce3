// The ZOK configuration wizard driven page by page: what each page shows of the
// configuration, its refusals, the variant changes of type 7, the fields a new
// configuration always gets, and the copy handed back only on Finish.
#include "WizardLanguage.h"
#include "device/ProcedureApplication.h"
#include "dialogs/CZOKConfigWizard.h"
#include "dialogs/CZOKConfigWizardPage.h"
#include "framework/core/Resources.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "simulator/orusim.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using TypePage = CZOKConfigSensorTypePage;
using NamesPage = CZOKConfigNamesPage;
using OptionPage = CZOKConfigOptionValuePage;
using RestartPage = CZOKConfigRestartPage;
using ScansPage = CZOKConfigScansPage;
using VariantPage = CZOKConfigVariantPage;
constexpr int IDC_CHOICE = CZOKConfigChoicePage::IDC_CHOICE;
constexpr int IDC_PROTECTIVE_SHAPE = CShelterShapes::IDC_PROTECTIVE_SHAPE;
constexpr int IDC_WARNING_SHAPE = CShelterShapes::IDC_WARNING_SHAPE;
constexpr int IDC_PROTECTIVE_SIZES = CShelterShapes::IDC_PROTECTIVE_SIZES;
constexpr int IDC_WARNING_SIZES = CShelterShapes::IDC_WARNING_SIZES;
constexpr int IDC_ARC_RADIUS = 2015;

DWORD Buttons(const DialogDriver& driver)
{
    DWORD flags = 0;
    if (driver.IsEnabled(ID_WIZBACK)) flags |= PSWIZB_BACK;
    if (driver.IsVisible(ID_WIZNEXT) && driver.IsEnabled(ID_WIZNEXT)) flags |= PSWIZB_NEXT;
    if (driver.IsVisible(ID_WIZFINISH) && driver.IsEnabled(ID_WIZFINISH)) flags |= PSWIZB_FINISH;
    return flags;
}

std::vector<WORD> Distances(const CShelter* field)
{
    std::vector<WORD> distances;
    if (const auto* contour = dynamic_cast<const CPolyShelter*>(field))
        for (int i = 0; i < contour->GetBeamCount(); ++i) distances.push_back(contour->GetBeamDistance(i));
    return distances;
}

std::vector<WORD> RectangleContour(const CSensorType& type, int beams, int size)
{
    CPolyShelter expected;
    expected.InitializeFromRectangle(type, beams, size, size, size, 2);
    return Distances(&expected);
}

// A configuration of type 7 in variant 1 with a protective rectangle reaching the
// variant's full range and a warning contour; its number of scans is not the one the
// variant allows.
std::unique_ptr<CZOKConfig> LongRangeConfig()
{
    auto config = std::make_unique<CZOKConfig>();
    const CSensorType type(7, 1);
    config->SetSensorType(type);
    config->SetProtectiveName("Prot");
    config->SetWarningName("Warn");
    config->SetScanCount(3);
    auto protective = std::make_unique<CRectShelter>();
    protective->Initialize(type, 50, type.GetProtectiveMaxDistance(), 50, 1);
    config->SetShelter(1, std::move(protective));
    auto warning = std::make_unique<CPolyShelter>();
    warning->InitializeWithBeamCount(type, 91, 2);
    config->SetShelter(2, std::move(warning));
    return config;
}

class CZOKConfigWizardTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }

    CString Text(UINT id) const
    {
        CString text;
        text.LoadString(id);
        return text;
    }
    static CString Formatted(UINT id, const char* insert)
    {
        CString text;
        AfxFormatString1(text, id, insert);
        return text;
    }
    static CString Title(DialogDriver& driver, CWnd& dialog)
    {
        (void)driver;
        CString title;
        dialog.GetWindowText(title);
        return title;
    }

    std::unique_ptr<CZOKConfig> RunNew(const std::function<void(CWnd&, DialogDriver&, CZOKConfigWizard&)>& script)
    {
        CNewZOKConfigWizard wizard;
        ui.QueueModal([&](CWnd& dialog) {
            DialogDriver driver(dialog);
            script(dialog, driver, wizard);
        });
        return wizard.Run();
    }
    std::unique_ptr<CZOKConfig> RunEdit(const CZOKConfig& config,
                                        const std::function<void(CWnd&, DialogDriver&, CZOKConfigWizard&)>& script)
    {
        CEditZOKConfigWizard wizard;
        ui.QueueModal([&](CWnd& dialog) {
            DialogDriver driver(dialog);
            script(dialog, driver, wizard);
        });
        return wizard.Run(config);
    }

    WizardLanguage language{{{303, "The scanner type could not be read."}}};
    ScriptedUi ui;
};

TEST_F(CZOKConfigWizardTest, NewConfigurationWalksEveryPageAndAlwaysGetsBothFields)
{
    const auto config = RunNew([&](CWnd& dialog, DialogDriver& driver, CZOKConfigWizard& wizard) {
        // 182: Next only; the type of a default configuration.
        EXPECT_EQ(Buttons(driver), DWORD(PSWIZB_NEXT));
        EXPECT_EQ(Title(driver, dialog), Text(CNewZOKConfigWizard::IDS_CAPTION));
        EXPECT_EQ(driver.Count(TypePage::IDC_TYPE), 3);
        EXPECT_TRUE(driver.IsEnabled(TypePage::IDC_TYPE));
        EXPECT_TRUE(driver.IsEnabled(TypePage::IDC_READ_TYPE));
        EXPECT_FALSE(driver.IsEnabled(CWizardPage::IDC_WIZARD_PICTURE));
        EXPECT_TRUE(driver.Next());
        // 183
        EXPECT_EQ(Buttons(driver), DWORD(PSWIZB_BACK | PSWIZB_NEXT));
        EXPECT_TRUE(driver.SetText(NamesPage::IDC_PROTECTIVE_NAME, "Door"));
        EXPECT_TRUE(driver.SetText(NamesPage::IDC_WARNING_NAME, ""));
        EXPECT_TRUE(driver.Next());
        // 184: off shows 1 in the disabled edit.
        EXPECT_EQ(driver.Check(OptionPage::IDC_OFF), BST_CHECKED);
        EXPECT_EQ(driver.Text(OptionPage::IDC_VALUE), CString("1 "));
        EXPECT_FALSE(driver.IsEnabled(OptionPage::IDC_VALUE));
        EXPECT_TRUE(driver.Next());
        // 185: mode 0, the fixed delay out of reach, the restart flag set.
        EXPECT_EQ(driver.Check(RestartPage::IDC_MODE), BST_CHECKED);
        EXPECT_EQ(driver.Text(RestartPage::IDC_DELAY), CString("2 "));
        EXPECT_FALSE(driver.IsEnabled(RestartPage::IDC_DELAY));
        EXPECT_EQ(driver.Check(RestartPage::IDC_RESTART), BST_CHECKED);
        EXPECT_TRUE(driver.Next());
        // 186: the response time follows the typed number.
        EXPECT_EQ(driver.Text(ScansPage::IDC_SCANS), CString("2 "));
        EXPECT_EQ(driver.Text(ScansPage::IDC_RESPONSE_TIME), Formatted(ScansPage::IDS_RESPONSE_TIME, "80"));
        EXPECT_TRUE(driver.SetText(ScansPage::IDC_SCANS, "5"));
        EXPECT_EQ(driver.Text(ScansPage::IDC_RESPONSE_TIME), Formatted(ScansPage::IDS_RESPONSE_TIME, "200"));
        EXPECT_TRUE(driver.Next());
        // 187, 188
        EXPECT_EQ(driver.Check(VariantPage::IDC_VARIANT_0), BST_CHECKED);
        EXPECT_TRUE(driver.Next());
        EXPECT_EQ(driver.Check(IDC_CHOICE), BST_CHECKED);
        EXPECT_TRUE(driver.Click(IDC_CHOICE + 2));
        EXPECT_TRUE(driver.Next());
        // 189: shapes 0, both sizes buttons usable; no field before the page is left.
        EXPECT_EQ(Buttons(driver), DWORD(PSWIZB_BACK | PSWIZB_NEXT));
        EXPECT_EQ(driver.Selection(IDC_PROTECTIVE_SHAPE), 0);
        EXPECT_EQ(driver.Selection(IDC_WARNING_SHAPE), 0);
        EXPECT_TRUE(driver.IsEnabled(IDC_PROTECTIVE_SIZES));
        EXPECT_TRUE(driver.IsEnabled(IDC_WARNING_SIZES));
        EXPECT_EQ(wizard.GetConfig()->GetShelter(1), nullptr);
        EXPECT_TRUE(driver.Next());
        // 190
        EXPECT_EQ(Buttons(driver), DWORD(PSWIZB_BACK | PSWIZB_FINISH));
        EXPECT_EQ(driver.Text(ID_WIZFINISH), CString("OK"));
        EXPECT_TRUE(driver.Finish());
    });
    ASSERT_NE(config, nullptr);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    const CSensorType type(4, 0);
    EXPECT_EQ(config->GetSensorType(), type);
    EXPECT_EQ(config->GetProtectiveName(), CString("Door"));
    EXPECT_EQ(config->GetWarningName(), CString());
    EXPECT_EQ(config->GetOption1(), 0);
    EXPECT_EQ(config->GetScanCount(), 5);
    EXPECT_EQ(config->GetOption3(), 1);
    EXPECT_EQ(config->GetOption5(), 2);
    EXPECT_EQ(config->GetModeDelay(), CModeDelay(0, 2));
    const auto* rect = dynamic_cast<const CRectShelter*>(config->GetShelter(1));
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->GetFieldKind(), 1);
    EXPECT_EQ(rect->GetLeft(), type.GetProtectiveDefaultDistance());
    EXPECT_EQ(rect->GetFront(), type.GetProtectiveDefaultDistance());
    EXPECT_EQ(rect->GetRight(), type.GetProtectiveDefaultDistance());
    ASSERT_NE(config->GetShelter(2), nullptr);
    EXPECT_EQ(config->GetShelter(2)->GetFieldKind(), 2);
    EXPECT_EQ(Distances(config->GetShelter(2)), RectangleContour(type, 181, type.GetWarningDefaultDistance()));
}

TEST_F(CZOKConfigWizardTest, LeavingTheFieldPageEitherWayRebuildsBothFieldsAndLocksTheType)
{
    const auto config = RunNew([&](CWnd&, DialogDriver& driver, CZOKConfigWizard& wizard) {
        EXPECT_TRUE(driver.Select(TypePage::IDC_TYPE, 2));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.SetText(NamesPage::IDC_PROTECTIVE_NAME, "P"));
        EXPECT_TRUE(driver.SetText(NamesPage::IDC_WARNING_NAME, "W"));
        for (int page = 0; page < 6; ++page) EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Select(IDC_PROTECTIVE_SHAPE, 1));
        EXPECT_TRUE(driver.Select(IDC_WARNING_SHAPE, 2));
        EXPECT_FALSE(driver.IsEnabled(IDC_WARNING_SIZES));
        ui.QueueModal([](CWnd& dialog) { // the arc dialog of the protective field
            DialogDriver arcDriver(dialog);
            arcDriver.SetText(IDC_ARC_RADIUS, "120");
            arcDriver.Click(IDOK);
        });
        EXPECT_TRUE(driver.Click(IDC_PROTECTIVE_SIZES));
        EXPECT_TRUE(driver.Back());
        const CZOKConfig& built = *wizard.GetConfig();
        const auto* arc = dynamic_cast<const CArcShelter*>(built.GetShelter(1));
        ASSERT_NE(arc, nullptr);
        EXPECT_EQ(arc->GetRadius(), 120);
        EXPECT_EQ(Distances(built.GetShelter(2)).size(), 91u);
        // Back on the type page: the type stays now that fields exist.
        for (int page = 0; page < 6; ++page) EXPECT_TRUE(driver.Back());
        EXPECT_FALSE(driver.IsEnabled(TypePage::IDC_TYPE));
        EXPECT_FALSE(driver.IsEnabled(TypePage::IDC_READ_TYPE));
        for (int page = 0; page < 7; ++page) EXPECT_TRUE(driver.Next());
        EXPECT_EQ(driver.Selection(IDC_PROTECTIVE_SHAPE), 1);
        EXPECT_TRUE(driver.Select(IDC_PROTECTIVE_SHAPE, 3));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Finish());
    });
    ASSERT_NE(config, nullptr);
    const CSensorType type(50, 0);
    EXPECT_EQ(config->GetSensorType(), type);
    EXPECT_EQ(config->GetShelter(1)->GetSensorType(), type);
    EXPECT_EQ(Distances(config->GetShelter(1)), [&] {
        CPolyShelter expected;
        expected.InitializeWithBeamCount(type, 181, 1);
        return Distances(&expected);
    }());
    EXPECT_EQ(Distances(config->GetShelter(2)).size(), 91u);
}

TEST_F(CZOKConfigWizardTest, EditStartsAtTheNamesAndHandsBackAChangedCopyOnlyOnFinish)
{
    const auto original = LongRangeConfig();
    original->SetOption1(17);
    for (const bool finish : {false, true}) {
        SCOPED_TRACE(finish ? "finish" : "cancel");
        const auto result = RunEdit(*original, [&](CWnd& dialog, DialogDriver& driver, CZOKConfigWizard& wizard) {
            EXPECT_EQ(wizard.GetPageCount(), 7);
            EXPECT_EQ(Title(driver, dialog), Text(CEditZOKConfigWizard::IDS_CAPTION));
            EXPECT_EQ(Buttons(driver), DWORD(PSWIZB_NEXT));
            EXPECT_EQ(driver.Text(NamesPage::IDC_PROTECTIVE_NAME), CString("Prot"));
            EXPECT_TRUE(driver.SetText(NamesPage::IDC_PROTECTIVE_NAME, "Gate"));
            EXPECT_TRUE(driver.Next());
            EXPECT_EQ(driver.Check(OptionPage::IDC_ON), BST_CHECKED);
            EXPECT_EQ(driver.Text(OptionPage::IDC_VALUE), CString("17 "));
            EXPECT_TRUE(driver.IsEnabled(OptionPage::IDC_VALUE));
            EXPECT_TRUE(driver.Next());
            EXPECT_TRUE(driver.Next());
            // The variant allows one number of scans only: shown, out of reach, and taken.
            EXPECT_EQ(driver.Text(ScansPage::IDC_SCANS), CString("4 "));
            EXPECT_FALSE(driver.IsEnabled(ScansPage::IDC_SCANS));
            EXPECT_TRUE(driver.Next());
            EXPECT_EQ(driver.Check(VariantPage::IDC_VARIANT_1), BST_CHECKED);
            EXPECT_TRUE(driver.Next());
            EXPECT_TRUE(driver.Next());
            EXPECT_EQ(Buttons(driver), DWORD(PSWIZB_BACK | PSWIZB_FINISH));
            if (finish) EXPECT_TRUE(driver.Finish());
            else EXPECT_TRUE(driver.Cancel());
        });
        EXPECT_EQ(original->GetProtectiveName(), CString("Prot"));
        if (!finish) {
            EXPECT_EQ(result, nullptr);
            continue;
        }
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->GetProtectiveName(), CString("Gate"));
        EXPECT_EQ(result->GetOption1(), 17);
        EXPECT_EQ(result->GetSensorType(), CSensorType(7, 1));
        EXPECT_EQ(result->GetScanCount(), 4);
        // The fields are the configuration's own, as copies.
        ASSERT_NE(result->GetShelter(1), nullptr);
        EXPECT_NE(result->GetShelter(1), original->GetShelter(1));
        EXPECT_NE(dynamic_cast<const CRectShelter*>(result->GetShelter(1)), nullptr);
        EXPECT_EQ(Distances(result->GetShelter(2)), Distances(original->GetShelter(2)));
    }
}

TEST_F(CZOKConfigWizardTest, OptionRestartAndScanPagesRefuseValuesOutOfRange)
{
    const auto original = std::make_unique<CZOKConfig>();
    original->SetProtectiveName("P");
    original->SetWarningName("W");
    original->SetOption1(9);
    const auto result = RunEdit(*original, [&](CWnd&, DialogDriver& driver, CZOKConfigWizard&) {
        EXPECT_TRUE(driver.Next());
        // 184: off, with an unusable entry in the disabled edit, passes and stores 0.
        EXPECT_TRUE(driver.Click(OptionPage::IDC_ON));
        EXPECT_TRUE(driver.IsEnabled(OptionPage::IDC_VALUE));
        EXPECT_TRUE(driver.SetText(OptionPage::IDC_VALUE, "128"));
        driver.Next();
        EXPECT_TRUE(driver.Exists(OptionPage::IDC_VALUE));
        EXPECT_TRUE(driver.Click(OptionPage::IDC_OFF));
        EXPECT_FALSE(driver.IsEnabled(OptionPage::IDC_VALUE));
        EXPECT_TRUE(driver.Next());
        // 185: the delay counts only in mode 1, within 2..60.
        EXPECT_TRUE(driver.Click(RestartPage::IDC_MODE_DELAYED));
        EXPECT_TRUE(driver.IsEnabled(RestartPage::IDC_DELAY));
        EXPECT_TRUE(driver.SetText(RestartPage::IDC_DELAY, "61"));
        driver.Next();
        EXPECT_TRUE(driver.Exists(RestartPage::IDC_DELAY));
        EXPECT_TRUE(driver.SetText(RestartPage::IDC_DELAY, "30"));
        EXPECT_TRUE(driver.Click(RestartPage::IDC_RESTART));
        EXPECT_TRUE(driver.Next());
        // 186: type 4 allows 2 to 16 scans.
        const CSensorType type(4, 0);
        ASSERT_EQ(type.GetMaxScanCount(), 16);
        EXPECT_TRUE(driver.SetText(ScansPage::IDC_SCANS, "17"));
        driver.Next();
        EXPECT_TRUE(driver.Exists(ScansPage::IDC_SCANS));
        EXPECT_TRUE(driver.SetText(ScansPage::IDC_SCANS, "16"));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Finish());
    });
    ASSERT_EQ(ui.MessageBoxes().size(), 3u);
    for (const MessageBoxRecord& box : ui.MessageBoxes()) EXPECT_EQ(box.id ? box.id : box.helpId, 61714u);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetOption1(), 0);
    EXPECT_EQ(result->GetModeDelay(), CModeDelay(1, 30));
    EXPECT_EQ(result->GetOption3(), 0);
    EXPECT_EQ(result->GetScanCount(), 16);
}

TEST_F(CZOKConfigWizardTest, Type7VariantChangesAreAskedAndAdjustTheFields)
{
    const auto original = LongRangeConfig();
    const CSensorType standard(7, 0);
    ASSERT_GT(CSensorType(7, 1).GetProtectiveMaxDistance(), standard.GetProtectiveMaxDistance());
    ui.QueueAnswers({IDNO, IDYES, IDYES});
    const auto result = RunEdit(*original, [&](CWnd&, DialogDriver& driver, CZOKConfigWizard& wizard) {
        for (int page = 0; page < 4; ++page) EXPECT_TRUE(driver.Next());
        // No keeps variant 1 and puts the focus back.
        EXPECT_TRUE(driver.Click(VariantPage::IDC_VARIANT_0));
        EXPECT_EQ(driver.Check(VariantPage::IDC_VARIANT_1), BST_CHECKED);
        EXPECT_EQ(driver.FocusId(), VariantPage::IDC_VARIANT_1);
        EXPECT_NE(dynamic_cast<const CRectShelter*>(wizard.GetConfig()->GetShelter(1)), nullptr);
        // Yes: at once variant 0, the protective field an arc of the shorter range.
        EXPECT_TRUE(driver.Click(VariantPage::IDC_VARIANT_0));
        EXPECT_EQ(driver.Check(VariantPage::IDC_VARIANT_0), BST_CHECKED);
        const CZOKConfig& config = *wizard.GetConfig();
        EXPECT_EQ(config.GetSensorType(), standard);
        const auto* arc = dynamic_cast<const CArcShelter*>(config.GetShelter(1));
        ASSERT_NE(arc, nullptr);
        EXPECT_EQ(arc->GetRadius(), standard.GetProtectiveMaxDistance());
        EXPECT_EQ(arc->GetFieldKind(), 1);
        EXPECT_EQ(config.GetShelter(2)->GetSensorType(), standard);
        // Clicking the checked button asks nothing.
        EXPECT_TRUE(driver.Click(VariantPage::IDC_VARIANT_0));
        // Yes to variant 1: the scans drop to the minimum, the fields follow.
        EXPECT_TRUE(driver.Click(VariantPage::IDC_VARIANT_1));
        EXPECT_EQ(config.GetSensorType(), CSensorType(7, 1));
        EXPECT_EQ(config.GetScanCount(), CSensorType(7, 1).GetMinScanCount());
        EXPECT_EQ(config.GetShelter(1)->GetSensorType(), CSensorType(7, 1));
        EXPECT_EQ(config.GetShelter(2)->GetSensorType(), CSensorType(7, 1));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Finish());
    });
    ASSERT_EQ(ui.MessageBoxes().size(), 3u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, UINT(VariantPage::IDP_TO_VARIANT_0));
    EXPECT_EQ(ui.MessageBoxes()[0].flags, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(ui.MessageBoxes()[2].id, UINT(VariantPage::IDP_TO_VARIANT_1));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetSensorType(), CSensorType(7, 1));
    // The caller's configuration saw none of it.
    EXPECT_NE(dynamic_cast<const CRectShelter*>(original->GetShelter(1)), nullptr);
}

TEST_F(CZOKConfigWizardTest, OtherTypesChangeTheVariantWithoutAQuestion)
{
    auto original = std::make_unique<CZOKConfig>();
    original->SetProtectiveName("P");
    original->SetWarningName("W");
    original->SetSensorType(CSensorType(50, 0));
    const auto result = RunEdit(*original, [&](CWnd&, DialogDriver& driver, CZOKConfigWizard&) {
        for (int page = 0; page < 4; ++page) EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Click(VariantPage::IDC_VARIANT_1));
        EXPECT_EQ(driver.Check(VariantPage::IDC_VARIANT_1), BST_CHECKED);
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Finish());
    });
    EXPECT_TRUE(ui.MessageBoxes().empty());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetSensorType(), CSensorType(50, 1));
}

class FakeApplication : public ProcedureApplication {
public:
    BOOL IsSimulating() override { return TRUE; }
    CString GetIniPath() override { return CString(); }
    void ShowMessageBarText(const CString&, BOOL) override {}
};

TEST_F(CZOKConfigWizardTest, ReadButtonTakesTheScannerTypeWithVariant0)
{
    FakeApplication application;
    ProcedureApplication* previous = SetProcedureApplication(&application);
    const WORD simulated = WORD(SimSensorType(0));
    ASSERT_TRUE(CSensorType::IsKnownTypeCode(simulated));
    const auto config = RunNew([&](CWnd&, DialogDriver& driver, CZOKConfigWizard& wizard) {
        EXPECT_TRUE(driver.Click(TypePage::IDC_READ_TYPE));
        const int scanner = driver.Selection(TypePage::IDC_TYPE);
        ASSERT_GE(scanner, 0);
        // From another type the button comes back to the scanner's.
        EXPECT_TRUE(driver.Select(TypePage::IDC_TYPE, (scanner + 1) % driver.Count(TypePage::IDC_TYPE)));
        EXPECT_TRUE(driver.Click(TypePage::IDC_READ_TYPE));
        EXPECT_EQ(driver.Selection(TypePage::IDC_TYPE), scanner);
        EXPECT_EQ(driver.FocusId(), TypePage::IDC_TYPE);
        EXPECT_TRUE(driver.Next());
        EXPECT_EQ(wizard.GetConfig()->GetSensorType(), CSensorType(simulated, 0));
        driver.Cancel();
    });
    SetProcedureApplication(previous);
    EXPECT_EQ(config, nullptr);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

} // namespace
