// One scan in the printed field diagram on a print-preview page at 600 dpi: a scan
// within the diagram, one reaching far beyond it (as a damaged protocol file may hold)
// and one folding back between the scanner and far away at every beam.
#include "app/CFieldDiagram.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/WindowHandle.h"
#include "model/CScan.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

enum ScanShape { kWithin, kFarBeyond, kFolded };

CScan MakeScan(ScanShape shape)
{
    std::vector<WORD> words(181, 40);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (shape == kFarBeyond) words[i] = i % 40 == 6 ? 7946 : 256;
        if (shape == kFolded) words[i] = i % 2 ? 8191 : 1;
    }
    CScan scan;
    scan.SetScanData(CSensorType(), words.data(), WORD(words.size()));
    return scan;
}

void DiagramWithScan(benchmark::State& state)
{
    AfxEnsureGuiApplication();
    const CScan scan = MakeScan(ScanShape(state.range(0)));
    CDC dc;
    dc.CreatePageImageDC(GdiPageSetup());
    dc.StartDoc("bench");
    for (auto _ : state) {
        dc.StartPage();
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(2540, 2540);
        dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
        CRect box(1000, 1000, 19000, 12000);
        CFieldDiagram::Draw(&dc, box, &scan, nullptr, nullptr, FieldDiagramStyle());
        dc.EndPage();
    }
    dc.EndDoc();
}
BENCHMARK(DiagramWithScan)->Arg(kWithin)->Arg(kFarBeyond)->Arg(kFolded)->Unit(benchmark::kMillisecond);

} // namespace
