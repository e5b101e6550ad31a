// Commands that live in files of their own register here, so that adding
// one touches nothing else.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/filelist.hpp"
#include "data/recording.hpp"

namespace ondavia::cli {

using Command =
    std::function<int(const std::vector<std::string>& args, std::string& out, std::string& err)>;
std::map<std::string, Command>& ExtraCommands();

// Registers a command at start-up: `static CommandRegistration r("name", Fn);`
struct CommandRegistration {
    CommandRegistration(const std::string& name, Command command) {
        ExtraCommands()[name] = std::move(command);
    }
};

// Takes a file as the file list would, then validates and loads it; on
// refusal the reason goes to err.
std::optional<Recording> OpenFile(const std::string& path, std::string& err);

// The files the file list shows for a folder (a work date of eight digits
// when given). kUsage for a bad date, kRefused when the folder cannot be
// listed; the reason goes to err.
int ListFolder(const std::string& dir, const std::optional<std::string>& date,
               std::vector<ListedFile>& files, std::string& err);

// Appends a CSV field, quoted when it holds a comma, a quote or a line break.
void AppendCsvField(std::string& out, std::string_view s);

// Writes the output file named with -o (see WriteOutputFile). On failure err
// gets the failure text, the path and the system's reason, and the command
// should exit with kRefused.
bool WriteOutput(const std::string& path, std::string_view bytes, std::string_view failure,
                 std::string& err);

}  // namespace ondavia::cli
