#include "windowlayout.hpp"

#include <algorithm>
#include <cmath>

namespace ondavia {

MainWindowSize MainWindowSizeFor(int workRight, int workBottom) {
    MainWindowSize s;
    s.width = std::max(workRight, 800);
    s.height = std::max(workBottom - 1, 565);
    s.chartShare = s.height < 734 ? 0.705 : s.height < 766 ? 0.67 : 0.6;
    return s;
}

BodySplit SplitBody(int clientHeight, int chartTop, int statusBarHeight, double chartShare) {
    int available = std::max(0, clientHeight - chartTop - statusBarHeight);
    BodySplit b;
    b.chartHeight = static_cast<int>(std::lround(available * chartShare));
    b.lowerTop = chartTop + b.chartHeight;
    b.lowerHeight = available - b.chartHeight;
    return b;
}

int GridPanelWidth(bool wide, FileLayout layout) {
    if (!wide) return 246;
    return layout == FileLayout::ExtendedLines ? 1032 : 795;
}

}  // namespace ondavia
