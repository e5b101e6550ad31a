// The three physical layouts of a data file and the checks that tell them apart.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace ondavia {

// How the bytes of a data file are laid out. The numbers are the file list's
// mode column and the command line's "mode".
enum class FileLayout : int {
    Packed = 0,         // 79-byte header, 68-byte records, no line breaks
    ExtendedLines = 1,  // CR LF lines of 79 and 87 characters
    Lines = 2,          // CR LF lines of 79 and 68 characters
};
inline int ModeNumber(FileLayout layout) { return static_cast<int>(layout); }
// 0 and 1 name their layouts; any other number is taken as lines of 68.
FileLayout LayoutFromMode(int mode);

struct BlockSizes {
    int headerSize;
    int recordSize;
};
// Packed 79/68, extended lines 81/89, lines 81/70 (line breaks included).
BlockSizes SizesForMode(FileLayout layout);

// The first line has 79 characters and the second 87 or 68.
std::optional<FileLayout> CheckTextLayout(const std::filesystem::path& path);
std::optional<FileLayout> CheckTextLayoutBytes(std::string_view firstBytes);
// (size - 79) is a whole number of 68-byte records, at least one.
bool CheckPackedLayout(const std::filesystem::path& path);
bool PackedSizeFits(std::uintmax_t size);
// Text layout first, then packed; nullopt when neither fits.
std::optional<FileLayout> DetectLayout(const std::filesystem::path& path);
// The same from the first bytes of a file (at least kLayoutProbeBytes when the
// file has them) and its size.
std::optional<FileLayout> DetectLayoutBytes(std::string_view firstBytes, std::uintmax_t size);
// Enough bytes to hold the header line and the longest record line.
inline constexpr size_t kLayoutProbeBytes = 79 + 2 + 87 + 2 + 1;

struct Validation {
    bool valid = false;
    bool hundredths = true;
    bool locked = false;
};
// Names with a type letter are judged by the letter alone; others by reading
// the header and up to five records: a non-zero hundredths field with more
// data after it marks 0.01-second data.
Validation ValidateDataFile(std::string_view upperName, const std::filesystem::path& path,
                            BlockSizes sizes);
Validation ValidateDataBytes(std::string_view upperName, std::string_view bytes, BlockSizes sizes);
// The first bytes of a file that decide its validation: the header and five
// records, and one byte to tell whether more follows.
inline size_t ValidationProbeBytes(BlockSizes sizes) {
    return static_cast<size_t>(sizes.headerSize + 5 * sizes.recordSize) + 1;
}

}  // namespace ondavia
