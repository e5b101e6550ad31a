// ondavia-cli check FILE --search N [--state K] [--ref V]
// One "hit <record index>" line per counted record, then the summary.
// ondavia-cli check DIR --all [--date YYYYMMDD] [--xlsx OUT.xlsx]
// The ten checks with the window's defaults on every listed file, as CSV.
#include <optional>

#include "command_table.hpp"
#include "commands.hpp"
#include "common/datetime.hpp"
#include "common/text.hpp"
#include "output/xlsxexport.hpp"
#include "search/foldercheck.hpp"
#include "search/recordsearch.hpp"

namespace ondavia::cli {

namespace {

// One file per worker: two cores, and memory for two recordings.
constexpr int kFolderWorkers = 2;

int CheckFolder(const std::string& dir, const std::optional<std::string>& date,
                const std::optional<std::string>& xlsx, std::string& out, std::string& err) {
    std::vector<ListedFile> files;
    if (int code = ListFolder(dir, date, files, err); code != kOk) return code;
    const std::vector<FolderCheckRow> rows = CheckFiles(files, CurrentYear(), kFolderWorkers);

    std::vector<std::string> header{"file", "records"};
    for (int k = 1; k <= kSearchKindCount; ++k)
        header.push_back("c" + std::to_string(k));
    std::string csv;
    for (size_t i = 0; i < header.size(); ++i)
        csv += (i ? "," : "") + header[i];
    csv += '\n';
    bool allLoaded = true;
    std::vector<std::vector<WorkbookCell>> table;
    for (const FolderCheckRow& r : rows) {
        // One file, one line, as the list prints it.
        const std::string name = EscapeControls(r.name);
        AppendCsvField(csv, name);
        std::vector<WorkbookCell> cells{WorkbookCell::Text(name)};
        if (!r.loaded) {
            allLoaded = false;
            // Always quoted: a reason is text, never a count.
            csv += ",,\"";
            for (char c : EscapeControls(r.reason))
                csv += c == '"' ? std::string("\"\"") : std::string(1, c);
            csv += "\",,,,,,,,,\n";
            cells.push_back({});
            cells.push_back(WorkbookCell::Text(r.reason));
        } else {
            csv += ',' + std::to_string(r.records);
            cells.push_back(WorkbookCell::Number(static_cast<double>(r.records)));
            for (std::int64_t hits : r.hits) {
                csv += ',' + std::to_string(hits);
                cells.push_back(WorkbookCell::Number(static_cast<double>(hits)));
            }
            csv += '\n';
        }
        table.push_back(std::move(cells));
    }
    if (xlsx) {
        if (xlsx->empty()) return kUsage;
        WorkbookResult written = WriteTableWorkbook(*xlsx, "check", header, table);
        if (!written.ok()) {
            err +=
                "데이터 저장 오류 !!! - " + written.message + ": " + EscapeControls(*xlsx) + "\n";
            out += csv;
            return kRefused;
        }
    }
    out += csv;
    return allLoaded ? kOk : kRefused;
}

int Check(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::optional<std::string> file, search, state, ref, date, xlsx;
    bool all = false;
    for (size_t i = 1; i < args.size(); ++i) {
        std::optional<std::string>* target = nullptr;
        if (args[i] == "--search")
            target = &search;
        else if (args[i] == "--state")
            target = &state;
        else if (args[i] == "--ref")
            target = &ref;
        else if (args[i] == "--date")
            target = &date;
        else if (args[i] == "--xlsx")
            target = &xlsx;
        if (target) {
            if (i + 1 >= args.size() || *target) return kUsage;
            *target = args[++i];
        } else if (args[i] == "--all" && !all) {
            all = true;
        } else if (!file) {
            file = args[i];
        } else {
            return kUsage;
        }
    }
    if (all) {
        // The folder run takes the window's defaults and nothing else.
        if (!file || search || state || ref) return kUsage;
        return CheckFolder(*file, date, xlsx, out, err);
    }
    if (date || xlsx) return kUsage;
    auto n = search ? ReadInt32(*search) : std::nullopt;
    if (!file || !n || *n < 1 || *n > 10) {
        err += "검색 번호는 1에서 10 사이여야 합니다.\n";
        return kUsage;
    }
    const auto kind = static_cast<SearchKind>(*n);
    SearchOptions options = DefaultSearchOptions(kind);
    if (state) {
        auto k = ReadInt32(*state);
        if (!k || *k < 0 || *k > 5) {
            err += "상태 선택은 0에서 5 사이여야 합니다.\n";
            return kUsage;
        }
        options.stateChoice = *k;
    }
    if (ref) options.reference = *ref;

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
