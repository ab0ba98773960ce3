// One frame of a device view at 1920 x 1080 drawn through the view's own code: the
// double buffer, a second field and the current contour merged over it with its handles,
// a 361-beam scan, the dotted grid mixed with XOR and its labels, then the blit.
#include "app/CCommonDoc.h"
#include "app/CCommonView.h"
#include "app/CTalisoSetup.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/WindowHandle.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/CScan.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

class BenchDoc : public CCommonDoc {
public:
    BenchDoc() { m_bAutoDelete = FALSE; }
    CShelter* GetCurrentObject() override { return current.get(); }
    CShelter* GetSecondObject() override { return second.get(); }
    int RunMode1(int) override { return 1; }
    std::unique_ptr<CShelter> current;
    std::unique_ptr<CShelter> second;
};

void BM_ViewFrame(benchmark::State& state)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!AfxEnsureGuiApplication()) {
        state.SkipWithError("no application");
        return;
    }
    CTalisoSetup& setup = GetTalisoSetup();
    setup.SetDefaults();
    setup.m_bViewGrid = TRUE;
    setup.m_bViewLabels = TRUE;
    setup.m_bViewRectGrid = TRUE;
    setup.m_bDrawOnScreen = FALSE;
    setup.m_nRectGrid = 100;

    const CSensorType type(4, 0);
    BenchDoc doc;
    auto contour = std::make_unique<CPolyShelter>();
    contour->InitializeConstant(type, 400, 361, 1);
    auto rectangle = std::make_unique<CRectShelter>();
    rectangle->Initialize(type, 300, 500, 300, 2);
    doc.current = std::move(contour);
    doc.second = std::move(rectangle);
    std::vector<WORD> words(361);
    for (int beam = 0; beam < 361; ++beam)
        words[std::size_t(beam)] = WORD(450 + int(80 * std::sin(beam / 9.0)));
    CScan scan;
    scan.SetScanData(type, words.data(), WORD(words.size()));
    doc.SetResult(&scan);
    doc.SetEditMode(1);
    doc.SetMode(kModeEdit);

    CWnd top;
    top.CreateEx(0, nullptr, "bench", WS_OVERLAPPEDWINDOW, CRect(0, 0, kWidth + 40, kHeight + 40), nullptr, 0);
    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    auto* view = new CCommonView;
    view->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &top, AFX_IDW_PANE_FIRST, &context);
    view->OnInitialUpdate();
    view->SetRange(700);

    CRect client;
    view->GetClientRect(&client);
    CDC window;
    window.CreateImageDC(client.Width(), client.Height());
    for (auto _ : state) {
        window.SetMapMode(MM_TEXT);
        view->OnPrepareDC(&window);
        view->OnDraw(&window);
        benchmark::DoNotOptimize(window.GetPixel(client.Width() / 2, client.Height() / 2));
    }
    top.DestroyWindow();
}
BENCHMARK(BM_ViewFrame)->Unit(benchmark::kMillisecond);

} // namespace
