// Builders for small data files used as test fixtures.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ondavia::test {

struct HeaderFields {
    std::string model = "DTG#ON-T100";
    std::string carBody = "KMHEM41APXA123456";
    std::string carKind = "21";
    std::string carNo = "#12ABC3456";  // ASCII keeps byte widths obvious
    std::string businessNo = "1234567890";
    std::string driverNo = "#D0000001";
};
// Exactly 79 bytes; fields are padded with blanks or cut to their widths.
std::string MakeHeader(const HeaderFields& f = {});

struct RecordFields {
    std::string km = "0010";
    std::string totKm = "0012345";
    std::string date = "261210";  // yymmdd
    std::string time = "100000";  // hhnnss
    std::string hundredths = "00";
    std::string speed = "050";
    std::string rpm = "1500";
    std::string brake = "0";
    std::string lon = "126978012";
    std::string lat = "037566535";
    std::string azimuth = "090";
    std::string gx = "+01.50";
    std::string gy = "-00.20";
    std::string state = "00";
    // Extended part (positions 69-87), used when extended is true.
    bool extended = false;
    std::string gear = "D3";
    std::string fuel = "00000A";
    std::string autonomous = "00";
    std::string accel = "0035";
    std::string steer = "+012";
};
// 68 bytes, or 87 when extended.
std::string MakeRecord(const RecordFields& f = {});
// "hhnnss" for a number of seconds after midnight.
std::string ClockText(int secondsOfDay);

// Whole files in each layout.
std::string TextFile(const std::string& header, std::initializer_list<std::string> records);
std::string TextFile(const std::string& header, const std::vector<std::string>& records);
std::string PackedFile(const std::string& header, std::initializer_list<std::string> records);
std::string Xor(std::string bytes, unsigned char key);

// A fresh folder removed with everything in it when the test ends.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path Write(const std::string& name, std::string_view bytes) const;

  private:
    std::filesystem::path path_;
};

}  // namespace ondavia::test
