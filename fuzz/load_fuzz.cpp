// Any bytes, taken as a data file under each kind of name and each layout,
// must load or fail cleanly: no crash, no hang, no leak, and no more memory
// than the records and one day of gap records need (the corpus's "dayjumps"
// seed is a 1-second file whose clock jumps a day forward and back).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/datetime.hpp"
#include "common/inifile.hpp"
#include "common/settings.hpp"
#include "data/layout.hpp"
#include "data/recording.hpp"

using namespace ondavia;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const char* const kNames[] = {
        "20261210-12345678-01.TXT",           "20261210-12345678-S-01-ABCDEFG.TXT",
        "20261210-12345678-C-01-ABCDEFG.TXT", "20261210-12345678-X-01-ABCDEFG.TXT",
        "20261210-12345678-N-01-ABCDEFG.TXT",
    };
    CheckTextLayoutBytes(bytes);
    for (const char* name : kNames) {
        for (FileLayout layout :
             {FileLayout::Packed, FileLayout::ExtendedLines, FileLayout::Lines}) {
            Validation v = ValidateDataBytes(name, bytes, SizesForMode(layout));
            if (!v.valid) continue;
            LoadOptions o;
            o.upperName = name;
            o.fileMode = layout;
            o.hundredths = v.hundredths;
            o.locked = v.locked;
            o.pivotYear = 2026;
            Recording rec;
            if (!LoadRecordingBytes(bytes, o, rec).ok()) continue;
            // Clock jumps must never fill more than one day of gap records.
            if (static_cast<std::int64_t>(rec.table.Count()) >
                static_cast<std::int64_t>(rec.rows.size()) + kMaxGapRecords)
                __builtin_trap();
            // Walk what the views read.
            for (const GridRow& row : rec.rows)
                (void)row.DateTimeText();
            if (rec.table.Count() > 0) rec.table.FindRecord(rec.table.Item(0).InfoTime.View());
        }
    }
    // The same bytes as a settings file and as a date-time text.
    IniText ini{std::string(bytes)};
    (void)ini.ReadInteger(kSectionGeneral, kKeySelectMap, 0);
    ini.Write(kSectionGeneral, kKeyRPMVisible, "1");
    (void)ParseDateTimeText(bytes.substr(0, 40), 0, 2026);
    return 0;
}
