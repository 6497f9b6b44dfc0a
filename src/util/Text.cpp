#include "util/Text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

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
        i += (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    }
    return npos;
}

std::size_t Find(const std::string& s, char c, std::size_t from) {
    // The single-character case of the search above, without a comparison call per byte: the
    // INI reader runs it over every line it loads.
    for (std::size_t i = 0; i < s.size();) {
        if (i >= from && s[i] == c) return i;
        i += (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    }
    return npos;
}

std::size_t FindLast(const std::string& s, char c) {
    std::size_t found = npos;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == c) found = i;
        i += (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
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
    return (dot == npos ? std::string() : path.substr(0, dot)) + extension;
}

int LeadingInt(const std::string& s) {
    errno = 0;
    const long value = std::strtol(s.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

double LeadingDouble(const std::string& s) { return std::strtod(s.c_str(), nullptr); }

}  // namespace velmarin::text
