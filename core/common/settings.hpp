// The viewer's settings file ONDAVIA.INI: cp949 text beside the program.
#pragma once

#include <filesystem>
#include <string>

namespace ondavia {

inline constexpr const char* kSettingsFileName = "ONDAVIA.INI";

// Sections and keys of the settings file, named once for every reader and writer.
inline constexpr const char* kSectionCompany = "COMPANY";
inline constexpr const char* kSectionPathname = "PATHNAME";
inline constexpr const char* kSectionGeneral = "GENERAL";
inline constexpr const char* kSectionMap = "MAP";
inline constexpr const char* kKeyCompanyName = "CompanyName";    // COMPANY
inline constexpr const char* kKeyDataFilePath = "DataFilePath";  // PATHNAME
inline constexpr const char* kKeyAllWorkDate = "AllWorkDate";    // GENERAL
inline constexpr const char* kKeyGpsView = "GpsView";            // GENERAL
inline constexpr const char* kKeyNoCarTrack = "NoCarTrack";      // GENERAL
inline constexpr const char* kKeyRPMVisible = "RPMVisible";      // GENERAL
inline constexpr const char* kKeySelectMap = "SelectMap";        // GENERAL
inline constexpr const char* kKeyScriptUrl = "ScriptUrl";        // MAP
inline constexpr const char* kKeyApiKey = "ApiKey";              // MAP
inline constexpr const char* kKeyServerUrl = "ServerUrl";        // MAP
inline constexpr const char* kKeyProbeUrl = "ProbeUrl";          // MAP
inline constexpr const char* kKeyTileUrl = "TileUrl";            // MAP
// The maps script the local map page loads unless MAP/ScriptUrl says otherwise.
inline constexpr const char* kDefaultMapScriptUrl = "https://maps.googleapis.com/maps/api/js";

// The raster tiles of the keyless map unless MAP/TileUrl says otherwise, and
// the credit their server asks every map to show.
inline constexpr const char* kDefaultTileUrl = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
inline constexpr const char* kTileAttributionHtml =
    "&copy; <a href=\"https://www.openstreetmap.org/copyright\">OpenStreetMap</a> contributors";

// SelectMap of the keyless map page (Leaflet over raster tiles), which the
// viewer writes itself like the page of 0. 4 and every other unlisted value
// already stand for the remote Kakao page, so it takes the next value.
inline constexpr int kSelectMapKeyless = 5;

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
    // The keyless map's tile address, with {z}, {x} and {y} (and {s}).
    std::string MapTileUrl;
};

// appPath is the program's folder with a trailing separator. A missing file or
// missing keys give the defaults; nothing is written.
TDtgSetValue LoadSettings(const std::filesystem::path& settingsFile, const std::string& appPath);

// Where the settings are read and written: the file in use, and the per-user
// copy that takes over when the file in use cannot be written (a read-only
// ONDAVIA.INI beside the program).
struct SettingsFiles {
    std::filesystem::path current;
    std::filesystem::path userCopy;  // empty: no fallback
};

struct SettingsWriteResult {
    bool ok = false;
    std::filesystem::path file;  // the file written, or the one that failed
    std::string reason;          // why it failed
};

// One key at a time, every other line of the file kept. When files.current
// cannot be written, the whole file is copied to files.userCopy with the key
// changed, and files.current becomes the copy. A file that exists but cannot
// be read is never written (its keys would be lost); the result says why.
SettingsWriteResult WriteSettingString(SettingsFiles& files, const char* section, const char* key,
                                       const std::string& utf8Value);
SettingsWriteResult WriteSettingBool(SettingsFiles& files, const char* section, const char* key,
                                     bool value);
SettingsWriteResult WriteSettingInteger(SettingsFiles& files, const char* section, const char* key,
                                        int value);

// The same on one file, without a fallback. False when the file cannot be
// written (the caller may tell the user; the setting still applies).
bool WriteSettingString(const std::filesystem::path& settingsFile, const char* section,
                        const char* key, const std::string& utf8Value);
bool WriteSettingBool(const std::filesystem::path& settingsFile, const char* section,
                      const char* key, bool value);
bool WriteSettingInteger(const std::filesystem::path& settingsFile, const char* section,
                         const char* key, int value);

// The settings file to use at start-up: the one beside the program when it
// can be written (or, absent, when its folder takes files); else the per-user
// copy once one has been made; else the one beside the program, read-only
// until the first write copies it; else the per-user one.
SettingsFiles ChooseSettingsFiles(const std::filesystem::path& besideProgram,
                                  const std::filesystem::path& userCopy);

// Appends the folder separator when missing.
std::string WithTrailingSeparator(std::string path);

}  // namespace ondavia
