// The map: the local page the viewer writes, the form commands that drive a
// map page (local or remote), and the texts built from a recording for them:
// route and marker positions, the marker's info-window text, the route time
// window's rules. All texts are UTF-8; every value taken from a data file is
// escaped for the place it goes (HTML text, JavaScript string literal).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/fileio.hpp"
#include "common/settings.hpp"
#include "data/record.hpp"

namespace ondavia {

inline constexpr const char* kMapPageFileName = "NvGps_GoogleMap.html";
// The keyless page and the Leaflet files it loads from beside itself.
inline constexpr const char* kKeylessMapPageFileName = "NvGps_OsmMap.html";
inline constexpr const char* kLeafletScriptFileName = "leaflet.js";
inline constexpr const char* kLeafletStyleFileName = "leaflet.css";
// The note the keyless page shows over the map while tiles fail to load.
inline constexpr const char* kTilesUnavailableNote =
    "지도 타일을 불러올 수 없습니다. 경로와 표시만 그립니다.";

// Path of the remote page on the map server for a SelectMap value (not 0):
// 1 Google, 3 Naver, anything else Kakao.
std::string RemoteMapPagePath(int selectMap);
// serverUrl (trailing "/" optional) + the page's path; empty when serverUrl is.
std::string RemoteMapPageAddress(std::string_view serverUrl, int selectMap);

// ---- escaping -----------------------------------------------------------------

// The text as a single-quoted JavaScript string literal, quotes included.
// Safe inside a <script> element as well: "<" and ">" are written as escapes.
std::string JsStringLiteral(std::string_view text);
// The text as HTML character data (also safe inside a quoted attribute).
std::string HtmlText(std::string_view text);

// ---- positions ----------------------------------------------------------------

// State 11 is the recorder's GPS fault; a zero coordinate is no fix.
inline constexpr int kGpsFaultState = 11;
bool HasUsablePosition(const GridRow& row);
bool HasUsablePosition(const TDTG_RECORD& record);

// A coordinate in decimal with up to 15 significant digits, no trailing zeros.
std::string CoordinateText(double degrees);
// "lat, lng": one point of a route.
std::string PointText(double lat, double lng);
// "%.6f,%.6f": the position of the marker.
std::string MarkerLatLng(double lat, double lng);

// Point texts of every row with a usable position, in row order.
std::vector<std::string> RoutePoints(const GridRows& rows);
// Point texts joined by "," (no blank): the route as one form value.
std::string JoinRoute(const std::vector<std::string>& points);

// The marker's info-window text for a record: an HTML fragment whose values
// are escaped. selectMap 0 or 1, and the keyless page the viewer writes like
// that of 0, give the spaced layout; others the bracketed.
std::string BuildMarkerContent(const TDTG_RECORD& record, int selectMap);

// "시작:%s   종료:%s" with two date-time texts (cp949 bytes from the rows).
std::string StartEndRouteText(std::string_view start, std::string_view end);

// ---- the local page -----------------------------------------------------------

struct MapPageOptions {
    std::string scriptUrl = kDefaultMapScriptUrl;  // the maps script, without query
    std::string apiKey;                            // added as key=... when not empty
    bool noCarTrack = false;                       // no whole-file line, no S and E markers
    // Where the initial position marker stands (a point text); the first point
    // of the route when empty.
    std::string markerPoint;

    // The keyless page: Leaflet over raster tiles instead of the maps script.
    bool keyless = false;
    std::string tileUrl = kDefaultTileUrl;  // {z}/{x}/{y}; the default when empty
    // Leaflet's script and style written into the page, so that it works
    // alone wherever it lies; when empty the page loads leaflet.js and
    // leaflet.css from its own folder.
    std::string leafletScript;
    std::string leafletStyle;
};

// Leaflet as the keyless page needs it.
struct LeafletFiles {
    std::string script;
    std::string style;
};
// Reads leaflet.js and leaflet.css from the first folder that holds both:
// programDir/leaflet (copied there by the build), then the system's copy.
// nullopt when neither can be read.
std::optional<LeafletFiles> LoadLeaflet(const std::filesystem::path& programDir);

// The maps script address with its query: key (when given) and sensor=false.
std::string MapScriptAddress(std::string_view scriptUrl, std::string_view apiKey);

// The whole page (the maps script's, or the keyless one when options.keyless),
// lines ending in CR LF. points holds at least one point text; markerContent
// may be empty (no initial marker). Both kinds offer the same forms, inputs,
// buttons and functions.
std::string MapPageText(const MapPageOptions& options, std::string_view markerContent,
                        const std::vector<std::string>& points);

// Writes the page as an output file (WriteOutputFile): through a temporary
// file renamed over path, so a failure leaves the previous page whole. Fails
// when points is empty or the file cannot be written.
WriteResult WriteMapPage(const std::filesystem::path& path, const MapPageOptions& options,
                         std::string_view markerContent, const std::vector<std::string>& points);

// ---- form commands ------------------------------------------------------------

// Set each listed input of the named form, in order, then click its button.
struct FormCommand {
    std::string form;
    std::vector<std::pair<std::string, std::string>> inputs;
    std::string button;

    bool operator==(const FormCommand&) const = default;
};

FormCommand ShowMarkerCommand(std::string_view latLng, std::string_view content);  // "gps"
FormCommand ClearMarkerCommand();                                                  // "marker"
FormCommand ShowRouteCommand(std::string_view route);                              // "route"
FormCommand ClearRouteCommand();                                                   // "line"
FormCommand FirstRouteCommand(std::string_view route);  // "first", remote pages only
FormCommand ClearFirstRouteCommand();                   // "fline", remote pages only
FormCommand RemoveMarkersCommand();                     // "markers", remote pages only

// True for the commands that only replace the position marker, so that a
// later one makes an earlier, unsent one pointless.
bool IsMarkerCommand(const FormCommand& command);

// JavaScript run in the page for a command. It evaluates to true when the
// form, every input and the button were found (and the button clicked),
// false otherwise; it never throws into the page.
std::string FormCommandScript(const FormCommand& command);

// What a remote page is sent for the current route and marker, in order.
std::vector<FormCommand> RemoteMapCommands(bool noCarTrack, std::string_view route,
                                           std::string_view markerLatLng,
                                           std::string_view markerContent);

// ---- route time window --------------------------------------------------------

inline constexpr const char* kRouteStartOutsideMessage =
    "시작 시간이 선택한 자료의 운행시간 내에 있어야 합니다.";
inline constexpr const char* kRouteEndOutsideMessage =
    "종료 시간이 선택한 자료의 운행시간 내에 있어야 합니다.";

enum class RouteTimeVerdict { Accepted, StartOutside, EndOutside };

struct RouteTimeCheck {
    RouteTimeVerdict verdict = RouteTimeVerdict::Accepted;
    std::string start;  // "hh:nn:ss" chosen (also filled when refused)
    std::string end;
};

// givenStart/givenEnd: the file's first and last time ("hh:nn:ss");
// startEdit/endEdit: the window's two edits ("hh:nn"). An unchanged edit keeps
// the given second; a changed start takes :00 and a changed end :59. Times of
// day are compared as text, so a file running past midnight refuses every
// choice with StartOutside.
RouteTimeCheck CheckRouteTime(std::string_view givenStart, std::string_view givenEnd,
                              std::string_view startEdit, std::string_view endEdit);

// The route through the rows whose time text lies in [start, end] (text
// comparison) and which have a usable position, joined as JoinRoute does.
std::string RouteBetween(const GridRows& rows, std::string_view start, std::string_view end);

}  // namespace ondavia
