// Pictures of the main window on a folder of recordings, for the README and
// for anyone checking how the window looks:
//   ondavia-screenshot DATA_DIR OUT_DIR [FILE_NAME_PART]
// writes OUT_DIR/main-full.png (whole file), main-zoomed.png (closest zoom,
// with the pointer hint), main-wide.png (wide record grid) and main-map.png
// (the map panel drawing the file's route with the test suite's stand-in maps
// script, so no internet is needed), main-osm.png (the same with the keyless
// Leaflet page, its tiles drawn here and served from loopback), and
// detail.png (the detailed graph window forty minutes into the file, with
// its pointer hint).
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>

#include "app/application.hpp"
#include "common/settings.hpp"
#include "support/findchild.hpp"
#include "viewer/mainwindow.hpp"
#include "views/chartview.hpp"
#include "views/detailwindow.hpp"
#include "views/mapview.hpp"

using namespace ondavia::gui;

namespace {
bool Save(QWidget* w, const QString& path) {
    QApplication::processEvents();
    bool ok = w->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}
}  // namespace

// Serves a plain generated tile for every request on a loopback port, so
// that the keyless map draws a tiled background without the internet.
class TileServer : public QObject {
  public:
    TileServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, this, [this, s] { Answer(s); });
            }
        });
    }
    QString TileUrl() const {
        return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(server_.serverPort());
    }

  private:
    void Answer(QTcpSocket* s) {
        const QByteArray request = s->readAll();
        if (!request.contains("\r\n\r\n")) return;
        const QByteArray path = request.split(' ').value(1);
        // A light land colour with a faint grid and the tile's own address.
        QImage tile(256, 256, QImage::Format_RGB32);
        tile.fill(QColor(242, 239, 233));
        QPainter p(&tile);
        p.setPen(QColor(214, 208, 198));
        for (int i = 0; i < 256; i += 32) {
            p.drawLine(i, 0, i, 255);
            p.drawLine(0, i, 255, i);
        }
        p.setPen(QColor(170, 160, 150));
        p.drawText(QRect(0, 0, 256, 256), Qt::AlignCenter, QString::fromLatin1(path));
        p.end();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        tile.save(&buffer, "PNG");
        s->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: " +
                 QByteArray::number(png.size()) + "\r\nConnection: close\r\n\r\n" + png);
        s->disconnectFromHost();
    }
    QTcpServer server_;
};

// The stand-in maps script kept with the tests, found from this source file.
QString StandInScript() {
    return QFileInfo(QStringLiteral(__FILE__))
        .dir()
        .absoluteFilePath(QStringLiteral("../../tests/fixtures/map/standin-maps.js"));
}

int main(int argc, char** argv) {
    PrepareBrowserEngine();
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
    const std::filesystem::path iniPath = ini.toStdString();
    if (!ondavia::WriteSettingString(iniPath, ondavia::kSectionCompany, ondavia::kKeyCompanyName,
                                     "Ondavia") ||
        !ondavia::WriteSettingString(iniPath, ondavia::kSectionPathname, ondavia::kKeyDataFilePath,
                                     data.toStdString()))
        return 1;
    Application ondavia(settingsDir.path(), ini);
    TFrmOndavia* w = ondavia.FrmOndavia();
    w->show();
    w->Map()->PageFolder = settingsDir.path();
    w->Map()->FormShow();
    w->LayoutMainWindow(QRect(0, 0, 1366, 738));

    // Open the first file whose name holds the part asked for.
    for (int row = 0; row < ondavia::test::Child<QTableWidget>(*w, "GridFileListView")->rowCount();
         ++row) {
        if (ondavia::test::Child<QTableWidget>(*w, "GridFileListView")
                ->item(row, 0)
                ->text()
                .contains(part)) {
            ondavia::test::Child<QTableWidget>(*w, "GridFileListView")->setCurrentCell(row, 0);
            w->GridFileListViewDblClick();
            break;
        }
    }
    bool ok = Save(w, out + "/main-full.png");
    ondavia::test::Child<QSlider>(*w, "TBarChart")
        ->setValue(ondavia::test::Child<QSlider>(*w, "TBarChart")->maximum());
    const int x = ondavia::test::Child<ondavia::gui::ChartView>(*w, "ChartGraph")->width() / 2,
              y = ondavia::test::Child<ondavia::gui::ChartView>(*w, "ChartGraph")->height() / 3;
    w->ChartGraphMouseMove(x, y);
    ok = Save(w, out + "/main-zoomed.png") && ok;

    // The detailed graph over the same file, opened forty minutes into it
    // (where the shift's first hard braking lies), with the pointer hint.
    {
        AppState& state = ondavia.state();
        TFrmDTG_Detail* detail = ondavia.DetailGraph();
        detail->SetTimes(state.ChartStartTime, state.ChartEndTime,
                         ondavia::AddSeconds(2400, state.ChartStartTime));
        detail->show();
        auto* chart = detail->findChild<ChartView*>(QStringLiteral("ChartGraph"));
        QApplication::processEvents();
        detail->ChartGraphMouseMove(chart->width() * 3 / 5, chart->height() / 3);
        ok = Save(detail, out + "/detail.png") && ok;
        detail->hide();
    }
    w->PmGridWideClick();
    ok = Save(w, out + "/main-wide.png") && ok;

    // The map turned on as the settings window would, drawn by the stand-in,
    // enlarged over the chart, with the marker an hour into the file.
    w->PmGridWideClick();
    ondavia::test::Child<QSlider>(*w, "TBarChart")->setValue(1);
    ondavia::test::Child<QLabel>(*w, "LblChartHint")->hide();
    auto& settings = ondavia.state().ViewerSettings;
    settings.GpsView = true;
    settings.MapScriptUrl = QUrl::fromLocalFile(StandInScript()).toString().toStdString();
    w->Map()->ShowRouteOnMap();
    bool drawn = false;
    auto wait = [](auto* sender, auto signal, int ms) {
        QEventLoop loop;
        QObject::connect(sender, signal, &loop, [&loop] { loop.quit(); });
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    if (w->Map()->WebBrowserMap && w->Map()->WebBrowserMap->isVisible()) {
        QObject::connect(w->Map()->WebBrowserMap, &QWebEngineView::loadFinished,
                         [&drawn](bool loaded) { drawn = loaded; });
        wait(w->Map()->WebBrowserMap, &QWebEngineView::loadFinished, 30000);
        w->Map()->BtnMapWide->click();
        const int row = std::min(
            3600, ondavia::test::Child<QTableView>(*w, "GridTextView")->model()->rowCount() - 1);
        ondavia::test::Child<QTableView>(*w, "GridTextView")
            ->setCurrentIndex(
                ondavia::test::Child<QTableView>(*w, "GridTextView")->model()->index(row, 1));
        ondavia::test::Child<QTableView>(*w, "GridTextView")
            ->scrollTo(ondavia::test::Child<QTableView>(*w, "GridTextView")->currentIndex());
        wait(w->Map(), &MapView::CommandAnswered, 10000);
        w->Map()->WebBrowserMap->page()->runJavaScript(
            QStringLiteral("window.standIn && standIn.clickMarker()"));
        // The stand-in draws on a timer of its own.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 1500)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (!drawn)
        std::fprintf(stderr, "the map page did not load: %s\n",
                     qPrintable(w->Map()->LblMapMessage->text()));
    ok = Save(w, out + "/main-map.png") && drawn && ok;

    // The keyless map, as the first start sets it up, with local tiles.
    TileServer tiles;
    settings.SelectMap = ondavia::kSelectMapKeyless;
    settings.MapTileUrl = tiles.TileUrl().toStdString();
    w->Map()->FormShow();
    w->Map()->ShowRouteOnMap();
    bool osm = false;
    if (w->Map()->WebBrowserMap && w->Map()->WebBrowserMap->isVisible()) {
        QObject::connect(w->Map()->WebBrowserMap, &QWebEngineView::loadFinished,
                         [&osm](bool loaded) { osm = loaded; });
        wait(w->Map()->WebBrowserMap, &QWebEngineView::loadFinished, 30000);
        // Tiles arrive after the page; then the marker's balloon is opened.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 2500)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        w->Map()->WebBrowserMap->page()->runJavaScript(
            QStringLiteral("if (marker) marker.fire('click');"));
        settle.restart();
        while (settle.elapsed() < 1000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (!osm)
        std::fprintf(stderr, "the keyless map page did not load: %s\n",
                     qPrintable(w->Map()->LblMapMessage->text()));
    ok = Save(w, out + "/main-osm.png") && osm && ok;
    return ok ? 0 : 1;
}
