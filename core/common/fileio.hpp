// Whole-file reads and safe replacement of files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ondavia {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);
// Writes to a temporary file beside the target, flushes it, then renames it
// over the target. The target is untouched when anything fails.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace ondavia
