#include "support/LanguageScripts.h"
#include "tests/model/ShelterSamples.h"
#include "framework/core/Profile.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/CPropertyPage.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/shapedialogs/CArcShelterPage.h"
#include "model/shapedialogs/CPolyShelterPage.h"
#include "model/shapedialogs/CRectShelterPage.h"
#include "model/settings/ViewMetricSetting.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr UINT IDD_RECT_SHAPE = 151;
constexpr UINT IDD_ARC_SHAPE = 152;
constexpr int IDC_RADIUS = 2015;
constexpr int IDC_FRONT = 2023;
constexpr int IDC_LEFT = 2061;
constexpr int IDC_RIGHT = 2063;
constexpr int IDC_BEAM_COUNT = 2105;

// Linking the shape dialogs installs their editor: each shape opens its own dialog
// and page.
TEST(ShelterEditingTest, EachShapeOpensItsOwnDialogAndPage)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    LanguageScripts language{"framework.rc", "model2.rc", "shapes.rc", "polygon.rc"};
    ASSERT_TRUE(language.Loaded()) << language.Error();

    CArcShelter arc = MakeArc(300);
    CRectShelter rect = MakeRect(100, 200, 150);
    CPolyShelter contour = MakeContour(181);
    struct Case {
        CShelter* field;
        UINT dialogTemplate;
        bool cancelCounts; // Cancel still reports a change
        const CRuntimeClass* pageClass;
        UINT pageTemplate;
    };
    const Case cases[] = {
        {&arc, 150, false, RUNTIME_CLASS(CArcShelterPage), 158},
        {&rect, 149, false, RUNTIME_CLASS(CRectShelterPage), 157},
        {&contour, 148, true, RUNTIME_CLASS(CPolyShelterPage), 156},
    };
    for (const Case& c : cases) {
        const char* name = c.field->GetRuntimeClass()->m_lpszClassName;
        ScriptedUi ui;
        ui.QueueModal([](CWnd& dialog) { DialogDriver(dialog).Cancel(); });
        EXPECT_EQ(c.field->Edit(nullptr, 0, FALSE, nullptr) != FALSE, c.cancelCounts) << name;
        ASSERT_EQ(ui.ModalRuns().size(), 1u) << name;
        EXPECT_EQ(ui.ModalRuns().front().templateId, c.dialogTemplate) << name;

        const std::unique_ptr<CPropertyPage> page = c.field->CreatePropertyPage(1, FALSE, 0);
        ASSERT_NE(page, nullptr) << name;
        EXPECT_TRUE(page->IsKindOf(c.pageClass)) << name;
        EXPECT_EQ(page->GetTemplateId(), c.pageTemplate) << name;
    }
}

// The size dialogs of the conversions, driven as a user would against the shipped
// templates, with the ViewMetric setting read from an INI file of the application.
class ShelterDialogConversionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(m_language.Loaded()) << m_language.Error();
        char path[] = "/tmp/conversions-ini-XXXXXX";
        const int fd = mkstemp(path);
        ASSERT_GE(fd, 0);
        close(fd);
        m_ini = path;
        m_app.SetProfileName(m_ini.c_str());
    }
    void TearDown() override { std::remove(m_ini.c_str()); }

    void SetViewMetric(const char* value)
    {
        ASSERT_TRUE(WritePrivateProfileString("Settings", "ViewMetric", value, m_ini.c_str()));
    }

    struct Run {
        std::unique_ptr<CShelter> result;
        UINT templateId = 0;
        CString shown;        // the first length as the dialog opened
        bool beamComboShown = false;
        int shownBeamItem = -2;
        UINT messageId = 0;   // the first refusal
        CString message;
    };

    // Types the entries, picks the beam item (-1 leaves it) and presses OK, or Cancel;
    // OK that the dialog refuses is followed by Cancel.
    static Run Convert(const CShelter& field, int code, const std::vector<std::pair<int, const char*>>& entries,
                       int beamItem, bool cancel = false)
    {
        Run run;
        ScriptedUi ui;
        ui.QueueModal([&](CWnd& wnd) {
            DialogDriver driver(wnd);
            run.shown = driver.Text(driver.Exists(IDC_RADIUS) ? IDC_RADIUS : IDC_FRONT);
            run.beamComboShown = driver.IsVisible(IDC_BEAM_COUNT);
            run.shownBeamItem = driver.Selection(IDC_BEAM_COUNT);
            for (const auto& [id, text] : entries) driver.SetText(id, text);
            if (beamItem >= 0) driver.Select(IDC_BEAM_COUNT, beamItem);
            if (cancel) {
                driver.Cancel();
                return;
            }
            driver.Click(IDOK);
            if (!static_cast<CDialog&>(wnd).IsEnded()) driver.Cancel();
        });
        run.result = field.ConvertTo(code);
        if (!ui.ModalRuns().empty()) run.templateId = ui.ModalRuns().front().templateId;
        if (!ui.MessageBoxes().empty()) {
            run.messageId = ui.MessageBoxes().front().id ? ui.MessageBoxes().front().id
                                                        : ui.MessageBoxes().front().helpId;
            run.message = ui.MessageBoxes().front().text;
        }
        return run;
    }

    CWinApp m_app{"Taliso"};
    std::string m_ini;

private:
    LanguageScripts m_language{"framework.rc", "model2.rc", "shapes.rc"};
};

TEST_F(ShelterDialogConversionTest, ViewMetricIsReadFromTheApplicationsIniFile)
{
    EXPECT_EQ(ReadViewMetric(), 1); // no key yet
    SetViewMetric("0");
    EXPECT_EQ(ReadViewMetric(), 0);
    EXPECT_TRUE(IsInchDisplay());
    m_app.SetProfileName("");
    EXPECT_EQ(ReadViewMetric(), 1);
}

TEST_F(ShelterDialogConversionTest, RectangleAndArcEnteredInTheDialogs)
{
    const CArcShelter arc = MakeArc(300, kProtectiveField);
    const CRectShelter rect = MakeRect(100, 200, 150, kProtectiveField);
    const CPolyShelter contour = MakeContour(181, kProtectiveField);
    for (const CShelter* source : std::initializer_list<const CShelter*>{&arc, &contour}) {
        const Run run = Convert(*source, kConvertToRectangle,
                                {{IDC_LEFT, "120"}, {IDC_FRONT, "250 cm"}, {IDC_RIGHT, "80"}}, -1);
        EXPECT_EQ(run.templateId, IDD_RECT_SHAPE);
        EXPECT_STREQ(run.shown, "50.00 cm");
        EXPECT_FALSE(run.beamComboShown);
        const auto* result = dynamic_cast<const CRectShelter*>(run.result.get());
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->GetLeft(), 120);
        EXPECT_EQ(result->GetFront(), 250);
        EXPECT_EQ(result->GetRight(), 80);
        EXPECT_EQ(result->GetFieldKind(), kProtectiveField);
        EXPECT_TRUE(result->GetSensorType() == kType);
    }
    for (const CShelter* source : std::initializer_list<const CShelter*>{&rect, &contour}) {
        const Run run = Convert(*source, kConvertToArc, {{IDC_RADIUS, "333"}}, -1);
        EXPECT_EQ(run.templateId, IDD_ARC_SHAPE);
        EXPECT_STREQ(run.shown, "50.00 cm");
        EXPECT_FALSE(run.beamComboShown);
        const auto* result = dynamic_cast<const CArcShelter*>(run.result.get());
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->GetRadius(), 333);
        EXPECT_EQ(result->GetFieldKind(), kProtectiveField);
        EXPECT_TRUE(result->GetSensorType() == kType);
    }
}

TEST_F(ShelterDialogConversionTest, ContoursOfAnEnteredShapeWithTheChosenBeamCount)
{
    const CArcShelter arc = MakeArc(300, kWarningField);
    const CRectShelter rect = MakeRect(100, 200, 150, kWarningField);
    const CPolyShelter contour = MakeContour(181, kWarningField);
    for (const CShelter* source : std::initializer_list<const CShelter*>{&arc, &rect, &contour}) {
        const Run byRect = Convert(*source, kConvertToRectangleContour,
                                   {{IDC_LEFT, "200"}, {IDC_FRONT, "200"}, {IDC_RIGHT, "200"}}, 2);
        EXPECT_EQ(byRect.templateId, IDD_RECT_SHAPE);
        EXPECT_TRUE(byRect.beamComboShown);
        EXPECT_EQ(byRect.shownBeamItem, 1); // 181 beams unless the user picks another count
        const CPolyShelter& rectContour = AsContour(byRect.result);
        ASSERT_EQ(rectContour.GetBeamCount(), 361);
        EXPECT_EQ(rectContour.GetBeamDistance(0), 200);
        EXPECT_EQ(rectContour.GetBeamDistance(90), 283);
        EXPECT_NEAR(rectContour.GetBeamDistance(180), 200, 1);
        EXPECT_EQ(rectContour.GetFieldKind(), kWarningField);

        const Run byArc = Convert(*source, kConvertToArcContour, {{IDC_RADIUS, "120"}}, 0);
        EXPECT_EQ(byArc.templateId, IDD_ARC_SHAPE);
        EXPECT_TRUE(byArc.beamComboShown);
        const CPolyShelter& arcContour = AsContour(byArc.result);
        ASSERT_EQ(arcContour.GetBeamCount(), 91);
        EXPECT_EQ(arcContour.GetMinExtent(), 120);
        EXPECT_EQ(arcContour.GetMaxExtent(), 120);
        EXPECT_EQ(arcContour.GetFieldKind(), kWarningField);
        EXPECT_TRUE(arcContour.GetSensorType() == kType);
    }
}

TEST_F(ShelterDialogConversionTest, InchesWhenViewMetricIsZero)
{
    SetViewMetric("0");
    const CArcShelter arc = MakeArc(300);
    const Run rectRun = Convert(arc, kConvertToRectangle, {{IDC_LEFT, "10"}, {IDC_FRONT, "100 in"}, {IDC_RIGHT, "20"}},
                                -1);
    EXPECT_STREQ(rectRun.shown, "19.69 in"); // 50 cm
    const auto* rect = dynamic_cast<const CRectShelter*>(rectRun.result.get());
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->GetLeft(), 25);   // 25.4 cm
    EXPECT_EQ(rect->GetFront(), 254);
    EXPECT_EQ(rect->GetRight(), 51);  // 50.8 cm

    const Run arcRun = Convert(arc, kConvertToArcContour, {{IDC_RADIUS, "39.37"}}, -1);
    EXPECT_STREQ(arcRun.shown, "19.69 in");
    const CPolyShelter& contour = AsContour(arcRun.result);
    EXPECT_EQ(contour.GetBeamCount(), 181);
    EXPECT_EQ(contour.GetMaxExtent(), 100); // 99.9998 cm
}

TEST_F(ShelterDialogConversionTest, LimitsOfTheFieldKindAreChecked)
{
    // A protective field of this type reaches 400 cm at most.
    const CRectShelter rect = MakeRect(100, 200, 150, kProtectiveField);
    const Run refused = Convert(rect, kConvertToArc, {{IDC_RADIUS, "450"}}, -1);
    EXPECT_EQ(refused.result, nullptr);
    EXPECT_EQ(refused.messageId, 61715u);
    EXPECT_STREQ(refused.message, "Please enter a number between 5.00 cm and 400.00 cm.");

    const Run corner = Convert(MakeArc(300, kProtectiveField), kConvertToRectangleContour,
                               {{IDC_LEFT, "300"}, {IDC_FRONT, "300"}, {IDC_RIGHT, "100"}}, -1);
    EXPECT_EQ(corner.result, nullptr); // the left far corner lies 424 cm away
    EXPECT_NE(corner.messageId, 0u);
}

TEST_F(ShelterDialogConversionTest, CancelGivesNoField)
{
    const CArcShelter arc = MakeArc(300);
    const CRectShelter rect = MakeRect(100, 200, 150);
    const CPolyShelter contour = MakeContour(181);
    const std::pair<const CShelter*, int> cases[] = {
        {&arc, kConvertToRectangle},        {&arc, kConvertToRectangleContour},  {&arc, kConvertToArcContour},
        {&rect, kConvertToArc},             {&rect, kConvertToRectangleContour}, {&rect, kConvertToArcContour},
        {&contour, kConvertToRectangle},    {&contour, kConvertToArc},           {&contour, kConvertToArcContour},
        {&contour, kConvertToRectangleContour},
    };
    for (const auto& [source, code] : cases) {
        const Run run = Convert(*source, code, {{IDC_RADIUS, "100"}, {IDC_FRONT, "100"}}, 0, true);
        EXPECT_NE(run.templateId, 0u) << code;
        EXPECT_EQ(run.result, nullptr) << code;
    }
}

} // namespace
