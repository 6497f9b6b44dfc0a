// The INI document loader on arbitrary bytes: operation scripts come from the client and may be
// anything. Besides running clean under the sanitizers, the document must describe the lines it
// was given: every section and key can be found again under its own name.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ini/TStringList.h"
#include "ini/TdaIniMgr.h"
#include "util/Text.h"

using namespace velmarin;

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TStringList lines;
    lines.SetText(bytes);

    std::size_t lineBytes = 0;
    for (const std::string& line : lines) {
        Require(line.find('\n') == std::string::npos);
        lineBytes += line.size();
    }
    Require(lineBytes <= bytes.size());

    TdaIniMgr document;
    document.Parse(lines);
    const int sectionCount = document.GetSectionCount();
    Require(document.GetSectionAt(-1) == nullptr);
    Require(document.GetSectionAt(sectionCount) == nullptr);

    for (int s = 0; s < sectionCount; ++s) {
        const TdaIniSec* section = document.GetSectionAt(s);
        Require(section != nullptr);
        Require(section->sectionName == text::Trim(section->sectionName));
        // Names may repeat; the first section of a name is the one found.
        const TdaIniSec* found = document.FindSection(section->sectionName);
        Require(found != nullptr && text::EqualsNoCase(found->sectionName, section->sectionName));
        if (s < 64) {
            int first = 0;
            while (!text::EqualsNoCase(document.GetSectionAt(first)->sectionName,
                                       section->sectionName)) {
                ++first;
            }
            Require(found == document.GetSectionAt(first));
        }

        const int recordCount = section->GetRecordCount();
        Require(section->GetRecordAt(recordCount) == nullptr);
        for (int r = 0; r < recordCount; ++r) {
            const TdaIniRecord* record = section->GetRecordAt(r);
            Require(record != nullptr && !record->recordKey.empty());
            Require(record->recordKey == text::Trim(record->recordKey));
            Require(record->recordValue == text::Trim(record->recordValue));
            // Keys are unique ignoring case: the key finds its own record.
            Require(section->FindRecord(record->recordKey) == record);
            Require(section->FindRecord(text::ToUpperAscii(record->recordKey)) == record);
        }
    }
    return 0;
}
