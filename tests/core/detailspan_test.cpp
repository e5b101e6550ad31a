#include <gtest/gtest.h>

#include <string>

#include "viewer/detailspan.hpp"

namespace ondavia {
namespace {

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return ComposeDateTime(*EncodeDate(y, mo, d), ((h * 60LL + mi) * 60 + s) * 1000 + ms);
}

std::string Text(DateTime t) { return FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", t); }

// A 1-second file of an hour and a 0.01-second file of ten seconds.
const DateTime kStart = At(2026, 12, 10, 10, 0, 0);
const DateTime kSecondEnd = AddSeconds(3600, kStart);
const DateTime kHundredthEnd = AddMilliseconds(10'000, kStart);

// kStart moved by n units (seconds, or milliseconds for 0.01-second files).
DateTime U(bool hundredths, long long n) { return AddUnits(hundredths, n, kStart); }
DateTime EndOf(bool hundredths) { return hundredths ? kHundredthEnd : kSecondEnd; }

TEST(DetailSpan, WindowAndStep) {
    EXPECT_EQ(DetailWindowLength(false), 240);
    EXPECT_EQ(DetailStep(false), 60);
    EXPECT_EQ(DetailWindowLength(true), 2000);
    EXPECT_EQ(DetailStep(true), 1000);
}

TEST(FirstDetailSpan, CentredOnThePointedTimeAndKeptInsideTheFile) {
    struct Case {
        const char* name;
        bool hundredths;
        long long centre;  // units from the start
        long long min, max;
        int position;
    } cases[] = {
        {"first second", false, 0, 0, 240, 0},
        {"last second", false, 3600, 3360, 3600, 3360},
        {"middle", false, 1800, 1680, 1920, 1680},
        {"near the start", false, 100, 0, 240, 0},
        {"near the end", false, 3500, 3360, 3600, 3360},
        {"exactly half a window in", false, 120, 0, 240, 0},
        {"before the file", false, -500, 0, 240, 0},
        {"after the file", false, 4000, 3360, 3600, 3360},
        {"0.01 s first", true, 0, 0, 2000, 0},
        {"0.01 s last", true, 10'000, 8000, 10'000, 8000},
        {"0.01 s middle", true, 5000, 4000, 6000, 4000},
        {"0.01 s near the start", true, 400, 0, 2000, 0},
        {"0.01 s near the end", true, 9990, 8000, 10'000, 8000},
        {"0.01 s off the hundredth grid", true, 4370, 3370, 5370, 3370},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DetailStart s =
            FirstDetailSpan(c.hundredths, kStart, EndOf(c.hundredths), U(c.hundredths, c.centre));
        EXPECT_EQ(Text(s.span.min), Text(U(c.hundredths, c.min)));
        EXPECT_EQ(Text(s.span.max), Text(U(c.hundredths, c.max)));
        EXPECT_EQ(s.windowLength, c.hundredths ? 2000 : 240);
        EXPECT_EQ(s.scroll.min, 0);
        EXPECT_EQ(s.scroll.max, c.hundredths ? 8000 : 3360);
        EXPECT_EQ(s.scroll.position, c.position);
        EXPECT_EQ(s.scroll.smallChange, c.hundredths ? 1000 : 60);
        EXPECT_EQ(s.scroll.largeChange, c.hundredths ? 5000 : 600);
        EXPECT_TRUE(s.scroll.enabled);
    }
}

TEST(FirstDetailSpan, AcrossMidnight) {
    const DateTime start = At(2026, 12, 10, 23, 50, 0);
    const DateTime end = At(2026, 12, 11, 0, 10, 0);
    const DetailStart s = FirstDetailSpan(false, start, end, At(2026, 12, 11, 0, 0, 30));
    EXPECT_EQ(Text(s.span.min), "2026-12-10 23:58:30.000");
    EXPECT_EQ(Text(s.span.max), "2026-12-11 00:02:30.000");
    EXPECT_EQ(s.scroll.max, 960);
    EXPECT_EQ(s.scroll.position, 510);
}

// Not opened for such files, but a show must not give the scroll bar a
// negative range.
TEST(FirstDetailSpan, FileShorterThanTheWindowShowsWholeWithNoScrollRange) {
    for (bool hundredths : {false, true}) {
        SCOPED_TRACE(hundredths);
        const DateTime end = U(hundredths, hundredths ? 1500 : 200);
        const DetailStart s = FirstDetailSpan(hundredths, kStart, end, U(hundredths, 100));
        EXPECT_EQ(Text(s.span.min), Text(kStart));
        EXPECT_EQ(Text(s.span.max), Text(end));
        EXPECT_EQ(s.scroll.max, 0);
        EXPECT_EQ(s.scroll.position, 0);
        EXPECT_FALSE(s.scroll.enabled);
    }
}

TEST(NavigateDetail, EveryButtonAtBothEndsAndInTheMiddle) {
    using N = DetailNav;
    struct Case {
        const char* name;
        bool hundredths;
        long long fromMin, fromMax;  // units from the start
        N button;
        long long min, max;
    } cases[] = {
        // 1-second file of 3600 s: window 240, step 60.
        {"middle", false, 1000, 1240, N::LeftEnd, 0, 240},
        {"middle", false, 1000, 1240, N::Previous, 760, 1000},
        {"middle", false, 1000, 1240, N::Left, 940, 1180},
        {"middle", false, 1000, 1240, N::Right, 1060, 1300},
        {"middle", false, 1000, 1240, N::Next, 1240, 1480},
        {"middle", false, 1000, 1240, N::RightEnd, 3360, 3600},
        {"left end", false, 0, 240, N::LeftEnd, 0, 240},
        {"left end", false, 0, 240, N::Previous, 0, 240},
        {"left end", false, 0, 240, N::Left, 0, 240},
        {"left end", false, 0, 240, N::Right, 60, 300},
        {"left end", false, 0, 240, N::Next, 240, 480},
        {"left end", false, 0, 240, N::RightEnd, 3360, 3600},
        {"right end", false, 3360, 3600, N::LeftEnd, 0, 240},
        {"right end", false, 3360, 3600, N::Previous, 3120, 3360},
        {"right end", false, 3360, 3600, N::Left, 3300, 3540},
        {"right end", false, 3360, 3600, N::Right, 3360, 3600},
        {"right end", false, 3360, 3600, N::Next, 3360, 3600},
        {"right end", false, 3360, 3600, N::RightEnd, 3360, 3600},
        // Moves that would run out of the file are pulled back inside it.
        {"100 s in", false, 100, 340, N::Previous, 0, 240},
        {"100 s in", false, 100, 340, N::Left, 40, 280},
        {"30 s in", false, 30, 270, N::Left, 0, 240},
        {"30 s before the end", false, 3330, 3570, N::Next, 3360, 3600},
        {"30 s before the end", false, 3330, 3570, N::Right, 3360, 3600},
        {"100 s before the end", false, 3260, 3500, N::Right, 3320, 3560},
        // 0.01-second file of 10 000 ms: window 2000, step 1000.
        {"0.01 s middle", true, 4000, 6000, N::LeftEnd, 0, 2000},
        {"0.01 s middle", true, 4000, 6000, N::Previous, 2000, 4000},
        {"0.01 s middle", true, 4000, 6000, N::Left, 3000, 5000},
        {"0.01 s middle", true, 4000, 6000, N::Right, 5000, 7000},
        {"0.01 s middle", true, 4000, 6000, N::Next, 6000, 8000},
        {"0.01 s middle", true, 4000, 6000, N::RightEnd, 8000, 10'000},
        {"0.01 s left end", true, 0, 2000, N::LeftEnd, 0, 2000},
        {"0.01 s left end", true, 0, 2000, N::Previous, 0, 2000},
        {"0.01 s left end", true, 0, 2000, N::Left, 0, 2000},
        {"0.01 s left end", true, 0, 2000, N::Right, 1000, 3000},
        {"0.01 s left end", true, 0, 2000, N::Next, 2000, 4000},
        {"0.01 s left end", true, 0, 2000, N::RightEnd, 8000, 10'000},
        {"0.01 s right end", true, 8000, 10'000, N::LeftEnd, 0, 2000},
        {"0.01 s right end", true, 8000, 10'000, N::Previous, 6000, 8000},
        {"0.01 s right end", true, 8000, 10'000, N::Left, 7000, 9000},
        {"0.01 s right end", true, 8000, 10'000, N::Right, 8000, 10'000},
        {"0.01 s right end", true, 8000, 10'000, N::Next, 8000, 10'000},
        {"0.01 s right end", true, 8000, 10'000, N::RightEnd, 8000, 10'000},
        {"0.01 s 500 ms in", true, 500, 2500, N::Previous, 0, 2000},
        {"0.01 s 500 ms in", true, 500, 2500, N::Left, 0, 2000},
        {"0.01 s 500 ms before the end", true, 7500, 9500, N::Next, 8000, 10'000},
        {"0.01 s 500 ms before the end", true, 7500, 9500, N::Right, 8000, 10'000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " button " + std::to_string(static_cast<int>(c.button)));
        const DetailSpan from{U(c.hundredths, c.fromMin), U(c.hundredths, c.fromMax)};
        const DetailSpan to =
            NavigateDetail(c.hundredths, c.button, kStart, EndOf(c.hundredths), from);
        EXPECT_EQ(Text(to.min), Text(U(c.hundredths, c.min)));
        EXPECT_EQ(Text(to.max), Text(U(c.hundredths, c.max)));
    }
}

// A span that already shows the whole of a short file stays whole.
TEST(NavigateDetail, ShortFileNeverLeavesTheFile) {
    const DateTime end = U(false, 200);
    for (DetailNav n : {DetailNav::LeftEnd, DetailNav::Previous, DetailNav::Left, DetailNav::Right,
                        DetailNav::Next, DetailNav::RightEnd}) {
        const DetailSpan s = NavigateDetail(false, n, kStart, end, {U(false, 10), U(false, 190)});
        EXPECT_GE(s.min, kStart);
        EXPECT_LE(s.max, end);
    }
}

TEST(UpdateNavButtons, LeftWhileAfterTheStartRightWhileBeforeTheEnd) {
    struct Case {
        long long min, max;
        bool left, right;
    } cases[] = {
        {0, 240, false, true},    {1, 241, true, true},    {3360, 3600, true, false},
        {3359, 3599, true, true}, {0, 3600, false, false},
    };
    for (const Case& c : cases) {
        const DetailNavEnabled e =
            UpdateNavButtons(kStart, kSecondEnd, {U(false, c.min), U(false, c.max)});
        EXPECT_EQ(e.left, c.left) << c.min;
        EXPECT_EQ(e.right, c.right) << c.min;
        EXPECT_EQ(NavEnabled(e, DetailNav::LeftEnd), c.left);
        EXPECT_EQ(NavEnabled(e, DetailNav::Previous), c.left);
        EXPECT_EQ(NavEnabled(e, DetailNav::Left), c.left);
        EXPECT_EQ(NavEnabled(e, DetailNav::Right), c.right);
        EXPECT_EQ(NavEnabled(e, DetailNav::Next), c.right);
        EXPECT_EQ(NavEnabled(e, DetailNav::RightEnd), c.right);
    }
}

TEST(DetailHintPlace, FollowsThePointerInsideThePanel) {
    struct Case {
        int chartLeft, chartTop, x, y, panelWidth;
        int left, top;
    } cases[] = {
        {0, 0, 300, 300, 793, 190, 190},
        {0, 0, 50, 300, 793, 0, 190},     // kept off the left edge
        {0, 0, 780, 300, 793, 573, 190},  // and off the right one
        {0, 0, 300, 119, 793, 190, 139},  // 9 px from the top: below the pointer
        {0, 0, 300, 120, 793, 190, 10},
        {6, 4, 300, 300, 793, 196, 194},
        {6, 4, 300, 50, 793, 196, 74},
        {0, 0, 900, 300, 1200, 790, 190},  // a wider panel lets it go further
        {0, 0, 100, 300, 150, 0, 190},     // a panel narrower than the label
    };
    for (const Case& c : cases) {
        const HintPlace p = DetailHintPlace(c.chartLeft, c.chartTop, c.x, c.y, c.panelWidth);
        EXPECT_EQ(p.left, c.left) << c.x << "," << c.y;
        EXPECT_EQ(p.top, c.top) << c.x << "," << c.y;
    }
}

}  // namespace
}  // namespace ondavia
