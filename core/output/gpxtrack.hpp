// The GPX track: GPX 1.1, one track point per grid record with a usable
// position, with its time (the recorder keeps Korean time, +09:00) and, in
// the track point extension most map tools read, speed and course.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "data/record.hpp"
#include "exportprogress.hpp"

namespace ondavia {

// "yyyy-mm-ddThh:nn:ss[.zz]+09:00" of a row; empty when its date-time text
// does not read.
std::string GpxTime(const GridRow& row, int pivotYear);

struct GpxText {
    std::string text;
    std::size_t points = 0;
};
// trackName: UTF-8, written as XML text.
GpxText GpxTrackText(const GridRows& rows, std::string_view trackName, int pivotYear,
                     const ExportProgress& progress = {});

}  // namespace ondavia
