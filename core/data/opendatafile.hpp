// Opening one data file: the name and layout as the file list judges them,
// validation, then the load. The viewer and the command line both open files
// through here, and show the same reasons when a file is refused.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "recording.hpp"

namespace ondavia {

enum class OpenRefusal {
    None,
    NotFound,        // nothing at the path
    NotRegularFile,  // a folder, pipe, device or socket
    Unreadable,      // the file exists but cannot be read (permissions, I/O error, link loop)
    BadName,         // the name matches none of the data file forms
    UnknownLayout,   // neither a text nor a packed data file
    TooLarge,        // more records than any recording holds
    LoadFailed,      // validation or reading the records failed (memory included)
};

struct OpenedFile {
    OpenRefusal refusal = OpenRefusal::None;
    // The text shown to the user (UTF-8, one line, control characters
    // escaped); empty when the file opened. For LoadFailed it is the viewer's
    // load failure message.
    std::string message;
    // A short description of what went wrong, when there is more to say.
    std::string detail;
    std::optional<Recording> recording;  // set when the file opened

    bool ok() const { return refusal == OpenRefusal::None; }
};

// Opens the file at path as the viewer opens a listed file. Never throws.
OpenedFile OpenDataFile(const std::filesystem::path& path, int pivotYear);

}  // namespace ondavia
