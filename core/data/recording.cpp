#include "recording.hpp"

#include "common/cp949.hpp"
#include "common/fileio.hpp"
#include "common/text.hpp"
#include "filename.hpp"
#include "lockedform.hpp"

namespace ondavia {

const char* const kLoadFailedMessage =
    "자료가 없거나 자료를 읽어 오는중 오류가 발생하여 작업을 할 수 없습니다.";

HeaderTexts HeaderDisplayTexts(std::string_view h) {
    HeaderTexts t;
    t.model = Cp949ToUtf8(TextAfterLast(h.substr(0, 20), '#'));
    t.carBody = Cp949ToUtf8(h.substr(20, 17));
    std::string_view kind = h.substr(37, 2);
    t.carKind = Cp949ToUtf8(kind);
    if (kind == "21")
        t.carKind += " - 일반택시";
    else if (kind == "22")
        t.carKind += " - 개인택시";
    t.carNo = Cp949ToUtf8(TextAfterLast(h.substr(39, 12), '#'));
    std::string business;
    business.append(h.substr(51, 3))
        .append("-")
        .append(h.substr(54, 2))
        .append("-")
        .append(h.substr(56, 5));
    t.businessNo = Cp949ToUtf8(business);
    t.driverNo = Cp949ToUtf8(TextAfterLast(h.substr(61, 18), '#'));
    return t;
}

size_t Recording::MemoryBytes() const {
    return sizeof(Recording) + rows.capacity() * sizeof(GridRow) +
           static_cast<size_t>(table.Items().capacity()) * sizeof(TDTG_RECORD);
}

std::string DescribeLoadError(const LoadResult& r) {
    switch (r.error) {
        case LoadError::None:
            return "ok";
        case LoadError::OpenFailed:
            return "the file cannot be read";
        case LoadError::ShortHeader:
            return "the header is incomplete";
        case LoadError::ShortRecord:
            return "record " + std::to_string(r.recordIndex + 1) + " is incomplete";
        case LoadError::BadNumber:
            return "record " + std::to_string(r.recordIndex + 1) + " holds an unreadable number";
        case LoadError::NoRecords:
            return "the file holds no records";
    }
    return "unknown";
}

namespace {

// Start/end label text: the row's date-time, GPS week fixed; a stamp that is
// not a date-time is shown as stored.
std::string LabelText(const GridRow& row, int pivotYear) {
    std::string text = row.DateTimeText();
    auto value = TryParseDateTime(text, pivotYear);
    if (!value) return Cp949ToUtf8(text);
    return FormatDateTime("yy-mm-dd hh:nn:ss", GpsWeekFix(*value));
}

}  // namespace

LoadResult LoadRecordingBytes(std::string_view bytes, const LoadOptions& options, Recording& out) {
    out = Recording{};
    out.upperName = options.upperName;
    out.fileMode = options.fileMode;
    out.hundredths = options.hundredths;
    out.locked = options.locked;

    const BlockSizes sizes = SizesForMode(options.fileMode);
    const size_t headerSize = static_cast<size_t>(sizes.headerSize);
    const size_t recordSize = static_cast<size_t>(sizes.recordSize);
    const unsigned char key = LockKey(options.upperName);
    const ParseContext ctx{options.fileMode, options.hundredths};

    LoadResult result;
    std::string block;  // one unscrambled block at a time
    auto take = [&](size_t pos, size_t size) -> std::string_view {
        std::string_view raw = bytes.substr(pos, size);
        if (!options.locked) return raw;
        block.assign(raw);
        ScrambleBytes(block, key);
        return block;
    };

    if (bytes.size() < headerSize) {
        result.error = LoadError::ShortHeader;
        return result;
    }
    out.header = HeaderDisplayTexts(take(0, headerSize));

    size_t records = (bytes.size() - headerSize) / recordSize;
    out.rows.reserve(records);
    out.table.Reserve(options.hundredths ? records : records + records / 8);

    GapState gap;
    size_t pos = headerSize;
    while (pos < bytes.size()) {
        size_t index = out.rows.size();
        if (bytes.size() - pos < recordSize) {
            // An empty last line ends a text-layout file normally; the check
            // looks at the bytes as stored.
            std::string_view tail = bytes.substr(pos);
            bool emptyLastLine =
                !out.rows.empty() && options.fileMode != 0 && tail.substr(0, 2) == "\r\n";
            if (!emptyLastLine) result = {LoadError::ShortRecord, index};
            break;
        }
        std::string_view rec = take(pos, recordSize);
        pos += recordSize;
        auto row = ParseRow(rec, ctx);
        if (!row || !out.table.AddRecords(*row, rec, ctx, gap, options.pivotYear)) {
            result = {LoadError::BadNumber, index};
            break;
        }
        if (options.fileMode == 1) out.fuelTotal += row->fuel;
        out.rows.push_back(*row);
    }

    out.table.Sort();
    out.table.ShrinkToFit();
    if (result.ok() && out.rows.empty()) result.error = LoadError::NoRecords;
    if (!result.ok()) return result;
    out.startText = LabelText(out.rows.front(), options.pivotYear);
    out.endText = LabelText(out.rows.back(), options.pivotYear);
    return result;
}

LoadResult LoadRecording(const std::filesystem::path& path, const LoadOptions& options,
                         Recording& out) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        out = Recording{};
        return {LoadError::OpenFailed, 0};
    }
    return LoadRecordingBytes(*bytes, options, out);
}

}  // namespace ondavia
