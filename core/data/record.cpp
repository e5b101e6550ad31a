#include "record.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/fileio.hpp"
#include "common/text.hpp"

namespace ondavia {

const char* const kGridCaptions[kGridColumnCount] = {
    "정보발생시간", "발생시간", "속도", "RPM",  "BRAKE", "거리",     "누적거리", "경도", "위도",
    "방위각",       "Gx",       "Gy",   "상태", "GEAR",  "연료소모", "자율",     "가속", "조향"};

namespace {

// Field at 1-based position pos, width characters.
std::string_view Field(std::string_view block, size_t pos, size_t width) {
    return block.substr(pos - 1, width);
}

[[gnu::noinline]] std::optional<std::int32_t> ReadOtherField(std::string_view field) {
    return ReadInt32(field);
}

// A fixed-width integer field at 1-based position Pos of a block long enough
// for it: all digits is the usual form and is read directly; anything else
// goes to the general reader.
template <size_t Pos, size_t Width>
std::optional<std::int32_t> ReadField(std::string_view block) {
    static_assert(Width <= 9, "fits 32 bits");
    const char* p = block.data() + Pos - 1;
    std::uint32_t value = 0;
    bool digits = true;
    for (size_t i = 0; i < Width; ++i) {
        const auto d = static_cast<unsigned>(p[i] - '0');
        digits &= d <= 9;
        value = value * 10 + d;
    }
    if (!digits) return ReadOtherField(std::string_view(p, Width));
    return static_cast<std::int32_t>(value);
}

// An acceleration field at 1-based position Pos. The usual form "+01.50" is
// read directly, the same way the general reader reads it (the mantissa over
// an exact power of ten); anything else goes to the general reader.
template <size_t Pos>
std::optional<double> ReadAcceleration(std::string_view block) {
    const char* p = block.data() + Pos - 1;
    if ((p[0] == '+' || p[0] == '-') && p[3] == '.') {
        const auto a = static_cast<unsigned>(p[1] - '0'), b = static_cast<unsigned>(p[2] - '0');
        const auto c = static_cast<unsigned>(p[4] - '0'), d = static_cast<unsigned>(p[5] - '0');
        if (a <= 9 && b <= 9 && c <= 9 && d <= 9) {
            const double value = static_cast<double>(a * 1000 + b * 100 + c * 10 + d) / 100.0;
            return p[0] == '-' ? -value : value;
        }
    }
    return ReadReal(std::string_view(p, 6));
}

// Acceleration in g truncated toward zero to hundredths.
std::optional<double> ToG(double metresPerSecond2) {
    auto h = GHundredths(metresPerSecond2);
    if (!h) return std::nullopt;
    return static_cast<double>(*h) / 100.0;
}

}  // namespace

size_t GridRow::WriteDateTimeText(char* buf) const {
    const char* p = stamp;
    char* out = buf;
    auto pair = [&](char sep) {
        *out++ = *p++;
        *out++ = *p++;
        if (sep) *out++ = sep;
    };
    pair('-'), pair('-'), pair(' '), pair(':'), pair(':'), pair(0);
    if (hundredths) {
        *out++ = '.';
        pair(0);
    }
    return static_cast<size_t>(out - buf);
}

std::string GridRow::DateTimeText() const {
    char buf[24];
    return std::string(buf, WriteDateTimeText(buf));
}

std::optional<std::int64_t> GHundredths(double metresPerSecond2) {
    double hundredths = metresPerSecond2 / 9.8066 * 100.0;
    if (!(std::fabs(hundredths) < 9.0e15)) return std::nullopt;
    return static_cast<std::int64_t>(hundredths);
}

std::string GridRow::TimeText() const { return DateTimeText().substr(9); }

std::optional<GridRow> ParseRow(std::string_view block, const ParseContext& ctx) {
    const bool extended = ctx.fileMode == FileLayout::ExtendedLines;
    if (block.size() < (extended ? 87u : 68u)) return std::nullopt;
    GridRow row{};
    row.extended = extended;
    row.hundredths = ctx.hundredths;
    std::copy_n(block.data() + 11, 14, row.stamp);

    auto speed = ReadField<26, 3>(block);
    auto rpm = ReadField<29, 4>(block);
    auto lon = ReadField<34, 9>(block);
    auto lat = ReadField<43, 9>(block);
    auto azimuth = ReadField<52, 3>(block);
    auto gx = ReadAcceleration<55>(block);
    auto gy = ReadAcceleration<61>(block);
    auto state = ReadField<67, 2>(block);
    if (!speed || !rpm || !lon || !lat || !azimuth || !gx || !gy || !state) return std::nullopt;
    row.speed = *speed;
    row.rpm = *rpm;
    row.km = ReadField<1, 4>(block).value_or(0);
    row.totKm = ReadField<5, 7>(block).value_or(0);
    row.gpsX = *lon / 1'000'000.0;
    row.gpsY = *lat / 1'000'000.0;
    row.azimuth = *azimuth;
    row.gx = *gx;
    row.gy = *gy;
    row.state = *state;
    row.brakeOn = block[32] == '1';

    // Some recorders put the brake digit in position 34 and a five-decimal
    // longitude in 35-42.
    if (row.gpsX < 124.0) {
        auto alt = ReadField<35, 8>(block);
        if (!alt) return std::nullopt;
        double altLon = *alt / 100'000.0;
        if (altLon >= 124.0 && altLon <= 132.0) {
            row.gpsX = altLon;
            row.brakeOn = block[33] == '1';
        }
    }

    if (extended) {
        auto fuel = ReadHex(Field(block, 72, 6));
        if (!fuel) return std::nullopt;
        row.fuel = *fuel;
        std::copy_n(block.data() + 69, 2, row.gear);
        std::copy_n(block.data() + 77, 2, row.autonomous);
        std::copy_n(block.data() + 79, 4, row.accel);
        std::copy_n(block.data() + 83, 4, row.steer);
    }
    return row;
}

int CompareKeys(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    size_t i = 0;
    // Equal bytes are equal keys: skip them eight at a time.
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y) {
            // Straight to the first byte that differs.
            if constexpr (std::endian::native == std::endian::little)
                i += static_cast<size_t>(std::countr_zero(x ^ y)) / 8;
            break;
        }
    }
    for (; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// ------------------------------------------------------------------ rows

namespace {

constexpr double kPow10[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};

// A real as a magnitude times 10^-scale, when that gives the same double
// back (sign of zero included); false for a value that does not pack. Six
// decimals come first: they hold every value the files carry.
bool PackReal(double value, std::int32_t& mantissa, std::uint8_t& scale) {
    const double magnitude = std::fabs(value);
    if (!(magnitude < 2147483647.0)) return false;
    for (int e = 6; e >= 0; --e) {
        const double product = magnitude * kPow10[e];
        if (!(product < 2147483647.0)) continue;
        const auto rounded = static_cast<std::int32_t>(std::lround(product));
        if (static_cast<double>(rounded) / kPow10[e] == magnitude) {
            mantissa = rounded;
            scale = static_cast<std::uint8_t>(e | (std::signbit(value) ? 0x80 : 0));
            return true;
        }
    }
    return false;
}

double UnpackReal(std::int32_t mantissa, std::uint8_t scale) {
    const double magnitude = mantissa / kPow10[scale & 0x7F];
    return (scale & 0x80) ? -magnitude : magnitude;
}

template <typename Narrow>
bool Fits(std::int64_t value) {
    return value >= std::numeric_limits<Narrow>::min() &&
           value <= std::numeric_limits<Narrow>::max();
}

}  // namespace

GridRows::GridRows(const std::vector<GridRow>& rows) {
    reserve(rows.size());
    for (const GridRow& row : rows)
        push_back(row);
}

GridRows::Store& GridRows::Mutable() {
    if (!store_)
        store_ = std::make_shared<Store>();
    else if (store_.use_count() > 1)
        store_ = std::make_shared<Store>(*store_);
    return *store_;
}

void GridRows::Append(const GridRow& row, int brakeDigit) {
    Store& s = Mutable();
    PackedRow p{};
    std::copy_n(row.stamp, sizeof p.stamp, p.stamp);
    p.flags = static_cast<std::uint8_t>((row.brakeOn ? kBrakeOn : 0) |
                                        (row.hundredths ? kHundredths : 0) |
                                        (row.extended ? kExtended : 0) | (brakeDigit & 0xF) << 4);
    const double reals[4] = {row.gpsX, row.gpsY, row.gx, row.gy};
    bool packs = Fits<std::int16_t>(row.speed) && Fits<std::int16_t>(row.rpm) &&
                 Fits<std::int16_t>(row.km) && Fits<std::int16_t>(row.azimuth) &&
                 Fits<std::int8_t>(row.state) && Fits<std::int32_t>(row.fuel);
    for (int i = 0; i < 4 && packs; ++i)
        packs = PackReal(reals[i], p.mantissa[i], p.scale[i]);
    if (packs) {
        p.totKm = row.totKm;
        p.speed = static_cast<std::int16_t>(row.speed);
        p.rpm = static_cast<std::int16_t>(row.rpm);
        p.km = static_cast<std::int16_t>(row.km);
        p.azimuth = static_cast<std::int16_t>(row.azimuth);
        p.state = static_cast<std::int8_t>(row.state);
    } else {
        // Kept whole; totKm holds its place in the list of such rows.
        p.flags |= kWide;
        p.totKm = static_cast<std::int32_t>(s.wide.size());
        s.wide.push_back(row);
    }
    // The extended fields are kept once any row has them, one per row.
    if (row.extended || !s.extended.empty()) {
        s.extended.resize(s.rows.size());
        ExtendedFields e{};
        if (row.extended) {
            std::copy_n(row.gear, 2, e.gear);
            std::copy_n(row.autonomous, 2, e.autonomous);
            std::copy_n(row.accel, 4, e.accel);
            std::copy_n(row.steer, 4, e.steer);
            e.fuel = static_cast<std::int32_t>(row.fuel);
        }
        s.extended.push_back(e);
    }
    s.rows.push_back(p);
}

GridRow GridRows::operator[](size_t index) const {
    const PackedRow& p = Packed(index);
    if (p.flags & kWide) return store_->wide[static_cast<size_t>(p.totKm)];
    GridRow row{};
    std::copy_n(p.stamp, sizeof p.stamp, row.stamp);
    row.brakeOn = p.flags & kBrakeOn;
    row.hundredths = p.flags & kHundredths;
    row.extended = p.flags & kExtended;
    row.speed = p.speed;
    row.rpm = p.rpm;
    row.km = p.km;
    row.totKm = p.totKm;
    row.azimuth = p.azimuth;
    row.state = p.state;  // NOLINT(bugprone-signed-char-misuse): a signed code, -1 included
    row.gpsX = UnpackReal(p.mantissa[0], p.scale[0]);
    row.gpsY = UnpackReal(p.mantissa[1], p.scale[1]);
    row.gx = UnpackReal(p.mantissa[2], p.scale[2]);
    row.gy = UnpackReal(p.mantissa[3], p.scale[3]);
    if (row.extended) {
        const ExtendedFields& e = store_->extended[index];
        std::copy_n(e.gear, 2, row.gear);
        std::copy_n(e.autonomous, 2, row.autonomous);
        std::copy_n(e.accel, 4, row.accel);
        std::copy_n(e.steer, 4, row.steer);
        row.fuel = e.fuel;
    }
    return row;
}

size_t GridRows::WriteTimeKey(size_t index, char* buf) const {
    const PackedRow& p = Packed(index);
    const char* t = p.stamp + 6;
    buf[0] = t[0], buf[1] = t[1], buf[2] = ':';
    buf[3] = t[2], buf[4] = t[3], buf[5] = ':';
    buf[6] = t[4], buf[7] = t[5];
    if (!(p.flags & kHundredths)) return 8;
    buf[8] = '.', buf[9] = t[6], buf[10] = t[7];
    return 11;
}

void GridRows::clear() {
    if (store_ && store_.use_count() == 1) {
        // Kept for the next file: writing to memory already in use is
        // cheaper than touching fresh pages.
        store_->rows.clear();
        store_->extended.clear();
        store_->wide.clear();
    } else {
        store_.reset();
    }
}

void GridRows::reserve(size_t n) {
    auto& rows = Mutable().rows;
    rows.reserve(n);
    PrepareForFilling(rows.data(), rows.capacity() * sizeof(PackedRow));
}

void GridRows::shrink_to_fit() {
    if (!store_ || store_.use_count() > 1) return;
    auto& rows = store_->rows;
    if (rows.capacity() > rows.size() + rows.size() / 4) rows.shrink_to_fit();
    if (store_->extended.capacity() > store_->extended.size() + store_->extended.size() / 4)
        store_->extended.shrink_to_fit();
}

size_t GridRows::MemoryBytes() const {
    if (!store_) return 0;
    return sizeof(Store) + store_->rows.capacity() * sizeof(PackedRow) +
           store_->extended.capacity() * sizeof(ExtendedFields) +
           store_->wide.capacity() * sizeof(GridRow);
}

// ----------------------------------------------------------------- table

void TDTG_CLASS::Clear() {
    entries_.clear();
    rows_.clear();
    gaps_.clear();
    added_.clear();
    current_ = -1;
}

void TDTG_CLASS::Add(const TDTG_RECORD& record) {
    entries_.push_back(kAdded | static_cast<std::uint32_t>(added_.size()));
    added_.push_back(record);
}

void TDTG_CLASS::Reserve(size_t n) {
    entries_.reserve(n);
    PrepareForFilling(entries_.data(), entries_.capacity() * sizeof(std::uint32_t));
    rows_.reserve(n);
}

void TDTG_CLASS::ShrinkToFit() {
    if (entries_.capacity() > entries_.size() + entries_.size() / 4) entries_.shrink_to_fit();
    if (gaps_.capacity() > gaps_.size() + gaps_.size() / 4) gaps_.shrink_to_fit();
    rows_.shrink_to_fit();
}

size_t TDTG_CLASS::MemoryBytes() const {
    return entries_.capacity() * sizeof(std::uint32_t) + rows_.MemoryBytes() +
           gaps_.capacity() * sizeof(GapRecord) + added_.capacity() * sizeof(TDTG_RECORD);
}

size_t TDTG_CLASS::WriteEntryKey(std::uint32_t entry, char* buf) const {
    const size_t index = entry & ~kKindMask;
    switch (entry & kKindMask) {
        case kFromRow:
            return rows_.WriteTimeKey(index, buf);
        case kGap:
            std::copy_n(gaps_[index].dateTime + 9, 8, buf);
            return 8;
        default: {
            std::string_view key = added_[index].InfoTime.View();
            std::copy(key.begin(), key.end(), buf);
            return key.size();
        }
    }
}

std::uint64_t TDTG_CLASS::FileOrder(std::uint32_t entry) const {
    const std::uint64_t index = entry & ~kKindMask;
    switch (entry & kKindMask) {
        case kFromRow:
            return index << 32 | 0xFFFFFFFFu;
        case kGap:
            // Before the row that follows the gap, in the order they were added.
            return static_cast<std::uint64_t>(gaps_[index].row) << 32 | index;
        default:
            return index;
    }
}

TDTG_RECORD TDTG_CLASS::Build(std::uint32_t entry) const {
    const size_t index = entry & ~kKindMask;
    TDTG_RECORD r;
    switch (entry & kKindMask) {
        case kFromRow: {
            const GridRow row = rows_[index];
            char dateTime[24];
            size_t length = row.WriteDateTimeText(dateTime);
            if (row.hundredths) dateTime[length++] = '0';
            r.InfoDateTime.Assign(std::string_view(dateTime, length));
            r.InfoTime.Assign(std::string_view(dateTime + 9, row.hundredths ? 11 : 8));
            r.Speed = static_cast<std::uint16_t>(row.speed);
            r.RPM = static_cast<std::uint16_t>(row.rpm);
            r.Brake = static_cast<std::uint8_t>(rows_.BrakeDigit(index));
            r.Km = row.km;
            r.TotKm = row.totKm;
            r.GpsX = row.gpsX;
            r.GpsY = row.gpsY;
            r.GpsAngle = static_cast<std::uint16_t>(row.azimuth);
            // Both were checked when the record was added.
            r.Gx = ToG(row.gx).value_or(0);
            r.Gy = ToG(row.gy).value_or(0);
            r.State = static_cast<std::uint8_t>(row.state);
            r.Engine = 1.0;
            return r;
        }
        case kGap: {
            const GapRecord& g = gaps_[index];
            const GridRow row = rows_[g.row];
            r.Km = row.km;
            r.TotKm = row.totKm;
            r.Engine = 0.2;
            r.InfoDateTime.Assign(std::string_view(g.dateTime, sizeof g.dateTime));
            r.InfoTime.Assign(std::string_view(g.dateTime + 9, 8));
            return r;
        }
        default:
            return added_[index];
    }
}

TDTG_RECORD TDTG_CLASS::Item(int index) const { return Build(Entry(index)); }

void TDTG_CLASS::Sort() {
    current_ = -1;
    auto less = [this](std::uint32_t a, std::uint32_t b) {
        char ka[24], kb[24];
        return CompareKeys(std::string_view(ka, WriteEntryKey(a, ka)),
                           std::string_view(kb, WriteEntryKey(b, kb))) < 0;
    };
    // One key written per record: the usual file is in order already.
    bool sorted = true;
    char keys[2][24];
    size_t lengths[2] = {0, 0};
    for (size_t i = 0; i < entries_.size() && sorted; ++i) {
        char* key = keys[i & 1];
        lengths[i & 1] = WriteEntryKey(entries_[i], key);
        if (i > 0)
            sorted = CompareKeys(std::string_view(keys[(i - 1) & 1], lengths[(i - 1) & 1]),
                                 std::string_view(key, lengths[i & 1])) <= 0;
    }
    if (sorted) return;
    if (!added_.empty()) {
        std::stable_sort(entries_.begin(), entries_.end(), less);
        return;
    }
    // Equal keys are ordered by their place in the file, which keeps the
    // sort stable without the scratch buffer a stable sort takes.
    std::sort(entries_.begin(), entries_.end(), [this](std::uint32_t a, std::uint32_t b) {
        char ka[24], kb[24];
        int c = CompareKeys(std::string_view(ka, WriteEntryKey(a, ka)),
                            std::string_view(kb, WriteEntryKey(b, kb)));
        return c != 0 ? c < 0 : FileOrder(a) < FileOrder(b);
    });
}

TDTG_RECORD TDTG_CLASS::Current() const {
    return current_ >= 0 && current_ < Count() ? Item(current_) : TDTG_RECORD{};
}

int TDTG_CLASS::FindRecord(std::string_view key) {
    int low = 0, high = Count() - 1;
    char buf[24];
    while (low <= high) {
        int mid = low + (high - low) / 2;
        int c = CompareKeys(std::string_view(buf, WriteKey(mid, buf)), key);
        if (c == 0) {
            current_ = mid;
            return mid;
        }
        if (c < 0)
            low = mid + 1;
        else
            high = mid - 1;
    }
    return -1;
}

namespace {

bool IsDigits(const char* p, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (p[i] < '0' || p[i] > '9') return false;
    return true;
}

// True when stamp is the same second as previous or the one after it within
// the same minute (both all digits): previous being a date-time, so is stamp,
// and there is no gap between them.
bool SameOrNextSecond(const char* previous, const char* stamp) {
    if (!IsDigits(stamp, 12) || !IsDigits(previous, 12)) return false;
    if (std::memcmp(previous, stamp, 10) != 0) return false;
    const int before = (previous[10] - '0') * 10 + (previous[11] - '0');
    const int now = (stamp[10] - '0') * 10 + (stamp[11] - '0');
    return now <= 59 && (now == before || now == before + 1);
}

// The date-time of a stamp's first twelve bytes; a "_" reads as "0".
std::optional<DateTime> StampDateTime(const char* stamp, int pivotYear) {
    static constexpr char kSeparators[5] = {'-', '-', ' ', ':', ':'};
    char text[17];
    char* out = text;
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 2; ++j) {
            const char c = stamp[2 * i + j];
            *out++ = c == '_' ? '0' : c;
        }
        if (i < 5) *out++ = kSeparators[i];
    }
    return TryParseDateTime(std::string_view(text, sizeof text), pivotYear);
}

}  // namespace

void TDTG_CLASS::FollowClock(const GridRow& row, GapState& gap, int pivotYear,
                             std::uint32_t rowIndex) {
    if (gap.hasPrevious && SameOrNextSecond(gap.previousStamp, row.stamp)) {
        std::copy_n(row.stamp, sizeof gap.previousStamp, gap.previousStamp);
        gap.previousPending = true;
        return;
    }
    if (gap.hasPrevious && gap.previousPending) {
        auto previous = StampDateTime(gap.previousStamp, pivotYear);
        gap.hasPrevious = previous.has_value();
        if (previous) gap.previous = *previous;
        gap.previousPending = false;
    }
    // A stamp that is not a date-time breaks the chain of seconds instead
    // of filling a gap from or to day zero.
    std::optional<DateTime> cur = StampDateTime(row.stamp, pivotYear);
    if (cur && gap.hasPrevious) {
        std::int64_t span = SecondsBetween64(gap.previous, *cur);
        if (span > 1 && span <= kMaxFilledGapSeconds && gap.filled + (span - 1) <= kMaxGapRecords) {
            DateTime limit = SubtractSeconds(1, *cur);
            DateTime previous = gap.previous;
            GapRecord g{};
            g.row = rowIndex;
            while (previous < limit && gap.filled < kMaxGapRecords) {
                ++gap.filled;
                previous = AddSeconds(1, previous);
                const std::string text = FormatDateTime("yy-mm-dd hh:nn:ss", previous);
                std::copy_n(text.data(), std::min(text.size(), sizeof g.dateTime), g.dateTime);
                entries_.push_back(kGap | static_cast<std::uint32_t>(gaps_.size()));
                gaps_.push_back(g);
            }
        }
    }
    gap.hasPrevious = cur.has_value();
    if (cur) gap.previous = *cur;
    std::copy_n(row.stamp, sizeof gap.previousStamp, gap.previousStamp);
}

bool TDTG_CLASS::AddRecords(const GridRow& row, std::string_view block, const ParseContext& ctx,
                            GapState& gap, int pivotYear) {
    const char brakeDigit = block[32];
    if (brakeDigit < '0' || brakeDigit > '9') return false;
    if (!ToG(row.gx) || !ToG(row.gy)) return false;
    if (rows_.size() >= (size_t{1} << 30) || gaps_.size() >= (size_t{1} << 30)) return false;
    const auto rowIndex = static_cast<std::uint32_t>(rows_.size());

    if (!ctx.hundredths) FollowClock(row, gap, pivotYear, rowIndex);

    rows_.Append(row, brakeDigit - '0');
    entries_.push_back(kFromRow | rowIndex);
    return true;
}

}  // namespace ondavia
