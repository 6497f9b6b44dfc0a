#pragma once
// A small JSON reader and writer for the emulator's drawing files. Values remember where they
// start in the source so that errors found later (a wrong field type, say) can name the line
// and column. Strings stay UTF-8; the caller converts them.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace velmarin::host::sim::json {

enum class Kind { Null, Bool, Number, String, Array, Object };

struct Value {
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string string;
    std::vector<Value> items;                            // Array
    std::vector<std::pair<std::string, Value>> members;  // Object, in source order
    int line = 0;
    int column = 0;
    // For a member of an object: where its name starts.
    int keyLine = 0;
    int keyColumn = 0;

    bool is(Kind k) const { return kind == k; }
    // The member `key` of an object, or null.
    const Value* find(const std::string& key) const;
};

const char* KindName(Kind kind);

struct ParseError {
    int line = 0;
    int column = 0;  // 1-based, counted in characters
    std::string message;
};

// Parses one JSON document. A UTF-8 byte order mark at the start is skipped. Invalid UTF-8,
// NUL bytes, duplicate object keys, nesting deeper than 200 levels and trailing data are errors.
bool Parse(const std::string& text, Value& out, ParseError& error);

// Appends JSON texts to a string.
class Writer {
  public:
    explicit Writer(std::string& out) : out_(out) {}
    void string(const std::string& utf8);
    // The shortest text that reads back as the same double; a non-finite value, which JSON
    // cannot hold, is written as 0 or the largest finite value of its sign.
    void number(double value);
    void raw(const char* text) { out_ += text; }
    void key(const char* name);  // "name":

  private:
    std::string& out_;
};

}  // namespace velmarin::host::sim::json
