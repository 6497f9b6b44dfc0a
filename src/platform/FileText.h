#pragma once
// Text files that people write for the emulator (command scripts, the registry file) come in
// UTF-8 or in the system's GBK, often with the byte-order mark Windows editors put first. The
// system works in GBK; these helpers give a file's text as GBK by one rule for every such file.
//
// The rule, line by line: a line that is valid UTF-8 and converts to GBK without losing a
// character is UTF-8; any other line is GBK already. Some GBK texts are valid UTF-8 too (the
// GBK bytes of 图纸 are), but then they name characters GBK lacks, so the conversion would
// lose them and the line is kept as it is.

#include <algorithm>
#include <string>

#include "platform/Encoding.h"

namespace velmarin::platform {

inline constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// `text` without a leading UTF-8 byte-order mark.
inline std::string WithoutByteOrderMark(std::string text) {
    if (text.compare(0, 3, kUtf8ByteOrderMark) == 0) text.erase(0, 3);
    return text;
}

// One line of such a file as GBK.
inline std::string LineAsGbk(const std::string& line) {
    std::string gbk;
    if (!IsValidUtf8(line) || !Utf8ToGbk(line, gbk)) return line;
    const auto lost =
        std::count(gbk.begin(), gbk.end(), '?') - std::count(line.begin(), line.end(), '?');
    return lost > 0 ? line : gbk;
}

// A whole file as GBK: the mark dropped, each line taken by the rule above, line ends kept.
inline std::string FileTextAsGbk(const std::string& bytes) {
    const std::string text = WithoutByteOrderMark(bytes);
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        out += LineAsGbk(text.substr(at, end - at));
        if (end < text.size()) out += '\n';
        at = end + 1;
    }
    return out;
}

}  // namespace velmarin::platform
