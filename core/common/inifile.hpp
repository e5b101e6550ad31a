// INI files with the semantics of the desktop's classic profile functions:
// sections and keys matched without regard to case, values trimmed and
// unquoted, the first match winning, one key written at a time with every
// other line of the file kept as it was. Texts are bytes (cp949 on disk).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ondavia {

class IniText {
  public:
    IniText() = default;
    explicit IniText(std::string bytes) : bytes_(std::move(bytes)) {}

    const std::string& Bytes() const { return bytes_; }

    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // Decimal (or "0x" hexadecimal) integer; the default when missing or unreadable.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    void Write(std::string_view section, std::string_view key, std::string_view value);

  private:
    std::string bytes_;
};

// A missing or unreadable file reads as empty.
IniText LoadIniFile(const std::filesystem::path& path);
// The file a write starts from: empty when missing; nullopt, with the reason,
// when it exists but cannot be read.
std::optional<IniText> LoadIniFileForUpdate(const std::filesystem::path& path,
                                            std::string* reason = nullptr);
// Replaces the file through a temporary in the same folder, so a failed write
// never leaves a half-written file in place. False, with the reason, when the
// folder is not writable or when the file exists but cannot be read (writing
// then would drop the keys it holds).
bool WriteIniValue(const std::filesystem::path& path, std::string_view section,
                   std::string_view key, std::string_view value, std::string* reason = nullptr);

}  // namespace ondavia
