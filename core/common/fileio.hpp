// Reading files without surprises, and writing output files safely.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ondavia {

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

// The same, true on success; for callers that only need to know.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace ondavia
