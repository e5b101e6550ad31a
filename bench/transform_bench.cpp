// Locking and unlocking a full day of 1-second data (86 400 records) from
// the file list: read, scramble, write beside it through a temporary, flush
// and rename.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "search/transform.hpp"
#include "support/synthetic.hpp"

namespace {

using namespace ondavia;

class BenchFolder {
  public:
    BenchFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("ondavia-bench-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::filesystem::path Write(const std::string& name, const std::string& bytes) const {
        auto path = path_ / name;
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

  private:
    std::filesystem::path path_;
};

void Run(benchmark::State& state, TransformDirection direction, const std::filesystem::path& source,
         FileLayout fileMode) {
    for (auto _ : state) {
        TransformResult r = TransformDataFile(direction, source, fileMode);
        if (!TransformSucceeded(r.code))
            state.SkipWithError(("result " + std::to_string(r.code)).c_str());
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(source));
}

// The recorder's line form (68-character lines) comes out packed.
void BM_LockFullDayLines(benchmark::State& state) {
    BenchFolder folder;
    auto source =
        folder.Write("20261210-BENCH001-S-01-ABCDEFG.TXT", test::SyntheticDayFile(86'400, false));
    Run(state, TransformDirection::Lock, source, FileLayout::Lines);
}
BENCHMARK(BM_LockFullDayLines)->Unit(benchmark::kMillisecond);

// Unlocking the packed locked copy, and locking a packed plain file.
void BM_UnlockAndLockFullDayPacked(benchmark::State& state) {
    BenchFolder folder;
    auto lines =
        folder.Write("20261210-BENCH001-S-01-ABCDEFG.TXT", test::SyntheticDayFile(86'400, false));
    TransformResult locked = TransformDataFile(TransformDirection::Lock, lines, FileLayout::Lines);
    std::filesystem::remove(lines);
    for (auto _ : state) {
        TransformResult plain =
            TransformDataFile(TransformDirection::Unlock, locked.targetPath, FileLayout::Packed);
        TransformResult again =
            TransformDataFile(TransformDirection::Lock, plain.targetPath, FileLayout::Packed);
        if (!TransformSucceeded(plain.code) || !TransformSucceeded(again.code))
            state.SkipWithError("transform failed");
    }
}
BENCHMARK(BM_UnlockAndLockFullDayPacked)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
