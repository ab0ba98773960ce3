// The pump a long loop on the user-interface thread calls: it runs what is waiting
// (posted messages, timers, paints), holds back the user's clicks while asked to, sees
// Escape, and reports a quit request.
#include "framework/ui/CWinApp.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/MessagePump.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr UINT WM_TEST_POSTED = WM_USER + 77;

class PostedCountingWnd : public CWnd {
public:
    int posted = 0;

protected:
    afx_msg LRESULT OnPosted(WPARAM, LPARAM)
    {
        ++posted;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PostedCountingWnd, CWnd)
    ON_MESSAGE(WM_TEST_POSTED, OnPosted)
END_MESSAGE_MAP()

class PaintCountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

void PostClick(QWidget& widget)
{
    const QPointF at(widget.width() / 2.0, widget.height() / 2.0);
    const QPointF global = widget.mapToGlobal(at);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(&widget, new QMouseEvent(type, at, global, Qt::LeftButton,
                                                             type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                                              : Qt::NoButton,
                                                             Qt::NoModifier));
}

void PostEscape(QWidget& widget)
{
    QCoreApplication::postEvent(&widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QCoreApplication::postEvent(&widget, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier));
}

// Runs the application's loop once: it ends a quit request that no loop took (one that
// reached no running loop stays in force for every later one).
void RunApplicationLoopOnce()
{
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

class MessagePumpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        // Earlier tests may have left Escape down in the program's key state.
        AfxSetScriptedKeyState(VK_ESCAPE, 0);
        RunApplicationLoopOnce();
    }
    void TearDown() override { AfxSetScriptedKeyState(VK_ESCAPE, -1); }
};

TEST_F(MessagePumpTest, PumpRunsPostedMessagesTimersAndPaints)
{
    for (CMessagePump::Input input : {CMessagePump::Input::Deliver, CMessagePump::Input::HoldBackInput}) {
        PostedCountingWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "posted", WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 50), nullptr, 0));
        PaintCountingWidget widget;
        widget.resize(80, 40);
        widget.show();
        QCoreApplication::processEvents();
        widget.paints = 0;

        CMessagePump pump(input);
        bool timerFired = false;
        QTimer::singleShot(0, [&timerFired] { timerFired = true; });
        wnd.PostMessage(WM_TEST_POSTED);
        widget.update();
        EXPECT_TRUE(pump.Pump());
        EXPECT_EQ(wnd.posted, 1);
        EXPECT_TRUE(timerFired);
        EXPECT_GE(widget.paints, 1);
        wnd.DestroyWindow();
    }
}

// Clicks reach the windows only when the pump delivers input; Escape is seen either
// way, but only what arrives while pumping.
TEST_F(MessagePumpTest, HeldBackInputIsDroppedAndEscapeIsSeen)
{
    struct Case {
        CMessagePump::Input input;
        bool clickArrives;
    };
    for (const Case c : {Case{CMessagePump::Input::Deliver, true}, Case{CMessagePump::Input::HoldBackInput, false}}) {
        QPushButton button("Stop");
        button.resize(80, 30);
        button.show();
        QCoreApplication::processEvents();
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });

        CMessagePump pump(c.input);
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent unpumped(type, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&button, &unpumped);
        }
        EXPECT_FALSE(pump.EscapePressed());

        PostClick(button);
        PostEscape(button);
        EXPECT_TRUE(pump.EscapePressed());
        EXPECT_EQ(clicks, c.clickArrives ? 1 : 0);
        EXPECT_TRUE(pump.EscapePressed()) << "a press stays noted until cleared";
        pump.ClearEscape();
        EXPECT_FALSE(pump.EscapePressed());
    }

    // Once the pump is gone, nothing is held back any more.
    QPushButton button("Stop");
    button.resize(80, 30);
    button.show();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });
    {
        CMessagePump pump;
        pump.Pump();
    }
    PostClick(button);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
}

TEST_F(MessagePumpTest, EscapeHeldDownOrScriptedCounts)
{
    CMessagePump pump;
    EXPECT_FALSE(pump.EscapePressed());
    AfxSetScriptedKeyState(VK_ESCAPE, 1);
    EXPECT_TRUE(pump.EscapePressed());
    AfxSetScriptedKeyState(VK_ESCAPE, 0);
    EXPECT_FALSE(pump.EscapePressed());
}

TEST_F(MessagePumpTest, QuitRequestEndsTheLoop)
{
    CMessagePump pump;
    EXPECT_TRUE(pump.Pump());
    AfxPostQuitMessage(3);
    EXPECT_FALSE(pump.Pump());
    // The quit stays in force for every later pump until the application's loop ends.
    EXPECT_FALSE(AfxPumpPendingMessages());
    EXPECT_FALSE(pump.Pump());

    // The application's own loop runs and ends; afterwards pumps run again.
    RunApplicationLoopOnce();
    EXPECT_TRUE(pump.Pump());
    EXPECT_TRUE(AfxPumpPendingMessages());
}

} // namespace
