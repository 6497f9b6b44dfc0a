#pragma once
// The value of a table cell from a multiline text's contents.

#include <string>

namespace velmarin::bom {

// What follows the last format code (a backslash and the byte after it); contents without a
// backslash are the value whole. A paragraph break ending the contents (a final Enter) ends
// an empty line, which is passed over: the value is the last line that is not empty.
std::string StripMTextFormat(const std::string& contents);

}  // namespace velmarin::bom
