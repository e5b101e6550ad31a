// Which files of a folder the file list shows, and in what order.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "filename.hpp"
#include "layout.hpp"

namespace ondavia {

struct ListedFile {
    std::filesystem::path path;  // real name on disk, used for every read
    std::string name;            // upper-case cp949 name without ".TXT": the identity
    std::string displayName;     // the same as UTF-8
    FileLayout fileMode = FileLayout::Packed;

    std::string UpperFileName() const { return name + ".TXT"; }
};

// The cp949 bytes a name on disk stands for: UTF-8 names are converted,
// other byte strings are taken as cp949 already. nullopt when a UTF-8 name
// holds a character cp949 lacks.
std::optional<std::string> DiskNameToCp949(const std::string& diskName);

// The name rules applied to the file name of path (no folder).
std::optional<DataFileName> DataFileNameOf(const std::filesystem::path& path, int pivotYear);
// The list's entry for a file whose name and layout are known.
ListedFile MakeListedFile(const std::filesystem::path& path, const DataFileName& name,
                          FileLayout layout);

// Examines one file as the list would: name rules, then text and packed
// layout. On success fills the entry.
enum class ListingRefusal { None, BadName, UnknownLayout };
ListingRefusal ExamineDataFile(const std::filesystem::path& path, int pivotYear, ListedFile& out);

// Every accepted data file of the folder, or only those of one work date
// (eight digits, year first), sorted by name. A missing folder lists nothing.
std::vector<ListedFile> ListDataFiles(const std::filesystem::path& folder,
                                      const std::optional<std::string>& workDate, int pivotYear);
// The same; error is set when the folder cannot be read, or its reading
// stopped part way (what was read so far is returned).
std::vector<ListedFile> ListDataFiles(const std::filesystem::path& folder,
                                      const std::optional<std::string>& workDate, int pivotYear,
                                      std::error_code& error);

// Binary search of the sorted list for a name without ".TXT"; -1 when absent.
int FindFileRow(const std::vector<ListedFile>& rows, std::string_view name);

}  // namespace ondavia
