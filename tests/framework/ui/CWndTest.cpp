// Windows over widgets: message order, descendants, timers, creation and destruction,
// input translation and the window's own scroll bars.
#include "framework/ui/CWnd.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "framework/ui/WindowManager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_TEST_PING = WM_USER + 1;

void PumpUntil(const std::function<bool()>& done, int limitMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Logs what it receives as "<name>:<what>".
class LoggingWnd : public CWnd {
public:
    LoggingWnd(std::vector<std::string>& log, std::string name) : m_log(log), m_name(std::move(name)) {}

    int createResult = 0;

protected:
    int OnCreate(LPCREATESTRUCT cs) override
    {
        m_log.push_back(m_name + ":create");
        return createResult != 0 ? createResult : CWnd::OnCreate(cs);
    }
    void OnDestroy() override
    {
        m_log.push_back(m_name + ":destroy");
        CWnd::OnDestroy();
    }
    void OnNcDestroy() override
    {
        m_log.push_back(m_name + ":ncdestroy");
        CWnd::OnNcDestroy();
    }
    void OnSize(UINT, int cx, int cy) override { m_log.push_back(m_name + ":size " + std::to_string(cx) + "x" + std::to_string(cy)); }
    void OnTimer(UINT_PTR id) override { m_log.push_back(m_name + ":timer " + std::to_string(id)); }
    void OnLButtonDown(UINT flags, CPoint p) override { LogMouse("down", flags, p); }
    void OnLButtonUp(UINT flags, CPoint p) override { LogMouse("up", flags, p); }
    void OnLButtonDblClk(UINT flags, CPoint p) override { LogMouse("dblclk", flags, p); }
    void OnKeyDown(UINT ch, UINT, UINT) override { m_log.push_back(m_name + ":keydown " + std::to_string(ch)); }
    void OnChar(UINT ch, UINT, UINT) override { m_log.push_back(m_name + ":char " + std::to_string(ch)); }
    void OnVScroll(UINT code, UINT pos, CScrollBar*) override
    {
        m_log.push_back(m_name + ":vscroll " + std::to_string(code) + " " + std::to_string(pos));
    }
    afx_msg LRESULT OnPing(WPARAM wParam, LPARAM)
    {
        m_log.push_back(m_name + ":ping " + std::to_string(wParam));
        return LRESULT(wParam) * 2;
    }
    DECLARE_MESSAGE_MAP()

private:
    void LogMouse(const char* what, UINT flags, CPoint p)
    {
        m_log.push_back(m_name + ":" + what + " " + std::to_string(flags) + " " + std::to_string(p.x) + "," + std::to_string(p.y));
    }

    std::vector<std::string>& m_log;
    std::string m_name;
};

BEGIN_MESSAGE_MAP(LoggingWnd, CWnd)
    ON_MESSAGE(WM_TEST_PING, OnPing)
END_MESSAGE_MAP()

// Deletes itself when its window is gone, like frames and views.
class SelfDeletingWnd : public LoggingWnd {
public:
    using LoggingWnd::LoggingWnd;

protected:
    void PostNcDestroy() override { delete this; }
};

// A control that handles what it raised at its parent: owner-draw messages and its own
// notifications.
class ReflectingControl : public CWnd {
public:
    explicit ReflectingControl(std::vector<std::string>& log) : m_log(log) {}

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        switch (message) {
        case WM_DRAWITEM:
            m_log.push_back("control:draw " + std::to_string(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->itemID));
            return TRUE;
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
            return TRUE;
        case WM_COMPAREITEM:
            *pResult = -1;
            return TRUE;
        case WM_DELETEITEM:
            m_log.push_back("control:delete " + std::to_string(reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->itemData));
            return TRUE;
        default:
            return CWnd::OnChildNotify(message, wParam, lParam, pResult);
        }
    }
    afx_msg void OnChange() { m_log.push_back("control:change"); }
    afx_msg BOOL OnSelect()
    {
        m_log.push_back("control:select");
        return FALSE; // the parent hears it too
    }
    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::string>& m_log;
};

BEGIN_MESSAGE_MAP(ReflectingControl, CWnd)
    ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
    ON_CONTROL_REFLECT_EX(CBN_SELCHANGE, OnSelect)
END_MESSAGE_MAP()

class NotifiedParent : public CWnd {
public:
    explicit NotifiedParent(std::vector<std::string>& log) : m_log(log) {}

protected:
    afx_msg void OnChange() { m_log.push_back("parent:change"); }
    afx_msg void OnSelect() { m_log.push_back("parent:select"); }
    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::string>& m_log;
};

BEGIN_MESSAGE_MAP(NotifiedParent, CWnd)
    ON_EN_CHANGE(50, OnChange)
    ON_CBN_SELCHANGE(50, OnSelect)
END_MESSAGE_MAP()

class CWndTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(AfxEnsureGuiApplication()); }

    bool CreateTopLevel(CWnd& wnd, LPCTSTR className = nullptr)
    {
        return wnd.CreateEx(0, className, "test", WS_OVERLAPPEDWINDOW, CRect(10, 10, 210, 160), nullptr, 0) != FALSE;
    }

    std::vector<std::string> log;
};

TEST_F(CWndTest, SentMessagesRunAtOncePostedOnesFromTheEventLoopInOrder)
{
    LoggingWnd wnd(log, "w");
    ASSERT_TRUE(CreateTopLevel(wnd));
    log.clear();

    EXPECT_TRUE(wnd.PostMessage(WM_TEST_PING, 1));
    EXPECT_TRUE(wnd.PostMessage(WM_TEST_PING, 2));
    EXPECT_EQ(wnd.SendMessage(WM_TEST_PING, 3), 6);
    EXPECT_EQ(log, std::vector<std::string>{"w:ping 3"});

    PumpUntil([&] { return log.size() == 3; });
    EXPECT_EQ(log, (std::vector<std::string>{"w:ping 3", "w:ping 1", "w:ping 2"}));
}

TEST_F(CWndTest, MessagesPostedToADestroyedWindowAreDropped)
{
    LoggingWnd wnd(log, "w");
    ASSERT_TRUE(CreateTopLevel(wnd));
    HWND hWnd = wnd.m_hWnd;
    wnd.PostMessage(WM_TEST_PING, 1);
    wnd.DestroyWindow();
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_FALSE(::PostMessage(hWnd, WM_TEST_PING, 2, 0));
    EXPECT_EQ(::SendMessage(hWnd, WM_TEST_PING, 2, 0), 0);
    log.clear();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(log.empty());
}

TEST_F(CWndTest, SendMessageToDescendantsReachesEveryDepthParentsFirst)
{
    LoggingWnd top(log, "top");
    ASSERT_TRUE(CreateTopLevel(top));
    LoggingWnd child(log, "child");
    ASSERT_TRUE(child.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 50, 50), &top, 10));
    LoggingWnd grandchild(log, "grandchild");
    ASSERT_TRUE(grandchild.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 20, 20), &child, 11));
    LoggingWnd second(log, "second");
    ASSERT_TRUE(second.Create(nullptr, nullptr, WS_VISIBLE, CRect(60, 0, 90, 50), &top, 12));
    // A window without an object of its own answers through a temporary one.
    CWnd bare;
    ASSERT_TRUE(bare.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 5, 5), &child, 13));
    HWND bareHandle = bare.Detach();

    log.clear();
    top.SendMessageToDescendants(WM_TEST_PING, 7);
    EXPECT_EQ(log, (std::vector<std::string>{"child:ping 7", "grandchild:ping 7", "second:ping 7"}));

    log.clear();
    top.SendMessageToDescendants(WM_TEST_PING, 8, 0, FALSE);
    EXPECT_EQ(log, (std::vector<std::string>{"child:ping 8", "second:ping 8"}));

    EXPECT_EQ(CWnd::FromHandlePermanent(bareHandle), nullptr);
    EXPECT_NE(CWnd::FromHandle(bareHandle), nullptr);
    EXPECT_EQ(top.GetDescendantWindow(13)->m_hWnd, bareHandle);
    EXPECT_EQ(top.GetDlgItem(13), nullptr) << "a grandchild is no direct child";
    EXPECT_EQ(child.GetDlgItem(13)->GetDlgCtrlID(), 13);
    EXPECT_EQ(grandchild.GetParent(), &child);
    EXPECT_EQ(grandchild.GetTopLevelParent(), &top);
    EXPECT_TRUE(top.IsChild(&grandchild));
}

TEST_F(CWndTest, TimerSendsWmTimerWithItsIdUntilKilled)
{
    LoggingWnd wnd(log, "w");
    ASSERT_TRUE(CreateTopLevel(wnd));
    log.clear();
    EXPECT_EQ(wnd.SetTimer(7, 20), 7u);
    PumpUntil([&] { return !log.empty(); });
    ASSERT_FALSE(log.empty()) << "no WM_TIMER within the bound";
    EXPECT_EQ(log.front(), "w:timer 7");

    EXPECT_TRUE(wnd.KillTimer(7));
    EXPECT_FALSE(wnd.KillTimer(7));
    QCoreApplication::processEvents();
    log.clear();
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(log.empty());
}

TEST_F(CWndTest, DestroyingATreeSendsDestroyParentFirstAndNcDestroyChildrenFirst)
{
    auto* top = new SelfDeletingWnd(log, "top");
    ASSERT_TRUE(CreateTopLevel(*top));
    auto* child = new SelfDeletingWnd(log, "child");
    ASSERT_TRUE(child->Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), top, 1));
    HWND topHandle = top->m_hWnd;
    HWND childHandle = child->m_hWnd;
    log.clear();

    EXPECT_TRUE(top->DestroyWindow()); // both objects delete themselves on the way
    EXPECT_EQ(log, (std::vector<std::string>{"top:destroy", "child:destroy", "child:ncdestroy", "top:ncdestroy"}));
    EXPECT_FALSE(IsWindow(topHandle));
    EXPECT_FALSE(IsWindow(childHandle));
    EXPECT_FALSE(DestroyWindow(topHandle));
}

TEST_F(CWndTest, CreateFailsWhenOnCreateRefusesAndTheObjectStillHearsTheDestruction)
{
    LoggingWnd wnd(log, "w");
    wnd.createResult = -1;
    EXPECT_FALSE(CreateTopLevel(wnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"w:create", "w:destroy", "w:ncdestroy"}));
}

TEST_F(CWndTest, SizeMessageFollowsCreationAndEveryResize)
{
    LoggingWnd wnd(log, "w");
    ASSERT_TRUE(CreateTopLevel(wnd));
    EXPECT_EQ(log, (std::vector<std::string>{"w:create", "w:size 200x150"}));
    log.clear();
    wnd.MoveWindow(0, 0, 120, 80);
    wnd.MoveWindow(5, 5, 120, 80); // a move alone is no resize
    EXPECT_EQ(log, std::vector<std::string>{"w:size 120x80"});
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 120, 80));
}

TEST_F(CWndTest, WindowTextAndStateRoundTrip)
{
    LoggingWnd wnd(log, "w");
    ASSERT_TRUE(CreateTopLevel(wnd));
    wnd.SetWindowText("Grüße");
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(text, "Grüße");
    EXPECT_EQ(wnd.GetWindowTextLength(), 7);
    char small[4] = {};
    EXPECT_EQ(wnd.GetWindowText(small, 4), 2) << "truncation never splits a character";
    EXPECT_STREQ(small, "Gr");

    EXPECT_TRUE(wnd.IsWindowEnabled());
    EXPECT_FALSE(wnd.EnableWindow(FALSE));
    EXPECT_FALSE(wnd.IsWindowEnabled());
    EXPECT_TRUE(wnd.GetStyle() & WS_DISABLED);
    EXPECT_TRUE(wnd.EnableWindow(TRUE));
}

TEST_F(CWndTest, MaximisedWindowTakesTheScreensAvailableAreaWithoutAWindowManager)
{
    // The offscreen platform has no window manager: the window sizes itself.
    ASSERT_FALSE(AfxWindowManagerRuns());
    LoggingWnd wnd(log, "w");
    ASSERT_TRUE(CreateTopLevel(wnd));
    wnd.MoveWindow(20, 30, 300, 200);
    wnd.ShowWindow(SW_SHOWMAXIMIZED);
    QCoreApplication::processEvents();
    const QRect available = AfxAvailableScreenArea(*AfxWidgetFromHandle(wnd.m_hWnd));
    ASSERT_GT(available.width(), 300);
    CRect rect;
    wnd.GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(available.left(), available.top(), available.right() + 1, available.bottom() + 1));
}

TEST_F(CWndTest, OwnerDrawMessagesAndNotificationsGoBackToTheControlThatRaisedThem)
{
    NotifiedParent parent(log);
    ASSERT_TRUE(CreateTopLevel(parent));
    ReflectingControl control(log);
    ASSERT_TRUE(control.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 40, 40), &parent, 50));

    DRAWITEMSTRUCT draw;
    draw.CtlType = ODT_LISTBOX;
    draw.CtlID = 50;
    draw.itemID = 3;
    draw.hwndItem = control.m_hWnd;
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 50, reinterpret_cast<LPARAM>(&draw)), TRUE);
    MEASUREITEMSTRUCT measure;
    measure.CtlType = ODT_LISTBOX;
    measure.CtlID = 50; // found by id: the record names no window
    parent.SendMessage(WM_MEASUREITEM, 50, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemHeight, 16u);
    COMPAREITEMSTRUCT compare;
    compare.CtlType = ODT_LISTBOX;
    compare.hwndItem = control.m_hWnd;
    EXPECT_EQ(parent.SendMessage(WM_COMPAREITEM, 50, reinterpret_cast<LPARAM>(&compare)), -1);
    DELETEITEMSTRUCT removed;
    removed.CtlType = ODT_LISTBOX;
    removed.hwndItem = control.m_hWnd;
    removed.itemData = 77;
    parent.SendMessage(WM_DELETEITEM, 50, reinterpret_cast<LPARAM>(&removed));
    EXPECT_EQ(log, (std::vector<std::string>{"control:draw 3", "control:delete 77"}));

    log.clear();
    parent.SendMessage(WM_COMMAND, MAKELONG(50, EN_CHANGE), reinterpret_cast<LPARAM>(control.m_hWnd));
    parent.SendMessage(WM_COMMAND, MAKELONG(50, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control.m_hWnd));
    EXPECT_EQ(log, (std::vector<std::string>{"control:change", "control:select", "parent:select"}));
}

QMouseEvent MouseEvent(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
                       Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return QMouseEvent(type, QPointF(pos), QPointF(pos), button, buttons, modifiers);
}

TEST_F(CWndTest, MouseEventsBecomeButtonMessagesWithKeyFlagsAndClientPoints)
{
    struct Case {
        UINT classStyle;
        const char* doubleClickArrivesAs;
    };
    for (const Case c : {Case{CS_DBLCLKS, "dblclk"}, Case{0, "down"}}) {
        LoggingWnd wnd(log, "w");
        ASSERT_TRUE(CreateTopLevel(wnd, AfxRegisterWndClass(c.classStyle)));
        QWidget* widget = AfxWidgetFromHandle(wnd.m_hWnd);
        log.clear();
        QMouseEvent press = MouseEvent(QEvent::MouseButtonPress, {12, 34}, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
        QCoreApplication::sendEvent(widget, &press);
        QMouseEvent release = MouseEvent(QEvent::MouseButtonRelease, {12, 34}, Qt::LeftButton, Qt::NoButton);
        QCoreApplication::sendEvent(widget, &release);
        QMouseEvent twice = MouseEvent(QEvent::MouseButtonDblClick, {-3, 5}, Qt::LeftButton, Qt::LeftButton);
        QCoreApplication::sendEvent(widget, &twice);
        const std::string doubleClick = std::string("w:") + c.doubleClickArrivesAs + " 1 -3,5";
        EXPECT_EQ(log, (std::vector<std::string>{"w:down 9 12,34", "w:up 0 12,34", doubleClick}));
    }
}

TEST_F(CWndTest, KeyPressBecomesKeyDownThenChar)
{
    LoggingWnd wnd(log, "w");
    ASSERT_TRUE(CreateTopLevel(wnd));
    log.clear();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(AfxWidgetFromHandle(wnd.m_hWnd), &press);
    QKeyEvent arrow(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(AfxWidgetFromHandle(wnd.m_hWnd), &arrow);
    EXPECT_EQ(log, (std::vector<std::string>{"w:keydown 65", "w:char 97", "w:keydown 40"}));
}

TEST_F(CWndTest, ScriptedKeyStateOverridesTheKeyboardWhileTheScriptLives)
{
    {
        ScriptedUi script;
        script.SetKeyDown(VK_SHIFT, true);
        script.SetKeyDown('X', true);
        EXPECT_LT(GetKeyState(VK_SHIFT), 0);
        EXPECT_LT(GetKeyState('X'), 0);
        EXPECT_NE(GetAsyncKeyState('X') & 0x8000, 0);
        EXPECT_GE(GetKeyState('Y'), 0);
    }
    EXPECT_GE(GetKeyState('X'), 0);
}

TEST_F(CWndTest, ScrollBarActionsArriveAsScrollMessagesAndTheWindowMovesTheThumb)
{
    LoggingWnd wnd(log, "w");
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "s", WS_OVERLAPPEDWINDOW | WS_VSCROLL, CRect(0, 0, 200, 150), nullptr, 0));
    wnd.SetScrollRange(SB_VERT, 0, 100);
    EXPECT_EQ(wnd.SetScrollPos(SB_VERT, 250), 0);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 100) << "positions stay within the range";
    wnd.SetScrollPos(SB_VERT, 40);

    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_LT(client.Width(), 200) << "the bar takes its width from the client area";

    QScrollBar* bar = AfxWidgetFromHandle(wnd.m_hWnd)->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    log.clear();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(log, std::vector<std::string>{"w:vscroll " + std::to_string(SB_LINEDOWN) + " 40"});
    EXPECT_EQ(bar->value(), 40) << "only SetScrollPos moves the thumb";
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 40);
}

} // namespace

// A window that takes a scroll bar only while it is wider than a mark lying between its
// width with and without the bar: the bar it shows makes itself unneeded, and the one it
// hides makes itself needed again.
class FlippingWnd : public CWnd {
public:
    int mark = 0;
    int depth = 0;
    int deepest = 0;
    std::vector<int> widths;

protected:
    void OnSize(UINT, int cx, int) override
    {
        deepest = std::max(deepest, ++depth);
        widths.push_back(cx);
        SetScrollRange(SB_VERT, 0, cx > mark ? 100 : 0);
        --depth;
    }
};

TEST_F(CWndTest, ABarThatUndoesItsOwnNeedSettlesShownWithoutReenteringTheWindow)
{
    FlippingWnd wnd;
    wnd.mark = 200 - GetSystemMetrics(SM_CXVSCROLL) / 2;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "s", WS_OVERLAPPEDWINDOW | WS_VSCROLL, CRect(0, 0, 200, 150), nullptr, 0));
    EXPECT_EQ(wnd.widths, std::vector<int>{200}) << "the bar's size notice waits for the event loop";
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(wnd.deepest, 1) << "never a size notice inside the window's own handler";
    EXPECT_LT(wnd.widths.size(), 10u) << "the bars rest";
    const std::size_t heard = wnd.widths.size();
    QCoreApplication::processEvents();
    EXPECT_EQ(wnd.widths.size(), heard);
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_LT(client.Width(), 200) << "the bar stays, so that what it scrolls can be reached";
    EXPECT_EQ(wnd.widths.back(), client.Width()) << "the window knows its last size";
}
