// Timing of the page drawn into a 1600 x 1200 QImage through the QPainter canvas.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "data/RadData.h"
#include "display/qt/QtPageOutput.h"
#include "document/GraphParam.h"
#include "tests/display/TestSpectra.h"

namespace {

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "bench_display";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static QGuiApplication app(argc, argv);
    return app;
}

void BM_PageOnQImage(benchmark::State& state) {
    App();
    CRadData data;
    testspectra::MakeSunDataSet(data);
    GRAPHPARAM param;
    param.marker = static_cast<int>(state.range(0));
    const PageTexts texts{"Global irradiance", "Rooftop, clear sky"};
    QImage image(1600, 1200, QImage::Format_RGB32);
    for (auto _ : state) {
        benchmark::DoNotOptimize(RenderPageToImage(image, data, param, texts));
    }
}
BENCHMARK(BM_PageOnQImage)->Arg(0)->Arg(1)->ArgName("marker")->Unit(benchmark::kMillisecond);

}  // namespace
