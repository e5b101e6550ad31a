#include "recording.hpp"

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>

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
    // The rows are the table's own.
    return sizeof(Recording) + table.MemoryBytes();
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
        case LoadError::TooLarge:
            return "the file holds more than " + std::to_string(kMaxRecordBlocks) + " records";
        case LoadError::OutOfMemory:
            return "there is not enough memory for its records";
    }
    return "unknown";
}

bool TooManyRecordBlocks(std::uintmax_t fileSize, FileLayout layout) {
    const BlockSizes sizes = SizesForMode(layout);
    const auto header = static_cast<std::uintmax_t>(sizes.headerSize);
    const auto record = static_cast<std::uintmax_t>(sizes.recordSize);
    return fileSize > header && (fileSize - header) / record > kMaxRecordBlocks;
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

// Takes a file's bytes in pieces of any size, in order.
class Loader {
  public:
    Loader(const LoadOptions& options, Recording& out, std::uintmax_t expectedBytes)
        : options_(options),
          out_(out),
          sizes_(SizesForMode(options.fileMode)),
          key_(LockKey(options.upperName)),
          ctx_{options.fileMode, options.hundredths} {
        // The table keeps its storage: loading one file after another then
        // writes to memory already in use instead of fresh pages.
        TDTG_CLASS table = std::move(out_.table);
        out_ = Recording{};
        table.Clear();
        out_.table = std::move(table);
        out_.upperName = options.upperName;
        out_.fileMode = options.fileMode;
        out_.hundredths = options.hundredths;
        out_.locked = options.locked;
        // The size says how many records there are (the caller has refused
        // sizes past kMaxRecordBlocks): room for exactly those, so no list
        // is copied while it grows. Pages are only touched as records fill
        // them.
        const auto header = static_cast<std::uintmax_t>(sizes_.headerSize);
        const size_t expected =
            expectedBytes > header ? static_cast<size_t>(std::min<std::uintmax_t>(
                                         (expectedBytes - header) / RecordSize(), kMaxRecordBlocks))
                                   : 0;
        out_.table.Reserve(expected);
    }

    // False once reading has to stop.
    bool Feed(std::string_view data) {
        while (!data.empty() && result_.ok()) {
            const size_t need = headerDone_ ? RecordSize() : HeaderSize();
            std::string_view unit;
            if (pending_.empty() && data.size() >= need) {
                unit = data.substr(0, need);
                data.remove_prefix(need);
            } else {
                const size_t take = std::min(need - pending_.size(), data.size());
                pending_.append(data.substr(0, take));
                data.remove_prefix(take);
                if (pending_.size() < need) break;
                unit = pending_;
            }
            if (headerDone_)
                Record(unit);
            else
                Header(unit);
            pending_.clear();
        }
        return result_.ok();
    }

    LoadResult Finish() {
        if (result_.ok() && !headerDone_) result_.error = LoadError::ShortHeader;
        if (result_.ok() && !pending_.empty()) {
            // An empty last line ends a text-layout file normally; the check
            // looks at the bytes as stored.
            const bool emptyLastLine = !out_.table.Rows().empty() &&
                                       options_.fileMode != FileLayout::Packed &&
                                       std::string_view(pending_).substr(0, 2) == "\r\n";
            if (!emptyLastLine) result_ = {LoadError::ShortRecord, out_.table.Rows().size()};
        }
        if (result_.error == LoadError::ShortHeader) return result_;
        out_.table.Sort();
        out_.table.ShrinkToFit();
        out_.rows = out_.table.Rows();
        if (result_.ok() && out_.rows.empty()) result_.error = LoadError::NoRecords;
        if (!result_.ok()) return result_;
        out_.startText = LabelText(out_.rows.front(), options_.pivotYear);
        out_.endText = LabelText(out_.rows.back(), options_.pivotYear);
        return result_;
    }

  private:
    size_t HeaderSize() const { return static_cast<size_t>(sizes_.headerSize); }
    size_t RecordSize() const { return static_cast<size_t>(sizes_.recordSize); }

    std::string_view Unscrambled(std::string_view raw) {
        if (!options_.locked) return raw;
        block_.assign(raw);
        ScrambleBytes(block_, key_);
        return block_;
    }

    void Header(std::string_view raw) {
        out_.header = HeaderDisplayTexts(Unscrambled(raw));
        headerDone_ = true;
    }

    void Record(std::string_view raw) {
        const size_t index = out_.table.Rows().size();
        if (index >= kMaxRecordBlocks) {
            result_ = {LoadError::TooLarge, index};
            return;
        }
        std::string_view rec = Unscrambled(raw);
        auto row = ParseRow(rec, ctx_);
        if (!row) {
            result_ = {LoadError::BadNumber, index};
            return;
        }
        if (!out_.table.AddRecords(*row, rec, ctx_, gap_, options_.pivotYear)) {
            result_ = {LoadError::BadNumber, index};
            return;
        }
        if (options_.fileMode == FileLayout::ExtendedLines) out_.fuelTotal += row->fuel;
    }

    const LoadOptions& options_;
    Recording& out_;
    const BlockSizes sizes_;
    const unsigned char key_;
    const ParseContext ctx_;
    bool headerDone_ = false;
    std::string pending_;  // a header or record split between two pieces
    std::string block_;    // one unscrambled block at a time
    GapState gap_;
    LoadResult result_;
};

LoadResult Failed(LoadError error, Recording& out) {
    out = Recording{};
    return {error, 0};
}

}  // namespace

LoadResult LoadRecordingBytes(std::string_view bytes, const LoadOptions& options, Recording& out) {
    try {
        Loader loader(options, out, bytes.size());
        loader.Feed(bytes);
        return loader.Finish();
    } catch (const std::bad_alloc&) {
        return Failed(LoadError::OutOfMemory, out);
    } catch (const std::length_error&) {
        return Failed(LoadError::OutOfMemory, out);
    }
}

LoadResult LoadRecordingFile(InputFile& file, const LoadOptions& options, Recording& out) {
    if (!file.isOpen()) return Failed(LoadError::OpenFailed, out);
    if (TooManyRecordBlocks(file.size(), options.fileMode)) return Failed(LoadError::TooLarge, out);
    try {
        Loader loader(options, out, file.size());
        // Read into one reused buffer, left uninitialised: the file's bytes
        // are never held whole.
        constexpr size_t kBufferSize = 256u << 10;
        std::unique_ptr<char[]> buffer(new char[kBufferSize]);
        std::uintmax_t offset = 0;
        for (;;) {
            long long n = file.ReadAt(offset, buffer.get(), kBufferSize);
            if (n < 0) return Failed(LoadError::OpenFailed, out);
            if (n == 0) break;
            offset += static_cast<std::uintmax_t>(n);
            if (!loader.Feed(std::string_view(buffer.get(), static_cast<size_t>(n)))) break;
        }
        return loader.Finish();
    } catch (const std::bad_alloc&) {
        return Failed(LoadError::OutOfMemory, out);
    } catch (const std::length_error&) {
        return Failed(LoadError::OutOfMemory, out);
    }
}

LoadResult LoadRecording(const std::filesystem::path& path, const LoadOptions& options,
                         Recording& out) {
    InputFile file(path);
    return LoadRecordingFile(file, options, out);
}

}  // namespace ondavia
