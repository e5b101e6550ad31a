#include <gtest/gtest.h>

#include "data/layout.hpp"
#include "support/builders.hpp"

namespace ondavia {
namespace {

using test::MakeHeader;
using test::MakeRecord;
using test::RecordFields;

TEST(Layout, PackedSizes) {
    EXPECT_FALSE(PackedSizeFits(146));
    EXPECT_TRUE(PackedSizeFits(147));
    EXPECT_FALSE(PackedSizeFits(148));
    EXPECT_TRUE(PackedSizeFits(79 + 68 * 1000));
    EXPECT_FALSE(PackedSizeFits(79 + 68 * 1000 + 1));
    EXPECT_FALSE(PackedSizeFits(79));
    EXPECT_FALSE(PackedSizeFits(0));
}

TEST(Layout, TextLayoutByLineLengths) {
    const std::string h = MakeHeader();
    RecordFields ext;
    ext.extended = true;
    struct Case {
        const char* what;
        std::string bytes;
        std::optional<FileLayout> mode;
    } cases[] = {
        {"68-character records", h + "\r\n" + MakeRecord() + "\r\n", FileLayout::Lines},
        {"87-character records", h + "\r\n" + MakeRecord(ext) + "\r\n", FileLayout::ExtendedLines},
        {"last line without break", h + "\r\n" + MakeRecord(), FileLayout::Lines},
        {"69-character record", h + "\r\n" + MakeRecord() + "X\r\n", std::nullopt},
        {"78-character header", h.substr(1) + "\r\n" + MakeRecord() + "\r\n", std::nullopt},
        {"bare line feeds", h + "\n" + MakeRecord() + "\n", std::nullopt},
        {"packed", h + MakeRecord(), std::nullopt},
        {"header only", h + "\r\n", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckTextLayoutBytes(c.bytes), c.mode) << c.what;
}

TEST(Layout, DetectLayoutTriesTextThenPacked) {
    test::TempDir dir;
    const std::string h = MakeHeader();
    EXPECT_EQ(DetectLayout(dir.Write("a", h + "\r\n" + MakeRecord() + "\r\n")), FileLayout::Lines);
    EXPECT_EQ(DetectLayout(dir.Write("b", h + MakeRecord() + MakeRecord())), FileLayout::Packed);
    // A 69-character second line is not text, but the size may still fit the packed rule.
    std::string odd = h + "\r\n" + MakeRecord() + "X\r\n";
    odd += std::string(79 + 68 * 3 - odd.size(), '0');
    EXPECT_EQ(DetectLayout(dir.Write("c", odd)), FileLayout::Packed);
    EXPECT_EQ(DetectLayout(dir.Write("d", h + MakeRecord() + "1")), std::nullopt);
    EXPECT_EQ(DetectLayout(dir.path() / "missing"), std::nullopt);
    EXPECT_EQ(DetectLayout(dir.path()), std::nullopt);  // a folder is not a data file
}

std::string WithHundredths(std::initializer_list<const char*> values) {
    std::string body = MakeHeader();
    for (const char* v : values) {
        RecordFields f;
        f.hundredths = v;
        body += MakeRecord(f);
    }
    return body;
}

TEST(Layout, ValidateFindsHundredthsFromContent) {
    const char* plain = "20261210-12345678-01.TXT";
    const BlockSizes packed = SizesForMode(FileLayout::Packed);
    struct Case {
        const char* what;
        std::string bytes;
        bool valid, hundredths;
    } cases[] = {
        {"four 00 and a fifth", WithHundredths({"00", "00", "00", "00", "37"}), true, false},
        {"second 50, more follows", WithHundredths({"00", "50", "00"}), true, true},
        {"first 10, more follows", WithHundredths({"10", "20"}), true, true},
        {"last record 50, nothing follows", WithHundredths({"00", "00", "50"}), true, false},
        {"three 00", WithHundredths({"00", "00", "00"}), true, false},
        {"short header", MakeHeader().substr(0, 50), false, true},
        {"short third record", WithHundredths({"00", "00", "00"}).substr(0, 79 + 68 * 2 + 10),
         false, true},
        {"short sixth record is never read",
         WithHundredths({"00", "00", "00", "00", "00", "00"}).substr(0, 79 + 68 * 5 + 10), true,
         false},
    };
    for (const auto& c : cases) {
        Validation v = ValidateDataBytes(plain, c.bytes, packed);
        EXPECT_EQ(v.valid, c.valid) << c.what;
        if (v.valid) {
            EXPECT_EQ(v.hundredths, c.hundredths) << c.what;
        }
        EXPECT_FALSE(v.locked) << c.what;
    }
}

TEST(Layout, ValidateTakesTypeLettersWithoutReading) {
    Validation s = ValidateDataBytes("20261210-12345678-S-01-ABCDEFG.TXT", "",
                                     SizesForMode(FileLayout::Packed));
    EXPECT_TRUE(s.valid);
    EXPECT_FALSE(s.hundredths);
    EXPECT_FALSE(s.locked);
    Validation n = ValidateDataFile("20261210-12345678-N-01-ABCDEFG.TXT", "/does/not/exist",
                                    SizesForMode(FileLayout::Lines));
    EXPECT_TRUE(n.valid);
    EXPECT_TRUE(n.hundredths);
    EXPECT_TRUE(n.locked);
    EXPECT_FALSE(ValidateDataFile("20261210-12345678-01.TXT", "/does/not/exist",
                                  SizesForMode(FileLayout::Lines))
                     .valid);
}

}  // namespace
}  // namespace ondavia
