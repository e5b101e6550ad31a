// A synthetic recording of any length for benchmarks and large tests: a
// text-layout file (68-character records) of driving with stops, one record
// a second or a hundredth, from midnight of 2026-12-10.
#pragma once

#include <string>

#include "data/record.hpp"

namespace ondavia::test {

std::string SyntheticDayFile(int records, bool hundredths);

// A record table of one day, one record a second, with driving that moves
// every chart series: speeds on both sides of 100 km/h, braking, stops with
// the engine off, distance, and G values with a few spikes above the cap.
TDTG_CLASS SyntheticDayTable();

}  // namespace ondavia::test
