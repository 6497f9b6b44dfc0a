#include "bom/CellText.h"

#include <cstddef>
#include <vector>

#include "util/Text.h"

namespace velmarin::bom {

std::string StripMTextFormat(const std::string& contents) {
    // The backslashes, found stepping over double-byte characters: a trail byte 0x5C is none.
    std::vector<std::size_t> backslashes;
    for (std::size_t i = 0; i < contents.size(); i += text::CharWidth(contents, i)) {
        if (contents[i] == '\\') backslashes.push_back(i);
    }
    std::size_t end = contents.size();
    for (auto it = backslashes.rbegin(); it != backslashes.rend(); ++it) {
        const std::size_t start = *it + 2;
        if (start < end) return contents.substr(start, end - start);
        const bool paragraphBreak = *it + 1 < end && contents[*it + 1] == 'P';
        if (!paragraphBreak) return std::string();
        end = *it;
    }
    return contents.substr(0, end);
}

}  // namespace velmarin::bom
