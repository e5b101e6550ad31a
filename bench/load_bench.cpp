// Loading speed and memory of whole recordings:
//   a full day of 1-second data (86 400 records), target 8 ms;
//   an hour of 0.01-second data (360 000 records), target 60 ms;
//   eight hours of 0.01-second data (2 880 000 records), the largest file a
//   recorder writes (generated here, not kept);
//   at most 100 bytes of Recording per record, everything included.
// The whole-process figures (ondavia-cli info against cat) are in
// process_bench.sh.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/filelist.hpp"
#include "data/recording.hpp"
#include "support/synthetic.hpp"

namespace {

using namespace ondavia;

std::filesystem::path WriteTemp(const std::string& name, const std::string& bytes) {
    auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

void RunLoad(benchmark::State& state, const std::string& name, int count, bool hundredths) {
    auto path = WriteTemp(name, test::SyntheticDayFile(count, hundredths));
    LoadOptions options;
    options.upperName = name;
    options.fileMode = FileLayout::Lines;
    options.hundredths = hundredths;
    options.pivotYear = 2026;
    Recording rec;
    for (auto _ : state) {
        LoadResult r = LoadRecording(path, options, rec);
        if (!r.ok()) state.SkipWithError(DescribeLoadError(r).c_str());
        benchmark::DoNotOptimize(rec.rows.size());
    }
    state.counters["records"] = static_cast<double>(rec.rows.size());
    state.counters["bytes_per_record"] =
        static_cast<double>(rec.MemoryBytes()) / static_cast<double>(rec.rows.size());
    std::filesystem::remove(path);
}

void BM_LoadFullDayOneSecond(benchmark::State& state) {
    RunLoad(state, "20261210-BENCH001-S-01-ABCDEFG.TXT", 86'400, false);
}
BENCHMARK(BM_LoadFullDayOneSecond)->Unit(benchmark::kMillisecond);

void BM_LoadHourHundredths(benchmark::State& state) {
    RunLoad(state, "20261210-BENCH001-C-01-ABCDEFG.TXT", 360'000, true);
}
BENCHMARK(BM_LoadHourHundredths)->Unit(benchmark::kMillisecond);

void BM_LoadEightHoursHundredths(benchmark::State& state) {
    RunLoad(state, "20261210-BENCH003-C-01-ABCDEFG.TXT", 2'880'000, true);
}
BENCHMARK(BM_LoadEightHoursHundredths)->Unit(benchmark::kMillisecond)->Iterations(3);

// A day with every tenth second missing: gap filling on the hot path.
void BM_LoadDayWithGaps(benchmark::State& state) {
    std::string file = test::SyntheticDayFile(86'400, false);
    // Drop every tenth record line.
    std::string thinned = file.substr(0, 81);
    for (size_t i = 0, pos = 81; pos < file.size(); ++i, pos += 70)
        if (i % 10 != 5) thinned.append(file, pos, 70);
    auto path = WriteTemp("20261210-BENCH002-S-01-ABCDEFG.TXT", thinned);
    LoadOptions options;
    options.upperName = "20261210-BENCH002-S-01-ABCDEFG.TXT";
    options.fileMode = FileLayout::Lines;
    options.pivotYear = 2026;
    Recording rec;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadRecording(path, options, rec));
    state.counters["table"] = rec.table.Count();
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadDayWithGaps)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
