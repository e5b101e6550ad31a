#include "viewer/chartzoom.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace ondavia {

namespace {

// The 1-second and 0.01-second level tables (level = Max - Position).
constexpr ZoomLevel kSecondLevels[] = {
    {360, 60, 180},      {1800, 300, 360},     {3600, 600, 3600},
    {10800, 1800, 3600}, {21600, 3600, 10800}, {43200, 7200, 21600},
};
constexpr ZoomLevel kHundredthLevels[] = {
    {3000, 1000, 3000},
    {6000, 2000, 6000},
    {12000, 4000, 12000},
};
constexpr int kSecondLevelCount = static_cast<int>(std::size(kSecondLevels));
constexpr int kHundredthLevelCount = static_cast<int>(std::size(kHundredthLevels));

// The value on the nearest whole millisecond, with a time of day that rounds
// up to midnight carried into the next day, so formatting never shows 24:00.
DateTime OnWholeMillisecond(DateTime value) {
    auto day = static_cast<std::int64_t>(std::trunc(value));
    std::int64_t ms = TimeOfDayMs(value);
    if (ms >= kMsPerDay) {
        ++day;
        ms -= kMsPerDay;
    }
    return ComposeDateTime(day, ms);
}

void AppendFixed2(std::string& out, double v) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    if (res.ec == std::errc()) out.append(buf, res.ptr);
}

}  // namespace

int UnitsBetween(bool hundredths, DateTime from, DateTime to) {
    return hundredths ? MillisecondsBetween(from, to) : SecondsBetween(from, to);
}

DateTime AddUnits(bool hundredths, long long n, DateTime t) {
    if (n >= 0) return hundredths ? AddMilliseconds(n, t) : AddSeconds(n, t);
    return hundredths ? SubtractMilliseconds(-n, t) : SubtractSeconds(-n, t);
}

ZoomBar ZoomBarFor(bool hundredths, DateTime start, DateTime end, int previousMax) {
    ZoomBar bar;
    if (hundredths) {
        const int m = MillisecondsBetween(start, end);
        bar.enabled = m > 3000;
        bar.max = m <= 6000 ? 2 : m <= 10000 ? 3 : 4;
    } else {
        const int s = SecondsBetween(start, end);
        bar.enabled = s > 360;
        bar.max = s <= 1800    ? 2
                  : s <= 3600  ? 3
                  : s <= 10800 ? 4
                  : s <= 21600 ? 5
                  : s <= 43200 ? 6
                               : 7;
    }
    if (!bar.enabled) bar.max = previousMax;
    return bar;
}

std::optional<ZoomLevel> ZoomLevelFor(bool hundredths, int level) {
    const int count = hundredths ? kHundredthLevelCount : kSecondLevelCount;
    if (level < 0 || level >= count) return std::nullopt;
    return hundredths ? kHundredthLevels[level] : kSecondLevels[level];
}

ZoomResult ApplyZoom(bool hundredths, DateTime start, DateTime end, int position, int barMax,
                     DateTime currentAxisMin, const ScrollBarState& current) {
    ZoomResult r;
    const int fileUnits = UnitsBetween(hundredths, start, end);

    if (position <= 1) {
        r.min = start;
        r.max = end;
        r.windowLength = fileUnits;
        r.scroll = current;
        r.scroll.enabled = r.min > start || r.max < end;
        return r;
    }

    const int lastLevel = (hundredths ? kHundredthLevelCount : kSecondLevelCount) - 1;
    const int level = std::clamp(barMax - position, 0, lastLevel);
    const ZoomLevel z = *ZoomLevelFor(hundredths, level);
    r.windowLength = z.window;
    r.stepsChanged = true;
    r.rangeChanged = true;

    DateTime min = OnWholeMillisecond(currentAxisMin);
    if (min < start) min = start;
    DateTime max = AddUnits(hundredths, z.window, min);
    if (max > end) {
        max = end;
        min = AddUnits(hundredths, -static_cast<long long>(z.window), end);
        if (min < start) min = start;
    }
    r.min = min;
    r.max = max;

    r.scroll.min = 0;
    r.scroll.max = z.window < fileUnits
                       ? UnitsBetween(hundredths, start,
                                      AddUnits(hundredths, -static_cast<long long>(z.window), end))
                       : 0;
    r.scroll.position = UnitsBetween(hundredths, start, min);
    r.scroll.smallChange = z.smallChange;
    r.scroll.largeChange = z.largeChange;
    r.scroll.enabled = min > start || max < end;
    return r;
}

std::pair<DateTime, DateTime> ApplyScroll(bool hundredths, DateTime start, DateTime end,
                                          int position, int windowLength) {
    const DateTime min = AddUnits(hundredths, position, start);
    DateTime max = AddUnits(hundredths, windowLength, min);
    if (max > end) max = end;
    return {min, max};
}

bool DetailGraphAllowed(bool hundredths, DateTime start, DateTime end) {
    return UnitsBetween(hundredths, start, end) > (hundredths ? 3000 : 300);
}

PointerInfo PointerAt(bool hundredths, DateTime axisValue, int pivotYear) {
    PointerInfo info;
    const DateTime value = OnWholeMillisecond(axisValue);
    std::string text;
    if (hundredths) {
        // "yy-mm-dd hh:nn:ss.zzz" cut after the hundredths; the appended zero
        // makes the fraction read as milliseconds again.
        text = FormatDateTime("yy-mm-dd hh:nn:ss.zzz", value).substr(0, 20) + "0";
    } else {
        text = FormatDateTime("yy-mm-dd hh:nn:ss", value);
    }
    std::optional<DateTime> parsed = TryParseDateTime(text, pivotYear);
    if (!parsed) {
        info.pointerTime = axisValue;
        info.valid = false;
        return info;
    }
    info.pointerTime = *parsed;
    info.key = text.substr(9, hundredths ? 11 : 8);
    return info;
}

std::string HintText(bool hundredths, DateTime pointerTime, const TDTG_RECORD& record) {
    std::string out = hundredths
                          ? FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", pointerTime).substr(0, 22)
                          : FormatDateTime("yyyy-mm-dd hh:nn:ss", pointerTime);
    out += '\n';
    out += std::to_string(record.Speed);
    out += " Km/h   ";
    out += std::to_string(record.RPM);
    out += " RPM   B: ";
    out += record.Brake == 1 ? "ON" : "OFF";
    out += "\nD: ";
    out += std::to_string(record.Km);
    out += " Km   Gx: ";
    AppendFixed2(out, record.Gx);
    out += "   Gy: ";
    AppendFixed2(out, record.Gy);
    return out;
}

double DistanceZigzag(int km) {
    const int d = km % 20;
    return (km / 20) % 2 != 0 ? 20 - d : d;
}

double CapG(double g) { return g > 1.5 ? 1.5 : g; }

bool SpeedBarRed(int speed) { return speed >= 100; }

}  // namespace ondavia
