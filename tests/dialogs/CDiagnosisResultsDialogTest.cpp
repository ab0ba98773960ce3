// The diagnosis results dialog against the simulated devices: a read fills the report and
// keeps the dialog open, failures keep or empty it as they must, and a save writes the
// report byte for byte.
#include "device/ProcedureApplication.h"
#include "dialogs/CDiagnosisResultsDialog.h"
#include "framework/core/CException.h"
#include "framework/core/SyncWatch.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"
#include "tests/framework/ui/PdfText.h"
#include "tests/framework/ui/ScreenshotFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

using Dlg = CDiagnosisResultsDialog;
namespace fs = std::filesystem;

class SimulatingApplication : public ProcedureApplication {
public:
    BOOL IsSimulating() override { return TRUE; }
    CString GetIniPath() override { return CString(); }
    void ShowMessageBarText(const CString&, BOOL) override {}
};

// A dialog whose report comes from the test.
class ScriptedResultsDialog : public CDiagnosisResultsDialog {
public:
    std::function<bool(CString&)> build;
    bool BuildText(CString& text) override { return build(text); }
};

class DiagnosisResultsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(language.Loaded()) << language.Error();
        AfxEnsureGuiApplication();
        previous = SetProcedureApplication(&application);
        directory = fs::temp_directory_path() / ("diagnosis-results-" + std::to_string(::getpid()));
        fs::create_directories(directory);
    }
    void TearDown() override
    {
        SetProcedureApplication(previous);
        fs::remove_all(directory);
    }

    INT_PTR Run(CDialog& dialog, const std::function<void(DialogDriver&)>& script)
    {
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            script(driver);
            if (!static_cast<CDialog&>(dlg).IsEnded()) driver.Cancel();
        });
        return dialog.DoModal();
    }

    LanguageScripts language{"framework.rc", "procedures.rc", "kvrconfig.rc", "results.rc", "printing.rc"};
    SimulatingApplication application;
    ProcedureApplication* previous = nullptr;
    ScriptedUi ui;
    fs::path directory;
};

// Reading keeps the dialog open and shows the report; a simulated scanner has no
// statistics block, and a simulated unit never visits its scanners.
TEST_F(DiagnosisResultsDialogTest, ReadShowsTheReportAndKeepsTheDialogOpen)
{
    CString statistics;
    statistics.LoadString(1077);
    CString scannerHeading;
    scannerHeading.LoadString(1101);

    CZOKDiagnosisResultsDialog zok;
    Run(zok, [&](DialogDriver& driver) {
        EXPECT_TRUE(driver.Text(Dlg::IDC_REPORT).IsEmpty());
        EXPECT_TRUE(driver.IsEnabled(Dlg::IDC_PRINT));
        driver.Ok();
        EXPECT_FALSE(zok.IsEnded());
        const std::string report = driver.Text(Dlg::IDC_REPORT).c_str();
        EXPECT_NE(report.find(std::string(80, '*') + "\r\n"), std::string::npos);
        EXPECT_EQ(report.find(std::string(statistics.c_str()).substr(0, 10)), std::string::npos);
        EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
        EXPECT_EQ(driver.FocusId(), Dlg::IDC_REPORT);
    });

    CKVRDiagnosisResultsDialog kvr;
    Run(kvr, [&](DialogDriver& driver) {
        driver.Click(Dlg::IDC_INCLUDE_SCANNERS);
        driver.Ok();
        EXPECT_EQ(kvr.m_bIncludeScanners, 1);
        const std::string report = driver.Text(Dlg::IDC_REPORT).c_str();
        EXPECT_FALSE(report.empty());
        EXPECT_EQ(report.find("Scanner 1"), std::string::npos);
    });
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

// Print sends the report as shown to the printer, in both families: every line, on as
// many pages as needed, in letters a user reads on paper.
TEST_F(DiagnosisResultsDialogTest, PrintPrintsTheShownReport)
{
    if (!PdfToolsAvailable()) GTEST_SKIP() << "poppler-utils missing";
    ScreenshotFolder printed("diagnosis-results"); // the PDFs stay there when TALISO_SCREENSHOT_DIR is set
    CZOKDiagnosisResultsDialog zok;
    CKVRDiagnosisResultsDialog kvr;
    for (CDiagnosisResultsDialog* dialog : {static_cast<CDiagnosisResultsDialog*>(&zok), static_cast<CDiagnosisResultsDialog*>(&kvr)}) {
        const std::string pdf = (printed.Path() / (dialog == &zok ? "zok.pdf" : "kvr.pdf")).string();
        SCOPED_TRACE(pdf);
        std::string report;
        Run(*dialog, [&](DialogDriver& driver) {
            driver.Ok();
            report = driver.Text(Dlg::IDC_REPORT).c_str();
            ui.QueueModal([&](CWnd& print) {
                // One page is all the dialog offers; the text decides how many print.
                EXPECT_FALSE(print.GetDlgItem(CPrintDialog::IDC_PAGES)->IsWindowEnabled());
                print.SetDlgItemText(CPrintDialog::IDC_FILE, pdf.c_str());
                print.SendMessage(WM_COMMAND, IDOK);
            });
            driver.Click(Dlg::IDC_PRINT);
            EXPECT_TRUE(dialog->IsWindowEnabled());
        });
        ASSERT_GE(PdfPageCount(pdf), 1);
        const std::string firstLine = report.substr(0, report.find("\r\n"));
        EXPECT_NE(PdfPageText(pdf, 1).find(firstLine.substr(0, 20)), std::string::npos) << firstLine;
        const std::vector<PdfWord> words = PdfPageWords(pdf, 1);
        ASSERT_FALSE(words.empty());
        for (const PdfWord& word : words) {
            EXPECT_GE(word.Height(), 8.0) << word.text;
            EXPECT_LE(word.Height(), 12.0) << word.text;
        }
    }
}

// A failed read leaves the shown report; an exception empties it and reports 315.
TEST_F(DiagnosisResultsDialogTest, FailuresKeepOrEmptyTheReport)
{
    ScriptedResultsDialog dialog;
    Run(dialog, [&](DialogDriver& driver) {
        dialog.build = [](CString& text) {
            text = "first\r\n";
            return true;
        };
        driver.Ok();
        dialog.build = [](CString& text) {
            text = "half";
            return false;
        };
        driver.Ok();
        EXPECT_EQ(driver.Text(Dlg::IDC_REPORT), "first\r\n");
        EXPECT_TRUE(ui.MessageBoxes().empty());
        dialog.build = [](CString&) -> bool { throw CFileException(CFileException::genericException); };
        driver.Ok();
        EXPECT_TRUE(driver.Text(Dlg::IDC_REPORT).IsEmpty());
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].id, 315u);
    });

    CString text = "x";
    CDiagnosisResultsDialog base;
    EXPECT_TRUE(base.BuildText(text));
    EXPECT_TRUE(text.IsEmpty());
}

// The saved file holds the report's bytes, nothing more; then 439 names the file.
// A file that cannot be opened reports 445 and writes nothing.
TEST_F(DiagnosisResultsDialogTest, SaveWritesTheReportByteForByte)
{
    const CString report = "line one\r\nline two\r\n";
    const fs::path target = directory / "report.txt";
    const fs::path blocked = directory / "taken.txt";
    fs::create_directory(blocked); // a directory cannot be opened as a file

    ScriptedResultsDialog dialog;
    dialog.build = [&](CString& text) {
        text = report;
        return true;
    };
    Run(dialog, [&](DialogDriver& driver) {
        driver.Ok();
        ui.QueueModal([&](CWnd& dlg) {
            auto& request = static_cast<CFileDialog&>(dlg);
            EXPECT_FALSE(request.IsOpenDialog());
            EXPECT_EQ(request.GetDefExt(), "txt");
            EXPECT_EQ(request.m_ofn.Flags & (OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST), DWORD(OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST));
            request.ChooseFile(target.c_str());
        });
        SyncWatch syncs;
        driver.Click(Dlg::IDC_SAVE);
        EXPECT_EQ(syncs.Take(), SyncWatch::DurableWriteOf(target));
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].text.Find(target.c_str()) >= 0, true) << ui.MessageBoxes()[0].text.c_str();

        ui.ClearMessageBoxes();
        ui.QueueModal([&](CWnd& dlg) { static_cast<CFileDialog&>(dlg).ChooseFile(blocked.c_str()); });
        ui.QueueAnswer(IDYES); // the overwrite question, if asked
        driver.Click(Dlg::IDC_SAVE);
        ASSERT_FALSE(ui.MessageBoxes().empty());
        CString expected;
        AfxFormatString1(expected, 445, blocked.c_str());
        EXPECT_EQ(ui.MessageBoxes().back().text, expected);

        ui.ClearMessageBoxes();
        ui.QueueModal([](CWnd&) {}); // the user cancels the file prompt
        driver.Click(Dlg::IDC_SAVE);
        EXPECT_TRUE(ui.MessageBoxes().empty());
    });

    std::ifstream file(target, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    EXPECT_EQ(bytes.str(), std::string(report.c_str()));
}

} // namespace
