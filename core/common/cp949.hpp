// Conversion between the cp949 bytes of data files, settings and logs and the
// UTF-8 text the rest of the program shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ondavia {

// Bytes that are not valid cp949 each become U+FFFD; never fails.
std::string Cp949ToUtf8(std::string_view bytes);
// nullopt when the text holds invalid UTF-8 or a character cp949 lacks.
std::optional<std::string> Utf8ToCp949(std::string_view text);
bool IsValidUtf8(std::string_view text);

}  // namespace ondavia
