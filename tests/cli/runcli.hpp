// Runs ondavia-cli's commands in the test process, as main() would.
#pragma once

#include <string>
#include <vector>

#include "commands.hpp"

namespace ondavia::test {

struct CliResult {
    int code;
    std::string out, err;
};

inline CliResult Cli(std::vector<std::string> args) {
    CliResult r;
    r.code = cli::Run(args, r.out, r.err);
    return r;
}

}  // namespace ondavia::test
