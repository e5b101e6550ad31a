#include "commands.hpp"
#include "command_table.hpp"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "common/cp949.hpp"
#include "common/datetime.hpp"
#include "common/fileio.hpp"
#include "common/text.hpp"
#include "data/filelist.hpp"
#include "data/gridformat.hpp"
#include "data/opendatafile.hpp"
#include "data/recording.hpp"

namespace ondavia::cli {

namespace {

const char* const kUsageText =
    "usage: ondavia-cli list DIR [--date YYYYMMDD]\n"
    "       ondavia-cli info FILE\n"
    "       ondavia-cli rows FILE\n"
    "       ondavia-cli table FILE\n"
    "       ondavia-cli mappage FILE -o OUT.html [--no-car-track] [--osm [--tile-url URL]]\n"
    "       ondavia-cli check FILE --search N [--state K] [--ref V]\n"
    "       ondavia-cli check DIR --all [--date YYYYMMDD] [--xlsx OUT.xlsx]\n"
    "       ondavia-cli nmea FILE [-o OUT.LOG] | xlsx FILE -o OUT.xlsx | gpx FILE -o OUT.gpx\n"
    "       ondavia-cli lock FILE | ondavia-cli unlock FILE\n";

void AppendJsonString(std::string& out, std::string_view s) {
    out.push_back('"');
    for (char c : s) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void AppendFixed(std::string& out, double v, int decimals) {
    char buf[64];
    if (v == 0) v = 0;  // no "-0.00"
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    out += buf;
}

template <typename Int>
void AppendInt(std::string& out, Int v) {
    out += std::to_string(v);
}

}  // namespace

// Takes a file as the file list would, then validates and loads it.
std::optional<Recording> OpenFile(const std::string& arg, std::string& err) {
    OpenedFile opened = OpenDataFile(PathFromText(arg), CurrentYear());
    if (opened.ok()) return std::move(opened.recording);
    err += opened.message + "\n";
    if (!opened.detail.empty()) err += "(" + opened.detail + ")\n";
    return std::nullopt;
}

void AppendCsvField(std::string& out, std::string_view s) {
    if (s.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(s);
        return;
    }
    out.push_back('"');
    for (char c : s) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

int ListFolder(const std::string& dir, const std::optional<std::string>& date,
               std::vector<ListedFile>& files, std::string& err) {
    if (date) {
        bool digits =
            date->size() == 8 && date->find_first_not_of("0123456789") == std::string::npos;
        if (!digits || !IsValidDate(std::stoi(date->substr(0, 4)), std::stoi(date->substr(4, 2)),
                                    std::stoi(date->substr(6, 2)))) {
            err += "작업일은 YYYYMMDD 형식의 날짜여야 합니다: " + *date + "\n";
            return kUsage;
        }
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        err += "폴더를 찾을 수 없습니다: " + EscapeControls(dir) + "\n";
        return kRefused;
    }
    files = ListDataFiles(dir, date, CurrentYear(), ec);
    if (ec) {
        err += "폴더를 읽을 수 없습니다: " + EscapeControls(dir) + "\n(" + ec.message() + ")\n";
        return kRefused;
    }
    return kOk;
}

bool WriteOutput(const std::string& path, std::string_view bytes, std::string_view failure,
                 std::string& err) {
    WriteResult r = WriteOutputFile(PathFromText(path), bytes);
    if (r) return true;
    err += std::string(failure) + ": " + EscapeControls(path) + "\n(" + r.Describe() + ")\n";
    return false;
}

namespace {

int List(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::optional<std::string> dir, date;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--date") {
            if (i + 1 >= args.size() || date) return kUsage;
            date = args[++i];
        } else if (!dir) {
            dir = args[i];
        } else {
            return kUsage;
        }
    }
    if (!dir) return kUsage;
    std::vector<ListedFile> files;
    if (int code = ListFolder(*dir, date, files, err); code != kOk) return code;
    for (const ListedFile& f : files) {
        // One file, one line: a name with a tab or a line break in it
        // must not look like several rows.
        out += EscapeControls(f.displayName);
        out += '\t';
        out += std::to_string(ModeNumber(f.fileMode));
        out += '\n';
    }
    return kOk;
}

void Info(const Recording& r, std::string& out) {
    auto field = [&out](const char* key, std::string_view value, bool first = false) {
        if (!first) out += ",";
        AppendJsonString(out, key);
        out += ":";
        AppendJsonString(out, value);
    };
    auto raw = [&out](const char* key, const std::string& value) {
        out += ",";
        AppendJsonString(out, key);
        out += ":" + value;
    };
    out += "{";
    field("name", Cp949ToUtf8(r.upperName), true);
    raw("mode", std::to_string(ModeNumber(r.fileMode)));
    raw("hundredths", r.hundredths ? "true" : "false");
    raw("locked", r.locked ? "true" : "false");
    field("model", r.header.model);
    field("carBody", r.header.carBody);
    field("carKind", r.header.carKind);
    field("carNo", r.header.carNo);
    field("businessNo", r.header.businessNo);
    field("driverNo", r.header.driverNo);
    field("start", r.startText);
    field("end", r.endText);
    raw("rows", std::to_string(r.rows.size()));
    raw("tableRecords", std::to_string(r.table.Count()));
    raw("fuelTotal", std::to_string(r.fileMode == FileLayout::ExtendedLines ? r.fuelTotal : 0));
    out += "}\n";
}

void Rows(const Recording& r, std::string& out) {
    for (int c = 0; c < kGridColumnCount; ++c) {
        if (c) out += ',';
        out += kGridCaptions[c];
    }
    out += '\n';
    char value[kGridCellCapacity];
    for (const GridRow& row : r.rows) {
        for (int c = 0; c < kGridColumnCount; ++c) {
            if (c) out += ',';
            std::string_view v(value, WriteGridValue(row, c, value));
            if (GridColumnTraitsOf(c).kind == GridCellKind::FileText)
                AppendCsvField(out, Cp949ToUtf8(v));
            else
                AppendCsvField(out, v);
        }
        out += '\n';
    }
}

void Table(const Recording& r, std::string& out) {
    out += "InfoTime,InfoDateTime,Speed,RPM,Brake,Km,TotKm,GpsX,GpsY,GpsAngle,Gx,Gy,State,Engine\n";
    for (const TDTG_RECORD& t : r.table.Items()) {
        AppendCsvField(out, Cp949ToUtf8(t.InfoTime.View()));
        out += ',';
        AppendCsvField(out, Cp949ToUtf8(t.InfoDateTime.View()));
        out += ',';
        AppendInt(out, t.Speed);
        out += ',';
        AppendInt(out, t.RPM);
        out += ',';
        AppendInt(out, static_cast<int>(t.Brake));
        out += ',';
        AppendInt(out, t.Km);
        out += ',';
        AppendInt(out, t.TotKm);
        out += ',';
        AppendFixed(out, t.GpsX, 6);
        out += ',';
        AppendFixed(out, t.GpsY, 6);
        out += ',';
        AppendInt(out, t.GpsAngle);
        out += ',';
        AppendFixed(out, t.Gx, 2);
        out += ',';
        AppendFixed(out, t.Gy, 2);
        out += ',';
        AppendInt(out, static_cast<int>(t.State));
        out += ',';
        AppendFixed(out, t.Engine, 1);
        out += '\n';
    }
}

}  // namespace

int Run(const std::vector<std::string>& args, std::string& out, std::string& err) {
    if (args.empty()) {
        err += kUsageText;
        return kUsage;
    }
    const std::string& command = args[0];
    int code = kUsage;
    if (command == "list") {
        code = List(args, out, err);
    } else if (auto extra = ExtraCommands().find(command); extra != ExtraCommands().end()) {
        code = extra->second(args, out, err);
    } else if ((command == "info" || command == "rows" || command == "table") && args.size() == 2) {
        auto rec = OpenFile(args[1], err);
        if (!rec) return kRefused;
        if (command == "info")
            Info(*rec, out);
        else if (command == "rows")
            Rows(*rec, out);
        else
            Table(*rec, out);
        return kOk;
    }
    if (code == kUsage) err += kUsageText;
    return code;
}

}  // namespace ondavia::cli

namespace ondavia::cli {
std::map<std::string, Command>& ExtraCommands() {
    static std::map<std::string, Command> commands;
    return commands;
}
}  // namespace ondavia::cli
