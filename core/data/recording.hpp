// One data file loaded whole: header texts, grid rows, record table, totals.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/fileio.hpp"
#include "layout.hpp"
#include "record.hpp"

namespace ondavia {

// The six header labels, after their display rules, as UTF-8.
struct HeaderTexts {
    std::string model;
    std::string carBody;
    std::string carKind;
    std::string carNo;
    std::string businessNo;
    std::string driverNo;
};
// header holds at least 79 bytes (already unscrambled).
HeaderTexts HeaderDisplayTexts(std::string_view header);

// Everything the load needs to know about the file before reading it.
struct LoadOptions {
    std::string upperName;  // cp949, with ".TXT": the identity and the lock key
    FileLayout fileMode = FileLayout::Lines;
    bool hundredths = false;
    bool locked = false;
    int pivotYear = 2000;  // centre of the two-digit-year window
};

struct Recording {
    std::string upperName;
    FileLayout fileMode = FileLayout::Lines;
    bool hundredths = false;
    bool locked = false;
    HeaderTexts header;
    GridRows rows;  // shares its storage with table.Rows()
    TDTG_CLASS table;
    std::int64_t fuelTotal = 0;  // mode 1 only
    std::string startText;       // "yy-mm-dd hh:nn:ss", first row, GPS week fixed
    std::string endText;         // same for the last row

    size_t MemoryBytes() const;
};

enum class LoadError {
    None,
    OpenFailed,
    ShortHeader,
    ShortRecord,  // a trailing fragment that is not an empty last line
    BadNumber,    // a number that must be read cannot be
    NoRecords,
    TooLarge,     // more record blocks than any recording holds
    OutOfMemory,  // the records do not fit in memory
};

// No recorder writes more records to a file than this: 8 hours of 0.01-second
// data are 2,880,000. Larger files are refused before they are read.
inline constexpr size_t kMaxRecordBlocks = 4'000'000;
// True when a file of this size would hold more than kMaxRecordBlocks records.
bool TooManyRecordBlocks(std::uintmax_t fileSize, FileLayout layout);

struct LoadResult {
    LoadError error = LoadError::None;
    size_t recordIndex = 0;  // 0-based record block where reading stopped
    bool ok() const { return error == LoadError::None; }
};

// The message the viewer shows for any load failure.
extern const char* const kLoadFailedMessage;
// A short description of a failure for logs and the command line.
std::string DescribeLoadError(const LoadResult& result);

// Loading never throws: every failure, running out of memory included, comes
// back as a result (out then holds what was read, or nothing).
LoadResult LoadRecordingBytes(std::string_view bytes, const LoadOptions& options, Recording& out);
// Reads the file block by block; memory grows with the records actually read.
LoadResult LoadRecording(const std::filesystem::path& path, const LoadOptions& options,
                         Recording& out);
LoadResult LoadRecordingFile(InputFile& file, const LoadOptions& options, Recording& out);

}  // namespace ondavia
