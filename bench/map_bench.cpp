// The map for a full day of 1-second data (86 400 records):
//   the local page built from the rows and written to disk, target 200 ms;
//   the C++ side of one grid move (record lookup, info text, form command).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "data/recording.hpp"
#include "output/mappage.hpp"
#include "support/synthetic.hpp"

namespace {

using namespace ondavia;

Recording& FullDay() {
    static Recording rec = [] {
        LoadOptions options;
        options.upperName = "20261210-BENCH001-S-01-AAAAAAA.TXT";
        options.pivotYear = 2026;
        Recording r;
        LoadRecordingBytes(test::SyntheticDayFile(86'400, false), options, r);
        return r;
    }();
    return rec;
}

void BM_WriteMapPageFullDay(benchmark::State& state) {
    Recording& rec = FullDay();
    const auto path = std::filesystem::temp_directory_path() / "ondavia-bench-map.html";
    MapPageOptions options;
    std::string content;
    if (rec.table.FindRecord(rec.rows.front().TimeText()) >= 0)
        content = BuildMarkerContent(rec.table.Current(), 0);
    size_t points = 0;
    for (auto _ : state) {
        const std::vector<std::string> list = RoutePoints(rec.rows);
        points = list.size();
        if (!WriteMapPage(path, options, content, list)) state.SkipWithError("page not written");
    }
    state.counters["points"] = static_cast<double>(points);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteMapPageFullDay)->Unit(benchmark::kMillisecond);

void BM_MapPageTextFullDay(benchmark::State& state) {
    const std::vector<std::string> list = RoutePoints(FullDay().rows);
    for (auto _ : state)
        benchmark::DoNotOptimize(MapPageText({}, "x", list));
}
BENCHMARK(BM_MapPageTextFullDay)->Unit(benchmark::kMillisecond);

void BM_MarkerCommandPerGridMove(benchmark::State& state) {
    Recording& rec = FullDay();
    size_t row = 0;
    for (auto _ : state) {
        row = (row + 4099) % rec.rows.size();
        if (rec.table.FindRecord(rec.rows[row].TimeText()) < 0) continue;
        const TDTG_RECORD& r = rec.table.Current();
        benchmark::DoNotOptimize(FormCommandScript(
            ShowMarkerCommand(MarkerLatLng(r.GpsY, r.GpsX), BuildMarkerContent(r, 0))));
    }
}
BENCHMARK(BM_MarkerCommandPerGridMove)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
