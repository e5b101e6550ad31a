// The application-wide state every window reads: the settings and the flags
// of the open file. One object, owned by the application for the whole run.
#pragma once

#include <QString>

#include "common/datetime.hpp"
#include "common/settings.hpp"
#include "data/record.hpp"

namespace ondavia::gui {

class TPRINT_CLASS;

struct AppState {
    TDtgSetValue ViewerSettings;
    QString SettingsFilePath;  // ONDAVIA.INI in use

    // The open data file.
    int FileMode = 0;
    int HeaderSize = 79;
    int RecordSize = 68;
    bool HundredthsData = false;
    bool LockedFile = false;
    QString CurrentFilePath;  // upper-case identity of the file being opened
    QString LoadedFilePath;   // empty when no file is shown
    bool GridNarrow = true;
    bool LayoutInProgress = false;

    // Map state, filled by the map panel.
    bool MapAvailable = false;
    QString MapPageAddress;
    bool MapPageLoading = false;
    bool MapReady = false;

    DateTime ChartStartTime = 0;
    DateTime ChartEndTime = 0;
    DateTime PointerTime = 0;

    // The records of the open file.
    TDTG_CLASS* RecordTable = nullptr;
    // The report printer, shared by the report windows.
    TPRINT_CLASS* PrintClass = nullptr;

    // Settings writers: one key each, written at once. False when the file
    // cannot be written.
    bool WriteString(const char* section, const char* key, const QString& value) const;
    bool WriteBool(const char* section, const char* key, bool value) const;
    bool WriteInteger(const char* section, const char* key, int value) const;
};

// Where ONDAVIA.INI lives: beside the program when that folder can be
// written, otherwise in the user's configuration folder.
QString ResolveSettingsFile(const QString& appDir, const QString& userConfigDir);

// Loads the settings as the main window's creation does.
void LoadSettings(AppState& state, const QString& appDir, const QString& settingsFile);

}  // namespace ondavia::gui
