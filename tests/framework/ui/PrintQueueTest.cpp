// Printing to the print system's queues, against a scheduler of the test's own: the
// dialogs list its queues, a job's pages come out of the queue's device, and a job that
// is cancelled or that the queue refuses or drops ends cleanly on both sides.
#include "PdfText.h"
#include "ScreenshotFolder.h"
#include "SheetPrinter.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CComboBox.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/CPrintingDialog.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"
#include "support/PrintScheduler.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ComboTexts(CWnd& combo)
{
    CComboBox box;
    box.Attach(combo.GetSafeHwnd());
    std::vector<std::string> texts;
    for (int i = 0; i < box.GetCount(); ++i) {
        CString text;
        box.GetLBText(i, text);
        texts.emplace_back(text.c_str());
    }
    box.Detach();
    return texts;
}

int ComboSelection(CWnd& combo)
{
    CComboBox box;
    box.Attach(combo.GetSafeHwnd());
    const int selected = box.GetCurSel();
    box.Detach();
    return selected;
}

void ChoosePrinter(CWnd& dialog, int index)
{
    CWnd* combo = dialog.GetDlgItem(CPrintDialog::IDC_PRINTER);
    CComboBox box;
    box.Attach(combo->GetSafeHwnd());
    box.SetCurSel(index);
    box.Detach();
    dialog.SendMessage(WM_COMMAND, WPARAM(MAKELONG(WORD(CPrintDialog::IDC_PRINTER), CBN_SELCHANGE)), LPARAM(combo->m_hWnd));
}

class PrintQueueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        ASSERT_TRUE(scheduler.Running()) << scheduler.Error();
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
        savedSetup = AfxGetPrinterSetup();
        AfxGetPrinterSetup().queue.reset(); // no choice made yet in this session
    }
    void TearDown() override
    {
        AfxGetPrinterSetup() = savedSetup;
        if (parent.GetSafeHwnd() != nullptr) parent.DestroyWindow();
    }

    PrintJobResult Print(SheetPrinter& client, const char* queue, UINT pages)
    {
        CPrintInfo info;
        info.SetMaxPage(pages);
        info.m_pPD->SetQueueName(queue);
        info.m_pPD->m_pd.nFromPage = 1;
        info.m_pPD->m_pd.nToPage = WORD(pages);
        CPrintingDialog status;
        currentStatus = &status;
        const PrintJobResult result = AfxRunPrintJob(client, info, status, &parent, "Sheets");
        currentStatus = nullptr;
        return result;
    }

    std::vector<UINT> MessageIds() const
    {
        std::vector<UINT> ids;
        for (const MessageBoxRecord& box : ui.MessageBoxes()) ids.push_back(box.id);
        return ids;
    }

    LanguageScripts texts{"framework.rc", "printing.rc"};
    PrintScheduler scheduler{{{"Archive", true, false, "Basement"},
                              {"Office", true, true, "Room 12"},
                              {"Closed", false, false, ""}}};
    ScriptedUi ui;
    CWnd parent;
    PrinterSetup savedSetup;
    CPrintingDialog* currentStatus = nullptr;
};

TEST_F(PrintQueueTest, DialogsListTheQueuesWithTheDefaultChosenAndKeepTheChoice)
{
    ScreenshotFolder shots("print-queues");
    CPrintInfo info;
    info.SetMaxPage(3);
    ui.QueueModal([&](CWnd& dialog) {
        CWnd* printers = dialog.GetDlgItem(CPrintDialog::IDC_PRINTER);
        ASSERT_NE(printers, nullptr);
        EXPECT_EQ(ComboTexts(*printers), (std::vector<std::string>{"Archive", "Closed", "Office", "PDF file"}));
        EXPECT_EQ(ComboSelection(*printers), 2);
        // The file is asked for only while the PDF file is the printer.
        EXPECT_FALSE(dialog.GetDlgItem(CPrintDialog::IDC_FILE)->IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(CPrintDialog::IDC_BROWSE)->IsWindowEnabled());
        shots.Save(AfxWidgetFromHandle(dialog.GetSafeHwnd())->grab().toImage(), "print-dialog.png");
        if (auto* box = qobject_cast<QComboBox*>(AfxWidgetFromHandle(printers->GetSafeHwnd()))) {
            box->showPopup();
            shots.Save(box->view()->window()->grab().toImage(), "print-dialog-printers.png");
            box->hidePopup();
        }
        ChoosePrinter(dialog, 3);
        EXPECT_TRUE(dialog.GetDlgItem(CPrintDialog::IDC_FILE)->IsWindowEnabled());
        ChoosePrinter(dialog, 0);
        EXPECT_FALSE(dialog.GetDlgItem(CPrintDialog::IDC_FILE)->IsWindowEnabled());
        dialog.SendMessage(WM_COMMAND, IDOK);
    });
    ASSERT_TRUE(AfxDoPreparePrinting(&info));
    EXPECT_EQ(std::string(info.m_pPD->GetQueueName().c_str()), "Archive");
    EXPECT_EQ(std::string(info.m_pPD->GetPortName().c_str()), "Basement");

    // The set-up dialog of the same session offers the queue chosen before.
    CPrintDialog setup(TRUE);
    ui.QueueModal([&](CWnd& dialog) {
        EXPECT_EQ(ComboSelection(*dialog.GetDlgItem(CPrintDialog::IDC_PRINTER)), 0);
        shots.Save(AfxWidgetFromHandle(dialog.GetSafeHwnd())->grab().toImage(), "print-setup-dialog.png");
        dialog.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(setup.DoModal(), IDCANCEL);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(PrintQueueTest, WithoutPrintersOnlyThePdfFileIsOffered)
{
    scheduler.Stop();
    CPrintInfo info;
    ui.QueueModal([](CWnd& dialog) {
        CWnd* printers = dialog.GetDlgItem(CPrintDialog::IDC_PRINTER);
        EXPECT_EQ(ComboTexts(*printers), std::vector<std::string>{"PDF file"});
        EXPECT_EQ(ComboSelection(*printers), 0);
        EXPECT_TRUE(dialog.GetDlgItem(CPrintDialog::IDC_FILE)->IsWindowEnabled());
        dialog.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_FALSE(AfxDoPreparePrinting(&info));
}

TEST_F(PrintQueueTest, PagesGoToTheQueueAsOneJobAndComeOutPageByPage)
{
    ASSERT_TRUE(PdfToolsAvailable()) << "poppler-utils missing (scripts/install-deps.sh installs them)";
    ScreenshotFolder shots("print-queues");
    SheetPrinter client;
    std::string printerShown, portShown;
    client.onPage = [&](UINT page) {
        if (page == 2) shots.Save(AfxWidgetFromHandle(currentStatus->GetSafeHwnd())->grab().toImage(), "printing.png");
        CString text;
        currentStatus->GetDlgItemText(AFX_IDC_PRINT_PRINTERNAME, text);
        printerShown = text.c_str();
        currentStatus->GetDlgItemText(AFX_IDC_PRINT_PORTNAME, text);
        portShown = text.c_str();
    };
    ASSERT_EQ(Print(client, "Office", 3), PrintJobResult::Printed);
    EXPECT_EQ(printerShown, "Office");
    EXPECT_EQ(portShown, "on Room 12");
    EXPECT_EQ(scheduler.WaitForLastJob("Office"), IPP_JSTATE_COMPLETED);
    EXPECT_EQ(scheduler.Jobs("Office").at(0).title, "Sheets");
    const std::string out = scheduler.OutputPath("Office");
    ASSERT_EQ(PdfPageCount(out), 3);
    for (int page = 1; page <= 3; ++page) EXPECT_EQ(PdfPageText(out, page), "Sheet " + std::to_string(page));
    EXPECT_NE(PdfInfo(out).find("595 x 842 pts (A4)"), std::string::npos) << PdfInfo(out);
    // The page's origin is the corner of what the printer can print: 12 pt in from the
    // paper's edges on this queue, and the sheet's text 100 pixels (12 pt) further in.
    const std::vector<PdfWord> words = PdfPageWords(out, 1);
    ASSERT_FALSE(words.empty());
    EXPECT_NEAR(words[0].xMin, 24.0, 0.5);

    // The paper and orientation of the set-up reach the printer too.
    AfxGetPrinterSetup().page.paperWidth = 21590;
    AfxGetPrinterSetup().page.paperHeight = 27940;
    AfxGetPrinterSetup().landscape = TRUE;
    SheetPrinter wide;
    ASSERT_EQ(Print(wide, "Office", 1), PrintJobResult::Printed);
    EXPECT_EQ(scheduler.WaitForLastJob("Office"), IPP_JSTATE_COMPLETED);
    EXPECT_NE(PdfInfo(out).find("792 x 612 pts"), std::string::npos) << PdfInfo(out);
    EXPECT_EQ(PdfPageText(out, 1), "Sheet 1");
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(PrintQueueTest, ACancelledJobIsCancelledInTheQueueToo)
{
    SheetPrinter client;
    client.onPage = [&](UINT page) {
        if (page == 2) currentStatus->SendMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(Print(client, "Office", 5), PrintJobResult::Aborted);
    EXPECT_EQ(client.pages, (std::vector<UINT>{1, 2}));
    EXPECT_EQ(scheduler.WaitForLastJob("Office"), IPP_JSTATE_CANCELED);
    EXPECT_EQ(scheduler.Jobs("Office").size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(scheduler.OutputPath("Office")));
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(client.ends, 1);
    EXPECT_TRUE(parent.IsWindowEnabled());
}

TEST_F(PrintQueueTest, AFailingQueueEndsTheJobWithTheFailureMessage)
{
    struct Case {
        const char* what;
        const char* queue;
        std::function<void(PrintScheduler&)> onPage2;
        PrintJobResult result;
        std::vector<UINT> pages;
        UINT message;
    };
    const Case cases[] = {
        {"refuses jobs", "Closed", nullptr, PrintJobResult::StartFailed, {}, AFX_IDP_FAILED_TO_START_PRINT},
        {"no such queue", "Gone", nullptr, PrintJobResult::StartFailed, {}, AFX_IDP_FAILED_TO_START_PRINT},
        {"job cancelled in the queue",
         "Office",
         [](PrintScheduler& s) {
             const auto jobs = s.Jobs("Office");
             ASSERT_EQ(jobs.size(), 1u);
             ASSERT_EQ(cupsCancelJob2(CUPS_HTTP_DEFAULT, "Office", jobs[0].id, 0), IPP_STATUS_OK);
         },
         PrintJobResult::PageFailed,
         {1, 2},
         AFX_IDP_PRINT_FAILED},
        {"scheduler gone", "Office", [](PrintScheduler& s) { s.Stop(); }, PrintJobResult::PageFailed, {1, 2},
         AFX_IDP_PRINT_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.ClearMessageBoxes();
        SheetPrinter client;
        client.onPage = [&](UINT page) {
            if (page == 2 && c.onPage2) c.onPage2(scheduler);
        };
        EXPECT_EQ(Print(client, c.queue, 4), c.result);
        EXPECT_EQ(client.pages, c.pages);
        EXPECT_EQ(MessageIds(), std::vector<UINT>{c.message});
        EXPECT_EQ(client.ends, 1);
        EXPECT_TRUE(parent.IsWindowEnabled());
        EXPECT_FALSE(std::filesystem::exists(scheduler.OutputPath(c.queue)));
    }
}

} // namespace
