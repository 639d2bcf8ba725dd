// Timing of the page (four curves, 1600 x 1200) and of the chart alone, without a window system.
#include <benchmark/benchmark.h>

#include <memory>
#include <type_traits>

#include "data/RadData.h"
#include "display/DrawArea.h"
#include "display/GraphPlot.h"
#include "display/NullCanvas.h"
#include "display/PageDrawer.h"
#include "display/RecordingCanvas.h"
#include "document/GraphParam.h"
#include "tests/display/TestSpectra.h"

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
const PageTexts kTexts{"Global irradiance", "Rooftop, clear sky"};

// The whole page on a canvas that keeps every operation, and on one that draws nothing.
template <typename Canvas>
void BM_Page(benchmark::State& state) {
    CRadData data;
    testspectra::MakeSunDataSet(data);
    GRAPHPARAM param;
    Canvas canvas;
    for (auto _ : state) {
        if constexpr (std::is_same_v<Canvas, CRecordingCanvas>) {
            canvas.Clear();
        }
        CPageDrawer drawer(canvas, kWidth, kHeight);
        benchmark::DoNotOptimize(drawer.Draw(data, param, kTexts));
    }
    if constexpr (std::is_same_v<Canvas, CRecordingCanvas>) {
        state.counters["ops"] = static_cast<double>(canvas.Ops().size());
    }
}
BENCHMARK_TEMPLATE(BM_Page, CRecordingCanvas)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Page, CNullCanvas)->Unit(benchmark::kMillisecond);

// Frame, ticks with labels, grid and the four curves, as the page's chart step draws them.
void BM_ChartOnNullCanvas(benchmark::State& state) {
    CRadData data;
    testspectra::MakeSunDataSet(data);
    GRAPHPARAM param;
    CNullCanvas canvas;
    const CanvasFont label{"Times New Roman", kHeight / 50, 0};
    auto plot = std::make_unique<CGraphPlot>();
    plot->m_rect = {224, 150, 1472, 1020};
    for (auto _ : state) {
        plot->DrawFrame(canvas, kChartGreen, 2);
        data.Select(0, 0);
        plot->LoadSpectrum(param, data);
        plot->SetRange(param);
        plot->DrawXLabels(canvas, label, kChartGreen);
        plot->DrawYLabels(canvas, label, kChartGreen);
        plot->DrawXGrid(canvas, kChartGreen);
        plot->DrawYGrid(canvas, kChartGreen);
        for (int m = kSpectraPerRecord - 1; m >= 0; --m) {
            data.Select(0, m);
            plot->LoadSpectrum(param, data);
            plot->DrawSpectrum(canvas, CurveColour(param, m), param.marker);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ChartOnNullCanvas)->Unit(benchmark::kMicrosecond);

void BM_LoadSpectrum(benchmark::State& state) {
    CRadData data;
    testspectra::MakeSunDataSet(data);
    data.Select(0, 0);
    GRAPHPARAM param;
    auto plot = std::make_unique<CGraphPlot>();
    for (auto _ : state) {
        plot->LoadSpectrum(param, data);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LoadSpectrum)->Unit(benchmark::kMicrosecond);

}  // namespace
