#pragma once
// Conversions between the ANSI code page of the system (GBK) and UTF-8, used only at the edges
// that face a person or a UTF-8 file.

#include <string>

namespace velmarin::platform {

// GBK bytes to UTF-8; bytes that are not valid GBK become U+FFFD.
std::string GbkToUtf8(const std::string& gbk);
// UTF-8 to GBK; characters GBK lacks become '?'. Returns false when the input is not UTF-8.
bool Utf8ToGbk(const std::string& utf8, std::string& gbk);
bool IsValidUtf8(const std::string& text);

}  // namespace velmarin::platform
