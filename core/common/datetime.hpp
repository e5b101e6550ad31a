// The day-count date-time: a double counting days from 1899-12-30 (day 0),
// the fraction being the time of day. Texts are read year-month-day with "-",
// times with ":" and an optional "." fraction read as milliseconds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondavia {

using DateTime = double;

constexpr std::int64_t kMsPerDay = 86'400'000;

struct DateParts {
    int year = 0, month = 0, day = 0;
};
struct TimeParts {
    int hour = 0, minute = 0, second = 0, ms = 0;
};

bool IsValidDate(int year, int month, int day);
// Days from 1899-12-30; nullopt for an invalid date.
std::optional<std::int64_t> EncodeDate(int year, int month, int day);
DateParts DecodeDate(DateTime value);
// Time of day, rounded to the nearest millisecond; a time that rounds up to
// midnight is 00:00:00.000 of the next day (DecodeDate agrees).
TimeParts DecodeTime(DateTime value);
// Milliseconds of the day after rounding (0 .. 86 400 000).
std::int64_t TimeOfDayMs(DateTime value);
DateTime ComposeDateTime(std::int64_t day, std::int64_t msOfDay);

// The year the two-digit-year window is centred on: this year, from the clock.
int CurrentYear();

// Reads "Y-M-D", "Y-M-D h:n[:s[.f]]" or "h:n[:s[.f]]". A year of one or two
// digits is placed between 50 years before and 49 years after pivotYear.
std::optional<DateTime> TryParseDateTime(std::string_view text, int pivotYear);
bool IsDateTimeText(std::string_view text, int pivotYear);
// Every "_" read as "0"; the default when the text cannot be read.
DateTime ParseDateTimeText(std::string_view text, DateTime fallback, int pivotYear);
// Years below 100: up to 80 are 20xx, above are 19xx. Any invalid part gives 0.
DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second);
// Recorders that lost a GPS week rollover write dates 1024 weeks early.
DateTime GpsWeekFix(DateTime value);

// Formats with the tokens yyyy, yy, mm (minutes after hh), dd, hh, nn, ss, zzz, zz;
// every other character is copied.
std::string FormatDateTime(std::string_view format, DateTime value);

// Whole-second and whole-millisecond span arithmetic used by every time window.
std::int32_t SecondsBetween(DateTime from, DateTime to);
std::int32_t MillisecondsBetween(DateTime from, DateTime to);
// The same spans without the 32-bit limit.
std::int64_t SecondsBetween64(DateTime from, DateTime to);
std::int64_t MillisecondsBetween64(DateTime from, DateTime to);
DateTime AddSeconds(std::int64_t n, DateTime t);
DateTime SubtractSeconds(std::int64_t n, DateTime t);
DateTime AddMilliseconds(std::int64_t n, DateTime t);
DateTime SubtractMilliseconds(std::int64_t n, DateTime t);

}  // namespace ondavia
