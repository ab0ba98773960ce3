// The page loop of printing: page order and range, copies, the job name, and that every
// way out of a job (done, cancelled, printer failure, which says so) leaves the parent
// enabled, the document ended or aborted, the end hook run once and the status dialog gone.
#include "PdfText.h"
#include "SheetPrinter.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/CPrintingDialog.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

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
    EXPECT_EQ(Print(client, pdf, 1, 5, 5), PrintJobResult::Aborted);
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
    // A file in a folder that does not exist: the printer cannot start its first page.
    EXPECT_EQ(Print(client, "/nonexistent-folder/out.pdf", 1, 3, 3), PrintJobResult::PageFailed);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, AFX_IDP_PRINT_FAILED);
    EXPECT_TRUE(client.pages.empty());
    EXPECT_EQ(client.begins, 1);
    EXPECT_EQ(client.ends, 1);
    EXPECT_TRUE(parent.IsWindowEnabled());
    EXPECT_TRUE(statusGone);
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
