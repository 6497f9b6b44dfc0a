#include "util/Text.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <locale>
#include <sstream>

namespace velmarin::text {

std::string Trim(const std::string& s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsWhite(static_cast<unsigned char>(s[begin]))) ++begin;
    while (end > begin && IsWhite(static_cast<unsigned char>(s[end - 1]))) --end;
    return s.substr(begin, end - begin);
}

std::size_t Find(const std::string& s, const std::string& needle, std::size_t from) {
    if (needle.empty()) return from <= s.size() ? from : npos;
    std::size_t i = 0;
    while (i < s.size()) {
        if (i >= from && s.compare(i, needle.size(), needle) == 0) return i;
        i += CharWidth(s, i);
    }
    return npos;
}

std::size_t Find(const std::string& s, char c, std::size_t from) {
    // The single-character case of the search above, without a comparison call per byte: the
    // INI reader runs it over every line it loads.
    for (std::size_t i = 0; i < s.size();) {
        if (i >= from && s[i] == c) return i;
        i += CharWidth(s, i);
    }
    return npos;
}

std::size_t FindLast(const std::string& s, char c) {
    std::size_t found = npos;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == c) found = i;
        i += CharWidth(s, i);
    }
    return found;
}

bool Contains(const std::string& s, const std::string& needle) { return Find(s, needle) != npos; }

std::string ToUpperAscii(std::string s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (IsLeadByte(c) && i + 1 < s.size()) {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            s[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return s;
}

int CompareNoCase(const std::string& a, const std::string& b) {
    const std::string ua = ToUpperAscii(a);
    const std::string ub = ToUpperAscii(b);
    return ua.compare(ub);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = FindLast(path, '\\');
    return slash == npos ? path : path.substr(slash + 1);
}

std::string ReplaceExtension(const std::string& path, const std::string& extension) {
    const std::size_t dot = FindLast(path, '.');
    const std::size_t slash = FindLast(path, '\\');
    const bool inName = dot != npos && (slash == npos || dot > slash);
    return (inName ? path.substr(0, dot) : path) + extension;
}

int LeadingInt(const std::string& s) {
    errno = 0;
    const long value = std::strtol(s.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

double LeadingDecimal(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && IsWhite(static_cast<unsigned char>(s[i]))) ++i;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
    bool digits = false;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, digits = true) number += s[i];
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, digits = true) number += s[i];
    }
    if (!digits) return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
            number.append(s, i, j - i);
        }
    }
    // Only the characters above reach the conversion, so its locale and hexadecimal forms never
    // come into play; the C locale's point is the only decimal point the files use.
    std::istringstream in(number);
    in.imbue(std::locale::classic());
    double value = 0.0;
    in >> value;
    if (in.fail()) {
        // Out of range: the stream gives no value; the sign and the exponent tell which limit.
        const bool negative = number[0] == '-';
        const std::size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string::npos && number.compare(e + 1, 1, "-") == 0;
        if (tiny) return negative ? -0.0 : 0.0;
        return negative ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

}  // namespace velmarin::text
