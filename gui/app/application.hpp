// Start-up in order: shared objects, the seven windows, the settings, the
// first layout. Owned by main() for the whole run.
#pragma once

#include <QLocale>
#include <QString>
#include <memory>

class QApplication;

#include "appstate.hpp"

namespace ondavia::gui {

class TFrmOndavia;
class TPRINT_CLASS;
class TFrmDTG_Detail;
class TFrmRecordSearch;
class TFrmDtgAnalyP_A;
class TFrmDtgAnalyP_A1;
class TFrmDtgAnalyP_B;
class TFrmDtgAnalyP_B1;

// Korean faces the windows name fall back to the installed Korean fonts.
void InstallFontSubstitutes();

// The locale of Qt's own buttons and dialogs for a POSIX locale name
// ("ko_KR.UTF-8"): the system's, but Korean when the system names none (C,
// POSIX, empty) or English without a country.
QLocale ProgramLocale(const QString& posixLocaleName);
// The POSIX locale name messages follow: LC_ALL, LC_MESSAGES, then LANG.
QString SystemMessagesLocaleName();
// Installs Qt's own translations (standard buttons, dialogs) for locale.
// False when none are installed for it.
bool InstallQtTranslations(QApplication& app, const QLocale& locale);
// Process-wide set-up once the application object exists: names, Qt's own
// translations for the system's locale, the font substitutes.
void SetUpApplication(QApplication& app);

class Application {
  public:
    // appDir: the program's folder; settingsFile: the ONDAVIA.INI to use;
    // userSettingsFile: the per-user copy that takes over when settingsFile
    // cannot be written (empty for none).
    Application(const QString& appDir, const QString& settingsFile,
                const QString& userSettingsFile = QString());
    ~Application();

    AppState& state() { return state_; }
    TFrmOndavia* FrmOndavia() const { return main_.get(); }
    TFrmRecordSearch* RecordSearch() const { return FrmRecordSearch; }
    TFrmDTG_Detail* DetailGraph() const { return FrmDTG_Detail; }
    TFrmDtgAnalyP_A* ChartReport() const { return FrmDtgAnalyP_A; }
    TFrmDtgAnalyP_B* ScreenReport() const { return FrmDtgAnalyP_B; }
    // FormShow: lays the main window out and fills the file list.
    void Show();

  private:
    AppState state_;
    // Created before the windows and freed after them.
    std::unique_ptr<TPRINT_CLASS> printClass_;
    std::unique_ptr<TFrmOndavia> main_;
    TFrmDTG_Detail* FrmDTG_Detail = nullptr;
    TFrmRecordSearch* FrmRecordSearch = nullptr;
    TFrmDtgAnalyP_A* FrmDtgAnalyP_A = nullptr;
    TFrmDtgAnalyP_A1* FrmDtgAnalyP_A1 = nullptr;
    TFrmDtgAnalyP_B* FrmDtgAnalyP_B = nullptr;
    TFrmDtgAnalyP_B1* FrmDtgAnalyP_B1 = nullptr;
};

}  // namespace ondavia::gui
