// The stacked-band chart drawn on any QCustomPlot: the window's chart, the
// detailed graph and the printed chart report. What it shows comes from a
// ChartDescription; its values come from the ChartSeries of the loaded file.
#pragma once

#include <QFont>
#include <QObject>
#include <QPointF>
#include <QRect>

#include <vector>

#include "common/datetime.hpp"
#include "viewer/chartseries.hpp"
#include "views/chartdescription.hpp"

class QCustomPlot;
class QCPAxis;
class QCPGraph;
class QCPPainter;
class QCPTextElement;

namespace ondavia::gui {

class BandRect;
class ColumnBars;
class PlotAreaRect;

class StackedChart : public QObject {
    Q_OBJECT
  public:
    // The seven series, in the order the chart draws them.
    enum class Series { Speed, Rpm, Engine, Brake, Distance, Gx, Gy };

    // Builds the bands and series on `plot`, which must be empty; the chart
    // becomes a child of the plot.
    StackedChart(QCustomPlot* plot, ChartDescription description);
    ~StackedChart() override;

    const ChartDescription& Description() const { return description_; }
    QCustomPlot* Plot() const { return plot_; }

    // Puts the series on the chart (copied into the plot's own data).
    void SetSeries(const ChartSeries& series);
    void Clear();

    void SetTimeAxisVisible(bool visible);
    bool TimeAxisVisible() const;

    // The visible span; a single instant shows half a second either side.
    void SetSpan(DateTime min, DateTime max);
    DateTime SpanMin() const { return spanMin_; }
    DateTime SpanMax() const { return spanMax_; }

    // Bottom-axis time at a plot x pixel, and the plot x of a time.
    DateTime TimeAtPixel(double x) const;
    double PixelAtTime(DateTime t) const;

    void SetRpmVisible(bool visible);
    bool RpmVisible() const;

    // Fonts follow `font`: tick labels and titles in it, the chart title bold
    // and a point larger.
    void ApplyFont(const QFont& font);
    // Black on white, or greyed out while no file is shown.
    void ApplyLook(bool enabled);

    // The plot area (all bands) and the band of one series, in plot coordinates.
    QRect PlotArea() const;
    QRect SeriesArea(Series series) const;

    int PointCount(Series series) const;
    QPointF PointAt(Series series, int index) const;
    // The colour a speed bar is drawn in is the fast colour.
    bool SpeedBarRedAt(int index) const;

    // Draws the chart into `target` of any painter (printer, PDF, image) as
    // vector output. The chart is laid out at the plot's own size in logical
    // pixels and scaled into the target, fonts included, so the page looks
    // like the chart at that size whatever the device's resolution.
    void Paint(QCPPainter* painter, const QRectF& target);

    void Replot();

  private:
    void Build();
    void CheckTickSpacing();
    QCPAxis* TimeAxis() const;
    BandRect* BandOf(Series series) const;
    void ApplyKeyRange();

    QCustomPlot* plot_;
    ChartDescription description_;
    QFont font_;
    bool enabled_ = true;
    QCPTextElement* title_ = nullptr;
    PlotAreaRect* area_ = nullptr;
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
