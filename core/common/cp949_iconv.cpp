// cp949 conversion through iconv (glibc).
#include <iconv.h>

#include <cerrno>

#include "cp949_platform.hpp"

namespace ondavia::detail {

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

}  // namespace

size_t DecodeCp949Prefix(std::string_view bytes, std::string& out) {
    Converter conv("UTF-8", "CP949");
    return conv.ok() ? conv.Run(bytes, out) : 0;
}

std::optional<std::string> EncodeCp949(std::string_view utf8) {
    Converter conv("CP949", "UTF-8");
    if (!conv.ok()) return std::nullopt;
    std::string out;
    if (conv.Run(utf8, out) != utf8.size()) return std::nullopt;
    return out;
}

}  // namespace ondavia::detail
