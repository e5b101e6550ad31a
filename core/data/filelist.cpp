#include "filelist.hpp"

#include <algorithm>

#include "common/cp949.hpp"
#include "common/fileio.hpp"
#include "common/text.hpp"
#include "filename.hpp"
#include "layout.hpp"

namespace ondavia {

std::optional<std::string> DiskNameToCp949(const std::string& diskName) {
    if (IsValidUtf8(diskName)) return Utf8ToCp949(diskName);
    return diskName;
}

std::optional<DataFileName> DataFileNameOf(const std::filesystem::path& path, int pivotYear) {
    auto cp949 = DiskNameToCp949(PathToText(path.filename()));
    if (!cp949) return std::nullopt;
    return CheckDataFileName(*cp949, pivotYear);
}

ListedFile MakeListedFile(const std::filesystem::path& path, const DataFileName& name,
                          FileLayout layout) {
    ListedFile out;
    out.path = path;
    out.name = name.upperName.substr(0, name.upperName.size() - 4);
    out.displayName = Cp949ToUtf8(out.name);
    out.fileMode = layout;
    return out;
}

ListingRefusal ExamineDataFile(const std::filesystem::path& path, int pivotYear, ListedFile& out) {
    auto name = DataFileNameOf(path, pivotYear);
    if (!name) return ListingRefusal::BadName;
    auto layout = DetectLayout(path);
    if (!layout) return ListingRefusal::UnknownLayout;
    out = MakeListedFile(path, *name, *layout);
    return ListingRefusal::None;
}

std::vector<ListedFile> ListDataFiles(const std::filesystem::path& folder,
                                      const std::optional<std::string>& workDate, int pivotYear) {
    std::error_code ignored;
    return ListDataFiles(folder, workDate, pivotYear, ignored);
}

std::vector<ListedFile> ListDataFiles(const std::filesystem::path& folder,
                                      const std::optional<std::string>& workDate, int pivotYear,
                                      std::error_code& ec) {
    std::vector<ListedFile> rows;
    ec.clear();
    std::filesystem::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::string diskName = PathToText(it->path().filename());
        if (diskName.size() < 4 || UpperCp949(diskName.substr(diskName.size() - 4)) != ".TXT")
            continue;
        if (workDate && diskName.compare(0, workDate->size(), *workDate) != 0) continue;
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc)) continue;
        ListedFile entry;
        if (ExamineDataFile(it->path(), pivotYear, entry) == ListingRefusal::None)
            rows.push_back(std::move(entry));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const ListedFile& a, const ListedFile& b) {
        return a.name != b.name ? a.name < b.name : a.path < b.path;
    });
    return rows;
}

int FindFileRow(const std::vector<ListedFile>& rows, std::string_view name) {
    int low = 0, high = static_cast<int>(rows.size()) - 1, result = -1;
    while (low <= high && result == -1) {
        int mid = (low + high) / 2;
        int c = std::string_view(rows[static_cast<size_t>(mid)].name).compare(name);
        if (c == 0)
            result = mid;
        else if (c < 0)
            low = mid + 1;
        else
            high = mid - 1;
    }
    return result;
}

}  // namespace ondavia
