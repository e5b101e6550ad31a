// ondavia-cli nmea FILE [-o OUT]: the GPS log the viewer writes (by default
// NAME.LOG beside the file).
// ondavia-cli xlsx FILE -o OUT.xlsx: the spreadsheet workbook of the records.
// ondavia-cli gpx FILE -o OUT.gpx: the positions as a GPX 1.1 track.
#include <filesystem>

#include "command_table.hpp"
#include "commands.hpp"
#include "common/datetime.hpp"
#include "common/fileio.hpp"
#include "output/gpxtrack.hpp"
#include "output/nmealog.hpp"
#include "output/xlsxexport.hpp"

namespace ondavia::cli {
namespace {

struct ExportArgs {
    std::string file;
    std::optional<std::string> output;
};

// FILE and an optional "-o OUT"; nullopt on anything else.
std::optional<ExportArgs> ParseExportArgs(const std::vector<std::string>& args) {
    ExportArgs parsed;
    bool haveFile = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size() || parsed.output || args[i + 1].empty()) return std::nullopt;
            parsed.output = args[++i];
        } else if (!haveFile && !args[i].starts_with("-")) {
            parsed.file = args[i];
            haveFile = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveFile) return std::nullopt;
    return parsed;
}

int Nmea(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::optional<ExportArgs> a = ParseExportArgs(args);
    if (!a) return kUsage;
    std::optional<Recording> rec = OpenFile(a->file, err);
    if (!rec) return kRefused;
    const std::filesystem::path target =
        a->output ? PathFromText(*a->output)
                  : GpsLogPath(PathFromText(a->file).parent_path(), ListNameOf(rec->upperName));
    if (!WriteGpsLog(target, rec->rows, CurrentYear())) {
        err += "작업중 오류가 발생하여 작업을 중지합니다!!!  \n(" + PathToText(target) + ")\n";
        return kRefused;
    }
    out += std::to_string(rec->rows.size()) + " lines: " + PathToText(target) + "\n";
    return kOk;
}

int Xlsx(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::optional<ExportArgs> a = ParseExportArgs(args);
    if (!a || !a->output) return kUsage;
    std::optional<Recording> rec = OpenFile(a->file, err);
    if (!rec) return kRefused;
    WorkbookOptions options;
    options.title = ListNameOf(rec->upperName);
    WorkbookResult r = WriteWorkbook(PathFromText(*a->output), rec->rows, options);
    if (!r.ok()) {
        err += "데이터 저장 오류 !!! - " + r.message + "\n";
        return kRefused;
    }
    out += std::to_string(rec->rows.size()) + " records, " + std::to_string(r.sheets) +
           (r.sheets == 1 ? " sheet\n" : " sheets\n");
    return kOk;
}

int Gpx(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::optional<ExportArgs> a = ParseExportArgs(args);
    if (!a || !a->output) return kUsage;
    std::optional<Recording> rec = OpenFile(a->file, err);
    if (!rec) return kRefused;
    GpxText gpx = GpxTrackText(rec->rows, ListNameOf(rec->upperName), CurrentYear());
    if (gpx.points == 0) {
        err += "위치 데이터가 없습니다!\n";
        return kRefused;
    }
    if (!ReplaceFileAtomically(*a->output, gpx.text)) {
        err += "파일을 저장할 수 없습니다: " + *a->output + "\n";
        return kRefused;
    }
    out += std::to_string(gpx.points) + " points\n";
    return kOk;
}

const CommandRegistration nmea("nmea", Nmea);
const CommandRegistration xlsx("xlsx", Xlsx);
const CommandRegistration gpx("gpx", Gpx);

}  // namespace
}  // namespace ondavia::cli
