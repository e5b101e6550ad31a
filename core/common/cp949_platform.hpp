// The system's cp949 converter, one implementation per platform
// (cp949_iconv.cpp, cp949_windows.cpp), behind the functions of cp949.hpp.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ondavia::detail {

// Appends the UTF-8 of the longest run of whole, valid cp949 characters at
// the start of bytes; returns the number of bytes it used. It stops before a
// byte that does not start a valid character, and before a character cut off
// by the end.
size_t DecodeCp949Prefix(std::string_view bytes, std::string& out);

// The cp949 bytes of valid UTF-8 text; nullopt when a character has none.
std::optional<std::string> EncodeCp949(std::string_view utf8);

}  // namespace ondavia::detail
