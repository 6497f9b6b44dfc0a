#include "host/sim/dxf/Text.h"

#include <cstdint>
#include <cstdio>

#include "platform/Encoding.h"

namespace velmarin::host::sim::dxf {
namespace {

constexpr int kAnsi = 1252;  // the code page of a file that names none or an unknown one

bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The code point of the UTF-8 sequence at text[i] and its length; length 0 when malformed.
std::uint32_t DecodeUtf8(std::string_view text, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    length = 0;
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    std::size_t count = 0;
    std::uint32_t point = 0;
    std::uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 2;
        point = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 3;
        point = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 4;
        point = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + count > text.size()) return 0;
    for (std::size_t k = 1; k < count; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        point = (point << 6) | (byte(i + k) & 0x3F);
    }
    if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return 0;
    length = count;
    return point;
}

void AppendUtf8(std::string& out, std::uint32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

// Each byte that is not part of a well-formed sequence becomes '?'.
std::string RepairedUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        DecodeUtf8(text, i, length);
        if (length == 0) {
            out += '?';
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

void AppendEscape(std::string& out, std::uint32_t point) {
    char buffer[16];
    if (point >= 0x10000) {  // as the two halves of its UTF-16 form
        const std::uint32_t v = point - 0x10000;
        AppendEscape(out, 0xD800 + (v >> 10));
        AppendEscape(out, 0xDC00 + (v & 0x3FF));
        return;
    }
    std::snprintf(buffer, sizeof buffer, "\\U+%04X", static_cast<unsigned>(point));
    out += buffer;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Four hex digits at text[i]; -1 when there are not four.
long Hex4(std::string_view text, std::size_t i) {
    if (i + 4 > text.size()) return -1;
    long value = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const int digit = HexDigit(text[i + k]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

// The code page of the n in \M+nXXXX.
int MifCodePage(char n) {
    switch (n) {
        case '1':
            return 932;
        case '2':
            return 950;
        case '3':
            return 949;
        case '4':
            return 1361;
        case '5':
            return 936;
        default:
            return 0;
    }
}

bool StartsEscape(std::string_view text, std::size_t i) {
    return i + 2 < text.size() && text[i] == '\\' && (text[i + 1] == 'U' || text[i + 1] == 'M') &&
           text[i + 2] == '+';
}

// Carets and escapes of a UTF-8 text resolved; whatever does not form one stays as it is.
std::string ResolveEscapes(std::string_view text, bool mtext) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '^' && i + 1 < text.size()) {
            const unsigned char next = static_cast<unsigned char>(text[i + 1]);
            if (next == ' ') {
                out += '^';
            } else if (next >= 0x40 && next <= 0x5F) {
                out += static_cast<char>(next - 0x40);
            } else if (next == '?') {
                out += '\x7F';
            } else {
                out += c;
                ++i;
                continue;
            }
            i += 2;
            continue;
        }
        if (c == '\\' && mtext && i + 1 < text.size() && text[i + 1] == '\\') {
            out += "\\\\";
            i += 2;
            continue;
        }
        if (c == '\\' && StartsEscape(text, i)) {
            if (text[i + 1] == 'U') {
                long point = Hex4(text, i + 3);
                std::size_t used = 7;
                if (point >= 0xD800 && point <= 0xDBFF && StartsEscape(text, i + 7) &&
                    text[i + 8] == 'U') {
                    const long low = Hex4(text, i + 10);
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        point = 0x10000 + ((point - 0xD800) << 10) + (low - 0xDC00);
                        used = 14;
                    }
                }
                if (point > 0 && !(point >= 0xD800 && point <= 0xDFFF)) {
                    AppendUtf8(out, static_cast<std::uint32_t>(point));
                    i += used;
                    continue;
                }
            } else if (i + 3 < text.size()) {
                const int codePage = MifCodePage(text[i + 3]);
                const long bytes = Hex4(text, i + 4);
                std::string utf8;
                if (codePage != 0 && bytes > 0) {
                    const std::string pair = {static_cast<char>(bytes >> 8),
                                              static_cast<char>(bytes & 0xFF)};
                    bool ok = true;
                    if (codePage == 936) {
                        utf8 = platform::GbkToUtf8(pair);
                    } else {
                        ok = platform::CodePageToUtf8(codePage, pair, utf8);
                    }
                    if (ok && utf8.find("\xEF\xBF\xBD") == std::string::npos) {
                        out += utf8;
                        i += 8;
                        continue;
                    }
                }
            }
        }
        out += c;
        ++i;
    }
    return out;
}

// Control characters as ^X, the caret itself as "^ ". `gbk`: the text is GBK, whose trail
// bytes are never taken for a caret.
std::string CaretEncoded(std::string_view text, bool gbk) {
    std::string out;
    out.reserve(text.size() + 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (gbk && IsGbkLead(c) && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
        } else if (c < 0x20) {
            out += '^';
            out += static_cast<char>(c + 0x40);
        } else if (c == 0x7F) {
            out += "^?";
        } else if (c == '^') {
            out += "^ ";
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool NeedsCaretEncoding(std::string_view text) {
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || u == '^') return true;
    }
    return false;
}

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// Whether a stored text holds a caret or an escape (scanning GBK double-byte characters as
// units when `gbk`).
bool HasEscapes(std::string_view text, bool gbk) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (gbk && IsGbkLead(c)) {
            ++i;
        } else if (c == '^' || (c == '\\' && StartsEscape(text, i))) {
            return true;
        }
    }
    return false;
}

}  // namespace

int CodePageOfName(std::string_view name) {
    std::string folded;
    for (const char c : name) {
        if (c == ' ' || c == '\t') continue;
        folded += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const auto number = [](std::string_view digits) {
        int value = 0;
        if (digits.empty() || digits.size() > 5) return -1;
        for (const char c : digits) {
            if (c < '0' || c > '9') return -1;
            value = value * 10 + (c - '0');
        }
        return value;
    };
    const std::string_view text = folded;
    if (text == "utf8" || text == "utf-8") return 0;
    if (text.rfind("ansi_", 0) == 0) return number(text.substr(5));
    if (text.rfind("dos", 0) == 0) return number(text.substr(3));
    if (text.rfind("iso8859-", 0) == 0) {
        const int part = number(text.substr(8));
        return part > 0 && part <= 16 ? 28590 + part : -1;
    }
    if (text == "big5") return 950;
    if (text == "gb2312") return 936;
    if (text == "ksc5601") return 949;
    if (text == "johab") return 1361;
    if (text == "mac-roman") return 10000;
    if (text == "ascii") return kAnsi;
    return -1;
}

TextCodec TextCodec::ForFile(std::string_view version, std::string_view codePageName,
                             bool bytesAreUtf8) {
    if (version.size() == 6 && version.substr(0, 2) == "AC" && version >= "AC1021") return Utf8();
    // A header often outlives a conversion of the file: UTF-8 bytes win over the name.
    if (bytesAreUtf8) return Utf8();
    int codePage = codePageName.empty() ? kAnsi : CodePageOfName(codePageName);
    if (codePage == 0) return Utf8();
    if (codePage == 936) return TextCodec();
    std::string probe;
    if (codePage < 0 || !platform::CodePageToUtf8(codePage, "A", probe)) codePage = kAnsi;
    return TextCodec(TextEncoding::CodePage, codePage);
}

std::string TextCodec::codePageName() const {
    return encoding_ == TextEncoding::Utf8 ? "ANSI_1252" : "ANSI_" + std::to_string(codePage_);
}

std::string TextCodec::toUtf8(std::string_view stored) const {
    switch (encoding_) {
        case TextEncoding::Gbk:
            return platform::GbkToUtf8(std::string(stored));
        case TextEncoding::Utf8:
            return RepairedUtf8(stored);
        case TextEncoding::CodePage:
            break;
    }
    std::string utf8;
    if (platform::CodePageToUtf8(codePage_, std::string(stored), utf8)) return utf8;
    utf8.clear();
    for (const char c : stored) AppendUtf8(utf8, static_cast<unsigned char>(c));  // Latin-1
    return utf8;
}

std::string TextCodec::toGbk(std::string_view stored, bool mtext) const {
    const bool gbk = encoding_ == TextEncoding::Gbk;
    if ((gbk || IsAscii(stored)) && !HasEscapes(stored, gbk)) return std::string(stored);
    return Utf8ToGbkKeepingEscapes(ResolveEscapes(toUtf8(stored), mtext));
}

std::string TextCodec::fromGbk(const std::string& gbk) const {
    if (IsAscii(gbk) && !NeedsCaretEncoding(gbk)) return gbk;
    if (encoding_ == TextEncoding::Gbk) return CaretEncoded(gbk, true);
    const std::string utf8 = CaretEncoded(platform::GbkToUtf8(gbk), false);
    if (encoding_ == TextEncoding::Utf8) return utf8;
    std::string bytes;
    if (platform::Utf8ToCodePage(codePage_, utf8, bytes)) return bytes;
    bytes.clear();
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 0;
        const std::uint32_t point = DecodeUtf8(utf8, i, length);
        if (length == 0) {  // not reached: GbkToUtf8 gives well-formed text
            bytes += '?';
            ++i;
            continue;
        }
        std::string character;
        if (point < 0x80) {
            bytes += static_cast<char>(point);
        } else if (platform::Utf8ToCodePage(codePage_, utf8.substr(i, length), character)) {
            bytes += character;
        } else {
            AppendEscape(bytes, point);
        }
        i += length;
    }
    return bytes;
}

bool IsUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        DecodeUtf8(bytes, i, length);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string Utf8ToGbkKeepingEscapes(std::string_view text) {
    const std::string utf8 = RepairedUtf8(text);
    std::string gbk;
    platform::Utf8ToGbk(utf8, gbk);
    const auto marks = [](std::string_view s) {
        std::size_t count = 0;
        for (const char c : s) count += c == '?';
        return count;
    };
    if (marks(gbk) == marks(utf8)) return gbk;
    // Some character has no GBK form: find which, one by one.
    gbk.clear();
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 0;
        const std::uint32_t point = DecodeUtf8(utf8, i, length);
        if (point < 0x80) {
            gbk += static_cast<char>(point);
        } else {
            std::string character;
            platform::Utf8ToGbk(utf8.substr(i, length), character);
            if (character == "?") {
                AppendEscape(gbk, point);
            } else {
                gbk += character;
            }
        }
        i += length;
    }
    return gbk;
}

std::string Utf16ToUtf8(std::string_view utf16) {
    std::string out;
    const auto unit = [&](std::size_t k) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(utf16[2 * k])) |
               (static_cast<std::uint32_t>(static_cast<unsigned char>(utf16[2 * k + 1])) << 8);
    };
    const std::size_t count = utf16.size() / 2;
    for (std::size_t k = 0; k < count; ++k) {
        std::uint32_t point = unit(k);
        if (point >= 0xD800 && point <= 0xDBFF && k + 1 < count && unit(k + 1) >= 0xDC00 &&
            unit(k + 1) <= 0xDFFF) {
            point = 0x10000 + ((point - 0xD800) << 10) + (unit(k + 1) - 0xDC00);
            ++k;
        } else if (point >= 0xD800 && point <= 0xDFFF) {
            point = '?';  // half of a pair without its other half
        }
        AppendUtf8(out, point);
    }
    return out;
}

std::string Utf8ToUtf16(std::string_view utf8) {
    std::string out;
    const auto put = [&](std::uint32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    };
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 0;
        std::uint32_t point = DecodeUtf8(utf8, i, length);
        if (length == 0) {
            point = '?';
            length = 1;
        }
        if (point >= 0x10000) {
            put(0xD800 + ((point - 0x10000) >> 10));
            put(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            put(point);
        }
        i += length;
    }
    return out;
}

}  // namespace velmarin::host::sim::dxf
