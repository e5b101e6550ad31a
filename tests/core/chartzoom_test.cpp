#include <gtest/gtest.h>

#include "viewer/chartzoom.hpp"

namespace ondavia {
namespace {

constexpr int kPivot = 2026;

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return ComposeDateTime(*EncodeDate(y, mo, d), ((h * 60LL + mi) * 60 + s) * 1000 + ms);
}

const DateTime kStart = At(2026, 12, 10, 10, 0, 0);

// kStart moved by a number of milliseconds (negative moves back).
DateTime FromStart(long long ms) {
    return ms >= 0 ? AddMilliseconds(ms, kStart) : SubtractMilliseconds(-ms, kStart);
}

TEST(ZoomBar, EnabledStateAndMaxFollowTheFileLength) {
    struct Case {
        bool hundredths;
        long long lengthMs;
        bool enabled;
        int max;  // with previousMax 5: a disabled bar keeps it
    } cases[] = {
        {false, 360'000, false, 5},
        {false, 360'999, false, 5},  // whole seconds only: still 360
                                     // s
        {false, 361'000, true, 2},
        {false, 1'800'000, true, 2},
        {false, 1'801'000, true, 3},
        {false, 3'600'000, true, 3},
        {false, 3'601'000, true, 4},
        {false, 5'000'000, true, 4},
        {false, 10'800'000, true, 4},
        {false, 10'801'000, true, 5},
        {false, 21'600'000, true, 5},
        {false, 21'601'000, true, 6},
        {false, 43'200'000, true, 6},
        {false, 43'201'000, true, 7},
        {false, 86'399'000, true, 7},
        {true, 2'500, false, 5},
        {true, 3'000, false, 5},
        {true, 3'010, true, 2},
        {true, 4'000, true, 2},
        {true, 6'000, true, 2},
        {true, 6'010, true, 3},
        {true, 8'000, true, 3},
        {true, 10'000, true, 3},
        {true, 10'010, true, 4},
        {true, 600'000, true, 4},
    };
    for (const Case& c : cases) {
        ZoomBar bar = ZoomBarFor(c.hundredths, kStart, FromStart(c.lengthMs), 5);
        EXPECT_EQ(bar.enabled, c.enabled) << c.hundredths << " " << c.lengthMs;
        EXPECT_EQ(bar.max, c.max) << c.hundredths << " " << c.lengthMs;
    }
}

TEST(ZoomLevel, TableRowsAndLevelsWithoutARow) {
    struct Case {
        bool hundredths;
        int level;
        std::optional<ZoomLevel> expected;
    } cases[] = {
        {false, 0, ZoomLevel{360, 60, 180}},
        {false, 1, ZoomLevel{1800, 300, 360}},
        {false, 2, ZoomLevel{3600, 600, 3600}},
        {false, 3, ZoomLevel{10800, 1800, 3600}},
        {false, 4, ZoomLevel{21600, 3600, 10800}},
        {false, 5, ZoomLevel{43200, 7200, 21600}},
        {false, 6, std::nullopt},
        {false, -1, std::nullopt},
        {true, 0, ZoomLevel{3000, 1000, 3000}},
        {true, 1, ZoomLevel{6000, 2000, 6000}},
        {true, 2, ZoomLevel{12000, 4000, 12000}},
        {true, 3, std::nullopt},
        {true, -1, std::nullopt},
    };
    for (const Case& c : cases) {
        auto z = ZoomLevelFor(c.hundredths, c.level);
        ASSERT_EQ(z.has_value(), c.expected.has_value()) << c.hundredths << " " << c.level;
        if (!z) continue;
        EXPECT_EQ(z->window, c.expected->window) << c.level;
        EXPECT_EQ(z->smallChange, c.expected->smallChange) << c.level;
        EXPECT_EQ(z->largeChange, c.expected->largeChange) << c.level;
    }
}

TEST(ApplyZoom, ZoomedPositions) {
    struct Case {
        const char* what;
        bool hundredths;
        long long fileMs;
        int position, barMax;
        long long axisMinMs;  // current axis minimum, from the start
        long long minMs, maxMs;
        int window, scrollMax, scrollPosition, small, large;
        bool enabled;
    } cases[] = {
        {"5000 s, position 4 of 4", false, 5'000'000, 4, 4, 0, 0, 360'000, 360, 4640, 0, 60, 180,
         true},
        {"5000 s, position 3 of 4", false, 5'000'000, 3, 4, 0, 0, 1'800'000, 1800, 3200, 0, 300,
         360, true},
        {"5000 s, position 2 of 4", false, 5'000'000, 2, 4, 0, 0, 3'600'000, 3600, 1400, 0, 600,
         3600, true},
        {"zoom keeps the left edge", false, 5'000'000, 4, 4, 1'000'000, 1'000'000, 1'360'000, 360,
         4640, 1000, 60, 180, true},
        {"zoom-out pulled back to end", false, 5'000'000, 2, 4, 4'000'000, 1'400'000, 5'000'000,
         3600, 1400, 1400, 600, 3600, true},
        {"window exactly up to the end", false, 5'000'000, 2, 4, 1'400'000, 1'400'000, 5'000'000,
         3600, 1400, 1400, 600, 3600, true},
        {"day-long file, position 2 of 7", false, 86'399'000, 2, 7, 0, 0, 43'200'000, 43200, 43199,
         0, 7200, 21600, true},
        {"8 s 0.01 file, position 3 of 3", true, 8'000, 3, 3, 0, 0, 3'000, 3000, 5000, 0, 1000,
         3000, true},
        {"8 s 0.01 file, position 2 of 3", true, 8'000, 2, 3, 0, 0, 6'000, 6000, 2000, 0, 2000,
         6000, true},
        {"0.01 pull-back", true, 8'000, 2, 3, 5'000, 2'000, 8'000, 6000, 2000, 2000, 2000, 6000,
         true},
        // A short file while the disabled slider still stands where an earlier file left it.
        {"window longer than the file", false, 300'000, 2, 7, 0, 0, 300'000, 43200, 0, 0, 7200,
         21600, false},
        {"window as long as the file", false, 360'000, 7, 7, 0, 0, 360'000, 360, 0, 0, 60, 180,
         false},
        {"pulled back past the start", false, 300'000, 6, 7, 200'000, 0, 300'000, 1800, 0, 0, 300,
         360, false},
        {"0.01 level beyond the table", true, 2'500, 2, 7, 0, 0, 2'500, 12000, 0, 0, 4000, 12000,
         false},
        {"position above Max", false, 5'000'000, 5, 4, 0, 0, 360'000, 360, 4640, 0, 60, 180, true},
        {"axis minimum before the file", false, 5'000'000, 4, 4, -100'000, 0, 360'000, 360, 4640, 0,
         60, 180, true},
    };
    const ScrollBarState initial;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ZoomResult r = ApplyZoom(c.hundredths, kStart, FromStart(c.fileMs), c.position, c.barMax,
                                 FromStart(c.axisMinMs), initial);
        EXPECT_EQ(r.min, FromStart(c.minMs));
        EXPECT_EQ(r.max, FromStart(c.maxMs));
        EXPECT_EQ(r.windowLength, c.window);
        EXPECT_EQ(r.scroll.min, 0);
        EXPECT_EQ(r.scroll.max, c.scrollMax);
        EXPECT_EQ(r.scroll.position, c.scrollPosition);
        EXPECT_EQ(r.scroll.smallChange, c.small);
        EXPECT_EQ(r.scroll.largeChange, c.large);
        EXPECT_EQ(r.scroll.enabled, c.enabled);
        EXPECT_TRUE(r.stepsChanged);
        EXPECT_TRUE(r.rangeChanged);
    }
}

TEST(ApplyZoom, PositionOneShowsTheWholeFileAndKeepsTheScrollBar) {
    struct Case {
        bool hundredths;
        long long fileMs;
        int barMax;
    } cases[] = {{false, 5'000'000, 4}, {false, 200'000, 7}, {true, 8'000, 3}};
    ScrollBarState current;
    current.max = 1400;
    current.position = 700;
    current.smallChange = 600;
    current.largeChange = 3600;
    current.enabled = true;
    for (const Case& c : cases) {
        const DateTime end = FromStart(c.fileMs);
        ZoomResult r =
            ApplyZoom(c.hundredths, kStart, end, 1, c.barMax, FromStart(60'000), current);
        EXPECT_EQ(r.min, kStart);
        EXPECT_EQ(r.max, end);
        EXPECT_EQ(r.windowLength, c.hundredths ? c.fileMs : c.fileMs / 1000);
        EXPECT_FALSE(r.stepsChanged);
        EXPECT_FALSE(r.rangeChanged);
        EXPECT_FALSE(r.scroll.enabled);
        EXPECT_EQ(r.scroll.max, 1400);
        EXPECT_EQ(r.scroll.position, 700);
        EXPECT_EQ(r.scroll.smallChange, 600);
        EXPECT_EQ(r.scroll.largeChange, 3600);
    }
}

TEST(ApplyScroll, SpansFromThePositionAndCutAtTheEnd) {
    const DateTime end = FromStart(5'000'000);
    struct Case {
        bool hundredths;
        DateTime end;
        int position, window;
        long long minMs, maxMs;
    } cases[] = {
        {false, end, 0, 3600, 0, 3'600'000},
        {false, end, 600, 3600, 600'000, 4'200'000},
        {false, end, 1400, 3600, 1'400'000, 5'000'000},
        {false, end, 2000, 3600, 2'000'000, 5'000'000},  // min is not moved back
        {true, FromStart(8'000), 1000, 3000, 1'000, 4'000},
        {true, FromStart(8'000), 5000, 3000, 5'000, 8'000},
    };
    for (const Case& c : cases) {
        auto [min, max] = ApplyScroll(c.hundredths, kStart, c.end, c.position, c.window);
        EXPECT_EQ(min, FromStart(c.minMs)) << c.position;
        EXPECT_EQ(max, FromStart(c.maxMs)) << c.position;
    }
}

TEST(ApplyScroll, ScrollingToTheScrollBarsMaxEndsAtTheFileEnd) {
    struct Case {
        bool hundredths;
        DateTime start, end;
        int position, barMax;
    } cases[] = {
        {false, kStart, FromStart(5'000'000), 4, 4},
        {false, kStart, FromStart(5'000'000), 2, 4},
        {false, kStart, FromStart(86'399'000), 3, 7},
        // Across midnight.
        {false, At(2026, 12, 10, 23, 50, 0), At(2026, 12, 11, 0, 10, 0), 2, 2},
        {true, kStart, FromStart(8'000), 3, 3},
        {true, At(2026, 12, 10, 23, 59, 58, 500), At(2026, 12, 11, 0, 0, 9, 730), 3, 4},
    };
    for (const Case& c : cases) {
        ZoomResult z = ApplyZoom(c.hundredths, c.start, c.end, c.position, c.barMax, c.start, {});
        auto [min, max] = ApplyScroll(c.hundredths, c.start, c.end, z.scroll.max, z.windowLength);
        EXPECT_EQ(max, c.end) << c.position;
        EXPECT_EQ(UnitsBetween(c.hundredths, min, max), z.windowLength) << c.position;
        // Zooming again from there keeps the same span and scroll position.
        ZoomResult again =
            ApplyZoom(c.hundredths, c.start, c.end, c.position, c.barMax, min, z.scroll);
        EXPECT_EQ(again.min, min);
        EXPECT_EQ(again.max, max);
        EXPECT_EQ(again.scroll.position, z.scroll.max);
    }
}

TEST(DetailGraph, AllowedForFilesLongerThanTheDetailWindow) {
    struct Case {
        bool hundredths;
        long long lengthMs;
        bool allowed;
    } cases[] = {
        {false, 300'000, false}, {false, 300'500, false}, {false, 301'000, true},
        {false, 10, false},      {true, 3'000, false},    {true, 3'010, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetailGraphAllowed(c.hundredths, kStart, FromStart(c.lengthMs)), c.allowed)
            << c.hundredths << " " << c.lengthMs;
}

TEST(PointerAt, TruncatesToTheRecordResolution) {
    struct Case {
        bool hundredths;
        DateTime axis;
        DateTime pointer;
        const char* key;
    } cases[] = {
        {false, At(2026, 12, 10, 10, 0, 4, 700), At(2026, 12, 10, 10, 0, 4), "10:00:04"},
        {false, At(2026, 12, 10, 10, 0, 4), At(2026, 12, 10, 10, 0, 4), "10:00:04"},
        {false, At(2026, 12, 10, 23, 59, 59, 999), At(2026, 12, 10, 23, 59, 59), "23:59:59"},
        {true, At(2026, 12, 10, 10, 0, 4, 567), At(2026, 12, 10, 10, 0, 4, 560), "10:00:04.56"},
        {true, At(2026, 12, 10, 10, 0, 4, 9), At(2026, 12, 10, 10, 0, 4), "10:00:04.00"},
        {true, At(2026, 12, 10, 23, 59, 59, 995), At(2026, 12, 10, 23, 59, 59, 990), "23:59:59.99"},
        // Less than half a millisecond before midnight is midnight.
        {false, At(2026, 12, 11) - 0.0004 / 86400.0, At(2026, 12, 11), "00:00:00"},
        {true, At(2026, 12, 11) - 0.0004 / 86400.0, At(2026, 12, 11), "00:00:00.00"},
    };
    for (const Case& c : cases) {
        PointerInfo p = PointerAt(c.hundredths, c.axis, kPivot);
        EXPECT_TRUE(p.valid) << c.key;
        EXPECT_EQ(p.pointerTime, c.pointer) << c.key;
        EXPECT_EQ(p.key, c.key);
    }
}

TEST(PointerAt, KeyFindsTheRecordUnderThePointer) {
    // Records as the loader makes them: keys "hh:nn:ss" or "hh:nn:ss.zz".
    auto tableOf = [](std::initializer_list<const char*> dateTimes, bool hundredths) {
        TDTG_CLASS t;
        for (const char* dt : dateTimes) {
            TDTG_RECORD r;
            r.InfoDateTime.Assign(dt);
            r.InfoTime.Assign(std::string_view(dt + 9, hundredths ? 11 : 8));
            t.Add(r);
        }
        t.Sort();
        return t;
    };
    TDTG_CLASS seconds = tableOf({"26-12-10 10:00:04", "26-12-10 10:00:05"}, false);
    TDTG_CLASS hundredths = tableOf({"26-12-10 10:00:04.500", "26-12-10 10:00:04.510"}, true);
    struct Case {
        TDTG_CLASS* table;
        bool hundredths;
        DateTime axis;
        int index;  // -1: no record has the key
    } cases[] = {
        {&seconds, false, At(2026, 12, 10, 10, 0, 4, 999), 0},
        {&seconds, false, At(2026, 12, 10, 10, 0, 5, 400), 1},
        {&seconds, false, At(2026, 12, 10, 10, 0, 6), -1},
        {&hundredths, true, At(2026, 12, 10, 10, 0, 4, 509), 0},
        {&hundredths, true, At(2026, 12, 10, 10, 0, 4, 510), 1},
        {&hundredths, true, At(2026, 12, 10, 10, 0, 4, 520), -1},
    };
    for (const Case& c : cases) {
        PointerInfo p = PointerAt(c.hundredths, c.axis, kPivot);
        EXPECT_EQ(c.table->FindRecord(p.key), c.index) << p.key;
    }
}

TEST(HintText, ThreeLinesForTheRecord) {
    TDTG_RECORD r;
    r.Speed = 85;
    r.RPM = 1500;
    r.Brake = 1;
    r.Km = 27;
    r.Gx = 0.5;
    r.Gy = -0.25;
    EXPECT_EQ(HintText(false, At(2026, 12, 10, 10, 0, 4), r),
              "2026-12-10 10:00:04\n85 Km/h   1500 RPM   B: ON\nD: 27 Km   Gx: 0.50   Gy: -0.25");
    r.Gx = 1.234;
    r.Gy = 2.0;
    EXPECT_EQ(HintText(true, At(2026, 12, 10, 10, 0, 4, 560), r),
              "2026-12-10 10:00:04.56\n85 Km/h   1500 RPM   B: ON\nD: 27 Km   Gx: 1.23   Gy: 2.00");
}

TEST(HintText, BrakeIsOnOnlyForOne) {
    struct Case {
        int brake;
        const char* word;
    } cases[] = {{0, "B: OFF\n"}, {1, "B: ON\n"}, {2, "B: OFF\n"}, {9, "B: OFF\n"}};
    for (const Case& c : cases) {
        TDTG_RECORD r;
        r.Brake = static_cast<std::uint8_t>(c.brake);
        EXPECT_NE(HintText(false, kStart, r).find(c.word), std::string::npos) << c.brake;
    }
}

TEST(SeriesValues, ZigzagCapAndRedBars) {
    struct Zig {
        int km;
        double plotted;
    } zigs[] = {{0, 0},  {5, 5},  {19, 19}, {20, 20}, {27, 13},
                {39, 1}, {40, 0}, {45, 5},  {60, 20}, {-27, 27}};
    for (const Zig& z : zigs)
        EXPECT_EQ(DistanceZigzag(z.km), z.plotted) << z.km;

    struct Cap {
        double g, plotted;
    } caps[] = {{1.5, 1.5}, {1.51, 1.5}, {3.0, 1.5}, {0.2, 0.2}, {-1.5, -1.5}, {-3.0, -3.0}};
    for (const Cap& c : caps)
        EXPECT_EQ(CapG(c.g), c.plotted) << c.g;

    struct Bar {
        int speed;
        bool red;
    } bars[] = {{0, false}, {99, false}, {100, true}, {255, true}};
    for (const Bar& b : bars)
        EXPECT_EQ(SpeedBarRed(b.speed), b.red) << b.speed;
}

}  // namespace
}  // namespace ondavia
