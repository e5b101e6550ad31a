// The parts of file reading and writing that are the same on every system.
#include "fileio.hpp"

#include <system_error>

namespace ondavia {

std::optional<std::string> InputFile::ReadFirst(size_t n) {
    std::string bytes(n, '\0');
    long long got = ReadAt(0, bytes.data(), n);
    if (got < 0) return std::nullopt;
    bytes.resize(static_cast<size_t>(got));
    return bytes;
}

std::optional<std::string> InputFile::ReadAll(std::uintmax_t maxBytes) {
    if (!isOpen() || size() > maxBytes) return std::nullopt;
    // The size is only a hint: the file may grow or shrink while it is read.
    std::string data;
    size_t used = 0;
    data.resize(static_cast<size_t>(size()) + 1);
    for (;;) {
        if (used == data.size()) {
            if (data.size() > maxBytes) return std::nullopt;
            data.resize(data.size() * 2);
        }
        long long n = ReadAt(used, data.data() + used, data.size() - used);
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        used += static_cast<size_t>(n);
    }
    if (used > maxBytes) return std::nullopt;
    data.resize(used);
    return data;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                         std::uintmax_t maxBytes) {
    InputFile file(path);
    return file.ReadAll(maxBytes);
}

std::string WriteResult::Describe() const { return std::generic_category().message(error); }

bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           std::string* reason) {
    PendingFile file(path);
    if (file.Write(bytes) && file.Commit()) return true;
    if (reason) *reason = file.error().message();
    return false;
}

}  // namespace ondavia
