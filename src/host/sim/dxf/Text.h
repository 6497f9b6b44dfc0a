#pragma once
// Texts of a DXF file and the GBK texts of the emulator. A file stores its texts in the code
// page its header names ($DWGCODEPAGE), or in UTF-8 from the 2007 format on; inside them,
// control characters are caret-encoded (^J), and characters the code page lacks are escaped
// as \U+XXXX (a Unicode code point) or \M+nXXXX (a double-byte character of an Asian code
// page). The plug-in sees GBK bytes with these escapes resolved; a character GBK lacks reaches
// it as its \U+XXXX escape, so that writing the text back loses nothing.

#include <string>
#include <string_view>

namespace velmarin::host::sim::dxf {

enum class TextEncoding { Gbk, Utf8, CodePage };

// The Windows code page that a $DWGCODEPAGE value names ("ANSI_936" -> 936, "dos850" -> 850);
// 0 for UTF-8, -1 when the name is unknown.
int CodePageOfName(std::string_view name);

class TextCodec {
  public:
    // GBK, as the emulator writes new files.
    TextCodec() = default;
    // The encoding of a file: its version ($ACADVER, empty if absent), its $DWGCODEPAGE (empty
    // if absent) and whether all of its bytes are valid UTF-8 while some are not ASCII.
    static TextCodec ForFile(std::string_view version, std::string_view codePageName,
                             bool bytesAreUtf8);
    static TextCodec Utf8() { return TextCodec(TextEncoding::Utf8, 65001); }

    TextEncoding encoding() const { return encoding_; }
    int codePage() const { return codePage_; }
    // The $DWGCODEPAGE value that names this encoding in a file the emulator writes afresh.
    std::string codePageName() const;

    // A stored text value to GBK. `mtext`: the value is multiline-text contents, where "\\"
    // is an escaped backslash that starts no escape.
    std::string toGbk(std::string_view stored, bool mtext = false) const;
    // A GBK text to the bytes this file stores.
    std::string fromGbk(const std::string& gbk) const;
    // Stored bytes to UTF-8 as they are, carets and escapes untouched.
    std::string toUtf8(std::string_view stored) const;

  private:
    TextCodec(TextEncoding encoding, int codePage) : encoding_(encoding), codePage_(codePage) {}

    TextEncoding encoding_ = TextEncoding::Gbk;
    int codePage_ = 936;
};

// Whether bytes are well-formed UTF-8.
bool IsUtf8(std::string_view bytes);
// UTF-8 to GBK, writing a character GBK lacks as its \U+XXXX escape. Invalid UTF-8 bytes
// become '?'.
std::string Utf8ToGbkKeepingEscapes(std::string_view utf8);
// UTF-16LE (proxy graphics' Unicode texts) to UTF-8 and back.
std::string Utf16ToUtf8(std::string_view utf16);
std::string Utf8ToUtf16(std::string_view utf8);

}  // namespace velmarin::host::sim::dxf
