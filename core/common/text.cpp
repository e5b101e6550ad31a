#include "text.hpp"

#include <charconv>
#include <cstdio>
#include <limits>

namespace ondavia {

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsIntegerText(std::string_view text) { return ReadInt32(Trim(text)).has_value(); }

std::string RepeatChar(int count, char c) {
    return count > 0 ? std::string(static_cast<size_t>(count), c) : std::string();
}

std::string ZeroPad(long long number, int count, char pad) {
    std::string s = RepeatChar(count, pad) + std::to_string(number);
    if (count <= 0) return {};
    return s.substr(s.size() - static_cast<size_t>(count));
}

std::string ReplaceChar(std::string_view text, char oldChar, char newChar) {
    std::string s(text);
    for (char& c : s)
        if (c == oldChar) c = newChar;
    return s;
}

std::string RemoveChar(std::string_view text, char c) {
    std::string s;
    s.reserve(text.size());
    for (char ch : text)
        if (ch != c) s.push_back(ch);
    return s;
}

std::string TextBefore(std::string_view text, char delimiter) {
    size_t p = text.find(delimiter);
    return std::string(Trim(p == std::string_view::npos ? text : text.substr(0, p)));
}

std::string TextAfterLast(std::string_view text, char delimiter) {
    size_t p = text.rfind(delimiter);
    return std::string(Trim(p == std::string_view::npos ? text : text.substr(p + 1)));
}

std::string CellName(int column, int row) {
    std::string name;
    if (column <= 0) {
        name = "A";
    } else if (column >= 257) {
        name = "IV";
    } else if (column <= 26) {
        name.push_back(static_cast<char>('A' + column - 1));
    } else {
        int first = column / 26;
        int second = column % 26;
        if (second == 0) {
            first -= 1;
            second = 26;
        }
        name.push_back(static_cast<char>('A' + first - 1));
        name.push_back(static_cast<char>('A' + second - 1));
    }
    if (row != 0) name += std::to_string(row);
    return name;
}

int NameChecksum(std::string_view text) {
    int sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    return sum % 256 == 0 ? 1 : sum;
}

std::string XorChecksumHex(std::string_view text) {
    unsigned value = 0;
    if (!text.empty()) {
        value = static_cast<unsigned char>(text[0]);
        for (size_t i = 1; i < text.size(); ++i)
            value ^= static_cast<unsigned char>(text[i]);
    }
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", value & 0xFFu);
    return buf;
}

size_t WriteThousands(std::int64_t value, char* buf) {
    // The magnitude as unsigned, so the most negative value has one too.
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char digits[20];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    char* out = buf;
    if (value < 0) *out++ = '-';
    for (size_t i = count; i-- > 0;) {
        *out++ = digits[i];
        if (i != 0 && i % 3 == 0) *out++ = ',';
    }
    return static_cast<size_t>(out - buf);
}

std::string FormatThousands(std::int64_t value) {
    char buf[kThousandsCapacity];
    return std::string(buf, WriteThousands(value, buf));
}

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        char buf[8];
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        } else if (c == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            // U+0080..U+009F: terminals take some of these as commands.
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(text[++i]));
            out += buf;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::string UpperCp949(std::string_view text) {
    std::string s(text);
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < s.size()) {
            ++i;  // double-byte character: its trail byte may look like a letter
        } else if (c >= 'a' && c <= 'z') {
            s[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return s;
}

std::optional<std::int64_t> ReadHex(std::string_view text) {
    if (text.empty() || text.size() > 15) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        int d;
        if (IsDigit(c))
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + d;
    }
    return value;
}

std::optional<double> ReadRealSlow(std::string_view text) {
    text = Trim(text);
    // Validate the shape first: from_chars alone would also take "inf" and "nan".
    size_t i = 0;
    bool plus = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        plus = text[i] == '+';
        ++i;
    }
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < text.size() && IsDigit(text[i]))
            ++i, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    std::string_view body = plus ? text.substr(1) : text;
    double value = 0;
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (ec != std::errc() || ptr != body.data() + body.size()) return std::nullopt;
    return value;
}

}  // namespace ondavia
