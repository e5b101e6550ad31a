// The exports read back by the programs people open them with: the GPS log
// and the GPX track through gpsbabel, the track through xmllint against the
// GPX 1.1 rules, the workbook through LibreOffice (one headless conversion
// for every workbook of the run) and through its own XML.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "common/fileio.hpp"
#include "data/recording.hpp"
#include "output/gpxtrack.hpp"
#include "output/nmealog.hpp"
#include "output/xlsxexport.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

namespace fs = std::filesystem;
using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

struct Output {
    int status = -1;
    std::string out, err;
};

// Runs a shell command with its output caught in files of dir.
Output Shell(const fs::path& dir, const std::string& command) {
    const fs::path out = dir / "cmd.out", err = dir / "cmd.err";
    Output r;
    r.status = std::system((command + " >'" + out.string() + "' 2>'" + err.string() + "'").c_str());
    r.out = ReadWholeFile(out).value_or("");
    r.err = ReadWholeFile(err).value_or("");
    return r;
}

std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

// Comma-separated lines with double-quoted fields.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                rows.back().back() += text[++i];
            else if (c == '"')
                quoted = false;
            else
                rows.back().back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\n') {
            rows.emplace_back(1);
        } else if (c != '\r') {
            rows.back().back() += c;
        }
    }
    if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
    return rows;
}

Recording Load(const std::vector<RecordFields>& fields, bool hundredths = false) {
    std::string bytes = MakeHeader() + "\r\n";
    for (const RecordFields& f : fields)
        bytes += MakeRecord(f) + "\r\n";
    LoadOptions o;
    o.upperName = "20261210-12345678-02.TXT";
    o.fileMode =
        fields.empty() || !fields[0].extended ? FileLayout::Lines : FileLayout::ExtendedLines;
    o.pivotYear = 2026;
    o.hundredths = hundredths;
    Recording rec;
    LoadResult r = LoadRecordingBytes(bytes, o, rec);
    EXPECT_TRUE(r.ok()) << DescribeLoadError(r);
    return rec;
}

// Five seconds of driving: a fix, a GPS fault, a zero latitude, a fix below
// 10 and 100 degrees, and a fix heading north-west.
std::vector<RecordFields> Drive() {
    std::vector<RecordFields> f(5);
    for (int i = 0; i < 5; ++i)
        f[i].time = test::ClockText(9 * 3600 + 5 * 60 + 3 + i);
    f[0].lon = "126978000", f[0].lat = "037566000", f[0].azimuth = "090", f[0].speed = "036";
    f[1].state = "11";
    f[2].lat = "000000000";
    f[3].lon = "095500000", f[3].lat = "005500000", f[3].azimuth = "007";
    f[4].lon = "127001234", f[4].lat = "037501234", f[4].azimuth = "315", f[4].speed = "100";
    return f;
}

class Readback : public ::testing::Test {
  protected:
    test::TempDir dir;

    void SetUp() override {
        for (const char* tool : {"gpsbabel", "xmllint", "soffice", "unzip"})
            ASSERT_EQ(Shell(dir.path(), std::string("command -v ") + tool).status, 0)
                << tool << " is missing: run scripts/setup.sh";
    }

    // gpsbabel's track as unicsv rows, header first.
    std::vector<std::vector<std::string>> Babel(const std::string& format, const fs::path& in,
                                                std::string* warnings = nullptr) {
        const fs::path out = dir.path() / "babel.csv";
        Output r = Shell(dir.path(), "gpsbabel -t -i " + format + " -f " + Quote(in) +
                                         " -o unicsv,utc=0 -F " + Quote(out));
        EXPECT_EQ(r.status, 0) << r.err;
        if (warnings) *warnings = r.err;
        return ParseCsv(ReadWholeFile(out).value_or(""));
    }
};

TEST_F(Readback, GpsLogThroughGpsbabel) {
    Recording rec = Load(Drive());
    const fs::path log = dir.path() / "20261210-12345678-02.LOG";
    ASSERT_TRUE(WriteGpsLog(log, rec.rows, 2026));
    std::string warnings;
    auto rows = Babel("nmea", log, &warnings);
    EXPECT_EQ(warnings, "");
    // The void sentences carry no fix; every valid one is a track point.
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"No", "Latitude", "Longitude", "Speed", "Course",
                                                 "Date", "Time"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"1", "37.566000", "126.978000", "0.00", "90.0",
                                                 "2026/12/10", "09:05:03"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"2", "5.500000", "95.500000", "0.00", "7.0",
                                                 "2026/12/10", "09:05:06"}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"3", "37.501234", "127.001234", "0.00", "315.0",
                                                 "2026/12/10", "09:05:07"}));

    // A wrong checksum is refused.
    std::string text = ReadWholeFile(log).value();
    const size_t star = text.find('*');
    text[star + 2] = text[star + 2] == '0' ? '1' : '0';
    const fs::path bad = dir.path() / "bad.LOG";
    ASSERT_TRUE(ReplaceFileAtomically(bad, text));
    rows = Babel("nmea", bad, &warnings);
    EXPECT_NE(warnings.find("checksum"), std::string::npos) << warnings;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][1], "5.500000");
}

TEST_F(Readback, GpxThroughGpsbabelAndSchema) {
    std::vector<RecordFields> fields = Drive();
    fields.push_back(fields.back());
    fields.back().hundredths = "50";
    Recording rec = Load(Drive());
    Recording hundredths = Load(fields, true);
    for (const Recording* r : {&rec, &hundredths}) {
        const fs::path gpx = dir.path() / "track.gpx";
        ASSERT_TRUE(ReplaceFileAtomically(gpx, GpxTrackText(r->rows, "<트랙> & 1", 2026).text));
        Output valid =
            Shell(dir.path(), "xmllint --noout --schema " +
                                  Quote(fs::path(ONDAVIA_FIXTURES_DIR) / "gpx/gpx-1.1-min.xsd") +
                                  " " + Quote(gpx));
        EXPECT_EQ(valid.status, 0) << valid.err;

        std::string warnings;
        auto rows = Babel("gpx", gpx, &warnings);
        EXPECT_EQ(warnings, "");
        ASSERT_EQ(rows.size(), r == &rec ? 4u : 5u);
        EXPECT_EQ(rows[0],
                  (std::vector<std::string>{"No", "Latitude", "Longitude", "Date", "Time"}));
        // Korean time is nine hours ahead of UTC.
        EXPECT_EQ(rows[1], (std::vector<std::string>{"1", "37.566000", "126.978000", "2026/12/10",
                                                     "00:05:03"}));
        EXPECT_EQ(rows[3][1], "37.501234");
        EXPECT_EQ(rows[3][4], "00:05:07");
        if (r == &hundredths) {
            EXPECT_EQ(rows[4][4], "00:05:07.500");
        }
    }

    // The schema copy does bite: a course of 360 is refused.
    const fs::path wrong = dir.path() / "wrong.gpx";
    std::string text = GpxTrackText(rec.rows, "x", 2026).text;
    text.replace(text.find("<gpxtpx:course>90<"), 18, "<gpxtpx:course>360<");
    ASSERT_TRUE(ReplaceFileAtomically(wrong, text));
    EXPECT_NE(Shell(dir.path(), "xmllint --noout --schema " +
                                    Quote(fs::path(ONDAVIA_FIXTURES_DIR) / "gpx/gpx-1.1-min.xsd") +
                                    " " + Quote(wrong))
                  .status,
              0);
}

// The workbooks of the run, converted by LibreOffice once.
class WorkbookReadback : public Readback {
  protected:
    std::map<std::string, std::vector<std::vector<std::string>>> sheets;  // by csv file name

    void Convert(const std::vector<fs::path>& books) {
        const fs::path home = dir.path() / "home", out = dir.path() / "csv";
        fs::create_directories(home);
        std::string command = "HOME=" + Quote(home) + " soffice -env:UserInstallation=file://" +
                              home.string() +
                              "/lo --headless --norestore --convert-to "
                              "'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,"
                              "false,false,-1' --outdir " +
                              Quote(out);
        for (const fs::path& b : books)
            command += " " + Quote(b);
        Output r = Shell(dir.path(), command);
        ASSERT_EQ(r.status, 0) << r.out << r.err;
        for (const auto& e : fs::directory_iterator(out))
            sheets[e.path().filename().string()] = ParseCsv(ReadWholeFile(e.path()).value_or(""));
    }

    std::string Xml(const fs::path& book, const std::string& part) {
        return Shell(dir.path(), "unzip -p " + Quote(book) + " " + part).out;
    }
};

// The n-th (0-based) element named tag after the list element that holds it.
std::string NthElement(const std::string& xml, const std::string& list, const std::string& tag,
                       int n) {
    size_t at = xml.find("<" + list);
    for (int i = 0; i <= n && at != std::string::npos; ++i)
        at = xml.find("<" + tag + (tag == "font" ? ">" : " "), at + 1);
    if (at == std::string::npos) return {};
    const size_t end = xml.find("</" + tag + ">", at);
    const size_t next = xml.find("<" + tag, at + 1);
    return xml.substr(at, std::min(end, next) - at);
}

int Attribute(const std::string& element, const std::string& name) {
    const size_t at = element.find(" " + name + "=\"");
    return at == std::string::npos ? -1 : std::atoi(element.c_str() + at + name.size() + 3);
}

// What the sheet says about one cell: its number format, alignment, font
// and border, as text.
struct CellStyle {
    std::string format, xf, font;
    bool border = false;
};
CellStyle StyleOf(const std::string& sheet, const std::string& styles, const std::string& cell) {
    CellStyle style;
    const size_t at = sheet.find("<c r=\"" + cell + "\"");
    if (at == std::string::npos) return style;
    const std::string c = sheet.substr(at, sheet.find('>', at) - at);
    style.xf = NthElement(styles, "cellXfs", "xf", std::max(Attribute(c, "s"), 0));
    const int format = Attribute(style.xf, "numFmtId");
    const size_t code = styles.find("numFmtId=\"" + std::to_string(format) + "\" formatCode=\"");
    if (code != std::string::npos) {
        const size_t from = styles.find("formatCode=\"", code) + 12;
        style.format = styles.substr(from, styles.find('"', from) - from);
    }
    style.font = NthElement(styles, "fonts", "font", Attribute(style.xf, "fontId"));
    style.border = Attribute(style.xf, "borderId") == 1;
    return style;
}

std::vector<std::string> Header() {
    return {"순번",     "정보발생시간", "속도",     "RPM",    "BRAKE", "거리",
            "누적거리", "경도",         "위도",     "방위각", "Gx",    "Gy",
            "상태",     "GEAR",         "연료소모", "자율",   "가속",  "조향"};
}

TEST_F(WorkbookReadback, ValuesFormatsAndSheets) {
    // An extended file whose text fields look like a formula and a date.
    std::vector<RecordFields> fields(2);
    for (RecordFields& f : fields)
        f.extended = true;
    fields[0].accel = "=1+1";
    fields[0].steer = "1-2 ";
    fields[1].time = "100001";
    fields[1].totKm = "1234567";
    fields[1].gy = "+00.04";
    fields[1].state = "11";
    fields[1].fuel = "0003E8";
    const fs::path full = dir.path() / "full.xlsx";
    WorkbookOptions options;
    options.title = "20261210-12345678-S-01-1000000-LONG.NAME";  // 40 characters
    ASSERT_TRUE(WriteWorkbook(full, Load(fields).rows, options).ok());

    const fs::path empty = dir.path() / "empty.xlsx";
    options.title = "EMPTY";
    ASSERT_TRUE(WriteWorkbook(empty, {}, options).ok());

    // Seven records on sheets of three.
    std::vector<RecordFields> seven(7);
    for (int i = 0; i < 7; ++i)
        seven[i].time = test::ClockText(36000 + i);
    const fs::path split = dir.path() / "split.xlsx";
    options.title = "SPLIT";
    options.maxRowsPerSheet = 6;
    WorkbookResult r = WriteWorkbook(split, Load(seven).rows, options);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.sheets, 3);

    ASSERT_NO_FATAL_FAILURE(Convert({full, empty, split}));

    // The sheet takes the first 31 characters of the name, the title all of them.
    const auto& sheet = sheets["full-20261210-12345678-S-01-1000000-.csv"];
    ASSERT_EQ(sheet.size(), 5u);
    EXPECT_EQ(sheet[0][0], "20261210-12345678-S-01-1000000-LONG.NAME");
    EXPECT_EQ(sheet[1], std::vector<std::string>(18));
    EXPECT_EQ(sheet[2], Header());
    EXPECT_EQ(sheet[3],
              (std::vector<std::string>{"1 ", "26-12-10 10:00:00", "50 ", "1,500 ", "OFF", "10 ",
                                        "12,345 ", "126.978012 ", "37.566535 ", "90 ", "1.5 ",
                                        "-0.2 ", "00", "D3", "10", "00", "=1+1", "1-2 "}));
    EXPECT_EQ(sheet[4][6], "1,234,567 ");
    EXPECT_EQ(sheet[4][11], "0.0 ");
    EXPECT_EQ(sheet[4][12], "11");
    EXPECT_EQ(sheet[4][14], "1000");

    const auto& none = sheets["empty-EMPTY.csv"];
    ASSERT_EQ(none.size(), 3u);
    EXPECT_EQ(none[0][0], "EMPTY");
    EXPECT_EQ(none[2], Header());

    const char* names[] = {"split-SPLIT.csv", "split-SPLIT (2).csv", "split-SPLIT (3).csv"};
    int sequence = 0;
    for (const char* name : names) {
        const auto& part = sheets[name];
        ASSERT_GE(part.size(), 4u) << name;
        EXPECT_EQ(part[0][0], "SPLIT");
        EXPECT_EQ(part[2], Header());
        for (size_t row = 3; row < part.size(); ++row) {
            ++sequence;
            EXPECT_EQ(part[row][0], std::to_string(sequence) + " ");
            EXPECT_EQ(
                part[row][1],
                "26-12-10 " + test::ClockText(36000 + sequence - 1).insert(2, ":").insert(5, ":"));
        }
    }
    EXPECT_EQ(sequence, 7);

    // The sheet's own XML: merge, fill, borders, number formats, widths, fonts.
    const std::string xml = Xml(full, "xl/worksheets/sheet1.xml");
    const std::string styles = Xml(full, "xl/styles.xml");
    EXPECT_NE(xml.find("<mergeCell ref=\"A1:M1\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<col min=\"1\" max=\"1\" width=\"7.7109375\""), std::string::npos);
    EXPECT_NE(xml.find("<col min=\"2\" max=\"2\" width=\"20.7109375\""), std::string::npos);
    EXPECT_NE(xml.find("<col min=\"8\" max=\"8\" width=\"11.7109375\""), std::string::npos);
    EXPECT_NE(xml.find("<col min=\"15\" max=\"15\" width=\"9.7109375\""), std::string::npos);
    EXPECT_NE(xml.find("<c r=\"Q4\" s=\""), std::string::npos);
    EXPECT_NE(xml.find("t=\"inlineStr\"><is><t>=1+1</t>"), std::string::npos);
    EXPECT_EQ(xml.find("<f>"), std::string::npos);
    for (const char* format :
         {"###,##0 ", "@", "#,##0 ", "#,###,##0 ", "##0.000000 ", "###0.0 ", "00"})
        EXPECT_NE(styles.find(std::string("formatCode=\"") + format + "\""), std::string::npos)
            << format;
    EXPECT_NE(styles.find("<fgColor rgb=\"FF80FFFF\"/>"), std::string::npos);
    struct Expect {
        const char* cell;
        const char* format;
        const char* align;
        bool dotum, border;
        const char* size;
    } cells[] = {
        {"A1", "", "center", true, false, "16"},
        {"A3", "", "center", true, true, "11"},
        {"N3", "", "center", false, false, "11"},
        {"A4", "###,##0 ", "right", true, true, "11"},
        {"B4", "@", "center", true, true, "11"},
        {"C4", "#,##0 ", "right", true, true, "11"},
        {"E4", "@", "center", true, true, "11"},
        {"G4", "#,###,##0 ", "right", true, true, "11"},
        {"H4", "##0.000000 ", "right", true, true, "11"},
        {"J4", "#,##0 ", "right", true, true, "11"},
        {"K4", "###0.0 ", "right", true, true, "11"},
        {"M5", "00", "center", true, true, "11"},
        {"N4", "", "center", false, false, "11"},
        {"O4", "", "right", false, false, "11"},
        {"R4", "", "center", false, false, "11"},
    };
    for (const Expect& e : cells) {
        const CellStyle st = StyleOf(xml, styles, e.cell);
        EXPECT_EQ(st.format, e.format) << e.cell;
        EXPECT_NE(st.xf.find(std::string("horizontal=\"") + e.align + "\""), std::string::npos)
            << e.cell << " " << st.xf;
        EXPECT_EQ(st.font.find("돋움체") != std::string::npos, e.dotum) << e.cell;
        EXPECT_NE(st.font.find(std::string("<sz val=\"") + e.size + "\"/>"), std::string::npos)
            << e.cell;
        EXPECT_EQ(st.border, e.border) << e.cell;
    }
    EXPECT_NE(StyleOf(xml, styles, "A3").xf.find("fillId=\"2\""), std::string::npos);
    EXPECT_NE(styles.find("<left style=\"thin\">"), std::string::npos);
    EXPECT_NE(styles.find("<b/><sz val=\"16\"/><color theme=\"1\"/><name val=\"돋움체\"/>"),
              std::string::npos);
    EXPECT_NE(styles.find("<sz val=\"11\"/><color theme=\"1\"/><name val=\"돋움체\"/>"),
              std::string::npos);
}

}  // namespace
}  // namespace ondavia
