// Report texts and the times of day the headless report is asked for.
#include <gtest/gtest.h>

#include "output/reporttext.hpp"

namespace ondavia {
namespace {

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return ComposeDateTime(*EncodeDate(y, mo, d), ((h * 60LL + mi) * 60 + s) * 1000 + ms);
}

TEST(ReportText, TitleAndPrintedTimes) {
    EXPECT_EQ(ReportTitle(false), "운행기록 분석 (1초)");
    EXPECT_EQ(ReportTitle(true), "운행기록 분석 (0.01초)");
    struct Case {
        DateTime t;
        bool hundredths;
        const char* text;
    } cases[] = {
        {At(2026, 12, 10, 9, 5, 3, 10), true, "2026-12-10 09:05:03.01"},
        {At(2026, 12, 10, 9, 5, 3, 100), true, "2026-12-10 09:05:03.10"},
        {At(2026, 12, 10, 9, 5, 3, 990), true, "2026-12-10 09:05:03.99"},
        {At(2026, 12, 10, 9, 5, 3), false, "2026-12-10 09:05:03"},
        {At(2026, 12, 10, 23, 59, 59), false, "2026-12-10 23:59:59"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReportTimeText(c.t, c.hundredths), c.text);
        EXPECT_EQ(ReportTimeText(c.t, c.hundredths).size(), c.hundredths ? 22u : 19u);
    }
}

TEST(ReportText, FileNameOfEitherSeparator) {
    EXPECT_EQ(ReportFileName("/data/DTG/20261210-ONT10001-S-01-0700000.TXT"),
              "20261210-ONT10001-S-01-0700000.TXT");
    EXPECT_EQ(ReportFileName("C:\\DTG\\A.TXT"), "A.TXT");
    EXPECT_EQ(ReportFileName("A.TXT"), "A.TXT");
    EXPECT_EQ(ReportFileName("/data/"), "");
}

TEST(ReportText, TimeOfDayArguments) {
    EXPECT_EQ(ParseTimeOfDay("00:00:00"), 0);
    EXPECT_EQ(ParseTimeOfDay("09:05:03"), (9 * 3600 + 5 * 60 + 3) * 1000);
    EXPECT_EQ(ParseTimeOfDay("09:05:03.01"), (9 * 3600 + 5 * 60 + 3) * 1000 + 10);
    EXPECT_EQ(ParseTimeOfDay("23:59:59.99"), 86'399'990);
    for (const char* bad :
         {"", "9:05:03", "24:00:00", "12:60:00", "12:00:60", "12:00:00.", "12:00:00.1",
          "12:00:00.123", "12-00-00", "ab:cd:ef", "12:00:00,01", " 12:00:00"})
        EXPECT_FALSE(ParseTimeOfDay(bad)) << bad;
}

TEST(ReportText, TimeOfDayFindsItsOccurrenceInTheSpan) {
    const DateTime dayStart = At(2026, 12, 10, 8, 0, 0);
    const DateTime dayEnd = At(2026, 12, 10, 18, 0, 0);
    const DateTime nightStart = At(2026, 12, 10, 22, 0, 0);
    const DateTime nightEnd = At(2026, 12, 11, 3, 0, 0);
    const auto ms = [](int h, int m, int s, int msec = 0) {
        return ((h * 60LL + m) * 60 + s) * 1000 + msec;
    };
    struct Case {
        std::int64_t time;
        DateTime first, last;
        std::optional<DateTime> expected;
    } cases[] = {
        {ms(9, 5, 3, 10), dayStart, dayEnd, At(2026, 12, 10, 9, 5, 3, 10)},
        {ms(8, 0, 0), dayStart, dayEnd, dayStart},  // both ends belong to the span
        {ms(18, 0, 0), dayStart, dayEnd, dayEnd},
        {ms(7, 59, 59), dayStart, dayEnd, std::nullopt},
        {ms(18, 0, 1), dayStart, dayEnd, std::nullopt},
        // Across midnight: the evening is the first day, the small hours the next.
        {ms(23, 0, 0), nightStart, nightEnd, At(2026, 12, 10, 23, 0, 0)},
        {ms(1, 30, 0), nightStart, nightEnd, At(2026, 12, 11, 1, 30, 0)},
        {ms(12, 0, 0), nightStart, nightEnd, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto got = TimeInSpan(c.time, c.first, c.last);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.time;
        if (!got) continue;
        EXPECT_EQ(TimeOfDayMs(*got), TimeOfDayMs(*c.expected));
        EXPECT_EQ(FormatDateTime("yyyy-mm-dd", *got), FormatDateTime("yyyy-mm-dd", *c.expected));
    }
}

}  // namespace
}  // namespace ondavia
