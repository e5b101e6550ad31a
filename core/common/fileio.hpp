// Whole-file reads and safe replacement of files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ondavia {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);
// Everything left to read from an open descriptor; nullopt on a read error.
// sizeHint sizes the first buffer (the file may still grow or shrink).
std::optional<std::string> ReadAllFrom(int fd, size_t sizeHint);

// A file written under an exclusive temporary name in the target's folder
// and renamed over the target only when complete, so that a failed or
// interrupted write never leaves a short file where a good one stood. The
// temporary is removed unless Commit succeeds.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary (never an existing file). False when the folder
    // does not take it.
    bool Create();
    // False when not every byte reached the file.
    bool Write(std::string_view bytes);
    // Flushes, closes and renames into place; false leaves the target as it was.
    bool Commit();
    // Drops the temporary; the target is untouched.
    void Abandon();

  private:
    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
};

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
