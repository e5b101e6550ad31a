// File reading and writing on POSIX systems.
#include "fileio.hpp"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>

namespace ondavia {

// ---- names ----------------------------------------------------------------------

std::filesystem::path PathFromText(std::string_view text) { return std::string(text); }

std::string PathToText(const std::filesystem::path& path) { return path.native(); }

bool IsWritable(const std::filesystem::path& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Nothing to do: POSIX streams never translate line ends.
void UseBinaryStandardStreams() {}

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

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                         std::error_code& error) {
    error.clear();
    auto fail = [&error](int err) {
        error = std::error_code(err, std::generic_category());
        return std::nullopt;
    };
    // Non-blocking, so a FIFO put in a file's place reads as empty instead of
    // waiting for a writer forever; regular files are not affected.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return fail(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return fail(err);
    }
    std::string data;
    // Read straight into the string's storage; the size is only a hint, as
    // the file may grow or shrink while it is read.
    size_t capacity = S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) + 1 : 65536;
    size_t used = 0;
    for (;;) {
        if (used == data.size()) data.resize(std::max(capacity, data.size() * 2));
        ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            return fail(err);
        }
        if (n == 0) break;
        used += static_cast<size_t>(n);
    }
    ::close(fd);
    data.resize(used);
    return data;
}

namespace {

// The process's umask as the kernel reports it; reading it this way leaves
// it alone (umask() would have to set it to read it).
mode_t CurrentUmask() {
    auto status = ReadWholeFile("/proc/self/status");
    if (status) {
        size_t at = status->find("\nUmask:");
        if (at != std::string::npos) {
            const char* p = status->c_str() + at + 7;
            while (*p == ' ' || *p == '\t')
                ++p;
            mode_t mask = 0;
            for (; *p >= '0' && *p <= '7'; ++p)
                mask = static_cast<mode_t>(mask * 8 + static_cast<mode_t>(*p - '0'));
            return mask & 0777;
        }
    }
    return 022;
}

}  // namespace

PendingFile::PendingFile(std::filesystem::path target) : target_(std::move(target)) {
    std::filesystem::path folder = target_.parent_path();
    if (folder.empty()) folder = ".";
    std::string pattern = (folder / ("." + target_.filename().string() + ".XXXXXX")).string();
    // mkostemp creates with O_EXCL under a random name: an existing file or
    // link of that name makes it try another name, never open it.
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) {
        error_ = std::error_code(errno, std::generic_category());
        return;
    }
    temp_ = pattern;
}

PendingFile::~PendingFile() { Discard(); }

// A second descriptor on the same file is no trouble here: the handle is kept
// for the flush and the permissions at Commit.
void PendingFile::HandOver() {}

void PendingFile::Discard() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(temp_.c_str());
    fd_ = -1;
}

bool PendingFile::Fail(int err) {
    error_ = std::error_code(err, std::generic_category());
    Discard();
    return false;
}

bool PendingFile::Write(std::string_view bytes) {
    if (fd_ < 0) return false;
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail(errno);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

bool PendingFile::Commit() {
    if (fd_ < 0) return false;
    if (::fsync(fd_) != 0) return Fail(errno);
    struct stat old {};
    if (::lstat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        // Keep the owner where we may (root replacing a user's file), then the mode.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)::fchown(fd_, old.st_uid, old.st_gid);
        if (::fchmod(fd_, old.st_mode & 07777) != 0) return Fail(errno);
    } else if (::fchmod(fd_, 0666 & ~CurrentUmask()) != 0) {
        return Fail(errno);
    }
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp_.c_str());
        error_ = std::error_code(err, std::generic_category());
        return false;
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        int err = errno;
        ::unlink(temp_.c_str());
        error_ = std::error_code(err, std::generic_category());
        return false;
    }
    return true;
}

std::optional<std::filesystem::path> PrivateFolder(const std::filesystem::path& parent,
                                                   const std::string& name,
                                                   std::error_code& error) {
    error.clear();
    const std::filesystem::path folder = parent / name;
    if (::mkdir(folder.c_str(), 0700) == 0) return folder;
    struct stat st {};
    if (errno == EEXIST && ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
        st.st_uid == ::geteuid() && (st.st_mode & 077) == 0)
        return folder;
    std::string pattern = (parent / (name + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data())) return std::filesystem::path(pattern);
    error = std::error_code(errno, std::generic_category());
    return std::nullopt;
}

// ---- output files the user names ----------------------------------------------

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

}  // namespace

WriteResult WriteOutputFile(const std::filesystem::path& requested, std::string_view bytes) {
    if (requested.empty()) return {ENOENT};
    int error = 0;
    const std::filesystem::path path = FollowLinks(requested, error);
    if (error) return {error};
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && !S_ISREG(old.st_mode))
        return {WriteInPlace(path, bytes)};
    PendingFile file(path);
    if (file.Write(bytes) && file.Commit()) return {};
    return {file.error().value() != 0 ? file.error().value() : EIO};
}

void PrepareForFilling([[maybe_unused]] void* data, [[maybe_unused]] size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kLarge = 2u << 20;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): page arithmetic on the list's address
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kLarge - 1) & ~(kLarge - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kLarge - 1);
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the same address, aligned
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

}  // namespace ondavia
