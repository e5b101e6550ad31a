// The remembered report printer: which installed printer a remembered name
// stands for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ondavia {

// Equal after both are upper-cased (letters a to z only) and stripped of
// leading and trailing blanks and control characters.
bool SamePrinterName(std::string_view a, std::string_view b);

// Index of the installed printer the remembered name stands for (the last
// one when several match), or -1.
int FindRememberedPrinter(const std::vector<std::string>& installed, std::string_view remembered);

}  // namespace ondavia
