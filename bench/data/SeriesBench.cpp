// halvo-wsx over simulated days: series against cat of the same files, export of a day, memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/SimulatedDay.h"
#include "tests/support/TestRecords.h"

extern char** environ;

namespace {

constexpr int kDays = 30;
constexpr int kRecordsPerDay = 781;            // 06:00 to 19:00 at a 1-minute period
constexpr int64_t kFirstSlotUtc = 1718917200;  // 2024-06-21 06:00 in Tokyo
constexpr int64_t kSecondsPerDay = 86400;

struct Run {
    double seconds = 0.0;
    int status = -1;
};

// Runs a program with its output into a file (or /dev/null) and waits for it.
Run RunProgram(std::vector<std::string> args, const std::string& output = "/dev/null") {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.status = status;
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

std::string Tool() {
    return std::string(HALVO_BIN_DIR) + "/halvo-wsx";
}

// Thirty days of the same simulated clear day, each moved on by whole days.
const std::vector<std::string>& DayFiles() {
    static std::vector<std::string> files;
    if (!files.empty()) {
        return files;
    }
    const char* given = std::getenv("HALVO_BENCH_DIR");
    static const TempFolder temp;
    const std::string folder = given != nullptr ? given : temp.Path();
    std::filesystem::create_directories(folder);
    CRadData day;
    FillSimulatedDay(day, kFirstSlotUtc, kRecordsPerDay, 60, 135.0, 35.0);
    for (int d = 0; d < kDays; ++d) {
        const std::string path = folder + "/VS202406" + std::to_string(21 + d) + ".wsx";
        files.push_back(path);
        if (std::filesystem::exists(path)) {
            continue;
        }
        CRadData shifted;
        shifted.CopyHeader(day);
        for (int k = 0; k < day.GetSize(); ++k) {
            RADDATA r = *day.GetRecord(k);
            r.measTime += static_cast<int32_t>(d * kSecondsPerDay);
            shifted.AddData(r);
        }
        shifted.SaveFile(path.c_str());
    }
    std::vector<std::string> warm = {"cat"};
    warm.insert(warm.end(), files.begin(), files.end());
    RunProgram(warm);
    return files;
}

double Bytes(const std::vector<std::string>& files) {
    double bytes = 0.0;
    for (const std::string& f : files) {
        bytes += static_cast<double>(std::filesystem::file_size(f));
    }
    return bytes;
}

void Report(benchmark::State& state, const Run& run, double bytes) {
    state.SetIterationTime(run.seconds);
    state.counters["MB/s"] = bytes / run.seconds / 1e6;
    if (run.status != 0) {
        state.SkipWithError("the program failed");
    }
}

std::vector<std::string> CatArgs() {
    std::vector<std::string> args = {"cat"};
    args.insert(args.end(), DayFiles().begin(), DayFiles().end());
    return args;
}

std::vector<std::string> SeriesArgs() {
    std::vector<std::string> args = {Tool(), "series"};
    args.insert(args.end(), DayFiles().begin(), DayFiles().end());
    return args;
}

void BM_Cat30Days(benchmark::State& state) {
    const auto args = CatArgs();
    for (auto _ : state) {
        Report(state, RunProgram(args), Bytes(DayFiles()));
    }
}
BENCHMARK(BM_Cat30Days)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Series30Days(benchmark::State& state) {
    const auto args = SeriesArgs();
    for (auto _ : state) {
        Report(state, RunProgram(args), Bytes(DayFiles()));
    }
}
BENCHMARK(BM_Series30Days)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// cat and series take turns, one of each per iteration, so each pair sees the same machine; the
// iteration time is the series', and the counters give cat's and the series' rate relative to
// it (the median, best and worst pair).
void BM_CatAndSeriesInTurn(benchmark::State& state) {
    const auto cat = CatArgs();
    const auto series = SeriesArgs();
    std::vector<double> ratios;
    std::vector<double> catSeconds;
    std::vector<double> seriesSeconds;
    for (auto _ : state) {
        const Run c = RunProgram(cat);
        const Run s = RunProgram(series);
        if (c.status != 0 || s.status != 0) {
            state.SkipWithError("a program failed");
            break;
        }
        state.SetIterationTime(s.seconds);
        catSeconds.push_back(c.seconds);
        seriesSeconds.push_back(s.seconds);
        ratios.push_back(c.seconds / s.seconds);
    }
    if (ratios.empty()) {
        return;
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    state.counters["cat_ms"] = median(catSeconds) * 1e3;
    state.counters["series_ms"] = median(seriesSeconds) * 1e3;
    state.counters["pct_of_cat"] = median(ratios) * 100.0;
    state.counters["pct_best"] = *std::max_element(ratios.begin(), ratios.end()) * 100.0;
    state.counters["pct_worst"] = *std::min_element(ratios.begin(), ratios.end()) * 100.0;
}
BENCHMARK(BM_CatAndSeriesInTurn)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(11);

// Series over 1, 10 and 30 files. (Their peak resident size is measured with GNU time: a child
// started from here inherits this process's peak in its own figure.)
void BM_SeriesFiles(benchmark::State& state) {
    const auto& all = DayFiles();
    const std::vector<std::string> files(all.begin(), all.begin() + state.range(0));
    std::vector<std::string> args = {Tool(), "series"};
    args.insert(args.end(), files.begin(), files.end());
    for (auto _ : state) {
        Report(state, RunProgram(args), Bytes(files));
    }
}
BENCHMARK(BM_SeriesFiles)
    ->Arg(1)
    ->Arg(10)
    ->Arg(30)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_ExportOneDay(benchmark::State& state) {
    const auto& files = DayFiles();
    const std::string out = files[0] + ".nc";
    for (auto _ : state) {
        Report(state, RunProgram({Tool(), "export", files[0], "--netcdf", out}), Bytes({files[0]}));
        state.counters["output_MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
    }
}
BENCHMARK(BM_ExportOneDay)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

// --write-day=PATH writes the simulated day alone (for the documentation's example plot).
int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--write-day=", 12) == 0) {
            CRadData day;
            FillSimulatedDay(day, kFirstSlotUtc, kRecordsPerDay, 60, 135.0, 35.0);
            return day.SaveFile(argv[i] + 12) == 1 ? 0 : 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
