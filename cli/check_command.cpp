// ondavia-cli check FILE --search N [--state K] [--ref V]
// One "hit <record index>" line per counted record, then the summary.
#include <optional>

#include "command_table.hpp"
#include "commands.hpp"
#include "common/text.hpp"
#include "search/recordsearch.hpp"

namespace ondavia::cli {

namespace {

int Check(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::optional<std::string> file, search, state, ref;
    for (size_t i = 1; i < args.size(); ++i) {
        std::optional<std::string>* target = nullptr;
        if (args[i] == "--search")
            target = &search;
        else if (args[i] == "--state")
            target = &state;
        else if (args[i] == "--ref")
            target = &ref;
        if (target) {
            if (i + 1 >= args.size() || *target) return kUsage;
            *target = args[++i];
        } else if (!file) {
            file = args[i];
        } else {
            return kUsage;
        }
    }
    auto n = search ? ReadInt32(*search) : std::nullopt;
    if (!file || !n || *n < 1 || *n > 10) {
        err += "검색 번호는 1에서 10 사이여야 합니다.\n";
        return kUsage;
    }
    SearchOptions options;
    if (state) {
        auto k = ReadInt32(*state);
        if (!k || *k < 0 || *k > 5) {
            err += "상태 선택은 0에서 5 사이여야 합니다.\n";
            return kUsage;
        }
        options.stateChoice = *k;
    }
    const auto kind = static_cast<SearchKind>(*n);
    // The window's defaults: 100 km/h and 2000 RPM.
    options.reference = ref ? *ref : kind == SearchKind::RpmBand ? "2000" : "100";

    auto rec = OpenFile(*file, err);
    if (!rec) return kRefused;
    SearchRun run = RunSearch(rec->rows, kind, options);
    for (const SearchHit& h : run.hits)
        out += "hit " + std::to_string(h.record) + "\n";
    out += SummaryText(run) + "\n";
    return kOk;
}

const CommandRegistration kRegistration("check", Check);

}  // namespace

}  // namespace ondavia::cli
