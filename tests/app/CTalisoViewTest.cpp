// The view base: zoom and the range it may take, scrolling with its divisor, the keys,
// the grid and its labels, the angle-range marks, and the mouse editing of the current
// field checked against the field, the undo store and the document's modified flag.
#include "app/CTalisoView.h"

#include "ViewTestSupport.h"
#include "framework/ui/CPaintDC.h"
#include "framework/ui/ScriptedUi.h"
#include "support/LanguageScripts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace {

using namespace viewtest;

// The view with its range limits open to the test.
class OpenView : public CTalisoView {
public:
    void SetLimits(int minRange, int maxRange, int step)
    {
        m_nMinRange = minRange;
        m_nMaxRange = maxRange;
        m_nZoomStep = step;
    }
    void PutRange(int range) { m_nRange = range; }
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override
    {
        hints.push_back(lHint);
        CTalisoView::OnUpdate(pSender, lHint, pHint);
    }
    std::vector<LPARAM> hints;
};

class CTalisoViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(language.Loaded()) << language.Error();
        window = std::make_unique<ViewWindow<OpenView>>(doc, 400, 300);
        view = window->view;
        ASSERT_NE(view->m_hWnd, nullptr);
    }
    void TearDown() override { window.reset(); }

    CSize Client() const
    {
        CRect rect;
        view->GetClientRect(&rect);
        return rect.Size();
    }

    // The device point of a logical point of the plane.
    CPoint At(int x, int y) { return view->LogicalToClient(CPoint(x, y)); }

    SettingsScope settings;
    LanguageScripts language{"views.rc", "polygon.rc", "model2.rc"};
    ScriptedUi ui;
    ViewDoc doc;
    std::unique_ptr<ViewWindow<OpenView>> window;
    OpenView* view = nullptr;
};

TEST_F(CTalisoViewTest, ZoomStepsByTheZoomStepAndBeepsAtTheEnd)
{
    // MaxViewSize 5000 in cm: minimum 10, maximum 5000, step 100.
    EXPECT_EQ(view->GetMinRange(), 10);
    EXPECT_EQ(view->GetMaxRange(), 5000);
    EXPECT_EQ(view->GetZoomStep(), 100);
    EXPECT_GE(view->GetRange(), 10);
    EXPECT_LE(view->GetRange(), 5000);

    struct Step {
        int startRange;
        UINT command;
        int expectedRange;
        BOOL changed; // FALSE: nothing changed, the view beeped
    } steps[] = {
        {200, ID_VIEW_ZOOM_IN, 100, TRUE},
        {100, ID_VIEW_ZOOM_IN, 100, FALSE}, // never below the zoom step, though the minimum is 10
        {4900, ID_VIEW_ZOOM_OUT, 5000, TRUE},
        {5000, ID_VIEW_ZOOM_OUT, 5000, FALSE},
        {400, ID_VIEW_ZOOM_OUT, 500, TRUE},
    };
    for (const Step& step : steps) {
        view->PutRange(step.startRange);
        const int target = step.command == ID_VIEW_ZOOM_IN ? step.startRange - view->GetZoomStep()
                                                            : step.startRange + view->GetZoomStep();
        EXPECT_EQ(view->SetRange(std::clamp(target, view->GetMinRange(), view->GetMaxRange())), step.changed)
            << step.startRange;
        EXPECT_EQ(view->GetRange(), step.expectedRange) << step.startRange;
        // The command does the same.
        view->PutRange(step.startRange);
        view->OnCmdMsg(step.command, CN_COMMAND, nullptr, nullptr);
        EXPECT_EQ(view->GetRange(), step.expectedRange) << step.startRange;
    }
}

TEST_F(CTalisoViewTest, ARangeTooSmallForTheGridGrowsInZoomStepsUntilItFits)
{
    const int halfWidth = Client().cx / 2;
    const int bottom = Client().cy - 1;
    struct Case {
        int maxRange;
        int range;
    } cases[] = {{5000, 10}, {15000, 100}, {5000, 1000}};
    for (const Case& c : cases) {
        view->SetLimits(10, c.maxRange, 100);
        view->SetupScrollBars(FALSE);
        const int grown = view->ComputeMapping(c.range);
        auto fits = [&](int range) {
            const double x = double(c.maxRange) * (halfWidth / double(range)) + halfWidth;
            const double y = double(c.maxRange) * (bottom / double(range)) + bottom;
            return x <= 32767 && y <= 32767;
        };
        EXPECT_TRUE(fits(grown)) << c.range;
        EXPECT_EQ((grown - c.range) % 100, 0) << c.range;
        if (grown != c.range) {
            EXPECT_FALSE(fits(grown - 100)) << c.range;
        }
        // Preparing a DC keeps the grown range.
        view->PutRange(c.range);
        CClientDC dc(view);
        view->OnPrepareDC(&dc);
        EXPECT_EQ(view->GetRange(), grown);
    }
}

TEST_F(CTalisoViewTest, ScrollBarsCountInStepsOfTheDivisorForLargeRanges)
{
    struct Case {
        int maxRange;
        int divisor;
        int vertical;
        int horizontal;
    } cases[] = {{5000, 1, 5000, 10000}, {16383, 1, 16383, 32766}, {20000, 2, 10000, 20000}, {40000, 4, 10000, 20000}};
    for (const Case& c : cases) {
        view->SetLimits(100, c.maxRange, 100);
        view->SetupScrollBars(FALSE);
        int lo = -1;
        int hi = -1;
        EXPECT_EQ(view->GetScrollDivisor(), c.divisor) << c.maxRange;
        view->GetScrollRange(SB_VERT, &lo, &hi);
        EXPECT_EQ(lo, 0);
        EXPECT_EQ(hi, c.vertical) << c.maxRange;
        view->GetScrollRange(SB_HORZ, &lo, &hi);
        EXPECT_EQ(hi, c.horizontal) << c.maxRange;
        // The origin at the scanner: the horizontal thumb in the middle, the vertical at the bottom.
        EXPECT_EQ(view->GetViewOrigin(), CPoint(0, 0)) << c.maxRange;
        EXPECT_EQ(view->GetScrollPos(SB_HORZ), c.horizontal / 2);
        EXPECT_EQ(view->GetScrollPos(SB_VERT), c.vertical);
        view->SetViewOrigin(300, 500);
        EXPECT_EQ(view->GetViewOrigin(), CPoint(300, 500)) << c.maxRange;
    }
}

TEST_F(CTalisoViewTest, ThumbTrackingMovesTheViewAndTheEndOfTrackingDoesNot)
{
    struct Step {
        UINT bar; // WM_HSCROLL or WM_VSCROLL
        UINT code;
        UINT pos;
        CPoint origin; // afterwards, from the origin (0, 0)
    } steps[] = {
        {WM_HSCROLL, SB_THUMBPOSITION, 3000, {0, 0}},
        {WM_HSCROLL, SB_ENDSCROLL, 0, {0, 0}},
        {WM_HSCROLL, SB_THUMBTRACK, 6000, {1000, 0}},
        {WM_HSCROLL, SB_LINERIGHT, 0, {10, 0}},
        {WM_HSCROLL, SB_PAGELEFT, 0, {-100, 0}},
        {WM_HSCROLL, SB_LEFT, 0, {-5000, 0}},
        {WM_HSCROLL, SB_RIGHT, 0, {5000, 0}},
        {WM_VSCROLL, SB_LINEUP, 0, {0, 10}}, // position 0 is the top: up moves ahead
        {WM_VSCROLL, SB_LINEDOWN, 0, {0, 0}}, // the scanner is as far back as it goes
        {WM_VSCROLL, SB_PAGEUP, 0, {0, 100}},
        {WM_VSCROLL, SB_THUMBTRACK, 1000, {0, 4000}},
        {WM_VSCROLL, SB_TOP, 0, {0, 5000}},
    };
    for (const Step& step : steps) {
        view->SetViewOrigin(0, 0);
        view->SendMessage(step.bar, WPARAM(step.code | (step.pos << 16)), 0);
        EXPECT_EQ(view->GetViewOrigin(), step.origin) << step.bar << " code " << step.code;
    }
    // A field transfer brings the view back to the scanner.
    view->SetViewOrigin(700, 800);
    view->OnUpdate(nullptr, kHintBackToScanner, nullptr);
    EXPECT_EQ(view->GetViewOrigin(), CPoint(0, 0));
}

TEST_F(CTalisoViewTest, KeysScrollAndHoldTheAxisLockWhileXOrYIsDown)
{
    struct Key {
        UINT key;
        BOOL control;
        CPoint origin;
    } keys[] = {
        {VK_RIGHT, FALSE, {10, 0}}, {VK_RIGHT, TRUE, {100, 0}}, {VK_LEFT, FALSE, {-10, 0}},
        {VK_UP, FALSE, {0, 10}},    {VK_UP, TRUE, {0, 100}},    {VK_PRIOR, FALSE, {0, 100}},
        {VK_NEXT, TRUE, {100, 0}},  {VK_PRIOR, TRUE, {-100, 0}},
    };
    for (const Key& k : keys) {
        view->SetViewOrigin(0, 0);
        AfxSetScriptedKeyState(VK_CONTROL, k.control ? 0x8000 : 0);
        view->OnKeyDown(k.key, 1, 0);
        EXPECT_EQ(view->GetViewOrigin(), k.origin) << k.key << " ctrl " << k.control;
    }
    AfxClearScriptedKeyStates();

    CString none;
    none.LoadString(IDS_AXIS_LOCK_NONE);
    CString lockX;
    lockX.LoadString(IDS_AXIS_LOCK_X);
    CString lockY;
    lockY.LoadString(IDS_AXIS_LOCK_Y);
    EXPECT_EQ(view->GetAxisLockPaneText(), none);
    view->OnKeyDown('X', 1, 0);
    EXPECT_EQ(view->GetAxisLock(), 'X');
    EXPECT_EQ(view->GetAxisLockPaneText(), lockX);
    view->OnKeyDown('Y', 1, 0);
    EXPECT_EQ(view->GetAxisLockPaneText(), lockY);
    // Releasing any key ends the lock.
    view->OnKeyUp(VK_SHIFT, 1, 0);
    EXPECT_EQ(view->GetAxisLock(), 0);
    EXPECT_EQ(view->GetAxisLockPaneText(), none);
}

TEST_F(CTalisoViewTest, AngleRangeMarksAreTheTwoEdgesOfTheScannedSector)
{
    struct Case {
        int span;
        BOOL drawn;
        int rise; // y of both ends at x = +-10000
    } cases[] = {{180, FALSE, 0}, {190, FALSE, 0}, {170, TRUE, 875}, {90, TRUE, 10000}, {0, FALSE, 0}};
    for (const Case& c : cases) {
        POINT edges[3] = {};
        const BOOL drawn = CTalisoView::GetAngleRangeEdges(c.span, 10000, edges);
        EXPECT_EQ(drawn, c.drawn) << c.span;
        if (!drawn) continue;
        EXPECT_EQ(edges[0].x, 10000);
        EXPECT_EQ(edges[0].y, c.rise) << c.span;
        EXPECT_EQ(edges[1].x, 0);
        EXPECT_EQ(edges[1].y, 0);
        EXPECT_EQ(edges[2].x, -10000);
        EXPECT_EQ(edges[2].y, c.rise) << c.span;
    }
    // Every scanner type of the table scans 180 degrees: a field of it draws no marks.
    doc.current = Rectangle(100, 200, 100);
    GetTalisoSetup().m_bViewAngle = TRUE;
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(Client().cx, Client().cy));
    view->OnPrepareDC(&dc);
    dc.ClearRecording();
    view->DrawAngleRange(&dc);
    for (const CString& call : dc.GetRecording())
        ADD_FAILURE() << call.c_str();
}

// The label texts drawn at the given logical position, in drawing order.
std::vector<std::string> LabelsAt(const std::vector<CString>& calls, int x, int y)
{
    std::vector<std::string> labels;
    char wanted[64];
    std::snprintf(wanted, sizeof(wanted), "TextOut L[%d,%d]", x, y);
    for (const CString& call : calls) {
        if (std::strncmp(call.c_str(), wanted, std::strlen(wanted)) != 0) continue;
        const char* open = std::strchr(call.c_str(), '"');
        const char* close = open != nullptr ? std::strrchr(open + 1, '"') : nullptr;
        if (close != nullptr) labels.emplace_back(open + 1, close);
    }
    return labels;
}

TEST_F(CTalisoViewTest, LabelsNameTheGridLinesInCentimetresOrRoundedInches)
{
    view->PutRange(400);
    struct Case {
        BOOL metric;
        int value;
        const char* column; // the label up the middle
        const char* row;    // the label across the middle
    } cases[] = {
        {TRUE, 100, "100", "+100"},  {TRUE, 300, "300", "+300"},  {FALSE, 100, "39", "+39"},
        {FALSE, 200, "79", "+79"},   {FALSE, 300, "118", "+118"}, {FALSE, -300, nullptr, "-118"},
        {TRUE, -100, nullptr, "-100"},
    };
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(Client().cx, Client().cy));
    for (const Case& c : cases) {
        GetTalisoSetup().m_bViewMetric = c.metric;
        view->OnPrepareDC(&dc);
        CRect visible(CPoint(0, 0), Client());
        dc.DPtoLP(&visible);
        visible.NormalizeRect();
        dc.ClearRecording();
        dc.EnableRecording(TRUE);
        view->DrawGridLabels(&dc);
        dc.EnableRecording(FALSE);
        const std::vector<CString> calls = dc.GetRecording();
        if (c.column != nullptr) {
            EXPECT_EQ(LabelsAt(calls, visible.CenterPoint().x, c.value), std::vector<std::string>{c.column})
                << c.value << " metric " << c.metric;
        }
        EXPECT_EQ(LabelsAt(calls, c.value, visible.CenterPoint().y), std::vector<std::string>{c.row})
            << c.value << " metric " << c.metric;
    }
}

// The label runs across the middle of the picture: the spans of columns that hold label
// pixels in the band above the middle row, one span per label, left to right.
std::vector<std::pair<int, int>> LabelSpansAcross(const QImage& image)
{
    std::vector<std::pair<int, int>> spans;
    const int middle = image.height() / 2;
    for (int x = 0; x < image.width(); ++x) {
        bool lit = false;
        for (int y = std::max(0, middle - 24); y <= middle + 1 && !lit; ++y)
            lit = qGray(image.pixel(x, y)) > 96;
        if (!lit)
            continue;
        if (!spans.empty() && x - spans.back().second <= 3)
            spans.back().second = x;
        else
            spans.emplace_back(x, x);
    }
    return spans;
}

TEST_F(CTalisoViewTest, LabelsAcrossStayWholeAtTheSidesOfTheView)
{
    CTalisoSetup& setup = GetTalisoSetup();
    setup.m_bViewGrid = FALSE;
    setup.m_crLabel = RGB(255, 255, 255);
    // The view shows -400 to +400 across: the outer labels sit on its edges.
    view->PutRange(400);
    const QImage image = RenderClient(*view);
    const std::vector<std::pair<int, int>> spans = LabelSpansAcross(image);
    ASSERT_GE(spans.size(), 4u);
    auto width = [](const std::pair<int, int>& span) { return span.second - span.first + 1; };
    // "-400" is as wide as "-300" next to it, and "+400" as "+300": none is cut.
    EXPECT_NEAR(width(spans.front()), width(spans[1]), 1);
    EXPECT_NEAR(width(spans.back()), width(spans[spans.size() - 2]), 1);
    EXPECT_GT(spans[1].first, spans.front().second) << "the outer label does not cover its neighbour";
}

TEST_F(CTalisoViewTest, GridLoopsEndOnAnySpacing)
{
    struct Case {
        BOOL rect;
        int spacing;
        int angle;
    } cases[] = {{TRUE, 0, 30}, {TRUE, -100, 30}, {FALSE, 0, 0}, {FALSE, -5, -10}, {TRUE, 32767, 30},
                 {FALSE, 32767, 179}};
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(Client().cx, Client().cy));
    for (const Case& c : cases) {
        CTalisoSetup& setup = GetTalisoSetup();
        setup.m_bViewRectGrid = c.rect;
        setup.m_nRectGrid = c.spacing;
        setup.m_nRadiusGrid = c.spacing;
        setup.m_nAngleGrid = c.angle;
        view->OnPrepareDC(&dc);
        dc.ClearRecording();
        dc.EnableRecording(TRUE);
        view->DrawGrid(&dc);
        view->DrawGridLabels(&dc);
        dc.EnableRecording(FALSE);
        // The line straight ahead (rectangular) or the ray along the x axis (polar) is always there.
        const auto calls = dc.GetRecording();
        const bool hasLine = std::any_of(calls.begin(), calls.end(),
                                         [](const CString& call) { return std::strncmp(call.c_str(), "LineTo", 6) == 0; });
        EXPECT_TRUE(hasLine) << c.spacing;
    }
}

// --- mouse editing ---

class CTalisoViewMouseTest : public CTalisoViewTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CTalisoViewTest::SetUp());
        doc.current = Rectangle(100, 200, 100);
        doc.SetEditMode(1);
        doc.SetModifiedFlag(FALSE);
        // One device pixel is about one centimetre.
        view->SetRange(200);
        view->SetViewOrigin(0, 0);
    }

    CRectShelter& Field() { return static_cast<CRectShelter&>(*doc.current); }
};

TEST_F(CTalisoViewMouseTest, GesturesOnTheFrontHandleOfARectangle)
{
    struct Gesture {
        const char* name;
        CPoint press;    // logical
        CSize move;      // device pixels from the press
        BOOL editMode;
        int front;       // afterwards
        BOOL modified;
        BOOL undoable;
    } gestures[] = {
        {"a move below the threshold is a click", {0, 200}, {4, -4}, TRUE, 200, FALSE, FALSE},
        {"a drag from the handle moves the front", {0, 200}, {0, -30}, TRUE, 230, TRUE, TRUE},
        {"a move of exactly the threshold begins a drag, which changes nothing yet", {0, 200}, {0, -5}, TRUE, 200,
         FALSE, FALSE},
        {"a drag off the handles changes nothing", {0, 100}, {0, -30}, TRUE, 200, FALSE, FALSE},
        {"a drag outside edit mode changes nothing", {0, 200}, {0, -30}, FALSE, 200, FALSE, FALSE},
    };
    for (const Gesture& g : gestures) {
        doc.current = Rectangle(100, 200, 100);
        doc.SetEditMode(g.editMode);
        doc.ClearUndo();
        doc.SetModifiedFlag(FALSE);
        const CPoint press = At(g.press.x, g.press.y);
        view->OnLButtonDown(MK_LBUTTON, press);
        // The drag goes in single pixels, as a mouse does.
        const int steps = std::max(std::abs(g.move.cx), std::abs(g.move.cy));
        for (int i = 1; i <= steps; ++i)
            view->OnMouseMove(MK_LBUTTON, press + CSize(g.move.cx * i / steps, g.move.cy * i / steps));
        const BOOL dragging = view->IsDraggingGesture();
        view->OnLButtonUp(0, press + g.move);
        EXPECT_EQ(dragging, std::max(std::abs(g.move.cx), std::abs(g.move.cy)) >= kDragThreshold) << g.name;
        EXPECT_NEAR(Field().GetFront(), g.front, 1) << g.name;
        EXPECT_EQ(doc.IsModified(), g.modified) << g.name;
        EXPECT_EQ(doc.CanUndo(), g.undoable) << g.name;
        EXPECT_FALSE(Field().IsDragging()) << g.name;
        EXPECT_EQ(CWnd::GetCapture(), nullptr) << g.name;
    }
    // The undo step holds the field before the drag.
    doc.SetEditMode(1);
    doc.current = Rectangle(100, 200, 100);
    doc.ClearUndo();
    const CPoint press = At(0, 200);
    view->OnLButtonDown(MK_LBUTTON, press);
    for (int dy = 1; dy <= 40; ++dy)
        view->OnMouseMove(MK_LBUTTON, press + CSize(0, -dy));
    view->OnLButtonUp(0, press + CSize(0, -40));
    ASSERT_NEAR(Field().GetFront(), 240, 1);
    doc.OnEditUndo();
    EXPECT_EQ(Field().GetFront(), 200);
}

TEST_F(CTalisoViewMouseTest, ADragThatLosesTheMouseEndsAsOneUndoStep)
{
    const CPoint press = At(0, 200);
    view->OnLButtonDown(MK_LBUTTON, press);
    for (int dy = 1; dy <= 20; ++dy)
        view->OnMouseMove(MK_LBUTTON, press + CSize(0, -dy));
    ASSERT_TRUE(Field().IsDragging());
    view->SendMessage(WM_CANCELMODE);
    EXPECT_FALSE(Field().IsDragging());
    EXPECT_FALSE(view->IsDraggingGesture());
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_NEAR(Field().GetFront(), 220, 1);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.CanUndo());
    doc.OnEditUndo();
    EXPECT_EQ(Field().GetFront(), 200);
    // A move after the cancel, with the button still reported down, starts nothing.
    view->OnMouseMove(MK_LBUTTON, press + CSize(0, -60));
    EXPECT_FALSE(Field().IsDragging());
}

TEST_F(CTalisoViewMouseTest, SelectionClicksMarkTheDocumentAsChangedWithoutAnUndoStep)
{
    doc.current = Contour(300);
    auto& contour = static_cast<CPolyShelter&>(*doc.current);
    const CPoint vertex = At(contour.GetBeamPoint(45).GetRoundedX(), contour.GetBeamPoint(45).GetRoundedY());
    const CPoint other = At(contour.GetBeamPoint(20).GetRoundedX(), contour.GetBeamPoint(20).GetRoundedY());
    // The selection is kept in the document file, so a change of it is a change to save.
    struct Click {
        const char* what;
        CPoint at;
        UINT flags;
        BOOL selected45;
        BOOL selected20;
        BOOL modified;
    } clicks[] = {
        {"only this point", vertex, 0, TRUE, FALSE, TRUE},
        {"Ctrl adds the point", other, MK_CONTROL, TRUE, TRUE, TRUE},
        {"Ctrl again removes it", vertex, MK_CONTROL, FALSE, TRUE, TRUE},
        {"a press on empty space clears the selection", At(0, 50), 0, FALSE, FALSE, TRUE},
        {"a press on empty space with nothing selected still clears", At(0, 50), 0, FALSE, FALSE, TRUE},
        {"Shift on empty space keeps the selection as it is", At(0, 50), MK_SHIFT, FALSE, FALSE, FALSE},
    };
    for (const Click& click : clicks) {
        doc.SetModifiedFlag(FALSE);
        view->hints.clear();
        view->OnLButtonDown(MK_LBUTTON | click.flags, click.at);
        view->OnMouseMove(MK_LBUTTON | click.flags, click.at + CSize(kDragThreshold - 1, 1 - kDragThreshold));
        view->OnLButtonUp(click.flags, click.at);
        EXPECT_EQ(contour.IsBeamSelected(45), click.selected45) << click.what;
        EXPECT_EQ(contour.IsBeamSelected(20), click.selected20) << click.what;
        EXPECT_EQ(doc.IsModified(), click.modified) << click.what;
        if (click.modified)
            EXPECT_EQ(view->hints, std::vector<LPARAM>{kHintCurrentObjectChanged}) << click.what;
    }
    EXPECT_FALSE(doc.CanUndo()) << "a selection is no undo step";
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(CTalisoViewMouseTest, DragsThatChangeNothingTakeNoUndoStepAndARefusedDropSaysSo)
{
    // A drag of the vertex of beam 45 (straight ahead, 300 cm) by device pixels, one at a time.
    auto dragVertex = [&](CSize by) {
        auto& contour = static_cast<CPolyShelter&>(*doc.current);
        const CPoint from = At(contour.GetBeamPoint(45).GetRoundedX(), contour.GetBeamPoint(45).GetRoundedY());
        view->OnLButtonDown(MK_LBUTTON, from);
        const int steps = std::max(std::abs(by.cx), std::abs(by.cy));
        for (int i = 1; i <= steps; ++i)
            view->OnMouseMove(MK_LBUTTON, from + CSize(by.cx * i / steps, by.cy * i / steps));
        view->OnLButtonUp(0, from + by);
    };
    auto selectVertex = [&] {
        auto& contour = static_cast<CPolyShelter&>(*doc.current);
        const CPoint at = At(contour.GetBeamPoint(45).GetRoundedX(), contour.GetBeamPoint(45).GetRoundedY());
        view->OnLButtonDown(MK_LBUTTON, at);
        view->OnLButtonUp(0, at);
        ASSERT_TRUE(contour.IsBeamSelected(45));
    };
    struct Case {
        const char* what;
        bool selected;
        CSize by;
        int distance; // of beam 45 afterwards
        BOOL changed; // modified and undoable
        bool refused; // message 308
    } cases[] = {
        {"a vertex that is not selected moves nothing", false, {0, -40}, 300, FALSE, false},
        {"the selected vertex dropped behind the scanner is refused", true, {0, 320}, 300, FALSE, true},
        {"the selected vertex dropped in range moves", true, {0, 40}, 260, TRUE, false},
    };
    for (const Case& c : cases) {
        doc.current = Contour(300);
        doc.ClearUndo();
        if (c.selected)
            ASSERT_NO_FATAL_FAILURE(selectVertex());
        doc.SetModifiedFlag(FALSE);
        const std::size_t messages = ui.MessageBoxes().size();
        dragVertex(c.by);
        auto& contour = static_cast<CPolyShelter&>(*doc.current);
        EXPECT_NEAR(contour.GetBeamDistance(45), c.distance, 2) << c.what;
        EXPECT_EQ(doc.IsModified(), c.changed) << c.what;
        EXPECT_EQ(doc.CanUndo(), c.changed) << c.what;
        ASSERT_EQ(ui.MessageBoxes().size(), messages + (c.refused ? 1 : 0)) << c.what;
        if (c.refused) {
            EXPECT_EQ(ui.MessageBoxes().back().id, IDP_POINT_OUT_OF_RANGE);
            EXPECT_EQ(ui.MessageBoxes().back().flags & MB_ICONMASK, MB_ICONINFORMATION);
        }
        EXPECT_EQ(CWnd::GetCapture(), nullptr) << c.what;
    }
    // After a real move (which leaves the point selected) a refused drop keeps the one undo
    // step there is, which goes back to the start.
    ASSERT_TRUE(static_cast<CPolyShelter&>(*doc.current).IsBeamSelected(45));
    dragVertex({0, 320});
    EXPECT_NEAR(static_cast<CPolyShelter&>(*doc.current).GetBeamDistance(45), 260, 2);
    doc.OnEditUndo();
    EXPECT_EQ(static_cast<CPolyShelter&>(*doc.current).GetBeamDistance(45), 300);
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(CTalisoViewMouseTest, DoubleClickPlacesAPointSnappedByTheAxisLockOrRefusesOutsideTheRange)
{
    struct Case {
        int lock;
        int snapMode;
    } cases[] = {{0, kSnapToGrid}, {'X', kSnapKeepX}, {'Y', kSnapKeepY}};
    const CPoint where = At(123, 257);
    for (const Case& c : cases) {
        doc.current = Contour(300);
        doc.ClearUndo();
        doc.SetModifiedFlag(FALSE);
        std::unique_ptr<CShelter> expected = doc.current->CloneShelter();
        ASSERT_TRUE(expected->PlacePoint(view->ClientToLogical(where), c.snapMode));
        if (c.lock != 0) view->OnKeyDown(UINT(c.lock), 1, 0);
        view->OnLButtonDblClk(MK_LBUTTON, where);
        view->OnKeyUp(UINT(c.lock), 1, 0);
        auto& contour = static_cast<CPolyShelter&>(*doc.current);
        auto& wanted = static_cast<CPolyShelter&>(*expected);
        for (int beam = 0; beam < contour.GetBeamCount(); ++beam)
            ASSERT_EQ(contour.GetBeamDistance(beam), wanted.GetBeamDistance(beam)) << "lock " << c.lock;
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(doc.CanUndo());
    }
    EXPECT_TRUE(ui.MessageBoxes().empty());

    // Behind the scanner is outside every field's range: a message, and nothing changes.
    doc.current = Contour(300);
    doc.ClearUndo();
    doc.SetModifiedFlag(FALSE);
    view->SetViewOrigin(0, 150);
    view->OnLButtonDblClk(MK_LBUTTON, At(0, -100));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, IDP_POINT_OUT_OF_RANGE);
    EXPECT_EQ(ui.MessageBoxes()[0].flags & MB_ICONMASK, MB_ICONINFORMATION);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());
    auto& contour = static_cast<CPolyShelter&>(*doc.current);
    for (int beam = 0; beam < contour.GetBeamCount(); ++beam)
        EXPECT_EQ(contour.GetBeamDistance(beam), 300);
}

TEST_F(CTalisoViewMouseTest, PanModeScrollsForOneDragAndEditsNothing)
{
    view->OnCmdMsg(ID_VIEW_PAN_MODE, CN_COMMAND, nullptr, nullptr);
    ASSERT_TRUE(view->IsPanMode());
    const CPoint press = At(0, 200); // on the front handle: panning wins
    view->OnLButtonDown(MK_LBUTTON, press);
    for (int dx = 1; dx <= 20; ++dx)
        view->OnMouseMove(MK_LBUTTON, press + CSize(dx, 0));
    view->OnLButtonUp(0, press + CSize(20, 0));
    EXPECT_FALSE(view->IsPanMode());
    EXPECT_EQ(Field().GetFront(), 200);
    EXPECT_FALSE(doc.IsModified());
    // Dragging the plane to the right shows what lies left of the scanner.
    EXPECT_LT(view->GetViewOrigin().x, -10);
    EXPECT_EQ(view->GetViewOrigin().y, 0);
}

TEST_F(CTalisoViewMouseTest, CursorPaneShowsTheLogicalPointInTheGridsCoordinates)
{
    const CPoint where = At(100, 150);
    CTalisoSetup& setup = GetTalisoSetup();
    struct Case {
        BOOL rect;
        BOOL metric;
        const char* format;
        double first;
        double second;
    } cases[] = {
        {TRUE, TRUE, "%lfcm x %lfcm", 100, 150},
        {TRUE, FALSE, "%lfin x %lfin", 39.37, 59.06},
        {FALSE, TRUE, "%lf\xC2\xB0 x %lfcm", 56.31, 180},
    };
    for (const Case& c : cases) {
        setup.m_bViewRectGrid = c.rect;
        setup.m_bViewMetric = c.metric;
        double first = 0;
        double second = 0;
        const CString text = view->GetCursorPaneText(where);
        ASSERT_EQ(std::sscanf(text.c_str(), c.format, &first, &second), 2) << text.c_str();
        // One device pixel is about one centimetre.
        EXPECT_NEAR(first, c.first, 1.5) << text.c_str();
        EXPECT_NEAR(second, c.second, 1.5) << text.c_str();
    }
    EXPECT_TRUE(view->GetCursorPaneText(CPoint(-5, -5)).IsEmpty());
    doc.current.reset();
    EXPECT_TRUE(view->GetCursorPaneText(where).IsEmpty());
}

} // namespace
