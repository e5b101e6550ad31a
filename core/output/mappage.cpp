#include "mappage.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/cp949.hpp"
#include "common/fileio.hpp"
#include "common/settings.hpp"

namespace ondavia {

// ---- addresses --------------------------------------------------------------

std::string RemoteMapPagePath(int selectMap) {
    switch (selectMap) {
        case 1:
            return "/files/NvGps_GoogleMap.html";
        case 3:
            return "/files/NvGps_NaverMap.html";
        default:
            return "/files/NvGps_KakaoMap.html";
    }
}

std::string RemoteMapPageAddress(std::string_view serverUrl, int selectMap) {
    while (!serverUrl.empty() && serverUrl.back() == '/')
        serverUrl.remove_suffix(1);
    if (serverUrl.empty()) return {};
    return std::string(serverUrl) + RemoteMapPagePath(selectMap);
}

// ---- escaping ---------------------------------------------------------------

std::string JsStringLiteral(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('\'');
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '\\':
                out += "\\\\";
                continue;
            case '\'':
                out += "\\'";
                continue;
            case '"':
                out += "\\\"";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\t':
                out += "\\t";
                continue;
            // Keeps "</script>" and "<!--" from ending or bending the script element.
            case '<':
                out += "\\x3C";
                continue;
            case '>':
                out += "\\x3E";
                continue;
            default:
                break;
        }
        if (u < 0x20 || u == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            out += buf;
        } else if (u == 0xE2 && i + 2 < text.size() && text[i + 1] == '\x80' &&
                   (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
            // U+2028 and U+2029 end a line inside older script engines.
            out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out.push_back(c);
        }
    }
    out.push_back('\'');
    return out;
}

std::string HtmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

// ---- positions --------------------------------------------------------------

bool HasUsablePosition(const GridRow& row) {
    return row.state != kGpsFaultState && row.gpsX != 0 && row.gpsY != 0;
}

bool HasUsablePosition(const TDTG_RECORD& record) {
    return record.State != kGpsFaultState && record.GpsX != 0 && record.GpsY != 0;
}

namespace {

// Writes the coordinate into buf (at least 400 bytes); returns its length.
size_t WriteCoordinate(char* buf, size_t size, double v) {
    if (v == 0 || !std::isfinite(v)) {
        buf[0] = '0';
        return 1;
    }
    // Fifteen significant digits: as many decimals as the integer part leaves.
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(v))));
    if (std::fabs(v) < std::pow(10.0, exponent)) --exponent;  // log10 a hair high
    const int decimals = std::clamp(14 - exponent, 0, 340);
    auto [end, ec] = std::to_chars(buf, buf + size, v, std::chars_format::fixed, decimals);
    if (ec != std::errc()) {
        buf[0] = '0';
        return 1;
    }
    char* p = end;
    if (decimals > 0) {
        while (p[-1] == '0')
            --p;
        if (p[-1] == '.') --p;
    }
    if (p - buf == 2 && buf[0] == '-' && buf[1] == '0') {  // rounded to nothing
        buf[0] = '0';
        return 1;
    }
    return static_cast<size_t>(p - buf);
}

void AppendCoordinate(std::string& out, double v) {
    char buf[400];
    out.append(buf, WriteCoordinate(buf, sizeof buf, v));
}

}  // namespace

std::string CoordinateText(double degrees) {
    std::string out;
    AppendCoordinate(out, degrees);
    return out;
}

std::string PointText(double lat, double lng) {
    std::string out;
    out.reserve(24);
    AppendCoordinate(out, lat);
    out += ", ";
    AppendCoordinate(out, lng);
    return out;
}

std::string MarkerLatLng(double lat, double lng) {
    char buf[700];
    std::snprintf(buf, sizeof buf, "%.6f,%.6f", lat, lng);
    return buf;
}

std::vector<std::string> RoutePoints(const GridRows& rows) {
    std::vector<std::string> points;
    points.reserve(rows.size());
    for (const GridRow& row : rows)
        if (HasUsablePosition(row)) points.push_back(PointText(row.gpsY, row.gpsX));
    return points;
}

std::string JoinRoute(const std::vector<std::string>& points) {
    size_t size = 0;
    for (const auto& p : points)
        size += p.size() + 1;
    std::string out;
    out.reserve(size);
    for (const auto& p : points) {
        if (!out.empty()) out.push_back(',');
        out += p;
    }
    return out;
}

std::string BuildMarkerContent(const TDTG_RECORD& record, int selectMap) {
    const std::string when = HtmlText(Cp949ToUtf8(record.InfoDateTime.View()));
    const char* brake = record.Brake == 1 ? "ON" : "OFF";
    char values[160];
    if (selectMap == 0 || selectMap == 1 || selectMap == kSelectMapKeyless) {
        std::snprintf(values, sizeof values, "%dKm/h  *  %dRPM  *  B:%s  *  D:%dKm",
                      static_cast<int>(record.Speed), static_cast<int>(record.RPM), brake,
                      static_cast<int>(record.Km));
        return when + "<br>" + values;
    }
    std::snprintf(values, sizeof values, "%dKm/h*%dRPM*B:%s*D:%dKm ]",
                  static_cast<int>(record.Speed), static_cast<int>(record.RPM), brake,
                  static_cast<int>(record.Km));
    return "[ " + when + " ]<br> [ " + values;
}

std::string StartEndRouteText(std::string_view start, std::string_view end) {
    return "시작:" + Cp949ToUtf8(start) + "   종료:" + Cp949ToUtf8(end);
}

// ---- the local page -----------------------------------------------------------

std::string MapScriptAddress(std::string_view scriptUrl, std::string_view apiKey) {
    std::string out(scriptUrl);
    out.push_back(out.find('?') == std::string::npos ? '?' : '&');
    if (!apiKey.empty()) {
        // The key is a settings value: percent-encode all but the unreserved set.
        out += "key=";
        for (char c : apiKey) {
            const auto u = static_cast<unsigned char>(c);
            if (std::isalnum(u) || c == '-' || c == '_' || c == '.' || c == '~') {
                out.push_back(c);
            } else {
                char buf[4];
                std::snprintf(buf, sizeof buf, "%%%02X", u);
                out += buf;
            }
        }
        out.push_back('&');
    }
    out += "sensor=false";
    return out;
}

namespace {

// The page's command functions and its body: fixed text.
constexpr const char* kPageFunctions[] = {
    "// 경계좌표 경로 표시",
    "function NewShowboundary(LatLngStr, LineColor, ArrInx) {",
    "  var parts = LatLngStr.split(',');",
    "  path = [];",
    "  for (var i = 0; i < parts.length - 1; i += 2) {",
    "    path.push(new google.maps.LatLng(parseFloat(parts[i]), parseFloat(parts[i + 1])));",
    "  }",
    "  boundary[ArrInx] = new google.maps.Polyline({",
    "    path: path,",
    "    strokeColor: LineColor,",
    "    strokeOpacity: 1,",
    "    strokeWeight: 2",
    "  });",
    "  boundary[ArrInx].setMap(map);",
    "}",
    "",
    "// 경계좌표 경로 삭제",
    "function ClearShowboundary(ArrInx) {",
    "  if (boundary[ArrInx]) {",
    "    boundary[ArrInx].setMap(null);",
    "    boundary[ArrInx].length = 0;",
    "    path.length = 0;",
    "  }",
    "}",
    "",
    "// 새로운 경로 표시",
    "function NewShowRoute(LatLngStr) {",
    "  RemoveLine();",
    "  var parts = LatLngStr.split(',');",
    "  for (var i = 0; i < parts.length - 1; i += 2) {",
    "    path.push(new google.maps.LatLng(parseFloat(parts[i]), parseFloat(parts[i + 1])));",
    "  }",
    "  polyline = new google.maps.Polyline({",
    "    path: path,",
    "    strokeColor: 'blue',",
    "    strokeOpacity: 1,",
    "    strokeWeight: 3",
    "  });",
    "  polyline.setMap(map);",
    "  startRoute = new google.maps.LatLng(parseFloat(parts[0]), parseFloat(parts[1]));",
    // One line of the page, split here only for width.
    // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
    "  endRoute = new google.maps.LatLng(parseFloat(parts[parts.length - 2]), "
    "parseFloat(parts[parts.length - 1]));",
    "  NewShowStartEndMarker();",
    "}",
    "",
    "// 경로 삭제",
    "function ClearShowRoute() {",
    "  RemoveLine();",
    "}",
    "",
    "function RemoveLine() {",
    "  if (polyline) {",
    "    polyline.setMap(null);",
    "    polyline.length = 0;",
    "    path.length = 0;",
    "  }",
    "}",
    "",
    "// 시작, 종료 마커 표시",
    "function NewShowStartEndMarker() {",
    "  RemoveMarker();",
    "  map.setCenter(startRoute);",
    "  startMarker = new google.maps.Marker({",
    "    position: startRoute,",
    "    label: 'S',",
    "    map: map",
    "  });",
    "  endMarker = new google.maps.Marker({",
    "    position: endRoute,",
    "    label: 'E',",
    "    map: map",
    "  });",
    "}",
    "",
    "// 시작, 종료 마커 삭제",
    "function RemoveMarker() {",
    "  if (startMarker) {",
    "    startMarker.setMap(null);",
    "    startMarker.length = 0;",
    "  }",
    "  if (endMarker) {",
    "    endMarker.setMap(null);",
    "    endMarker.length = 0;",
    "  }",
    "}",
    "",
    "// 새로운 마커 표시 및 풍선도움말 표시",
    "function NewShowMarker(Latlng, Content) {",
    "  ClearObjects();",
    "  var parts = Latlng.split(',');",
    "  var lat = parseFloat(parts[0]);",
    "  var lng = parseFloat(parts[1]);",
    "  var point = new google.maps.LatLng(lat, lng);",
    "  map.setCenter(point);",
    "  marker = new google.maps.Marker({",
    "    position: point,",
    "    map: map",
    "  });",
    "  google.maps.event.addListener(marker, 'click', function() {",
    "    if (infowindow) infowindow.close();",
    "    infowindow.setContent(Content);",
    "    infowindow.open(map, marker);",
    "  });",
    "}",
    "",
    "// 마커 및 풍선도움말 삭제",
    "function ClearShowMarker() {",
    "  ClearObjects();",
    "}",
    "",
    "function ClearObjects() {",
    "  if (marker) {",
    "    marker.setMap(null);",
    "    marker.length = 0;",
    "  }",
    "  if (infowindow) {",
    "    infowindow.close();",
    "    infowindow.length = 0;",
    "  }",
    "}",
    "</script>",
    "</head>",
    "<body onload=\"initialize()\">",
    "<form name=\"boundary\" onsubmit=\"NewShowboundary(this.LatLngStr.value, "
    "this.LineColor.value, this.ArrInx.value); return false;\">",
    "<div><input type=\"hidden\" name=\"LatLngStr\"></div>",
    "<div><input type=\"hidden\" name=\"LineColor\"></div>",
    "<div><input type=\"hidden\" name=\"ArrInx\"></div>",
    "<div><input type=\"button\" name=\"BtnShowboundary\" style=\"display:none\" "
    "onclick=\"NewShowboundary(this.form.LatLngStr.value, this.form.LineColor.value, "
    "this.form.ArrInx.value)\"></div>",
    "</form>",
    "<form name=\"Clearboundary\" onsubmit=\"ClearShowboundary(this.ArrInx.value); return "
    "false;\">",
    "<div><input type=\"hidden\" name=\"ArrInx\"></div>",
    "<div><input type=\"button\" name=\"BtnClearboundary\" style=\"display:none\" "
    "onclick=\"ClearShowboundary(this.form.ArrInx.value)\"></div>",
    "</form>",
    "<form name=\"route\" onsubmit=\"NewShowRoute(this.LatLngStr.value); return false;\">",
    "<div><input type=\"hidden\" name=\"LatLngStr\"></div>",
    "<div><input type=\"button\" name=\"BtnShowRoute\" style=\"display:none\" "
    "onclick=\"NewShowRoute(this.form.LatLngStr.value)\"></div>",
    "</form>",
    "<form name=\"line\" onsubmit=\"ClearShowRoute(); return false;\">",
    "<div><input type=\"button\" name=\"BtnClearRoute\" style=\"display:none\" "
    "onclick=\"ClearShowRoute()\"></div>",
    "</form>",
    "<form name=\"gps\" onsubmit=\"NewShowMarker(this.Latlng.value, this.Content.value); "
    "return false;\">",
    "<div><input type=\"hidden\" name=\"Latlng\"></div>",
    "<div><input type=\"hidden\" name=\"Content\"></div>",
    "<div><input type=\"button\" name=\"BtnShowMarker\" style=\"display:none\" "
    "onclick=\"NewShowMarker(this.form.Latlng.value, this.form.Content.value)\"></div>",
    "</form>",
    "<form name=\"marker\" onsubmit=\"ClearShowMarker(); return false;\">",
    "<div><input type=\"button\" name=\"BtnClearMarker\" style=\"display:none\" "
    "onclick=\"ClearShowMarker()\"></div>",
    "</form>",
    "<div id=\"map-canvas\"></div>",
    "</body>",
    "</html>",
};

class Lines {
  public:
    explicit Lines(size_t reserve) { text_.reserve(reserve); }
    Lines& operator<<(std::string_view s) {
        text_ += s;
        return *this;
    }
    void End() { text_ += "\r\n"; }
    void Line(std::string_view s) {
        text_ += s;
        End();
    }
    std::string Take() { return std::move(text_); }

  private:
    std::string text_;
};

}  // namespace

namespace {
std::string LeafletPageText(const MapPageOptions& options, std::string_view markerContent,
                            const std::vector<std::string>& points);
}  // namespace

std::string MapPageText(const MapPageOptions& options, std::string_view markerContent,
                        const std::vector<std::string>& points) {
    if (options.keyless) return LeafletPageText(options, markerContent, points);
    const std::string first = points.empty() ? std::string("0, 0") : points.front();
    const std::string& last = points.empty() ? first : points.back();
    size_t pointBytes = 0;
    if (!options.noCarTrack)
        for (const auto& p : points)
            pointBytes += p.size() + 32;
    Lines page(pointBytes + 8192 + markerContent.size() * 2);

    page.Line("<!DOCTYPE html>");
    page.Line("<!-- saved from url=(0013)about:internet -->");
    page.Line("<html>");
    page.Line("<head>");
    page.Line("<title>ONDAVIA APP</title>");
    page.Line("<meta name=\"viewport\" content=\"initial-scale=1.0, user-scalable=no\">");
    page.Line("<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">");
    page.Line("<style>");
    page.Line("html, body, #map-canvas {");
    page.Line("  height: 100%;");
    page.Line("  margin: 0px;");
    page.Line("  padding: 0px");
    page.Line("}");
    page.Line("</style>");
    (page << "<script src=\"" << HtmlText(MapScriptAddress(options.scriptUrl, options.apiKey))
          << "\"></script>")
        .End();
    page.Line("<script>");
    page.Line("var map;");
    (page << "var mapCenter = new google.maps.LatLng(" << first << ");").End();
    page.Line("var startRoute;");
    page.Line("var endRoute;");
    page.Line("var infowindow = new google.maps.InfoWindow({");
    page.Line("  maxWidth: 280");
    page.Line("});");
    page.Line("var startMarker;");
    page.Line("var endMarker;");
    page.Line("var marker;");
    page.Line("var boundary = [];");
    page.Line("var polyline;");
    page.Line("var path = [];");
    page.Line("");
    page.Line("function initialize() {");
    page.Line("  var mapOptions = {");
    page.Line("    zoom: 12,");
    page.Line("    center: mapCenter,");
    page.Line("    scrollwheel: false,");
    page.Line("    fullscreenControl: false,");
    page.Line("    streetViewControl: false,");
    page.Line("    mapTypeControl: true,");
    page.Line("    mapTypeControlOptions: {");
    page.Line("      style: google.maps.MapTypeControlStyle.HORIZONTAL_BAR");
    page.Line("    },");
    // The second entry of the same name is the one in effect.
    page.Line("    mapTypeControlOptions: {");
    page.Line("      position: google.maps.ControlPosition.RIGHT_TOP");
    page.Line("    },");
    page.Line("    zoomControl: true,");
    page.Line("    zoomControlOptions: {");
    page.Line("      style: google.maps.ZoomControlStyle.LARGE");
    page.Line("    },");
    page.Line("    mapTypeId: google.maps.MapTypeId.ROADMAP");
    page.Line("  };");
    page.Line("  map = new google.maps.Map(document.getElementById('map-canvas'), mapOptions);");
    if (!options.noCarTrack) {
        page.Line("  var flightPlanCoordinates = [");
        for (size_t i = 0; i < points.size(); ++i) {
            (page << "    new google.maps.LatLng(" << points[i]
                  << (i + 1 < points.size() ? ")," : ")"))
                .End();
        }
        page.Line("  ];");
        page.Line("  var flightPath = new google.maps.Polyline({");
        page.Line("    path: flightPlanCoordinates,");
        page.Line("    strokeColor: '#FF0000',");
        page.Line("    geodesic: true,");
        page.Line("    strokeOpacity: 1.0,");
        page.Line("    strokeWeight: 2");
        page.Line("  });");
        page.Line("  flightPath.setMap(map);");
        page.Line("  startRoute = mapCenter;");
        (page << "  endRoute = new google.maps.LatLng(" << last << ");").End();
        page.Line("  NewShowStartEndMarker();");
    }
    if (!markerContent.empty()) {
        page.Line("  marker = new google.maps.Marker({");
        if (options.markerPoint.empty())
            page.Line("    position: mapCenter,");
        else
            (page << "    position: new google.maps.LatLng(" << options.markerPoint << "),").End();
        page.Line("    map: map");
        page.Line("  });");
        page.Line("  google.maps.event.addListener(marker, 'click', function() {");
        page.Line("    if (infowindow) infowindow.close();");
        (page << "    infowindow.setContent(" << JsStringLiteral(markerContent) << ");").End();
        page.Line("    infowindow.open(map, marker);");
        page.Line("  });");
    }
    page.Line("}");
    page.Line("");
    for (const char* line : kPageFunctions)
        page.Line(line);
    return page.Take();
}

// ---- the keyless page -----------------------------------------------------------

namespace {

// Raw text put inside a <script> or <style> element: an end tag in it would
// close the element early, so "</" before the element's name is bent.
std::string InlineElementText(std::string_view text, std::string_view element) {
    std::string out;
    out.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' && i + 1 < text.size() && text[i + 1] == '/' &&
            i + 2 + element.size() <= text.size()) {
            bool same = true;
            for (size_t k = 0; k < element.size() && same; ++k)
                same = std::tolower(static_cast<unsigned char>(text[i + 2 + k])) == element[k];
            if (same) {
                out += "<\\/";
                ++i;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

// The keyless page's command functions and body; the forms are those of the
// maps script's page, so the viewer drives both alike.
constexpr const char* kLeafletFunctions[] = {
    "function LabelIcon(text) {",
    "  return L.divIcon({",
    "    className: 'ondavia-label',",
    "    html: text,",
    "    iconSize: [20, 20],",
    "    iconAnchor: [10, 10]",
    "  });",
    "}",
    "",
    "function PinIcon() {",
    "  return L.divIcon({",
    "    className: 'ondavia-pin',",
    "    iconSize: [16, 16],",
    "    iconAnchor: [8, 16],",
    "    popupAnchor: [0, -16]",
    "  });",
    "}",
    "",
    "function PathOf(LatLngStr) {",
    "  var parts = String(LatLngStr).split(',');",
    "  var points = [];",
    "  for (var i = 0; i < parts.length - 1; i += 2) {",
    "    points.push(L.latLng(parseFloat(parts[i]), parseFloat(parts[i + 1])));",
    "  }",
    "  return points;",
    "}",
    "",
    "// Tiles that cannot be loaded leave a plain background; a note says why.",
    "function TileTrouble(failed) {",
    "  document.getElementById('tile-note').style.display = failed ? 'block' : 'none';",
    "}",
    "",
    "// 경계좌표 경로 표시",
    "function NewShowboundary(LatLngStr, LineColor, ArrInx) {",
    "  path = PathOf(LatLngStr);",
    "  if (boundary[ArrInx]) map.removeLayer(boundary[ArrInx]);",
    "  boundary[ArrInx] = L.polyline(path, {",
    "    color: LineColor,",
    "    opacity: 1,",
    "    weight: 2",
    "  }).addTo(map);",
    "}",
    "",
    "// 경계좌표 경로 삭제",
    "function ClearShowboundary(ArrInx) {",
    "  if (boundary[ArrInx]) {",
    "    map.removeLayer(boundary[ArrInx]);",
    "    boundary[ArrInx] = null;",
    "    path.length = 0;",
    "  }",
    "}",
    "",
    "// 새로운 경로 표시",
    "function NewShowRoute(LatLngStr) {",
    "  RemoveLine();",
    "  path = PathOf(LatLngStr);",
    "  if (path.length === 0) return;",
    "  polyline = L.polyline(path, {",
    "    color: 'blue',",
    "    opacity: 1,",
    "    weight: 3",
    "  }).addTo(map);",
    "  startRoute = path[0];",
    "  endRoute = path[path.length - 1];",
    "  NewShowStartEndMarker();",
    "}",
    "",
    "// 경로 삭제",
    "function ClearShowRoute() {",
    "  RemoveLine();",
    "}",
    "",
    "function RemoveLine() {",
    "  if (polyline) {",
    "    map.removeLayer(polyline);",
    "    polyline = null;",
    "    path.length = 0;",
    "  }",
    "}",
    "",
    "// 시작, 종료 마커 표시",
    "function NewShowStartEndMarker() {",
    "  RemoveMarker();",
    "  map.setView(startRoute, map.getZoom(), {animate: false});",
    "  startMarker = L.marker(startRoute, {icon: LabelIcon('S'), title: 'S'}).addTo(map);",
    "  endMarker = L.marker(endRoute, {icon: LabelIcon('E'), title: 'E'}).addTo(map);",
    "}",
    "",
    "// 시작, 종료 마커 삭제",
    "function RemoveMarker() {",
    "  if (startMarker) {",
    "    map.removeLayer(startMarker);",
    "    startMarker = null;",
    "  }",
    "  if (endMarker) {",
    "    map.removeLayer(endMarker);",
    "    endMarker = null;",
    "  }",
    "}",
    "",
    "// The balloon of the position marker, opened by a click on it.",
    "function OpenInfo(at, Content) {",
    "  map.closePopup(infowindow);",
    "  infowindow.setLatLng(at.getLatLng()).setContent(Content);",
    "  map.openPopup(infowindow);",
    "}",
    "",
    "// 새로운 마커 표시 및 풍선도움말 표시",
    "function NewShowMarker(Latlng, Content) {",
    "  ClearObjects();",
    "  var parts = String(Latlng).split(',');",
    "  var lat = parseFloat(parts[0]);",
    "  var lng = parseFloat(parts[1]);",
    "  if (!isFinite(lat) || !isFinite(lng)) return;",
    "  var point = L.latLng(lat, lng);",
    "  map.setView(point, map.getZoom(), {animate: false});",
    "  marker = L.marker(point, {icon: PinIcon()}).addTo(map);",
    "  marker.on('click', function() {",
    "    OpenInfo(marker, Content);",
    "  });",
    "}",
    "",
    "// 마커 및 풍선도움말 삭제",
    "function ClearShowMarker() {",
    "  ClearObjects();",
    "}",
    "",
    "function ClearObjects() {",
    "  if (marker) {",
    "    map.removeLayer(marker);",
    "    marker = null;",
    "  }",
    "  map.closePopup(infowindow);",
    "}",
    "</script>",
    "</head>",
    "<body onload=\"initialize()\">",
};

}  // namespace

std::optional<LeafletFiles> LoadLeaflet(const std::filesystem::path& programDir) {
    std::vector<std::filesystem::path> folders;
    if (!programDir.empty()) folders.push_back(programDir / "leaflet");
#ifdef ONDAVIA_LEAFLET_DIR
    folders.emplace_back(ONDAVIA_LEAFLET_DIR);
#endif
    for (const auto& folder : folders) {
        auto script = ReadWholeFile(folder / kLeafletScriptFileName);
        auto style = ReadWholeFile(folder / kLeafletStyleFileName);
        if (script && style) return LeafletFiles{std::move(*script), std::move(*style)};
    }
    return std::nullopt;
}

namespace {

std::string LeafletPageText(const MapPageOptions& options, std::string_view markerContent,
                            const std::vector<std::string>& points) {
    const std::string first = points.empty() ? std::string("0, 0") : points.front();
    const std::string& last = points.empty() ? first : points.back();
    size_t pointBytes = 0;
    if (!options.noCarTrack)
        for (const auto& p : points)
            pointBytes += p.size() + 8;
    Lines page(pointBytes + 16384 + markerContent.size() * 2 + options.leafletScript.size() +
               options.leafletStyle.size());
    const bool inlined = !options.leafletScript.empty() && !options.leafletStyle.empty();
    const std::string tileUrl = options.tileUrl.empty() ? kDefaultTileUrl : options.tileUrl;

    page.Line("<!DOCTYPE html>");
    page.Line("<!-- saved from url=(0013)about:internet -->");
    page.Line("<html>");
    page.Line("<head>");
    page.Line("<title>ONDAVIA APP</title>");
    page.Line("<meta name=\"viewport\" content=\"initial-scale=1.0, user-scalable=no\">");
    page.Line("<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">");
    if (inlined) {
        page.Line("<style>");
        page.Line(InlineElementText(options.leafletStyle, "style"));
        page.Line("</style>");
    } else {
        (page << "<link rel=\"stylesheet\" href=\"" << kLeafletStyleFileName << "\">").End();
    }
    page.Line("<style>");
    page.Line("html, body, #map-canvas {");
    page.Line("  height: 100%;");
    page.Line("  margin: 0px;");
    page.Line("  padding: 0px");
    page.Line("}");
    // What shows where no tile could be drawn.
    page.Line("#map-canvas { background: #f2efe9; }");
    page.Line(".ondavia-label {");
    page.Line("  background: #d33; color: #fff; border: 2px solid #fff; border-radius: 50%;");
    page.Line("  font: bold 11px/16px sans-serif; text-align: center;");
    page.Line("  box-shadow: 0 0 2px rgba(0,0,0,.6);");
    page.Line("}");
    page.Line(".ondavia-pin {");
    page.Line("  background: #e33; border: 2px solid #800; border-radius: 50% 50% 50% 0;");
    page.Line("  transform: rotate(-45deg); box-sizing: border-box;");
    page.Line("}");
    page.Line("#tile-note {");
    page.Line("  display: none; position: absolute; left: 8px; bottom: 24px; z-index: 1000;");
    page.Line("  background: rgba(255,255,240,.92); border: 1px solid #999; padding: 3px 8px;");
    page.Line("  font: 12px sans-serif; color: #333;");
    page.Line("}");
    page.Line("</style>");
    if (inlined) {
        page.Line("<script>");
        page.Line(InlineElementText(options.leafletScript, "script"));
        page.Line("</script>");
    } else {
        (page << "<script src=\"" << kLeafletScriptFileName << "\"></script>").End();
    }
    page.Line("<script>");
    page.Line("var map;");
    (page << "var mapCenter = L.latLng(" << first << ");").End();
    page.Line("var startRoute;");
    page.Line("var endRoute;");
    page.Line("var infowindow = L.popup({");
    page.Line("  maxWidth: 280");
    page.Line("});");
    page.Line("var startMarker;");
    page.Line("var endMarker;");
    page.Line("var marker;");
    page.Line("var boundary = [];");
    page.Line("var polyline;");
    page.Line("var path = [];");
    page.Line("var tiles;");
    page.Line("");
    page.Line("function initialize() {");
    page.Line("  map = L.map('map-canvas', {");
    page.Line("    center: mapCenter,");
    page.Line("    zoom: 12,");
    page.Line("    scrollWheelZoom: false,");
    page.Line("    zoomControl: false");
    page.Line("  });");
    // The top corners hold the viewer's route label and size button.
    page.Line("  L.control.zoom({position: 'bottomright'}).addTo(map);");
    page.Line("  map.attributionControl.setPrefix('Leaflet');");
    (page << "  tiles = L.tileLayer(" << JsStringLiteral(tileUrl) << ", {").End();
    page.Line("    maxZoom: 19,");
    (page << "    attribution: " << JsStringLiteral(kTileAttributionHtml)).End();
    page.Line("  });");
    page.Line("  var failed = 0;");
    page.Line("  tiles.on('loading', function() { failed = 0; });");
    page.Line("  tiles.on('tileerror', function() { ++failed; TileTrouble(true); });");
    page.Line("  tiles.on('load', function() { if (failed === 0) TileTrouble(false); });");
    page.Line("  tiles.addTo(map);");
    if (!options.noCarTrack) {
        page.Line("  var flightPlanCoordinates = [");
        for (size_t i = 0; i < points.size(); ++i)
            (page << "    [" << points[i] << (i + 1 < points.size() ? "]," : "]")).End();
        page.Line("  ];");
        page.Line("  var flightPath = L.polyline(flightPlanCoordinates, {");
        page.Line("    color: '#FF0000',");
        page.Line("    opacity: 1.0,");
        page.Line("    weight: 2");
        page.Line("  }).addTo(map);");
        page.Line("  startRoute = mapCenter;");
        (page << "  endRoute = L.latLng(" << last << ");").End();
        page.Line("  NewShowStartEndMarker();");
    }
    if (!markerContent.empty()) {
        if (options.markerPoint.empty())
            page.Line("  marker = L.marker(mapCenter, {icon: PinIcon()}).addTo(map);");
        else
            (page << "  marker = L.marker(L.latLng(" << options.markerPoint
                  << "), {icon: PinIcon()}).addTo(map);")
                .End();
        page.Line("  marker.on('click', function() {");
        (page << "    OpenInfo(marker, " << JsStringLiteral(markerContent) << ");").End();
        page.Line("  });");
    }
    page.Line("}");
    page.Line("");
    for (const char* line : kLeafletFunctions)
        page.Line(line);
    // The forms are the other page's, line for line.
    bool inForms = false;
    for (const char* line : kPageFunctions) {
        if (std::string_view(line).starts_with("<form name=\"boundary\"")) inForms = true;
        if (std::string_view(line) == "<div id=\"map-canvas\"></div>") break;
        if (inForms) page.Line(line);
    }
    page.Line("<div id=\"map-canvas\"></div>");
    (page << "<div id=\"tile-note\">" << HtmlText(kTilesUnavailableNote) << "</div>").End();
    page.Line("</body>");
    page.Line("</html>");
    return page.Take();
}

}  // namespace

WriteResult WriteMapPage(const std::filesystem::path& path, const MapPageOptions& options,
                         std::string_view markerContent, const std::vector<std::string>& points) {
    if (points.empty()) return {EINVAL};
    return WriteOutputFile(path, MapPageText(options, markerContent, points));
}

// ---- form commands ------------------------------------------------------------

FormCommand ShowMarkerCommand(std::string_view latLng, std::string_view content) {
    return {"gps",
            {{"Latlng", std::string(latLng)}, {"Content", std::string(content)}},
            "BtnShowMarker"};
}
FormCommand ClearMarkerCommand() { return {"marker", {}, "BtnClearMarker"}; }
FormCommand ShowRouteCommand(std::string_view route) {
    return {"route", {{"LatLngStr", std::string(route)}}, "BtnShowRoute"};
}
FormCommand ClearRouteCommand() { return {"line", {}, "BtnClearRoute"}; }
FormCommand FirstRouteCommand(std::string_view route) {
    return {"first", {{"LatLngStr", std::string(route)}}, "BtnFirstShowRoute"};
}
FormCommand ClearFirstRouteCommand() { return {"fline", {}, "BtnClearFirstRoute"}; }
FormCommand RemoveMarkersCommand() { return {"markers", {}, "BtnRemoveMarkers"}; }

bool IsMarkerCommand(const FormCommand& command) {
    return command.form == "gps" || command.form == "marker";
}

std::string FormCommandScript(const FormCommand& command) {
    size_t size = 256 + command.form.size() + command.button.size();
    for (const auto& [name, value] : command.inputs)
        size += name.size() + value.size() + 64;
    std::string js;
    js.reserve(size);
    js += "(function () {\n  var f = document.forms[";
    js += JsStringLiteral(command.form);
    js += "];\n  if (!f) return false;\n  var e;\n";
    for (const auto& [name, value] : command.inputs) {
        js += "  e = f.elements[";
        js += JsStringLiteral(name);
        js += "];\n  if (!e) return false;\n  e.value = ";
        js += JsStringLiteral(value);
        js += ";\n";
    }
    js += "  e = f.elements[";
    js += JsStringLiteral(command.button);
    // A page function that throws is the page's affair: click() reports it
    // to the page's console and returns.
    js +=
        "];\n  if (!e || typeof e.click !== 'function') return false;\n  e.click();\n"
        "  return true;\n})();";
    return js;
}

std::vector<FormCommand> RemoteMapCommands(bool noCarTrack, std::string_view route,
                                           std::string_view markerLatLng,
                                           std::string_view markerContent) {
    std::vector<FormCommand> out;
    std::string_view trimmed = route;
    while (!trimmed.empty() && trimmed.front() == ' ')
        trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == ' ')
        trimmed.remove_suffix(1);
    if (!noCarTrack && !trimmed.empty()) {
        out.push_back(FirstRouteCommand(route));
    } else {
        out.push_back(ClearFirstRouteCommand());
        out.push_back(ClearRouteCommand());
        out.push_back(RemoveMarkersCommand());
    }
    if (!markerContent.empty())
        out.push_back(ShowMarkerCommand(markerLatLng, markerContent));
    else
        out.push_back(ClearMarkerCommand());
    return out;
}

// ---- route time window --------------------------------------------------------

RouteTimeCheck CheckRouteTime(std::string_view givenStart, std::string_view givenEnd,
                              std::string_view startEdit, std::string_view endEdit) {
    auto head = [](std::string_view t) { return t.substr(0, std::min<size_t>(5, t.size())); };
    auto seconds = [](std::string_view t) {
        return t.size() > 5 ? t.substr(5, 3) : std::string_view();
    };
    RouteTimeCheck r;
    r.start = std::string(startEdit);
    r.start += startEdit != head(givenStart) ? std::string_view(":00") : seconds(givenStart);
    r.end = std::string(endEdit);
    r.end += endEdit != head(givenEnd) ? std::string_view(":59") : seconds(givenEnd);
    if (r.start < givenStart || r.start > givenEnd)
        r.verdict = RouteTimeVerdict::StartOutside;
    else if (r.end < givenStart || r.end > givenEnd || r.end < r.start)
        r.verdict = RouteTimeVerdict::EndOutside;
    return r;
}

std::string RouteBetween(const GridRows& rows, std::string_view start, std::string_view end) {
    std::string out;
    char buf[24];
    for (const GridRow& row : rows) {
        size_t n = row.WriteDateTimeText(buf);
        std::string_view time = std::string_view(buf, n).substr(9);
        if (time < start || time > end || !HasUsablePosition(row)) continue;
        if (!out.empty()) out.push_back(',');
        out += PointText(row.gpsY, row.gpsX);
    }
    return out;
}

}  // namespace ondavia
