#include "inifile.hpp"

#include <vector>

#include "fileio.hpp"
#include "text.hpp"

namespace ondavia {

namespace {

struct Line {
    size_t begin, end;  // [begin, end) without the line break
    size_t next;        // start of the following line
};

std::vector<Line> SplitLines(const std::string& s) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < s.size()) {
        size_t nl = s.find('\n', pos);
        size_t end = nl == std::string::npos ? s.size() : nl;
        size_t next = nl == std::string::npos ? s.size() : nl + 1;
        if (end > pos && s[end - 1] == '\r') --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

bool SameName(std::string_view a, std::string_view b) {
    return UpperCp949(Trim(a)) == UpperCp949(Trim(b));
}

// Section name of a "[name]" line.
std::optional<std::string_view> SectionOf(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return line.substr(1, close - 1);
}

bool IsComment(std::string_view line) {
    line = Trim(line);
    return !line.empty() && line.front() == ';';
}

struct Location {
    std::optional<size_t> sectionLine;  // index of the section header
    std::optional<size_t> keyLine;      // index of the key line inside it
    size_t lastEntryLine = 0;           // last non-blank line of the section
};

Location Find(const std::string& s, const std::vector<Line>& lines, std::string_view section,
              std::string_view key) {
    Location loc;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view text(s.data() + lines[i].begin, lines[i].end - lines[i].begin);
        if (auto name = SectionOf(text)) {
            if (loc.sectionLine) break;  // the first matching section ends here
            if (SameName(*name, section)) {
                loc.sectionLine = i;
                loc.lastEntryLine = i;
            }
            continue;
        }
        if (!loc.sectionLine) continue;
        if (!Trim(text).empty()) loc.lastEntryLine = i;
        if (loc.keyLine || IsComment(text)) continue;
        size_t eq = text.find('=');
        if (eq != std::string_view::npos && SameName(text.substr(0, eq), key)) loc.keyLine = i;
    }
    return loc;
}

}  // namespace

std::optional<std::string> IniText::Read(std::string_view section, std::string_view key) const {
    auto lines = SplitLines(bytes_);
    Location loc = Find(bytes_, lines, section, key);
    if (!loc.keyLine) return std::nullopt;
    const Line& l = lines[*loc.keyLine];
    std::string_view text(bytes_.data() + l.begin, l.end - l.begin);
    std::string_view value = Trim(text.substr(text.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string IniText::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    auto v = Read(section, key);
    return v ? *v : std::string(fallback);
}

int IniText::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    auto v = Read(section, key);
    if (!v) return fallback;
    std::string_view t = Trim(*v);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        auto h = ReadHex(t.substr(2));
        return h && *h <= 0xFFFFFFFFLL ? static_cast<int>(static_cast<unsigned>(*h)) : fallback;
    }
    auto i = ReadInt32(t);
    return i ? *i : fallback;
}

bool IniText::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniText::Write(std::string_view section, std::string_view key, std::string_view value) {
    auto lines = SplitLines(bytes_);
    Location loc = Find(bytes_, lines, section, key);
    std::string entry = std::string(key) + "=" + std::string(value);
    if (loc.keyLine) {
        const Line& l = lines[*loc.keyLine];
        bytes_.replace(l.begin, l.end - l.begin, entry);
        return;
    }
    if (loc.sectionLine) {
        const Line& l = lines[loc.lastEntryLine];
        std::string insert = entry + "\r\n";
        if (l.next == l.end) insert = "\r\n" + insert;  // last line had no break
        bytes_.insert(l.next, insert);
        return;
    }
    if (!bytes_.empty() && bytes_.back() != '\n') bytes_ += "\r\n";
    bytes_ += "[" + std::string(section) + "]\r\n" + entry + "\r\n";
}

IniText LoadIniFile(const std::filesystem::path& path) {
    auto bytes = ReadWholeFile(path);
    return IniText(bytes ? std::move(*bytes) : std::string());
}

std::optional<IniText> LoadIniFileForUpdate(const std::filesystem::path& path,
                                            std::string* reason) {
    // Only a missing file starts empty: a file that is there but cannot be
    // read would otherwise be replaced by one holding the new key alone.
    std::error_code error;
    auto bytes = ReadWholeFile(path, error);
    if (bytes) return IniText(std::move(*bytes));
    if (error == std::errc::no_such_file_or_directory) return IniText();
    if (reason) *reason = "cannot read the file: " + error.message();
    return std::nullopt;
}

bool WriteIniValue(const std::filesystem::path& path, std::string_view section,
                   std::string_view key, std::string_view value, std::string* reason) {
    auto ini = LoadIniFileForUpdate(path, reason);
    if (!ini) return false;
    ini->Write(section, key, value);
    return ReplaceFileAtomically(path, ini->Bytes(), reason);
}

}  // namespace ondavia
