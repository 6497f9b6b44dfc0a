// The INI document loader on arbitrary bytes: operation scripts come from the client and may be
// anything. Besides running clean under the sanitizers, the document must describe the lines it
// was given: every section and key can be found again under its own name.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "ini/IniDocument.h"
#include "util/Lines.h"
#include "util/Text.h"

using namespace velmarin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::size_t lineBytes = 0;
    text::ForEachLine(bytes, [&](std::string_view line) {
        FUZZ_REQUIRE(line.find('\n') == std::string_view::npos);
        lineBytes += line.size();
    });
    FUZZ_REQUIRE(lineBytes <= bytes.size());

    IniDocument document;
    document.ParseText(bytes);
    const int sectionCount = document.GetSectionCount();
    FUZZ_REQUIRE(document.GetSectionAt(-1) == nullptr);
    FUZZ_REQUIRE(document.GetSectionAt(sectionCount) == nullptr);

    for (int s = 0; s < sectionCount; ++s) {
        const IniSection* section = document.GetSectionAt(s);
        FUZZ_REQUIRE(section != nullptr);
        FUZZ_REQUIRE(section->sectionName == text::Trim(section->sectionName));
        // Names may repeat; the first section of a name is the one found. Looking each name up
        // costs a scan of the sections, so only the first ones are checked.
        if (s < 64) {
            const IniSection* found = document.FindSection(section->sectionName);
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
            const IniEntry* record = section->GetRecordAt(r);
            FUZZ_REQUIRE(record != nullptr && !record->key.empty());
            FUZZ_REQUIRE(record->key == text::Trim(record->key));
            FUZZ_REQUIRE(record->value == text::Trim(record->value));
            // Keys are unique ignoring case: the key finds its own record.
            FUZZ_REQUIRE(section->FindRecord(record->key) == record);
            FUZZ_REQUIRE(section->FindRecord(text::ToUpperAscii(record->key)) == record);
        }
    }
    return 0;
}
