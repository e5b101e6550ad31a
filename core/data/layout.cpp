#include "layout.hpp"

#include <fstream>

#include "common/fileio.hpp"
#include "filename.hpp"

namespace ondavia {

namespace {
constexpr size_t kHeaderChars = 79;
constexpr size_t kRecordChars = 68;
constexpr size_t kExtendedChars = 87;
// Enough bytes to hold the header line and the longest record line.
constexpr size_t kLayoutProbeBytes = kHeaderChars + 2 + kExtendedChars + 2 + 1;
}  // namespace

BlockSizes SizesForMode(int fileMode) {
    if (fileMode == 0) return {79, 68};
    if (fileMode == 1) return {81, 89};
    return {81, 70};
}

// Lines end at CR LF; the last line may end at the end of the file.
std::optional<int> CheckTextLayoutBytes(std::string_view bytes) {
    size_t lf = bytes.find('\n');
    if (lf != kHeaderChars + 1 || bytes[kHeaderChars] != '\r') return std::nullopt;
    std::string_view rest = bytes.substr(lf + 1);
    size_t length = rest.size();
    size_t end = rest.find('\n');
    if (end != std::string_view::npos) {
        if (end == 0 || rest[end - 1] != '\r') return std::nullopt;
        length = end - 1;
    }
    if (length == kExtendedChars) return 1;
    if (length == kRecordChars) return 2;
    return std::nullopt;
}

std::optional<int> CheckTextLayout(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    char buf[kLayoutProbeBytes];
    in.read(buf, sizeof buf);
    return CheckTextLayoutBytes(std::string_view(buf, static_cast<size_t>(in.gcount())));
}

bool PackedSizeFits(std::uintmax_t size) {
    return size > kHeaderChars + kRecordChars - 1 && (size - kHeaderChars) % kRecordChars == 0;
}

bool CheckPackedLayout(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    auto size = std::filesystem::file_size(path, ec);
    if (ec || !PackedSizeFits(size)) return false;
    std::ifstream in(path, std::ios::binary);
    char buf[kHeaderChars];
    return static_cast<bool>(in.read(buf, sizeof buf));
}

std::optional<int> DetectLayout(const std::filesystem::path& path) {
    if (auto mode = CheckTextLayout(path)) return mode;
    if (CheckPackedLayout(path)) return 0;
    return std::nullopt;
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
    // Only the header and five records are ever looked at.
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string buf(static_cast<size_t>(sizes.headerSize + 5 * sizes.recordSize) + 1, '\0');
    in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
    if (in.bad()) return {};
    buf.resize(static_cast<size_t>(in.gcount()));
    return ValidateDataBytes(upperName, buf, sizes);
}

}  // namespace ondavia
