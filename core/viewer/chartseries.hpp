// The values every chart draws, computed once per loaded file: the time keys
// of the table's records in time order and the seven series values, already
// folded (distance) and capped (G). The main chart, the detailed graph and the
// chart report all read the same series.
#pragma once

#include <cstddef>
#include <vector>

#include "common/datetime.hpp"
#include "data/record.hpp"

namespace ondavia {

// Chart keys are seconds since 1970-01-01 of the recorded (local) time.
double ChartKeyFromDateTime(DateTime t);
DateTime DateTimeFromChartKey(double key);

struct ChartSeries {
    bool hundredths = false;
    // Ascending keys; a record whose date-time text cannot be read is left off.
    std::vector<double> keys;
    std::vector<double> speed, rpm, engine, brake, distance, gx, gy;
    // The first and last plotted times, exactly as read (no key round trip).
    DateTime firstTime = 0;
    DateTime lastTime = 0;

    size_t Size() const { return keys.size(); }
    bool Empty() const { return keys.empty(); }
    // Record spacing in key units: a second or a hundredth.
    double Spacing() const { return hundredths ? 0.01 : 1.0; }
};

// The table is sorted by time of day; a recording across midnight is put
// back in time order here (equal times keep their table order).
ChartSeries BuildChartSeries(const TDTG_CLASS& table, bool hundredths, int pivotYear);

}  // namespace ondavia
