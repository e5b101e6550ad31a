#include "nmealog.hpp"

#include <cmath>
#include <cstdio>

#include "common/cp949.hpp"
#include "common/datetime.hpp"
#include "common/fileio.hpp"
#include "common/text.hpp"
#include "mappage.hpp"

namespace ondavia {

double NmeaCoordinate(double degrees) {
    const double whole = std::trunc(degrees);
    return whole * 100.0 + (degrees - whole) * 60.0;
}

void AppendRmcLine(std::string& out, const GridRow& row, int pivotYear) {
    char stamp[24];
    const size_t stampSize = row.WriteDateTimeText(stamp);
    const DateTime at = ParseDateTimeText(std::string_view(stamp, stampSize), 0, pivotYear);
    const DateParts d = DecodeDate(at);
    const TimeParts t = DecodeTime(at);

    char body[160];
    int n = std::snprintf(
        body, sizeof body, "GPRMC,%02d%02d%02d,%c,%.6f,N,%.6f,E,000.0,%.1f,%02d%02d%02d,,", t.hour,
        t.minute, t.second, HasUsablePosition(row) ? 'A' : 'V', NmeaCoordinate(row.gpsY),
        NmeaCoordinate(row.gpsX), static_cast<double>(row.azimuth), d.day, d.month, d.year % 100);
    // Coordinates come from nine-digit fields, so the body always fits.
    const std::string_view text(body, static_cast<size_t>(n));
    out += '$';
    out += text;
    out += '*';
    out += XorChecksumHex(text);
    out += "\r\n";
}

std::string GpsLogText(const GridRows& rows, int pivotYear, const ExportProgress& progress) {
    std::string out;
    out.reserve(rows.size() * 72);
    for (size_t i = 0; i < rows.size(); ++i) {
        AppendRmcLine(out, rows[i], pivotYear);
        if (progress && (i + 1) % kExportProgressStep == 0) progress(i + 1);
    }
    if (progress) progress(rows.size());
    return out;
}

bool WriteGpsLog(const std::filesystem::path& path, const GridRows& rows, int pivotYear,
                 const ExportProgress& progress) {
    return ReplaceFileAtomically(path, GpsLogText(rows, pivotYear, progress));
}

std::string ListNameOf(std::string_view upperName) {
    std::string name = Cp949ToUtf8(upperName);
    if (name.ends_with(".TXT")) name.resize(name.size() - 4);
    return name;
}

std::filesystem::path GpsLogPath(const std::filesystem::path& folder, std::string_view name) {
    return folder / PathFromText(std::string(name) + ".LOG");
}

}  // namespace ondavia
