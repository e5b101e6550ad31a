#include "gridformat.hpp"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "common/text.hpp"

namespace ondavia {

namespace {

constexpr GridColumnTraits kColumnTraits[kGridColumnCount] = {
    {140, GridAlign::Centre, GridCellKind::FileText},  // date-time
    {80, GridAlign::Centre, GridCellKind::FileText},   // time
    {43, GridAlign::Right, GridCellKind::Number},      // speed
    {43, GridAlign::Right, GridCellKind::Number},      // RPM
    {43, GridAlign::Centre, GridCellKind::Text},       // brake
    {48, GridAlign::Right, GridCellKind::Number},      // distance
    {66, GridAlign::Right, GridCellKind::Number},      // cumulative distance
    {80, GridAlign::Right, GridCellKind::Number},      // longitude
    {80, GridAlign::Right, GridCellKind::Number},      // latitude
    {48, GridAlign::Right, GridCellKind::Number},      // azimuth
    {59, GridAlign::Right, GridCellKind::Number},      // Gx
    {59, GridAlign::Right, GridCellKind::Number},      // Gy
    {48, GridAlign::Centre, GridCellKind::Number},     // state
    {43, GridAlign::Centre, GridCellKind::FileText},   // gear
    {66, GridAlign::Right, GridCellKind::Number},      // fuel
    {43, GridAlign::Centre, GridCellKind::FileText},   // autonomous
    {43, GridAlign::Centre, GridCellKind::FileText},   // accelerator
    {43, GridAlign::Centre, GridCellKind::FileText},   // steering
};
constexpr GridColumnTraits kNoColumn = {0, GridAlign::Centre, GridCellKind::Text};

// One byte is kept for the blank the display formats append.
char* End(char* buf) { return buf + kGridCellCapacity - 1; }

size_t Copy(std::string_view text, char* buf) {
    // An empty view may carry no pointer at all; memcpy must never see one.
    if (!text.empty()) std::memcpy(buf, text.data(), text.size());
    return text.size();
}

size_t Integer(long long value, char* buf) {
    return static_cast<size_t>(std::to_chars(buf, End(buf), value).ptr - buf);
}

// Fixed decimals; the text is empty only if the buffer could not hold it,
// which kGridCellCapacity rules out for any double.
size_t Fixed(double value, int decimals, char* buf) {
    if (value == 0) value = 0;  // no "-0.000"
    auto [end, ec] = std::to_chars(buf, End(buf), value, std::chars_format::fixed, decimals);
    return ec == std::errc() ? static_cast<size_t>(end - buf) : 0;
}

// True when value lies exactly halfway between two numbers of that many
// decimals (1.25 for one decimal): value * 2 * 10^decimals is an odd integer.
bool IsExactTie(double value, int decimals) {
    double scale = 2;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    double product = value * scale;
    if (!(std::fabs(product) < 0x1p53) || std::fma(value, scale, -product) != 0) return false;
    return std::fmod(product, 2.0) != 0 && product == std::trunc(product);
}

// The display formats round halves away from zero (1.25 shows as 1.3), and a
// number that rounds to zero shows no sign ("0.0", not "-0.0").
size_t FixedForDisplay(double value, int decimals, char* buf) {
    if (IsExactTie(value, decimals))
        value = std::nextafter(value, value < 0 ? -HUGE_VAL : HUGE_VAL);
    size_t n = Fixed(value, decimals, buf);
    if (n < 2 || buf[0] != '-') return n;
    for (size_t i = 1; i < n; ++i)
        if (buf[i] != '0' && buf[i] != '.') return n;
    std::memmove(buf, buf + 1, n - 1);
    return n - 1;
}

size_t Shortest(double value, char* buf) {
    if (value == 0) value = 0;
    auto [end, ec] = std::to_chars(buf, End(buf), value);
    return ec == std::errc() ? static_cast<size_t>(end - buf) : 0;
}

// "00": at least two digits, the sign before them ("-01").
size_t TwoDigits(long long value, char* buf) {
    char* out = buf;
    unsigned long long magnitude = value < 0 ? 0 - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    if (value < 0) *out++ = '-';
    if (magnitude < 10) *out++ = '0';
    return static_cast<size_t>(std::to_chars(out, End(buf), magnitude).ptr - buf);
}

size_t TimeText(const GridRow& row, char* buf) {
    size_t n = row.WriteDateTimeText(buf);
    constexpr size_t kDatePart = 9;  // "yy-mm-dd "
    std::memmove(buf, buf + kDatePart, n - kDatePart);
    return n - kDatePart;
}

// The columns whose text and plain value are the same.
size_t CommonCell(const GridRow& row, int column, char* buf) {
    switch (column) {
        case ColInfoDateTime:
            return row.WriteDateTimeText(buf);
        case ColInfoTime:
            return TimeText(row, buf);
        case ColBrake:
            return Copy(row.brakeOn ? "ON" : "OFF", buf);
        case ColGear:
            return Copy(row.Gear(), buf);
        case ColFuel:
            return row.extended ? Integer(row.fuel, buf) : 0;
        case ColAuto:
            return Copy(row.Autonomous(), buf);
        case ColAccel:
            return Copy(row.Accel(), buf);
        case ColSteer:
            return Copy(row.Steer(), buf);
        default:
            return 0;
    }
}

size_t WithBlank(size_t n, char* buf) {
    buf[n] = ' ';
    return n + 1;
}

}  // namespace

const GridColumnTraits& GridColumnTraitsOf(int column) {
    return column >= 0 && column < kGridColumnCount ? kColumnTraits[column] : kNoColumn;
}

size_t WriteGridCellText(const GridRow& row, int column, char* buf) {
    // Right-aligned numbers keep one blank after them, off the cell's edge.
    switch (column) {
        case ColSpeed:
            return WithBlank(Integer(row.speed, buf), buf);
        case ColRPM:
            return WithBlank(Integer(row.rpm, buf), buf);
        case ColKm:
            return WithBlank(WriteThousands(row.km, buf), buf);
        case ColTotKm:
            return WithBlank(WriteThousands(row.totKm, buf), buf);
        case ColGpsX:
            return WithBlank(FixedForDisplay(row.gpsX, 6, buf), buf);
        case ColGpsY:
            return WithBlank(FixedForDisplay(row.gpsY, 6, buf), buf);
        case ColGpsAngle:
            return WithBlank(Integer(row.azimuth, buf), buf);
        case ColGx:
            return WithBlank(FixedForDisplay(row.gx, 1, buf), buf);
        case ColGy:
            return WithBlank(FixedForDisplay(row.gy, 1, buf), buf);
        case ColState:
            return TwoDigits(row.state, buf);
        default:
            return CommonCell(row, column, buf);
    }
}

size_t WriteGridValue(const GridRow& row, int column, char* buf) {
    switch (column) {
        case ColSpeed:
            return Integer(row.speed, buf);
        case ColRPM:
            return Integer(row.rpm, buf);
        case ColKm:
            return Integer(row.km, buf);
        case ColTotKm:
            return Integer(row.totKm, buf);
        case ColGpsX:
            return Fixed(row.gpsX, 6, buf);
        case ColGpsY:
            return Fixed(row.gpsY, 6, buf);
        case ColGpsAngle:
            return Integer(row.azimuth, buf);
        case ColGx:
            return Shortest(row.gx, buf);
        case ColGy:
            return Shortest(row.gy, buf);
        case ColState:
            return Integer(row.state, buf);
        default:
            return CommonCell(row, column, buf);
    }
}

std::string GridCellText(const GridRow& row, int column) {
    char buf[kGridCellCapacity];
    return std::string(buf, WriteGridCellText(row, column, buf));
}

std::string GridValue(const GridRow& row, int column) {
    char buf[kGridCellCapacity];
    return std::string(buf, WriteGridValue(row, column, buf));
}

}  // namespace ondavia
