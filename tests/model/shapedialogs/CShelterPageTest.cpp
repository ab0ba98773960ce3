#include "model/shapedialogs/CShelterPage.h"

#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CPropertySheet.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT IDD_FIELD_PAGE = 400;

// A shape page's template with the three texts of the base level.
constexpr const char* kScript = R"(
400 DIALOG 0, 0, 180, 80
STYLE WS_CHILD | WS_DISABLED | WS_CAPTION
CAPTION "Field"
FONT 8, "MS Sans Serif"
BEGIN
    LTEXT           "", 2131, 7, 7, 60, 10
    LTEXT           "", 2132, 7, 20, 60, 10
    LTEXT           "", 2133, 7, 33, 60, 10
END
)";

TEST(CShelterPageTest, ShowsTheUnitSpanAndStepOfTheDeviceType)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    std::string error;
    HINSTANCE module = CreateResourceModule("page.rc", kScript, nullptr, error);
    ASSERT_NE(module, nullptr) << error;
    HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(module);

    ScriptedUi ui;
    CShelterPage page(IDD_FIELD_PAGE, 0, CSensorType(50, 0), nullptr, FALSE);
    CPropertySheet sheet("Properties");
    sheet.AddPage(&page);
    CString unit, span, step;
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        unit = driver.Text(2133);
        span = driver.Text(2131);
        step = driver.Text(2132);
        driver.Ok();
    });
    sheet.DoModal();
    EXPECT_STREQ(unit, "cm");
    EXPECT_STREQ(span, "180\u00B0");
    EXPECT_STREQ(step, "0.50\u00B0");

    AfxSetResourceHandle(previous);
    FreeLibrary(module);
}

} // namespace
