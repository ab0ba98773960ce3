#include "dialogs/CKVRControlSheet.h"

#include "ShippedLanguage.h"
#include "dialogs/CKVRConfigSheet.h"
#include "dialogs/CKVRControlTableDialog.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/ConfigLimits.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <functional>

namespace {

constexpr int IDC_SHELTER_LIST = 2169;
constexpr int IDC_SENSOR_LIST = 2167;
constexpr int IDC_STATE1 = 2068;
constexpr int IDC_STATE3 = 2070;
constexpr int IDC_OUTPUT_B = 2188;
constexpr int IDC_TABLE = 2177;
constexpr int IDC_RANGE_SET = 2099;
constexpr int IDC_SPEED_LOW = 2093;
constexpr int IDC_SPEED_HIGH = 2094;
constexpr int IDC_FOLLOW_ONE = 2128;
constexpr int IDC_FOLLOW_TWO = 2130;
constexpr int IDC_FOLLOW1 = 2127;
constexpr int IDC_FOLLOW2 = 2129;
constexpr int IDC_SCANS = 2186;
constexpr int IDC_RESPONSE = 2054;
constexpr int IDC_CASE_LIST = 2050;
constexpr int IDC_CASE_EDIT = 2062;
constexpr int kAssignPage = 0;
constexpr int kInputPage = 1;
constexpr int kFollowPage = 2;
constexpr int kScansPage = 3;

std::unique_ptr<CKVRControlConfig> Case(int s1, int s3, int low, int high)
{
    auto control = std::make_unique<CKVRControlConfig>();
    control->SetInputState(1, s1);
    control->SetInputState(3, s3);
    control->SetSpeed(CSpeed(low, high));
    control->SetOutputA(1);
    control->SetSensorIndex(0);
    control->SetShelterIndex(1);
    return control;
}

// Two sensors, two field pairs, three cases; case 1 has the speed range -500..1500.
CKVRConfig SampleConfig(BYTE flags)
{
    CKVRConfig config;
    config.SetUsedFlags(flags);
    config.AddSensorConfig("Front", std::make_unique<CKVRSensorConfig>());
    config.AddSensorConfig("Rear", std::make_unique<CKVRSensorConfig>());
    config.AddShelterConfig("Slow", std::make_unique<CKVRShelterConfig>());
    config.AddShelterConfig("Fast", std::make_unique<CKVRShelterConfig>());
    config.AddControlConfig("Stop", Case(kInputLow, kInputHigh, 0, 0));
    config.AddControlConfig("Drive", Case(kInputHigh, kInputHigh, -500, 1500));
    config.AddControlConfig("Park", Case(kInputDontCare, kInputLow, 0, 0));
    return config;
}

constexpr BYTE kWithSpeed = kUsesInput1 | 0x02 | kUsesSpeed | kUsesOssdA | kUsesOssdB;
constexpr BYTE kWithoutSpeed = kUsesInput1 | 0x02 | 0x04 | kUsesOssdA;

class CKVRControlSheetTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_language.Loaded()) << m_language.Error(); }

    using Script = std::function<void(CPropertySheet&, DialogDriver&)>;

    INT_PTR Run(CKVRControlSheet& sheet, Script script)
    {
        m_ui.QueueModal([&](CWnd& wnd) {
            DialogDriver driver(wnd);
            script(static_cast<CPropertySheet&>(wnd), driver);
        });
        return sheet.DoModal();
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

TEST_F(CKVRControlSheetTest, SpeedRangesOutsideTheMeasurableSpeedsAreRefused)
{
    struct Row {
        const char* low;
        const char* high;
        std::vector<UINT> shown;
    };
    // Speed values 50 and 50 measure 10 to 2000 cm/s either way.
    const Row rows[] = {{"-2000", "2000", {}}, {"-5", "5", {472}}, {"100", "100", {AFX_IDP_PARSE_INT_RANGE}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.low);
        m_ui.ClearMessageBoxes();
        CKVRControlSheet sheet;
        sheet.m_config = SampleConfig(kWithSpeed);
        sheet.m_nCaseIndex = 1;
        ASSERT_EQ(sheet.m_config.GetMaxSpeed(), 2000);
        const INT_PTR result = Run(sheet, [&](CPropertySheet& s, DialogDriver& driver) {
            Show(s, kInputPage);
            EXPECT_EQ(s.GetPage(kInputPage)->GetTemplateId(), 142u);
            EXPECT_EQ(driver.Check(IDC_RANGE_SET), BST_CHECKED);
            EXPECT_EQ(driver.Text(IDC_SPEED_LOW), "-500 cm/s");
            driver.SetText(IDC_SPEED_LOW, row.low);
            driver.SetText(IDC_SPEED_HIGH, row.high);
            driver.Click(IDC_OUTPUT_B);
            driver.Ok();
            EXPECT_EQ(ShownIds(), row.shown);
            if (!row.shown.empty()) driver.Cancel();
        });
        const CKVRControlConfig& edited = *sheet.m_config.GetControlConfig(1);
        if (row.shown.empty()) {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(edited.GetSpeed().GetLow(), -2000);
            EXPECT_EQ(edited.GetSpeed().GetHigh(), 2000);
            EXPECT_EQ(edited.GetOutputA(), 0);
            EXPECT_EQ(edited.GetOutputB(), 1);
            EXPECT_EQ(edited.GetInputState(3), kInputHigh); // not on the speed page, kept
        } else {
            EXPECT_EQ(result, IDCANCEL);
            EXPECT_EQ(edited.GetSpeed().GetHigh(), 1500);
        }
    }
}

TEST_F(CKVRControlSheetTest, WithoutSpeedTheInputsPageEditsAllFourStatesAndKeepsTheRange)
{
    CKVRControlSheet sheet;
    sheet.m_config = SampleConfig(kWithoutSpeed);
    sheet.m_nCaseIndex = 1;
    const INT_PTR result = Run(sheet, [&](CPropertySheet& s, DialogDriver& driver) {
        EXPECT_EQ(s.GetPageCount(), 4);
        EXPECT_EQ(driver.Selection(IDC_SHELTER_LIST), 1);
        EXPECT_EQ(driver.Selection(IDC_SENSOR_LIST), 0);
        driver.Select(IDC_SENSOR_LIST, 1);
        Show(s, kInputPage);
        EXPECT_EQ(s.GetPage(kInputPage)->GetTemplateId(), 141u);
        EXPECT_FALSE(driver.IsEnabled(IDC_STATE1 + 3)); // input 4 not used
        EXPECT_FALSE(driver.IsEnabled(IDC_OUTPUT_B));
        EXPECT_EQ(driver.ItemText(IDC_STATE3, driver.Selection(IDC_STATE3)), "1");
        driver.Select(IDC_STATE3, 0);
        driver.Ok();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(m_ui.ModalRuns().at(0).caption, [&] {
        CString caption;
        AfxFormatString1(caption, 1177, "Drive");
        return caption;
    }());
    const CKVRControlConfig& edited = *sheet.m_config.GetControlConfig(1);
    EXPECT_EQ(edited.GetSensorIndex(), 1);
    EXPECT_EQ(edited.GetInputState(3), kInputDontCare);
    EXPECT_EQ(edited.GetSpeed().GetHigh(), 1500);
}

TEST_F(CKVRControlSheetTest, ClearedRangeGivesNoSpeedAndCancelChangesNothing)
{
    CKVRControlSheet sheet;
    sheet.m_config = SampleConfig(kWithSpeed);
    sheet.m_nCaseIndex = 1;
    EXPECT_EQ(Run(sheet,
                  [&](CPropertySheet& s, DialogDriver& driver) {
                      Show(s, kInputPage);
                      driver.Click(IDC_RANGE_SET);
                      EXPECT_FALSE(driver.IsEnabled(IDC_SPEED_LOW));
                      driver.Cancel();
                  }),
              IDCANCEL);
    EXPECT_EQ(sheet.m_config.GetControlConfig(1)->GetSpeed().GetHigh(), 1500);

    EXPECT_EQ(Run(sheet,
                  [&](CPropertySheet& s, DialogDriver& driver) {
                      Show(s, kInputPage);
                      driver.Click(IDC_RANGE_SET);
                      driver.SetText(IDC_SPEED_LOW, "junk");
                      driver.Ok();
                  }),
              IDOK);
    EXPECT_FALSE(sheet.m_config.GetControlConfig(1)->GetSpeed().IsSet());
    EXPECT_EQ(sheet.m_config.GetControlConfig(1)->GetSpeed().GetLow(), 0);
}

TEST_F(CKVRControlSheetTest, FollowingCasesNeverOfferTheCaseItselfAndAlwaysHaveASelection)
{
    CKVRControlSheet sheet;
    sheet.m_config = SampleConfig(kWithoutSpeed);
    sheet.m_nCaseIndex = 1;
    Run(sheet, [&](CPropertySheet& s, DialogDriver& driver) {
        Show(s, kFollowPage);
        ASSERT_EQ(driver.Count(IDC_FOLLOW1), 14);
        EXPECT_EQ(driver.ItemText(IDC_FOLLOW1, 0), "1");
        EXPECT_EQ(driver.ItemText(IDC_FOLLOW1, 1), "3");
        EXPECT_FALSE(driver.IsEnabled(IDC_FOLLOW1));
        driver.Click(IDC_FOLLOW_ONE);
        EXPECT_TRUE(driver.IsEnabled(IDC_FOLLOW1));
        EXPECT_FALSE(driver.IsEnabled(IDC_FOLLOW2));
        driver.Click(IDC_FOLLOW_TWO);
        driver.Select(IDC_FOLLOW2, 1);
        driver.Ok();
    });
    const CKVRControlConfig& edited = *sheet.m_config.GetControlConfig(1);
    EXPECT_EQ(edited.GetFollowCount(), 2);
    EXPECT_EQ(edited.GetFollow1(), 0);
    EXPECT_EQ(edited.GetFollow2(), 2);
}

TEST_F(CKVRControlSheetTest, ScansAreBoundByTheSensorTypeAndShowTheResponseTime)
{
    CKVRControlSheet sheet;
    sheet.m_config = SampleConfig(kWithoutSpeed);
    sheet.m_nCaseIndex = 0;
    const auto responseLine = [](const char* ms) {
        CString line;
        AfxFormatString1(line, 1178, ms);
        return line;
    };
    const INT_PTR result = Run(sheet, [&](CPropertySheet& s, DialogDriver& driver) {
        Show(s, kScansPage);
        EXPECT_EQ(driver.Text(IDC_RESPONSE), responseLine("190"));
        driver.SetText(IDC_SCANS, "17");
        driver.Ok();
        EXPECT_EQ(ShownIds(), std::vector<UINT>{AFX_IDP_PARSE_INT_RANGE});
        driver.SetText(IDC_SCANS, "16");
        EXPECT_EQ(driver.Text(IDC_RESPONSE), responseLine("750"));
        driver.Ok();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(sheet.m_config.GetControlConfig(0)->GetScanCount(), 16);

    // A type whose smallest and largest number of scans agree leaves nothing to choose.
    const CSensorType fixed(7, 1);
    ASSERT_EQ(fixed.GetMinScanCount(), fixed.GetMaxScanCount());
    sheet.m_config.SetSensorType(fixed);
    sheet.m_config.GetControlConfig(0)->SetScanCount(fixed.GetMinScanCount());
    Run(sheet, [&](CPropertySheet& s, DialogDriver& driver) {
        Show(s, kScansPage);
        EXPECT_FALSE(driver.IsEnabled(IDC_SCANS));
        driver.Cancel();
    });
}

TEST_F(CKVRControlSheetTest, TableListsTheOtherCasesWithTheirSpeedBars)
{
    const CKVRConfig config = SampleConfig(kWithSpeed);
    m_ui.QueueModal([&](CWnd& wnd) {
        auto& dialog = static_cast<CKVRControlTableDialog&>(wnd);
        CKVRControlListBox& list = dialog.GetList();
        ASSERT_EQ(list.GetColumnCount(), 9);
        ASSERT_EQ(list.GetCount(), 2); // case 0 left out
        EXPECT_EQ(list.GetItemText(0, 0), "Drive");
        EXPECT_EQ(list.GetItemText(0, 1), "1");
        EXPECT_EQ(list.GetItemText(0, 3), "-500");
        EXPECT_EQ(list.GetItemText(0, 4), "1500");
        EXPECT_EQ(list.GetItemText(0, 6), "A");
        EXPECT_EQ(list.GetItemText(0, 7), "Fast");
        EXPECT_EQ(list.GetItemText(0, 8), "Front");
        EXPECT_EQ(list.GetItemText(1, 1), "X");
        EXPECT_EQ(list.GetItemText(1, 3), "");
        EXPECT_EQ(list.GetColumnFormat(5), 1);
        EXPECT_EQ(list.GetColumnFormat(6), 4);
        EXPECT_GE(list.GetColumnWidth(5), CKVRControlTableDialog::kMinBarWidth);
        EXPECT_EQ(list.GetCurSel(), 0);
        // A 200-pixel cell: scale 100 / 1500; the range -500..1500 runs from 67 to 200.
        const RECT cell{0, 0, 200, 16};
        int left = 0;
        int right = 0;
        list.GetBarExtent(cell, list.GetItemData(0, 5), left, right);
        EXPECT_EQ(left, 67);
        EXPECT_EQ(right, 200);
        list.GetBarExtent(cell, list.GetItemData(1, 5), left, right);
        EXPECT_EQ(left, 0);
        EXPECT_EQ(right, 200);
        // The bar's green stays in its cell: the texts after it stand on the row's colour.
        DialogDriver::Pump();
        const QImage image = AfxWidgetFromHandle(list.GetSafeHwnd())->grab().toImage();
        list.GetColumnEdges(5, left, right);
        int green = 0;
        for (int x = right + 1; x < image.width(); ++x)
            for (int y = 0; y < 2 * CColumnListBox::kRowHeight && y < image.height(); ++y)
                green += image.pixel(x, y) == qRgb(0, 255, 0);
        EXPECT_EQ(green, 0);
    });
    CKVRControlTableDialog dialog(&config);
    dialog.m_nExcluded = 0;
    dialog.DoModal();
    EXPECT_EQ(m_ui.PendingModals(), 0u);
}

TEST_F(CKVRControlSheetTest, ConfigurationSheetEditsACaseOnACopyTakenBackOnOk)
{
    const CKVRConfig config = SampleConfig(kWithoutSpeed);
    m_ui.QueueModal([&](CWnd& wnd) {
        auto& sheet = static_cast<CPropertySheet&>(wnd);
        DialogDriver driver(wnd);
        ASSERT_TRUE(sheet.SetActivePage(2));
        DialogDriver::Pump();
        m_ui.QueueModal([](CWnd& inner) {
            DialogDriver caseDriver(inner);
            caseDriver.Select(IDC_SENSOR_LIST, 1);
            caseDriver.Ok();
        });
        driver.Select(IDC_CASE_LIST, 2);
        driver.Click(IDC_CASE_EDIT);
        m_ui.QueueModal([](CWnd& table) { DialogDriver(table).Click(IDOK); });
        driver.Click(IDC_TABLE);
        driver.Ok();
    });
    CKVRConfigSheet sheet;
    const auto result = sheet.Edit(&config);
    ASSERT_NE(result, nullptr) << (m_ui.MessageBoxes().empty() ? 0 : m_ui.MessageBoxes()[0].id);
    EXPECT_EQ(result->GetControlConfig(2)->GetSensorIndex(), 1);
    EXPECT_EQ(config.GetControlConfig(2)->GetSensorIndex(), 0);
    EXPECT_EQ(m_ui.ModalRuns().at(2).templateId, 124u);
}

} // namespace
