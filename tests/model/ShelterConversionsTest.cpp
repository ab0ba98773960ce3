#include "model/ShelterConversions.h"

#include "support/LanguageScripts.h"
#include "framework/core/Profile.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/settings/ViewMetricSetting.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <stdexcept>
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

// Type 4: angles 0 to 180, distances 5 to 5000 cm (protective fields up to 400 cm), default 50.
const CSensorType kType(4, 0);

CArcShelter MakeArc(int radius, int kind = kGeneralField)
{
    CArcShelter arc;
    arc.Initialize(kType, WORD(radius), kind);
    return arc;
}

CRectShelter MakeRect(int left, int front, int right, int kind = kGeneralField)
{
    CRectShelter rect;
    rect.Initialize(kType, WORD(left), WORD(front), WORD(right), kind);
    return rect;
}

CPolyShelter MakeContour(int beamCount, int kind = kGeneralField)
{
    CPolyShelter contour;
    contour.InitializeFromRectangle(kType, beamCount, 200, 200, 200, kind);
    return contour;
}

const CPolyShelter& AsContour(const std::unique_ptr<CShelter>& field)
{
    const auto* contour = dynamic_cast<const CPolyShelter*>(field.get());
    if (contour == nullptr) throw std::runtime_error("not a contour");
    return *contour;
}

TEST(ShelterConversionsTest, EachShapeOffersItsCodesAndNothingOutsideZeroToSix)
{
    const CArcShelter arc = MakeArc(300);
    const CArcShelter wideArc = MakeArc(500, kProtectiveField); // beyond the 400 cm protective width
    const CRectShelter rect = MakeRect(100, 200, 150);
    const CPolyShelter contour181 = MakeContour(181);
    const CPolyShelter contour91 = MakeContour(91);
    const CPolyShelter warning361 = MakeContour(361, kWarningField);
    struct Case {
        const char* name;
        const CShelter* field;
        const char* offered; // one character per code -1 to 7
    };
    const Case cases[] = {
        {"arc", &arc, "-YYYY-YY-"},
        {"arc wider than the width limit", &wideArc, "----Y-YY-"},
        {"rectangle", &rect, "-YYY-YYY-"},
        {"contour of 181 beams", &contour181, "-Y-YYYYY-"},
        {"contour of 91 beams", &contour91, "--YYYYYY-"},
        {"warning contour of 361 beams", &warning361, "-YY---YY-"},
    };
    ScriptedUi ui; // a refused code must not open a dialog
    for (const Case& c : cases) {
        for (int code = -1; code <= 7; ++code) {
            const bool offered = c.offered[code + 1] == 'Y';
            EXPECT_EQ(c.field->CanConvertTo(code) != FALSE, offered) << c.name << ", code " << code;
            if (!offered) {
                EXPECT_EQ(c.field->ConvertTo(code), nullptr) << c.name << ", code " << code;
            }
        }
    }
    EXPECT_TRUE(ui.ModalRuns().empty());
}

TEST(ShelterConversionsTest, ArcBecomesAContourOfItsRadius)
{
    const CArcShelter arc = MakeArc(300, kProtectiveField);
    const std::pair<int, int> codes[] = {{kConvertToContour91, 91}, {kConvertToContour181, 181},
                                         {kConvertToContour361, 361}};
    for (const auto& [code, beams] : codes) {
        const auto field = arc.ConvertTo(code);
        const CPolyShelter& contour = AsContour(field);
        ASSERT_EQ(contour.GetBeamCount(), beams);
        EXPECT_EQ(contour.GetMinExtent(), 300);
        EXPECT_EQ(contour.GetMaxExtent(), 300);
        EXPECT_EQ(contour.GetVertexCount(), beams);
        EXPECT_EQ(contour.GetFieldKind(), kProtectiveField);
        EXPECT_TRUE(contour.GetSensorType() == kType);
    }
}

TEST(ShelterConversionsTest, RectangleBecomesAContourThroughItsCorners)
{
    // Corners at 45 and 135 degrees, 283 cm away.
    const CRectShelter rect = MakeRect(200, 200, 200, kWarningField);
    const auto field = rect.ConvertTo(kConvertToContour181);
    const CPolyShelter& contour = AsContour(field);
    ASSERT_EQ(contour.GetBeamCount(), 181);
    EXPECT_EQ(contour.GetFieldKind(), kWarningField);
    EXPECT_TRUE(contour.GetSensorType() == kType);
    EXPECT_EQ(contour.GetVertexCount(), 4);
    for (const int beam : {0, 45, 135, 180}) EXPECT_TRUE(contour.IsVertex(beam)) << beam;
    struct Beam {
        int beam;
        int distance;
    };
    for (const Beam& b : {Beam{0, 200}, Beam{180, 200}, Beam{45, 283}, Beam{135, 283}, Beam{90, 200},
                          Beam{20, 213}, Beam{160, 213}}) { // 200 / cos 20 degrees on the sides
        EXPECT_NEAR(contour.GetBeamDistance(b.beam), b.distance, 1) << "beam " << b.beam;
    }
    EXPECT_EQ(AsContour(rect.ConvertTo(kConvertToContour91)).GetBeamCount(), 91);
    EXPECT_EQ(AsContour(rect.ConvertTo(kConvertToContour361)).GetBeamCount(), 361);
}

TEST(ShelterConversionsTest, RectangleBeyondItsLimitsGivesNoContour)
{
    // Loaded from an old file: the front reaches past the protective range of 400 cm, so a
    // contour could not hold the front corners and would silently lose them.
    const CRectShelter rect = MakeRect(100, 500, 100, kProtectiveField);
    EXPECT_TRUE(rect.CanConvertTo(kConvertToContour181));
    EXPECT_EQ(rect.ConvertTo(kConvertToContour181), nullptr);
}

TEST(ShelterConversionsTest, ContourIsResampledToTheOtherBeamCounts)
{
    CPolyShelter source = MakeContour(181, kProtectiveField);
    source.SetFillColor(0x123456);
    source.SetModified(0);
    struct Case {
        int code;
        int beams;
        int frontBeam;  // the beam straight ahead
        int cornerBeam; // the beam of the right corner at 45 degrees
    };
    for (const Case& c : {Case{kConvertToContour91, 91, 45, -1}, Case{kConvertToContour361, 361, 180, 90}}) {
        const auto field = source.ConvertTo(c.code);
        const CPolyShelter& contour = AsContour(field);
        ASSERT_EQ(contour.GetBeamCount(), c.beams);
        EXPECT_EQ(contour.GetModified(), 1);
        EXPECT_EQ(contour.GetFieldKind(), kProtectiveField);
        EXPECT_EQ(contour.GetFillColor(), 0x123456u);
        EXPECT_NEAR(contour.GetBeamDistance(c.frontBeam), 200, 1);
        EXPECT_EQ(contour.GetBeamDistance(0), 200);
        EXPECT_EQ(contour.GetBeamDistance(c.beams - 1), 200);
        if (c.cornerBeam >= 0) {
            EXPECT_TRUE(contour.IsVertex(c.cornerBeam));
            EXPECT_EQ(contour.GetBeamDistance(c.cornerBeam), 283);
        }
    }
    EXPECT_EQ(source.GetBeamCount(), 181); // the source stays as it was
}

TEST(ShelterConversionsTest, ContourWithoutBeamsGivesNoResampledCopy)
{
    const CPolyShelter empty;
    EXPECT_TRUE(empty.CanConvertTo(kConvertToContour181));
    EXPECT_EQ(empty.ConvertTo(kConvertToContour181), nullptr);
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
