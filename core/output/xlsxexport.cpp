#include "xlsxexport.hpp"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>

#include "common/cp949.hpp"
#include "common/fileio.hpp"
#include "common/text.hpp"
#include "data/gridformat.hpp"

namespace ondavia {

std::string WorkbookSheetName(std::string_view title, int sheet) {
    const std::string suffix = sheet > 1 ? " (" + std::to_string(sheet) + ")" : std::string();
    const size_t room = kSheetNameMax - suffix.size();
    std::string name;
    size_t chars = 0;
    for (size_t i = 0; i < title.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(title[i]);
        const bool lead = (c & 0xC0) != 0x80;
        if (lead && ++chars > room) break;
        const bool refused = std::strchr("[]:*?/\\", c) != nullptr && c != 0;
        name.push_back(refused || c < 0x20 ? '_' : static_cast<char>(c));
    }
    if (name.empty()) name = "Sheet";
    if (name.front() == '\'') name.front() = '_';
    if (name.back() == '\'') name.back() = '_';
    // A name Excel keeps for itself.
    if (UpperCp949(name) == "HISTORY") name += '_';
    return name + suffix;
}

namespace {

// Spreadsheet columns: A is the sequence number, B grid column 0, and from C
// on grid columns 2, 3, ...; grid column 1 (the time alone) is not exported.
constexpr int kSheetColumns = kGridColumnCount;  // A .. R
// Title merge, fill, borders and the font stop here (column M).
constexpr int kRightEdge = 13;
constexpr int kHeaderRow = 2;  // 0-based: row 3
constexpr int kFirstRecordRow = 3;

int GridColumnOf(int sheetColumn) { return sheetColumn == 1 ? 0 : sheetColumn; }

// Number formats of rows 4 on, by spreadsheet column (0-based); B and E are text.
const char* NumberFormat(int sheetColumn) {
    switch (sheetColumn + 1) {
        case 1:
            return "###,##0 ";
        case 2:
        case 5:
            return "@";
        case 3:
        case 4:
        case 6:
        case 10:
            return "#,##0 ";
        case 7:
            return "#,###,##0 ";
        case 8:
        case 9:
            return "##0.000000 ";
        case 11:
        case 12:
            return "###0.0 ";
        case 13:
            return "00";
        default:
            return nullptr;
    }
}

uint8_t AlignOf(int sheetColumn) {
    if (sheetColumn == 0) return LXW_ALIGN_RIGHT;
    if (sheetColumn == 1) return LXW_ALIGN_CENTER;
    return GridColumnTraitsOf(GridColumnOf(sheetColumn)).align == GridAlign::Right
               ? LXW_ALIGN_RIGHT
               : LXW_ALIGN_CENTER;
}

constexpr const char* kFontName = "돋움체";
// 16777088 as the spreadsheet's BGR colour value: red 128, green 255, blue 255.
constexpr lxw_color_t kHeaderFill = 0x80FFFF;

class SheetWriter {
  public:
    SheetWriter(lxw_workbook* wb, const GridRows& rows, const WorkbookOptions& options)
        : wb_(wb), rows_(rows), options_(options) {
        title_ = Format(true, 16, LXW_ALIGN_CENTER);
        format_set_bold(title_);
        row1_ = workbook_add_format(wb_);
        format_set_bold(row1_);
        format_set_font_size(row1_, 16);
        format_set_align(row1_, LXW_ALIGN_CENTER);
        row2_ = Format(true, 0, 0);
        header_ = Format(true, 11, LXW_ALIGN_CENTER);
        format_set_bg_color(header_, kHeaderFill);
        format_set_pattern(header_, LXW_PATTERN_SOLID);
        format_set_border(header_, LXW_BORDER_THIN);
        row3_ = Format(false, 11, LXW_ALIGN_CENTER);
        for (int c = 0; c < kSheetColumns; ++c) {
            const bool framed = c < kRightEdge;
            lxw_format* f = Format(framed, framed ? 11 : 0, AlignOf(c));
            if (framed) format_set_border(f, LXW_BORDER_THIN);
            if (const char* number = NumberFormat(c)) format_set_num_format(f, number);
            cell_[c] = f;
        }
    }

    // One sheet with the records [first, end).
    void Write(lxw_worksheet* ws, size_t first, size_t end) {
        ws_ = ws;
        Check(worksheet_set_column(ws, 0, 0, 7, nullptr));
        for (int c = 1; c < kSheetColumns; ++c) {
            // The grid's minimum width divided by 7, the remainder dropped.
            const int width = GridColumnTraitsOf(GridColumnOf(c)).width / 7;
            Check(worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                       width, nullptr));
        }
        // Row 1 is taller for its 16-point title.
        Check(worksheet_set_row(ws, 0, 21, row1_));
        Check(worksheet_merge_range(ws, 0, 0, 0, kRightEdge - 1, options_.title.c_str(), title_));
        for (int c = 0; c < kRightEdge; ++c)
            Check(worksheet_write_blank(ws, 1, static_cast<lxw_col_t>(c), row2_));
        Check(worksheet_set_row(ws, kHeaderRow, LXW_DEF_ROW_HEIGHT, row3_));
        for (int c = 0; c < kSheetColumns; ++c) {
            const char* caption = c == 0 ? "순번" : kGridCaptions[GridColumnOf(c)];
            Check(worksheet_write_string(ws, kHeaderRow, static_cast<lxw_col_t>(c), caption,
                                         c < kRightEdge ? header_ : row3_));
        }
        lxw_row_t row = kFirstRecordRow;
        for (size_t i = first; i < end && ok(); ++i, ++row) {
            WriteRecord(row, i + 1, rows_[i]);
            if (options_.progress && (i + 1) % kExportProgressStep == 0) options_.progress(i + 1);
        }
        worksheet_set_selection(ws, 0, 0, 0, 0);
    }

    bool ok() const { return error_ == LXW_NO_ERROR; }
    lxw_error error() const { return error_; }

  private:
    lxw_format* Format(bool fontName, double size, uint8_t align) {
        lxw_format* f = workbook_add_format(wb_);
        if (fontName) format_set_font_name(f, kFontName);
        if (size > 0) format_set_font_size(f, size);
        if (align) format_set_align(f, align);
        return f;
    }

    void Check(lxw_error e) {
        if (e != LXW_NO_ERROR && ok()) error_ = e;
    }

    void Number(lxw_row_t row, int c, double v) {
        Check(worksheet_write_number(ws_, row, static_cast<lxw_col_t>(c), v, cell_[c]));
    }
    // Always a string cell: text from a file never becomes a formula.
    void Text(lxw_row_t row, int c, std::string_view bytes) {
        const std::string utf8 = Cp949ToUtf8(bytes);
        Check(worksheet_write_string(ws_, row, static_cast<lxw_col_t>(c), utf8.c_str(), cell_[c]));
    }

    void WriteRecord(lxw_row_t row, size_t sequence, const GridRow& r) {
        char stamp[24];
        Number(row, 0, static_cast<double>(sequence));
        Text(row, 1, std::string_view(stamp, r.WriteDateTimeText(stamp)));
        Number(row, 2, r.speed);
        Number(row, 3, r.rpm);
        Text(row, 4, r.brakeOn ? "ON" : "OFF");
        Number(row, 5, r.km);
        Number(row, 6, r.totKm);
        Number(row, 7, r.gpsX);
        Number(row, 8, r.gpsY);
        Number(row, 9, r.azimuth);
        Number(row, 10, r.gx);
        Number(row, 11, r.gy);
        Number(row, 12, r.state);
        // The extended columns stay empty for files that do not fill them.
        if (!r.extended) return;
        Text(row, 13, r.Gear());
        Number(row, 14, static_cast<double>(r.fuel));
        Text(row, 15, r.Autonomous());
        Text(row, 16, r.Accel());
        Text(row, 17, r.Steer());
    }

    lxw_workbook* wb_;
    lxw_worksheet* ws_ = nullptr;
    const GridRows& rows_;
    const WorkbookOptions& options_;
    lxw_format *title_, *row1_, *row2_, *header_, *row3_;
    lxw_format* cell_[kSheetColumns];
    lxw_error error_ = LXW_NO_ERROR;
};

WorkbookResult Failed(WorkbookError error, std::string message) {
    WorkbookResult r;
    r.error = error;
    r.message = std::move(message);
    return r;
}

}  // namespace

namespace {

// Writes a workbook that fill puts into the library's workbook object: the
// library writes the exclusive temporary file by name, which is renamed over
// the target only when the workbook is whole. fill returns the reason of a
// failure, empty on success.
WorkbookResult WriteWorkbookFile(const std::filesystem::path& path,
                                 const std::function<std::string(lxw_workbook*)>& fill) {
    PendingFile pending(path);
    if (!pending.ok()) return Failed(WorkbookError::FolderNotWritable, pending.error().message());
    const std::filesystem::path tmp = pending.TemporaryPath();
    pending.HandOver();

    lxw_workbook_options wbOptions{};
    // Rows go to disk as they are written: memory stays flat in the record count.
    wbOptions.constant_memory = LXW_TRUE;
    lxw_workbook* wb = workbook_new_opt(PathToText(tmp).c_str(), &wbOptions);
    if (!wb) return Failed(WorkbookError::WriteFailed, "cannot create the workbook");
    std::string failure = fill(wb);
    // Closing frees the workbook whatever happened; its file only counts on success.
    const lxw_error closed = workbook_close(wb);
    if (failure.empty() && closed != LXW_NO_ERROR) failure = lxw_strerror(closed);
    if (failure.empty() && !pending.Commit()) failure = pending.error().message();
    if (!failure.empty()) return Failed(WorkbookError::WriteFailed, failure);
    return {};
}

}  // namespace

WorkbookResult WriteWorkbook(const std::filesystem::path& path, const GridRows& rows,
                             const WorkbookOptions& options) {
    if (options.maxRowsPerSheet <= kFirstRecordRow || options.maxRowsPerSheet > kXlsxMaxRows)
        return Failed(WorkbookError::WriteFailed, "invalid rows per sheet");
    const size_t perSheet = options.maxRowsPerSheet - kFirstRecordRow;
    const size_t sheets = rows.empty() ? 1 : (rows.size() + perSheet - 1) / perSheet;
    WorkbookResult done = WriteWorkbookFile(path, [&](lxw_workbook* wb) {
        SheetWriter writer(wb, rows, options);
        for (size_t s = 0; s < sheets && writer.ok(); ++s) {
            const std::string name = WorkbookSheetName(options.title, static_cast<int>(s + 1));
            lxw_worksheet* ws = workbook_add_worksheet(wb, name.c_str());
            if (!ws) return "the sheet name is refused: " + name;
            writer.Write(ws, s * perSheet, std::min(rows.size(), (s + 1) * perSheet));
        }
        return writer.ok() ? std::string() : std::string(lxw_strerror(writer.error()));
    });
    if (!done.ok()) return done;
    if (options.progress) options.progress(rows.size());
    done.sheets = static_cast<int>(sheets);
    return done;
}

WorkbookCell WorkbookCell::Number(double v) {
    WorkbookCell c;
    c.kind = Kind::Number;
    c.number = v;
    return c;
}

WorkbookCell WorkbookCell::Text(std::string utf8) {
    WorkbookCell c;
    c.kind = Kind::Text;
    c.text = std::move(utf8);
    return c;
}

WorkbookResult WriteTableWorkbook(const std::filesystem::path& path, std::string_view title,
                                  const std::vector<std::string>& header,
                                  const std::vector<std::vector<WorkbookCell>>& rows) {
    if (rows.size() + 1 > kXlsxMaxRows) return Failed(WorkbookError::WriteFailed, "too many rows");
    WorkbookResult done = WriteWorkbookFile(path, [&](lxw_workbook* wb) -> std::string {
        const std::string name = WorkbookSheetName(title, 1);
        lxw_worksheet* ws = workbook_add_worksheet(wb, name.c_str());
        if (!ws) return "the sheet name is refused: " + name;
        lxw_format* bold = workbook_add_format(wb);
        format_set_bold(bold);
        format_set_font_name(bold, kFontName);
        lxw_format* plain = workbook_add_format(wb);
        format_set_font_name(plain, kFontName);
        lxw_error e = LXW_NO_ERROR;
        auto check = [&e](lxw_error r) {
            if (e == LXW_NO_ERROR) e = r;
        };
        for (size_t c = 0; c < header.size(); ++c)
            check(
                worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), header[c].c_str(), bold));
        for (size_t r = 0; r < rows.size() && e == LXW_NO_ERROR; ++r) {
            const auto row = static_cast<lxw_row_t>(r + 1);
            for (size_t c = 0; c < rows[r].size(); ++c) {
                const WorkbookCell& cell = rows[r][c];
                const auto col = static_cast<lxw_col_t>(c);
                // Text is always a string cell: a file name never becomes a formula.
                if (cell.kind == WorkbookCell::Kind::Number)
                    check(worksheet_write_number(ws, row, col, cell.number, plain));
                else if (cell.kind == WorkbookCell::Kind::Text)
                    check(worksheet_write_string(ws, row, col, cell.text.c_str(), plain));
            }
        }
        worksheet_set_selection(ws, 0, 0, 0, 0);
        return e == LXW_NO_ERROR ? std::string() : std::string(lxw_strerror(e));
    });
    if (done.ok()) done.sheets = 1;
    return done;
}

WorkbookResult WriteWorkbookBeside(const std::filesystem::path& dataFolder,
                                   const std::filesystem::path& fallbackFolder,
                                   std::string_view name, const GridRows& rows,
                                   const WorkbookOptions& options, std::filesystem::path& written) {
    const std::filesystem::path fileName = PathFromText(std::string(name) + ".xlsx");
    written = dataFolder / fileName;
    WorkbookResult r = WriteWorkbook(written, rows, options);
    if (r.error != WorkbookError::FolderNotWritable || fallbackFolder.empty()) return r;
    written = fallbackFolder / fileName;
    return WriteWorkbook(written, rows, options);
}

}  // namespace ondavia
