// The restart pages of the KVR and ZOK configuration sheets and wizards: every page names
// each restart mode and the restart flag alike, in the words of the printed reports, so a
// user who picks manual restart gets manual restart wherever he picks it.
#include "ShippedLanguage.h"
#include "dialogs/CKVRConfigSheet.h"
#include "dialogs/CKVRConfigWizard.h"
#include "dialogs/CZOKConfigSheet.h"
#include "dialogs/CZOKConfigWizard.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CKVRConfig.h"
#include "model/CZOKConfig.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {

constexpr int IDC_RESTART_FLAG = 2193;
constexpr int IDC_KVR_MODE_A = 2194;   // 2194-2196 on the sheet and the wizard
constexpr int IDC_ZOK_SHEET_MODE = 2189;  // 2189-2191
constexpr int IDC_ZOK_WIZARD_MODE = 2119; // 2119-2121
constexpr int kKVRSheetRestartPage = 6;
constexpr int kZOKSheetRestartPage = 3;
constexpr UINT IDS_REPORT_AUTOMATIC = 1217;
constexpr UINT IDS_REPORT_MANUAL = 1216;
constexpr UINT IDS_REPORT_FLAG_ON = 1018;

// What a page shows: the label of the button checked for each mode, and the flag's label.
struct RestartLabels {
    std::array<CString, 3> mode;
    CString flag;
};

CString Plain(CString text)
{
    text.Remove('&');
    return text;
}

CString Lower(CString text)
{
    text.MakeLower();
    return text;
}

void ReadPage(const DialogDriver& driver, int firstRadio, BYTE mode, RestartLabels& labels)
{
    for (int id = firstRadio; id < firstRadio + 3; ++id)
        if (driver.Check(id) == BST_CHECKED) labels.mode[mode] = Plain(driver.Text(id));
    labels.flag = Plain(driver.Text(IDC_RESTART_FLAG));
}

// Passes every page before the restart page of the KVR wizard.
CKVRConfig KVRConfigWithMode(BYTE mode)
{
    CKVRConfig config;
    config.AddSensorConfig("Sens1", std::make_unique<CKVRSensorConfig>());
    config.AddShelterConfig("Pair1", std::make_unique<CKVRShelterConfig>());
    auto control = std::make_unique<CKVRControlConfig>();
    control->SetSensorIndex(0);
    control->SetShelterIndex(0);
    config.AddControlConfig("Case1", std::move(control));
    config.GetModeDelay1().Set(mode, 10);
    return config;
}

CZOKConfig ZOKConfigWithMode(BYTE mode)
{
    CZOKConfig config;
    config.GetModeDelay().Set(mode, 10);
    return config;
}

class RestartPagesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }

    // Runs the dialog once per mode; the script brings the restart page up and reads it.
    RestartLabels Labels(const std::function<void(BYTE, std::function<void(CWnd&)>)>& run,
                         const std::function<void(CWnd&, DialogDriver&)>& toRestartPage, int firstRadio)
    {
        RestartLabels labels;
        for (BYTE mode : {0, 1, 2}) {
            run(mode, [&](CWnd& wnd) {
                DialogDriver driver(wnd);
                toRestartPage(wnd, driver);
                ReadPage(driver, firstRadio, mode, labels);
                driver.Cancel();
            });
        }
        return labels;
    }

    ShippedLanguage language;
    ScriptedUi ui;
};

TEST_F(RestartPagesTest, EveryPageNamesEachModeAndTheFlagAsTheReportsDo)
{
    const auto showSheetPage = [](int page) {
        return [page](CWnd& wnd, DialogDriver&) {
            ASSERT_TRUE(static_cast<CPropertySheet&>(wnd).SetActivePage(page));
            DialogDriver::Pump();
        };
    };
    const auto nextTimes = [](int count) {
        return [count](CWnd&, DialogDriver& driver) {
            for (int n = 0; n < count; ++n) ASSERT_TRUE(driver.Next());
        };
    };

    const RestartLabels kvrSheet = Labels(
        [&](BYTE mode, std::function<void(CWnd&)> script) {
            ui.QueueModal(std::move(script));
            const CKVRConfig config = KVRConfigWithMode(mode);
            CKVRConfigSheet().Edit(&config);
        },
        showSheetPage(kKVRSheetRestartPage), IDC_KVR_MODE_A);
    // Option value, variant, inputs; without speed the next page is the restart page.
    const RestartLabels kvrWizard = Labels(
        [&](BYTE mode, std::function<void(CWnd&)> script) {
            ui.QueueModal(std::move(script));
            CEditKVRConfigWizard().Run(KVRConfigWithMode(mode));
        },
        nextTimes(3), IDC_KVR_MODE_A);
    const RestartLabels zokSheet = Labels(
        [&](BYTE mode, std::function<void(CWnd&)> script) {
            ui.QueueModal(std::move(script));
            const CZOKConfig config = ZOKConfigWithMode(mode);
            CZOKConfigSheet().Edit(&config);
        },
        showSheetPage(kZOKSheetRestartPage), IDC_ZOK_SHEET_MODE);
    // Names, option value, then the restart page.
    const RestartLabels zokWizard = Labels(
        [&](BYTE mode, std::function<void(CWnd&)> script) {
            ui.QueueModal(std::move(script));
            CEditZOKConfigWizard().Run(ZOKConfigWithMode(mode));
        },
        nextTimes(2), IDC_ZOK_WIZARD_MODE);
    EXPECT_TRUE(ui.MessageBoxes().empty());

    const struct {
        const char* name;
        const RestartLabels& labels;
    } pages[] = {{"KVR wizard", kvrWizard}, {"ZOK sheet", zokSheet}, {"ZOK wizard", zokWizard}};
    for (const auto& page : pages) {
        for (int mode = 0; mode < 3; ++mode)
            EXPECT_EQ(page.labels.mode[std::size_t(mode)], kvrSheet.mode[std::size_t(mode)]) << page.name << " mode " << mode;
        EXPECT_EQ(page.labels.flag, kvrSheet.flag) << page.name;
    }
    ASSERT_FALSE(kvrSheet.mode[0].IsEmpty());
    ASSERT_FALSE(kvrSheet.mode[2].IsEmpty());
    ASSERT_FALSE(kvrSheet.flag.IsEmpty());
    EXPECT_NE(Lower(language.Text(IDS_REPORT_AUTOMATIC)).Find(Lower(kvrSheet.mode[0])), -1) << kvrSheet.mode[0].c_str();
    EXPECT_NE(Lower(language.Text(IDS_REPORT_MANUAL)).Find(Lower(kvrSheet.mode[2])), -1) << kvrSheet.mode[2].c_str();
    EXPECT_NE(Lower(language.Text(IDS_REPORT_FLAG_ON)).Find(Lower(kvrSheet.flag)), -1) << kvrSheet.flag.c_str();
}

} // namespace
