#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <filesystem>

#include "common/fileio.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

namespace fs = std::filesystem;

// Names in the folder other than the ones expected: left-over temporary files.
std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Korean names reach the disk as the same name on every system, and the bytes
// written are the bytes given: no line-end translation on Windows.
TEST(WriteOutputFile, KoreanNamesAndBytesArriveUnchanged) {
    test::TempDir dir;
    const std::string name = "운행 기록 똠.LOG";
    const fs::path target = dir.path() / PathFromText(name);
    EXPECT_EQ(PathToText(target.filename()), name);
    ASSERT_TRUE(WriteOutputFile(target, "old\n"));
    ASSERT_TRUE(WriteOutputFile(target, "line 1\nline 2\r\n\x1A end"));
    EXPECT_EQ(*ReadWholeFile(target), "line 1\nline 2\r\n\x1A end");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{PathToText(target.filename())});

    // A name that is a folder is refused, and leaves nothing beside it.
    fs::create_directory(dir.path() / "folder");
    EXPECT_FALSE(WriteOutputFile(dir.path() / "folder", "x"));
    EXPECT_FALSE(WriteOutputFile(dir.path() / "missing" / "x.LOG", "x"));
    EXPECT_EQ(Entries(dir.path()).size(), 2u);
    EXPECT_EQ(InputFile(dir.path() / "folder").status(), InputFile::Status::NotRegular);
    EXPECT_EQ(InputFile(dir.path() / "none").status(), InputFile::Status::Missing);
}

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(WriteOutputFile, RegularFilesAreReplacedWholeAndKeepTheirMode) {
    test::TempDir dir;
    const fs::path fresh = dir.path() / "new.html";
    ASSERT_TRUE(WriteOutputFile(fresh, "one"));
    EXPECT_EQ(*ReadWholeFile(fresh), "one");

    const fs::path old = dir.Write("old.html", "previous content, longer than the new");
    ASSERT_EQ(::chmod(old.c_str(), 0640), 0);
    ASSERT_TRUE(WriteOutputFile(old, "two"));
    EXPECT_EQ(*ReadWholeFile(old), "two");
    struct stat st {};
    ASSERT_EQ(::stat(old.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"new.html", "old.html"}));
}
#endif

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(WriteOutputFile, SymbolicLinksAreFollowedToTheirTarget) {
    test::TempDir dir;
    const fs::path target = dir.Write("target.html", "old");
    fs::create_directory(dir.path() / "sub");
    fs::create_symlink("../target.html", dir.path() / "sub" / "link.html");
    fs::create_symlink("sub/link.html", dir.path() / "chain.html");
    ASSERT_TRUE(WriteOutputFile(dir.path() / "chain.html", "new"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "chain.html"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "sub" / "link.html"));
    EXPECT_EQ(*ReadWholeFile(target), "new");

    // A link to a file not yet there creates it.
    fs::create_symlink("made.html", dir.path() / "dangling.html");
    ASSERT_TRUE(WriteOutputFile(dir.path() / "dangling.html", "made"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling.html"));
    EXPECT_EQ(*ReadWholeFile(dir.path() / "made.html"), "made");
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"chain.html", "dangling.html",
                                                             "made.html", "sub", "target.html"}));
}
#endif

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(WriteOutputFile, DevicesAreWrittenStraightAndErrorsReported) {
    ASSERT_TRUE(WriteOutputFile("/dev/null", "discarded"));
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));  // still the device, not a file put in its place

    if (::access("/dev/full", W_OK) == 0) {
        WriteResult full = WriteOutputFile("/dev/full", "no room");
        EXPECT_EQ(full.error, ENOSPC);
        EXPECT_FALSE(full.Describe().empty());
    }

    test::TempDir dir;
    fs::create_symlink("a.html", dir.path() / "b.html");
    fs::create_symlink("b.html", dir.path() / "a.html");
    const fs::path folder = dir.path() / "folder.html";
    fs::create_directory(folder);
    struct Case {
        fs::path path;
        int error;
    } cases[] = {
        {dir.path() / "a.html", ELOOP},
        {folder, EISDIR},
        {dir.path() / "missing" / "x.html", ENOENT},
        {"", ENOENT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WriteOutputFile(c.path, "x").error, c.error) << c.path;
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"a.html", "b.html", "folder.html"}));
    EXPECT_TRUE(fs::is_empty(folder));
}
#endif

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(InputFile, TellsMissingFromNotRegularFromUnreadable) {
    test::TempDir dir;
    const fs::path file = dir.Write("f", "abc");
    ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
    fs::create_symlink("loop", dir.path() / "loop");
    fs::create_symlink("/proc/self/mem", dir.path() / "mem");  // opens, but reading fails

    InputFile ok(file);
    EXPECT_EQ(ok.status(), InputFile::Status::Open);
    EXPECT_EQ(ok.size(), 3u);
    EXPECT_EQ(*ok.ReadFirst(10), "abc");

    EXPECT_EQ(InputFile(dir.path() / "none").status(), InputFile::Status::Missing);
    EXPECT_EQ(InputFile(file / "under").status(), InputFile::Status::Missing);
    EXPECT_EQ(InputFile(dir.path()).status(), InputFile::Status::NotRegular);
    EXPECT_EQ(InputFile(dir.path() / "pipe").status(), InputFile::Status::NotRegular);
    InputFile loop(dir.path() / "loop");
    EXPECT_EQ(loop.status(), InputFile::Status::Unreadable);
    EXPECT_EQ(loop.error(), ELOOP);
    InputFile mem(dir.path() / "mem");
    ASSERT_TRUE(mem.isOpen());
    EXPECT_FALSE(mem.ReadFirst(16));
    EXPECT_EQ(mem.status(), InputFile::Status::Unreadable);

    EXPECT_FALSE(ReadWholeFile(dir.path() / "pipe"));  // would wait for a writer
    EXPECT_FALSE(ReadWholeFile(file, 2));              // over the limit
    EXPECT_EQ(*ReadWholeFile(file, 3), "abc");
}
#endif

}  // namespace
}  // namespace ondavia
