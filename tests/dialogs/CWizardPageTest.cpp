// The wizard page base: the side picture on control 2085, and a template without it.
#include "dialogs/CWizardPage.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr UINT IDB_SIDE = 92;
constexpr UINT IDD_WITH_PICTURE = 300;
constexpr UINT IDD_WITHOUT_PICTURE = 301;

const char* const kScript = R"(
92 BITMAP "side.bmp"
300 DIALOG 0, 0, 200, 120
STYLE WS_CHILD | WS_DISABLED | WS_CAPTION
CAPTION "First"
BEGIN
    CONTROL "", 2085, "Button", BS_OWNERDRAW, 7, 7, 20, 20
    EDITTEXT 1000, 90, 7, 100, 12
END
301 DIALOG 0, 0, 200, 120
STYLE WS_CHILD | WS_DISABLED | WS_CAPTION
CAPTION "Second"
BEGIN
    EDITTEXT 1001, 90, 7, 100, 12
END
)";

// A page that notes the sheet it finds itself in.
class SeeingPage : public CWizardPage {
public:
    SeeingPage(UINT nIDTemplate, DWORD buttons) : CWizardPage(nIDTemplate, IDB_SIDE), m_buttons(buttons) {}
    BOOL OnSetActive() override
    {
        seenSheet = GetSheet();
        SetWizardButtons(m_buttons);
        return CWizardPage::OnSetActive();
    }
    CPropertySheet* seenSheet = nullptr;

private:
    DWORD m_buttons;
};

class CWizardPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        const char* source = std::getenv("TALISO_SOURCE_DIR");
        const std::string bitmap = std::string(source ? source : ".") + "/language/bitmaps/portwizard.bmp";
        const auto files = [&](const std::string& name, std::vector<std::uint8_t>& bytes) {
            std::ifstream file(bitmap, std::ios::binary);
            if (name != "side.bmp" || !file) return false;
            bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
            return true;
        };
        std::string error;
        m_module = CreateResourceModule("wizard.rc", kScript, files, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(m_previous);
        if (m_module) FreeLibrary(m_module);
    }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

TEST_F(CWizardPageTest, PictureIsTheBitmapOutOfReachAndAPageWithoutItStillRuns)
{
    ScriptedUi ui;
    SeeingPage first(IDD_WITH_PICTURE, CWizardPage::kButtonsNext);
    SeeingPage second(IDD_WITHOUT_PICTURE, CWizardPage::kButtonsBackFinish);
    CPropertySheet wizard("Wizard");
    wizard.AddPage(&first);
    wizard.AddPage(&second);
    wizard.SetWizardMode();
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_EQ(first.seenSheet, &wizard);
        ASSERT_TRUE(first.GetPicture().GetSafeHwnd());
        EXPECT_TRUE(first.GetPicture().HasBitmap());
        CRect rect;
        first.GetPicture().GetWindowRect(&rect);
        EXPECT_EQ(rect.Size(), CSize(80 + 4, 160 + 4)); // the bitmap and its margins
        EXPECT_FALSE(driver.IsEnabled(CWizardPage::IDC_WIZARD_PICTURE));
        EXPECT_FALSE(driver.Focus(CWizardPage::IDC_WIZARD_PICTURE));
        EXPECT_FALSE(driver.Click(CWizardPage::IDC_WIZARD_PICTURE));
        EXPECT_TRUE(driver.Next());

        EXPECT_EQ(second.seenSheet, &wizard);
        EXPECT_FALSE(second.GetPicture().GetSafeHwnd());
        EXPECT_TRUE(driver.Exists(1001));
        EXPECT_TRUE(driver.Finish());
    });
    EXPECT_EQ(wizard.DoModal(), ID_WIZFINISH);
}

} // namespace
