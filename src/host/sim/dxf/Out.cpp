#include "host/sim/dxf/Out.h"

#include <charconv>
#include <cmath>

namespace velmarin::host::sim::dxf {

std::string NumberText(double value) {
    if (!std::isfinite(value)) value = 0.0;  // no reader takes "inf" or "nan" for a coordinate
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

void DxfOut::raw(int code, std::string_view value) {
    const std::string number = std::to_string(code);
    if (format_.padCodes && number.size() < 3) out_.append(3 - number.size(), ' ');
    out_ += number;
    out_ += format_.lineEnd;
    out_ += value;
    out_ += format_.lineEnd;
}

void DxfOut::number(int code, double value) { raw(code, NumberText(value)); }

void DxfOut::integer(int code, std::int64_t value) { raw(code, std::to_string(value)); }

void DxfOut::point(int code, const Point3& p) {
    number(code, p.x);
    number(code + 10, p.y);
    number(code + 20, p.z);
}

void DxfOut::binary(int code, std::string_view bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    constexpr std::size_t kChunk = 127;
    for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
        std::string hex;
        const std::string_view chunk = bytes.substr(at, kChunk);
        hex.reserve(chunk.size() * 2);
        for (const char c : chunk) {
            const unsigned char byte = static_cast<unsigned char>(c);
            hex += kDigits[byte >> 4];
            hex += kDigits[byte & 15];
        }
        raw(code, hex);
    }
}

void DxfOut::endLine() {
    if (!out_.empty() && out_.back() != '\n' && out_.back() != '\r') out_ += format_.lineEnd;
}

}  // namespace velmarin::host::sim::dxf
