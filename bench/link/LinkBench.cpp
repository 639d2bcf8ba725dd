// Link benchmarks: CPU while waiting, reply latency, and a paced count block against its wire time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "link/PollWaitPump.h"
#include "link/Zeb530.h"
#include "sim/Simulator.h"

namespace {

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

int OpenOn(CZeb530& link, const std::string& device) {
    return link.Open(device.c_str(), CZeb530::kBaudRate, 8, 0, 0, 4096, 4096);
}

// A pseudo-terminal nobody writes to, opened by the link; the master's descriptor, or -1 after
// reporting the error.
int OpenSilentTerminal(CZeb530& link, benchmark::State& state) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 ||
        ptsname_r(master, name, sizeof name) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return -1;
    }
    if (OpenOn(link, name) != 1) {
        state.SkipWithError("cannot open the terminal");
        close(master);
        return -1;
    }
    return master;
}

// Runs wait on a link to a silent terminal once per iteration and reports the CPU it used
// against the wall time it took.
template <typename Wait>
void MeasureCpuOnSilentTerminal(benchmark::State& state, Wait wait) {
    CZeb530 link;
    const int master = OpenSilentTerminal(link, state);
    if (master < 0) {
        return;
    }
    double cpu = 0.0;
    double wall = 0.0;
    for (auto _ : state) {
        const double cpuStart = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        wait(link);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += ProcessCpuSeconds() - cpuStart;
    }
    state.counters["cpu_s"] = cpu;
    state.counters["wall_s"] = wall;
    state.counters["cpu_pct_of_core"] = wall > 0.0 ? 100.0 * cpu / wall : 0.0;
    close(master);
}

// A 10 s wait for an answer that never comes, on a terminal nobody writes to.
void WaitCpu(benchmark::State& state) {
    MeasureCpuOnSilentTerminal(state, [](CZeb530& link) {
        benchmark::DoNotOptimize(link.ReadReply(link.m_reply, sizeof link.m_reply, 10));
    });
}
BENCHMARK(WaitCpu)->Iterations(1)->Unit(benchmark::kSecond);

// The same silence waited for by asking the receive queue over and over without sleeping, as a
// wait loop without a pump would: the comparison for WaitCpu, over 2 s.
void BusyPollCpu(benchmark::State& state) {
    MeasureCpuOnSilentTerminal(state, [](CZeb530& link) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < end) {
            benchmark::DoNotOptimize(link.InQueue());
        }
    });
}
BENCHMARK(BusyPollCpu)->Iterations(1)->Unit(benchmark::kSecond);

// From the simulator handing the last byte of "OK\r" to the terminal to Transact returning.
void OkLatency(benchmark::State& state) {
    SIMOPTIONS options;  // paced at 38400 baud, as a real line
    CSimulator sim(options);
    CZeb530 link;
    if (!sim.Start() || OpenOn(link, sim.SlavePath()) != 1) {
        state.SkipWithError("simulator not reachable");
        return;
    }
    double total = 0.0;
    double worst = 0.0;
    int64_t count = 0;
    for (auto _ : state) {
        link.SendCommand("OP\r");
        const int ok = link.Transact(2);
        const auto done = std::chrono::steady_clock::now();
        const double latency = std::chrono::duration<double>(done - sim.LastReplyEnd()).count();
        if (ok != 1) {
            state.SkipWithError("no answer");
            break;
        }
        state.SetIterationTime(latency);
        total += latency;
        worst = latency > worst ? latency : worst;
        ++count;
    }
    state.counters["mean_ms"] = count > 0 ? 1e3 * total / static_cast<double>(count) : 0.0;
    state.counters["worst_ms"] = 1e3 * worst;
}
BENCHMARK(OkLatency)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

// "RB,0" and its 4096 + 3 bytes from the paced simulator, against 4099 bytes at 3840 bytes/s.
void PacedCountBlock(benchmark::State& state) {
    SIMOPTIONS options;
    CSimulator sim(options);
    CZeb530 link;
    if (!sim.Start() || OpenOn(link, sim.SlavePath()) != 1) {
        state.SkipWithError("simulator not reachable");
        return;
    }
    int16_t counts[kPixelCount];
    const double wire = 4099.0 / CSimulator::kBytesPerSecond;
    double total = 0.0;
    int64_t count = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (link.ReadCounts(counts, 0) != 1) {
            state.SkipWithError("short block");
            break;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
        ++count;
    }
    const double mean = count > 0 ? total / static_cast<double>(count) : 0.0;
    state.counters["wire_s"] = wire;
    state.counters["mean_s"] = mean;
    state.counters["over_wire_pct"] = wire > 0.0 ? 100.0 * (mean - wire) / wire : 0.0;
}
BENCHMARK(PacedCountBlock)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
