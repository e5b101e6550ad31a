#include "cp949.hpp"

#include "cp949_platform.hpp"

namespace ondavia {

namespace {

bool IsAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

std::string Cp949ToUtf8(std::string_view bytes) {
    if (IsAscii(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    while (!bytes.empty()) {
        bytes.remove_prefix(detail::DecodeCp949Prefix(bytes, out));
        if (!bytes.empty()) {
            out += "\xEF\xBF\xBD";  // U+FFFD for the byte that does not convert
            bytes.remove_prefix(1);
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCp949(std::string_view text) {
    if (IsAscii(text)) return std::string(text);
    if (!IsValidUtf8(text)) return std::nullopt;
    return detail::EncodeCp949(text);
}

bool IsValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || (extra == 1 && c < 0xC2)) return false;
        for (int k = 1; k <= extra; ++k) {
            if (i + static_cast<size_t>(k) >= s.size()) return false;
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

}  // namespace ondavia
