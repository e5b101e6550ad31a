#include "fileio.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

namespace ondavia {

// ---- reading ------------------------------------------------------------------

InputFile::InputFile(const std::filesystem::path& path) {
    struct stat st {};
    // Looked at before opening: opening a pipe or a device may block or act.
    if (::stat(path.c_str(), &st) != 0) {
        error_ = errno;
        status_ = error_ == ENOENT || error_ == ENOTDIR ? Status::Missing : Status::Unreadable;
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        status_ = Status::NotRegular;
        return;
    }
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd_ < 0) {
        error_ = errno;
        status_ = error_ == ENOENT ? Status::Missing : Status::Unreadable;
        return;
    }
    // The name may have been pointed elsewhere in between.
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        error_ = 0;
        status_ = Status::NotRegular;
        ::close(fd_);
        fd_ = -1;
        return;
    }
    size_ = static_cast<std::uintmax_t>(st.st_size);
    status_ = Status::Open;
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

long long InputFile::ReadAt(std::uintmax_t offset, char* buf, size_t n) {
    if (fd_ < 0) return -1;
    size_t done = 0;
    while (done < n) {
        ssize_t got = ::pread(fd_, buf + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            status_ = Status::Unreadable;
            return -1;
        }
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return static_cast<long long>(done);
}

std::optional<std::string> InputFile::ReadFirst(size_t n) {
    std::string bytes(n, '\0');
    long long got = ReadAt(0, bytes.data(), n);
    if (got < 0) return std::nullopt;
    bytes.resize(static_cast<size_t>(got));
    return bytes;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                         std::uintmax_t maxBytes) {
    InputFile file(path);
    if (!file.isOpen() || file.size() > maxBytes) return std::nullopt;
    // The size is only a hint: the file may grow or shrink while it is read.
    std::string data;
    size_t used = 0;
    data.resize(static_cast<size_t>(file.size()) + 1);
    for (;;) {
        if (used == data.size()) {
            if (data.size() > maxBytes) return std::nullopt;
            data.resize(data.size() * 2);
        }
        long long n = file.ReadAt(used, data.data() + used, data.size() - used);
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        used += static_cast<size_t>(n);
    }
    if (used > maxBytes) return std::nullopt;
    data.resize(used);
    return data;
}

// ---- writing ------------------------------------------------------------------

std::string WriteResult::Describe() const { return std::generic_category().message(error); }

namespace {

int WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return 0;
}

// The path a chain of symbolic links ends at; the last one need not exist.
// Sets error to ELOOP on a loop, or to the lstat failure.
std::filesystem::path FollowLinks(std::filesystem::path path, int& error) {
    error = 0;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT) error = errno;
            return path;
        }
        if (!S_ISLNK(st.st_mode)) return path;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) {
            error = errno;
            return path;
        }
        target.resize(static_cast<size_t>(n));
        std::filesystem::path next(target);
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    error = ELOOP;
    return path;
}

// Straight into something that is not a regular file: a device or a pipe.
int WriteInPlace(const std::filesystem::path& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return errno;
    int error = WriteAll(fd, bytes);
    // Devices and pipes that keep nothing cannot be flushed; that is no error.
    if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP)
        error = errno;
    if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
    return error;
}

// Creates a new file beside target with a name no one else uses.
int CreateExclusiveTemp(const std::filesystem::path& target, std::filesystem::path& tmp) {
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::filesystem::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "." + target.filename().string() + ".";
        unsigned bits = random();
        for (int i = 0; i < 6; ++i, bits /= 36)
            name.push_back(kChars[bits % 36]);
        tmp = dir / name;
        int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

WriteResult WriteOutputFile(const std::filesystem::path& requested, std::string_view bytes) {
    if (requested.empty()) return {ENOENT};
    int error = 0;
    const std::filesystem::path path = FollowLinks(requested, error);
    if (error) return {error};

    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return {WriteInPlace(path, bytes)};

    std::filesystem::path tmp;
    int fd = CreateExclusiveTemp(path, tmp);
    if (fd < 0) return {errno};
    if (exists) {
        // The new file takes the old one's owner (when allowed) and mode.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)!::fchown(fd, old.st_uid, old.st_gid);
        if (::fchmod(fd, old.st_mode & 07777) != 0) error = errno;
    }
    if (!error) error = WriteAll(fd, bytes);
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && ::rename(tmp.c_str(), path.c_str()) != 0) error = errno;
    if (error) ::unlink(tmp.c_str());
    return {error};
}

bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    return WriteOutputFile(path, bytes).ok();
}

}  // namespace ondavia
