// A user's whole working session through the real program, headless: the application
// starts in a program folder of its own with the device emulator answering as the
// simulator on COM1 (or with no device and a simulated family), and the user works
// through the main window: menu commands as WM_COMMAND to the main window, mouse
// messages to the document's view, dialogs, sheets and questions scripted. Each step
// checks what the user would see or get: the document, its file, the device's
// configuration, the printed pages, the INI file, and a program folder left clean.
#include "tests/framework/ui/PdfText.h"
#include "tests/framework/ui/PreviewLayoutCheck.h"
#include "app/CCommonView.h"
#include "app/CDeviceDoc.h"
#include "app/CKVRDoc.h"
#include "app/CTalisoApp.h"
#include "app/CTalisoMDIChildWnd.h"
#include "app/settings/CTalisoSetup.h"
#include "app/CZOKDoc.h"
#include "app/DeviceDocCommands.h"
#include "app/DocumentFileBytes.h"
#include "device/dialogs/CLoginDialog.h"
#include "dialogs/CDiagnosisResultsDialog.h"
#include "framework/ui/CDocTemplate.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "framework/ui/CPreviewView.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/CPropertySheet.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/ArchiveBytes.h"
#include "model/CArcShelter.h"
#include "model/CRectShelter.h"
#include "model/CShelter.h"
#include "tools/DeviceEmulator.h"
#include "tools/SimulatorAnswerer.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr UINT IDD_LOGIN = 104;
constexpr int IDC_FAMILY_KVR = 2140;
// Configuration sheets.
constexpr int kKVRShelterPage = 1;
constexpr int IDC_LIST = 2050;
constexpr int IDC_RENAME = 2173;
constexpr int IDC_ENTRY_NAME = 2174;
constexpr int IDC_PROTECTIVE_NAME = 2167;
// Device requests: the access command and its sub-codes.
constexpr BYTE kAccessCommand = 0x20;
constexpr BYTE kLoginMode = 0;
constexpr BYTE kLogoutMode = 33;
constexpr std::size_t kSubCodeAt = 9;
constexpr BYTE kIdentificationCommand = 0x31;
// Questions and refusals of the write.
constexpr UINT IDP_SEND_NOTE = 1804;
constexpr UINT IDP_TRANSFER_FAILED = 422;
constexpr UINT IDP_GO_ON_WITH_FIELDS = 423;
// Captions of the confirmation preview's accept and reject buttons.
constexpr UINT kAcceptCaption = 960;
constexpr UINT kRejectCaption = 961;

constexpr int kZOKScansPage = 2;
constexpr int IDC_SCANS = 2186;

void RunPosted()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool IsAccess(const SensorRequest& request, BYTE mode)
{
    return request.Command() == kAccessCommand && request.Byte(kSubCodeAt) == mode;
}

// Where the first request from 'from' on is an access request of the mode; -1 for none.
int FindAccess(const std::vector<SensorRequest>& requests, std::size_t from, BYTE mode)
{
    for (std::size_t i = from; i < requests.size(); ++i)
        if (IsAccess(requests[i], mode))
            return int(i);
    return -1;
}

std::vector<UINT> BoxIds(const ScriptedUi& ui)
{
    std::vector<UINT> ids;
    for (const MessageBoxRecord& box : ui.MessageBoxes())
        ids.push_back(box.id != 0 ? box.id : box.helpId);
    return ids;
}

std::vector<std::string> FolderEntries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// What reception, drawing and loading stamp on a field: the time of reception, the fill
// colour of its kind, and whether it agrees with the device (a loaded field never does).
void Unstamp(CShelter* field)
{
    if (field == nullptr)
        return;
    field->SetTime(CTime(0));
    field->SetFillColor(0xC0C0C0);
    field->SetProtectiveInDevice(0);
    field->SetWarningInDevice(0);
}

// Runs f on the family document (CKVRDoc& or CZOKDoc&).
template <class F>
auto OnFamilyDocument(CCommonDoc& doc, F f)
{
    if (auto* kvr = dynamic_cast<CKVRDoc*>(&doc))
        return f(*kvr);
    return f(dynamic_cast<CZOKDoc&>(doc));
}

void UnstampFields(CKVRConfig& config)
{
    for (int i = 0; i < config.GetShelterConfigCount(); ++i)
        for (int kind : {kProtectiveField, kWarningField})
            Unstamp(config.GetShelterConfig(i)->GetShelter(kind));
}

void UnstampFields(CZOKConfig& config)
{
    for (int kind : {kProtectiveField, kWarningField})
        Unstamp(config.GetShelter(kind));
}

// The document's configuration as stored, unstamped.
std::vector<BYTE> ConfigurationBytes(CCommonDoc& doc)
{
    return OnFamilyDocument(doc, [](auto& family) {
        auto copy = *family.GetConfiguration();
        UnstampFields(copy);
        return StoreBytes(copy);
    });
}

// What the write of a configuration carries to the device: the configuration without
// its fields (they go by the field transfer) and, for a scanner, without the names of its
// fields, which only the document keeps.
void StripUnwritten(CKVRConfig& config)
{
    for (int i = 0; i < config.GetShelterConfigCount(); ++i)
        for (int kind : {kProtectiveField, kWarningField})
            config.GetShelterConfig(i)->SetShelter(kind, nullptr);
}

void StripUnwritten(CZOKConfig& config)
{
    for (int kind : {kProtectiveField, kWarningField})
        config.SetShelter(kind, nullptr);
    config.SetProtectiveName("");
    config.SetWarningName("");
}

std::vector<BYTE> WrittenBytes(CCommonDoc& doc)
{
    return OnFamilyDocument(doc, [](auto& family) {
        auto copy = *family.GetConfiguration();
        StripUnwritten(copy);
        return StoreBytes(copy);
    });
}

int Serial()
{
    static std::atomic<int> serial{0};
    return serial++;
}

// Where the session stands: what the user chose and saw, to check at the end.
struct SessionRecord {
    fs::path document;
    fs::path pdf;
};

// A device prompt that nobody scripted answers Retry by default, again and again: rather
// than hang, the session ends the test process after a generous time.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : m_thread([this, limit] {
              std::unique_lock lock(m_mutex);
              if (!m_done.wait_for(lock, limit, [this] { return m_stopped; })) {
                  std::fprintf(stderr, "The session did not end within %lld s (an unscripted prompt?)\n",
                               static_cast<long long>(limit.count()));
                  std::_Exit(1);
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_done.notify_all();
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_stopped = false;
    std::thread m_thread;
};

class WorkingSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const unsigned run = std::random_device{}();
        folder = fs::temp_directory_path() / ("taliso-session-" + std::to_string(run) + "-" + editedName);
        for (const char* sub : {"run", "tmp", "documents"})
            fs::create_directories(folder / sub);
        fs::permissions(folder / "run", fs::perms::owner_all);
        Override("XDG_RUNTIME_DIR", folder / "run");
        // Whatever the program puts in the temporary directory lands here, to be seen.
        Override("TMPDIR", folder / "tmp");
        app = std::make_unique<CTalisoApp>();
        app->SetModulePath((folder / "program" / "Taliso").c_str());
        fs::create_directories(folder / "program");
    }

    void TearDown() override
    {
        CloseProgram();
        app.reset();
        theLoginDialog.SetLevel(CLoginDialog::kStandardLevel);
        for (const auto& [name, value] : savedEnvironment) {
            if (value.has_value())
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    void Override(const char* name, const fs::path& value)
    {
        const char* old = std::getenv(name);
        savedEnvironment.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
        setenv(name, value.c_str(), 1);
    }

    void CloseProgram()
    {
        if (app == nullptr || app->m_pMainWnd == nullptr)
            return;
        app->CWinApp::CloseAllDocuments(TRUE);
        if (app->m_pMainWnd->m_hWnd != nullptr)
            app->m_pMainWnd->DestroyWindow();
        app->m_pMainWnd = nullptr;
    }

    fs::path ProgramFolder() const { return folder / "program"; }
    fs::path Ini() const { return ProgramFolder() / "Taliso.INI"; }

    void WriteIni(const std::string& port) const
    {
        std::ofstream(Ini(), std::ios::binary)
            << "[LANGUAGE]\nlan_numbers=1\nlanguage=1\n\n[LANGUAGE_1]\ndll=LAN_ENG.DLL\nhelp=HELP_ENG.HLP\nlan_1=English\n\n"
               "[SETUP]\nPort=1\nBaud=38400\nParity=EVEN\nSTXTimeout=3000\n\n[PORTS]\nCOM1="
            << port << "\n";
    }

    // --- step 1: the start ---

    // The emulator answers as the simulator of the family on COM1; the program finds it,
    // offers to read its configuration (Yes) and the login raises the level.
    void StartWithDevice(BYTE family)
    {
        emulator = std::make_unique<DeviceEmulator>(std::make_unique<SimulatorAnswerer>(), family);
        ASSERT_TRUE(emulator->Start());
        WriteIni(emulator->SlavePath());
        ui.QueueAnswer(IDYES);
        ui.QueueModal([](CWnd&) { theLoginDialog.SetLevel(1); });
        ASSERT_TRUE(app->InitInstance());
        RunPosted();
        std::vector<UINT> modals;
        for (const ModalRecord& run : ui.ModalRuns())
            modals.push_back(run.templateId);
        EXPECT_EQ(modals, std::vector<UINT>{IDD_LOGIN}) << "no port wizard and no family choice";
        EXPECT_FALSE(app->IsSimulating());
        ExpectOneDocumentFromTheDevice(family);
    }

    // No device on the port: the port wizard finds none, the user picks the family.
    void StartSimulated(BYTE family)
    {
        WriteIni((folder / "no-tty").string());
        ui.QueueModal([](CWnd&) {}); // port wizard: nothing found
        ui.QueueModal([family](CWnd& dialog) {
            DialogDriver driver(dialog);
            if (family == kFamilyKVR)
                driver.Click(IDC_FAMILY_KVR);
            driver.Click(IDOK);
        });
        ui.QueueAnswer(IDYES);
        ui.QueueModal([](CWnd&) { theLoginDialog.SetLevel(1); });
        ASSERT_TRUE(app->InitInstance());
        RunPosted();
        EXPECT_EQ(app->GetSimulatedFamily(), family);
        ExpectOneDocumentFromTheDevice(family);
    }

    void ExpectOneDocumentFromTheDevice(BYTE family)
    {
        ASSERT_EQ(AllDocuments().size(), 1u);
        CCommonDoc* doc = Document();
        ASSERT_NE(doc, nullptr);
        if (family == kFamilyKVR)
            ASSERT_NE(dynamic_cast<CKVRDoc*>(doc), nullptr);
        else
            ASSERT_NE(dynamic_cast<CZOKDoc*>(doc), nullptr);
        ASSERT_NE(View(), nullptr);
        EXPECT_TRUE(doc->IsModified()) << "read from the device, not yet saved";
        // The document's cycle runs on the test's clock from here on.
        doc->SetTickSource([this] { return clock; });
    }

    std::vector<CDocument*> AllDocuments() const
    {
        std::vector<CDocument*> docs;
        for (CDocTemplate* docTemplate : {app->GetZOKTemplate(), app->GetKVRTemplate()}) {
            for (POSITION pos = docTemplate->GetFirstDocPosition(); pos != nullptr;)
                docs.push_back(docTemplate->GetNextDoc(pos));
        }
        return docs;
    }

    CCommonDoc* Document() const
    {
        const std::vector<CDocument*> docs = AllDocuments();
        return docs.size() == 1 ? dynamic_cast<CCommonDoc*>(docs[0]) : nullptr;
    }

    CWnd* MainWindow() const { return app->m_pMainWnd; }

    // The view of the active document window, where a click lands.
    CCommonView* View() const
    {
        auto* frame = dynamic_cast<CMDIFrameWnd*>(MainWindow());
        return frame != nullptr ? dynamic_cast<CCommonView*>(frame->GetActiveView()) : nullptr;
    }

    // A menu command, as a click on its item sends it.
    void Command(UINT id)
    {
        MainWindow()->SendMessage(WM_COMMAND, id, 0);
        RunPosted();
    }

    // --- step 2: editing ---

    // The configuration sheet: the unit gets a new name for its first field pair, the
    // scanner new names for its fields and another number of scans; OK.
    void EditInTheSheet(BYTE family)
    {
        CCommonDoc* doc = Document();
        const std::vector<BYTE> before = ConfigurationBytes(*doc);
        if (auto* zok = dynamic_cast<CZOKDoc*>(doc)) {
            const int scans = zok->GetConfiguration()->GetScanCount();
            editedScans = scans < 8 ? scans + 1 : scans - 1;
        }
        doc->SetModifiedFlag(FALSE);
        ui.QueueModal([this, family](CWnd& wnd) {
            auto& sheet = static_cast<CPropertySheet&>(wnd);
            DialogDriver driver(wnd);
            if (family == kFamilyKVR) {
                ASSERT_TRUE(sheet.SetActivePage(kKVRShelterPage));
                DialogDriver::Pump();
                driver.Select(IDC_LIST, 0);
                ui.QueueModal([this](CWnd& name) {
                    DialogDriver nameDriver(name);
                    nameDriver.SetText(IDC_ENTRY_NAME, editedName.c_str());
                    nameDriver.Click(IDOK);
                });
                driver.Click(IDC_RENAME);
            } else {
                driver.SetText(IDC_PROTECTIVE_NAME, editedName.c_str());
                ASSERT_TRUE(sheet.SetActivePage(kZOKScansPage));
                DialogDriver::Pump();
                driver.SetText(IDC_SCANS, std::to_string(editedScans).c_str());
            }
            driver.Ok();
        });
        Command(ID_EDIT_CONFIGURATION);
        ASSERT_EQ(ui.PendingModals(), 0u);
        doc = Document();
        ASSERT_NE(doc, nullptr);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_FALSE(SameBytes(ConfigurationBytes(*doc), before));
        ExpectTheEdits(*doc, true);
    }

    // The edits the sheet made; names only where the device keeps them.
    void ExpectTheEdits(CCommonDoc& doc, bool withNames)
    {
        if (auto* kvr = dynamic_cast<CKVRDoc*>(&doc)) {
            EXPECT_EQ(kvr->GetConfiguration()->GetShelterConfigName(0), CString(editedName.c_str()));
            return;
        }
        const CZOKConfig* config = dynamic_cast<CZOKDoc&>(doc).GetConfiguration();
        EXPECT_EQ(config->GetScanCount(), editedScans);
        if (withNames)
            EXPECT_EQ(config->GetProtectiveName(), CString(editedName.c_str()));
    }

    // What the printed report shows of the edits.
    std::string PrintedEdit(BYTE family) const
    {
        return family == kFamilyKVR ? editedName : "Scans: " + std::to_string(editedScans);
    }

    // The point of the current field's front handle (straight ahead of the scanner).
    static CPoint FrontHandle(CShelter* field)
    {
        if (auto* arc = dynamic_cast<CArcShelter*>(field))
            return {0, arc->GetRadius()};
        if (auto* rect = dynamic_cast<CRectShelter*>(field))
            return {0, rect->GetFront()};
        return {0, -1};
    }

    // In the editing mode the user drags the current field's front edge 30 pixels inward,
    // then undoes and redoes it from the Edit menu.
    void DragAFieldEdgeThenUndoAndRedo()
    {
        Command(ID_MODE_EDIT);
        CCommonDoc* doc = Document();
        ASSERT_EQ(doc->GetMode(), kModeEdit);
        CCommonView* view = View();
        ASSERT_NE(view, nullptr);
        CShelter* field = doc->GetCurrentObject();
        ASSERT_NE(field, nullptr);
        const CPoint handle = FrontHandle(field);
        ASSERT_GE(handle.y, 0) << "the current field has a front handle";
        const std::vector<BYTE> before = ConfigurationBytes(*doc);

        const CPoint press = view->LogicalToClient(handle);
        auto mouse = [view](UINT message, UINT flags, CPoint at) {
            view->SendMessage(message, flags, LPARAM(MAKELONG(WORD(at.x), WORD(at.y))));
        };
        mouse(WM_LBUTTONDOWN, MK_LBUTTON, press);
        for (int dy = 1; dy <= 30; ++dy)
            mouse(WM_MOUSEMOVE, MK_LBUTTON, press + CSize(0, dy));
        mouse(WM_LBUTTONUP, 0, press + CSize(0, 30));
        RunPosted();
        const std::vector<BYTE> dragged = ConfigurationBytes(*doc);
        EXPECT_FALSE(SameBytes(dragged, before)) << "the drag changed the field";
        EXPECT_LT(FrontHandle(doc->GetCurrentObject()).y, handle.y) << "the field shrank";

        Command(ID_EDIT_UNDO);
        EXPECT_TRUE(SameBytes(ConfigurationBytes(*doc), before));
        Command(ID_EDIT_REDO);
        EXPECT_TRUE(SameBytes(ConfigurationBytes(*doc), dragged));
        Command(ID_MODE_EDIT); // the editing mode ends
        EXPECT_EQ(doc->GetMode(), kModeNone);
    }

    // --- step 3: save, close, reopen ---

    void SaveCloseAndReopenFromTheRecentList(SessionRecord& record, const char* extension)
    {
        CCommonDoc* doc = Document();
        const std::vector<BYTE> edited = ConfigurationBytes(*doc);
        record.document = folder / "documents" / (std::string("session") + extension);
        ui.QueueModal([&record](CWnd& dialog) { static_cast<CFileDialog&>(dialog).ChooseFile(record.document.c_str()); });
        Command(ID_FILE_SAVE_AS);
        ASSERT_TRUE(fs::exists(record.document));
        EXPECT_FALSE(Document()->IsModified());
        doc = Document();
        const int simulatedFile = OnFamilyDocument(*doc, [](auto& family) { return family.GetState().m_nSimulatedFile; });
        EXPECT_EQ(simulatedFile, app->IsSimulating() ? 1 : 0);
        EXPECT_TRUE(SameBytes(FileBytes(record.document.string()), StoreBytes(*doc)));

        Command(ID_FILE_CLOSE);
        EXPECT_TRUE(AllDocuments().empty());
        Command(ID_FILE_MRU_FILE1);
        doc = Document();
        ASSERT_NE(doc, nullptr) << "the recent-file list reopens the saved document";
        EXPECT_EQ(CString(doc->GetPathName()), CString(record.document.c_str()));
        EXPECT_TRUE(SameBytes(ConfigurationBytes(*doc), edited));
        EXPECT_FALSE(doc->IsModified());
        doc->SetTickSource([this] { return clock; });
    }

    // --- step 4: the two-step write and the read-back ---

    // Send (the note, then the first steps), the confirmation preview, and the user's
    // button there. Returns the preview's print view, or null when none came up.
    CCommonView* SendUpToTheConfirmation()
    {
        CCommonView* view = View();
        ui.QueueAnswer(IDOK); // the note before sending
        Command(ID_SEND_CONFIGURATION);
        if (CPreviewView::FindPreviewOf(view) == nullptr)
            return nullptr;
        EXPECT_EQ(view->GetPrintKind(), 1) << "the confirmation of a transfer";
        return view;
    }

    // A click on a button of the preview's tool bar, once the idle update of the message
    // loop has set the buttons up.
    void PressInThePreview(CCommonView* view, UINT button)
    {
        CPreviewView* preview = CPreviewView::FindPreviewOf(view);
        ASSERT_NE(preview, nullptr);
        app->OnIdle(0);
        CWnd* bar = preview->GetParentFrame()->GetDlgItem(AFX_IDW_PREVIEW_BAR);
        ASSERT_NE(bar, nullptr);
        // The confirmation's buttons carry its own captions.
        CString caption;
        caption.LoadString(button == AFX_ID_PREVIEW_PRINT ? kAcceptCaption : kRejectCaption);
        EXPECT_EQ(DialogDriver(*bar).Text(int(button)), caption);
        ASSERT_TRUE(DialogDriver(*bar).Click(int(button))) << "the button can be clicked";
        RunPosted();
        EXPECT_EQ(CPreviewView::FindPreviewOf(view), nullptr);
    }

    // The configuration goes to the device, is confirmed in the preview (Print), and read
    // back it equals what the document adopted, the edited name with it.
    void SendConfirmAndReadBack()
    {
        CCommonDoc* doc = Document();
        ui.ClearMessageBoxes();
        CCommonView* view = SendUpToTheConfirmation();
        ASSERT_NE(view, nullptr) << "the confirmation preview after sending";
        ui.QueueAnswer(IDNO); // no field transfer now
        PressInThePreview(view, AFX_ID_PREVIEW_PRINT);
        EXPECT_EQ(BoxIds(ui), (std::vector<UINT>{IDP_SEND_NOTE, IDP_GO_ON_WITH_FIELDS}));
        ASSERT_EQ(Document(), doc);
        EXPECT_TRUE(doc->IsModified()) << "the device's configuration adopted";
        const std::vector<BYTE> adopted = WrittenBytes(*doc);
        if (emulator != nullptr) {
            const std::vector<SensorRequest> requests = emulator->Requests();
            const int login = FindAccess(requests, 0, kLoginMode);
            EXPECT_GE(login, 0);
            EXPECT_GT(FindAccess(requests, std::size_t(login + 1), kLogoutMode), login) << "logged out at the end";
        }

        ui.ClearMessageBoxes();
        ui.QueueAnswer(IDNO); // do not save before reading
        Command(ID_READ_CONFIGURATION);
        EXPECT_EQ(BoxIds(ui), std::vector<UINT>{AFX_IDP_ASK_TO_SAVE});
        EXPECT_TRUE(SameBytes(WrittenBytes(*doc), adopted)) << "the device holds what was confirmed";
        ExpectTheEdits(*doc, false);
    }

    // --- step 5: live monitoring ---

    // The monitor shows the device's configuration and polls it at each due tick of the
    // document's cycle; stopped, the document's own configuration is back.
    void MonitorForAFewTicks()
    {
        CCommonDoc* doc = Document();
        const std::vector<BYTE> own = ConfigurationBytes(*doc);
        Command(ID_MODE_MONITOR);
        ASSERT_EQ(doc->GetMode(), kModeMonitor);
        auto* frame = dynamic_cast<CMDIFrameWnd*>(MainWindow());
        CMDIChildWnd* child = frame->MDIGetActive();
        ASSERT_NE(child, nullptr);
        for (int tick = 0; tick < 3; ++tick) {
            SCOPED_TRACE(tick);
            const std::size_t requests = emulator != nullptr ? emulator->Requests().size() : 0;
            doc->DeleteResult();
            clock += 60000;
            child->SendMessage(WM_TIMER, CTalisoMDIChildWnd::kCycleTimerId, 0);
            RunPosted();
            ASSERT_EQ(doc->GetMode(), kModeMonitor) << "the tick succeeded";
            if (emulator != nullptr)
                EXPECT_GT(emulator->Requests().size(), requests) << "the device was polled";
            if (dynamic_cast<CZOKDoc*>(doc) != nullptr)
                EXPECT_NE(doc->GetResult(), nullptr) << "a scan to show";
        }
        // Without a due tick nothing is asked.
        const std::size_t requests = emulator != nullptr ? emulator->Requests().size() : 0;
        child->SendMessage(WM_TIMER, CTalisoMDIChildWnd::kCycleTimerId, 0);
        if (emulator != nullptr)
            EXPECT_EQ(emulator->Requests().size(), requests);
        Command(ID_MODE_MONITOR);
        EXPECT_EQ(doc->GetMode(), kModeNone);
        EXPECT_TRUE(SameBytes(ConfigurationBytes(*doc), own));
    }

    // --- step 5: the diagnosis report ---

    void ReadTheDiagnosisReport()
    {
        CString report;
        ui.QueueModal([&report](CWnd& dialog) {
            DialogDriver driver(dialog);
            driver.Ok(); // reads the device
            report = driver.Text(CDiagnosisResultsDialog::IDC_REPORT);
            driver.Cancel();
        });
        const std::size_t boxes = ui.MessageBoxes().size();
        Command(ID_DIAGNOSIS_RESULTS);
        ASSERT_EQ(ui.PendingModals(), 0u);
        EXPECT_EQ(ui.MessageBoxes().size(), boxes) << "no failure shown";
        EXPECT_NE(std::string(report.c_str()).find(std::string(80, '*')), std::string::npos) << report.c_str();
    }

    // --- step 6: the printed report ---

    void PrintTheReportToAPdf(SessionRecord& record, BYTE family)
    {
        record.pdf = folder / "documents" / "session.pdf";
        ui.QueueModal([&record](CWnd& dialog) {
            DialogDriver driver(dialog);
            driver.SetText(CPrintDialog::IDC_FILE, record.pdf.c_str());
            driver.Click(IDOK);
        });
        Command(ID_FILE_PRINT);
        ASSERT_EQ(ui.PendingModals(), 0u);
        ASSERT_TRUE(fs::exists(record.pdf));
        EXPECT_EQ(ReadText(record.pdf).substr(0, 5), "%PDF-");
        if (!PdfToolsAvailable())
            return; // the header above is all that can be read back
        const int pages = PdfPageCount(record.pdf.string());
        ASSERT_GE(pages, 1);
        std::string text;
        for (int page = 1; page <= pages; ++page) {
            const std::string pageText = PdfPageText(record.pdf.string(), page);
            EXPECT_NE(pageText.find("Page " + std::to_string(page)), std::string::npos) << pageText;
            EXPECT_NE(pageText.find(record.document.filename().string()), std::string::npos) << pageText;
            text += pageText + "\n";
        }
        EXPECT_NE(text.find(family == kFamilyKVR ? "KVR Unit Configuration" : "ZOK"), std::string::npos) << text;
        EXPECT_NE(text.find(PrintedEdit(family)), std::string::npos) << text;
    }

    // --- step 7: exit ---

    void ExitAndCheckWhatIsLeft(const SessionRecord& record)
    {
        ui.ClearMessageBoxes();
        ui.QueueAnswer(IDNO); // the read-back is not saved
        Command(ID_APP_EXIT);
        EXPECT_EQ(BoxIds(ui), std::vector<UINT>{AFX_IDP_ASK_TO_SAVE});
        EXPECT_TRUE(AllDocuments().empty());
        app->ExitInstance();
        const std::string ini = ReadText(Ini());
        EXPECT_NE(ini.find("[Recent File List]"), std::string::npos) << ini;
        EXPECT_NE(ini.find("File1=" + record.document.string()), std::string::npos) << ini;
        EXPECT_NE(ini.find("[Settings]"), std::string::npos) << ini;
        EXPECT_NE(ini.find("[Colors]"), std::string::npos) << ini;
        EXPECT_NE(ini.find("Port=1"), std::string::npos) << ini;
        EXPECT_NE(ini.find("language=1"), std::string::npos) << ini;
        EXPECT_EQ(FolderEntries(ProgramFolder()), std::vector<std::string>{"Taliso.INI"});
        EXPECT_EQ(FolderEntries(folder / "tmp"), std::vector<std::string>{});
        std::vector<std::string> documents{record.document.filename().string(), record.pdf.filename().string()};
        std::sort(documents.begin(), documents.end());
        EXPECT_EQ(FolderEntries(folder / "documents"), documents);
    }

    void RunSession(BYTE family, const char* extension)
    {
        SessionRecord record;
        SCOPED_TRACE("step 2: sheet, drag, undo and redo");
        EditInTheSheet(family);
        DragAFieldEdgeThenUndoAndRedo();
        if (HasFatalFailure()) return;
        SCOPED_TRACE("step 3: save, close, reopen");
        SaveCloseAndReopenFromTheRecentList(record, extension);
        if (HasFatalFailure()) return;
        SCOPED_TRACE("step 4: send, confirm, read back");
        SendConfirmAndReadBack();
        SCOPED_TRACE("step 5: monitor and diagnosis");
        MonitorForAFewTicks();
        ReadTheDiagnosisReport();
        SCOPED_TRACE("step 6: print");
        PrintTheReportToAPdf(record, family);
        SCOPED_TRACE("step 7: exit");
        ExitAndCheckWhatIsLeft(record);
    }

    // --- the previews at every paper ---

    // The papers of File > Print setup, each in both orientations: (index, landscape).
    std::vector<std::pair<int, bool>> OfferedPapers()
    {
        std::vector<std::pair<int, bool>> papers;
        ui.QueueModal([&papers](CWnd& dialog) {
            DialogDriver driver(dialog);
            for (int i = 0; i < driver.Count(CPrintDialog::IDC_PAPER); ++i)
                for (bool landscape : {false, true})
                    papers.emplace_back(i, landscape);
            driver.Click(IDCANCEL);
        });
        Command(ID_FILE_PRINT_SETUP);
        return papers;
    }

    void ChoosePaper(int index, bool landscape)
    {
        ui.QueueModal([index, landscape](CWnd& dialog) {
            DialogDriver driver(dialog);
            driver.Select(CPrintDialog::IDC_PAPER, index);
            driver.Click(landscape ? CPrintDialog::IDC_LANDSCAPE : CPrintDialog::IDC_PORTRAIT);
            driver.Click(IDOK);
        });
        Command(ID_FILE_PRINT_SETUP);
        ASSERT_EQ(ui.PendingModals(), 0u);
    }

    // The preview of the view, resized through the sizes where its bars once flipped for
    // ever (A4 portrait at 900 x 869-895, Letter landscape at 900 x 500-520), Zoom In
    // pressed at each.
    void ResizeThePreview(CCommonView* view)
    {
        CPreviewView* preview = CPreviewView::FindPreviewOf(view);
        ASSERT_NE(preview, nullptr) << "the preview opened";
        EXPECT_EQ(PreviewBarFault(*preview), "") << "as opened";
        std::vector<CSize> sizes;
        for (int height = 869; height <= 895; ++height)
            sizes.emplace_back(900, height);
        for (int height = 500; height <= 520; ++height)
            sizes.emplace_back(900, height);
        const PreviewSweepResult result = SweepPreviewSizes(*preview, sizes);
        EXPECT_EQ(result.faults, 0) << result.faults << " of " << result.checked << " layouts wrong; first: " << result.first;
    }

    void ClosePreviewOf(CCommonView* view)
    {
        if (CPreviewView* preview = CPreviewView::FindPreviewOf(view))
            preview->GetParentFrame()->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
        RunPosted();
        EXPECT_EQ(CPreviewView::FindPreviewOf(view), nullptr);
    }

    // File > Print preview, File > Print configuration and the confirmation after Device >
    // Send configuration, for every paper in both orientations. The confirmation is
    // rejected: the device ends logged out and the document keeps its edits.
    void OpenEveryPreviewAtEveryPaper()
    {
        CCommonDoc* doc = Document();
        CCommonView* view = View();
        ASSERT_NE(view, nullptr);
        const std::vector<BYTE> own = ConfigurationBytes(*doc);
        const std::vector<std::pair<int, bool>> papers = OfferedPapers();
        ASSERT_GE(papers.size(), 6u);
        for (const auto& [paper, landscape] : papers) {
            SCOPED_TRACE("paper " + std::to_string(paper) + (landscape ? " landscape" : " portrait"));
            ChoosePaper(paper, landscape);
            for (UINT command : {ID_FILE_PRINT_PREVIEW, ID_PRINT_CONFIG_PREVIEW}) {
                SCOPED_TRACE(command);
                Command(command);
                ResizeThePreview(view);
                ClosePreviewOf(view);
            }
            const std::size_t from = emulator->Requests().size();
            ASSERT_EQ(SendUpToTheConfirmation(), view) << "the confirmation preview after sending";
            ResizeThePreview(view);
            PressInThePreview(view, AFX_ID_PREVIEW_CLOSE);
            const std::vector<SensorRequest> requests = emulator->Requests();
            const int login = FindAccess(requests, from, kLoginMode);
            ASSERT_GE(login, 0);
            EXPECT_GT(FindAccess(requests, std::size_t(login + 1), kLogoutMode), login) << "rejected: logged out";
            ASSERT_EQ(Document(), doc);
            EXPECT_TRUE(SameBytes(ConfigurationBytes(*doc), own)) << "the document keeps its own configuration";
        }
    }

    Watchdog watchdog{std::chrono::seconds(180)};
    fs::path folder;
    std::vector<std::pair<std::string, std::optional<std::string>>> savedEnvironment;
    ScriptedUi ui;
    std::unique_ptr<DeviceEmulator> emulator;
    std::unique_ptr<CTalisoApp> app;
    DWORD clock = 1000;
    // Different in every session, so that the edit is one also on a device that kept
    // an earlier session's configuration.
    std::string editedName = "EDIT" + std::to_string(Serial());
    BYTE editedScans = 0;
};

TEST_F(WorkingSession, ScannerOnThePort)
{
    StartWithDevice(kFamilyZOK);
    if (HasFatalFailure()) return;
    RunSession(kFamilyZOK, ".zok");
}

TEST_F(WorkingSession, InterfaceUnitOnThePort)
{
    StartWithDevice(kFamilyKVR);
    if (HasFatalFailure()) return;
    RunSession(kFamilyKVR, ".kvr");
}

TEST_F(WorkingSession, SimulatedInterfaceUnit)
{
    StartSimulated(kFamilyKVR);
    if (HasFatalFailure()) return;
    RunSession(kFamilyKVR, ".kvr");
}

// A line fault while writing: the request after the login goes unanswered, then is
// refused, so the driver gives up and the user cancels at the Retry/Cancel prompt. The
// device is left logged out and the document as it was, as after a send rejected in the
// preview. A second rejected send shows where the login comes among the requests of a
// send (the first one after the start asks the device more).
TEST_F(WorkingSession, LineFaultWhileSendingEndsLoggedOutWithTheDocumentUnchanged)
{
    StartWithDevice(kFamilyZOK);
    if (HasFatalFailure()) return;
    CCommonDoc* doc = Document();
    const std::vector<BYTE> document = StoreBytes(*doc);

    std::size_t from = 0;
    std::size_t firstStep = 0;
    for (int send = 0; send < 2; ++send) {
        from = emulator->Requests().size();
        CCommonView* view = SendUpToTheConfirmation();
        ASSERT_NE(view, nullptr);
        PressInThePreview(view, AFX_ID_PREVIEW_CLOSE);
        const std::vector<SensorRequest> requests = emulator->Requests();
        const int login = FindAccess(requests, from, kLoginMode);
        ASSERT_GE(login, 0);
        EXPECT_GT(FindAccess(requests, std::size_t(login + 1), kLogoutMode), login) << "rejected: logged out";
        EXPECT_TRUE(SameBytes(StoreBytes(*doc), document));
        // The first step of the write: the first request after the login that is no
        // identification read.
        firstStep = std::size_t(login + 1);
        while (firstStep < requests.size() && requests[firstStep].Command() == kIdentificationCommand)
            ++firstStep;
    }

    // The driver sends a request twice before it gives up, and a step of the write is
    // tried three times before the prompt: one silence, then refusals for the rest.
    std::vector<EmulatorFault> faults(firstStep - from, EmulatorFault::None);
    faults.push_back(EmulatorFault::Silence);
    faults.insert(faults.end(), 5, EmulatorFault::Nak);
    emulator->PlanFaults(faults);
    from = emulator->Requests().size();
    CCommonView* view = View();
    ui.ClearMessageBoxes();
    ui.QueueAnswers({IDOK, IDCANCEL}); // the note, then Cancel at the prompt
    Command(ID_SEND_CONFIGURATION);
    EXPECT_EQ(CPreviewView::FindPreviewOf(view), nullptr) << "no confirmation after a failure";
    const std::vector<MessageBoxRecord>& boxes = ui.MessageBoxes();
    const auto prompt = std::find_if(boxes.begin(), boxes.end(), [](const MessageBoxRecord& box) {
        return (box.flags & MB_TYPEMASK) == MB_RETRYCANCEL;
    });
    ASSERT_NE(prompt, boxes.end()) << "the Retry/Cancel prompt";
    EXPECT_EQ(prompt->answer, IDCANCEL);
    const std::vector<UINT> ids = BoxIds(ui);
    EXPECT_NE(std::find(ids.begin(), ids.end(), IDP_TRANSFER_FAILED), ids.end());

    const std::vector<SensorRequest> requests = emulator->Requests();
    const int again = FindAccess(requests, from, kLoginMode);
    ASSERT_GE(again, 0);
    EXPECT_GT(FindAccess(requests, std::size_t(again + 1), kLogoutMode), again) << "cancelled: logged out";
    EXPECT_TRUE(SameBytes(StoreBytes(*doc), document));
    EXPECT_EQ(Document(), doc);
}

TEST_F(WorkingSession, ScannerPreviewsAtEveryPaper)
{
    StartWithDevice(kFamilyZOK);
    if (HasFatalFailure()) return;
    OpenEveryPreviewAtEveryPaper();
}

TEST_F(WorkingSession, InterfaceUnitPreviewsAtEveryPaper)
{
    StartWithDevice(kFamilyKVR);
    if (HasFatalFailure()) return;
    OpenEveryPreviewAtEveryPaper();
}

} // namespace
