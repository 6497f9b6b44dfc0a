#include "host/sim/dxf/Pairs.h"

#include <charconv>
#include <cstring>

namespace velmarin::host::sim::dxf {

PairScanner::PairScanner(std::string_view bytes, std::size_t start) : bytes_(bytes), pos_(start) {}

// A line ends at a line feed, a carriage return and line feed, or a carriage return alone (old
// Macintosh files, and files whose line ends were mixed up on the way).
bool PairScanner::readLine(std::string_view& line) {
    if (pos_ >= bytes_.size()) return false;
    const char* base = bytes_.data();
    const std::size_t rest = bytes_.size() - pos_;
    const void* feed = std::memchr(base + pos_, '\n', rest);
    const std::size_t feedAt =
        feed == nullptr ? bytes_.size()
                        : static_cast<std::size_t>(static_cast<const char*>(feed) - base);
    const void* ret = std::memchr(base + pos_, '\r', feedAt - pos_);
    std::size_t end = feedAt;
    std::size_t next = feed == nullptr ? feedAt : feedAt + 1;
    if (ret != nullptr) {
        end = static_cast<std::size_t>(static_cast<const char*>(ret) - base);
        next = end + 1 < bytes_.size() && base[end + 1] == '\n' ? end + 2 : end + 1;
    }
    line = bytes_.substr(pos_, end - pos_);
    pos_ = next;
    ++line_;
    return true;
}

bool PairScanner::scan(Pair& pair) {
    if (!error_.empty()) return false;
    // Blank lines between pairs (a trailing line end, padding) are no pairs.
    std::string_view codeLine;
    std::size_t begin = pos_;
    int line = line_;
    do {
        begin = pos_;
        line = line_;
        if (!readLine(codeLine)) return false;
    } while (Trimmed(codeLine).empty() && pos_ < bytes_.size());
    if (Trimmed(codeLine).empty()) return false;
    std::int64_t code = 0;
    if (!ParseInteger(codeLine, code) || code < -32768 || code > 32767) {
        std::string shown(codeLine.substr(0, 40));
        error_ = "a group code must be a whole number, not \"" + shown + "\"";
        errorLine_ = line;
        return false;
    }
    std::string_view value;
    if (!readLine(value)) {
        error_ = "the file ends after group code " + std::to_string(code) + " without its value";
        errorLine_ = line;
        return false;
    }
    pair.code = static_cast<int>(code);
    pair.value = value;
    pair.line = line;
    pair.begin = begin;
    pair.end = pos_;
    return true;
}

const Pair* PairScanner::peek() {
    if (!hasPeeked_) {
        peekOk_ = scan(peeked_);
        hasPeeked_ = true;
    }
    return peekOk_ ? &peeked_ : nullptr;
}

bool PairScanner::next(Pair& pair) {
    if (peek() == nullptr) return false;
    pair = peeked_;
    hasPeeked_ = false;
    return true;
}

std::size_t BodyStart(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    return bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
}

std::string_view Trimmed(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && (text[first] == ' ' || text[first] == '\t')) ++first;
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t')) --last;
    return text.substr(first, last - first);
}

bool ParseDouble(std::string_view text, double& out) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, out);
    return result.ec == std::errc() && result.ptr == end;
}

bool ParseInteger(std::string_view text, std::int64_t& out) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, out);
    if (result.ec == std::errc() && result.ptr == end) return true;
    // Some writers give whole numbers a fraction ("1.0"): accepted when it is whole.
    double number = 0.0;
    if (!ParseDouble(text, number) || !(number > -9.0e18 && number < 9.0e18) ||
        number != static_cast<double>(static_cast<std::int64_t>(number))) {
        return false;
    }
    out = static_cast<std::int64_t>(number);
    return true;
}

bool ParseHandle(std::string_view text, std::uint64_t& out) {
    text = Trimmed(text);
    if (text.empty() || text.size() > 16) return false;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, out, 16);
    return result.ec == std::errc() && result.ptr == end;
}

std::string HandleText(std::uint64_t handle) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, handle, 16);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace velmarin::host::sim::dxf
