// Progress of the record exports: the number of records done so far. The
// writers call it every kExportProgressStep records and once at the end, so
// that a window can show it without slowing the export.
#pragma once

#include <cstddef>
#include <functional>

namespace ondavia {

using ExportProgress = std::function<void(std::size_t recordsDone)>;
inline constexpr std::size_t kExportProgressStep = 4096;

}  // namespace ondavia
