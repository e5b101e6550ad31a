// The detailed graph window ("정밀 분석"): four minutes of a 1-second file, or
// two seconds of a 0.01-second file, around the time the user pointed at in
// the main chart, on the same chart component with the detail description.
// Six picture buttons and a scroll bar move the span; a hint label follows
// the mouse. Created once at start-up, shown modally, hidden between uses.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "app/appstate.hpp"
#include "common/datetime.hpp"
#include "viewer/chartseries.hpp"
#include "viewer/detailspan.hpp"

class QLabel;
class QScrollBar;
class QStatusBar;
class QToolButton;

namespace ondavia::gui {

class ChartView;

class TFrmDTG_Detail : public QDialog {
    Q_OBJECT
  public:
    // Reads the shown file's chart series on every show; it is not copied.
    using SeriesSource = std::function<const ChartSeries&()>;

    TFrmDTG_Detail(AppState& state, SeriesSource series, QWidget* parent = nullptr);
    ~TFrmDTG_Detail() override;

    // The main chart's first and last times and the pointed time; the next
    // show starts from them. A show without them takes ChartStartTime,
    // ChartEndTime and PointerTime from the shared state.
    void SetTimes(DateTime start, DateTime end, DateTime centre);
    // SetTimes, then the modal show; returns when the window is closed.
    int ShowFor(DateTime start, DateTime end, DateTime centre);

    // The chart report over a span. The print button works only while this
    // is set, so it never opens an empty report.
    std::function<void(DateTime, DateTime)> ShowChartReport;

    DateTime StartTime() const { return start_; }
    DateTime EndTime() const { return end_; }
    // The pointed time: set before a show, then moved by the mouse.
    DateTime CentreTime() const { return centre_; }
    int WindowLength() const { return windowLength_; }
    DateTime SpanMin() const;
    DateTime SpanMax() const;

    // Handlers, public so that tests can drive them as a person would.
    void FillDetailChart();
    void Navigate(DetailNav button);
    void ScrBarChartChange();
    void ChartGraphMouseMove(int x, int y);
    void SBtnChartPrintClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildToolRow(QWidget* row);
    void SetSpan(DetailSpan span);
    // The window's own keys, seen before any of its controls; true when taken.
    bool PreviewKey(QEvent* event);

    AppState& state_;
    SeriesSource series_;
    DateTime start_ = 0;
    DateTime end_ = 0;
    DateTime centre_ = 0;
    bool timesGiven_ = false;
    int windowLength_ = 0;
    bool keyPreview_ = false;

    std::array<QToolButton*, 6> navButtons_{};
    QScrollBar* ScrBarChart;
    QToolButton* SBtnChartPrint;
    QWidget* PanelChart;
    ChartView* ChartGraph;
    QLabel* LblChartHint;
    QStatusBar* StatusBarViewer;
    std::array<QLabel*, 3> statusPanels_{};
};

}  // namespace ondavia::gui
