// Record lines: the parsed grid row, the table record, and the record table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/datetime.hpp"
#include "layout.hpp"

namespace ondavia {

// A short text kept inline, so a record costs no allocation of its own.
template <size_t N>
struct FixedText {
    char data[N] = {};
    std::uint8_t size = 0;

    void Assign(std::string_view s) {
        size = static_cast<std::uint8_t>(s.size() < N ? s.size() : N);
        for (size_t i = 0; i < size; ++i)
            data[i] = s[i];
    }
    std::string_view View() const { return std::string_view(data, size); }
    std::string Str() const { return std::string(View()); }
};

// The eighteen grid columns, in order.
enum GridColumn : int {
    ColInfoDateTime,
    ColInfoTime,
    ColSpeed,
    ColRPM,
    ColBrake,
    ColKm,
    ColTotKm,
    ColGpsX,
    ColGpsY,
    ColGpsAngle,
    ColGx,
    ColGy,
    ColState,
    ColGear,
    ColFuel,
    ColAuto,
    ColAccel,
    ColSteer,
    kGridColumnCount
};

// Captions of the grid columns (UTF-8).
extern const char* const kGridCaptions[kGridColumnCount];

// One record line as the grid shows it. The date and time texts are kept as
// the fourteen stamp bytes of the line (positions 12-25) and built on demand.
struct GridRow {
    char stamp[14];
    char gear[2];
    char autonomous[2];
    char accel[4];
    char steer[4];
    bool brakeOn;
    bool extended;    // the line has the extended fields
    bool hundredths;  // the time text carries hundredths
    std::int32_t speed, rpm, km, totKm, azimuth, state;
    double gpsX, gpsY, gx, gy;
    std::int64_t fuel;

    // Column 0: "yy-mm-dd " + column 1 (cp949 bytes as stored).
    std::string DateTimeText() const;
    // The same into buf (at least 21 bytes); returns its length.
    size_t WriteDateTimeText(char* buf) const;
    // Column 1: "hh:nn:ss", with ".zz" for 0.01-second data.
    std::string TimeText() const;
    std::string_view Gear() const {
        return extended ? std::string_view(gear, 2) : std::string_view();
    }
    std::string_view Autonomous() const {
        return extended ? std::string_view(autonomous, 2) : std::string_view();
    }
    std::string_view Accel() const {
        return extended ? std::string_view(accel, 4) : std::string_view();
    }
    std::string_view Steer() const {
        return extended ? std::string_view(steer, 4) : std::string_view();
    }
};

struct TDTG_RECORD {
    std::int32_t Km = 0;
    std::int32_t TotKm = 0;
    std::uint16_t Speed = 0;
    std::uint16_t RPM = 0;
    std::uint16_t GpsAngle = 0;
    std::uint8_t Brake = 0;
    std::uint8_t State = 0;
    double GpsX = 0, GpsY = 0, Gx = 0, Gy = 0, Engine = 0;
    FixedText<12> InfoTime;      // the time key: "hh:nn:ss" or "hh:nn:ss.zz"
    FixedText<21> InfoDateTime;  // "yy-mm-dd hh:nn:ss", or with ".zz0" for 0.01-second data
};

// Acceleration in whole hundredths of g (9.8066 m/s² per g), truncated toward
// zero; nullopt for a value too large to truncate (a garbled field).
std::optional<std::int64_t> GHundredths(double metresPerSecond2);

struct ParseContext {
    FileLayout fileMode = FileLayout::Lines;
    bool hundredths = false;
};

// nullopt when a number that must be read cannot be (the whole file fails).
// block holds at least 68 bytes (87 for mode 1).
std::optional<GridRow> ParseRow(std::string_view block, const ParseContext& ctx);

// Running state of the gap filling of 1-second data, kept for one file.
struct GapState {
    bool hasPrevious = false;
    DateTime previous = 0;
    std::int64_t filled = 0;  // gap records added so far
};

// Gaps longer than this are not filled: a clock jump of days would otherwise
// make millions of entries.
inline constexpr std::int64_t kMaxFilledGapSeconds = 86'400;
// Nor is a gap that would take the file's gap records past one day's worth: a
// clock that jumps a day forward and back again, over and over, would
// otherwise add a day of records for every jump.
inline constexpr std::int64_t kMaxGapRecords = 86'400;

class TDTG_CLASS {
  public:
    void Clear();
    void Add(const TDTG_RECORD& record) { List.push_back(record); }
    // Orders by time key (characters compared without regard to case); equal
    // keys keep their file order.
    void Sort();
    int Count() const { return static_cast<int>(List.size()); }
    const TDTG_RECORD& Item(int index) const { return List[static_cast<size_t>(index)]; }
    const std::vector<TDTG_RECORD>& Items() const { return List; }

    // The record readers look at: the blank record until a walker or
    // FindRecord moves it.
    const TDTG_RECORD& Current() const;
    void SetCurrent(int index) { current_ = index; }
    int CurrentIndex() const { return current_; }

    // Binary search of the sorted keys; on a hit Current moves there and its
    // index is returned, on a miss -1 and Current stays.
    int FindRecord(std::string_view key);

    // Appends the row's record, preceded in 1-second data by gap records for
    // the missing seconds before it. False when position 33 is not a digit.
    bool AddRecords(const GridRow& row, std::string_view block, const ParseContext& ctx,
                    GapState& gap, int pivotYear);

    void Reserve(size_t n) { List.reserve(n); }
    // Gives back spare capacity left by growth during the load.
    void ShrinkToFit() {
        if (List.capacity() > List.size() + List.size() / 4) List.shrink_to_fit();
    }

  private:
    std::vector<TDTG_RECORD> List;
    TDTG_RECORD blank_;
    int current_ = -1;
};

int CompareKeys(std::string_view a, std::string_view b);

}  // namespace ondavia
