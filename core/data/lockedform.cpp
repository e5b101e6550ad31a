#include "lockedform.hpp"

namespace ondavia {

void ScrambleBytes(std::span<char> bytes, unsigned char key) {
    for (char& c : bytes)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ key);
}

std::string Scrambled(std::string bytes, unsigned char key) {
    ScrambleBytes(bytes, key);
    return bytes;
}

}  // namespace ondavia
