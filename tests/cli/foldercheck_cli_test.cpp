// ondavia-cli check DIR --all: the ten checks over a folder as CSV and workbook.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "common/fileio.hpp"
#include "data/filename.hpp"
#include "runcli.hpp"
#include "search/foldercheck.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

using Result = test::CliResult;
using test::Cli;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Seconds with speed jumps, a duplicated second, a stop with a moving
// position and a GPS fault: several checks find something.
std::vector<std::string> BusyRecords(bool hundredths) {
    std::vector<std::string> records;
    const int speeds[] = {50, 120, 121, 0, 0, 70, 71, 130, 20, 20};
    for (int i = 0; i < 10; ++i) {
        RecordFields f;
        f.time = test::ClockText(36000 + (hundredths ? 0 : i + (i > 6 ? 1 : 0) - (i == 4)));
        if (hundredths) f.hundredths = (i < 10 ? "0" : "") + std::to_string(i);
        f.speed = (speeds[i] < 100 ? "0" : "") + std::to_string(speeds[i]);
        if (speeds[i] < 10) f.speed = "00" + std::to_string(speeds[i]);
        f.rpm = i % 3 ? "2500" : "1200";
        f.lat = "0375" + std::to_string(66535 + (i == 4 ? 90 : i * 30));
        f.state = i == 8 ? "11" : i == 9 ? "12" : "00";
        records.push_back(MakeRecord(f));
    }
    return records;
}

TEST(CliFolderCheck, CountsMatchTheSingleFileCheck) {
    test::TempDir dir;
    const std::string header = MakeHeader();
    dir.Write("20261210-12345678-S-01-ABCDEFG.TXT", test::TextFile(header, BusyRecords(false)));
    dir.Write("20261210-12345678-C-01-ABCDEFG.TXT", test::TextFile(header, BusyRecords(true)));
    const std::string lockedName = "20261211-12345678-X-01-ABCDEFG.TXT";
    dir.Write(lockedName, test::Xor(test::PackedFile(header, {MakeRecord(), MakeRecord()}),
                                    LockKey(lockedName)));
    RecordFields bad;
    bad.rpm = "12x4";
    dir.Write("20261211-12345678-01.TXT", test::TextFile(header, {MakeRecord(bad)}));
    dir.Write("notes.txt", "not listed");

    Result all = Cli({"check", dir.path().string(), "--all"});
    EXPECT_EQ(all.code, 1) << all.err;  // one file was refused
    const std::vector<std::string> lines = Lines(all.out);
    ASSERT_EQ(lines.size(), 5u) << all.out;
    EXPECT_EQ(lines[0], "file,records,c1,c2,c3,c4,c5,c6,c7,c8,c9,c10");

    Result listed = Cli({"list", dir.path().string()});
    const std::vector<std::string> names = Lines(listed.out);
    ASSERT_EQ(names.size(), 4u);
    int refused = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string name = names[i].substr(0, names[i].find('\t'));
        const std::string& row = lines[i + 1];
        ASSERT_EQ(row.rfind(name + ",", 0), 0u) << row;  // the list's order and names
        const std::string path = (dir.path() / (name + ".TXT")).string();
        Result info = Cli({"info", path});
        if (info.code != 0) {
            ++refused;
            // The reason stands in c1, quoted, and nothing else follows.
            EXPECT_EQ(row.substr(name.size(), 3), ",,\"") << row;
            EXPECT_NE(row.find("record 1"), std::string::npos) << row;
            EXPECT_EQ(row.substr(row.size() - 10), "\",,,,,,,,,");
            continue;
        }
        std::string expected = name + ",";
        const auto rowsAt = info.out.find("\"rows\":") + 7;
        expected += info.out.substr(rowsAt, info.out.find(',', rowsAt) - rowsAt);
        for (int n = 1; n <= 10; ++n) {
            Result one = Cli({"check", path, "--search", std::to_string(n)});
            ASSERT_EQ(one.code, 0) << one.err;
            int hits = 0;
            for (const std::string& l : Lines(one.out))
                hits += l.rfind("hit ", 0) == 0;
            expected += "," + std::to_string(hits);
        }
        EXPECT_EQ(row, expected);
    }
    EXPECT_EQ(refused, 1);
    // The busy files find something in several checks, so equal counts mean something.
    EXPECT_NE(lines[2].find(",1,"), std::string::npos) << lines[2];

    // One date: only its files, and all of them load.
    Result day = Cli({"check", dir.path().string(), "--all", "--date", "20261210"});
    EXPECT_EQ(day.code, 0) << day.err;
    EXPECT_EQ(Lines(day.out).size(), 3u);
    EXPECT_EQ(Lines(day.out)[1], lines[1]);
    EXPECT_EQ(Lines(day.out)[2], lines[2]);

    // Any number of workers gives the same rows in the same order.
    std::error_code ec;
    auto files = ListDataFiles(dir.path(), std::nullopt, 2026, ec);
    auto one = CheckFiles(files, 2026, 1), many = CheckFiles(files, 2026, 8);
    ASSERT_EQ(one.size(), many.size());
    for (size_t i = 0; i < one.size(); ++i) {
        EXPECT_EQ(one[i].name, many[i].name);
        EXPECT_EQ(one[i].hits, many[i].hits);
        EXPECT_EQ(one[i].reason, many[i].reason);
    }
}

TEST(CliFolderCheck, WorkbookAndErrors) {
    test::TempDir dir;
    dir.Write("20261210-12345678-S-01-ABCDEFG.TXT",
              test::TextFile(MakeHeader(), BusyRecords(false)));
    const auto xlsx = dir.path() / "out";
    std::filesystem::create_directory(xlsx);
    const std::string book = (xlsx / "check.xlsx").string();
    Result r = Cli({"check", dir.path().string(), "--all", "--xlsx", book});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 2u);
    const std::string bytes = ReadWholeFile(book).value_or("");
    ASSERT_EQ(bytes.substr(0, 2), "PK");
    if (std::system("command -v unzip >/dev/null 2>&1") == 0) {
        std::string sheet;
        if (FILE* p = ::popen(("unzip -p '" + book + "' xl/worksheets/sheet1.xml").c_str(), "r")) {
            char buf[4096];
            for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
                sheet.append(buf, n);
            ::pclose(p);
        }
        EXPECT_NE(sheet.find("c10"), std::string::npos);
        EXPECT_NE(sheet.find("20261210-12345678-S-01-ABCDEFG"), std::string::npos);
    }

    // A workbook that cannot be written: the earlier one stays, exit 1.
    Result blocked = Cli({"check", dir.path().string(), "--all", "--xlsx",
                          (dir.path() / "none" / "x.xlsx").string()});
    EXPECT_EQ(blocked.code, 1);
    EXPECT_FALSE(blocked.err.empty());

    for (auto args : std::vector<std::vector<std::string>>{
             {"check", dir.path().string(), "--all", "--search", "1"},
             {"check", dir.path().string(), "--all", "--date", "2026121"},
             {"check", dir.path().string(), "--all", "--all"},
             {"check", dir.path().string(), "--xlsx", book},
             {"check", "--all"}})
        EXPECT_EQ(Cli(args).code, 2) << args.back();
    EXPECT_EQ(Cli({"check", (dir.path() / "missing").string(), "--all"}).code, 1);
    // An empty folder gives the header alone.
    test::TempDir empty;
    Result none = Cli({"check", empty.path().string(), "--all"});
    EXPECT_EQ(none.code, 0);
    EXPECT_EQ(none.out, "file,records,c1,c2,c3,c4,c5,c6,c7,c8,c9,c10\n");
}

}  // namespace
}  // namespace ondavia
