// The three physical layouts of a data file and the checks that tell them apart.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace ondavia {

// FileMode: 0 packed (79-byte header, 68-byte records, no line breaks),
// 1 lines of 79 and 87 characters, 2 lines of 79 and 68 characters.
struct BlockSizes {
    int headerSize;
    int recordSize;
};
// Mode 0 gives 79/68, mode 1 gives 81/89, any other value 81/70.
BlockSizes SizesForMode(int fileMode);

// The first line has 79 characters and the second 87 (mode 1) or 68 (mode 2).
std::optional<int> CheckTextLayout(const std::filesystem::path& path);
std::optional<int> CheckTextLayoutBytes(std::string_view firstBytes);
// (size - 79) is a whole number of 68-byte records, at least one.
bool CheckPackedLayout(const std::filesystem::path& path);
bool PackedSizeFits(std::uintmax_t size);
// Text layout first, then packed; nullopt when neither fits.
std::optional<int> DetectLayout(const std::filesystem::path& path);

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

}  // namespace ondavia
