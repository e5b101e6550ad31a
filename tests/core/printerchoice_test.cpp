#include <gtest/gtest.h>

#include "output/printerchoice.hpp"

namespace ondavia {
namespace {

TEST(PrinterChoice, RememberedNameMatchesIgnoringCaseOfAToZAndSurroundingBlanks) {
    struct Case {
        const char *installed, *remembered;
        bool same;
    } cases[] = {
        {"Office Laser", "office laser", true},
        {"Office Laser", "  OFFICE LASER\t", true},
        {"Office Laser", "Office  Laser", false},
        {"Office-Laser", "Office_Laser", false},
        {"사무실 프린터", "사무실 프린터", true},
        {"Ä-Drucker", "ä-drucker", false},
        {"", "   ", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SamePrinterName(c.installed, c.remembered), c.same) << c.remembered;
}

TEST(PrinterChoice, TheLastMatchingPrinterWins) {
    std::vector<std::string> installed = {"PDF", "Laser", "laser ", "Ink"};
    EXPECT_EQ(FindRememberedPrinter(installed, "LASER"), 2);
    EXPECT_EQ(FindRememberedPrinter(installed, "pdf"), 0);
    EXPECT_EQ(FindRememberedPrinter(installed, "Gone"), -1);
    EXPECT_EQ(FindRememberedPrinter(installed, ""), -1);
    EXPECT_EQ(FindRememberedPrinter({}, "Laser"), -1);
}

}  // namespace
}  // namespace ondavia
