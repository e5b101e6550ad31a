#include <gtest/gtest.h>

#include "common/cp949.hpp"
#include "data/filelist.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

constexpr int kPivot = 2026;

std::string Text() { return test::TextFile(MakeHeader(), {MakeRecord()}); }
std::string Extended() {
    RecordFields f;
    f.extended = true;
    return test::TextFile(MakeHeader(), {MakeRecord(f)});
}
std::string Packed() { return test::PackedFile(MakeHeader(), {MakeRecord()}); }

std::vector<std::string> Names(const std::vector<ListedFile>& rows) {
    std::vector<std::string> names;
    for (const auto& r : rows)
        names.push_back(r.displayName + ":" + std::to_string(ModeNumber(r.fileMode)));
    return names;
}

TEST(FileList, ListsValidFilesSortedWithTheirModes) {
    test::TempDir dir;
    dir.Write("20261211-12345678-02.txt", Text());
    dir.Write("20261210-12345678-S-01-ABCDEFG.Txt", Extended());
    dir.Write("20261210-12345678-01.TXT", Packed());
    dir.Write("20261210-12345678-03.TXT", "not a data file");                    // layout fails
    dir.Write("20261310-12345678-01.TXT", Text());                               // bad date
    dir.Write("20261210-12345678-01.LOG", Text());                               // not .TXT
    dir.Write("20261210-12345678-Q-01-ABCDEFG.TXT", Text());                     // bad letter
    std::filesystem::create_directory(dir.path() / "20261210-12345678-09.TXT");  // a folder
    auto rows = ListDataFiles(dir.path(), std::nullopt, kPivot);
    EXPECT_EQ(Names(rows), (std::vector<std::string>{"20261210-12345678-01:0",
                                                     "20261210-12345678-S-01-ABCDEFG:1",
                                                     "20261211-12345678-02:2"}));
    // The real name on disk is kept for reading.
    EXPECT_EQ(rows[2].path.filename(), "20261211-12345678-02.txt");
    EXPECT_EQ(rows[1].UpperFileName(), "20261210-12345678-S-01-ABCDEFG.TXT");

    auto day = ListDataFiles(dir.path(), std::string("20261211"), kPivot);
    EXPECT_EQ(Names(day), (std::vector<std::string>{"20261211-12345678-02:2"}));
    EXPECT_TRUE(ListDataFiles(dir.path(), std::string("20261212"), kPivot).empty());
    EXPECT_TRUE(ListDataFiles(dir.path() / "missing", std::nullopt, kPivot).empty());
}

TEST(FileList, KoreanNamesAreCountedInCp949Bytes) {
    test::TempDir dir;
    dir.Write("20261210-서울1234-01.txt", Text());  // 24 cp949 bytes, 28 UTF-8 bytes
    auto rows = ListDataFiles(dir.path(), std::nullopt, kPivot);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].displayName, "20261210-서울1234-01");
    EXPECT_EQ(rows[0].name, *Utf8ToCp949("20261210-서울1234-01"));
}

TEST(FileList, FindFileRow) {
    std::vector<ListedFile> rows(5);
    const char* names[] = {"A", "B", "C", "D", "E"};
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].name = names[i];
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(FindFileRow(rows, names[i]), i);
    EXPECT_EQ(FindFileRow(rows, "0"), -1);
    EXPECT_EQ(FindFileRow(rows, "F"), -1);
    EXPECT_EQ(FindFileRow(rows, "BB"), -1);
    EXPECT_EQ(FindFileRow({}, "A"), -1);
}

}  // namespace
}  // namespace ondavia
