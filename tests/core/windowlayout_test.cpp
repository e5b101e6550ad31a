#include <gtest/gtest.h>

#include "viewer/windowlayout.hpp"

namespace ondavia {
namespace {

TEST(WindowLayout, SizeAndChartShareFromTheWorkArea) {
    struct Case {
        int right, bottom, width, height;
        double share;
    } cases[] = {
        {1366, 738, 1366, 737, 0.67},  {1366, 728, 1366, 727, 0.705}, {1920, 1040, 1920, 1039, 0.6},
        {640, 480, 800, 565, 0.705},   {1024, 735, 1024, 734, 0.67},  {1024, 767, 1024, 766, 0.6},
        {1024, 734, 1024, 733, 0.705},
    };
    for (const Case& c : cases) {
        MainWindowSize s = MainWindowSizeFor(c.right, c.bottom);
        EXPECT_EQ(s.width, c.width) << c.right << "x" << c.bottom;
        EXPECT_EQ(s.height, c.height) << c.right << "x" << c.bottom;
        EXPECT_DOUBLE_EQ(s.chartShare, c.share) << c.right << "x" << c.bottom;
    }
}

TEST(WindowLayout, BodySplitAndGridWidths) {
    BodySplit b = SplitBody(737, 100, 20, 0.67);  // 617 px of body
    EXPECT_EQ(b.chartHeight, 413);                // round(413.39)
    EXPECT_EQ(b.lowerTop, 513);
    EXPECT_EQ(b.lowerHeight, 204);
    EXPECT_EQ(GridPanelWidth(false, FileLayout::ExtendedLines), 246);
    EXPECT_EQ(GridPanelWidth(true, FileLayout::ExtendedLines), 1032);
    EXPECT_EQ(GridPanelWidth(true, FileLayout::Packed), 795);
    EXPECT_EQ(GridPanelWidth(true, FileLayout::Lines), 795);
}

}  // namespace
}  // namespace ondavia
