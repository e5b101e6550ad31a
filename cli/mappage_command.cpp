// ondavia-cli mappage FILE -o OUT.html [--no-car-track]: the local map page
// the viewer writes for a file just opened (its first row is the current one).
#include <filesystem>

#include "command_table.hpp"
#include "commands.hpp"
#include "output/mappage.hpp"

namespace ondavia::cli {
namespace {

int MapPage(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::optional<std::string> file, output;
    MapPageOptions options;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size() || output) return kUsage;
            output = args[++i];
        } else if (args[i] == "--no-car-track") {
            options.noCarTrack = true;
        } else if (!file && !args[i].starts_with("-")) {
            file = args[i];
        } else {
            return kUsage;
        }
    }
    if (!file || !output || output->empty()) return kUsage;

    std::optional<Recording> rec = OpenFile(*file, err);
    if (!rec) return kRefused;
    const std::vector<std::string> points = RoutePoints(rec->rows);
    if (points.empty()) {
        err += "위치 데이터가 없습니다!\n";
        return kRefused;
    }
    std::string content;
    const GridRow& first = rec->rows.front();
    if (rec->table.FindRecord(first.TimeText()) >= 0 && HasUsablePosition(rec->table.Current())) {
        content = BuildMarkerContent(rec->table.Current(), 0);
        options.markerPoint = PointText(rec->table.Current().GpsY, rec->table.Current().GpsX);
    }
    if (!WriteOutput(*output, MapPageText(options, content, points),
                     "지도 페이지를 저장할 수 없습니다", err))
        return kRefused;
    out += std::to_string(points.size()) + " points\n";
    return kOk;
}

const CommandRegistration registration("mappage", MapPage);

}  // namespace
}  // namespace ondavia::cli
