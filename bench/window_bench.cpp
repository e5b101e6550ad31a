// The main window with a full day of 1-second data (86 400 records):
// from a double-click in the file list to a fully painted window (target
// 300 ms), and a pointer move over the chart with its hint (must never lag).
#include <benchmark/benchmark.h>

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

    WindowFixture() {
        QDir(dir.path()).mkpath("data");
        const std::string day = ondavia::test::SyntheticDayFile(86'400, false);
        for (const char* name :
             {"20261210-BENCH001-S-01-AAAAAAA.TXT", "20261210-BENCH001-S-02-AAAAAAA.TXT"}) {
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
