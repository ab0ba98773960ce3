// The sheets, wizards and tables as a user sees them, rendered offscreen page by page
// into ScreenshotFolder's folder for people to look at. Each shown state is measured as
// well: every control inside its window, every text whole, no control on another. And
// every wizard shows its own side picture.
#include "KVRConfigSample.h"
#include "ShippedLanguage.h"
#include "tests/dialogs/ControlLayout.h"

#include "tests/framework/ui/ScreenshotFolder.h"

#include "app/settings/CTalisoSetup.h"
#include "dialogs/CKVRConfigSheet.h"
#include "dialogs/CKVRConfigWizard.h"
#include "dialogs/CKVRControlTableDialog.h"
#include "dialogs/CMonitorDialog.h"
#include "dialogs/CShelterSelectDialog.h"
#include "dialogs/CTalisoSetupDialog.h"
#include "dialogs/CZOKConfigSheet.h"
#include "dialogs/CZOKConfigWizard.h"
#include "framework/core/Resources.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CKVRConfig.h"
#include "model/CZOKConfig.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace {

constexpr int IDC_SIDE_PICTURE = 2085;

// Every page of the KVR wizard shows, the speed page too.
std::unique_ptr<CKVRConfig> KVRConfigWithSpeed()
{
    auto config = CompleteKVRConfig();
    config->SetUsedFlags(BYTE(config->GetUsedFlags() | 0x10));
    return config;
}

class DialogScreenshotsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }

    // Saves the window as it is shown now and fails on every layout fault in it.
    void Shoot(CWnd& wnd, const std::string& fileName)
    {
        DialogDriver::Pump();
        shots.Save(AfxWidgetFromHandle(wnd.GetSafeHwnd())->grab().toImage(), fileName);
        for (const std::string& problem : controllayout::WindowLayoutProblems(wnd.GetSafeHwnd()))
            ADD_FAILURE() << fileName << ": " << problem;
    }

    // Shows each page of a tabbed sheet in turn, saving it.
    void ShootSheet(CWnd& wnd, const std::string& name)
    {
        auto& sheet = static_cast<CPropertySheet&>(wnd);
        for (int page = 0; page < sheet.GetPageCount(); ++page) {
            ASSERT_TRUE(sheet.SetActivePage(page)) << name << " page " << page;
            Shoot(sheet, name + "-page-" + std::to_string(page) + ".png");
        }
        DialogDriver(wnd).Cancel();
    }

    // Walks a wizard forward with Next as far as it goes, saving each page.
    int ShootWizard(CWnd& wnd, const std::string& name)
    {
        DialogDriver driver(wnd);
        int pages = 0;
        do {
            Shoot(wnd, name + "-page-" + std::to_string(pages++) + ".png");
        } while (pages < 12 && driver.Next());
        driver.Cancel();
        return pages;
    }

    ShippedLanguage language;
    ScriptedUi ui;
    ScreenshotFolder shots{"dialog-screens"};
};

TEST_F(DialogScreenshotsTest, SheetsShowEveryPage)
{
    ui.QueueModal([&](CWnd& wnd) { ShootSheet(wnd, "kvr-sheet"); });
    const auto kvr = KVRConfigWithSpeed();
    CKVRConfigSheet().Edit(kvr.get());

    ui.QueueModal([&](CWnd& wnd) { ShootSheet(wnd, "zok-sheet"); });
    const CZOKConfig zok;
    CZOKConfigSheet().Edit(&zok);

    ui.QueueModal([&](CWnd& wnd) { ShootSheet(wnd, "options-sheet"); });
    GetTalisoSetup() = CTalisoSetup();
    CTalisoSetupDialog().Edit(3);
}

TEST_F(DialogScreenshotsTest, WizardsPageByPage)
{
    ui.QueueModal([&](CWnd& wnd) { EXPECT_EQ(ShootWizard(wnd, "kvr-wizard"), 9); });
    CEditKVRConfigWizard().Run(*KVRConfigWithSpeed());

    ui.QueueModal([&](CWnd& wnd) { EXPECT_GE(ShootWizard(wnd, "zok-wizard"), 6); });
    const CZOKConfig zok;
    CEditZOKConfigWizard().Run(zok);
}

class ShotMonitorDialog : public CMonitorDialog {
public:
    BOOL StartMonitor() override { return TRUE; }
    void StopMonitor() override {}
    BOOL QueryMonitor(CMonitorReading& reading) override
    {
        if (readings.empty()) return FALSE;
        reading = readings.front();
        readings.pop_front();
        return TRUE;
    }
    std::deque<CMonitorReading> readings;
};

TEST_F(DialogScreenshotsTest, MonitorWithReadings)
{
    ShotMonitorDialog dialog;
    for (int i = 0; i < 12; ++i) {
        CMonitorReading reading;
        reading.inputA = i % 2;
        reading.inputD = 1;
        reading.outputA = 1;
        reading.speed1 = 120 + i;
        reading.speed2 = -100 - 7 * i;
        reading.case1 = std::uint32_t(i % 4);
        reading.case2 = 11;
        reading.time = CTime(2024, 11, 30, 9, 5, i);
        dialog.readings.push_back(reading);
    }
    ui.QueueModal([&](CWnd& wnd) {
        DialogDriver driver(wnd);
        driver.Click(IDOK);
        for (int i = 0; i < 12; ++i) wnd.SendMessage(WM_TIMER, 1);
        Shoot(wnd, "monitor.png");
        driver.Click(IDOK);
        driver.Click(IDCANCEL);
    });
    dialog.DoModal();
}

TEST_F(DialogScreenshotsTest, FieldSelectionTableWithAScrollBar)
{
    CShelterSelectDialog dialog;
    for (int i = 1; i <= 30; ++i) {
        auto* item = new CShelterSelectItem;
        item->m_nNumber = i;
        item->m_strName.Format("Field %d", i);
        item->m_bProtective = i % 2;
        dialog.m_items.AddTail(item);
    }
    ui.QueueModal([&](CWnd& wnd) {
        Shoot(wnd, "field-selection.png");
        DialogDriver(wnd).Cancel();
    });
    dialog.DoModal();
}

TEST_F(DialogScreenshotsTest, CaseTablesWithAndWithoutSpeed)
{
    for (const bool speed : {false, true}) {
        const auto config = speed ? KVRConfigWithSpeed() : CompleteKVRConfig();
        CKVRControlTableDialog dialog(config.get());
        ui.QueueModal([&](CWnd& wnd) {
            Shoot(wnd, speed ? "case-table-speed.png" : "case-table.png");
            DialogDriver(wnd).Cancel();
        });
        dialog.DoModal();
    }
}

// The measuring itself: a cut text, a control on another and one past the edge are
// seen; a hidden control is not.
TEST_F(DialogScreenshotsTest, LayoutCheckSeesCutTextsControlsOnEachOtherAndPastTheEdge)
{
    CShelterSelectDialog dialog;
    ui.QueueModal([](CWnd& wnd) {
        const auto problems = [&wnd] {
            std::string all;
            for (const std::string& problem : controllayout::WindowLayoutProblems(wnd.GetSafeHwnd())) all += problem + "\n";
            return all;
        };
        CWnd* ok = wnd.GetDlgItem(IDOK);
        CWnd* cancel = wnd.GetDlgItem(IDCANCEL);
        ASSERT_TRUE(ok && cancel);
        CRect okRect;
        ok->GetWindowRect(&okRect);
        wnd.ScreenToClient(&okRect);
        CRect cancelRect;
        cancel->GetWindowRect(&cancelRect);
        wnd.ScreenToClient(&cancelRect);
        CRect client;
        wnd.GetClientRect(&client);
        EXPECT_EQ(problems(), "");

        ok->MoveWindow(okRect.left, okRect.top, 6, okRect.Height());
        EXPECT_NE(problems().find("control 1 \"OK\": needs"), std::string::npos) << problems();
        ok->MoveWindow(&okRect);

        cancel->MoveWindow(okRect.left + 3, okRect.top + 3, okRect.Width(), okRect.Height());
        EXPECT_NE(problems().find("control 1 \"OK\" and control 2"), std::string::npos) << problems();
        cancel->ShowWindow(SW_HIDE);
        EXPECT_EQ(problems(), "");
        cancel->ShowWindow(SW_SHOW);

        cancel->MoveWindow(client.right - 4, cancelRect.top, cancelRect.Width(), cancelRect.Height());
        EXPECT_NE(problems().find("control 2 \""), std::string::npos) << problems();
        EXPECT_NE(problems().find("reaches past its window's edge"), std::string::npos) << problems();
        cancel->MoveWindow(&cancelRect);
        EXPECT_EQ(problems(), "");
        DialogDriver(wnd).Cancel();
    });
    dialog.DoModal();
}

// Each wizard has a side picture of its own: field, KVR configuration, serial port, ZOK.
TEST_F(DialogScreenshotsTest, EveryWizardHasItsOwnSidePicture)
{
    const UINT pictures[] = {86, 89, 92, 94};
    for (std::size_t i = 0; i < std::size(pictures); ++i) {
        const std::vector<std::uint8_t>* picture = FindBitmapResource(AfxGetResourceHandle(), pictures[i]);
        ASSERT_NE(picture, nullptr) << pictures[i];
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(*picture, *FindBitmapResource(AfxGetResourceHandle(), pictures[j])) << pictures[i] << " and " << pictures[j];
    }
}

} // namespace
