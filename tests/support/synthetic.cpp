#include "support/synthetic.hpp"

#include <cstdio>

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

}  // namespace ondavia::test
