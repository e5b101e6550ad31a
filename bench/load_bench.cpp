// Loading speed and memory of whole recordings:
//   a full day of 1-second data (86 400 records), target 40 ms;
//   an hour of 0.01-second data (360 000 records), target 150 ms;
//   at most 250 bytes of Recording per record.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/filelist.hpp"
#include "data/recording.hpp"

namespace {

using namespace ondavia;

std::string Header() {
    std::string h = "DTG#ON-T100         KMHEM41APXA123456" "21" "#12ABC3456  " "1234567890" "#D0000001         ";
    h.resize(79, ' ');
    return h;
}

// A text-layout file of count records, one second or one hundredth apart.
std::string MakeFile(int count, bool hundredths) {
    std::string out = Header() + "\r\n";
    out.reserve(out.size() + static_cast<size_t>(count) * 70);
    char line[80];
    for (int i = 0; i < count; ++i) {
        int centis = hundredths ? i : i * 100;
        int secs = centis / 100;
        int speed = (i / 7) % 120;
        std::snprintf(line, sizeof line,
                      "%04d%07d261210%02d%02d%02d%02d%03d%04d%d%09d%09d%03d%+06.2f%+06.2f%02d\r\n",
                      speed / 4 % 10000, (100000 + i / 4) % 10000000, secs / 3600 % 24,
                      secs / 60 % 60, secs % 60, centis % 100, speed, 800 + speed * 20, i % 9 == 0,
                      126900000 + i % 100000, 37500000 + i % 100000, i % 360,
                      (i % 21 - 10) * 0.35, (i % 13 - 6) * 0.2, i % 50 == 0 ? 11 : 0);
        out += line;
    }
    return out;
}

std::filesystem::path WriteTemp(const std::string& name, const std::string& bytes) {
    auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

void RunLoad(benchmark::State& state, const std::string& name, int count, bool hundredths) {
    auto path = WriteTemp(name, MakeFile(count, hundredths));
    LoadOptions options;
    options.upperName = name;
    options.fileMode = 2;
    options.hundredths = hundredths;
    options.pivotYear = 2026;
    Recording rec;
    for (auto _ : state) {
        LoadResult r = LoadRecording(path, options, rec);
        if (!r.ok()) state.SkipWithError(DescribeLoadError(r).c_str());
        benchmark::DoNotOptimize(rec.rows.data());
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

// A day with every tenth second missing: gap filling on the hot path.
void BM_LoadDayWithGaps(benchmark::State& state) {
    std::string file = MakeFile(86'400, false);
    // Drop every tenth record line.
    std::string thinned = file.substr(0, 81);
    for (size_t i = 0, pos = 81; pos < file.size(); ++i, pos += 70)
        if (i % 10 != 5) thinned.append(file, pos, 70);
    auto path = WriteTemp("20261210-BENCH002-S-01-ABCDEFG.TXT", thinned);
    LoadOptions options;
    options.upperName = "20261210-BENCH002-S-01-ABCDEFG.TXT";
    options.fileMode = 2;
    options.pivotYear = 2026;
    Recording rec;
    for (auto _ : state) benchmark::DoNotOptimize(LoadRecording(path, options, rec));
    state.counters["table"] = rec.table.Count();
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadDayWithGaps)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
