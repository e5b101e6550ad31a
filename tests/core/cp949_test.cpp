// The cp949 converter is the system's (iconv on Linux, code page 949 on
// Windows); both builds must read and write exactly the same characters, so
// the whole code space is pinned here and the same test runs on both.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/cp949.hpp"

namespace ondavia {
namespace {

struct Digest {
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a
    int count = 0;
    void Add(std::string_view bytes) {
        for (unsigned char c : bytes) {
            hash ^= c;
            hash *= 1099511628211ull;
        }
        hash ^= 0xFF;  // a separator no UTF-8 or cp949 text holds alone
        hash *= 1099511628211ull;
    }
};

std::string Utf8Of(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

TEST(Cp949, CharactersOnBothSidesOfTheExtendedSet) {
    struct Case {
        const char* utf8;
        std::string cp949;
    };
    const Case cases[] = {
        {"가", "\xB0\xA1"},  // in the basic Korean set
        {"똠", "\x8C\x63"},  // only in the extended set; the trail byte is 'c'
        {"햏", "\xC1\x64"},
        {"뷁", "\x94\xEE"},
        {"漢", "\xF9\xD3"},
        {"㈜", "\xA2\xDF"},
        {"€", "\xA2\xE6"},
        {"￦", "\xA3\xDC"},
        {"서울32바1234",
         "\xBC\xAD\xBF\xEF"
         "32\xB9\xD9"
         "1234"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToCp949(c.utf8), c.cp949) << c.utf8;
        EXPECT_EQ(Cp949ToUtf8(c.cp949), c.utf8) << c.utf8;
    }
}

TEST(Cp949, BytesWithoutACharacterBecomeOneReplacementEach) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case {
        std::string bytes;
        std::string utf8;
    };
    const Case cases[] = {
        {"A\x80"
         "B",
         "A" + fffd + "B"},
        {"A\xFF", "A" + fffd},
        {"AB\xB0", "AB" + fffd},           // a lead byte cut off by the end
        {"\xB0 1", fffd + " 1"},           // a lead byte before a space
        {"\xC9\xA1 ", fffd + fffd + " "},  // a user-defined code
    };
    for (const auto& c : cases)
        EXPECT_EQ(Cp949ToUtf8(c.bytes), c.utf8);
    EXPECT_FALSE(Utf8ToCp949("\xEE\x80\x80"));      // a private use character
    EXPECT_FALSE(Utf8ToCp949("\xF0\x9F\x98\x80"));  // an emoji
    EXPECT_FALSE(Utf8ToCp949("\xC2"));              // broken UTF-8
    EXPECT_FALSE(Utf8ToCp949("\xC2\x80"));          // a C1 control
}

TEST(Cp949, EveryTwoByteCodeReadsAsIconvReadsIt) {
    Digest digest;
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int trail = 0; trail <= 0xFF; ++trail) {
            // A2 E8 (a sign added to the code page later) is left out: iconv
            // reads it as nothing at all, Windows as no character.
            if (lead == 0xA2 && trail == 0xE8) continue;
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string text = Cp949ToUtf8(bytes);
            digest.Add(text);
            if (text.find("\xEF\xBF\xBD") == std::string::npos) ++digest.count;
        }
    }
    EXPECT_EQ(digest.count, 17048);
    EXPECT_EQ(digest.hash, 14570671184915533213ull);
}

TEST(Cp949, EveryCharacterOfTheBasicPlaneWritesAsIconvWritesIt) {
    Digest digest;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        auto bytes = Utf8ToCp949(Utf8Of(c));
        digest.Add(bytes ? *bytes : std::string("-"));
        if (bytes) ++digest.count;
    }
    EXPECT_EQ(digest.count, 17048);
    EXPECT_EQ(digest.hash, 12077759410204064420ull);
}

}  // namespace
}  // namespace ondavia
