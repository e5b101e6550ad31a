// A synthetic recording of any length for benchmarks and large tests: a
// text-layout file (68-character records) of driving with stops, one record
// a second or a hundredth, from midnight of 2026-12-10.
#pragma once

#include <string>

namespace ondavia::test {

std::string SyntheticDayFile(int records, bool hundredths);

}  // namespace ondavia::test
