// One frame of a device view at 1920 x 1080 drawn through the view's own code into a
// window's pixels: a second field and the current contour merged over it with its
// handles, a 361-beam scan, the dotted grid mixed with XOR and its labels. The frame is
// drawn again as a repaint draws it, and (BM_ViewFrameNewScan) with a new scan each time.
// BM_ViewFrameBarePainter is the yardstick: the same primitives (taken from the view's
// own drawing calls, in device pixels) drawn by a bare QPainter in plain modes.
// Run with QT_QPA_PLATFORM=offscreen.
#include "app/CCommonDoc.h"
#include "app/CCommonView.h"
#include "app/settings/CTalisoSetup.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/WindowHandle.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/CScan.h"

#include <benchmark/benchmark.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
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

// A view of a document in the field editor over a scan, in a window of its own.
class ViewScene {
public:
    ViewScene()
    {
        CTalisoSetup& setup = GetTalisoSetup();
        setup.SetDefaults();
        setup.m_bViewGrid = TRUE;
        setup.m_bViewLabels = TRUE;
        setup.m_bViewRectGrid = TRUE;
        setup.m_bDrawOnScreen = FALSE;
        setup.m_nRectGrid = 100;

        auto contour = std::make_unique<CPolyShelter>();
        contour->InitializeConstant(type, 400, 361, 1);
        auto rectangle = std::make_unique<CRectShelter>();
        rectangle->Initialize(type, 300, 500, 300, 2);
        doc.current = std::move(contour);
        doc.second = std::move(rectangle);
        doc.SetEditMode(1);
        doc.SetMode(kModeEdit);
        // After the mode: starting a mode drops the result.
        ShowScan(0);

        top.CreateEx(0, nullptr, "bench", WS_OVERLAPPEDWINDOW, CRect(0, 0, kWidth + 40, kHeight + 40), nullptr, 0);
        CCreateContext context;
        context.m_pCurrentDoc = &doc;
        view = new CCommonView;
        view->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &top, AFX_IDW_PANE_FIRST, &context);
        view->OnInitialUpdate();
        view->SetRange(700);
        view->GetClientRect(&client);
    }
    ~ViewScene() { top.DestroyWindow(); }
    ViewScene(const ViewScene&) = delete;
    ViewScene& operator=(const ViewScene&) = delete;

    // A scan of 361 beams; each round turns its wave on by a beam, as a live scan moves.
    void ShowScan(int round)
    {
        std::vector<WORD> words(361);
        for (int beam = 0; beam < 361; ++beam)
            words[std::size_t(beam)] = WORD(450 + int(80 * std::sin((beam + round) / 9.0)));
        CScan scan;
        scan.SetScanData(type, words.data(), WORD(words.size()));
        doc.SetResult(&scan);
    }

    void Draw(CDC& window)
    {
        window.SetMapMode(MM_TEXT);
        view->OnPrepareDC(&window);
        view->OnDraw(&window);
    }

    // The view's drawing calls, straight on a recording device.
    std::vector<CString> RecordCalls()
    {
        CTalisoSetup& setup = GetTalisoSetup();
        setup.m_bDrawOnScreen = TRUE;
        CDC recorder;
        recorder.CreateRecordingDC(client.Width(), client.Height());
        Draw(recorder);
        setup.m_bDrawOnScreen = FALSE;
        return recorder.GetRecording();
    }

    // Device pixels per logical unit of the view's mapping.
    double Scale()
    {
        CDC dc;
        dc.CreateRecordingDC(client.Width(), client.Height());
        view->OnPrepareDC(&dc);
        SIZE size{1000, 1000};
        dc.LPtoDP(&size);
        return std::abs(size.cx) / 1000.0;
    }

    const CSensorType type{4, 0};
    BenchDoc doc;
    CWnd top;
    CCommonView* view = nullptr;
    CRect client;
};

BOOL PrepareApplication(benchmark::State& state)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (AfxEnsureGuiApplication())
        return TRUE;
    state.SkipWithError("no application");
    return FALSE;
}

void BM_ViewFrame(benchmark::State& state)
{
    if (!PrepareApplication(state))
        return;
    ViewScene scene;
    CDC window;
    window.CreateImageDC(scene.client.Width(), scene.client.Height());
    for (auto _ : state) {
        scene.Draw(window);
        benchmark::DoNotOptimize(window.GetPixel(kWidth / 2, kHeight / 2));
    }
}
BENCHMARK(BM_ViewFrame)->Unit(benchmark::kMillisecond);

// The same with a scan that changes every frame, as while monitoring.
void BM_ViewFrameNewScan(benchmark::State& state)
{
    if (!PrepareApplication(state))
        return;
    ViewScene scene;
    CDC window;
    window.CreateImageDC(scene.client.Width(), scene.client.Height());
    int round = 0;
    for (auto _ : state) {
        scene.ShowScan(++round);
        scene.Draw(window);
        benchmark::DoNotOptimize(window.GetPixel(kWidth / 2, kHeight / 2));
    }
}
BENCHMARK(BM_ViewFrameNewScan)->Unit(benchmark::kMillisecond);

// --- the bare painter ---

struct BarePen {
    QColor color;
    int width = 1; // device pixels
    Qt::PenStyle style = Qt::SolidLine;
};

// One primitive of the frame in device pixels.
struct BarePrimitive {
    enum class Kind { Polygon, Line, Rectangle, Text } kind;
    BarePen pen;
    QColor brush;
    QPolygon points;
    QString text;
};

QColor ColorOf(const char* hex)
{
    unsigned r = 0, g = 0, b = 0;
    std::sscanf(hex, "#%02X%02X%02X", &r, &g, &b);
    return QColor(int(r), int(g), int(b));
}

// The device part "D[...]" of a recorded call.
std::string DevicePart(const std::string& line)
{
    const std::size_t from = line.find("D[");
    const std::size_t to = line.find(']', from);
    return from == std::string::npos || to == std::string::npos ? std::string() : line.substr(from + 2, to - from - 2);
}

QPolygon PointsOf(const std::string& list)
{
    QPolygon points;
    int x = 0, y = 0, used = 0;
    for (const char* p = list.c_str(); std::sscanf(p, " (%d,%d)%n", &x, &y, &used) == 2; p += used)
        points << QPoint(x, y);
    return points;
}

// Turns the recorded calls into primitives, following the selected pen and brush.
std::vector<BarePrimitive> PrimitivesOf(const std::vector<CString>& calls, double scale)
{
    std::vector<BarePrimitive> primitives;
    BarePen pen;
    QColor brush;
    QPoint position;
    for (const CString& call : calls) {
        const std::string line = call.c_str();
        const std::string device = DevicePart(line);
        unsigned style = 0;
        int width = 0, x = 0, y = 0, r = 0, b = 0;
        char color[8] = {};
        if (std::sscanf(line.c_str(), "SelectObject pen style=%u width=%d color=%7s", &style, &width, color) == 3) {
            pen = {ColorOf(color), std::max(1, int(std::lround(width * scale))), style == PS_DOT ? Qt::DotLine : Qt::SolidLine};
        } else if (std::sscanf(line.c_str(), "SelectObject brush style=%u color=%7s", &style, color) == 2) {
            brush = ColorOf(color);
        } else if (line.rfind("MoveTo", 0) == 0 && std::sscanf(device.c_str(), "%d,%d", &x, &y) == 2) {
            position = QPoint(x, y);
        } else if (line.rfind("LineTo", 0) == 0 && std::sscanf(device.c_str(), "%d,%d", &x, &y) == 2) {
            primitives.push_back({BarePrimitive::Kind::Line, pen, brush, QPolygon({position, QPoint(x, y)}), {}});
            position = QPoint(x, y);
        } else if (line.rfind("Polygon", 0) == 0) {
            primitives.push_back({BarePrimitive::Kind::Polygon, pen, brush, PointsOf(device), {}});
        } else if (line.rfind("Rectangle", 0) == 0 && std::sscanf(device.c_str(), "%d,%d,%d,%d", &x, &y, &r, &b) == 4) {
            primitives.push_back({BarePrimitive::Kind::Rectangle, pen, brush, QPolygon({QPoint(x, y), QPoint(r, b)}), {}});
        } else if (line.rfind("TextOut", 0) == 0 && std::sscanf(device.c_str(), "%d,%d", &x, &y) == 2) {
            const std::size_t quote = line.find('"');
            const QString text = QString::fromStdString(line.substr(quote + 1, line.size() - quote - 2));
            primitives.push_back({BarePrimitive::Kind::Text, pen, brush, QPolygon({QPoint(x, y)}), text});
        }
    }
    return primitives;
}

void DrawBare(QPainter& painter, const BarePrimitive& primitive, const QFont& font)
{
    painter.setPen(QPen(primitive.pen.color, primitive.pen.width, primitive.pen.style));
    painter.setBrush(primitive.brush);
    switch (primitive.kind) {
    case BarePrimitive::Kind::Polygon: painter.drawPolygon(primitive.points, Qt::WindingFill); break;
    case BarePrimitive::Kind::Line: painter.drawLine(primitive.points[0], primitive.points[1]); break;
    case BarePrimitive::Kind::Rectangle: painter.drawRect(QRect(primitive.points[0], primitive.points[1])); break;
    case BarePrimitive::Kind::Text:
        painter.setFont(font);
        painter.drawText(primitive.points[0], primitive.text);
        break;
    }
}

void BM_ViewFrameBarePainter(benchmark::State& state)
{
    if (!PrepareApplication(state))
        return;
    std::vector<BarePrimitive> primitives;
    {
        ViewScene scene;
        primitives = PrimitivesOf(scene.RecordCalls(), scene.Scale());
    }
    QFont font("Arial");
    font.setPixelSize(11);
    // The window's pixels, shown only once the frame is done (as a widget's backing store).
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        window.fill(Qt::black);
        QPainter painter(&window);
        for (const BarePrimitive& primitive : primitives)
            DrawBare(painter, primitive, font);
        painter.end();
        benchmark::DoNotOptimize(window.pixel(kWidth / 2, kHeight / 2));
    }
    state.counters["primitives"] = double(primitives.size());
}
BENCHMARK(BM_ViewFrameBarePainter)->Unit(benchmark::kMillisecond);

} // namespace
