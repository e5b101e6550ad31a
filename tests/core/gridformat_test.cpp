#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "common/text.hpp"
#include "data/gridformat.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeRecord;
using test::RecordFields;

GridRow Parse(const RecordFields& f, ParseContext ctx = {}) {
    auto row = ParseRow(MakeRecord(f), ctx);
    EXPECT_TRUE(row);
    return row ? *row : GridRow{};
}

struct CellCase {
    const char* name;
    RecordFields fields;
    int column;
    const char* text;   // what the grid shows
    const char* value;  // what an export writes
};

RecordFields With(void (*change)(RecordFields&)) {
    RecordFields f;
    change(f);
    return f;
}

TEST(GridFormat, DisplayTextAndPlainValueOfEachColumn) {
    const CellCase cases[] = {
        {"date-time", {}, ColInfoDateTime, "26-12-10 10:00:00", "26-12-10 10:00:00"},
        {"time", {}, ColInfoTime, "10:00:00", "10:00:00"},
        {"speed", {}, ColSpeed, "50 ", "50"},
        {"rpm", {}, ColRPM, "1500 ", "1500"},
        {"brake off", {}, ColBrake, "OFF", "OFF"},
        {"brake on", With([](RecordFields& f) { f.brake = "1"; }), ColBrake, "ON", "ON"},
        {"distance grouped", With([](RecordFields& f) { f.km = "1234"; }), ColKm, "1,234 ", "1234"},
        {"negative distance", With([](RecordFields& f) { f.km = "-001"; }), ColKm, "-1 ", "-1"},
        {"cumulative grouped", With([](RecordFields& f) { f.totKm = "1234567"; }), ColTotKm,
         "1,234,567 ", "1234567"},
        {"longitude", {}, ColGpsX, "126.978012 ", "126.978012"},
        {"latitude", {}, ColGpsY, "37.566535 ", "37.566535"},
        {"zero latitude", With([](RecordFields& f) { f.lat = "000000000"; }), ColGpsY, "0.000000 ",
         "0.000000"},
        {"azimuth", {}, ColGpsAngle, "90 ", "90"},
        {"gx one decimal", {}, ColGx, "1.5 ", "1.5"},
        {"gy one decimal", {}, ColGy, "-0.2 ", "-0.2"},
        // A small negative value rounds to zero on screen without a sign, but
        // the export keeps the exact value.
        {"gx rounds to zero", With([](RecordFields& f) { f.gx = "-00.04"; }), ColGx, "0.0 ",
         "-0.04"},
        {"gy negative zero", With([](RecordFields& f) { f.gy = "-00.00"; }), ColGy, "0.0 ", "0"},
        {"gx exponent", With([](RecordFields& f) { f.gx = "9e+9"; }), ColGx, "9000000000.0 ",
         "9e+09"},
        // Exact halves round away from zero; 0.15 is just below its half.
        {"gx half up", With([](RecordFields& f) { f.gx = "+01.25"; }), ColGx, "1.3 ", "1.25"},
        {"gy half down", With([](RecordFields& f) { f.gy = "-00.75"; }), ColGy, "-0.8 ", "-0.75"},
        {"gx below half", With([](RecordFields& f) { f.gx = "+00.15"; }), ColGx, "0.1 ", "0.15"},
        {"state zero", {}, ColState, "00", "0"},
        {"state one digit", With([](RecordFields& f) { f.state = "07"; }), ColState, "07", "7"},
        {"state two digits", With([](RecordFields& f) { f.state = "11"; }), ColState, "11", "11"},
        {"state minus one", With([](RecordFields& f) { f.state = "-1"; }), ColState, "-01", "-1"},
        {"state minus nine", With([](RecordFields& f) { f.state = "-9"; }), ColState, "-09", "-9"},
        {"no gear in a plain file", {}, ColGear, "", ""},
        {"no fuel in a plain file", {}, ColFuel, "", ""},
        {"no steering in a plain file", {}, ColSteer, "", ""},
    };
    for (const CellCase& c : cases) {
        GridRow row = Parse(c.fields);
        EXPECT_EQ(GridCellText(row, c.column), c.text) << c.name;
        EXPECT_EQ(GridValue(row, c.column), c.value) << c.name;
    }
}

TEST(GridFormat, ExtendedFieldsAndHundredths) {
    RecordFields f;
    f.extended = true;
    f.hundredths = "45";
    f.fuel = "FFFFFF";
    f.steer = "\xB0\xA1+1";  // one cp949 character, kept as bytes
    GridRow row = Parse(f, {FileLayout::ExtendedLines, true});
    EXPECT_EQ(GridCellText(row, ColInfoDateTime), "26-12-10 10:00:00.45");
    EXPECT_EQ(GridCellText(row, ColInfoTime), "10:00:00.45");
    EXPECT_EQ(GridCellText(row, ColGear), "D3");
    EXPECT_EQ(GridCellText(row, ColFuel), "16777215");
    EXPECT_EQ(GridValue(row, ColFuel), "16777215");
    EXPECT_EQ(GridCellText(row, ColAuto), "00");
    EXPECT_EQ(GridCellText(row, ColAccel), "0035");
    EXPECT_EQ(GridCellText(row, ColSteer), "\xB0\xA1+1");
    EXPECT_EQ(GridColumnTraitsOf(ColSteer).kind, GridCellKind::FileText);
}

// Values no recorder writes must still fit the caller's buffer.
TEST(GridFormat, ExtremeValuesFitTheBuffer) {
    GridRow row = Parse({});
    const double values[] = {DBL_MAX, -DBL_MAX, std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(), DBL_MIN};
    for (double v : values) {
        row.gx = row.gpsX = v;
        for (int column : {static_cast<int>(ColGx), static_cast<int>(ColGpsX)}) {
            char buf[kGridCellCapacity];
            size_t n = WriteGridCellText(row, column, buf);
            EXPECT_GT(n, 1u) << v;
            EXPECT_LE(n, kGridCellCapacity);
            EXPECT_EQ(buf[n - 1], ' ');
            EXPECT_GT(WriteGridValue(row, column, buf), 0u) << v;
        }
    }
    row.gx = -DBL_MAX;
    EXPECT_EQ(GridCellText(row, ColGx).substr(0, 4), "-179");
    row.totKm = INT32_MIN;
    row.state = INT32_MIN;
    EXPECT_EQ(GridCellText(row, ColTotKm), "-2,147,483,648 ");
    EXPECT_EQ(GridCellText(row, ColState), "-2147483648");
    row.fuel = INT64_MIN;
    row.extended = true;
    EXPECT_EQ(GridValue(row, ColFuel), "-9223372036854775808");
}

TEST(GridFormat, ColumnsOutsideTheGridAreEmpty) {
    GridRow row = Parse({});
    for (int column : {-1, static_cast<int>(kGridColumnCount), 1000}) {
        EXPECT_EQ(GridCellText(row, column), "");
        EXPECT_EQ(GridValue(row, column), "");
        EXPECT_EQ(GridColumnTraitsOf(column).width, 0);
    }
    EXPECT_EQ(GridColumnTraitsOf(ColInfoDateTime).width, 140);
    EXPECT_EQ(GridColumnTraitsOf(ColTotKm).align, GridAlign::Right);
    EXPECT_EQ(GridColumnTraitsOf(ColState).align, GridAlign::Centre);
}

TEST(GridFormat, ThousandsOfTheWholeRange) {
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(-999), "-999");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(INT64_MAX), "9,223,372,036,854,775,807");
    EXPECT_EQ(FormatThousands(INT64_MIN), "-9,223,372,036,854,775,808");
}

}  // namespace
}  // namespace ondavia
