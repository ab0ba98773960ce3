#pragma once
// Every test starts from the state a fresh process has, whatever the tests before it left
// in the process-wide objects: CTest runs each test alone, a developer runs the whole
// binary at once, in any order.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>

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
    ::testing::UnitTest::GetInstance()->listeners().Append(new ProcessStateReset(std::move(resetProgram)));
    return true;
}
