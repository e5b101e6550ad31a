// Pictures of the main window on a folder of recordings, for the README and
// for anyone checking how the window looks:
//   ondavia-screenshot DATA_DIR OUT_DIR [FILE_NAME_PART]
// writes OUT_DIR/main-full.png (whole file), main-zoomed.png (closest zoom,
// with the pointer hint) and main-wide.png (wide record grid).
#include <QApplication>
#include <QDir>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/application.hpp"
#include "viewer/mainwindow.hpp"
#include "views/chartview.hpp"

using namespace ondavia::gui;

namespace {
bool Save(QWidget* w, const QString& path) {
    QApplication::processEvents();
    bool ok = w->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: ondavia-screenshot DATA_DIR OUT_DIR [FILE_NAME_PART]\n");
        return 2;
    }
    const QString data = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + '/';
    const QString out = QString::fromLocal8Bit(argv[2]);
    const QString part = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("-S-");
    QDir().mkpath(out);
    InstallFontSubstitutes();

    QTemporaryDir settingsDir;
    const QString ini = settingsDir.filePath("ONDAVIA.INI");
    {
        QFile f(ini);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        f.write(QStringLiteral("[COMPANY]\r\nCompanyName=Ondavia\r\n[PATHNAME]\r\nDataFilePath=%1\r\n")
                    .arg(data)
                    .toLocal8Bit());
    }
    Application ondavia(settingsDir.path(), ini);
    TFrmOndavia* w = ondavia.FrmOndavia();
    w->show();
    w->LayoutMainWindow(QRect(0, 0, 1366, 738));

    // Open the first file whose name holds the part asked for.
    for (int row = 0; row < w->GridFileListView->rowCount(); ++row) {
        if (w->GridFileListView->item(row, 0)->text().contains(part)) {
            w->GridFileListView->setCurrentCell(row, 0);
            w->GridFileListViewDblClick();
            break;
        }
    }
    bool ok = Save(w, out + "/main-full.png");
    w->TBarChart->setValue(w->TBarChart->maximum());
    const int x = w->ChartGraph->width() / 2, y = w->ChartGraph->height() / 3;
    w->ChartGraphMouseMove(x, y);
    ok = Save(w, out + "/main-zoomed.png") && ok;
    w->PmGridWideClick();
    ok = Save(w, out + "/main-wide.png") && ok;
    return ok ? 0 : 1;
}
