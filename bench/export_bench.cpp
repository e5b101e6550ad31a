// The record exports for a full day of 1-second data (86 400 records):
//   the NMEA log written to disk, target 100 ms;
//   the .xlsx workbook written to disk, target 3 s, with memory flat in the
//   record count (peak_extra_MB: resident memory above the start of the run);
//   the GPX track text.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "data/recording.hpp"
#include "output/gpxtrack.hpp"
#include "output/nmealog.hpp"
#include "output/xlsxexport.hpp"
#include "support/synthetic.hpp"

namespace {

using namespace ondavia;

const Recording& Day(int records) {
    static std::map<int, Recording> days;
    auto it = days.find(records);
    if (it != days.end()) return it->second;
    LoadOptions options;
    options.upperName = "20261210-BENCH001-S-01-AAAAAAA.TXT";
    options.pivotYear = 2026;
    Recording& r = days[records];
    LoadRecordingBytes(test::SyntheticDayFile(records, false), options, r);
    return r;
}

long StatusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
    return 0;
}

// Starts a new resident-memory high-water mark.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BM_GpsLogFullDay(benchmark::State& state) {
    const Recording& rec = Day(86'400);
    const auto path = std::filesystem::temp_directory_path() / "ondavia-bench.LOG";
    for (auto _ : state)
        if (!WriteGpsLog(path, rec.rows, 2026)) state.SkipWithError("log not written");
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_GpsLogFullDay)->Unit(benchmark::kMillisecond);

void BM_Workbook(benchmark::State& state) {
    const Recording& rec = Day(static_cast<int>(state.range(0)));
    const auto path = std::filesystem::temp_directory_path() / "ondavia-bench.xlsx";
    WorkbookOptions options;
    options.title = "20261210-BENCH001-S-01-AAAAAAA";
    long extra = 0;
    for (auto _ : state) {
        ResetPeak();
        const long before = StatusKb("VmRSS:");
        if (!WriteWorkbook(path, rec.rows, options).ok()) state.SkipWithError("not written");
        extra = std::max(extra, StatusKb("VmHWM:") - before);
    }
    state.counters["peak_extra_MB"] = static_cast<double>(extra) / 1024.0;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_Workbook)->Arg(21'600)->Arg(86'400)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_GpxTrackFullDay(benchmark::State& state) {
    const Recording& rec = Day(86'400);
    for (auto _ : state)
        benchmark::DoNotOptimize(GpxTrackText(rec.rows, "x", 2026));
}
BENCHMARK(BM_GpxTrackFullDay)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
