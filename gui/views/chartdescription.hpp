// What a stacked-band chart shows: its bands, axes, ranges, titles and
// colours. The main chart, the detailed graph and the chart report differ
// only in this description; StackedChart draws any of them.
#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <limits>

namespace ondavia::gui {

// One value axis of a band.
struct ChartAxisLook {
    bool shown = false;
    double lower = 0;
    double upper = 1;
    double step = 1;
    QString title;
    bool verticalTitle = false;  // read top to bottom
    QColor titleColour;          // invalid: the chart's text colour
};

// One band of the plot, its top and bottom as fractions of the plot height.
struct ChartBandLook {
    double top = 0;
    double bottom = 1;
    bool bandLine = false;  // the 2-pixel colour line under the band
    ChartAxisLook left;
    ChartAxisLook right;
};

// The four bands, from the top.
enum class ChartBand { Speed, Engine, Distance, G };

struct ChartDescription {
    QString title;  // empty: no title line
    std::array<ChartBandLook, 4> bands;
    // Speed bars turn to fastSpeedColour from fastSpeed; infinity keeps them
    // all in speedColour.
    double fastSpeed = std::numeric_limits<double>::infinity();
    QColor speedColour, fastSpeedColour, rpmColour, engineColour, brakeColour, distanceColour,
        gxColour, gyColour;
    bool rpmVisible = true;
    // Time-of-day labels of the bottom axis (a format of FormatDateTime).
    QString timeFormat = QStringLiteral("hh:nn:ss.zz");
    bool topTimeAxis = true;  // a label-less copy of the time axis on top
};

// The main window's chart: red speed bars from 100 km/h, titled "그래프 분석".
ChartDescription MainChartDescription();
// The detailed graph: the main chart's axes and series, speed bars all in the
// series colour, the RPM line always drawn.
ChartDescription DetailChartDescription();
// The chart report's page: no title, speed bars all blue, axis titles in
// their series' colours, the RPM line as the user set it, time labels as the
// records' time keys ("hh:nn:ss", or with hundredths).
ChartDescription ReportChartDescription(bool hundredths, bool rpmVisible);

}  // namespace ondavia::gui
