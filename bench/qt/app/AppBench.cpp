// The running application during a 5000 ms exposure of the paced simulator: the process's CPU
// use while it waits, and how long a repaint or a menu takes to appear meanwhile.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/resource.h>

#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>

#include "app/MainFrame.h"
#include "app/QtWaitPump.h"
#include "display/qt/OrvelView.h"
#include "document/OrvelDoc.h"
#include "tests/display/TestSpectra.h"
#include "tests/support/qt/AppHarness.h"

using namespace apptest;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kExposureMs = 5000;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * (values.size() - 1))];
}

// Records when a watched widget gets an event of one type.
class Stamp : public QObject {
public:
    Stamp(QObject* target, QEvent::Type type) : m_type(type) { target->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == m_type && armed) {
            delays.push_back(Ms(Clock::now() - requested));
            armed = false;
        }
        return false;
    }
    void Request() {
        requested = Clock::now();
        armed = true;
    }
    Clock::time_point requested;
    bool armed = false;
    std::vector<double> delays;

private:
    QEvent::Type m_type;
};

// The paced halvo-sim program on COM1 of the run folder and the application connected to it.
struct Station {
    Station() : clock(kNoonAtDefaultSite) {
        folder.WriteConfig(1);
        const std::string link = folder.PortsDir() + "/COM1";
        sim.start(QString(HALVO_BIN_DIR "/halvo-sim"), {"--link", QString::fromStdString(link)});
        sim.waitForStarted(5000);
        WaitUntil([&link] { return std::filesystem::exists(link); }, 5000);
        app = MakeApp(folder, clock);
        ready = app->InitInstance();
        app->Frame()->resize(1000, 760);
        // Four curves on the page, as after a measurement.
        app->Document()->m_radData.AddData(testspectra::SunRecord());
    }
    ~Station() {
        app.reset();
        kill(static_cast<pid_t>(sim.processId()), SIGTERM);
        sim.waitForFinished(5000);
    }
    RunFolder folder;
    FakeWallClock clock;
    QProcess sim;
    std::unique_ptr<COrvelApp> app;
    bool ready = false;
};

Station* g_station = nullptr;

Station& TheStation() {
    if (g_station == nullptr) {
        g_station = new Station;
    }
    return *g_station;
}

// The shared application, or null with the benchmark marked as failed when it could not start.
Station* ReadyStation(benchmark::State& state) {
    Station& s = TheStation();
    if (!s.ready) {
        state.SkipWithError("the application could not set up the simulated instruments");
        return nullptr;
    }
    return &s;
}

// One exposure, nothing else happening: the cost of waiting alone.
void BM_IdleDuringExposure(benchmark::State& state) {
    Station* s = ReadyStation(state);
    if (s == nullptr) {
        return;
    }
    CZeb530& link = s->app->Document()->m_link;
    for (auto _ : state) {
        const long long waitsBefore = s->app->WaitPump().WaitCount();
        const double cpu0 = CpuSeconds();
        const auto t0 = Clock::now();
        const int ok = link.Measure(kExposureMs, 0);
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        const double cpu = CpuSeconds() - cpu0;
        state.counters["measure_ok"] = ok;
        state.counters["wall_s"] = wall;
        state.counters["cpu_ms"] = cpu * 1000.0;
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
        state.counters["wakeups"] =
            static_cast<double>(s->app->WaitPump().WaitCount() - waitsBefore);
    }
}
BENCHMARK(BM_IdleDuringExposure)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same exposure while the view (1000 x 760, four curves) is asked to repaint every 40 ms and
// the "Measure" menu is opened and closed every 250 ms: how long each takes to appear.
void BM_ResponsiveDuringExposure(benchmark::State& state) {
    Station* s = ReadyStation(state);
    if (s == nullptr) {
        return;
    }
    CZeb530& link = s->app->Document()->m_link;
    COrvelView* view = s->app->View();
    QMenu* measureMenu = s->app->Frame()->menuBar()->actions().at(2)->menu();
    Stamp paint(view, QEvent::Paint);
    Stamp menuShown(measureMenu, QEvent::Show);
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, [&] {
        paint.Request();
        view->update();
    });
    QTimer menu;
    QObject::connect(&menu, &QTimer::timeout, [&] {
        measureMenu->hide();
        menuShown.Request();
        // A click arrives as an event; the menu opens when the loop delivers it.
        QMetaObject::invokeMethod(
            measureMenu, [measureMenu] { measureMenu->popup(QPoint(200, 60)); },
            Qt::QueuedConnection);
    });
    for (auto _ : state) {
        repaint.start(40);
        menu.start(250);
        const double cpu0 = CpuSeconds();
        const auto t0 = Clock::now();
        const int ok = link.Measure(kExposureMs, 0);
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        const double cpu = CpuSeconds() - cpu0;
        repaint.stop();
        menu.stop();
        measureMenu->hide();
        state.counters["measure_ok"] = ok;
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
        state.counters["repaints"] = static_cast<double>(paint.delays.size());
        state.counters["repaint_ms_p50"] = Percentile(paint.delays, 0.5);
        state.counters["repaint_ms_max"] = Percentile(paint.delays, 1.0);
        state.counters["menus"] = static_cast<double>(menuShown.delays.size());
        state.counters["menu_ms_p50"] = Percentile(menuShown.delays, 0.5);
        state.counters["menu_ms_max"] = Percentile(menuShown.delays, 1.0);
    }
}
BENCHMARK(BM_ResponsiveDuringExposure)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// The station goes before the program ends: the application stores its settings and the
// simulator program is stopped.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete g_station;
    ShutDown();
    return 0;
}
