#include "gpxtrack.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/datetime.hpp"
#include "mappage.hpp"

namespace ondavia {

namespace {

// HTML escaping serves XML too; control characters have no place in XML 1.0.
std::string XmlText(std::string_view text) {
    std::string out = HtmlText(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') c = '?';
    return out;
}

// The schema's ranges: a position outside them is no position.
bool InRange(const GridRow& row) {
    return std::fabs(row.gpsY) <= 90.0 && std::fabs(row.gpsX) <= 180.0;
}

void AppendPoint(std::string& out, const GridRow& row, int pivotYear) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "      <trkpt lat=\"%.6f\" lon=\"%.6f\">", row.gpsY, row.gpsX);
    out += buf;
    const std::string time = GpxTime(row, pivotYear);
    if (!time.empty()) out += "<time>" + time + "</time>";
    out += "<extensions><gpxtpx:TrackPointExtension>";
    // km/h on the recorder, metres per second in GPX.
    std::snprintf(buf, sizeof buf, "<gpxtpx:speed>%.3f</gpxtpx:speed>",
                  std::max(row.speed, 0) / 3.6);
    out += buf;
    if (row.azimuth >= 0 && row.azimuth < 360) {
        std::snprintf(buf, sizeof buf, "<gpxtpx:course>%d</gpxtpx:course>", row.azimuth);
        out += buf;
    }
    out += "</gpxtpx:TrackPointExtension></extensions></trkpt>\n";
}

}  // namespace

std::string GpxTime(const GridRow& row, int pivotYear) {
    char stamp[24];
    size_t size = row.WriteDateTimeText(stamp);
    // Hundredths become milliseconds with one more digit.
    if (row.hundredths) stamp[size++] = '0';
    std::optional<DateTime> at = TryParseDateTime(std::string_view(stamp, size), pivotYear);
    if (!at) return {};
    return FormatDateTime(
        row.hundredths ? "yyyy-mm-ddThh:nn:ss.zz+09:00" : "yyyy-mm-ddThh:nn:ss+09:00", *at);
}

GpxText GpxTrackText(const GridRows& rows, std::string_view trackName, int pivotYear,
                     const ExportProgress& progress) {
    GpxText gpx;
    std::string& out = gpx.text;
    out.reserve(rows.size() * 200 + 1024);
    out +=
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"Ondavia\"\n"
        "  xmlns=\"http://www.topografix.com/GPX/1/1\"\n"
        "  xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\"\n"
        "  xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
        "  xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
        "http://www.topografix.com/GPX/1/1/gpx.xsd "
        "http://www.garmin.com/xmlschemas/TrackPointExtension/v2 "
        "http://www.garmin.com/xmlschemas/TrackPointExtensionv2.xsd\">\n"
        "  <trk>\n"
        "    <name>";
    out += XmlText(trackName);
    out += "</name>\n    <trkseg>\n";
    for (size_t i = 0; i < rows.size(); ++i) {
        if (HasUsablePosition(rows[i]) && InRange(rows[i])) {
            AppendPoint(out, rows[i], pivotYear);
            ++gpx.points;
        }
        if (progress && (i + 1) % kExportProgressStep == 0) progress(i + 1);
    }
    out += "    </trkseg>\n  </trk>\n</gpx>\n";
    if (progress) progress(rows.size());
    return gpx;
}

}  // namespace ondavia
