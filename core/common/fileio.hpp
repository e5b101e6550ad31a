// Reading files without surprises, and writing output files safely. The
// system calls behind these live in fileio_posix.cpp and fileio_windows.cpp;
// nothing else in the core or the command-line tool touches them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace ondavia {

// File names travel through the program as byte strings: on POSIX systems the
// name's own bytes (usually UTF-8, cp949 on some disks), on Windows UTF-8.
// std::filesystem's narrow conversions on Windows use neither, so every name
// that becomes a path, or a path that becomes text, goes through these.
std::filesystem::path PathFromText(std::string_view text);
std::string PathToText(const std::filesystem::path& path);

// Whether this process may write the file, or create files in the folder.
bool IsWritable(const std::filesystem::path& path);

// Standard output and error pass bytes unchanged (no LF to CR LF on Windows).
void UseBinaryStandardStreams();
#ifdef _WIN32
// The command line as Windows gives it (UTF-16), as UTF-8 texts, without the
// program's name.
std::vector<std::string> ArgumentsFromWide(int argc, wchar_t** argv);
#endif

// A regular file opened for reading; closed with the object. Anything else
// (a folder, a pipe, a device) is never opened, so no read can block.
class InputFile {
  public:
    enum class Status {
        Open,
        Missing,     // no such file, or a folder on the way is missing
        NotRegular,  // a folder, pipe, device or socket
        Unreadable,  // exists, but opening or reading it failed
    };

    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    Status status() const { return status_; }
    bool isOpen() const { return status_ == Status::Open; }
    // The errno of the failure, 0 when there was none.
    int error() const { return error_; }
    // The size when it was opened.
    std::uintmax_t size() const { return size_; }

    // Reads up to n bytes from offset into buf, fewer only at the end of the
    // file; -1 on a read error (status becomes Unreadable).
    long long ReadAt(std::uintmax_t offset, char* buf, size_t n);
    // The first n bytes (fewer when the file is shorter); nullopt on a read error.
    std::optional<std::string> ReadFirst(size_t n);
    // Everything; nullopt on a read error or when it grows beyond maxBytes.
    std::optional<std::string> ReadAll(std::uintmax_t maxBytes);

  private:
    int fd_ = -1;
    Status status_ = Status::Missing;
    int error_ = 0;
    std::uintmax_t size_ = 0;
};

// The whole of a regular file; nullopt when it is not one, cannot be read, or
// is larger than maxBytes.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                         std::uintmax_t maxBytes = 64u << 20);

// The outcome of writing an output file; error is an errno value.
struct WriteResult {
    int error = 0;
    bool ok() const { return error == 0; }
    explicit operator bool() const { return ok(); }
    // The system's description of the error.
    std::string Describe() const;
};

// Writes an output file the user named. A regular file (or a new one) is
// written to an exclusive temporary file beside it, flushed to disk and
// renamed over it, keeping the old file's permissions; the old file stays
// untouched when anything fails. A symbolic link is followed and its target
// replaced. A path that exists and is not a regular file (a device such as
// /dev/null, a pipe) is written straight to. Every write, flush and close
// error is reported.
WriteResult WriteOutputFile(const std::filesystem::path& path, std::string_view bytes);

// The whole of a file, telling why not: error is the system's reason (no_such_file_or_directory
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
    bool ok() const { return fd_ >= 0 || handedOver_; }
    // For writers that need the file by name or descriptor.
    const std::filesystem::path& TemporaryPath() const { return temp_; }
    int Descriptor() const { return fd_; }
    const std::error_code& error() const { return error_; }

    bool Write(std::string_view bytes);
    // For a writer that opens the temporary file by name itself (a library):
    // lets go of this object's own handle where the system would otherwise
    // refuse the writer a second one (Windows). Write is not used after it;
    // Commit still flushes and renames the file, and a file not committed is
    // still removed.
    void HandOver();
    // Flushes to disk, sets the permissions and renames over the target.
    bool Commit();

  private:
    bool Fail(int err);
    void Discard();

    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
    bool handedOver_ = false;
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

// A large list reserved for a file's records is filled once, front to back:
// where the system offers it, large pages take one fault where small pages
// take 512. Pages are still only touched as records arrive, so a file's size
// claims no memory for records it turns out not to hold. A hint only.
void PrepareForFilling(void* data, size_t bytes);

}  // namespace ondavia
