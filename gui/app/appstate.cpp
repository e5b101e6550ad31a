#include "appstate.hpp"

#include <QDir>

#include "services.hpp"

namespace ondavia::gui {

namespace {
std::filesystem::path PathOf(const QString& s) { return std::filesystem::path(s.toStdString()); }

// Runs one core writer on the files in use, follows a move to the per-user
// copy, and tells the user about a failure.
template <typename Writer>
bool WriteSetting(AppState& state, Writer write) {
    SettingsFiles files{PathOf(state.SettingsFilePath), PathOf(state.UserSettingsFilePath)};
    SettingsWriteResult r = write(files);
    state.SettingsFilePath = QString::fromStdString(files.current.string());
    if (!r.ok && state.ReportSettingsErrors) {
        ShowError(nullptr, QStringLiteral("설정 파일에 저장할 수 없습니다.\n%1\n(%2)")
                               .arg(QString::fromStdString(r.file.string()),
                                    QString::fromStdString(r.reason)));
    }
    return r.ok;
}
}  // namespace

bool AppState::WriteString(const char* section, const char* key, const QString& value) {
    return WriteSetting(*this, [&](SettingsFiles& files) {
        return WriteSettingString(files, section, key, value.toStdString());
    });
}

bool AppState::WriteBool(const char* section, const char* key, bool value) {
    return WriteSetting(
        *this, [&](SettingsFiles& files) { return WriteSettingBool(files, section, key, value); });
}

bool AppState::WriteInteger(const char* section, const char* key, int value) {
    return WriteSetting(*this, [&](SettingsFiles& files) {
        return WriteSettingInteger(files, section, key, value);
    });
}

SettingsLocation ResolveSettingsFile(const QString& appDir, const QString& userConfigDir) {
    const QString name = QString::fromLatin1(kSettingsFileName);
    SettingsFiles files = ChooseSettingsFiles(PathOf(QDir(appDir).filePath(name)),
                                              PathOf(QDir(userConfigDir).filePath(name)));
    return {QString::fromStdString(files.current.string()),
            QString::fromStdString(files.userCopy.string())};
}

void LoadSettings(AppState& state, const QString& appDir, const QString& settingsFile,
                  const QString& userSettingsFile) {
    state.SettingsFilePath = settingsFile;
    state.UserSettingsFilePath = userSettingsFile;
    QString app = QDir::cleanPath(appDir);
    if (!app.endsWith('/')) app += '/';
    state.ViewerSettings = ondavia::LoadSettings(PathOf(settingsFile), app.toStdString());
}

}  // namespace ondavia::gui
