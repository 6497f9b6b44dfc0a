#include "host/sim/database/ErrorText.h"

namespace velmarin::host::sim {

std::string OneLine(const std::string& message) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(message.size());
    for (const char c : message) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace velmarin::host::sim
