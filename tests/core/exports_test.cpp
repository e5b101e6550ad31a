// The record exports: NMEA log lines, the GPX track text and the workbook's
// sheet names and file handling. Read-back by the real programs is in
// tests/readback.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "common/fileio.hpp"
#include "data/recording.hpp"
#include "output/gpxtrack.hpp"
#include "output/nmealog.hpp"
#include "output/xlsxexport.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

Recording Load(const std::vector<RecordFields>& fields, bool hundredths = false) {
    std::string bytes = MakeHeader() + "\r\n";
    for (const RecordFields& f : fields)
        bytes += MakeRecord(f) + "\r\n";
    LoadOptions o;
    o.upperName = "20261210-12345678-02.TXT";
    o.pivotYear = 2026;
    o.hundredths = hundredths;
    Recording rec;
    LoadResult r = LoadRecordingBytes(bytes, o, rec);
    EXPECT_TRUE(r.ok()) << DescribeLoadError(r);
    return rec;
}

GridRow Row(const RecordFields& f, bool hundredths = false) {
    ParseContext ctx;
    ctx.hundredths = hundredths;
    std::optional<GridRow> row = ParseRow(MakeRecord(f), ctx);
    EXPECT_TRUE(row.has_value());
    return row.value_or(GridRow{});
}

std::string Line(const RecordFields& f) {
    std::string out;
    AppendRmcLine(out, Row(f), 2026);
    return out;
}

TEST(NmeaLog, Coordinate) {
    struct Case {
        double degrees, nmea;
    } cases[] = {{37.566, 3733.96}, {126.978, 12658.68}, {5.5, 530.0}, {0, 0}, {-37.5, -3730.0}};
    for (const Case& c : cases)
        EXPECT_NEAR(NmeaCoordinate(c.degrees), c.nmea, 1e-9) << c.degrees;
}

TEST(NmeaLog, Lines) {
    RecordFields example;
    example.date = "110701";
    example.time = "090503";
    example.lon = "126978000";
    example.lat = "037566000";
    example.azimuth = "090";
    EXPECT_EQ(Line(example),
              "$GPRMC,090503,A,3733.960000,N,12658.680000,E,000.0,90.0,010711,,*20\r\n");

    struct Case {
        const char* what;
        std::string lon, lat, state, azimuth, date, time;
        const char* line;
    } cases[] = {
        {"state 11 is void even with a position", "126978000", "037566000", "11", "090", "110701",
         "090503", "$GPRMC,090503,V,3733.960000,N,12658.680000,E,000.0,90.0,010711,,*37"},
        {"zero longitude is void and written as zero", "000000000", "037566000", "00", "000",
         "110701", "090503", "$GPRMC,090503,V,3733.960000,N,0.000000,E,000.0,0.0,010711,,*08"},
        {"zero latitude is void", "126978000", "000000000", "00", "359", "110701", "090503",
         "$GPRMC,090503,V,0.000000,N,12658.680000,E,000.0,359.0,010711,,*3A"},
        {"no leading zeros below 10 and 100 degrees", "095500000", "005500000", "00", "007",
         "261231", "235959", "$GPRMC,235959,A,530.000000,N,9530.000000,E,000.0,7.0,311226,,*17"},
        {"blanks written as underscores read as zeros", "126978000", "037566000", "00", "090",
         "110701", "_90503", "$GPRMC,090503,A,3733.960000,N,12658.680000,E,000.0,90.0,010711,,*20"},
        {"a date that does not read gives the zero date-time", "126978000", "037566000", "00",
         "090", "111301", "090503",
         "$GPRMC,000000,A,3733.960000,N,12658.680000,E,000.0,90.0,301299,,*29"},
    };
    for (const Case& c : cases) {
        RecordFields f;
        f.lon = c.lon;
        f.lat = c.lat;
        f.state = c.state;
        f.azimuth = c.azimuth;
        f.date = c.date;
        f.time = c.time;
        EXPECT_EQ(Line(f), std::string(c.line) + "\r\n") << c.what;
    }
}

TEST(NmeaLog, ChecksumCoversTheBody) {
    const std::string line = Line(RecordFields{});
    const size_t star = line.find('*');
    ASSERT_NE(star, std::string::npos);
    unsigned x = 0;
    for (size_t i = 1; i < star; ++i)
        x ^= static_cast<unsigned char>(line[i]);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", x);
    EXPECT_EQ(line.substr(star + 1), std::string(hex) + "\r\n");
}

TEST(NmeaLog, OneLinePerGridRowInFileOrder) {
    // 1-second data with four missing seconds: the table holds gap records,
    // the log only the two grid rows.
    RecordFields a, b;
    a.time = "100005";
    b.time = "100010";
    Recording rec = Load({a, b});
    ASSERT_EQ(rec.rows.size(), 2u);
    ASSERT_GT(rec.table.Count(), 2);
    const std::string text = GpsLogText(rec.rows, 2026);
    EXPECT_EQ(text.substr(0, 14), "$GPRMC,100005,");
    EXPECT_EQ(text.substr(text.find("\r\n") + 2, 14), "$GPRMC,100010,");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

TEST(NmeaLog, HundredthsRepeatTheirSecond) {
    std::vector<RecordFields> fields(3);
    fields[0].hundredths = "98";
    fields[1].hundredths = "99";
    fields[2].time = "100001";
    fields[2].hundredths = "00";
    Recording rec = Load(fields, true);
    const std::string text = GpsLogText(rec.rows, 2026);
    EXPECT_EQ(text.find("$GPRMC,100000,"), 0u);
    EXPECT_NE(text.find("\r\n$GPRMC,100000,"), std::string::npos);
    EXPECT_NE(text.find("\r\n$GPRMC,100001,"), std::string::npos);
}

TEST(NmeaLog, ProgressAndFiles) {
    std::vector<RecordFields> fields(kExportProgressStep + 5);
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i].time = test::ClockText(36000 + static_cast<int>(i));
    Recording rec = Load(fields);
    std::vector<size_t> seen;
    test::TempDir dir;
    const auto path = GpsLogPath(dir.path(), "20261210-12345678-02");
    EXPECT_EQ(path.filename(), "20261210-12345678-02.LOG");
    ASSERT_TRUE(WriteGpsLog(path, rec.rows, 2026, [&](size_t n) { seen.push_back(n); }));
    EXPECT_EQ(seen, (std::vector<size_t>{kExportProgressStep, fields.size()}));
    const std::string first = ReadWholeFile(path).value_or("");
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), static_cast<long>(fields.size()));

    // Running again replaces the log; a failed write leaves nothing behind.
    Recording one = Load({RecordFields{}});
    ASSERT_TRUE(WriteGpsLog(path, one.rows, 2026));
    EXPECT_EQ(ReadWholeFile(path).value_or("").size(), GpsLogText(one.rows, 2026).size());
    EXPECT_FALSE(WriteGpsLog(dir.path() / "missing" / "X.LOG", one.rows, 2026));
    EXPECT_FALSE(WriteGpsLog(dir.path(), one.rows, 2026));  // a folder in its place
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(GpxTrack, Times) {
    RecordFields f;
    f.date = "261210";
    f.time = "235959";
    f.hundredths = "07";
    EXPECT_EQ(GpxTime(Row(f), 2026), "2026-12-10T23:59:59+09:00");
    EXPECT_EQ(GpxTime(Row(f, true), 2026), "2026-12-10T23:59:59.07+09:00");
    f.date = "261310";
    EXPECT_EQ(GpxTime(Row(f), 2026), "");
}

TEST(GpxTrack, PointsOnlyForUsablePositions) {
    RecordFields good, fault, zero, bad, noDate;
    good.speed = "036";
    good.azimuth = "359";
    fault.state = "11";
    zero.lat = "000000000";
    bad.lat = "099000000";  // beyond the poles
    noDate.date = "261310";
    noDate.time = "100001";
    noDate.azimuth = "400";
    Recording rec = Load({good, fault, zero, bad, noDate});
    GpxText gpx = GpxTrackText(rec.rows, "a<b&\"c\"\x01", 2026);
    EXPECT_EQ(gpx.points, 2u);
    EXPECT_NE(gpx.text.find("<name>a&lt;b&amp;&quot;c&quot;?</name>"), std::string::npos);
    EXPECT_NE(gpx.text.find("<trkpt lat=\"37.566535\" lon=\"126.978012\"><time>2026-12-10T10:00:00"
                            "+09:00</time><extensions><gpxtpx:TrackPointExtension><gpxtpx:speed>"
                            "10.000</gpxtpx:speed><gpxtpx:course>359</gpxtpx:course>"),
              std::string::npos);
    // The undated point keeps its position but has no time, and no course
    // outside 0..359.
    EXPECT_NE(gpx.text.find("lon=\"126.978012\"><extensions><gpxtpx:TrackPointExtension>"
                            "<gpxtpx:speed>13.889</gpxtpx:speed></gpxtpx:TrackPointExtension>"),
              std::string::npos);
}

TEST(Workbook, SheetNames) {
    std::string hangul;
    for (int i = 0; i < 40; ++i)
        hangul += "가";
    struct Case {
        std::string title;
        int sheet;
        std::string name;
    } cases[] = {
        {"20261210-12345678-02", 1, "20261210-12345678-02"},
        {"20261210-12345678-02", 2, "20261210-12345678-02 (2)"},
        // 38 characters: cut to 31, or to 27 with a suffix.
        {"20261210-ONT10001-S-01-0630000-ABCDEFG", 1, "20261210-ONT10001-S-01-0630000-"},
        {"20261210-ONT10001-S-01-0630000-ABCDEFG", 12, "20261210-ONT10001-S-01-063 (12)"},
        {"a[b]c:d*e?f/g\\h", 1, "a_b_c_d_e_f_g_h"},
        {"'quoted'", 1, "_quoted_"},
        {"", 1, "Sheet"},
        {"history", 1, "history_"},
        // Characters, not bytes, count: 40 Hangul syllables keep 31.
        {hangul, 1, hangul.substr(0, 31 * 3)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WorkbookSheetName(c.title, c.sheet), c.name) << c.title;
}

TEST(Workbook, FilesAndFallbackFolder) {
    test::TempDir dir;
    Recording rec = Load({RecordFields{}, RecordFields{}});
    WorkbookOptions options;
    options.title = "20261210-12345678-02";
    std::filesystem::path written;
    WorkbookResult r =
        WriteWorkbookBeside(dir.path(), "/nonexistent", options.title, rec.rows, options, written);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(written, dir.path() / "20261210-12345678-02.xlsx");
    EXPECT_EQ(ReadWholeFile(written).value_or("").substr(0, 2), "PK");

    // A folder that cannot be written sends the workbook to the fallback.
    std::filesystem::create_directory(dir.path() / "tmp");
    r = WriteWorkbookBeside(dir.path() / "missing", dir.path() / "tmp", options.title, rec.rows,
                            options, written);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(written, dir.path() / "tmp" / "20261210-12345678-02.xlsx");

    r = WriteWorkbookBeside(dir.path() / "missing", "", options.title, rec.rows, options, written);
    EXPECT_EQ(r.error, WorkbookError::FolderNotWritable);
    EXPECT_FALSE(r.message.empty());

    // A failure leaves the earlier workbook and no temporary file.
    const std::string before = ReadWholeFile(dir.path() / "20261210-12345678-02.xlsx").value();
    std::filesystem::create_directory(dir.path() / "taken.xlsx");
    std::filesystem::create_directory(dir.path() / "taken.xlsx" / "inside");
    r = WriteWorkbook(dir.path() / "taken.xlsx", rec.rows, options);
    EXPECT_EQ(r.error, WorkbookError::WriteFailed);
    EXPECT_FALSE(r.message.empty());
    options.maxRowsPerSheet = 3;
    EXPECT_FALSE(WriteWorkbook(dir.path() / "20261210-12345678-02.xlsx", rec.rows, options).ok());
    EXPECT_EQ(ReadWholeFile(dir.path() / "20261210-12345678-02.xlsx").value(), before);
    size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1u);
}

}  // namespace
}  // namespace ondavia
