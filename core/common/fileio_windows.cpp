// File reading and writing on Windows: UTF-16 names throughout, the C
// runtime's descriptors in binary mode, and an atomic replace by
// MoveFileExW. Error numbers are errno values, as on POSIX systems, so the
// messages the program shows are the same.
#include "fileio.hpp"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <random>
#include <string>

namespace ondavia {

namespace {

std::wstring WideFromUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
    int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), n);
    return wide;
}

std::string Utf8FromWide(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(std::min<size_t>(wide.size(), INT_MAX));
    int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
    return text;
}

// The errno value closest to a Windows error.
int ErrnoFrom(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
            return EINVAL;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        default:
            return EIO;
    }
}

bool IsRegular(const struct _stat64& st) { return (st.st_mode & _S_IFMT) == _S_IFREG; }

// Six letters or digits, different on every call.
std::wstring RandomSuffix() {
    static constexpr wchar_t kChars[] =
        L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::wstring suffix(6, L'A');
    for (auto& c : suffix)
        c = kChars[device() % (sizeof kChars / sizeof kChars[0] - 1)];
    return suffix;
}

int WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const unsigned chunk = static_cast<unsigned>(std::min<size_t>(left, 1u << 30));
        int n = ::_write(fd, p, chunk);
        if (n < 0) return errno;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return 0;
}

}  // namespace

// ---- names ----------------------------------------------------------------------

std::filesystem::path PathFromText(std::string_view text) { return WideFromUtf8(text); }

std::string PathToText(const std::filesystem::path& path) { return Utf8FromWide(path.native()); }

bool IsWritable(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        // Folder permissions are ACLs: trying is the one reliable answer. The
        // probe is created exclusively and removed again.
        PendingFile probe(path / L"write-probe");
        return probe.ok();
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) return false;
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    return true;
}

void UseBinaryStandardStreams() {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

std::vector<std::string> ArgumentsFromWide(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Utf8FromWide(argv[i]));
    return args;
}

// ---- reading ------------------------------------------------------------------

InputFile::InputFile(const std::filesystem::path& path) {
    struct _stat64 st {};
    // Looked at before opening: opening a device may block or act.
    if (::_wstat64(path.c_str(), &st) != 0) {
        error_ = errno;
        status_ = error_ == ENOENT ? Status::Missing : Status::Unreadable;
        return;
    }
    if (!IsRegular(st)) {
        status_ = Status::NotRegular;
        return;
    }
    fd_ = ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd_ < 0) {
        error_ = errno;
        status_ = error_ == ENOENT ? Status::Missing : Status::Unreadable;
        return;
    }
    if (::_fstat64(fd_, &st) != 0 || !IsRegular(st)) {
        error_ = 0;
        status_ = Status::NotRegular;
        ::_close(fd_);
        fd_ = -1;
        return;
    }
    size_ = static_cast<std::uintmax_t>(st.st_size);
    status_ = Status::Open;
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::_close(fd_);
}

long long InputFile::ReadAt(std::uintmax_t offset, char* buf, size_t n) {
    if (fd_ < 0) return -1;
    if (::_lseeki64(fd_, static_cast<long long>(offset), SEEK_SET) < 0) {
        error_ = errno;
        status_ = Status::Unreadable;
        return -1;
    }
    size_t done = 0;
    while (done < n) {
        const unsigned chunk = static_cast<unsigned>(std::min<size_t>(n - done, 1u << 30));
        int got = ::_read(fd_, buf + done, chunk);
        if (got < 0) {
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
    InputFile file(path);
    if (!file.isOpen()) {
        int err = file.error();
        std::error_code ignored;
        if (file.status() == InputFile::Status::Missing)
            err = ENOENT;
        else if (file.status() == InputFile::Status::NotRegular)
            err = std::filesystem::is_directory(path, ignored) ? EISDIR : EINVAL;
        else if (err == 0)
            err = EIO;
        error = std::error_code(err, std::generic_category());
        return std::nullopt;
    }
    auto data = file.ReadAll(SIZE_MAX);
    if (!data) error = std::error_code(file.error() ? file.error() : EIO, std::generic_category());
    return data;
}

// ---- writing ------------------------------------------------------------------

PendingFile::PendingFile(std::filesystem::path target) : target_(std::move(target)) {
    std::filesystem::path folder = target_.parent_path();
    if (folder.empty()) folder = L".";
    const std::wstring stem = L"." + target_.filename().native() + L".";
    // Created exclusively under a random name: an existing file of that name
    // makes it try another name, never open it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = folder / (stem + RandomSuffix());
        fd_ = ::_wopen(candidate.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY | _O_NOINHERIT,
                       _S_IREAD | _S_IWRITE);
        if (fd_ >= 0) {
            temp_ = std::move(candidate);
            return;
        }
        if (errno != EEXIST) break;
    }
    error_ = std::error_code(errno, std::generic_category());
}

PendingFile::~PendingFile() { Discard(); }

void PendingFile::HandOver() {
    if (fd_ < 0) return;
    ::_close(fd_);
    fd_ = -1;
    handedOver_ = true;
}

void PendingFile::Discard() {
    if (fd_ >= 0) ::_close(fd_);
    if (fd_ >= 0 || handedOver_) ::_wunlink(temp_.c_str());
    fd_ = -1;
    handedOver_ = false;
}

bool PendingFile::Fail(int err) {
    error_ = std::error_code(err, std::generic_category());
    Discard();
    return false;
}

bool PendingFile::Write(std::string_view bytes) {
    if (fd_ < 0) return false;
    int error = WriteAll(fd_, bytes);
    return error == 0 || Fail(error);
}

bool PendingFile::Commit() {
    if (handedOver_) {
        // Opened again only to flush what the other writer wrote.
        fd_ = ::_wopen(temp_.c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
        handedOver_ = fd_ < 0;
        if (fd_ < 0) return Fail(errno);
    }
    if (fd_ < 0) return false;
    if (::_commit(fd_) != 0) return Fail(errno);
    int fd = fd_;
    fd_ = -1;
    if (::_close(fd) != 0) {
        int err = errno;
        ::_wunlink(temp_.c_str());
        error_ = std::error_code(err, std::generic_category());
        return false;
    }
    // Replaces the target in one step, and returns only once the move is on
    // disk. A read-only target is refused rather than replaced.
    if (!::MoveFileExW(temp_.c_str(), target_.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        int err = ErrnoFrom(::GetLastError());
        ::_wunlink(temp_.c_str());
        error_ = std::error_code(err, std::generic_category());
        return false;
    }
    return true;
}

std::optional<std::filesystem::path> PrivateFolder(const std::filesystem::path& parent,
                                                   const std::string& name,
                                                   std::error_code& error) {
    error.clear();
    // The temporary folder is the user's own on Windows; what matters here is
    // that the name is a real folder and not a link to somewhere else.
    const std::filesystem::path folder = parent / PathFromText(name);
    if (::_wmkdir(folder.c_str()) == 0) return folder;
    if (errno == EEXIST) {
        const DWORD attributes = ::GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return folder;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = parent / PathFromText(name + "-");
        candidate += RandomSuffix();
        if (::_wmkdir(candidate.c_str()) == 0) return candidate;
        if (errno != EEXIST) break;
    }
    error = std::error_code(errno, std::generic_category());
    return std::nullopt;
}

// ---- output files the user names ----------------------------------------------

WriteResult WriteOutputFile(const std::filesystem::path& requested, std::string_view bytes) {
    if (requested.empty()) return {ENOENT};
    // A symbolic link is followed, so that its target is the file replaced.
    std::filesystem::path path = requested;
    std::error_code ec;
    for (int hops = 0; std::filesystem::is_symlink(path, ec); ++hops) {
        if (hops == 40) return {ELOOP};
        std::filesystem::path next = std::filesystem::read_symlink(path, ec);
        if (ec) return {ec.default_error_condition().value()};
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    struct _stat64 st {};
    if (::_wstat64(path.c_str(), &st) == 0 && !IsRegular(st)) {
        if ((st.st_mode & _S_IFMT) == _S_IFDIR) return {EISDIR};
        // A device (NUL, a printer port) is written straight to.
        int fd = ::_wopen(path.c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
        if (fd < 0) return {errno};
        int error = WriteAll(fd, bytes);
        if (::_close(fd) != 0 && error == 0) error = errno;
        return {error};
    }
    PendingFile file(path);
    if (file.Write(bytes) && file.Commit()) return {};
    return {file.error().value() != 0 ? file.error().value() : EIO};
}

void PrepareForFilling(void*, size_t) {}

}  // namespace ondavia
