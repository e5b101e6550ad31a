// Start-up sizing of the main window from the desktop's work area.
#pragma once

#include "data/layout.hpp"

namespace ondavia {

struct MainWindowSize {
    int width;
    int height;
    double chartShare;  // part of the body the chart and grid take
};

// workRight, workBottom: the work area's right and bottom edges.
MainWindowSize MainWindowSizeFor(int workRight, int workBottom);

struct BodySplit {
    int chartHeight;  // chart and record grid
    int lowerTop;     // map and file list
    int lowerHeight;
};

// The body runs from chartTop to the status bar.
BodySplit SplitBody(int clientHeight, int chartTop, int statusBarHeight, double chartShare);

// The time labels of the header fit from this width on.
inline constexpr int kTimeLabelsMinWidth = 1024;

// Widths of the record grid panel.
int GridPanelWidth(bool wide, FileLayout layout);

}  // namespace ondavia
