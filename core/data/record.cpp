#include "record.hpp"

#include <algorithm>
#include <cmath>

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

    auto speed = ReadInt32(Field(block, 26, 3));
    auto rpm = ReadInt32(Field(block, 29, 4));
    auto lon = ReadInt32(Field(block, 34, 9));
    auto lat = ReadInt32(Field(block, 43, 9));
    auto azimuth = ReadInt32(Field(block, 52, 3));
    auto gx = ReadReal(Field(block, 55, 6));
    auto gy = ReadReal(Field(block, 61, 6));
    auto state = ReadInt32(Field(block, 67, 2));
    if (!speed || !rpm || !lon || !lat || !azimuth || !gx || !gy || !state) return std::nullopt;
    row.speed = *speed;
    row.rpm = *rpm;
    row.km = ReadInt32(Field(block, 1, 4)).value_or(0);
    row.totKm = ReadInt32(Field(block, 5, 7)).value_or(0);
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
        auto alt = ReadInt32(Field(block, 35, 8));
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
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

void TDTG_CLASS::Clear() {
    List.clear();
    current_ = -1;
}

void TDTG_CLASS::Sort() {
    auto less = [](const TDTG_RECORD& a, const TDTG_RECORD& b) {
        return CompareKeys(a.InfoTime.View(), b.InfoTime.View()) < 0;
    };
    if (!std::is_sorted(List.begin(), List.end(), less))
        std::stable_sort(List.begin(), List.end(), less);
    current_ = -1;
}

const TDTG_RECORD& TDTG_CLASS::Current() const {
    return current_ >= 0 && current_ < Count() ? List[static_cast<size_t>(current_)] : blank_;
}

int TDTG_CLASS::FindRecord(std::string_view key) {
    int low = 0, high = Count() - 1;
    while (low <= high) {
        int mid = low + (high - low) / 2;
        int c = CompareKeys(List[static_cast<size_t>(mid)].InfoTime.View(), key);
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

bool TDTG_CLASS::AddRecords(const GridRow& row, std::string_view block, const ParseContext& ctx,
                            GapState& gap, int pivotYear) {
    const char brakeDigit = block[32];
    if (brakeDigit < '0' || brakeDigit > '9') return false;
    auto gx = ToG(row.gx);
    auto gy = ToG(row.gy);
    if (!gx || !gy) return false;

    char dateTime[24];
    size_t length = row.WriteDateTimeText(dateTime);
    if (!ctx.hundredths) {
        // A stamp that is not a date-time breaks the chain of seconds instead
        // of filling a gap from or to day zero.
        char readable[24];
        for (size_t i = 0; i < length; ++i)
            readable[i] = dateTime[i] == '_' ? '0' : dateTime[i];
        std::optional<DateTime> cur =
            TryParseDateTime(std::string_view(readable, length), pivotYear);
        if (cur && gap.hasPrevious) {
            std::int64_t span = SecondsBetween64(gap.previous, *cur);
            if (span > 1 && span <= kMaxFilledGapSeconds &&
                gap.filled + (span - 1) <= kMaxGapRecords) {
                DateTime limit = SubtractSeconds(1, *cur);
                DateTime previous = gap.previous;
                TDTG_RECORD g;
                g.Km = row.km;
                g.TotKm = row.totKm;
                g.Engine = 0.2;
                while (previous < limit && gap.filled < kMaxGapRecords) {
                    ++gap.filled;
                    previous = AddSeconds(1, previous);
                    g.InfoTime.Assign(FormatDateTime("hh:nn:ss", previous));
                    g.InfoDateTime.Assign(FormatDateTime("yy-mm-dd hh:nn:ss", previous));
                    List.push_back(g);
                }
            }
        }
        gap.hasPrevious = cur.has_value();
        if (cur) gap.previous = *cur;
    }

    TDTG_RECORD r;
    if (ctx.hundredths) dateTime[length++] = '0';
    r.InfoDateTime.Assign(std::string_view(dateTime, length));
    r.InfoTime.Assign(std::string_view(dateTime + 9, ctx.hundredths ? 11 : 8));
    r.Speed = static_cast<std::uint16_t>(row.speed);
    r.RPM = static_cast<std::uint16_t>(row.rpm);
    r.Brake = static_cast<std::uint8_t>(brakeDigit - '0');
    r.Km = row.km;
    r.TotKm = row.totKm;
    r.GpsX = row.gpsX;
    r.GpsY = row.gpsY;
    r.GpsAngle = static_cast<std::uint16_t>(row.azimuth);
    r.Gx = *gx;
    r.Gy = *gy;
    r.State = static_cast<std::uint8_t>(row.state);
    r.Engine = 1.0;
    List.push_back(r);
    return true;
}

}  // namespace ondavia
