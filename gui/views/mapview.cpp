#include "mapview.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>

#include <unistd.h>

#include "common/fileio.hpp"
#include "data/recording.hpp"
#include "routetimewindow.hpp"

namespace ondavia::gui {

// ---- connectivity probes ------------------------------------------------------

namespace {

struct ProbeResult {
    bool opened = false;  // an answer came (any HTTP status, or a readable file)
    int status = 0;       // the HTTP status, 0 without one
};

ProbeResult Probe(const QString& address, int timeoutMs) {
    ProbeResult result;
    const QUrl url(address.trimmed());
    if (url.isEmpty() || !url.isValid() || url.isRelative()) return result;
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("jInet function"));
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The status line is all a probe needs; a long page is not waited for.
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&loop, reply] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status >= 200 && (status < 300 || status >= 400)) loop.quit();
    });
    timer.start(timeoutMs);
    // Paint events still run, input waits: nothing can change under the caller.
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid()) {
        result.opened = true;
        result.status = status.toInt();
    } else if (reply->isFinished() && reply->error() == QNetworkReply::NoError) {
        result.opened = true;  // a local file
    }
    reply->abort();
    delete reply;
    return result;
}

QString Utf8(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

bool UrlOpens(const QString& url, int timeoutMs) { return Probe(url, timeoutMs).opened; }

bool UrlAnswers(const QString& url, int timeoutMs) {
    const int status = Probe(url, timeoutMs).status;
    return status == 200 || status == 401;
}

void ProbeUrlAsync(const QString& address, int timeoutMs, QObject* context,
                   std::function<void(bool opened)> done) {
    const QUrl url(address.trimmed());
    if (url.isEmpty() || !url.isValid() || url.isRelative()) {
        QTimer::singleShot(0, context, [done] { done(false); });
        return;
    }
    auto* manager = new QNetworkAccessManager(context);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("jInet function"));
    QNetworkReply* reply = manager->get(request);
    auto* timer = new QTimer(manager);
    timer->setSingleShot(true);
    // Answers once: the first of an HTTP status, the end of the reply, or
    // the time limit; then the probe goes away.
    auto answer = [manager, reply, done](bool timedOut) {
        if (manager->property("answered").toBool()) return;
        manager->setProperty("answered", true);
        bool opened = false;
        if (!timedOut || reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
            opened = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() ||
                     (reply->isFinished() && reply->error() == QNetworkReply::NoError);
        }
        reply->abort();
        manager->deleteLater();
        done(opened);
    };
    QObject::connect(timer, &QTimer::timeout, manager, [answer] { answer(true); });
    QObject::connect(reply, &QNetworkReply::finished, manager, [answer] { answer(false); });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, manager, [answer, reply] {
        if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) answer(false);
    });
    timer->start(timeoutMs);
}

void PrepareBrowserEngine() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

QString MapPageFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!folder.isEmpty() && QDir().mkpath(folder)) return folder;
    // The temporary folder is shared: the page goes into a folder of this
    // user's own there, so nobody else can put a file or link in its place.
    std::error_code error;
    auto own = PrivateFolder(QDir::tempPath().toStdString(),
                             "ondavia-" + std::to_string(::geteuid()), error);
    return own ? QString::fromStdString(own->string()) : QDir::tempPath();
}

// ---- the panel ----------------------------------------------------------------

MapView::MapView(AppState& state, Recording& recording, std::function<int()> currentRow,
                 QWidget* panel)
    : QObject(panel),
      PanelMap(panel),
      state_(state),
      recording_(recording),
      currentRow_(std::move(currentRow)),
      selectMap_(state.ViewerSettings.SelectMap) {
    LblMapMessage = new QLabel(PanelMap);
    LblMapMessage->setAlignment(Qt::AlignCenter);
    LblMapMessage->setWordWrap(true);
    LblMapMessage->setTextFormat(Qt::PlainText);
    BtnMapWide = new QPushButton(QString::fromUtf8(kMapWideCaption), PanelMap);
    BtnMapWide->setFocusPolicy(Qt::NoFocus);
    LblStartEndRoute = new QLabel(PanelMap);
    // Its text comes from the data file: never read as markup.
    LblStartEndRoute->setTextFormat(Qt::PlainText);
    LblStartEndRoute->setAutoFillBackground(true);
    LblStartEndRoute->setMargin(2);
    LblStartEndRoute->setCursor(Qt::PointingHandCursor);
    QPalette p = LblStartEndRoute->palette();
    p.setColor(QPalette::Window, QColor(255, 255, 225));
    p.setColor(QPalette::WindowText, QColor(0, 0, 128));
    LblStartEndRoute->setPalette(p);
    LblStartEndRoute->hide();
    TimerLoadMap = new QTimer(this);
    TimerLoadMap->setInterval(1000);

    AskRouteTime = [this](QString& start, QString& end) {
        return EnterRouteTime(PanelMap->window(), start, end);
    };
    connect(BtnMapWide, &QPushButton::clicked, this, [this] { BtnMapWideClick(); });
    connect(TimerLoadMap, &QTimer::timeout, this, [this] { TimerLoadMapTimer(); });
    PanelMap->installEventFilter(this);
    LblStartEndRoute->installEventFilter(this);
    Place();
}

MapView::~MapView() { TimerLoadMap->stop(); }

bool MapView::MapWide() const { return BtnMapWide->text() == QString::fromUtf8(kMapNarrowCaption); }

bool MapView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PanelMap && event->type() == QEvent::Resize) {
        Place();
    } else if (watched == LblStartEndRoute && event->type() == QEvent::MouseButtonDblClick) {
        LblStartEndRouteDblClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void MapView::Place() {
    const QRect r = PanelMap->rect();
    LblMapMessage->setGeometry(r);
    if (WebBrowserMap) WebBrowserMap->setGeometry(r);
    BtnMapWide->setGeometry(r.width() - 80, 4, 76, 24);
    LblStartEndRoute->move(4, 4);
}

void MapView::ShowMessage(const char* utf8) { LblMapMessage->setText(QString::fromUtf8(utf8)); }

void MapView::EndShow(bool shown) {
    if (WebBrowserMap) WebBrowserMap->setVisible(shown);
    LblStartEndRoute->setVisible(shown && !state_.ViewerSettings.NoCarTrack);
    LblMapMessage->setVisible(!shown);
    emit RouteShown(shown);
}

void MapView::SetStartEndLabel() {
    const auto& rows = recording_.rows;
    LblStartEndRoute->setText(
        Utf8(StartEndRouteText(rows.front().DateTimeText(), rows.back().DateTimeText())));
    LblStartEndRoute->adjustSize();
}

std::optional<TDTG_RECORD> MapView::CurrentRecord() {
    const int row = currentRow_ ? currentRow_() : -1;
    const auto& rows = recording_.rows;
    if (row < 0 || row >= static_cast<int>(rows.size())) return std::nullopt;
    if (recording_.table.FindRecord(rows[static_cast<size_t>(row)].TimeText()) < 0)
        return std::nullopt;
    return recording_.table.Current();
}

// ---- the browser --------------------------------------------------------------

void MapView::EnsureBrowser() {
    if (WebBrowserMap) return;
    WebBrowserMap = new QWebEngineView(PanelMap);
    // The local page is a file that loads the maps script from the web.
    WebBrowserMap->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls,
                                            true);
    WebBrowserMap->setContextMenuPolicy(Qt::NoContextMenu);
    WebBrowserMap->hide();
    WebBrowserMap->setGeometry(PanelMap->rect());
    LblStartEndRoute->raise();
    BtnMapWide->raise();
    connect(WebBrowserMap, &QWebEngineView::loadStarted, this,
            [this] { loadsInFlight_ = std::max(loadsInFlight_, 1); });
    connect(WebBrowserMap, &QWebEngineView::loadFinished, this, [this] {
        if (loadsInFlight_ > 0) --loadsInFlight_;
        // A navigation replaced by another may end without its own signal.
        if (!WebBrowserMap->page()->isLoading()) loadsInFlight_ = 0;
        WebBrowserMapDocumentComplete();
        if (loadsInFlight_ == 0) Flush();
    });
}

void MapView::Navigate(const QString& address, bool localFile) {
    EnsureBrowser();
    // A fresh page starts from its own first drawing: commands still waiting
    // for the page it replaces are void.
    held_.clear();
    ++loadsInFlight_;
    WebBrowserMap->load(localFile ? QUrl::fromLocalFile(address) : QUrl(address));
}

void MapView::Send(FormCommand command) {
    if (!WebBrowserMap) return;  // no page was ever opened
    if (loadsInFlight_ > 0) {
        // Held until the page can take it; a newer marker makes an older
        // one pointless, so moving through the grid cannot pile them up.
        if (IsMarkerCommand(command))
            held_.erase(std::remove_if(held_.begin(), held_.end(),
                                       [](const FormCommand& c) { return IsMarkerCommand(c); }),
                        held_.end());
        held_.push_back(std::move(command));
        return;
    }
    const QString form = Utf8(command.form);
    emit CommandSent(form);
    QPointer<MapView> self(this);
    WebBrowserMap->page()->runJavaScript(Utf8(FormCommandScript(command)),
                                         QWebEngineScript::MainWorld,
                                         [self, form](const QVariant& found) {
                                             if (self)
                                                 emit self->CommandAnswered(form, found.toBool());
                                         });
}

void MapView::Flush() {
    while (!held_.empty() && loadsInFlight_ == 0) {
        FormCommand next = std::move(held_.front());
        held_.pop_front();
        Send(std::move(next));
    }
}

// ---- start-up -----------------------------------------------------------------

void MapView::FormShow() {
    selectMap_ = state_.ViewerSettings.SelectMap;
    state_.MapAvailable = true;
    state_.MapPageLoading = true;
    if (!Remote()) {
        if (PageFolder.isEmpty()) PageFolder = MapPageFolder();
        state_.MapPageAddress = QDir(PageFolder)
                                    .filePath(QString::fromLatin1(
                                        Keyless() ? kKeylessMapPageFileName : kMapPageFileName));
        return;
    }
    state_.MapPageAddress =
        Utf8(RemoteMapPageAddress(state_.ViewerSettings.MapServerUrl, selectMap_));
    if (UrlAnswers(state_.MapPageAddress, ProbeTimeoutMs)) {
        Navigate(state_.MapPageAddress, false);
    } else {
        state_.MapAvailable = false;
        ShowMessage(kMapStartFailedMessage);
    }
    if (WebBrowserMap) WebBrowserMap->setVisible(state_.MapAvailable);
    // The label has a background of its own: without a route it stays away.
    LblStartEndRoute->setVisible(state_.MapAvailable && !LblStartEndRoute->text().isEmpty());
    LblMapMessage->setVisible(!state_.MapAvailable);
}

void MapView::StartLoadTimer() {
    if (Remote() && selectMap_ > 0) TimerLoadMap->start();
}

void MapView::TimerLoadMapTimer() {
    TimerLoadMap->stop();
    if (state_.MapAvailable) SendRemoteMapCommands();
}

void MapView::WebBrowserMapDocumentComplete() {
    if (state_.MapPageLoading) state_.MapPageLoading = false;
}

// ---- route and marker -----------------------------------------------------------

void MapView::ShowRouteOnMap() {
    // A newer file (or a cleared view) makes an earlier probe's answer moot.
    const int generation = ++routeGeneration_;
    if (Remote()) {
        if (state_.MapAvailable) ShowRouteOnRemoteMap();
        return;
    }
    const TDtgSetValue& settings = state_.ViewerSettings;
    if (!settings.GpsView) {
        ShowMessage(kMapNotUsedMessage);
        EndShow(false);
        return;
    }
    if (Keyless()) {
        // The keyless page needs no probe: without tiles it still draws the
        // route on a plain background.
        if (PlaceLeaflet())
            DrawLocalRoute();
        else
            EndShow(false);
        return;
    }
    // The probe runs while the window goes on: the file is shown at once and
    // the map follows when the probe answers.
    const QString probe =
        Utf8(settings.MapProbeUrl.empty() ? settings.MapScriptUrl : settings.MapProbeUrl);
    ProbeUrlAsync(probe, ProbeTimeoutMs, this, [this, generation](bool opened) {
        if (generation != routeGeneration_) return;
        if (opened) {
            DrawLocalRoute();
        } else {
            ShowMessage(kNoInternetMessage);
            EndShow(false);
        }
    });
}

void MapView::DrawLocalRoute() {
    bool shown = true;
    const TDtgSetValue& settings = state_.ViewerSettings;
    RoutePointList = RoutePoints(recording_.rows);
    if (RoutePointList.empty()) {
        shown = false;
        ShowMessage(kNoPositionMessage);
    } else {
        MapPageOptions options;
        options.scriptUrl = settings.MapScriptUrl;
        options.apiKey = settings.MapApiKey;
        options.noCarTrack = settings.NoCarTrack;
        options.keyless = Keyless();
        options.tileUrl = settings.MapTileUrl;
        MarkerContent.clear();
        if (const auto r = CurrentRecord(); r && HasUsablePosition(*r)) {
            MarkerContent = BuildMarkerContent(*r, selectMap_);
            MarkerLatLng = ondavia::MarkerLatLng(r->GpsY, r->GpsX);
            // The first marker stands where its text says, even when the
            // current row is not the route's first point.
            options.markerPoint = PointText(r->GpsY, r->GpsX);
        }
        SetStartEndLabel();
        const std::string path = state_.MapPageAddress.toStdString();
        if (WriteMapPage(path, options, MarkerContent, RoutePointList)) {
            Navigate(state_.MapPageAddress, true);
            state_.MapReady = true;
        } else {
            shown = false;
            ShowMessage(kMapPageNotWrittenMessage);
        }
    }
    EndShow(shown);
}

bool MapView::PlaceLeaflet() {
    const QDir folder = QFileInfo(state_.MapPageAddress).dir();
    const std::filesystem::path script =
        folder.filePath(QString::fromLatin1(kLeafletScriptFileName)).toStdString();
    const std::filesystem::path style =
        folder.filePath(QString::fromLatin1(kLeafletStyleFileName)).toStdString();
    std::optional<LeafletFiles> leaflet = LoadLeaflet(state_.ViewerSettings.AppPath);
    if (!leaflet) {
        ShowMessage(kLeafletMissingMessage);
        return false;
    }
    // Written only when they differ, so that the engine's cache stays warm.
    auto place = [](const std::filesystem::path& path, const std::string& bytes) {
        std::optional<std::string> there = ReadWholeFile(path);
        return (there && *there == bytes) || WriteOutputFile(path, bytes).ok();
    };
    if (!place(script, leaflet->script) || !place(style, leaflet->style)) {
        ShowMessage(kMapPageNotWrittenMessage);
        return false;
    }
    return true;
}

void MapView::ShowRouteOnRemoteMap() {
    const int generation = routeGeneration_;
    if (!state_.ViewerSettings.GpsView) {
        ShowMessage(kMapNotUsedMessage);
        EndShow(false);
        return;
    }
    ProbeUrlAsync(state_.MapPageAddress, ProbeTimeoutMs, this, [this, generation](bool opened) {
        if (generation != routeGeneration_) return;
        if (opened) {
            DrawRemoteRoute();
        } else {
            ShowMessage(kNoInternetMessage);
            EndShow(false);
        }
    });
}

void MapView::DrawRemoteRoute() {
    bool shown = true;
    RouteLatLngStr = JoinRoute(RoutePoints(recording_.rows));
    if (RouteLatLngStr.empty()) {
        shown = false;
        ShowMessage(kNoPositionMessage);
    } else {
        MarkerLatLng.clear();
        MarkerContent.clear();
        if (const auto r = CurrentRecord(); r && HasUsablePosition(*r)) {
            MarkerContent = BuildMarkerContent(*r, selectMap_);
            MarkerLatLng = ondavia::MarkerLatLng(r->GpsY, r->GpsX);
        }
        SetStartEndLabel();
        // While the page loads the texts wait for TimerLoadMap.
        if (!state_.MapPageLoading) SendRemoteMapCommands();
        state_.MapReady = true;
    }
    EndShow(shown);
}

void MapView::SendRemoteMapCommands() {
    for (FormCommand& c : RemoteMapCommands(state_.ViewerSettings.NoCarTrack, RouteLatLngStr,
                                            MarkerLatLng, MarkerContent))
        Send(std::move(c));
}

void MapView::GridTextViewFocusedRecordChanged() {
    if (!state_.MapReady) return;
    MarkerContent.clear();
    const std::optional<TDTG_RECORD> r = CurrentRecord();
    if (r && HasUsablePosition(*r)) {
        MarkerContent = BuildMarkerContent(*r, selectMap_);
        MarkerLatLng = ondavia::MarkerLatLng(r->GpsY, r->GpsX);
        Send(ShowMarkerCommand(MarkerLatLng, MarkerContent));
    } else {
        Send(ClearMarkerCommand());
    }
}

void MapView::ClearView() {
    ++routeGeneration_;  // a probe still out answers for nothing shown
    state_.MapReady = false;
    if (!state_.MapAvailable) return;
    LblStartEndRoute->hide();
    if (WebBrowserMap) WebBrowserMap->hide();
    ShowMessage(kNoDataMessage);
    LblMapMessage->show();
}

// ---- route time window and map size ----------------------------------------------

void MapView::LblStartEndRouteDblClick() {
    const auto& rows = recording_.rows;
    if (state_.HundredthsData || rows.empty()) return;
    const std::string day = rows.front().DateTimeText().substr(0, 8);
    QString start = Utf8(rows.front().TimeText());
    QString end = Utf8(rows.back().TimeText());
    if (AskRouteTime(start, end) != 1) return;
    const std::string s = start.toStdString(), e = end.toStdString();
    std::string route = RouteBetween(rows, s, e);
    if (route.empty()) return;  // nothing usable in the stretch: nothing changes
    RouteLatLngStr = std::move(route);
    LblStartEndRoute->setText(Utf8(StartEndRouteText(day + " " + s, day + " " + e)));
    LblStartEndRoute->adjustSize();
    Send(ShowRouteCommand(RouteLatLngStr));
}

void MapView::BtnMapWideClick() {
    BtnMapWide->setText(QString::fromUtf8(MapWide() ? kMapWideCaption : kMapNarrowCaption));
    emit MapWideChanged();
}

}  // namespace ondavia::gui
