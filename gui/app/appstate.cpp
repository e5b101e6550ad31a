#include "appstate.hpp"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace ondavia::gui {

namespace {
std::filesystem::path PathOf(const QString& s) { return std::filesystem::path(s.toStdString()); }
}  // namespace

bool AppState::WriteString(const char* section, const char* key, const QString& value) const {
    return WriteSettingString(PathOf(SettingsFilePath), section, key, value.toStdString());
}

bool AppState::WriteBool(const char* section, const char* key, bool value) const {
    return WriteSettingBool(PathOf(SettingsFilePath), section, key, value);
}

bool AppState::WriteInteger(const char* section, const char* key, int value) const {
    return WriteSettingInteger(PathOf(SettingsFilePath), section, key, value);
}

QString ResolveSettingsFile(const QString& appDir, const QString& userConfigDir) {
    const QString beside = QDir(appDir).filePath(QString::fromLatin1(kSettingsFileName));
    QFileInfo info(beside);
    // A settings file already beside the program is used when it can be
    // written; a new one only when the folder takes files.
    bool writable = info.exists() ? info.isWritable() : [&] {
        QTemporaryFile probe(QDir(appDir).filePath("ondavia-probe-XXXXXX"));
        return probe.open();
    }();
    if (writable) return beside;
    QDir().mkpath(userConfigDir);
    return QDir(userConfigDir).filePath(QString::fromLatin1(kSettingsFileName));
}

void LoadSettings(AppState& state, const QString& appDir, const QString& settingsFile) {
    state.SettingsFilePath = settingsFile;
    QString app = QDir::cleanPath(appDir);
    if (!app.endsWith('/')) app += '/';
    state.ViewerSettings = ondavia::LoadSettings(PathOf(settingsFile), app.toStdString());
}

}  // namespace ondavia::gui
