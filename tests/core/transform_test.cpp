#include "search/transform.hpp"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#ifndef _WIN32
#include <fcntl.h>
#endif

#include <csignal>
#include <set>

#include "common/fileio.hpp"
#include "common/text.hpp"
#include "data/filename.hpp"
#include "data/layout.hpp"
#include "data/recording.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

namespace fs = std::filesystem;
using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

constexpr const char* kPlainS = "20261210-12345678-S-01-ABCDEFG.TXT";
constexpr const char* kLockedX = "20261210-12345678-X-01-ABCDEFG.TXT";
constexpr const char* kPlainC = "20261210_123456789_C_02_ABCDEFG.TXT";  // 35 characters
constexpr const char* kLockedY = "20261210_123456789_Y_02_ABCDEFG.TXT";
constexpr const char* kPlain38 = "20261210-123456789012-S-03-ABCDEFG.TXT";
constexpr const char* kLocked38 = "20261210-123456789012-X-03-ABCDEFG.TXT";

RecordFields At(int second, bool extended = false) {
    RecordFields f;
    f.time = test::ClockText(36000 + second);
    f.speed = std::to_string(100 + second);
    f.extended = extended;
    return f;
}

std::vector<std::string> Records(int n, bool extended = false) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.push_back(MakeRecord(At(i, extended)));
    return out;
}

std::string Join(const std::string& header, const std::vector<std::string>& records,
                 const char* end) {
    std::string out = header + end;
    for (const std::string& r : records)
        out += r + end;
    return out;
}

// What a locked copy must hold: header and records cut to 79 and 68 bytes,
// packed, every byte XOR the key of the locked name.
std::string ExpectedPacked(const std::vector<std::string>& records) {
    std::string out = MakeHeader();
    for (const std::string& r : records)
        out += r.substr(0, 68);
    return out;
}

std::string Read(const fs::path& p) { return ReadWholeFile(p).value_or("<missing>"); }

std::set<std::string> FilesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
// A resource limit lowered for one scope and restored after it.
class ScopedLimit {
  public:
    ScopedLimit(int resource, rlim_t soft) : resource_(resource) {
        getrlimit(resource_, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = soft;
        setrlimit(resource_, &lowered);
    }
    ~ScopedLimit() { setrlimit(resource_, &saved_); }

  private:
    int resource_;
    rlimit saved_{};
};
#endif

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
// Writing past the file-size limit raises SIGXFSZ, which would end the test
// program; ignored, the write fails with EFBIG as on a full disk.
class IgnoreFileSizeSignal {
  public:
    IgnoreFileSizeSignal() { old_ = std::signal(SIGXFSZ, SIG_IGN); }
    ~IgnoreFileSizeSignal() { std::signal(SIGXFSZ, old_); }

  private:
    void (*old_)(int);
};
#endif

TEST(TransformDataFile, RoundTripsEveryLayout) {
    struct Case {
        const char* name;
        const char* plain;
        const char* locked;
        int fileMode;
        bool extended;
        const char* lineEnd;
    };
    const Case cases[] = {
        {"packed 34", kPlainS, kLockedX, 0, false, ""},
        {"packed 38", kPlain38, kLocked38, 0, false, ""},
        {"lines of 68", kPlainS, kLockedX, 2, false, "\r\n"},
        {"lines of 87", kPlainC, kLockedY, 1, true, "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const auto records = Records(3, c.extended);
        const std::string source = Join(MakeHeader(), records, c.lineEnd);
        fs::path plainPath = dir.Write(c.plain, source);

        TransformResult locked =
            TransformDataFile(TransformDirection::Lock, plainPath, LayoutFromMode(c.fileMode));
        ASSERT_EQ(locked.code, kTransformDone);
        EXPECT_EQ(locked.targetName, c.locked);
        EXPECT_EQ(locked.targetPath, dir.path() / c.locked);
        const std::string packed = ExpectedPacked(records);
        EXPECT_EQ(Read(locked.targetPath), test::Xor(packed, LockKey(c.locked)));
        EXPECT_EQ(Read(plainPath), source) << "the source is left as it was";

        // The locked copy is read back by the loader like any locked file.
        Recording r;
        LoadOptions options;
        options.upperName = c.locked;
        options.fileMode = FileLayout::Packed;
        options.hundredths = IntervalFromName(c.locked).hundredths;
        options.locked = true;
        ASSERT_TRUE(LoadRecording(locked.targetPath, options, r).ok());
        ASSERT_EQ(r.rows.size(), 3u);
        EXPECT_EQ(r.rows[2].speed, 102);

        fs::remove(plainPath);
        TransformResult plain =
            TransformDataFile(TransformDirection::Unlock, locked.targetPath, FileLayout::Packed);
        ASSERT_EQ(plain.code, kTransformDone);
        EXPECT_EQ(plain.targetName, c.plain);
        if (c.fileMode == 0)
            EXPECT_EQ(Read(plain.targetPath), source) << "byte for byte";
        else
            EXPECT_EQ(Read(plain.targetPath), packed) << "line forms come back packed";
        EXPECT_EQ(FilesIn(dir.path()), (std::set<std::string>{c.plain, c.locked}));
    }
}

TEST(TransformDataFile, NameWhoseByteSumIsAMultipleOf256UsesKeyOne) {
    const std::string lockedName = "20261210-12345QZQ-X-01-ABCDEFG.TXT";
    ASSERT_EQ(NameChecksum(lockedName), 1);
    test::TempDir dir;
    const auto records = Records(2);
    fs::path source =
        dir.Write("20261210-12345QZQ-S-01-ABCDEFG.TXT", Join(MakeHeader(), records, ""));
    TransformResult r = TransformDataFile(TransformDirection::Lock, source, FileLayout::Packed);
    ASSERT_EQ(r.code, kTransformDone);
    EXPECT_EQ(Read(r.targetPath), test::Xor(ExpectedPacked(records), 1));
}

TEST(TransformDataFile, LowerCaseLettersAndNamesOnDisk) {
    test::TempDir dir;
    const std::string source = Join(MakeHeader(), Records(1), "");
    fs::path plain = dir.Write("20261210-abcdefgh-s-01-abcdefg.txt", source);
    // A locked file already there under a lower-case name is the one replaced.
    dir.Write("20261210-abcdefgh-x-01-abcdefg.txt", "old");
    TransformResult r = TransformDataFile(TransformDirection::Lock, plain, FileLayout::Packed);
    ASSERT_EQ(r.code, kTransformDone);
    EXPECT_EQ(r.targetName, "20261210-ABCDEFGH-X-01-ABCDEFG.TXT");
    EXPECT_EQ(r.targetPath.filename(), "20261210-abcdefgh-x-01-abcdefg.txt");
    EXPECT_EQ(Read(r.targetPath), test::Xor(source, LockKey(r.targetName)));
    EXPECT_EQ(FilesIn(dir.path()).size(), 2u);
}

TEST(TransformDataFile, OverwritingAnExistingTarget) {
    test::TempDir dir;
    const auto records = Records(2);
    fs::path plain = dir.Write(kPlainS, Join(MakeHeader(), records, ""));
    const std::string locked = test::Xor(ExpectedPacked(records), LockKey(kLockedX));
    struct Case {
        const char* name;
        std::string existing;
        int code;
    };
    const Case cases[] = {
        {"none", "", kTransformDone},
        {"complete", std::string(79 + 68 * 5, 'z'), kTransformOverwritten},
        {"only a header", std::string(79, 'z'), kTransformDone},
        {"a broken record", std::string(79 + 68 + 1, 'z'), kTransformDone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(dir.path() / kLockedX);
        if (!c.existing.empty()) dir.Write(kLockedX, c.existing);
        TransformResult r = TransformDataFile(TransformDirection::Lock, plain, FileLayout::Packed);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(Read(dir.path() / kLockedX), locked);
        EXPECT_EQ(FilesIn(dir.path()).size(), 2u);
    }
}

TEST(TransformDataFile, EndsOfTheSource) {
    const std::string h = MakeHeader();
    const std::string rec = MakeRecord();
    struct Case {
        const char* name;
        std::string bytes;
        int fileMode;
        int code;
        std::string written;  // plain bytes of the copy
    };
    const Case cases[] = {
        {"header only, packed", h, 0, kTransformDone, h},
        {"header line only", h + "\r\n", 2, kTransformDone, h},
        {"line break after the last line", h + "\r\n" + rec + "\r\n\r\n", 2, kTransformDone,
         h + rec},
        {"line break with no record before it", h + "\r\n\r\n", 2, kTransformShortRecord, ""},
        {"short header", h.substr(0, 50), 0, kTransformShortHeader, ""},
        {"header line without its break", h, 2, kTransformShortHeader, ""},
        {"broken last record, packed", h + rec + rec.substr(0, 30), 0, kTransformShortRecord, ""},
        {"line break in a packed file", h + rec + "\r\n", 0, kTransformShortRecord, ""},
        {"broken last line", h + "\r\n" + rec + "\r\n" + rec.substr(0, 20), 2,
         kTransformShortRecord, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        fs::path source = dir.Write(kPlainS, c.bytes);
        TransformResult r =
            TransformDataFile(TransformDirection::Lock, source, LayoutFromMode(c.fileMode));
        EXPECT_EQ(r.code, c.code);
        if (TransformSucceeded(c.code)) {
            EXPECT_EQ(Read(r.targetPath), test::Xor(c.written, LockKey(kLockedX)));
        } else {
            EXPECT_EQ(FilesIn(dir.path()), std::set<std::string>{kPlainS}) << "nothing left";
        }
    }
}

// Every failure leaves an older copy as it was and no partial file beside it.
class TransformFailure : public ::testing::Test {
  protected:
    void SetUp() override {
        source = dir.Write(kPlainS, Join(MakeHeader(), Records(3), ""));
        old = dir.Write(kLockedX, "an older copy");
    }
    void ExpectNothingChanged() {
        EXPECT_EQ(Read(old), "an older copy");
        EXPECT_EQ(FilesIn(dir.path()), (std::set<std::string>{kPlainS, kLockedX}));
    }
    test::TempDir dir;
    fs::path source, old;
};

TEST_F(TransformFailure, SourceCannotBeOpened) {
    fs::path missing = dir.path() / "20261210-12345678-S-01-ZZZZZZZ.TXT";
    TransformResult r = TransformDataFile(TransformDirection::Lock, missing, FileLayout::Packed);
    EXPECT_EQ(r.code, kTransformSourceUnreadable);
    EXPECT_FALSE(fs::exists(dir.path() / "20261210-12345678-X-01-ZZZZZZZ.TXT"));
    ExpectNothingChanged();
}

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST_F(TransformFailure, TargetCannotBeCreated) {
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer runtime needs descriptors of its own while it checks the
    // error path; with none left it reports its own failure to look.
    GTEST_SKIP() << "no descriptors to spare under the sanitizers";
#endif
    // With the source open, no descriptor is left for the target.
    int probe = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(probe, 0);
    ::close(probe);
    TransformResult r;
    {
        ScopedLimit limit(RLIMIT_NOFILE, static_cast<rlim_t>(probe) + 1);
        r = TransformDataFile(TransformDirection::Lock, source, FileLayout::Packed);
    }
    EXPECT_EQ(r.code, kTransformTargetNotCreated);
    ExpectNothingChanged();
}
#endif

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST_F(TransformFailure, WritesCutShort) {
    struct Case {
        const char* name;
        rlim_t fileSizeLimit;
        int code;
    };
    const Case cases[] = {
        {"inside the header", 40, kTransformHeaderNotWritten},
        {"inside the second record", 79 + 68 + 10, kTransformRecordNotWritten},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IgnoreFileSizeSignal ignore;
        TransformResult r;
        {
            ScopedLimit limit(RLIMIT_FSIZE, c.fileSizeLimit);
            r = TransformDataFile(TransformDirection::Lock, source, FileLayout::Packed);
        }
        EXPECT_EQ(r.code, c.code);
        ExpectNothingChanged();
    }
}
#endif

TEST_F(TransformFailure, TargetCannotBePutInPlace) {
    const fs::path lockedC = dir.path() / "20261210-12345678-Y-01-ABCDEFG.TXT";
    fs::create_directory(lockedC);
    fs::path plainC = dir.Write("20261210-12345678-C-01-ABCDEFG.TXT", Read(source));
    TransformResult r = TransformDataFile(TransformDirection::Lock, plainC, FileLayout::Packed);
    EXPECT_EQ(r.code, kTransformOtherError);
    EXPECT_TRUE(fs::is_directory(lockedC));
    EXPECT_EQ(FilesIn(dir.path()).size(), 4u);
}

TEST_F(TransformFailure, NamesWithoutCounterpartAreRefused) {
    struct Case {
        TransformDirection direction;
        const char* name;
    };
    const Case cases[] = {
        {TransformDirection::Lock, "20261210-12345678-M-01-ABCDEFG.TXT"},
        {TransformDirection::Lock, "20261210-12345678-N-01-ABCDEFG.TXT"},
        {TransformDirection::Lock, "20261210-12345678-Q-01-ABCDEFG.TXT"},
        {TransformDirection::Unlock, "20261210-12345678-M-01-ABCDEFG.TXT"},
        {TransformDirection::Lock, "20261210-12345678-X-01-ZZZZZZZ.TXT"},
        {TransformDirection::Unlock, "20261210-12345678-S-01-ZZZZZZZ.TXT"},
        {TransformDirection::Lock, "20261210-12345678-01.TXT"},
        {TransformDirection::Lock, "20261210-123456789012-01.TXT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = Read(source);
        fs::path path = dir.Write(c.name, bytes);
        TransformResult r = TransformDataFile(c.direction, path, FileLayout::Packed);
        EXPECT_EQ(r.code, kTransformTargetNotCreated);
        EXPECT_TRUE(r.targetName.empty());
        EXPECT_EQ(Read(path), bytes) << "the source is never written";
        fs::remove(path);
    }
    EXPECT_EQ(Read(source), Join(MakeHeader(), Records(3), ""));
    ExpectNothingChanged();
}

TEST(TransformTargetName, SwapsTheTypeLetterOnly) {
    struct Case {
        TransformDirection direction;
        const char* name;
        const char* target;
    };
    const Case cases[] = {
        {TransformDirection::Lock, kPlainS, kLockedX},
        {TransformDirection::Lock, kPlainC, kLockedY},
        {TransformDirection::Lock, kPlain38, kLocked38},
        {TransformDirection::Lock, "20261210-12345678-s-01-ABCDEFG.TXT", kLockedX},
        {TransformDirection::Unlock, kLockedX, kPlainS},
        {TransformDirection::Unlock, "20261210_123456789_y_02_ABCDEFG.TXT", kPlainC},
        {TransformDirection::Lock, kLockedX, ""},
        {TransformDirection::Unlock, kPlainS, ""},
        {TransformDirection::Lock, "20261210-12345678-N-01-ABCDEFG.TXT", ""},
        {TransformDirection::Lock, "20261210-12345678-01.TXT", ""},
        {TransformDirection::Lock, "20261210-12345678-S-01-ABCDEFG.DAT", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TransformTargetName(c.direction, c.name), c.target) << c.name;
}

TEST(LockMenuFor, OnlyTheOpenedFileAndOnlyWithACounterpart) {
    struct Case {
        const char* focused;
        const char* opened;
        bool lock, unlock;
    };
    const Case cases[] = {
        {"20261210-12345678-S-01-ABCDEFG", kPlainS, true, false},
        {"20261210_123456789_C_02_ABCDEFG", kPlainC, true, false},
        {"20261210-123456789012-S-03-ABCDEFG", kPlain38, true, false},
        {"20261210-12345678-X-01-ABCDEFG", kLockedX, false, true},
        {"20261210_123456789_Y_02_ABCDEFG", kLockedY, false, true},
        // Another row than the file opened last.
        {"20261210-12345678-S-01-ABCDEFG", kLockedX, false, false},
        {"20261210-12345678-S-01-ABCDEFG", "", false, false},
        // The comparison is exact.
        {"20261210-12345678-S-01-ABCDEFG", "20261210-12345678-s-01-ABCDEFG.TXT", false, false},
        // No type letter.
        {"20261210-12345678-01", "20261210-12345678-01.TXT", false, false},
        {"20261210-123456789012-01", "20261210-123456789012-01.TXT", false, false},
        // Locked letters without a counterpart: neither command.
        {"20261210-12345678-M-01-ABCDEFG", "20261210-12345678-M-01-ABCDEFG.TXT", false, false},
        {"20261210-12345678-N-01-ABCDEFG", "20261210-12345678-N-01-ABCDEFG.TXT", false, false},
    };
    for (const Case& c : cases) {
        LockMenu m = LockMenuFor(c.focused, c.opened);
        EXPECT_EQ(m.lock, c.lock) << c.focused << " / " << c.opened;
        EXPECT_EQ(m.unlock, c.unlock) << c.focused << " / " << c.opened;
    }
}

}  // namespace
}  // namespace ondavia
