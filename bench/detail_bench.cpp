// The detailed graph window on a full day of 1-second data (86 400 records):
//   a show: the series put on the chart, the first span, and the first paint
//   of the whole window;
//   one navigation step (a button click) with the chart repainted.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <qcustomplot.h>

#include <memory>

#include "app/appstate.hpp"
#include "support/synthetic.hpp"
#include "views/chartview.hpp"
#include "views/detailwindow.hpp"

namespace {

using namespace ondavia;
using ondavia::gui::ChartView;
using ondavia::gui::TFrmDTG_Detail;

struct Setup {
    TDTG_CLASS table = test::SyntheticDayTable();
    ChartSeries series = BuildChartSeries(table, false, 2026);
    gui::AppState state;
    std::unique_ptr<TFrmDTG_Detail> window;
    ChartView* chart = nullptr;
    Setup() {
        state.RecordTable = &table;
        state.ChartStartTime = series.firstTime;
        state.ChartEndTime = series.lastTime;
        state.PointerTime = AddSeconds(12 * 3600, series.firstTime);
        window = std::make_unique<TFrmDTG_Detail>(
            state, [this]() -> const ChartSeries& { return series; });
        chart = window->findChild<ChartView*>(QStringLiteral("ChartGraph"));
    }
};

Setup& Detail() {
    static Setup* setup = new Setup;
    return *setup;
}

void BM_ShowFullDay(benchmark::State& state) {
    Setup& d = Detail();
    for (auto _ : state) {
        d.window->show();
        d.chart->Plot()->replot(QCustomPlot::rpImmediateRefresh);
        benchmark::DoNotOptimize(d.window->grab());
        state.PauseTiming();
        d.window->hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowFullDay)->Unit(benchmark::kMillisecond);

// One step on, then one back, each with the chart drawn again.
void BM_NavigationStep(benchmark::State& state) {
    Setup& d = Detail();
    d.window->show();
    QApplication::processEvents();
    bool right = true;
    for (auto _ : state) {
        d.window->Navigate(right ? DetailNav::Right : DetailNav::Left);
        d.chart->Plot()->replot(QCustomPlot::rpImmediateRefresh);
        right = !right;
    }
    d.window->hide();
}
BENCHMARK(BM_NavigationStep)->Unit(benchmark::kMillisecond);

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
