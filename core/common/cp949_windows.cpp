// cp949 conversion through the Windows code page 949 tables, held to what
// iconv does on the other systems: user-defined (private use) characters
// have no cp949 form, and nothing is replaced by a look-alike.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <climits>

#include "cp949_platform.hpp"

namespace ondavia::detail {

namespace {

constexpr UINT kCp949 = 949;

// Characters the Windows table has and iconv's has not: the private use
// area (user-defined codes) and the C1 controls (the single byte 0x80).
bool IsPrivateUse(wchar_t c) { return (c >= 0xE000 && c <= 0xF8FF) || (c >= 0x80 && c <= 0x9F); }

// The wide characters of cp949 bytes, or false when any sequence is invalid
// or stands for a private use character.
bool DecodeStrict(std::string_view bytes, std::wstring& wide) {
    const int size = static_cast<int>(bytes.size());
    int n = ::MultiByteToWideChar(kCp949, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (n <= 0) return false;
    wide.assign(static_cast<size_t>(n), L'\0');
    if (::MultiByteToWideChar(kCp949, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), n) !=
        n)
        return false;
    return std::none_of(wide.begin(), wide.end(), IsPrivateUse);
}

void AppendUtf8(std::wstring_view wide, std::string& out) {
    if (wide.empty()) return;
    const int size = static_cast<int>(wide.size());
    int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(n));
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data() + at, n, nullptr, nullptr);
}

// The length of the valid character at the start of bytes: 1 for ASCII, 2
// for a lead and trail byte pair the table knows; 0 when there is none.
size_t ValidCharacterAt(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80) return 1;
    if (lead == 0x80 || lead == 0xFF || bytes.size() < 2) return 0;
    std::wstring wide;
    return DecodeStrict(bytes.substr(0, 2), wide) && wide.size() == 1 ? 2 : 0;
}

}  // namespace

size_t DecodeCp949Prefix(std::string_view bytes, std::string& out) {
    // Fields are short, so a whole string is tried first; only a string with
    // a bad byte is walked a character at a time to find where it stops.
    bytes = bytes.substr(0, std::min<size_t>(bytes.size(), INT_MAX));
    std::wstring wide;
    size_t valid = bytes.size();
    if (bytes.empty() || !DecodeStrict(bytes, wide)) {
        valid = 0;
        while (valid < bytes.size()) {
            const size_t n = ValidCharacterAt(bytes.substr(valid));
            if (n == 0) break;
            valid += n;
        }
        if (valid == 0 || !DecodeStrict(bytes.substr(0, valid), wide)) return 0;
    }
    AppendUtf8(wide, out);
    return valid;
}

std::optional<std::string> EncodeCp949(std::string_view utf8) {
    if (utf8.size() > INT_MAX) return std::nullopt;
    const int size = static_cast<int>(utf8.size());
    int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), n);
    if (std::any_of(wide.begin(), wide.end(), IsPrivateUse)) return std::nullopt;
    BOOL usedDefault = FALSE;
    int m = ::WideCharToMultiByte(kCp949, WC_NO_BEST_FIT_CHARS, wide.data(), n, nullptr, 0, nullptr,
                                  &usedDefault);
    if (m <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<size_t>(m), '\0');
    ::WideCharToMultiByte(kCp949, WC_NO_BEST_FIT_CHARS, wide.data(), n, out.data(), m, nullptr,
                          &usedDefault);
    if (usedDefault) return std::nullopt;
    return out;
}

}  // namespace ondavia::detail
