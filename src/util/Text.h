#pragma once
// Byte-string helpers for ANSI (GBK) text. Scans step over double-byte characters: a lead byte
// 0x81-0xFE takes the next byte as its trail, so a trail byte is never taken for an ASCII
// character. Case folding touches the single-byte letters only.

#include <cstddef>
#include <string>

#include "platform/DoubleByte.h"

namespace velmarin::text {

inline constexpr std::size_t npos = std::string::npos;

using platform::CharWidth;
using platform::IsLeadByte;
// White space wherever the system trims: blank, tab, CR, LF, VT, FF.
inline bool IsWhite(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string Trim(const std::string& s);
// Byte offset of the first occurrence of `needle` starting at a character boundary at or after
// `from`, or npos. An empty needle is found at `from`.
std::size_t Find(const std::string& s, const std::string& needle, std::size_t from = 0);
std::size_t Find(const std::string& s, char c, std::size_t from = 0);
// The last occurrence of the single-byte character `c`, or npos.
std::size_t FindLast(const std::string& s, char c);
bool Contains(const std::string& s, const std::string& needle);

std::string ToUpperAscii(std::string s);
// <0, 0, >0 ignoring the case of A-Z only (trail bytes compare exactly).
int CompareNoCase(const std::string& a, const std::string& b);
bool EqualsNoCase(const std::string& a, const std::string& b);

// The part of a path after its last backslash (the whole path without one).
std::string FileNamePart(const std::string& path);
// The path without its extension, followed by `extension` (".bmf"). Only a "." after the last
// "\" starts an extension, so a name without one keeps its folder: D:\w.v\A gives D:\w.v\A.bmf.
std::string ReplaceExtension(const std::string& path, const std::string& extension);

// atoi semantics without undefined behaviour on overflow or garbage.
int LeadingInt(const std::string& s);
// The longest leading decimal number: blanks, a sign, digits with at most one point, and an
// exponent only when digits follow it. Hexadecimal, "inf" and "nan" are no numbers (0); a value
// beyond the range of double is infinite. The same on every platform and compiler.
double LeadingDecimal(const std::string& s);

}  // namespace velmarin::text
