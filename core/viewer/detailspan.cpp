#include "viewer/detailspan.hpp"

#include <algorithm>

namespace ondavia {

namespace {

constexpr int kHintWidth = 220;

// A span that ends after the file's end, pulled back to end there; it starts
// no earlier than the file does.
DetailSpan PullBackFromEnd(bool hundredths, DateTime start, DateTime end, int window) {
    DetailSpan s;
    s.max = end;
    s.min = AddUnits(hundredths, -static_cast<long long>(window), end);
    if (s.min < start) s.min = start;
    return s;
}

// A span that starts before the file's start, moved up to start there; it
// ends no later than the file does.
DetailSpan PushOnFromStart(bool hundredths, DateTime start, DateTime end, int window) {
    DetailSpan s;
    s.min = start;
    s.max = AddUnits(hundredths, window, start);
    if (s.max > end) s.max = end;
    return s;
}

}  // namespace

int DetailWindowLength(bool hundredths) { return hundredths ? 2000 : 240; }

int DetailStep(bool hundredths) {
    const int w = DetailWindowLength(hundredths);
    return hundredths ? w / 2 : w / 4;
}

DetailStart FirstDetailSpan(bool hundredths, DateTime start, DateTime end, DateTime centre) {
    DetailStart r;
    const int w = DetailWindowLength(hundredths);
    r.windowLength = w;

    DateTime min = AddUnits(hundredths, -static_cast<long long>(w / 2), centre);
    if (min < start) min = start;
    DateTime max = AddUnits(hundredths, w, min);
    if (max > end) {
        max = end;
        min = AddUnits(hundredths, -static_cast<long long>(w), end);
        if (min < start) min = start;
    }
    r.span = {min, max};

    r.scroll.min = 0;
    r.scroll.smallChange = hundredths ? 1000 : 60;
    r.scroll.largeChange = hundredths ? 5000 : 600;
    // A file no longer than the window would give a negative range.
    r.scroll.max = std::max(
        0, UnitsBetween(hundredths, start, AddUnits(hundredths, -static_cast<long long>(w), end)));
    r.scroll.position = std::clamp(UnitsBetween(hundredths, start, min), 0, r.scroll.max);
    r.scroll.enabled = r.scroll.max > 0;
    return r;
}

DetailSpan NavigateDetail(bool hundredths, DetailNav button, DateTime start, DateTime end,
                          DetailSpan current) {
    const int w = DetailWindowLength(hundredths);
    const int step = DetailStep(hundredths);
    const bool leftward =
        button == DetailNav::LeftEnd || button == DetailNav::Previous || button == DetailNav::Left;
    if (leftward ? current.min <= start : current.max >= end) return current;

    DetailSpan s;
    switch (button) {
        case DetailNav::LeftEnd:
            return PushOnFromStart(hundredths, start, end, w);
        case DetailNav::Previous:
            s.max = current.min;
            s.min = AddUnits(hundredths, -static_cast<long long>(w), current.min);
            break;
        case DetailNav::Left:
            s.max = AddUnits(hundredths, -static_cast<long long>(step), current.max);
            s.min = AddUnits(hundredths, -static_cast<long long>(w), s.max);
            break;
        case DetailNav::Right:
            s.min = AddUnits(hundredths, step, current.min);
            s.max = AddUnits(hundredths, w, s.min);
            break;
        case DetailNav::Next:
            s.min = current.max;
            s.max = AddUnits(hundredths, w, current.max);
            break;
        case DetailNav::RightEnd:
            return PullBackFromEnd(hundredths, start, end, w);
    }
    if (leftward && s.min < start) return PushOnFromStart(hundredths, start, end, w);
    if (!leftward && s.max > end) return PullBackFromEnd(hundredths, start, end, w);
    return s;
}

DetailNavEnabled UpdateNavButtons(DateTime start, DateTime end, DetailSpan span) {
    return {span.min > start, span.max < end};
}

bool NavEnabled(const DetailNavEnabled& enabled, DetailNav button) {
    switch (button) {
        case DetailNav::LeftEnd:
        case DetailNav::Previous:
        case DetailNav::Left:
            return enabled.left;
        case DetailNav::Right:
        case DetailNav::Next:
        case DetailNav::RightEnd:
            return enabled.right;
    }
    return false;
}

HintPlace DetailHintPlace(int chartLeft, int chartTop, int x, int y, int panelWidth) {
    HintPlace p;
    p.left = std::clamp(chartLeft + x - kHintWidth / 2, 0, std::max(0, panelWidth - kHintWidth));
    p.top = chartTop + y - 110;
    if (p.top < 10) p.top = chartTop + y + 20;
    return p;
}

}  // namespace ondavia
