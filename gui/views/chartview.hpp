// A chart on screen: a StackedChart in a widget, with the cross cursor and
// the mouse signals the windows build their pointer hint and menus on. The
// main window shows the main description; the detailed graph its own.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QWidget>

#include "common/datetime.hpp"
#include "data/record.hpp"
#include "views/chartdescription.hpp"
#include "views/stackedchart.hpp"

class QCustomPlot;

namespace ondavia::gui {

class ChartView : public QWidget {
    Q_OBJECT
  public:
    using Series = StackedChart::Series;

    explicit ChartView(QWidget* parent = nullptr);
    ChartView(ChartDescription description, QWidget* parent);
    ~ChartView() override;

    // Puts the series on the chart, shows the bottom axis and sets the span
    // to the first and last plotted times.
    void SetSeries(const ChartSeries& series);
    // The same from a table, for callers that have no series yet.
    void Fill(const TDTG_CLASS& table, bool hundredths);
    // Empties the seven series and hides the bottom axis.
    void ClearChart();
    void SetBottomAxisVisible(bool visible);
    bool BottomAxisVisible() const;

    // The visible span (bottom axis range); a replot follows.
    void SetSpan(DateTime min, DateTime max);
    DateTime SpanMin() const { return chart_->SpanMin(); }
    DateTime SpanMax() const { return chart_->SpanMax(); }

    // Bottom-axis time at a widget x pixel, and the widget x of a time.
    DateTime TimeAtX(int x) const;
    double XAtTime(DateTime t) const;

    void SetRpmVisible(bool visible);
    bool RpmVisible() const;

    QCustomPlot* Plot() const { return plot_; }
    StackedChart* Chart() const { return chart_; }

    // The plot area (all bands) and the band of one series, in widget coordinates.
    QRect PlotArea() const;
    QRect SeriesArea(Series series) const;

    int PointCount(Series series) const { return chart_->PointCount(series); }
    QPointF PointAt(Series series, int index) const { return chart_->PointAt(series, index); }
    bool SpeedBarRedAt(int index) const { return chart_->SpeedBarRedAt(index); }

    // Chart keys are seconds since 1970-01-01 of the recorded (local) time.
    static double KeyFromDateTime(DateTime t) { return ChartKeyFromDateTime(t); }
    static DateTime DateTimeFromKey(double key) { return DateTimeFromChartKey(key); }

  signals:
    void MouseMoved(int x, int y);  // widget coordinates
    void MouseEntered();
    void MouseLeft();
    void DoubleClicked(int x, int y);
    void ContextMenuRequested(const QPoint& globalPos);

  protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QCustomPlot* plot_;
    StackedChart* chart_;
};

}  // namespace ondavia::gui
