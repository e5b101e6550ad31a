// Each of the ten record checks over a full day of 1-second rows (86 400),
// counting only: target 20 ms each.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "data/recording.hpp"
#include "search/recordsearch.hpp"
#include "support/synthetic.hpp"

namespace {

using namespace ondavia;

GridRows FullDay() {
    LoadOptions options;
    options.upperName = "20261210-BENCH001-S-01-AAAAAAA.TXT";
    options.pivotYear = 2026;
    Recording rec;
    LoadRecordingBytes(test::SyntheticDayFile(86'400, false), options, rec);
    return rec.rows;
}

void BM_Search(benchmark::State& state) {
    static const GridRows rows = FullDay();
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
