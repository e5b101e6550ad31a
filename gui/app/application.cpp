#include "application.hpp"

#include <QApplication>
#include <QFont>
#include <QLabel>

#include "output/chartreport.hpp"
#include "output/printclass.hpp"
#include "output/screenreport.hpp"
#include "search/recordsearchwindow.hpp"
#include "shells.hpp"
#include "viewer/mainwindow.hpp"
#include "views/mapview.hpp"

namespace ondavia::gui {

void InstallFontSubstitutes() {
    // Fixed-pitch faces for 굴림체/돋움체, the proportional one for their
    // proportional cousins.
    QFont::insertSubstitutions(QStringLiteral("굴림체"), {QStringLiteral("NanumGothicCoding"),
                                                          QStringLiteral("NanumGothic")});
    QFont::insertSubstitutions(QStringLiteral("돋움체"), {QStringLiteral("NanumGothicCoding"),
                                                          QStringLiteral("NanumGothic")});
    QFont::insertSubstitutions(QStringLiteral("굴림"), {QStringLiteral("NanumGothic")});
    QFont::insertSubstitutions(QStringLiteral("돋움"), {QStringLiteral("NanumGothic")});
    QFont font(QStringLiteral("굴림체"));
    font.setPointSize(9);
    QApplication::setFont(font);
}

Application::Application(const QString& appDir, const QString& settingsFile) {
    // The main window first: its creation loads the settings.
    printClass_ = std::make_unique<TPRINT_CLASS>();
    state_.PrintClass = printClass_.get();
    LoadSettings(state_, appDir, settingsFile);
    main_ = std::make_unique<TFrmOndavia>(state_);
    FrmDTG_Detail = new TFrmDTG_Detail(main_.get());
    FrmRecordSearch = new TFrmRecordSearch(main_.get());
    // Each report's page before its options window, which paints it.
    FrmDtgAnalyP_A1 = new TFrmDtgAnalyP_A1(main_.get());
    FrmDtgAnalyP_A = new TFrmDtgAnalyP_A(state_, *FrmDtgAnalyP_A1, main_.get());
    FrmDtgAnalyP_B1 = new TFrmDtgAnalyP_B1(main_.get());
    FrmDtgAnalyP_B = new TFrmDtgAnalyP_B(state_, *FrmDtgAnalyP_B1, main_.get());
    FrmDtgAnalyP_A->Series = [this]() -> const ChartSeries& { return main_->chartSeries(); };
    FrmDtgAnalyP_A->CarNo = [this] { return main_->LblCarNo->text(); };
    FrmDtgAnalyP_B->CarNo = [this] { return main_->LblCarNo->text(); };
    FrmRecordSearch->Rows = [this]() -> const std::vector<GridRow>& {
        return main_->recording().rows;
    };
    FrmRecordSearch->FocusRecord = [this](int record) { main_->FocusRecord(record); };
    main_->SearchWindow = FrmRecordSearch;
    main_->DetailWindow = FrmDTG_Detail;
    main_->ReportWindow = FrmDtgAnalyP_A;
}

Application::~Application() = default;

void Application::Show() {
    main_->show();
    main_->Map->FormShow();  // page choice; a remote page is probed and opened
    main_->LayoutMainWindow();
    main_->Map->StartLoadTimer();
}

}  // namespace ondavia::gui
