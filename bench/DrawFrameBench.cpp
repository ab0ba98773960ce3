// One screen frame of the field view on a 1920 x 1080 back buffer: black
// background, a second field and the current 361-beam contour merged over it,
// a dotted 100-line grid mixed with XOR, then the blit to the window.
// BM_DrawFrameBarePainter is the yardstick: the same figures, mapped to device pixels
// beforehand, drawn by a bare QPainter in plain modes into a back buffer and blitted.
#include "framework/gdi/CDC.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRange = 600;

// The view's mapping: scanner at the bottom centre, y up, `kRange` units each way.
void PrepareView(CDC& dc)
{
    dc.SetMapMode(MM_ISOTROPIC);
    dc.SetViewportOrg(kWidth / 2, kHeight - 1);
    dc.SetWindowExt(kRange, -kRange);
    dc.SetViewportExt(kWidth / 2, kHeight - 1);
    dc.SetWindowOrg(0, 0);
}

std::vector<POINT> Contour()
{
    // Origin, then 361 beams over 180 degrees with a wavy distance.
    std::vector<POINT> points{{0, 0}};
    for (int beam = 0; beam < 361; ++beam) {
        const double angle = beam * std::numbers::pi / 360.0;
        const double distance = 400.0 + 80.0 * std::sin(beam / 9.0);
        points.push_back({LONG(std::lround(distance * std::cos(angle))), LONG(std::lround(distance * std::sin(angle)))});
    }
    return points;
}

void DrawFrame(CDC& window, CDC& memory, const std::vector<POINT>& contour)
{
    memory.SetMapMode(MM_TEXT);
    memory.SetViewportOrg(0, 0);
    memory.SetWindowOrg(0, 0);
    memory.PatBlt(0, 0, kWidth, kHeight, BLACKNESS);
    PrepareView(memory);

    CPen outline(PS_SOLID, 0, RGB(255, 255, 255));
    CPen* oldPen = memory.SelectObject(&outline);
    const int oldRop = memory.SetROP2(R2_MERGEPEN);
    memory.SetPolyFillMode(WINDING);

    // Second field: a rectangle field drawn as its four-corner polygon.
    CBrush second(RGB(0, 0, 192));
    CBrush* oldBrush = memory.SelectObject(&second);
    const POINT rectangle[] = {{-300, 0}, {-300, 350}, {250, 350}, {250, 0}};
    memory.Polygon(rectangle, 4);

    // Current field: the contour.
    CBrush current(RGB(192, 0, 0));
    memory.SelectObject(&current);
    memory.Polygon(contour.data(), int(contour.size()));

    // Grid: 100 dotted lines, XOR over the fields.
    CPen grid(PS_DOT, 0, RGB(128, 128, 128));
    memory.SelectObject(&grid);
    memory.SetBkMode(TRANSPARENT);
    memory.SetROP2(R2_XORPEN);
    for (int i = 0; i < 50; ++i) {
        const int x = -kRange * 2 + i * (kRange * 4 / 50);
        memory.MoveTo(x, 0);
        memory.LineTo(x, kRange);
        const int y = i * (kRange / 50);
        memory.MoveTo(-kRange * 2, y);
        memory.LineTo(kRange * 2, y);
    }
    memory.SetROP2(oldRop);
    memory.SelectObject(oldBrush);
    memory.SelectObject(oldPen);

    memory.SetMapMode(MM_TEXT);
    memory.SetViewportOrg(0, 0);
    memory.SetWindowOrg(0, 0);
    window.BitBlt(0, 0, kWidth, kHeight, &memory, 0, 0, SRCCOPY);
}

void BM_DrawFrame(benchmark::State& state)
{
    CDC window;
    window.CreateImageDC(kWidth, kHeight);
    CDC memory;
    memory.CreateCompatibleDC(&window);
    CBitmap buffer;
    buffer.CreateCompatibleBitmap(&window, kWidth, kHeight);
    CBitmap* oldBitmap = memory.SelectObject(&buffer);
    const std::vector<POINT> contour = Contour();
    for (auto _ : state) {
        DrawFrame(window, memory, contour);
        benchmark::ClobberMemory();
    }
    memory.SelectObject(oldBitmap);
}
BENCHMARK(BM_DrawFrame)->Unit(benchmark::kMillisecond);

// The frame's figures in device pixels, mapped once by the view's mapping.
struct DeviceFigures {
    QPolygon rectangle;
    QPolygon contour;
    std::vector<QLine> grid;
};

DeviceFigures MapFigures(const std::vector<POINT>& contour)
{
    CDC mapper;
    mapper.CreateRecordingDC(kWidth, kHeight);
    PrepareView(mapper);
    auto map = [&mapper](std::vector<POINT> points) {
        mapper.LPtoDP(points.data(), int(points.size()));
        QPolygon polygon;
        for (const POINT& p : points) polygon << QPoint(int(p.x), int(p.y));
        return polygon;
    };
    DeviceFigures figures;
    figures.rectangle = map({{-300, 0}, {-300, 350}, {250, 350}, {250, 0}});
    figures.contour = map(contour);
    for (int i = 0; i < 50; ++i) {
        const int x = -kRange * 2 + i * (kRange * 4 / 50);
        const int y = i * (kRange / 50);
        const QPolygon line = map({{x, 0}, {x, kRange}, {-kRange * 2, y}, {kRange * 2, y}});
        figures.grid.emplace_back(line[0], line[1]);
        figures.grid.emplace_back(line[2], line[3]);
    }
    return figures;
}

void BM_DrawFrameBarePainter(benchmark::State& state)
{
    const DeviceFigures figures = MapFigures(Contour());
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    QImage memory(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        memory.fill(Qt::black);
        QPainter painter(&memory);
        painter.setPen(QPen(Qt::white, 0));
        painter.setBrush(QColor(0, 0, 192));
        painter.drawPolygon(figures.rectangle, Qt::WindingFill);
        painter.setBrush(QColor(192, 0, 0));
        painter.drawPolygon(figures.contour, Qt::WindingFill);
        painter.setPen(QPen(QColor(128, 128, 128), 0, Qt::DotLine));
        painter.drawLines(figures.grid.data(), int(figures.grid.size()));
        painter.end();
        QPainter blit(&window);
        blit.drawImage(0, 0, memory);
        blit.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawFrameBarePainter)->Unit(benchmark::kMillisecond);

} // namespace
