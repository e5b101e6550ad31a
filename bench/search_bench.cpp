// Each of the ten record checks over a full day of 1-second rows (86 400),
// counting only: target 20 ms each.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "search/recordsearch.hpp"

namespace {

using namespace ondavia;

std::vector<GridRow> FullDay() {
    std::vector<GridRow> rows;
    rows.reserve(86'400);
    char line[80];
    for (int i = 0; i < 86'400; ++i) {
        int speed = (i / 60) % 3 == 0 ? i % 4 : 30 + (i * 7) % 90;
        std::snprintf(line, sizeof line,
                      "%04d%07d261210%02d%02d%02d00%03d%04d%d%09d%09d%03d%+06.2f%+06.2f%02d",
                      speed / 4, 100000 + i / 4, i / 3600, i / 60 % 60, i % 60, speed,
                      800 + speed * 20, speed < 10, 126900000 + i % 1000, 37500000 + i % 1000,
                      i % 360, (i % 41 - 20) * 0.6, (i % 13 - 6) * 0.8, i % 500 == 0 ? 11 : 0);
        rows.push_back(*ParseRow(line, {2, false}));
    }
    return rows;
}

void BM_Search(benchmark::State& state) {
    static const std::vector<GridRow> rows = FullDay();
    const auto kind = static_cast<SearchKind>(state.range(0));
    SearchOptions options;
    options.stateChoice = 5;
    options.reference = kind == SearchKind::RpmBand ? "2000" : "100";
    size_t hits = 0;
    for (auto _ : state) {
        SearchRun run = RunSearch(rows, kind, options);
        hits = run.hits.size();
        benchmark::DoNotOptimize(run.counter1);
    }
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_Search)->DenseRange(1, 10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
