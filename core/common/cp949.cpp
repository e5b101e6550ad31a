#include "cp949.hpp"

#include <iconv.h>

#include <cerrno>

namespace ondavia {

namespace {

// iconv_open's failure value.
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)

// One conversion descriptor for one conversion; iconv state is not shared.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != kNoConverter) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != kNoConverter; }

    // Converts as much as it can; returns the number of input bytes consumed.
    size_t Run(std::string_view in, std::string& out) {
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char buf[4096];
        while (inLeft > 0) {
            char* outPtr = buf;
            size_t outLeft = sizeof buf;
            size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buf, static_cast<size_t>(outPtr - buf));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) break;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return in.size() - inLeft;
    }

  private:
    iconv_t cd_;
};

bool IsAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

std::string Cp949ToUtf8(std::string_view bytes) {
    if (IsAscii(bytes)) return std::string(bytes);
    Converter conv("UTF-8", "CP949");
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    while (!bytes.empty()) {
        size_t used = conv.ok() ? conv.Run(bytes, out) : 0;
        bytes.remove_prefix(used);
        if (!bytes.empty()) {
            out += "\xEF\xBF\xBD";  // U+FFFD for the byte that does not convert
            bytes.remove_prefix(1);
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCp949(std::string_view text) {
    if (IsAscii(text)) return std::string(text);
    Converter conv("CP949", "UTF-8");
    if (!conv.ok()) return std::nullopt;
    std::string out;
    if (conv.Run(text, out) != text.size()) return std::nullopt;
    return out;
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
