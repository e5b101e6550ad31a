#include "settings.hpp"

#include "cp949.hpp"
#include "fileio.hpp"
#include "inifile.hpp"

namespace ondavia {

std::string WithTrailingSeparator(std::string path) {
    if (path.empty() || path.back() != '/') path.push_back('/');
    return path;
}

TDtgSetValue LoadSettings(const std::filesystem::path& settingsFile, const std::string& appPath) {
    IniText ini = LoadIniFile(settingsFile);
    TDtgSetValue s;
    s.AppPath = WithTrailingSeparator(appPath);
    s.CompanyName = Cp949ToUtf8(ini.ReadString(kSectionCompany, kKeyCompanyName, ""));
    auto dataPath = ini.Read(kSectionPathname, kKeyDataFilePath);
    s.DataFilePath = dataPath ? Cp949ToUtf8(*dataPath) : s.AppPath;
    s.AllWorkDate = ini.ReadBool(kSectionGeneral, kKeyAllWorkDate, true);
    s.GpsView = ini.ReadBool(kSectionGeneral, kKeyGpsView, false);
    s.NoCarTrack = ini.ReadBool(kSectionGeneral, kKeyNoCarTrack, false);
    s.RPMVisible = ini.ReadBool(kSectionGeneral, kKeyRPMVisible, true);
    s.SelectMap = ini.ReadInteger(kSectionGeneral, kKeySelectMap, 0);
    s.MapScriptUrl = Cp949ToUtf8(ini.ReadString(kSectionMap, kKeyScriptUrl, kDefaultMapScriptUrl));
    s.MapApiKey = Cp949ToUtf8(ini.ReadString(kSectionMap, kKeyApiKey, ""));
    s.MapServerUrl = Cp949ToUtf8(ini.ReadString(kSectionMap, kKeyServerUrl, ""));
    s.MapProbeUrl = Cp949ToUtf8(ini.ReadString(kSectionMap, kKeyProbeUrl, ""));
    s.MapTileUrl = Cp949ToUtf8(ini.ReadString(kSectionMap, kKeyTileUrl, kDefaultTileUrl));
    return s;
}

namespace {

SettingsWriteResult Failed(const std::filesystem::path& file, std::string reason) {
    return {false, file, std::move(reason)};
}

SettingsWriteResult WriteValue(SettingsFiles& files, std::string_view section, std::string_view key,
                               std::string_view bytes) {
    const std::filesystem::path& current = files.current;
    if (current.empty()) return Failed(current, "no settings file");
    std::error_code error;
    if (current == files.userCopy)
        std::filesystem::create_directories(current.parent_path(), error);
    std::string reason;
    auto ini = LoadIniFileForUpdate(current, &reason);
    if (!ini) return Failed(current, reason);
    ini->Write(section, key, bytes);
    if (ReplaceFileAtomically(current, ini->Bytes(), &reason)) return {true, current, {}};
    if (files.userCopy.empty() || current == files.userCopy) return Failed(current, reason);

    // The file in use cannot be written (a read-only file beside the
    // program): carry it whole, with this key, to the per-user copy, and use
    // that from now on.
    std::filesystem::create_directories(files.userCopy.parent_path(), error);
    std::string copyReason;
    if (!ReplaceFileAtomically(files.userCopy, ini->Bytes(), &copyReason))
        return Failed(current, reason + "; " + PathToText(files.userCopy) + ": " + copyReason);
    files.current = files.userCopy;
    return {true, files.current, {}};
}

}  // namespace

SettingsWriteResult WriteSettingString(SettingsFiles& files, const char* section, const char* key,
                                       const std::string& utf8Value) {
    auto bytes = Utf8ToCp949(utf8Value);
    if (!bytes)
        return Failed(files.current, "the text holds a character the settings file cannot store");
    return WriteValue(files, section, key, *bytes);
}

SettingsWriteResult WriteSettingBool(SettingsFiles& files, const char* section, const char* key,
                                     bool value) {
    return WriteValue(files, section, key, value ? "1" : "0");
}

SettingsWriteResult WriteSettingInteger(SettingsFiles& files, const char* section, const char* key,
                                        int value) {
    return WriteValue(files, section, key, std::to_string(value));
}

bool WriteSettingString(const std::filesystem::path& settingsFile, const char* section,
                        const char* key, const std::string& utf8Value) {
    SettingsFiles files{settingsFile, {}};
    return WriteSettingString(files, section, key, utf8Value).ok;
}

bool WriteSettingBool(const std::filesystem::path& settingsFile, const char* section,
                      const char* key, bool value) {
    SettingsFiles files{settingsFile, {}};
    return WriteSettingBool(files, section, key, value).ok;
}

bool WriteSettingInteger(const std::filesystem::path& settingsFile, const char* section,
                         const char* key, int value) {
    SettingsFiles files{settingsFile, {}};
    return WriteSettingInteger(files, section, key, value).ok;
}

SettingsFiles ChooseSettingsFiles(const std::filesystem::path& besideProgram,
                                  const std::filesystem::path& userCopy) {
    std::error_code error;
    const bool besideExists = std::filesystem::exists(besideProgram, error);
    std::filesystem::path folder = besideProgram.parent_path();
    if (folder.empty()) folder = ".";
    if (besideExists ? IsWritable(besideProgram) : IsWritable(folder))
        return {besideProgram, userCopy};
    if (std::filesystem::exists(userCopy, error)) return {userCopy, userCopy};
    if (besideExists) return {besideProgram, userCopy};
    return {userCopy, userCopy};
}

}  // namespace ondavia
