// The INI document loader on arbitrary bytes: operation scripts come from the client and may be
// anything. Besides running clean under the sanitizers, the document must describe the lines it
// was given: every section and key can be found again under its own name.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "ini/TStringList.h"
#include "ini/TdaIniMgr.h"
#include "util/Text.h"

using namespace velmarin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TStringList lines;
    lines.SetText(bytes);

    std::size_t lineBytes = 0;
    for (const std::string& line : lines) {
        FUZZ_REQUIRE(line.find('\n') == std::string::npos);
        lineBytes += line.size();
    }
    FUZZ_REQUIRE(lineBytes <= bytes.size());

    TdaIniMgr document;
    document.ParseText(bytes);
    const int sectionCount = document.GetSectionCount();
    FUZZ_REQUIRE(document.GetSectionAt(-1) == nullptr);
    FUZZ_REQUIRE(document.GetSectionAt(sectionCount) == nullptr);

    for (int s = 0; s < sectionCount; ++s) {
        const TdaIniSec* section = document.GetSectionAt(s);
        FUZZ_REQUIRE(section != nullptr);
        FUZZ_REQUIRE(section->sectionName == text::Trim(section->sectionName));
        // Names may repeat; the first section of a name is the one found. Looking each name up
        // costs a scan of the sections, so only the first ones are checked.
        if (s < 64) {
            const TdaIniSec* found = document.FindSection(section->sectionName);
            int first = 0;
            while (!text::EqualsNoCase(document.GetSectionAt(first)->sectionName,
                                       section->sectionName)) {
                ++first;
            }
            FUZZ_REQUIRE(found == document.GetSectionAt(first));
        }

        const int recordCount = section->GetRecordCount();
        FUZZ_REQUIRE(section->GetRecordAt(recordCount) == nullptr);
        for (int r = 0; r < recordCount; ++r) {
            const TdaIniRecord* record = section->GetRecordAt(r);
            FUZZ_REQUIRE(record != nullptr && !record->recordKey.empty());
            FUZZ_REQUIRE(record->recordKey == text::Trim(record->recordKey));
            FUZZ_REQUIRE(record->recordValue == text::Trim(record->recordValue));
            // Keys are unique ignoring case: the key finds its own record.
            FUZZ_REQUIRE(section->FindRecord(record->recordKey) == record);
            FUZZ_REQUIRE(section->FindRecord(text::ToUpperAscii(record->recordKey)) == record);
        }
    }
    return 0;
}
