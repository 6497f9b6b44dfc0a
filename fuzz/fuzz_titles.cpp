// Title texts of a drawing: splitting "label:value" texts at a colon or the template's separator,
// and stripping multiline-text format codes. Drawings come from anywhere, so the texts are
// arbitrary bytes. Invariants: splitting never invents bytes, a found separator splits the text
// into its two sides exactly, and stripping only ever removes bytes.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "bom/BomTypes.h"
#include "bom/CellText.h"
#include "drawing/TitleTextReader.h"
#include "util/Text.h"

using namespace velmarin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string separator = input.ConsumeRandomLengthString(8);
    const std::string textValue = input.ConsumeRemainingBytesAsString();

    std::string left;
    std::string right;
    TitleTextReader::SplitAtSeparator(textValue, separator, left, right);
    const std::size_t at = text::Find(textValue, separator);
    if (at == text::npos) {
        FUZZ_REQUIRE(left == textValue && right.empty());
    } else {
        FUZZ_REQUIRE(left + separator + right == textValue && left.size() == at);
    }

    std::string name;
    std::string value;
    TitleTextReader::SplitColonText(textValue, name, value);
    FUZZ_REQUIRE(name.size() + value.size() <= textValue.size());

    const std::string stripped = TitleTextReader::StripTextFormatting(textValue);
    FUZZ_REQUIRE(stripped.size() <= textValue.size());

    const std::string cell = bom::StripMTextFormat(textValue);
    FUZZ_REQUIRE(cell.size() <= textValue.size());
    FUZZ_REQUIRE(textValue.find(cell) != std::string::npos);
    return 0;
}
