// ondavia-dayfile OUTDIR
//
// Writes one synthetic full day of 1-second records (86,400) into OUTDIR, for
// comparing builds and timing the command-line tool on a realistic size.
#include <cstdio>
#include <string>

#include "common/fileio.hpp"
#include "support/synthetic.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: ondavia-dayfile OUTDIR\n", stderr);
        return 2;
    }
    const std::filesystem::path path =
        ondavia::PathFromText(argv[1]) / "20261210-FULLDAY1-S-01-ABCDEFG.TXT";
    ondavia::WriteResult r =
        ondavia::WriteOutputFile(path, ondavia::test::SyntheticDayFile(86'400, false));
    if (!r) {
        std::fprintf(stderr, "%s: %s\n", argv[1], r.Describe().c_str());
        return 1;
    }
    return 0;
}
