// The viewer's settings file ONDAVIA.INI: cp949 text beside the program.
#pragma once

#include <filesystem>
#include <string>

namespace ondavia {

inline constexpr const char* kSettingsFileName = "ONDAVIA.INI";
// The maps script the local map page loads unless MAP/ScriptUrl says otherwise.
inline constexpr const char* kDefaultMapScriptUrl = "https://maps.googleapis.com/maps/api/js";

// Texts are UTF-8 in memory; paths keep their trailing separator.
struct TDtgSetValue {
    std::string CompanyName;
    std::string AppPath;
    std::string DataFilePath;
    bool AllWorkDate = false;
    bool GpsView = false;
    bool NoCarTrack = false;
    bool RPMVisible = false;
    int SelectMap = 0;
    // Map addresses (section MAP): the maps script the local page loads and
    // its key, the server of the remote map pages, and the address whose
    // answer tells the local page that the internet can be reached (the
    // maps script's own address when empty).
    std::string MapScriptUrl;
    std::string MapApiKey;
    std::string MapServerUrl;
    std::string MapProbeUrl;
};

// appPath is the program's folder with a trailing separator. A missing file or
// missing keys give the defaults; nothing is written.
TDtgSetValue LoadSettings(const std::filesystem::path& settingsFile, const std::string& appPath);

// One key at a time, every other line of the file kept. False when the file
// cannot be written (the caller may tell the user; the setting still applies).
bool WriteSettingString(const std::filesystem::path& settingsFile, const char* section,
                        const char* key, const std::string& utf8Value);
bool WriteSettingBool(const std::filesystem::path& settingsFile, const char* section,
                      const char* key, bool value);
bool WriteSettingInteger(const std::filesystem::path& settingsFile, const char* section,
                         const char* key, int value);

// Appends the folder separator when missing.
std::string WithTrailingSeparator(std::string path);

}  // namespace ondavia
