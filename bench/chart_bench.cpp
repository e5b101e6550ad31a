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

#include "support/synthetic.hpp"
#include "viewer/chartzoom.hpp"
#include "views/chartview.hpp"

namespace {

using namespace ondavia;
using ondavia::gui::ChartView;

DateTime Day() { return ComposeDateTime(*EncodeDate(2026, 12, 10), 0); }

struct Setup {
    TDTG_CLASS table = test::SyntheticDayTable();
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
