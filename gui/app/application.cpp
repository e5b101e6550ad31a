#include "application.hpp"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QLibraryInfo>
#include <QToolButton>
#include <QTranslator>

#include "output/chartreport.hpp"
#include "output/printclass.hpp"
#include "output/screenreport.hpp"
#include "search/recordsearchwindow.hpp"
#include "setupwindow.hpp"
#include "viewer/mainwindow.hpp"
#include "views/detailwindow.hpp"
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

QLocale ProgramLocale(const QString& posixLocaleName) {
    // "ko_KR.UTF-8@euro" -> "ko_KR"
    QString name = posixLocaleName.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX") ||
        name == QLatin1String("en"))
        return QLocale(QLocale::Korean, QLocale::SouthKorea);
    QLocale locale(name);
    return locale.language() == QLocale::C ? QLocale(QLocale::Korean, QLocale::SouthKorea) : locale;
}

QString SystemMessagesLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) return value;
    }
    return QString();
}

bool InstallQtTranslations(QApplication& app, const QLocale& locale) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

void SetUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Ondavia"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ondavia"));
    InstallQtTranslations(app, ProgramLocale(SystemMessagesLocaleName()));
    InstallFontSubstitutes();
}

Application::Application(const QString& appDir, const QString& settingsFile,
                         const QString& userSettingsFile) {
    // The main window first: its creation loads the settings.
    printClass_ = std::make_unique<TPRINT_CLASS>();
    state_.PrintClass = printClass_.get();
    LoadSettings(state_, appDir, settingsFile, userSettingsFile);
    main_ = std::make_unique<TFrmOndavia>(state_);
    FrmDTG_Detail = new TFrmDTG_Detail(
        state_, [this]() -> const ChartSeries& { return main_->chartSeries(); }, main_.get());
    FrmRecordSearch = new TFrmRecordSearch(main_.get());
    // Each report's page before its options window, which paints it.
    FrmDtgAnalyP_A1 = new TFrmDtgAnalyP_A1(main_.get());
    FrmDtgAnalyP_A = new TFrmDtgAnalyP_A(state_, *FrmDtgAnalyP_A1, main_.get());
    FrmDtgAnalyP_B1 = new TFrmDtgAnalyP_B1(main_.get());
    FrmDtgAnalyP_B = new TFrmDtgAnalyP_B(state_, *FrmDtgAnalyP_B1, main_.get());
    FrmDtgAnalyP_A->Series = [this]() -> const ChartSeries& { return main_->chartSeries(); };
    FrmDtgAnalyP_A->CarNo = [this] { return main_->CarNoText(); };
    FrmDtgAnalyP_B->CarNo = [this] { return main_->CarNoText(); };
    auto chartReport = [this](DateTime min, DateTime max) {
        FrmDtgAnalyP_A->ShowChartReport(min, max);
    };
    FrmDTG_Detail->ShowChartReport = chartReport;
    main_->SetChartReportCommand(chartReport);
    main_->SetDetailCommand([this] {
        FrmDTG_Detail->ShowFor(state_.ChartStartTime, state_.ChartEndTime, state_.PointerTime);
    });
    // The picture is taken as the window is now, before the options open.
    main_->SetScreenReportCommand([this] {
        FrmDtgAnalyP_B->PrintWindowImage(state_.CurrentFilePath,
                                         CaptureMainWindow(main_.get(), main_->ToolbarBottom()));
    });
    FrmRecordSearch->Rows = [this]() -> const GridRows& { return main_->recording().rows; };
    FrmRecordSearch->FocusRecord = [this](int record) { main_->FocusRecord(record); };
    main_->SearchWindow = FrmRecordSearch;
    // The settings window exists only while it is open.
    main_->SetSetupCommand([this] {
        SBtnSetupClick(
            main_.get(), state_, [this] { main_->Map()->ShowRouteOnMap(); },
            [this](const QString& name) { main_->SetStatus(0, name); });
    });
}

Application::~Application() = default;

void Application::Show() {
    main_->show();
    main_->Map()->FormShow();  // page choice; a remote page is probed and opened
    main_->LayoutMainWindow();
    main_->Map()->StartLoadTimer();
}

}  // namespace ondavia::gui
