// ondavia-synthfile PATH RECORDS [hundredths]
//
// Writes a synthetic recording for the whole-process benchmarks, so large
// files are generated where they are measured instead of being kept.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/fileio.hpp"
#include "support/synthetic.hpp"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fputs("usage: ondavia-synthfile PATH RECORDS [hundredths]\n", stderr);
        return 2;
    }
    const int records = std::atoi(argv[2]);
    const bool hundredths = argc == 4 && std::string_view(argv[3]) == "hundredths";
    if (records <= 0) {
        std::fputs("RECORDS must be a positive number\n", stderr);
        return 2;
    }
    const std::string bytes = ondavia::test::SyntheticDayFile(records, hundredths);
    if (!ondavia::ReplaceFileAtomically(argv[1], bytes)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
