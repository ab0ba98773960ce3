// The application's message loop: idle updates after the queue runs empty, the end of
// the loop with the main window, and the counted wait cursor.
#include "framework/ui/CWaitCursor.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

void PumpUntil(const std::function<bool()>& done, int limitMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

class IdleCountingWnd : public CWnd {
public:
    int updates = 0;

protected:
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM)
    {
        ++updates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(IdleCountingWnd, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

class RecordingApp : public CWinApp {
public:
    std::vector<LONG> idleCounts;
    BOOL OnIdle(LONG lCount) override
    {
        idleCounts.push_back(lCount);
        return CWinApp::OnIdle(lCount);
    }
};

class CWinAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(mainWnd.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
        ASSERT_TRUE(pane.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 50, 20), &mainWnd, 59));
        app.m_pMainWnd = &mainWnd;
        // Idle steps requested by earlier tests run before this test counts.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        app.idleCounts.clear();
    }

    RecordingApp app;
    CWnd mainWnd;
    IdleCountingWnd pane;
};

TEST_F(CWinAppTest, DeliveredMessageIsFollowedByOneIdleUpdateOfEveryWindow)
{
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxGetMainWnd(), &mainWnd);
    mainWnd.PostMessage(WM_USER + 5);
    PumpUntil([&] { return app.idleCounts.size() >= 2; });
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(app.idleCounts, (std::vector<LONG>{0, 1})) << "idle work stops when OnIdle says so";
    EXPECT_EQ(pane.updates, 1);

    mainWnd.PostMessage(WM_USER + 5);
    PumpUntil([&] { return app.idleCounts.size() >= 4; });
    EXPECT_EQ(app.idleCounts, (std::vector<LONG>{0, 1, 0, 1})) << "a new message starts the count again";
}

TEST_F(CWinAppTest, RunEndsWhenTheMainWindowIsDestroyed)
{
    bool timedOut = false;
    QTimer guard; // ends a loop that would otherwise hang the suite
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    guard.start(10000);
    mainWnd.PostMessage(WM_CLOSE);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(mainWnd.m_hWnd, nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST(CWaitCursorTest, NestedWaitsShowTheWaitCursorUntilTheLastOneEnds)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        CWaitCursor outer;
        CCmdTarget target;
        target.BeginWaitCursor();
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        target.EndWaitCursor();
        ASSERT_NE(QApplication::overrideCursor(), nullptr) << "the outer wait is still under way";
        EXPECT_EQ(AfxWaitCursorDepth(), 1);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // An End without a Begin leaves a cursor someone else set alone.
    QApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    AfxDoWaitCursor(-1);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
}

} // namespace
