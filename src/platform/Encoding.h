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

// Bytes of another Windows code page (1252, 932, 850, ...) to UTF-8, for files that name their
// code page; bytes the code page does not define become U+FFFD. False when this system cannot
// convert that code page at all.
bool CodePageToUtf8(int codePage, const std::string& bytes, std::string& utf8);
// UTF-8 to a Windows code page. False when the code page is not available, the input is not
// UTF-8, or a character has no form in that code page.
bool Utf8ToCodePage(int codePage, const std::string& utf8, std::string& bytes);

}  // namespace velmarin::platform
