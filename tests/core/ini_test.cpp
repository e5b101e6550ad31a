#include <gtest/gtest.h>

#include "common/cp949.hpp"
#include "common/fileio.hpp"
#include "common/inifile.hpp"
#include "common/settings.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

TEST(IniText, ReadsWithoutRegardToCase) {
    IniText ini(
        "; comment\r\n"
        "[general]\r\n"
        "  rpmvisible = 0 \r\n"
        ";SelectMap=9\r\n"
        "SelectMap=3\r\n"
        "SelectMap=4\r\n"
        "Name=\"quoted value\"\r\n"
        "Hex=0x10\r\n"
        "Bad=abc\r\n"
        "[GENERAL]\r\n"
        "Other=1\r\n");
    EXPECT_EQ(ini.ReadInteger("GENERAL", "RPMVisible", 1), 0);
    EXPECT_EQ(ini.ReadInteger("General", "selectmap", 0), 3);  // the first key wins
    EXPECT_EQ(ini.ReadString("GENERAL", "Name", ""), "quoted value");
    EXPECT_EQ(ini.ReadInteger("GENERAL", "Hex", 0), 16);
    EXPECT_EQ(ini.ReadInteger("GENERAL", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("GENERAL", "Missing", 5), 5);
    EXPECT_FALSE(ini.Read("GENERAL", "Other"));  // only the first matching section is read
    EXPECT_FALSE(ini.Read("NOPE", "Name"));
    EXPECT_TRUE(ini.ReadBool("GENERAL", "SelectMap", false));
}

TEST(IniText, WritesOneKeyKeepingEveryOtherLine) {
    const std::string original =
        "; kept comment\r\n"
        "[COMPANY]\r\n"
        "CompanyName=Old\r\n"
        "\r\n"
        "[general]\n"  // a bare LF line stays as it is
        "AllWorkDate=1\r\n"
        "\r\n"
        "[Other]\r\n"
        "x=y";
    IniText ini(original);
    ini.Write("Company", "companyname", "New");
    EXPECT_EQ(ini.Bytes(),
              "; kept comment\r\n[COMPANY]\r\ncompanyname=New\r\n\r\n[general]\nAllWorkDate=1\r\n"
              "\r\n[Other]\r\nx=y");
    ini.Write("GENERAL", "RPMVisible", "0");
    EXPECT_EQ(ini.ReadInteger("GENERAL", "RPMVisible", 1), 0);
    EXPECT_NE(ini.Bytes().find("AllWorkDate=1\r\nRPMVisible=0\r\n\r\n[Other]"), std::string::npos);
    ini.Write("Other", "z", "1");
    EXPECT_EQ(ini.Bytes().substr(ini.Bytes().size() - 10), "x=y\r\nz=1\r\n");
    ini.Write("PATHNAME", "DataFilePath", "/data/");
    EXPECT_EQ(ini.Bytes().substr(ini.Bytes().size() - 33), "[PATHNAME]\r\nDataFilePath=/data/\r\n");
    EXPECT_EQ(ini.ReadString("pathname", "datafilepath", ""), "/data/");
}

TEST(Settings, EmptyFileGivesTheDefaults) {
    test::TempDir dir;
    auto file = dir.Write("ONDAVIA.INI", "");
    TDtgSetValue s = LoadSettings(file, dir.path().string());
    EXPECT_EQ(s.CompanyName, "");
    EXPECT_EQ(s.AppPath, dir.path().string() + "/");
    EXPECT_EQ(s.DataFilePath, s.AppPath);
    EXPECT_TRUE(s.AllWorkDate);
    EXPECT_FALSE(s.GpsView);
    EXPECT_FALSE(s.NoCarTrack);
    EXPECT_TRUE(s.RPMVisible);
    EXPECT_EQ(s.SelectMap, 0);
    // A missing file reads the same and is not created.
    TDtgSetValue missing = LoadSettings(dir.path() / "absent.ini", dir.path().string() + "/");
    EXPECT_EQ(missing.DataFilePath, s.AppPath);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "absent.ini"));
}

TEST(Settings, KoreanTextIsCp949OnDiskAndSurvivesWriters) {
    test::TempDir dir;
    auto file = dir.path() / "ONDAVIA.INI";
    ASSERT_TRUE(WriteSettingString(file, "COMPANY", "CompanyName", "온다비아 운수(주)"));
    ASSERT_TRUE(WriteSettingString(file, "PATHNAME", "DataFilePath", "/자료/"));
    ASSERT_TRUE(WriteSettingBool(file, "GENERAL", "RPMVisible", false));
    ASSERT_TRUE(WriteSettingInteger(file, "GENERAL", "SelectMap", -1));
    ASSERT_TRUE(WriteSettingBool(file, "GENERAL", "AllWorkDate", false));
    auto bytes = ReadWholeFile(file);
    ASSERT_TRUE(bytes);
    EXPECT_NE(bytes->find(*Utf8ToCp949("온다비아")), std::string::npos);
    EXPECT_FALSE(IsValidUtf8(*bytes));
    TDtgSetValue s = LoadSettings(file, "/app/");
    EXPECT_EQ(s.CompanyName, "온다비아 운수(주)");
    EXPECT_EQ(s.DataFilePath, "/자료/");
    EXPECT_FALSE(s.RPMVisible);
    EXPECT_FALSE(s.AllWorkDate);
    EXPECT_EQ(s.SelectMap, -1);
    // No temporary files are left behind.
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(Settings, UnwritableFolderFailsWithoutTouchingTheFile) {
    EXPECT_FALSE(WriteSettingBool("/nonexistent-folder/ONDAVIA.INI", "GENERAL", "GpsView", true));
    EXPECT_FALSE(
        WriteSettingString("/tmp/ONDAVIA-never.INI", "COMPANY", "CompanyName", "\xF0\x9F\x98\x80"));
    EXPECT_FALSE(std::filesystem::exists("/tmp/ONDAVIA-never.INI"));
}

}  // namespace
}  // namespace ondavia
