#include <gtest/gtest.h>

#include "common/cp949.hpp"
#include "data/filename.hpp"
#include "data/recording.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

constexpr const char* kPlain = "20261210-12345678-S-01-ABCDEFG.TXT";
constexpr const char* kLocked = "20261210-12345678-X-01-ABCDEFG.TXT";

LoadOptions Options(const char* name, int mode, bool hundredths = false, bool locked = false) {
    LoadOptions o;
    o.upperName = name;
    o.fileMode = LayoutFromMode(mode);
    o.hundredths = hundredths;
    o.locked = locked;
    o.pivotYear = 2026;
    return o;
}

RecordFields At(const char* time) {
    RecordFields f;
    f.time = time;
    return f;
}

TEST(HeaderTexts, DisplayRules) {
    test::HeaderFields f;
    f.model = "A#B#  ON-T100 ";
    f.carKind = "21";
    f.carNo = "#12가3456";
    f.driverNo = "no hash here";
    std::string header = MakeHeader(f);
    // The plate is cp949 in the file: rebuild the header with its bytes.
    auto plate = *Utf8ToCp949("#서울12가3456");
    header.replace(39, 12, plate.substr(0, 12));
    HeaderTexts t = HeaderDisplayTexts(header);
    EXPECT_EQ(t.model, "ON-T100");
    EXPECT_EQ(t.carBody, "KMHEM41APXA123456");
    EXPECT_EQ(t.carKind, "21 - 일반택시");
    EXPECT_EQ(t.carNo, "서울12가345");  // cut at the field's 12th byte
    EXPECT_EQ(t.businessNo, "123-45-67890");
    EXPECT_EQ(t.driverNo, "no hash here");

    struct Kind {
        const char* code;
        const char* shown;
    } kinds[] = {{"21", "21 - 일반택시"}, {"22", "22 - 개인택시"}, {"31", "31"}, {"  ", "  "}};
    for (const Kind& k : kinds) {
        f.carKind = k.code;
        EXPECT_EQ(HeaderDisplayTexts(MakeHeader(f)).carKind, k.shown);
    }
}

TEST(LoadRecording, TextFileWithGapsAndLabels) {
    std::string file =
        test::TextFile(MakeHeader(), {MakeRecord(At("095959")), MakeRecord(At("100003"))});
    Recording r;
    LoadResult res = LoadRecordingBytes(file, Options(kPlain, 2), r);
    ASSERT_TRUE(res.ok()) << DescribeLoadError(res);
    EXPECT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.table.Count(), 5);
    EXPECT_EQ(r.startText, "26-12-10 09:59:59");
    EXPECT_EQ(r.endText, "26-12-10 10:00:03");
    EXPECT_EQ(r.header.model, "ON-T100");
    EXPECT_EQ(r.fuelTotal, 0);
    EXPECT_LE(r.MemoryBytes(), sizeof(Recording) + 7 * 250);
}

TEST(LoadRecording, ExtendedFileSumsFuel) {
    RecordFields a = At("100000"), b = At("100001");
    a.extended = b.extended = true;
    a.fuel = "00000A";
    b.fuel = "000014";
    Recording r;
    ASSERT_TRUE(LoadRecordingBytes(test::TextFile(MakeHeader(), {MakeRecord(a), MakeRecord(b)}),
                                   Options(kPlain, 1), r)
                    .ok());
    EXPECT_EQ(r.fuelTotal, 30);
    EXPECT_EQ(r.rows[1].Gear(), "D3");
}

TEST(LoadRecording, LockedFileIsUnscrambledWithTheKeyOfItsName) {
    std::string plain =
        test::PackedFile(MakeHeader(), {MakeRecord(At("100000")), MakeRecord(At("100001"))});
    std::string locked = test::Xor(plain, LockKey(kLocked));
    Recording r;
    ASSERT_TRUE(LoadRecordingBytes(locked, Options(kLocked, 0, false, true), r).ok());
    EXPECT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.header.carBody, "KMHEM41APXA123456");
    EXPECT_TRUE(r.locked);
    // The wrong key gives unreadable numbers, which fail the load.
    std::string wrong = test::Xor(plain, static_cast<unsigned char>(LockKey(kLocked) ^ 0x55));
    EXPECT_EQ(LoadRecordingBytes(wrong, Options(kLocked, 0, false, true), r).error,
              LoadError::BadNumber);
}

TEST(LoadRecording, Failures) {
    const std::string h = MakeHeader();
    const std::string rec = MakeRecord();
    RecordFields bad;
    bad.speed = "x";
    struct Case {
        const char* what;
        std::string bytes;
        int mode;
        LoadError error;
        size_t index;
    } cases[] = {
        {"short header", h.substr(0, 60), 2, LoadError::ShortHeader, 0},
        {"header only", h + "\r\n", 2, LoadError::NoRecords, 0},
        {"empty last line ends text files", h + "\r\n" + rec + "\r\n\r\n", 2, LoadError::None, 0},
        {"empty line right after the header", h + "\r\n\r\n", 2, LoadError::ShortRecord, 0},
        {"other trailing fragment", h + "\r\n" + rec + "\r\n" + "12", 2, LoadError::ShortRecord, 1},
        {"last line without break", h + "\r\n" + rec + "\r\n" + rec, 2, LoadError::ShortRecord, 1},
        {"fragment in a packed file", h + rec + "\r\n", 0, LoadError::ShortRecord, 1},
        {"unreadable number", h + rec + MakeRecord(bad), 0, LoadError::BadNumber, 1},
    };
    for (const auto& c : cases) {
        Recording r;
        LoadResult res = LoadRecordingBytes(c.bytes, Options(kPlain, c.mode), r);
        EXPECT_EQ(res.error, c.error) << c.what;
        if (!res.ok()) {
            EXPECT_EQ(res.recordIndex, c.index) << c.what;
        }
    }
    Recording r;
    EXPECT_EQ(LoadRecording("/does/not/exist.TXT", Options(kPlain, 2), r).error,
              LoadError::OpenFailed);
}

TEST(LoadRecording, StartLabelFixesTheGpsWeekButRowsKeepTheStoredDate) {
    RecordFields a = At("120000"), b = At("120001");
    a.date = b.date = "040820";
    Recording r;
    ASSERT_TRUE(LoadRecordingBytes(test::PackedFile(MakeHeader(), {MakeRecord(a), MakeRecord(b)}),
                                   Options(kPlain, 0), r)
                    .ok());
    EXPECT_EQ(r.startText, "04-08-20 12:00:00");  // 2004-08-20 12:00 is past the fixed range

    a.date = b.date = "990822";
    ASSERT_TRUE(LoadRecordingBytes(test::PackedFile(MakeHeader(), {MakeRecord(a), MakeRecord(b)}),
                                   Options(kPlain, 0), r)
                    .ok());
    EXPECT_EQ(r.startText, "19-04-07 12:00:00");  // 1024 weeks later
    EXPECT_EQ(r.rows[0].DateTimeText(), "99-08-22 12:00:00");
    EXPECT_EQ(r.table.Item(0).InfoDateTime.View(), "99-08-22 12:00:00");
}

TEST(LoadRecording, UnreadableStampStillLoads) {
    RecordFields a = At("100000"), b = At("100005"), c = At("100006");
    b.date = "261310";
    c.date = "2613__";
    Recording r;
    ASSERT_TRUE(LoadRecordingBytes(
                    test::PackedFile(MakeHeader(), {MakeRecord(a), MakeRecord(b), MakeRecord(c)}),
                    Options(kPlain, 0), r)
                    .ok());
    EXPECT_EQ(r.table.Count(), 3);
    EXPECT_EQ(r.endText, "26-13-__ 10:00:06");  // shown as stored
}

TEST(LoadRecording, HundredthsData) {
    RecordFields a = At("100000"), b = At("100000");
    a.hundredths = "00";
    b.hundredths = "01";
    Recording r;
    ASSERT_TRUE(LoadRecordingBytes(test::TextFile(MakeHeader(), {MakeRecord(a), MakeRecord(b)}),
                                   Options("20261210-12345678-C-01-ABCDEFG.TXT", 2, true), r)
                    .ok());
    EXPECT_EQ(r.table.Count(), 2);
    EXPECT_EQ(r.table.Item(1).InfoTime.View(), "10:00:00.01");
    EXPECT_EQ(r.rows[1].TimeText(), "10:00:00.01");
    EXPECT_EQ(r.startText, "26-12-10 10:00:00");
}

}  // namespace
}  // namespace ondavia
