// The spreadsheet export: the record grid as a printable .xlsx workbook.
// Row 1 is the file name merged over A1:M1, row 3 the grid's captions on a
// coloured fill, rows 4 on one record each (a sequence number, then the grid
// values as the grid stores them), with the grid's alignments, fixed number
// formats and widths from the grid's minimum widths. Records beyond one
// sheet's rows continue on further sheets with the same title and header.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/record.hpp"
#include "exportprogress.hpp"

namespace ondavia {

// Rows of one .xlsx sheet.
inline constexpr std::size_t kXlsxMaxRows = 1'048'576;
// Sheet names are limited to this many characters.
inline constexpr std::size_t kSheetNameMax = 31;

// A name every spreadsheet accepts for sheet number sheet (1-based): the
// characters []:*?/\ and edge apostrophes become "_", and the name is cut to
// 31 characters, keeping room for " (n)" on sheets after the first.
std::string WorkbookSheetName(std::string_view title, int sheet);

struct WorkbookOptions {
    std::string title;  // UTF-8: the text of A1 and the base of the sheet names
    std::size_t maxRowsPerSheet = kXlsxMaxRows;
    ExportProgress progress;
};

enum class WorkbookError { None, FolderNotWritable, WriteFailed };
struct WorkbookResult {
    WorkbookError error = WorkbookError::None;
    std::string message;  // the reason of a failure (English, from the system or library)
    int sheets = 0;
    bool ok() const { return error == WorkbookError::None; }
};

// Writes the workbook to an exclusive temporary file beside path and renames
// it into place: an earlier file of that name survives any failure.
WorkbookResult WriteWorkbook(const std::filesystem::path& path, const GridRows& rows,
                             const WorkbookOptions& options);

// One cell of a plain table workbook.
struct WorkbookCell {
    enum class Kind { Empty, Number, Text };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text;  // UTF-8

    static WorkbookCell Number(double v);
    static WorkbookCell Text(std::string utf8);
};

// A plain table on one sheet named after title: the header in bold on row 1,
// then one row per entry. Written like WriteWorkbook (exclusive temporary
// file renamed into place).
WorkbookResult WriteTableWorkbook(const std::filesystem::path& path, std::string_view title,
                                  const std::vector<std::string>& header,
                                  const std::vector<std::vector<WorkbookCell>>& rows);

// NAME.xlsx in dataFolder, or in fallbackFolder when dataFolder cannot be
// written; written receives the file's path.
WorkbookResult WriteWorkbookBeside(const std::filesystem::path& dataFolder,
                                   const std::filesystem::path& fallbackFolder,
                                   std::string_view name, const GridRows& rows,
                                   const WorkbookOptions& options, std::filesystem::path& written);

}  // namespace ondavia
