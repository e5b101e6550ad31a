#include "fileio.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace ondavia {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
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
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        used += static_cast<size_t>(n);
    }
    ::close(fd);
    data.resize(used);
    return data;
}

bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path tmp = path;
    tmp += ".tmp" + std::to_string(::getpid());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const char* p = bytes.data();
    size_t left = bytes.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) ::unlink(tmp.c_str());
    return ok;
}

std::optional<std::filesystem::path> CreateTempFileBeside(const std::filesystem::path& path) {
    std::string name = path.string() + ".XXXXXX";
    int fd = ::mkstemp(name.data());
    if (fd < 0) return std::nullopt;
    // mkstemp makes the file private; the finished file is an ordinary one.
    ::fchmod(fd, 0644);
    ::close(fd);
    return std::filesystem::path(name);
}

bool CommitTempFile(const std::filesystem::path& tmp, const std::filesystem::path& path) {
    bool ok = false;
    int fd = ::open(tmp.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ok = ::fsync(fd) == 0;
        if (::close(fd) != 0) ok = false;
    }
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) {
        const int reason = errno;
        ::unlink(tmp.c_str());
        errno = reason;
    }
    return ok;
}

}  // namespace ondavia
