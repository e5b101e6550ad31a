#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <vector>

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

namespace fs = std::filesystem;

[[maybe_unused]] fs::perms PermsOf(const fs::path& p) {
    return fs::symlink_status(p).permissions();
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(FileReplacement, NeverOpensAPlantedLinkAndKeepsPermissions) {
    test::TempDir dir;
    const fs::path victim = dir.Write("victim", "precious");
    const fs::path target = dir.path() / "page.html";
    // Links at the names a predictable temporary would take.
    for (const std::string& suffix :
         std::vector<std::string>{".tmp", ".tmp" + std::to_string(::getpid()), ".new"}) {
        fs::path link = target;
        link += suffix;
        fs::create_symlink(victim, link);
    }
    ASSERT_TRUE(ReplaceFileAtomically(target, "first"));
    EXPECT_EQ(*ReadWholeFile(victim), "precious");
    EXPECT_EQ(*ReadWholeFile(target), "first");

    // A new file gets 0666 less the umask; a replaced one keeps its mode.
    const mode_t oldMask = ::umask(027);
    const fs::path fresh = dir.path() / "fresh";
    ASSERT_TRUE(ReplaceFileAtomically(fresh, "x"));
    EXPECT_EQ(PermsOf(fresh), fs::perms(0640));
    ::umask(oldMask);
    fs::permissions(target, fs::perms(0604));
    ASSERT_TRUE(ReplaceFileAtomically(target, "second"));
    EXPECT_EQ(PermsOf(target), fs::perms(0604));
    EXPECT_EQ(*ReadWholeFile(target), "second");

    // A link in the target's place is replaced by the file, not followed.
    const fs::path linked = dir.path() / "linked";
    fs::create_symlink(victim, linked);
    ASSERT_TRUE(ReplaceFileAtomically(linked, "own"));
    EXPECT_FALSE(fs::is_symlink(linked));
    EXPECT_EQ(*ReadWholeFile(victim), "precious");
}
#endif

TEST(FileReplacement, FailureLeavesTheTargetAndNoTemporary) {
    test::TempDir dir;
    fs::create_directory(dir.path() / "folder");
    std::string reason;
    EXPECT_FALSE(ReplaceFileAtomically(dir.path() / "folder", "x", &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));
    EXPECT_FALSE(ReplaceFileAtomically(dir.path() / "missing" / "file", "x", &reason));
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"folder"});

    // A file not committed goes away with its writer.
    fs::path temp;
    {
        PendingFile pending(dir.path() / "kept-out");
        ASSERT_TRUE(pending.ok());
        EXPECT_TRUE(pending.Write("never committed"));
        temp = pending.TemporaryPath();
        EXPECT_TRUE(fs::exists(temp));
    }
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"folder"});
}

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(FileReplacement, PrivateFolderInASharedPlace) {
    test::TempDir dir;
    std::error_code error;
    auto made = PrivateFolder(dir.path(), "own", error);
    ASSERT_TRUE(made) << error.message();
    EXPECT_EQ(*made, dir.path() / "own");
    EXPECT_EQ(PermsOf(*made), fs::perms(0700));
    EXPECT_EQ(PrivateFolder(dir.path(), "own", error), made);  // taken again next time

    // A link, a file or an open folder under the name is not used.
    fs::create_directory(dir.path() / "elsewhere");
    fs::create_directory_symlink(dir.path() / "elsewhere", dir.path() / "linked");
    dir.Write("plain", "");
    fs::create_directory(dir.path() / "open");
    fs::permissions(dir.path() / "open", fs::perms(0777));
    for (const char* name : {"linked", "plain", "open"}) {
        auto fresh = PrivateFolder(dir.path(), name, error);
        ASSERT_TRUE(fresh) << name;
        EXPECT_NE(*fresh, dir.path() / name);
        EXPECT_EQ(fresh->filename().string().rfind(std::string(name) + "-", 0), 0u) << *fresh;
        EXPECT_TRUE(fs::is_directory(fs::symlink_status(*fresh)));
        EXPECT_EQ(PermsOf(*fresh), fs::perms(0700));
    }
    EXPECT_FALSE(PrivateFolder(dir.path() / "missing", "x", error));
    EXPECT_TRUE(error);
}
#endif

// A settings file that is there but cannot be read must not be replaced by
// one holding the written key alone. A folder in the file's place fails the
// read even for root.
TEST(Settings, UnreadableFileIsNeverOverwritten) {
    test::TempDir dir;
    const fs::path ini = dir.path() / "ONDAVIA.INI";
    fs::create_directory(ini);
    dir.Write("ONDAVIA.INI/keep", "x");
    SettingsFiles files{ini, dir.path() / "user" / "ONDAVIA.INI"};
    SettingsWriteResult r = WriteSettingBool(files, kSectionGeneral, kKeyRPMVisible, false);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.file, ini);
    EXPECT_NE(r.reason.find("cannot read"), std::string::npos) << r.reason;
    EXPECT_EQ(files.current, ini);  // no fallback: the keys could not be carried over
    EXPECT_FALSE(fs::exists(dir.path() / "user"));
    EXPECT_TRUE(fs::exists(ini / "keep"));
    std::string reason;
    EXPECT_FALSE(WriteIniValue(ini, "A", "b", "c", &reason));
    EXPECT_NE(reason.find("cannot read"), std::string::npos);
}

TEST(Settings, UnwritableFileIsCarriedWholeToTheUserCopy) {
    test::TempDir dir;
    // The temporary beside a file of a 250-byte name would need more than the
    // 255 bytes a name may have: the file reads but cannot be replaced, for
    // root too.
    const std::string name(250, 'I');
    const fs::path beside = dir.Write(name, "; kept comment\r\n[COMPANY]\r\nCompanyName=Kept\r\n");
    SettingsFiles files{beside, dir.path() / "config" / "Ondavia" / "ONDAVIA.INI"};
    SettingsWriteResult r = WriteSettingBool(files, kSectionGeneral, kKeyRPMVisible, false);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(files.current, files.userCopy);
    EXPECT_EQ(r.file, files.userCopy);
    EXPECT_EQ(*ReadWholeFile(beside), "; kept comment\r\n[COMPANY]\r\nCompanyName=Kept\r\n");
    EXPECT_EQ(*ReadWholeFile(files.userCopy),
              "; kept comment\r\n[COMPANY]\r\nCompanyName=Kept\r\n[GENERAL]\r\nRPMVisible=0\r\n");
    // Later writes go to the copy only.
    ASSERT_TRUE(WriteSettingInteger(files, kSectionGeneral, kKeySelectMap, 3).ok);
    TDtgSetValue s = LoadSettings(files.current, "/app/");
    EXPECT_EQ(s.CompanyName, "Kept");
    EXPECT_FALSE(s.RPMVisible);
    EXPECT_EQ(s.SelectMap, 3);

    // Without a per-user place the write fails and says which file.
    SettingsFiles alone{beside, {}};
    r = WriteSettingBool(alone, kSectionGeneral, kKeyGpsView, true);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.file, beside);
    EXPECT_FALSE(r.reason.empty());
}

#ifndef _WIN32  // POSIX permissions, limits, pipes and devices
TEST(Settings, ChoosesTheFileAtStartUp) {
    test::TempDir dir;
    const fs::path app = dir.path() / "app";
    const fs::path user = dir.path() / "user" / "ONDAVIA.INI";
    fs::create_directory(app);
    const fs::path beside = app / "ONDAVIA.INI";

    // A writable folder: beside the program, even before the file exists.
    SettingsFiles f = ChooseSettingsFiles(beside, user);
    EXPECT_EQ(f.current, beside);
    EXPECT_EQ(f.userCopy, user);
    // A folder that is not there (so not writable): the per-user file.
    const fs::path gone = dir.path() / "gone" / "ONDAVIA.INI";
    EXPECT_EQ(ChooseSettingsFiles(gone, user).current, user);

    if (::geteuid() == 0) return;  // root writes read-only files anyway
    dir.Write("app/ONDAVIA.INI", "[COMPANY]\r\nCompanyName=Beside\r\n");
    fs::permissions(beside, fs::perms(0444));
    // Read-only beside the program: read there until the first write copies it.
    EXPECT_EQ(ChooseSettingsFiles(beside, user).current, beside);
    fs::create_directories(user.parent_path());
    dir.Write("user/ONDAVIA.INI", "");
    EXPECT_EQ(ChooseSettingsFiles(beside, user).current, user);
}
#endif

}  // namespace
}  // namespace ondavia
