#include <gtest/gtest.h>

#include "common/cp949.hpp"
#include "data/filename.hpp"

namespace ondavia {
namespace {

constexpr int kPivot = 2026;

TEST(DataFileName, AcceptsTheFiveFormsOnly) {
    struct Case {
        const char* name;
        bool accepted;
        char letter;
    } cases[] = {
        {"20261210-12345678-01.TXT", true, 0},                  // 24
        {"20261210_123456789012_01.txt", true, 0},              // 28, lower-case extension
        {"20261210-12345678-S-01-ABCDEFG.TXT", true, 'S'},      // 34
        {"20261210-123456789-C-01-ABCDEFG.TXT", true, 'C'},     // 35
        {"20261210-123456789012-x-01-ABCDEFG.TXT", true, 'X'},  // 38, lower-case letter
        {"20261210-12345678-M-01-ABCDEFG.TXT", true, 'M'},
        {"20261210-12345678-N-01-ABCDEFG.TXT", true, 'N'},
        {"20261210-12345678-Y-01-ABCDEFG.TXT", true, 'Y'},
        {"20261210-12345678- 1.TXT", true, 0},  // number " 1" trims to an integer
        {"20261210-1234567-01.TXT", false, 0},  // 23: no such form
        {"20261210-12345678-01.TX", false, 0},
        {"20261210-12345678-01.DAT", false, 0},
        {"20261310-12345678-01.TXT", false, 0},  // month 13
        {"20260229-12345678-01.TXT", false, 0},  // not a leap year
        {"2026121A-12345678-01.TXT", false, 0},
        {"20261210-12345678-AB.TXT", false, 0},            // number not an integer
        {"20261210-12345678-Q-01-ABCDEFG.TXT", false, 0},  // letter outside C M N S X Y
        {"20261210+12345678-01.TXT", false, 0},            // separator
        {"20261210-1234.TXT-01.TXT", false, 0},            // ".TXT" before the end
    };
    for (const Case& c : cases) {
        auto n = CheckDataFileName(c.name, kPivot);
        EXPECT_EQ(n.has_value(), c.accepted) << c.name;
        if (n) {
            EXPECT_EQ(n->typeLetter, c.letter) << c.name;
            EXPECT_EQ(n->workDate, "20261210");
            EXPECT_EQ(n->upperName.substr(n->upperName.size() - 4), ".TXT");
        }
    }
    // Lengths are counted in cp949 bytes: two Hangul syllables fill four identifier bytes.
    auto korean = Utf8ToCp949("20261210-서울1234-01.TXT");
    ASSERT_TRUE(korean);
    EXPECT_TRUE(CheckDataFileName(*korean, kPivot));
}

TEST(DataFileName, TypeLetterTellsIntervalAndLock) {
    struct Case {
        const char* name;
        bool known, hundredths, locked;
    } cases[] = {
        {"20261210-12345678-S-01-ABCDEFG.TXT", true, false, false},
        {"20261210-12345678-C-01-ABCDEFG.TXT", true, true, false},
        {"20261210-12345678-M-01-ABCDEFG.TXT", true, false, true},
        {"20261210-12345678-N-01-ABCDEFG.TXT", true, true, true},
        {"20261210-12345678-X-01-ABCDEFG.TXT", true, false, true},
        {"20261210-12345678-Y-01-ABCDEFG.TXT", true, true, true},
        {"20261210-12345678-s-01-ABCDEFG.TXT", true, false, false},
        {"20261210-12345678-01.TXT", false, false, false},
    };
    for (const Case& c : cases) {
        NameInterval n = IntervalFromName(c.name);
        EXPECT_EQ(n.known, c.known) << c.name;
        EXPECT_EQ(n.hundredths, c.hundredths) << c.name;
        EXPECT_EQ(n.locked, c.locked) << c.name;
    }
}

TEST(DataFileName, LockedNamesAndKey) {
    EXPECT_EQ(LockedNameOf("20261210-12345678-S-01-ABCDEFG.TXT"),
              "20261210-12345678-X-01-ABCDEFG.TXT");
    EXPECT_EQ(LockedNameOf("20261210-12345678-C-01-ABCDEFG.TXT"),
              "20261210-12345678-Y-01-ABCDEFG.TXT");
    EXPECT_EQ(UnlockedNameOf("20261210-12345678-X-01-ABCDEFG.TXT"),
              "20261210-12345678-S-01-ABCDEFG.TXT");
    EXPECT_EQ(UnlockedNameOf("20261210-12345678-Y-01-ABCDEFG.TXT"),
              "20261210-12345678-C-01-ABCDEFG.TXT");
    EXPECT_FALSE(LockedNameOf("20261210-12345678-M-01-ABCDEFG.TXT"));
    EXPECT_FALSE(UnlockedNameOf("20261210-12345678-01.TXT"));
    const std::string name = "20261210-12345678-X-01-ABCDEFG.TXT";
    int sum = 0;
    for (char c : name)
        sum += static_cast<unsigned char>(c);
    EXPECT_EQ(LockKey(name), sum % 256);
    EXPECT_NE(LockKey(name), 0);
}

}  // namespace
}  // namespace ondavia
