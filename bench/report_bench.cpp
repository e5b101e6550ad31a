// The chart report of a full day of 1-second data (86 400 records) as a PDF,
// by the page code that prints: filling the page's chart and writing the
// whole document, with the document's size as a counter; and the same for a
// 0.01-second file of one hour (360 000 records).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/application.hpp"
#include "common/datetime.hpp"
#include "data/recording.hpp"
#include "output/chartreport.hpp"
#include "support/synthetic.hpp"
#include "viewer/chartseries.hpp"

namespace {

using namespace ondavia;

ChartSeries Series(int records, bool hundredths) {
    LoadOptions options;
    options.upperName = "20261210-ONT10001-S-01-0000000.TXT";
    options.hundredths = hundredths;
    options.pivotYear = CurrentYear();
    Recording rec;
    LoadRecordingBytes(test::SyntheticDayFile(records, hundredths), options, rec);
    return BuildChartSeries(rec.table, hundredths, options.pivotYear);
}

void ReportToPdf(benchmark::State& state, int records, bool hundredths) {
    const ChartSeries series = Series(records, hundredths);
    gui::TFrmDtgAnalyP_A1 page;
    qsizetype bytes = 0;
    for (auto _ : state) {
        page.Fill(series, QStringLiteral("서울32바1234"), series.firstTime, series.lastTime,
                  hundredths, true);
        bytes = gui::ReportPdf(page).size();
    }
    state.counters["points"] = static_cast<double>(series.Size());
    state.counters["pdf_KB"] = static_cast<double>(bytes) / 1024.0;
}

void BM_ChartReportPdfFullDay(benchmark::State& state) { ReportToPdf(state, 86'400, false); }
BENCHMARK(BM_ChartReportPdfFullDay)->Unit(benchmark::kMillisecond);

void BM_ChartReportPdfHundredthsHour(benchmark::State& state) { ReportToPdf(state, 360'000, true); }
BENCHMARK(BM_ChartReportPdfHundredthsHour)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    gui::InstallFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
