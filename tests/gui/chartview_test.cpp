#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

#include <qcustomplot.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "data/recording.hpp"
#include "support/builders.hpp"
#include "support/synthetic.hpp"
#include "viewer/chartzoom.hpp"
#include "views/chartview.hpp"
#include "views/stackedchart.hpp"

using ondavia::DateTime;
using ondavia::TDTG_CLASS;
using ondavia::TDTG_RECORD;
using ondavia::gui::ChartView;
using Series = ChartView::Series;

namespace {

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return ondavia::ComposeDateTime(*ondavia::EncodeDate(y, mo, d),
                                    ((h * 60LL + mi) * 60 + s) * 1000 + ms);
}

// A table record as the loader makes it, from "yy-mm-dd hh:nn:ss[.zz0]".
TDTG_RECORD Rec(const std::string& dateTime, int speed = 50) {
    TDTG_RECORD r;
    r.InfoDateTime.Assign(dateTime);
    r.InfoTime.Assign(std::string_view(dateTime).substr(9, dateTime.size() > 17 ? 11 : 8));
    r.Speed = static_cast<std::uint16_t>(speed);
    r.RPM = static_cast<std::uint16_t>(speed * 20);
    r.Engine = 1.0;
    return r;
}

// One record a second over a whole day, with speed(second) giving the speed.
template <typename SpeedOf>
TDTG_CLASS FullDay(SpeedOf speedOf) {
    TDTG_CLASS t;
    t.Reserve(86'400);
    for (int s = 0; s < 86'400; ++s) {
        TDTG_RECORD r =
            Rec("26-12-10 " + ondavia::FormatDateTime("hh:nn:ss", At(2026, 12, 10) + s / 86400.0),
                speedOf(s));
        t.Add(r);
    }
    return t;
}

void ShowSized(ChartView& view) {
    view.resize(1000, 450);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
}

QImage Render(ChartView& view) {
    // Twice: tick steps follow the band sizes of the layout before.
    view.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    view.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixel row of a speed value in the speed band.
int SpeedY(const ChartView& view, double speed) {
    const QRect band = view.SeriesArea(Series::Speed);
    return static_cast<int>(std::lround(band.top() + band.height() * (1.0 - speed / 150.0)));
}

bool IsColour(const QImage& img, int x, int y, QColor c) { return img.pixelColor(x, y) == c; }

}  // namespace

class ChartViewTest : public QObject {
    Q_OBJECT
  private slots:
    void fillPutsTheRecordsOnTheSevenSeries();
    void fillLeavesOffUnreadableTimesAndOrdersByTime();
    void hundredthsKeysAreHundredthsApart();
    void bandsSitAtTheirShareOfThePlot_data();
    void bandsSitAtTheirShareOfThePlot();
    void spanAndPixelMapping_data();
    void spanAndPixelMapping();
    void rpmLineToggles();
    void clearChartEmptiesSeriesAndHidesTheTimeAxis();
    void mouseSignalsUseWidgetCoordinates();
    void fastColumnKeepsRedAndHeight_data();
    void fastColumnKeepsRedAndHeight();
    void barsJustPastTheSpanStayOff();
    void disabledLooksGreyedOut();
    void fontsFollowTheWidgetAndTheApplication();
    void layoutSettlesWithoutRepeatedReplots();
    void fullDayPicture();
    void oneComponentDrawsEveryDescription_data();
    void oneComponentDrawsEveryDescription();
};

void ChartViewTest::fillPutsTheRecordsOnTheSevenSeries() {
    using ondavia::test::MakeHeader;
    using ondavia::test::MakeRecord;
    ondavia::test::RecordFields a, b, c;
    a.time = "100000";
    a.speed = "099";
    a.km = "0027";
    a.brake = "0";
    a.gx = "+19.61";  // about 2 g: drawn at 1.5
    a.gy = "-19.61";  // no lower limit
    b.time = "100001";
    b.speed = "100";
    b.km = "0045";
    b.brake = "1";
    b.gx = "+04.90";
    b.gy = "+00.00";
    c.time = "100003";  // 10:00:02 becomes a gap record
    c.speed = "120";
    c.km = "0060";
    c.brake = "2";
    const std::string file =
        ondavia::test::TextFile(MakeHeader(), {MakeRecord(a), MakeRecord(b), MakeRecord(c)});
    ondavia::LoadOptions options;
    options.upperName = "CHART.TXT";
    options.pivotYear = ondavia::CurrentYear();
    ondavia::Recording rec;
    QVERIFY(ondavia::LoadRecordingBytes(file, options, rec).ok());
    QCOMPARE(rec.table.Count(), 4);

    ChartView view;
    view.Fill(rec.table, false);

    struct Expected {
        double speed, rpm, engine, brake, distance;
        bool red;
    } expected[] = {
        {99, 1500, 1.0, 0.0, 13, false},
        {100, 1500, 1.0, 0.8, 5, true},
        {0, 0, 0.2, 0.0, 20, false},  // gap record: Km of the next line (60 -> 20)
        {120, 1500, 1.0, 1.6, 20, true},
    };
    const double first = ChartView::KeyFromDateTime(At(2026, 12, 10, 10, 0, 0));
    for (Series s : {Series::Speed, Series::Rpm, Series::Engine, Series::Brake, Series::Distance,
                     Series::Gx, Series::Gy})
        QCOMPARE(view.PointCount(s), 4);
    for (int i = 0; i < 4; ++i) {
        const Expected& e = expected[i];
        QVERIFY(std::fabs(view.PointAt(Series::Speed, i).x() - (first + i)) < 1e-3);
        QCOMPARE(view.PointAt(Series::Rpm, i).x(), view.PointAt(Series::Speed, i).x());
        QCOMPARE(view.PointAt(Series::Speed, i).y(), e.speed);
        QCOMPARE(view.SpeedBarRedAt(i), e.red);
        QCOMPARE(view.PointAt(Series::Rpm, i).y(), e.rpm);
        QCOMPARE(view.PointAt(Series::Engine, i).y(), e.engine);
        QVERIFY(std::fabs(view.PointAt(Series::Brake, i).y() - e.brake) < 1e-12);
        QCOMPARE(view.PointAt(Series::Distance, i).y(), e.distance);
    }
    QVERIFY(rec.table.Item(0).Gx > 1.5);
    QCOMPARE(view.PointAt(Series::Gx, 0).y(), 1.5);
    QVERIFY(rec.table.Item(0).Gy < -1.5);
    QCOMPARE(view.PointAt(Series::Gy, 0).y(), rec.table.Item(0).Gy);
    QCOMPARE(view.PointAt(Series::Gx, 1).y(), rec.table.Item(1).Gx);

    QVERIFY(view.BottomAxisVisible());
    QCOMPARE(view.SpanMin(), At(2026, 12, 10, 10, 0, 0));
    QCOMPARE(view.SpanMax(), At(2026, 12, 10, 10, 0, 3));
}

void ChartViewTest::fillLeavesOffUnreadableTimesAndOrdersByTime() {
    TDTG_CLASS t;
    // Across midnight: the table's time-of-day order puts the new day first.
    t.Add(Rec("26-12-10 23:59:58", 10));
    t.Add(Rec("26-12-10 23:59:59", 20));
    t.Add(Rec("26-13-11 00:00:00", 30));  // month 13: left off the chart
    t.Add(Rec("26-12-11 00:00:01", 40));
    t.Sort();
    QCOMPARE(QString::fromStdString(t.Item(0).InfoTime.Str()), QStringLiteral("00:00:00"));

    ChartView view;
    view.Fill(t, false);
    QCOMPARE(view.PointCount(Series::Speed), 3);
    QCOMPARE(view.PointCount(Series::Gy), 3);
    const double speeds[] = {10, 20, 40};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(view.PointAt(Series::Speed, i).y(), speeds[i]);
    for (int i = 1; i < 3; ++i)
        QVERIFY(view.PointAt(Series::Speed, i).x() > view.PointAt(Series::Speed, i - 1).x());
    QCOMPARE(view.SpanMin(), At(2026, 12, 10, 23, 59, 58));
    QCOMPARE(view.SpanMax(), At(2026, 12, 11, 0, 0, 1));
}

void ChartViewTest::hundredthsKeysAreHundredthsApart() {
    TDTG_CLASS t;
    t.Add(Rec("26-12-10 10:00:04.500"));
    t.Add(Rec("26-12-10 10:00:04.510"));
    t.Add(Rec("26-12-10 10:00:04.520"));
    ChartView view;
    view.Fill(t, true);
    QCOMPARE(view.PointCount(Series::Speed), 3);
    for (int i = 1; i < 3; ++i)
        QVERIFY(std::fabs(view.PointAt(Series::Speed, i).x() -
                          view.PointAt(Series::Speed, i - 1).x() - 0.01) < 1e-4);
    QCOMPARE(view.SpanMax(), At(2026, 12, 10, 10, 0, 4, 520));
}

void ChartViewTest::bandsSitAtTheirShareOfThePlot_data() {
    QTest::addColumn<int>("series");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("bottom");
    QTest::newRow("speed") << int(Series::Speed) << 0.0 << 0.60;
    QTest::newRow("rpm") << int(Series::Rpm) << 0.0 << 0.60;
    QTest::newRow("engine") << int(Series::Engine) << 0.63 << 0.69;
    QTest::newRow("brake") << int(Series::Brake) << 0.63 << 0.69;
    QTest::newRow("distance") << int(Series::Distance) << 0.72 << 0.81;
    QTest::newRow("gx") << int(Series::Gx) << 0.85 << 1.0;
    QTest::newRow("gy") << int(Series::Gy) << 0.85 << 1.0;
}

void ChartViewTest::bandsSitAtTheirShareOfThePlot() {
    QFETCH(int, series);
    QFETCH(double, top);
    QFETCH(double, bottom);
    ChartView view;
    ShowSized(view);
    Render(view);
    const QRect plot = view.PlotArea();
    const QRect band = view.SeriesArea(static_cast<Series>(series));
    QVERIFY(plot.height() > 250);
    QVERIFY(std::abs(band.top() - (plot.top() + top * plot.height())) <= 1.0);
    QVERIFY(std::abs(band.top() + band.height() - (plot.top() + bottom * plot.height())) <= 1.0);
    QCOMPARE(band.left(), plot.left());
    QCOMPARE(band.width(), plot.width());
    // Room on both sides for the axes and at the top for the title.
    QVERIFY(plot.left() > 40);
    QVERIFY(view.width() - plot.right() > 40);
    QVERIFY(plot.top() > 15);
}

void ChartViewTest::spanAndPixelMapping_data() {
    QTest::addColumn<double>("fraction");  // of the plot width
    QTest::newRow("left edge") << 0.0;
    QTest::newRow("quarter") << 0.25;
    QTest::newRow("middle") << 0.5;
    QTest::newRow("right edge") << 1.0;
}

void ChartViewTest::spanAndPixelMapping() {
    QFETCH(double, fraction);
    ChartView view;
    ShowSized(view);
    const DateTime min = At(2026, 12, 10, 10, 0, 0);
    const DateTime max = ondavia::AddSeconds(360, min);
    view.SetSpan(min, max);
    QCOMPARE(view.SpanMin(), min);
    QCOMPARE(view.SpanMax(), max);
    Render(view);

    const QRect plot = view.PlotArea();
    const int x = plot.left() + static_cast<int>(std::lround(fraction * plot.width()));
    const DateTime t = view.TimeAtX(x);
    const double expectedSeconds = 360.0 * (x - plot.left()) / plot.width();
    QVERIFY(std::fabs(ondavia::MillisecondsBetween(min, t) / 1000.0 - expectedSeconds) < 0.002);
    QVERIFY(std::fabs(view.XAtTime(t) - x) < 1e-3);
    // The pointer rule on top of it: whole seconds, inside the span.
    ondavia::PointerInfo p = ondavia::PointerAt(false, t, ondavia::CurrentYear());
    QVERIFY(p.pointerTime >= min && p.pointerTime <= max);
    QCOMPARE(ondavia::SecondsBetween(min, p.pointerTime), static_cast<int>(expectedSeconds + 1e-6));
}

void ChartViewTest::rpmLineToggles() {
    // Speed 50 and RPM 1000 everywhere: the red RPM line crosses the blue bars.
    TDTG_CLASS t = FullDay([](int) { return 50; });
    ChartView view;
    ShowSized(view);
    view.Fill(t, false);
    QVERIFY(view.RpmVisible());
    const QRect band = view.SeriesArea(Series::Rpm);
    const int x = band.left() + band.width() / 2;
    const int y =
        static_cast<int>(std::lround(band.top() + band.height() * (1.0 - 1000.0 / 3750.0)));
    auto redAtRpm = [&](const QImage& img) {
        for (int dy = -1; dy <= 1; ++dy)
            if (IsColour(img, x, y + dy, Qt::red)) return true;
        return false;
    };
    QVERIFY(redAtRpm(Render(view)));
    view.SetRpmVisible(false);
    QVERIFY(!view.RpmVisible());
    const QImage hidden = Render(view);
    QVERIFY(!redAtRpm(hidden));
    QVERIFY(IsColour(hidden, x, y, Qt::blue));
    view.SetRpmVisible(true);
    QVERIFY(view.RpmVisible());
    QVERIFY(redAtRpm(Render(view)));
    QCOMPARE(view.PointCount(Series::Rpm), 86'400);
}

void ChartViewTest::clearChartEmptiesSeriesAndHidesTheTimeAxis() {
    TDTG_CLASS t;
    t.Add(Rec("26-12-10 10:00:00"));
    t.Add(Rec("26-12-10 10:00:01"));
    ChartView view;
    view.Fill(t, false);
    QVERIFY(view.BottomAxisVisible());
    view.ClearChart();
    QVERIFY(!view.BottomAxisVisible());
    for (Series s : {Series::Speed, Series::Rpm, Series::Engine, Series::Brake, Series::Distance,
                     Series::Gx, Series::Gy})
        QCOMPARE(view.PointCount(s), 0);
    view.SetBottomAxisVisible(true);
    QVERIFY(view.BottomAxisVisible());
    view.Fill(t, false);
    QCOMPARE(view.PointCount(Series::Speed), 2);
}

void ChartViewTest::mouseSignalsUseWidgetCoordinates() {
    ChartView view;
    ShowSized(view);
    QSignalSpy moved(&view, &ChartView::MouseMoved);
    QSignalSpy entered(&view, &ChartView::MouseEntered);
    QSignalSpy left(&view, &ChartView::MouseLeft);
    QSignalSpy doubled(&view, &ChartView::DoubleClicked);
    QSignalSpy menu(&view, &ChartView::ContextMenuRequested);
    QWidget* plot = view.Plot();
    const QPoint at(321, 123);
    const QPoint inView = plot->mapTo(&view, at);

    QEnterEvent enter(at, plot->mapToGlobal(at), plot->mapToGlobal(at));
    QCoreApplication::sendEvent(plot, &enter);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(plot->mapToGlobal(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &move);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(at), QPointF(plot->mapToGlobal(at)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &dbl);
    QContextMenuEvent ctx(QContextMenuEvent::Mouse, at, plot->mapToGlobal(at));
    QCoreApplication::sendEvent(plot, &ctx);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(plot, &leave);

    QCOMPARE(entered.count(), 1);
    QCOMPARE(left.count(), 1);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toInt(), inView.x());
    QCOMPARE(moved.at(0).at(1).toInt(), inView.y());
    QCOMPARE(doubled.count(), 1);
    QCOMPARE(doubled.at(0).at(0).toInt(), inView.x());
    QCOMPARE(menu.count(), 1);
    QCOMPARE(menu.at(0).at(0).toPoint(), plot->mapToGlobal(at));
    QCOMPARE(plot->cursor().shape(), Qt::CrossCursor);
    QVERIFY(view.Plot()->interactions() == QCP::Interactions());
}

void ChartViewTest::fastColumnKeepsRedAndHeight_data() {
    QTest::addColumn<int>("second");  // of the day, where one fast record sits
    QTest::addColumn<int>("fast");
    QTest::addColumn<int>("others");
    QTest::newRow("100 among 50") << 43'200 << 100 << 50;
    QTest::newRow("140 among 99") << 30'001 << 140 << 99;
    QTest::newRow("first record") << 0 << 120 << 40;
    QTest::newRow("last record") << 86'399 << 120 << 40;
}

// A full day has about 90 records per pixel column: the column holding the
// one fast record must still reach its height, in red.
void ChartViewTest::fastColumnKeepsRedAndHeight() {
    QFETCH(int, second);
    QFETCH(int, fast);
    QFETCH(int, others);
    TDTG_CLASS t = FullDay([&](int s) { return s == second ? fast : others; });
    ChartView view;
    ShowSized(view);
    view.Fill(t, false);
    view.SetRpmVisible(false);  // only the bars
    const QImage img = Render(view);

    const DateTime when = At(2026, 12, 10) + second / 86400.0;
    const int x = static_cast<int>(std::lround(view.XAtTime(when)));
    const QRect band = view.SeriesArea(Series::Speed);
    const int yFast = SpeedY(view, (fast + others) / 2.0);  // above the others
    bool red = false;
    for (int dx = -1; dx <= 1; ++dx) {
        const int xx = std::clamp(x + dx, band.left(), band.right());
        red = red || (IsColour(img, xx, yFast, Qt::red) &&
                      IsColour(img, xx, SpeedY(view, others) + 2, Qt::red));
    }
    QVERIFY2(red, "the fast record's column is not red");
    // Elsewhere the bars are blue up to the others' height and empty above.
    const int xBlue = second < 43'200 ? band.right() - 10 : band.left() + 10;
    QVERIFY(IsColour(img, xBlue, SpeedY(view, others) + 3, Qt::blue));
    QVERIFY(!IsColour(img, xBlue, yFast, Qt::blue));
    QVERIFY(!IsColour(img, xBlue, yFast, Qt::red));
}

// Fast records from 09:00:01 on: a span ending at 09:00:00 must not show
// them on its last column; a span ending at 09:00:01 shows the first there.
void ChartViewTest::barsJustPastTheSpanStayOff() {
    TDTG_CLASS t = FullDay([](int s) { return s > 32'400 && s <= 32'405 ? 140 : 0; });
    ChartView view;
    ShowSized(view);
    view.Fill(t, false);
    view.SetRpmVisible(false);
    const QRect band = view.SeriesArea(Series::Speed);
    auto redAtRightEdge = [&](const QImage& img) {
        for (int x = band.right() - 2; x <= band.right(); ++x)
            if (IsColour(img, x, SpeedY(view, 70), Qt::red)) return true;
        return false;
    };
    view.SetSpan(At(2026, 12, 10, 6, 0, 0), At(2026, 12, 10, 9, 0, 0));
    QVERIFY(!redAtRightEdge(Render(view)));
    view.SetSpan(At(2026, 12, 10, 6, 0, 0), At(2026, 12, 10, 9, 0, 1));
    QVERIFY(redAtRightEdge(Render(view)));
}

void ChartViewTest::disabledLooksGreyedOut() {
    ChartView view;
    ShowSized(view);
    const QColor enabled = Render(view).pixelColor(2, 2);
    view.setEnabled(false);
    const QColor disabled = Render(view).pixelColor(2, 2);
    QCOMPARE(enabled, QColor(Qt::white));
    QVERIFY(disabled != enabled);
    view.setEnabled(true);
    QCOMPARE(Render(view).pixelColor(2, 2), QColor(Qt::white));
}

void ChartViewTest::fontsFollowTheWidgetAndTheApplication() {
    ChartView view;
    auto allAxesUse = [&](int pointSize) {
        const QList<QCPAxisRect*> rects = view.Plot()->axisRects();
        if (rects.size() != 5) return false;  // the plot area and its four bands
        for (QCPAxisRect* r : rects)
            for (QCPAxis* a : r->axes())
                if (a->tickLabelFont().pointSize() != pointSize ||
                    a->labelFont().pointSize() != pointSize)
                    return false;
        return true;
    };
    const QFont original = QApplication::font();
    QVERIFY(allAxesUse(view.font().pointSize()));

    QFont bigger = original;
    bigger.setPointSize(original.pointSize() + 5);
    QApplication::setFont(bigger);
    QCoreApplication::processEvents();  // the change reaches widgets as a posted event
    const bool followedApplication = allAxesUse(bigger.pointSize());
    QApplication::setFont(original);
    QCoreApplication::processEvents();
    QVERIFY(followedApplication);
    QVERIFY(allAxesUse(original.pointSize()));

    QFont own = original;
    own.setPointSize(original.pointSize() + 3);
    view.setFont(own);
    QVERIFY(allAxesUse(own.pointSize()));
}

// Tick steps follow the band sizes; once they fit, no further replot is queued.
void ChartViewTest::layoutSettlesWithoutRepeatedReplots() {
    ChartView view;
    ShowSized(view);
    view.Fill(FullDay([](int s) { return s % 150; }), false);
    QSignalSpy replots(view.Plot(), &QCustomPlot::afterReplot);
    QTest::qWait(100);
    const int afterShow = static_cast<int>(replots.count());
    QVERIFY(afterShow <= 3);
    view.resize(700, 300);
    QTest::qWait(100);
    QVERIFY(replots.count() - afterShow <= 3);
    replots.clear();
    QTest::qWait(100);
    QCOMPARE(replots.count(), 0);
}

// A full synthetic day at the window's size; the picture is left in the
// temporary folder for a look.
void ChartViewTest::fullDayPicture() {
    TDTG_CLASS t = ondavia::test::SyntheticDayTable();
    ChartView view;
    ShowSized(view);
    view.Fill(t, false);
    view.SetSpan(At(2026, 12, 10), At(2026, 12, 10, 23, 59, 59));
    QImage img = Render(view);
    QVERIFY(img.save(QDir::temp().filePath(QStringLiteral("chartview.png"))));

    int red = 0, blue = 0;
    const QRect band = view.SeriesArea(Series::Speed);
    for (int x = band.left(); x <= band.right(); ++x) {
        const QColor c = img.pixelColor(x, SpeedY(view, 30));
        red += c == QColor(Qt::red);
        blue += c == QColor(Qt::blue);
    }
    QVERIFY(red > 0);
    QVERIFY(blue > 0);

    const DateTime from = At(2026, 12, 10, 12, 0, 0);
    view.SetSpan(from, ondavia::AddSeconds(360, from));
    QVERIFY(Render(view).save(QDir::temp().filePath(QStringLiteral("chartview_zoom.png"))));
}

void ChartViewTest::oneComponentDrawsEveryDescription_data() {
    QTest::addColumn<QString>("surface");
    QTest::addColumn<bool>("rpmVisible");
    QTest::addColumn<bool>("fastBarsRed");
    QTest::newRow("main chart") << "main" << true << true;
    QTest::newRow("detail graph") << "detail" << true << false;
    QTest::newRow("report page, RPM on") << "report" << true << false;
    QTest::newRow("report page, RPM off") << "report" << false << false;
}

// The window's chart, the detailed graph and the report page at A4 landscape
// and 300 dpi are drawn by the same chart; only the description differs.
void ChartViewTest::oneComponentDrawsEveryDescription() {
    QFETCH(QString, surface);
    QFETCH(bool, rpmVisible);
    QFETCH(bool, fastBarsRed);
    // 120 km/h at 2,400 RPM, engine on, 5 km, both G values at 0.5.
    TDTG_CLASS t;
    for (int s = 36'000; s < 37'200; ++s) {
        TDTG_RECORD r = Rec(
            "26-12-10 " + ondavia::FormatDateTime("hh:nn:ss", At(2026, 12, 10) + s / 86400.0), 120);
        r.Km = 5;
        r.Gx = 0.5;
        r.Gy = 0.5;
        t.Add(r);
    }
    const ondavia::ChartSeries series = ondavia::BuildChartSeries(t, false, ondavia::CurrentYear());
    const DateTime from = At(2026, 12, 10, 10, 0, 0);
    const DateTime to = ondavia::AddSeconds(600, from);

    QImage img;
    std::function<QRect(Series)> area;  // a band in image pixels
    std::optional<ChartView> view;
    QCustomPlot offscreen;
    std::optional<ondavia::gui::StackedChart> report;
    if (surface == QLatin1String("report")) {
        // The chart box of the page: 266.7 x 153.7 mm, laid out at 96 dpi.
        offscreen.resize(1008, 581);
        report.emplace(&offscreen, ondavia::gui::ReportChartDescription(false, rpmVisible));
        report->SetSeries(series);
        report->SetSpan(from, to);
        constexpr double kDotsPerMm = 300 / 25.4;
        img = QImage(static_cast<int>(297 * kDotsPerMm), static_cast<int>(210 * kDotsPerMm),
                     QImage::Format_RGB32);
        img.fill(Qt::white);
        img.setDotsPerMeterX(11811);
        img.setDotsPerMeterY(11811);
        const QRectF target(15 * kDotsPerMm, 40 * kDotsPerMm, 266.7 * kDotsPerMm,
                            153.7 * kDotsPerMm);
        {
            QCPPainter painter(&img);
            painter.setMode(QCPPainter::pmVectorized);
            report->Paint(&painter, target);
        }
        const double sx = target.width() / offscreen.width();
        const double sy = target.height() / offscreen.height();
        area = [&, sx, sy, target](Series s) {
            const QRect r = report->SeriesArea(s);
            return QRectF(target.left() + r.left() * sx, target.top() + r.top() * sy,
                          r.width() * sx, r.height() * sy)
                .toAlignedRect();
        };
    } else {
        view.emplace(surface == QLatin1String("main") ? ondavia::gui::MainChartDescription()
                                                      : ondavia::gui::DetailChartDescription(),
                     nullptr);
        ShowSized(*view);
        view->SetSeries(series);
        view->SetSpan(from, to);
        img = Render(*view);
        area = [&](Series s) { return view->SeriesArea(s); };
    }
    QVERIFY(img.width() > 3000 || surface != QLatin1String("report"));
    img.save(QDir::temp().filePath(QStringLiteral("chart_%1.png").arg(surface)));

    // Counts the pixels of a colour in a column through the middle of a band.
    auto count = [&](Series s, QColor colour, double fromValue, double toValue, double lower,
                     double upper) {
        const QRect band = area(s);
        const int x = band.left() + band.width() / 2;
        int n = 0;
        for (int y = band.top(); y <= band.bottom(); ++y) {
            const double value = upper - (y - band.top()) * (upper - lower) / band.height();
            if (value >= fromValue && value <= toValue) n += img.pixelColor(x, y) == colour;
        }
        return n;
    };
    // The speed bar's lower part keeps clear of the RPM line.
    const QColor bar = fastBarsRed ? QColor(Qt::red) : QColor(Qt::blue);
    const QColor notBar = fastBarsRed ? QColor(Qt::blue) : QColor(Qt::red);
    QVERIFY(count(Series::Speed, bar, 10, 80, 0, 150) > 5);
    QCOMPARE(count(Series::Speed, notBar, 10, 80, 0, 150), 0);
    // The RPM line at 2,400 of 3,750.
    const bool rpmDrawn = count(Series::Rpm, Qt::red, 2200, 2600, 0, 3750) > 0;
    QCOMPARE(rpmDrawn, rpmVisible);
    QVERIFY(count(Series::Engine, Qt::blue, 0.8, 1.1, 0, 1.1) > 0);
    QVERIFY(count(Series::Distance, Qt::blue, 3, 7, 0, 21) > 0);
    QVERIFY(count(Series::Gy, Qt::red, 0.3, 0.7, -1.5, 1.6) > 0);
}

QTEST_MAIN(ChartViewTest)
#include "chartview_test.moc"
