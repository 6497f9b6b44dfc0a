#include "host/sim/database/SymbolName.h"

#include "platform/DoubleByte.h"

namespace velmarin::host::sim {

std::string FoldedName(const std::string& name) {
    std::string folded = name;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(folded[i]);
        if (platform::IsLeadByte(c)) {
            ++i;  // the trail byte stays as it is
        } else if (c >= 'a' && c <= 'z') {
            folded[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return folded;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]);
        const unsigned char y = static_cast<unsigned char>(b[i]);
        if (platform::IsLeadByte(x)) {
            // A double-byte character matches only itself, trail byte included.
            if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        const auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
        if (upper(x) != upper(y)) return false;
    }
    return true;
}

}  // namespace velmarin::host::sim
