// The ten record checks over the loaded grid rows. Each yields its hits in
// record order with their counters; the question and summary texts are built
// on demand, so a run that only counts costs no text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/datetime.hpp"
#include "data/record.hpp"

namespace ondavia {

// In the order of the search window's radio buttons.
enum class SearchKind : int {
    Acceleration = 1,
    DeviceStatus,
    Distance,
    SpeedBand,
    RpmBand,
    TimeSequence,
    SpeedJump,
    FrozenPosition,
    StandingMove,
    GpsFaultMove,
};

struct SearchOptions {
    // Status-code choice of the device search: 0 "GPS (11)", 1 "속도 (12)",
    // 2 "RPM (13)", 3 "센서 입력 (21)", 4 "GPS 제외", 5 "전체"; -1 none chosen.
    int stateChoice = 4;
    // Reference value of the band searches, as typed; trimmed, not a number counts as 0.
    std::string reference;
};

struct SearchHit {
    std::uint32_t record;  // the record the grid moves to (the later one of a pair)
    bool stepped;          // shown with a question while stepping
};

struct SearchRun {
    SearchKind kind;
    SearchOptions options;
    std::vector<SearchHit> hits;
    std::int64_t counter1 = 0;  // X, distance, or the single counter
    std::int64_t counter2 = 0;  // Y, cumulative distance
    std::int64_t records = 0;
};

SearchRun RunSearch(const GridRows& rows, SearchKind kind, const SearchOptions& options);

// The question shown at a hit ("\r" stands for a line break).
std::string HitQuestion(const GridRows& rows, const SearchRun& run, const SearchHit& hit);
// The count line that ends every run.
std::string SummaryText(const SearchRun& run);
// What follows the summary after three line breaks.
extern const char* const kSearchClosingQuestion;

// The search functions by their names; each is RunSearch with its kind.
SearchRun SearchAcceleration(const GridRows& rows);
SearchRun SearchDeviceStatus(const GridRows& rows, int stateChoice);
SearchRun SearchDistance(const GridRows& rows);
SearchRun SearchReferenceBand(const GridRows& rows, bool engineSpeed, std::string_view reference);
SearchRun SearchTimeSequence(const GridRows& rows);
SearchRun SearchSpeedJump(const GridRows& rows);
SearchRun SearchFrozenPosition(const GridRows& rows);
SearchRun SearchStandingMove(const GridRows& rows);
SearchRun SearchGpsFaultMove(const GridRows& rows);

// A date-and-time text "yy-mm-dd hh:nn:ss[.zz]" read field by field; the zero
// date-time when a field is not a number or the date is not a real one.
DateTime ParseRecordDateTime(std::string_view text);

}  // namespace ondavia
