#include "output/chartreport.hpp"

#include <qcustomplot.h>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

#include <cmath>

#include "output/reporttext.hpp"
#include "views/chartdescription.hpp"
#include "views/stackedchart.hpp"

namespace ondavia::gui {

namespace {

// The page in millimetres from the paper's corner: margins 20 above and 15
// left, the header band 18.5 high, the chart box below it.
constexpr double kLeft = 15, kTop = 20;
constexpr double kBandWidth = 267.2, kBandHeight = 18.5;
constexpr double kChartLeft = kLeft + 0.3, kChartTop = kTop + kBandHeight + 1.3;
constexpr double kChartWidth = 266.7, kChartHeight = 153.7;

QString Utf8(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TFrmDtgAnalyP_A1::TFrmDtgAnalyP_A1(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("FrmDtgAnalyP_A1"));
    Rebuild(false, true);
}

TFrmDtgAnalyP_A1::~TFrmDtgAnalyP_A1() = default;

void TFrmDtgAnalyP_A1::Rebuild(bool hundredths, bool rpmVisible) {
    // The time labels' form belongs to the chart's description: a file of
    // the other kind gets a chart of its own.
    plot_ = std::make_unique<QCustomPlot>();
    plot_->setObjectName(QStringLiteral("QRChartGraph"));
    // Laid out at the chart box's size in the screen's logical pixels, so
    // that fonts and lines come out on paper at their own sizes.
    plot_->resize(static_cast<int>(std::lround(kChartWidth / 25.4 * plot_->logicalDpiX())),
                  static_cast<int>(std::lround(kChartHeight / 25.4 * plot_->logicalDpiY())));
    QRChartGraph = new StackedChart(plot_.get(), ReportChartDescription(hundredths, rpmVisible));
    QRChartGraph->ApplyFont(ReportFont(10));
    hundredths_ = hundredths;
}

void TFrmDtgAnalyP_A1::Fill(const ChartSeries& series, const QString& carNo, DateTime min,
                            DateTime max, bool hundredths, bool rpmVisible) {
    if (hundredths != hundredths_) Rebuild(hundredths, rpmVisible);
    QRChartGraph->SetRpmVisible(rpmVisible);
    QLblTitleName = Utf8(ReportTitle(hundredths));
    QLblCarNo = QStringLiteral("차량번호 : ") + carNo;
    QLblPrintTime = QStringLiteral("출력시간 : ") + Utf8(ReportTimeText(min, hundredths)) +
                    QStringLiteral(" ~ ") + Utf8(ReportTimeText(max, hundredths));
    QRChartGraph->SetSeries(series);
    QRChartGraph->SetSpan(min, max);
}

QString TFrmDtgAnalyP_A1::DocumentName() const { return QLblTitleName; }

void TFrmDtgAnalyP_A1::PaintPage(QCPPainter& painter, double dotsPerMm) {
    DrawReportTitle(painter, dotsPerMm, kLeft, kTop + 0.8, kBandWidth, QLblTitleName,
                    ReportFont(16, true));
    const QFont label = ReportFont(10, true);
    // The car number runs up to where the span's box begins.
    DrawReportText(painter, dotsPerMm, kLeft + 4.5, kTop + 13.2, 141.3 - 4.5, QLblCarNo, label,
                   Qt::AlignLeft);
    DrawReportText(painter, dotsPerMm, kLeft + 141.3, kTop + 13.2, 122, QLblPrintTime, label,
                   Qt::AlignRight);
    const QRectF box(kChartLeft * dotsPerMm, kChartTop * dotsPerMm, kChartWidth * dotsPerMm,
                     kChartHeight * dotsPerMm);
    QRChartGraph->Paint(&painter, box);
}

TFrmDtgAnalyP_A::TFrmDtgAnalyP_A(AppState& state, TFrmDtgAnalyP_A1& report, QWidget* parent)
    : ReportOptionsWindow(QStringLiteral("챠트 출력"), state, parent), report_(report) {
    setObjectName(QStringLiteral("FrmDtgAnalyP_A"));
    QGridLayout* grid = RangeLayout();
    QWidget* group = RangeGroup();
    LblCarNo = ValueLabel(QStringLiteral("LblCarNo"), group);
    LblStartTime = ValueLabel(QStringLiteral("LblStartTime"), group);
    LblEndTime = ValueLabel(QStringLiteral("LblEndTime"), group);
    grid->addWidget(new QLabel(QStringLiteral("차량번호"), group), 0, 0);
    grid->addWidget(LblCarNo, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("출력시간"), group), 1, 0);
    grid->addWidget(LblStartTime, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("~"), group), 1, 2);
    grid->addWidget(LblEndTime, 1, 3);
}

void TFrmDtgAnalyP_A::SetSpan(DateTime min, DateTime max) {
    min_ = min;
    max_ = max;
}

void TFrmDtgAnalyP_A::ShowChartReport(DateTime min, DateTime max) {
    SetSpan(min, max);
    exec();
}

void TFrmDtgAnalyP_A::showEvent(QShowEvent* event) {
    FormShow();
    ReportOptionsWindow::showEvent(event);
}

void TFrmDtgAnalyP_A::FormShow() {
    LblCarNo->setText(CarNo ? CarNo() : QString());
    LblStartTime->setText(QString::fromStdString(ReportTimeText(min_, state_.HundredthsData)));
    LblEndTime->setText(QString::fromStdString(ReportTimeText(max_, state_.HundredthsData)));
}

void TFrmDtgAnalyP_A::PrepareReport() {
    static const ChartSeries kNone;
    report_.Fill(Series ? Series() : kNone, LblCarNo->text(), min_, max_, state_.HundredthsData,
                 state_.ViewerSettings.RPMVisible);
}

QString TFrmDtgAnalyP_A::SuggestedPdfName() const {
    const QFileInfo file(state_.LoadedFilePath);
    const QString base =
        file.completeBaseName().isEmpty() ? QStringLiteral("chart") : file.completeBaseName();
    return file.dir().filePath(base + QStringLiteral("-chart.pdf"));
}

}  // namespace ondavia::gui
