#include "support/synthetic.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/datetime.hpp"

namespace ondavia::test {

std::string SyntheticDayFile(int records, bool hundredths) {
    std::string header =
        "DTG#ON-T100         KMHEM41APXA12345621#12ABC3456  1234567890#D0000001         ";
    std::string out = header + "\r\n";
    out.reserve(out.size() + static_cast<size_t>(records) * 70);
    char line[96];
    for (int i = 0; i < records; ++i) {
        const int centis = hundredths ? i : i * 100;
        const int secs = centis / 100;
        // A minute standing after every two minutes of driving.
        const int speed = (secs / 60) % 3 == 0 ? secs % 4 : 30 + (secs * 7) % 90;
        std::snprintf(line, sizeof line,
                      "%04d%07d261210%02d%02d%02d%02d%03d%04d%d%09d%09d%03d%+06.2f%+06.2f%02d\r\n",
                      speed / 4 % 10000, (100000 + secs / 4) % 10000000, secs / 3600 % 24,
                      secs / 60 % 60, secs % 60, centis % 100, speed, 800 + speed * 20,
                      speed < 10 ? 1 : 0, 126900000 + secs % 100000, 37500000 + secs % 100000,
                      secs % 360, (secs % 41 - 20) * 0.6, (secs % 13 - 6) * 0.8,
                      secs % 500 == 0 ? 11 : 0);
        out += line;
    }
    return out;
}

TDTG_CLASS SyntheticDayTable() {
    const DateTime day = ComposeDateTime(*EncodeDate(2026, 12, 10), 0);
    TDTG_CLASS t;
    t.Reserve(86'400);
    int km = 0;
    for (int s = 0; s < 86'400; ++s) {
        const double h = s / 3600.0;
        const bool driving = h > 5.5 && h < 22.0 && std::fmod(h, 3.0) < 2.4;
        int speed = 0;
        if (driving)
            speed = static_cast<int>(70 + 45 * std::sin(s / 900.0) + 10 * std::sin(s / 37.0));
        speed = std::max(0, speed);
        const DateTime at = AddSeconds(s, day);
        TDTG_RECORD r;
        r.InfoDateTime.Assign(FormatDateTime("yy-mm-dd hh:nn:ss", at));
        r.InfoTime.Assign(FormatDateTime("hh:nn:ss", at));
        r.Speed = static_cast<std::uint16_t>(speed);
        r.RPM = static_cast<std::uint16_t>(driving ? 700 + speed * 22 : 0);
        r.Brake = driving && std::sin(s / 53.0) > 0.93 ? 1 : 0;
        r.Engine = driving || (h > 5.3 && h < 22.2) ? 1.0 : 0.2;
        if (driving && s % std::max(1, 3600 / std::max(speed, 1)) == 0) ++km;
        r.Km = km;
        r.Gx = driving ? 0.4 * std::sin(s / 21.0) + (r.Brake ? -0.6 : 0.0) : 0.0;
        r.Gy = driving ? 0.35 * std::sin(s / 47.0) + (s % 4000 == 0 ? 2.0 : 0.0) : 0.0;
        t.Add(r);
    }
    return t;
}

}  // namespace ondavia::test
