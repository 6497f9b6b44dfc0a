#include <string>

#include "util/TdaFunc.h"
#include "util/Text.h"

namespace velmarin {
namespace {

// The number before the first comma of `text` (atof rules), and the text after that comma.
// Without a comma there is no number: the value is 0 and `rest` is empty.
bool SplitLeadingNumber(const std::string& text, double& number, std::string& rest) {
    const std::size_t comma = text::Find(text, ',');
    if (comma == text::npos) {
        number = 0.0;
        rest.clear();
        return false;
    }
    number = text::LeadingDouble(text.substr(0, comma));
    rest = text.substr(comma + 1);
    return true;
}

}  // namespace

std::string TdaFunc::TrimText(std::string value) const { return text::Trim(value); }

int TdaFunc::FindNoCase(std::string needle, std::string haystack) const {
    // Upper-casing keeps every byte where it was, so the position holds for the original text.
    const std::size_t at = text::Find(text::ToUpperAscii(haystack), text::ToUpperAscii(needle));
    return at == text::npos ? -1 : static_cast<int>(at);
}

int TdaFunc::CompareNoCase(const std::string& a, const std::string& b) const {
    return text::CompareNoCase(a, b);
}

std::string TdaFunc::IntToText(int value) const { return std::to_string(value); }

void TdaFunc::ParsePlanePoint(std::string value, host::Point3& result,
                              const host::Point3& base) const {
    double x = 0.0;
    double y = 0.0;
    std::string rest;
    if (SplitLeadingNumber(value, x, rest)) {
        std::string ignored;
        SplitLeadingNumber(rest, y, ignored);
    }
    // The offset runs leftwards from the base in x and upwards in y.
    result.x = base.x - x;
    result.y = base.y + y;
    result.z = base.z;
}

int TdaFunc::ParseLeadingInt(std::string value) const {
    const std::size_t comma = text::Find(value, ',');
    if (comma == text::npos) return 0;
    return text::LeadingInt(value.substr(0, comma));
}

void TdaFunc::CommasToSpaces(std::string& value, int flag) const {
    if (flag != 1) return;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        if (text::IsLeadByte(c) && i + 1 < value.size()) {
            ++i;  // a trail byte is never a comma of its own
        } else if (c == ',') {
            value[i] = ' ';
        }
    }
}

}  // namespace velmarin
