// The texts and times of the printed reports that need no window: titles,
// the printed span, the file name in the screen report's header, and the
// times of day the headless report is asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/datetime.hpp"

namespace ondavia {

// "운행기록 분석 (0.01초)" for 0.01-second data, else "운행기록 분석 (1초)".
std::string ReportTitle(bool hundredths);

// "yyyy-mm-dd hh:nn:ss", followed by "." and the hundredths for 0.01-second
// data.
std::string ReportTimeText(DateTime t, bool hundredths);

// The last component of a path written with either separator.
std::string ReportFileName(std::string_view path);

// "hh:nn:ss" or "hh:nn:ss.zz" as milliseconds of the day; nullopt for
// anything else.
std::optional<std::int64_t> ParseTimeOfDay(std::string_view text);

// The first moment at that time of day within [first, last] (a span that may
// cross midnight); nullopt when the span never passes that time.
std::optional<DateTime> TimeInSpan(std::int64_t msOfDay, DateTime first, DateTime last);

}  // namespace ondavia
