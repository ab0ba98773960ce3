// The help-aware file dialog: the caller's help context answers the Help request, and the
// initial directory comes from the INI section "DIRECTORY", which the dialog never writes.
#include "dialogs/CHelpFileDialog.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/ProcessStateReset.h"
#include "support/TypedKeys.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr DWORD kSaveFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT;
constexpr const char* kFilter = "Protocol files (*.prt)|*.prt|All files (*.*)|*.*||";

class RecordingHelpFileDialog : public CHelpFileDialog {
public:
    using CHelpFileDialog::CHelpFileDialog;
    std::vector<UINT> topics;

protected:
    void ShowHelpTopic(UINT nContextId) override { topics.push_back(nContextId); }
};

class CHelpFileDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        folder = fs::temp_directory_path() / ("helpfiledialog-" + std::to_string(::getpid()));
        fs::create_directories(folder / "results");
        ini = (folder / "Taliso.INI").string();
        std::ofstream(ini) << "[DIRECTORY]\nProtocolResults=" << (folder / "results").string()
                           << "\nConfigurations=\n[SETUP]\nPort=2\n";
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string IniText() const
    {
        std::ifstream file(ini);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    fs::path folder;
    std::string ini;
};

TEST_F(CHelpFileDialogTest, HelpRequestOpensTheCallersContextAndArgumentsReachTheFileDialog)
{
    ScriptedUi ui;
    RecordingHelpFileDialog dialog(FALSE, "prt", "log", kSaveFlags, kFilter, nullptr, 116);
    EXPECT_EQ(dialog.GetHelpContextId(), 116);
    ui.QueueModal([&](CWnd& dlg) {
        auto& request = static_cast<CFileDialog&>(dlg);
        EXPECT_FALSE(request.IsOpenDialog());
        EXPECT_EQ(request.GetDefExt(), "prt");
        EXPECT_EQ(request.GetInitialFileName(), "log");
        EXPECT_EQ(request.m_ofn.Flags, kSaveFlags);
        ASSERT_EQ(request.GetFilters().size(), 2u);
        EXPECT_EQ(request.GetFilters()[0].second, "*.prt");
        EXPECT_EQ(dlg.WindowProc(WM_COMMANDHELP, 0, 0), TRUE);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.topics, std::vector<UINT>{116});
}

// On screen (no script takes the prompt) F1 typed in the file dialog opens the caller's context.
TEST_F(CHelpFileDialogTest, F1InTheShownFileDialogOpensTheCallersContext)
{
    RecordingHelpFileDialog dialog(TRUE, "prt", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kFilter, nullptr, 115);
    bool shown = false;
    const RealModalWindowAnswered answeredHere;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activeModalWidget() != nullptr;
        typedkeys::TypeKey(Qt::Key_F1);
        typedkeys::TypeKey(Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(shown);
    EXPECT_EQ(dialog.topics, std::vector<UINT>{115});
}

// The directory of the key is where the prompt starts; choosing a file elsewhere changes
// neither the INI file nor the key.
TEST_F(CHelpFileDialogTest, InitialDirectoryComesFromTheIniAndIsNeverWrittenBack)
{
    const std::string before = IniText();
    const std::string results = (folder / "results").string();
    ScriptedUi ui;
    CHelpFileDialog dialog(FALSE, "prt", nullptr, kSaveFlags, kFilter, nullptr, 110);
    dialog.SetInitialDirFromProfile("ProtocolResults", ini.c_str());
    EXPECT_EQ(dialog.GetInitialDir(), results);
    ui.QueueModal([&](CWnd& dlg) {
        auto& request = static_cast<CFileDialog&>(dlg);
        ASSERT_NE(request.m_ofn.lpstrInitialDir, nullptr);
        EXPECT_EQ(std::string(request.m_ofn.lpstrInitialDir), results);
        request.ChooseFile(CString((folder / "elsewhere").string()));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetPathName(), CString((folder / "elsewhere.prt").string()));
    EXPECT_EQ(IniText(), before);
}

// An absent or empty key leaves the dialog's own default directory.
TEST_F(CHelpFileDialogTest, MissingOrEmptyKeyLeavesNoInitialDirectory)
{
    for (const char* key : {"Configurations", "MonitorAreas"}) {
        CHelpFileDialog dialog(TRUE, "prt", nullptr, kSaveFlags, kFilter, nullptr, 115);
        dialog.SetInitialDirFromProfile(key, ini.c_str());
        EXPECT_EQ(dialog.m_ofn.lpstrInitialDir, nullptr) << key;
        EXPECT_EQ(dialog.GetInitialDir(), "") << key;
    }
    CHelpFileDialog noFile(TRUE, "prt", nullptr, kSaveFlags, kFilter, nullptr, 115);
    noFile.SetInitialDirFromProfile("ProtocolResults", (folder / "absent.INI").string().c_str());
    EXPECT_EQ(noFile.m_ofn.lpstrInitialDir, nullptr);
}

// Without a path the key is read from the application's profile, the program's INI file.
TEST_F(CHelpFileDialogTest, ReadsTheApplicationsProfileByDefault)
{
    CWinApp app{"Taliso"};
    app.SetProfileName(ini.c_str());
    CHelpFileDialog dialog(FALSE, "prt", nullptr, kSaveFlags, kFilter, nullptr, 110);
    dialog.SetInitialDirFromProfile("ProtocolResults");
    EXPECT_EQ(dialog.GetInitialDir(), (folder / "results").string());
}

} // namespace
