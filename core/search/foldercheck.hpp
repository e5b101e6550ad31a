// The ten record checks over every file of a folder, as a table: one row per
// listed file with its record count and the hits of each check. Files are
// loaded one at a time per worker thread, so memory stays near one recording
// per worker whatever the folder holds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/filelist.hpp"
#include "search/recordsearch.hpp"

namespace ondavia {

inline constexpr int kSearchKindCount = 10;

struct FolderCheckRow {
    std::string name;          // the file's display name (UTF-8), as listed
    bool loaded = false;       // false: refused, see reason
    std::int64_t records = 0;  // grid records
    // Hits of check 1 .. 10, as RunSearch counts them.
    std::array<std::int64_t, kSearchKindCount> hits{};
    std::string reason;  // why the file was refused (UTF-8)
};

// The options the search window starts with for a check: state choice 4
// ("GPS 제외"), references 100 km/h and 2000 RPM.
SearchOptions DefaultSearchOptions(SearchKind kind);

// Runs the ten checks on each file with the window's defaults. Rows come back
// in the order of files; workers (at least 1) threads share the files.
std::vector<FolderCheckRow> CheckFiles(const std::vector<ListedFile>& files, int pivotYear,
                                       int workers);

}  // namespace ondavia
