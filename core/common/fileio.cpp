#include "fileio.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace ondavia {

std::optional<std::string> ReadAllFrom(int fd, size_t sizeHint) {
    std::string data;
    // Read straight into the string's storage; the size is only a hint.
    size_t capacity = sizeHint > 0 ? sizeHint + 1 : 65536;
    size_t used = 0;
    for (;;) {
        if (used == data.size()) data.resize(std::max(capacity, data.size() * 2));
        ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        used += static_cast<size_t>(n);
    }
    data.resize(used);
    return data;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    auto data = ReadAllFrom(fd, S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) : 0);
    ::close(fd);
    return data;
}

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() { Abandon(); }

bool AtomicFileWriter::Create() {
    Abandon();
    // Hidden and without the data files' extension, so that no listing takes
    // it for a file of its own while it is written.
    std::filesystem::path pattern = target_;
    pattern.replace_filename("." + target_.filename().string() + ".XXXXXX");
    std::string name = pattern.string();
    std::vector<char> buf(name.begin(), name.end());
    buf.push_back('\0');
    int fd = ::mkostemp(buf.data(), O_CLOEXEC);
    if (fd < 0) return false;
    fd_ = fd;
    temp_ = std::filesystem::path(buf.data());
    // mkostemp creates the file for its owner only; the result is an
    // ordinary file like any other the program writes.
    ::fchmod(fd_, 0644);
    return true;
}

bool AtomicFileWriter::Write(std::string_view bytes) {
    if (fd_ < 0) return false;
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

bool AtomicFileWriter::Commit() {
    if (fd_ < 0) return false;
    bool ok = ::fsync(fd_) == 0;
    if (::close(fd_) != 0) ok = false;
    fd_ = -1;
    if (ok && ::rename(temp_.c_str(), target_.c_str()) != 0) ok = false;
    if (!ok) ::unlink(temp_.c_str());
    temp_.clear();
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

void AtomicFileWriter::Abandon() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    AtomicFileWriter file(path);
    return file.Create() && file.Write(bytes) && file.Commit();
}

}  // namespace ondavia
