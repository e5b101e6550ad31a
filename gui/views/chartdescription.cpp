#include "views/chartdescription.hpp"

namespace ondavia::gui {

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

ChartAxisLook Axis(double lower, double upper, double step, const QString& title,
                   bool vertical = false) {
    ChartAxisLook a;
    a.shown = true;
    a.lower = lower;
    a.upper = upper;
    a.step = step;
    a.title = title;
    a.verticalTitle = vertical;
    return a;
}

ChartBandLook Band(double top, double bottom, bool bandLine, ChartAxisLook left,
                   ChartAxisLook right = {}) {
    return {top, bottom, bandLine, std::move(left), std::move(right)};
}

}  // namespace

ChartDescription MainChartDescription() {
    ChartDescription d;
    d.title = QString::fromUtf8("그래프 분석");
    d.bands = {
        Band(0.00, 0.60, true, Axis(0, 150, 10, QString::fromUtf8("속도(Km/h)"), true),
             Axis(0, 3750, 250, QStringLiteral("R.P.M"), true)),
        Band(0.63, 0.69, true, Axis(0, 1.1, 1, QStringLiteral("E/G")),
             Axis(0, 1.1, 1, QStringLiteral("B/R"))),
        Band(0.72, 0.81, true, Axis(0, 21, 10, QString::fromUtf8("거리"), true)),
        Band(0.85, 1.00, false, Axis(-1.5, 1.6, 0.5, QStringLiteral("Gx")),
             Axis(-1.5, 1.6, 0.5, QStringLiteral("Gy"))),
    };
    d.fastSpeed = 100;
    d.speedColour = kBlue;
    d.fastSpeedColour = kRed;
    d.rpmColour = kRed;
    d.engineColour = kBlue;
    d.brakeColour = kRed;
    d.distanceColour = kBlue;
    d.gxColour = kBlue;
    d.gyColour = kRed;
    return d;
}

ChartDescription DetailChartDescription() {
    ChartDescription d = MainChartDescription();
    d.title.clear();  // the window's caption names it
    d.fastSpeed = std::numeric_limits<double>::infinity();
    d.fastSpeedColour = d.speedColour;
    d.rpmVisible = true;
    return d;
}

ChartDescription ReportChartDescription(bool hundredths, bool rpmVisible) {
    ChartDescription d = DetailChartDescription();
    d.rpmVisible = rpmVisible;
    d.timeFormat = hundredths ? QStringLiteral("hh:nn:ss.zz") : QStringLiteral("hh:nn:ss");
    d.topTimeAxis = false;
    // Titles in the colour of the series on their axis.
    auto& speed = d.bands[static_cast<size_t>(ChartBand::Speed)];
    auto& engine = d.bands[static_cast<size_t>(ChartBand::Engine)];
    auto& distance = d.bands[static_cast<size_t>(ChartBand::Distance)];
    auto& g = d.bands[static_cast<size_t>(ChartBand::G)];
    for (ChartAxisLook* left : {&speed.left, &engine.left, &distance.left, &g.left})
        left->titleColour = kBlue;
    for (ChartAxisLook* right : {&speed.right, &engine.right, &g.right})
        right->titleColour = kRed;
    return d;
}

}  // namespace ondavia::gui
