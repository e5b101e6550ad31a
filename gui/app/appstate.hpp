// The application-wide state every window reads: the settings and the flags
// of the open file. One object, owned by the application for the whole run.
#pragma once

#include <QString>

#include "common/datetime.hpp"
#include "common/settings.hpp"
#include "data/layout.hpp"
#include "data/record.hpp"

namespace ondavia::gui {

class TPRINT_CLASS;

struct AppState {
    TDtgSetValue ViewerSettings;
    QString SettingsFilePath;  // ONDAVIA.INI in use
    // The per-user copy that takes over when SettingsFilePath cannot be
    // written; empty for none.
    QString UserSettingsFilePath;

    // The open data file.
    FileLayout FileMode = FileLayout::Packed;
    bool HundredthsData = false;
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

    // Settings writers: one key each, written at once. When the file in use
    // cannot be written it is carried to the per-user copy, which is used from
    // then on. False when the key could not be saved; the user has then been
    // told which file and why (the setting still applies for this run).
    // A failed write is shown to the user at once, naming the file, unless
    // the caller reports failures itself (ReportSettingsErrors false).
    bool ReportSettingsErrors = true;
    bool WriteString(const char* section, const char* key, const QString& value);
    bool WriteBool(const char* section, const char* key, bool value);
    bool WriteInteger(const char* section, const char* key, int value);
};

struct SettingsLocation {
    QString file;      // read at start-up
    QString userCopy;  // takes over when file cannot be written
};

// Where ONDAVIA.INI lives: beside the program when it (or, absent, its
// folder) can be written; otherwise the per-user copy in userConfigDir once
// one exists, else the file beside the program, read as it is until the
// first write copies it to userConfigDir.
SettingsLocation ResolveSettingsFile(const QString& appDir, const QString& userConfigDir);

// Loads the settings as the main window's creation does.
void LoadSettings(AppState& state, const QString& appDir, const QString& settingsFile,
                  const QString& userSettingsFile = QString());

}  // namespace ondavia::gui
