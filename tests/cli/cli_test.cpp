#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "common/fileio.hpp"
#include "data/filename.hpp"
#include "runcli.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

using Result = test::CliResult;
using test::Cli;

TEST(Cli, UsageErrors) {
    for (auto args :
         std::vector<std::vector<std::string>>{{},
                                               {"nope"},
                                               {"info"},
                                               {"info", "a", "b"},
                                               {"list"},
                                               {"list", "/tmp", "--date"},
                                               {"list", "/tmp", "--date", "2026121"},
                                               {"list", "/tmp", "--date", "20261310"}}) {
        Result r = Cli(args);
        EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(Cli, ListAndInfo) {
    test::TempDir dir;
    RecordFields a, b;
    a.extended = b.extended = true;
    b.time = "100003";
    b.fuel = "000014";
    dir.Write("20261210-12345678-S-01-ABCDEFG.txt",
              test::TextFile(MakeHeader(), {MakeRecord(a), MakeRecord(b)}));
    dir.Write("20261211-12345678-01.TXT", test::PackedFile(MakeHeader(), {MakeRecord()}));
    Result list = Cli({"list", dir.path().string()});
    EXPECT_EQ(list.code, 0);
    EXPECT_EQ(list.out, "20261210-12345678-S-01-ABCDEFG\t1\n20261211-12345678-01\t0\n");
    EXPECT_EQ(Cli({"list", "--date", "20261211", dir.path().string()}).out,
              "20261211-12345678-01\t0\n");
    EXPECT_EQ(Cli({"list", (dir.path() / "nothing").string()}).code, 1);

    Result info = Cli({"info", (dir.path() / "20261210-12345678-S-01-ABCDEFG.txt").string()});
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_EQ(
        info.out,
        "{\"name\":\"20261210-12345678-S-01-ABCDEFG.TXT\",\"mode\":1,\"hundredths\":false,"
        "\"locked\":false,\"model\":\"ON-T100\",\"carBody\":\"KMHEM41APXA123456\","
        "\"carKind\":\"21 - 일반택시\",\"carNo\":\"12ABC3456\",\"businessNo\":\"123-45-67890\","
        "\"driverNo\":\"D0000001\",\"start\":\"26-12-10 10:00:00\",\"end\":\"26-12-10 10:00:03\","
        "\"rows\":2,\"tableRecords\":4,\"fuelTotal\":30}\n");
}

TEST(Cli, RefusedFiles) {
    test::TempDir dir;
    RecordFields bad;
    bad.rpm = "12x4";
    auto badName = dir.Write("notes.txt", test::PackedFile(MakeHeader(), {MakeRecord()}));
    auto badLayout = dir.Write("20261210-12345678-01.TXT", "hello");
    auto badData =
        dir.Write("20261210-12345678-02.TXT", test::PackedFile(MakeHeader(), {MakeRecord(bad)}));
    for (const auto& path : {badName, badLayout, badData, dir.path() / "missing.TXT"}) {
        Result r = Cli({"info", path.string()});
        EXPECT_EQ(r.code, 1) << path;
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_NE(
        Cli({"rows", badData.string()})
            .err.find("자료가 없거나 자료를 읽어 오는중 오류가 발생하여 작업을 할 수 없습니다."),
        std::string::npos);
}

TEST(Cli, RowsAndTable) {
    test::TempDir dir;
    RecordFields a, b;
    a.gx = "-00.00";
    a.gy = "+01.23";
    b.time = "100002";
    b.brake = "1";
    b.lon = "112712345";  // alternative longitude form
    const std::string name = "20261210-12345678-X-01-ABCDEFG.TXT";
    auto path = dir.Write(
        name,
        test::Xor(test::PackedFile(MakeHeader(), {MakeRecord(a), MakeRecord(b)}), LockKey(name)));
    Result rows = Cli({"rows", path.string()});
    EXPECT_EQ(rows.code, 0) << rows.err;
    EXPECT_EQ(
        rows.out,
        "정보발생시간,발생시간,속도,RPM,BRAKE,거리,누적거리,경도,위도,방위각,Gx,Gy,상태,GEAR,"
        "연료소모,자율,가속,조향\n"
        "26-12-10 10:00:00,10:00:00,50,1500,OFF,10,12345,126.978012,37.566535,90,0,1.23,0,,,,,\n"
        "26-12-10 10:00:02,10:00:02,50,1500,ON,10,12345,127.123450,37.566535,90,1.5,-0.2,0,,,,,\n");
    Result table = Cli({"table", path.string()});
    EXPECT_EQ(table.code, 0);
    EXPECT_EQ(
        table.out,
        "InfoTime,InfoDateTime,Speed,RPM,Brake,Km,TotKm,GpsX,GpsY,GpsAngle,Gx,Gy,State,Engine\n"
        "10:00:00,26-12-10 10:00:00,50,1500,0,10,12345,126.978012,37.566535,90,0.00,0.12,0,1.0\n"
        "10:00:01,26-12-10 10:00:01,0,0,0,10,12345,0.000000,0.000000,0,0.00,0.00,0,0.2\n"
        "10:00:02,26-12-10 10:00:02,50,1500,1,10,12345,127.123450,37.566535,90,0.15,-0.02,0,1.0\n");
}

}  // namespace
}  // namespace ondavia

namespace ondavia {
namespace {

TEST(Cli, Check) {
    test::TempDir dir;
    RecordFields a, b, c;
    b.time = "100002";
    b.speed = "070";
    c.time = "100003";
    c.speed = "071";
    auto path =
        dir.Write("20261210-12345678-01.TXT",
                  test::PackedFile(MakeHeader(), {MakeRecord(a), MakeRecord(b), MakeRecord(c)}));
    Result jump = Cli({"check", path.string(), "--search", "7"});
    EXPECT_EQ(jump.code, 0) << jump.err;
    EXPECT_EQ(jump.out, "hit 1\n속도 이상 :  1회\n");
    EXPECT_EQ(Cli({"check", path.string(), "--search", "6"}).out, "hit 1\n오류 횟수  :  1회\n");
    EXPECT_EQ(Cli({"check", path.string(), "--search", "4", "--ref", "70"}).out,
              "hit 0\n속도 오류  :  1회\n");
    EXPECT_EQ(Cli({"check", path.string(), "--search", "2", "--state", "5"}).out,
              "장치 이상 횟수 / 전체 횟수  : 0회 / 3회\n");
    for (auto args : std::vector<std::vector<std::string>>{
             {"check", path.string()},
             {"check", path.string(), "--search", "11"},
             {"check", path.string(), "--search", "x"},
             {"check", "--search", "1"},
             {"check", path.string(), "--search", "2", "--state", "6"},
             {"check", path.string(), "--search", "2", "--state", "-1"},
             {"check", path.string(), "--search", "0"},
             {"check", path.string(), "--search", "2", "--state", ""}})
        EXPECT_EQ(Cli(args).code, 2);
    EXPECT_EQ(Cli({"check", (dir.path() / "missing.TXT").string(), "--search", "1"}).code, 1);
}

}  // namespace
}  // namespace ondavia

namespace ondavia {
namespace {

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
// While it lives no file can be opened: a folder that cannot be read, for
// root as for anyone else.
class NoFreeFileDescriptors {
  public:
    NoFreeFileDescriptors() {
        ::getrlimit(RLIMIT_NOFILE, &old_);
        const int lowest = ::dup(2);
        ::close(lowest);
        rlimit none = old_;
        none.rlim_cur = static_cast<rlim_t>(lowest);
        ::setrlimit(RLIMIT_NOFILE, &none);
    }
    ~NoFreeFileDescriptors() { ::setrlimit(RLIMIT_NOFILE, &old_); }

  private:
    rlimit old_{};
};
#endif

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(Cli, ListShowsEachFileOnOneLineAndFailsOnAnUnreadableFolder) {
    test::TempDir dir;
    const std::string packed = test::PackedFile(MakeHeader(), {MakeRecord()});
    dir.Write("20261210-1234\t678-01.TXT", packed);
    dir.Write("20261210-1234\n678-02.TXT", packed);
    dir.Write("20261210-1234\x1b[2J-03.TXT", packed);
    dir.Write("20261210-1234\\678-04.TXT", packed);
    Result list = Cli({"list", dir.path().string()});
    EXPECT_EQ(list.code, 0);
    EXPECT_EQ(list.out,
              "20261210-1234\\t678-01\t0\n"
              "20261210-1234\\n678-02\t0\n"
              "20261210-1234\\x1b[2J-03\t0\n"
              "20261210-1234\\\\678-04\t0\n");

    Result unreadable;
    {
        NoFreeFileDescriptors limit;
        unreadable = Cli({"list", dir.path().string()});
    }
    EXPECT_EQ(unreadable.code, 1);
    EXPECT_TRUE(unreadable.out.empty());
    EXPECT_EQ(unreadable.err.rfind("폴더를 읽을 수 없습니다: " + dir.path().string() + "\n(", 0),
              0u)
        << unreadable.err;
}
#endif

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(Cli, RefusedFilesNameTheRealCause) {
    test::TempDir dir;
    const std::filesystem::path d = dir.path();
    std::filesystem::create_directory(d / "20261210-12345678-01.TXT");
    ASSERT_EQ(::mkfifo((d / "20261210-12345678-02.TXT").c_str(), 0600), 0);
    std::filesystem::create_symlink("20261210-12345678-03.TXT", d / "20261210-12345678-03.TXT");
    std::filesystem::create_symlink("/proc/self/mem", d / "20261210-12345678-04.TXT");
    struct Case {
        const char* name;
        std::string err;
    } cases[] = {
        {"01", "일반 파일이 아닙니다: "},
        {"02", "일반 파일이 아닙니다: "},
        {"03", "파일을 읽을 수 없습니다: "},
        {"04", "파일을 읽을 수 없습니다: "},
    };
    for (const Case& c : cases) {
        const std::string path =
            (d / ("20261210-12345678-" + std::string(c.name) + ".TXT")).string();
        Result r = Cli({"info", path});
        EXPECT_EQ(r.code, 1) << c.name;
        EXPECT_EQ(r.err.rfind(c.err + path + "\n", 0), 0u) << r.err;
    }
}
#endif

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(Cli, MapPageOutputGoesWhereThePathLeads) {
    test::TempDir dir;
    const auto data =
        dir.Write("20261210-12345678-01.TXT", test::PackedFile(MakeHeader(), {MakeRecord()}));
    auto mappage = [&](const std::string& out) {
        return Cli({"mappage", data.string(), "-o", out});
    };
    Result null = mappage("/dev/null");
    EXPECT_EQ(null.code, 0) << null.err;
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));

    const auto target = dir.Write("page.html", "old");
    std::filesystem::create_symlink("page.html", dir.path() / "link.html");
    EXPECT_EQ(mappage((dir.path() / "link.html").string()).code, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.html"));
    EXPECT_NE(ReadWholeFile(target)->find("<html"), std::string::npos);

    if (::access("/dev/full", W_OK) == 0) {
        Result full = mappage("/dev/full");
        EXPECT_EQ(full.code, 1);
        EXPECT_EQ(full.err,
                  "지도 페이지를 저장할 수 없습니다: /dev/full\n(No space left on device)\n");
    }
    Result missing = mappage((dir.path() / "none" / "page.html").string());
    EXPECT_EQ(missing.code, 1);
    EXPECT_FALSE(missing.err.empty());
}
#endif

}  // namespace
}  // namespace ondavia
