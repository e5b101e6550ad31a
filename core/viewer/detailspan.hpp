// The detailed graph's time window: a short span (240 s, or 2 s of
// 0.01-second data) first centred on the pointed time, moved by six buttons
// and a scroll bar, never past the file's first or last second.
//
// Units are seconds for 1-second files and milliseconds for 0.01-second files
// (`hundredths`); start and end are the file's first and last times.
#pragma once

#include "common/datetime.hpp"
#include "viewer/chartzoom.hpp"

namespace ondavia {

struct DetailSpan {
    DateTime min = 0;
    DateTime max = 0;
};

// 240 s, or 2000 ms for 0.01-second files.
int DetailWindowLength(bool hundredths);
// The step of the one-step buttons: a quarter of the window (60 s), or half
// of it (1000 ms) for 0.01-second files.
int DetailStep(bool hundredths);

// What a show of the window starts from.
struct DetailStart {
    DetailSpan span;
    int windowLength = 0;  // units
    ScrollBarState scroll;
};
// The span centred on `centre`, kept inside the file, and the scroll bar that
// counts units from the start (steps 60/600, or 1000/5000 for 0.01-second
// files). A file no longer than the window shows whole, with a scroll range
// of 0 rather than a negative one and the scroll bar disabled.
DetailStart FirstDetailSpan(bool hundredths, DateTime start, DateTime end, DateTime centre);

// The six buttons, left to right.
enum class DetailNav { LeftEnd, Previous, Left, Right, Next, RightEnd };

// The span after a button click. A button whose side the span already
// touches (left: min not after start; right: max not before end) leaves it
// as it is; every other move is pulled back inside the file.
DetailSpan NavigateDetail(bool hundredths, DetailNav button, DateTime start, DateTime end,
                          DetailSpan current);

// The three left buttons work while the span starts after the file's start,
// the three right ones while it ends before the file's end.
struct DetailNavEnabled {
    bool left = false;
    bool right = false;
};
DetailNavEnabled UpdateNavButtons(DateTime start, DateTime end, DetailSpan span);
bool NavEnabled(const DetailNavEnabled& enabled, DetailNav button);

// Where the hint label goes in the chart panel for a pointer at (x, y) of the
// chart, the chart standing at (chartLeft, chartTop) in the panel: 110 px left
// of the pointer, kept inside the panel's width (panelWidth - 220 at most),
// and 110 px above it, or 20 px below it when that would reach the top 10 px.
struct HintPlace {
    int left = 0;
    int top = 0;
};
HintPlace DetailHintPlace(int chartLeft, int chartTop, int x, int y, int panelWidth);

}  // namespace ondavia
