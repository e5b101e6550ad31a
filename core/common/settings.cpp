#include "settings.hpp"

#include "cp949.hpp"
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
    s.CompanyName = Cp949ToUtf8(ini.ReadString("COMPANY", "CompanyName", ""));
    auto dataPath = ini.Read("PATHNAME", "DataFilePath");
    s.DataFilePath = dataPath ? Cp949ToUtf8(*dataPath) : s.AppPath;
    s.AllWorkDate = ini.ReadBool("GENERAL", "AllWorkDate", true);
    s.GpsView = ini.ReadBool("GENERAL", "GpsView", false);
    s.NoCarTrack = ini.ReadBool("GENERAL", "NoCarTrack", false);
    s.RPMVisible = ini.ReadBool("GENERAL", "RPMVisible", true);
    s.SelectMap = ini.ReadInteger("GENERAL", "SelectMap", 0);
    s.MapScriptUrl = Cp949ToUtf8(ini.ReadString("MAP", "ScriptUrl", kDefaultMapScriptUrl));
    s.MapApiKey = Cp949ToUtf8(ini.ReadString("MAP", "ApiKey", ""));
    s.MapServerUrl = Cp949ToUtf8(ini.ReadString("MAP", "ServerUrl", ""));
    s.MapProbeUrl = Cp949ToUtf8(ini.ReadString("MAP", "ProbeUrl", ""));
    return s;
}

bool WriteSettingString(const std::filesystem::path& settingsFile, const char* section,
                        const char* key, const std::string& utf8Value) {
    auto bytes = Utf8ToCp949(utf8Value);
    if (!bytes) return false;  // a character the file's code page cannot hold
    return WriteIniValue(settingsFile, section, key, *bytes);
}

bool WriteSettingBool(const std::filesystem::path& settingsFile, const char* section,
                      const char* key, bool value) {
    return WriteIniValue(settingsFile, section, key, value ? "1" : "0");
}

bool WriteSettingInteger(const std::filesystem::path& settingsFile, const char* section,
                         const char* key, int value) {
    return WriteIniValue(settingsFile, section, key, std::to_string(value));
}

}  // namespace ondavia
