#include <cstdio>
#include <string>
#include <vector>

#include "commands.hpp"
#include "common/fileio.hpp"

namespace {

int RunWith(const std::vector<std::string>& args) {
    // Output is bytes: cp949 or UTF-8 text and exported files, never
    // rewritten by the system on the way out.
    ondavia::UseBinaryStandardStreams();
    std::string out, err;
    int code = ondavia::cli::Run(args, out, err);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fwrite(err.data(), 1, err.size(), stderr);
    return code;
}

}  // namespace

#ifdef _WIN32
// Windows hands the command line over as UTF-16; file names reach the
// commands as UTF-8, whatever the system's code page.
int wmain(int argc, wchar_t** argv) { return RunWith(ondavia::ArgumentsFromWide(argc, argv)); }
#else
int main(int argc, char** argv) { return RunWith(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
