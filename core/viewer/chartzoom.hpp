// The chart's time window: the zoom slider, the scroll bar under the chart and
// the visible span they produce, the pointer time and hint text of a mouse
// move, and the small value rules of the chart series.
//
// Every span is counted in whole units from the file's start: seconds for
// 1-second files, milliseconds for 0.01-second files (`hundredths`).
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "common/datetime.hpp"
#include "data/record.hpp"

namespace ondavia {

// Whole units from `from` to `to` (seconds, or milliseconds for 0.01-second files).
int UnitsBetween(bool hundredths, DateTime from, DateTime to);
// `t` moved by n units; a negative n moves it back.
DateTime AddUnits(bool hundredths, long long n, DateTime t);

// The zoom slider after a load: enabled for files longer than 360 s (3000 ms),
// its Max from the file length. A disabled slider keeps previousMax.
struct ZoomBar {
    bool enabled = false;
    int max = 7;
};
ZoomBar ZoomBarFor(bool hundredths, DateTime start, DateTime end, int previousMax);

// Window length and scroll steps of one zoom level (level = Max - Position).
struct ZoomLevel {
    int window = 0;       // units
    int smallChange = 0;  // units per arrow click
    int largeChange = 0;  // units per page
};
// nullopt for a level without a row: below 0, above 5 (1-second) or 2 (0.01-second).
std::optional<ZoomLevel> ZoomLevelFor(bool hundredths, int level);

// The scroll bar under the chart; it counts units from the file's start.
struct ScrollBarState {
    int min = 0;
    int max = 0;
    int position = 0;
    int smallChange = 60;
    int largeChange = 600;
    bool enabled = false;
};

struct ZoomResult {
    DateTime min = 0;  // the visible span
    DateTime max = 0;
    int windowLength = 0;  // units
    ScrollBarState scroll;
    bool stepsChanged = false;  // smallChange/largeChange were set from the level
    bool rangeChanged = false;  // min/max/position of the scroll bar were set
};

// A slider change (and the last step of every load). Position 1 shows the
// whole file and leaves the scroll bar's range, position and steps as given
// in `current`. Any other position takes the level's window from the current
// axis minimum, pulled back so it does not run past the end. The scroll bar is
// enabled exactly when the span does not show the whole file.
//
// A level beyond the table (a slider that kept the Max of an earlier file
// while disabled) uses the nearest row; a current minimum outside the file
// is brought back to the start.
ZoomResult ApplyZoom(bool hundredths, DateTime start, DateTime end, int position, int barMax,
                     DateTime currentAxisMin, const ScrollBarState& current);

// A scroll bar change: the span starts `position` units after the file's
// start and lasts windowLength units, cut at the end (the start is not moved).
std::pair<DateTime, DateTime> ApplyScroll(bool hundredths, DateTime start, DateTime end,
                                          int position, int windowLength);

// The chart popup's detailed-graph item: files longer than 300 s (3000 ms).
bool DetailGraphAllowed(bool hundredths, DateTime start, DateTime end);

// The time under the mouse pointer, truncated to the whole second (1-second
// files) or the hundredth (0.01-second files), and the record key for it:
// "hh:nn:ss" or "hh:nn:ss.zz". `valid` is false only for an axis value that
// does not make a readable date-time (then pointerTime is the axis value and
// the key is empty).
struct PointerInfo {
    DateTime pointerTime = 0;
    std::string key;
    bool valid = true;
};
PointerInfo PointerAt(bool hundredths, DateTime axisValue, int pivotYear);

// The chart hint for the record under the pointer, three lines joined by '\n':
//   "yyyy-mm-dd hh:nn:ss" (with ".zz" for 0.01-second files)
//   "<Speed> Km/h   <RPM> RPM   B: ON|OFF"
//   "D: <Km> Km   Gx: <Gx .2>   Gy: <Gy .2>"
std::string HintText(bool hundredths, DateTime pointerTime, const TDTG_RECORD& record);

// The distance series draws Km as a zigzag between 0 and 20: d = Km mod 20,
// mirrored (20 - d) when Km div 20 is odd; division toward zero.
double DistanceZigzag(int km);
// G values above 1.5 are drawn at 1.5; there is no lower limit.
double CapG(double g);
// A speed bar is red from 100 km/h.
bool SpeedBarRed(int speed);

}  // namespace ondavia
