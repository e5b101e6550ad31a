// Data file names: the five accepted forms, the work date, and the type letter
// that tells the record interval and whether the file is locked.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ondavia {

struct DataFileName {
    std::string upperName;  // cp949 bytes, upper case, with ".TXT"
    std::string workDate;   // eight digits, year first
    char typeLetter = 0;    // upper case; 0 for the two short forms
};

// nullopt when the name (cp949 bytes, no folder) matches none of the forms,
// its date is not a real date, its number is not an integer, its type letter
// is not one of C M N S X Y, or ".TXT" occurs before its end.
std::optional<DataFileName> CheckDataFileName(std::string_view cp949Name, int pivotYear);

// What a type letter says; for names without one, only the content can tell.
struct NameInterval {
    bool known = false;  // the name carries a type letter
    bool hundredths = false;
    bool locked = false;
};
NameInterval IntervalFromName(std::string_view upperName);

// The file name the system's lock and unlock commands give a plain or locked
// file: S<->X, C<->Y at the type letter. nullopt when the letter does not allow it.
std::optional<std::string> LockedNameOf(std::string_view upperName);
std::optional<std::string> UnlockedNameOf(std::string_view upperName);

// The one-byte key of a locked file: low 8 bits of the upper-case name's checksum.
unsigned char LockKey(std::string_view upperName);

}  // namespace ondavia
