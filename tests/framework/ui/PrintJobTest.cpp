// The page loop of printing: page order and range, copies, the job name, and that every
// way out of a job (done, cancelled, printer failure, which says so and why) leaves the
// parent enabled, the document ended or aborted, the end hook run once and the status
// dialog gone; a PDF file that cannot be written leaves the old one as it was.
#include "PdfText.h"
#include "SheetPrinter.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/CPrintingDialog.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"
#include "support/SmallDisk.h"
#include "support/Unprivileged.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void WriteFile(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<std::string> Entries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// What the system says for an errno value, as the messages end it.
std::string Reports(int error) { return std::string("The system reports: ") + std::strerror(error) + "."; }

class PrintJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    }
    void TearDown() override
    {
        if (parent.GetSafeHwnd() != nullptr) parent.DestroyWindow();
    }

    std::string PdfPath(const char* name) const { return dir.filePath(name).toStdString(); }

    PrintJobResult Print(SheetPrinter& client, const std::string& pdf, UINT from, UINT to, UINT maxPage, UINT copies = 1)
    {
        CPrintInfo info;
        info.SetMaxPage(maxPage);
        info.m_pPD->SetPathName(pdf.c_str());
        info.m_pPD->m_pd.nFromPage = WORD(from);
        info.m_pPD->m_pd.nToPage = WORD(to);
        info.m_pPD->m_pd.nCopies = WORD(copies);
        CPrintingDialog status;
        currentStatus = &status;
        const PrintJobResult result = AfxRunPrintJob(client, info, status, &parent, "Sheets");
        statusGone = status.GetSafeHwnd() == nullptr;
        currentStatus = nullptr;
        return result;
    }

    LanguageScripts texts{"framework.rc", "printing.rc"};
    ScriptedUi ui;
    QTemporaryDir dir;
    CWnd parent;
    bool statusGone = false;
    CPrintingDialog* currentStatus = nullptr;
};

TEST_F(PrintJobTest, PrintsTheRangeInItsDirectionClampedToThePages)
{
    if (!PdfToolsAvailable()) GTEST_SKIP() << "poppler-utils missing (scripts/install-deps.sh installs them)";
    struct Case {
        UINT from, to, maxPage, copies;
        std::vector<UINT> pages;
    };
    const Case cases[] = {
        {1, 3, 3, 1, {1, 2, 3}},
        {3, 1, 3, 1, {3, 2, 1}},       // backwards
        {0, 9, 3, 1, {1, 2, 3}},       // clamped into the pages
        {9, 0, 3, 1, {3, 2, 1}},
        {2, 2, 3, 1, {2}},
        {1, 2, 2, 2, {1, 2, 1, 2}},    // copies repeat the range
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(index));
        const std::string pdf = PdfPath(("range" + std::to_string(index++) + ".pdf").c_str());
        SheetPrinter client;
        EXPECT_EQ(Print(client, pdf, c.from, c.to, c.maxPage, c.copies), PrintJobResult::Printed);
        EXPECT_EQ(client.pages, c.pages);
        ASSERT_EQ(PdfPageCount(pdf), int(c.pages.size()));
        for (std::size_t i = 0; i < c.pages.size(); ++i)
            EXPECT_EQ(PdfPageText(pdf, int(i + 1)), "Sheet " + std::to_string(c.pages[i]));
        EXPECT_EQ(client.begins, 1);
        EXPECT_EQ(client.ends, 1);
        EXPECT_TRUE(parent.IsWindowEnabled());
        EXPECT_TRUE(statusGone);
    }
}

TEST_F(PrintJobTest, CancelDuringTheFirstPageStopsAfterItAndLeavesTheParentEnabled)
{
    if (!PdfToolsAvailable()) GTEST_SKIP() << "poppler-utils missing";
    SheetPrinter client;
    bool parentDisabledWhilePrinting = false;
    bool cancelUsable = false;
    client.onPage = [&](UINT page) {
        parentDisabledWhilePrinting = !parent.IsWindowEnabled();
        cancelUsable = currentStatus != nullptr && AfxWidgetFromHandle(currentStatus->GetDlgItem(IDCANCEL)->GetSafeHwnd())->isEnabled();
        // The user presses Cancel in the status dialog while page 1 prints.
        if (page == 1 && currentStatus != nullptr) currentStatus->SendMessage(WM_COMMAND, IDCANCEL);
    };
    const std::string pdf = PdfPath("abort.pdf");
    WriteFile(pdf, "the PDF printed before");
    EXPECT_EQ(Print(client, pdf, 1, 5, 5), PrintJobResult::Aborted);
    EXPECT_EQ(ReadFile(pdf), "the PDF printed before");
    EXPECT_EQ(Entries(dir.path().toStdString()), std::vector<std::string>{"abort.pdf"}) << "no temporary file stays";
    EXPECT_EQ(client.pages, std::vector<UINT>{1});
    EXPECT_TRUE(parentDisabledWhilePrinting);
    EXPECT_TRUE(cancelUsable);
    EXPECT_TRUE(parent.IsWindowEnabled());
    EXPECT_EQ(client.ends, 1);
    EXPECT_TRUE(statusGone);
}

TEST_F(PrintJobTest, APrinterThatFailsEndsTheJobCleanly)
{
    SheetPrinter client;
    // A file in a folder that does not exist: the printer cannot start the document, and
    // the message names the file and the reason.
    EXPECT_EQ(Print(client, "/nonexistent-folder/out.pdf", 1, 3, 3), PrintJobResult::StartFailed);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].helpId, AFX_IDP_PRINT_NOT_STARTED);
    EXPECT_EQ(std::string(ui.MessageBoxes()[0].text.c_str()),
              "The print job could not be started on /nonexistent-folder/out.pdf.\n" + Reports(ENOENT));
    EXPECT_TRUE(client.pages.empty());
    EXPECT_EQ(client.begins, 1);
    EXPECT_EQ(client.ends, 1);
    EXPECT_TRUE(parent.IsWindowEnabled());
    EXPECT_TRUE(statusGone);
}

TEST_F(PrintJobTest, APdfFileOnAFullDiskLeavesTheOldOneAndSaysWhy)
{
    const SmallDisk disk(64 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << "no right to mount a small disk: " << std::strerror(disk.Error());
    const fs::path pdf = disk.Path() / "report.pdf";
    WriteFile(pdf, "the PDF printed before");
    ASSERT_TRUE(disk.Fill());

    SheetPrinter client;
    EXPECT_EQ(Print(client, pdf.string(), 1, 3, 3), PrintJobResult::PageFailed);
    EXPECT_EQ(client.pages, (std::vector<UINT>{1, 2, 3}));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].helpId, AFX_IDP_PRINT_FAILED);
    EXPECT_EQ(std::string(ui.MessageBoxes()[0].text.c_str()),
              "Printing failed. The print job was cancelled.\n" + Reports(ENOSPC));
    EXPECT_EQ(ReadFile(pdf), "the PDF printed before");
    EXPECT_EQ(Entries(disk.Path()), (std::vector<std::string>{".filler", "report.pdf"})) << "no temporary file stays";
    EXPECT_EQ(client.ends, 1);
    EXPECT_TRUE(parent.IsWindowEnabled());
    EXPECT_TRUE(statusGone);

    // With room again, the same job replaces the file.
    fs::remove(disk.Path() / ".filler");
    ui.ClearMessageBoxes();
    SheetPrinter again;
    EXPECT_EQ(Print(again, pdf.string(), 1, 3, 3), PrintJobResult::Printed);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    if (PdfToolsAvailable()) {
        EXPECT_EQ(PdfPageCount(pdf.string()), 3);
    }
}

// A user who may not write the folder: a file there that the user may not write either,
// or a new one, is refused before a page is drawn, with the file named and the reason;
// one the user may write is written in place.
TEST_F(PrintJobTest, APdfFileInAFolderTheUserMayNotWrite)
{
    const fs::path shared = dir.filePath("shared").toStdString();
    fs::create_directory(shared);
    fs::permissions(dir.path().toStdString(), fs::perms(0755)); // the user reaches the folder
    const fs::path locked = shared / "locked.pdf";
    const fs::path open = shared / "open.pdf";
    const fs::path created = shared / "new.pdf";
    WriteFile(locked, "locked before");
    WriteFile(open, "open before");
    fs::permissions(locked, fs::perms(0444));
    fs::permissions(open, fs::perms(0666));
    fs::permissions(shared, fs::perms(0555));

    const int result = unprivileged::Run([&] {
        int step = 0;
        for (const fs::path& refused : {locked, created}) {
            ++step;
            ui.ClearMessageBoxes();
            SheetPrinter client;
            if (Print(client, refused.string(), 1, 2, 2) != PrintJobResult::StartFailed || !client.pages.empty())
                return step * 10 + 1;
            if (ui.MessageBoxes().size() != 1 || ui.MessageBoxes()[0].helpId != AFX_IDP_PRINT_NOT_STARTED)
                return step * 10 + 2;
            if (std::string(ui.MessageBoxes()[0].text.c_str()) !=
                "The print job could not be started on " + refused.string() + ".\n" + Reports(EACCES))
                return step * 10 + 3;
        }
        ui.ClearMessageBoxes();
        SheetPrinter client;
        if (Print(client, open.string(), 1, 2, 2) != PrintJobResult::Printed || !ui.MessageBoxes().empty()) return 40;
        return 0;
    });
    fs::permissions(shared, fs::perms(0755));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile(locked), "locked before");
    EXPECT_FALSE(fs::exists(created));
    EXPECT_EQ(ReadFile(open).substr(0, 5), "%PDF-");
    if (PdfToolsAvailable()) {
        EXPECT_EQ(PdfPageCount(open.string()), 2);
    }
    EXPECT_EQ(Entries(shared), (std::vector<std::string>{"locked.pdf", "open.pdf"}));
}

TEST(PrintJobName, IsTheDocumentNameCutTo31Characters)
{
    const std::string thirtyOne(31, 'n');
    struct Case {
        std::string name, job;
    };
    const Case cases[] = {
        {"Report", "Report"},
        {thirtyOne, thirtyOne},
        {thirtyOne + "xyz", thirtyOne},
        // Characters, not bytes: 30 letters and two umlauts keep 31 characters.
        {std::string(30, 'a') + "\xC3\xA4\xC3\xB6", std::string(30, 'a') + "\xC3\xA4"},
    };
    for (const Case& c : cases) EXPECT_EQ(std::string(AfxPrintJobName(c.name.c_str()).c_str()), c.job) << c.name;
}

TEST_F(PrintJobTest, PrintDialogReturnsTheChosenRangeAndCopies)
{
    CPrintInfo info;
    info.SetMaxPage(4);
    info.m_pPD->SetPathName(PdfPath("chosen.pdf").c_str());
    ui.QueueModal([](CWnd& dialog) {
        EXPECT_TRUE(dialog.GetDlgItem(CPrintDialog::IDC_PAGES)->IsWindowEnabled());
        dialog.SendMessage(WM_COMMAND, CPrintDialog::IDC_PAGES);
        static_cast<CDialog&>(dialog).CheckRadioButton(CPrintDialog::IDC_ALL, CPrintDialog::IDC_PAGES, CPrintDialog::IDC_PAGES);
        dialog.SetDlgItemText(CPrintDialog::IDC_FROM, "3");
        dialog.SetDlgItemText(CPrintDialog::IDC_TO, "2");
        dialog.SetDlgItemText(CPrintDialog::IDC_COPIES, "2");
        dialog.SendMessage(WM_COMMAND, IDOK);
    });
    ASSERT_TRUE(AfxDoPreparePrinting(&info));
    EXPECT_EQ(info.GetFromPage(), 3u);
    EXPECT_EQ(info.GetToPage(), 2u);
    EXPECT_EQ(info.GetCopies(), 2u);

    // Without page numbers the range choice is off, and a page outside the pages is refused.
    CPrintInfo single;
    single.SetMaxPage(1);
    single.m_pPD->m_pd.Flags |= PD_NOPAGENUMS;
    ui.QueueModal([](CWnd& dialog) {
        EXPECT_FALSE(dialog.GetDlgItem(CPrintDialog::IDC_PAGES)->IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(CPrintDialog::IDC_FROM)->IsWindowEnabled());
        dialog.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_FALSE(AfxDoPreparePrinting(&single));
}

} // namespace
