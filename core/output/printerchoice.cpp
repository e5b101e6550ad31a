#include "printerchoice.hpp"

#include "common/text.hpp"

namespace ondavia {

namespace {
std::string Folded(std::string_view name) {
    std::string s(Trim(name));
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}
}  // namespace

bool SamePrinterName(std::string_view a, std::string_view b) { return Folded(a) == Folded(b); }

int FindRememberedPrinter(const std::vector<std::string>& installed, std::string_view remembered) {
    int found = -1;
    const std::string key = Folded(remembered);
    for (size_t i = 0; i < installed.size(); ++i)
        if (Folded(installed[i]) == key) found = static_cast<int>(i);
    return found;
}

}  // namespace ondavia
