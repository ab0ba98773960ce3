// The program's sheets and wizards on the keyboard alone, with real key events: every
// page of each sheet is reached with the page keys and with the tab strip, and Return
// walks each wizard from its first page to Finish.
#include "KVRConfigSample.h"
#include "ShippedLanguage.h"
#include "dialogs/CKVRConfigSheet.h"
#include "dialogs/CKVRConfigWizard.h"
#include "dialogs/CKVRControlWizard.h"
#include "dialogs/CShelterWizard.h"
#include "dialogs/CTalisoSetupDialog.h"
#include "dialogs/CZOKConfigSheet.h"
#include "dialogs/CZOKConfigWizard.h"
#include "framework/ui/CPropertySheet.h"
#include "framework/ui/CPropertySheetTabs.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/TypedKeys.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

using typedkeys::TypeKey;

class SheetAndWizardKeysTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }

    ShippedLanguage language;
    ScriptedUi ui;
};

// The pages a key shows when typed once per page, starting on the first page.
std::vector<int> PagesShownBy(CPropertySheet& sheet, int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    std::vector<int> shown;
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        TypeKey(key, modifiers);
        shown.push_back(sheet.GetActiveIndex());
    }
    return shown;
}

std::vector<int> Turning(int count, int step)
{
    std::vector<int> pages;
    for (int i = 1; i <= count; ++i) pages.push_back(((step * i) % count + count) % count);
    return pages;
}

TEST_F(SheetAndWizardKeysTest, EveryPageOfEachSheetIsReachedByTheKeyboard)
{
    struct SheetRun {
        const char* name;
        int pages;
        std::function<void()> run;
    };
    const auto kvrConfig = CompleteKVRConfig();
    const CZOKConfig zokConfig;
    const SheetRun sheets[] = {
        {"options", 2, [] { CTalisoSetupDialog().Edit(kSetupViewPage | kSetupScanPage); }},
        {"ZOK configuration", 6, [&] { CZOKConfigSheet().Edit(&zokConfig); }},
        {"KVR configuration", 8, [&] { CKVRConfigSheet().Edit(kvrConfig.get()); }},
    };
    for (const SheetRun& run : sheets) {
        SCOPED_TRACE(run.name);
        ui.QueueModal([&](CWnd& wnd) {
            auto& sheet = static_cast<CPropertySheet&>(wnd);
            ASSERT_EQ(sheet.GetPageCount(), run.pages);
            EXPECT_EQ(PagesShownBy(sheet, Qt::Key_Tab), Turning(run.pages, 1));
            EXPECT_EQ(PagesShownBy(sheet, Qt::Key_PageDown), Turning(run.pages, 1));
            EXPECT_EQ(PagesShownBy(sheet, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier), Turning(run.pages, -1));
            EXPECT_EQ(PagesShownBy(sheet, Qt::Key_PageUp), Turning(run.pages, -1));

            // Back on the first page, Shift+Tab goes from its first control to the strip.
            auto* strip = AfxWidgetFromHandle(wnd.GetSafeHwnd())->findChild<CPropertySheetTabs*>();
            ASSERT_NE(strip, nullptr);
            TypeKey(Qt::Key_Tab, Qt::ShiftModifier);
            ASSERT_EQ(QApplication::focusWidget(), strip);
            std::vector<int> shown;
            for (int i = 1; i < run.pages; ++i) {
                TypeKey(Qt::Key_Right);
                shown.push_back(sheet.GetActiveIndex());
            }
            std::vector<int> expected = Turning(run.pages, 1);
            expected.pop_back();
            EXPECT_EQ(shown, expected);
            EXPECT_TRUE(ui.MessageBoxes().empty());
            TypeKey(Qt::Key_Escape);
            EXPECT_FALSE(wnd.IsWindowVisible());
        });
        run.run();
        EXPECT_EQ(ui.PendingModals(), 0u);
    }
}

// Return walks each wizard through its pages and presses Finish on the last: a page
// without a tab stop hands the focus to the default button, never to Back.
TEST_F(SheetAndWizardKeysTest, ReturnWalksEveryWizardToItsFinish)
{
    struct WizardRun {
        const char* name;
        std::function<bool()> run; // true when the wizard finished
    };
    const auto kvrConfig = CompleteKVRConfig();
    const WizardRun wizards[] = {
        {"field pair",
         [] {
             CShelterWizard wizard;
             wizard.m_sensorType = CSensorType(7, 0);
             wizard.m_strName = "Pair 3";
             return wizard.DoModal() == ID_WIZFINISH;
         }},
        {"monitoring case", [&] { return RunEditKVRControlWizard(nullptr, *kvrConfig, 0) != nullptr; }},
        {"KVR configuration", [&] { return CEditKVRConfigWizard().Run(*kvrConfig) != nullptr; }},
        {"ZOK configuration", [] { return CNewZOKConfigWizard().Run() != nullptr; }},
    };
    for (const WizardRun& run : wizards) {
        SCOPED_TRACE(run.name);
        ui.QueueModal([&](CWnd& wizard) {
            DialogDriver driver(wizard);
            bool lastPage = false;
            for (int page = 0; page < 16 && wizard.IsWindowVisible(); ++page) {
                EXPECT_NE(driver.FocusId(), int(ID_WIZBACK)) << "page " << page;
                lastPage = driver.IsVisible(ID_WIZFINISH);
                if (lastPage) EXPECT_EQ(driver.FocusId(), int(ID_WIZFINISH));
                TypeKey(Qt::Key_Return);
            }
            EXPECT_TRUE(lastPage) << "the last Return was not on the last page";
            EXPECT_FALSE(wizard.IsWindowVisible());
        });
        EXPECT_TRUE(run.run());
        EXPECT_TRUE(ui.MessageBoxes().empty());
    }
}

} // namespace
