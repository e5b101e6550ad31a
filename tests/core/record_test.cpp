#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

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

namespace ondavia {
namespace {

// Every field of a row kept compactly comes back as parsed, bit for bit
// (a minus zero keeps its sign).
void ExpectSameRow(const GridRow& want, const GridRow& got, const std::string& what) {
    auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    EXPECT_EQ(std::string_view(want.stamp, 14), std::string_view(got.stamp, 14)) << what;
    EXPECT_EQ(want.DateTimeText(), got.DateTimeText()) << what;
    EXPECT_EQ(want.brakeOn, got.brakeOn) << what;
    EXPECT_EQ(want.extended, got.extended) << what;
    EXPECT_EQ(want.hundredths, got.hundredths) << what;
    EXPECT_EQ(want.speed, got.speed) << what;
    EXPECT_EQ(want.rpm, got.rpm) << what;
    EXPECT_EQ(want.km, got.km) << what;
    EXPECT_EQ(want.totKm, got.totKm) << what;
    EXPECT_EQ(want.azimuth, got.azimuth) << what;
    EXPECT_EQ(want.state, got.state) << what;
    EXPECT_TRUE(same(want.gpsX, got.gpsX)) << what << " " << want.gpsX << " " << got.gpsX;
    EXPECT_TRUE(same(want.gpsY, got.gpsY)) << what;
    EXPECT_TRUE(same(want.gx, got.gx)) << what << " " << want.gx << " " << got.gx;
    EXPECT_TRUE(same(want.gy, got.gy)) << what;
    EXPECT_EQ(want.fuel, got.fuel) << what;
    EXPECT_EQ(want.Gear(), got.Gear()) << what;
    EXPECT_EQ(want.Autonomous(), got.Autonomous()) << what;
    EXPECT_EQ(want.Accel(), got.Accel()) << what;
    EXPECT_EQ(want.Steer(), got.Steer()) << what;
}

TEST(GridRows, KeepEveryValueExactly) {
    struct Case {
        const char* what;
        RecordFields f;
    };
    auto with = [](auto change) {
        RecordFields f;
        change(f);
        return f;
    };
    const Case cases[] = {
        // First: the extended fields of later rows line up with their rows.
        {"extended", with([](RecordFields& f) { f.extended = true, f.fuel = "FFFFFF"; })},
        {"usual", {}},
        {"minus zero", with([](RecordFields& f) { f.gx = "-00.00", f.gy = "-0.000"; })},
        {"four decimals", with([](RecordFields& f) { f.gx = "1.2345"; })},
        {"exponent", with([](RecordFields& f) { f.gx = " 1e+02", f.gy = "-5E-03"; })},
        {"large acceleration", with([](RecordFields& f) { f.gx = "999999"; })},
        {"negative integers", with([](RecordFields& f) {
             f.km = "-999", f.speed = "-99", f.rpm = "-999", f.azimuth = "-99", f.state = "-9";
             f.totKm = "-999999";
         })},
        {"widest numbers", with([](RecordFields& f) {
             f.km = "9999", f.totKm = "9999999", f.speed = "999", f.rpm = "9999";
             f.lon = "999999999", f.lat = "999999999", f.state = "99";
         })},
        {"alternative longitude",
         with([](RecordFields& f) { f.lon = "112712345", f.brake = "0"; })},
        {"blanks and signs", with([](RecordFields& f) { f.speed = " +5", f.lat = "  -000001"; })},
        {"stamp not a date", with([](RecordFields& f) { f.date = "2_1210", f.time = "1a0000"; })},
    };
    GridRows rows;
    std::vector<GridRow> want;
    for (const Case& c : cases) {
        const ParseContext ctx{c.f.extended ? FileLayout::ExtendedLines : FileLayout::Lines,
                               std::string_view(c.what) == "usual"};
        auto row = ParseRow(MakeRecord(c.f), ctx);
        ASSERT_TRUE(row) << c.what;
        rows.push_back(*row);
        want.push_back(*row);
    }
    // Values no record line holds are kept whole.
    GridRow wide = want[1];
    wide.speed = 100'000;
    wide.gpsX = 0.1 + 0.2;
    wide.fuel = std::int64_t{1} << 40;
    rows.push_back(wide);
    want.push_back(wide);
    ASSERT_EQ(rows.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        ExpectSameRow(want[i], rows[i], i < std::size(cases) ? cases[i].what : "wide");

    // Copies share the rows until one is changed.
    GridRows copy = rows;
    copy.push_back(want[1]);
    EXPECT_EQ(rows.size(), want.size());
    EXPECT_EQ(copy.size(), want.size() + 1);
    ExpectSameRow(want.back(), copy[want.size() - 1], "copy");
}

TEST(RecordTable, RunsOfSecondsThenGaps) {
    struct Case {
        std::vector<int> seconds;
        int count;
    } cases[] = {
        {{36000, 36001, 36002, 36003, 36006}, 7},  // a gap after a run of seconds
        {{36058, 36059, 36060, 36061, 36063}, 6},  // over a minute's end, then a gap
        {{36059, 36059, 36060, 36062}, 5},         // the same second twice
        {{3599, 3600, 3602}, 4},                   // over an hour's end
        {{86398, 86399, 86400, 86402}, 5},         // over midnight
        {{36010, 36011, 36005, 36006, 36009}, 7},  // back in time, then a gap
    };
    for (const Case& c : cases) {
        TDTG_CLASS t = Build(c.seconds);
        EXPECT_EQ(t.Count(), c.count) << c.seconds.front();
    }
    TDTG_CLASS t = Build({36058, 36059, 36060, 36061, 36063});
    EXPECT_EQ(t.Item(4).InfoDateTime.View(), "26-12-10 10:01:02");
    EXPECT_DOUBLE_EQ(t.Item(4).Engine, 0.2);
    EXPECT_EQ(t.Item(4).Km, 14);  // from the record after the gap
}

TEST(RecordTable, EqualKeysKeepFileOrderWhenSorted) {
    // Past midnight the table is out of order and is sorted; records with
    // the same key stay in file order (their distances tell them apart).
    TDTG_CLASS t = Build({86399, 86399, 86400, 86400, 86401});
    ASSERT_EQ(t.Count(), 5);
    const char* keys[] = {"00:00:00", "00:00:00", "00:00:01", "23:59:59", "23:59:59"};
    const int km[] = {12, 13, 14, 10, 11};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(t.Item(i).InfoTime.View(), keys[i]) << i;
        EXPECT_EQ(t.Item(i).Km, km[i]) << i;
    }
    EXPECT_EQ(t.FindRecord("00:00:01"), 2);
    EXPECT_EQ(t.Current().Km, 14);
}

}  // namespace
}  // namespace ondavia
