// ondavia-cli mappage FILE -o OUT.html [--no-car-track] [--osm [--tile-url URL]]:
// the local map page the viewer writes for a file just opened (its first row
// is the current one). With --osm the keyless page, Leaflet written into it,
// so that it works wherever it is opened from.
#include <filesystem>

#include "command_table.hpp"
#include "commands.hpp"
#include "output/mappage.hpp"

namespace ondavia::cli {
namespace {

int MapPage(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::optional<std::string> file, output, tileUrl;
    MapPageOptions options;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size() || output) return kUsage;
            output = args[++i];
        } else if (args[i] == "--no-car-track") {
            options.noCarTrack = true;
        } else if (args[i] == "--osm") {
            options.keyless = true;
        } else if (args[i] == "--tile-url") {
            if (i + 1 >= args.size() || tileUrl) return kUsage;
            tileUrl = args[++i];
        } else if (!file && !args[i].starts_with("-")) {
            file = args[i];
        } else {
            return kUsage;
        }
    }
    if (!file || !output || output->empty() || (tileUrl && !options.keyless)) return kUsage;
    if (tileUrl) options.tileUrl = *tileUrl;
    if (options.keyless) {
        std::error_code ec;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
        std::optional<LeafletFiles> leaflet =
            LoadLeaflet(ec ? std::filesystem::path() : self.parent_path());
        if (!leaflet) {
            err += "Leaflet(leaflet.js, leaflet.css)을 찾을 수 없습니다.\n";
            return kRefused;
        }
        options.leafletScript = std::move(leaflet->script);
        options.leafletStyle = std::move(leaflet->style);
    }

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
        content = BuildMarkerContent(rec->table.Current(), options.keyless ? kSelectMapKeyless : 0);
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
