// Record lines: the parsed grid row, the table record, and the record table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/datetime.hpp"
#include "layout.hpp"

namespace ondavia {

// A short text kept inline, so a record costs no allocation of its own.
template <size_t N>
struct FixedText {
    char data[N] = {};
    std::uint8_t size = 0;

    void Assign(std::string_view s) {
        size = static_cast<std::uint8_t>(s.size() < N ? s.size() : N);
        for (size_t i = 0; i < size; ++i)
            data[i] = s[i];
    }
    std::string_view View() const { return std::string_view(data, size); }
    std::string Str() const { return std::string(View()); }
};

// The eighteen grid columns, in order.
enum GridColumn : int {
    ColInfoDateTime,
    ColInfoTime,
    ColSpeed,
    ColRPM,
    ColBrake,
    ColKm,
    ColTotKm,
    ColGpsX,
    ColGpsY,
    ColGpsAngle,
    ColGx,
    ColGy,
    ColState,
    ColGear,
    ColFuel,
    ColAuto,
    ColAccel,
    ColSteer,
    kGridColumnCount
};

// Captions of the grid columns (UTF-8).
extern const char* const kGridCaptions[kGridColumnCount];

// One record line as the grid shows it. The date and time texts are kept as
// the fourteen stamp bytes of the line (positions 12-25) and built on demand.
struct GridRow {
    char stamp[14];
    char gear[2];
    char autonomous[2];
    char accel[4];
    char steer[4];
    bool brakeOn;
    bool extended;    // the line has the extended fields
    bool hundredths;  // the time text carries hundredths
    std::int32_t speed, rpm, km, totKm, azimuth, state;
    double gpsX, gpsY, gx, gy;
    std::int64_t fuel;

    // Column 0: "yy-mm-dd " + column 1 (cp949 bytes as stored).
    std::string DateTimeText() const;
    // The same into buf (at least 21 bytes); returns its length.
    size_t WriteDateTimeText(char* buf) const;
    // Column 1: "hh:nn:ss", with ".zz" for 0.01-second data.
    std::string TimeText() const;
    std::string_view Gear() const {
        return extended ? std::string_view(gear, 2) : std::string_view();
    }
    std::string_view Autonomous() const {
        return extended ? std::string_view(autonomous, 2) : std::string_view();
    }
    std::string_view Accel() const {
        return extended ? std::string_view(accel, 4) : std::string_view();
    }
    std::string_view Steer() const {
        return extended ? std::string_view(steer, 4) : std::string_view();
    }
};

// The parsed rows of a recording, kept compact: a row costs 48 bytes (64 with
// the extended fields) instead of a GridRow's 96, and rows[i] rebuilds the
// GridRow from them exactly. Copies share the rows until one of them is
// changed, so a recording and its table hold one set.
class GridRows {
  public:
    class const_iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = GridRow;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = GridRow;
        const_iterator(const GridRows* rows, size_t index) : rows_(rows), index_(index) {}
        GridRow operator*() const { return (*rows_)[index_]; }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }
        bool operator!=(const const_iterator& other) const { return index_ != other.index_; }

      private:
        const GridRows* rows_;
        size_t index_;
    };
    using value_type = GridRow;
    using iterator = const_iterator;

    GridRows() = default;
    // For callers that build rows one by one (tests, tools).
    GridRows(const std::vector<GridRow>& rows);  // NOLINT(google-explicit-constructor)

    size_t size() const { return store_ ? store_->rows.size() : 0; }
    bool empty() const { return size() == 0; }
    GridRow operator[](size_t index) const;
    GridRow front() const { return (*this)[0]; }
    GridRow back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    void push_back(const GridRow& row) { Append(row, 0); }
    // brakeDigit: value of the digit in position 33, which the table reads.
    void Append(const GridRow& row, int brakeDigit);
    void clear();
    void reserve(size_t n);
    void shrink_to_fit();
    size_t capacity() const { return store_ ? store_->rows.capacity() : 0; }
    size_t MemoryBytes() const;

    int BrakeDigit(size_t index) const { return Packed(index).flags >> 4; }
    // "hh:nn:ss", with ".zz" for 0.01-second data, into buf (at least 12
    // bytes); returns its length.
    size_t WriteTimeKey(size_t index, char* buf) const;

  private:
    struct PackedRow {
        std::int32_t totKm;
        std::int32_t mantissa[4];  // |gpsX|, |gpsY|, |gx|, |gy| times 10^scale
        std::int16_t speed, rpm, km, azimuth;
        std::int8_t state;
        std::uint8_t flags;     // kBrakeOn..kWide, brake digit in the high four bits
        std::uint8_t scale[4];  // decimals of each mantissa; kNegative for a minus sign
        char stamp[14];
    };
    struct ExtendedFields {
        char gear[2];
        char autonomous[2];
        char accel[4];
        char steer[4];
        std::int32_t fuel;
    };
    struct Store {
        std::vector<PackedRow> rows;
        std::vector<ExtendedFields> extended;  // empty, or one per row
        std::vector<GridRow> wide;             // rows whose values do not pack
    };
    static constexpr std::uint8_t kBrakeOn = 1, kHundredths = 2, kExtended = 4, kWide = 8;
    static constexpr std::uint8_t kNegative = 0x80;

    const PackedRow& Packed(size_t index) const { return store_->rows[index]; }
    Store& Mutable();

    std::shared_ptr<Store> store_;
};

struct TDTG_RECORD {
    std::int32_t Km = 0;
    std::int32_t TotKm = 0;
    std::uint16_t Speed = 0;
    std::uint16_t RPM = 0;
    std::uint16_t GpsAngle = 0;
    std::uint8_t Brake = 0;
    std::uint8_t State = 0;
    double GpsX = 0, GpsY = 0, Gx = 0, Gy = 0, Engine = 0;
    FixedText<12> InfoTime;      // the time key: "hh:nn:ss" or "hh:nn:ss.zz"
    FixedText<21> InfoDateTime;  // "yy-mm-dd hh:nn:ss", or with ".zz0" for 0.01-second data
};

// Acceleration in whole hundredths of g (9.8066 m/s² per g), truncated toward
// zero; nullopt for a value too large to truncate (a garbled field).
std::optional<std::int64_t> GHundredths(double metresPerSecond2);

struct ParseContext {
    FileLayout fileMode = FileLayout::Lines;
    bool hundredths = false;
};

// nullopt when a number that must be read cannot be (the whole file fails).
// block holds at least 68 bytes (87 for mode 1).
std::optional<GridRow> ParseRow(std::string_view block, const ParseContext& ctx);

// Running state of the gap filling of 1-second data, kept for one file.
struct GapState {
    bool hasPrevious = false;
    DateTime previous = 0;
    std::int64_t filled = 0;  // gap records added so far
    // The previous stamp's "yymmddhhnnss" bytes. While previousPending is
    // set, previous has not been computed from them yet: a record one second
    // after the last, the usual case, needs no date arithmetic.
    char previousStamp[12] = {};
    bool previousPending = false;
};

// Gaps longer than this are not filled: a clock jump of days would otherwise
// make millions of entries.
inline constexpr std::int64_t kMaxFilledGapSeconds = 86'400;
// Nor is a gap that would take the file's gap records past one day's worth: a
// clock that jumps a day forward and back again, over and over, would
// otherwise add a day of records for every jump.
inline constexpr std::int64_t kMaxGapRecords = 86'400;

// Read-only view of a table's records in table order, for range-for and index
// access; records are built on access.
class TDTG_CLASS;
class RecordRange {
  public:
    class const_iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = TDTG_RECORD;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = TDTG_RECORD;
        const_iterator(const TDTG_CLASS* table, size_t index) : table_(table), index_(index) {}
        TDTG_RECORD operator*() const;
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }
        bool operator!=(const const_iterator& other) const { return index_ != other.index_; }

      private:
        const TDTG_CLASS* table_;
        size_t index_;
    };
    explicit RecordRange(const TDTG_CLASS* table) : table_(table) {}
    size_t size() const;
    bool empty() const { return size() == 0; }
    TDTG_RECORD operator[](size_t index) const;
    const_iterator begin() const { return {table_, 0}; }
    const_iterator end() const { return {table_, size()}; }

  private:
    const TDTG_CLASS* table_;
};

// The record table. A record read from the file is kept as the index of its
// row (the row holds every value the record is made of); an inserted gap
// record as its row and its time text. Records are built on access.
class TDTG_CLASS {
  public:
    void Clear();
    void Add(const TDTG_RECORD& record);
    // Orders by time key (characters compared without regard to case); equal
    // keys keep their file order. A table already in order is left as it is.
    void Sort();
    int Count() const { return static_cast<int>(entries_.size()); }
    TDTG_RECORD Item(int index) const;
    RecordRange Items() const { return RecordRange(this); }
    // The time key of a record, into buf (at least 21 bytes); returns its length.
    size_t WriteKey(int index, char* buf) const { return WriteEntryKey(Entry(index), buf); }

    // The record readers look at: the blank record until a walker or
    // FindRecord moves it.
    TDTG_RECORD Current() const;
    void SetCurrent(int index) { current_ = index; }
    int CurrentIndex() const { return current_; }

    // Binary search of the sorted keys; on a hit Current moves there and its
    // index is returned, on a miss -1 and Current stays.
    int FindRecord(std::string_view key);

    // Appends the row (to Rows()) and its record, preceded in 1-second data
    // by gap records for the missing seconds before it. False when position
    // 33 is not a digit; nothing is added then.
    bool AddRecords(const GridRow& row, std::string_view block, const ParseContext& ctx,
                    GapState& gap, int pivotYear);

    // The rows that AddRecords appended, in file order.
    const GridRows& Rows() const { return rows_; }

    void Reserve(size_t n);
    // Gives back spare capacity left by growth during the load.
    void ShrinkToFit();
    // Memory held by the records (rows included).
    size_t MemoryBytes() const;

  private:
    // An entry: kind in the top two bits, index into its list below them.
    static constexpr std::uint32_t kKindMask = 3u << 30;
    static constexpr std::uint32_t kFromRow = 0, kGap = 1u << 30, kAdded = 2u << 30;
    struct GapRecord {
        std::uint32_t row;  // the row after the gap: its distances are copied
        char dateTime[17];  // "yy-mm-dd hh:nn:ss"
    };

    // Gap records before the row (1-second data) and the clock kept in gap.
    void FollowClock(const GridRow& row, GapState& gap, int pivotYear, std::uint32_t rowIndex);
    std::uint32_t Entry(int index) const { return entries_[static_cast<size_t>(index)]; }
    TDTG_RECORD Build(std::uint32_t entry) const;
    size_t WriteEntryKey(std::uint32_t entry, char* buf) const;
    // Position in file order, for a stable order of equal keys.
    std::uint64_t FileOrder(std::uint32_t entry) const;

    std::vector<std::uint32_t> entries_;
    GridRows rows_;
    std::vector<GapRecord> gaps_;
    std::vector<TDTG_RECORD> added_;
    int current_ = -1;
};

inline TDTG_RECORD RecordRange::const_iterator::operator*() const {
    return table_->Item(static_cast<int>(index_));
}
inline size_t RecordRange::size() const { return static_cast<size_t>(table_->Count()); }
inline TDTG_RECORD RecordRange::operator[](size_t index) const {
    return table_->Item(static_cast<int>(index));
}

int CompareKeys(std::string_view a, std::string_view b);

}  // namespace ondavia
