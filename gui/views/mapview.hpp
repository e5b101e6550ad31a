// The map panel of the main window: the embedded browser with the local map
// page or a remote one, the messages shown instead of a map, the route's
// start/end label with its route time window, and the button that enlarges
// the map. The page is driven only through its hidden forms (form commands).
#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/appstate.hpp"
#include "output/mappage.hpp"

class QLabel;
class QPushButton;
class QTimer;
class QWebEngineView;
class QWidget;

namespace ondavia {
struct Recording;
}

namespace ondavia::gui {

// ---- connectivity probes ------------------------------------------------------

// How long a probe may wait. Meanwhile the window keeps painting but takes no
// input, so nothing can change under the caller.
inline constexpr int kProbeTimeoutMs = 3000;
// True when the address can be opened at all: any HTTP answer, or an existing
// local file for a file: address.
bool UrlOpens(const QString& url, int timeoutMs = kProbeTimeoutMs);
// True when the address answers with HTTP status 200 or 401; any other
// status, no answer or a timeout give false.
bool UrlAnswers(const QString& url, int timeoutMs = kProbeTimeoutMs);
// The same as UrlOpens without waiting: `done` gets the answer later, on the
// GUI thread, within the time limit (never while context is gone).
void ProbeUrlAsync(const QString& address, int timeoutMs, QObject* context,
                   std::function<void(bool opened)> done);

// Call before the application object is made: settings the embedded browser
// engine reads once. Chromium refuses to start as root with its sandbox on,
// so a viewer run as root turns the sandbox off (unless told otherwise).
void PrepareBrowserEngine();

// Messages of the map panel.
inline constexpr const char* kMapNotUsedMessage = "지도는 사용하지 않음!";
inline constexpr const char* kNoPositionMessage = "위치 데이터가 없습니다!";
inline constexpr const char* kNoInternetMessage = "인터넷 연결이 안되었습니다!";
inline constexpr const char* kNoDataMessage = "선택한 자료가 없습니다!";
inline constexpr const char* kMapStartFailedMessage =
    "인터넷 연결 오류로 지도 데이터를 읽어 올 수 없습니다!!!\n\n"
    "프로그램 종료 후 인터넷 연결을 확인 하시고 다시 실행 하십시요.";
inline constexpr const char* kMapPageNotWrittenMessage = "지도 페이지를 저장할 수 없습니다!";
inline constexpr const char* kLeafletMissingMessage =
    "지도 파일(leaflet.js, leaflet.css)을 찾을 수 없습니다!";

inline constexpr const char* kMapWideCaption = "지도확대";
inline constexpr const char* kMapNarrowCaption = "지도축소";

// The per-user folder the local page is written to (made when missing): the
// user's data folder, else the temporary folder.
QString MapPageFolder();

class MapView : public QObject {
    Q_OBJECT
  public:
    // panel: the main window's PanelMap; the labels and the button are made
    // in it. recording and currentRow give the rows on show and the grid's
    // current row (-1 for none).
    MapView(AppState& state, Recording& recording, std::function<int()> currentRow, QWidget* panel);
    ~MapView() override;

    // Start-up, before the main window is laid out: chooses the page from
    // SelectMap and probes and opens a remote one.
    void FormShow();
    // Start-up, after the layout: the one-shot timer of remote pages.
    void StartLoadTimer();

    void ShowRouteOnMap();
    void ShowRouteOnRemoteMap();
    void SendRemoteMapCommands();
    void GridTextViewFocusedRecordChanged();
    void LblStartEndRouteDblClick();
    void BtnMapWideClick();
    void TimerLoadMapTimer();
    void WebBrowserMapDocumentComplete();
    // The view was emptied after a failed load.
    void ClearView();

    // The map covers the chart area (the button offers to shrink it).
    bool MapWide() const;

    // Components. WebBrowserMap is made when the first page is opened, so a
    // viewer that never shows a map never starts the browser engine.
    QWidget* PanelMap;
    QWebEngineView* WebBrowserMap = nullptr;
    QLabel* LblMapMessage;
    QPushButton* BtnMapWide;
    QLabel* LblStartEndRoute;
    QTimer* TimerLoadMap;

    // The texts last built for the page (UTF-8), and the local page's points.
    std::string RouteLatLngStr;
    std::string MarkerLatLng;
    std::string MarkerContent;
    std::vector<std::string> RoutePointList;

    // Where FormShow puts the local page; tests point it elsewhere.
    QString PageFolder;
    int ProbeTimeoutMs = kProbeTimeoutMs;
    // Asks for the route's time stretch; the route time window unless a test
    // answers instead. Returns 1 for OK.
    std::function<int(QString& start, QString& end)> AskRouteTime;

  signals:
    // A form command handed to the page, and the page's answer (false when
    // the form or one of its elements was missing).
    void CommandSent(const QString& form);
    void CommandAnswered(const QString& form, bool found);
    // BtnMapWide changed the map's size; the window places the panel anew.
    void MapWideChanged();
    // ShowRouteOnMap has ended: the route shown, or a message instead. It may
    // come later than the call, once the connection probe has answered.
    void RouteShown(bool shown);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The keyless page is written by the viewer like the page of 0.
    bool Keyless() const { return selectMap_ == kSelectMapKeyless; }
    bool Remote() const { return selectMap_ != 0 && !Keyless(); }
    // Puts leaflet.js and leaflet.css beside the keyless page; false with
    // the panel's message set when they cannot be.
    bool PlaceLeaflet();
    void DrawLocalRoute();
    void DrawRemoteRoute();
    int routeGeneration_ = 0;
    void EnsureBrowser();
    void Navigate(const QString& address, bool localFile);
    void Send(FormCommand command);
    void Flush();
    void ShowMessage(const char* utf8);
    void EndShow(bool shown);
    void SetStartEndLabel();
    void Place();
    // The record of the grid's current row, made RecordTable's current one;
    // nullptr when there is none.
    std::optional<TDTG_RECORD> CurrentRecord();

    AppState& state_;
    Recording& recording_;
    std::function<int()> currentRow_;
    int selectMap_ = 0;             // as read at start-up
    int loadsInFlight_ = 0;         // navigations not yet finished
    std::deque<FormCommand> held_;  // commands waiting for a page to finish loading
};

}  // namespace ondavia::gui
