#include <gtest/gtest.h>

#include "commands.hpp"
#include "data/filename.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

struct Result {
    int code;
    std::string out, err;
};

Result Cli(std::vector<std::string> args) {
    Result r;
    r.code = cli::Run(args, r.out, r.err);
    return r;
}

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
             {"check", path.string(), "--search", "2", "--state", "6"}})
        EXPECT_EQ(Cli(args).code, 2);
    EXPECT_EQ(Cli({"check", (dir.path() / "missing.TXT").string(), "--search", "1"}).code, 1);
}

}  // namespace
}  // namespace ondavia
