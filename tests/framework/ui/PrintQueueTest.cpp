// Printing to the print system's queues, against a scheduler of the test's own: the
// dialogs list its queues, a job's pages come out of the queue's device with the paper,
// orientation and copies asked of the queue, a job that is cancelled or that the queue
// refuses or drops ends cleanly on both sides, and a print server out of reach costs the
// dialogs one short look-up and leaves the PDF file.
#include "PdfText.h"
#include "ScreenshotFolder.h"
#include "SheetPrinter.h"
#include "framework/gdi/CDC.h"
#include "framework/gdi/GdiPrintQueue.h"
#include "framework/ui/CComboBox.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/CPrintingDialog.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"
#include "support/PrintScheduler.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A print server on the loopback that is named but does not serve: its port refuses
// connections, takes none (its queue of connections is full, so they wait), or takes one
// and never answers.
class ServerOutOfReach {
public:
    enum class Kind { Refuses, TakesNoConnection, NeverAnswers };

    explicit ServerOutOfReach(Kind kind)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        switch (kind) {
        case Kind::Refuses:
            ::close(std::exchange(m_listener, -1));
            break;
        case Kind::TakesNoConnection:
            // A queue of none holds one connection; the one made here fills it.
            m_filler = ::socket(AF_INET, SOCK_STREAM, 0);
            if (::listen(m_listener, 0) != 0 ||
                ::connect(m_filler, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
                m_port = 0;
            break;
        case Kind::NeverAnswers:
            if (::listen(m_listener, 8) != 0) m_port = 0;
            break;
        }
    }
    ~ServerOutOfReach()
    {
        for (const int fd : {m_filler, m_listener})
            if (fd >= 0) ::close(fd);
    }
    ServerOutOfReach(const ServerOutOfReach&) = delete;
    ServerOutOfReach& operator=(const ServerOutOfReach&) = delete;

    // host:port for CUPS_SERVER; empty when the port could not be set up.
    std::string Name() const { return m_port != 0 ? "127.0.0.1:" + std::to_string(m_port) : std::string(); }

private:
    int m_listener = -1;
    int m_filler = -1;
    int m_port = 0;
};

// Names another print server while it lives, then the one named before.
class NamedServer {
public:
    explicit NamedServer(const std::string& server)
    {
        if (const char* old = std::getenv("CUPS_SERVER")) m_old = old;
        ::setenv("CUPS_SERVER", server.c_str(), 1);
        cupsSetServer(nullptr);
    }
    ~NamedServer()
    {
        ::setenv("CUPS_SERVER", m_old.c_str(), 1);
        cupsSetServer(nullptr);
    }
    NamedServer(const NamedServer&) = delete;
    NamedServer& operator=(const NamedServer&) = delete;

private:
    std::string m_old;
};

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

    PrintJobResult Print(SheetPrinter& client, const char* queue, UINT pages, UINT copies = 1)
    {
        CPrintInfo info;
        info.SetMaxPage(pages);
        info.m_pPD->SetQueueName(queue);
        info.m_pPD->m_pd.nFromPage = 1;
        info.m_pPD->m_pd.nToPage = WORD(pages);
        info.m_pPD->m_pd.nCopies = WORD(copies);
        CPrintingDialog status;
        currentStatus = &status;
        const PrintJobResult result = AfxRunPrintJob(client, info, status, &parent, "Sheets");
        currentStatus = nullptr;
        return result;
    }

    // The id of each box's text; a text made of several gives its first.
    std::vector<UINT> MessageIds() const
    {
        std::vector<UINT> ids;
        for (const MessageBoxRecord& box : ui.MessageBoxes()) ids.push_back(box.id != 0 ? box.id : box.helpId);
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
        {"refuses jobs", "Closed", nullptr, PrintJobResult::StartFailed, {}, AFX_IDP_PRINT_NOT_STARTED},
        {"no such queue", "Gone", nullptr, PrintJobResult::StartFailed, {}, AFX_IDP_PRINT_NOT_STARTED},
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
        if (c.message == AFX_IDP_PRINT_NOT_STARTED && !ui.MessageBoxes().empty()) {
            // The queue by its name, and the print system's own reason.
            const std::string text = ui.MessageBoxes()[0].text.c_str();
            const std::string start = std::string("The print job could not be started on ") + c.queue +
                                      ".\nThe system reports: ";
            EXPECT_EQ(text.substr(0, start.size()), start) << text;
            EXPECT_GT(text.size(), start.size() + 1) << text;
            EXPECT_EQ(text.back(), '.') << text;
        }
        EXPECT_EQ(client.ends, 1);
        EXPECT_TRUE(parent.IsWindowEnabled());
        EXPECT_FALSE(std::filesystem::exists(scheduler.OutputPath(c.queue)));
    }
}

TEST_F(PrintQueueTest, TheJobAsksTheQueueForThePaperTheOrientationAndTheCopies)
{
    ASSERT_TRUE(PdfToolsAvailable()) << "poppler-utils missing (scripts/install-deps.sh installs them)";
    struct Case {
        const char* what;
        int width, height; // 0.01 mm, as the set-up keeps it
        BOOL landscape;
        UINT copies;
        const char* media;
        const char* pageSize; // of the document sent, in points
    };
    const Case cases[] = {
        {"A5 landscape, two copies", 14800, 21000, TRUE, 2, "A5", "595 x 420 pts (A5)"},
        {"A4 portrait, one copy", 21000, 29700, FALSE, 1, "A4", "595 x 842 pts (A4)"},
        {"Letter portrait, three copies", 21590, 27940, FALSE, 3, "Letter", "612 x 792 pts (letter)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AfxGetPrinterSetup().page.paperWidth = c.width;
        AfxGetPrinterSetup().page.paperHeight = c.height;
        AfxGetPrinterSetup().landscape = c.landscape;
        SheetPrinter client;
        ASSERT_EQ(Print(client, "Office", 2, c.copies), PrintJobResult::Printed);
        EXPECT_EQ(scheduler.WaitForLastJob("Office"), IPP_JSTATE_COMPLETED);
        const std::map<std::string, std::string> options = scheduler.JobOptions("Office");
        EXPECT_EQ(options.count("media") ? options.at("media") : "", c.media);
        EXPECT_EQ(options.count("landscape") ? options.at("landscape") : "false", c.landscape ? "true" : "false");
        EXPECT_EQ(options.count("copies") ? options.at("copies") : "", std::to_string(c.copies));
        // The queue makes the copies: the document holds each page once.
        EXPECT_EQ(client.pages, (std::vector<UINT>{1, 2}));
        const std::string out = scheduler.OutputPath("Office");
        ASSERT_EQ(PdfPageCount(out), 2);
        EXPECT_EQ(PdfPageText(out, 2), "Sheet 2");
        EXPECT_NE(PdfInfo(out).find(c.pageSize), std::string::npos) << PdfInfo(out);
    }
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(PrintQueueTest, AServerOutOfReachIsAskedOnceAShortWhileAndThePdfFileStaysUsable)
{
    ASSERT_TRUE(PdfToolsAvailable()) << "poppler-utils missing (scripts/install-deps.sh installs them)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::pair<const char*, ServerOutOfReach::Kind> cases[] = {
        {"refuses connections", ServerOutOfReach::Kind::Refuses},
        {"takes no connection", ServerOutOfReach::Kind::TakesNoConnection},
        {"never answers", ServerOutOfReach::Kind::NeverAnswers},
    };
    for (const auto& [what, kind] : cases) {
        SCOPED_TRACE(what);
        ui.ClearMessageBoxes();
        AfxGetPrinterSetup().queue.reset();
        const ServerOutOfReach server(kind);
        ASSERT_FALSE(server.Name().empty());
        const NamedServer named(server.Name());
        std::vector<int> lookups; // the connection timeout of each
        const GdiPrintLookupObserver previous = GdiSetPrintLookupObserver([&](int timeoutMs) { lookups.push_back(timeoutMs); });

        const std::string pdf = dir.filePath(QString::fromUtf8(what) + ".pdf").toStdString();
        CPrintInfo info;
        info.SetMaxPage(2);
        ui.QueueModal([&](CWnd& dialog) {
            CWnd* printers = dialog.GetDlgItem(CPrintDialog::IDC_PRINTER);
            EXPECT_EQ(ComboTexts(*printers), std::vector<std::string>{"PDF file"});
            EXPECT_EQ(ComboSelection(*printers), 0);
            EXPECT_TRUE(dialog.GetDlgItem(CPrintDialog::IDC_FILE)->IsWindowEnabled());
            dialog.SetDlgItemText(CPrintDialog::IDC_FILE, pdf.c_str());
            dialog.SendMessage(WM_COMMAND, IDOK);
        });
        ASSERT_TRUE(AfxDoPreparePrinting(&info));
        EXPECT_EQ(lookups.size(), 1u) << "one look-up for the whole opening";
        CPrintingDialog status;
        SheetPrinter client;
        EXPECT_EQ(AfxRunPrintJob(client, info, status, &parent, "Sheets"), PrintJobResult::Printed);
        EXPECT_EQ(PdfPageCount(pdf), 2);
        EXPECT_EQ(lookups.size(), 1u) << "printing to the file asks the print system nothing";

        CPrintDialog setup(TRUE);
        ui.QueueModal([&](CWnd& dialog) {
            EXPECT_EQ(ComboTexts(*dialog.GetDlgItem(CPrintDialog::IDC_PRINTER)), std::vector<std::string>{"PDF file"});
            dialog.SendMessage(WM_COMMAND, IDCANCEL);
        });
        EXPECT_EQ(setup.DoModal(), IDCANCEL);
        GdiSetPrintLookupObserver(previous);
        EXPECT_EQ(lookups.size(), 2u);
        for (const int timeoutMs : lookups) EXPECT_LE(timeoutMs, 2000) << "a short wait for the connection";
        EXPECT_TRUE(ui.MessageBoxes().empty());
    }
}

} // namespace
