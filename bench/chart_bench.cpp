// Chart speed for a full day of 1-second data (86 400 records) at the main
// window's chart size (1000 x 450):
//   a replot of the whole day, target 25 ms;
//   a replot of a 360 s window, target 5 ms;
//   the mouse-move path (pixel to time, pointer time, record look-up, hint text).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <qcustomplot.h>

#include <cmath>
#include <memory>

#include "viewer/chartzoom.hpp"
#include "views/chartview.hpp"

namespace {

using namespace ondavia;
using ondavia::gui::ChartView;

DateTime Day() { return ComposeDateTime(*EncodeDate(2026, 12, 10), 0); }

// A day of driving that moves every series.
TDTG_CLASS DayTable() {
    TDTG_CLASS t;
    t.Reserve(86'400);
    int km = 0;
    for (int s = 0; s < 86'400; ++s) {
        const double h = s / 3600.0;
        const bool driving = h > 5.5 && h < 22.0 && std::fmod(h, 3.0) < 2.4;
        const int speed = driving ? std::max(0, static_cast<int>(70 + 45 * std::sin(s / 900.0) +
                                                                 10 * std::sin(s / 37.0)))
                                  : 0;
        const DateTime at = AddSeconds(s, Day());
        TDTG_RECORD r;
        r.InfoDateTime.Assign(FormatDateTime("yy-mm-dd hh:nn:ss", at));
        r.InfoTime.Assign(FormatDateTime("hh:nn:ss", at));
        r.Speed = static_cast<std::uint16_t>(speed);
        r.RPM = static_cast<std::uint16_t>(driving ? 700 + speed * 22 : 0);
        r.Brake = driving && std::sin(s / 53.0) > 0.93 ? 1 : 0;
        r.Engine = driving ? 1.0 : 0.2;
        if (driving && s % std::max(1, 3600 / std::max(speed, 1)) == 0) ++km;
        r.Km = km;
        r.Gx = driving ? 0.4 * std::sin(s / 21.0) : 0.0;
        r.Gy = driving ? 0.35 * std::sin(s / 47.0) : 0.0;
        t.Add(r);
    }
    t.Sort();
    return t;
}

struct Setup {
    TDTG_CLASS table = DayTable();
    ChartView view;
    Setup() {
        view.resize(1000, 450);
        view.show();
        view.Fill(table, false);
        view.Plot()->replot(QCustomPlot::rpImmediateRefresh);
        view.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    }
};

Setup& Chart() {
    static Setup* setup = new Setup;
    return *setup;
}

void BM_ReplotFullDay(benchmark::State& state) {
    Setup& c = Chart();
    c.view.SetSpan(Day(), AddSeconds(86'399, Day()));
    c.view.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    for (auto _ : state)
        c.view.Plot()->replot(QCustomPlot::rpImmediateRefresh);
}
BENCHMARK(BM_ReplotFullDay)->Unit(benchmark::kMillisecond);

void BM_ReplotZoomed360s(benchmark::State& state) {
    Setup& c = Chart();
    const DateTime from = AddSeconds(12 * 3600, Day());
    c.view.SetSpan(from, AddSeconds(360, from));
    c.view.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    for (auto _ : state)
        c.view.Plot()->replot(QCustomPlot::rpImmediateRefresh);
}
BENCHMARK(BM_ReplotZoomed360s)->Unit(benchmark::kMillisecond);

// Dragging the scroll thumb: a new 360 s span and a replot each step.
void BM_Scroll360s(benchmark::State& state) {
    Setup& c = Chart();
    int position = 6 * 3600;
    for (auto _ : state) {
        auto [min, max] = ApplyScroll(false, Day(), AddSeconds(86'399, Day()), position, 360);
        c.view.SetSpan(min, max);
        c.view.Plot()->replot(QCustomPlot::rpImmediateRefresh);
        position = position >= 20 * 3600 ? 6 * 3600 : position + 60;
    }
}
BENCHMARK(BM_Scroll360s)->Unit(benchmark::kMillisecond);

void BM_TimeAtX(benchmark::State& state) {
    Setup& c = Chart();
    c.view.SetSpan(Day(), AddSeconds(86'399, Day()));
    int x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.view.TimeAtX(x));
        x = x == 999 ? 0 : x + 1;
    }
}
BENCHMARK(BM_TimeAtX);

// Everything a mouse move over the chart costs before the label is placed.
void BM_MouseMovePath(benchmark::State& state) {
    Setup& c = Chart();
    c.view.SetSpan(Day(), AddSeconds(86'399, Day()));
    const int pivot = CurrentYear();
    int x = 60;
    for (auto _ : state) {
        PointerInfo p = PointerAt(false, c.view.TimeAtX(x), pivot);
        std::string hint;
        if (p.pointerTime >= c.view.SpanMin() && p.pointerTime <= c.view.SpanMax() &&
            c.table.FindRecord(p.key) >= 0)
            hint = HintText(false, p.pointerTime, c.table.Current());
        benchmark::DoNotOptimize(hint);
        x = x == 940 ? 60 : x + 1;
    }
}
BENCHMARK(BM_MouseMovePath);

void BM_FillFullDay(benchmark::State& state) {
    Setup& c = Chart();
    for (auto _ : state)
        c.view.Fill(c.table, false);
}
BENCHMARK(BM_FillFullDay)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
