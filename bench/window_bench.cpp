// The main window with a full day of 1-second data (86 400 records):
// from a double-click in the file list to a fully painted window (target
// 300 ms), and a pointer move over the chart with its hint (must never lag).
// The same with eight hours of 0.01-second data (2 880 000 records, generated
// here): painted window within 1.5 s, the process at most 450 MB, a replot of
// the chart at full span within 25 ms.
#include <benchmark/benchmark.h>

#include <qcustomplot.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "app/application.hpp"
#include "app/appstate.hpp"
#include "support/findchild.hpp"
#include "support/synthetic.hpp"
#include "viewer/mainwindow.hpp"
#include "views/chartview.hpp"

namespace {

using namespace ondavia::gui;

struct WindowFixture {
    QTemporaryDir dir;
    AppState state;
    std::unique_ptr<TFrmOndavia> window;

    explicit WindowFixture(bool eightHours = false) {
        QDir(dir.path()).mkpath("data");
        const std::string day = eightHours ? ondavia::test::SyntheticDayFile(2'880'000, true)
                                           : ondavia::test::SyntheticDayFile(86'400, false);
        const char* const names[2] = {eightHours ? "20261210-BENCH001-C-01-AAAAAAA.TXT"
                                                 : "20261210-BENCH001-S-01-AAAAAAA.TXT",
                                      eightHours ? "20261210-BENCH001-C-02-AAAAAAA.TXT"
                                                 : "20261210-BENCH001-S-02-AAAAAAA.TXT"};
        for (const char* name : names) {
            QFile f(dir.filePath(QStringLiteral("data/") + name));
            f.open(QIODevice::WriteOnly);
            f.write(day.data(), static_cast<qint64>(day.size()));
        }
        LoadSettings(state, dir.path(), dir.filePath("ONDAVIA.INI"));
        state.ViewerSettings.DataFilePath = (dir.path() + "/data/").toStdString();
        window = std::make_unique<TFrmOndavia>(state);
        window->show();
        window->LayoutMainWindow(QRect(0, 0, 1366, 738));
        QApplication::processEvents();
    }
};

void BM_DoubleClickToPaintedWindow(benchmark::State& st) {
    WindowFixture fx;
    int row = 1;
    for (auto _ : st) {
        ondavia::test::Child<QTableWidget>(*fx.window, "GridFileListView")->setCurrentCell(row, 0);
        fx.window->GridFileListViewDblClick();
        QApplication::processEvents();  // the chart replots on the next pass
        fx.window->repaint();
        row = 1 - row;
    }
    st.counters["rows"] = static_cast<double>(fx.window->recording().rows.size());
}
BENCHMARK(BM_DoubleClickToPaintedWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

// Resident and peak memory of the process, in MB.
double StatusMegabytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<int>(qstrlen(field))).trimmed().split(' ')[0].toDouble() /
                   1024;
    return 0;
}

void BM_EightHoursToPaintedWindow(benchmark::State& st) {
    WindowFixture fx(true);
    int row = 1;
    for (auto _ : st) {
        ondavia::test::Child<QTableWidget>(*fx.window, "GridFileListView")->setCurrentCell(row, 0);
        fx.window->GridFileListViewDblClick();
        QApplication::processEvents();
        fx.window->repaint();
        row = 1 - row;
    }
    st.counters["rows"] = static_cast<double>(fx.window->recording().rows.size());
    // rss: the window with the recording loaded; peak also counts the
    // fixture generating the file.
    st.counters["rss_MB"] = StatusMegabytes("VmRSS:");
    st.counters["peak_MB"] = StatusMegabytes("VmHWM:");
}
BENCHMARK(BM_EightHoursToPaintedWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_EightHoursReplotFullSpan(benchmark::State& st) {
    WindowFixture fx(true);
    ondavia::test::Child<QTableWidget>(*fx.window, "GridFileListView")->setCurrentCell(0, 0);
    fx.window->GridFileListViewDblClick();
    QApplication::processEvents();
    auto* chart = ondavia::test::Child<ondavia::gui::ChartView>(*fx.window, "ChartGraph");
    for (auto _ : st)
        chart->Plot()->replot(QCustomPlot::rpImmediateRefresh);
}
BENCHMARK(BM_EightHoursReplotFullSpan)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PointerMoveWithHint(benchmark::State& st) {
    WindowFixture fx;
    const int width =
        ondavia::test::Child<ondavia::gui::ChartView>(*fx.window, "ChartGraph")->width();
    int x = 60;
    for (auto _ : st) {
        fx.window->ChartGraphMouseMove(x, 120);
        x = x + 7 < width - 60 ? x + 7 : 60;
    }
}
BENCHMARK(BM_PointerMoveWithHint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
