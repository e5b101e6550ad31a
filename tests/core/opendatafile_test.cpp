#ifndef _WIN32
#include <fcntl.h>
#endif
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "data/opendatafile.hpp"
#include "support/builders.hpp"
#include "support/synthetic.hpp"

namespace ondavia {
namespace {

namespace fs = std::filesystem;
using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

constexpr int kPivot = 2026;
constexpr const char* kName = "20261210-12345678-S-01-ABCDEFG.TXT";

std::string Packed(int records) {
    std::string bytes = MakeHeader();
    RecordFields f;
    for (int i = 0; i < records; ++i) {
        f.time = test::ClockText(36'000 + i);
        bytes += MakeRecord(f);
    }
    return bytes;
}

// A file of the given size holding only its first bytes; the rest is a hole
// that takes no room on disk.
fs::path SparseFile(const fs::path& path, std::string_view first, std::uintmax_t size) {
    {
        std::ofstream out(path, std::ios::binary);
        out.write(first.data(), static_cast<std::streamsize>(first.size()));
    }
    fs::resize_file(path, size);
    return path;
}

TEST(OpenDataFile, OpensADataFileAsTheFileListWould) {
    test::TempDir dir;
    OpenedFile opened = OpenDataFile(dir.Write(kName, Packed(3)), kPivot);
    ASSERT_TRUE(opened.ok()) << opened.message << " " << opened.detail;
    EXPECT_TRUE(opened.message.empty());
    ASSERT_TRUE(opened.recording);
    EXPECT_EQ(opened.recording->upperName, kName);
    EXPECT_EQ(opened.recording->fileMode, FileLayout::Packed);
    EXPECT_FALSE(opened.recording->hundredths);
    EXPECT_EQ(opened.recording->rows.size(), 3u);

    // A lower-case name on disk is the same file to the viewer.
    std::string lower = kName;
    lower[18] = 's';
    lower.replace(lower.size() - 3, 3, "txt");
    OpenedFile again = OpenDataFile(dir.Write(lower, Packed(1)), kPivot);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.recording->upperName, kName);
}

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(OpenDataFile, EachRefusalNamesItsCause) {
    test::TempDir dir;
    const fs::path d = dir.path();
    RecordFields bad;
    bad.rpm = "12x4";
    dir.Write("notes.txt", Packed(1));
    dir.Write("20261210-12345678-01.TXT", "hello");
    dir.Write("20261210-12345678-02.TXT", test::PackedFile(MakeHeader(), {MakeRecord(bad)}));
    dir.Write("20261210-12345678-03.TXT", MakeHeader() + "\r\n" + MakeRecord() + "\r\nshort");
    fs::create_directory(d / "20261210-12345678-04.TXT");
    ASSERT_EQ(::mkfifo((d / "20261210-12345678-05.TXT").c_str(), 0600), 0);
    fs::create_symlink("20261210-12345678-06.TXT", d / "20261210-12345678-06.TXT");
    // Opens, but every read fails, for root as for anyone else.
    fs::create_symlink("/proc/self/mem", d / "20261210-12345678-07.TXT");

    struct Case {
        const char* name;
        OpenRefusal refusal;
        const char* message;
        const char* detail;
    } cases[] = {
        {"20261210-12345678-00.TXT", OpenRefusal::NotFound, "파일을 찾을 수 없습니다: ", ""},
        {"notes.txt", OpenRefusal::BadName, "운행기록 파일 이름이 아닙니다: notes.txt", ""},
        {"20261210-12345678-01.TXT", OpenRefusal::UnknownLayout,
         "운행기록 파일 형식이 아닙니다: 20261210-12345678-01.TXT", ""},
        {"20261210-12345678-02.TXT", OpenRefusal::LoadFailed, kLoadFailedMessage,
         "record 1 holds an unreadable number"},
        {"20261210-12345678-03.TXT", OpenRefusal::LoadFailed, kLoadFailedMessage,
         "the first records are incomplete"},
        {"20261210-12345678-04.TXT", OpenRefusal::NotRegularFile, "일반 파일이 아닙니다: ", ""},
        {"20261210-12345678-05.TXT", OpenRefusal::NotRegularFile, "일반 파일이 아닙니다: ", ""},
        {"20261210-12345678-06.TXT", OpenRefusal::Unreadable,
         "파일을 읽을 수 없습니다: ", "Too many levels of symbolic links"},
        {"20261210-12345678-07.TXT", OpenRefusal::Unreadable,
         "파일을 읽을 수 없습니다: ", "Input/output error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenedFile r = OpenDataFile(d / c.name, kPivot);
        EXPECT_EQ(r.refusal, c.refusal);
        EXPECT_EQ(r.message.rfind(c.message, 0), 0u) << r.message;
        EXPECT_EQ(r.detail, c.detail);
        EXPECT_FALSE(r.recording);
    }

    if (::geteuid() != 0) {  // permissions do not hold root back
        const fs::path locked = dir.Write("20261210-12345678-08.TXT", Packed(1));
        fs::permissions(locked, fs::perms::none);
        EXPECT_EQ(OpenDataFile(locked, kPivot).refusal, OpenRefusal::Unreadable);
    }
}
#endif

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(OpenDataFile, NamesAreShownOnOneLine) {
    test::TempDir dir;
    const std::string name = "2026121\x1b-12\t45678-01.TXT";
    OpenedFile r = OpenDataFile(dir.Write(name, "x"), kPivot);
    EXPECT_EQ(r.refusal, OpenRefusal::BadName);
    EXPECT_EQ(r.message, "운행기록 파일 이름이 아닙니다: 2026121\\x1b-12\\t45678-01.TXT");
}
#endif

TEST(OpenDataFile, FilesTooLargeForAnyRecordingAreRefusedUnread) {
    test::TempDir dir;
    const std::string start = Packed(1);
    // Just over the cap, and a 4 GB file: both with a packed size.
    for (std::uintmax_t records :
         {std::uintmax_t{kMaxRecordBlocks} + 1, std::uintmax_t{63'000'000}}) {
        const fs::path path = SparseFile(dir.path() / kName, start, 79 + 68 * records);
        OpenedFile r = OpenDataFile(path, kPivot);
        EXPECT_EQ(r.refusal, OpenRefusal::TooLarge) << records;
        EXPECT_EQ(r.message, "파일이 너무 커서 열 수 없습니다: " + std::string(kName));
    }
    // At the cap the file is read, and its zero bytes fail as numbers would.
    const fs::path path = SparseFile(dir.path() / kName, start, 79 + 68 * kMaxRecordBlocks);
    OpenedFile r = OpenDataFile(path, kPivot);
    EXPECT_EQ(r.refusal, OpenRefusal::LoadFailed);
    EXPECT_EQ(r.detail, "record 2 holds an unreadable number");
}

TEST(OpenDataFile, ClockJumpingADayBackAndForthFillsOneDayAtMost) {
    test::TempDir dir;
    std::string bytes = MakeHeader();
    for (int i = 0; i < 200; ++i) {  // 13.7 KB
        RecordFields f;
        f.date = i % 2 ? "261211" : "261210";
        f.time = test::ClockText(36'000 + i / 2);
        bytes += MakeRecord(f);
    }
    OpenedFile r = OpenDataFile(dir.Write(kName, bytes), kPivot);
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(r.recording->rows.size(), 200u);
    EXPECT_EQ(r.recording->table.Count(), 200 + 86'399);
}

#if defined(__SANITIZE_ADDRESS__)
#define ONDAVIA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ONDAVIA_ASAN 1
#endif
#endif

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
// Run by the test below in a fresh process of its own, so that no memory
// freed by earlier tests is at hand: opens the file named by the environment
// with little more address space than the process already has, and exits 0
// when the load failed for want of memory.
TEST(OpenDataFile, DISABLED_UnderAMemoryLimit) {
    const char* file = std::getenv("ONDAVIA_OPEN_UNDER_LIMIT");
    if (!file) GTEST_SKIP();
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
        std::fclose(f);
    }
    const rlim_t limit = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE) + (8 << 20);
    const rlimit rl{limit, limit};
    if (pages == 0 || ::setrlimit(RLIMIT_AS, &rl) != 0) ::_exit(3);
    OpenedFile r = OpenDataFile(file, kPivot);
    ::_exit(r.refusal == OpenRefusal::LoadFailed &&
                    r.detail == "there is not enough memory for its records"
                ? 0
            : r.ok() ? 1
                     : 2);
}
#endif

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(OpenDataFile, RunningOutOfMemoryIsALoadFailure) {
#ifdef ONDAVIA_ASAN
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
    test::TempDir dir;
    const fs::path path =
        dir.Write("20261210-12345678-C-01-0000000.TXT", test::SyntheticDayFile(360'000, true));
    std::fflush(nullptr);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setenv("ONDAVIA_OPEN_UNDER_LIMIT", path.c_str(), 1);
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (quiet >= 0) ::dup2(quiet, STDOUT_FILENO);
        ::execl("/proc/self/exe", "ondavia_core_tests", "--gtest_also_run_disabled_tests",
                "--gtest_filter=OpenDataFile.DISABLED_UnderAMemoryLimit", nullptr);
        ::_exit(4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: loaded anyway, 2: another failure, 3: no limit, 4: not started";
#endif
}
#endif

}  // namespace
}  // namespace ondavia
