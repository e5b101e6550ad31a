// The locked form of a data file: every byte XOR a one-byte key taken from
// the locked file's upper-case name (LockKey). The same operation locks and
// unlocks, so the loader, the lock command and the sample and test builders
// all go through this one function.
#pragma once

#include <span>
#include <string>

namespace ondavia {

void ScrambleBytes(std::span<char> bytes, unsigned char key);
// A scrambled copy.
std::string Scrambled(std::string bytes, unsigned char key);

}  // namespace ondavia
