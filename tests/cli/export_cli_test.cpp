// ondavia-cli nmea, xlsx and gpx: arguments, default names, refusals.
#include <gtest/gtest.h>

#include "commands.hpp"
#include "common/fileio.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

int Cli(std::vector<std::string> args, std::string& out, std::string& err) {
    out.clear();
    err.clear();
    return cli::Run(args, out, err);
}

TEST(ExportCli, Commands) {
    test::TempDir dir;
    RecordFields fault;
    fault.state = "11";
    const std::string file =
        dir.Write("20261210-12345678-02.txt", test::TextFile(MakeHeader(), {MakeRecord()}))
            .string();
    const std::string faulty =
        dir.Write("20261211-12345678-02.TXT", test::TextFile(MakeHeader(), {MakeRecord(fault)}))
            .string();
    std::string out, err;

    for (auto args : std::vector<std::vector<std::string>>{{"nmea"},
                                                           {"nmea", file, "-o"},
                                                           {"nmea", file, file},
                                                           {"xlsx", file},
                                                           {"gpx", file},
                                                           {"gpx", "-x", file, "-o", "a.gpx"}})
        EXPECT_EQ(Cli(args, out, err), cli::kUsage) << args.size();

    // The log goes beside the file under the name the file list shows.
    ASSERT_EQ(Cli({"nmea", file}, out, err), cli::kOk) << err;
    const std::string log = ReadWholeFile(dir.path() / "20261210-12345678-02.LOG").value_or("");
    EXPECT_EQ(log.substr(0, 14), "$GPRMC,100000,");
    ASSERT_EQ(Cli({"nmea", file, "-o", (dir.path() / "other.log").string()}, out, err), cli::kOk);
    EXPECT_EQ(ReadWholeFile(dir.path() / "other.log").value_or(""), log);
    EXPECT_EQ(Cli({"nmea", file, "-o", (dir.path() / "no" / "x.log").string()}, out, err),
              cli::kRefused);
    EXPECT_NE(err.find("작업중 오류가 발생하여 작업을 중지합니다!!!"), std::string::npos);

    ASSERT_EQ(Cli({"xlsx", file, "-o", (dir.path() / "a.xlsx").string()}, out, err), cli::kOk);
    EXPECT_EQ(out, "1 records, 1 sheet\n");
    EXPECT_EQ(Cli({"xlsx", file, "-o", (dir.path() / "no" / "a.xlsx").string()}, out, err),
              cli::kRefused);
    EXPECT_EQ(err.rfind("데이터 저장 오류 !!! - ", 0), 0u) << err;

    ASSERT_EQ(Cli({"gpx", file, "-o", (dir.path() / "a.gpx").string()}, out, err), cli::kOk);
    EXPECT_EQ(out, "1 points\n");
    EXPECT_EQ(Cli({"gpx", faulty, "-o", (dir.path() / "b.gpx").string()}, out, err), cli::kRefused);
    EXPECT_EQ(err, "위치 데이터가 없습니다!\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "b.gpx"));
}

}  // namespace
}  // namespace ondavia
