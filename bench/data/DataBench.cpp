// Data-file and quantity timings: reading a large file, appending a slot, record text, integrals.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "data/RadData.h"
#include "tests/support/TestRecords.h"

namespace {

std::string SampleFile(int records) {
    static const TempFolder temp;
    static const std::string folder = temp.Path();
    const std::string path = folder + "/bench-" + std::to_string(records) + ".wsx";
    if (!std::filesystem::exists(path)) {
        CRadData data;
        FillSampleSet(data, records);
        data.SaveFile(path.c_str());
    }
    return path;
}

void BM_LoadFile1000Records(benchmark::State& state) {
    const std::string path = SampleFile(1000);
    for (auto _ : state) {
        CRadData data;
        benchmark::DoNotOptimize(data.LoadFile(path.c_str()));
    }
}
BENCHMARK(BM_LoadFile1000Records)->Unit(benchmark::kMillisecond);

// One interval slot: read the header, append one record in place, cut the file back.
void BM_AppendOneRecord(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    const std::string path = SampleFile(records);
    CRadData header;
    header.LoadHeader(path.c_str());
    const RADDATA record = FlatRecord(1500, 200);
    const auto size = std::filesystem::file_size(path);
    for (auto _ : state) {
        CRadData check;
        benchmark::DoNotOptimize(check.LoadHeader(path.c_str()));
        benchmark::DoNotOptimize(header.AppendRecordInPlace(path.c_str(), record));
        state.PauseTiming();
        std::filesystem::resize_file(path, size);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendOneRecord)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The same slot written the way a whole-file rewrite does it: read all, add one, write all.
void BM_RewriteWithOneMore(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    const std::string path = SampleFile(records);
    const std::string copy = path + ".rewrite";
    std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
    const RADDATA record = FlatRecord(1500, 200);
    for (auto _ : state) {
        CRadData whole;
        whole.LoadFile(copy.c_str());
        whole.AddData(record);
        benchmark::DoNotOptimize(whole.SaveFile(copy.c_str()));
        state.PauseTiming();
        std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RewriteWithOneMore)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_RecordText(benchmark::State& state) {
    CRadData data;
    FillSampleSet(data, 1);
    std::string text;
    for (auto _ : state) {
        data.Select(0, 0);
        benchmark::DoNotOptimize(data.GetRecordText(text));
    }
}
BENCHMARK(BM_RecordText)->Unit(benchmark::kMicrosecond);

void BM_FourIntegrals(benchmark::State& state) {
    CRadData data;
    FillSampleSet(data, 1);
    data.Select(0, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(data.GetPAR() + data.GetPhoton() + data.GetLum() + data.GetUVA());
    }
}
BENCHMARK(BM_FourIntegrals)->Unit(benchmark::kMicrosecond);

}  // namespace
