#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "common/cp949.hpp"
#include "common/text.hpp"

namespace ondavia {
namespace {

TEST(Text, IsIntegerText) {
    struct Case {
        const char* text;
        bool expected;
    } cases[] = {
        {"01", true},   {" 7", true},         {"7 ", true},          {"\t-12\r", true},
        {"+3", true},   {"2147483647", true}, {"-2147483648", true}, {"2147483648", false},
        {"", false},    {"  ", false},        {"1a", false},         {"1.0", false},
        {"- 1", false}, {"ab", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsIntegerText(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Text, PaddingAndCharacters) {
    EXPECT_EQ(ZeroPad(7, 3, '0'), "007");
    EXPECT_EQ(ZeroPad(1234, 2, '0'), "34");
    EXPECT_EQ(ZeroPad(5, 0, '0'), "");
    EXPECT_EQ(RepeatChar(3, '*'), "***");
    EXPECT_EQ(RepeatChar(-1, '*'), "");
    EXPECT_EQ(ReplaceChar("a_b_c", '_', '0'), "a0b0c");
    EXPECT_EQ(RemoveChar("2026-12-11", '-'), "20261211");
    EXPECT_EQ(TextBefore("  key = value ", '='), "key");
    EXPECT_EQ(TextBefore(" no delimiter ", '='), "no delimiter");
    EXPECT_EQ(TextAfterLast("DTG#A#  MODEL  ", '#'), "MODEL");
    EXPECT_EQ(TextAfterLast("  plain  ", '#'), "plain");
    EXPECT_EQ(TextAfterLast("ends with#", '#'), "");
}

TEST(Text, CellName) {
    struct Case {
        int column, row;
        const char* expected;
    } cases[] = {
        {1, 0, "A"},     {26, 0, "Z"},   {27, 5, "AA5"},   {52, 0, "AZ"},
        {53, 0, "BA"},   {0, 1, "A1"},   {-4, 0, "A"},     {256, 0, "IV"},
        {257, 3, "IV3"}, {300, 0, "IV"}, {78, 10, "BZ10"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CellName(c.column, c.row), c.expected) << c.column;
}

TEST(Text, Checksums) {
    EXPECT_EQ(XorChecksumHex("abc"), "60");
    EXPECT_EQ(XorChecksumHex("GPRMC,1"), "56");
    EXPECT_EQ(XorChecksumHex("A"), "41");
    // Byte sums that are multiples of 256 give 1, never 0.
    EXPECT_EQ(NameChecksum(std::string(4, static_cast<char>(128))), 1);  // 512
    EXPECT_EQ(NameChecksum(std::string(2, static_cast<char>(128))), 1);  // 256
    EXPECT_EQ(NameChecksum("A"), 65);
    EXPECT_EQ(NameChecksum(""), 1);
    // cp949 bytes count, not characters: 가 is B0 A1.
    EXPECT_EQ(NameChecksum(*Utf8ToCp949("가")), 0xB0 + 0xA1);
}

TEST(Text, UpperCaseLeavesDoubleByteCharactersAlone) {
    // 똠 is 8C 63 in cp949: its trail byte is a lower-case 'c'.
    std::string name = *Utf8ToCp949("a똠b.txt");
    std::string upper = UpperCp949(name);
    EXPECT_EQ(Cp949ToUtf8(upper), "A똠B.TXT");
}

TEST(Text, EscapeControlsKeepsEveryNameOnOneLineAndDistinct) {
    struct Case {
        const char* text;
        const char* shown;
    } cases[] = {
        {"20261210-12345678-S-01-서울가", "20261210-12345678-S-01-서울가"},  // unchanged
        {"a\tb\nc\rd", "a\\tb\\nc\\rd"},
        {"\x1b[2J\x7f\x01", "\\x1b[2J\\x7f\\x01"},
        {"a\\tb", "a\\\\tb"},  // a backslash and a t, not a tab
        {"\xc2\x9b"
         "31m \xc2\xa0",
         "\\u009b31m \xc2\xa0"},  // C1 control; no-break space kept
    };
    for (const Case& c : cases)
        EXPECT_EQ(EscapeControls(c.text), c.shown) << c.shown;
}

TEST(Text, NumberReaders) {
    EXPECT_EQ(ReadInteger("  42"), 42);
    EXPECT_EQ(ReadInteger("-007"), -7);
    EXPECT_FALSE(ReadInteger("42 "));
    EXPECT_FALSE(ReadInteger(""));
    EXPECT_FALSE(ReadInteger("4 2"));
    EXPECT_EQ(ReadHex("00001A"), 26);
    EXPECT_EQ(ReadHex("fFfFfF"), 0xFFFFFF);
    EXPECT_FALSE(ReadHex(" 0001A"));
    EXPECT_FALSE(ReadHex("0x1A"));

    struct Case {
        const char* text;
        std::optional<double> expected;
    } reals[] = {
        {"+01.50", 1.5}, {"-04.90", -4.9}, {" 14.7 ", 14.7}, {"0", 0.0},  {"1.", 1.0},
        {".5", 0.5},     {"1E2", 100.0},   {"", {}},         {"abc", {}}, {"inf", {}},
        {"nan", {}},     {"1.2.3", {}},    {"9E999", {}},    {"1,5", {}}, {"--1", {}},
    };
    for (const Case& c : reals)
        EXPECT_EQ(ReadReal(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Text, DirectRealReadingMatchesTheFullDecimalReader) {
    // Every six-character field over the characters a record field may hold.
    const char alphabet[] = "+-.0123456789 e";
    std::uint32_t seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        std::string field;
        for (int k = 0; k < 6; ++k) {
            seed = seed * 1664525u + 1013904223u;
            field.push_back(alphabet[(seed >> 16) % (sizeof alphabet - 1)]);
        }
        auto fast = ReadReal(field);
        auto slow = ReadRealSlow(field);
        ASSERT_EQ(fast.has_value(), slow.has_value()) << '"' << field << '"';
        if (fast) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(*fast), std::bit_cast<std::uint64_t>(*slow))
                << '"' << field << '"';
        }
    }
}

TEST(Cp949, RoundTripsKoreanAndReplacesBrokenBytes) {
    const std::string text = "서울32바1234 똠방각하";
    auto bytes = Utf8ToCp949(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(Cp949ToUtf8(*bytes), text);
    // A lead byte cut off at the end of a fixed-width field.
    EXPECT_EQ(Cp949ToUtf8(std::string("AB\xB0", 3)), "AB\xEF\xBF\xBD");
    EXPECT_FALSE(Utf8ToCp949("\xF0\x9F\x98\x80"));  // an emoji has no cp949 form
    EXPECT_FALSE(IsValidUtf8(std::string("\xB0\xA1", 2)));
    EXPECT_TRUE(IsValidUtf8("가나다"));
}

}  // namespace
}  // namespace ondavia
