// The device views: what each document mode draws and the status-pane texts, the KVR
// view's scanner panes, the confirmation from the preview, and golden pictures of the
// grids, of overlapping fields, of a scan over a field and of the four KVR panes.
#include "app/CCommonView.h"
#include "app/CKVRDoc.h"
#include "app/CKVRView.h"
#include "app/CZOKView.h"

#include "ViewTestSupport.h"
#include "device/ProcedureTestSupport.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CArcShelter.h"
#include "support/LanguageScripts.h"

#include <gtest/gtest.h>

namespace {

using namespace viewtest;

// The cases a KVR unit evaluates, as the test sets them.
struct KVRCases {
    CEvaluatedCase cases[2];
    BOOL present[2] = {FALSE, FALSE};
};

KVRCases& EvaluatedCases()
{
    static KVRCases cases;
    return cases;
}

class CasesKVRView : public CKVRView {
    DECLARE_DYNCREATE(CasesKVRView)
public:
    BOOL GetEvaluatedCase(int output, CEvaluatedCase& evaluated) override
    {
        if (output < 1 || output > 2 || !EvaluatedCases().present[output - 1]) return FALSE;
        evaluated = EvaluatedCases().cases[output - 1];
        return TRUE;
    }
};
IMPLEMENT_DYNCREATE(CasesKVRView, CKVRView)

// A view that shows the cursors it took from the language library.
class CursorView : public CCommonView {
public:
    HCURSOR OnContour() const { return m_hcurOnContour; }
    HCURSOR OnVertex() const { return m_hcurOnVertex; }
    HCURSOR OnVertexModifier() const { return m_hcurOnVertexModifier; }
};

class ConfirmDoc : public ViewDoc {
public:
    int ConfirmTransfer(int accepted) override
    {
        confirmations.push_back(accepted);
        return 1;
    }
    std::vector<int> confirmations;
};

class CCommonViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(language.Loaded()) << language.Error();
        EvaluatedCases() = KVRCases();
    }
    void TearDown() override { EvaluatedCases() = KVRCases(); }

    void SetMode(int mode)
    {
        doc.SetMode(mode);
        ASSERT_EQ(doc.GetMode(), mode);
    }

    SettingsScope settings;
    LanguageScripts language{"views.rc", "polygon.rc", "model2.rc"};
    ScriptedUi ui;
    ConfirmDoc doc;
};

TEST_F(CCommonViewTest, GoldenRectangularAndPolarGridsWithLabels)
{
    ViewWindow<CCommonView> window(doc, 320, 200);
    window.view->SetRange(300);
    window.view->SetViewOrigin(0, 50);
    ExpectMatchesGolden(RenderClient(*window.view), "view-rect-grid");
    GetTalisoSetup().m_bViewRectGrid = FALSE;
    ExpectMatchesGolden(RenderClient(*window.view), "view-polar-grid");
}

TEST_F(CCommonViewTest, OverlappingFieldsMergeTheirColoursAndHandlesCoverThem)
{
    doc.second = Rectangle(120, 200, 120);
    doc.current = Contour(150, 91, kProtectiveField);
    SetMode(kModeEdit);
    GetTalisoSetup().m_bViewGrid = FALSE;
    GetTalisoSetup().m_bViewLabels = FALSE;
    ViewWindow<CCommonView> window(doc, 320, 200);
    window.view->SetRange(300);
    const QImage picture = RenderClient(*window.view);
    auto colourAt = [&](int x, int y) {
        const CPoint p = window.view->LogicalToClient(CPoint(x, y));
        return picture.pixel(p.x, p.y) & 0xFFFFFF;
    };
    EXPECT_EQ(colourAt(40, 60), 0xFF00FFu) << "both fields: red merged with blue";
    EXPECT_EQ(colourAt(100, 180), 0xFF0000u) << "only the rectangle";
    EXPECT_EQ(colourAt(-140, 20), 0x0000FFu) << "only the contour";
    EXPECT_EQ(colourAt(250, 100), 0x000000u) << "outside both: the black background";

    GetTalisoSetup().m_bViewGrid = TRUE;
    GetTalisoSetup().m_bViewLabels = TRUE;
    ExpectMatchesGolden(RenderClient(*window.view), "view-overlapping-fields");
}

TEST_F(CCommonViewTest, GoldenScanOverAField)
{
    doc.current = Rectangle(120, 180, 120);
    SetMode(kModeEdit);
    doc.SetResult(WavyScan(250).get());
    ViewWindow<CCommonView> window(doc, 320, 200);
    window.view->SetRange(350);
    ExpectMatchesGolden(RenderClient(*window.view), "view-scan-over-field");
}

TEST_F(CCommonViewTest, KVRPanesShowTheEvaluatedCaseOfTheirScanner)
{
    auto protective = Rectangle(80, 120, 80);
    auto warning = Contour(220, 181, kWarningField);
    auto scan = WavyScan(260);
    auto otherProtective = Rectangle(150, 60, 40);
    KVRCases& cases = EvaluatedCases();
    // Output 1 evaluates on scanner index 2 (the lower-left pane), output 2 on scanner 1.
    cases.present[0] = TRUE;
    cases.cases[0] = {3, "CASE1", "ZOK1", "FELD1", protective.get(), warning.get(), scan.get()};
    cases.present[1] = TRUE;
    cases.cases[1] = {1, "CASE2", "ZOK2", "FELD2", otherProtective.get(), nullptr, nullptr};
    SetMode(kModeSimulation);
    SplitterWindow<CasesKVRView> panes(doc, RUNTIME_CLASS(CasesKVRView), 160, 110);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            EXPECT_EQ(panes.Pane(row, col)->GetScannerNumber(), row * 2 + col + 1);

    QImage picture(2 * 160, 2 * 110, QImage::Format_RGB32);
    picture.fill(Qt::darkGray);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col) {
            CasesKVRView* view = panes.Pane(row, col);
            view->SetRange(300);
            const QImage pane = RenderClient(*view).copy(0, 0, 160, 110);
            for (int y = 0; y < pane.height(); ++y)
                for (int x = 0; x < pane.width(); ++x)
                    picture.setPixel(col * 160 + x, row * 110 + y, pane.pixel(x, y));
        }
    }
    ExpectMatchesGolden(picture, "view-kvr-four-panes");

    // Scanner 3's pane has both fields of output 1 merged; scanner 4's has nothing.
    CasesKVRView* lowerLeft = panes.Pane(1, 0);
    const COLORREF merged = GetTalisoSetup().GetFieldColor(kProtectiveField) | GetTalisoSetup().GetFieldColor(kWarningField);
    const CPoint inside = lowerLeft->LogicalToClient(CPoint(0, 60));
    EXPECT_EQ(RenderClient(*lowerLeft).pixel(inside.x, inside.y) & 0xFFFFFF,
              QRgb(GetRValue(merged) << 16 | GetGValue(merged) << 8 | GetBValue(merged)));
    const CPoint inFour = panes.Pane(1, 1)->LogicalToClient(CPoint(0, 60));
    EXPECT_EQ(RenderClient(*panes.Pane(1, 1)).pixel(inFour.x, inFour.y) & 0xFFFFFF, 0u);

    // The panes' captions name their scanner in modes 2 and 5 only.
    CString caption;
    lowerLeft->GetDlgItem(0xFFFF)->GetWindowText(caption);
    EXPECT_EQ(caption, CString("Scanner 3 - distances in cm"));
    EXPECT_EQ(lowerLeft->GetCaseText(), CString("Output 1: CASE1, ZOK1, FELD1   Output 2: CASE2, ZOK2, FELD2"));
    cases.cases[1].caseName.Empty();
    EXPECT_EQ(lowerLeft->GetCaseText(), CString("Output 1: CASE1, ZOK1, FELD1   Output 2: -"));
    doc.SetMode(kModeSimulation); // stops the simulation
    ASSERT_EQ(doc.GetMode(), kModeNone);
    RenderClient(*lowerLeft);
    lowerLeft->GetDlgItem(0xFFFF)->GetWindowText(caption);
    EXPECT_EQ(caption, CString("Distances in cm"));
}

class StackKVRDoc : public CKVRDoc {
public:
    StackKVRDoc() { m_bAutoDelete = FALSE; }
};

TEST_F(CCommonViewTest, KVRViewShowsTheCaseTheDocumentsSimulationSelects)
{
    // Three scanners; the one case watches the third with the only field pair.
    auto config = std::make_unique<CKVRConfig>();
    for (const char* name : {"ZOK1", "ZOK2", "ZOK3"})
        config->AddSensorConfig(name, std::make_unique<CKVRSensorConfig>());
    auto pair = std::make_unique<CKVRShelterConfig>();
    pair->SetShelter(kProtectiveField, std::unique_ptr<CShelter>(Rectangle(80, 120, 80)));
    pair->SetShelter(kWarningField, std::unique_ptr<CShelter>(Contour(220, 181, kWarningField)));
    config->AddShelterConfig("FELD1", std::move(pair));
    auto control = std::make_unique<CKVRControlConfig>();
    control->SetSensorIndex(2);
    control->SetShelterIndex(0);
    config->AddControlConfig("CASE1", std::move(control));
    StackKVRDoc kvr;
    kvr.SetConfiguration(std::move(config), FALSE);
    kvr.SetMode(kModeSimulation);
    ASSERT_EQ(kvr.GetMode(), kModeSimulation);
    kvr.EvaluateSimulation(kInputLow, kInputLow, kInputLow, kInputLow, 0);
    ASSERT_EQ(kvr.GetCaseScannerNumber(1), 3);

    SplitterWindow<CKVRView> panes(kvr, RUNTIME_CLASS(CKVRView), 160, 110);
    CKVRView* third = panes.Pane(1, 0);
    CKVRView* fourth = panes.Pane(1, 1);
    EXPECT_EQ(third->GetCaseText(), CString("Output 1: CASE1, ZOK3, FELD1   Output 2: -"));
    const COLORREF merged = GetTalisoSetup().GetFieldColor(kProtectiveField) | GetTalisoSetup().GetFieldColor(kWarningField);
    const QRgb fields = QRgb(GetRValue(merged) << 16 | GetGValue(merged) << 8 | GetBValue(merged));
    for (CKVRView* view : {third, fourth}) {
        view->SetRange(300);
        const CPoint inside = view->LogicalToClient(CPoint(0, 60));
        EXPECT_EQ(RenderClient(*view).pixel(inside.x, inside.y) & 0xFFFFFF, view == third ? fields : 0u);
    }
    kvr.SetMode(kModeSimulation);
}

TEST_F(CCommonViewTest, KVRViewWithoutAContourDrawsWhatTheCommonViewDraws)
{
    doc.current = Rectangle(100, 150, 100);
    doc.second = Contour(250);
    ViewWindow<CCommonView> common(doc, 240, 160);
    ViewWindow<CKVRView> kvr(doc, 240, 160);
    ViewWindow<CZOKView> zok(doc, 240, 160);
    for (CTalisoView* view : {static_cast<CTalisoView*>(common.view), static_cast<CTalisoView*>(kvr.view),
                              static_cast<CTalisoView*>(zok.view)})
        view->SetRange(300);
    const QImage base = RenderClient(*common.view);
    EXPECT_EQ(RenderClient(*kvr.view), base);
    EXPECT_EQ(RenderClient(*zok.view), base);
}

TEST_F(CCommonViewTest, ModePanesNameTheModeAndTellWhatItShows)
{
    ViewWindow<CCommonView> window(doc, 200, 120);
    CCommonView& view = *window.view;
    EXPECT_TRUE(view.GetModeName().IsEmpty()) << "mode 0 shows no name";
    EXPECT_TRUE(view.GetModeText().IsEmpty());
    const char* names[] = {"Edit", "Monitor", "Teach-in", "Verify", "Simulation", "Replay"};
    for (int mode = kModeEdit; mode <= kModeReplay; ++mode) {
        SetMode(mode);
        EXPECT_EQ(view.GetModeName(), CString(names[mode - 1]));
    }

    SetMode(kModeEdit);
    auto arc = std::make_unique<CArcShelter>();
    arc->Initialize(ScannerType(), 200, kProtectiveField);
    struct Shape {
        std::unique_ptr<CShelter> field;
        const char* text;
    };
    Shape shapes[] = {{Contour(300, 91), "Contour: 91 points, 91 beams"},
                      {Rectangle(100, 100, 100), "Rectangle"},
                      {std::move(arc), "Arc"},
                      {nullptr, ""}};
    for (Shape& shape : shapes) {
        doc.current = std::move(shape.field);
        EXPECT_EQ(view.GetModeText(), CString(shape.text));
    }

    SetMode(kModeMonitor);
    struct ScanCase {
        int evalCase;
        const char* text;
    } scans[] = {{0, "Field A: 0, field B: 0, beyond: 0 beams"}, {1, "Reflector: 0 beams"},
                 {2, "Field A: 0, field B: 0, field C: 0 beams"}, {4, "Field A: 0 beams, field B: 0 beams"},
                 {6, "Field A: 0 beams"}};
    for (const ScanCase& s : scans) {
        auto scan = std::make_unique<CScan>();
        scan->SetScanFill(ScannerType(), CBeamWord(300), 361, s.evalCase);
        scan->SetEvalCase(s.evalCase);
        doc.SetResult(scan.get());
        EXPECT_EQ(view.GetModeText(), CString(s.text)) << s.evalCase;
    }
    doc.SetResult(nullptr);
    EXPECT_TRUE(view.GetModeText().IsEmpty());
}

TEST_F(CCommonViewTest, EditModeOffersTheFieldMenuAndTheLanguageLibraryGivesTheCursors)
{
    EnglishTexts english;
    ASSERT_TRUE(english.Loaded());
    ViewWindow<CursorView> window(doc, 200, 120);
    CursorView& view = *window.view;
    const HCURSOR standard[] = {::LoadCursor(nullptr, IDC_CROSS), ::LoadCursor(nullptr, IDC_SIZEALL),
                                ::LoadCursor(nullptr, IDC_HAND)};
    for (HCURSOR cursor : {view.OnContour(), view.OnVertex(), view.OnVertexModifier()}) {
        EXPECT_NE(cursor, nullptr);
        EXPECT_EQ(std::find(std::begin(standard), std::end(standard), cursor), std::end(standard));
    }

    EXPECT_EQ(view.GetContextMenu(), nullptr) << "no menu outside edit mode";
    SetMode(kModeEdit);
    std::unique_ptr<CMenu> menu = view.GetContextMenu();
    ASSERT_NE(menu, nullptr);
    CMenu* popup = menu->GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetMenuItemID(0), ID_EDIT_UNDO);
    SetMode(kModeReplay);
    EXPECT_EQ(view.GetContextMenu(), nullptr);
}

TEST_F(CCommonViewTest, ThePreviewConfirmsOrRejectsTheTransferOnce)
{
    ViewWindow<CCommonView> window(doc, 200, 120);
    struct Post {
        WPARAM button;
        std::vector<int> confirmations;
    } posts[] = {{kConfirmCloseButton, {0}}, {kConfirmPrintButton, {1}}, {12345, {}}};
    for (const Post& post : posts) {
        doc.confirmations.clear();
        EXPECT_EQ(window.view->SendMessage(WM_CONFIRM_PREVIEW_DONE, post.button, 0), 1);
        EXPECT_EQ(doc.confirmations, post.confirmations) << post.button;
    }
}

} // namespace
