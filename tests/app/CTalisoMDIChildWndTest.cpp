// Document windows: bars, combo boxes, panes and the cycle timer by the document's mode
// and scanner count, only the active window's document ticking, "*" in the caption of a
// modified document, and the notifications that reach only the sending document's window.
#include "FrameTestSupport.h"

#include "framework/ui/MessageBox.h"
#include "support/TypedInput.h"

#include <QApplication>
#include <QMdiSubWindow>

namespace frames {

IMPLEMENT_DYNCREATE(CountingDoc, CCommonDoc)
IMPLEMENT_DYNCREATE(PlainView, CView)

namespace {

// Visible panes of the 2x2 splitter: 1, 2 (side by side) or 4.
int VisiblePanes(CTalisoMDIChildWnd& frame)
{
    int row1 = 0;
    int col1 = 0;
    int minimum = 0;
    frame.GetSplitter().GetRowInfo(1, row1, minimum);
    frame.GetSplitter().GetColumnInfo(1, col1, minimum);
    return (row1 > 0 ? 2 : 1) * (col1 > 0 ? 2 : 1);
}

struct Layout {
    bool dialogBar;
    bool simulationBar;
    bool replayBar;
    bool objectCombosEnabled;
    int panes;
    bool timer;
    bool operator==(const Layout&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Layout& l)
{
    return out << "{dialog " << l.dialogBar << ", simulation " << l.simulationBar << ", replay " << l.replayBar
               << ", combos " << l.objectCombosEnabled << ", panes " << l.panes << ", timer " << l.timer << "}";
}

Layout LayoutOf(CTalisoMDIChildWnd& frame)
{
    CComboBox* first = frame.GetDialogBar().GetCombo(IDC_BAR_FIRST_OBJECT);
    CComboBox* selector = frame.GetDialogBar().GetCombo(IDC_BAR_SELECTOR);
    return {frame.GetDialogBar().IsVisible() != FALSE,
            frame.GetSimulationBar().IsVisible() != FALSE,
            frame.GetReplayBar().IsVisible() != FALSE,
            first->IsWindowEnabled() && selector->IsWindowEnabled(),
            VisiblePanes(frame),
            frame.GetTimerId() != 0};
}

class ChildFrameTest : public FrameTestBase {};

TEST_F(ChildFrameTest, ModesLayOutBarsCombosPanesAndTimerAndStoppingRestoresModeZero)
{
    CountingDoc* doc = OpenDocument();
    ASSERT_NE(doc, nullptr);
    CTalisoMDIChildWnd* frame = FrameOf(doc);
    ASSERT_NE(frame, nullptr);
    frame->MDIMaximize();
    PumpFrames();
    const Layout modeZero{true, false, false, true, 1, false};
    ASSERT_EQ(LayoutOf(*frame), modeZero) << "a new window";

    for (int mode = 1; mode <= 6; ++mode) {
        for (WORD count = 1; count <= 4; ++count) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << ", " << count << " scanner(s)");
            doc->sensorCount = count;
            const bool byCount = mode == kModeMonitor || mode == kModeSimulation;
            const Layout expected{mode == 1 || mode == 3 || mode == 4,
                                  mode == kModeSimulation,
                                  mode == kModeReplay,
                                  mode != kModeTeachIn && mode != kModeVerify,
                                  byCount ? (count == 1 ? 1 : count == 2 ? 2 : 4) : 1,
                                  true};
            doc->fills.clear();
            doc->SetMode(mode);
            ASSERT_EQ(doc->GetMode(), mode);
            EXPECT_EQ(LayoutOf(*frame), expected);
            EXPECT_EQ(doc->fills[IDC_SIMULATION_1] + doc->fills[IDC_SIMULATION_5], mode == kModeSimulation ? 2 : 0)
                << "the simulation controls are filled when that bar comes";
            doc->SetMode(mode); // the active mode's command stops it
            ASSERT_EQ(doc->GetMode(), kModeNone);
            EXPECT_EQ(LayoutOf(*frame), modeZero);
        }
    }
}

TEST_F(ChildFrameTest, TwoPanesStandSideBySideAndFourShareTheArea)
{
    CountingDoc* doc = OpenDocument();
    ASSERT_NE(doc, nullptr);
    CTalisoMDIChildWnd* frame = FrameOf(doc);
    frame->MDIMaximize();
    PumpFrames();
    CRect client;
    frame->GetSplitter().GetClientRect(&client);
    int width = 0;
    int height = 0;
    int minimum = 0;

    frame->SetPaneLayout(2);
    frame->GetSplitter().GetColumnInfo(0, width, minimum);
    frame->GetSplitter().GetRowInfo(1, height, minimum);
    EXPECT_EQ(width, client.Width() / 2 - frame->GetSplitter().m_cxBorder);
    EXPECT_EQ(height, 0);

    frame->SetPaneLayout(4);
    frame->GetSplitter().GetRowInfo(0, height, minimum);
    EXPECT_EQ(height, client.Height() / 2 - frame->GetSplitter().m_cyBorder);

    frame->SetPaneLayout(5);
    EXPECT_EQ(VisiblePanes(*frame), 4) << "a count beyond four changes nothing";
    frame->SetPaneLayout(0);
    EXPECT_EQ(VisiblePanes(*frame), 4);
}

TEST_F(ChildFrameTest, OnlyTheActiveWindowsDocumentTicksAndATickNeverRunsInsideAnother)
{
    CountingDoc* first = OpenDocument();
    CountingDoc* second = OpenDocument();
    ASSERT_TRUE(first != nullptr && second != nullptr);
    first->SetMode(kModeMonitor);
    second->SetMode(kModeMonitor);
    CTalisoMDIChildWnd* firstFrame = FrameOf(first);
    CTalisoMDIChildWnd* secondFrame = FrameOf(second);
    ASSERT_TRUE(firstFrame->GetTimerId() != 0 && secondFrame->GetTimerId() != 0);
    ASSERT_EQ(mainFrame->MDIGetActive(), secondFrame);

    auto tickBoth = [&] {
        LetTheCycleComeDue();
        firstFrame->SendMessage(WM_TIMER, CTalisoMDIChildWnd::kCycleTimerId);
        secondFrame->SendMessage(WM_TIMER, CTalisoMDIChildWnd::kCycleTimerId);
    };
    tickBoth();
    EXPECT_EQ(first->ticks, 0);
    EXPECT_EQ(second->ticks, 1);

    mainFrame->MDIActivate(firstFrame);
    tickBoth();
    EXPECT_EQ(first->ticks, 1);
    EXPECT_EQ(second->ticks, 1);

    // A timer message dispatched while the tick still runs is dropped.
    int nested = 0;
    first->duringTick = [&] {
        if (nested++ > 0)
            return;
        LetTheCycleComeDue();
        firstFrame->SendMessage(WM_TIMER, CTalisoMDIChildWnd::kCycleTimerId);
    };
    tickBoth();
    EXPECT_EQ(first->ticks, 2);
    first->duringTick = nullptr;
    tickBoth();
    EXPECT_EQ(first->ticks, 3) << "the guard is cleared after the tick";
}

TEST_F(ChildFrameTest, ModifiedDocumentShowsAStarInTheCaptionAtIdle)
{
    CountingDoc* doc = OpenDocument();
    ASSERT_NE(doc, nullptr);
    CTalisoMDIChildWnd* frame = FrameOf(doc);
    auto caption = [&] {
        CString text;
        frame->GetWindowText(text);
        auto* sub = qobject_cast<QMdiSubWindow*>(AfxWidgetFromHandle(frame->m_hWnd)->parentWidget());
        EXPECT_EQ(sub->windowTitle().toStdString(), std::string(text.c_str())) << "the MDI caption follows";
        return text;
    };
    const CString plain = caption();
    ASSERT_FALSE(plain.IsEmpty());

    doc->SetModifiedFlag(TRUE);
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(caption(), plain + "*");
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(caption(), plain + "*") << "one star, however often idle comes";

    doc->SetModifiedFlag(FALSE); // as after a save
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(caption(), plain);
}

TEST_F(ChildFrameTest, DocumentNotificationsReachOnlyItsOwnWindow)
{
    CountingDoc* first = OpenDocument();
    CountingDoc* second = OpenDocument();
    ASSERT_TRUE(first != nullptr && second != nullptr);
    first->fills.clear();
    second->fills.clear();
    second->SetMode(kModeMonitor);

    first->NotifyFrames(kNotifyRefillCombos);
    EXPECT_EQ(first->fills[IDC_BAR_SELECTOR], 1);
    EXPECT_EQ(first->fills[IDC_BAR_FIRST_OBJECT], 1);
    EXPECT_EQ(first->fills[IDC_BAR_SECOND_OBJECT], 1);
    EXPECT_TRUE(second->fills.empty()) << "the other window refills nothing";

    first->SetMode(kModeMonitor);
    first->SetMode(kModeMonitor);
    EXPECT_NE(FrameOf(second)->GetTimerId(), 0u) << "another document's mode change leaves this timer alone";
    EXPECT_FALSE(FrameOf(second)->GetDialogBar().IsVisible());
}

TEST_F(ChildFrameTest, BarSelectionsGoToTheDocumentWithTheirControl)
{
    CountingDoc* doc = OpenDocument();
    ASSERT_NE(doc, nullptr);
    CTalisoMDIChildWnd* frame = FrameOf(doc);
    for (UINT id : {IDC_BAR_SELECTOR, IDC_BAR_FIRST_OBJECT, IDC_BAR_SECOND_OBJECT, IDC_SIMULATION_1, IDC_SIMULATION_4,
                    IDC_SIMULATION_5}) {
        CComboBox* combo = frame->GetDialogBar().GetCombo(id);
        if (combo == nullptr)
            combo = frame->GetSimulationBar().GetCombo(id);
        ASSERT_NE(combo, nullptr) << id;
        doc->changes.clear();
        frame->SendMessage(WM_COMMAND, WPARAM(MAKELONG(WORD(id), CBN_SELCHANGE)), LPARAM(combo->m_hWnd));
        ASSERT_EQ(doc->changes.size(), 1u) << id;
        EXPECT_EQ(doc->changes[0].id, id);
        EXPECT_EQ(doc->changes[0].combo, combo);
    }
}

TEST_F(ChildFrameTest, SplitCommandTogglesBetweenOneAndFourPanesWithItsMenuText)
{
    CountingDoc* doc = OpenDocument();
    ASSERT_NE(doc, nullptr);
    CTalisoMDIChildWnd* frame = FrameOf(doc);
    frame->MDIMaximize();
    PumpFrames();
    auto menuText = [&] {
        CTestCmdUI state;
        state.m_nID = ID_TOGGLE_SPLIT;
        frame->OnCmdMsg(ID_TOGGLE_SPLIT, CN_UPDATE_COMMAND_UI, &state, nullptr);
        return state.m_strText;
    };
    CString split;
    split.LoadString(IDS_SPLIT_WINDOW);
    CString onePane;
    onePane.LoadString(IDS_ONE_PANE);
    EXPECT_EQ(menuText(), split);
    frame->SendMessage(WM_COMMAND, ID_TOGGLE_SPLIT);
    EXPECT_EQ(VisiblePanes(*frame), 4);
    EXPECT_EQ(menuText(), onePane);
    frame->SendMessage(WM_COMMAND, ID_TOGGLE_SPLIT);
    EXPECT_EQ(VisiblePanes(*frame), 1);
    EXPECT_EQ(menuText(), split);
}

TEST_F(ChildFrameTest, FocusCommandsGoToTheVisibleBar)
{
    CountingDoc* doc = OpenDocument();
    ASSERT_NE(doc, nullptr);
    CTalisoMDIChildWnd* frame = FrameOf(doc);
    AfxWidgetFromHandle(mainFrame->m_hWnd)->activateWindow();
    PumpFrames();
    CComboBox* selector = frame->GetDialogBar().GetCombo(IDC_BAR_FIRST_OBJECT);
    CComboBox* firstInput = frame->GetSimulationBar().GetCombo(IDC_SIMULATION_1);

    frame->SendMessage(WM_COMMAND, ID_FOCUS_SIMULATION_BAR);
    EXPECT_NE(CWnd::GetFocus(), firstInput) << "the simulation bar is hidden in mode 0";
    frame->SendMessage(WM_COMMAND, ID_FOCUS_DIALOG_BAR);
    EXPECT_EQ(CWnd::GetFocus(), selector);

    doc->SetMode(kModeSimulation);
    frame->SendMessage(WM_COMMAND, ID_FOCUS_DIALOG_BAR);
    EXPECT_EQ(CWnd::GetFocus(), firstInput) << "the simulation bar comes first while shown";
}

// A key typed where the focus is, Ctrl held around it when asked.
void TypeKey(Qt::Key key, bool control = false)
{
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    typedinput::SendKey(QApplication::focusWidget(), control ? Qt::ControlModifier : Qt::NoModifier, key);
    PumpFrames();
}

void ClickIn(CWnd& wnd, QPoint at)
{
    ASSERT_NE(AfxWidgetFromHandle(wnd.m_hWnd), nullptr);
    typedinput::SendClick(AfxWidgetFromHandle(wnd.m_hWnd), at);
    PumpFrames();
}

TEST_F(ChildFrameTest, EscapeAndAClickBringTheFocusFromTheBarBackToTheView)
{
    CountingDoc* doc = OpenDocument();
    ASSERT_NE(doc, nullptr);
    CTalisoMDIChildWnd* frame = FrameOf(doc);
    AfxWidgetFromHandle(mainFrame->m_hWnd)->activateWindow();
    PumpFrames();
    CView* view = frame->GetActiveView();
    ASSERT_NE(view, nullptr);
    view->SetFocus();
    CComboBox* firstObject = frame->GetDialogBar().GetCombo(IDC_BAR_FIRST_OBJECT);

    TypeKey(Qt::Key_F2);
    ASSERT_EQ(CWnd::GetFocus(), firstObject) << "F2 goes to the bar";
    TypeKey(Qt::Key_Escape);
    EXPECT_EQ(CWnd::GetFocus(), view) << "Escape leaves the bar";

    TypeKey(Qt::Key_F2);
    ASSERT_EQ(CWnd::GetFocus(), firstObject);
    ClickIn(*view, QPoint(40, 40));
    EXPECT_EQ(CWnd::GetFocus(), view) << "a click in the view takes the focus";
}

TEST_F(ChildFrameTest, WindowKeysLeaveTheNextWindowMaximisedWithTheFocusInItsView)
{
    CountingDoc* first = OpenDocument();
    CountingDoc* second = OpenDocument();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    // Maximised, as the views open by default.
    FrameOf(first)->MDIMaximize();
    FrameOf(second)->MDIMaximize();
    AfxWidgetFromHandle(mainFrame->m_hWnd)->activateWindow();
    PumpFrames();
    FrameOf(second)->GetActiveView()->SetFocus();
    PumpFrames();

    TypeKey(Qt::Key_F6, true);
    ASSERT_EQ(mainFrame->MDIGetActive(), FrameOf(first));
    EXPECT_EQ(CWnd::GetFocus(), FrameOf(first)->GetActiveView());
    TypeKey(Qt::Key_F4, true);
    BOOL maximized = FALSE;
    ASSERT_EQ(mainFrame->MDIGetActive(&maximized), FrameOf(second));
    EXPECT_TRUE(maximized);
    EXPECT_EQ(CWnd::GetFocus(), FrameOf(second)->GetActiveView());
}

TEST_F(ChildFrameTest, ClosingAWindowDuringAModeAbortsItAndEndsTheTimer)
{
    CountingDoc* doc = OpenDocument();
    ASSERT_NE(doc, nullptr);
    doc->SetMode(kModeMonitor);
    CTalisoMDIChildWnd* frame = FrameOf(doc);
    ASSERT_NE(frame->GetTimerId(), 0u);
    EXPECT_TRUE(doc->CanCloseFrame(frame));
    EXPECT_EQ(doc->GetMode(), kModeNone);
    EXPECT_EQ(frame->GetTimerId(), 0u);
}

} // namespace
} // namespace frames
