// The GPS log: one NMEA 0183 RMC sentence per grid record, in record order,
// ASCII with CR LF line ends, named after the data file with ".LOG".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/record.hpp"
#include "exportprogress.hpp"

namespace ondavia {

// Decimal degrees as NMEA ddmm.mmmm: whole degrees (toward zero) times 100
// plus the minutes of the fraction.
double NmeaCoordinate(double degrees);

// "$GPRMC,...*hh" with CR LF, for one grid row. The row's date-time text is
// read with the two-digit-year window around pivotYear; a text that does not
// read gives the zero date-time (time 000000, date 301299).
void AppendRmcLine(std::string& out, const GridRow& row, int pivotYear);

// The whole log text.
std::string GpsLogText(const GridRows& rows, int pivotYear, const ExportProgress& progress = {});

// Writes the log in full or not at all: an earlier log of that name stays
// as it was when anything fails.
bool WriteGpsLog(const std::filesystem::path& path, const GridRows& rows, int pivotYear,
                 const ExportProgress& progress = {});

// The name the file list shows for a data file: UTF-8, without ".TXT". The
// exports are named after it.
std::string ListNameOf(std::string_view upperName);

// folder / (name + ".LOG"), name being the file-list name (UTF-8, no ".TXT").
std::filesystem::path GpsLogPath(const std::filesystem::path& folder, std::string_view name);

}  // namespace ondavia
