#include "support/builders.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "common/fileio.hpp"
#include "data/lockedform.hpp"

namespace ondavia::test {

namespace {
std::string Fit(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}
}  // namespace

std::string MakeHeader(const HeaderFields& f) {
    std::string h = Fit(f.model, 20) + Fit(f.carBody, 17) + Fit(f.carKind, 2) + Fit(f.carNo, 12) +
                    Fit(f.businessNo, 10) + Fit(f.driverNo, 18);
    EXPECT_EQ(h.size(), 79u);
    return h;
}

std::string MakeRecord(const RecordFields& f) {
    std::string r = Fit(f.km, 4) + Fit(f.totKm, 7) + Fit(f.date, 6) + Fit(f.time, 6) +
                    Fit(f.hundredths, 2) + Fit(f.speed, 3) + Fit(f.rpm, 4) + Fit(f.brake, 1) +
                    Fit(f.lon, 9) + Fit(f.lat, 9) + Fit(f.azimuth, 3) + Fit(f.gx, 6) +
                    Fit(f.gy, 6) + Fit(f.state, 2);
    EXPECT_EQ(r.size(), 68u);
    if (f.extended)
        r += " " + Fit(f.gear, 2) + Fit(f.fuel, 6) + Fit(f.autonomous, 2) + Fit(f.accel, 4) +
             Fit(f.steer, 4);
    return r;
}

std::string ClockText(int s) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d", s / 3600 % 100, s / 60 % 60, s % 60);
    return buf;
}

std::string TextFile(const std::string& header, std::initializer_list<std::string> records) {
    return TextFile(header, std::vector<std::string>(records));
}

std::string TextFile(const std::string& header, const std::vector<std::string>& records) {
    std::string out = header + "\r\n";
    for (const auto& r : records)
        out += r + "\r\n";
    return out;
}

std::string PackedFile(const std::string& header, std::initializer_list<std::string> records) {
    std::string out = header;
    for (const auto& r : records)
        out += r;
    return out;
}

std::string Xor(std::string bytes, unsigned char key) { return Scrambled(std::move(bytes), key); }

TempDir::TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("ondavia-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TempDir::Write(const std::string& name, std::string_view bytes) const {
    std::filesystem::path p = path_ / PathFromText(name);
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
}

}  // namespace ondavia::test
