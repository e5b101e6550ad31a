// The chart report: its options window TFrmDtgAnalyP_A and its page
// TFrmDtgAnalyP_A1, the graph of the open file over a chosen time window on
// one landscape A4 page.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "common/datetime.hpp"
#include "output/reportoptions.hpp"
#include "output/reportpage.hpp"
#include "viewer/chartseries.hpp"

class QCustomPlot;
class QLabel;

namespace ondavia::gui {

class StackedChart;

// The page: a header band with the title, the car number and the printed
// span, and the chart drawn by the shared chart component in its report
// configuration. Never shown as a window; it paints onto any device.
class TFrmDtgAnalyP_A1 : public QObject, public ReportPage {
    Q_OBJECT
  public:
    explicit TFrmDtgAnalyP_A1(QObject* parent = nullptr);
    ~TFrmDtgAnalyP_A1() override;

    // Puts every point of the series on the chart, shows [min, max] and sets
    // the header texts.
    void Fill(const ChartSeries& series, const QString& carNo, DateTime min, DateTime max,
              bool hundredths, bool rpmVisible);

    QString TitleName() const { return QLblTitleName; }
    QString CarNoText() const { return QLblCarNo; }
    QString PrintTimeText() const { return QLblPrintTime; }
    // The chart of the page (laid out at the chart box's size).
    StackedChart& Chart() const { return *QRChartGraph; }

    void PaintPage(QCPPainter& painter, double dotsPerMm) override;
    QString DocumentName() const override;

  private:
    void Rebuild(bool hundredths, bool rpmVisible);

    QString QLblTitleName, QLblCarNo, QLblPrintTime;
    std::unique_ptr<QCustomPlot> plot_;
    StackedChart* QRChartGraph = nullptr;
    bool hundredths_ = false;
};

// The options window "챠트 출력". ShowChartReport is what the main window's
// "Chart" button, its chart popup "챠트 출력(&P)" and the detailed graph's
// print button call with their chart's visible span.
class TFrmDtgAnalyP_A : public ReportOptionsWindow {
    Q_OBJECT
  public:
    TFrmDtgAnalyP_A(AppState& state, TFrmDtgAnalyP_A1& report, QWidget* parent);

    // The chart values of the open file and the main window's car number.
    std::function<const ChartSeries&()> Series;
    std::function<QString()> CarNo;

    // Remembers the span and shows the window modally until it is closed.
    void ShowChartReport(DateTime min, DateTime max);
    // What each showing puts in the window: the car number and the span.
    void FormShow();
    DateTime ChartReportMin() const { return min_; }
    DateTime ChartReportMax() const { return max_; }
    // Sets the span without showing (what ShowChartReport does first).
    void SetSpan(DateTime min, DateTime max);

  protected:
    void PrepareReport() override;
    ReportPage& Page() override { return report_; }
    QString SuggestedPdfName() const override;
    void showEvent(QShowEvent* event) override;

  private:
    TFrmDtgAnalyP_A1& report_;
    QLabel *LblCarNo, *LblStartTime, *LblEndTime;
    DateTime min_ = 0, max_ = 0;
};

}  // namespace ondavia::gui
