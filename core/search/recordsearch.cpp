#include "recordsearch.hpp"

#include <cmath>
#include <cstdio>

#include "common/cp949.hpp"
#include "common/text.hpp"

namespace ondavia {

const char* const kSearchClosingQuestion =
    "원하는 자료를 검색하였습니다.  작업을 종료하겠습니까?     ";

namespace {

const char* const kCheckAgain = "틀린 부분의 확인을 계속 합니까?";
const char* const kCheckWrongAgain = "잘못된 부분의 확인을 계속 합니까?";

// Acceleration in whole hundredths of g; a garbled value never loads, so 0
// stands in for it.
std::int64_t Hundredths(double metresPerSecond2) {
    return GHundredths(metresPerSecond2).value_or(0);
}

std::string T(const GridRow& r) { return Cp949ToUtf8(r.TimeText()); }
std::string DT(const GridRow& r) { return Cp949ToUtf8(r.DateTimeText()); }
std::string Brake(const GridRow& r) { return r.brakeOn ? "ON" : "OFF"; }

// "00": at least two digits.
std::string TwoDigits(std::int64_t v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02lld", static_cast<long long>(v));
    return buf;
}

// "##0.00"
std::string Fixed2(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

// "%10.6F"
std::string Fixed6Width10(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%10.6f", v);
    return buf;
}

int ReferenceValue(std::string_view text) {
    auto v = ReadInt32(Trim(text));
    return v ? *v : 0;
}

bool PositionMoved(const GridRow& a, const GridRow& b) {
    return a.gpsX != b.gpsX || a.gpsY != b.gpsY || a.azimuth != b.azimuth;
}

struct Band {
    int low, high;
};
Band ReferenceBand(const SearchOptions& options) {
    int ref = ReferenceValue(options.reference);
    int tol = static_cast<int>(static_cast<std::int64_t>(ref) * 2 / 100);
    return {ref - tol, ref + tol};
}

}  // namespace

namespace {
// The six two-character fields, `step` bytes apart from the start of text.
DateTime ReadSixFields(std::string_view text, size_t step) {
    int parts[6];
    for (size_t k = 0; k < 6; ++k) {
        size_t pos = k * step;
        if (pos + 2 > text.size()) return 0;
        auto v = ReadInt32(text.substr(pos, 2));
        if (!v) return 0;
        parts[k] = *v;
    }
    return MakeDateTime(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
}
}  // namespace

DateTime ParseRecordDateTime(std::string_view text) { return ReadSixFields(text, 3); }

SearchRun RunSearch(const GridRows& rows, SearchKind kind, const SearchOptions& options) {
    SearchRun run{kind, options, {}, 0, 0, static_cast<std::int64_t>(rows.size())};
    const size_t n = rows.size();
    auto hit = [&run](size_t i, bool stepped = true) {
        run.hits.push_back({static_cast<std::uint32_t>(i), stepped});
    };
    switch (kind) {
        case SearchKind::Acceleration:
            for (size_t i = 0; i < n; ++i) {
                bool x = std::llabs(Hundredths(rows[i].gx)) >= 120;
                bool y = std::llabs(Hundredths(rows[i].gy)) >= 50;
                run.counter1 += x;
                run.counter2 += y;
                if (x || y) hit(i);
            }
            break;
        case SearchKind::DeviceStatus: {
            const int k = options.stateChoice;
            for (size_t i = 0; i < n; ++i) {
                const GridRow& r = rows[i];
                const int s = r.state;
                if (s == 0) continue;
                bool counted, stepped = true;
                switch (k) {
                    case 0:
                        counted = s == 11 || r.gpsX == 0 || r.gpsY == 0;
                        stepped = false;
                        break;
                    case 1:
                        counted = s == 12;
                        break;
                    case 2:
                        counted = s == 13;
                        break;
                    case 3:
                        counted = s == 21;
                        break;
                    case 4:
                        counted = s != 11;
                        break;
                    default:
                        counted = true;
                        stepped = false;
                }
                if (counted) {
                    ++run.counter1;
                    hit(i, stepped);
                }
            }
            break;
        }
        case SearchKind::Distance:
            for (size_t i = 1; i < n; ++i) {
                bool km = rows[i].km < rows[i - 1].km;
                bool tot = rows[i].totKm < rows[i - 1].totKm;
                run.counter1 += km;
                run.counter2 += tot;
                if (km || tot) hit(i);
            }
            break;
        case SearchKind::SpeedBand:
        case SearchKind::RpmBand: {
            const Band band = ReferenceBand(options);
            const bool rpm = kind == SearchKind::RpmBand;
            for (size_t i = 0; i < n; ++i) {
                int v = rpm ? rows[i].rpm : rows[i].speed;
                if (v < band.low || v > band.high) {
                    ++run.counter1;
                    hit(i);
                }
            }
            break;
        }
        case SearchKind::TimeSequence: {
            if (n == 0) break;
            // The stamp holds the same two-character fields as the date-and-time
            // text, without the separators; status codes compared as numbers
            // are the "00" texts compared.
            auto stampTime = [&rows](size_t i) {
                return ReadSixFields(std::string_view(rows[i].stamp, 12), 2);
            };
            DateTime prev = stampTime(0);
            for (size_t i = 1; i < n; ++i) {
                DateTime cur = stampTime(i);
                DateTime prev1 = SubtractSeconds(1, cur);
                const int s = rows[i].state, sp = rows[i - 1].state;
                bool gap = prev != prev1 && prev != cur;
                bool duplicate = prev == cur && (sp == s || sp == 0 || s == 0);
                if (gap || duplicate) {
                    ++run.counter1;
                    hit(i);
                }
                prev = cur;
            }
            break;
        }
        case SearchKind::SpeedJump:
            for (size_t i = 1; i < n; ++i) {
                if (std::llabs(static_cast<std::int64_t>(rows[i].speed) - rows[i - 1].speed) > 15) {
                    ++run.counter1;
                    hit(i);
                }
            }
            break;
        case SearchKind::FrozenPosition:
            for (size_t i = 1; i < n; ++i) {
                const GridRow &a = rows[i - 1], &b = rows[i];
                if (b.speed >= 5 && a.speed >= 5 && b.state != 11 && a.state != 11 &&
                    b.gpsX == a.gpsX && b.gpsY == a.gpsY) {
                    ++run.counter1;
                    hit(i);
                }
            }
            break;
        case SearchKind::StandingMove:
            for (size_t i = 1; i < n; ++i) {
                const GridRow &a = rows[i - 1], &b = rows[i];
                if (b.speed < 5 && a.speed < 5 && PositionMoved(a, b)) {
                    ++run.counter1;
                    hit(i);
                }
            }
            break;
        case SearchKind::GpsFaultMove:
            for (size_t i = 1; i < n; ++i) {
                const GridRow &a = rows[i - 1], &b = rows[i];
                if (b.state == 11 && a.state == 0 && PositionMoved(a, b)) {
                    ++run.counter1;
                    hit(i);
                }
            }
            break;
    }
    return run;
}

std::string HitQuestion(const GridRows& rows, const SearchRun& run, const SearchHit& h) {
    const GridRow& r = rows[h.record];
    const GridRow& p = h.record > 0 ? rows[h.record - 1] : r;
    const std::string crcr = "\r\r";
    auto D = [](const GridRow& x) {
        return T(x) + "  /  거리 : " + FormatThousands(x.km) +
               "Km  /  누적거리 : " + FormatThousands(x.totKm) + "Km";
    };
    auto G = [](const GridRow& x) {
        return T(x) + "  /  속도 : " + FormatThousands(x.speed) +
               " km/h  /  좌표 : " + Fixed6Width10(x.gpsX) + ", " + Fixed6Width10(x.gpsY);
    };
    auto A = [](const GridRow& x) {
        return T(x) + "  /  속도 : " + FormatThousands(x.speed) +
               " km/h  /  브레이크 : " + Brake(x);
    };
    auto B = [](const GridRow& x) {
        return T(x) + "  /  속도 : " + FormatThousands(x.speed) +
               " km/h  /  브레이크 : " + Brake(x) + "  /  상태 : " + ZeroPad(x.state, 2, '0');
    };
    auto C = [](const GridRow& x) {
        return "               좌표 : " + Fixed6Width10(x.gpsX) + ",  " + Fixed6Width10(x.gpsY) +
               ",  " + FormatThousands(x.azimuth);
    };
    switch (run.kind) {
        case SearchKind::Acceleration:
            return "원하는 조건 의 가속도 내역을 찾았습니다.  \r\r[ X축 : ±1.2G 이상   Y축 : ±0.5G "
                   "이상]  "
                   "\r\r\r주행 시간  :  " +
                   T(r) + "       X축 : " + Fixed2(static_cast<double>(Hundredths(r.gx)) / 100.0) +
                   "       Y축 : " + Fixed2(static_cast<double>(Hundredths(r.gy)) / 100.0) + "   " +
                   crcr + "확인을 계속 합니까?";
        case SearchKind::DeviceStatus:
            return "주행시간  :  " + DT(r) + "     /     상태정보  :  " + TwoDigits(r.state) +
                   crcr + kCheckAgain;
        case SearchKind::Distance:
            return D(p) + "   " + crcr + D(r) + "   " + crcr + kCheckAgain;
        case SearchKind::SpeedBand:
        case SearchKind::RpmBand:
            return T(r) + "   /   속도 :  " + FormatThousands(r.speed) +
                   " km/h   /   RPM :  " + FormatThousands(r.rpm) + " RPM   " + crcr + kCheckAgain;
        case SearchKind::TimeSequence:
            return "주행시간  :  " + DT(p) + "     /     상태정보  :  " + TwoDigits(p.state) +
                   crcr + "주행시간  :  " + DT(r) +
                   "     /     상태정보  :  " + TwoDigits(r.state) + crcr + kCheckAgain;
        case SearchKind::SpeedJump: {
            std::int64_t d = std::llabs(static_cast<std::int64_t>(r.speed) - p.speed);
            return T(p) + "  /  속도 :  " + FormatThousands(p.speed) + " km/h   " + crcr + T(r) +
                   "  /  속도 :  " + FormatThousands(r.speed) +
                   " km/h  / 속도차 :  " + FormatThousands(d) + " km/h   " + crcr + kCheckAgain;
        }
        case SearchKind::FrozenPosition:
            return G(p) + "   " + crcr + G(r) + "   " + crcr + kCheckWrongAgain;
        case SearchKind::StandingMove:
            return A(p) + crcr + C(p) + "   " + crcr + A(r) + crcr + C(r) + "   " + crcr +
                   kCheckWrongAgain;
        case SearchKind::GpsFaultMove:
            return B(p) + crcr + C(p) + "   " + crcr + B(r) + crcr + C(r) + "   " + crcr +
                   kCheckWrongAgain;
    }
    return {};
}

std::string SummaryText(const SearchRun& run) {
    const std::string c1 = FormatThousands(run.counter1);
    switch (run.kind) {
        case SearchKind::Acceleration:
            return "X축 횟수 : " + c1 + "회          Y축 횟수 : " + FormatThousands(run.counter2) +
                   "회";
        case SearchKind::DeviceStatus: {
            const char* label;
            switch (run.options.stateChoice) {
                case 0:
                    label = "G.P.S 장치 이상 횟수";
                    break;
                case 1:
                    label = "속도 센서 이상 횟수";
                    break;
                case 2:
                    label = "RPM 센서 이상 횟수";
                    break;
                case 3:
                    label = "센서 입력부 장치 이상 횟수";
                    break;
                default:
                    label = "장치 이상 횟수";
            }
            return std::string(label) + " / 전체 횟수  : " + c1 + "회 / " +
                   FormatThousands(run.records) + "회";
        }
        case SearchKind::Distance:
            return "거리 오류 : " + c1 + "회  / 누적거리 오류 : " + FormatThousands(run.counter2) +
                   "회";
        case SearchKind::SpeedBand:
            return "속도 오류  :  " + c1 + "회";
        case SearchKind::RpmBand:
            return "RPM 오류  :  " + c1 + "회";
        case SearchKind::TimeSequence:
            return "오류 횟수  :  " + c1 + "회";
        case SearchKind::SpeedJump:
            return "속도 이상 :  " + c1 + "회";
        case SearchKind::FrozenPosition:
            return "GPS 좌표 중복 :  " + c1 + "회";
        case SearchKind::StandingMove:
            return "GPS 위치변경검사 :  " + c1 + "회";
        case SearchKind::GpsFaultMove:
            return "GPS 위치오류 :  " + c1 + "회";
    }
    return {};
}

SearchRun SearchAcceleration(const GridRows& rows) {
    return RunSearch(rows, SearchKind::Acceleration, {});
}
SearchRun SearchDeviceStatus(const GridRows& rows, int stateChoice) {
    return RunSearch(rows, SearchKind::DeviceStatus, {stateChoice, {}});
}
SearchRun SearchDistance(const GridRows& rows) { return RunSearch(rows, SearchKind::Distance, {}); }
SearchRun SearchReferenceBand(const GridRows& rows, bool engineSpeed, std::string_view reference) {
    return RunSearch(rows, engineSpeed ? SearchKind::RpmBand : SearchKind::SpeedBand,
                     {-1, std::string(reference)});
}
SearchRun SearchTimeSequence(const GridRows& rows) {
    return RunSearch(rows, SearchKind::TimeSequence, {});
}
SearchRun SearchSpeedJump(const GridRows& rows) {
    return RunSearch(rows, SearchKind::SpeedJump, {});
}
SearchRun SearchFrozenPosition(const GridRows& rows) {
    return RunSearch(rows, SearchKind::FrozenPosition, {});
}
SearchRun SearchStandingMove(const GridRows& rows) {
    return RunSearch(rows, SearchKind::StandingMove, {});
}
SearchRun SearchGpsFaultMove(const GridRows& rows) {
    return RunSearch(rows, SearchKind::GpsFaultMove, {});
}

}  // namespace ondavia
