// Text and number services shared by every part of the system.
// Texts here are byte strings (cp949 on disk); functions that look at
// characters only ever inspect ASCII bytes, which never occur as the
// trail byte of a cp949 double-byte character where it matters ('#', ':').
#pragma once

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

// ASCII upper case of a cp949 text: bytes of double-byte characters are left alone.
std::string UpperCp949(std::string_view text);

// Number readers with the rules the data files are written to.
// Integer: leading blanks, optional sign, decimal digits, nothing after.
std::optional<std::int64_t> ReadInteger(std::string_view text);
std::optional<std::int32_t> ReadInt32(std::string_view text);
// Hexadecimal digits only.
std::optional<std::int64_t> ReadHex(std::string_view text);
// Real: blanks around, optional sign, digits with an optional "." fraction and exponent.
std::optional<double> ReadReal(std::string_view text);

}  // namespace ondavia
