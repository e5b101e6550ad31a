// Text and number services shared by every part of the system.
// Texts here are byte strings (cp949 on disk); functions that look at
// characters only ever inspect ASCII bytes, which never occur as the
// trail byte of a cp949 double-byte character where it matters ('#', ':').
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondavia {

// Blanks and control characters (bytes <= 0x20) removed at both ends.
std::string_view Trim(std::string_view text);

// True when the trimmed text reads as a 32-bit signed decimal integer.
bool IsIntegerText(std::string_view text);

std::string RepeatChar(int count, char c);
// The number prefixed with count pad characters, then cut to its last count characters.
std::string ZeroPad(long long number, int count, char pad);
std::string ReplaceChar(std::string_view text, char oldChar, char newChar);
std::string RemoveChar(std::string_view text, char c);
// Part before the first delimiter, trimmed (whole text trimmed when absent).
std::string TextBefore(std::string_view text, char delimiter);
// Part after the last delimiter, trimmed (whole text trimmed when absent).
std::string TextAfterLast(std::string_view text, char delimiter);
// Spreadsheet cell name such as "A1" or "IV"; row 0 gives the column alone.
std::string CellName(int column, int row);
// Byte sum of the text; a multiple of 256 gives 1. The low 8 bits are the lock key.
int NameChecksum(std::string_view text);
// First byte XOR every following byte, as two upper-case hex digits.
std::string XorChecksumHex(std::string_view text);

// "%.0n": a whole number with thousands separators ("1,234,567").
std::string FormatThousands(std::int64_t value);
// The same into buf, which holds at least kThousandsCapacity bytes; returns the length.
inline constexpr size_t kThousandsCapacity = 27;
size_t WriteThousands(std::int64_t value, char* buf);

// ASCII upper case of a cp949 text: bytes of double-byte characters are left alone.
std::string UpperCp949(std::string_view text);

// A UTF-8 text (a file name) made safe to print on one line of a terminal:
// control characters become "\t", "\n", "\r" or "\xHH", the C1 controls
// "\u0080" to "\u009f", and a backslash "\\", so no two texts print the same.
// Texts without these characters come back unchanged.
std::string EscapeControls(std::string_view text);

// Number readers with the rules the data files are written to. They run for
// every field of every record, so they are kept inline.
// Integer: leading blanks, optional sign, decimal digits, nothing after.
inline std::optional<std::int64_t> ReadInteger(std::string_view text) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p != end && static_cast<unsigned char>(*p) <= 0x20)
        ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    if (p == end || end - p > 18) return std::nullopt;
    std::int64_t value = 0;
    for (; p != end; ++p) {
        unsigned d = static_cast<unsigned>(*p - '0');
        if (d > 9) return std::nullopt;
        value = value * 10 + d;
    }
    return negative ? -value : value;
}

inline std::optional<std::int32_t> ReadInt32(std::string_view text) {
    auto v = ReadInteger(text);
    if (!v || *v < INT32_MIN || *v > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(*v);
}
// Hexadecimal digits only.
std::optional<std::int64_t> ReadHex(std::string_view text);
// Real: blanks around, optional sign, digits with an optional "." fraction and exponent.
std::optional<double> ReadRealSlow(std::string_view text);

// The usual record form "+01.50" is read directly: an integer mantissa
// divided by an exact power of ten rounds exactly as a full decimal read does.
inline std::optional<double> ReadReal(std::string_view text) {
    static constexpr double kPow10[] = {1,   10,  100,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = text.data();
    const char* end = p + text.size();
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    std::int64_t mantissa = 0;
    int digits = 0, fraction = 0;
    bool dot = false;
    for (; p != end; ++p) {
        unsigned d = static_cast<unsigned>(*p - '0');
        if (d <= 9) {
            mantissa = mantissa * 10 + d;
            ++digits;
            fraction += dot;
        } else if (*p == '.' && !dot) {
            dot = true;
        } else {
            return ReadRealSlow(text);
        }
    }
    if (digits == 0 || digits > 15) return ReadRealSlow(text);
    double value = static_cast<double>(mantissa) / kPow10[fraction];
    return negative ? -value : value;
}

}  // namespace ondavia
