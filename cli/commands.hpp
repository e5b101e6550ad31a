// The command-line tool's commands, callable in-process for the tests.
#pragma once

#include <string>
#include <vector>

namespace ondavia::cli {

// Exit codes.
inline constexpr int kOk = 0;
inline constexpr int kRefused = 1;
inline constexpr int kUsage = 2;

// Runs one command; args exclude the program name. Output is UTF-8.
int Run(const std::vector<std::string>& args, std::string& out, std::string& err);

}  // namespace ondavia::cli
