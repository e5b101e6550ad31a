// Locked and plain copies of a data file, written beside it, and the rule
// that tells which of the two commands the file list offers for a row.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "data/layout.hpp"

namespace ondavia {

enum class TransformDirection { Lock, Unlock };

// Result codes; every code above 9 is a failure.
inline constexpr int kTransformDone = 0;         // no complete target existed before
inline constexpr int kTransformOverwritten = 1;  // a complete target was replaced
inline constexpr int kTransformSourceUnreadable = 11;
inline constexpr int kTransformShortHeader = 12;
inline constexpr int kTransformShortRecord = 13;
// Also given for a name without the counterpart the direction needs (M, N,
// a letter of the other direction, a name without type letter): its target
// would be the source itself.
inline constexpr int kTransformTargetNotCreated = 21;
inline constexpr int kTransformHeaderNotWritten = 22;
inline constexpr int kTransformRecordNotWritten = 23;
inline constexpr int kTransformOtherError = 99;

inline bool TransformSucceeded(int code) { return code <= 9; }

// The counterpart name (cp949, upper case, with ".TXT"): S and C lock to X
// and Y, X and Y unlock to S and C. Empty when the name has no counterpart
// in that direction.
std::string TransformTargetName(TransformDirection direction, std::string_view upperName);

struct TransformResult {
    int code = kTransformOtherError;
    std::string targetName;            // cp949, upper case, with ".TXT"; empty when refused
    std::filesystem::path targetPath;  // the file written (or that would have been)
};

// Writes the locked (or plain) copy of sourcePath beside it. The source's
// identity and key come from its upper-cased name; fileMode is the layout
// the file list found (0 packed, 1 and 2 lines), whose block sizes are read.
// Output is always packed: the first 79 bytes of the header and the first
// 68 of each record. The copy goes under a temporary name and replaces the
// target only when complete: on failure an old target is untouched and no
// partial file remains. An existing target whose name differs only in case
// is the one replaced.
TransformResult TransformDataFile(TransformDirection direction,
                                  const std::filesystem::path& sourcePath, FileLayout fileMode);

// Which of the file list's two commands the popup offers. focusedName is the
// focused row's name (cp949, upper case, without ".TXT"); openedFileName the
// file-name part of the most recently opened file's identity. Only the file
// opened last is offered, and only a command whose counterpart exists.
struct LockMenu {
    bool lock = false;
    bool unlock = false;
};
LockMenu LockMenuFor(std::string_view focusedName, std::string_view openedFileName);

}  // namespace ondavia
