// Start-up in order: shared objects, the seven windows, the settings, the
// first layout. Owned by main() for the whole run.
#pragma once

#include <QString>
#include <memory>

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

class Application {
  public:
    // appDir: the program's folder; settingsFile: the ONDAVIA.INI to use.
    Application(const QString& appDir, const QString& settingsFile);
    ~Application();

    AppState& state() { return state_; }
    TFrmOndavia* FrmOndavia() const { return main_.get(); }
    TFrmRecordSearch* RecordSearch() const { return FrmRecordSearch; }
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
