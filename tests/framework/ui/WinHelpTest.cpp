// Help files go to the desktop's opener without the program waiting for it; an opener
// that cannot show the file is reported, naming the file, once it has ended.
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WinHelp.h"
#include "framework/ui/WindowHandle.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class WinHelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        folder = fs::temp_directory_path() / ("winhelp-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        helpFile = folder / "HELP_ENG.HLP";
        std::ofstream(helpFile) << "help";
    }
    void TearDown() override { fs::remove_all(folder); }

    // A stand-in for the desktop's opener: writes down the file it got and exits with the code.
    fs::path Opener(int exitCode) const
    {
        const fs::path script = folder / ("opener-" + std::to_string(exitCode));
        std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << OpenedMark().string() << "'\nexit " << exitCode << "\n";
        fs::permissions(script, fs::perms::owner_all);
        return script;
    }
    fs::path OpenedMark() const { return folder / "opened"; }
    std::string Opened() const
    {
        std::ifstream file(OpenedMark());
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    // Runs the event loop until every opener has ended and its end was handled.
    static void WaitForOpeners()
    {
        const QDeadlineTimer hangGuard(30000);
        const auto running = [] {
            for (const QProcess* process : QCoreApplication::instance()->findChildren<QProcess*>())
                if (process->state() != QProcess::NotRunning) return true;
            return false;
        };
        while (running() && !hangGuard.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_FALSE(running());
    }

    fs::path folder;
    fs::path helpFile;
};

TEST_F(WinHelpTest, OpenerThatFailsIsReportedWithTheFileOnceItHasEnded)
{
    struct Case {
        const char* name;
        fs::path opener;
        bool reported;
    };
    const Case cases[] = {
        {"opener shows the file", Opener(0), false},
        {"opener exits with an error", Opener(1), true},
        {"opener cannot start", folder / "no-such-opener", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(OpenedMark());
        ScriptedUi ui;
        ui.SetDocumentOpener(c.opener.string().c_str());
        EXPECT_TRUE(WinHelp(nullptr, helpFile.string().c_str(), HELP_CONTEXT, 7)) << "the opener was started";
        WaitForOpeners();
        EXPECT_TRUE(ui.OpenedDocuments().empty()) << "handed to the opener, not only logged";
        if (c.reported) {
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            EXPECT_NE(ui.MessageBoxes()[0].text.Find(helpFile.string().c_str()), -1) << ui.MessageBoxes()[0].text.c_str();
        } else {
            EXPECT_TRUE(ui.MessageBoxes().empty());
            EXPECT_EQ(Opened(), helpFile.string());
        }
    }
}

} // namespace
