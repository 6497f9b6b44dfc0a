#pragma once
// The group-code/value pairs of an ASCII DXF file, read straight from the file's bytes: every
// pair remembers its line and the bytes it spans, so that a drawing written back can copy
// whatever the emulator does not model exactly as it was read.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmarin::host::sim::dxf {

struct Pair {
    int code = 0;
    std::string_view value;  // the value line without its line end, exactly as stored
    int line = 0;            // line of the group code, from 1; the value is on the next line
    std::size_t begin = 0;   // first byte of the group-code line
    std::size_t end = 0;     // first byte after the value line
};

// Reads the pairs of a buffer one after the other, with one pair of lookahead. The buffer must
// outlive the scanner and the pairs it hands out.
class PairScanner {
  public:
    explicit PairScanner(std::string_view bytes, std::size_t start = 0);

    // The next pair without taking it; null at the end of the bytes or on a malformed pair.
    const Pair* peek();
    // Takes the next pair; false at the end or on a malformed pair (see failed()).
    bool next(Pair& pair);

    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    int errorLine() const { return errorLine_; }
    // The line after the last one read (for "the file ends here" reports).
    int lineCount() const { return line_; }
    std::size_t size() const { return bytes_.size(); }

  private:
    bool readLine(std::string_view& line);
    bool scan(Pair& pair);

    std::string_view bytes_;
    std::size_t pos_ = 0;
    int line_ = 1;
    bool hasPeeked_ = false;
    bool peekOk_ = false;
    Pair peeked_;
    std::string error_;
    int errorLine_ = 0;
};

// A binary DXF file starts with this sentinel instead of pairs.
inline constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";
// Where the pairs start: after a UTF-8 byte-order mark, when the file has one.
std::size_t BodyStart(std::string_view bytes);

std::string_view Trimmed(std::string_view text);
// Numbers as DXF stores them: blanks around them allowed, nothing else.
bool ParseDouble(std::string_view text, double& out);
bool ParseInteger(std::string_view text, std::int64_t& out);
// A handle: hexadecimal digits; false for an empty or malformed handle.
bool ParseHandle(std::string_view text, std::uint64_t& out);
std::string HandleText(std::uint64_t handle);

}  // namespace velmarin::host::sim::dxf
