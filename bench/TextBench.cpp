// 200 text labels on a 1024 x 768 image: CDC::TextOut with a selected font, against a
// plain QPainter drawing the same labels with the same Qt font.
#include "framework/gdi/CDC.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/gdi/GdiFontEngine.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kLabels = 200;

// Fonts need a GUI application; offscreen unless the caller chose a platform.
QGuiApplication& Application()
{
    static int argc = 1;
    static char name[] = "bench_TextBench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    return app;
}

std::vector<std::string> Labels()
{
    std::vector<std::string> labels;
    for (int i = 0; i < kLabels; ++i)
        labels.push_back("Beam " + std::to_string(i) + ": " + std::to_string(i * 37 % 4000) + " cm");
    return labels;
}

LOGFONT LabelFont()
{
    LOGFONT lf;
    lf.lfHeight = -13;
    lf.lfWeight = FW_NORMAL;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "Arial");
    return lf;
}

QPoint LabelPosition(int i) { return {10 + (i % 4) * 250, 20 + (i / 4) * 15}; }

// Argument: the background mode; an opaque background needs each label's width too.
void BM_TextOutLabels(benchmark::State& state)
{
    Application();
    CDC dc;
    dc.CreateImageDC(kWidth, kHeight);
    CFont font;
    const LOGFONT lf = LabelFont();
    font.CreateFontIndirect(&lf);
    CFont* old = dc.SelectObject(&font);
    dc.SetBkMode(int(state.range(0)));
    const std::vector<std::string> labels = Labels();
    for (auto _ : state) {
        for (int i = 0; i < kLabels; ++i) {
            const QPoint p = LabelPosition(i);
            dc.TextOut(p.x(), p.y(), labels[std::size_t(i)].c_str(), int(labels[std::size_t(i)].size()));
        }
        benchmark::ClobberMemory();
    }
    dc.SelectObject(old);
}
BENCHMARK(BM_TextOutLabels)->Arg(TRANSPARENT)->Arg(OPAQUE)->Unit(benchmark::kMillisecond);

// Baseline: one painter, the font set once, baseline positions as TextOut's top anchor gives.
void BM_QPainterLabels(benchmark::State& state)
{
    Application();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QFont font = GdiMakeFont(LabelFont(), -13, 13);
    const int ascent = GdiMeasureFont(font).ascent;
    std::vector<QString> labels;
    for (const std::string& label : Labels()) labels.push_back(QString::fromStdString(label));
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (int i = 0; i < kLabels; ++i)
            painter.drawText(LabelPosition(i) + QPoint(0, ascent), labels[std::size_t(i)]);
        painter.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_QPainterLabels)->Unit(benchmark::kMillisecond);

} // namespace
