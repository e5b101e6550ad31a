// The main chart: speed bars and RPM, engine and brake, distance and the two
// G values, each on its own band of the plot, over a time-of-day axis.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QWidget>

#include <vector>

#include "common/datetime.hpp"
#include "data/record.hpp"

class QCustomPlot;
class QCPAxis;
class QCPGraph;
class QCPTextElement;

namespace ondavia::gui {

class ColumnBars;
class PlotAreaRect;
class BandRect;
class BandTicker;
class TimeOfDayTicker;

class ChartView : public QWidget {
    Q_OBJECT
  public:
    // The seven series, in the order the chart draws them.
    enum class Series { Speed, Rpm, Engine, Brake, Distance, Gx, Gy };

    explicit ChartView(QWidget* parent = nullptr);
    ~ChartView() override;

    // Puts every record of the sorted table on the seven series. A record
    // whose date-time text cannot be read is left off. Shows the bottom axis
    // and sets the span to the first and last plotted times.
    void Fill(const TDTG_CLASS& table, bool hundredths);
    // Empties the seven series and hides the bottom axis.
    void ClearChart();
    void SetBottomAxisVisible(bool visible);
    bool BottomAxisVisible() const;

    // The visible span (bottom axis range); a replot follows.
    void SetSpan(DateTime min, DateTime max);
    DateTime SpanMin() const { return spanMin_; }
    DateTime SpanMax() const { return spanMax_; }

    // Bottom-axis time at a widget x pixel, and the widget x of a time.
    DateTime TimeAtX(int x) const;
    double XAtTime(DateTime t) const;

    // The RPM line on or off.
    void SetRpmVisible(bool visible);
    bool RpmVisible() const;

    QCustomPlot* Plot() const { return plot_; }

    // The plot area (all bands) and the band of one series, in widget coordinates.
    QRect PlotArea() const;
    QRect SeriesArea(Series series) const;

    // Series contents as plotted: x is the key in seconds (see KeyFromDateTime).
    int PointCount(Series series) const;
    QPointF PointAt(Series series, int index) const;
    // The colour a speed bar is drawn in (red from 100 km/h).
    bool SpeedBarRedAt(int index) const;

    // Chart keys are seconds since 1970-01-01 of the recorded (local) time.
    static double KeyFromDateTime(DateTime t);
    static DateTime DateTimeFromKey(double key);

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
    void BuildPlot();
    void ApplyFonts();
    void ApplyLook();
    void ApplyKeyRange();
    void CheckTickSpacing();
    QCPAxis* TimeAxis() const;

    QCustomPlot* plot_ = nullptr;
    QCPTextElement* title_ = nullptr;
    PlotAreaRect* area_ = nullptr;
    BandRect* speedBand_ = nullptr;
    BandRect* engineBand_ = nullptr;
    BandRect* distanceBand_ = nullptr;
    BandRect* gBand_ = nullptr;
    std::vector<BandRect*> bands_;

    ColumnBars* speed_ = nullptr;
    QCPGraph* rpm_ = nullptr;
    QCPGraph* engine_ = nullptr;
    ColumnBars* brake_ = nullptr;
    QCPGraph* distance_ = nullptr;
    QCPGraph* gx_ = nullptr;
    QCPGraph* gy_ = nullptr;

    DateTime spanMin_ = 0;
    DateTime spanMax_ = 0;
};

}  // namespace ondavia::gui
