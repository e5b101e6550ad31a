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

// For writers that need a file name of their own (libraries that open the
// file themselves): an empty file of a fresh name beside path, created
// exclusively, so nothing else can stand in its place. nullopt when the
// folder cannot be written.
std::optional<std::filesystem::path> CreateTempFileBeside(const std::filesystem::path& path);
// Flushes the finished temporary file to disk and renames it over path; the
// temporary file is removed when that fails.
bool CommitTempFile(const std::filesystem::path& tmp, const std::filesystem::path& path);

}  // namespace ondavia
