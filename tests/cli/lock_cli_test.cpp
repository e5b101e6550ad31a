#include <gtest/gtest.h>

#include "common/fileio.hpp"
#include "data/filename.hpp"
#include "runcli.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeHeader;
using test::MakeRecord;

using Result = test::CliResult;
using test::Cli;

TEST(CliLock, WritesTheCounterpartBesideTheFile) {
    test::TempDir dir;
    const std::string plain = test::PackedFile(MakeHeader(), {MakeRecord(), MakeRecord()});
    auto source = dir.Write("20261210-12345678-S-01-ABCDEFG.TXT", plain);

    Result lock = Cli({"lock", source.string()});
    EXPECT_EQ(lock.code, 0) << lock.err;
    EXPECT_EQ(lock.out, "20261210-12345678-X-01-ABCDEFG.TXT\t0\n");
    const std::string lockedName = "20261210-12345678-X-01-ABCDEFG.TXT";
    EXPECT_EQ(ReadWholeFile(dir.path() / lockedName), test::Xor(plain, LockKey(lockedName)));

    // Again: the complete copy is replaced.
    EXPECT_EQ(Cli({"lock", source.string()}).out, "20261210-12345678-X-01-ABCDEFG.TXT\t1\n");

    std::filesystem::remove(source);
    Result unlock = Cli({"unlock", (dir.path() / lockedName).string()});
    EXPECT_EQ(unlock.code, 0) << unlock.err;
    EXPECT_EQ(unlock.out, "20261210-12345678-S-01-ABCDEFG.TXT\t0\n");
    EXPECT_EQ(ReadWholeFile(source), plain);
}

TEST(CliLock, FailuresAndRefusals) {
    test::TempDir dir;
    const std::string plain = test::PackedFile(MakeHeader(), {MakeRecord()});
    auto s = dir.Write("20261210-12345678-S-01-ABCDEFG.TXT", plain);
    auto m = dir.Write("20261210-12345678-M-01-ABCDEFG.TXT", plain);
    auto noLetter = dir.Write("20261210-12345678-01.TXT", plain);
    auto notData = dir.Write("20261210-12345678-S-01-ABCDEFG.TXT.bak", plain);
    std::filesystem::create_directory(dir.path() / "20261210-12345678-X-01-ABCDEFG.TXT");

    // A copy that cannot be put in place: the line and the failing code.
    Result failed = Cli({"lock", s.string()});
    EXPECT_EQ(failed.code, 1);
    EXPECT_EQ(failed.out, "20261210-12345678-X-01-ABCDEFG.TXT\t99\n");

    struct Case {
        const char* command;
        std::string path;
    };
    const Case refused[] = {
        {"lock", m.string()},
        {"unlock", m.string()},
        {"unlock", s.string()},
        {"lock", noLetter.string()},
        {"lock", notData.string()},
        {"lock", (dir.path() / "20261210-12345678-S-01-NOTHERE.TXT").string()},
    };
    for (const Case& c : refused) {
        Result r = Cli({c.command, c.path});
        EXPECT_EQ(r.code, 1) << c.command << " " << c.path;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_EQ(ReadWholeFile(m), plain);
    EXPECT_EQ(Cli({"lock"}).code, 2);
    EXPECT_EQ(Cli({"unlock", s.string(), "extra"}).code, 2);
}

}  // namespace
}  // namespace ondavia
