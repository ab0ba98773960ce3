// The field wizard driven page by page: the name check, the shape pages with their
// size dialogs, and the two fields built from what was chosen.
#include "WizardLanguage.h"
#include "dialogs/CShelterWizard.h"
#include "dialogs/CShelterWizardPage.h"
#include "framework/core/Resources.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr int IDC_NAME = CShelterNamePage::IDC_NAME;
constexpr int IDC_PROTECTIVE_SHAPE = CShelterShapes::IDC_PROTECTIVE_SHAPE;
constexpr int IDC_WARNING_SHAPE = CShelterShapes::IDC_WARNING_SHAPE;
constexpr int IDC_PROTECTIVE_SIZES = CShelterShapes::IDC_PROTECTIVE_SIZES;
constexpr int IDC_WARNING_SIZES = CShelterShapes::IDC_WARNING_SIZES;
constexpr int IDC_RECT_LEFT = 2061;
constexpr int IDC_RECT_RIGHT = 2063;
constexpr int IDC_RECT_FRONT = 2023;
constexpr int IDC_ARC_RADIUS = 2015;
constexpr int IDC_BEAM_COUNT = 2105;


DWORD Buttons(const DialogDriver& driver)
{
    DWORD flags = 0;
    if (driver.IsEnabled(ID_WIZBACK)) flags |= PSWIZB_BACK;
    if (driver.IsVisible(ID_WIZNEXT) && driver.IsEnabled(ID_WIZNEXT)) flags |= PSWIZB_NEXT;
    if (driver.IsVisible(ID_WIZFINISH) && driver.IsEnabled(ID_WIZFINISH)) flags |= PSWIZB_FINISH;
    return flags;
}

// The contour a warning field of a rectangle must have.
std::vector<WORD> RectangleContour(const CSensorType& type, int beams, int left, int front, int right)
{
    CPolyShelter expected;
    expected.InitializeFromRectangle(type, beams, left, front, right, 2);
    std::vector<WORD> distances;
    for (int i = 0; i < expected.GetBeamCount(); ++i) distances.push_back(expected.GetBeamDistance(i));
    return distances;
}

std::vector<WORD> Distances(const CPolyShelter& field)
{
    std::vector<WORD> distances;
    for (int i = 0; i < field.GetBeamCount(); ++i) distances.push_back(field.GetBeamDistance(i));
    return distances;
}

class CShelterWizardTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }

    // Runs the wizard with the script on page 191 and returns its result.
    INT_PTR Run(CShelterWizard& wizard, const std::function<void(DialogDriver&)>& script)
    {
        ui.QueueModal([&](CWnd& dialog) {
            DialogDriver driver(dialog);
            dialog.GetWindowText(shownTitle);
            script(driver);
        });
        return wizard.DoModal();
    }

    WizardLanguage language{{{448, "The name %1 is already in use."}}};
    ScriptedUi ui;
    CString shownTitle; // the wizard's title on its first page
};

TEST_F(CShelterWizardTest, DefaultsBuildARectangleAndTheContourOfARectangle)
{
    CShelterWizard wizard;
    wizard.m_sensorType = CSensorType(7, 0);
    wizard.m_strName = "Pair 3";
    const INT_PTR result = Run(wizard, [&](DialogDriver& driver) {
        EXPECT_EQ(Buttons(driver), DWORD(PSWIZB_NEXT));
        EXPECT_EQ(driver.Text(IDC_NAME), CString("Pair 3"));
        EXPECT_TRUE(driver.Exists(CWizardPage::IDC_WIZARD_PICTURE));
        EXPECT_FALSE(driver.IsEnabled(CWizardPage::IDC_WIZARD_PICTURE));
        EXPECT_TRUE(driver.Next());
        EXPECT_EQ(Buttons(driver), DWORD(PSWIZB_BACK | PSWIZB_NEXT));
        EXPECT_EQ(driver.Count(IDC_PROTECTIVE_SHAPE), 5);
        EXPECT_EQ(driver.ItemText(IDC_WARNING_SHAPE, 4), CString("Contour field, 361 beams"));
        EXPECT_EQ(driver.Selection(IDC_PROTECTIVE_SHAPE), 0);
        EXPECT_EQ(driver.Selection(IDC_WARNING_SHAPE), 0);
        EXPECT_TRUE(driver.IsEnabled(IDC_PROTECTIVE_SIZES));
        EXPECT_TRUE(driver.IsEnabled(IDC_WARNING_SIZES));
        EXPECT_TRUE(driver.Next());
        EXPECT_EQ(Buttons(driver), DWORD(PSWIZB_BACK | PSWIZB_FINISH));
        EXPECT_EQ(driver.Text(ID_WIZFINISH), CString("OK"));
        EXPECT_TRUE(driver.Finish());
    });
    ASSERT_EQ(result, INT_PTR(ID_WIZFINISH));
    CString caption;
    caption.LoadString(CShelterWizard::IDS_CAPTION);
    EXPECT_EQ(shownTitle, caption);
    EXPECT_EQ(wizard.m_strName, CString("Pair 3"));
    EXPECT_EQ(wizard.GetPageCount(), 0);

    const std::unique_ptr<CShelter> protective = wizard.CreateProtectiveField();
    const auto* rect = dynamic_cast<const CRectShelter*>(protective.get());
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->GetFieldKind(), 1);
    EXPECT_EQ(rect->GetSensorType(), CSensorType(7, 0));
    EXPECT_EQ(rect->GetLeft(), 50);
    EXPECT_EQ(rect->GetFront(), 50);
    EXPECT_EQ(rect->GetRight(), 50);

    const std::unique_ptr<CPolyShelter> warning = wizard.CreateWarningField();
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->GetFieldKind(), 2);
    EXPECT_EQ(warning->GetSensorType(), CSensorType(7, 0));
    EXPECT_EQ(Distances(*warning), RectangleContour(CSensorType(7, 0), 181, 50, 50, 50));
}

TEST_F(CShelterWizardTest, NameInUseKeepsThePageAndTheCheckIsCaseSensitive)
{
    CShelterWizard wizard;
    wizard.m_usedNames.Add("Front");
    wizard.m_usedNames.Add("Side");
    const INT_PTR result = Run(wizard, [&](DialogDriver& driver) {
        EXPECT_TRUE(driver.Type(IDC_NAME, "Side"));
        driver.Next();
        EXPECT_TRUE(driver.Exists(IDC_NAME)); // still on the name page
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].helpId, 448u);
        CString expected;
        AfxFormatString1(expected, 448, "Side");
        EXPECT_EQ(ui.MessageBoxes()[0].text, expected);
        // The edit takes no more than 8 characters.
        EXPECT_TRUE(driver.SetText(IDC_NAME, ""));
        EXPECT_TRUE(driver.Type(IDC_NAME, "front123456"));
        EXPECT_EQ(driver.Text(IDC_NAME), CString("front123"));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Exists(IDC_PROTECTIVE_SHAPE));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Finish());
    });
    EXPECT_EQ(result, INT_PTR(ID_WIZFINISH));
    EXPECT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(wizard.m_strName, CString("front123"));
}

TEST_F(CShelterWizardTest, ShapesEnableTheirSizeButtonsAndBuildTheirFields)
{
    struct Case {
        int shape;
        bool sizes;
        const char* protectiveClass;
        int contourBeams; // protective contour beams, 0 when not a contour
        int warningBeams;
    };
    const Case cases[] = {
        {0, true, "CRectShelter", 0, 181}, {1, true, "CArcShelter", 0, 181}, {2, false, "CPolyShelter", 91, 91},
        {3, false, "CPolyShelter", 181, 181}, {4, false, "CPolyShelter", 361, 361},
    };
    const CSensorType type(4, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shape);
        CShelterWizard wizard;
        const INT_PTR result = Run(wizard, [&](DialogDriver& driver) {
            EXPECT_TRUE(driver.Next());
            EXPECT_TRUE(driver.Select(IDC_PROTECTIVE_SHAPE, c.shape));
            EXPECT_EQ(driver.IsEnabled(IDC_PROTECTIVE_SIZES), c.sizes);
            EXPECT_TRUE(driver.IsEnabled(IDC_WARNING_SIZES));
            EXPECT_TRUE(driver.Select(IDC_WARNING_SHAPE, c.shape));
            EXPECT_EQ(driver.IsEnabled(IDC_WARNING_SIZES), c.sizes);
            // Back and forth keeps the choice.
            EXPECT_TRUE(driver.Back());
            EXPECT_TRUE(driver.Next());
            EXPECT_EQ(driver.Selection(IDC_WARNING_SHAPE), c.shape);
            EXPECT_EQ(driver.IsEnabled(IDC_PROTECTIVE_SIZES), c.sizes);
            EXPECT_TRUE(driver.Next());
            EXPECT_TRUE(driver.Finish());
        });
        ASSERT_EQ(result, INT_PTR(ID_WIZFINISH));
        const std::unique_ptr<CShelter> protective = wizard.CreateProtectiveField();
        ASSERT_NE(protective, nullptr);
        EXPECT_STREQ(protective->GetRuntimeClass()->m_lpszClassName, c.protectiveClass);
        EXPECT_EQ(protective->GetFieldKind(), 1);
        if (c.contourBeams) {
            const auto& contour = dynamic_cast<const CPolyShelter&>(*protective);
            EXPECT_EQ(Distances(contour), RectangleContour(type, c.contourBeams, 50, 50, 50));
        }
        const std::unique_ptr<CPolyShelter> warning = wizard.CreateWarningField();
        ASSERT_NE(warning, nullptr);
        EXPECT_EQ(warning->GetBeamCount(), c.warningBeams);
        EXPECT_EQ(warning->GetFieldKind(), 2);
    }
}

TEST_F(CShelterWizardTest, SizeDialogsStoreOnlyOnOkAndTheWarningBeamCountOnlyServesRectanglesAndArcs)
{
    CShelterWizard wizard;
    const CSensorType type(4, 0);
    ui.QueueModal([&](CWnd& dialog) {
        DialogDriver driver(dialog);
        EXPECT_TRUE(driver.Next());
        // Protective rectangle: the dialog without beam count, within the protective limits.
        EXPECT_TRUE(driver.Click(IDC_PROTECTIVE_SIZES));
        // Protective rectangle again, cancelled: nothing stored.
        EXPECT_TRUE(driver.Click(IDC_PROTECTIVE_SIZES));
        // Warning arc with 361 beams.
        EXPECT_TRUE(driver.Select(IDC_WARNING_SHAPE, 1));
        EXPECT_TRUE(driver.Click(IDC_WARNING_SIZES));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Finish());
    });
    ui.QueueModal([&](CWnd& dialog) {
        DialogDriver driver(dialog);
        EXPECT_FALSE(driver.IsVisible(IDC_BEAM_COUNT));
        EXPECT_EQ(driver.Text(IDC_RECT_LEFT), CString("50.00 cm"));
        // Beyond the protective range of the type: refused by the dialog.
        driver.SetText(IDC_RECT_FRONT, "5000");
        driver.Click(IDOK);
        EXPECT_EQ(ui.MessageBoxes().size(), 1u);
        driver.SetText(IDC_RECT_LEFT, "120");
        driver.SetText(IDC_RECT_FRONT, "200");
        driver.SetText(IDC_RECT_RIGHT, "80");
        driver.Click(IDOK);
    });
    ui.QueueModal([&](CWnd& dialog) {
        DialogDriver driver(dialog);
        EXPECT_EQ(driver.Text(IDC_RECT_LEFT), CString("120.00 cm"));
        driver.SetText(IDC_RECT_LEFT, "30");
        driver.Cancel();
    });
    ui.QueueModal([&](CWnd& dialog) {
        DialogDriver driver(dialog);
        EXPECT_TRUE(driver.IsVisible(IDC_BEAM_COUNT));
        EXPECT_EQ(driver.Selection(IDC_BEAM_COUNT), 1);
        driver.SetText(IDC_ARC_RADIUS, "300");
        driver.Select(IDC_BEAM_COUNT, 2);
        driver.Click(IDOK);
    });
    ASSERT_EQ(wizard.DoModal(), INT_PTR(ID_WIZFINISH));
    EXPECT_EQ(ui.PendingModals(), 0u);

    const std::unique_ptr<CShelter> protective = wizard.CreateProtectiveField();
    const auto* rect = dynamic_cast<const CRectShelter*>(protective.get());
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->GetLeft(), 120);
    EXPECT_EQ(rect->GetFront(), 200);
    EXPECT_EQ(rect->GetRight(), 80);
    const std::unique_ptr<CPolyShelter> warning = wizard.CreateWarningField();
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(Distances(*warning), std::vector<WORD>(361, 300));

    // The count chosen for the arc does not reach the fixed contours.
    wizard.m_shapes.m_nWarningShape = 3;
    EXPECT_EQ(wizard.CreateWarningField()->GetBeamCount(), 181);
    wizard.m_shapes.m_nWarningShape = 0;
    EXPECT_EQ(Distances(*wizard.CreateWarningField()), RectangleContour(type, 361, 50, 50, 50));
    wizard.m_shapes.m_nProtectiveShape = 5;
    wizard.m_shapes.m_nWarningShape = -1;
    EXPECT_EQ(wizard.CreateProtectiveField(), nullptr);
    EXPECT_EQ(wizard.CreateWarningField(), nullptr);
}

TEST_F(CShelterWizardTest, RunForNewPairHandsOverNameAndBothFieldsOnlyOnFinish)
{
    for (const bool finish : {true, false}) {
        SCOPED_TRACE(finish ? "finish" : "cancel");
        ui.QueueModal([&](CWnd& dialog) {
            DialogDriver driver(dialog);
            EXPECT_EQ(driver.Text(IDC_NAME), CString("Pair 2"));
            EXPECT_TRUE(driver.SetText(IDC_NAME, "Pair 1")); // in use
            driver.Next();
            EXPECT_TRUE(driver.SetText(IDC_NAME, "Gate"));
            EXPECT_TRUE(driver.Next());
            EXPECT_TRUE(driver.Select(IDC_PROTECTIVE_SHAPE, 4));
            EXPECT_TRUE(driver.Next());
            if (finish) EXPECT_TRUE(driver.Finish());
            else EXPECT_TRUE(driver.Cancel());
        });
        CString name = "unchanged";
        std::unique_ptr<CShelter> protective = std::make_unique<CArcShelter>();
        std::unique_ptr<CShelter> warning;
        const BOOL done = CShelterWizard::RunForNewPair(nullptr, CSensorType(50, 0), {"Pair 1"}, "Pair 2", name,
                                                        protective, warning);
        EXPECT_EQ(done, finish ? TRUE : FALSE);
        if (!finish) {
            EXPECT_EQ(name, CString("unchanged"));
            EXPECT_EQ(protective, nullptr);
            EXPECT_EQ(warning, nullptr);
            continue;
        }
        EXPECT_EQ(name, CString("Gate"));
        ASSERT_NE(protective, nullptr);
        ASSERT_NE(warning, nullptr);
        EXPECT_EQ(protective->GetSensorType(), CSensorType(50, 0));
        EXPECT_EQ(dynamic_cast<const CPolyShelter&>(*protective).GetBeamCount(), 361);
        EXPECT_EQ(warning->GetFieldKind(), 2);
    }
}

TEST_F(CShelterWizardTest, CancelEndsWithoutFinishAndKeepsTheProposedName)
{
    CShelterWizard wizard;
    wizard.m_strName = "Pair 1";
    const INT_PTR result = Run(wizard, [&](DialogDriver& driver) {
        EXPECT_TRUE(driver.SetText(IDC_NAME, "Other"));
        EXPECT_TRUE(driver.Cancel());
    });
    EXPECT_EQ(result, INT_PTR(IDCANCEL));
    EXPECT_EQ(wizard.m_strName, CString("Pair 1"));
}

// Each field's size dialogs keep to that field's limits of the type (type 4: protective
// 5..400 cm, warning 5..5000 cm, the warning width bounded by the warning maximum) and
// only the warning field offers and keeps a beam count.
TEST_F(CShelterWizardTest, EditSizesUsesTheLimitsAndBeamCountOfTheFieldKind)
{
    struct Case {
        const char* name;
        int kind;
        int shape;
        int edit;
        const char* refused;
        const char* accepted;
        int CShelterShapes::*stored;
        int expected;
    };
    constexpr int kProtective = CShelterShapes::kProtectiveKind;
    constexpr int kWarning = CShelterShapes::kWarningKind;
    const Case cases[] = {
        {"protective rectangle", kProtective, 0, IDC_RECT_FRONT, "450", "250", &CShelterShapes::m_nProtectiveFront, 250},
        {"protective arc", kProtective, 1, IDC_ARC_RADIUS, "450", "120", &CShelterShapes::m_nProtectiveRadius, 120},
        {"warning rectangle", kWarning, 0, IDC_RECT_LEFT, "3", "450", &CShelterShapes::m_nWarningLeft, 450},
        {"warning arc", kWarning, 1, IDC_ARC_RADIUS, "3", "450", &CShelterShapes::m_nWarningRadius, 450},
    };
    const CSensorType type(4, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.ClearMessageBoxes();
        CShelterShapes shapes;
        (c.kind == kProtective ? shapes.m_nProtectiveShape : shapes.m_nWarningShape) = c.shape;
        const bool warning = c.kind == kWarning;
        ui.QueueModal([&](CWnd& dialog) {
            DialogDriver driver(dialog);
            EXPECT_EQ(driver.IsVisible(IDC_BEAM_COUNT), warning);
            EXPECT_EQ(driver.Text(c.edit), CString("50.00 cm"));
            driver.SetText(c.edit, c.refused);
            driver.Click(IDOK);
            EXPECT_EQ(ui.MessageBoxes().size(), 1u);
            driver.SetText(c.edit, c.accepted);
            if (warning) driver.Select(IDC_BEAM_COUNT, 2);
            driver.Click(IDOK);
        });
        EXPECT_TRUE(shapes.EditSizes(c.kind, nullptr, type));
        EXPECT_EQ(ui.PendingModals(), 0u);
        EXPECT_EQ(shapes.*c.stored, c.expected);
        EXPECT_EQ(shapes.m_nProtectiveBeamCount, 181);
        EXPECT_EQ(shapes.m_nWarningBeamCount, warning ? 361 : 181);
    }
}

} // namespace
