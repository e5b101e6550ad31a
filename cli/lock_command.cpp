// ondavia-cli lock FILE / ondavia-cli unlock FILE
// Writes the locked (or plain) copy beside the file and prints one line:
// the target name, a tab, the result code.
#include <filesystem>

#include "command_table.hpp"
#include "commands.hpp"
#include "common/cp949.hpp"
#include "common/datetime.hpp"
#include "common/fileio.hpp"
#include "data/filelist.hpp"
#include "search/transform.hpp"

namespace ondavia::cli {

namespace {

int Transform(TransformDirection direction, const std::vector<std::string>& args, std::string& out,
              std::string& err) {
    if (args.size() != 2) return kUsage;
    const std::filesystem::path path = PathFromText(args[1]);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        err += "파일을 찾을 수 없습니다: " + args[1] + "\n";
        return kRefused;
    }
    // The layout decides the block sizes read, as in the file list.
    ListedFile listed;
    if (ExamineDataFile(path, CurrentYear(), listed) != ListingRefusal::None) {
        err += "운행기록 파일이 아닙니다: " + PathToText(path.filename()) + "\n";
        return kRefused;
    }
    if (TransformTargetName(direction, listed.UpperFileName()).empty()) {
        err += (direction == TransformDirection::Lock ? "암호화할 수 없는 파일 이름입니다: "
                                                      : "암호화 해제할 수 없는 파일 이름입니다: ") +
               listed.displayName + ".TXT\n";
        return kRefused;
    }
    TransformResult result = TransformDataFile(direction, path, listed.fileMode);
    out += Cp949ToUtf8(result.targetName) + "\t" + std::to_string(result.code) + "\n";
    return TransformSucceeded(result.code) ? kOk : kRefused;
}

int Lock(const std::vector<std::string>& args, std::string& out, std::string& err) {
    return Transform(TransformDirection::Lock, args, out, err);
}

int Unlock(const std::vector<std::string>& args, std::string& out, std::string& err) {
    return Transform(TransformDirection::Unlock, args, out, err);
}

const CommandRegistration kLockRegistration("lock", Lock);
const CommandRegistration kUnlockRegistration("unlock", Unlock);

}  // namespace

}  // namespace ondavia::cli
