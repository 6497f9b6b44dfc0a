#pragma once
// The line split of every text file the system reads (INI documents, print flow files): a line
// ends at LF, and a CR right before that LF belongs to the line end; a lone CR is text. A last
// line without a line end counts, an empty file has no lines. Lines are handed over as views into
// the contents, without a copy.

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace velmarin::text {

template <typename Visit>
void ForEachLine(const std::string& contents, Visit&& visit) {
    const char* const data = contents.data();
    const std::size_t size = contents.size();
    std::size_t begin = 0;
    while (begin < size) {
        const void* found = std::memchr(data + begin, '\n', size - begin);
        const std::size_t newline =
            found == nullptr ? size
                             : static_cast<std::size_t>(static_cast<const char*>(found) - data);
        std::size_t end = newline;
        if (found != nullptr && end > begin && data[end - 1] == '\r') --end;
        visit(std::string_view(data + begin, end - begin));
        begin = newline + 1;
    }
}

}  // namespace velmarin::text
