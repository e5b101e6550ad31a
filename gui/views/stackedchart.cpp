#include "views/stackedchart.hpp"

#include <QFontMetrics>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace ondavia::gui {

namespace {

constexpr double kUnixEpochDay = 25569.0;  // 1970-01-01 as a day count
constexpr double kSecondsPerDay = 86400.0;

// A band's top and bottom as fractions of the plot height.
struct BandPlace {
    double top, bottom;
};

const QColor kBandLine(96, 96, 96);
const QColor kGrid(200, 200, 200);
const QColor kDisabledText(150, 150, 150);
const QColor kDisabledBackground(240, 240, 240);

constexpr int kTitleGap = 4;  // between tick labels and an axis title
constexpr int kOuterPad = 4;  // between an axis title and the widget edge

// Axis numbers: thousands separated by ",", up to three decimals, no
// trailing zeros ("1,250", "-1.5", "0").
QString FormatAxisNumber(double v) {
    double r = std::round(v * 1000.0) / 1000.0;
    if (r == 0) r = 0;  // no "-0"
    QString digits = QString::number(std::fabs(r), 'f', 3);
    while (digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    if (digits.endsWith(QLatin1Char('.'))) digits.chop(1);
    int point = digits.indexOf(QLatin1Char('.'));
    int intEnd = point < 0 ? static_cast<int>(digits.size()) : point;
    for (int i = intEnd - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return r < 0 ? QLatin1Char('-') + digits : digits;
}

}  // namespace

// Ticks of a value axis at a fixed step; when the band is too short for a
// label at every step the step is widened to a multiple of it.
class BandTicker : public QCPAxisTicker {
  public:
    BandTicker(QCPAxis* axis, double step) : axis_(axis), step_(step) {}

    // The band height the last ticks were made for, and the one now laid out.
    int UsedLength() const { return usedLength_; }
    int CurrentLength() const { return axis_->axisRect() ? axis_->axisRect()->height() : 0; }

  protected:
    double getTickStep(const QCPRange& range) override {
        usedLength_ = CurrentLength();
        if (usedLength_ <= 0 || range.size() <= 0) return step_;
        const double minGap = QFontMetrics(axis_->tickLabelFont()).ascent() + 2;
        for (int k : {1, 2, 5, 10, 20, 50, 100}) {
            if (step_ * k / range.size() * usedLength_ >= minGap) return step_ * k;
        }
        return step_ * 100;
    }
    int getSubTickCount(double) override { return 0; }
    QString getTickLabel(double tick, const QLocale&, QChar, int) override {
        return FormatAxisNumber(tick);
    }

  private:
    QCPAxis* axis_;
    double step_;
    int usedLength_ = -1;
};

// Time-of-day labels "hh:nn:ss.zz" at a readable step, at least 50 pixels
// (and a label width) apart, with four minor ticks between labels.
class TimeOfDayTicker : public QCPAxisTicker {
  public:
    TimeOfDayTicker(QCPAxis* axis, std::string format) : axis_(axis), format_(std::move(format)) {}

    int UsedLength() const { return usedLength_; }
    int CurrentLength() const { return axis_->axisRect() ? axis_->axisRect()->width() : 0; }

  protected:
    double getTickStep(const QCPRange& range) override {
        static constexpr double kSteps[] = {
            0.01, 0.02, 0.05, 0.1, 0.2,  0.5,  1,    2,    5,     10,    15,    20,    30,   60,
            120,  300,  600,  900, 1200, 1800, 3600, 7200, 10800, 14400, 21600, 43200, 86400};
        usedLength_ = CurrentLength();
        const double length = usedLength_ > 0 ? usedLength_ : 1000;
        const QFontMetrics fm(axis_->tickLabelFont());
        const double minGap =
            std::max(50, fm.horizontalAdvance(QStringLiteral("00:00:00.00")) + 12);
        const double secondsPerPixel = range.size() / length;
        for (double step : kSteps) {
            if (step >= minGap * secondsPerPixel) return step;
        }
        return std::ceil(minGap * secondsPerPixel / kSecondsPerDay) * kSecondsPerDay;
    }
    int getSubTickCount(double) override { return 4; }
    QString getTickLabel(double tick, const QLocale&, QChar, int) override {
        return QString::fromStdString(FormatDateTime(format_, DateTimeFromChartKey(tick)));
    }

  private:
    QCPAxis* axis_;
    std::string format_;
    int usedLength_ = -1;
};

// One value band of the plot. Its margins stay zero so its inner rectangle is
// exactly its share of the plot area; the plot area reserves the room its
// axes need (NeededMargin) and draws its titles.
class BandRect : public QCPAxisRect {
  public:
    struct Title {
        QString text;
        bool vertical = false;  // read top to bottom
        QColor colour;          // invalid: the axis label colour
    };

    BandRect(QCustomPlot* plot, BandPlace place) : QCPAxisRect(plot, true), place_(place) {
        setAutoMargins(QCP::msLeft | QCP::msRight);
        setMinimumMargins(QMargins());
        setMargins(QMargins());
        setMinimumSize(0, 0);
        setRangeDrag(Qt::Orientations());
        setRangeZoom(Qt::Orientations());
    }

    BandPlace Place() const { return place_; }
    int NeededMargin(QCP::MarginSide side) { return QCPAxisRect::calculateAutoMargin(side); }

    Title leftTitle, rightTitle;
    std::vector<QSharedPointer<BandTicker>> tickers;

  protected:
    int calculateAutoMargin(QCP::MarginSide) override { return 0; }

  private:
    BandPlace place_;
};

// The whole plot area: holds the bands as insets, the time axis at the
// bottom and a label-less copy at the top; its side margins fit the widest
// band axis and title on each side.
class PlotAreaRect : public QCPAxisRect {
  public:
    explicit PlotAreaRect(QCustomPlot* plot) : QCPAxisRect(plot, true) {
        setRangeDrag(Qt::Orientations());
        setRangeZoom(Qt::Orientations());
    }

    std::vector<BandRect*> bands;
    QSharedPointer<TimeOfDayTicker> timeTicker;

    void update(UpdatePhase phase) override {
        QCPAxisRect::update(phase);
        if (phase != upLayout) return;
        // The inset layout truncates each band's top and height on its own;
        // rounding both edges keeps every band within half a pixel of its share.
        const QRect r = rect();
        for (BandRect* band : bands) {
            const int top = r.top() + static_cast<int>(std::lround(r.height() * band->Place().top));
            const int bottom =
                r.top() + static_cast<int>(std::lround(r.height() * band->Place().bottom));
            band->setOuterRect(QRect(r.left(), top, r.width(), bottom - top));
        }
    }

  protected:
    int calculateAutoMargin(QCP::MarginSide side) override {
        if (side != QCP::msLeft && side != QCP::msRight)
            return QCPAxisRect::calculateAutoMargin(side);
        int margin = 0;
        for (BandRect* band : bands) {
            const BandRect::Title& title = side == QCP::msLeft ? band->leftTitle : band->rightTitle;
            int needed = band->NeededMargin(side);
            const int extent = TitleExtent(band, side, title);
            if (extent > 0) needed += kTitleGap + extent;
            margin = std::max(margin, needed);
        }
        return margin + kOuterPad;
    }

    void draw(QCPPainter* painter) override {
        QCPAxisRect::draw(painter);
        for (BandRect* band : bands) {
            DrawTitle(painter, band, QCP::msLeft, band->leftTitle);
            DrawTitle(painter, band, QCP::msRight, band->rightTitle);
        }
    }

  private:
    static QCPAxis* SideAxis(BandRect* band, QCP::MarginSide side) {
        return band->axis(side == QCP::msLeft ? QCPAxis::atLeft : QCPAxis::atRight);
    }

    static int TitleExtent(BandRect* band, QCP::MarginSide side, const BandRect::Title& title) {
        QCPAxis* axis = SideAxis(band, side);
        if (title.text.isEmpty() || !axis || !axis->visible()) return 0;
        QFontMetrics fm(axis->labelFont());
        return title.vertical ? fm.height() : fm.horizontalAdvance(title.text);
    }

    void DrawTitle(QCPPainter* painter, BandRect* band, QCP::MarginSide side,
                   const BandRect::Title& title) {
        const int extent = TitleExtent(band, side, title);
        if (extent <= 0) return;
        QCPAxis* axis = SideAxis(band, side);
        const QRect r = band->rect();
        const int offset = band->NeededMargin(side) + kTitleGap;
        const int x = side == QCP::msLeft ? r.left() - offset - extent : r.right() + 1 + offset;
        const QRect box(x, r.top(), extent, r.height());
        painter->save();
        painter->setFont(axis->labelFont());
        painter->setPen(title.colour.isValid() ? title.colour : axis->labelColor());
        if (title.vertical) {
            painter->translate(QRectF(box).center());
            painter->rotate(90);
            const QFontMetrics fm(axis->labelFont());
            const int length = std::max(r.height(), fm.horizontalAdvance(title.text));
            painter->drawText(QRectF(-length / 2.0, -extent / 2.0, length, extent), Qt::AlignCenter,
                              title.text);
        } else {
            painter->drawText(
                box, Qt::AlignVCenter | (side == QCP::msLeft ? Qt::AlignRight : Qt::AlignLeft),
                title.text);
        }
        painter->restore();
    }
};

// Bars from zero, drawn as at most one bar per pixel column: each column
// shows the highest value that falls on it, in the high colour when that
// value reaches the threshold. With few records on screen a bar covers 80%
// of the record spacing.
class ColumnBars : public QCPAbstractPlottable {
  public:
    ColumnBars(QCPAxis* keyAxis, QCPAxis* valueAxis) : QCPAbstractPlottable(keyAxis, valueAxis) {
        setAntialiased(false);
        setAntialiasedFill(false);
        setPen(Qt::NoPen);
    }

    void SetColours(const QColor& normal, const QColor& high, double threshold) {
        normal_ = normal;
        high_ = high;
        threshold_ = threshold;
    }
    // keys ascending; spacing is the record spacing in key units.
    void SetData(const std::vector<double>& keys, const std::vector<double>& values,
                 double spacing) {
        keys_ = keys;
        values_ = values;
        spacing_ = spacing;
    }
    void Clear() {
        keys_.clear();
        values_.clear();
    }
    int Size() const { return static_cast<int>(keys_.size()); }
    double Key(int i) const { return keys_[static_cast<size_t>(i)]; }
    double Value(int i) const { return values_[static_cast<size_t>(i)]; }
    bool IsHigh(int i) const { return values_[static_cast<size_t>(i)] >= threshold_; }

    double selectTest(const QPointF&, bool, QVariant*) const override { return -1; }
    QCPRange getKeyRange(bool& foundRange, QCP::SignDomain) const override {
        foundRange = !keys_.empty();
        return foundRange ? QCPRange(keys_.front(), keys_.back()) : QCPRange();
    }
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain, const QCPRange&) const override {
        foundRange = !values_.empty();
        if (!foundRange) return QCPRange();
        return QCPRange(0, std::max(0.0, *std::max_element(values_.begin(), values_.end())));
    }

  protected:
    void draw(QCPPainter* painter) override {
        QCPAxis* keyAxis = mKeyAxis.data();
        QCPAxis* valueAxis = mValueAxis.data();
        if (!keyAxis || !valueAxis || keys_.empty()) return;
        const QRect area = keyAxis->axisRect()->rect();
        const int width = area.width();
        const QCPRange range = keyAxis->range();
        if (width <= 0 || range.size() <= 0) return;

        const double pixelsPerKey = width / range.size();
        const double half = std::max(0.5, spacing_ * pixelsPerKey * 0.4);
        const double halfKeys = half / pixelsPerKey;
        auto first = std::lower_bound(keys_.begin(), keys_.end(), range.lower - halfKeys);
        auto last = std::upper_bound(first, keys_.end(), range.upper + halfKeys);

        constexpr float kEmpty = -std::numeric_limits<float>::infinity();
        columns_.assign(static_cast<size_t>(width), kEmpty);
        for (auto it = first; it != last; ++it) {
            const double x = (*it - range.lower) * pixelsPerKey;
            long c0 = std::lround(x - half);
            long c1 = std::max(c0 + 1, std::lround(x + half));
            if (*it >= range.lower && *it <= range.upper) {
                // A record inside the span always shows; the span's upper end
                // maps one pixel past the area, onto the last column.
                c0 = std::clamp(c0, 0L, static_cast<long>(width) - 1);
                c1 = std::clamp(c1, c0 + 1, static_cast<long>(width));
            } else {
                // Outside it, only the part of a wide bar that reaches in.
                c0 = std::max(c0, 0L);
                c1 = std::min(c1, static_cast<long>(width));
                if (c0 >= c1) continue;
            }
            const float v = static_cast<float>(values_[static_cast<size_t>(it - keys_.begin())]);
            for (long c = c0; c < c1; ++c)
                if (v > columns_[static_cast<size_t>(c)]) columns_[static_cast<size_t>(c)] = v;
        }

        const double base = valueAxis->coordToPixel(0);
        painter->setPen(Qt::NoPen);
        for (int c = 0; c < width;) {
            const float v = columns_[static_cast<size_t>(c)];
            int run = 1;
            while (c + run < width && columns_[static_cast<size_t>(c + run)] == v)
                ++run;
            if (v > 0) {
                const double top = valueAxis->coordToPixel(v);
                painter->fillRect(QRectF(area.left() + c, top, run, base - top),
                                  v >= threshold_ ? high_ : normal_);
            }
            c += run;
        }
    }

    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override {
        painter->fillRect(rect, normal_);
    }

  private:
    std::vector<double> keys_, values_;
    double spacing_ = 1;
    QColor normal_ = Qt::blue, high_ = Qt::blue;
    double threshold_ = std::numeric_limits<double>::infinity();
    std::vector<float> columns_;
};

namespace {

QColor Or(const QColor& c, const QColor& fallback) { return c.isValid() ? c : fallback; }

}  // namespace

StackedChart::StackedChart(QCustomPlot* plot, ChartDescription description)
    : QObject(plot), plot_(plot), description_(std::move(description)), font_(plot->font()) {
    Build();
    ApplyFont(font_);
    ApplyLook(true);
    SetSpan(0, 1);  // one whole day until a file is shown
}

StackedChart::~StackedChart() = default;

void StackedChart::Build() {
    plot_->setPlottingHint(QCP::phFastPolylines, true);
    QCPLayoutGrid* grid = plot_->plotLayout();
    grid->clear();  // the default axis rect and legend
    grid->setAutoMargins(QCP::msNone);
    grid->setMargins(QMargins(0, 5, 0, 5));
    grid->setRowSpacing(0);

    int row = 0;
    if (!description_.title.isEmpty()) {
        title_ = new QCPTextElement(plot_, description_.title);
        grid->addElement(row++, 0, title_);
    }
    area_ = new PlotAreaRect(plot_);
    grid->addElement(row, 0, area_);
    area_->setLayer(QStringLiteral("background"));
    area_->setBackground(Qt::white);

    QCPAxis* bottom = area_->axis(QCPAxis::atBottom);
    QCPAxis* top = area_->axis(QCPAxis::atTop);
    area_->timeTicker.reset(new TimeOfDayTicker(bottom, description_.timeFormat.toStdString()));
    for (QCPAxis* axis : {bottom, top}) {
        axis->setVisible(true);
        axis->setTicker(area_->timeTicker);
        axis->setSubTicks(true);
        axis->setTickLength(0, 4);
        axis->setSubTickLength(0, 2);
        axis->grid()->setSubGridVisible(false);
        axis->grid()->setZeroLinePen(Qt::NoPen);
    }
    bottom->grid()->setVisible(true);
    bottom->grid()->setPen(QPen(kGrid, 0, Qt::DotLine));
    top->grid()->setVisible(false);
    top->setTickLabels(false);
    top->setVisible(description_.topTimeAxis);
    for (QCPAxis* axis : {area_->axis(QCPAxis::atLeft), area_->axis(QCPAxis::atRight)}) {
        axis->setVisible(false);
        axis->grid()->setVisible(false);
    }

    auto valueAxis = [](BandRect* band, QCPAxis::AxisType type, const ChartAxisLook& look) {
        QCPAxis* axis = band->axis(type);
        axis->setVisible(true);
        axis->setRange(look.lower, look.upper);
        QSharedPointer<BandTicker> ticker(new BandTicker(axis, look.step));
        axis->setTicker(ticker);
        band->tickers.push_back(ticker);
        axis->setSubTicks(false);
        axis->setTickLength(0, 3);
        axis->setPadding(2);
        axis->setTickLabelPadding(3);
        axis->grid()->setVisible(type == QCPAxis::atLeft);
        axis->grid()->setPen(QPen(kGrid, 0, Qt::DotLine));
        axis->grid()->setZeroLinePen(QPen(kGrid, 0, Qt::SolidLine));
        BandRect::Title& title = type == QCPAxis::atLeft ? band->leftTitle : band->rightTitle;
        title = {look.title, look.verticalTitle, look.titleColour};
    };
    for (const ChartBandLook& look : description_.bands) {
        const BandPlace place{look.top, look.bottom};
        auto* band = new BandRect(plot_, place);
        area_->insetLayout()->addElement(band, QRectF(0, place.top, 1, place.bottom - place.top));
        band->setLayer(QStringLiteral("background"));
        band->setBackground(Qt::NoBrush);
        QCPAxis* key = band->axis(QCPAxis::atBottom);
        key->grid()->setVisible(false);
        key->setTicks(false);
        key->setTickLabels(false);
        key->setVisible(look.bandLine);  // the colour line under the band
        key->setBasePen(QPen(kBandLine, 2));
        band->axis(QCPAxis::atTop)->setVisible(false);
        band->axis(QCPAxis::atTop)->grid()->setVisible(false);
        band->axis(QCPAxis::atRight)->setVisible(false);
        band->axis(QCPAxis::atRight)->grid()->setVisible(false);
        if (look.left.shown) valueAxis(band, QCPAxis::atLeft, look.left);
        if (look.right.shown) valueAxis(band, QCPAxis::atRight, look.right);
        area_->bands.push_back(band);
        bands_.push_back(band);
    }

    auto line = [this](ChartBand b, QCPAxis::AxisType valueSide, const char* name,
                       const QColor& colour) {
        BandRect* band = bands_[static_cast<size_t>(b)];
        QCPGraph* g = plot_->addGraph(band->axis(QCPAxis::atBottom), band->axis(valueSide));
        g->setName(QString::fromLatin1(name));
        g->setPen(QPen(colour, 1));
        g->setAdaptiveSampling(true);
        g->setAntialiased(false);
        return g;
    };
    const ChartDescription& d = description_;
    BandRect* speedBand = bands_[static_cast<size_t>(ChartBand::Speed)];
    BandRect* engineBand = bands_[static_cast<size_t>(ChartBand::Engine)];
    speed_ = new ColumnBars(speedBand->axis(QCPAxis::atBottom), speedBand->axis(QCPAxis::atLeft));
    speed_->setName(QStringLiteral("Speed"));
    speed_->SetColours(d.speedColour, Or(d.fastSpeedColour, d.speedColour), d.fastSpeed);
    rpm_ = line(ChartBand::Speed, QCPAxis::atRight, "RPM", d.rpmColour);
    rpm_->setVisible(d.rpmVisible);
    engine_ = line(ChartBand::Engine, QCPAxis::atLeft, "Engine", d.engineColour);
    engine_->setLineStyle(QCPGraph::lsStepLeft);
    brake_ =
        new ColumnBars(engineBand->axis(QCPAxis::atBottom), engineBand->axis(QCPAxis::atRight));
    brake_->setName(QStringLiteral("Brake"));
    brake_->SetColours(d.brakeColour, d.brakeColour, 0);
    distance_ = line(ChartBand::Distance, QCPAxis::atLeft, "Distance", d.distanceColour);
    gx_ = line(ChartBand::G, QCPAxis::atLeft, "Gx", d.gxColour);
    gy_ = line(ChartBand::G, QCPAxis::atRight, "Gy", d.gyColour);

    connect(plot_, &QCustomPlot::afterReplot, this, &StackedChart::CheckTickSpacing);
}

QCPAxis* StackedChart::TimeAxis() const { return area_->axis(QCPAxis::atBottom); }

void StackedChart::Replot() { plot_->replot(QCustomPlot::rpQueuedReplot); }

void StackedChart::ApplyFont(const QFont& font) {
    font_ = font;
    for (QCPAxisRect* rect : plot_->axisRects()) {
        for (QCPAxis* axis : rect->axes()) {
            axis->setTickLabelFont(font);
            axis->setLabelFont(font);
        }
    }
    if (title_) {
        QFont titleFont = font;
        titleFont.setBold(true);
        if (titleFont.pointSizeF() > 0)
            titleFont.setPointSizeF(titleFont.pointSizeF() + 1);
        else if (titleFont.pixelSize() > 0)
            titleFont.setPixelSize(titleFont.pixelSize() + 1);
        title_->setFont(titleFont);
    }
    Replot();
}

void StackedChart::ApplyLook(bool enabled) {
    enabled_ = enabled;
    const QColor text = enabled ? QColor(Qt::black) : kDisabledText;
    plot_->setBackground(enabled ? QBrush(Qt::white) : QBrush(kDisabledBackground));
    area_->setBackground(enabled ? QBrush(Qt::white) : QBrush(kDisabledBackground));
    for (QCPAxisRect* rect : plot_->axisRects()) {
        for (QCPAxis* axis : rect->axes()) {
            axis->setTickLabelColor(text);
            axis->setLabelColor(text);
            axis->setTickPen(QPen(text, 0));
            axis->setSubTickPen(QPen(text, 0));
            const bool bandLine = rect != area_ && axis->axisType() == QCPAxis::atBottom;
            axis->setBasePen(bandLine ? QPen(enabled ? kBandLine : kDisabledText, 2)
                                      : QPen(text, 0));
        }
    }
    if (title_) title_->setTextColor(text);
    Replot();
}

void StackedChart::SetSeries(const ChartSeries& s) {
    const double spacing = s.Spacing();
    speed_->SetData(s.keys, s.speed, spacing);
    brake_->SetData(s.keys, s.brake, spacing);
    auto put = [&](QCPGraph* g, const std::vector<double>& values) {
        QVector<QCPGraphData> data(static_cast<qsizetype>(s.keys.size()));
        for (size_t i = 0; i < s.keys.size(); ++i)
            data[static_cast<qsizetype>(i)] = QCPGraphData(s.keys[i], values[i]);
        g->data()->set(data, true);
    };
    put(rpm_, s.rpm);
    put(engine_, s.engine);
    put(distance_, s.distance);
    put(gx_, s.gx);
    put(gy_, s.gy);
    Replot();
}

void StackedChart::Clear() {
    speed_->Clear();
    brake_->Clear();
    for (QCPGraph* g : {rpm_, engine_, distance_, gx_, gy_})
        g->data()->clear();
    Replot();
}

void StackedChart::SetTimeAxisVisible(bool visible) {
    TimeAxis()->setVisible(visible);
    TimeAxis()->grid()->setVisible(visible);
    Replot();
}

bool StackedChart::TimeAxisVisible() const { return TimeAxis()->visible(); }

void StackedChart::SetSpan(DateTime min, DateTime max) {
    spanMin_ = min;
    spanMax_ = max;
    ApplyKeyRange();
    Replot();
}

void StackedChart::ApplyKeyRange() {
    double lower = ChartKeyFromDateTime(spanMin_);
    double upper = ChartKeyFromDateTime(spanMax_);
    if (!(upper > lower)) {
        // A single instant (a one-record file): half a second either side.
        const double centre = lower;
        lower = centre - 0.5;
        upper = centre + 0.5;
    }
    const QCPRange range(lower, upper);
    area_->axis(QCPAxis::atBottom)->setRange(range);
    area_->axis(QCPAxis::atTop)->setRange(range);
    for (BandRect* band : bands_)
        band->axis(QCPAxis::atBottom)->setRange(range);
}

DateTime StackedChart::TimeAtPixel(double x) const {
    return DateTimeFromChartKey(TimeAxis()->pixelToCoord(x));
}

double StackedChart::PixelAtTime(DateTime t) const {
    return TimeAxis()->coordToPixel(ChartKeyFromDateTime(t));
}

void StackedChart::SetRpmVisible(bool visible) {
    rpm_->setVisible(visible);
    Replot();
}

bool StackedChart::RpmVisible() const { return rpm_->visible(); }

QRect StackedChart::PlotArea() const { return area_->rect(); }

BandRect* StackedChart::BandOf(Series series) const {
    ChartBand b = ChartBand::G;
    switch (series) {
        case Series::Speed:
        case Series::Rpm:
            b = ChartBand::Speed;
            break;
        case Series::Engine:
        case Series::Brake:
            b = ChartBand::Engine;
            break;
        case Series::Distance:
            b = ChartBand::Distance;
            break;
        case Series::Gx:
        case Series::Gy:
            b = ChartBand::G;
            break;
    }
    return bands_[static_cast<size_t>(b)];
}

QRect StackedChart::SeriesArea(Series series) const { return BandOf(series)->rect(); }

int StackedChart::PointCount(Series series) const {
    switch (series) {
        case Series::Speed:
            return speed_->Size();
        case Series::Brake:
            return brake_->Size();
        case Series::Rpm:
            return rpm_->dataCount();
        case Series::Engine:
            return engine_->dataCount();
        case Series::Distance:
            return distance_->dataCount();
        case Series::Gx:
            return gx_->dataCount();
        case Series::Gy:
            return gy_->dataCount();
    }
    return 0;
}

QPointF StackedChart::PointAt(Series series, int index) const {
    if (series == Series::Speed) return {speed_->Key(index), speed_->Value(index)};
    if (series == Series::Brake) return {brake_->Key(index), brake_->Value(index)};
    QCPGraph* g = series == Series::Rpm        ? rpm_
                  : series == Series::Engine   ? engine_
                  : series == Series::Distance ? distance_
                  : series == Series::Gx       ? gx_
                                               : gy_;
    auto it = g->data()->at(index);
    return {it->key, it->value};
}

bool StackedChart::SpeedBarRedAt(int index) const { return speed_->IsHigh(index); }

// The tick steps depend on the band sizes of the previous layout; after a
// size change one more replot makes them fit the new sizes.
void StackedChart::CheckTickSpacing() {
    bool stale = false;
    if ((TimeAxis()->visible() || area_->axis(QCPAxis::atTop)->visible()) &&
        area_->timeTicker->UsedLength() != area_->timeTicker->CurrentLength())
        stale = true;
    for (BandRect* band : bands_) {
        for (const auto& ticker : band->tickers)
            if (ticker->UsedLength() != ticker->CurrentLength()) stale = true;
    }
    if (stale) Replot();
}

void StackedChart::Paint(QCPPainter* painter, const QRectF& target) {
    // Point sizes would be resolved at the device's resolution while the
    // layout is measured at the screen's: pixel sizes keep text in scale.
    const QFont saved = font_;
    QFont pixelFont = font_;
    if (pixelFont.pointSizeF() > 0)
        pixelFont.setPixelSize(std::max(
            1,
            static_cast<int>(std::lround(pixelFont.pointSizeF() * plot_->logicalDpiY() / 72.0))));
    ApplyFont(pixelFont);
    // Twice: tick steps follow the band sizes of the layout before.
    plot_->replot(QCustomPlot::rpImmediateRefresh);
    plot_->replot(QCustomPlot::rpImmediateRefresh);
    painter->save();
    painter->translate(target.topLeft());
    painter->scale(target.width() / std::max(1, plot_->width()),
                   target.height() / std::max(1, plot_->height()));
    plot_->toPainter(painter, plot_->width(), plot_->height());
    painter->restore();
    ApplyFont(saved);
}

}  // namespace ondavia::gui
