#include "transform.hpp"

#include <cstdint>
#include <exception>
#include <optional>

#include "common/cp949.hpp"
#include "common/fileio.hpp"
#include "common/text.hpp"
#include "data/filelist.hpp"
#include "data/filename.hpp"
#include "data/layout.hpp"
#include "data/lockedform.hpp"

namespace ondavia {

namespace {

// The locked form is always packed: the header and each record are cut to
// these sizes whatever layout the source has.
constexpr size_t kPackedHeader = 79;
constexpr size_t kPackedRecord = 68;
// Records are handed to the file in batches rather than one call each.
constexpr size_t kWriteBatch = size_t{64} * 1024;

bool EndsWithTxt(std::string_view name) {
    return name.size() >= 4 && name.substr(name.size() - 4) == ".TXT";
}

// The file in the folder whose identity is the target name: the name as
// the system writes it, or an existing file whose name differs only in case
// (the identity is the upper-cased name, so that file is the one replaced).
std::filesystem::path TargetPathFor(const std::filesystem::path& folder,
                                    const std::string& targetName, bool utf8Names) {
    std::filesystem::path planned =
        folder / PathFromText(utf8Names ? Cp949ToUtf8(targetName) : targetName);
    // The folder is searched even when the planned name exists: on a file
    // system that ignores case, the file there may be spelled differently.
    std::error_code ec;
    std::filesystem::path found;
    std::filesystem::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        auto cp949 = DiskNameToCp949(PathToText(it->path().filename()));
        if (!cp949 || UpperCp949(*cp949) != targetName) continue;
        if (it->path().filename() == planned.filename()) return it->path();
        if (found.empty()) found = it->path();
    }
    if (!found.empty()) return found;
    return planned;
}

// A target already on disk counts as complete when its size fits the open
// file's block sizes.
bool CompleteTargetExists(const std::filesystem::path& target, BlockSizes sizes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(target, ec)) return false;
    const std::uintmax_t size = std::filesystem::file_size(target, ec);
    if (ec) return false;
    const auto h = static_cast<std::uintmax_t>(sizes.headerSize);
    const auto r = static_cast<std::uintmax_t>(sizes.recordSize);
    return size >= h + r && (size - h) % r == 0;
}

int WriteTransformed(std::string_view bytes, BlockSizes sizes, FileLayout fileMode,
                     unsigned char key, PendingFile& out) {
    const size_t h = static_cast<size_t>(sizes.headerSize);
    const size_t r = static_cast<size_t>(sizes.recordSize);
    if (bytes.size() < h) return kTransformShortHeader;
    std::string header(bytes.substr(0, kPackedHeader));
    ScrambleBytes(header, key);
    if (!out.Write(header)) return kTransformHeaderNotWritten;

    std::string batch;
    batch.reserve(kWriteBatch + kPackedRecord);
    size_t records = 0;
    for (size_t pos = h; pos < bytes.size(); pos += r) {
        if (bytes.size() - pos < r) {
            // A line break after the last line ends a line-form file normally.
            bool lastLineBreak =
                records > 0 && fileMode != FileLayout::Packed && bytes.substr(pos, 2) == "\r\n";
            if (lastLineBreak) break;
            return kTransformShortRecord;
        }
        size_t at = batch.size();
        batch.append(bytes.substr(pos, kPackedRecord));
        ScrambleBytes(std::span<char>(batch).subspan(at), key);
        ++records;
        if (batch.size() >= kWriteBatch) {
            if (!out.Write(batch)) return kTransformRecordNotWritten;
            batch.clear();
        }
    }
    if (!batch.empty() && !out.Write(batch)) return kTransformRecordNotWritten;
    return kTransformDone;
}

}  // namespace

std::string TransformTargetName(TransformDirection direction, std::string_view upperName) {
    if (!EndsWithTxt(upperName)) return {};
    auto name =
        direction == TransformDirection::Lock ? LockedNameOf(upperName) : UnlockedNameOf(upperName);
    return name ? *name : std::string();
}

TransformResult TransformDataFile(TransformDirection direction,
                                  const std::filesystem::path& sourcePath, FileLayout fileMode) {
    TransformResult result;
    const std::string diskName = PathToText(sourcePath.filename());
    auto cp949 = DiskNameToCp949(diskName);
    const std::string upperName = cp949 ? UpperCp949(*cp949) : std::string();
    result.targetName = TransformTargetName(direction, upperName);
    if (result.targetName.empty()) {
        result.code = kTransformTargetNotCreated;
        return result;
    }
    try {
        const std::filesystem::path folder = sourcePath.parent_path();
        result.targetPath = TargetPathFor(folder.empty() ? std::filesystem::path(".") : folder,
                                          result.targetName, IsValidUtf8(diskName));
        // Locking keys on the new name, unlocking on the locked source's:
        // either way the key of the locked file's own name, as the loader uses.
        const unsigned char key =
            LockKey(direction == TransformDirection::Lock ? result.targetName : upperName);
        const BlockSizes sizes = SizesForMode(fileMode);
        const bool replacing = CompleteTargetExists(result.targetPath, sizes);

        InputFile source(sourcePath);
        if (!source.isOpen()) {
            result.code = kTransformSourceUnreadable;
            return result;
        }
        PendingFile out(result.targetPath);
        if (!out.ok()) {
            result.code = kTransformTargetNotCreated;
            return result;
        }
        auto bytes = source.ReadAll(SIZE_MAX);
        if (!bytes) {
            result.code = kTransformOtherError;
            return result;
        }
        result.code = WriteTransformed(*bytes, sizes, fileMode, key, out);
        if (result.code != kTransformDone) return result;
        if (!out.Commit()) {
            result.code = kTransformOtherError;
            return result;
        }
        result.code = replacing ? kTransformOverwritten : kTransformDone;
    } catch (const std::exception&) {
        result.code = kTransformOtherError;
    }
    return result;
}

LockMenu LockMenuFor(std::string_view focusedName, std::string_view openedFileName) {
    LockMenu menu;
    std::string name(focusedName);
    name += ".TXT";
    const size_t n = name.size();
    if ((n != 34 && n != 35 && n != 38) || name != openedFileName) return menu;
    menu.lock = !TransformTargetName(TransformDirection::Lock, name).empty();
    menu.unlock = !TransformTargetName(TransformDirection::Unlock, name).empty();
    return menu;
}

}  // namespace ondavia
