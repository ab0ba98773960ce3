// Recording one result into a protocol file that already holds N results, against
// appending one stored result to an open file and flushing it (the least a recorder
// writes per result). Run with QT_QPA_PLATFORM=offscreen.
#include "app/CCommonDoc.h"

#include "framework/core/CArchive.h"
#include "framework/core/CFile.h"
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

// The yardstick: one measured scan stored at the end of an open archive and flushed to
// the file, the least any recorder writes per result. Each result is an object of its
// own (as in a recording), so the archive stores it whole, never as a reference.
void BM_AppendOneRecord(benchmark::State& state)
{
    ScratchFolder folder("append");
    const std::string path = folder.Path("run.prt");
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    std::vector<std::unique_ptr<CScan>> results;
    auto append = [&] {
        results.push_back(MeasuredScan());
        ar << static_cast<const CObject*>(results.back().get());
        ar.Flush();
    };
    for (int64_t i = 0; i < state.range(0); ++i)
        append();
    for (auto _ : state)
        append();
    ar.Close();
    file.Close();
}
BENCHMARK(BM_AppendOneRecord)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
