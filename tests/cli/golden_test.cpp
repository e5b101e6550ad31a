// The command-line tool's output for the sample recordings and generated
// full days, compared with the stored outputs under tests/fixtures/golden.
// Small outputs are stored whole; large ones as size and FNV-1a hash.
// Set ONDAVIA_UPDATE_GOLDEN=1 to write the stored outputs afresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "commands.hpp"
#include "common/fileio.hpp"
#include "support/builders.hpp"
#include "support/synthetic.hpp"

namespace ondavia {
namespace {

namespace fs = std::filesystem;

constexpr size_t kWholeTextLimit = 1024;

std::uint64_t Fnv1a(std::string_view s) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string HashLine(std::string_view s) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%zu %016llx", s.size(),
                  static_cast<unsigned long long>(Fnv1a(s)));
    return buf;
}

// One command's outcome as stored: exit code, stdout, and the -o file.
struct Outcome {
    int code = 0;
    std::string out;
    std::string file;
};

// Lines "key<TAB>code<TAB>stdout size+hash<TAB>file size+hash".
std::string ManifestLine(const std::string& key, const Outcome& o) {
    return key + "\t" + std::to_string(o.code) + "\t" + HashLine(o.out) + "\t" +
           (o.file.empty() ? std::string("-") : HashLine(o.file)) + "\n";
}

// File names with characters a key may not hold replaced.
std::string KeyFileName(std::string key) {
    for (char& c : key)
        if (c == ' ' || c == '/' || c == '\t') c = '_';
    return key + ".txt";
}

class GoldenRun {
  public:
    GoldenRun() : golden_(ONDAVIA_GOLDEN_DIR), update_(std::getenv("ONDAVIA_UPDATE_GOLDEN")) {}

    // Runs args with every "@" replaced by dir's path; the key names the run
    // without folder names, so it is the same on every machine.
    void Run(const std::string& key, std::vector<std::string> args, const fs::path& dir) {
        fs::path outFile = scratch_.path() / "out.html";
        fs::remove(outFile);
        for (std::string& a : args) {
            if (a == "@OUT") a = outFile.string();
            if (!a.empty() && a[0] == '@' && a != "@OUT") a = (dir / a.substr(1)).string();
        }
        Outcome o;
        std::string err;
        o.code = cli::Run(args, o.out, err);
        if (auto bytes = ReadWholeFile(outFile)) o.file = *bytes;
        results_[key] = o;
    }

    void Compare() {
        std::string manifest;
        for (const auto& [key, o] : results_)
            manifest += ManifestLine(key, o);
        const fs::path manifestPath = golden_ / "cli_outputs.tsv";
        const fs::path textDir = golden_ / "text";
        if (update_) {
            fs::create_directories(textDir);
            ASSERT_TRUE(ReplaceFileAtomically(manifestPath, manifest));
            for (const auto& [key, o] : results_) {
                if (o.out.size() <= kWholeTextLimit) {
                    ASSERT_TRUE(ReplaceFileAtomically(textDir / KeyFileName(key), o.out));
                }
            }
            GTEST_SKIP() << "stored outputs written";
        }
        auto stored = ReadWholeFile(manifestPath);
        ASSERT_TRUE(stored) << manifestPath;
        std::map<std::string, std::string> want;
        std::istringstream lines(*stored);
        for (std::string line; std::getline(lines, line);)
            want[line.substr(0, line.find('\t'))] = line + "\n";
        EXPECT_EQ(want.size(), results_.size());
        for (const auto& [key, o] : results_) {
            SCOPED_TRACE(key);
            if (o.out.size() <= kWholeTextLimit) {
                auto text = ReadWholeFile(textDir / KeyFileName(key));
                ASSERT_TRUE(text) << "no stored text";
                EXPECT_EQ(o.out, *text);
            }
            EXPECT_EQ(ManifestLine(key, o), want[key]);
        }
    }

  private:
    fs::path golden_;
    bool update_;
    test::TempDir scratch_;
    std::map<std::string, Outcome> results_;
};

void RunEveryCommand(GoldenRun& run, const fs::path& dir, const std::string& file) {
    const std::string at = "@" + file;
    for (const char* command : {"info", "rows", "table"})
        run.Run(std::string(command) + " " + file, {command, at}, dir);
    run.Run("mappage " + file, {"mappage", at, "-o", "@OUT"}, dir);
    run.Run("mappage --no-car-track " + file, {"mappage", at, "-o", "@OUT", "--no-car-track"}, dir);
    for (int n = 1; n <= 10; ++n) {
        const std::string search = std::to_string(n);
        run.Run("check " + search + " " + file, {"check", at, "--search", search}, dir);
    }
    for (int k = 0; k <= 5; ++k) {
        const std::string state = std::to_string(k);
        run.Run("check 2 state " + state + " " + file,
                {"check", at, "--search", "2", "--state", state}, dir);
    }
    run.Run("check 4 ref 80 " + file, {"check", at, "--search", "4", "--ref", "80"}, dir);
    run.Run("check 5 ref 2500 " + file, {"check", at, "--search", "5", "--ref", "2500"}, dir);
}

// The full day with seconds left out here and there, so that gaps are filled.
std::string DayWithGaps() {
    std::string day = test::SyntheticDayFile(86'400, false);
    const size_t header = 81, line = 70;
    std::string out = day.substr(0, header);
    for (size_t i = 0; (header + (i + 1) * line) <= day.size(); ++i) {
        // Gaps of 1 to 9 seconds, and one of a quarter of an hour.
        if (i % 997 < i % 10 || (i >= 40'000 && i < 40'900)) continue;
        out += day.substr(header + i * line, line);
    }
    return out;
}

TEST(CliGolden, SamplesAndGeneratedDaysPrintWhatTheyAlwaysPrinted) {
    GoldenRun run;
    const fs::path samples(ONDAVIA_SAMPLES_DIR);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(samples))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 6u) << samples;
    run.Run("list samples", {"list", "@"}, samples);
    run.Run("list samples 20261210", {"list", "@", "--date", "20261210"}, samples);
    for (const std::string& name : names)
        RunEveryCommand(run, samples, name);

    test::TempDir days;
    days.Write("20261210-SYNTH001-S-01-0000000.TXT", test::SyntheticDayFile(86'400, false));
    days.Write("20261210-SYNTH002-S-01-0000000.TXT", DayWithGaps());
    days.Write("20261210-SYNTH003-C-01-0000000.TXT", test::SyntheticDayFile(30'000, true));
    run.Run("list days", {"list", "@"}, days.path());
    for (const auto& entry : fs::directory_iterator(days.path()))
        RunEveryCommand(run, days.path(), entry.path().filename().string());
    run.Compare();
}

}  // namespace
}  // namespace ondavia
