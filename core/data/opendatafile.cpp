#include "opendatafile.hpp"

#include <algorithm>
#include <new>
#include <system_error>

#include "common/cp949.hpp"
#include "common/fileio.hpp"
#include "common/text.hpp"
#include "filelist.hpp"
#include "layout.hpp"

namespace ondavia {

namespace {

// A path as the user may read it: names on disk in cp949 are shown as such.
std::string PathText(const std::filesystem::path& path) {
    const std::string bytes = PathToText(path);
    return EscapeControls(IsValidUtf8(bytes) ? bytes : Cp949ToUtf8(bytes));
}

OpenedFile Refused(OpenRefusal refusal, std::string message, std::string detail = {}) {
    OpenedFile r;
    r.refusal = refusal;
    r.message = std::move(message);
    r.detail = std::move(detail);
    return r;
}

std::string ErrorText(int error) {
    return error ? std::generic_category().message(error) : std::string();
}

OpenedFile RefusedInput(const InputFile& file, const std::filesystem::path& path) {
    switch (file.status()) {
        case InputFile::Status::Missing:
            return Refused(OpenRefusal::NotFound, "파일을 찾을 수 없습니다: " + PathText(path));
        case InputFile::Status::NotRegular:
            return Refused(OpenRefusal::NotRegularFile, "일반 파일이 아닙니다: " + PathText(path));
        case InputFile::Status::Unreadable:
        case InputFile::Status::Open:
            break;
    }
    return Refused(OpenRefusal::Unreadable, "파일을 읽을 수 없습니다: " + PathText(path),
                   ErrorText(file.error()));
}

OpenedFile Open(const std::filesystem::path& path, int pivotYear) {
    InputFile file(path);
    if (!file.isOpen()) return RefusedInput(file, path);
    const std::string fileName = PathText(path.filename());

    auto name = DataFileNameOf(path, pivotYear);
    if (!name) return Refused(OpenRefusal::BadName, "운행기록 파일 이름이 아닙니다: " + fileName);

    // The first bytes tell the layout and, for names without a type letter,
    // the record interval.
    auto first = file.ReadFirst(
        std::max(kLayoutProbeBytes, ValidationProbeBytes(SizesForMode(FileLayout::ExtendedLines))));
    if (!first) return RefusedInput(file, path);
    auto layout = DetectLayoutBytes(*first, file.size());
    if (!layout)
        return Refused(OpenRefusal::UnknownLayout, "운행기록 파일 형식이 아닙니다: " + fileName);
    if (TooManyRecordBlocks(file.size(), *layout))
        return Refused(OpenRefusal::TooLarge, "파일이 너무 커서 열 수 없습니다: " + fileName,
                       "more than " + std::to_string(kMaxRecordBlocks) + " records");

    const ListedFile listed = MakeListedFile(path, *name, *layout);
    LoadOptions options;
    options.upperName = listed.UpperFileName();
    options.fileMode = listed.fileMode;
    options.pivotYear = pivotYear;
    const Validation v = ValidateDataBytes(options.upperName, *first, SizesForMode(*layout));
    if (!v.valid)
        return Refused(OpenRefusal::LoadFailed, kLoadFailedMessage,
                       "the first records are incomplete");
    options.hundredths = v.hundredths;
    options.locked = v.locked;

    OpenedFile opened;
    opened.recording.emplace();
    LoadResult r = LoadRecordingFile(file, options, *opened.recording);
    if (r.ok()) return opened;
    if (r.error == LoadError::OpenFailed && !file.isOpen()) return RefusedInput(file, path);
    if (r.error == LoadError::TooLarge)
        return Refused(OpenRefusal::TooLarge, "파일이 너무 커서 열 수 없습니다: " + fileName,
                       DescribeLoadError(r));
    return Refused(OpenRefusal::LoadFailed, kLoadFailedMessage, DescribeLoadError(r));
}

}  // namespace

OpenedFile OpenDataFile(const std::filesystem::path& path, int pivotYear) {
    try {
        return Open(path, pivotYear);
    } catch (const std::bad_alloc&) {
        return Refused(OpenRefusal::LoadFailed, kLoadFailedMessage,
                       DescribeLoadError({LoadError::OutOfMemory, 0}));
    }
}

}  // namespace ondavia
