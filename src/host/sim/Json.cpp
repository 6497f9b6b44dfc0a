#include "host/sim/Json.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "platform/Encoding.h"

namespace velmarin::host::sim::json {
namespace {

constexpr int kMaxDepth = 200;

class Parser {
  public:
    Parser(const std::string& text, ParseError& error) : text_(text), error_(error) {}

    bool document(Value& out) {
        if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
        if (!checkEncoding()) return false;
        skipBlanks();
        if (!value(out, 0)) return false;
        skipBlanks();
        if (pos_ < text_.size()) return fail("unexpected data after the end of the document");
        return true;
    }

  private:
    // Finds the first byte that is not UTF-8 before parsing, so that the error names its place.
    bool checkEncoding() {
        if (platform::IsValidUtf8(text_)) return true;
        for (std::size_t i = pos_; i < text_.size();) {
            const unsigned char c = static_cast<unsigned char>(text_[i]);
            const std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            if (c >= 0x80 &&
                (i + length > text_.size() || !platform::IsValidUtf8(text_.substr(i, length)))) {
                advanceTo(i);
                break;
            }
            i += length;
        }
        return fail("the file is not valid UTF-8");
    }

    // Moves to `target`, keeping the line and column count.
    void advanceTo(std::size_t target) {
        while (pos_ < target) {
            const unsigned char c = static_cast<unsigned char>(text_[pos_++]);
            if (c == '\n') {
                ++line_;
                column_ = 1;
            } else if ((c & 0xC0) != 0x80) {
                ++column_;
            }
        }
    }

    bool fail(const std::string& message) {
        error_.line = line_;
        error_.column = column_;
        error_.message = message;
        return false;
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void step() { advanceTo(pos_ + 1); }

    void skipBlanks() {
        while (!atEnd()) {
            const char c = text_[pos_];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
            step();
        }
    }

    std::string describeHere() const {
        if (atEnd()) return "the end of the file";
        const unsigned char c = static_cast<unsigned char>(text_[pos_]);
        if (c == 0) return "a NUL byte";
        if (c < 0x20) {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "byte 0x%02X", c);
            return buffer;
        }
        if (c >= 0x80) return "a non-ASCII character";
        return std::string("'") + static_cast<char>(c) + "'";
    }

    bool expected(const std::string& what) {
        return fail("expected " + what + ", found " + describeHere());
    }

    bool value(Value& out, int depth) {
        out = Value{};
        out.line = line_;
        out.column = column_;
        if (depth > kMaxDepth) return fail("values nested too deeply");
        const char c = peek();
        if (atEnd()) return expected("a value");
        if (c == '{') return object(out, depth);
        if (c == '[') return array(out, depth);
        if (c == '"') {
            out.kind = Kind::String;
            return string(out.string);
        }
        if (c == '-' || (c >= '0' && c <= '9')) return number(out);
        if (literal("true")) {
            out.kind = Kind::Bool;
            out.boolean = true;
            return true;
        }
        if (literal("false")) {
            out.kind = Kind::Bool;
            return true;
        }
        if (literal("null")) return true;
        return expected("a value");
    }

    bool literal(const char* word) {
        const std::string w(word);
        if (text_.compare(pos_, w.size(), w) != 0) return false;
        advanceTo(pos_ + w.size());
        return true;
    }

    bool object(Value& out, int depth) {
        out.kind = Kind::Object;
        step();  // {
        skipBlanks();
        if (peek() == '}' && !atEnd()) {
            step();
            return true;
        }
        for (;;) {
            skipBlanks();
            if (peek() != '"' || atEnd()) return expected("a member name in double quotes");
            const int keyLine = line_;
            const int keyColumn = column_;
            std::string key;
            if (!string(key)) return false;
            if (out.find(key) != nullptr) {
                line_ = keyLine;
                column_ = keyColumn;
                return fail("duplicate member \"" + key + "\"");
            }
            skipBlanks();
            if (peek() != ':' || atEnd()) return expected("':'");
            step();
            skipBlanks();
            Value member;
            if (!value(member, depth + 1)) return false;
            member.keyLine = keyLine;
            member.keyColumn = keyColumn;
            out.members.emplace_back(std::move(key), std::move(member));
            skipBlanks();
            if (atEnd()) return expected("',' or '}'");
            if (peek() == ',') {
                step();
                continue;
            }
            if (peek() == '}') {
                step();
                return true;
            }
            return expected("',' or '}'");
        }
    }

    bool array(Value& out, int depth) {
        out.kind = Kind::Array;
        step();  // [
        skipBlanks();
        if (peek() == ']' && !atEnd()) {
            step();
            return true;
        }
        for (;;) {
            skipBlanks();
            Value item;
            if (!value(item, depth + 1)) return false;
            out.items.push_back(std::move(item));
            skipBlanks();
            if (atEnd()) return expected("',' or ']'");
            if (peek() == ',') {
                step();
                continue;
            }
            if (peek() == ']') {
                step();
                return true;
            }
            return expected("',' or ']'");
        }
    }

    static int hexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    bool hex4(std::uint32_t& unit) {
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = atEnd() ? -1 : hexDigit(peek());
            if (digit < 0) return expected("four hex digits after \\u");
            unit = unit * 16 + static_cast<std::uint32_t>(digit);
            step();
        }
        return true;
    }

    static void appendUtf8(std::string& out, std::uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    bool escape(std::string& out) {
        step();  // backslash
        if (atEnd()) return expected("an escape character");
        const char c = peek();
        const char* simple = nullptr;
        switch (c) {
            case '"':
                simple = "\"";
                break;
            case '\\':
                simple = "\\";
                break;
            case '/':
                simple = "/";
                break;
            case 'b':
                simple = "\b";
                break;
            case 'f':
                simple = "\f";
                break;
            case 'n':
                simple = "\n";
                break;
            case 'r':
                simple = "\r";
                break;
            case 't':
                simple = "\t";
                break;
            default:
                break;
        }
        if (simple != nullptr) {
            out += simple;
            step();
            return true;
        }
        if (c != 'u') return fail("unknown escape \\" + describeHere());
        step();
        std::uint32_t unit = 0;
        if (!hex4(unit)) return false;
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return fail("a \\u escape without its high surrogate");
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (text_.compare(pos_, 2, "\\u") != 0)
                return fail("a \\u escape without its low surrogate");
            advanceTo(pos_ + 2);
            std::uint32_t low = 0;
            if (!hex4(low)) return false;
            if (low < 0xDC00 || low > 0xDFFF) return fail("a \\u escape without its low surrogate");
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(out, unit);
        return true;
    }

    bool string(std::string& out) {
        step();  // opening quote
        for (;;) {
            if (atEnd()) return fail("a text is not closed before the end of the file");
            const unsigned char c = static_cast<unsigned char>(text_[pos_]);
            if (c == '"') {
                step();
                return true;
            }
            if (c == '\\') {
                if (!escape(out)) return false;
                continue;
            }
            if (c < 0x20) return fail("a text holds " + describeHere() + "; write it as an escape");
            // Copy a run of plain bytes at once; the encoding was checked up front.
            std::size_t end = pos_;
            while (end < text_.size()) {
                const unsigned char d = static_cast<unsigned char>(text_[end]);
                if (d == '"' || d == '\\' || d < 0x20) break;
                ++end;
            }
            out.append(text_, pos_, end - pos_);
            advanceTo(end);
        }
    }

    // The decimal exponent of the leading digit of the number in [begin, end), plus one: above
    // zero for numbers of at least 1.
    long DecimalMagnitude(std::size_t begin, std::size_t end) const {
        long integerDigits = 0;
        long fractionZeros = 0;
        bool significant = false;
        long exponent = 0;
        bool inFraction = false;
        for (std::size_t k = begin; k < end; ++k) {
            const char c = text_[k];
            if (c == '.') {
                inFraction = true;
            } else if (c == 'e' || c == 'E') {
                const bool negative = k + 1 < end && text_[k + 1] == '-';
                for (std::size_t d = k + 1; d < end; ++d) {
                    if (text_[d] >= '0' && text_[d] <= '9' && exponent < 1000000) {
                        exponent = exponent * 10 + (text_[d] - '0');
                    }
                }
                if (negative) exponent = -exponent;
                break;
            } else if (c >= '0' && c <= '9') {
                if (!inFraction && (significant || c != '0')) {
                    significant = true;
                    ++integerDigits;
                } else if (inFraction && !significant) {
                    if (c == '0') {
                        ++fractionZeros;
                    } else {
                        significant = true;
                    }
                }
            }
        }
        return (integerDigits > 0 ? integerDigits : -fractionZeros) + exponent;
    }

    bool number(Value& out) {
        const std::size_t start = pos_;
        std::size_t i = pos_;
        const auto digit = [&](std::size_t k) {
            return k < text_.size() && text_[k] >= '0' && text_[k] <= '9';
        };
        if (i < text_.size() && text_[i] == '-') ++i;
        if (!digit(i)) return expected("a digit");
        if (text_[i] == '0') {
            ++i;
        } else {
            while (digit(i)) ++i;
        }
        if (i < text_.size() && text_[i] == '.') {
            ++i;
            if (!digit(i)) {
                advanceTo(i);
                return expected("a digit after the decimal point");
            }
            while (digit(i)) ++i;
        }
        if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E')) {
            ++i;
            if (i < text_.size() && (text_[i] == '+' || text_[i] == '-')) ++i;
            if (!digit(i)) {
                advanceTo(i);
                return expected("a digit in the exponent");
            }
            while (digit(i)) ++i;
        }
        double parsed = 0.0;
        const auto result = std::from_chars(text_.data() + start, text_.data() + i, parsed);
        // Out of range is too large when the number is at least 1, else too small to represent,
        // which reads as zero as JSON readers commonly do.
        if (result.ec == std::errc::result_out_of_range && DecimalMagnitude(start, i) > 0) {
            return fail("the number is too large");
        }
        out.kind = Kind::Number;
        out.number = result.ec == std::errc() ? parsed : 0.0;
        advanceTo(i);
        return true;
    }

    const std::string& text_;
    ParseError& error_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int column_ = 1;
};

}  // namespace

const Value* Value::find(const std::string& key) const {
    for (const auto& member : members) {
        if (member.first == key) return &member.second;
    }
    return nullptr;
}

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::Null:
            return "null";
        case Kind::Bool:
            return "true or false";
        case Kind::Number:
            return "a number";
        case Kind::String:
            return "a text";
        case Kind::Array:
            return "a list";
        case Kind::Object:
            return "an object";
    }
    return "a value";
}

bool Parse(const std::string& text, Value& out, ParseError& error) {
    Parser parser(text, error);
    return parser.document(out);
}

void Writer::string(const std::string& utf8) {
    out_ += '"';
    for (char c : utf8) {
        const unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out_ += "\\\"";
                break;
            case '\\':
                out_ += "\\\\";
                break;
            case '\n':
                out_ += "\\n";
                break;
            case '\r':
                out_ += "\\r";
                break;
            case '\t':
                out_ += "\\t";
                break;
            default:
                if (u < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04X", u);
                    out_ += buffer;
                } else {
                    out_ += c;
                }
        }
    }
    out_ += '"';
}

void Writer::number(double value) {
    if (std::isnan(value)) value = 0.0;
    if (std::isinf(value))
        value =
            value > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    if (value == 0.0) value = 0.0;  // no "-0"
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, result.ptr);
}

void Writer::key(const char* name) {
    string(name);
    out_ += ": ";
}

}  // namespace velmarin::host::sim::json
