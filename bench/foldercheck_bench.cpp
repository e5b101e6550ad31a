// The ten record checks over a folder of 200 full-day files (1-second data,
// 86,400 records each), with one worker and with two: the folder run of
// `ondavia-cli check DIR --all`. The files are generated into a temporary
// folder once and removed at the end.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "common/fileio.hpp"
#include "data/filelist.hpp"
#include "search/foldercheck.hpp"
#include "support/synthetic.hpp"

namespace {

using namespace ondavia;

constexpr int kFiles = 200;

class Folder {
  public:
    Folder() {
        path_ = std::filesystem::temp_directory_path() /
                ("ondavia-foldercheck-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path_);
        const std::string day = test::SyntheticDayFile(86'400, false);
        for (int i = 0; i < kFiles; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "20261210-BENCH%03d-S-01-AAAAAAA.TXT", i);
            WriteOutputFile(path_ / name, day);
        }
        files_ = ListDataFiles(path_, std::nullopt, 2026);
        // One pass first, so that every measured run reads from the page
        // cache after the writes above have settled.
        ::sync();
        CheckFiles(files_, 2026, 2);
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::vector<ListedFile>& files() const { return files_; }

  private:
    std::filesystem::path path_;
    std::vector<ListedFile> files_;
};

void BM_FolderCheck(benchmark::State& state) {
    static const Folder folder;
    const int workers = static_cast<int>(state.range(0));
    size_t loaded = 0;
    for (auto _ : state) {
        const std::vector<FolderCheckRow> rows = CheckFiles(folder.files(), 2026, workers);
        loaded = 0;
        for (const auto& r : rows)
            loaded += r.loaded;
    }
    state.counters["files"] = static_cast<double>(loaded);
    state.counters["files/s"] = benchmark::Counter(static_cast<double>(loaded) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
}
// Three runs each: on a shared machine the median is the figure to read.
BENCHMARK(BM_FolderCheck)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
