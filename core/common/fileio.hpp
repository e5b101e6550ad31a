// Whole-file reads and safe replacement of files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace ondavia {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);
// Everything left to read from an open descriptor; nullopt on a read error.
// sizeHint sizes the first buffer (the file may still grow or shrink).
std::optional<std::string> ReadAllFrom(int fd, size_t sizeHint);
// The same, telling why not: error is the system's reason (no_such_file_or_directory
// for a missing file, is_a_directory for a folder).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::error_code& error);

// A new file beside a target, created exclusively under an unpredictable name
// (so a link planted in a shared folder is never opened), that Commit renames
// over the target. The target is untouched until then; a file not committed
// is removed. A replaced file keeps its permissions; a new one gets the
// usual ones (0666 less the umask). A target that is a symbolic link is
// replaced by the file, not followed.
class PendingFile {
  public:
    explicit PendingFile(std::filesystem::path target);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // False when the temporary file could not be made; error() says why.
    bool ok() const { return fd_ >= 0; }
    // For writers that need the file by name or descriptor.
    const std::filesystem::path& TemporaryPath() const { return temp_; }
    int Descriptor() const { return fd_; }
    const std::error_code& error() const { return error_; }

    bool Write(std::string_view bytes);
    // Flushes to disk, sets the permissions and renames over the target.
    bool Commit();

  private:
    bool Fail(int err);
    void Discard();

    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
    std::error_code error_;
};

// Writes through a PendingFile. The target is untouched when anything fails;
// reason (when given) receives the system's reason.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           std::string* reason = nullptr);

// A folder under parent that only this user can enter, for files that would
// otherwise lie in a shared temporary folder: parent/name, made with mode
// 0700, or taken when it already is a real folder (not a link) of this user
// closed to others. When that name is held by anything else, a fresh folder
// parent/name-XXXXXX is made. nullopt, with the reason, when neither can be.
std::optional<std::filesystem::path> PrivateFolder(const std::filesystem::path& parent,
                                                   const std::string& name, std::error_code& error);

}  // namespace ondavia
