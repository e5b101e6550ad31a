#include "datetime.hpp"

#include <chrono>
#include <cmath>
#include <utility>

namespace ondavia {

namespace {

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

DateParts CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

constexpr std::int64_t kUnixEpochDay = 25569;  // 1970-01-01 as a day count

// Cursor over the text being read as a date-time.
struct Scanner {
    std::string_view s;
    size_t pos = 0;

    bool AtEnd() const { return pos >= s.size(); }
    void SkipBlanks() {
        while (pos < s.size() && s[pos] == ' ')
            ++pos;
    }
    bool Take(char c) {
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    // Up to maxDigits decimal digits; reports how many were read.
    bool Number(int& value, int& digits, int maxDigits = 4) {
        value = 0;
        digits = 0;
        while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
            if (digits == maxDigits) return false;
            value = value * 10 + (s[pos] - '0');
            ++digits;
            ++pos;
        }
        return digits > 0;
    }
};

int WindowYear(int twoDigit, int pivotYear) {
    int threshold = pivotYear - 50;
    int year = threshold - threshold % 100 + twoDigit;
    if (year < threshold) year += 100;
    return year;
}

bool ScanDate(Scanner& sc, int pivotYear, std::int64_t& day) {
    int y, m, d, dy, dm, dd;
    if (!sc.Number(y, dy) || !sc.Take('-') || !sc.Number(m, dm, 2) || !sc.Take('-') ||
        !sc.Number(d, dd, 2))
        return false;
    if (dy <= 2) y = WindowYear(y, pivotYear);
    auto encoded = EncodeDate(y, m, d);
    if (!encoded) return false;
    day = *encoded;
    return true;
}

bool ScanTime(Scanner& sc, std::int64_t& ms) {
    int h, n, s = 0, f = 0, digits;
    if (!sc.Number(h, digits, 2) || !sc.Take(':') || !sc.Number(n, digits, 2)) return false;
    if (sc.Take(':')) {
        if (!sc.Number(s, digits, 2)) return false;
        if (sc.Take('.') && !sc.Number(f, digits, 3)) return false;
    }
    if (h > 23 || n > 59 || s > 59) return false;
    ms = ((h * 60LL + n) * 60 + s) * 1000 + f;
    return true;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

std::optional<std::int64_t> EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) return std::nullopt;
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
           kUnixEpochDay;
}

namespace {
// Whole days and milliseconds of the day, a time that rounds up to midnight
// carried into the next day.
std::pair<std::int64_t, std::int64_t> SplitDateTime(DateTime value) {
    std::int64_t day = static_cast<std::int64_t>(std::trunc(value));
    std::int64_t ms = TimeOfDayMs(value);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        day += value < 0 ? -1 : 1;
    }
    return {day, ms};
}
}  // namespace

DateParts DecodeDate(DateTime value) {
    return CivilFromDays(SplitDateTime(value).first - kUnixEpochDay);
}

std::int64_t TimeOfDayMs(DateTime value) {
    double frac = std::fabs(value - std::trunc(value));
    return std::llround(frac * static_cast<double>(kMsPerDay));
}

TimeParts DecodeTime(DateTime value) {
    std::int64_t ms = SplitDateTime(value).second;
    return {static_cast<int>(ms / 3'600'000), static_cast<int>(ms / 60'000 % 60),
            static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

DateTime ComposeDateTime(std::int64_t day, std::int64_t msOfDay) {
    return static_cast<double>(day) + static_cast<double>(msOfDay) / static_cast<double>(kMsPerDay);
}

int CurrentYear() {
    using namespace std::chrono;
    return static_cast<int>(year_month_day(floor<days>(system_clock::now())).year());
}

std::optional<DateTime> TryParseDateTime(std::string_view text, int pivotYear) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.remove_suffix(1);
    Scanner sc{text};
    std::int64_t day = 0, ms = 0;
    if (ScanDate(sc, pivotYear, day)) {
        if (sc.AtEnd()) return ComposeDateTime(day, 0);
        size_t before = sc.pos;
        sc.SkipBlanks();
        if (sc.pos == before || !ScanTime(sc, ms) || !sc.AtEnd()) return std::nullopt;
        return ComposeDateTime(day, ms);
    }
    sc.pos = 0;
    if (ScanTime(sc, ms) && sc.AtEnd()) return ComposeDateTime(0, ms);
    return std::nullopt;
}

bool IsDateTimeText(std::string_view text, int pivotYear) {
    return TryParseDateTime(text, pivotYear).has_value();
}

DateTime ParseDateTimeText(std::string_view text, DateTime fallback, int pivotYear) {
    // Record texts are short; longer ones cannot be a date-time anyway.
    char buf[64];
    if (text.size() >= sizeof buf) return fallback;
    for (size_t i = 0; i < text.size(); ++i)
        buf[i] = text[i] == '_' ? '0' : text[i];
    auto value = TryParseDateTime(std::string_view(buf, text.size()), pivotYear);
    return value ? *value : fallback;
}

DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (year >= 0 && year < 100) year += year <= 80 ? 2000 : 1900;
    auto d = EncodeDate(year, month, day);
    if (!d || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return 0;
    return ComposeDateTime(*d, ((hour * 60LL + minute) * 60 + second) * 1000);
}

DateTime GpsWeekFix(DateTime value) {
    return value >= 36394 && value <= 38219 ? value + 7168 : value;
}

std::string FormatDateTime(std::string_view format, DateTime value) {
    DateParts d = DecodeDate(value);
    TimeParts t = DecodeTime(value);
    std::string out;
    out.reserve(format.size() + 4);
    auto two = [&out](int v) {
        out.push_back(static_cast<char>('0' + v / 10 % 10));
        out.push_back(static_cast<char>('0' + v % 10));
    };
    bool afterHour = false;
    for (size_t i = 0; i < format.size();) {
        std::string_view rest = format.substr(i);
        if (rest.starts_with("yyyy")) {
            two(d.year / 100);
            two(d.year % 100);
            i += 4;
            afterHour = false;
        } else if (rest.starts_with("yy")) {
            two(d.year % 100);
            i += 2;
            afterHour = false;
        } else if (rest.starts_with("mm")) {
            two(afterHour ? t.minute : d.month);
            afterHour = false;
            i += 2;
        } else if (rest.starts_with("dd")) {
            two(d.day);
            i += 2;
            afterHour = false;
        } else if (rest.starts_with("hh")) {
            two(t.hour);
            afterHour = true;
            i += 2;
        } else if (rest.starts_with("nn")) {
            two(t.minute);
            i += 2;
            afterHour = false;
        } else if (rest.starts_with("ss")) {
            two(t.second);
            i += 2;
            afterHour = false;
        } else if (rest.starts_with("zzz")) {
            out.push_back(static_cast<char>('0' + t.ms / 100));
            two(t.ms % 100);
            i += 3;
            afterHour = false;
        } else if (rest.starts_with("zz")) {
            two(t.ms / 10);
            i += 2;
            afterHour = false;
        } else {
            out.push_back(format[i]);
            ++i;
        }
    }
    return out;
}

// Spans: the absolute difference is decoded to whole days plus a time of day
// rounded to the millisecond, then counted.
std::int64_t MillisecondsBetween64(DateTime from, DateTime to) {
    double d = std::fabs(to - from);
    if (!std::isfinite(d) || d > 1e9) return to >= from ? INT64_MAX / 2 : -INT64_MAX / 2;
    std::int64_t days = static_cast<std::int64_t>(std::trunc(d));
    std::int64_t r = days * kMsPerDay + TimeOfDayMs(d);
    return to >= from ? r : -r;
}

std::int64_t SecondsBetween64(DateTime from, DateTime to) {
    std::int64_t ms = MillisecondsBetween64(from, to);
    return ms / 1000;  // the dropped milliseconds truncate toward zero on both signs
}

namespace {
std::int32_t Clamp32(std::int64_t v) {
    return static_cast<std::int32_t>(v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : v);
}
}  // namespace

std::int32_t SecondsBetween(DateTime from, DateTime to) {
    return Clamp32(SecondsBetween64(from, to));
}
std::int32_t MillisecondsBetween(DateTime from, DateTime to) {
    return Clamp32(MillisecondsBetween64(from, to));
}

DateTime AddMilliseconds(std::int64_t n, DateTime t) {
    std::int64_t day = static_cast<std::int64_t>(std::trunc(t));
    std::int64_t total = n + TimeOfDayMs(t);
    return ComposeDateTime(day + total / kMsPerDay, total % kMsPerDay);
}

DateTime SubtractMilliseconds(std::int64_t n, DateTime t) {
    std::int64_t day = static_cast<std::int64_t>(std::trunc(t));
    std::int64_t total = TimeOfDayMs(t) - n;
    std::int64_t borrow = 0;
    if (total < 0) {
        std::int64_t k = -total;
        borrow = (k + kMsPerDay - 1) / kMsPerDay;
        total = (kMsPerDay - k % kMsPerDay) % kMsPerDay;
    }
    return ComposeDateTime(day - borrow, total);
}

// Whole seconds keep the time's own milliseconds, so both reduce to the
// millisecond forms with n scaled.
DateTime AddSeconds(std::int64_t n, DateTime t) { return AddMilliseconds(n * 1000, t); }
DateTime SubtractSeconds(std::int64_t n, DateTime t) { return SubtractMilliseconds(n * 1000, t); }

}  // namespace ondavia
