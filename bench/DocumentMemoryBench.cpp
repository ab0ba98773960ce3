// Memory of open documents as the user pays for them: four KVR documents (a unit of
// four scanners read from the simulated device and stored) opened one after the other
// through File > Open, shown maximized in a 1920 x 1080 main window, against four bare
// child windows of a document without data. The counters are the growth of the
// process's resident set per document opened in front of the first (rss_mb; the bar
// is 2 MB), what the first one brings on the screen (rss_first_mb), the heap in use
// per further document (heap_mb) and the document file's size (file_kb).
// Memory the allocator keeps after a free counts as the user's: the heap is never
// trimmed, and each iteration runs in a fresh child process, so that no reading
// profits from what an earlier one left free.
// Run with QT_QPA_PLATFORM=offscreen.
#include "app/CKVRDoc.h"
#include "app/CKVRView.h"
#include "app/CTalisoApp.h"
#include "app/CTalisoMDIChildWnd.h"
#include "app/CTalisoMDIFrameWnd.h"
#include "app/settings/CTalisoSetup.h"
#include "device/CKVRSensor.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDocTemplate.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/CView.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEvent>

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kDocuments = 4;
constexpr double kMegabyte = 1024.0 * 1024.0;

double ResidentBytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE));
}

double HeapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

// What follows a command the user gave: its messages, then the idle steps.
void Pump()
{
    AfxRequestIdleProcessing();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class PlainDoc : public CDocument {
    DECLARE_DYNCREATE(PlainDoc)
};
IMPLEMENT_DYNCREATE(PlainDoc, CDocument)

class PlainView : public CView {
    DECLARE_DYNCREATE(PlainView)
public:
    void OnDraw(CDC* pDC) override
    {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, RGB(255, 255, 255));
    }
};
IMPLEMENT_DYNCREATE(PlainView, CView)

// File > Open as the main window's menu sends it.
class MemoryApp : public CWinApp {
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MemoryApp, CWinApp)
    ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
END_MESSAGE_MAP()

// The main window with the language library's menus, as the user starts the program.
class Workspace {
public:
    Workspace() : m_language(LoadLibrary("LAN_ENG.DLL")), m_previous(AfxGetResourceHandle())
    {
        if (m_language != nullptr)
            AfxSetResourceHandle(m_language);
        GetTalisoSetup().SetDefaults();
        GetTalisoSetup().m_bViewMaximize = TRUE;
        m_frame = new CTalisoMDIFrameWnd;
        if (m_language == nullptr || !m_frame->LoadFrame(IDR_MAINFRAME))
            return;
        m_app.m_pMainWnd = m_frame;
        m_frame->MoveWindow(0, 0, 1920, 1080);
        m_frame->ShowWindow(SW_SHOW);
        Pump();
        m_ready = true;
    }
    ~Workspace()
    {
        m_app.CloseAllDocuments(TRUE);
        m_app.m_pMainWnd = nullptr;
        if (m_frame->m_hWnd != nullptr)
            m_frame->DestroyWindow();
        Pump();
        if (m_language != nullptr) {
            AfxSetResourceHandle(m_previous);
            FreeLibrary(m_language);
        }
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    bool Ready() const { return m_ready; }
    CDocTemplate* AddTemplate(std::unique_ptr<CDocTemplate> docTemplate) { return m_app.AddDocTemplate(std::move(docTemplate)); }

    // File > Open, the file chosen in the dialog; true when a document came of it.
    bool OpenThroughMenu(CDocTemplate* docTemplate, const std::string& path)
    {
        m_ui.QueueModal([path](CWnd& dialog) { static_cast<CFileDialog&>(dialog).ChooseFile(path.c_str()); });
        return Opened(docTemplate, [this] { m_frame->SendMessage(WM_COMMAND, ID_FILE_OPEN); });
    }
    // A new document without data (the bare yardstick needs no log-in level).
    bool OpenEmpty(CDocTemplate* docTemplate)
    {
        return Opened(docTemplate, [docTemplate] { docTemplate->OpenDocumentFile(nullptr, TRUE); });
    }

private:
    bool Opened(CDocTemplate* docTemplate, const std::function<void()>& open)
    {
        const int before = docTemplate->GetDocumentCount();
        open();
        Pump();
        return docTemplate->GetDocumentCount() == before + 1 && m_ui.MessageBoxes().empty();
    }

    ScriptedUi m_ui; // a message box fails the run instead of waiting
    HMODULE m_language;
    HINSTANCE m_previous;
    MemoryApp m_app;
    CTalisoMDIFrameWnd* m_frame = nullptr;
    bool m_ready = false;
};

// One run's readings, handed from the child process to the benchmark.
struct Reading {
    double rssFirst = 0;
    double rss = 0;  // per document in front of the first
    double heap = 0; // likewise
    std::array<char, 96> error{};
};

Reading Failed(const char* why)
{
    Reading reading;
    snprintf(reading.error.data(), reading.error.size(), "%s", why);
    return reading;
}

// Runs work in a fresh process (no application object exists in this one), so that
// each reading starts from a program just started.
Reading InChildProcess(const std::function<Reading()>& work)
{
    int channel[2];
    if (pipe(channel) != 0)
        return Failed("no pipe");
    const pid_t child = fork();
    if (child < 0)
        return Failed("no child process");
    if (child == 0) {
        close(channel[0]);
        const Reading reading = work();
        const bool written = write(channel[1], &reading, sizeof reading) == ssize_t(sizeof reading);
        _exit(written ? 0 : 1);
    }
    close(channel[1]);
    Reading reading;
    ssize_t got = 0;
    while ((got = read(channel[0], &reading, sizeof reading)) < 0 && errno == EINTR) {
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != ssize_t(sizeof reading) || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return Failed("the child process failed");
    return reading;
}

bool PrepareApplication()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return AfxEnsureGuiApplication();
}

// Opens kDocuments documents one after the other through open: the first one brings
// the windows on the screen, each further one adds what a document costs.
Reading MeasureDocuments(const std::function<CDocTemplate*(Workspace&)>& addTemplate,
                         const std::function<bool(Workspace&, CDocTemplate*, int)>& open)
{
    if (!PrepareApplication())
        return Failed("no application");
    Workspace workspace;
    if (!workspace.Ready())
        return Failed("no main window (LAN_ENG.DLL)");
    CDocTemplate* docTemplate = addTemplate(workspace);
    Reading reading;
    const double rssEmpty = ResidentBytes();
    double rssFirst = 0, heapFirst = 0;
    for (int i = 0; i < kDocuments; ++i) {
        if (!open(workspace, docTemplate, i))
            return Failed("the document does not open");
        if (i == 0) {
            rssFirst = ResidentBytes();
            heapFirst = HeapBytes();
        }
    }
    reading.rssFirst = rssFirst - rssEmpty;
    reading.rss = (ResidentBytes() - rssFirst) / (kDocuments - 1);
    reading.heap = (HeapBytes() - heapFirst) / (kDocuments - 1);
    return reading;
}

void Report(benchmark::State& state, const std::function<Reading()>& run)
{
    Reading sum;
    int runs = 0;
    for (auto _ : state) {
        const Reading reading = InChildProcess(run);
        if (reading.error[0] != '\0') {
            state.SkipWithError(reading.error.data());
            return;
        }
        sum.rssFirst += reading.rssFirst;
        sum.rss += reading.rss;
        sum.heap += reading.heap;
        ++runs;
    }
    if (runs == 0)
        return;
    state.counters["rss_first_mb"] = sum.rssFirst / runs / kMegabyte;
    state.counters["rss_mb"] = sum.rss / runs / kMegabyte;
    state.counters["heap_mb"] = sum.heap / runs / kMegabyte;
}

// A unit of four scanners as the simulated device holds it, stored in count files.
Reading StoreUnitFiles(const fs::path& folder, int count)
{
    if (!PrepareApplication())
        return Failed("no application");
    ScriptedUi ui;
    CKVRSensor simulated(1);
    std::unique_ptr<CKVRConfig> unit;
    if (simulated.Load("") && simulated.Open()) {
        unit = simulated.ReadConfiguration();
        simulated.Close();
    }
    simulated.Free();
    if (unit == nullptr)
        return Failed("the simulated unit gives no configuration");
    for (int i = 0; i < count; ++i) {
        CKVRDoc file;
        file.m_bAutoDelete = FALSE;
        file.SetConfiguration(std::make_unique<CKVRConfig>(*unit), FALSE);
        if (!file.OnSaveDocument((folder / ("unit" + std::to_string(i) + ".kvr")).string().c_str()))
            return Failed("the document is not stored");
    }
    return {};
}

void BM_KVRDocumentMemory(benchmark::State& state)
{
    const fs::path folder = fs::temp_directory_path() / ("taliso-memory-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const auto fileOf = [&folder](int i) { return (folder / ("unit" + std::to_string(i) + ".kvr")).string(); };
    const Reading stored = InChildProcess([&] { return StoreUnitFiles(folder, kDocuments); });
    if (stored.error[0] != '\0') {
        state.SkipWithError(stored.error.data());
        fs::remove_all(folder);
        return;
    }
    Report(state, [&] {
        return MeasureDocuments(
            [](Workspace& workspace) {
                return workspace.AddTemplate(std::make_unique<CMultiDocTemplate>(
                    IDR_KVRTYPE, RUNTIME_CLASS(CKVRDoc), RUNTIME_CLASS(CTalisoMDIChildWnd), RUNTIME_CLASS(CKVRView)));
            },
            [&](Workspace& workspace, CDocTemplate* kvr, int i) { return workspace.OpenThroughMenu(kvr, fileOf(i)); });
    });
    state.counters["file_kb"] = double(fs::file_size(fileOf(0))) / 1024.0;
    fs::remove_all(folder);
}
BENCHMARK(BM_KVRDocumentMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_BareChildWindowMemory(benchmark::State& state)
{
    Report(state, [] {
        return MeasureDocuments(
            [](Workspace& workspace) {
                return workspace.AddTemplate(std::make_unique<CMultiDocTemplate>(
                    IDR_KVRTYPE, RUNTIME_CLASS(PlainDoc), RUNTIME_CLASS(CTalisoMDIChildWnd), RUNTIME_CLASS(PlainView)));
            },
            [](Workspace& workspace, CDocTemplate* plain, int) { return workspace.OpenEmpty(plain); });
    });
}
BENCHMARK(BM_BareChildWindowMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
