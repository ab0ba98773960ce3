// Recording one result into a protocol file that already holds N results, against
// writing the whole list of N results anew (what a recorder that rewrites its file per
// result pays). Run with QT_QPA_PLATFORM=offscreen.
#include "app/CCommonDoc.h"

#include "framework/core/CArchive.h"
#include "framework/core/CFile.h"
#include "framework/core/CList.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CScan.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A scan as the monitoring modes deliver it: 361 beams.
std::unique_ptr<CScan> MeasuredScan()
{
    auto scan = std::make_unique<CScan>();
    scan->SetScanFill(CSensorType(4, 0), CBeamWord(1500), 361);
    return scan;
}

class ScratchFolder {
public:
    explicit ScratchFolder(const char* name)
        : m_dir(fs::temp_directory_path() / ("taliso-bench-" + std::to_string(::getpid()) + "-" + name))
    {
        fs::create_directories(m_dir);
    }
    ~ScratchFolder() { fs::remove_all(m_dir); }
    std::string Path(const char* file) const { return (m_dir / file).string(); }

private:
    fs::path m_dir;
};

class RecordingDoc : public CCommonDoc {
public:
    RecordingDoc() { m_bAutoDelete = FALSE; }
};

void BM_RecordOneResult(benchmark::State& state)
{
    if (!AfxEnsureGuiApplication()) {
        state.SkipWithError("no GUI application");
        return;
    }
    ScratchFolder folder("record");
    const std::string path = folder.Path("run.prt");
    ScriptedUi ui;
    ui.QueueModal([&](CWnd& dlg) { static_cast<CFileDialog&>(dlg).ChooseFile(path.c_str()); });
    RecordingDoc doc;
    doc.OnToggleRecording();
    const auto scan = MeasuredScan();
    for (int64_t i = 0; i < state.range(0); ++i)
        doc.RecordResult(scan.get());
    for (auto _ : state)
        doc.RecordResult(scan.get());
    if (!doc.IsRecording())
        state.SkipWithError("recording ended");
}
BENCHMARK(BM_RecordOneResult)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_RewriteWholeList(benchmark::State& state)
{
    ScratchFolder folder("rewrite");
    const std::string path = folder.Path("run.prt");
    std::vector<std::unique_ptr<CScan>> scans;
    CObList list;
    for (int64_t i = 0; i < state.range(0); ++i) {
        scans.push_back(MeasuredScan());
        list.AddTail(scans.back().get());
    }
    for (auto _ : state) {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        list.Serialize(ar);
        ar.Close();
        file.Close();
    }
}
BENCHMARK(BM_RewriteWholeList)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
