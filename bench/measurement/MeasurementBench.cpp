// One four-position measurement against the paced simulator: wall time against the time the
// instruments themselves take (wire, exposures, band moves), and the CPU the sequence uses.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>

#include "document/OrvelDoc.h"
#include "link/PortMap.h"
#include "measurement/MeasurementSequence.h"
#include "sim/Simulator.h"
#include "tests/support/Fakes.h"

namespace {

double ThreadCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_PacedMeasurement(benchmark::State& state) {
    ScopedTimeZone zone("Asia/Tokyo");
    char name[] = "/tmp/halvo-bench-XXXXXX";
    const std::string folder = std::string(mkdtemp(name)) + "/";
    std::filesystem::create_directories(folder + "ports");
    FakeWallClock clock;
    clock.now = LocalStamp(2024, 6, 21, 12, 0, 0);
    SIMOPTIONS options;
    options.linkPath = folder + "ports/COM1";
    const int64_t noon = clock.now;
    options.clock = [noon] { return noon; };
    CSimulator simulator(options);
    if (!simulator.Start()) {
        state.SkipWithError("simulator did not start");
        return;
    }
    {
        COrvelDoc doc(folder);
        doc.m_link.SetPortMap(CPortMap(folder + "ports"));
        doc.m_comPort = 1;
        FakePortChooser chooser;
        if (!doc.OnNewDocument(chooser)) {
            state.SkipWithError("set-up failed");
            return;
        }
        doc.m_exposureIndex = 3;  // start the search where the noon sky settles
        FakeProgress progress;
        CMeasurementSequence sequence(doc, progress, clock);
        double wall = 0;
        double busy = 0;
        double cpu = 0;
        for (auto _ : state) {
            const int64_t busyBefore = simulator.BusyMicroseconds();
            const double cpuBefore = ThreadCpuSeconds();
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(sequence.RunMeasurement(clock.now));
            wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            busy += (simulator.BusyMicroseconds() - busyBefore) / 1e6;
            cpu += ThreadCpuSeconds() - cpuBefore;
        }
        state.counters["wall_s"] = wall / static_cast<double>(state.iterations());
        state.counters["instruments_s"] = busy / static_cast<double>(state.iterations());
        state.counters["overhead_pct"] = (wall - busy) / busy * 100.0;
        state.counters["sequence_cpu_s"] = cpu / static_cast<double>(state.iterations());
    }
    simulator.Stop();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PacedMeasurement)->Iterations(2)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
