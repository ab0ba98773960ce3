// Command routing through an ordered chain of targets, update handlers and the rule
// that a command runs only while its update handler leaves it enabled.
#include "framework/ui/CCmdTarget.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/WindowHandle.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

constexpr UINT kAll = 1001;       // handled by view, document, frame and application
constexpr UINT kNotView = 1002;   // document, frame, application
constexpr UINT kFrameApp = 1003;  // frame, application
constexpr UINT kAppOnly = 1004;   // application
constexpr UINT kNobody = 1005;
constexpr UINT kDisabledByDoc = 2001;
constexpr UINT kEnabledByView = 2002;
constexpr UINT kPassedOnByView = 2003; // the view's update handler continues routing
constexpr UINT kNoUpdateHandler = 2004;
constexpr UINT kLanguageFirst = 40000;

class TestApp : public CCmdTarget {
protected:
    afx_msg void OnCommand() { g_log.push_back("app"); }
    afx_msg BOOL OnLanguage(UINT id) { g_log.push_back("app:" + std::to_string(id)); return TRUE; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestApp, CCmdTarget)
    ON_COMMAND(kAll, OnCommand)
    ON_COMMAND(kNotView, OnCommand)
    ON_COMMAND(kFrameApp, OnCommand)
    ON_COMMAND(kAppOnly, OnCommand)
    ON_COMMAND_EX_RANGE(kLanguageFirst, kLanguageFirst + 20, OnLanguage)
END_MESSAGE_MAP()

class TestDoc : public CCmdTarget {
protected:
    afx_msg void OnCommand() { g_log.push_back("doc"); }
    afx_msg void OnDisabled() { g_log.push_back("doc:disabled ran"); }
    afx_msg void OnPassedOn() { g_log.push_back("doc:passed-on ran"); }
    afx_msg void OnUpdateDisable(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDoc, CCmdTarget)
    ON_COMMAND(kAll, OnCommand)
    ON_COMMAND(kNotView, OnCommand)
    ON_COMMAND(kDisabledByDoc, OnDisabled)
    ON_UPDATE_COMMAND_UI(kDisabledByDoc, OnUpdateDisable)
    ON_COMMAND(kPassedOnByView, OnPassedOn)
    ON_UPDATE_COMMAND_UI(kPassedOnByView, OnUpdateDisable)
END_MESSAGE_MAP()

// A view routes to its document after itself.
class TestView : public CCmdTarget {
public:
    TestDoc* m_pDocument = nullptr;
    void GetCommandRoute(std::vector<CCmdTarget*>& route) override
    {
        route.push_back(this);
        route.push_back(m_pDocument);
    }

protected:
    afx_msg void OnCommand() { g_log.push_back("view"); }
    afx_msg void OnEnabled() { g_log.push_back("view:enabled ran"); }
    afx_msg void OnNoUpdate() { g_log.push_back("view:no-update ran"); }
    afx_msg void OnUpdateEnable(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(1);
        pCmdUI->SetText("checked");
    }
    afx_msg void OnUpdatePassOn(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(TRUE);
        pCmdUI->ContinueRouting();
    }
    afx_msg BOOL OnLanguage(UINT id)
    {
        g_log.push_back("view:" + std::to_string(id));
        return FALSE; // not mine: the route goes on
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestView, CCmdTarget)
    ON_COMMAND(kAll, OnCommand)
    ON_COMMAND(kEnabledByView, OnEnabled)
    ON_UPDATE_COMMAND_UI(kEnabledByView, OnUpdateEnable)
    ON_UPDATE_COMMAND_UI(kPassedOnByView, OnUpdatePassOn)
    ON_COMMAND(kNoUpdateHandler, OnNoUpdate)
    ON_COMMAND_EX_RANGE(kLanguageFirst, kLanguageFirst + 20, OnLanguage)
END_MESSAGE_MAP()

// A frame window asks its active view first and the application last.
class TestFrame : public CWnd {
public:
    TestView* m_pActiveView = nullptr;
    TestApp* m_pApp = nullptr;
    void GetCommandRoute(std::vector<CCmdTarget*>& route) override
    {
        route.push_back(m_pActiveView);
        route.push_back(this);
        route.push_back(m_pApp);
    }

protected:
    afx_msg void OnCommand() { g_log.push_back("frame"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestFrame, CWnd)
    ON_COMMAND(kAll, OnCommand)
    ON_COMMAND(kNotView, OnCommand)
    ON_COMMAND(kFrameApp, OnCommand)
END_MESSAGE_MAP()

// Records what an update handler set, as a menu item would show it.
class RecordingCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        CCmdUI::Enable(bOn);
        enabled = bOn;
    }
    void SetCheck(int nCheck) override { check = nCheck; }
    void SetText(LPCTSTR text) override { this->text = text; }
    BOOL enabled = -1;
    int check = -1;
    CString text;
};

void PumpUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

class CommandRoutingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        g_log.clear();
        view.m_pDocument = &doc;
        frame.m_pActiveView = &view;
        frame.m_pApp = &app;
        ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100), nullptr, 0));
    }

    TestApp app;
    TestDoc doc;
    TestView view;
    TestFrame frame;
};

TEST_F(CommandRoutingTest, FirstTargetOfTheChainWithAHandlerRunsIt)
{
    struct Case {
        UINT id;
        const char* runs;
    };
    const Case cases[] = {
        {kAll, "view"}, {kNotView, "doc"}, {kFrameApp, "frame"}, {kAppOnly, "app"},
    };
    for (const Case& c : cases) {
        g_log.clear();
        EXPECT_TRUE(frame.OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr)) << c.id;
        EXPECT_EQ(g_log, std::vector<std::string>{c.runs}) << c.id;
    }
    g_log.clear();
    EXPECT_FALSE(frame.OnCmdMsg(kNobody, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(g_log.empty());
}

TEST_F(CommandRoutingTest, CommandRangeHandlerReturningFalseLetsTheRouteGoOn)
{
    EXPECT_TRUE(frame.OnCmdMsg(kLanguageFirst + 3, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(g_log, (std::vector<std::string>{"view:40003", "app:40003"}));
}

TEST_F(CommandRoutingTest, PostedCommandRunsOnlyWhenItsUpdateHandlerLeavesItEnabled)
{
    frame.PostMessage(WM_COMMAND, kDisabledByDoc, 0);
    frame.PostMessage(WM_COMMAND, kPassedOnByView, 0);
    frame.PostMessage(WM_COMMAND, kEnabledByView, 0);
    frame.PostMessage(WM_COMMAND, kNoUpdateHandler, 0);
    EXPECT_TRUE(g_log.empty()) << "posted commands wait for the event loop";
    PumpUntil([] { return g_log.size() >= 2; });
    QCoreApplication::processEvents();
    // The document disabled 2001 and, after the view passed it on, 2003.
    EXPECT_EQ(g_log, (std::vector<std::string>{"view:enabled ran", "view:no-update ran"}));
}

TEST_F(CommandRoutingTest, UpdateRequestReachesTheFirstUpdateHandlerUnlessItContinuesRouting)
{
    RecordingCmdUI item;
    item.m_nID = kEnabledByView;
    item.DoUpdate(&frame, TRUE);
    EXPECT_EQ(item.enabled, TRUE);
    EXPECT_EQ(item.check, 1);
    EXPECT_EQ(item.text, "checked");

    RecordingCmdUI passedOn;
    passedOn.m_nID = kPassedOnByView;
    passedOn.DoUpdate(&frame, TRUE);
    EXPECT_EQ(passedOn.enabled, FALSE) << "the document's update handler decides after the view passed";
}

TEST_F(CommandRoutingTest, ItemWithoutUpdateHandlerIsEnabledExactlyWhenSomeTargetHandlesIt)
{
    RecordingCmdUI handled;
    handled.m_nID = kAppOnly;
    handled.DoUpdate(&frame, TRUE);
    EXPECT_EQ(handled.enabled, TRUE);
    EXPECT_TRUE(g_log.empty()) << "asking for a handler must not run it";

    RecordingCmdUI unhandled;
    unhandled.m_nID = kNobody;
    unhandled.DoUpdate(&frame, TRUE);
    EXPECT_EQ(unhandled.enabled, FALSE);

    RecordingCmdUI untouched;
    untouched.m_nID = kNobody;
    untouched.DoUpdate(&frame, FALSE);
    EXPECT_EQ(untouched.enabled, -1);
}

} // namespace
