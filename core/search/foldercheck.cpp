#include "foldercheck.hpp"

#include <algorithm>
#include <atomic>
#include <exception>
#include <new>
#include <system_error>
#include <thread>

#include "data/opendatafile.hpp"

namespace ondavia {

SearchOptions DefaultSearchOptions(SearchKind kind) {
    SearchOptions options;
    options.stateChoice = 4;
    options.reference = kind == SearchKind::RpmBand ? "2000" : "100";
    return options;
}

namespace {

FolderCheckRow CheckOne(const ListedFile& file, int pivotYear) {
    FolderCheckRow row;
    row.name = file.displayName;
    try {
        OpenedFile opened = OpenDataFile(file.path, pivotYear);
        if (!opened.ok()) {
            row.reason = opened.message;
            if (!opened.detail.empty()) row.reason += " (" + opened.detail + ")";
            return row;
        }
        const GridRows& rows = opened.recording->rows;
        row.records = static_cast<std::int64_t>(rows.size());
        for (int k = 1; k <= kSearchKindCount; ++k) {
            const auto kind = static_cast<SearchKind>(k);
            row.hits[static_cast<size_t>(k - 1)] = static_cast<std::int64_t>(
                RunSearch(rows, kind, DefaultSearchOptions(kind)).hits.size());
        }
        row.loaded = true;
    } catch (const std::bad_alloc&) {
        row = FolderCheckRow{};
        row.name = file.displayName;
        row.reason = "메모리가 부족합니다";
    } catch (const std::exception& e) {
        row = FolderCheckRow{};
        row.name = file.displayName;
        row.reason = e.what();
    }
    return row;
}

}  // namespace

std::vector<FolderCheckRow> CheckFiles(const std::vector<ListedFile>& files, int pivotYear,
                                       int workers) {
    std::vector<FolderCheckRow> out(files.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < files.size(); i = next++)
            out[i] = CheckOne(files[i], pivotYear);
    };
    const int threads = std::clamp(workers, 1, static_cast<int>(std::max<size_t>(files.size(), 1)));
    std::vector<std::thread> pool;
    try {
        for (int t = 1; t < threads; ++t)
            pool.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer threads than asked: the ones running (and this one) do it all.
    }
    work();
    for (std::thread& t : pool)
        t.join();
    return out;
}

}  // namespace ondavia
