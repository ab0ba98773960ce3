// The program's property sheet: its Help button asks the sheet for context help, which
// opens the topic of the page shown.
#include "dialogs/CCSPropertySheet.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CPropertyPage.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT IDD_FIRST = 301;
constexpr UINT IDD_SECOND = 302;
constexpr UINT IDS_CAPTION = 3001;

const char* const kScript = R"(
STRINGTABLE
BEGIN
    3001 "Options"
END

301 DIALOG 0, 0, 120, 40
STYLE WS_CHILD | WS_DISABLED | WS_CAPTION
CAPTION "View"
FONT 8, "MS Sans Serif"
BEGIN
    LTEXT "First", -1, 7, 7, 60, 8
END

302 DIALOG 0, 0, 120, 40
STYLE WS_CHILD | WS_DISABLED | WS_CAPTION
CAPTION "Scan"
FONT 8, "MS Sans Serif"
BEGIN
    LTEXT "Second", -1, 7, 7, 60, 8
END
)";

class RecordingSheet : public CCSPropertySheet {
public:
    using CCSPropertySheet::CCSPropertySheet;
    std::vector<UINT> topics;

protected:
    void ShowHelpTopic(UINT nContextId) override { topics.push_back(nContextId); }
};

class CCSPropertySheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        std::string error;
        module = CreateResourceModule("sheet-test.rc", kScript, nullptr, error);
        ASSERT_NE(module, nullptr) << error;
        previous = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
    }
    void TearDown() override
    {
        if (!module) return;
        AfxSetResourceHandle(previous);
        FreeLibrary(module);
    }

    HINSTANCE module = nullptr;
    HINSTANCE previous = nullptr;
};

// Help on each page opens that page's topic; an explicit context goes through as it is.
TEST_F(CCSPropertySheetTest, HelpButtonOpensTheTopicOfTheShownPage)
{
    ScriptedUi ui;
    RecordingSheet sheet(IDS_CAPTION);
    CPropertyPage first(IDD_FIRST);
    CPropertyPage second(IDD_SECOND);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_EQ(caption, "Options");
        EXPECT_TRUE(driver.IsVisible(ID_HELP));
        EXPECT_TRUE(driver.Help());
        sheet.SetActivePage(1);
        EXPECT_TRUE(driver.Help());
        EXPECT_EQ(dlg.SendMessage(WM_COMMANDHELP, 0, 4711), TRUE);
        driver.Cancel();
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(sheet.topics, (std::vector<UINT>{IDD_FIRST, IDD_SECOND, 4711}));
}

TEST_F(CCSPropertySheetTest, CaptionTextSheetStartsOnTheGivenPage)
{
    ScriptedUi ui;
    RecordingSheet sheet("Settings", nullptr, 1);
    CPropertyPage first(IDD_FIRST);
    CPropertyPage second(IDD_SECOND);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_EQ(caption, "Settings");
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        driver.Help();
        driver.Ok();
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(sheet.topics, std::vector<UINT>{IDD_SECOND});
}

} // namespace
