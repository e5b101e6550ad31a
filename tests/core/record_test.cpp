#include <gtest/gtest.h>

#include <cmath>

#include "data/record.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::ClockText;
using test::MakeRecord;
using test::RecordFields;

constexpr int kPivot = 2026;

GridRow Parse(const RecordFields& f, ParseContext ctx = {}) {
    auto row = ParseRow(MakeRecord(f), ctx);
    EXPECT_TRUE(row);
    return row ? *row : GridRow{};
}

TEST(ParseRow, ReadsEveryColumn) {
    RecordFields f;
    f.extended = true;
    f.brake = "1";
    GridRow r = Parse(f, {FileLayout::ExtendedLines, false});
    EXPECT_EQ(r.DateTimeText(), "26-12-10 10:00:00");
    EXPECT_EQ(r.TimeText(), "10:00:00");
    EXPECT_EQ(r.speed, 50);
    EXPECT_EQ(r.rpm, 1500);
    EXPECT_TRUE(r.brakeOn);
    EXPECT_EQ(r.km, 10);
    EXPECT_EQ(r.totKm, 12345);
    EXPECT_DOUBLE_EQ(r.gpsX, 126.978012);
    EXPECT_DOUBLE_EQ(r.gpsY, 37.566535);
    EXPECT_EQ(r.azimuth, 90);
    EXPECT_DOUBLE_EQ(r.gx, 1.5);
    EXPECT_DOUBLE_EQ(r.gy, -0.2);
    EXPECT_EQ(r.state, 0);
    EXPECT_EQ(r.Gear(), "D3");
    EXPECT_EQ(r.fuel, 10);
    EXPECT_EQ(r.Autonomous(), "00");
    EXPECT_EQ(r.Accel(), "0035");
    EXPECT_EQ(r.Steer(), "+012");

    f.hundredths = "37";
    GridRow h = Parse(f, {FileLayout::Lines, true});
    EXPECT_EQ(h.TimeText(), "10:00:00.37");
    EXPECT_EQ(h.DateTimeText(), "26-12-10 10:00:00.37");
    EXPECT_EQ(h.Gear(), "");  // not an extended file
}

TEST(ParseRow, AlternativeLongitudeForm) {
    RecordFields alt;  // brake digit moved into position 34
    alt.brake = "0";
    alt.lon = "112712345";
    GridRow a = Parse(alt);
    EXPECT_DOUBLE_EQ(a.gpsX, 127.12345);
    EXPECT_TRUE(a.brakeOn);  // from position 34

    RecordFields normal;
    normal.brake = "1";
    normal.lon = "127123456";
    GridRow n = Parse(normal);
    EXPECT_DOUBLE_EQ(n.gpsX, 127.123456);
    EXPECT_TRUE(n.brakeOn);

    RecordFields zero;  // a GPS fault: 0 stays 0 and the brake stays at 33
    zero.lon = "000000000";
    zero.brake = "1";
    GridRow z = Parse(zero);
    EXPECT_EQ(z.gpsX, 0);
    EXPECT_TRUE(z.brakeOn);

    RecordFields outside;  // 35-42 read as 133.00000: out of range, kept as is
    outside.lon = "013300000";
    EXPECT_DOUBLE_EQ(Parse(outside).gpsX, 13.3);
}

TEST(ParseRow, UnreadableNumbers) {
    struct Case {
        const char* what;
        RecordFields f;
        bool ok;
    } cases[] = {
        {"blank distance counts as 0",
         [] {
             RecordFields f;
             f.km = "    ";
             f.totKm = "ab";
             return f;
         }(),
         true},
        {"speed",
         [] {
             RecordFields f;
             f.speed = "5x0";
             return f;
         }(),
         false},
        {"rpm",
         [] {
             RecordFields f;
             f.rpm = "    ";
             return f;
         }(),
         false},
        {"latitude",
         [] {
             RecordFields f;
             f.lat = "03756653x";
             return f;
         }(),
         false},
        {"gx",
         [] {
             RecordFields f;
             f.gx = "+1,500";
             return f;
         }(),
         false},
        {"gy",
         [] {
             RecordFields f;
             f.gy = "      ";
             return f;
         }(),
         false},
        {"state",
         [] {
             RecordFields f;
             f.state = "1 ";
             return f;
         }(),
         false},
        {"alternative form unreadable",
         [] {
             RecordFields f;
             f.lon = "1127123x5";
             return f;
         }(),
         false},
        {"fuel not hex",
         [] {
             RecordFields f;
             f.extended = true;
             f.fuel = "00 00A";
             return f;
         }(),
         false},
    };
    for (const auto& c : cases) {
        ParseContext ctx{c.f.extended ? FileLayout::ExtendedLines : FileLayout::Lines, false};
        EXPECT_EQ(ParseRow(MakeRecord(c.f), ctx).has_value(), c.ok) << c.what;
    }
    EXPECT_EQ(Parse([] {
                  RecordFields f;
                  f.km = "    ";
                  return f;
              }())
                  .km,
              0);
}

// Adds one record per clock value and returns the table.
TDTG_CLASS Build(const std::vector<int>& seconds, bool hundredths = false) {
    TDTG_CLASS table;
    GapState gap;
    ParseContext ctx{FileLayout::Lines, hundredths};
    int km = 0;
    for (int s : seconds) {
        RecordFields f;
        f.time = ClockText(s % 86400);
        if (s >= 86400) f.date = "261211";
        f.km = "00" + std::to_string(10 + km++);
        std::string line = MakeRecord(f);
        auto row = ParseRow(line, ctx);
        EXPECT_TRUE(row && table.AddRecords(*row, line, ctx, gap, kPivot));
    }
    table.Sort();
    return table;
}

TEST(RecordTable, FillsGapsInOneSecondData) {
    TDTG_CLASS t = Build({36000, 36004});
    ASSERT_EQ(t.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        const TDTG_RECORD& r = t.Item(i);
        EXPECT_EQ(r.InfoTime.View(), "10:00:0" + std::to_string(i));
        EXPECT_EQ(r.InfoDateTime.View(), "26-12-10 10:00:0" + std::to_string(i));
        bool inserted = i >= 1 && i <= 3;
        EXPECT_DOUBLE_EQ(r.Engine, inserted ? 0.2 : 1.0);
        EXPECT_EQ(r.Speed, inserted ? 0 : 50);
        EXPECT_EQ(r.RPM, inserted ? 0 : 1500);
        EXPECT_EQ(r.GpsX, inserted ? 0 : 126.978012);
        EXPECT_EQ(r.Km, i == 0 ? 10 : 11);  // gap records copy the second record's distances
    }
    EXPECT_EQ(Build({36000, 36001, 36001, 36002}).Count(), 4);  // same second twice: both kept
    EXPECT_EQ(Build({36000, 36001}).Count(), 2);
    EXPECT_EQ(Build({36002, 36000}).Count(), 2);  // a step back fills nothing
}

TEST(RecordTable, GapRecordsOfAFileStopAtOneDaysWorth) {
    const int day = 86'400, ten = 36'000;
    struct Case {
        const char* what;
        std::vector<int> seconds;
        int gapRecords;
    } cases[] = {
        {"a day forward and back, over and over: only the first jump is filled",
         {ten, ten + day, ten + 1, ten + 1 + day, ten + 2, ten + 2 + day, ten + 3},
         day - 1},
        {"two gaps of half a day fill exactly a day", {0, 43'201, 86'402}, day},
        {"a large gap leaves room for small ones only", {0, 86'000, 86'500, 86'503}, 85'999 + 2},
    };
    for (const Case& c : cases) {
        TDTG_CLASS t = Build(c.seconds);
        EXPECT_EQ(t.Count(), static_cast<int>(c.seconds.size()) + c.gapRecords) << c.what;
    }
}

TEST(RecordTable, NeverFillsHundredthsData) {
    TDTG_CLASS t;
    GapState gap;
    ParseContext ctx{FileLayout::Lines, true};
    for (const char* time : {"100000", "100500"}) {
        RecordFields f;
        f.time = time;
        f.hundredths = "50";
        std::string line = MakeRecord(f);
        auto row = ParseRow(line, ctx);
        ASSERT_TRUE(row && t.AddRecords(*row, line, ctx, gap, kPivot));
    }
    ASSERT_EQ(t.Count(), 2);
    EXPECT_EQ(t.Item(0).InfoTime.View(), "10:00:00.50");
    EXPECT_EQ(t.Item(0).InfoDateTime.View(), "26-12-10 10:00:00.500");
}

TEST(RecordTable, MidnightSortsByKeyAndGapsCrossIt) {
    TDTG_CLASS t = Build({86398, 86401});  // 23:59:58, then 00:00:01 next day
    ASSERT_EQ(t.Count(), 4);
    EXPECT_EQ(t.Item(0).InfoTime.View(), "00:00:00");
    EXPECT_EQ(t.Item(0).InfoDateTime.View(), "26-12-11 00:00:00");
    EXPECT_EQ(t.Item(1).InfoTime.View(), "00:00:01");
    EXPECT_EQ(t.Item(2).InfoTime.View(), "23:59:58");
    EXPECT_EQ(t.Item(3).InfoTime.View(), "23:59:59");
}

TEST(RecordTable, UnreadableStampBreaksTheChainInsteadOfFillingFromDayZero) {
    TDTG_CLASS t;
    GapState gap;
    ParseContext ctx{FileLayout::Lines, false};
    auto add = [&](const char* date, const char* time) {
        RecordFields f;
        f.date = date;
        f.time = time;
        std::string line = MakeRecord(f);
        auto row = ParseRow(line, ctx);
        ASSERT_TRUE(row && t.AddRecords(*row, line, ctx, gap, kPivot));
    };
    add("261210", "100000");
    add("261310", "100005");  // month 13
    add("261210", "100010");
    EXPECT_EQ(t.Count(), 3);
    add("261210", "100013");  // the chain resumes from the last good record
    EXPECT_EQ(t.Count(), 6);
    add("271210", "100013");  // a year later: too long to fill
    EXPECT_EQ(t.Count(), 7);
}

TEST(RecordTable, GxAndGyInGTruncatedTowardZero) {
    struct Case {
        const char* stored;
        double g;
    } cases[] = {{"+14.70", 1.49}, {"-14.70", -1.49}, {"+00.03", 0.0},  {"-00.03", 0.0},
                 {"+11.77", 1.20}, {"+04.91", 0.50},  {"-98.07", -10.0}};
    for (const Case& c : cases) {
        RecordFields f;
        f.gx = c.stored;
        f.gy = c.stored;
        TDTG_CLASS t;
        GapState gap;
        std::string line = MakeRecord(f);
        auto row = ParseRow(line, {});
        ASSERT_TRUE(row && t.AddRecords(*row, line, {}, gap, kPivot));
        EXPECT_DOUBLE_EQ(t.Item(0).Gx, c.g) << c.stored;
        EXPECT_DOUBLE_EQ(t.Item(0).Gy, c.g) << c.stored;
        EXPECT_FALSE(std::signbit(t.Item(0).Gx) && t.Item(0).Gx == 0) << c.stored;
    }
}

TEST(RecordTable, BrakeDigitMustBeADigit) {
    RecordFields f;
    f.brake = "Y";
    std::string line = MakeRecord(f);
    auto row = ParseRow(line, {});
    ASSERT_TRUE(row);
    TDTG_CLASS t;
    GapState gap;
    EXPECT_FALSE(t.AddRecords(*row, line, {}, gap, kPivot));
    f.brake = "7";
    line = MakeRecord(f);
    row = ParseRow(line, {});
    ASSERT_TRUE(t.AddRecords(*row, line, {}, gap, kPivot));
    EXPECT_EQ(t.Item(0).Brake, 7);
    EXPECT_FALSE(row->brakeOn);
}

TEST(RecordTable, FindRecord) {
    TDTG_CLASS t = Build({36000, 36003, 36010});
    EXPECT_EQ(t.CurrentIndex(), -1);
    EXPECT_EQ(t.Current().Engine, 0.0);  // the blank record before any lookup
    int i = t.FindRecord("10:00:02");
    ASSERT_GE(i, 0);
    EXPECT_EQ(t.Current().InfoTime.View(), "10:00:02");
    EXPECT_EQ(t.FindRecord("10:00:05"), 5);
    EXPECT_EQ(t.FindRecord("09:59:59"), -1);
    EXPECT_EQ(t.Current().InfoTime.View(), "10:00:05");  // a miss leaves Current alone
    EXPECT_EQ(t.FindRecord(""), -1);
    t.Clear();
    EXPECT_EQ(t.Count(), 0);
    EXPECT_EQ(t.FindRecord("10:00:05"), -1);
    EXPECT_EQ(t.Current().Engine, 0.0);
}

}  // namespace
}  // namespace ondavia
