#include "reporttext.hpp"

#include <cmath>

namespace ondavia {

std::string ReportTitle(bool hundredths) {
    return hundredths ? "운행기록 분석 (0.01초)" : "운행기록 분석 (1초)";
}

std::string ReportTimeText(DateTime t, bool hundredths) {
    return FormatDateTime(hundredths ? "yyyy-mm-dd hh:nn:ss.zz" : "yyyy-mm-dd hh:nn:ss", t);
}

std::string ReportFileName(std::string_view path) {
    const size_t cut = path.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::optional<std::int64_t> ParseTimeOfDay(std::string_view text) {
    if (text.size() != 8 && text.size() != 11) return std::nullopt;
    auto digits = [&](size_t at) -> int {
        const char a = text[at], b = text[at + 1];
        if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
        return (a - '0') * 10 + (b - '0');
    };
    if (text[2] != ':' || text[5] != ':') return std::nullopt;
    const int h = digits(0), m = digits(3), s = digits(6);
    int hundredths = 0;
    if (text.size() == 11) {
        if (text[8] != '.') return std::nullopt;
        hundredths = digits(9);
    }
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59 || hundredths < 0)
        return std::nullopt;
    return ((h * 60 + m) * 60 + s) * std::int64_t{1000} + std::int64_t{hundredths} * 10;
}

namespace {

// Whole milliseconds since day 0, so that span ends compare exactly.
std::int64_t TotalMs(DateTime t) {
    const auto day = static_cast<std::int64_t>(std::floor(t));
    return day * kMsPerDay + TimeOfDayMs(t);
}

}  // namespace

std::optional<DateTime> TimeInSpan(std::int64_t msOfDay, DateTime first, DateTime last) {
    if (msOfDay < 0 || msOfDay >= kMsPerDay) return std::nullopt;
    const std::int64_t from = TotalMs(first), to = TotalMs(last);
    for (std::int64_t day = from / kMsPerDay; day <= to / kMsPerDay; ++day) {
        const std::int64_t at = day * kMsPerDay + msOfDay;
        if (at >= from && at <= to) return ComposeDateTime(day, msOfDay);
    }
    return std::nullopt;
}

}  // namespace ondavia
