// The map page text, its form commands and the texts built for them.
#include <gtest/gtest.h>

#include <fstream>

#include "commands.hpp"
#include "common/fileio.hpp"
#include "common/settings.hpp"
#include "data/recording.hpp"
#include "output/mappage.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

Recording Load(std::initializer_list<std::string> records) {
    LoadOptions o;
    o.upperName = "20261210-12345678-02.TXT";
    o.fileMode = FileLayout::Lines;
    o.pivotYear = 2026;
    Recording rec;
    LoadResult r = LoadRecordingBytes(test::TextFile(MakeHeader(), records), o, rec);
    EXPECT_TRUE(r.ok()) << DescribeLoadError(r);
    return rec;
}

RecordFields At(const char* time, const char* lat = "037566535", const char* lon = "126978012",
                const char* state = "00") {
    RecordFields f;
    f.time = time;
    f.lat = lat;
    f.lon = lon;
    f.state = state;
    return f;
}

// Each needle found after the previous one.
void ExpectInOrder(const std::string& text, std::initializer_list<std::string_view> needles) {
    size_t at = 0;
    for (std::string_view n : needles) {
        size_t found = text.find(n, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << n;
        at = found + n.size();
    }
}

size_t Count(const std::string& text, std::string_view needle) {
    size_t n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

TEST(MapTexts, CoordinateText) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {37.566535, "37.566535"},
        {126.978012, "126.978012"},
        {37.5, "37.5"},
        {127, "127"},
        {-33.8688, "-33.8688"},
        {0.000001, "0.000001"},
        {1e-7, "0.0000001"},
        {1.0 / 3, "0.333333333333333"},  // fifteen significant digits
        {123.456789012345678, "123.456789012346"},
        {1000, "1000"},
        {0, "0"},
        {-0.0, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CoordinateText(c.value), c.text) << c.value;
    EXPECT_EQ(PointText(37.566535, 126.978012), "37.566535, 126.978012");
    EXPECT_EQ(MarkerLatLng(37.5, 127), "37.500000,127.000000");
    EXPECT_EQ(MarkerLatLng(37.1234567, -126.9), "37.123457,-126.900000");
}

TEST(MapTexts, UsablePositionsMakeTheRoute) {
    Recording rec = Load({MakeRecord(At("100000", "037500000", "127000000")),
                          MakeRecord(At("100001", "037600000", "127100000", "11")),  // GPS fault
                          MakeRecord(At("100002", "000000000", "127100000")),        // no latitude
                          MakeRecord(At("100003", "037600000", "000000000")),        // no longitude
                          MakeRecord(At("100004", "037700000", "127200000", "12"))});
    const bool usable[] = {true, false, false, false, true};
    ASSERT_EQ(rec.rows.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(HasUsablePosition(rec.rows[i]), usable[i]) << i;
    for (const TDTG_RECORD& r : rec.table.Items())
        EXPECT_EQ(HasUsablePosition(r), r.State != 11 && r.GpsX != 0 && r.GpsY != 0);

    const std::vector<std::string> points = RoutePoints(rec.rows);
    EXPECT_EQ(points, (std::vector<std::string>{"37.5, 127", "37.7, 127.2"}));
    EXPECT_EQ(JoinRoute(points), "37.5, 127,37.7, 127.2");
    EXPECT_EQ(JoinRoute({}), "");
}

TEST(MapTexts, MarkerContentLayouts) {
    TDTG_RECORD r;
    r.InfoDateTime.Assign("26-12-10 10:00:05");
    r.Speed = 52;
    r.RPM = 1830;
    r.Km = 14;
    struct Case {
        int selectMap;
        std::uint8_t brake;
        const char* text;
    } cases[] = {
        {0, 1, "26-12-10 10:00:05<br>52Km/h  *  1830RPM  *  B:ON  *  D:14Km"},
        {1, 0, "26-12-10 10:00:05<br>52Km/h  *  1830RPM  *  B:OFF  *  D:14Km"},
        {2, 1, "[ 26-12-10 10:00:05 ]<br> [ 52Km/h*1830RPM*B:ON*D:14Km ]"},
        {3, 2, "[ 26-12-10 10:00:05 ]<br> [ 52Km/h*1830RPM*B:OFF*D:14Km ]"},  // only 1 is ON
        {-1, 0, "[ 26-12-10 10:00:05 ]<br> [ 52Km/h*1830RPM*B:OFF*D:14Km ]"},
        // The keyless page is the viewer's own, like that of 0.
        {kSelectMapKeyless, 1, "26-12-10 10:00:05<br>52Km/h  *  1830RPM  *  B:ON  *  D:14Km"},
        {4, 1, "[ 26-12-10 10:00:05 ]<br> [ 52Km/h*1830RPM*B:ON*D:14Km ]"},
    };
    for (const Case& c : cases) {
        r.Brake = c.brake;
        EXPECT_EQ(BuildMarkerContent(r, c.selectMap), c.text) << c.selectMap;
    }
}

TEST(MapTexts, MarkerContentShowsFileTextAsText) {
    // The stamp of a damaged file reaches the info window as characters.
    TDTG_RECORD r;
    r.InfoDateTime.Assign("<b>'\"\\&x");
    EXPECT_EQ(BuildMarkerContent(r, 0),
              "&lt;b&gt;&#39;&quot;\\&amp;x<br>0Km/h  *  0RPM  *  B:OFF  *  D:0Km");
    EXPECT_EQ(StartEndRouteText("26-12-10 10:00:00", "26-12-10 11:00:00"),
              "시작:26-12-10 10:00:00   종료:26-12-10 11:00:00");
}

TEST(MapTexts, Escaping) {
    struct Case {
        const char* text;
        const char* js;
        const char* html;
    } cases[] = {
        {"plain 1.5", "'plain 1.5'", "plain 1.5"},
        {"it's", "'it\\'s'", "it&#39;s"},
        {"say \"hi\"", "'say \\\"hi\\\"'", "say &quot;hi&quot;"},
        {"a\\b", "'a\\\\b'", "a\\b"},
        {"</script><!--", "'\\x3C/script\\x3E\\x3C!--'", "&lt;/script&gt;&lt;!--"},
        {"1\r\n2\t", "'1\\r\\n2\\t'", "1\r\n2\t"},
        {"\x01\x7F", "'\\x01\\x7F'", "\x01\x7F"},
        {"a\xE2\x80\xA8"
         "b\xE2\x80\xA9",
         "'a\\u2028b\\u2029'",
         "a\xE2\x80\xA8"
         "b\xE2\x80\xA9"},
        {"시작 & 끝", "'시작 & 끝'", "시작 &amp; 끝"},
        {"", "''", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JsStringLiteral(c.text), c.js) << c.text;
        EXPECT_EQ(HtmlText(c.text), c.html) << c.text;
    }
}

TEST(MapTexts, Addresses) {
    EXPECT_EQ(MapScriptAddress("https://maps.example/js", ""),
              "https://maps.example/js?sensor=false");
    EXPECT_EQ(MapScriptAddress("https://maps.example/js?v=3", "k&y 1"),
              "https://maps.example/js?v=3&key=k%26y%201&sensor=false");
    struct Case {
        const char* server;
        int selectMap;
        const char* address;
    } cases[] = {
        {"http://127.0.0.1:8080", 1, "http://127.0.0.1:8080/files/NvGps_GoogleMap.html"},
        {"http://127.0.0.1:8080/", 3, "http://127.0.0.1:8080/files/NvGps_NaverMap.html"},
        {"https://maps.example", 2, "https://maps.example/files/NvGps_KakaoMap.html"},
        {"https://maps.example", 4, "https://maps.example/files/NvGps_KakaoMap.html"},
        {"https://maps.example", -1, "https://maps.example/files/NvGps_KakaoMap.html"},
        {"", 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RemoteMapPageAddress(c.server, c.selectMap), c.address);
}

TEST(MapPage, PartsInOrder) {
    MapPageOptions o;
    o.scriptUrl = "http://127.0.0.1:9/maps/api/js";
    o.apiKey = "KEY";
    const std::string page =
        MapPageText(o, "26-12-10 10:00:00<br>x", {"37.5, 127", "37.6, 127.1", "37.7, 127.2"});
    ExpectInOrder(
        page,
        {
            "<!DOCTYPE html>\r\n<!-- saved from url=(0013)about:internet -->\r\n",
            "<title>ONDAVIA APP</title>",
            "<meta name=\"viewport\" content=\"initial-scale=1.0, user-scalable=no\">",
            "content=\"text/html; charset=UTF-8\"",
            "html, body, #map-canvas {",
            "height: 100%;",
            "margin: 0px;",
            "padding: 0px",
            "<script src=\"http://127.0.0.1:9/maps/api/js?key=KEY&amp;sensor=false\"></script>",
            "var map;\r\nvar mapCenter = new google.maps.LatLng(37.5, 127);\r\nvar startRoute;\r\n"
            "var endRoute;\r\nvar infowindow = new google.maps.InfoWindow({\r\n  maxWidth: "
            "280\r\n});\r\n"
            "var startMarker;\r\nvar endMarker;\r\nvar marker;\r\nvar boundary = [];\r\n"
            "var polyline;\r\nvar path = [];\r\n",
            "function initialize() {",
            "zoom: 12,",
            "center: mapCenter,",
            "scrollwheel: false,",
            "fullscreenControl: false,",
            "streetViewControl: false,",
            "mapTypeControl: true,",
            "style: google.maps.MapTypeControlStyle.HORIZONTAL_BAR",
            "position: google.maps.ControlPosition.RIGHT_TOP",
            "zoomControl: true,",
            "style: google.maps.ZoomControlStyle.LARGE",
            "mapTypeId: google.maps.MapTypeId.ROADMAP",
            "map = new google.maps.Map(document.getElementById('map-canvas'), mapOptions);",
            "  var flightPlanCoordinates = [\r\n"
            "    new google.maps.LatLng(37.5, 127),\r\n"
            "    new google.maps.LatLng(37.6, 127.1),\r\n"
            "    new google.maps.LatLng(37.7, 127.2)\r\n  ];\r\n",
            "strokeColor: '#FF0000',",
            "geodesic: true,",
            "strokeOpacity: 1.0,",
            "strokeWeight: 2",
            "flightPath.setMap(map);",
            "startRoute = mapCenter;",
            "endRoute = new google.maps.LatLng(37.7, 127.2);",
            "NewShowStartEndMarker();",
            "marker = new google.maps.Marker({\r\n    position: mapCenter,",
            "infowindow.setContent('26-12-10 10:00:00\\x3Cbr\\x3Ex');",
            "// 경계좌표 경로 표시\r\nfunction NewShowboundary(LatLngStr, LineColor, ArrInx) {",
            "// 경계좌표 경로 삭제\r\nfunction ClearShowboundary(ArrInx) {",
            "// 새로운 경로 표시\r\nfunction NewShowRoute(LatLngStr) {",
            "strokeColor: 'blue',",
            "strokeWeight: 3",
            "// 경로 삭제\r\nfunction ClearShowRoute() {",
            "function RemoveLine() {",
            "// 시작, 종료 마커 표시\r\nfunction NewShowStartEndMarker() {",
            "label: 'S',",
            "label: 'E',",
            "// 시작, 종료 마커 삭제\r\nfunction RemoveMarker() {",
            "// 새로운 마커 표시 및 풍선도움말 표시\r\nfunction NewShowMarker(Latlng, Content) {",
            "// 마커 및 풍선도움말 삭제\r\nfunction ClearShowMarker() {",
            "function ClearObjects() {",
            "<body onload=\"initialize()\">",
            "<form name=\"boundary\"",
            "name=\"LatLngStr\"",
            "name=\"LineColor\"",
            "name=\"ArrInx\"",
            "name=\"BtnShowboundary\"",
            "<form name=\"Clearboundary\"",
            "name=\"ArrInx\"",
            "name=\"BtnClearboundary\"",
            "<form name=\"route\"",
            "name=\"LatLngStr\"",
            "name=\"BtnShowRoute\"",
            "<form name=\"line\"",
            "name=\"BtnClearRoute\"",
            "<form name=\"gps\"",
            "name=\"Latlng\"",
            "name=\"Content\"",
            "name=\"BtnShowMarker\"",
            "<form name=\"marker\"",
            "name=\"BtnClearMarker\"",
            "<div id=\"map-canvas\"></div>\r\n</body>\r\n</html>\r\n",
        });
    // Every line ends in CR LF; submitting a form never leaves the page.
    EXPECT_EQ(Count(page, "\n"), Count(page, "\r\n"));
    EXPECT_EQ(Count(page, "<form "), 6u);
    EXPECT_EQ(Count(page, "return false;\">"), 6u);
    EXPECT_EQ(Count(page, "<div><input type=\"hidden\""), 7u);
}

TEST(MapPage, OptionalParts) {
    struct Case {
        const char* name;
        bool noCarTrack;
        const char* content;
        const char* markerPoint;
        bool redLine, marker;
        const char* markerPosition;
    } cases[] = {
        {"whole", false, "x", "", true, true, "position: mapCenter,"},
        {"no car track", true, "x", "", false, true, "position: mapCenter,"},
        {"no marker", false, "", "", true, false, nullptr},
        {"nothing", true, "", "", false, false, nullptr},
        {"marker elsewhere", false, "x", "37.6, 127.1", true, true,
         "position: new google.maps.LatLng(37.6, 127.1),"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapPageOptions o;
        o.noCarTrack = c.noCarTrack;
        o.markerPoint = c.markerPoint;
        const std::string page = MapPageText(o, c.content, {"37.5, 127", "37.6, 127.1"});
        const size_t from = page.find("function initialize()");
        const std::string init = page.substr(from, page.find("\r\n}\r\n", from) - from);
        EXPECT_EQ(init.find("flightPlanCoordinates") != std::string::npos, c.redLine);
        EXPECT_EQ(init.find("startRoute = mapCenter;") != std::string::npos, c.redLine);
        EXPECT_EQ(init.find("NewShowStartEndMarker();") != std::string::npos, c.redLine);
        EXPECT_EQ(init.find("infowindow.setContent('") != std::string::npos, c.marker);
        if (c.markerPosition) {
            EXPECT_NE(init.find(c.markerPosition), std::string::npos);
        }
        // The page's functions and forms are there whatever the options.
        EXPECT_NE(page.find("function NewShowMarker(Latlng, Content)"), std::string::npos);
        EXPECT_NE(page.find("<form name=\"marker\""), std::string::npos);
        EXPECT_NE(page.find("src=\"https://maps.googleapis.com/maps/api/js?sensor=false\""),
                  std::string::npos);
    }
}

TEST(MapPage, OnePointRouteAndOneLinePerPoint) {
    const std::string one = MapPageText({}, "", {"37.5, 127"});
    ExpectInOrder(one, {"var mapCenter = new google.maps.LatLng(37.5, 127);",
                        "    new google.maps.LatLng(37.5, 127)\r\n  ];",
                        "endRoute = new google.maps.LatLng(37.5, 127);"});
    std::vector<std::string> many;
    for (int i = 0; i < 5000; ++i)
        many.push_back(PointText(37 + i * 1e-6, 127));
    EXPECT_EQ(Count(MapPageText({}, "", many), "\r\n    new google.maps.LatLng("), 5000u);
}

TEST(MapPage, ContentCannotLeaveItsLiteral) {
    const std::string page = MapPageText({}, "');alert(1);//</script>", {"37.5, 127"});
    EXPECT_NE(page.find("infowindow.setContent('\\');alert(1);//\\x3C/script\\x3E');"),
              std::string::npos);
    EXPECT_EQ(Count(page, "</script>"), 2u);  // the two script elements' own ends
    MapPageOptions o;
    o.scriptUrl = "http://x/\"><script>alert(1)</script>";
    EXPECT_NE(MapPageText(o, "", {"1, 2"}).find("src=\"http://x/&quot;&gt;&lt;script&gt;"),
              std::string::npos);
}

TEST(MapPage, WriteReplacesWholeOrNotAtAll) {
    test::TempDir dir;
    const auto page = dir.path() / kMapPageFileName;
    ASSERT_TRUE(WriteMapPage(page, {}, "", {"37.5, 127"}));
    const std::string first = *ReadWholeFile(page);
    EXPECT_EQ(first, MapPageText({}, "", {"37.5, 127"}));

    // Refusals leave the good page and no temporary file behind.
    EXPECT_FALSE(WriteMapPage(page, {}, "", {}));
    EXPECT_FALSE(WriteMapPage(dir.path() / "missing" / kMapPageFileName, {}, "", {"1, 2"}));
    std::filesystem::create_directory(dir.path() / "taken");
    EXPECT_FALSE(WriteMapPage(dir.path() / "taken", {}, "", {"1, 2"}));
    EXPECT_EQ(*ReadWholeFile(page), first);
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 2);  // the page and the "taken" folder

    ASSERT_TRUE(WriteMapPage(page, {}, "", {"37.6, 127.1", "37.7, 127.2"}));
    EXPECT_NE(ReadWholeFile(page)->find("LatLng(37.7, 127.2);"), std::string::npos);
}

TEST(FormCommands, EachForm) {
    struct Case {
        FormCommand command;
        const char* form;
        std::vector<std::pair<std::string, std::string>> inputs;
        const char* button;
    } cases[] = {
        {ShowMarkerCommand("37.500000,127.000000", "c"),
         "gps",
         {{"Latlng", "37.500000,127.000000"}, {"Content", "c"}},
         "BtnShowMarker"},
        {ClearMarkerCommand(), "marker", {}, "BtnClearMarker"},
        {ShowRouteCommand("1, 2,3, 4"), "route", {{"LatLngStr", "1, 2,3, 4"}}, "BtnShowRoute"},
        {ClearRouteCommand(), "line", {}, "BtnClearRoute"},
        {FirstRouteCommand("1, 2"), "first", {{"LatLngStr", "1, 2"}}, "BtnFirstShowRoute"},
        {ClearFirstRouteCommand(), "fline", {}, "BtnClearFirstRoute"},
        {RemoveMarkersCommand(), "markers", {}, "BtnRemoveMarkers"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        EXPECT_EQ(c.command.form, c.form);
        EXPECT_EQ(c.command.inputs, c.inputs);
        EXPECT_EQ(c.command.button, c.button);
        EXPECT_EQ(IsMarkerCommand(c.command),
                  c.command.form == "gps" || c.command.form == "marker");
        const std::string js = FormCommandScript(c.command);
        std::vector<std::string_view> order;
        std::vector<std::string> parts{std::string("document.forms['") + c.form + "']"};
        for (const auto& [name, value] : c.inputs) {
            parts.push_back("f.elements['" + name + "']");
            parts.push_back("e.value = " + JsStringLiteral(value) + ";");
        }
        parts.push_back(std::string("f.elements['") + c.button + "']");
        parts.push_back("e.click();");
        for (const auto& p : parts)
            order.push_back(p);
        size_t at = 0;
        for (std::string_view p : order) {
            at = js.find(p, at);
            ASSERT_NE(at, std::string::npos) << p;
        }
    }
}

TEST(FormCommands, ValuesAreLiterals) {
    const std::string js = FormCommandScript(ShowMarkerCommand("1,2", "');x();('\\<br>"));
    EXPECT_NE(js.find("e.value = '\\');x();(\\'\\\\\\x3Cbr\\x3E';"), std::string::npos);
    EXPECT_EQ(js.find("');x();('"), std::string::npos);
}

TEST(FormCommands, RemoteSequence) {
    struct Case {
        const char* name;
        bool noCarTrack;
        const char* route;
        const char* content;
        std::vector<FormCommand> commands;
    } cases[] = {
        {"route and marker",
         false,
         "1, 2",
         "c",
         {FirstRouteCommand("1, 2"), ShowMarkerCommand("m", "c")}},
        {"route, no marker", false, "1, 2", "", {FirstRouteCommand("1, 2"), ClearMarkerCommand()}},
        {"no car track",
         true,
         "1, 2",
         "c",
         {ClearFirstRouteCommand(), ClearRouteCommand(), RemoveMarkersCommand(),
          ShowMarkerCommand("m", "c")}},
        {"blank route",
         false,
         "   ",
         "",
         {ClearFirstRouteCommand(), ClearRouteCommand(), RemoveMarkersCommand(),
          ClearMarkerCommand()}},
        {"nothing yet",
         false,
         "",
         "",
         {ClearFirstRouteCommand(), ClearRouteCommand(), RemoveMarkersCommand(),
          ClearMarkerCommand()}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RemoteMapCommands(c.noCarTrack, c.route, "m", c.content), c.commands) << c.name;
}

TEST(RouteTime, Checks) {
    struct Case {
        const char* name;
        const char* givenStart;
        const char* givenEnd;
        const char* startEdit;
        const char* endEdit;
        RouteTimeVerdict verdict;
        const char* start;
        const char* end;
    } cases[] = {
        {"unchanged keeps first and last second", "06:12:30", "17:45:10", "06:12", "17:45",
         RouteTimeVerdict::Accepted, "06:12:30", "17:45:10"},
        {"changed start from :00", "06:12:30", "17:45:10", "08:10", "17:45",
         RouteTimeVerdict::Accepted, "08:10:00", "17:45:10"},
        {"changed end to :59", "06:12:30", "17:45:10", "06:12", "09:00", RouteTimeVerdict::Accepted,
         "06:12:30", "09:00:59"},
        {"end equal to start", "06:12:30", "17:45:10", "08:10", "08:10", RouteTimeVerdict::Accepted,
         "08:10:00", "08:10:59"},
        {"start after end", "06:12:30", "17:45:10", "08:10", "08:05", RouteTimeVerdict::EndOutside,
         "08:10:00", "08:05:59"},
        {"start before the file", "06:12:30", "17:45:10", "00:00", "17:45",
         RouteTimeVerdict::StartOutside, "00:00:00", "17:45:10"},
        {"start after the file", "06:12:30", "17:45:10", "18:00", "17:45",
         RouteTimeVerdict::StartOutside, "18:00:00", "17:45:10"},
        {"end past the file", "06:12:30", "17:45:10", "06:12", "17:46",
         RouteTimeVerdict::EndOutside, "06:12:30", "17:46:59"},
        {"end minute of the last second", "06:12:30", "17:45:10", "06:12", "17:44",
         RouteTimeVerdict::Accepted, "06:12:30", "17:44:59"},
        {"past midnight, unchanged", "23:50:00", "00:10:00", "23:50", "00:10",
         RouteTimeVerdict::StartOutside, "23:50:00", "00:10:00"},
        {"past midnight, changed", "23:50:00", "00:10:00", "23:55", "00:05",
         RouteTimeVerdict::StartOutside, "23:55:00", "00:05:59"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RouteTimeCheck r = CheckRouteTime(c.givenStart, c.givenEnd, c.startEdit, c.endEdit);
        EXPECT_EQ(r.verdict, c.verdict);
        EXPECT_EQ(r.start, c.start);
        EXPECT_EQ(r.end, c.end);
    }
}

TEST(RouteTime, RouteBetweenBothEndsIncluded) {
    Recording rec = Load({MakeRecord(At("081000", "037100000", "127100000")),
                          MakeRecord(At("081001", "037200000", "127200000", "11")),
                          MakeRecord(At("081059", "037300000", "127300000")),
                          MakeRecord(At("081100", "037400000", "127400000"))});
    struct Case {
        const char* start;
        const char* end;
        const char* route;
    } cases[] = {
        {"08:10:00", "08:11:00", "37.1, 127.1,37.3, 127.3,37.4, 127.4"},
        {"08:10:00", "08:10:59", "37.1, 127.1,37.3, 127.3"},
        {"08:10:01", "08:10:01", ""},  // only a GPS fault in the stretch
        {"08:10:59", "08:10:59", "37.3, 127.3"},
        {"09:00:00", "09:00:59", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RouteBetween(rec.rows, c.start, c.end), c.route) << c.start;
}

TEST(MapSettings, AddressesFromTheSettingsFile) {
    test::TempDir dir;
    auto empty = LoadSettings(dir.path() / "none.ini", "/app/");
    EXPECT_EQ(empty.MapScriptUrl, kDefaultMapScriptUrl);
    EXPECT_EQ(empty.MapApiKey, "");
    EXPECT_EQ(empty.MapServerUrl, "");
    EXPECT_EQ(empty.MapProbeUrl, "");
    EXPECT_EQ(empty.MapTileUrl, "https://tile.openstreetmap.org/{z}/{x}/{y}.png");
    auto ini =
        dir.Write("ONDAVIA.INI",
                  "[GENERAL]\r\nSelectMap=1\r\n[MAP]\r\nScriptUrl=http://127.0.0.1:1/js\r\n"
                  "ApiKey=abc\r\nServerUrl=http://127.0.0.1:2\r\nProbeUrl=http://127.0.0.1:3/\r\n"
                  "TileUrl=http://127.0.0.1:4/{z}/{x}/{y}.png\r\n");
    auto s = LoadSettings(ini, "/app/");
    EXPECT_EQ(s.SelectMap, 1);
    EXPECT_EQ(s.MapScriptUrl, "http://127.0.0.1:1/js");
    EXPECT_EQ(s.MapApiKey, "abc");
    EXPECT_EQ(s.MapServerUrl, "http://127.0.0.1:2");
    EXPECT_EQ(s.MapProbeUrl, "http://127.0.0.1:3/");
    EXPECT_EQ(s.MapTileUrl, "http://127.0.0.1:4/{z}/{x}/{y}.png");
}

// ---- the keyless page -------------------------------------------------------------

// Every <form ...> ... </form> of a page, in order.
std::vector<std::string> Forms(const std::string& page) {
    std::vector<std::string> forms;
    for (size_t at = page.find("<form "); at != std::string::npos; at = page.find("<form ", at)) {
        const size_t end = page.find("</form>", at) + 7;
        forms.push_back(page.substr(at, end - at));
        at = end;
    }
    return forms;
}

TEST(KeylessPage, SameFormsAndFunctionsAsTheLocalPage) {
    const std::vector<std::string> points{"37.5, 127", "37.6, 127.1"};
    MapPageOptions local, keyless;
    keyless.keyless = true;
    const std::string a = MapPageText(local, "x", points);
    const std::string b = MapPageText(keyless, "x", points);
    EXPECT_EQ(Forms(a), Forms(b));
    EXPECT_EQ(Forms(b).size(), 6u);
    for (const char* name :
         {"function NewShowboundary(LatLngStr, LineColor, ArrInx)",
          "function ClearShowboundary(ArrInx)", "function NewShowRoute(LatLngStr)",
          "function ClearShowRoute()", "function RemoveLine()", "function NewShowStartEndMarker()",
          "function RemoveMarker()", "function NewShowMarker(Latlng, Content)",
          "function ClearShowMarker()", "function ClearObjects()", "<body onload=\"initialize()\">",
          "<div id=\"map-canvas\"></div>"})
        EXPECT_NE(b.find(name), std::string::npos) << name;
    EXPECT_EQ(b.find("google."), std::string::npos);
    // Beside the page unless given to write in, with the default tile server
    // and its credit.
    ExpectInOrder(
        b,
        {"<link rel=\"stylesheet\" href=\"leaflet.css\">", "<script src=\"leaflet.js\"></script>",
         "var mapCenter = L.latLng(37.5, 127);", "zoom: 12,", "scrollWheelZoom: false",
         "L.tileLayer('https://tile.openstreetmap.org/{z}/{x}/{y}.png'",
         "OpenStreetMap\\x3C/a\\x3E contributors'", "    [37.5, 127],\r\n    [37.6, 127.1]\r\n  ];",
         "endRoute = L.latLng(37.6, 127.1);"});
    for (size_t at = 0; (at = b.find('\n', at + 1)) != std::string::npos;)
        ASSERT_EQ(b[at - 1], '\r');

    keyless.noCarTrack = true;
    const std::string plain = MapPageText(keyless, "", points);
    EXPECT_EQ(plain.find("flightPlanCoordinates"), std::string::npos);
    EXPECT_EQ(plain.find("  marker = L.marker(mapCenter"), std::string::npos);
    EXPECT_NE(b.find("  marker = L.marker(mapCenter"), std::string::npos);
}

TEST(KeylessPage, WrittenInTextsStayInTheirPlace) {
    MapPageOptions o;
    o.keyless = true;
    o.tileUrl = "http://127.0.0.1:9/{z}/{x}/{y}.png?a='</script><b>\"";
    o.leafletScript = "var x = '</script><script>alert(1)</SCRIPT >';";
    o.leafletStyle = "a{} </style><b>x</b>";
    const std::string page = MapPageText(o, "</script>'", {"37.5, 127"});
    EXPECT_EQ(page.find("src=\"leaflet.js\""), std::string::npos);
    EXPECT_EQ(page.find("href=\"leaflet.css\""), std::string::npos);
    EXPECT_NE(page.find("var x = '<\\/script><script>alert(1)<\\/SCRIPT >';"), std::string::npos);
    EXPECT_NE(page.find("a{} <\\/style>"), std::string::npos);
    EXPECT_NE(page.find("L.tileLayer('http://127.0.0.1:9/{z}/{x}/{y}.png?a=\\'\\x3C/"
                        "script\\x3E\\x3Cb\\x3E\\\"'"),
              std::string::npos);
    EXPECT_NE(page.find("OpenInfo(marker, '\\x3C/script\\x3E\\'');"), std::string::npos);
    // Leaflet's elements and the page's own: nothing else closes one.
    auto count = [&page](std::string_view tag) {
        size_t n = 0;
        for (size_t at = 0; (at = page.find(tag, at)) != std::string::npos; ++at)
            ++n;
        return n;
    };
    EXPECT_EQ(count("</script>"), 2u);
    EXPECT_EQ(count("</style>"), 2u);

    // The system's Leaflet, when installed, is found.
    if (std::filesystem::exists("/usr/share/javascript/leaflet/leaflet.js")) {
        auto leaflet = LoadLeaflet("/nonexistent");
        ASSERT_TRUE(leaflet);
        EXPECT_NE(leaflet->script.find("exports.version = version;"), std::string::npos);
    }
    EXPECT_FALSE(WriteMapPage(test::TempDir().path() / "p.html", o, "", {}));
}

// ---- ondavia-cli mappage ------------------------------------------------------

struct CliResult {
    int code;
    std::string out, err;
};

CliResult Cli(std::vector<std::string> args) {
    CliResult r;
    r.code = cli::Run(args, r.out, r.err);
    return r;
}

TEST(MapPageCommand, WritesThePage) {
    test::TempDir dir;
    RecordFields a = At("100000", "037500000", "127000000");
    a.speed = "052";
    a.brake = "1";
    auto file =
        dir.Write("20261210-12345678-02.TXT",
                  test::TextFile(MakeHeader(),
                                 {MakeRecord(a), MakeRecord(At("100001", "037600000", "127100000")),
                                  MakeRecord(At("100002", "037700000", "127200000", "11"))}));
    const auto out = dir.path() / "page.html";
    CliResult r = Cli({"mappage", file.string(), "-o", out.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "2 points\n");
    const std::string page = *ReadWholeFile(out);
    ExpectInOrder(
        page, {"new google.maps.LatLng(37.5, 127),", "new google.maps.LatLng(37.6, 127.1)\r\n  ];",
               "position: new google.maps.LatLng(37.5, 127),",
               "infowindow.setContent('26-12-10 10:00:00\\x3Cbr\\x3E52Km/h  *  1500RPM  *  B:ON  * "
               " D:10Km');"});

    r = Cli({"mappage", "--no-car-track", file.string(), "-o", out.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadWholeFile(out)->find("flightPlanCoordinates"), std::string::npos);

    // The keyless page carries Leaflet inside, so it works wherever it lies.
    r = Cli({"mappage", file.string(), "--osm", "-o", out.string(), "--tile-url",
             "http://127.0.0.1:9/{z}/{x}/{y}.png"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string osm = *ReadWholeFile(out);
    EXPECT_EQ(osm.find("src=\"leaflet.js\""), std::string::npos);
    ExpectInOrder(
        osm, {"exports.version = version;", "L.tileLayer('http://127.0.0.1:9/{z}/{x}/{y}.png'",
              "    [37.5, 127],", "OpenInfo(marker, '26-12-10 10:00:00\\x3Cbr\\x3E52Km/h  * "});
    EXPECT_EQ(Cli({"mappage", file.string(), "-o", out.string(), "--tile-url", "x"}).code, 2);
}

TEST(MapPageCommand, RefusalsAndUsage) {
    test::TempDir dir;
    auto noGps = dir.Write(
        "20261210-12345678-02.TXT",
        test::TextFile(MakeHeader(), {MakeRecord(At("100000", "037500000", "127000000", "11"))}));
    auto good = dir.Write("20261211-12345678-02.TXT",
                          test::TextFile(MakeHeader(), {MakeRecord(At("100000"))}));
    const std::string out = (dir.path() / "page.html").string();

    CliResult r = Cli({"mappage", noGps.string(), "-o", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "위치 데이터가 없습니다!\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    r = Cli({"mappage", good.string(), "-o", (dir.path() / "no" / "page.html").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("지도 페이지를 저장할 수 없습니다"), std::string::npos);

    EXPECT_EQ(Cli({"mappage", (dir.path() / "20261212-12345678-02.TXT").string(), "-o", out}).code,
              1);
    for (auto args : std::vector<std::vector<std::string>>{
             {"mappage"},
             {"mappage", good.string()},
             {"mappage", good.string(), "-o"},
             {"mappage", good.string(), "-o", out, "-o", out},
             {"mappage", good.string(), "--x", "-o", out},
             {"mappage", good.string(), good.string(), "-o", out}}) {
        CliResult u = Cli(args);
        EXPECT_EQ(u.code, 2) << args.size();
        EXPECT_NE(u.err.find("mappage FILE -o OUT.html"), std::string::npos);
    }
}

}  // namespace
}  // namespace ondavia
