// The scanner configuration sheet driven from its shipped templates: what each page
// shows of the copy, what OK hands back, the refusals that keep a page open, and the
// variant change of a type-7 scanner with its fields.
#include "ShippedLanguage.h"

#include "dialogs/CZOKConfigSheet.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CArcShelter.h"
#include "model/CZOKConfig.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr int IDC_PROTECTIVE_NAME = 2167;
constexpr int IDC_WARNING_NAME = 2169;
constexpr int IDC_OPTION_OFF = 2051;
constexpr int IDC_OPTION_VALUE = 2052;
constexpr int IDC_OPTION_ON = 2053;
constexpr int IDC_SCANS = 2186;
constexpr int IDC_RESPONSE_TIME = 2054;
constexpr int IDC_MODE_0 = 2189;
constexpr int IDC_MODE_1 = 2191;
constexpr int IDC_DELAY = 2192;
constexpr int IDC_RESTART = 2193;
constexpr int IDC_VARIANT_0 = 2157;
constexpr int IDC_VARIANT_1 = 2159;
constexpr int IDC_CHOICE_1 = 2154;
constexpr int IDC_CHOICE_3 = 2156;

enum Page { kNames, kOption, kScans, kRestart, kVariant, kChoice };

class CZOKConfigSheetTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_language.Loaded()) << m_language.Error(); }

    std::unique_ptr<CZOKConfig> Run(const CZOKConfig* config, std::function<void(CPropertySheet&, DialogDriver&)> script)
    {
        m_ui.QueueModal([&](CWnd& wnd) {
            auto& sheet = static_cast<CPropertySheet&>(wnd);
            DialogDriver driver(wnd);
            script(sheet, driver);
        });
        CZOKConfigSheet sheet;
        return sheet.Edit(config);
    }

    static void Show(CPropertySheet& sheet, Page page)
    {
        ASSERT_TRUE(sheet.SetActivePage(int(page)));
        DialogDriver::Pump();
    }

    // A configuration whose names fit the names page.
    static CZOKConfig NamedConfig()
    {
        CZOKConfig config;
        config.SetProtectiveName("PF");
        config.SetWarningName("WF");
        return config;
    }

    // A type-7 scanner in the given variant with an arc protective field of that radius
    // and an arc warning field.
    static CZOKConfig TypeSevenConfig(WORD variant, WORD protectiveRadius)
    {
        CZOKConfig config = NamedConfig();
        CSensorType type;
        type.SetType(7, variant);
        config.SetSensorType(type);
        auto protective = std::make_unique<CArcShelter>();
        protective->Initialize(type, protectiveRadius, kProtectiveField);
        auto warning = std::make_unique<CArcShelter>();
        warning->Initialize(type, 700, kWarningField);
        config.SetShelter(kProtectiveField, std::move(protective));
        config.SetShelter(kWarningField, std::move(warning));
        return config;
    }

    // Text 1178 with the milliseconds inserted.
    CString ResponseText(int milliseconds) const
    {
        CString text = m_language.Text(1178);
        CString number;
        number.Format("%d", milliseconds);
        text.Replace("%1", number.c_str());
        return text;
    }

    ScriptedUi m_ui;
    ShippedLanguage m_language;
};

TEST_F(CZOKConfigSheetTest, PagesShowTheConfigurationAndCancelChangesNothing)
{
    CZOKConfig config;
    config.SetProtectiveName("PF-A");
    config.SetWarningName("WF-A");
    config.SetScanCount(3);
    config.GetModeDelay().Set(1, 30);
    config.SetOption3(0);
    config.SetOption5(2);

    const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        EXPECT_EQ(sheet.GetPageCount(), 6);
        EXPECT_EQ(driver.Text(IDC_PROTECTIVE_NAME), "PF-A");
        EXPECT_EQ(driver.Text(IDC_WARNING_NAME), "WF-A");
        driver.SetText(IDC_PROTECTIVE_NAME, "CHANGED");
        Show(sheet, kOption);
        // Off shows 1 in the disabled edit.
        EXPECT_EQ(driver.Check(IDC_OPTION_OFF), BST_CHECKED);
        EXPECT_EQ(driver.Text(IDC_OPTION_VALUE), "1 ");
        EXPECT_FALSE(driver.IsEnabled(IDC_OPTION_VALUE));
        driver.Click(IDC_OPTION_ON);
        EXPECT_TRUE(driver.IsEnabled(IDC_OPTION_VALUE));
        Show(sheet, kScans);
        EXPECT_EQ(driver.Text(IDC_SCANS), "3 ");
        EXPECT_TRUE(driver.IsEnabled(IDC_SCANS));
        EXPECT_EQ(driver.Text(IDC_RESPONSE_TIME), ResponseText(120));
        Show(sheet, kRestart);
        EXPECT_EQ(driver.Check(IDC_MODE_1), BST_CHECKED);
        EXPECT_EQ(driver.Text(IDC_DELAY), "30 ");
        EXPECT_TRUE(driver.IsEnabled(IDC_DELAY));
        EXPECT_EQ(driver.Check(IDC_RESTART), BST_UNCHECKED);
        driver.Click(IDC_MODE_0);
        EXPECT_FALSE(driver.IsEnabled(IDC_DELAY));
        Show(sheet, kVariant);
        EXPECT_EQ(driver.Check(IDC_VARIANT_0), BST_CHECKED);
        EXPECT_EQ(driver.Check(IDC_VARIANT_1), BST_UNCHECKED);
        Show(sheet, kChoice);
        EXPECT_EQ(driver.Check(IDC_CHOICE_3), BST_CHECKED);
        EXPECT_TRUE(driver.Cancel());
    });
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(m_ui.ModalRuns().at(0).caption, m_language.Text(1174));
    EXPECT_EQ(config.GetProtectiveName(), "PF-A");
    EXPECT_EQ(config.GetOption1(), 0);
    EXPECT_EQ(config.GetModeDelay(), CModeDelay(1, 30));
}

TEST_F(CZOKConfigSheetTest, OkHandsBackTheEditedCopyAndLeavesTheCallersOne)
{
    const CZOKConfig original = NamedConfig();
    const auto result = Run(&original, [&](CPropertySheet& sheet, DialogDriver& driver) {
        driver.SetText(IDC_PROTECTIVE_NAME, "SCHUTZ1");
        driver.SetText(IDC_WARNING_NAME, "WARN1");
        Show(sheet, kOption);
        driver.Click(IDC_OPTION_ON);
        driver.SetText(IDC_OPTION_VALUE, "127");
        Show(sheet, kScans);
        driver.SetText(IDC_SCANS, "16");
        EXPECT_EQ(driver.Text(IDC_RESPONSE_TIME), ResponseText(640));
        Show(sheet, kRestart);
        driver.Click(IDC_MODE_1);
        driver.SetText(IDC_DELAY, "45");
        driver.Click(IDC_RESTART);
        Show(sheet, kChoice);
        driver.Click(IDC_CHOICE_1 + 1);
        driver.Ok();
    });
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(m_ui.MessageBoxes().empty());
    EXPECT_EQ(result->GetProtectiveName(), "SCHUTZ1");
    EXPECT_EQ(result->GetWarningName(), "WARN1");
    EXPECT_EQ(result->GetOption1(), 127);
    EXPECT_EQ(result->GetScanCount(), 16);
    EXPECT_EQ(result->GetModeDelay(), CModeDelay(1, 45));
    EXPECT_EQ(result->GetOption3(), 0);
    EXPECT_EQ(result->GetOption5(), 1);
    // The caller's configuration is as it was.
    EXPECT_EQ(original.GetProtectiveName(), "PF");
    EXPECT_EQ(original.GetOption1(), 0);
    EXPECT_EQ(original.GetScanCount(), 2);
}

// Without a configuration the sheet edits a default one; switching the option off
// again gives 0 in the copy, and the page still shows a valid number when it returns.
TEST_F(CZOKConfigSheetTest, DefaultConfigurationAndOptionSwitchedOff)
{
    CZOKConfig withOption = NamedConfig();
    withOption.SetOption1(42);
    const auto off = Run(&withOption, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kOption);
        EXPECT_EQ(driver.Check(IDC_OPTION_ON), BST_CHECKED);
        EXPECT_EQ(driver.Text(IDC_OPTION_VALUE), "42 ");
        driver.Click(IDC_OPTION_OFF);
        Show(sheet, kNames);
        Show(sheet, kOption);
        EXPECT_EQ(driver.Text(IDC_OPTION_VALUE), "42 ");
        driver.Ok();
    });
    ASSERT_NE(off, nullptr);
    EXPECT_EQ(off->GetOption1(), 0);

    const auto fresh = Run(nullptr, [&](CPropertySheet&, DialogDriver& driver) {
        EXPECT_EQ(driver.Text(IDC_PROTECTIVE_NAME), m_language.Text(1180));
        EXPECT_EQ(driver.Text(IDC_WARNING_NAME), m_language.Text(1181));
        driver.SetText(IDC_PROTECTIVE_NAME, "P");
        driver.SetText(IDC_WARNING_NAME, "W");
        driver.Ok();
    });
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->GetScanCount(), 2);
    EXPECT_EQ(fresh->GetOption3(), 1);
    EXPECT_EQ(fresh->GetModeDelay(), CModeDelay(0, 2));
}

// Each refused entry shows the framework's message and keeps its page, so OK does not
// close the sheet.
TEST_F(CZOKConfigSheetTest, RefusedEntriesKeepThePageOpen)
{
    struct Case {
        Page page;
        int control;
        const char* text;
    };
    for (const Case& c : {Case{kNames, IDC_PROTECTIVE_NAME, "NINECHARS"}, Case{kNames, IDC_WARNING_NAME, "123456789"},
                          Case{kOption, IDC_OPTION_VALUE, "128"}, Case{kOption, IDC_OPTION_VALUE, "0"},
                          Case{kScans, IDC_SCANS, "17"}, Case{kScans, IDC_SCANS, "1"},
                          Case{kRestart, IDC_DELAY, "61"}}) {
        m_ui.ClearMessageBoxes();
        const CZOKConfig config = NamedConfig();
        const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
            Show(sheet, c.page);
            if (c.page == kOption) driver.Click(IDC_OPTION_ON);
            if (c.page == kRestart) driver.Click(IDC_MODE_1);
            driver.SetText(c.control, c.text);
            driver.Ok();
            EXPECT_EQ(sheet.GetActiveIndex(), int(c.page)) << c.text;
            driver.Cancel();
        });
        EXPECT_EQ(result, nullptr) << c.text;
        EXPECT_EQ(m_ui.MessageBoxes().size(), 1u) << c.text;
    }
}

TEST_F(CZOKConfigSheetTest, ResponseTimeFollowsTheScansEdit)
{
    const CZOKConfig config = NamedConfig();
    Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kScans);
        EXPECT_EQ(driver.Text(IDC_RESPONSE_TIME), ResponseText(80));
        driver.SetText(IDC_SCANS, "5");
        EXPECT_EQ(driver.Text(IDC_RESPONSE_TIME), ResponseText(200));
        // Up to the largest byte the time follows; no number, or one that no byte holds,
        // shows no time rather than a wrong one.
        const struct {
            const char* scans;
            CString shown;
        } entries[] = {{"255", ResponseText(10200)}, {"256", ""}, {"x", ""}, {"300", ""}};
        for (const auto& entry : entries) {
            driver.SetText(IDC_SCANS, entry.scans);
            EXPECT_EQ(driver.Text(IDC_RESPONSE_TIME), entry.shown) << entry.scans;
        }
        driver.Cancel();
    });
}

TEST_F(CZOKConfigSheetTest, StandardVariantTurnsAFarProtectiveFieldIntoAnArcOfTheNewReach)
{
    const CZOKConfig config = TypeSevenConfig(1, 600);
    m_ui.QueueAnswer(IDYES);
    const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kVariant);
        EXPECT_EQ(driver.Check(IDC_VARIANT_1), BST_CHECKED);
        driver.Click(IDC_VARIANT_0);
        EXPECT_EQ(driver.Check(IDC_VARIANT_0), BST_CHECKED);
        EXPECT_EQ(driver.Check(IDC_VARIANT_1), BST_UNCHECKED);
        driver.Ok();
    });
    ASSERT_EQ(m_ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_ui.MessageBoxes()[0].id, 468u);
    EXPECT_EQ(m_ui.MessageBoxes()[0].flags & (MB_YESNO | MB_ICONQUESTION), MB_YESNO | MB_ICONQUESTION);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetSensorType().GetVariant(), 0);
    const auto* arc = dynamic_cast<const CArcShelter*>(result->GetShelter(kProtectiveField));
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->GetRadius(), result->GetSensorType().GetProtectiveMaxDistance());
    EXPECT_EQ(arc->GetFieldKind(), kProtectiveField);
    EXPECT_EQ(arc->GetSensorType().GetVariant(), 0);
    EXPECT_EQ(result->GetShelter(kWarningField)->GetSensorType().GetVariant(), 0);
    // The caller's fields are untouched.
    EXPECT_EQ(static_cast<const CArcShelter*>(config.GetShelter(kProtectiveField))->GetRadius(), 600);
}

TEST_F(CZOKConfigSheetTest, VariantQuestionsAnsweredNoChangeNothing)
{
    for (const WORD variant : {WORD(0), WORD(1)}) {
        m_ui.ClearMessageBoxes();
        const CZOKConfig config = TypeSevenConfig(variant, 300);
        m_ui.QueueAnswer(IDNO);
        const int other = variant == 0 ? IDC_VARIANT_1 : IDC_VARIANT_0;
        const int current = variant == 0 ? IDC_VARIANT_0 : IDC_VARIANT_1;
        const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
            Show(sheet, kVariant);
            driver.Click(other);
            EXPECT_EQ(driver.Check(current), BST_CHECKED);
            EXPECT_EQ(driver.Check(other), BST_UNCHECKED);
            EXPECT_EQ(driver.FocusId(), current);
            driver.Ok();
        });
        ASSERT_EQ(m_ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(m_ui.MessageBoxes()[0].id, variant == 0 ? 467u : 468u);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->GetSensorType().GetVariant(), variant);
        EXPECT_EQ(result->GetScanCount(), 2);
        EXPECT_EQ(result->GetShelter(kProtectiveField)->GetSensorType().GetVariant(), variant);
    }
}

// Yes to the long-range variant sets the type's scans, which the scans page then shows
// as its only allowed value; both fields take the new type.
TEST_F(CZOKConfigSheetTest, LongRangeVariantTakesTheTypesScans)
{
    const CZOKConfig config = TypeSevenConfig(0, 300);
    m_ui.QueueAnswer(IDYES);
    const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kVariant);
        driver.Click(IDC_VARIANT_1);
        EXPECT_EQ(driver.Check(IDC_VARIANT_1), BST_CHECKED);
        Show(sheet, kScans);
        CSensorType longRange;
        longRange.SetType(7, 1);
        CString expected;
        expected.Format("%u ", unsigned(longRange.GetMinScanCount()));
        EXPECT_EQ(driver.Text(IDC_SCANS), expected);
        EXPECT_EQ(driver.IsEnabled(IDC_SCANS), longRange.GetMinScanCount() != longRange.GetMaxScanCount());
        driver.Ok();
    });
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetSensorType().GetVariant(), 1);
    EXPECT_EQ(result->GetScanCount(), result->GetSensorType().GetMinScanCount());
    EXPECT_EQ(result->GetShelter(kProtectiveField)->GetSensorType().GetVariant(), 1);
    EXPECT_EQ(result->GetShelter(kWarningField)->GetSensorType().GetVariant(), 1);
}

// Other types change the variant without asking and leave the fields alone.
TEST_F(CZOKConfigSheetTest, OtherTypesSwitchVariantWithoutAsking)
{
    const CZOKConfig config = NamedConfig();
    const auto result = Run(&config, [&](CPropertySheet& sheet, DialogDriver& driver) {
        Show(sheet, kVariant);
        driver.Click(IDC_VARIANT_1);
        EXPECT_EQ(driver.Check(IDC_VARIANT_1), BST_CHECKED);
        driver.Ok();
    });
    EXPECT_TRUE(m_ui.MessageBoxes().empty());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetSensorType().GetVariant(), 1);
    EXPECT_EQ(result->GetScanCount(), 2);
}

} // namespace
