#include <gtest/gtest.h>

#include "common/text.hpp"
#include "search/recordsearch.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeRecord;
using test::RecordFields;

// Rows parsed from record fields, as the load makes them.
std::vector<GridRow> Rows(const std::vector<RecordFields>& fields, bool hundredths = false) {
    std::vector<GridRow> rows;
    for (const RecordFields& f : fields) {
        auto row = ParseRow(MakeRecord(f), {FileLayout::Lines, hundredths});
        EXPECT_TRUE(row);
        if (row) rows.push_back(*row);
    }
    return rows;
}

RecordFields R(const char* time, int speed = 50) {
    RecordFields f;
    f.time = time;
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03d", speed);
    f.speed = buf;
    return f;
}

std::vector<std::uint32_t> Hits(const SearchRun& run) {
    std::vector<std::uint32_t> out;
    for (const SearchHit& h : run.hits)
        out.push_back(h.record);
    return out;
}

using Indices = std::vector<std::uint32_t>;

TEST(RecordSearch, AccelerationCutsToHundredthsOfG) {
    struct Case {
        const char *gx, *gy;
        bool hit;
        int x, y;
    } cases[] = {
        {"+11.77", "+00.00", true, 1, 0},   // 1.2002 g cut to 1.20
        {"-11.77", "+00.00", true, 1, 0},   // toward zero: -1.20
        {"+11.76", "+00.00", false, 0, 0},  // 1.19
        {"+00.00", "+04.91", true, 0, 1},   // 0.50 g
        {"+00.00", "-04.90", false, 0, 0},  // 0.4996 cut to 0.49
        {"+11.77", "+04.91", true, 1, 1},   // one record raises both counters
    };
    for (const Case& c : cases) {
        RecordFields f = R("100000");
        f.gx = c.gx;
        f.gy = c.gy;
        auto rows = Rows({f});
        SearchRun run = SearchAcceleration(rows);
        EXPECT_EQ(run.hits.size(), c.hit ? 1u : 0u) << c.gx << " " << c.gy;
        EXPECT_EQ(run.counter1, c.x) << c.gx;
        EXPECT_EQ(run.counter2, c.y) << c.gy;
    }
    RecordFields f = R("100000");
    f.gx = "-11.77";
    f.gy = "+04.91";
    auto rows = Rows({f});
    SearchRun run = SearchAcceleration(rows);
    EXPECT_EQ(
        HitQuestion(rows, run, run.hits[0]),
        "원하는 조건 의 가속도 내역을 찾았습니다.  \r\r[ X축 : ±1.2G 이상   Y축 : ±0.5G 이상]  "
        "\r\r\r주행 시간  :  10:00:00       X축 : -1.20       Y축 : 0.50   \r\r확인을 계속 "
        "합니까?");
    EXPECT_EQ(SummaryText(run), "X축 횟수 : 1회          Y축 횟수 : 1회");
}

TEST(RecordSearch, DeviceStatusChoices) {
    std::vector<RecordFields> f(6, R("100000"));
    const char* states[] = {"00", "11", "12", "13", "21", "05"};
    for (int i = 0; i < 6; ++i)
        f[static_cast<size_t>(i)].state = states[i];
    f[5].lat = "000000000";  // status 05 with no latitude counts as a GPS fault too
    auto rows = Rows(f);
    struct Case {
        int choice;
        Indices hits;
        bool stepped;
        const char* summary;
    } cases[] = {
        {0, {1, 5}, false, "G.P.S 장치 이상 횟수 / 전체 횟수  : 2회 / 6회"},
        {1, {2}, true, "속도 센서 이상 횟수 / 전체 횟수  : 1회 / 6회"},
        {2, {3}, true, "RPM 센서 이상 횟수 / 전체 횟수  : 1회 / 6회"},
        {3, {4}, true, "센서 입력부 장치 이상 횟수 / 전체 횟수  : 1회 / 6회"},
        {4, {2, 3, 4, 5}, true, "장치 이상 횟수 / 전체 횟수  : 4회 / 6회"},
        {5, {1, 2, 3, 4, 5}, false, "장치 이상 횟수 / 전체 횟수  : 5회 / 6회"},
        {-1, {1, 2, 3, 4, 5}, false, "장치 이상 횟수 / 전체 횟수  : 5회 / 6회"},
    };
    for (const Case& c : cases) {
        SearchRun run = SearchDeviceStatus(rows, c.choice);
        EXPECT_EQ(Hits(run), c.hits) << c.choice;
        for (const SearchHit& h : run.hits)
            EXPECT_EQ(h.stepped, c.stepped) << c.choice;
        EXPECT_EQ(SummaryText(run), c.summary);
    }
    SearchRun run = SearchDeviceStatus(rows, 1);
    EXPECT_EQ(HitQuestion(rows, run, run.hits[0]),
              "주행시간  :  26-12-10 10:00:00     /     상태정보  :  12\r\r틀린 부분의 확인을 계속 "
              "합니까?");
}

TEST(RecordSearch, DistanceGoingBack) {
    std::vector<RecordFields> f(4, R("100000"));
    f[0].km = "0010", f[0].totKm = "0001000";
    f[1].km = "0009", f[1].totKm = "0001000";  // distance back
    f[2].km = "0009", f[2].totKm = "0000999";  // cumulative back, distance equal
    f[3].km = "0001", f[3].totKm = "0000001";  // both
    auto rows = Rows(f);
    SearchRun run = SearchDistance(rows);
    EXPECT_EQ(Hits(run), (Indices{1, 2, 3}));
    EXPECT_EQ(SummaryText(run), "거리 오류 : 2회  / 누적거리 오류 : 2회");
    EXPECT_EQ(
        HitQuestion(rows, run, run.hits[0]),
        "10:00:00  /  거리 : 10Km  /  누적거리 : 1,000Km   \r\r"
        "10:00:00  /  거리 : 9Km  /  누적거리 : 1,000Km   \r\r틀린 부분의 확인을 계속 합니까?");
}

TEST(RecordSearch, ReferenceBands) {
    auto speeds = [](std::initializer_list<int> values) {
        std::vector<RecordFields> f;
        for (int v : values)
            f.push_back(R("100000", v));
        return Rows(f);
    };
    struct Case {
        const char* ref;
        std::vector<GridRow> rows;
        Indices hits;
    } cases[] = {
        {"100", speeds({97, 98, 100, 102, 103}), {0, 4}},
        {"  49 ", speeds({48, 49, 50}), {0, 2}},  // tolerance 98 div 100 = 0
        {"0", speeds({0, 1, 0}), {1}},
        {"", speeds({0, 1, 0}), {1}},  // empty counts as 0
        {"abc", speeds({0, 1}), {1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Hits(SearchReferenceBand(c.rows, false, c.ref)), c.hits) << c.ref;

    std::vector<RecordFields> f;
    for (const char* rpm : {"1959", "1960", "2040", "2041"}) {
        RecordFields r = R("100000");
        r.rpm = rpm;
        f.push_back(r);
    }
    auto rows = Rows(f);
    SearchRun run = SearchReferenceBand(rows, true, "2000");
    EXPECT_EQ(Hits(run), (Indices{0, 3}));
    EXPECT_EQ(SummaryText(run), "RPM 오류  :  2회");
    EXPECT_EQ(HitQuestion(rows, run, run.hits[0]),
              "10:00:00   /   속도 :  50 km/h   /   RPM :  1,959 RPM   \r\r틀린 부분의 확인을 계속 "
              "합니까?");
    EXPECT_EQ(SummaryText(SearchReferenceBand(rows, false, "50")), "속도 오류  :  0회");
}

TEST(RecordSearch, TimeSequence) {
    auto run = [](std::vector<RecordFields> f, bool hundredths = false) {
        return Hits(SearchTimeSequence(Rows(f, hundredths)));
    };
    auto withState = [](const char* time, const char* state) {
        RecordFields f = R(time);
        f.state = state;
        return f;
    };
    RecordFields lateNight = R("235959"), nextDay = R("000000");
    nextDay.date = "261211";
    RecordFields bad1 = R("100000"), bad2 = R("100001");
    bad1.date = bad2.date = "26xx10";
    EXPECT_EQ(run({R("100000"), R("100001"), R("100002")}), Indices{});
    EXPECT_EQ(run({R("100000"), R("100002")}), Indices{1});  // gap
    EXPECT_EQ(run({R("100002"), R("100001")}), Indices{1});  // step back
    EXPECT_EQ(run({lateNight, nextDay}), Indices{});         // midnight
    EXPECT_EQ(run({withState("100000", "00"), withState("100000", "00")}), Indices{1});
    EXPECT_EQ(run({withState("100000", "12"), withState("100000", "13")}), Indices{});
    EXPECT_EQ(run({withState("100000", "00"), withState("100000", "12")}), Indices{1});
    EXPECT_EQ(run({withState("100000", "12"), withState("100000", "12")}), Indices{1});
    EXPECT_EQ(run({bad1, bad2}), Indices{1});  // both read as the zero date-time: a duplicate
    RecordFields h1 = R("100000"), h2 = R("100000");
    h1.hundredths = "10";
    h2.hundredths = "20";
    EXPECT_EQ(run({h1, h2}, true), Indices{1});  // same second in a 0.01-second file
    EXPECT_EQ(run({}), Indices{});
    EXPECT_EQ(SummaryText(SearchTimeSequence({})), "오류 횟수  :  0회");

    auto rows = Rows({withState("100000", "00"), withState("100002", "21")});
    SearchRun r = SearchTimeSequence(rows);
    EXPECT_EQ(HitQuestion(rows, r, r.hits[0]),
              "주행시간  :  26-12-10 10:00:00     /     상태정보  :  00\r\r"
              "주행시간  :  26-12-10 10:00:02     /     상태정보  :  21\r\r틀린 부분의 확인을 계속 "
              "합니까?");
    EXPECT_EQ(ParseRecordDateTime("26-12-10 10:00:02.50"),
              ParseRecordDateTime("26-12-10 10:00:02"));
    EXPECT_EQ(ParseRecordDateTime("26-13-10 10:00:02"), 0);
}

TEST(RecordSearch, SpeedJump) {
    auto rows = Rows({R("100000", 10), R("100001", 25), R("100002", 41), R("100003", 25)});
    SearchRun run = SearchSpeedJump(rows);
    EXPECT_EQ(Hits(run), (Indices{2, 3}));  // 15 is no jump, 16 is
    EXPECT_EQ(SummaryText(run), "속도 이상 :  2회");
    EXPECT_EQ(
        HitQuestion(rows, run, run.hits[0]),
        "10:00:01  /  속도 :  25 km/h   \r\r10:00:02  /  속도 :  41 km/h  / 속도차 :  16 km/h   "
        "\r\r틀린 부분의 확인을 계속 합니까?");
}

TEST(RecordSearch, PositionSearches) {
    auto at = [](const char* time, int speed, const char* lon, const char* state = "00",
                 const char* azimuth = "090") {
        RecordFields f = R(time, speed);
        f.lon = lon;
        f.state = state;
        f.azimuth = azimuth;
        return f;
    };
    // Frozen while moving; a pair with status 11 is never a hit.
    auto frozen = Rows({at("100000", 30, "126978012"), at("100001", 30, "126978012"),
                        at("100002", 4, "126978012"), at("100003", 30, "126978012", "11"),
                        at("100004", 30, "126978012")});
    SearchRun f = SearchFrozenPosition(frozen);
    EXPECT_EQ(Hits(f), Indices{1});
    EXPECT_EQ(HitQuestion(frozen, f, f.hits[0]),
              "10:00:00  /  속도 : 30 km/h  /  좌표 : 126.978012,  37.566535   \r\r"
              "10:00:01  /  속도 : 30 km/h  /  좌표 : 126.978012,  37.566535   \r\r"
              "잘못된 부분의 확인을 계속 합니까?");
    EXPECT_EQ(SummaryText(f), "GPS 좌표 중복 :  1회");

    // Moving while standing: position or heading changes below 5 km/h.
    auto standing = Rows({at("100000", 0, "126978012"), at("100001", 4, "126978013"),
                          at("100002", 4, "126978013", "00", "091"), at("100003", 5, "126978014")});
    SearchRun s = SearchStandingMove(standing);
    EXPECT_EQ(Hits(s), (Indices{1, 2}));
    EXPECT_EQ(SummaryText(s), "GPS 위치변경검사 :  2회");
    EXPECT_EQ(HitQuestion(standing, s, s.hits[0]),
              "10:00:00  /  속도 : 0 km/h  /  브레이크 : OFF\r\r"
              "               좌표 : 126.978012,   37.566535,  90   \r\r"
              "10:00:01  /  속도 : 4 km/h  /  브레이크 : OFF\r\r"
              "               좌표 : 126.978013,   37.566535,  90   \r\r잘못된 부분의 확인을 계속 "
              "합니까?");

    // The first record of a GPS fault whose position still moves.
    auto fault = Rows({at("100000", 30, "126978012"), at("100001", 30, "126978099", "11"),
                       at("100002", 30, "126978100", "11"), at("100003", 30, "126978100"),
                       at("100004", 30, "126978100", "11")});
    SearchRun g = SearchGpsFaultMove(fault);
    EXPECT_EQ(Hits(g), Indices{1});
    EXPECT_EQ(SummaryText(g), "GPS 위치오류 :  1회");
    EXPECT_NE(HitQuestion(fault, g, g.hits[0]).find("브레이크 : OFF  /  상태 : 11"),
              std::string::npos);
}

TEST(RecordSearch, FirstRecordIsNeverAPairHitAndEmptyGridsCountZero) {
    auto one = Rows({R("100000", 90)});
    for (auto kind :
         {SearchKind::Distance, SearchKind::TimeSequence, SearchKind::SpeedJump,
          SearchKind::FrozenPosition, SearchKind::StandingMove, SearchKind::GpsFaultMove}) {
        EXPECT_TRUE(RunSearch(one, kind, {}).hits.empty()) << static_cast<int>(kind);
        SearchRun empty = RunSearch({}, kind, {});
        EXPECT_TRUE(empty.hits.empty());
        EXPECT_NE(SummaryText(empty).find(" 0회"), std::string::npos) << SummaryText(empty);
    }
    EXPECT_EQ(FormatThousands(1234567), "1,234,567");
    EXPECT_EQ(FormatThousands(-1000), "-1,000");
    EXPECT_EQ(FormatThousands(999), "999");
}

}  // namespace
}  // namespace ondavia
