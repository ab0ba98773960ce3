#pragma once
// Every test starts from the state a fresh process has, whatever the tests before it left
// in the process-wide objects: CTest runs each test alone, a developer runs the whole
// binary at once, in any order.
#include <gtest/gtest.h>

#include "framework/ui/ScriptedUi.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMessageBox>
#include <QObject>
#include <QWidget>

#include <functional>
#include <utility>

// A destroyed main window asks the application to quit; once that request has run, Qt
// ends every later event loop at once until the application loop runs again. Running
// that loop briefly drops the request, after the events still waiting.
inline void ForgetQuitRequest()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return;
    QObject endOfQueue; // drops the exit below if a waiting quit ended the loop first
    QMetaObject::invokeMethod(&endOfQueue, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    QCoreApplication::exec();
}

// A test that answers a real modal window itself (Qt's own file dialog, with keys typed
// into it) lets it open while an object of this class lives.
class RealModalWindowAnswered {
public:
    RealModalWindowAnswered() { ++Count(); }
    ~RealModalWindowAnswered() { --Count(); }
    RealModalWindowAnswered(const RealModalWindowAnswered&) = delete;
    RealModalWindowAnswered& operator=(const RealModalWindowAnswered&) = delete;
    static bool Any() { return Count() > 0; }

private:
    static int& Count()
    {
        static int count = 0;
        return count;
    }
};

// Nobody answers a real modal window in a test run: one that opens with no scripted user
// interface in place (an error box after a fixture went missing, say) fails the test and
// is closed at once, so that the test ends instead of waiting for ever. Made by
// InstallUnscriptedModalGuard, as a child of the application.
class UnscriptedModalGuard : public QObject {
public:
    explicit UnscriptedModalGuard(QCoreApplication& application) : QObject(&application)
    {
        application.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && window != nullptr && window->isWindow() && window->isModal() &&
            ScriptedUi::Active() == nullptr && !RealModalWindowAnswered::Any()) {
            const auto* box = qobject_cast<QMessageBox*>(window);
            ADD_FAILURE() << "a modal window opened with nobody to answer it: \""
                          << (box != nullptr ? box->text() : window->windowTitle()).toStdString() << "\"";
            QMetaObject::invokeMethod(window, [window] { Close(*window); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void Close(QWidget& window)
    {
        if (auto* dialog = qobject_cast<QDialog*>(&window))
            dialog->reject();
        else
            window.close();
    }
};

// For binaries whose tests never run a real modal loop on purpose: called by
// Q_COREAPP_STARTUP_FUNCTION, it guards every application object made.
inline void InstallUnscriptedModalGuard()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        new UnscriptedModalGuard(*application);
}

// A retry prompt that the test did not answer gives up (so that a failing device is not
// retried for ever) and fails the test.
inline void FailUnscriptedRetries()
{
    ScriptedUi::SetUnscriptedRetryReport([](const MessageBoxRecord& box) {
        ADD_FAILURE() << "a retry prompt nobody answered was given up: \"" << box.text.c_str() << "\"";
    });
}

// Restores the process state after every test: the event loop's, then the program's own
// through resetProgram.
class ProcessStateReset : public ::testing::EmptyTestEventListener {
public:
    explicit ProcessStateReset(std::function<void()> resetProgram) : m_resetProgram(std::move(resetProgram)) {}

    void OnTestEnd(const ::testing::TestInfo&) override
    {
        ForgetQuitRequest();
        if (m_resetProgram)
            m_resetProgram();
    }

private:
    std::function<void()> m_resetProgram;
};

inline bool InstallProcessStateReset(std::function<void()> resetProgram = nullptr)
{
    FailUnscriptedRetries();
    ::testing::UnitTest::GetInstance()->listeners().Append(new ProcessStateReset(std::move(resetProgram)));
    return true;
}
