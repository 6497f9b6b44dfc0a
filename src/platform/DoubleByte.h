#pragma once
// Double-byte characters of the ANSI code page (GBK): a lead byte 0x81-0xFE takes the next byte
// as its trail, so a trail byte is never an ASCII character of its own (0x5C is no backslash).
// Every character-aware scan of the system steps with these two functions.

#include <cstddef>

namespace velmarin::platform {

inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The bytes of the character that starts at `i` of `s` (of `size` bytes): 2 for a lead byte with a
// byte after it, else 1.
inline std::size_t CharWidth(const char* s, std::size_t size, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < size ? 2 : 1;
}
template <typename Text>
std::size_t CharWidth(const Text& s, std::size_t i) {
    return CharWidth(s.data(), s.size(), i);
}

}  // namespace velmarin::platform
