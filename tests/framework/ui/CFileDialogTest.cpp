#include "framework/ui/CFileDialog.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(CFileDialog, FilterStringSplitsIntoNamesAndPatterns)
{
    const auto filters = AfxParseFileFilter("Text files (*.txt)|*.txt|Logs|*.log;*.old|All files (*.*)|*.*||");
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(filters[0].first, "Text files (*.txt)");
    EXPECT_EQ(filters[1].second, "*.log;*.old");
    EXPECT_EQ(filters[2].second, "*.*");
    EXPECT_TRUE(AfxParseFileFilter(nullptr).empty());
    EXPECT_EQ(AfxParseFileFilter("Only a name|").size(), 0u);
    EXPECT_EQ(AfxParseFileFilter("A|*.a|B").size(), 1u); // a name without patterns is left out
}

class CFileDialogRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("filedialog-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        std::ofstream(folder / "report.txt") << "old";
    }
    void TearDown() override { fs::remove_all(folder); }
    CString Path(const char* name) const { return CString((folder / name).string()); }

    fs::path folder;
};

// Saving adds the default extension, then asks before replacing a file that exists.
TEST_F(CFileDialogRun, SaveAddsTheExtensionAndAsksBeforeReplacing)
{
    for (const int answer : {IDNO, IDYES}) {
        ScriptedUi ui;
        CFileDialog dialog(FALSE, "txt", "report", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                           "Text files (*.txt)|*.txt|All files (*.*)|*.*||");
        const std::string initialDir = folder.string();
        dialog.m_ofn.lpstrInitialDir = initialDir.c_str();
        ui.QueueModal([&](CWnd& dlg) {
            auto& request = static_cast<CFileDialog&>(dlg);
            EXPECT_FALSE(request.IsOpenDialog());
            EXPECT_EQ(request.GetTitle(), "Save As");
            EXPECT_EQ(request.GetFilters().size(), 2u);
            EXPECT_STREQ(request.m_ofn.lpstrInitialDir, initialDir.c_str());
            request.ChooseFile(Path("report"), 2);
        });
        ui.QueueAnswer(answer);
        EXPECT_EQ(dialog.DoModal(), answer == IDYES ? IDOK : IDCANCEL);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].flags, MB_YESNO | MB_ICONEXCLAMATION);
        EXPECT_EQ(ui.MessageBoxes()[0].text, Path("report.txt") + " already exists.\nDo you want to replace it?");
        if (answer == IDYES) {
            EXPECT_EQ(dialog.GetPathName(), Path("report.txt"));
            EXPECT_EQ(dialog.GetFileName(), "report.txt");
            EXPECT_EQ(dialog.GetFileTitle(), "report");
            EXPECT_EQ(dialog.GetFileExt(), "txt");
            EXPECT_EQ(dialog.m_ofn.nFilterIndex, 2u);
        } else {
            EXPECT_EQ(dialog.GetPathName(), "");
        }
    }
}

// The default extension goes to a name without one; the parts come from the last path
// part only, so a dot in a folder name is no extension.
TEST_F(CFileDialogRun, DefaultExtensionAndNamePartsLookAtTheFileNameOnly)
{
    struct Case {
        const char* chosen;
        CString name, title, ext; // of the path accepted
    };
    const Case cases[] = {
        {"dir.d/plain", "plain.dat", "plain", "dat"},
        {"dir.d/.hidden", ".hidden.dat", ".hidden", "dat"},
        {"dir.d/archive.tar.gz", "archive.tar.gz", "archive.tar", "gz"},
        {"dir.d/trailing.", "trailing.", "trailing", ""},
    };
    fs::create_directory(folder / "dir.d");
    for (const Case& c : cases) {
        ScriptedUi ui;
        CFileDialog dialog(FALSE, "dat", nullptr, OFN_HIDEREADONLY);
        ui.QueueModal([&](CWnd& dlg) { static_cast<CFileDialog&>(dlg).ChooseFile(Path(c.chosen)); });
        ASSERT_EQ(dialog.DoModal(), IDOK) << c.chosen;
        EXPECT_EQ(dialog.GetPathName(), CString((folder / "dir.d" / c.name.str()).string()));
        EXPECT_EQ(dialog.GetFileName(), c.name);
        EXPECT_EQ(dialog.GetFileTitle(), c.title) << c.chosen;
        EXPECT_EQ(dialog.GetFileExt(), c.ext) << c.chosen;
    }
}

TEST_F(CFileDialogRun, OpenInsistsOnAnExistingFileAndCancelsWithoutChoice)
{
    ScriptedUi ui;
    CFileDialog open(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, "All files|*.*||");
    ui.QueueModal([&](CWnd& dlg) { static_cast<CFileDialog&>(dlg).ChooseFile(Path("missing.txt")); });
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, Path("missing.txt") + "\nFile not found.\nCheck the file name and try again.");

    ui.QueueModal([&](CWnd& dlg) { static_cast<CFileDialog&>(dlg).ChooseFile(Path("report.txt")); });
    EXPECT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), Path("report.txt"));

    ui.QueueModal([](CWnd&) {});
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_EQ(open.GetPathName(), "");

    // A save into a folder that does not exist, with the path check asked for.
    CFileDialog save(FALSE, nullptr, nullptr, OFN_PATHMUSTEXIST);
    ui.QueueModal([&](CWnd& dlg) { static_cast<CFileDialog&>(dlg).ChooseFile(Path("nowhere/out.txt")); });
    EXPECT_EQ(save.DoModal(), IDCANCEL);
    EXPECT_EQ(ui.MessageBoxes().back().text, Path("nowhere/out.txt") + "\nPath does not exist.\nCheck the path and try again.");
}

} // namespace
