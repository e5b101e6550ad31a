#include "layout.hpp"

#include "common/fileio.hpp"
#include "filename.hpp"

namespace ondavia {

namespace {
constexpr size_t kHeaderChars = 79;
constexpr size_t kRecordChars = 68;
constexpr size_t kExtendedChars = 87;
static_assert(kLayoutProbeBytes == kHeaderChars + 2 + kExtendedChars + 2 + 1);
}  // namespace

FileLayout LayoutFromMode(int mode) {
    if (mode == 0) return FileLayout::Packed;
    if (mode == 1) return FileLayout::ExtendedLines;
    return FileLayout::Lines;
}

BlockSizes SizesForMode(FileLayout layout) {
    switch (layout) {
        case FileLayout::Packed:
            return {79, 68};
        case FileLayout::ExtendedLines:
            return {81, 89};
        case FileLayout::Lines:
            break;
    }
    return {81, 70};
}

// Lines end at CR LF; the last line may end at the end of the file.
std::optional<FileLayout> CheckTextLayoutBytes(std::string_view bytes) {
    size_t lf = bytes.find('\n');
    if (lf != kHeaderChars + 1 || bytes[kHeaderChars] != '\r') return std::nullopt;
    std::string_view rest = bytes.substr(lf + 1);
    size_t length = rest.size();
    size_t end = rest.find('\n');
    if (end != std::string_view::npos) {
        if (end == 0 || rest[end - 1] != '\r') return std::nullopt;
        length = end - 1;
    }
    if (length == kExtendedChars) return FileLayout::ExtendedLines;
    if (length == kRecordChars) return FileLayout::Lines;
    return std::nullopt;
}

std::optional<FileLayout> CheckTextLayout(const std::filesystem::path& path) {
    InputFile file(path);
    auto first = file.ReadFirst(kLayoutProbeBytes);
    if (!first) return std::nullopt;
    return CheckTextLayoutBytes(*first);
}

bool PackedSizeFits(std::uintmax_t size) {
    return size > kHeaderChars + kRecordChars - 1 && (size - kHeaderChars) % kRecordChars == 0;
}

bool CheckPackedLayout(const std::filesystem::path& path) {
    InputFile file(path);
    if (!file.isOpen() || !PackedSizeFits(file.size())) return false;
    auto first = file.ReadFirst(kHeaderChars);
    return first && first->size() == kHeaderChars;
}

std::optional<FileLayout> DetectLayoutBytes(std::string_view firstBytes, std::uintmax_t size) {
    if (auto layout = CheckTextLayoutBytes(firstBytes)) return layout;
    if (PackedSizeFits(size) && firstBytes.size() >= kHeaderChars) return FileLayout::Packed;
    return std::nullopt;
}

std::optional<FileLayout> DetectLayout(const std::filesystem::path& path) {
    InputFile file(path);
    auto first = file.ReadFirst(kLayoutProbeBytes);
    if (!first) return std::nullopt;
    return DetectLayoutBytes(*first, file.size());
}

Validation ValidateDataBytes(std::string_view upperName, std::string_view bytes, BlockSizes sizes) {
    Validation v;
    NameInterval byName = IntervalFromName(upperName);
    if (byName.known) {
        v.valid = true;
        v.hundredths = byName.hundredths;
        v.locked = byName.locked;
        return v;
    }
    const size_t header = static_cast<size_t>(sizes.headerSize);
    const size_t record = static_cast<size_t>(sizes.recordSize);
    if (bytes.size() < header) return v;
    size_t pos = header;
    int count = 0;
    while (pos < bytes.size()) {
        if (bytes.size() - pos < record) return v;  // short record among the first five
        std::string_view block = bytes.substr(pos, record);
        pos += record;
        ++count;
        if (count == 5) break;
        if (block.substr(23, 2) != "00") break;
    }
    v.valid = true;
    v.hundredths = !(count == 5 || pos >= bytes.size());
    return v;
}

Validation ValidateDataFile(std::string_view upperName, const std::filesystem::path& path,
                            BlockSizes sizes) {
    if (IntervalFromName(upperName).known) return ValidateDataBytes(upperName, {}, sizes);
    InputFile file(path);
    auto first = file.ReadFirst(ValidationProbeBytes(sizes));
    if (!first) return {};
    return ValidateDataBytes(upperName, *first, sizes);
}

}  // namespace ondavia
