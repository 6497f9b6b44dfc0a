#include "Shown.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Encoding.h"
#include "platform/FileText.h"
#include "util/Paths.h"

namespace velmarin::inspect {

std::string Shown(const std::string& gbk) { return platform::GbkToUtf8(gbk); }

std::string ShownPath(const std::string& path) {
    const std::string asGbk = platform::GbkToUtf8(path);
    if (!util::DriveOf(path).empty()) return asGbk;
    // The file system's bytes: UTF-8 when they read as UTF-8 the system can spell. Some GBK
    // names are valid UTF-8 too (the bytes of 图纸 are), naming characters GBK lacks.
    if (!platform::IsValidUtf8(path)) return asGbk;
    const bool notGbk = asGbk.find("\xEF\xBF\xBD") != std::string::npos;  // U+FFFD
    return notGbk || platform::LineAsGbk(path) != path ? path : asGbk;
}

std::string Quoted(const std::string& gbk) {
    std::string out = "\"";
    for (const char c : Shown(gbk)) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

std::string ShownNumber(double value) {
    if (!std::isfinite(value)) return std::isnan(value) ? "nan" : value < 0 ? "-inf" : "inf";
    if (value == 0.0) return "0";  // and -0, which reads back as the same position
    char buffer[48];
    int digits = 1;
    for (; digits < 17; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
        if (std::strtod(buffer, nullptr) == value) break;
    }
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    // Those digits without an exponent (240, not 2.4e+02) unless the number is far from the
    // sizes of a drawing.
    const char* exponent = std::strchr(buffer, 'e');
    if (exponent != nullptr) {
        const int power = std::atoi(exponent + 1);
        if (power >= -6 && power <= 15) {
            std::snprintf(buffer, sizeof buffer, "%.*f", std::max(0, digits - 1 - power), value);
        }
    }
    return buffer;
}

}  // namespace velmarin::inspect
