// The map panel in the real browser engine, headless: the local page with a
// stand-in maps script that records what the page asks of it, and remote
// pages of our own on a loopback HTTP server that record the commands they
// receive. Also the route time window and the map size button.
#include <QApplication>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include <cmath>
#include <memory>
#include "support/findchild.hpp"

#include "app/application.hpp"
#include "app/appstate.hpp"
#include "app/services.hpp"
#include "data/recording.hpp"
#include "output/mappage.hpp"
#include "support/builders.hpp"
#include "viewer/mainwindow.hpp"
#include "views/mapview.hpp"
#include "views/routetimewindow.hpp"

using namespace ondavia;
using namespace ondavia::gui;
using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

namespace {

constexpr int kPageTimeoutMs = 30000;

QByteArray Fixture(const char* name) {
    QFile f(QFileInfo(QStringLiteral(__FILE__))
                .dir()
                .filePath(QStringLiteral("../fixtures/map/") + name));
    if (!f.open(QIODevice::ReadOnly)) qFatal("missing fixture %s", name);
    return f.readAll();
}

// Runs the event loop until done() or the time is up.
bool WaitFor(const std::function<bool()>& done, int ms = kPageTimeoutMs) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qSleep(2);
    }
    return true;
}

// ---- loopback HTTP server ---------------------------------------------------

struct Route {
    int status = 200;
    QByteArray body;
    QByteArray type = "text/html; charset=UTF-8";
    int browserDelayMs = 0;  // the browser waits this long; the viewer's probes do not
    bool silent = false;     // accepts the request and never answers
};

class LoopbackServer : public QObject {
  public:
    LoopbackServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, this, [this, s] { Read(s); });
            }
        });
    }
    QString Url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }
    // A port nothing listens on.
    static QString RefusedUrl(const QString& path) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
    }

    QMap<QString, Route> routes;
    QByteArray tile;       // served for every path under /tiles/ when set
    QStringList requests;  // request targets (path and query), in arrival order

  private:
    void Read(QTcpSocket* s) {
        QByteArray buffer = s->property("buffer").toByteArray() + s->readAll();
        s->setProperty("buffer", buffer);
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0 || s->property("served").toBool()) return;
        s->setProperty("served", true);
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        const QString target = QString::fromLatin1(first.value(1));
        const bool probe = buffer.contains("User-Agent: jInet function");
        requests << target;
        const QString path = target.section('?', 0, 0);
        Route route = routes.value(path, Route{404, "not here"});
        if (path.startsWith("/tiles/") && !tile.isEmpty()) route = Route{200, tile, "image/png"};
        if (route.silent) return;
        QPointer<QTcpSocket> socket(s);
        auto answer = [socket, route] {
            if (!socket) return;
            QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) +
                              " X\r\nContent-Type: " + route.type +
                              "\r\nContent-Length: " + QByteArray::number(route.body.size()) +
                              "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
            socket->write(head + route.body);
            socket->disconnectFromHost();
        };
        if (route.browserDelayMs > 0 && !probe)
            QTimer::singleShot(route.browserDelayMs, s, answer);
        else
            answer();
    }

    QTcpServer server_;
};

// ---- data -------------------------------------------------------------------

RecordFields Row(const char* time, const char* lat, const char* lon, const char* state = "00") {
    RecordFields f;
    f.time = time;
    f.lat = lat;
    f.lon = lon;
    f.state = state;
    return f;
}

// Four rows, the second with the GPS fault code.
std::vector<RecordFields> FourRows() {
    return {Row("100000", "037500000", "127000000"), Row("100001", "037510000", "127010000", "11"),
            Row("100002", "037520000", "127020000"), Row("100003", "037540000", "127040000")};
}

bool LoadInto(Recording& rec, const std::vector<RecordFields>& rows, bool hundredths = false) {
    std::string bytes = MakeHeader() + "\r\n";
    for (const RecordFields& f : rows)
        bytes += MakeRecord(f) + "\r\n";
    LoadOptions o;
    o.upperName = "20261210-12345678-02.TXT";
    o.fileMode = FileLayout::Lines;
    o.hundredths = hundredths;
    o.pivotYear = 2026;
    return LoadRecordingBytes(bytes, o, rec).ok();
}

QJsonArray Point(double lat, double lng) { return QJsonArray{lat, lng}; }

// Leaflet gives the centre back from whole pixels: near enough is within a
// pixel at zoom 12 (about 40 m).
bool Near(const QJsonArray& at, double lat, double lng) {
    return at.size() == 2 && std::abs(at[0].toDouble() - lat) < 4e-4 &&
           std::abs(at[1].toDouble() - lng) < 4e-4;
}

// A plain tile, 256 pixels square.
QByteArray TilePng() {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(QColor(170, 211, 223));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// What the keyless page shows, read from Leaflet's own objects in the
// shape the stand-in script reports for the other page.
const char* const kLeafletState = R"(JSON.stringify((function () {
  var s = {maps: map ? 1 : 0, lines: [], markers: [], info: null};
  if (!map) return s;
  var c = map.getCenter();
  s.center = [c.lat, c.lng];
  s.zoom = map.getZoom();
  s.scrollwheel = map.scrollWheelZoom.enabled();
  s.size = [map.getSize().x, map.getSize().y];
  s.note = getComputedStyle(document.getElementById('tile-note')).display;
  s.tilesLoaded = document.querySelectorAll('img.leaflet-tile-loaded').length;
  s.attribution = document.querySelector('.leaflet-control-attribution').textContent;
  map.eachLayer(function (l) {
    if (l instanceof L.Polyline) {
      var ll = l.getLatLngs();
      s.lines.push({color: l.options.color, weight: l.options.weight, points: ll.length,
                    first: [ll[0].lat, ll[0].lng], last: [ll[ll.length - 1].lat, ll[ll.length - 1].lng],
                    drawn: !!(l._path && l._path.getAttribute('d'))});
    } else if (l instanceof L.Marker) {
      var p = l.getLatLng();
      s.markers.push({label: l.options.title || null, at: [p.lat, p.lng],
                      shown: !!(l._icon && l._icon.offsetWidth > 0)});
    }
  });
  if (map.hasLayer(infowindow)) {
    var body = infowindow.getElement().querySelector('.leaflet-popup-content');
    s.info = {content: infowindow.getContent(), text: body.textContent,
              elements: body.querySelectorAll('*').length};
  }
  return s;
})()))";

// ---- a map panel on its own ------------------------------------------------------

struct MapFixture {
    QTemporaryDir dir;
    LoopbackServer server;
    AppState state;
    Recording rec;
    int row = 0;
    QWidget panel;
    MapView* view;

    explicit MapFixture(int selectMap = 0) {
        server.routes["/maps/api/js"] =
            Route{200, Fixture("standin-maps.js"), "application/javascript"};
        server.routes["/probe"] = Route{200, "ok"};
        server.routes["/files/NvGps_GoogleMap.html"] = Route{200, Fixture("remote-page.html")};
        server.routes["/files/NvGps_NaverMap.html"] = Route{200, Fixture("remote-page.html")};
        TDtgSetValue& s = state.ViewerSettings;
        s.GpsView = true;
        s.SelectMap = selectMap;
        s.MapScriptUrl = server.Url("/maps/api/js").toStdString();
        s.MapApiKey = "TESTKEY";
        s.MapProbeUrl = server.Url("/probe").toStdString();
        s.MapServerUrl = server.Url("/").toStdString();
        s.MapTileUrl = server.Url("/tiles/{z}/{x}/{y}.png").toStdString();
        server.tile = TilePng();
        state.RecordTable = &rec.table;
        panel.resize(800, 500);
        panel.show();
        view = new MapView(
            state, rec, [this] { return row; }, &panel);
        view->PageFolder = dir.path();
        view->ProbeTimeoutMs = 800;
    }
    void Load(const std::vector<RecordFields>& rows, bool hundredths = false) {
        QVERIFY(LoadInto(rec, rows, hundredths));
        state.HundredthsData = hundredths;
        row = 0;
    }
    // ShowRouteOnMap, then waits for its end (the probe answers later).
    void ShowRoute() {
        QSignalSpy shown(view, &MapView::RouteShown);
        view->ShowRouteOnMap();
        if (shown.isEmpty()) shown.wait(ProbeWaitMs());
    }
    int ProbeWaitMs() const { return view->ProbeTimeoutMs + 5000; }
    // ShowRouteOnMap, then waits for the new page.
    bool ShowAndWait() {
        ShowRoute();
        if (!view->WebBrowserMap) return false;
        QSignalSpy loaded(view->WebBrowserMap, &QWebEngineView::loadFinished);
        return loaded.wait(kPageTimeoutMs) || !loaded.isEmpty();
    }
    QVariant Js(const QString& script) {
        auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
        view->WebBrowserMap->page()->runJavaScript(script, 0, [result](const QVariant& v) {
            *result = {true, v};
        });
        WaitFor([result] { return result->first; });
        return result->second;
    }
    QJsonObject Leaflet() {
        return QJsonDocument::fromJson(Js(kLeafletState).toString().toUtf8()).object();
    }
    bool ClickLeafletMarker() {
        return Js("marker ? (marker.fire('click'), true) : false").toBool();
    }
    QJsonObject Page() {
        return QJsonDocument::fromJson(
                   Js("window.standIn ? standIn.state() : '{}'").toString().toUtf8())
            .object();
    }
    QJsonArray Received() {
        return QJsonDocument::fromJson(
                   Js("JSON.stringify(window.received || [])").toString().toUtf8())
            .array();
    }
    // Waits until `count` commands have been answered by the page.
    bool Answered(QSignalSpy& spy, int count) {
        return WaitFor([&] { return spy.count() >= count; });
    }
};

QJsonObject PositionMarker(const QJsonObject& page) {
    for (const auto& m : page["markers"].toArray())
        if (m.toObject()["label"].isNull()) return m.toObject();
    return {};
}

QStringList Labels(const QJsonObject& page) {
    QStringList labels;
    for (const auto& m : page["markers"].toArray())
        if (!m.toObject()["label"].isNull()) labels << m.toObject()["label"].toString();
    labels.sort();
    return labels;
}

QStringList Forms(const QJsonArray& received) {
    QStringList forms;
    for (const auto& c : received)
        forms << c.toObject()["form"].toString() + "." + c.toObject()["button"].toString();
    return forms;
}

QString Content(const std::vector<RecordFields>& rows, int row, int selectMap) {
    Recording rec;
    LoadInto(rec, rows);
    rec.table.FindRecord(rec.rows[static_cast<size_t>(row)].TimeText());
    return QString::fromStdString(BuildMarkerContent(rec.table.Current(), selectMap));
}

}  // namespace

class MapViewTest : public QObject {
    Q_OBJECT

    QStringList messages;

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        InstallFontSubstitutes();
        SetMessageHook([this](const QString& title, const QString& text) {
            messages << title + "|" + text;
            return false;
        });
    }
    void init() { messages.clear(); }

    // ---- the local page ----------------------------------------------------------

    void localPageDrawsTheWholeFile() {
        MapFixture fx;
        fx.Load(FourRows());
        fx.view->FormShow();
        QCOMPARE(fx.state.MapPageAddress, fx.dir.filePath("NvGps_GoogleMap.html"));
        QVERIFY(fx.ShowAndWait());
        QVERIFY(QFileInfo::exists(fx.state.MapPageAddress));
        QVERIFY(fx.server.requests.contains("/maps/api/js?key=TESTKEY&sensor=false"));
        QVERIFY(fx.server.requests.contains("/probe"));

        const QJsonObject page = fx.Page();
        QCOMPARE(page["maps"].toInt(), 1);
        QCOMPARE(page["zoom"].toInt(), 12);
        QCOMPARE(page["center"].toArray(), Point(37.5, 127));
        QCOMPARE(page["scrollwheel"].toBool(true), false);
        QCOMPARE(page["mapTypeControlPosition"].toInt(), 12);  // RIGHT_TOP: the second entry wins
        QCOMPARE(page["infoMaxWidth"].toInt(), 280);
        const QJsonArray lines = page["lines"].toArray();
        QCOMPARE(lines.size(), 1);
        const QJsonObject red = lines[0].toObject();
        QCOMPARE(red["color"].toString(), QStringLiteral("#FF0000"));
        QCOMPARE(red["weight"].toInt(), 2);
        QCOMPARE(red["geodesic"].toBool(), true);
        QCOMPARE(red["points"].toInt(), 3);  // the GPS fault is left out
        QCOMPARE(red["first"].toArray(), Point(37.5, 127));
        QCOMPARE(red["last"].toArray(), Point(37.54, 127.04));
        QCOMPARE(Labels(page), (QStringList{"E", "S"}));
        for (const auto& m : page["markers"].toArray()) {
            const QJsonObject o = m.toObject();
            if (o["label"] == "S") QCOMPARE(o["at"].toArray(), Point(37.5, 127));
            if (o["label"] == "E") QCOMPARE(o["at"].toArray(), Point(37.54, 127.04));
        }
        QCOMPARE(PositionMarker(page)["at"].toArray(), Point(37.5, 127));
        QVERIFY(page["info"].isNull());

        QCOMPARE(fx.Js("standIn.clickMarker()").toBool(), true);
        const QJsonObject info = fx.Page()["info"].toObject();
        QCOMPARE(info["content"].toString(), Content(FourRows(), 0, 0));
        QCOMPARE(info["text"].toString(),
                 QStringLiteral("26-12-10 10:00:0050Km/h  *  1500RPM  *  B:OFF  *  D:10Km"));

        QVERIFY(fx.view->WebBrowserMap->isVisible());
        QVERIFY(!fx.view->LblMapMessage->isVisible());
        QVERIFY(fx.view->LblStartEndRoute->isVisible());
        QCOMPARE(fx.view->LblStartEndRoute->text(),
                 QStringLiteral("시작:26-12-10 10:00:00   종료:26-12-10 10:00:03"));
        QVERIFY(fx.state.MapReady);
    }

    void localPageOptions_data() {
        QTest::addColumn<bool>("noCarTrack");
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QJsonArray>("markerAt");  // empty: no position marker
        QTest::addColumn<bool>("routeLabel");
        QTest::newRow("no car track")
            << true << 0 << 0 << QStringList{} << Point(37.5, 127) << false;
        QTest::newRow("current row without position")
            << false << 1 << 1 << QStringList{"E", "S"} << QJsonArray{} << true;
        QTest::newRow("no car track, no position")
            << true << 1 << 0 << QStringList{} << QJsonArray{} << false;
        // After a settings change another row may be current: the marker
        // stands where its text says.
        QTest::newRow("later current row")
            << false << 2 << 1 << QStringList{"E", "S"} << Point(37.52, 127.02) << true;
    }
    void localPageOptions() {
        QFETCH(bool, noCarTrack);
        QFETCH(int, currentRow);
        QFETCH(int, lines);
        QFETCH(QStringList, labels);
        QFETCH(QJsonArray, markerAt);
        QFETCH(bool, routeLabel);
        MapFixture fx;
        fx.state.ViewerSettings.NoCarTrack = noCarTrack;
        fx.Load(FourRows());
        fx.row = currentRow;
        fx.view->FormShow();
        QVERIFY(fx.ShowAndWait());
        const QJsonObject page = fx.Page();
        QCOMPARE(page["maps"].toInt(), 1);
        QCOMPARE(page["lines"].toArray().size(), lines);
        QCOMPARE(Labels(page), labels);
        QCOMPARE(PositionMarker(page)["at"].toArray(), markerAt);
        if (!markerAt.isEmpty()) {
            QVERIFY(fx.Js("standIn.clickMarker()").toBool());
            QCOMPARE(fx.Page()["info"].toObject()["content"].toString(),
                     Content(FourRows(), currentRow, 0));
        }
        QCOMPARE(fx.view->LblStartEndRoute->isVisible(), routeLabel);
        QVERIFY(fx.view->WebBrowserMap->isVisible());
    }

    void onePointRoute() {
        MapFixture fx;
        fx.view->FormShow();
        fx.Load(FourRows());
        QVERIFY(fx.ShowAndWait());
        QCOMPARE(fx.Page()["lines"].toArray()[0].toObject()["points"].toInt(), 3);
        // The next file gets a fresh page at the same address.
        fx.Load({Row("100000", "037500000", "127000000")});
        QVERIFY(fx.ShowAndWait());
        const QJsonObject page = fx.Page();
        QCOMPARE(page["maps"].toInt(), 1);
        QCOMPARE(page["lines"].toArray().size(), 1);
        QCOMPARE(page["lines"].toArray()[0].toObject()["points"].toInt(), 1);
        for (const auto& m : page["markers"].toArray())
            QCOMPARE(m.toObject()["at"].toArray(), Point(37.5, 127));
        QCOMPARE(Labels(page), (QStringList{"E", "S"}));
    }

    void markerFollowsTheGrid() {
        MapFixture fx;
        fx.Load(FourRows());
        fx.view->FormShow();
        QVERIFY(fx.ShowAndWait());
        QSignalSpy answered(fx.view, &MapView::CommandAnswered);

        fx.row = 2;
        fx.view->GridTextViewFocusedRecordChanged();
        QVERIFY(fx.Answered(answered, 1));
        QCOMPARE(answered[0], (QVariantList{"gps", true}));
        QJsonObject page = fx.Page();
        QCOMPARE(PositionMarker(page)["at"].toArray(), Point(37.52, 127.02));
        QCOMPARE(page["center"].toArray(), Point(37.52, 127.02));
        QVERIFY(fx.Js("standIn.clickMarker()").toBool());
        QCOMPARE(fx.Page()["info"].toObject()["content"].toString(), Content(FourRows(), 2, 0));

        // A row without a position clears the marker and its balloon only.
        fx.row = 1;
        fx.view->GridTextViewFocusedRecordChanged();
        QVERIFY(fx.Answered(answered, 2));
        QCOMPARE(answered[1], (QVariantList{"marker", true}));
        page = fx.Page();
        QVERIFY(PositionMarker(page).isEmpty());
        QVERIFY(page["info"].isNull());
        QCOMPARE(page["lines"].toArray().size(), 1);
        QCOMPARE(Labels(page), (QStringList{"E", "S"}));
    }

    void fileTextStaysText() {
        // Quotes, angle brackets and a backslash in the stamp of a damaged file.
        RecordFields odd = Row("100000", "037500000", "127000000");
        odd.date = "'\"<b>\\";
        odd.time = "</i>&;";
        const std::vector<RecordFields> rows{odd, Row("100001", "037510000", "127010000")};
        const QString shown =
            QStringLiteral("'\"-<b->\\ </:i>:&;50Km/h  *  1500RPM  *  B:OFF  *  D:10Km");
        MapFixture fx;
        fx.Load(rows);
        fx.view->FormShow();
        QVERIFY(fx.ShowAndWait());
        QCOMPARE(fx.Page()["lines"].toArray().size(), 1);  // the page's script ran whole
        QVERIFY(fx.Js("standIn.clickMarker()").toBool());
        QJsonObject info = fx.Page()["info"].toObject();
        QCOMPARE(info["text"].toString(), shown);
        QCOMPARE(info["elements"].toInt(), 1);  // the <br> and nothing else

        // The same text through the form command.
        QSignalSpy answered(fx.view, &MapView::CommandAnswered);
        fx.row = 1;
        fx.view->GridTextViewFocusedRecordChanged();
        fx.row = 0;
        fx.view->GridTextViewFocusedRecordChanged();
        QVERIFY(fx.Answered(answered, 2));
        QVERIFY(fx.Js("standIn.clickMarker()").toBool());
        info = fx.Page()["info"].toObject();
        QCOMPARE(info["content"].toString(), Content(rows, 0, 0));
        QCOMPARE(info["text"].toString(), shown);
        QCOMPARE(info["elements"].toInt(), 1);
        QCOMPARE(fx.view->LblStartEndRoute->textFormat(), Qt::PlainText);
    }

    void chosenRouteReplacesOnlyTheEarlierBlue() {
        std::vector<RecordFields> rows = FourRows();
        rows.push_back(Row("100004", "037550000", "127050000"));
        rows.push_back(Row("100005", "037560000", "127060000"));
        MapFixture fx;
        fx.Load(rows);
        fx.view->FormShow();
        QVERIFY(fx.ShowAndWait());
        QSignalSpy sent(fx.view, &MapView::CommandSent);
        QSignalSpy answered(fx.view, &MapView::CommandAnswered);
        QStringList asked;
        int result = 1;
        QString chosenStart, chosenEnd;
        fx.view->AskRouteTime = [&](QString& start, QString& end) {
            asked << start + "~" + end;
            start = chosenStart;
            end = chosenEnd;
            return result;
        };
        auto choose = [&](const char* s, const char* e, int r = 1) {
            chosenStart = s;
            chosenEnd = e;
            result = r;
            fx.view->LblStartEndRouteDblClick();
        };

        choose("10:00:01", "10:00:04");
        QCOMPARE(asked, QStringList{"10:00:00~10:00:05"});
        QVERIFY(fx.Answered(answered, 1));
        choose("10:00:02", "10:00:05");
        QVERIFY(fx.Answered(answered, 2));
        QCOMPARE(answered[1], (QVariantList{"route", true}));
        QJsonObject page = fx.Page();
        const QJsonArray lines = page["lines"].toArray();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].toObject()["color"].toString(), QStringLiteral("#FF0000"));
        QCOMPARE(lines[0].toObject()["points"].toInt(), 5);
        const QJsonObject blue = lines[1].toObject();
        QCOMPARE(blue["color"].toString(), QStringLiteral("blue"));
        QCOMPARE(blue["weight"].toInt(), 3);
        QCOMPARE(blue["points"].toInt(), 4);
        QCOMPARE(blue["first"].toArray(), Point(37.52, 127.02));
        QCOMPARE(blue["last"].toArray(), Point(37.56, 127.06));
        QCOMPARE(page["center"].toArray(), Point(37.52, 127.02));
        QCOMPARE(Labels(page), (QStringList{"E", "S"}));
        QCOMPARE(fx.view->LblStartEndRoute->text(),
                 QStringLiteral("시작:26-12-10 10:00:02   종료:26-12-10 10:00:05"));
        QCOMPARE(QString::fromStdString(fx.view->RouteLatLngStr),
                 QStringLiteral("37.52, 127.02,37.54, 127.04,37.55, 127.05,37.56, 127.06"));

        // A stretch without positions, and Cancel, change nothing.
        const int before = sent.count();
        choose("10:00:01", "10:00:01");
        choose("10:00:00", "10:00:05", 0);
        QCOMPARE(sent.count(), before);
        QCOMPARE(fx.view->LblStartEndRoute->text(),
                 QStringLiteral("시작:26-12-10 10:00:02   종료:26-12-10 10:00:05"));

        // 0.01-second files have no route window.
        asked.clear();
        fx.state.HundredthsData = true;
        fx.view->LblStartEndRouteDblClick();
        QVERIFY(asked.isEmpty());
    }

    // The connection probe never holds the window: ShowRouteOnMap returns at
    // once, the answer comes later, and a newer call wins over an older
    // probe still out.
    void probeAnswersLaterAndTheNewestWins() {
        MapFixture fx;
        Route slow;
        slow.silent = true;
        fx.server.routes["/slow"] = slow;
        fx.state.ViewerSettings.MapProbeUrl = fx.server.Url("/slow").toStdString();
        fx.Load(FourRows());
        fx.view->FormShow();
        QSignalSpy shown(fx.view, &MapView::RouteShown);
        fx.view->ShowRouteOnMap();
        QCOMPARE(shown.count(), 0);  // back before the probe has answered
        QVERIFY(!fx.state.MapReady);
        QVERIFY(shown.wait(fx.ProbeWaitMs()));
        QCOMPARE(shown.at(0).at(0).toBool(), false);
        QCOMPARE(fx.view->LblMapMessage->text(), QString::fromUtf8(kNoInternetMessage));

        // A slow probe, then a newer one that answers: the slow one's
        // time-out must not undo the newer route.
        shown.clear();
        fx.view->ShowRouteOnMap();
        fx.state.ViewerSettings.MapProbeUrl = fx.server.Url("/probe").toStdString();
        fx.view->ShowRouteOnMap();
        QVERIFY(shown.wait(fx.ProbeWaitMs()));
        QVERIFY(fx.state.MapReady);
        QTest::qWait(fx.view->ProbeTimeoutMs + 500);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toBool(), true);
        QVERIFY(!fx.view->LblMapMessage->isVisible());
    }

    void messagesInsteadOfAMap_data() {
        QTest::addColumn<bool>("gpsView");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("positions");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("message");
        QTest::newRow("map not used")
            << false << true << true << true << QString::fromUtf8(kMapNotUsedMessage);
        QTest::newRow("no internet")
            << true << false << true << true << QString::fromUtf8(kNoInternetMessage);
        QTest::newRow("no positions")
            << true << true << false << true << QString::fromUtf8(kNoPositionMessage);
        QTest::newRow("page not writable")
            << true << true << true << false << QString::fromUtf8(kMapPageNotWrittenMessage);
    }
    void messagesInsteadOfAMap() {
        QFETCH(bool, gpsView);
        QFETCH(bool, online);
        QFETCH(bool, positions);
        QFETCH(bool, writable);
        QFETCH(QString, message);
        MapFixture fx;
        fx.state.ViewerSettings.GpsView = gpsView;
        if (!online)
            fx.state.ViewerSettings.MapProbeUrl = LoopbackServer::RefusedUrl("/").toStdString();
        if (!writable) {
            QFile blocker(fx.dir.filePath("file"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            fx.view->PageFolder = fx.dir.filePath("file/below-a-file");
        }
        std::vector<RecordFields> rows = FourRows();
        if (!positions)
            for (RecordFields& r : rows)
                r.state = "11";
        fx.Load(rows);
        fx.view->FormShow();
        QSignalSpy sent(fx.view, &MapView::CommandSent);
        fx.ShowRoute();
        QCOMPARE(fx.view->LblMapMessage->text(), message);
        QVERIFY(fx.view->LblMapMessage->isVisible());
        QVERIFY(!fx.view->WebBrowserMap || !fx.view->WebBrowserMap->isVisible());
        QVERIFY(!fx.view->LblStartEndRoute->isVisible());
        QVERIFY(!fx.state.MapReady);
        QVERIFY(!QFileInfo::exists(fx.state.MapPageAddress));
        fx.row = 2;
        fx.view->GridTextViewFocusedRecordChanged();
        QCOMPARE(sent.count(), 0);

        fx.view->ClearView();
        QCOMPARE(fx.view->LblMapMessage->text(), QString::fromUtf8(kNoDataMessage));
        QVERIFY(fx.view->LblMapMessage->isVisible());
    }

    void pageGoesToAPerUserFolder() {
        MapFixture fx;
        fx.view->PageFolder.clear();
        fx.view->FormShow();
        const QFileInfo page(fx.state.MapPageAddress);
        QCOMPARE(page.fileName(), QStringLiteral("NvGps_GoogleMap.html"));
        QCOMPARE(page.absolutePath(),
                 QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
        QVERIFY(QFileInfo(page.absolutePath()).isWritable());
    }

    // ---- the keyless page (Leaflet) ------------------------------------------------

    void keylessPageDrawsTheWholeFile() {
        MapFixture fx(kSelectMapKeyless);
        fx.Load(FourRows());
        fx.view->FormShow();
        QCOMPARE(fx.state.MapPageAddress, fx.dir.filePath("NvGps_OsmMap.html"));
        QVERIFY(fx.ShowAndWait());
        QVERIFY(QFileInfo::exists(fx.dir.filePath("leaflet.js")));
        QVERIFY(QFileInfo::exists(fx.dir.filePath("leaflet.css")));
        QVERIFY(!fx.server.requests.contains("/probe"));  // no probe for this page
        QVERIFY(!fx.view->TimerLoadMap->isActive());
        fx.view->StartLoadTimer();
        QVERIFY(!fx.view->TimerLoadMap->isActive());

        QJsonObject page = fx.Leaflet();
        QCOMPARE(page["maps"].toInt(), 1);
        QCOMPARE(page["zoom"].toInt(), 12);
        QVERIFY(Near(page["center"].toArray(), 37.5, 127));
        QCOMPARE(page["scrollwheel"].toBool(true), false);
        const QJsonArray lines = page["lines"].toArray();
        QCOMPARE(lines.size(), 1);
        const QJsonObject red = lines[0].toObject();
        QCOMPARE(red["color"].toString(), QStringLiteral("#FF0000"));
        QCOMPARE(red["weight"].toInt(), 2);
        QCOMPARE(red["points"].toInt(), 3);
        QCOMPARE(red["first"].toArray(), Point(37.5, 127));
        QCOMPARE(red["last"].toArray(), Point(37.54, 127.04));
        QVERIFY(red["drawn"].toBool());
        QCOMPARE(Labels(page), (QStringList{"E", "S"}));
        for (const auto& m : page["markers"].toArray()) {
            const QJsonObject o = m.toObject();
            QVERIFY(o["shown"].toBool());
            if (o["label"] == "E") QCOMPARE(o["at"].toArray(), Point(37.54, 127.04));
        }
        QCOMPARE(PositionMarker(page)["at"].toArray(), Point(37.5, 127));
        QVERIFY(page["info"].isNull());
        QVERIFY(page["attribution"].toString().contains("© OpenStreetMap contributors"));

        // Tiles come from the tile address at the page's zoom, and cover the view.
        QVERIFY(WaitFor([&] { return fx.Leaflet()["tilesLoaded"].toInt() > 0; }));
        QVERIFY(
            fx.server.requests.filter(QRegularExpression("^/tiles/12/\\d+/\\d+\\.png$")).size() >
            0);
        QCOMPARE(fx.Leaflet()["note"].toString(), QStringLiteral("none"));

        QVERIFY(fx.ClickLeafletMarker());
        const QJsonObject info = fx.Leaflet()["info"].toObject();
        QCOMPARE(info["content"].toString(), Content(FourRows(), 0, kSelectMapKeyless));
        QCOMPARE(info["text"].toString(),
                 QStringLiteral("26-12-10 10:00:0050Km/h  *  1500RPM  *  B:OFF  *  D:10Km"));

        QVERIFY(fx.view->WebBrowserMap->isVisible());
        QVERIFY(fx.view->LblStartEndRoute->isVisible());
        QVERIFY(fx.state.MapReady);

        // A larger panel (the enlarged map) gives a larger map.
        const int before = fx.Leaflet()["size"].toArray()[1].toInt();
        fx.panel.resize(800, 900);
        QVERIFY(WaitFor([&] { return fx.Leaflet()["size"].toArray()[1].toInt() > before; }));
        QCOMPARE(fx.Leaflet()["size"].toArray()[1].toInt(), 900);
    }

    void keylessPageCommands_data() {
        QTest::addColumn<bool>("noCarTrack");
        QTest::newRow("whole-file line") << false;
        QTest::newRow("no car track") << true;
    }
    void keylessPageCommands() {
        QFETCH(bool, noCarTrack);
        std::vector<RecordFields> rows = FourRows();
        rows.push_back(Row("100004", "037550000", "127050000"));
        rows.push_back(Row("100005", "037560000", "127060000"));
        MapFixture fx(kSelectMapKeyless);
        fx.state.ViewerSettings.NoCarTrack = noCarTrack;
        fx.Load(rows);
        fx.view->FormShow();
        QVERIFY(fx.ShowAndWait());
        QJsonObject page = fx.Leaflet();
        QCOMPARE(page["lines"].toArray().size(), noCarTrack ? 0 : 1);
        QCOMPARE(Labels(page), (noCarTrack ? QStringList() : QStringList{"E", "S"}));
        QCOMPARE(PositionMarker(page)["at"].toArray(), Point(37.5, 127));
        QCOMPARE(fx.view->LblStartEndRoute->isVisible(), !noCarTrack);

        // The marker follows the grid; a row without a position clears it.
        QSignalSpy answered(fx.view, &MapView::CommandAnswered);
        fx.row = 2;
        fx.view->GridTextViewFocusedRecordChanged();
        QVERIFY(fx.Answered(answered, 1));
        QCOMPARE(answered[0], (QVariantList{"gps", true}));
        page = fx.Leaflet();
        QCOMPARE(PositionMarker(page)["at"].toArray(), Point(37.52, 127.02));
        QVERIFY(Near(page["center"].toArray(), 37.52, 127.02));
        QVERIFY(fx.ClickLeafletMarker());
        QCOMPARE(fx.Leaflet()["info"].toObject()["content"].toString(),
                 Content(rows, 2, kSelectMapKeyless));
        fx.row = 1;
        fx.view->GridTextViewFocusedRecordChanged();
        QVERIFY(fx.Answered(answered, 2));
        QCOMPARE(answered[1], (QVariantList{"marker", true}));
        page = fx.Leaflet();
        QVERIFY(PositionMarker(page).isEmpty());
        QVERIFY(page["info"].isNull());
        QCOMPARE(page["lines"].toArray().size(), noCarTrack ? 0 : 1);

        // A chosen route is blue and replaces only the earlier blue one.
        int chosen = 0;
        fx.view->AskRouteTime = [&](QString& start, QString& end) {
            start = chosen++ ? "10:00:02" : "10:00:01";
            end = chosen > 1 ? "10:00:05" : "10:00:04";
            return 1;
        };
        fx.view->LblStartEndRouteDblClick();
        QVERIFY(fx.Answered(answered, 3));
        fx.view->LblStartEndRouteDblClick();
        QVERIFY(fx.Answered(answered, 4));
        QCOMPARE(answered[3], (QVariantList{"route", true}));
        page = fx.Leaflet();
        const QJsonArray lines = page["lines"].toArray();
        QCOMPARE(lines.size(), noCarTrack ? 1 : 2);
        if (!noCarTrack)
            QCOMPARE(lines[0].toObject()["color"].toString(), QStringLiteral("#FF0000"));
        const QJsonObject blue = lines.last().toObject();
        QCOMPARE(blue["color"].toString(), QStringLiteral("blue"));
        QCOMPARE(blue["weight"].toInt(), 3);
        QCOMPARE(blue["points"].toInt(), 4);
        QCOMPARE(blue["first"].toArray(), Point(37.52, 127.02));
        QCOMPARE(blue["last"].toArray(), Point(37.56, 127.06));
        QVERIFY(Near(page["center"].toArray(), 37.52, 127.02));
        QCOMPARE(Labels(page), (QStringList{"E", "S"}));

        // Clearing the chosen route leaves the whole-file line.
        fx.view->WebBrowserMap->page()->runJavaScript(
            QString::fromStdString(FormCommandScript(ClearRouteCommand())));
        QVERIFY(WaitFor(
            [&] { return fx.Leaflet()["lines"].toArray().size() == (noCarTrack ? 0 : 1); }));
    }

    void keylessPageKeepsFileTextAsText() {
        RecordFields odd = Row("100000", "037500000", "127000000");
        odd.date = "'\"<b>\\";
        odd.time = "</i>&;";
        const std::vector<RecordFields> rows{odd, Row("100001", "037510000", "127010000")};
        const QString shown =
            QStringLiteral("'\"-<b->\\ </:i>:&;50Km/h  *  1500RPM  *  B:OFF  *  D:10Km");
        MapFixture fx(kSelectMapKeyless);
        // A tile address with quotes and a closing tag stays a string.
        fx.state.ViewerSettings.MapTileUrl =
            (fx.server.Url("/tiles/{z}/{x}/{y}.png") + "?a='</script><b>\"").toStdString();
        fx.Load(rows);
        fx.view->FormShow();
        QVERIFY(fx.ShowAndWait());
        QCOMPARE(fx.Leaflet()["lines"].toArray().size(), 1);  // the page's script ran whole
        QVERIFY(fx.ClickLeafletMarker());
        QJsonObject info = fx.Leaflet()["info"].toObject();
        QCOMPARE(info["text"].toString(), shown);
        QCOMPARE(info["elements"].toInt(), 1);  // the <br> and nothing else

        QSignalSpy answered(fx.view, &MapView::CommandAnswered);
        fx.row = 1;
        fx.view->GridTextViewFocusedRecordChanged();
        fx.row = 0;
        fx.view->GridTextViewFocusedRecordChanged();
        QVERIFY(fx.Answered(answered, 2));
        QVERIFY(fx.ClickLeafletMarker());
        info = fx.Leaflet()["info"].toObject();
        QCOMPARE(info["text"].toString(), shown);
        QCOMPARE(info["elements"].toInt(), 1);
        QVERIFY(WaitFor([&] { return fx.Leaflet()["tilesLoaded"].toInt() > 0; }));
    }

    void keylessPageWithoutTiles() {
        MapFixture fx(kSelectMapKeyless);
        fx.state.ViewerSettings.MapTileUrl =
            LoopbackServer::RefusedUrl("/tiles/{z}/{x}/{y}.png").toStdString();
        fx.Load(FourRows());
        fx.view->FormShow();
        QVERIFY(fx.ShowAndWait());
        QVERIFY(fx.view->WebBrowserMap->isVisible());
        QVERIFY(WaitFor([&] { return fx.Leaflet()["note"].toString() == "block"; }));
        const QJsonObject page = fx.Leaflet();
        QCOMPARE(page["tilesLoaded"].toInt(), 0);
        QCOMPARE(page["lines"].toArray().size(), 1);
        QVERIFY(page["lines"].toArray()[0].toObject()["drawn"].toBool());
        QCOMPARE(Labels(page), (QStringList{"E", "S"}));
        for (const auto& m : page["markers"].toArray())
            QVERIFY(m.toObject()["shown"].toBool());
        QCOMPARE(fx.Js("document.getElementById('tile-note').textContent").toString(),
                 QString::fromUtf8(kTilesUnavailableNote));
        QVERIFY(fx.ClickLeafletMarker());
        QCOMPARE(fx.Leaflet()["info"].toObject()["content"].toString(),
                 Content(FourRows(), 0, kSelectMapKeyless));
        QVERIFY(fx.state.MapReady);
    }

    void fullDayRoute() {
        // 86,400 seconds, every one a point: no thinning.
        std::string bytes = MakeHeader() + "\r\n";
        char line[96];
        for (int i = 0; i < 86400; ++i) {
            std::snprintf(line, sizeof line,
                          "%04d%07d261210%02d%02d%02d00%03d%04d0%09d%09d090+01.50-00.2000\r\n",
                          i % 10000, 100000 + i, i / 3600, i / 60 % 60, i % 60, i / 7 % 120, 1500,
                          126900000 + i, 37500000 + i / 2);
            bytes += line;
        }
        MapFixture fx;
        LoadOptions o;
        o.upperName = "20261210-12345678-02.TXT";
        o.pivotYear = 2026;
        QVERIFY(LoadRecordingBytes(bytes, o, fx.rec).ok());
        QCOMPARE(fx.rec.rows.size(), size_t(86400));
        fx.view->FormShow();
        QVERIFY(fx.ShowAndWait());
        QCOMPARE(fx.Page()["lines"].toArray()[0].toObject()["points"].toInt(), 86400);

        // The marker follows every row the grid passes through.
        QSignalSpy answered(fx.view, &MapView::CommandAnswered);
        for (fx.row = 1; fx.row <= 300; ++fx.row)
            fx.view->GridTextViewFocusedRecordChanged();
        QVERIFY(fx.Answered(answered, 300));
        for (const auto& a : answered)
            QCOMPARE(a, (QVariantList{"gps", true}));
        QCOMPARE(PositionMarker(fx.Page())["at"].toArray(), Point(37.50015, 126.9003));
    }

    // ---- remote pages -------------------------------------------------------------

    void remoteStartupProbe_data() {
        QTest::addColumn<int>("selectMap");
        QTest::addColumn<QString>("answer");  // a status, "silent" or "refused"
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("path");
        QTest::newRow("200") << 1 << "200" << true << "/files/NvGps_GoogleMap.html";
        QTest::newRow("401") << 3 << "401" << true << "/files/NvGps_NaverMap.html";
        QTest::newRow("404") << 2 << "404" << false << "/files/NvGps_KakaoMap.html";
        QTest::newRow("500") << -1 << "500" << false << "/files/NvGps_KakaoMap.html";
        QTest::newRow("no answer") << 4 << "silent" << false << "/files/NvGps_KakaoMap.html";
        QTest::newRow("refused") << 1 << "refused" << false << "";
    }
    void remoteStartupProbe() {
        QFETCH(int, selectMap);
        QFETCH(QString, answer);
        QFETCH(bool, available);
        QFETCH(QString, path);
        MapFixture fx(selectMap);
        Route route{200, Fixture("remote-page.html")};
        if (answer == "silent")
            route.silent = true;
        else if (answer != "refused")
            route.status = answer.toInt();
        fx.server.routes[path] = route;
        if (answer == "refused")
            fx.state.ViewerSettings.MapServerUrl = LoopbackServer::RefusedUrl("").toStdString();
        QElapsedTimer clock;
        clock.start();
        fx.view->FormShow();
        QVERIFY(clock.elapsed() < 10000);  // bounded by the probe's timeout, never a hang
        QCOMPARE(fx.state.MapAvailable, available);
        QVERIFY(fx.state.MapPageLoading);
        if (!path.isEmpty()) QCOMPARE(fx.server.requests.value(0), path);
        QCOMPARE(fx.view->LblMapMessage->isVisible(), !available);
        QCOMPARE(fx.view->WebBrowserMap && fx.view->WebBrowserMap->isVisible(), available);
        if (!available)
            QCOMPARE(fx.view->LblMapMessage->text(), QString::fromUtf8(kMapStartFailedMessage));
        fx.view->StartLoadTimer();
        QCOMPARE(fx.view->TimerLoadMap->isActive(), selectMap > 0);

        // A page that failed at start-up is never tried again.
        fx.Load(FourRows());
        const int requests = fx.server.requests.size();
        fx.view->ShowRouteOnMap();
        if (!available) {
            QCOMPARE(fx.server.requests.size(), requests);
            QVERIFY(!fx.state.MapReady);
        }
    }

    void remoteCommands_data() {
        QTest::addColumn<int>("selectMap");
        QTest::addColumn<bool>("noCarTrack");
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<QStringList>("forms");
        const QStringList both{"first.BtnFirstShowRoute", "gps.BtnShowMarker"};
        const QStringList clear{"fline.BtnClearFirstRoute", "line.BtnClearRoute",
                                "markers.BtnRemoveMarkers"};
        QTest::newRow("route and marker") << 1 << false << 0 << both;
        QTest::newRow("bracketed marker text") << 3 << false << 2 << both;
        QTest::newRow("no position marker")
            << 1 << false << 1 << QStringList{"first.BtnFirstShowRoute", "marker.BtnClearMarker"};
        QTest::newRow("no car track") << 1 << true << 0 << clear + QStringList{"gps.BtnShowMarker"};
    }
    void remoteCommands() {
        QFETCH(int, selectMap);
        QFETCH(bool, noCarTrack);
        QFETCH(int, currentRow);
        QFETCH(QStringList, forms);
        MapFixture fx(selectMap);
        fx.state.ViewerSettings.NoCarTrack = noCarTrack;
        fx.view->FormShow();
        QVERIFY(WaitFor([&] { return !fx.state.MapPageLoading; }));
        QSignalSpy answered(fx.view, &MapView::CommandAnswered);
        fx.Load(FourRows());
        fx.row = currentRow;
        fx.ShowRoute();
        QVERIFY(fx.state.MapReady);
        QVERIFY(fx.Answered(answered, forms.size()));
        const QJsonArray received = fx.Received();
        QCOMPARE(Forms(received), forms);
        for (const auto& c : received) {
            const QJsonObject o = c.toObject();
            if (o["form"] == "first")
                QCOMPARE(o["values"].toObject()["LatLngStr"].toString(),
                         QStringLiteral("37.5, 127,37.52, 127.02,37.54, 127.04"));
            if (o["form"] == "gps") {
                QCOMPARE(o["values"].toObject()["Latlng"].toString(),
                         currentRow == 2 ? QStringLiteral("37.520000,127.020000")
                                         : QStringLiteral("37.500000,127.000000"));
                QCOMPARE(o["values"].toObject()["Content"].toString(),
                         Content(FourRows(), currentRow, selectMap));
            }
        }
        QCOMPARE(fx.view->LblStartEndRoute->isVisible(), !noCarTrack);
    }

    void remoteCommandsWaitForThePage() {
        MapFixture fx(1);
        fx.server.routes["/files/NvGps_GoogleMap.html"].browserDelayMs = 2500;
        QSignalSpy sent(fx.view, &MapView::CommandSent);
        QSignalSpy answered(fx.view, &MapView::CommandAnswered);
        fx.view->FormShow();
        QVERIFY(fx.state.MapAvailable);
        fx.view->StartLoadTimer();
        fx.Load(FourRows());
        fx.ShowRoute();  // the page is still loading: the texts wait
        QVERIFY(fx.state.MapReady);
        QCOMPARE(sent.count(), 0);
        QVERIFY(WaitFor([&] { return !fx.view->TimerLoadMap->isActive(); }, 5000));
        QVERIFY(fx.state.MapPageLoading);  // fired while the page still loads
        QCOMPARE(sent.count(), 0);
        QVERIFY(fx.Answered(answered, 2));
        QVERIFY(!fx.state.MapPageLoading);
        QCOMPARE(Forms(fx.Received()),
                 (QStringList{"first.BtnFirstShowRoute", "gps.BtnShowMarker"}));
        for (const auto& a : answered)
            QCOMPARE(a.at(1).toBool(), true);

        // The timer fired once: nothing more comes by itself.
        QTest::qWait(1500);
        QCOMPARE(sent.count(), 2);
        fx.row = 2;
        fx.view->GridTextViewFocusedRecordChanged();
        QVERIFY(fx.Answered(answered, 3));
        QCOMPARE(Forms(fx.Received()).size(), 3);

        // A second document (a link followed inside the page) leaves the
        // loading state alone.
        QSignalSpy loaded(fx.view->WebBrowserMap, &QWebEngineView::loadFinished);
        fx.Js("location.href = location.href + '?again'");
        QVERIFY(loaded.wait(kPageTimeoutMs));
        QVERIFY(!fx.state.MapPageLoading);
    }

    void remoteTimerWithoutAFileClearsThePage() {
        MapFixture fx(1);
        QSignalSpy answered(fx.view, &MapView::CommandAnswered);
        fx.view->FormShow();
        fx.view->StartLoadTimer();
        QVERIFY(fx.Answered(answered, 4));
        QCOMPARE(Forms(fx.Received()),
                 (QStringList{"fline.BtnClearFirstRoute", "line.BtnClearRoute",
                              "markers.BtnRemoveMarkers", "marker.BtnClearMarker"}));
        QVERIFY(!fx.view->TimerLoadMap->isActive());
    }

    // ---- route time window --------------------------------------------------------------

    void routeTimeWindow_data() {
        QTest::addColumn<QString>("givenStart");
        QTest::addColumn<QString>("givenEnd");
        QTest::addColumn<QString>("startEdit");  // empty: left as shown
        QTest::addColumn<QString>("endEdit");
        QTest::addColumn<QString>("error");  // empty: accepted
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        const QString startMsg =
            QStringLiteral("오류!|") + QString::fromUtf8(kRouteStartOutsideMessage);
        const QString endMsg =
            QStringLiteral("오류!|") + QString::fromUtf8(kRouteEndOutsideMessage);
        QTest::newRow("unchanged") << "06:12:30"
                                   << "17:45:10"
                                   << ""
                                   << ""
                                   << ""
                                   << "06:12:30"
                                   << "17:45:10";
        QTest::newRow("start 08:10") << "06:12:30"
                                     << "17:45:10"
                                     << "08:10"
                                     << ""
                                     << ""
                                     << "08:10:00"
                                     << "17:45:10";
        QTest::newRow("end 09:00") << "06:12:30"
                                   << "17:45:10"
                                   << ""
                                   << "09:00"
                                   << ""
                                   << "06:12:30"
                                   << "09:00:59";
        QTest::newRow("end equals start") << "06:12:30"
                                          << "17:45:10"
                                          << "08:10"
                                          << "08:10"
                                          << ""
                                          << "08:10:00"
                                          << "08:10:59";
        QTest::newRow("start after end") << "06:12:30"
                                         << "17:45:10"
                                         << "08:10"
                                         << "08:05" << endMsg << ""
                                         << "";
        QTest::newRow("start before the file") << "06:12:30"
                                               << "17:45:10"
                                               << "00:00"
                                               << "" << startMsg << ""
                                               << "";
        QTest::newRow("past midnight") << "23:50:00"
                                       << "00:10:00"
                                       << ""
                                       << "" << startMsg << ""
                                       << "";
    }
    void routeTimeWindow() {
        QFETCH(QString, givenStart);
        QFETCH(QString, givenEnd);
        QFETCH(QString, startEdit);
        QFETCH(QString, endEdit);
        QFETCH(QString, error);
        QFETCH(QString, start);
        QFETCH(QString, end);
        TFrmEnterRouteTime w;
        w.StartTime = givenStart;
        w.EndTime = givenEnd;
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("경로 시간 입력"));
        QCOMPARE(w.TEdtStartTime->text(), givenStart.left(5));
        QCOMPARE(w.TEdtEndTime->text(), givenEnd.left(5));
        if (!startEdit.isEmpty()) w.TEdtStartTime->setTime(QTime::fromString(startEdit, "HH:mm"));
        if (!endEdit.isEmpty()) w.TEdtEndTime->setTime(QTime::fromString(endEdit, "HH:mm"));
        w.BtnOkClick();
        if (error.isEmpty()) {
            QVERIFY(messages.isEmpty());
            QCOMPARE(w.result(), 1);
            QVERIFY(!w.isVisible());
            QCOMPARE(w.StartTime, start);
            QCOMPARE(w.EndTime, end);
        } else {
            QCOMPARE(messages, QStringList{error});
            QVERIFY(w.isVisible());
            QCOMPARE(w.StartTime, givenStart);  // nothing given back yet
            QCOMPARE(w.focusWidget(), error.contains(QString::fromUtf8(kRouteStartOutsideMessage))
                                          ? static_cast<QWidget*>(w.TEdtStartTime)
                                          : static_cast<QWidget*>(w.TEdtEndTime));
        }
    }

    void routeTimeWindowKeysAndButtons() {
        TFrmEnterRouteTime w;
        w.StartTime = "06:12:30";
        w.EndTime = "17:45:10";
        w.show();
        QCOMPARE(w.BtnOk->text(), QStringLiteral("입력"));
        QCOMPARE(w.BtnCancel->text(), QStringLiteral("취소"));
        QTest::keyClick(w.TEdtStartTime, Qt::Key_Return);
        QCOMPARE(w.focusWidget(), static_cast<QWidget*>(w.TEdtEndTime));
        QVERIFY(w.isVisible());
        QTest::keyClick(w.TEdtEndTime, Qt::Key_Enter);
        QCOMPARE(w.focusWidget(), static_cast<QWidget*>(w.BtnOk));
        QVERIFY(w.isVisible());
        w.BtnCancel->click();
        QCOMPARE(w.result(), int(QDialog::Rejected));

        // Modal use: OK with the edits as shown gives the file's own seconds;
        // Cancel leaves the times alone.
        for (bool ok : {true, false}) {
            QString s = "06:12:30", e = "17:45:10";
            QTimer::singleShot(0, [ok] {
                auto* d = qobject_cast<TFrmEnterRouteTime*>(QApplication::activeModalWidget());
                if (d) (ok ? d->BtnOk : d->BtnCancel)->click();
            });
            QCOMPARE(EnterRouteTime(nullptr, s, e), ok ? 1 : 0);
            QCOMPARE(s, QStringLiteral("06:12:30"));
            QCOMPARE(e, QStringLiteral("17:45:10"));
        }
    }

    // ---- in the main window ----------------------------------------------------------

    void mainWindowMapPanel() {
        QTemporaryDir dir;
        LoopbackServer server;
        server.routes["/maps/api/js"] =
            Route{200, Fixture("standin-maps.js"), "application/javascript"};
        QDir(dir.path()).mkpath("data");
        auto write = [&](const QString& name, const std::string& bytes) {
            QFile f(dir.filePath("data/" + name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        };
        std::string file = MakeHeader() + "\r\n";
        for (const RecordFields& r : FourRows())
            file += MakeRecord(r) + "\r\n";
        write("20261210-12345678-02.TXT", file);
        RecordFields bad;
        bad.rpm = "12x4";
        write("20261211-12345678-02.TXT",
              test::TextFile(MakeHeader(), {MakeRecord(bad), MakeRecord(bad)}));

        AppState state;
        LoadSettings(state, dir.path(), dir.filePath("ONDAVIA.INI"));
        state.ViewerSettings.DataFilePath = (dir.path() + "/data/").toStdString();
        state.ViewerSettings.GpsView = true;
        state.ViewerSettings.MapScriptUrl = server.Url("/maps/api/js").toStdString();
        TFrmOndavia w(state);
        w.Map()->PageFolder = dir.path();
        w.Map()->ProbeTimeoutMs = 800;
        w.show();
        w.Map()->FormShow();
        QSignalSpy shown(w.Map(), &MapView::RouteShown);
        w.LayoutMainWindow(QRect(0, 0, 1366, 738));  // opens the first file
        // The file is shown at once; the map follows when the probe answers.
        QVERIFY(ondavia::test::Child<QTableView>(w, "GridTextView")->model()->rowCount() > 0);
        QVERIFY(!shown.isEmpty() || shown.wait(5000));
        QVERIFY(w.Map()->WebBrowserMap);
        QVERIFY(WaitFor([&] { return !state.MapPageLoading; }));
        QVERIFY(state.MapReady);
        QVERIFY(w.Map()->WebBrowserMap->isVisible());

        // Moving in the grid moves the marker.
        QSignalSpy answered(w.Map(), &MapView::CommandAnswered);
        ondavia::test::Child<QTableView>(w, "GridTextView")
            ->setCurrentIndex(
                ondavia::test::Child<QTableView>(w, "GridTextView")->model()->index(3, 2));
        QVERIFY(WaitFor([&] { return answered.count() >= 1; }));
        QCOMPARE(answered[0], (QVariantList{"gps", true}));

        // The enlarged map covers the chart beside the grid, and back.
        const QRect lower = ondavia::test::Child<QWidget>(w, "PanelMap")->geometry();
        QCOMPARE(w.Map()->BtnMapWide->text(), QStringLiteral("지도확대"));
        QVERIFY(w.Map()->BtnMapWide->isEnabled());
        w.Map()->BtnMapWide->click();
        QCOMPARE(w.Map()->BtnMapWide->text(), QStringLiteral("지도축소"));
        QCOMPARE(ondavia::test::Child<QWidget>(w, "PanelMap")->y(),
                 ondavia::test::Child<QWidget>(w, "PanelChart")->y());
        QCOMPARE(ondavia::test::Child<QWidget>(w, "PanelMap")->height(),
                 ondavia::test::Child<QWidget>(w, "PanelChart")->height() + lower.height());
        QCOMPARE(w.Map()->WebBrowserMap->height(),
                 ondavia::test::Child<QWidget>(w, "PanelMap")->height());
        QCOMPARE(w.focusWidget(),
                 static_cast<QWidget*>(ondavia::test::Child<QTableWidget>(w, "GridFileListView")));
        w.Map()->BtnMapWide->click();
        QCOMPARE(w.Map()->BtnMapWide->text(), QStringLiteral("지도확대"));
        QCOMPARE(ondavia::test::Child<QWidget>(w, "PanelMap")->geometry(), lower);

        // A failed load empties the map panel.
        ondavia::test::Child<QTableWidget>(w, "GridFileListView")->setCurrentCell(1, 0);
        w.GridFileListViewDblClick();
        QCOMPARE(messages.size(), 1);
        QVERIFY(!state.MapReady);
        QVERIFY(!w.Map()->WebBrowserMap->isVisible());
        QVERIFY(!w.Map()->LblStartEndRoute->isVisible());
        QVERIFY(w.Map()->LblMapMessage->isVisible());
        QCOMPARE(w.Map()->LblMapMessage->text(), QStringLiteral("선택한 자료가 없습니다!"));
    }
};

int main(int argc, char** argv) {
    PrepareBrowserEngine();
    QApplication app(argc, argv);
    MapViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "mapview_test.moc"
