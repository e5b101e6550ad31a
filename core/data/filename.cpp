#include "filename.hpp"

#include <cctype>

#include "common/datetime.hpp"
#include "common/text.hpp"

namespace ondavia {

namespace {

struct NameForm {
    size_t length;
    size_t seps[4];  // 1-based positions of "-" or "_", 0 for unused
    size_t numberPos;
    size_t typePos;  // 0 when the form has no type letter
};

constexpr NameForm kForms[] = {
    {24, {9, 18, 0, 0}, 19, 0},    {28, {9, 22, 0, 0}, 23, 0},    {34, {9, 18, 20, 23}, 21, 19},
    {35, {9, 19, 21, 24}, 22, 20}, {38, {9, 22, 24, 27}, 25, 23},
};

bool IsTypeLetter(char c) {
    switch (c) {
        case 'C':
        case 'M':
        case 'N':
        case 'S':
        case 'X':
        case 'Y':
            return true;
        default:
            return false;
    }
}

}  // namespace

std::optional<DataFileName> CheckDataFileName(std::string_view cp949Name, int pivotYear) {
    std::string upper = UpperCp949(cp949Name);
    const NameForm* form = nullptr;
    for (const NameForm& f : kForms)
        if (f.length == upper.size()) form = &f;
    if (!form) return std::nullopt;
    // ".TXT" must occur only at the end.
    if (upper.find(".TXT") != upper.size() - 4) return std::nullopt;
    for (size_t sep : form->seps)
        if (sep && upper[sep - 1] != '-' && upper[sep - 1] != '_') return std::nullopt;
    for (size_t i = 0; i < 8; ++i)
        if (upper[i] < '0' || upper[i] > '9') return std::nullopt;
    std::string date = upper.substr(0, 4) + "-" + upper.substr(4, 2) + "-" + upper.substr(6, 2);
    if (!IsDateTimeText(date, pivotYear)) return std::nullopt;
    if (!IsIntegerText(std::string_view(upper).substr(form->numberPos - 1, 2))) return std::nullopt;
    DataFileName result;
    if (form->typePos) {
        result.typeLetter = upper[form->typePos - 1];
        if (!IsTypeLetter(result.typeLetter)) return std::nullopt;
    }
    result.workDate = upper.substr(0, 8);
    result.upperName = std::move(upper);
    return result;
}

NameInterval IntervalFromName(std::string_view upperName) {
    NameInterval r;
    size_t n = upperName.size();
    if (n != 34 && n != 35 && n != 38) return r;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(upperName[n - 16])));
    r.known = true;
    r.hundredths = !(letter == 'M' || letter == 'S' || letter == 'X');
    r.locked = letter == 'M' || letter == 'N' || letter == 'X' || letter == 'Y';
    return r;
}

namespace {
std::optional<std::string> SwapLetter(std::string_view upperName, char from1, char to1, char from2,
                                      char to2) {
    size_t n = upperName.size();
    if (n != 34 && n != 35 && n != 38) return std::nullopt;
    std::string name(upperName);
    char& letter = name[n - 16];
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (c == from1)
        letter = to1;
    else if (c == from2)
        letter = to2;
    else
        return std::nullopt;
    return name;
}
}  // namespace

std::optional<std::string> LockedNameOf(std::string_view upperName) {
    return SwapLetter(upperName, 'S', 'X', 'C', 'Y');
}

std::optional<std::string> UnlockedNameOf(std::string_view upperName) {
    return SwapLetter(upperName, 'X', 'S', 'Y', 'C');
}

unsigned char LockKey(std::string_view upperName) {
    return static_cast<unsigned char>(NameChecksum(upperName) & 0xFF);
}

}  // namespace ondavia
