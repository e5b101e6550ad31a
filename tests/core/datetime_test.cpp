#include <gtest/gtest.h>

#include "common/datetime.hpp"

namespace ondavia {
namespace {

constexpr int kPivot = 2026;

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return ComposeDateTime(*EncodeDate(y, mo, d), ((h * 60LL + mi) * 60 + s) * 1000 + ms);
}

TEST(DateTime, DayCountEpoch) {
    EXPECT_EQ(*EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(*EncodeDate(1999, 8, 22), 36394);
    EXPECT_EQ(*EncodeDate(2004, 8, 20), 38219);
    EXPECT_FALSE(EncodeDate(2026, 2, 29));
    EXPECT_TRUE(EncodeDate(2024, 2, 29));
    DateParts p = DecodeDate(At(2026, 12, 11, 23, 59, 59));
    EXPECT_EQ(p.year, 2026);
    EXPECT_EQ(p.month, 12);
    EXPECT_EQ(p.day, 11);
}

TEST(DateTime, ParsesTheFormsTheFilesAndNamesUse) {
    struct Case {
        const char* text;
        std::optional<DateTime> expected;
    } cases[] = {
        {"26-12-10 10:00:04", At(2026, 12, 10, 10, 0, 4)},
        {"26-12-10 10:00:04.500", At(2026, 12, 10, 10, 0, 4, 500)},
        {"26-12-10 10:00:04.50", At(2026, 12, 10, 10, 0, 4, 50)},
        {"2026-12-10", At(2026, 12, 10)},
        {"  2026-12-10  ", At(2026, 12, 10)},
        {"99-08-22 00:00:00", At(1999, 8, 22)},
        // Two-digit years sit between 50 years before and 49 after the pivot year.
        {"75-01-01", At(2075, 1, 1)},
        {"76-01-01", At(1976, 1, 1)},
        {"10:30", ComposeDateTime(0, (10 * 60 + 30) * 60000LL)},
        {"", {}},
        {"26-13-10 10:00:00", {}},
        {"26-02-30", {}},
        {"26-12-10 24:00:00", {}},
        {"26-12-10 10:60:00", {}},
        {"26-12-10T10:00:00", {}},
        {"26/12/10", {}},
        {"26-12-10 10:00:00 x", {}},
    };
    for (const Case& c : cases) {
        auto v = TryParseDateTime(c.text, kPivot);
        ASSERT_EQ(v.has_value(), c.expected.has_value()) << c.text;
        if (v) {
            EXPECT_NEAR(*v, *c.expected, 1e-9) << c.text;
        }
    }
    EXPECT_TRUE(IsDateTimeText("2026-02-28", kPivot));
    EXPECT_FALSE(IsDateTimeText("2026-02-29", kPivot));
}

TEST(DateTime, ParseDateTimeTextReadsUnderscoresAsZerosAndFallsBack) {
    EXPECT_NEAR(ParseDateTimeText("26-12-10 1_:_5:__", -1, kPivot), At(2026, 12, 10, 10, 5, 0),
                1e-9);
    EXPECT_EQ(ParseDateTimeText("", 7.5, kPivot), 7.5);
    EXPECT_EQ(ParseDateTimeText("26-13-10 10:00:00", 0, kPivot), 0);
}

TEST(DateTime, MakeDateTime) {
    EXPECT_EQ(MakeDateTime(80, 1, 1, 0, 0, 0), At(2080, 1, 1));
    EXPECT_EQ(MakeDateTime(81, 1, 1, 0, 0, 0), At(1981, 1, 1));
    EXPECT_EQ(MakeDateTime(26, 13, 1, 0, 0, 0), 0);
    EXPECT_EQ(MakeDateTime(26, 2, 29, 0, 0, 0), 0);
    EXPECT_EQ(MakeDateTime(26, 1, 1, 24, 0, 0), 0);
    EXPECT_NEAR(MakeDateTime(2026, 12, 11, 8, 30, 15), At(2026, 12, 11, 8, 30, 15), 1e-9);
}

TEST(DateTime, GpsWeekFix) {
    EXPECT_EQ(GpsWeekFix(36393.99), 36393.99);
    EXPECT_EQ(GpsWeekFix(36394), 36394 + 7168);
    EXPECT_EQ(GpsWeekFix(38219), 38219 + 7168);
    EXPECT_EQ(GpsWeekFix(At(2004, 8, 20, 12)), At(2004, 8, 20, 12));  // past the last day's start
    EXPECT_EQ(GpsWeekFix(At(2026, 1, 1)), At(2026, 1, 1));
}

TEST(DateTime, Format) {
    DateTime t = At(2026, 3, 4, 5, 6, 7, 890);
    EXPECT_EQ(FormatDateTime("yy-mm-dd hh:nn:ss", t), "26-03-04 05:06:07");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", t), "2026-03-04 05:06:07.890");
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zz", t), "05:06:07.89");
    EXPECT_EQ(FormatDateTime("hh:mm", t), "05:06");  // mm after hh is the minute
    EXPECT_EQ(FormatDateTime("hh yy-mm", t), "05 26-03");
    // Less than half a millisecond before midnight is the next day's 00:00.
    DateTime almost = At(2026, 12, 31) + 1 - 0.0004 / 86400;
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", almost), "2027-01-01 00:00:00.000");
}

TEST(TimeSpan, SecondsAndMillisecondsBetween) {
    DateTime a = At(2026, 12, 10, 23, 59, 59);
    DateTime b = At(2026, 12, 11, 0, 0, 2);
    EXPECT_EQ(SecondsBetween(a, b), 3);
    EXPECT_EQ(SecondsBetween(b, a), -3);
    DateTime t = At(2026, 12, 10, 10);
    EXPECT_EQ(SecondsBetween(t, t + 1.4 / 86400), 1);
    EXPECT_EQ(SecondsBetween(t, t + 0.9996 / 86400), 1);  // rounds to 1000 ms first
    EXPECT_EQ(SecondsBetween(t, t + 0.9994 / 86400), 0);
    EXPECT_EQ(MillisecondsBetween(t, AddMilliseconds(1234, t)), 1234);
    EXPECT_EQ(MillisecondsBetween(AddMilliseconds(1234, t), t), -1234);
    EXPECT_EQ(SecondsBetween(At(2026, 1, 1), At(2026, 12, 31)), 364 * 86400);
}

TEST(TimeSpan, AddAndSubtract) {
    struct Case {
        const char* what;
        DateTime got, expected;
    } cases[] = {
        {"sub 5 over midnight", SubtractSeconds(5, At(2026, 12, 11, 0, 0, 2, 250)),
         At(2026, 12, 10, 23, 59, 57, 250)},
        {"add 1500 ms over midnight", AddMilliseconds(1500, At(2026, 12, 10, 23, 59, 59)),
         At(2026, 12, 11, 0, 0, 0, 500)},
        {"sub a whole day", SubtractSeconds(86400, At(2026, 12, 11, 8, 9, 10, 11)),
         At(2026, 12, 10, 8, 9, 10, 11)},
        {"sub two days and a second", SubtractSeconds(2 * 86400 + 1, At(2026, 12, 11)),
         At(2026, 12, 8, 23, 59, 59)},
        {"add keeps milliseconds", AddSeconds(61, At(2026, 12, 10, 10, 0, 0, 990)),
         At(2026, 12, 10, 10, 1, 1, 990)},
        {"add a day and a half", AddSeconds(129600, At(2026, 12, 10, 12)), At(2026, 12, 12)},
        {"sub ms borrow", SubtractMilliseconds(1, At(2026, 12, 11)),
         At(2026, 12, 10, 23, 59, 59, 999)},
        {"sub zero", SubtractSeconds(0, At(2026, 12, 11, 1)), At(2026, 12, 11, 1)},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(c.got, c.expected, 1e-9) << c.what;
        EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", c.got),
                  FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", c.expected))
            << c.what;
    }
}

TEST(TimeSpan, StepsStayOnWholeMilliseconds) {
    // Ten thousand one-second steps must not drift.
    DateTime t = At(2026, 12, 10, 6, 30);
    for (int i = 0; i < 10000; ++i)
        t = AddSeconds(1, t);
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", t), "09:16:40.000");
    EXPECT_EQ(SecondsBetween(At(2026, 12, 10, 6, 30), t), 10000);
}

}  // namespace
}  // namespace ondavia
