// Memory of open documents: four KVR documents (a unit of four scanners read from the
// simulated device, stored and opened again) shown maximized in a 1920 x 1080 main
// window, against four bare child windows of a document without data. The counters
// are the growth of the resident set (rss_mb) and of the heap in use (heap_mb) per
// document opened in front of the first, after each window painted, and the document
// file's size (file_kb).
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
#include "framework/ui/CView.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEvent>

#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
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

class MemoryApp : public CWinApp {};

// The main window with the language library's menus, and the documents' files.
class Workspace {
public:
    explicit Workspace(const char* name)
        : m_language(LoadLibrary("LAN_ENG.DLL")), m_previous(AfxGetResourceHandle()),
          m_folder(fs::temp_directory_path() / ("taliso-memory-" + std::to_string(getpid()) + "-" + name))
    {
        fs::create_directories(m_folder);
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
        fs::remove_all(m_folder);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    bool Ready() const { return m_ready; }
    CDocTemplate* AddTemplate(std::unique_ptr<CDocTemplate> docTemplate) { return m_app.AddDocTemplate(std::move(docTemplate)); }
    std::string FilePath(int index) const { return (m_folder / ("unit" + std::to_string(index) + ".kvr")).string(); }
    void CloseAll()
    {
        m_app.CloseAllDocuments(TRUE);
        Pump();
    }

private:
    HMODULE m_language;
    HINSTANCE m_previous;
    fs::path m_folder;
    MemoryApp m_app;
    CTalisoMDIFrameWnd* m_frame = nullptr;
    bool m_ready = false;
};

// Opens kDocuments documents through open. The first one brings the windows on the
// screen (rss_first_mb); each further one, opened in front of it, adds what a document
// costs (rss_mb and heap_mb per document).
template <class Open>
void MeasureDocuments(benchmark::State& state, Workspace& workspace, Open open)
{
    // A first round pays for what every later document shares (fonts, resources, caches).
    if (!open(kDocuments)) {
        state.SkipWithError("the document does not open");
        return;
    }
    Pump();
    workspace.CloseAll();
    double first = 0, rss = 0, heap = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const double rssEmpty = ResidentBytes();
        double rssBefore = 0, heapBefore = 0;
        for (int i = 0; i < kDocuments; ++i) {
            if (!open(i)) {
                state.SkipWithError("the document does not open");
                return;
            }
            Pump();
            if (i == 0) {
                malloc_trim(0);
                rssBefore = ResidentBytes();
                heapBefore = HeapBytes();
            }
        }
        malloc_trim(0);
        first = rssBefore - rssEmpty;
        rss = (ResidentBytes() - rssBefore) / (kDocuments - 1);
        heap = (HeapBytes() - heapBefore) / (kDocuments - 1);
        state.PauseTiming();
        workspace.CloseAll();
        state.ResumeTiming();
    }
    state.counters["rss_first_mb"] = first / kMegabyte;
    state.counters["rss_mb"] = rss / kMegabyte;
    state.counters["heap_mb"] = heap / kMegabyte;
}

bool PrepareApplication(benchmark::State& state)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (AfxEnsureGuiApplication())
        return true;
    state.SkipWithError("no application");
    return false;
}

void BM_KVRDocumentMemory(benchmark::State& state)
{
    if (!PrepareApplication(state))
        return;
    ScriptedUi ui; // a message box fails the run instead of waiting
    Workspace workspace("kvr");
    if (!workspace.Ready()) {
        state.SkipWithError("no main window (LAN_ENG.DLL)");
        return;
    }
    CDocTemplate* kvr = workspace.AddTemplate(std::make_unique<CMultiDocTemplate>(
        IDR_KVRTYPE, RUNTIME_CLASS(CKVRDoc), RUNTIME_CLASS(CTalisoMDIChildWnd), RUNTIME_CLASS(CKVRView)));
    // A unit of four scanners as the simulated device holds it.
    CKVRSensor simulated(1);
    std::unique_ptr<CKVRConfig> unit;
    if (simulated.Load("") && simulated.Open()) {
        unit = simulated.ReadConfiguration();
        simulated.Close();
    }
    simulated.Free();
    if (unit == nullptr) {
        state.SkipWithError("the simulated unit gives no configuration");
        return;
    }
    for (int i = 0; i <= kDocuments; ++i) {
        CKVRDoc file;
        file.m_bAutoDelete = FALSE;
        file.SetConfiguration(std::make_unique<CKVRConfig>(*unit), FALSE);
        if (!file.OnSaveDocument(workspace.FilePath(i).c_str())) {
            state.SkipWithError("the document is not stored");
            return;
        }
    }
    MeasureDocuments(state, workspace, [&](int i) {
        return kvr->OpenDocumentFile(workspace.FilePath(i).c_str(), TRUE) != nullptr;
    });
    state.counters["file_kb"] = double(fs::file_size(workspace.FilePath(0))) / 1024.0;
}
BENCHMARK(BM_KVRDocumentMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_BareChildWindowMemory(benchmark::State& state)
{
    if (!PrepareApplication(state))
        return;
    ScriptedUi ui;
    Workspace workspace("bare");
    if (!workspace.Ready()) {
        state.SkipWithError("no main window (LAN_ENG.DLL)");
        return;
    }
    CDocTemplate* plain = workspace.AddTemplate(std::make_unique<CMultiDocTemplate>(
        IDR_KVRTYPE, RUNTIME_CLASS(PlainDoc), RUNTIME_CLASS(CTalisoMDIChildWnd), RUNTIME_CLASS(PlainView)));
    MeasureDocuments(state, workspace, [&](int) { return plain->OpenDocumentFile(nullptr, TRUE) != nullptr; });
}
BENCHMARK(BM_BareChildWindowMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
